#include "toolkit/gfx/surface.h"

#include <string.h>

#include "toolkit/platform/platform.h"

uint32_t Theme[10] = {0,        0x000000, 0xFFFFFF, 0xEE0000, 0xFFFFFF,
                      0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000};

int32_t screenWidth;
int32_t screenHeight;
uint32_t toolkitCommandMessage;
WindowHandle drawingWindow;

uint32_t SurfaceStride(uint32_t width) {
    return ((width >> 1) + (width & 1)) * 4;
}

void CreateSurface(uint32_t width, int32_t height, Surface* surface, void* memory) {
    surface->width = static_cast<int32_t>(width);
    surface->height = height;
    surface->stride = SurfaceStride(width);
    surface->bitsPerPixel = 16;
    if (memory) {
        surface->pixels = static_cast<uint8_t*>(memory);
        surface->bitmap = 0;
        return;
    }
    uint8_t* pixels = nullptr;
    surface->bitmap = PlatformCreatePixels(static_cast<int32_t>(width), height, surface->stride, &pixels);
    // Without pixel memory the surface keeps its size (what re-layout measures from) but has no pixels:
    // nothing draws on it or copies from it.
    surface->pixels = surface->bitmap ? pixels : nullptr;
}

void ReleaseSurface(Surface* surface) {
    if (surface->bitmap) {
        PlatformFreePixels(surface->bitmap);
        surface->bitmap = 0;
    }
    surface->pixels = nullptr;
    surface->bitsPerPixel = 0;
    surface->width = 0;
    surface->height = 0;
    surface->stride = 0;
}

uint32_t ColourToPixel(uint32_t colour) {
    uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    if (Theme[pixelFormat] & rgb565) return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
}

uint32_t PixelToColour(uint32_t pixel) {
    uint32_t p = pixel & 0xFFFF, r, g, b;
    if (Theme[pixelFormat] & rgb565) {
        r = (p >> 8) | 4;
        g = (p >> 3) | 2;
        b = ((p & 0x1F) << 3) | ((p >> 8) & 7) | 4;
    } else {
        r = ((p >> 8) << 1) | 4;
        g = (p >> 2) | 4;
        b = ((p & 0x1F) << 3) | ((p >> 7) & 7) | 4;
    }
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// The platform draws green into a probe surface; reading it back tells 5-5-5 from 5-6-5.
static void ProbePixelFormat() {
    Surface probe = {};
    CreateSurface(16, 16, &probe, nullptr);
    if (!SurfaceIsDrawable(&probe)) return;
    PlatformSetPixel(drawingWindow, &probe, 0, 0, 0x00FF00);
    uint16_t word;
    memcpy(&word, probe.pixels, 2);
    if (word != 0x03E0) Theme[pixelFormat] |= rgb565;
    ReleaseSurface(&probe);
}

void InitDisplay() {
    PlatformScreenSize(&screenWidth, &screenHeight);
    toolkitCommandMessage = PlatformRegisterMessage("NIMBLEUI_CMD");
    ProbePixelFormat();
}

int32_t LoadBitmapSurface(uintptr_t name, Surface* surface, uint32_t flags) {
    uintptr_t image = PlatformLoadImage(name, (flags & loadFromFile) ? 1 : 0);
    if (!image) return 0;
    int32_t width = 0, height = 0;
    if (!PlatformImageSize(image, &width, &height) || width <= 0 || height <= 0) {
        PlatformFreeImage(image);
        return 0;
    }
    Surface loaded = {};
    CreateSurface(static_cast<uint32_t>(width), height, &loaded, nullptr);
    if (!SurfaceIsDrawable(&loaded)) {
        // No pixel memory: a failure, and the caller's record stays as it was.
        PlatformFreeImage(image);
        return 0;
    }
    *surface = loaded;
    PlatformCopyImage(drawingWindow, image, surface);
    PlatformFreeImage(image);
    return -1;
}
