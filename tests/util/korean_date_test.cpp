// Korean date and time text, and the decimal conversions beneath it.
#include "util/korean_date.h"
#include "util/number_text.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

static std::string Format(const TimeRecord& time, uint32_t flags) {
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
    // 0x208 is the hour on the 12-hour clock.
    const struct {
        uint16_t hour;
        uint32_t flags;
        const char* want;
    } hours[] = {{0, 0x208, "12\xBD\xC3"},
                 {0, kDateHour, "0\xBD\xC3"},
                 {12, 0x208, "12\xBD\xC3"},
                 {13, 0x208, "1\xBD\xC3"},
                 {13, kDateHour, "13\xBD\xC3"},
                 {11, 0x208, "11\xBD\xC3"},
                 {12, kDateHalfDay, "[\xBF\xC0\xC8\xC4]"},
                 {11, kDateHalfDay, "[\xBF\xC0\xC0\xFC]"}};
    TimeRecord t = {};
    for (const auto& h : hours) {
        t.hour = h.hour;
        EXPECT_EQ(Format(t, h.flags), h.want) << h.hour << " " << h.flags;
    }
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

static std::string Number(int32_t value, uint32_t flags, uint32_t* count) {
    std::unique_ptr<char[]> buffer(new char[kNumberTextSize]);
    buffer[0] = '#';
    *count = NumberToText(value, buffer.get(), flags);
    return *count || buffer[0] == 0 ? std::string(buffer.get()) : std::string("(nothing)");
}

TEST(NumberText, NumberToText) {
    // Flags other than the absolute-value bit refuse; the bits above them are ignored.
    const struct {
        int32_t value;
        uint32_t flags;
        const char* text;
        uint32_t count;
    } cases[] = {{-42, 0, "-42", 3},
                 {-42, absoluteValue, "42", 2},
                 {-42, 1, "(nothing)", 0},
                 {42, 4, "(nothing)", 0},
                 {42, 0x20, "42", 2},
                 {0, 0, "0", 1},
                 {0, absoluteValue, "0", 1},
                 {7, absoluteValue, "7", 1},
                 {1000000, 0, "1000000", 7},
                 {INT32_MAX, 0, "2147483647", 10},
                 {INT32_MIN, 0, "-2147483648", 11},
                 {INT32_MIN, absoluteValue, "2147483648", 10}};
    for (const auto& c : cases) {
        uint32_t n;
        EXPECT_EQ(Number(c.value, c.flags, &n), c.text) << c.value << " " << c.flags;
        EXPECT_EQ(n, c.count) << c.value << " " << c.flags;
    }
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
