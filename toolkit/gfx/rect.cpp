#include "toolkit/gfx/rect.h"

// Edges are computed modulo 2^32, so extreme extents wrap instead of overflowing.
static int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Pixels from low to high inclusive.
static int32_t Span(int32_t low, int32_t high) {
    return static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low) + 1u);
}

void ExtentToBounds(const Extent* source, Bounds* destination) {
    int32_t left = source->x, top = source->y;
    int32_t right = WrapAdd(left, WrapAdd(source->width, -1));
    int32_t bottom = WrapAdd(top, WrapAdd(source->height, -1));
    destination->left = right < left ? right : left;
    destination->right = right < left ? left : right;
    destination->top = bottom < top ? bottom : top;
    destination->bottom = bottom < top ? top : bottom;
}

void BoundsToExtent(const Bounds* source, Extent* destination) {
    Bounds n;
    NormaliseBounds(source, &n);
    destination->x = n.left;
    destination->y = n.top;
    destination->width = Span(n.left, n.right);
    destination->height = Span(n.top, n.bottom);
}

void NormaliseBounds(const Bounds* source, Bounds* destination) {
    Bounds s = *source;
    destination->left = s.left < s.right ? s.left : s.right;
    destination->right = s.left < s.right ? s.right : s.left;
    destination->top = s.top < s.bottom ? s.top : s.bottom;
    destination->bottom = s.top < s.bottom ? s.bottom : s.top;
}

static int32_t ClampInto(int32_t value, int32_t low, int32_t high) {
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

void ClampBounds(const Bounds* clip, const Bounds* rectangle, Bounds* destination) {
    Bounds c = *clip, r = *rectangle;
    Bounds clamped = {ClampInto(r.left, c.left, c.right), ClampInto(r.top, c.top, c.bottom),
                      ClampInto(r.right, c.left, c.right), ClampInto(r.bottom, c.top, c.bottom)};
    NormaliseBounds(&clamped, destination);
}

// Each cover splits every part it overlaps into the bands above and below it and the pieces left and right
// of it between them. The parts move between two lists, ending in parts.
int32_t UncoveredParts(const Bounds* rectangle, const Bounds* covers, int32_t coverCount,
                       Bounds parts[maxUncoveredParts]) {
    Bounds other[maxUncoveredParts];
    Bounds* from = parts;
    Bounds* to = other;
    int32_t count = 1;
    parts[0] = *rectangle;
    for (int32_t k = 0; k < coverCount && count > 0; k++) {
        const Bounds c = covers[k];
        int32_t kept = 0;
        for (int32_t i = 0; i < count; i++) {
            const Bounds p = from[i];
            if (c.left > p.right || c.right < p.left || c.top > p.bottom || c.bottom < p.top) {
                if (kept == maxUncoveredParts) return -1;
                to[kept++] = p;
                continue;
            }
            const int32_t top = p.top > c.top ? p.top : c.top,
                          bottom = p.bottom < c.bottom ? p.bottom : c.bottom;
            if (kept + 4 > maxUncoveredParts) return -1;
            if (p.top < c.top) to[kept++] = {p.left, p.top, p.right, c.top - 1};
            if (p.bottom > c.bottom) to[kept++] = {p.left, c.bottom + 1, p.right, p.bottom};
            if (p.left < c.left) to[kept++] = {p.left, top, c.left - 1, bottom};
            if (p.right > c.right) to[kept++] = {c.right + 1, top, p.right, bottom};
        }
        Bounds* swap = from;
        from = to;
        to = swap;
        count = kept;
    }
    if (from != parts) {
        for (int32_t i = 0; i < count; i++) parts[i] = from[i];
    }
    return count;
}
