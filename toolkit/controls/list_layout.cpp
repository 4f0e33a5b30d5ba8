// The scrolling kinds' row measurer, and their scroll bar and companions, changed and marked only when
// their state changes.
#include "toolkit/controls/list_layout.h"

#include "toolkit/controls/scroll_bar.h"
#include "toolkit/gfx/text.h"
#include "toolkit/window/composition.h"

RowLayout MeasureRows(const Control* list, const LogFont* font, uint32_t rowSpacing, uint32_t count,
                      uint32_t* firstRow) {
    TextSize size = {};
    MeasureText(drawingWindow, font, "    ", 4, &size);
    uint64_t height = static_cast<uint64_t>(size.cy > 0 ? size.cy : 0) + rowSpacing;
    RowLayout rows;
    rows.rowHeight = height == 0 ? 1 : height > 0xFFFFu ? 0xFFFFu : static_cast<uint32_t>(height);
    int32_t inside = list->surface.height - 2;
    rows.fittingRows = inside > 0 ? static_cast<uint32_t>(inside) / rows.rowHeight : 0;
    if (rows.fittingRows >= count) {
        *firstRow = 0;
        rows.shownRows = count;
        return rows;
    }
    if (*firstRow > count - rows.fittingRows) *firstRow = count - rows.fittingRows;
    rows.shownRows = rows.fittingRows;
    return rows;
}

// Units for a number of rows; a count too large for 32 bits stops at the largest value.
static uint32_t Units(uint32_t rows) {
    uint64_t units = static_cast<uint64_t>(rows) * scrollUnitsPerRow;
    return units > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(units);
}

// True when the flag changed.
static bool SetHidden(Control* control, bool hide) {
    uint32_t flags = hide ? control->flags | hidden : control->flags & ~hidden;
    if (flags == control->flags) return false;
    control->flags = flags;
    return true;
}

void KeepScrollBarInStep(WindowRecord* record, ScrollBar* bar, Control* const companions[scrollCompanions],
                         uint32_t hiddenRows, uint32_t firstRow) {
    bool fits = hiddenRows == 0;
    if (bar) {
        bool changed = SetHidden(&bar->header, fits);
        uint32_t range = Units(hiddenRows), position = Units(firstRow);
        if (!fits && (bar->range != range || bar->position != position)) {
            bar->range = range;
            bar->position = position;
            changed = true;
        }
        if (changed) MarkForRedraw(&bar->header, record, redrawBits);
    }
    for (uint32_t i = 0; i < scrollCompanions; i++) {
        Control* c = companions[i];
        if (c && SetHidden(c, fits)) MarkForRedraw(c, record, redrawBits);
    }
}

uint32_t StepTopRowUp(WindowRecord* record, Control* list, uint32_t* firstRow) {
    if (*firstRow == 0) return 0;
    (*firstRow)--;
    MarkForRedraw(list, record, redrawBits);
    return redrawBits;
}

uint32_t StepTopRowDown(WindowRecord* record, Control* list, uint32_t* firstRow, uint32_t visibleRows,
                        uint32_t rowCount) {
    if (*firstRow + static_cast<uint64_t>(visibleRows) >= rowCount) return 0;
    (*firstRow)++;
    MarkForRedraw(list, record, redrawBits);
    return redrawBits;
}

int32_t RowKeyTarget(uint32_t key, int32_t current, int32_t last, uint32_t visibleRows) {
    int32_t page = visibleRows > 1 ? static_cast<int32_t>(visibleRows) - 1 : 1, to;
    switch (key) {
    case vkUp:
        to = current - 1;
        break;
    case vkDown:
        to = current + 1;
        break;
    case vkPrior:
        to = current - page;
        break;
    case vkNext:
        to = current < 0 ? page : current + page;
        break;
    case vkHome:
        to = 0;
        break;
    case vkEnd:
        to = last;
        break;
    default:
        return -1;
    }
    return to < 0 ? 0 : to > last ? last : to;
}
