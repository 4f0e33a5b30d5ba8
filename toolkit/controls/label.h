// A passive caption: a plain or tiled background, an optional icon at the top-left corner, a word-wrapped
// caption to its right and an optional one-pixel frame.
#pragma once

#include <stdint.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/gfx/rect.h"
#include "toolkit/window/control.h"

// The label's flag bits are the control frame's (control_frame.h).
inline constexpr uint32_t labelFrame = controlFrame;
inline constexpr uint32_t labelFlatFrame = controlFrameFlat;
inline constexpr uint32_t labelSunkenFrame = controlFrameSunken;

enum : uint32_t { labelIcons = 31, labelCaptionSize = 256 };

struct Label {
    Control header;
    Surface* backgroundImage;   // tiled over the label; null = backgroundColour
    Surface* icons[labelIcons]; // owned by the caller
    uint32_t iconIndex;         // labelIcons or more, or an empty entry: no icon
    char caption[labelCaptionSize];
    const LogFont* font; // null = the default font
    int32_t textInset;   // pixels kept free above and below the caption
    uint32_t textColour;
};

// images: 32 entries or null; entry 0 becomes backgroundImage, entries 1 to 31 the icons. The caption is
// cut to 254 bytes. The last argument is not used.
void InitLabel(Label* label, const Extent* extent, uint32_t textColour, uint32_t backgroundColour,
               const LogFont* font, const char* caption, Surface* const* images, uint32_t flags,
               uint32_t unused);
