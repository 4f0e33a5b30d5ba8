// The pixel work of the shared text renderer: grey glyph coverage blended into 16-bit pixels, and fills.
#pragma once

#include <stdint.h>

#include "toolkit/platform/common/backend_pixels.h"

// Coverage 255 writes the pixel, 0 leaves the surface's, values between mix the two. The caller clips:
// every row and column given lands inside the pixel memory.
void BlendCoverage(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, const uint8_t* coverage,
                   int32_t coveragePitch, int32_t width, int32_t rows, uint16_t pixel, int32_t is565);

void FillPixels(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, int32_t width, int32_t rows,
                uint16_t pixel);
