// A one-buffer text entry: the control header and one embedded EditBuffer over the caller's text. It takes
// the focus when clicked and edits through the line editor; the text painter draws it.
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
