// What edit fields add when their owner turns it on, checked against twin fields that show what it should.
#include "tests/controls/control_window.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/text_painter.h"

namespace {
class EditViewTest : public ControlWindow {
  protected:
    // Field 0 at (10, 10), its twin 1 at (10, 60); blue text, so the only black is the caret.
    EditField* Put(int i, int32_t width, int32_t height, const std::string& s, uint32_t flags) {
        strcpy(texts[i], s.c_str());
        RemoveControl(w, &fields[i].header), DestroyControl(&fields[i].header); // a field put again
        Extent e = {10, 10 + 50 * i, width, height};
        InitEditField(&fields[i], &e, 0, texts[i], sizeof texts[i]);
        InstallEditFieldMouse(&fields[i]);
        fields[i].edit.flags |= flags, fields[i].edit.textColour = 0xFF0000;
        Show(&fields[i].header);
        return &fields[i];
    }
    // The field's pixels in `only` (and the window's below a lower field), drawn with the focus.
    std::vector<uint32_t> Look(EditField* f, Area only = {0, 0, 200, 40}) {
        w->focusControl = &f->header;
        Redraw(&f->header);
        int32_t x = f->header.x, y = f->header.y, right = std::min(only.right, f->header.surface.width);
        return ScreenPixels({x + only.left, y + only.top, x + right, y + only.bottom});
    }
    int32_t W(const std::string& s) {
        TextSize size = {};
        MeasureText(h, nullptr, s.c_str(), static_cast<int32_t>(s.size()), &size);
        return size.cx;
    }
    char texts[2][64] = {};
    EditField fields[2] = {};
};
} // namespace

// The view starts at a character boundary, showing what a field of that text would, the caret in its margin.
TEST_P(EditViewTest, OneRowScrollsSidewaysToKeepTheCaretInView) {
    const std::string s = "Velquist \xB0\xA1\xB3\xAA\xB4\xD9 abc \xB6\xF3\xB8\xB6 defgh";
    EditField *field = Put(0, 64, 24, s, keepCaretInView), *twin = Put(1, 64, 24, "", 0);
    for (uint32_t caret : {static_cast<uint32_t>(s.size()), 13u, 9u, 0u, 20u, 3u}) {
        field->edit.caret = caret;
        std::vector<uint32_t> shown = Look(field);
        uint32_t start = EditOffsetAt(&field->header, &field->edit, 0, 0),
                 caretX = W(s.substr(start, caret - start));
        EXPECT_TRUE(caret == 0 || caretX - 4 <= 64 - 10u) << caret << " at " << caretX;
        strcpy(texts[1], s.c_str() + start);
        twin->edit.caret = caret - start;
        EXPECT_EQ(shown, Look(twin)) << caret;
    }
}

// Twenty letters, four a row, two rows shown: the rows follow the caret.
TEST_P(EditViewTest, WrappedRowsScrollByRowsToKeepTheCaretInView) {
    const int32_t H = FontHeight(), a = W("a");
    EditField* field = Put(0, 2 + 4 * a + a / 2, 3 + 2 * H, std::string(20, 'a'), keepCaretInView | wrapText);
    const uint32_t cases[][3] = {{20, 3, 1}, {9, 2, 0}, {14, 2, 1}, {0, 0, 0}}; // caret, first row, bar row
    for (const auto& c : cases) {
        field->edit.caret = c[0];
        Look(field);
        EXPECT_EQ(field->edit.firstRow, c[1]) << c[0];
        int32_t x = 11 + W(std::string(c[0] - 4 * (c[1] + c[2]), 'a')), y = 11 + int32_t(c[2]) * H;
        EXPECT_EQ(Where({10, 10, 100, 60}, Theme[caretColour]), (Area{x, y, x + 2, y + H})) << c[0];
    }
}

// An inline composition looks like the committed syllable under the overlay; the highlight lies under a
// selection while the field has the keyboard.
TEST_P(EditViewTest, InlineCompositionAndSelectionLookLikeTheirTwins) {
    EditField *field = nullptr, *twin = nullptr;
    for (uint32_t wrap : {uint32_t{wrapText}, 0u}) {
        int32_t width = 4 + W("hello\xB0\xA1 wo"); // wraps before "rld"
        field = Put(0, width, 40, "hello world", inlineComposition | selectText | wrap);
        twin = Put(1, width, 40, "hello\xB0\xA1 world", wrap);
        field->edit.caret = field->edit.selectionAnchor = twin->edit.caret = 5;
        field->edit.composition = twin->edit.composition = 0xA1B0;
        int32_t edge = W("hello\xB0\xA1"); // a wrapped overlay leaves the glyph's last column showing
        for (Area a : {Area{0, 0, edge, 40}, Area{edge + 1, 0, 200, 40}})
            EXPECT_EQ(Look(field, a), Look(twin, a)) << wrap;
    }
    field->edit.composition = 0, field->edit.selectionAnchor = 2, field->edit.caret = 7;
    Look(field);
    EXPECT_EQ(Where({10, 10, 200, 50}, Theme[highlightColour]),
              (Area{10 + W("he"), 10, 10 + W("hello w"), 10 + FontHeight()}));
    w->focusControl = &twin->header; // a field without the keyboard hides its selection
    Redraw(&field->header);
    EXPECT_EQ(Where({10, 10, 200, 50}, Theme[highlightColour]), (Area{}));
}

// Clicks, a double click and a drag past the right edge, through the routing.
TEST_P(EditViewTest, TheMousePlacesTheCaretAndSelects) {
    const std::string s = "ab \xB0\xA1\xB3\xAA.cd efghijklmnopqrstuvwxyz";
    EditField* field = Put(0, 80, 24, s, keepCaretInView | selectText);
    const int32_t ga = W("\xB0\xA1"), before = 10 + W("ab ");
    const uint32_t cases[][4] = {{WM_LBUTTONDOWN, uint32_t(before + ga / 4), 3, 3},
                                 {WM_LBUTTONDOWN, uint32_t(before + 3 * ga / 4), 5, 5},
                                 {WM_LBUTTONDBLCLK, uint32_t(before + ga + ga / 2), 3, 7},
                                 {WM_LBUTTONDOWN, 11, 0, 0},
                                 {WM_MOUSEMOVE, 200, 0, uint32_t(s.size())}};
    for (const auto& c : cases) {
        if (c[0] != WM_MOUSEMOVE) Mouse(WM_LBUTTONUP, 11, 15); // ends the last press's capture
        Mouse(c[0], static_cast<int32_t>(c[1]), 15, MK_LBUTTON);
        EXPECT_EQ(field->edit.selectionAnchor * 1000 + field->edit.caret, c[2] * 1000 + c[3]) << c[1];
    }
    EXPECT_GT(field->edit.scrollX, 0) << "the drag scrolled the view";
}

VQ_BOTH_FORMATS(EditViewTest);
