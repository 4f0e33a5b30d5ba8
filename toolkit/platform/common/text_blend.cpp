#include "toolkit/platform/common/text_blend.h"

#include <string.h>

// The channels are spread apart in one 32-bit word (green moved up 16 bits) so that a single multiply by
// a 5-bit weight mixes all three without carries between them.
template <uint32_t Mask>
static void BlendRows(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, const uint8_t* coverage,
                      int32_t coveragePitch, int32_t width, int32_t rows, uint16_t pixel) {
    uint32_t text = (pixel | (static_cast<uint32_t>(pixel) << 16)) & Mask;
    for (int32_t row = 0; row < rows; row++) {
        uint8_t* out = pixels + static_cast<size_t>(y + row) * stride + 2 * static_cast<size_t>(x);
        const uint8_t* in = coverage + static_cast<intptr_t>(row) * coveragePitch;
        for (int32_t column = 0; column < width; column++) {
            uint32_t a = in[column];
            if (a == 0) continue;
            uint16_t result = pixel;
            if (a < 255) {
                uint32_t weight = (a + 4) >> 3;
                uint16_t old;
                memcpy(&old, out + 2 * column, 2);
                uint32_t under = (old | (static_cast<uint32_t>(old) << 16)) & Mask;
                uint32_t mixed = ((text * weight + under * (32 - weight)) >> 5) & Mask;
                result = static_cast<uint16_t>(mixed | (mixed >> 16));
            }
            memcpy(out + 2 * column, &result, 2);
        }
    }
}

void BlendCoverage(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, const uint8_t* coverage,
                   int32_t coveragePitch, int32_t width, int32_t rows, uint16_t pixel, int32_t is565) {
    if (is565) {
        BlendRows<0x07E0F81Fu>(pixels, stride, x, y, coverage, coveragePitch, width, rows, pixel);
    } else {
        BlendRows<0x03E07C1Fu>(pixels, stride, x, y, coverage, coveragePitch, width, rows, pixel);
    }
}

void FillPixels(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, int32_t width, int32_t rows,
                uint16_t pixel) {
    for (int32_t row = 0; row < rows; row++) {
        uint8_t* out = pixels + static_cast<size_t>(y + row) * stride + 2 * static_cast<size_t>(x);
        for (int32_t column = 0; column < width; column++) memcpy(out + 2 * column, &pixel, 2);
    }
}
