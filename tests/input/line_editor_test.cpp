// The line editor on plain buffers and log lines: caret moves and deletions keep two-byte characters whole,
// and no input writes past the buffer or pushes the text out of it.
#include <gtest/gtest.h>

#include "tests/input/editor_fixture.h"
#include "toolkit/input/keyboard_routing.h"

static const uint32_t R = 0x30;
namespace {

class LineEditor : public ::testing::Test {
  protected:
    void SetUp() override { HeadlessReset(); }
};

// Steps on a fresh plain buffer: '<' '>' '^' '$' '~' press Left, Right, Home, End and Delete, '#' switches to
// overwriting, any other byte is typed (\b is Backspace, \t is Tab).
struct EditCase {
    const char* name;
    uint32_t capacity;
    const char* text;
    uint32_t caret;
    const char* steps;
    const char* wantText;
    uint32_t wantCaret;
};

} // namespace

static void ExpectEdits(std::initializer_list<EditCase> edits) {
    for (const EditCase& c : edits) {
        SCOPED_TRACE(c.name);
        PlainEditor e(c.capacity, c.text, c.caret);
        for (const char* s = c.steps; *s; s++) {
            const char* keys = "<>^$~";
            const uint32_t codes[] = {vkLeft, vkRight, vkHome, vkEnd, vkDelete};
            if (*s == '#')
                e.Overwrite();
            else if (strchr(keys, *s))
                e.Key(codes[strchr(keys, *s) - keys]);
            else
                e.Char(static_cast<uint8_t>(*s));
        }
        EXPECT_EQ(e.Text(), c.wantText);
        EXPECT_EQ(e.Caret(), c.wantCaret);
    }
}

TEST_F(LineEditor, CaretMovesOverWholeCharacters) {
    ExpectEdits({
        {"left over a two-byte character", 16, "\xB0\xA1\x61", 3, "<<", "\xB0\xA1\x61", 0},
        {"left stops at the start", 16, "\xB0\xA1\x61", 3, "<<<", "\xB0\xA1\x61", 0},
        {"right over a two-byte character", 16, "\xB0\xA1\x61", 0, ">", "\xB0\xA1\x61", 2},
        {"right stops at the end", 16, "\xB0\xA1\x61", 0, ">>>", "\xB0\xA1\x61", 3},
        {"home, end", 16, "\xB0\xA1\x61", 2, "^$", "\xB0\xA1\x61", 3},
        // Trail bytes in the letter range, 0x80 as a single byte, a lead byte with no trail at the end.
        {"a lone lead byte is a character", 16, "\xB0\x41\x42\x80\x41\xC0", 6, "<",
         "\xB0\x41\x42\x80\x41\xC0", 5},
        {"0x80 is single", 16, "\xB0\x41\x42\x80\x41\xC0", 6, "<<<", "\xB0\x41\x42\x80\x41\xC0", 3},
        {"0x41 after 0xB0 trails", 16, "\xB0\x41\x42\x80\x41\xC0", 6, "<<<<<", "\xB0\x41\x42\x80\x41\xC0", 0},
        {"never past the zero byte", 16, "\xB0\x41\x42\x80\x41\xC0", 5, ">>", "\xB0\x41\x42\x80\x41\xC0", 6},
        // A caret left on a trail byte (by the owner) moves to a character boundary either way.
        {"from a trail byte left", 16, "\xB0\x41\x42", 1, "<", "\xB0\x41\x42", 0},
        {"from a trail byte right", 16, "\xB0\x41\x42", 1, ">", "\xB0\x41\x42", 2},
    });
    PlainEditor e(16, "\xB0\xA1\x61", 3);
    EXPECT_EQ(e.Key(vkLeft), R);
    EXPECT_EQ(e.Key(vkHome), R);
    EXPECT_EQ(e.Key(vkEnd), R);

    // Key-ups and keys without a meaning do nothing and need no redraw; Insert toggles without a redraw.
    e.Caret() = 0;
    EXPECT_EQ(e.Key(vkRight, 1), 0u);
    for (uint32_t key : {38u, 40u, 33u, 34u, 0x10025u}) EXPECT_EQ(e.Key(key), 0u) << key;
    EXPECT_EQ(e.Caret(), 0u);
    EXPECT_EQ(e.Key(vkInsert), 0u);
    EXPECT_EQ(e.edit.flags & insertMode, 0u);
    EXPECT_EQ(e.Key(vkInsert, 1), 0u);
    EXPECT_EQ(e.edit.flags & insertMode, 0u);
    e.Type("x"); // the next character overwrites
    EXPECT_EQ(e.Text(), "x a");
}

TEST_F(LineEditor, DeletionRemovesWholeCharacters) {
    ExpectEdits({
        {"backspace over a two-byte character", 16, "ab\xB0\xA1\x63", 4, "\b", "abc", 2},
        {"past the end: back to the end first", 16, "abc", 6, "\b", "ab", 2},
        {"empty", 16, "", 5, "\b", "", 0},
        {"at the start", 16, "ab", 0, "\b", "ab", 0},
        {"delete a two-byte character", 16, "a\xB0\x41z\xC0", 1, "~", "az\xC0", 1},
        {"delete a lone lead byte at the end", 16, "az\xC0", 2, "~~", "az", 2},
        // With the caret on a trail byte, either key takes the character it belongs to.
        {"delete on a trail byte", 16, "x\xB0\xA1y", 2, "~", "xy", 1},
        {"backspace on a trail byte", 16, "x\xB0\xA1y", 2, "\b", "xy", 1},
    });
    PlainEditor empty(16, "", 5), end(16, "az", 2);
    EXPECT_EQ(empty.Char(editBackspace), R);
    EXPECT_EQ(end.Key(vkDelete), R); // at the end: nothing changes, still a redraw
}

TEST_F(LineEditor, TypingStopsAtTheLimitWithoutLosingText) {
    PlainEditor field(8);
    field.Type("abcdefgh");
    EXPECT_EQ(field.Text(), "abcdef"); // an edit field keeps one byte spare
    EXPECT_EQ(field.Caret(), 8u);      // the caret still advanced, up to capacity
    EXPECT_EQ(field.Char('z'), 0u);    // caret at capacity: nothing
    EXPECT_EQ(field.Caret(), 8u);

    LogEditor log;
    ASSERT_TRUE(log.Make(8, 4));
    log.Type("abcdefgh");
    EXPECT_EQ(log.Text(), "abcdefg"); // a log line fills its slot
    EXPECT_TRUE(log.t.SlotsTerminated());

    ExpectEdits({
        // A full text keeps its last bytes: the typed character is refused instead.
        {"full", 8, "abcdef", 0, "x", "abcdef", 1},
        {"full, not left on a trail byte", 8, "a\xB0\xA1\x62\x63\x64", 1, "x", "a\xB0\xA1\x62\x63\x64", 3},
        {"past the end: padded with spaces", 16, "ab", 4, "x", "ab  x", 5},
        {"on a trail byte: after the character", 16, "\xB0\xA1", 1, "x", "\xB0\xA1x", 3},
    });
    PlainEditor full(8, "abcdef", 0);
    EXPECT_EQ(full.Char('x'), R);

    // Control characters and bytes of two-byte characters are ignored.
    PlainEditor other(16, "ab", 2);
    for (uint32_t c : {0u, 1u, 7u, 10u, 27u, 0x80u, 0xB0u, 0xFFu}) EXPECT_EQ(other.Char(c), 0u) << c;
    EXPECT_EQ(other.Char(0x7F41), R); // only the low byte counts
    EXPECT_EQ(other.Text(), "abA");
}

TEST_F(LineEditor, TypingClearsTheCompositionOfPlainBuffersOnly) {
    PlainEditor field(16);
    field.edit.composition = 0xA1B0;
    field.Char('a');
    EXPECT_EQ(field.edit.composition, 0u);
    LogEditor log;
    ASSERT_TRUE(log.Make(16, 4));
    log.t.log.edit.composition = 0xA1B0;
    log.Char('a');
    EXPECT_EQ(log.t.log.edit.composition, 0xA1B0u);
    log.Overwrite();
    log.Char('b');
    EXPECT_EQ(log.t.log.edit.composition, 0xA1B0u);
    log.Ime("c");
    EXPECT_EQ(log.t.log.edit.composition, 0u);
}

TEST_F(LineEditor, OverwriteReplacesWholeCharactersWithinTheBuffer) {
    ExpectEdits({
        {"a two-byte character", 16, "\xB0\xA1z", 0, "#x", "x z", 1},
        {"past the zero byte the visible text stays", 8, "ab", 4, "#x", "ab", 5},
        {"a lead byte at the end is one byte wide", 8, "a\xB0", 1, "#x", "ax", 2},
        {"on a trail byte the whole character goes", 8, "a\xB0\xA1", 2, "#x", "ax ", 2},
    });

    LogEditor log;
    ASSERT_TRUE(log.Make(8, 2));
    CopyString("\xB0\xA1z", log.t.log.lines, 8);
    log.Overwrite();
    log.Char('x');
    EXPECT_EQ(log.Text(), "x z");

    PlainEditor grow(4, "ab", 2);
    grow.Overwrite();
    grow.Char('c');
    EXPECT_EQ(grow.Text(), "abc");
    EXPECT_EQ(grow.Char('d'), R); // on the zero byte at capacity - 1: refused
    EXPECT_EQ(grow.Text(), "abc");
    EXPECT_EQ(grow.Caret(), 4u);
    EXPECT_EQ(grow.Char('e'), 0u);

    LogEditor last; // the zero byte must not spill onto the next line
    ASSERT_TRUE(last.Make(4, 2));
    last.t.log.lineCount = 2;
    CopyString("abc", last.t.log.lines, 4);
    CopyString("LMN", last.t.log.lines + 4, 4);
    last.Caret() = 3;
    last.Overwrite();
    last.Char('d');
    EXPECT_EQ(last.t.Lines(), (std::vector<std::string>{"abc", "LMN"}));

    PlainEditor beyond(8, "ab", 4);
    beyond.Overwrite();
    beyond.Char('x');
    EXPECT_EQ(beyond.bytes[4], 'x');
}

TEST_F(LineEditor, TabsStopEveryFourBytesAndNeverOverflow) {
    ExpectEdits({
        {"spaces up to the stop", 32, "", 5, "\t", "        ", 8},
        {"the next stop", 32, "", 5, "\t\t", "            ", 12},
        {"overwriting moves the caret only", 32, "abcdef", 5, "#\t", "abcdef", 6},
        {"a caret past the end comes back to it", 32, "ab", 9, "#\t", "ab", 2},
        {"the stop at 4 is a trail byte", 32, "abc\xB0\xA1z", 0, "#\t", "abc\xB0\xA1z", 5},
        // Not all spaces fit: what fits goes in, and the text keeps every byte.
        {"part of the spaces", 8, "abc", 0, "\t", "   abc", 3},
        {"no room", 8, "abcdef", 0, "\t", "abcdef", 0},
        {"the next stop lies past capacity", 6, "", 5, "\t", "", 5},
    });
    PlainEditor part(8, "abc", 0);
    EXPECT_EQ(part.Char(editTab), R);

    LogEditor log; // Tab and IME results keep one byte spare in a log line too
    ASSERT_TRUE(log.Make(8, 2));
    log.Type("ab");
    log.Char(editTab);
    log.Char(editTab);
    EXPECT_EQ(log.Text(), "ab    ");
    EXPECT_EQ(log.Caret(), 6u);
    log.Ime("\xB0\xA1");
    EXPECT_EQ(log.Text(), "ab    ");
    log.Char('z');
    EXPECT_EQ(log.Text(), "ab    z");
}

TEST_F(LineEditor, ImeResultsInsertWholeCharacters) {
    PlainEditor e(16, "ab", 1);
    e.edit.composition = 0xA1B0;
    EXPECT_EQ(e.Ime("\xB0\xA1"), R);
    EXPECT_EQ(e.Text(), "a\xB0\xA1"
                        "b");
    EXPECT_EQ(e.Caret(), 3u);
    EXPECT_EQ(e.edit.composition, 0u);

    PlainEditor over(16, "a\xB0\xA1z", 0); // the removal is widened to the character cut in half
    over.Overwrite();
    over.Ime("\xC7\xD1");
    EXPECT_EQ(over.Text(), "\xC7\xD1z");
    EXPECT_EQ(over.Caret(), 2u);
    PlainEditor over2(16, "abcd", 1);
    over2.Overwrite();
    over2.Ime("\xC7\xD1");
    EXPECT_EQ(over2.Text(), "a\xC7\xD1"
                            "d");

    PlainEditor partial(8, "abcde", 5); // one byte of room: half a character is not inserted
    partial.Ime("\xB0\xA1");
    EXPECT_EQ(partial.Text(), "abcde");
    EXPECT_EQ(partial.Caret(), 5u);
    PlainEditor middle(8, "abcde", 0); // nor does the result push the tail out
    middle.Ime("\xB0\xA1");
    EXPECT_EQ(middle.Text(), "abcde");

    // Counts: 0 and a zero value only clear the composition; negative ones change nothing; at most four
    // bytes; a lead byte without its trail is dropped.
    PlainEditor c(16, "ab", 2);
    c.edit.composition = 0xA1B0;
    EXPECT_EQ(c.Ime("xy", 0), R);
    EXPECT_EQ(c.edit.composition, 0u);
    c.edit.composition = 0xA1B0;
    for (int32_t bad : {-1, -2, -0x7FFFFFFF}) EXPECT_EQ(c.Ime("xy", bad), 0u);
    EXPECT_EQ(c.edit.composition, 0xA1B0u);
    EXPECT_EQ(c.Text(), "ab");
    c.Ime("1234", 5);
    EXPECT_EQ(c.Text(), "ab1234");
    c.Ime("5", 4);
    EXPECT_EQ(c.Text(), "ab12345");
    c.Ime("6\xB0\xA1", 2);
    EXPECT_EQ(c.Text(), "ab123456");
    EXPECT_EQ(c.Caret(), 8u);
}

TEST_F(LineEditor, EnterRunsTheHandlerOfAPlainBuffer) {
    PlainEditor e(16, "abc", 1);
    EXPECT_EQ(e.Char(editEnter), R);
    EXPECT_EQ(e.Text(), "abc");
    EXPECT_EQ(e.Caret(), 1u);

    static EditBuffer* seen;
    static Control* seenOwner;
    seen = nullptr;
    e.edit.enterHandler = [](WindowHandle, WindowRecord*, Control* control, EditBuffer* buffer) {
        seen = buffer;
        seenOwner = control;
    };
    EXPECT_EQ(e.Char(editEnter), R);
    EXPECT_EQ(seen, &e.edit);
    EXPECT_EQ(seenOwner, &e.control);

    // lineMode without a log owning the buffer: edited as a plain buffer.
    e.edit.lineMode = 1;
    seen = nullptr;
    e.Char(editEnter);
    EXPECT_EQ(seen, &e.edit);
}

TEST_F(LineEditor, EnterSplitsALogLine) {
    using Lines = std::vector<std::string>;
    LogEditor e;
    ASSERT_TRUE(e.Make(16, 5));
    e.t.Fill({"pqrstu", "next", "after"});
    e.Caret() = 2;
    EXPECT_EQ(e.Char(editEnter), R);
    EXPECT_EQ(e.t.Lines(), (Lines{"pq", "rstu", "next", "after"}));
    EXPECT_EQ(e.t.log.currentLine, 1u);
    EXPECT_EQ(e.Caret(), 0u);
    EXPECT_EQ(e.t.log.edit.text, TextLogLine(&e.t.log, 1));
    e.Type("+");
    EXPECT_EQ(e.t.Line(1), "+rstu"); // typing goes on in the new line

    // Past the end of the line the new line is empty; a split never cuts a character.
    e.Caret() = 9;
    e.Char(editEnter);
    EXPECT_EQ(e.t.Lines(), (Lines{"pq", "+rstu", "", "next", "after"}));
    e.t.Fill({"a\xB0\xA1z", "x"});
    e.t.log.currentLine = 0;
    e.Caret() = 2;
    e.Char(editEnter);
    EXPECT_EQ(e.t.Lines(), (Lines{"a", "\xB0\xA1z", "x"}));

    // A full log splits nothing; the current line moves down unless it is the last.
    e.t.Fill({"l0", "l1", "l2", "l3", "l4"});
    e.t.log.currentLine = 3;
    e.Caret() = 1;
    e.Char(editEnter);
    EXPECT_EQ(e.t.Lines(), (Lines{"l0", "l1", "l2", "l3", "l4"}));
    EXPECT_EQ(e.t.log.currentLine, 4u);
    e.Caret() = 1;
    e.Char(editEnter);
    EXPECT_EQ(e.t.log.currentLine, 4u);
    EXPECT_EQ(e.Caret(), 0u);
}

TEST_F(LineEditor, LogLineFollowsTheCurrentLine) {
    using Lines = std::vector<std::string>;
    LogEditor e;
    ASSERT_TRUE(e.Make(8, 4));
    e.t.Fill({"one", "two"});
    e.t.log.currentLine = 1;
    e.t.log.edit.text = e.t.log.lines; // stale: no draw since the current line changed
    e.Caret() = 5;                     // past the end of the new line
    e.Type("!");
    EXPECT_EQ(e.t.Lines(), (Lines{"one", "two  !"}));

    // All lines deleted: the text typed into slot 0 survives an Enter.
    DeleteTextLogLines(&e.t.log, 0, 9);
    e.t.log.currentLine = 0;
    e.Caret() = 0;
    e.Type("abc");
    e.Caret() = 1;
    e.Char(editEnter);
    EXPECT_EQ(e.t.Lines(), (Lines{"a", "bc"}));

    // With keepCaretInView a key brings the line into view, redrawn even when nothing else changes.
    e.t.log.visibleRows = 1, e.t.log.firstRow = 0, e.t.log.currentLine = 1;
    e.t.log.edit.flags |= keepCaretInView;
    EXPECT_EQ(e.Key(vkShift, 1) * 10 + e.t.log.firstRow, 0u); // a release is no input: the view stays
    EXPECT_EQ(e.Key(vkShift) * 10 + e.t.log.firstRow, R * 10 + 1);
}

static uint32_t SelectOnly(Control* owner, EditBuffer* buffer, uint32_t request) {
    uint32_t answer = TextLogLineRequest(owner, buffer, request);
    return request == lineBeginInput && answer == lineEdit ? uint32_t(lineSelectOnly) : answer;
}

TEST_F(LineEditor, ReadOnlyLogChangesNothing) {
    LogEditor e;
    ASSERT_TRUE(e.Make(8, 3));
    e.t.Fill({"abc", "def"});
    e.t.log.header.flags |= textLogReadOnly;
    e.Caret() = 1;
    std::vector<char> before(e.t.log.lines, e.t.log.lines + 24);
    EXPECT_EQ(e.Char('x'), R);
    EXPECT_EQ(e.Char(editBackspace), R);
    EXPECT_EQ(e.Char(editEnter), R);
    EXPECT_EQ(e.Char(7), R);
    EXPECT_EQ(e.Key(vkDelete), R);
    EXPECT_EQ(e.Key(vkInsert), R);
    EXPECT_EQ(e.Key(vkLeft, 1), R);
    EXPECT_EQ(e.Ime("\xB0\xA1"), R);
    EXPECT_EQ(std::vector<char>(e.t.log.lines, e.t.log.lines + 24), before);
    EXPECT_EQ(e.t.log.currentLine, 0u);
    EXPECT_EQ(e.Caret(), 1u);
    EXPECT_EQ(e.t.log.edit.flags & insertMode, insertMode);

    // An owner's lineSelectOnly: Shift+Right selects and Ctrl+C copies, nothing else changes anything.
    e.t.log.header.flags &= ~textLogReadOnly;
    e.t.log.edit.lineHandler = SelectOnly, e.t.log.edit.flags |= selectText | clipboardKeys;
    NoteModifierKey(vkShift, true);
    e.Key(vkRight);
    RouteKeyboard(0, nullptr, WM_KILLFOCUS, 0, 0); // losing the keyboard lets go of Shift
    EXPECT_EQ(HeldModifiers(), 0u);
    for (uint32_t c : {3u, uint32_t('x'), 8u, 13u, 22u, 24u}) e.Char(c);
    e.Key(vkDelete);
    EXPECT_EQ(std::vector<char>(e.t.log.lines, e.t.log.lines + 24), before);
    EXPECT_STREQ(HeadlessClipboardUtf8(), "ab");
}

TEST_F(LineEditor, BuffersWithoutRoom) {
    PlainEditor none(0);
    EXPECT_EQ(none.Char('a'), 0u);
    EXPECT_EQ(none.Key(vkEnd), 0u);
    PlainEditor one(1, "", 0);
    EXPECT_EQ(one.Char('a'), R);
    EXPECT_EQ(one.Text(), "");
    EXPECT_EQ(one.Caret(), 1u);
    one.Overwrite();
    one.Caret() = 0;
    one.Char('a');
    one.Char(editTab);
    one.Ime("\xB0\xA1");
    EXPECT_EQ(one.Text(), "");

    PlainEditor nullText(8);
    nullText.edit.text = nullptr;
    EXPECT_EQ(nullText.Char('a'), 0u);
    EXPECT_EQ(EditInput(0, nullptr, nullptr, nullptr, EditInputMode::Character, 'a', 1), 0u);

    // A text without its zero byte is cut to the buffer; a caret past capacity comes back to it.
    PlainEditor unterminated(4, "", 9);
    memcpy(unterminated.bytes, "wxyz", 4);
    unterminated.Key(vkEnd);
    EXPECT_EQ(unterminated.Text(), "wxy");
    EXPECT_EQ(unterminated.Caret(), 3u);
    unterminated.Caret() = 9;
    unterminated.Key(vkRight);
    EXPECT_EQ(unterminated.Caret(), 4u);

    LogEditor failed; // a log whose line array could not be allocated
    HeadlessFailAllocations(1);
    EXPECT_FALSE(failed.Make(8, 4));
    EXPECT_EQ(failed.Char('a'), 0u);
    EXPECT_EQ(failed.Char(editEnter), 0u);
    EXPECT_EQ(failed.Ime("\xB0\xA1"), 0u);
}
