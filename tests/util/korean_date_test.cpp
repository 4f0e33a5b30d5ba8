// Korean date and time text, and the decimal conversions beneath it.
#include "util/korean_date.h"
#include "util/number_text.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

namespace {

std::string Format(const TimeRecord& time, uint32_t flags) {
    // Exactly the documented room, so AddressSanitizer reports any byte beyond it.
    std::unique_ptr<char[]> buffer(new char[kKoreanDateTextSize]);
    uint32_t n = FormatKoreanDate(&time, buffer.get(), flags);
    EXPECT_EQ(n, strlen(buffer.get()));
    return std::string(buffer.get(), n);
}

TEST(KoreanDate, WritesTheChosenPartsInOrder) {
    TimeRecord t = {2000, 12, 3, 6, 10, 45, 15, 123};
    std::string all = Format(t, 0x1FF);
    EXPECT_EQ(all, "2000\xB3\xE2"
                   "12\xBF\xF9"
                   "6\xC0\xCF(\xBC\xF6)[\xBF\xC0\xC0\xFC]10\xBD\xC3"
                   "45\xBA\xD0"
                   "15\xC3\xCA"
                   "123ms");
    EXPECT_EQ(all.size(), 40u);
    EXPECT_EQ(Format(t, 0), "");
    EXPECT_EQ(Format(t, kDateWeekday), "(\xBC\xF6)");
    EXPECT_EQ(Format(t, kDateMilliseconds | kDateYear), "2000\xB3\xE2"
                                                        "123ms");
    EXPECT_EQ(Format(t, kDateTwelveHour), ""); // the 12-hour clock only shapes the hour
    t.minute = 0;
    EXPECT_EQ(Format(t, kDateMinute), "0\xBA\xD0");
}

TEST(KoreanDate, HoursMarksAndWeekdays) {
    TimeRecord t = {};
    const char* hourUnit = "\xBD\xC3";
    t.hour = 0;
    EXPECT_EQ(Format(t, 0x208), std::string("12") + hourUnit);
    EXPECT_EQ(Format(t, kDateHour), std::string("0") + hourUnit);
    t.hour = 12;
    EXPECT_EQ(Format(t, 0x208), std::string("12") + hourUnit);
    EXPECT_EQ(Format(t, kDateHalfDay), "[\xBF\xC0\xC8\xC4]");
    t.hour = 13;
    EXPECT_EQ(Format(t, 0x208), std::string("1") + hourUnit);
    EXPECT_EQ(Format(t, kDateHour), std::string("13") + hourUnit);
    t.hour = 11;
    EXPECT_EQ(Format(t, 0x208), std::string("11") + hourUnit);
    EXPECT_EQ(Format(t, kDateHalfDay), "[\xBF\xC0\xC0\xFC]");

    const char* weekdays[] = {"\xC0\xCF", "\xBF\xF9", "\xC8\xAD", "\xBC\xF6",
                              "\xB8\xF1", "\xB1\xDD", "\xC5\xE4"};
    for (uint16_t day = 0; day < 7; day++) {
        t.dayOfWeek = day;
        EXPECT_EQ(Format(t, kDateWeekday), std::string("(") + weekdays[day] + ")") << day;
    }
    t.dayOfWeek = 9;
    EXPECT_EQ(Format(t, kDateWeekday), "(\xC5\xE4)");
    t.dayOfWeek = 0xFFFF;
    EXPECT_EQ(Format(t, kDateWeekday), "(\xC5\xE4)");
}

TEST(KoreanDate, LongestTextFitsItsRoom) {
    TimeRecord t = {65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535};
    EXPECT_EQ(Format(t, 0x3FF).size(), kKoreanDateTextSize - 1);
    EXPECT_EQ(Format(t, 0x1FF).size(), kKoreanDateTextSize - 1);
    EXPECT_EQ(Format(t, 0x208), std::string("65523\xBD\xC3"));
}

std::string Number(int32_t value, uint32_t flags, uint32_t* count) {
    std::unique_ptr<char[]> buffer(new char[kNumberTextSize]);
    buffer[0] = '#';
    *count = NumberToText(value, buffer.get(), flags);
    return *count || buffer[0] == 0 ? std::string(buffer.get()) : std::string("(nothing)");
}

TEST(NumberText, NumberToText) {
    uint32_t n;
    EXPECT_EQ(Number(-42, 0, &n), "-42");
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(Number(-42, absoluteValue, &n), "42");
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(Number(-42, 1, &n), "(nothing)");
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Number(42, 4, &n), "(nothing)");
    EXPECT_EQ(Number(42, 0x20, &n), "42"); // other bits ignored
    EXPECT_EQ(Number(0, 0, &n), "0");
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(Number(0, absoluteValue, &n), "0");
    EXPECT_EQ(Number(7, absoluteValue, &n), "7");
    EXPECT_EQ(Number(1000000, 0, &n), "1000000");
    EXPECT_EQ(Number(INT32_MAX, 0, &n), "2147483647");
    EXPECT_EQ(Number(INT32_MIN, 0, &n), "-2147483648");
    EXPECT_EQ(n, 11u);
    EXPECT_EQ(Number(INT32_MIN, absoluteValue, &n), "2147483648");
    EXPECT_EQ(n, 10u);
}

TEST(NumberText, TextToNumber) {
    EXPECT_EQ(TextToNumber("0042", 4, 0), 42);
    EXPECT_EQ(TextToNumber("12345678901", 11, 0), 1234567890);
    EXPECT_EQ(TextToNumber("123", 2, 0), 12);
    EXPECT_EQ(TextToNumber("123", 0, 0), 0);
    EXPECT_EQ(TextToNumber("2147483647", 10, 0), INT32_MAX);
    // Ten digits beyond the 32-bit range saturate.
    EXPECT_EQ(TextToNumber("2147483648", 10, 0), INT32_MAX);
    EXPECT_EQ(TextToNumber("9999999999", 0xFFFFFFFFu, 0), INT32_MAX);
    // Characters are not checked: each is its byte less "0".
    EXPECT_EQ(TextToNumber("1:", 2, 0), 20);
    EXPECT_EQ(TextToNumber("/", 1, 0), -1);
    EXPECT_EQ(TextToNumber("\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01", 10, 0), INT32_MIN);
    // The zero byte ends the text, whatever the count: nothing past the buffer is read.
    std::unique_ptr<char[]> exact(new char[3]);
    memcpy(exact.get(), "42", 3);
    EXPECT_EQ(TextToNumber(exact.get(), 10, 0), 42);
    // Modes other than decimal read nothing; only bits 0-1 are the mode.
    EXPECT_EQ(TextToNumber("42", 2, 1), 0);
    EXPECT_EQ(TextToNumber("42", 2, 2), 0);
    EXPECT_EQ(TextToNumber("42", 2, 3), 0);
    EXPECT_EQ(TextToNumber("42", 2, 4), 42);
    // Round trip over the whole range.
    for (int32_t v : {0, 1, 9, 10, 65535, 99999, 2147483647}) {
        char text[kNumberTextSize];
        uint32_t n = NumberToText(v, text, 0);
        EXPECT_EQ(TextToNumber(text, n, 0), v);
    }
}

} // namespace
