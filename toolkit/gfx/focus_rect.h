// The focus rectangle, as the Windows desktop draws it: every other pixel of a one-pixel frame inverted, so
// it shows on any colour, over a selection too.
#pragma once

#include "toolkit/gfx/rect.h"
#include "toolkit/gfx/surface.h"

// Inverts the pixels of the frame of bounds (inclusive) whose x + y is even, clipped to the surface.
void DrawFocusRect(Surface* surface, const Bounds* bounds);
