// Where the label and the wrapped edit field lay out a fixed table of texts, printed the same way on every
// backend so that layout_compare.sh can set the Linux build beside the Windows one under Wine. One line
// per result: case, what, class ("rule" must agree exactly, "pixel" is decided by glyph widths), value.
// Box widths are measured on the backend itself, so the rule cases break at the same characters whatever
// the widths of the glyphs.
#include <stdio.h>
#include <string.h>

#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/text_painter.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/window/window_table.h"

namespace {
struct LayoutCase {
    const char* name;
    const char* text;
    int32_t fitBytes; // the box is as wide as these first bytes (no ampersands among them), plus extra
    int32_t extra;
    int32_t fixedWidth; // instead, when not 0: a box this wide
    bool byWidth;       // glyph widths decide the rows, not rules
};
} // namespace

// Korean text is code page 949: \xB0\xA1 is the first Hangul syllable, and so on.
#define KO_GA "\xB0\xA1"
#define KO_NA "\xB3\xAA"
#define KO_DA "\xB4\xD9"
#define KO_RA "\xB6\xF3"
#define KO_MA "\xB8\xB6"
static const LayoutCase cases[] = {
    {"korean", KO_GA KO_NA KO_DA KO_RA " " KO_MA KO_GA, 8, 0, 0, false},
    {"latin", "hello world again", 11, 0, 0, false},
    {"mixed", "abc" KO_GA KO_NA KO_DA " def", 5, 3, 0, false},
    {"mixed-words", KO_GA KO_NA " abc" KO_DA KO_RA KO_MA, 9, 2, 0, false},
    {"long-word", "abcdefghijklmnopqrstuvwxyz", 10, 0, 0, false},
    {"korean-then-latin", KO_GA KO_NA "abcdef", 7, 0, 0, false},
    {"long-korean-word", KO_GA KO_NA KO_DA KO_RA KO_MA KO_GA KO_NA, 6, 1, 0, false},
    {"prefix", "&File open", 0, 0, 400, false},
    {"prefix-korean", "&" KO_GA KO_NA " &x", 0, 0, 400, false},
    {"double-ampersand", "a&&b &c", 0, 0, 400, false},
    {"trailing-ampersand", "ab&", 0, 0, 400, false},
    {"line-feeds", "one\ntwo\n\nfour", 0, 0, 400, false},
    {"crlf", "one\r\ntwo", 0, 0, 400, false},
    {"exact-end", "ends here", 9, 0, 0, false},
    {"exact-end-korean", KO_GA KO_NA KO_DA, 6, 0, 0, false},
    {"inside-two-byte", "ab" KO_GA KO_NA KO_DA, 4, 1, 0, false},
    {"inside-two-byte-2", "abc" KO_GA KO_NA, 5, 4, 0, false},
    {"paragraph", "Velquist " KO_GA KO_NA KO_DA " draws everything itself, " KO_RA KO_MA " and Latin alike.",
     0, 0, 120, true},
};

static void PrintOffsets(const char* name, const char* what, const char* kind, const int32_t* values,
                         int32_t count) {
    printf("%s %s %s", name, what, kind);
    if (count == 0) printf(" -");
    for (int32_t i = 0; i < count; i++) printf(" %d", values[i]);
    printf("\n");
}

static int32_t Measure(TextContext context, const char* text, int32_t bytes) {
    int32_t width = 0, height = 0;
    if (bytes > 0) PlatformTextExtent(context, text, bytes, &width, &height);
    return width;
}

// The caret bar: the first column, top down, whose pixels and its right neighbour's (unless the bar is cut
// at the right edge) are the caret's colour for a whole row height.
static bool FindCaret(const Surface* s, int32_t rowHeight, int32_t* x, int32_t* y) {
    uint16_t caret = static_cast<uint16_t>(ColourToPixel(Theme[caretColour]));
    auto at = [s](int32_t px, int32_t py) {
        uint16_t p;
        memcpy(&p, s->pixels + static_cast<size_t>(py) * s->stride + 2 * static_cast<size_t>(px), 2);
        return p;
    };
    for (int32_t top = 0; top + rowHeight <= s->height; top++) {
        for (int32_t left = 0; left < s->width; left++) {
            bool bar = true;
            for (int32_t dy = 0; dy < rowHeight && bar; dy++)
                bar =
                    at(left, top + dy) == caret && (left + 1 == s->width || at(left + 1, top + dy) == caret);
            if (bar) {
                *x = left;
                *y = top;
                return true;
            }
        }
    }
    return false;
}

static void CheckCase(const LayoutCase& c, const LogFont* font) {
    const char* kind = c.byWidth ? "pixel" : "rule";
    int32_t length = static_cast<int32_t>(strlen(c.text));
    Surface probe = {};
    CreateSurface(600, 200, &probe, nullptr);
    TextContext context = PlatformOpenText(mainWindowHandle, &probe, font);
    int32_t width = c.fixedWidth ? c.fixedWidth : Measure(context, c.text, c.fitBytes) + c.extra;
    int32_t rowHeight = 0, ignored = 0;
    PlatformTextExtent(context, " ", 1, &ignored, &rowHeight);

    // The label: its caption box starts at x 1 and ends at its width, exclusive.
    TextLayout label;
    PlatformRect box = {1, 1, 1 + width, probe.height};
    PlatformTextLayout(context, c.text, -1, &box, platformTextWordBreak, &label);
    PrintOffsets(c.name, "label-rows", kind, label.lineStart, label.lines);
    PrintOffsets(c.name, "label-marks", kind, label.markAt, label.marks);

    // The wrapped edit field with the same inner width: its rows, and the marks of each row as drawn.
    int32_t rows[textLayoutLines], marks[textLayoutMarks], rowCount = 0, markCount = 0;
    for (int32_t offset = 0; offset < length && rowCount < textLayoutLines;) {
        uint32_t fit = EditRowBytes(context, c.text, static_cast<uint32_t>(length),
                                    static_cast<uint32_t>(offset), width);
        rows[rowCount++] = offset;
        TextLayout row;
        PlatformRect rowBox = {1, 1, width, 1 + rowHeight};
        PlatformTextLayout(context, c.text + offset, static_cast<int32_t>(fit), &rowBox, 0, &row);
        for (int32_t i = 0; i < row.marks && markCount < textLayoutMarks; i++)
            marks[markCount++] = offset + row.markAt[i];
        offset += static_cast<int32_t>(fit);
    }
    PlatformCloseText(context);
    ReleaseSurface(&probe);
    PrintOffsets(c.name, "field-rows", kind, rows, rowCount);
    PrintOffsets(c.name, "field-marks", kind, marks, markCount);

    // The caret at the end of the text, found in the painted field.
    char text[256];
    snprintf(text, sizeof text, "%s", c.text);
    EditField field;
    Extent extent = {0, 0, width + 2, 180};
    InitEditField(&field, &extent, 0, text, sizeof text);
    field.edit.flags |= wrapText;
    field.edit.font = font;
    field.edit.textColour = 0x0000FF; // no text pixel is the caret's black
    field.edit.caret = static_cast<uint32_t>(length);
    WindowRecord window = {};
    window.focusControl = &field.header;
    caretBlinkCounter = 3;
    Bounds all = {0, 0, field.header.surface.width - 1, field.header.surface.height - 1};
    DrawRect(&field.header.surface, &all, field.header.backgroundColour, rectFill);
    PaintEditText(&window, &field.header, &field.edit);
    int32_t x = -1, y = -1;
    FindCaret(&field.header.surface, rowHeight, &x, &y);
    int32_t row = y >= 1 ? (y - 1) / (rowHeight + field.edit.rowSpacing) : -1;
    printf("%s caret-row %s %d\n", c.name, kind, row);
    printf("%s caret-x pixel %d\n", c.name, x);
    ReleaseSurface(&field.header.surface);
}

int main() {
    InitDisplay();
    static const LogFont font = {-12, 0, 0, 0, 400, 0, 0, 0, 129, 0, 0, 0, 0, ""};
    for (const LayoutCase& c : cases) CheckCase(c, &font);
    return 0;
}
