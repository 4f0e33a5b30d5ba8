// The two rectangle forms and their conversions.
#pragma once

#include <stdint.h>

struct Extent {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// All four edges inclusive: right = x + width - 1.
struct Bounds {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

void ExtentToBounds(const Extent* source, Bounds* destination);
void BoundsToExtent(const Bounds* source, Extent* destination);
void NormaliseBounds(const Bounds* source, Bounds* destination);
void ClampBounds(const Bounds* clip, const Bounds* rectangle, Bounds* destination);
