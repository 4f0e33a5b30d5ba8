// Record → init → layout → draw → mouse → destroy → scrolling. The log has no key handler: the line editor
// edits its current line through the line store (text_log_lines.cpp).
#include <string.h>

#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/list_layout.h"
#include "toolkit/controls/text_log.h"
#include "toolkit/controls/text_painter.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/text.h"
#include "toolkit/window/composition.h"

static void DestroyTextLog(Control* control);

static const ControlDescriptor textLogKind = {
    kindTextLog, sizeof(TextLog), takesFocus | redrawBits, 0xBFBFBF, {}, nullptr, DestroyTextLog,
};

// ---- Init ----

void InitTextLog(TextLog* log, const Extent* placement, uint32_t flags, const LogFont* font,
                 uint32_t lineSize, uint32_t lineLimit) {
    InitControlHeader(&log->header, &textLogKind, placement, flags);
    log->header.editBuffer = &log->edit;
    memset(static_cast<void*>(&log->edit), 0, sizeof log->edit);
    EditBuffer* b = &log->edit;
    b->flags = insertMode;
    b->textColour = 0x000000;
    b->backColour = 0xBFBFBF;
    b->lineMode = 1;
    b->font = font;
    // The edited line starts where the other lines' text does.
    b->originX = 1;
    log->rowHeight = log->visibleRows = log->rowsShown = 0;
    log->lineTextColour = 0x000000;
    log->rowSpacing = 4;
    log->backgroundImage = nullptr;
    log->scrollBar = nullptr;
    log->companions[0] = log->companions[1] = nullptr;
    // Sets the capacity, the line handler, the text, currentLine, lineCount and firstRow.
    AllocateTextLogLines(log, lineSize, lineLimit);
}

// ---- Layout ----

// Row height, the rows that fit and the top row brought back so that no empty rows trail the last line; the
// scroll bar and the companions follow.
void LayOutTextLog(WindowRecord* window, Control* control) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    RowLayout rows = MeasureRows(control, log->edit.font, log->rowSpacing, log->lineCount, &log->firstRow);
    log->rowHeight = rows.rowHeight;
    log->visibleRows = rows.fittingRows;
    log->rowsShown = rows.shownRows;
    KeepScrollBarInStep(window, log->scrollBar, log->companions, log->lineCount - log->rowsShown,
                        log->firstRow);
}

// ---- Draw ----

void DrawTextLog(WindowRecord* window, Control* control) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    Surface* own = &control->surface;
    int32_t width = own->width;
    bool lines = log->lines && log->edit.capacity != 0;
    log->edit.text = lines && log->currentLine < log->maxLines ? TextLogLine(log, log->currentLine) : nullptr;
    PaintControlBackground(control, log->backgroundImage);
    bool editable = !(control->flags & textLogReadOnly);
    for (uint32_t i = 0; lines && i < log->rowsShown; i++) {
        uint32_t line = log->firstRow + i;
        int32_t y = static_cast<int32_t>(1 + i * log->rowHeight);
        if (line == log->currentLine && editable) {
            log->edit.originY = y;
            PaintEditText(window, control, &log->edit);
            continue;
        }
        Extent row = {1, y, width - 2, static_cast<int32_t>(log->rowHeight)};
        DrawTextInSurface(TextLogLine(log, line), log->edit.font, own, &row, log->lineTextColour, 0,
                          transparentText);
    }
    DrawControlFrame(control, Theme[borderLightColour], Theme[borderDarkColour]);
}

// ---- Mouse ----

// The line shown at y, or -1 for none.
static int64_t LineAt(const TextLog* log, int32_t y) {
    if (y < 2 || log->rowHeight == 0) return -1;
    uint64_t line = log->firstRow + static_cast<uint64_t>(y - 2) / log->rowHeight;
    return line < log->lineCount ? static_cast<int64_t>(line) : -1;
}

void TextLogLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t, int32_t,
                     int32_t y) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    int64_t line = LineAt(log, y);
    if (line < 0) return;
    log->currentLine = static_cast<uint32_t>(line);
    RepaintControl(window, record, control);
}

// Points the buffer at the current line, for the edit field's handlers; false when there is none.
static bool EditCurrentLine(TextLog* log) {
    if (!log->lines || log->edit.capacity == 0 || log->currentLine >= log->maxLines) return false;
    log->edit.text = TextLogLine(log, log->currentLine);
    return true;
}

void TextLogPlaceCaret(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    int64_t line = LineAt(log, y);
    if (line < 0) return;
    if (line != log->currentLine) {
        // Another line starts unscrolled, as the other lines are drawn, and with nothing selected.
        log->currentLine = static_cast<uint32_t>(line);
        log->edit.scrollX = 0;
        log->edit.caret = log->edit.selectionAnchor = 0;
        log->edit.composition = 0;
        keyState &= ~static_cast<uint32_t>(MK_SHIFT);
    }
    if (EditCurrentLine(log)) EditFieldPlaceCaret(window, record, control, keyState, x, y);
}

void TextLogDragSelect(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y) {
    if (EditCurrentLine(reinterpret_cast<TextLog*>(control)))
        EditFieldDragSelect(window, record, control, keyState, x, y);
}

void TextLogSelectWord(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    if (LineAt(log, y) == log->currentLine && EditCurrentLine(log))
        EditFieldSelectWord(window, record, control, keyState, x, y);
}

void InstallTextLogMouse(TextLog* log) {
    log->header.onLeftDown = TextLogPlaceCaret;
    log->header.onMouseMove = TextLogDragSelect;
    log->header.onLeftDouble = TextLogSelectWord;
    log->header.flags |= captureOnLeft;
}

// ---- Destroy ----

static void DestroyTextLog(Control* control) {
    FreeTextLogLines(reinterpret_cast<TextLog*>(control));
}

// ---- Scrolling ----

void TextLogScrollTo(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t, uint32_t,
                     uint32_t position) {
    TextLog* log = reinterpret_cast<TextLog*>(userData);
    log->firstRow = position / scrollUnitsPerRow;
    MarkForRedraw(&log->header, record, redrawBits);
}

uint32_t TextLogScrollUp(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t, int32_t,
                         int32_t) {
    TextLog* log = reinterpret_cast<TextLog*>(userData);
    return StepTopRowUp(record, &log->header, &log->firstRow);
}

uint32_t TextLogScrollDown(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                           int32_t, int32_t) {
    TextLog* log = reinterpret_cast<TextLog*>(userData);
    return StepTopRowDown(record, &log->header, &log->firstRow, log->visibleRows, log->lineCount);
}
