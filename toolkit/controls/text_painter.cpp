// Everything goes through one platform text context on the control's surface, so the rows are fitted and
// measured with the metrics they are drawn with, on every backend. The hit test lays the text out the same
// way. With keepCaretInView a paint also moves the view (scrollX, firstRow): the only state it changes, and
// the state the hit test reads, so that a click lands on what the last paint showed.
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
    bool focused;   // a selection shows only while its buffer has the keyboard, as on the desktops
    int32_t caretX; // where the composition character goes
    int32_t caretY;
    int32_t inlineWidth; // wrapped rows: the width of a composition drawn inline at the caret, else 0
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

// The length of the character at offset: two bytes for a lead byte with its trail inside the text.
static uint32_t CharBytes(const char* text, uint32_t length, uint32_t offset) {
    return static_cast<uint8_t>(text[offset]) > 0x80 && offset + 1 < length ? 2 : 1;
}

// The first character boundary whose prefix is at least target pixels wide (length when none is).
static uint32_t BoundaryFrom(const Painting& p, uint32_t limit, int32_t target) {
    if (target <= 0) return 0;
    uint32_t k = static_cast<uint32_t>(
        PlatformTextFit(p.context, p.text, static_cast<int32_t>(limit), target, nullptr));
    if (k < limit && Width(p, p.text, k) < target) k += CharBytes(p.text, limit, k);
    return k < limit ? k : limit;
}

// keepCaretInView: the first byte a single row shows, always a character boundary so that no half glyph
// starts the row. The caret (and an inline composition after it) keeps a margin from both edges where the
// room allows, and text that has become shorter is pulled back rather than leaving room on the right.
static uint32_t SingleRowStart(const Painting& p, uint32_t caret, int32_t compositionWidth) {
    const EditBuffer* b = p.buffer;
    int32_t view = p.surface->width - b->originX;
    int32_t margin = view >= 24 ? 4 : 0;
    uint32_t k = b->scrollX > 0 ? static_cast<uint32_t>(PlatformTextFit(
                                      p.context, p.text, static_cast<int32_t>(caret), b->scrollX, nullptr))
                                : 0;
    int32_t room = 2 + margin + compositionWidth - view;
    uint32_t pullBack = BoundaryFrom(p, p.length, Width(p, p.text, p.length) + room);
    if (k > pullBack) k = pullBack;
    int32_t caretWidth = Width(p, p.text, caret);
    uint32_t right = BoundaryFrom(p, caret, caretWidth + room);
    if (k < right) k = right;
    uint32_t left = static_cast<uint32_t>(
        PlatformTextFit(p.context, p.text, static_cast<int32_t>(caret), caretWidth - margin, nullptr));
    if (caretWidth - margin < 0) left = 0;
    if (k > left) k = left;
    // A caret inside a two-byte character (not one the editor leaves) must not start the row there.
    return k > 0 && k < p.length && ClassifyPosition(p.text, k) == kTrailByte ? k - 1 : k;
}

// The selected part of the bytes [begin, end), drawn from x: the highlight, and over it those bytes again
// in the selected-text colour.
static void PaintSelected(const Painting& p, uint32_t begin, uint32_t end, int32_t x, int32_t y) {
    uint32_t from, to;
    if (!p.focused || !EditSelection(p.buffer, &from, &to)) return;
    if (from < begin) from = begin;
    if (to > end) to = end;
    if (from >= to) return;
    int32_t left = x + Width(p, p.text + begin, from - begin);
    int32_t width = Width(p, p.text + from, to - from);
    Fill(p.surface, {left, y, left + width - 1, y + p.rowHeight - 1}, Theme[highlightColour]);
    Draw(p, p.text + from, to - from, {left, y, left + width, y + p.rowHeight}, Theme[selectedTextColour], 0,
         0);
}

// The text of a run [begin, end) at (x, y); with an inline composition at a caret inside the run, the
// composition takes its place there and the rest of the run moves right.
static void PaintRun(const Painting& p, uint32_t begin, uint32_t end, int32_t x, int32_t y, int32_t right,
                     const char* composition, uint32_t compositionBytes, uint32_t caret) {
    const EditBuffer* b = p.buffer;
    bool inlined = compositionBytes > 0 && (b->flags & inlineComposition) && begin <= caret && caret <= end;
    if (!inlined) {
        Draw(p, p.text + begin, end - begin, {x, y, right, y + p.rowHeight}, b->textColour, 0, 0);
        PaintSelected(p, begin, end, x, y);
        return;
    }
    int32_t caretX = x + Width(p, p.text + begin, caret - begin);
    Draw(p, p.text + begin, caret - begin, {x, y, caretX, y + p.rowHeight}, b->textColour, 0, 0);
    PaintSelected(p, begin, caret, x, y);
    int32_t width = 0, height = 0;
    PlatformTextExtent(p.context, composition, static_cast<int32_t>(compositionBytes), &width, &height);
    int32_t after = caretX + width;
    Draw(p, p.text + caret, end - caret, {after, y, right, y + p.rowHeight}, b->textColour, 0, 0);
    PaintSelected(p, caret, end, after, y);
    // The cell as each mode draws its overlay: wrapped rows leave out its last column and row.
    int32_t trim = (b->flags & wrapText) ? 1 : 0;
    Draw(p, composition, compositionBytes, {caretX, y, after - trim, y + height - trim},
         Theme[selectedTextColour], Theme[caretColour], platformTextOpaque);
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
    // A caret past the end of the text (typing into a full buffer) stands at the end.
    uint32_t caret = b->caret < p.length ? b->caret : p.length;
    char composition[5];
    uint32_t bytes = CompositionText(b, composition);
    int32_t compositionWidth = 0, compositionHeight = 0;
    if (bytes > 0)
        PlatformTextExtent(p.context, composition, static_cast<int32_t>(bytes), &compositionWidth,
                           &compositionHeight);
    bool inlined = bytes > 0 && (b->flags & inlineComposition);
    uint32_t start = 0;
    if (b->flags & keepCaretInView) {
        start = SingleRowStart(p, caret, inlined ? compositionWidth : 0);
        b->scrollX = Width(p, p.text, start);
    }
    int32_t textWidth = start == 0 ? p.textWidth : Width(p, p.text + start, p.length - start);
    if (textWidth == 0) textWidth = Width(p, " ", 1);
    if (inlined) textWidth = Width(p, p.text + start, p.length - start) + compositionWidth;
    if (b->backColour != noBox)
        Fill(p.surface, {x, y, x + textWidth - 1, y + p.rowHeight - 1}, b->backColour);
    int32_t caretX = x + Width(p, p.text + start, caret - start);
    if (p.caretShown) Fill(p.surface, {caretX, y, caretX + 1, y + p.rowHeight - 1}, Theme[caretColour]);
    PaintRun(p, start, p.length, x, y, x + textWidth, composition, bytes, caret);
    if (bytes == 0 || inlined) return;
    Draw(p, composition, bytes, {caretX, y, caretX + compositionWidth, y + compositionHeight},
         Theme[selectedTextColour], Theme[caretColour], platformTextOpaque);
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

// Whether the row [offset, end) holds the caret: a caret at the end of the text belongs to the last row.
static bool RowHoldsCaret(uint32_t offset, uint32_t end, uint32_t length, uint32_t caret) {
    return (offset <= caret && caret < end) || (end == length && caret == length);
}

// The end of the wrapped row that starts at offset. The row that holds the caret leaves room for an inline
// composition, so that the text after it moves on rather than being cut at the row's end.
static uint32_t RowEnd(const Painting& p, uint32_t offset, int32_t innerWidth) {
    uint32_t end = offset + EditRowBytes(p.context, p.text, p.length, offset, innerWidth);
    if (p.inlineWidth > 0 && RowHoldsCaret(offset, end, p.length, p.buffer->caret))
        end = offset + EditRowBytes(p.context, p.text, p.length, offset, innerWidth - p.inlineWidth);
    return end;
}

// How many rows from the top are drawn whole: the first always, then each one that ends above the limit.
static uint32_t RowsThatFit(const Painting& p, uint32_t most) {
    int64_t step = static_cast<int64_t>(p.rowHeight) + p.buffer->rowSpacing;
    int64_t below = static_cast<int64_t>(p.surface->height) - 3 - p.rowHeight; // room under the first row
    if (step <= 0) return most;
    int64_t fit = 1 + (below > 0 ? below / step : 0);
    return fit < most ? static_cast<uint32_t>(fit) : most;
}

// keepCaretInView: the first row shown, so that the row holding the caret is drawn and text that has become
// shorter does not leave rows empty below.
static uint32_t FirstRowShown(const Painting& p, int32_t innerWidth) {
    uint32_t rows = 0, caretRow = 0;
    for (uint32_t offset = 0; offset < p.length; rows++) {
        uint32_t end = RowEnd(p, offset, innerWidth);
        if (RowHoldsCaret(offset, end, p.length, p.buffer->caret)) caretRow = rows;
        offset = end;
    }
    uint32_t shown = RowsThatFit(p, rows > 0 ? rows : 1);
    uint32_t first = p.buffer->firstRow;
    uint32_t most = rows > shown ? rows - shown : 0;
    if (first > most) first = most;
    if (caretRow < first) first = caretRow;
    if (caretRow >= first + shown) first = caretRow - shown + 1;
    return first;
}

// Rows fitted to the inner width from (1, 1) down; a row that would not fit whole is not drawn. The caret
// bar stands in the row that holds the caret, or at (1, 1) when no drawn row does.
static void PaintWrappedRows(Painting& p) {
    EditBuffer* b = p.buffer;
    int32_t innerWidth = p.surface->width - 2, bottomLimit = p.surface->height - 2;
    int32_t y = 1;
    bool caretPlaced = false;
    char composition[5];
    uint32_t bytes = p.caretShown ? CompositionText(b, composition) : 0;
    int32_t compositionHeight = 0;
    if (bytes > 0 && (b->flags & inlineComposition))
        PlatformTextExtent(p.context, composition, static_cast<int32_t>(bytes), &p.inlineWidth,
                           &compositionHeight);
    bool inlined = false;
    uint32_t offset = 0;
    if (b->flags & keepCaretInView) {
        b->firstRow = FirstRowShown(p, innerWidth);
        for (uint32_t row = 0; row < b->firstRow && offset < p.length; row++)
            offset = RowEnd(p, offset, innerWidth);
    }
    while (offset < p.length) {
        uint32_t end = RowEnd(p, offset, innerWidth);
        bool holdsCaret = p.caretShown && !caretPlaced && RowHoldsCaret(offset, end, p.length, b->caret);
        if (holdsCaret) {
            int32_t x = 1 + Width(p, p.text + offset, b->caret - offset);
            Fill(p.surface, {x, y, x + 1, y + p.rowHeight - 1}, Theme[caretColour]);
            caretPlaced = true;
            p.caretX = x;
            p.caretY = y;
        }
        inlined = inlined || (holdsCaret && bytes > 0 && (b->flags & inlineComposition));
        // The rectangle's right edge is exclusive: rows are fitted one pixel wider than they are drawn.
        PaintRun(p, offset, end, 1, y, innerWidth, composition, holdsCaret ? bytes : 0, b->caret);
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
    if (bytes == 0 || inlined) return;
    int32_t width = 0, height = 0;
    PlatformTextExtent(p.context, composition, static_cast<int32_t>(bytes), &width, &height);
    Draw(p, composition, bytes, {p.caretX, p.caretY, p.caretX - 1 + width, p.caretY - 1 + height},
         Theme[selectedTextColour], Theme[caretColour], platformTextOpaque);
}

// Opens the text context of a paint or a hit test on the control's surface; false when there is none.
static bool OpenPainting(Painting& p, Control* control, EditBuffer* buffer) {
    p.surface = &control->surface;
    p.buffer = buffer;
    p.context = PlatformOpenText(mainWindowHandle, p.surface, buffer->font);
    if (!p.context) return false; // a surface without pixels shows nothing
    p.text = buffer->text ? buffer->text : "";
    p.length = buffer->text ? StringLength(buffer->text, buffer->capacity) : 0;
    // An empty text still has the height of one space, so that the caret has a height.
    PlatformTextExtent(p.context, p.length > 0 ? p.text : " ",
                       p.length > 0 ? static_cast<int32_t>(p.length) : 1, &p.textWidth, &p.rowHeight);
    return true;
}

void PaintEditText(WindowRecord* window, Control* control, EditBuffer* buffer) {
    Painting p = {};
    if (!OpenPainting(p, control, buffer)) return;
    p.focused = window && window->focusControl == control && control->editBuffer == buffer;
    p.caretShown = p.focused && caretBlinkCounter != 0;
    if (buffer->flags & wrapText)
        PaintWrappedRows(p);
    else
        PaintSingleRow(p);
    PlatformCloseText(p.context);
}

// The character boundary of bytes [begin, end) nearest to x pixels from the start of begin.
static uint32_t NearestBoundary(const Painting& p, uint32_t begin, uint32_t end, int32_t x) {
    if (x <= 0) return begin;
    const char* run = p.text + begin;
    uint32_t bytes = end - begin;
    uint32_t before =
        static_cast<uint32_t>(PlatformTextFit(p.context, run, static_cast<int32_t>(bytes), x, nullptr));
    if (before >= bytes) return end;
    uint32_t after = before + CharBytes(run, bytes, before);
    if (after > bytes) after = bytes;
    int32_t left = Width(p, run, before), right = Width(p, run, after);
    return begin + (x - left <= right - x ? before : after);
}

uint32_t EditOffsetAt(Control* control, EditBuffer* buffer, int32_t x, int32_t y) {
    Painting p = {};
    if (!OpenPainting(p, control, buffer)) return 0;
    uint32_t offset = 0;
    if (!(buffer->flags & wrapText)) {
        // The shown start is the boundary the last paint scrolled to; x counts from the text's start.
        int64_t at = static_cast<int64_t>(x) - buffer->originX;
        if ((buffer->flags & keepCaretInView) && buffer->scrollX > 0) at += buffer->scrollX;
        const int64_t far = 1 << 24;
        offset = NearestBoundary(p, 0, p.length,
                                 static_cast<int32_t>(at < -far  ? -far
                                                      : at > far ? far
                                                                 : at));
    } else {
        int32_t innerWidth = p.surface->width - 2;
        int64_t step = static_cast<int64_t>(p.rowHeight) + buffer->rowSpacing;
        int64_t row = step > 0 ? (static_cast<int64_t>(y) - 1) / step - (y < 1) : 0; // rounded down
        if (buffer->flags & keepCaretInView) row += buffer->firstRow;
        // Above the first row: the first; below the last: the last, at the x given.
        uint32_t end = 0;
        for (int64_t r = 0; end < p.length; r++) {
            end = offset + EditRowBytes(p.context, p.text, p.length, offset, innerWidth);
            if (r >= row || end >= p.length) break;
            offset = end;
        }
        offset = NearestBoundary(p, offset, end, x - 1);
        // A boundary at a row's end that is not the text's end would stand at the next row's start.
        if (offset == end && end < p.length && end > 0)
            offset = end - (end >= 2 && ClassifyPosition(p.text, end - 1) == kTrailByte ? 2 : 1);
    }
    PlatformCloseText(p.context);
    return offset;
}

// The caret goes to the row the view now starts or ends at, as near to its old column as the row allows, so
// that the next paint, which always shows the caret's row, keeps the view where it was moved to.
uint32_t ScrollWrappedRows(Control* control, EditBuffer* buffer, int32_t rows) {
    if (!(buffer->flags & wrapText) || !(buffer->flags & keepCaretInView)) return 0;
    Painting p = {};
    if (!OpenPainting(p, control, buffer)) return 0;
    int32_t innerWidth = p.surface->width - 2;
    uint32_t count = 0, caretRow = 0, caretStart = 0;
    for (uint32_t offset = 0; offset < p.length; count++) {
        uint32_t end = RowEnd(p, offset, innerWidth);
        if (RowHoldsCaret(offset, end, p.length, buffer->caret)) caretRow = count, caretStart = offset;
        offset = end;
    }
    uint32_t shown = RowsThatFit(p, count > 0 ? count : 1);
    int64_t most = count > shown ? count - shown : 0;
    int64_t first = static_cast<int64_t>(buffer->firstRow) + rows;
    first = first < 0 ? 0 : first > most ? most : first;
    bool moved = static_cast<uint32_t>(first) != buffer->firstRow;
    uint32_t target = caretRow < first            ? static_cast<uint32_t>(first)
                      : caretRow >= first + shown ? static_cast<uint32_t>(first) + shown - 1
                                                  : caretRow;
    if (moved && target != caretRow) {
        int32_t column = Width(p, p.text + caretStart, buffer->caret - caretStart);
        uint32_t offset = 0, end = 0;
        for (uint32_t r = 0; offset < p.length; r++, offset = end) {
            end = RowEnd(p, offset, innerWidth);
            if (r == target) break;
        }
        uint32_t at = NearestBoundary(p, offset, end, column);
        // A boundary at a row's end that is not the text's end would stand at the next row's start.
        if (at == end && end < p.length && end > offset)
            at = end - (end >= 2 && ClassifyPosition(p.text, end - 1) == kTrailByte ? 2 : 1);
        buffer->caret = at;
        if (buffer->flags & selectText) buffer->selectionAnchor = at;
    }
    buffer->firstRow = static_cast<uint32_t>(first);
    PlatformCloseText(p.context);
    return moved ? 1 : 0;
}
