// Code-page-949 string routines. Buffers are heap blocks of the exact size, so AddressSanitizer reports any
// byte read or written past them.
#include "util/dbcs_string.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

// Exactly size bytes holding text (and its zero byte when it fits), the rest filled with fill.
static std::vector<char> Buffer(const std::string& text, size_t size, char fill = '#') {
    std::vector<char> b(size, fill);
    memcpy(b.data(), text.data(), std::min(text.size() + 1, size));
    return b;
}

static std::string Bytes(const std::vector<char>& b) {
    return std::string(b.begin(), b.end());
}

TEST(DbcsString, CopyStringAndLength) {
    auto out = Buffer("", 8, '#');
    EXPECT_EQ(CopyString("lmnopq", out.data(), 4), 3u);
    EXPECT_EQ(Bytes(out), std::string("lmn\0####", 8));
    EXPECT_EQ(CopyString("lmnopq", out.data(), 1), 0u);
    EXPECT_EQ(out[0], 0);
    out[0] = '#';
    EXPECT_EQ(CopyString("lmnopq", out.data(), 0), 0u);
    EXPECT_EQ(out[0], '#');
    auto exact = Buffer("", 3);
    EXPECT_EQ(CopyString("ab", exact.data(), 3), 2u);
    EXPECT_EQ(Bytes(exact), std::string("ab\0", 3));
    // A copy may end between the two bytes of a character.
    EXPECT_EQ(CopyString("a\xB0\xA1", exact.data(), 3), 2u);
    EXPECT_EQ(Bytes(exact), std::string("a\xB0\0", 3));

    EXPECT_EQ(StringLength("abc", 2), 2u);
    EXPECT_EQ(StringLength("abc", 0), 0u);
    EXPECT_EQ(StringLength("abc", 0xFFFFFFFFu), 3u);
    EXPECT_EQ(StringLength("abc", 0x7FFFFFFFu), 3u);
    auto unterminated = Buffer("abcd", 4);
    EXPECT_EQ(StringLength(unterminated.data(), 4), 4u);
}

// Inserting into a buffer of exactly `size` bytes: the count inserted and the buffer's first bytes after it.
TEST(DbcsString, InsertStringNeverLeavesItsBuffer) {
    using namespace std::string_literals;
    struct Case {
        const char* text;
        uint32_t size;
        const char* source;
        uint32_t position, count, inserted;
        std::string bytes;
    };
    const Case cases[] = {
        {"abcd", 10, "XY", 2, kWholeString, 2, "abXYcd\0"s},
        {"abcd", 6, "XY", 2, kWholeString, 2, "abXYc\0"s},
        {"abcd", 10, "XY", 6, kWholeString, 2, "abcd  XY\0"s},
        {"abc", 4, "X", 2, kWholeString, 1, "abX\0"s}, // the tail is cut, never the terminator
        {"abc", 10, "X", 2, kWholeString, 1, "abXc\0"s},
        {"abc", 10, "XYZ", 0, 1, 1, "Xabc\0"s},
        // A count larger than the source takes the source; count 0 and an empty source change nothing.
        {"abc", 10, "XY", 3, 9, 2, "abcXY\0"s},
        {"abc", 10, "XY", 1, 0, 0, "abc\0"s},
        {"abc", 10, "", 1, kWholeString, 0, "abc\0"s},
        // Position at or past the size: nothing changes and the would-be count comes back.
        {"abc", 5, "XY", 5, kWholeString, 2, "abc\0#"s},
        {"abc", 5, "XY", 0xFFFFFFFFu, kWholeString, 2, "abc\0#"s},
        // Padding up to the last byte leaves no room for the input.
        {"ab", 5, "XY", 4, kWholeString, 0, "ab  \0"s},
        {"ab", 5, "XYZ", 3, kWholeString, 1, "ab X\0"s},
        // A full text: input and tail are cut to size - 1 bytes, splitting a two-byte character if need be.
        {"a\xB0\xA1z", 5, "\xC7\xD1", 1, kWholeString, 2, "a\xC7\xD1\xB0\0"s},
        {"abcd", 5, "WXYZ", 1, kWholeString, 3, "aWXY\0"s},
        // A destination with no zero byte inside its size still ends up terminated within it.
        {"abcde", 5, "X", 1, kWholeString, 1, "aXbc\0"s},
    };
    for (const Case& c : cases) {
        auto b = Buffer(c.text, c.size);
        EXPECT_EQ(InsertString(c.source, b.data(), c.position, c.count, c.size), c.inserted) << c.text;
        EXPECT_EQ(Bytes(b).substr(0, c.bytes.size()), c.bytes) << c.text << " " << c.position;
    }
    auto b = Buffer("abc", 5);
    EXPECT_EQ(InsertString("XY", b.data(), 0, kWholeString, 0), 2u);
    EXPECT_EQ(Bytes(b), "abc\0#"s);
    // A counted source is read no further than count bytes: it needs no zero byte.
    auto source = Buffer("PQ", 2);
    b = Buffer("ab", 6);
    EXPECT_EQ(InsertString(source.data(), b.data(), 1, 2, 6), 2u);
    EXPECT_STREQ(b.data(), "aPQb");
}

TEST(DbcsString, AppendString) {
    auto b = Buffer("ab", 6);
    EXPECT_EQ(AppendString(b.data(), "cde"), 3u);
    EXPECT_EQ(Bytes(b), std::string("abcde\0", 6));
    EXPECT_EQ(AppendString(b.data(), ""), 0u);
    EXPECT_STREQ(b.data(), "abcde");
}

TEST(DbcsString, CompareStrings) {
    EXPECT_EQ(CompareStrings("abc", "abd", 0), -1);
    EXPECT_EQ(CompareStrings("abd", "abc", 0), 1);
    EXPECT_EQ(CompareStrings("ABC", "abc", 0), -1);
    EXPECT_EQ(CompareStrings("ABC", "abc", ignoreCase), 0);
    EXPECT_EQ(CompareStrings("abc", "abcd", 0), -1);
    EXPECT_EQ(CompareStrings("abcd", "abc", 0), 1);
    EXPECT_EQ(CompareStrings("zz", "aaa", lengthFirst), -1);
    EXPECT_EQ(CompareStrings("aaa", "zz", lengthFirst), 1);
    EXPECT_EQ(CompareStrings("", "", lengthFirst | ignoreCase), 0);
    // Bytes compare unsigned; folding touches only a-z, a trail byte in that range included.
    EXPECT_EQ(CompareStrings("\xB0\xA1", "a", 0), 1);
    EXPECT_EQ(CompareStrings("\x81\x61", "\x81\x41", ignoreCase), 0);
    EXPECT_EQ(CompareStrings("\x81\x61", "\x81\x41", 0), 1);
    EXPECT_EQ(CompareStrings("{", "[", ignoreCase), 1); // 0x7B is not a letter
    EXPECT_EQ(CompareStrings("`", "@", ignoreCase), 1);
    EXPECT_EQ(CompareStrings("Zoo", "apple", ignoreCase | 0x4 | 0x10), 1); // other bits ignored
}

TEST(DbcsString, ClassifyPosition) {
    const char* text = "\xB0\xA1\x41";
    EXPECT_EQ(ClassifyPosition(text, 0), kLeadByte);
    EXPECT_EQ(ClassifyPosition(text, 1), kTrailByte);
    EXPECT_EQ(ClassifyPosition(text, 2), kSingleByte);
    EXPECT_EQ(ClassifyPosition("\x80\x41", 0), kSingleByte);
    EXPECT_EQ(ClassifyPosition("\x80\x41", 1), kSingleByte);
    // Any byte after a lead byte is its trail, and a trail byte never starts a character.
    EXPECT_EQ(ClassifyPosition("\x81\x81\x81", 1), kTrailByte);
    EXPECT_EQ(ClassifyPosition("\x81\x81\x81", 2), kLeadByte);
    EXPECT_EQ(ClassifyPosition("\x81\x41\x41", 2), kSingleByte);
    EXPECT_EQ(ClassifyPosition("\x81\x80", 1), kTrailByte);
    // The zero byte after a dangling lead byte is classified as its trail; nothing past the zero is read.
    auto dangling = Buffer("a\xB0", 3);
    EXPECT_EQ(ClassifyPosition(dangling.data(), 2), kTrailByte);
    EXPECT_EQ(ClassifyPosition(dangling.data(), 3), kSingleByte);
    EXPECT_EQ(ClassifyPosition(dangling.data(), 0xFFFFFFFFu), kSingleByte);
    auto plain = Buffer("ab", 3);
    EXPECT_EQ(ClassifyPosition(plain.data(), 2), kSingleByte);
    EXPECT_EQ(ClassifyPosition(plain.data(), 100), kSingleByte);
}

// Each case prepares a slot in a fresh buffer of exactly `size` bytes: the count PrepareCharSlot returns and
// the buffer's bytes after it.
TEST(DbcsString, PrepareCharSlot) {
    using namespace std::string_literals;
    struct Case {
        const char* text;
        uint32_t size, position, flags, moved;
        std::string bytes;
    };
    const Case cases[] = {
        // Insert mode; on a trail byte the slot steps back to its lead, past the end the text is padded.
        {"a\xB0\xA1z", 8, 2, kSlotInsert | kSlotTwoBytes, 2, "a  \xB0\xA1z\0#"s},
        {"ab", 8, 1, kSlotInsert, 1, "a b\0####"s},
        {"ab", 8, 4, kSlotInsert, 1, "ab   \0##"s},
        // Overwrite mode, same width: nothing to do.
        {"a\xB0\xA1z", 8, 0, 0, 0, "a\xB0\xA1z\0###"s},
        {"a\xB0\xA1z", 8, 2, kSlotTwoBytes, 0, "a\xB0\xA1z\0###"s},
        // One byte over two: the lead byte goes (DeleteBytes moved 3 bytes); two over one: a space goes in.
        {"a\xB0\xA1z", 8, 2, 0, 3, "a\xA1z\0"s},
        {"abc", 8, 1, kSlotTwoBytes, 1, "a bc\0###"s},
        // At the end of the text the slot is inserted, so the caller's write keeps the zero byte.
        {"ab", 4, 2, 0, 1, "ab \0"s},
        // A lead byte whose trail is the zero byte counts as one byte wide, and the zero byte as its trail.
        {"a\xB0", 5, 1, kSlotTwoBytes, 1, "a \xB0\0#"s},
        {"a\xB0", 4, 1, 0, 0, "a\xB0\0#"s},
        {"a\xB0", 4, 2, 0, 0, "a\xB0\0#"s},
        // A full buffer: the insert is cut, never past the size; past the size nothing changes.
        {"abc", 4, 3, kSlotTwoBytes, 0, "abc\0"s},
        {"abc", 4, 9, kSlotInsert, 1, "abc\0"s},
    };
    for (const Case& c : cases) {
        auto b = Buffer(c.text, c.size);
        EXPECT_EQ(PrepareCharSlot(b.data(), c.size, c.position, c.flags), c.moved)
            << c.text << " " << c.position;
        EXPECT_EQ(Bytes(b).substr(0, c.bytes.size()), c.bytes) << c.text << " " << c.position;
    }
}

TEST(DbcsString, DeleteBytes) {
    struct Case {
        uint32_t position, count, moved;
        const char* left;
    };
    // Position + count may wrap: still a cut. At or past the end nothing changes.
    const Case cases[] = {{2, 2, 3, "lmpq"},
                          {4, 5, 6, "lmno"},
                          {7, 1, 6, "lmnopq"},
                          {6, 1, 6, "lmnopq"},
                          {0xFFFFFFFFu, 0xFFFFFFFFu, 6, "lmnopq"},
                          {1, 0xFFFFFFFFu, 6, "l"},
                          {0, 0, 7, "lmnopq"}};
    for (const Case& c : cases) {
        auto b = Buffer("lmnopq", 7);
        EXPECT_EQ(DeleteBytes(b.data(), c.position, c.count), c.moved) << c.position;
        EXPECT_STREQ(b.data(), c.left) << c.position;
    }
}

TEST(DbcsString, CountCharacters) {
    EXPECT_EQ(CountCharacters("ab\xB0\xA1", 0xFFFFFFFFu), 3u);
    EXPECT_EQ(CountCharacters("ab\xB0\xA1", 3), 2u); // half a character rounds down
    EXPECT_EQ(CountCharacters("ab\xB0\xA1", 0), 0u);
    EXPECT_EQ(CountCharacters("", 10), 0u);
    EXPECT_EQ(CountCharacters("\x80\x80", 10), 1u); // 0x80 counts half
    EXPECT_EQ(CountCharacters("\x81\x41", 10), 1u); // a low trail byte counts whole
    auto b = Buffer("abc", 3);
    EXPECT_EQ(CountCharacters(b.data(), 3), 3u);
}

TEST(DbcsString, TokenizeCommandLine) {
    Token tokens[4];
    SetCommandLineText(nullptr);
    EXPECT_EQ(TokenizeCommandLine(tokens, 4), 0u);
    const char* line = "prog \"a b\" c";
    SetCommandLineText(line);
    ASSERT_EQ(TokenizeCommandLine(tokens, 4), 3u);
    EXPECT_EQ(std::string(tokens[0].text, tokens[0].length), "prog");
    EXPECT_EQ(std::string(tokens[1].text, tokens[1].length), "\"a b\"");
    EXPECT_EQ(std::string(tokens[2].text, tokens[2].length), "c");
    EXPECT_EQ(tokens[0].text, line);
    // Capacity bounds what is written.
    Token one[1];
    EXPECT_EQ(TokenizeCommandLine(one, 1), 1u);
    EXPECT_EQ(one[0].length, 4u);
    EXPECT_EQ(TokenizeCommandLine(nullptr, 0), 0u);
    // Control bytes separate; a quote runs on past spaces to the next separator or the end.
    SetCommandLineText("\t\x01 a\"b c\"d\ne \"open to end");
    ASSERT_EQ(TokenizeCommandLine(tokens, 4), 3u);
    EXPECT_EQ(std::string(tokens[0].text, tokens[0].length), "a\"b c\"d");
    EXPECT_EQ(std::string(tokens[1].text, tokens[1].length), "e");
    EXPECT_EQ(std::string(tokens[2].text, tokens[2].length), "\"open to end");
    // Two-byte characters are ordinary bytes, a trail byte of 0x20 or below excepted.
    SetCommandLineText("\xC7\xD1\xB1\xDB x  ");
    ASSERT_EQ(TokenizeCommandLine(tokens, 4), 2u);
    EXPECT_EQ(tokens[0].length, 4u);
    SetCommandLineText("   ");
    EXPECT_EQ(TokenizeCommandLine(tokens, 4), 0u);
    SetCommandLineText(nullptr);
}

TEST(DbcsString, SplitAndCountLines) {
    const char* next = nullptr;
    const char* text = "ab\r\n\ncd";
    EXPECT_EQ(SplitLine(text, &next), 2);
    EXPECT_EQ(next, text + 5);
    EXPECT_EQ(SplitLine(next, &next), 2);
    EXPECT_EQ(next, kNoNextLine);
    EXPECT_EQ(SplitLine("ab\r\n", &next), 2);
    EXPECT_EQ(next, kNoNextLine);
    EXPECT_EQ(SplitLine("", &next), -1);
    EXPECT_EQ(next, kNoNextLine);
    // An empty line before a CR is a line; line feeds before a CR belong to the line.
    text = "\rx";
    EXPECT_EQ(SplitLine(text, &next), 0);
    EXPECT_EQ(next, text + 1);
    EXPECT_EQ(SplitLine("\r", &next), 0);
    EXPECT_EQ(next, kNoNextLine);
    text = "a\nb\rc";
    EXPECT_EQ(SplitLine(text, &next), 3);
    EXPECT_EQ(next, text + 4);

    EXPECT_EQ(CountLines("a\rb\r", 0xFFFFFFFFu), 3u);
    EXPECT_EQ(CountLines("a\rb\r", 2), 2u);
    EXPECT_EQ(CountLines("", 10), 1u);
    EXPECT_EQ(CountLines("\r\r", 0), 1u);
}
