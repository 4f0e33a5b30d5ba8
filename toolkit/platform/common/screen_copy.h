// What a window shows, kept as a copy of the pixels last sent to it, so that a screen copy can send only the
// pixels that really changed: a full redraw that repaints the same background sends just the sprite.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

struct ScreenCopy {
    uint16_t* pixels; // width × height, rows back to back; null until the first copy
    int32_t width, height;
    int32_t valid; // the window shows these pixels
};

// Narrows area (surface coordinates, right and bottom exclusive; null = the whole surface) to the smallest
// rectangle holding every pixel of it that differs from the copy, and brings the copy up to date there.
// Returns 0 when nothing differs. A copy that is not valid or of another size is made anew (the whole
// surface then counts as changed); -1 when its memory cannot be had (the whole surface, nothing kept).
int32_t UpdateScreenCopy(ScreenCopy* copy, const Surface* surface, PlatformRect* area);
// The window no longer shows the copy (exposed, resized, restored): the next update sends everything.
void ForgetScreenCopy(ScreenCopy* copy);
void FreeScreenCopy(ScreenCopy* copy);
