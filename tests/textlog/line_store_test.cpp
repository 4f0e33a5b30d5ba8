// The text log's line store: slots move whole, a full log refuses to grow, and pastes keep the rest of the
// line they land in.
#include <gtest/gtest.h>

#include "tests/textlog/text_log_fixture.h"
#include "util/dbcs_string.h"

using Lines = std::vector<std::string>;

// The line count, the current line, the first row shown and the row height.
static std::vector<uint32_t> Counters(const TextLog& log) {
    return {log.lineCount, log.currentLine, log.firstRow, log.rowHeight};
}

class LineStore : public ::testing::Test {
  protected:
    void SetUp() override { HeadlessReset(); }
    TestLog t;
};

TEST_F(LineStore, ResetAndAllocation) {
    ASSERT_TRUE(t.Make(16, 5));
    EXPECT_EQ(Counters(t.log), (std::vector<uint32_t>{1, 0, 0, 0}));
    EXPECT_EQ(t.log.maxLines, 5u);
    EXPECT_EQ(t.log.edit.text, t.log.lines);
    t.Fill({"a", "b", "c"});
    t.log.currentLine = 2;
    t.log.firstRow = 1;
    t.log.rowHeight = 17;
    ResetTextLog(&t.log);
    EXPECT_EQ(Counters(t.log), (std::vector<uint32_t>{1, 0, 0, 17})) << "the row height is the layout's";
    for (uint32_t i = 0; i < 5; i++) EXPECT_EQ(t.Line(i), "") << i;
}

TEST_F(LineStore, InsertOpensSlotsAndStopsAtTheLimit) {
    ASSERT_TRUE(t.Make(8, 6));
    t.Fill({"l0", "l1", "l2", "l3"});
    // Below the end: two free slots, five asked for.
    EXPECT_EQ(InsertTextLogLines(&t.log, 1, 5), 2u);
    EXPECT_EQ(t.log.lineCount, 6u);
    EXPECT_EQ(t.Lines(), (Lines{"l0", "l1", "l2", "l1", "l2", "l3"})); // new slots keep the moved copies
    EXPECT_EQ(InsertTextLogLines(&t.log, 0, 1), 0u);                   // full
    EXPECT_EQ(InsertTextLogLines(&t.log, 6, 1), 0u);                   // index >= maxLines

    // Past the end: empty lines up to the new ones, cut at the limit.
    t.Fill({"x"});
    EXPECT_EQ(InsertTextLogLines(&t.log, 3, 10), 3u);
    EXPECT_EQ(t.Lines(), (Lines{"x", "", "", "", "", ""}));
    t.Fill({"x"});
    EXPECT_EQ(InsertTextLogLines(&t.log, 4, 0), 0u); // none inserted, but the gap becomes empty lines
    EXPECT_EQ(t.Lines(), (Lines{"x", "", "", ""}));
}

TEST_F(LineStore, ClearAndDelete) {
    ASSERT_TRUE(t.Make(8, 6));
    t.Fill({"l0", "l1", "l2", "l3", "l4"});
    ClearTextLogLines(&t.log, 1, 2);
    EXPECT_EQ(t.Lines(), (Lines{"l0", "", "", "l3", "l4"}));
    ClearTextLogLines(&t.log, 4, 100); // cut to the slots
    ClearTextLogLines(&t.log, 6, 1);   // ignored
    EXPECT_EQ(t.Lines(), (Lines{"l0", "", "", "l3", ""}));

    t.Fill({"l0", "l1", "l2", "l3", "l4"});
    DeleteTextLogLines(&t.log, 1, 2);
    EXPECT_EQ(t.Lines(), (Lines{"l0", "l3", "l4"}));
    DeleteTextLogLines(&t.log, 3, 1); // at lineCount: ignored
    EXPECT_EQ(t.log.lineCount, 3u);
    DeleteTextLogLines(&t.log, 1, 0xFFFFFFFFu);
    EXPECT_EQ(t.Lines(), (Lines{"l0"}));
    DeleteTextLogLines(&t.log, 0, 7);
    EXPECT_EQ(t.log.lineCount, 0u);
    EXPECT_EQ(t.Line(0), "");
}

TEST_F(LineStore, AddInsertsAppendsAndScrolls) {
    ASSERT_TRUE(t.Make(8, 100));
    t.Fill({"a", "b", "c"});
    EXPECT_EQ(AddTextLogLine(&t.log, 5, "five", 0), 5);
    EXPECT_EQ(t.Lines(), (Lines{"a", "b", "c", "", "", "five"}));
    EXPECT_EQ(AddTextLogLine(&t.log, 1, "one", 0), 1);
    EXPECT_EQ(t.Lines(), (Lines{"a", "one", "b", "c", "", "", "five"}));
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, "end", 0), 7);
    EXPECT_EQ(AddTextLogLine(&t.log, 100, "end", 0), 8); // any index >= maxLines appends
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, "much too long", 0), 9);
    EXPECT_EQ(t.Line(9), "much to");
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, nullptr, 0), 10);
    EXPECT_EQ(t.Line(10), "");

    // A full log of 100 lines, appending with scroll and drop-oldest.
    t.Fill({});
    for (int i = 0; i < 100; i++) AddTextLogLine(&t.log, appendLine, std::to_string(i).c_str(), 0);
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, "new", 0), -1);
    EXPECT_EQ(AddTextLogLine(&t.log, 3, "new", addScrollIntoView), -1);
    t.log.visibleRows = 10;
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, "new", addScrollIntoView | addDropOldest), 99);
    EXPECT_EQ(t.Line(0) + " " + t.Line(99), "1 new");
    EXPECT_EQ(t.log.lineCount, 100u);
    EXPECT_EQ(t.log.firstRow, 90u); // line 99 is the bottom row

    // A line above the view scrolls up to it; before any draw the line becomes the top row.
    EXPECT_EQ(AddTextLogLine(&t.log, 20, "up", addScrollIntoView | addDropOldest), 20);
    EXPECT_EQ(t.log.firstRow, 20u);
    t.Fill({"a"});
    t.log.visibleRows = 0;
    EXPECT_EQ(AddTextLogLine(&t.log, 7, "x", addScrollIntoView), 7);
    EXPECT_EQ(t.log.firstRow, 7u);

    // textLogFollowEnd: a view that showed the last line follows lines added and pasted; one above stays.
    t.log.header.flags |= textLogFollowEnd;
    t.log.visibleRows = 4, t.log.firstRow = 4;
    AddTextLogLine(&t.log, appendLine, "y", 0);
    InsertTextLogText(&t.log, "b\rc", 3, 8, 0);
    EXPECT_EQ(t.log.firstRow, 6u);
    t.log.firstRow = 5;
    AddTextLogLine(&t.log, appendLine, "z", 0);
    EXPECT_EQ(t.log.firstRow, 5u);
}

TEST_F(LineStore, AddCutsLongTextOnWholeCharacters) {
    ASSERT_TRUE(t.Make(6, 4));
    t.Fill({});
    AddTextLogLine(&t.log, appendLine, "abcd\xB0\xA1", 0); // the cut would fall inside the character
    EXPECT_EQ(t.Line(0), "abcd");
    AddTextLogLine(&t.log, appendLine, "abc\xB0\xA1z", 0);
    EXPECT_EQ(t.Line(1), "abc\xB0\xA1");
    AddTextLogLine(&t.log, appendLine, "a\xB0\x41\xB0\x41", 0); // trail bytes in the letter range
    EXPECT_EQ(t.Line(2), "a\xB0\x41\xB0\x41");
}

// Each paste into fresh lines: the text's first `length` bytes (0: all of it) at `line`, `position`.
TEST_F(LineStore, Pastes) {
    struct Case {
        const char* name;
        Lines before;
        const char* text;
        uint32_t length, line, position, added;
        Lines after;
    };
    const Case cases[] = {
        {"between", {"f", "abcdef", "l"}, "XY\r\nmid\r\n\nZ", 0, 1, 3, 3, {"f", "abcXY", "mid", "Zdef", "l"}},
        {"one line in place", {"abcdef"}, "12", 0, 0, 2, 1, {"ab12cdef"}},
        {"the length ends the text", {"abcdef"}, "one\rtwo\rthree", 6, 0, 6, 2, {"abcdefone", "tw"}},
        {"ending in CR: an empty last line", {"abcdef"}, "x\r", 0, 0, 3, 2, {"abcx", "def"}},
        {"in a two-byte character: at its lead", {"a\xB0\xA1z"}, "-", 0, 0, 2, 1, {"a-\xB0\xA1z"}},
        {"past the end of the line: padded", {"ab"}, "c\rd", 0, 0, 4, 2, {"ab  c", "d"}},
        {"past the last line: empty lines", {"a"}, "p\rq", 0, 2, 0, 2, {"a", "", "p", "q", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(t.Make(16, 10));
        t.Fill(c.before);
        uint32_t length = c.length ? c.length : static_cast<uint32_t>(strlen(c.text));
        EXPECT_EQ(InsertTextLogText(&t.log, c.text, length, c.line, c.position), c.added);
        EXPECT_EQ(t.Lines(), c.after);
        FreeTextLogLines(&t.log);
    }
    // The last slot: the line itself is created even when nothing fits after it.
    ASSERT_TRUE(t.Make(8, 10));
    t.Fill({"a"});
    EXPECT_EQ(InsertTextLogText(&t.log, "p\rq", 3, 9, 0), 1u);
    EXPECT_EQ(t.log.lineCount, 10u);
    EXPECT_EQ(t.Line(9), "p");
    EXPECT_EQ(InsertTextLogText(&t.log, "p", 1, 10, 0), 0u);
}

TEST_F(LineStore, FullLogShortensThePasteButKeepsTheRestOfTheLine) {
    ASSERT_TRUE(t.Make(8, 4));
    t.Fill({"l0", "abcdef", "l2"});
    // One free slot: two of the four lines go in; the rest of line 1 ends the second.
    EXPECT_EQ(InsertTextLogText(&t.log, "1\r2\r3\r4", 7, 1, 2), 2u);
    EXPECT_EQ(t.Lines(), (Lines{"l0", "ab1", "2cdef", "l2"}));

    // No free slot: the first line goes in before the rest, cut to what fits beside it.
    EXPECT_EQ(InsertTextLogText(&t.log, "XYZW\rQ", 6, 1, 1), 1u);
    EXPECT_EQ(t.Lines(), (Lines{"l0", "aXYZWb1", "2cdef", "l2"}));
    EXPECT_EQ(InsertTextLogText(&t.log, "more", 4, 1, 0), 1u);
    EXPECT_EQ(t.Line(1), "aXYZWb1"); // a full line takes nothing and loses nothing

    // A cut inside a two-byte character leaves the whole character out.
    t.Fill({"abcd", "x", "y", "z"});
    EXPECT_EQ(InsertTextLogText(&t.log, "12\xB0\xA1", 4, 0, 2), 1u);
    EXPECT_EQ(t.Line(0), "ab12cd");
    EXPECT_TRUE(t.SlotsTerminated());
}

TEST_F(LineStore, PasteReadsNothingPastTheGivenBytes) {
    ASSERT_TRUE(t.Make(32, 8));
    t.Fill({"<>"});
    // An exactly sized buffer without a zero byte: AddressSanitizer catches any read past it.
    std::vector<char> text = {'a', '\r', '\n', 'b', '\r', 'c'};
    char* exact = new char[text.size()];
    memcpy(exact, text.data(), text.size());
    EXPECT_EQ(InsertTextLogText(&t.log, exact, static_cast<uint32_t>(text.size()), 0, 1), 3u);
    EXPECT_EQ(t.Lines(), (Lines{"<a", "b", "c>"}));
    // And one ending in line feeds after its last CR.
    memcpy(exact, "ab\r\n\n\n", 6);
    t.Fill({"<>"});
    EXPECT_EQ(InsertTextLogText(&t.log, exact, 6, 0, 1), 2u);
    EXPECT_EQ(t.Lines(), (Lines{"<ab", ">"}));
    delete[] exact;
    EXPECT_EQ(InsertTextLogText(&t.log, "", 0, 0, 0), 1u);
    EXPECT_EQ(InsertTextLogText(&t.log, nullptr, 5, 0, 0), 0u);
}

TEST_F(LineStore, FailedAllocationRefusesEverything) {
    HeadlessFailAllocations(1);
    EXPECT_FALSE(t.Make(16, 10));
    EXPECT_TRUE(!t.log.lines && !t.log.edit.text);
    ResetTextLog(&t.log);
    EXPECT_EQ(Counters(t.log), (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(InsertTextLogLines(&t.log, 0, 3), 0u);
    ClearTextLogLines(&t.log, 0, 3);
    DeleteTextLogLines(&t.log, 0, 3);
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, "x", addDropOldest | addScrollIntoView), -1);
    EXPECT_EQ(InsertTextLogText(&t.log, "a\rb", 3, 0, 0), 0u);
    EXPECT_EQ(Counters(t.log), (std::vector<uint32_t>{0, 0, 0, 0}));

    // Zero sizes and sizes that wrap are refused without asking the allocator.
    EXPECT_FALSE(t.Make(0, 10));
    EXPECT_FALSE(t.Make(16, 0));
    EXPECT_FALSE(t.Make(0x10000, 0x10000));
    EXPECT_EQ(t.log.lines, nullptr);
}

TEST_F(LineStore, SlotsUnderFourBytes) {
    ASSERT_TRUE(t.Make(2, 4)); // emptying writes only the slot's own bytes
    t.Fill({"a", "b", "c", "d"});
    ClearTextLogLines(&t.log, 1, 2);
    EXPECT_EQ(t.Lines(), (Lines{"a", "", "", "d"}));
    DeleteTextLogLines(&t.log, 2, 5);
    ResetTextLog(&t.log);
    EXPECT_EQ(t.Line(3), "");
    EXPECT_EQ(AddTextLogLine(&t.log, appendLine, "xyz", 0), 1);
    EXPECT_EQ(t.Line(1), "x");
}
