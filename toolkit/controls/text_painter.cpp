// Everything goes through one platform text context on the control's surface, so the rows are fitted and
// measured with the metrics they are drawn with, on every backend.
#include "toolkit/controls/text_painter.h"

#include <string.h>

#include "toolkit/gfx/draw.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/window/window_table.h"
#include "util/dbcs_string.h"

static const uint32_t noBox = 0xFFFFFFFFu;

namespace {
// What one paint works with: the open context, the text and its measures, and where the caret went.
struct Painting {
    TextContext context;
    Surface* surface;
    EditBuffer* buffer;
    const char* text;
    uint32_t length;
    int32_t textWidth; // the whole text, or one space when it is empty
    int32_t rowHeight;
    bool caretShown;
    int32_t caretX; // where the composition character goes
    int32_t caretY;
};
} // namespace

static int32_t Width(const Painting& p, const char* text, uint32_t bytes) {
    int32_t width = 0, height = 0;
    if (bytes > 0) PlatformTextExtent(p.context, text, static_cast<int32_t>(bytes), &width, &height);
    return width;
}

// A filled rectangle, or nothing when it lies wholly outside the surface (a fill would otherwise be
// pressed onto the nearest edge).
static void Fill(Surface* surface, Bounds r, uint32_t colour) {
    if (r.right < 0 || r.bottom < 0 || r.left >= surface->width || r.top >= surface->height) return;
    DrawRect(surface, &r, colour, rectFill);
}

static void Draw(const Painting& p, const char* text, uint32_t bytes, PlatformRect rect, uint32_t colour,
                 uint32_t background, uint32_t mode) {
    PlatformDrawText(p.context, text, static_cast<int32_t>(bytes), &rect, colour, background, mode);
}

// The composition's bytes before its first zero, at most one two-byte character.
static uint32_t CompositionText(const EditBuffer* buffer, char (&text)[5]) {
    memset(text, 0, sizeof text);
    memcpy(text, &buffer->composition, 4);
    return text[0] == 0 ? 0 : text[1] == 0 ? 1 : 2;
}

// One row at the buffer's origin: a box as wide as the text, the caret bar, the text, and the composition
// character at the caret whether or not the caret shows.
static void PaintSingleRow(Painting& p) {
    EditBuffer* b = p.buffer;
    int32_t x = b->originX, y = b->originY;
    // An origin so far off that no part of the row can reach the surface draws nothing (and keeps the sums
    // below within range).
    const int32_t far = 1 << 24;
    if (x < -far || x > far || y < -far || y > far) return;
    if (b->backColour != noBox)
        Fill(p.surface, {x, y, x + p.textWidth - 1, y + p.rowHeight - 1}, b->backColour);
    // A caret past the end of the text (typing into a full buffer) stands at the end.
    uint32_t caret = b->caret < p.length ? b->caret : p.length;
    int32_t caretX = x + Width(p, p.text, caret);
    if (p.caretShown) Fill(p.surface, {caretX, y, caretX + 1, y + p.rowHeight - 1}, Theme[caretColour]);
    Draw(p, p.text, p.length, {x, y, x + p.textWidth, y + p.rowHeight}, b->textColour, 0, 0);
    char composition[5];
    uint32_t bytes = CompositionText(b, composition);
    if (bytes == 0) return;
    int32_t width = 0, height = 0;
    PlatformTextExtent(p.context, composition, static_cast<int32_t>(bytes), &width, &height);
    Draw(p, composition, bytes, {caretX, y, caretX + width, y + height}, Theme[selectedTextColour],
         Theme[caretColour], platformTextOpaque);
}

uint32_t EditRowBytes(TextContext context, const char* text, uint32_t length, uint32_t offset,
                      int32_t innerWidth) {
    const char* row = text + offset;
    uint32_t remaining = length - offset;
    uint32_t fit = static_cast<uint32_t>(
        PlatformTextFit(context, row, static_cast<int32_t>(remaining), innerWidth, nullptr));
    if (fit > remaining) fit = remaining;
    if (fit < remaining && fit > 0 && ClassifyPosition(row, fit) == kTrailByte) fit--;
    if (fit == 0) fit = static_cast<uint8_t>(row[0]) > 0x80 && remaining >= 2 ? 2 : 1;
    return fit;
}

// Rows fitted to the inner width from (1, 1) down; a row that would not fit whole is not drawn. The caret
// bar stands in the row that holds the caret, or at (1, 1) when no drawn row does.
static void PaintWrappedRows(Painting& p) {
    EditBuffer* b = p.buffer;
    int32_t innerWidth = p.surface->width - 2, bottomLimit = p.surface->height - 2;
    int32_t y = 1;
    bool caretPlaced = false;
    for (uint32_t offset = 0; offset < p.length;) {
        uint32_t fit = EditRowBytes(p.context, p.text, p.length, offset, innerWidth);
        uint32_t end = offset + fit;
        bool holdsCaret = (offset <= b->caret && b->caret < end) || (end == p.length && b->caret == p.length);
        if (p.caretShown && !caretPlaced && holdsCaret) {
            int32_t x = 1 + Width(p, p.text + offset, b->caret - offset);
            Fill(p.surface, {x, y, x + 1, y + p.rowHeight - 1}, Theme[caretColour]);
            caretPlaced = true;
            p.caretX = x;
            p.caretY = y;
        }
        // The rectangle's right edge is exclusive: rows are fitted one pixel wider than they are drawn.
        Draw(p, p.text + offset, fit, {1, y, innerWidth, y + p.rowHeight}, b->textColour, 0, 0);
        int64_t next = static_cast<int64_t>(y) + p.rowHeight + b->rowSpacing;
        if (next + p.rowHeight > bottomLimit) break;
        // With a spacing that takes the rows upwards, once they have left the top nothing more shows.
        if (next + p.rowHeight <= 0 && p.rowHeight + b->rowSpacing <= 0) break;
        y = static_cast<int32_t>(next);
        offset = end;
    }
    if (!p.caretShown) return;
    if (!caretPlaced) {
        Fill(p.surface, {1, 1, 2, p.rowHeight}, Theme[caretColour]);
        p.caretX = p.caretY = 1;
    }
    char composition[5];
    uint32_t bytes = CompositionText(b, composition);
    if (bytes == 0) return;
    int32_t width = 0, height = 0;
    PlatformTextExtent(p.context, composition, static_cast<int32_t>(bytes), &width, &height);
    Draw(p, composition, bytes, {p.caretX, p.caretY, p.caretX - 1 + width, p.caretY - 1 + height},
         Theme[selectedTextColour], Theme[caretColour], platformTextOpaque);
}

void PaintEditText(WindowRecord* window, Control* control, EditBuffer* buffer) {
    Painting p = {};
    p.surface = &control->surface;
    p.buffer = buffer;
    p.context = PlatformOpenText(mainWindowHandle, p.surface, buffer->font);
    if (!p.context) return; // a surface without pixels shows nothing
    p.text = buffer->text ? buffer->text : "";
    p.length = buffer->text ? StringLength(buffer->text, buffer->capacity) : 0;
    // An empty text still has the height of one space, so that the caret has a height.
    PlatformTextExtent(p.context, p.length > 0 ? p.text : " ",
                       p.length > 0 ? static_cast<int32_t>(p.length) : 1, &p.textWidth, &p.rowHeight);
    p.caretShown =
        window && window->focusControl == control && control->editBuffer == buffer && caretBlinkCounter != 0;
    if (buffer->flags & wrapText)
        PaintWrappedRows(p);
    else
        PaintSingleRow(p);
    PlatformCloseText(p.context);
}
