// The text painter: draws the text of any EditBuffer into a control's surface with the caret and the input
// method's composition character, as one row at the buffer's origin or wrapped over rows at the inner
// margin. The edit field, the text log and the tree list draw their text through it. The buffer's flags may
// add a view that follows the caret, an inline composition and a drawn selection, and the hit test finds
// the character boundary under a point of that layout.
#pragma once

#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/control.h"

// Draws into the control's surface only: it neither marks nor requests a repaint. The caret shows when the
// control is the window's focusControl, the buffer is the control's own editBuffer and caretBlinkCounter
// is not 0.
void PaintEditText(WindowRecord* window, Control* control, EditBuffer* buffer);

// The bytes of a wrapped row that starts at offset: as many as fit the inner width, never ending inside a
// two-byte character, and at least one character, so that a character wider than the control cannot stop
// the rows. The context holds the font the rows are drawn in.
uint32_t EditRowBytes(TextContext context, const char* text, uint32_t length, uint32_t offset,
                      int32_t innerWidth);

// The character boundary nearest to (x, y) in the control's coordinates, as the last paint laid the text
// out: in a single row along it (scrolled by scrollX with keepCaretInView), in wrapped rows within the row
// at y (rows above the first and below the last count as those). Never inside a two-byte character.
uint32_t EditOffsetAt(Control* control, EditBuffer* buffer, int32_t x, int32_t y);

// A wrapped buffer with keepCaretInView shows rows rows further down (up when negative), within the text. A
// caret that would leave the view moves along with it to the nearest row shown. 1 when the view moved.
uint32_t ScrollWrappedRows(Control* control, EditBuffer* buffer, int32_t rows);
