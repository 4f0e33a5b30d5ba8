// What edit fields add when their owner turns it on: a caret kept in view, the composition inline, the
// selection drawn, and the caret placed and the text selected with the mouse.
#include "tests/controls/control_window.h"
#include "toolkit/controls/edit_field.h"
#include "util/dbcs_string.h"

static const uint32_t grey = 0xBFBFBF, blue = 0xFF0000, green = 0x00FF00;

namespace {
struct TextRun {
    std::string text;
    int32_t x;
    bool selected; // white over the highlight; else blue
};

class EditViewTest : public ControlWindow {
  protected:
    void ShowField(int32_t width, int32_t height, const std::string& initial, uint32_t flags) {
        memset(text, 0, sizeof text);
        strcpy(text, initial.c_str());
        Extent e = {10, 10, width, height};
        InitEditField(&field, &e, 0, text, sizeof text);
        field.edit.flags |= flags;
        field.edit.textColour = blue;
        field.edit.backColour = green;
        InstallEditFieldMouse(&field);
        Show(&field.header);
        w->focusControl = &field.header;
    }
    int32_t W(const std::string& s, size_t from = 0, size_t bytes = std::string::npos) {
        TextSize size = {};
        std::string part = s.substr(from, bytes);
        MeasureText(h, nullptr, part.c_str(), static_cast<int32_t>(part.size()), &size);
        return size.cx;
    }
    // The field as one row would show it: the box, the caret bar at caretX, the runs, an opaque
    // composition cell at compositionX (when given).
    std::vector<uint32_t> Model(int32_t boxWidth, int32_t caretX, std::vector<TextRun> runs,
                                int32_t compositionX, const char* composition = "\xB0\xA1") {
        const Surface& s = field.header.surface;
        int32_t H = FontHeight();
        Surface m = {};
        CreateSurface(static_cast<uint32_t>(s.width), s.height, &m, nullptr);
        Bounds all = {0, 0, s.width - 1, s.height - 1}, box = {0, 0, boxWidth - 1, H - 1};
        Bounds bar = {caretX, 0, caretX + 1, H - 1};
        DrawRect(&m, &all, grey, rectFill);
        DrawRect(&m, &box, green, rectFill);
        DrawRect(&m, &bar, Theme[caretColour], rectFill);
        for (const TextRun& r : runs) {
            Extent at = {r.x, 0, r.selected ? W(r.text) : boxWidth - r.x, H};
            Bounds hl = {r.x, 0, r.x + at.width - 1, H - 1};
            if (r.selected) DrawRect(&m, &hl, Theme[highlightColour], rectFill);
            DrawTextInSurface(r.text.c_str(), nullptr, &m, &at, r.selected ? Theme[selectedTextColour] : blue,
                              0, transparentText | growBox);
        }
        Extent cell = {compositionX, 0, W(composition), H};
        if (compositionX >= 0)
            DrawTextInSurface(composition, nullptr, &m, &cell, Theme[selectedTextColour], Theme[caretColour],
                              growBox);
        std::vector<uint32_t> pixels = SurfacePixels(m);
        ReleaseSurface(&m);
        return pixels;
    }
    Area FieldArea() { return {10, 10, 10 + field.header.surface.width, 10 + field.header.surface.height}; }
    char text[64];
    EditField field;
};
} // namespace

// The caret moves through a text wider than the field; the row starts at a character boundary and the bar
// keeps a margin from both edges.
TEST_P(EditViewTest, OneRowScrollsSidewaysToKeepTheCaretInView) {
    const std::string s = "Velquist \xB0\xA1\xB3\xAA\xB4\xD9 abc \xB6\xF3\xB8\xB6 defgh";
    const uint32_t carets[] = {static_cast<uint32_t>(s.size()), 13, 9, 0, 20, 3};
    ShowField(64, 24, s, keepCaretInView);
    for (uint32_t caret : carets) {
        SCOPED_TRACE(caret);
        field.edit.caret = caret;
        Redraw(&field.header);
        uint32_t start = 0;
        while (W(s, 0, start) < field.edit.scrollX) start += static_cast<uint8_t>(s[start]) > 0x80 ? 2 : 1;
        ASSERT_EQ(W(s, 0, start), field.edit.scrollX) << "the view starts at a character boundary";
        int32_t caretX = W(s, start, caret - start);
        EXPECT_TRUE(caret == 0 || (caretX >= 4 && caretX + 2 <= 64 - 4)) << caretX;
        EXPECT_EQ(ScreenPixels(FieldArea()), Model(W(s, start), caretX, {{s.substr(start), 0, false}}, -1));
    }
}

// Twenty letters, four a row, two rows shown: the rows follow the caret.
TEST_P(EditViewTest, WrappedRowsScrollByRowsToKeepTheCaretInView) {
    const int32_t H = FontHeight(), a = W("a");
    ShowField(2 + 4 * a + a / 2, 3 + 2 * H, std::string(20, 'a'), keepCaretInView | wrapText);
    const struct {
        uint32_t caret, firstRow, barRow;
    } cases[] = {{20, 3, 1}, {9, 2, 0}, {14, 2, 1}, {0, 0, 0}};
    for (const auto& c : cases) {
        field.edit.caret = c.caret;
        Redraw(&field.header);
        EXPECT_EQ(field.edit.firstRow, c.firstRow) << c.caret;
        int32_t x = 11 + W("aaaa", 0, c.caret - 4 * (c.firstRow + c.barRow)), y = 11 + c.barRow * H;
        EXPECT_EQ(Where(FieldArea(), Theme[caretColour]), (Area{x, y, x + 2, y + H})) << c.caret;
    }
}

// Runs as the model draws them: an inline composition moves the text after it, a selection is drawn over
// the highlight.
TEST_P(EditViewTest, InlineCompositionAndSelectionDrawTheTextInRuns) {
    ShowField(200, 24, "hello world", inlineComposition | selectText);
    const std::string s = text;
    field.edit.caret = 5;
    field.edit.selectionAnchor = 5;
    field.edit.composition = 0xA1B0;
    Redraw(&field.header);
    int32_t at = W(s, 0, 5), ga = W("\xB0\xA1");
    EXPECT_EQ(ScreenPixels(FieldArea()),
              Model(W(s) + ga, at, {{"hello", 0, false}, {" world", at + ga, false}}, at));
    field.edit.composition = 0;
    field.edit.selectionAnchor = 2;
    field.edit.caret = 7;
    Redraw(&field.header);
    EXPECT_EQ(ScreenPixels(FieldArea()),
              Model(W(s), W(s, 0, 7), {{s, 0, false}, {"llo w", W(s, 0, 2), true}}, -1));
}

// Clicks, a double click and a drag past the right edge, through the routing.
TEST_P(EditViewTest, TheMousePlacesTheCaretAndSelects) {
    const std::string s = "ab \xB0\xA1\xB3\xAA.cd efghijklmnopqrstuvwxyz";
    ShowField(80, 24, s, keepCaretInView | selectText);
    const int32_t ga = W("\xB0\xA1"), before = 10 + W("ab ");
    const struct {
        uint32_t message;
        int32_t x;
        uint32_t anchor, caret;
    } cases[] = {
        {WM_LBUTTONDOWN, before + ga / 4, 3, 3},
        {WM_LBUTTONDOWN, before + 3 * ga / 4, 5, 5},
        {WM_LBUTTONDBLCLK, before + ga + ga / 2, 3, 7},
        {WM_LBUTTONDOWN, 11, 0, 0},
        {WM_MOUSEMOVE, 200, 0, static_cast<uint32_t>(s.size())},
    };
    for (const auto& c : cases) {
        if (c.message != WM_MOUSEMOVE) Mouse(WM_LBUTTONUP, c.x, 15); // ends the last press's capture
        Mouse(c.message, c.x, 15, MK_LBUTTON);
        EXPECT_EQ(field.edit.selectionAnchor, c.anchor) << c.x;
        EXPECT_EQ(field.edit.caret, c.caret) << c.x;
        EXPECT_EQ(w->focusControl, &field.header);
    }
    EXPECT_GT(field.edit.scrollX, 0) << "the drag scrolled the view";
    Mouse(WM_LBUTTONUP, 200, 15);
    EXPECT_EQ(w->captureControl, nullptr);
}

VQ_BOTH_FORMATS(EditViewTest);
