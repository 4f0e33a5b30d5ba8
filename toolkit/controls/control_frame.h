// The one-pixel frame that the label and the edit field draw last, and the flag bits it reads.
#pragma once

#include <stdint.h>

#include "toolkit/window/control.h"

inline constexpr uint32_t controlFrame = 0x80;            // draw the frame
inline constexpr uint32_t controlFrameFlat = 0x40000;     // all four edges in one colour
inline constexpr uint32_t controlFrameSunken = 0x4000000; // light and dark swapped

// Raised: top and left light, bottom and right dark (Theme border colours); sunken swaps them; flat takes
// the top-left colour for all four edges. Nothing without controlFrame.
void DrawControlBevel(Control* control);
