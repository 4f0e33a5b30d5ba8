// Edit fields and the text painter on the screen: the caret in one row and in wrapped rows, rows that never
// end inside a two-byte character or below the field, Korean typed through the input method with its
// composition character at the caret, and the caret blink.
#include "tests/controls/control_window.h"
#include "toolkit/controls/edit_field.h"

static const uint32_t kGrey = 0xBFBFBF, kBlue = 0xFF0000, kGreen = 0x00FF00, kBlack = 0x000000;
// "가", "나" in code page 949.
static const char* const kGa = "\xB0\xA1";
static const char* const kNa = "\xB3\xAA";

namespace {

class EditFieldTest : public ControlWindow {
  protected:
    // A field at (10, 10) over the test's text; blue text, so the only black on screen is the caret and the
    // composition cell.
    void ShowField(int32_t width, int32_t height, const char* initial, uint32_t caret, uint32_t flags = 0) {
        memset(text, 0, sizeof text);
        strcpy(text, initial);
        Extent e = {10, 10, width, height};
        InitEditField(&field, &e, flags, text, sizeof text);
        field.edit.caret = caret;
        field.edit.textColour = kBlue;
        field.edit.backColour = kGreen;
        Show(&field.header);
    }
    void Focus() {
        w->focusControl = &field.header;
        Redraw(&field.header);
    }
    int32_t Width(const char* s, uint32_t bytes) {
        TextSize size = {};
        MeasureText(h, nullptr, s, static_cast<int32_t>(bytes), &size);
        return size.cx;
    }
    int32_t RowHeight() {
        TextSize size = {};
        MeasureText(h, nullptr, " ", 1, &size);
        return size.cy;
    }
    // Pixels lighter than the grey background in every channel: the composition's white glyph.
    int32_t Bright(Area a) {
        int32_t n = 0;
        for (int32_t y = a.top; y < a.bottom; y++) {
            for (int32_t x = a.left; x < a.right; x++) {
                uint32_t c = PixelToColour(Screen(x, y));
                n += (c & 0xFF) > 0xD0 && ((c >> 8) & 0xFF) > 0xD0 && ((c >> 16) & 0xFF) > 0xD0;
            }
        }
        return n;
    }
    Area FieldArea() { return {10, 10, 10 + field.header.surface.width, 10 + field.header.surface.height}; }
    char text[64];
    EditField field;
};

} // namespace

TEST_P(EditFieldTest, SingleRowCaretStandsAfterTheTextBeforeIt) {
    struct Case {
        const char* name;
        const char* text;
        uint32_t caret;
        bool focused;
        uint32_t blink;
        uint32_t backColour;
        int32_t originX, originY;
        uint32_t caretBytes; // bytes of text before the bar; -1 = no bar
    };
    const uint32_t none = 0xFFFFFFFFu;
    const Case cases[] = {
        {"empty", "", 0, true, 1, kGreen, 0, 0, 0},
        {"after Latin and Hangul", "Velquist \xB0\xA1\xB3\xAA", 11, true, 1, kGreen, 0, 0, 11},
        {"between Hangul", "\xB0\xA1\xB3\xAA\xB4\xD9", 2, true, 3, kGreen, 0, 0, 2},
        {"unfocused", "abc", 3, false, 1, kGreen, 0, 0, none},
        {"blink off", "abc", 3, true, 0, kGreen, 0, 0, none},
        {"no box, at the origin", "abc", 1, true, 1, none, 5, 3, 1},
        {"beyond the end: at the end", "abc", 9, true, 1, kGreen, 2, 2, 3},
    };
    const int32_t H = RowHeight();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        caretBlinkCounter = c.blink;
        ShowField(200, 24, c.text, c.caret);
        field.edit.backColour = c.backColour;
        field.edit.originX = c.originX;
        field.edit.originY = c.originY;
        if (c.focused) w->focusControl = &field.header;
        Redraw(&field.header);
        int32_t x = 10 + c.originX, y = 10 + c.originY;
        if (c.caretBytes == none) {
            EXPECT_EQ(Count(FieldArea(), kBlack), 0);
        } else {
            int32_t at = x + Width(c.text, c.caretBytes);
            EXPECT_EQ(Where(FieldArea(), kBlack), (Area{at, y, at + 2, y + H}));
        }
        int32_t boxWidth = c.text[0] ? Width(c.text, static_cast<uint32_t>(strlen(c.text))) : Width(" ", 1);
        if (c.backColour == none) {
            EXPECT_EQ(Count(FieldArea(), kGreen), 0);
        } else {
            Area box = Where(FieldArea(), kGreen);
            EXPECT_EQ(box.right, x + boxWidth) << "the box is as wide as the text";
            EXPECT_EQ(box.bottom, y + H) << "and one row high";
            EXPECT_EQ(box.top, y);
        }
        Drop(&field.header);
        w->focusControl = nullptr;
    }
}

// "ab" and then one Hangul syllable a row: the field is wider than "ab" and narrower than "ab가".
TEST_P(EditFieldTest, WrappedRowsKeepCharactersWholeAndStopAtTheBottom) {
    const int32_t H = RowHeight(), spacing = 2;
    int32_t ab = Width("ab", 2), abGa = Width("ab\xB0\xA1", 4), ga = Width(kGa, 2);
    int32_t inner = ab + (abGa - ab) / 2;
    ASSERT_LT(inner, 2 * ga) << "one syllable a row";
    ASSERT_GE(inner, ga);
    const int32_t width = inner + 2, rowsThatFit = 3;
    const int32_t height = 2 + 1 + rowsThatFit * (H + spacing); // a fourth row would not fit whole
    std::string sixSyllables = std::string("ab") + kGa + kNa + kGa + kNa + kGa + kNa;
    auto rowTop = [&](int32_t row) { return 10 + 1 + row * (H + spacing); };

    struct Case {
        const char* name;
        std::string text;
        uint32_t caret;
        int32_t barRow;   // -1: no bar
        int32_t barBytes; // bytes of the row before the bar
        const char* rowText;
        bool barOverText; // a caret in no drawn row is drawn after the rows
    };
    const Case cases[] = {
        {"caret at 0", sixSyllables, 0, 0, 0, "ab", false},
        {"caret inside the first row", sixSyllables, 1, 0, 1, "ab", false},
        {"caret at a row start", sixSyllables, 2, 1, 0, kGa, false},
        {"caret in a row below the field: at (1, 1)", sixSyllables, 10, 0, 0, "ab", true},
        {"caret at the end of a text ending at a row end", std::string("ab") + kGa, 4, 1, 2, kGa, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowField(width, height, c.text.c_str(), c.caret, 0);
        field.edit.flags |= wrapText;
        field.edit.rowSpacing = spacing;
        Focus();
        int32_t barX = 10 + 1 + Width(c.rowText, static_cast<uint32_t>(c.barBytes));
        EXPECT_EQ(Where(FieldArea(), kBlack), (Area{barX, rowTop(c.barRow), barX + 2, rowTop(c.barRow) + H}));
        // Each row as drawn on its own: "ab", then whole syllables; no ink below the rows that fit.
        Surface model = {};
        CreateSurface(static_cast<uint32_t>(width), height, &model, nullptr);
        Bounds all = {0, 0, width - 1, height - 1};
        DrawRect(&model, &all, kGrey, rectFill);
        Bounds bar = {barX - 10, rowTop(c.barRow) - 10, barX - 10 + 1, rowTop(c.barRow) - 10 + H - 1};
        if (!c.barOverText) DrawRect(&model, &bar, kBlack, rectFill);
        std::vector<std::string> rows = {"ab"};
        for (size_t i = 2; i < c.text.size() && rows.size() < rowsThatFit; i += 2)
            rows.push_back(c.text.substr(i, 2));
        for (size_t row = 0; row < rows.size(); row++) {
            Extent box = {1, rowTop(static_cast<int32_t>(row)) - 10, inner - 1, H};
            DrawTextInSurface(rows[row].c_str(), nullptr, &model, &box, kBlue, 0, transparentText | growBox);
        }
        if (c.barOverText) DrawRect(&model, &bar, kBlack, rectFill);
        EXPECT_EQ(ScreenPixels(FieldArea()), SurfacePixels(model));
        ReleaseSurface(&model);
        Drop(&field.header);
    }
}

TEST_P(EditFieldTest, KoreanTypedThroughTheInputMethodShowsItsCompositionAtTheCaret) {
    ShowField(200, 24, "ab", 2);
    field.edit.originX = 4;
    field.edit.originY = 3;
    Mouse(WM_LBUTTONDOWN, 30, 20, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 30, 20);
    ASSERT_EQ(w->focusControl, &field.header) << "a click gives the field the focus";
    const int32_t H = RowHeight(), x = 14, y = 13;
    int32_t ab = Width("ab", 2), ga = Width(kGa, 2);
    EXPECT_EQ(Where(FieldArea(), kBlack), (Area{x + ab, y, x + ab + 2, y + H}));

    // A syllable in progress: reported lead byte high, drawn white on black over the caret.
    Post(WM_IME_COMPOSITION, 0xB0A1, GCS_COMPSTR);
    EXPECT_STREQ(text, "ab") << "nothing is inserted yet";
    EXPECT_EQ(Where(FieldArea(), kBlack), (Area{x + ab, y, x + ab + ga, y + H}));
    EXPECT_GT(Bright({x + ab, y, x + ab + ga, y + H}), 0) << "a light glyph in the cell";

    // The finished syllable goes into the text; the caret moves past it and the overlay is gone.
    HeadlessSetImeString(GCS_RESULTSTR, kGa, 2);
    Post(WM_IME_COMPOSITION, 0xB0A1, GCS_RESULTSTR);
    EXPECT_STREQ(text, "ab\xB0\xA1");
    EXPECT_EQ(Where(FieldArea(), kBlack), (Area{x + ab + ga, y, x + ab + ga + 2, y + H}));
    EXPECT_EQ(Bright(FieldArea()), 0);

    // A composition stays in view in a single row when the focus moves away without a click ...
    Post(WM_IME_COMPOSITION, 0xB3AA, GCS_COMPSTR);
    int32_t abGa = Width("ab\xB0\xA1", 4), na = Width(kNa, 2);
    Control other;
    InitTestControl(&other, 250, 150, 10, 10);
    AddControl(&other, w, addOnTop);
    w->focusControl = &other;
    Redraw(&field.header);
    EXPECT_EQ(Where(FieldArea(), kBlack), (Area{x + abGa, y, x + abGa + na, y + H}));
    // ... but not in wrapped rows, where it follows the caret.
    field.edit.flags |= wrapText;
    Redraw(&field.header);
    EXPECT_EQ(Count(FieldArea(), kBlack), 0);
    w->focusControl = &field.header;
    Redraw(&field.header);
    EXPECT_GT(Bright(FieldArea()), 0);
    PlatformDestroyWindow(h); // before the records on the stack go
}

TEST_P(EditFieldTest, ABlinkRepaintsOnlyTheFocusedField) {
    char otherText[8] = "xyz";
    EditField other;
    Extent e = {10, 60, 100, 20};
    InitEditField(&other, &e, 0, otherText, sizeof otherText);
    Show(&other.header);
    ShowField(100, 20, "abc", 3);
    Mouse(WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 15);
    caretBlinkCounter = 1;
    Redraw(&field.header);
    ASSERT_GT(Count(FieldArea(), kBlack), 0);
    compositionStats = {};
    CaretBlinkTick();
    HeadlessPump();
    EXPECT_EQ(Count(FieldArea(), kBlack), 0) << "hidden";
    EXPECT_EQ(compositionStats.controlsDrawn, 1u) << "the other field is not redrawn";
    CaretBlinkTick();
    HeadlessPump();
    EXPECT_GT(Count(FieldArea(), kBlack), 0) << "shown again";
    Post(WM_CHAR, 'd');
    EXPECT_EQ(caretBlinkCounter, 3u);
    compositionStats = {};
    CaretBlinkTick();
    CaretBlinkTick();
    HeadlessPump();
    EXPECT_EQ(compositionStats.controlsDrawn, 0u) << "after typing the caret stays for two ticks";
    EXPECT_STREQ(text, "abcd");
    PlatformDestroyWindow(h); // before the records on the stack go
}

VQ_BOTH_FORMATS(EditFieldTest);
