// Surface-to-surface copies, and every pixel row loop of the toolkit (fills included).
#include "toolkit/gfx/pixel_rows.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "toolkit/gfx/draw.h"

static const uint64_t laneOnes = 0x0001000100010001ull;

void FillRow(uint8_t* row, uint32_t count, uint16_t pixel) {
    uint64_t quad = pixel * laneOnes;
    size_t bytes = 2 * static_cast<size_t>(count), i = 0;
    // Four 64-bit stores per step keep pace with memset; single 32-bit pairs run at a fifth of it.
    for (; i + 32 <= bytes; i += 32) {
        memcpy(row + i, &quad, 8);
        memcpy(row + i + 8, &quad, 8);
        memcpy(row + i + 16, &quad, 8);
        memcpy(row + i + 24, &quad, 8);
    }
    uint32_t pair = static_cast<uint32_t>(quad);
    for (; i + 4 <= bytes; i += 4) memcpy(row + i, &pair, 4);
    if (i < bytes) memcpy(row + i, &pixel, 2);
}

void FillColumn(uint8_t* top, uint32_t stride, uint32_t count, uint16_t pixel) {
    for (uint32_t i = 0; i < count; ++i) memcpy(top + static_cast<size_t>(i) * stride, &pixel, 2);
}

// The C library's memmove beat inline 32-bit and 128-bit word loops at every row width measured.
void CopyRow(uint8_t* destination, const uint8_t* source, uint32_t count) {
    memmove(destination, source, 2 * static_cast<size_t>(count));
}

static void CopyTailKeyed(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key) {
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t pixel;
        memcpy(&pixel, source + 2 * i, 2);
        if (pixel != key) memcpy(destination + 2 * i, &pixel, 2);
    }
}

void CopyRowKeyedPortable(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key) {
    const uint64_t keys = key * laneOnes, low15 = 0x7FFF * laneOnes;
    uint32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        uint64_t from, to;
        memcpy(&from, source + 2 * i, 8);
        memcpy(&to, destination + 2 * i, 8);
        // A lane's top bit ends up set exactly when the lane differs from the key.
        uint64_t differs = from ^ keys;
        uint64_t nonZero = ((differs & low15) + low15) | differs;
        uint64_t take = ((nonZero >> 15) & laneOnes) * 0xFFFF;
        uint64_t merged = (from & take) | (to & ~take);
        memcpy(destination + 2 * i, &merged, 8);
    }
    CopyTailKeyed(destination + 2 * i, source + 2 * i, count - i, key);
}

#if defined(__SSE2__)
// Eight lanes: the destination keeps its pixel where the source equals the key.
static inline __m128i MergeKeyed(__m128i from, __m128i to, __m128i keys) {
    __m128i keep = _mm_cmpeq_epi16(from, keys);
    return _mm_or_si128(_mm_and_si128(keep, to), _mm_andnot_si128(keep, from));
}

static inline __m128i Load16(const uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
static inline void Store16(uint8_t* at, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
}

void CopyRowKeyedSse2(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key) {
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    uint32_t i = 0;
    // Two groups of eight per step: a fifth faster than one on 96-pixel sprite rows.
    for (; i + 16 <= count; i += 16) {
        const uint8_t* from = source + 2 * i;
        uint8_t* to = destination + 2 * i;
        __m128i low = MergeKeyed(Load16(from), Load16(to), keys);
        __m128i high = MergeKeyed(Load16(from + 16), Load16(to + 16), keys);
        Store16(to, low);
        Store16(to + 16, high);
    }
    if (i + 8 <= count) {
        Store16(destination + 2 * i, MergeKeyed(Load16(source + 2 * i), Load16(destination + 2 * i), keys));
        i += 8;
    }
    if (i + 4 <= count) {
        __m128i from = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + 2 * i));
        __m128i to = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(destination + 2 * i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(destination + 2 * i), MergeKeyed(from, to, keys));
        i += 4;
    }
    CopyTailKeyed(destination + 2 * i, source + 2 * i, count - i, key);
}
#endif

void CopyRowKeyed(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key) {
#if defined(__SSE2__)
    CopyRowKeyedSse2(destination, source, count, key);
#else
    CopyRowKeyedPortable(destination, source, count, key);
#endif
}

void CopyRows(uint8_t* destination, uint32_t destinationStride, const uint8_t* source, uint32_t sourceStride,
              uint32_t width, uint32_t count, int32_t keyed, uint16_t key) {
    if (keyed) {
        for (uint32_t y = 0; y < count; ++y)
            CopyRowKeyed(destination + static_cast<size_t>(y) * destinationStride,
                         source + static_cast<size_t>(y) * sourceStride, width, key);
        return;
    }
    // Whole rows back to back on both sides (even width, no spare word) move as one block.
    if (2 * width == sourceStride && sourceStride == destinationStride) {
        memmove(destination, source, static_cast<size_t>(sourceStride) * count);
        return;
    }
    for (uint32_t y = 0; y < count; ++y)
        CopyRow(destination + static_cast<size_t>(y) * destinationStride,
                source + static_cast<size_t>(y) * sourceStride, width);
}

void BlitSurface(const Surface* source, Surface* destination, int32_t x, int32_t y, uint32_t flags,
                 uint32_t key) {
    if (!SurfaceIsDrawable(source) || !SurfaceIsDrawable(destination)) return;
    BlitRect(source, 0, 0, destination, x, y, source->width, source->height, flags, key);
}

void BlitRect(const Surface* source, int32_t sx, int32_t sy, Surface* destination, int32_t dx, int32_t dy,
              int32_t width, int32_t height, uint32_t flags, uint32_t key) {
    if (!SurfaceIsDrawable(source) || !SurfaceIsDrawable(destination)) return;
    if (sx >= source->width || sy >= source->height || dx >= destination->width || dy >= destination->height)
        return;
    if (width <= 0 || height <= 0) return;
    // Offsets within the rectangle of the first and last column and row inside both surfaces.
    int64_t left = 0, top = 0, right = width - 1, bottom = height - 1;
    if (-static_cast<int64_t>(sx) > left) left = -static_cast<int64_t>(sx);
    if (-static_cast<int64_t>(dx) > left) left = -static_cast<int64_t>(dx);
    if (-static_cast<int64_t>(sy) > top) top = -static_cast<int64_t>(sy);
    if (-static_cast<int64_t>(dy) > top) top = -static_cast<int64_t>(dy);
    if (static_cast<int64_t>(source->width) - 1 - sx < right)
        right = static_cast<int64_t>(source->width) - 1 - sx;
    if (static_cast<int64_t>(destination->width) - 1 - dx < right)
        right = static_cast<int64_t>(destination->width) - 1 - dx;
    if (static_cast<int64_t>(source->height) - 1 - sy < bottom)
        bottom = static_cast<int64_t>(source->height) - 1 - sy;
    if (static_cast<int64_t>(destination->height) - 1 - dy < bottom)
        bottom = static_cast<int64_t>(destination->height) - 1 - dy;
    if (left > right || top > bottom) return;
    const uint8_t* from = source->pixels + static_cast<size_t>(sy + top) * source->stride + 2 * (sx + left);
    uint8_t* to = destination->pixels + static_cast<size_t>(dy + top) * destination->stride + 2 * (dx + left);
    int32_t keyed = (flags & blitColourKeyed) != 0;
    CopyRows(to, destination->stride, from, source->stride, static_cast<uint32_t>(right - left + 1),
             static_cast<uint32_t>(bottom - top + 1), keyed,
             keyed ? static_cast<uint16_t>(ColourToPixel(key)) : 0);
}
