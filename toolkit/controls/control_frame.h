// The chrome the drawn kinds share: the background every one paints first (a tiled image or its colour)
// and the one-pixel frame drawn last, with the flag bits the frame reads.
#pragma once

#include <stdint.h>

#include "toolkit/window/control.h"

inline constexpr uint32_t controlFrame = 0x80;            // draw the frame
inline constexpr uint32_t controlFrameFlat = 0x40000;     // all four edges in one colour
inline constexpr uint32_t controlFrameSunken = 0x4000000; // light and dark swapped

// The whole surface tiled with image from its top-left corner, or filled with the control's
// backgroundColour when image is null.
void PaintControlBackground(Control* control, const Surface* image);

// Raised: top and left light, bottom and right dark; sunken swaps them; flat takes the top-left colour for
// all four edges. Nothing without controlFrame. The kinds frame in the Theme's border colours, the list box
// in white and black.
void DrawControlFrame(Control* control, uint32_t light, uint32_t dark);
