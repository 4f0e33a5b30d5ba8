// Text measured and drawn into 16-bit surfaces through the platform's text renderer.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/rect.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"

// The platform's SIZE.
struct TextSize {
    int32_t cx;
    int32_t cy;
};

// DrawTextInSurface flags; other bits are ignored.
enum : uint32_t {
    transparentText = 0x8, // leave the pixels behind the glyphs; clear: paint the glyph cells
    growBox = 0x80,        // the box is one pixel wider and taller before it becomes a rectangle
    wordBreak = 0x1000000, // break lines between words at the box's right edge
};

// Width and height of length bytes of text in the font (null: the default font). A length of 0 or less
// measures nothing: width 0.
void MeasureText(WindowHandle window, const LogFont* font, const char* text, int32_t length, TextSize* size);

// Draws the zero-terminated text into the surface, inside box less its last column and row (all of it
// with growBox). A surface without a platform bitmap receives nothing.
void DrawTextInSurface(const char* text, const LogFont* font, Surface* surface, const Extent* box,
                       uint32_t textColour, uint32_t backgroundColour, uint32_t flags);
