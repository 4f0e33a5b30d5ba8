// One image of a list of 32, copied once or tiled, in the control's own surface.
#pragma once

#include "toolkit/gfx/rect.h"
#include "toolkit/window/control.h"

inline constexpr uint32_t pictureTiled = 0x80000;
enum : uint32_t { pictureImages = 32 };

struct Picture {
    Control header;
    uint32_t imageIndex;
    Surface* images[pictureImages]; // owned by the caller
};

// colour is not used: a caller that wants another background or colour key writes backgroundColour after.
void InitPicture(Picture* picture, const Extent* extent, uint32_t colour, uint32_t flags);
