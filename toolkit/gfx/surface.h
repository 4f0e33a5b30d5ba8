// 16-bit pixel surfaces, the display's pixel format, colour conversion and bitmap loading.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

// Pixel (x, y) is the little-endian 16-bit word at pixels + y * stride + 2 * x; rows run top-down.
struct Surface {
    uint8_t* pixels;
    uint32_t bitsPerPixel; // always 16
    int32_t width;
    int32_t height;
    uint32_t stride;  // width rounded up to even, times 2: rows start on 4-byte boundaries
    uintptr_t bitmap; // platform bitmap owning the pixels; 0 over caller memory
};

// Theme colours 1..9 are read by the drawing code; entry 0 holds the pixel-format bits.
enum ThemeEntry : uint32_t {
    pixelFormat = 0,
    caretColour = 1,
    selectedTextColour = 2,
    highlightColour = 3,
    bevelLightColour = 4,
    bevelDarkColour = 5,
    bevelLightColour2 = 6,
    bevelDarkColour2 = 7,
    borderLightColour = 8,
    borderDarkColour = 9,
};
enum : uint32_t { rgb565 = 0x1 };

extern uint32_t Theme[10];

// Set by InitDisplay.
extern int32_t screenWidth;
extern int32_t screenHeight;
extern uint32_t toolkitCommandMessage; // the registered "NIMBLEUI_CMD" id; 0 before InitDisplay
// The window the platform draws text and converts images through: the main window, set by the window
// table when it makes it (0 before).
extern WindowHandle drawingWindow;

uint32_t SurfaceStride(uint32_t width);
void InitDisplay();
void CreateSurface(uint32_t width, int32_t height, Surface* surface, void* memory);
void ReleaseSurface(Surface* surface);
// True when the surface has width × height pixels to draw on. Inline: the backends ask it too, and they
// link no part of the toolkit.
inline bool SurfaceIsDrawable(const Surface* surface) {
    return surface && surface->pixels && surface->width > 0 && surface->height > 0 &&
           surface->stride >= 2 * static_cast<uint32_t>(surface->width);
}

uint32_t ColourToPixel(uint32_t colour);
uint32_t PixelToColour(uint32_t pixel);

enum : uint32_t { loadFromFile = 0x1 };
// name: a resource id (≤ 0xFFFF), a resource name, or with loadFromFile a file path. -1 on success, 0 on
// failure.
int32_t LoadBitmapSurface(uintptr_t name, Surface* surface, uint32_t flags);
