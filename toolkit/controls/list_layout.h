// How the scrolling kinds (text log, tree list, list box) keep their scroll bar and its two companion
// controls in step with what they show: all hidden when every row fits, otherwise shown, with the bar's range
// and position in sixteenths of a row.
#pragma once

#include <stdint.h>

#include "toolkit/window/control.h"

struct ScrollBar;

enum : uint32_t { scrollCompanions = 2, scrollUnitsPerRow = 16 };

// Called by a list's draw routine. hiddenRows: rows that do not fit (0 = everything fits); firstRow: the
// top row shown. Each control whose state changes is marked for redraw. When that leaves work for a control
// this paint has already passed (one linked below the list, or what shows through a bar that was hidden),
// a full repaint is requested, so the window never keeps a stale bar.
void KeepScrollBarInStep(WindowRecord* record, Control* list, ScrollBar* bar,
                         Control* const companions[scrollCompanions], uint32_t hiddenRows, uint32_t firstRow);

// The arrow buttons' step: the top row one up, or one down while rows lie below the last one shown. Marks
// the list and returns the redraw bits when the top row moved, else 0.
uint32_t StepTopRowUp(WindowRecord* record, Control* list, uint32_t* firstRow);
uint32_t StepTopRowDown(WindowRecord* record, Control* list, uint32_t* firstRow, uint32_t visibleRows,
                        uint32_t rowCount);
