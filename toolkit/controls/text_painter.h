// The text painter: draws the text of any EditBuffer into a control's surface with the caret and the input
// method's composition character, as one row at the buffer's origin or wrapped over rows at the inner
// margin. The edit field, the text log and the tree list draw their text through it.
#pragma once

#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/control.h"

// Draws into the control's surface only: it neither marks nor requests a repaint. The caret shows when the
// control is the window's focusControl, the buffer is the control's own editBuffer and caretBlinkCounter
// is not 0.
void PaintEditText(WindowRecord* window, Control* control, EditBuffer* buffer);
