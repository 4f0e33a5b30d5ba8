// Selection, undo and the clipboard keys of buffers that take them, driven by scripts of keys.
#include <gtest/gtest.h>

#include "tests/input/editor_fixture.h"
#include "toolkit/input/edit_history.h"
#include "toolkit/platform/headless/headless.h"

namespace {
struct Case {
    const char* text;
    uint32_t caret;
    const char* keys;
    const char* after;    // the text
    const char* selected; // the selection, or the bytes before the caret when nothing is selected
};
} // namespace

static const char ga[] = "\xB0\xA1"; // a two-byte syllable

// [ ] Shift down and up, < > ^ $ Left Right Home End, D Delete, I Shift+Insert paste, ! the syllable as an
// IME result; A B C V X Y Z Ctrl+A, Backspace, Ctrl+C, V, X, Y, Z; any other byte is typed.
static void Play(PlainEditor& e, const char* keys) {
    static const char* const ctrl = "ABCVXYZ";
    static const uint32_t ctrlChar[] = {1, 8, 3, 22, 24, 25, 26};
    for (const char* k = keys; *k; k++) {
        if (*k == '[' || *k == ']') NoteModifierKey(vkShift, *k == '[');
        if (const char* key = strchr("<>^$D", *k)) e.Key(uint32_t("\x25\x27\x24\x23\x2E"[key - "<>^$D"]));
        if (*k == 'I') NoteModifierKey(vkShift, true), e.Key(vkInsert), NoteModifierKey(vkShift, false);
        if (*k == '!') e.Ime(ga);
        if (const char* c = strchr(ctrl, *k)) e.Char(ctrlChar[c - ctrl]);
        if (!strchr("[]<>^$DI!", *k) && !strchr(ctrl, *k)) e.Char(uint8_t(*k));
    }
}

static void Check(const Case* cases, size_t n, uint32_t capacity = 16) {
    for (size_t i = 0; i < n; i++) {
        const Case& c = cases[i];
        PlainEditor e(capacity, c.text, c.caret);
        EditHistory history{};
        e.edit.flags |= selectText | clipboardKeys | undoKeys;
        e.edit.selectionAnchor = c.caret;
        e.edit.history = &history;
        Play(e, c.keys);
        uint32_t start, end;
        if (!EditSelection(&e.edit, &start, &end)) start = 0, end = e.Caret();
        EXPECT_EQ(e.Text(), c.after) << c.keys;
        EXPECT_EQ(e.Text().substr(start, end - start), c.selected) << c.keys;
        NoteModifierKey(vkShift, false);
    }
}

TEST(EditingModel, ShiftWithCaretKeysSelectsAndAPlainArrowCollapses) {
    const Case cases[] = {
        {"abcd", 1, "[>>]", "abcd", "bc"},
        {"abcd", 3, "[^]", "abcd", "abc"},
        {"a\xB0\xA1z", 0, "[>>]", "a\xB0\xA1z", "a\xB0\xA1"},
        {"abcd", 1, "[>>]<", "abcd", "a"},
        {"abcd", 1, "[>>]>", "abcd", "abc"},
        {"abcd", 2, "A", "abcd", "abcd"},
        {"abcd", 2, "[$]^", "abcd", ""},
    };
    Check(cases, std::size(cases));
}

TEST(EditingModel, TypingBackspaceDeleteAndImeResultsReplaceTheSelection) {
    const Case cases[] = {
        {"abcd", 1, "[>>]x", "axd", "ax"},       {"abcd", 1, "[>>]B", "ad", "a"},
        {"abcd", 3, "[<<]D", "ad", "a"},         {"abcd", 0, "A!", ga, ga},
        {"abcd", 0, "[>]\t", "    bcd", "    "},
    };
    Check(cases, std::size(cases));
}

TEST(EditingModel, UndoTakesBackRunsAndSyllablesWholeAndRedoPutsThemBack) {
    const Case cases[] = {
        {"", 0, "abcZ", "", ""},
        {"", 0, "ab<xZ", "ab", "a"},
        {"", 0, "a!!Z", "", ""},
        {"", 0, "a<!Z", "a", ""},
        {"x", 1, "abZY", "xab", "xab"},
        {"", 0, "abZ[Z]", "ab", "ab"},
        {"abcd", 1, "[>>]BZ", "abcd", "abc"},
        {"ab", 2, "BBZ", "a", "a"},
        {"", 0, "abZcY", "c", "c"},
    };
    Check(cases, std::size(cases));
}

TEST(EditingModel, ClipboardKeysCopyCutAndPasteTheSelection) {
    const Case cases[] = {
        {"abcd", 1, "[>>]C$V", "abcdbc", "abcdbc"},
        {"abcd", 1, "[>>]X$V", "adbc", "adbc"},
        {"abcd", 0, "[>]CAI", "a", "a"},
        {"\xB0\xA1z", 0, "ACAV", "\xB0\xA1z", "\xB0\xA1z"},
    };
    Check(cases, std::size(cases));
}

TEST(EditingModel, PasteTakesTheFirstLineAndLeavesOutWholeCharactersThatDoNotFit) {
    struct Paste {
        const char* utf8;
        uint32_t capacity;
        const char* after;
        uint32_t leftOut, replaced;
    };
    const Paste cases[] = {
        {"xy\nzw", 8, "xy", 0, 0},
        {"\xEA\xB0\x80\xEA\xB0\x80", 4, "\xB0\xA1", 2, 0},   // 가가 into room for three bytes
        {"a\xEA\xB0\x80\xEA\xB0\x80", 5, "a\xB0\xA1", 2, 0}, // the second 가 would need a fifth byte
        {"a\xF0\x9F\x98\x80", 8, "a?", 0, 1},                // a character code page 949 cannot hold
    };
    for (const Paste& p : cases) {
        PlainEditor e(p.capacity);
        e.edit.flags |= clipboardKeys;
        ASSERT_TRUE(HeadlessSetClipboardUtf8(p.utf8));
        EXPECT_EQ(e.Char(22), 0x30u);
        EXPECT_EQ(e.Text(), p.after) << p.utf8;
        EXPECT_EQ(LastPasteReport().leftOut, p.leftOut) << p.utf8;
        EXPECT_EQ(LastPasteReport().replaced, p.replaced) << p.utf8;
    }
}

// A paste of several lines into a log line (Ctrl+V at caret, over the selection from anchor), then Ctrl+Z;
// the current line, the caret and the bytes left out as 10000 * line + 100 * caret + left out.
TEST(EditingModel, ALogTakesEveryLineOfAPasteAtItsCaret) {
    const struct {
        std::vector<std::string> lines;
        uint32_t size, limit, anchor, caret;
        const char* utf8;
        std::vector<std::string> after;
        uint32_t place;
    } cases[] = {
        {{"ab", "z"}, 16, 8, 1, 1, "x\ny\r\nw", {"ax", "y", "wb", "z"}, 20100},
        {{"ab", "z"}, 6, 8, 1, 1, "1234567\nq", {"a1234", "qb", "z"}, 10103},
        {{"ab", "z"}, 16, 2, 1, 1, "x\ny", {"axb", "z"}, 201},
        {{"abc"}, 16, 8, 0, 2, "x\ny", {"x", "yc"}, 10100},
        {{"ab"}, 6, 8, 2, 2, "\xEA\xB0\x80\xEA\xB0\x80\n\tq", {"ab\xB0\xA1", " q"}, 10202},
    };
    for (const auto& c : cases) {
        LogEditor e;
        ASSERT_TRUE(e.Make(c.size, c.limit));
        e.t.Fill(c.lines);
        EditHistory history{};
        e.t.log.edit.flags |= selectText | clipboardKeys | undoKeys;
        e.t.log.edit.history = &history;
        e.t.log.edit.selectionAnchor = c.anchor, e.Caret() = c.caret;
        ASSERT_TRUE(HeadlessSetClipboardUtf8(c.utf8));
        e.Char(22);
        EXPECT_EQ(e.Char(26), 0u) << "nothing to undo";
        EXPECT_EQ(e.t.Lines(), c.after) << c.utf8;
        EXPECT_EQ(e.t.log.currentLine * 10000 + e.Caret() * 100 + LastPasteReport().leftOut, c.place);
    }
}
