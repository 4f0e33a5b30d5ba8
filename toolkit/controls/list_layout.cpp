// The scroll bar and companions of the scrolling kinds, changed and marked only when their state changes.
#include "toolkit/controls/scroll_companions.h"

#include "toolkit/controls/scroll_bar.h"
#include "toolkit/window/composition.h"

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

// A draw called outside a window (a benchmark's) only sets the bits.
static void Mark(Control* control, WindowRecord* record) {
    if (record)
        MarkForRedraw(control, record, redrawBits);
    else
        control->flags |= redrawBits;
}

// The composition serves the slots in order: whatever a draw marks below its own slot waits for the next
// paint, which nothing else may post. That paint redraws the window whole, since the controls above the
// marked ones have had their turn in this one and would be painted over.
static void RepaintWhatThisPaintPassed(WindowRecord* record, Control* list) {
    bool pending = (record->flags & fullRedraw) != 0;
    int32_t slot = FindControlSlot(record, list);
    for (int32_t i = 0; i < slot && !pending; i++) {
        const Control* c = record->controls[i];
        pending = c && (c->flags & redrawBits);
    }
    WindowHandle window = pending ? WindowHandleOf(record) : 0;
    if (window) RequestRepaint(window, repaintPending | fullRedraw);
}

void KeepScrollBarInStep(WindowRecord* record, Control* list, ScrollBar* bar,
                         Control* const companions[scrollCompanions], uint32_t hiddenRows,
                         uint32_t firstRow) {
    bool fits = hiddenRows == 0, changed = false;
    if (bar) {
        bool barChanged = SetHidden(&bar->header, fits);
        uint32_t range = Units(hiddenRows), position = Units(firstRow);
        if (!fits && (bar->range != range || bar->position != position)) {
            bar->range = range;
            bar->position = position;
            barChanged = true;
        }
        if (barChanged) Mark(&bar->header, record);
        changed = barChanged;
    }
    for (uint32_t i = 0; i < scrollCompanions; i++) {
        Control* c = companions[i];
        if (!c || !SetHidden(c, fits)) continue;
        Mark(c, record);
        changed = true;
    }
    if (changed && record) RepaintWhatThisPaintPassed(record, list);
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
