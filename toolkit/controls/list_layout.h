// The layout the scrolling kinds (text log, tree list, list box) share, run before the composition: one
// measurer for their rows, and their scroll bar and its two companion controls kept in step with what they
// show (all hidden when every row fits, otherwise shown, with the bar's range and position in sixteenths of
// a row).
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/control.h"

struct ScrollBar;

enum : uint32_t { scrollCompanions = 2, scrollUnitsPerRow = 16 };

struct RowLayout {
    uint32_t rowHeight;   // the text height of four spaces in the font plus the spacing; at least 1
    uint32_t fittingRows; // rows that fit inside the one-pixel margins
    uint32_t shownRows;   // fittingRows, or count when fewer
};

// The rows of a list of count rows drawn in font, and *firstRow brought back so that no empty rows trail
// the last one (0 when every row fits).
RowLayout MeasureRows(const Control* list, const LogFont* font, uint32_t rowSpacing, uint32_t count,
                      uint32_t* firstRow);

// hiddenRows: rows that do not fit (0 = everything fits); firstRow: the top row shown. Each control whose
// state changes is marked for redraw, which the paint about to compose serves.
void KeepScrollBarInStep(WindowRecord* record, ScrollBar* bar, Control* const companions[scrollCompanions],
                         uint32_t hiddenRows, uint32_t firstRow);

// The arrow buttons' step: the top row one up, or one down while rows lie below the last one shown. Marks
// the list and returns the redraw bits when the top row moved, else 0.
uint32_t StepTopRowUp(WindowRecord* record, Control* list, uint32_t* firstRow);
uint32_t StepTopRowDown(WindowRecord* record, Control* list, uint32_t* firstRow, uint32_t visibleRows,
                        uint32_t rowCount);

// The row a move key (Up, Down, Page Up, Page Down, Home, End) leads to among rows 0..last from current
// (-1 before any), a page being the visible rows less one; -1 for any other key.
int32_t RowKeyTarget(uint32_t key, int32_t current, int32_t last, uint32_t visibleRows);
