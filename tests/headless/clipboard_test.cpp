// The clipboard between another program's UTF-8 and the toolkit's code page 949, with the buffer's limits.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "toolkit/platform/headless/headless.h"

TEST(HeadlessClipboard, PasteConvertsAndLeavesOutWholeCharacters) {
    struct Case {
        const char* utf8;
        uint32_t capacity;
        const char* cp949;
        uint32_t replaced, leftOut;
    } cases[] = {
        {"한글 abc\r\n", 64, "\xC7\xD1\xB1\xDB abc\r\n", 0, 0},
        {"café?", 64, "caf??", 1, 0}, // CP949 has no é; a real '?' is no replacement
        {"a😀\xFF"
         "b",
         64, "a??b", 2, 0}, // beyond the basic plane; a byte that starts no character
        {"가나다", 6, "\xB0\xA1\xB3\xAA", 0, 2},
        {"a가", 3, "a", 0, 2},
        {"가a", 2, "", 0, 3}, // from the first character that does not fit, everything is left out
        {"é가", 2, "?", 1, 2},
        {"가é", 0, "", 0, 3},
        {"", 64, "", 0, 0},
    };
    for (const Case& c : cases) {
        HeadlessReset();
        ASSERT_EQ(HeadlessSetClipboardUtf8(c.utf8), 1);
        char buffer[80];
        memset(buffer, 0x55, sizeof buffer);
        ClipboardRead read = {99, 99};
        int32_t written = PlatformGetClipboardText(0, buffer, c.capacity, &read);
        std::string got(buffer, written > 0 ? static_cast<size_t>(written) : 0);
        EXPECT_EQ(got, c.cp949) << c.utf8;
        EXPECT_EQ(read.replaced, c.replaced) << c.utf8;
        EXPECT_EQ(read.leftOut, c.leftOut) << c.utf8;
        if (c.capacity > 0) {
            EXPECT_EQ(buffer[written], 0) << c.utf8;
        }
        EXPECT_EQ(buffer[c.capacity], 0x55) << c.utf8; // nothing beyond the capacity
    }
}

TEST(HeadlessClipboard, CopyPutsUtf8OnTheClipboard) {
    struct Case {
        const char* cp949;
        uint32_t length;
        const char* utf8;
    } cases[] = {
        {"\xC7\xD1\xB1\xDB a\r\n", 8, "한글 a\r\n"},
        {"ab\0cd", 5, "ab"},
        {"\xC7\xD1", 1, "?"}, // the length ends inside a character
        {"\x80\xFF\xC7\xD1", 4, "??한"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlatformSetClipboardText(0, c.cp949, c.length), 1);
        EXPECT_STREQ(HeadlessClipboardUtf8(), c.utf8) << c.utf8;
    }
    std::string tooLong(headlessClipboardSize, 'a');
    EXPECT_EQ(PlatformSetClipboardText(0, tooLong.c_str(), headlessClipboardSize), 0);
    EXPECT_STREQ(HeadlessClipboardUtf8(), "??한");
}
