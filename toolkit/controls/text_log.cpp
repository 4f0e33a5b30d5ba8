// Record → init → draw → mouse → destroy → scrolling. The log has no key handler: the line editor edits its
// current line through the line store (text_log_lines.cpp).
#include <string.h>

#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/scroll_companions.h"
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

// ---- Draw ----

// Row height and the rows that fit, and the top row brought back so that no empty rows trail the last line.
static void MeasureTextLog(TextLog* log) {
    TextSize size = {};
    MeasureText(drawingWindow, log->edit.font, "    ", 4, &size);
    uint64_t height = static_cast<uint64_t>(size.cy > 0 ? size.cy : 0) + log->rowSpacing;
    log->rowHeight = height == 0 ? 1 : height > 0xFFFFu ? 0xFFFFu : static_cast<uint32_t>(height);
    int32_t inside = log->header.surface.height - 2;
    log->visibleRows = inside > 0 ? static_cast<uint32_t>(inside) / log->rowHeight : 0;
    if (log->visibleRows >= log->lineCount) {
        log->firstRow = 0;
        log->rowsShown = log->lineCount;
        return;
    }
    if (log->firstRow > log->lineCount - log->visibleRows) log->firstRow = log->lineCount - log->visibleRows;
    log->rowsShown = log->visibleRows;
}

void DrawTextLog(WindowRecord* window, Control* control) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    Surface* own = &control->surface;
    int32_t width = own->width, height = own->height;
    MeasureTextLog(log);
    bool lines = log->lines && log->edit.capacity != 0;
    log->edit.text = lines && log->currentLine < log->maxLines ? TextLogLine(log, log->currentLine) : nullptr;
    if (log->backgroundImage) {
        Extent all = {0, 0, width, height};
        TileSurface(own, log->backgroundImage, &all);
    } else {
        Bounds all = {0, 0, width - 1, height - 1};
        DrawRect(own, &all, control->backgroundColour, rectFill);
    }
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
    if (control->flags & textLogFrame) {
        Bounds all = {0, 0, width - 1, height - 1};
        DrawBevel(own, &all, Theme[borderLightColour], Theme[borderDarkColour], Theme[borderLightColour],
                  Theme[borderDarkColour]);
    }
    uint32_t hiddenRows = log->lineCount > log->visibleRows ? log->lineCount - log->visibleRows : 0;
    KeepScrollBarInStep(window, control, log->scrollBar, log->companions, hiddenRows, log->firstRow);
}

// ---- Mouse ----

void TextLogLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t, int32_t,
                     int32_t y) {
    TextLog* log = reinterpret_cast<TextLog*>(control);
    if (y < 2 || log->rowHeight == 0) return;
    uint64_t line = log->firstRow + static_cast<uint64_t>(y - 2) / log->rowHeight;
    if (line >= log->lineCount) return;
    log->currentLine = static_cast<uint32_t>(line);
    RepaintControl(window, record, control);
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
