// A filled, optionally bevelled rectangle that draws straight onto the window surface.
#pragma once

#include "toolkit/gfx/rect.h"
#include "toolkit/window/control.h"

inline constexpr uint32_t panelNoFill = 0x8; // only the bevel: the window shows through
inline constexpr uint32_t panelBevel = 0x80;
inline constexpr uint32_t panelSunken = 0x4000000;

struct Panel {
    Control header;
    uint32_t bevelLight;
    uint32_t bevelDark;
    uint32_t bevelWidth; // nested one-pixel frames inside the edge
};

void InitPanel(Panel* panel, const Extent* extent, uint32_t backgroundColour, uint32_t bevelLight,
               uint32_t bevelDark, uint32_t bevelWidth, uint32_t flags);
