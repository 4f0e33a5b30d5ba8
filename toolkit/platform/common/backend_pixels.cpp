// PlatformSetPixel for the Linux backends, in the layout each one reports.
#include "toolkit/platform/common/backend_pixels.h"

#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"

uint16_t BackendPixel(uint32_t colour, int32_t is565) {
    uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    if (is565) return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

int32_t PlatformSetPixel(WindowHandle, const Surface* surface, int32_t x, int32_t y, uint32_t colour) {
    if (!surface || !surface->bitmap || !SurfaceIsDrawable(surface)) return 0;
    if (x < 0 || y < 0 || x >= surface->width || y >= surface->height) return 0;
    uint16_t pixel = BackendPixel(colour, BackendPixelsAre565());
    memcpy(surface->pixels + static_cast<size_t>(y) * surface->stride + 2 * static_cast<size_t>(x), &pixel,
           2);
    return 1;
}
