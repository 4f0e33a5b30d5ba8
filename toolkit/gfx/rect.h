// The two rectangle forms, their conversions, and what is left of a rectangle beneath others.
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

enum : int32_t { maxUncoveredParts = 64 };
// The parts of rectangle that none of the covers overlaps, as disjoint rectangles in parts: returns their
// count (0 when the covers hide it all), or -1 when more than maxUncoveredParts would be needed.
int32_t UncoveredParts(const Bounds* rectangle, const Bounds* covers, int32_t coverCount,
                       Bounds parts[maxUncoveredParts]);
