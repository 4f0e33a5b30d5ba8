// A one-buffer text entry: the control header and one embedded EditBuffer over the caller's text. It takes
// the focus when clicked and edits through the line editor; the text painter draws it. Mouse handlers that
// place the caret and select are offered ready-made for an owner to install.
#pragma once

#include <stdint.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/gfx/rect.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/control.h"

// The edit field's flag bits are the control frame's (control_frame.h).
inline constexpr uint32_t editFieldFrame = controlFrame;
inline constexpr uint32_t editFieldFlatFrame = controlFrameFlat;
inline constexpr uint32_t editFieldSunkenFrame = controlFrameSunken;

struct EditField {
    Control header;
    EditBuffer edit; // the header's editBuffer points here
};

// text: the caller's buffer of capacity bytes, kept alive as long as the control. The buffer's other
// fields (enterHandler, font, wrapText, rowSpacing, origin, colours) are the caller's to write after.
void InitEditField(EditField* field, const Extent* extent, uint32_t flags, char* text, uint32_t capacity);

// Ready-made mouse handlers an owner may install (the field has none by default). They read the layout of
// the last paint. onLeftDown: the caret goes to the character boundary nearest the click (in wrapped rows,
// in the row clicked) and a selection starts there, or with Shift and selectText extends to it; the
// routing then focuses the field as before. onMouseMove: while the field holds the left-button capture,
// the caret follows the pointer, selecting with selectText; past the field's edges it goes on into the
// text out of view, which keepCaretInView then scrolls into view. onLeftDouble: selects the word under the
// pointer (words end at spaces and punctuation; two-byte characters count as letters).
void EditFieldPlaceCaret(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y);
void EditFieldDragSelect(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y);
void EditFieldSelectWord(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y);
// Installs the three in their slots and adds captureOnLeft, so that a drag keeps the mouse.
void InstallEditFieldMouse(EditField* field);
