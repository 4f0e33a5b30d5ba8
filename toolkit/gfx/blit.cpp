// Surface-to-surface copies, and every pixel row loop that drawing into surfaces runs (fills included); the
// platform blends text and copies surfaces to the screen with loops of its own.
#include "toolkit/gfx/pixel_rows.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(VQ_HAVE_AVX2_ROWS)
#include <immintrin.h>
#endif

#include "toolkit/gfx/draw.h"

static const uint64_t laneOnes = 0x0001000100010001ull;

#if defined(VQ_HAVE_AVX2_ROWS)
// 32-byte stores keep pace with memset and with memcpy's string moves, which 8- and 16-byte ones do not on
// the processors measured; each row loop loads what it needs of a block before it stores anything, so that
// no load waits behind a store whose address only looks alike.
static int32_t DetectAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? 1 : 0;
}
static const int32_t haveAvx2 = DetectAvx2();

int32_t RowsUseAvx2() {
    return haveAvx2;
}

typedef __m256i Vector;
__attribute__((target("avx2"))) static inline Vector Load32(const uint8_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
__attribute__((target("avx2"))) static inline void Store32(uint8_t* at, Vector v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v);
}

__attribute__((target("avx2"))) void FillRowAvx2(uint8_t* row, uint32_t count, uint16_t pixel) {
    const size_t bytes = 2 * static_cast<size_t>(count);
    const Vector v = _mm256_set1_epi16(static_cast<short>(pixel));
    size_t i = 0;
    for (; i + 128 <= bytes; i += 128) {
        Store32(row + i, v);
        Store32(row + i + 32, v);
        Store32(row + i + 64, v);
        Store32(row + i + 96, v);
    }
    for (; i + 32 <= bytes; i += 32) Store32(row + i, v);
    // The last store ends with the row, over pixels already set (at a pixel boundary: the pattern holds).
    if (i < bytes) Store32(row + bytes - 32, v);
}

// One plain row: groups of four vectors, each group loaded whole before it is stored; the rest as one to
// four vectors, the last of them ending with the row (over bytes the one before it stored already).
__attribute__((target("avx2"))) static inline void CopyRowBody(uint8_t* to, const uint8_t* from,
                                                               size_t bytes) {
    const size_t lastAt = bytes - 32;
    size_t i = 0;
    for (; i + 128 <= bytes; i += 128) {
        const Vector a = Load32(from + i), b = Load32(from + i + 32), c = Load32(from + i + 64),
                     d = Load32(from + i + 96);
        Store32(to + i, a);
        Store32(to + i + 32, b);
        Store32(to + i + 64, c);
        Store32(to + i + 96, d);
    }
    switch ((bytes - i + 31) / 32) {
    case 4: {
        const Vector a = Load32(from + i), b = Load32(from + i + 32), c = Load32(from + i + 64),
                     d = Load32(from + lastAt);
        Store32(to + i, a);
        Store32(to + i + 32, b);
        Store32(to + i + 64, c);
        Store32(to + lastAt, d);
        break;
    }
    case 3: {
        const Vector a = Load32(from + i), b = Load32(from + i + 32), d = Load32(from + lastAt);
        Store32(to + i, a);
        Store32(to + i + 32, b);
        Store32(to + lastAt, d);
        break;
    }
    case 2: {
        const Vector a = Load32(from + i), d = Load32(from + lastAt);
        Store32(to + i, a);
        Store32(to + lastAt, d);
        break;
    }
    case 1:
        Store32(to + lastAt, Load32(from + lastAt));
        break;
    default:
        break;
    }
}

// Sixteen lanes: the destination keeps its pixel where the source equals the key.
__attribute__((target("avx2"))) static inline Vector MergeKeyed32(Vector from, Vector to, Vector keys) {
    return _mm256_blendv_epi8(from, to, _mm256_cmpeq_epi16(from, keys));
}

// One keyed row. Merging a group twice gives what merging it once does, so the last group may overlap the
// one before it.
__attribute__((target("avx2"))) static inline void CopyRowKeyedBody(uint8_t* to, const uint8_t* from,
                                                                    size_t bytes, Vector keys) {
    size_t i = 0;
    for (; i + 128 <= bytes; i += 128) {
        const Vector a = Load32(from + i), b = Load32(from + i + 32), c = Load32(from + i + 64),
                     d = Load32(from + i + 96);
        const Vector ta = Load32(to + i), tb = Load32(to + i + 32), tc = Load32(to + i + 64),
                     td = Load32(to + i + 96);
        Store32(to + i, MergeKeyed32(a, ta, keys));
        Store32(to + i + 32, MergeKeyed32(b, tb, keys));
        Store32(to + i + 64, MergeKeyed32(c, tc, keys));
        Store32(to + i + 96, MergeKeyed32(d, td, keys));
    }
    for (; i + 32 <= bytes; i += 32) Store32(to + i, MergeKeyed32(Load32(from + i), Load32(to + i), keys));
    if (i < bytes)
        Store32(to + bytes - 32, MergeKeyed32(Load32(from + bytes - 32), Load32(to + bytes - 32), keys));
}

__attribute__((target("avx2"))) void CopyRowsAvx2(uint8_t* destination, uint32_t destinationStride,
                                                  const uint8_t* source, uint32_t sourceStride,
                                                  uint32_t width, uint32_t count, int32_t keyed,
                                                  uint16_t key) {
    const size_t bytes = 2 * static_cast<size_t>(width);
    const Vector keys = _mm256_set1_epi16(static_cast<short>(key));
    for (uint32_t y = 0; y < count; ++y) {
        uint8_t* to = destination + static_cast<size_t>(y) * destinationStride;
        const uint8_t* from = source + static_cast<size_t>(y) * sourceStride;
        if (keyed) {
            CopyRowKeyedBody(to, from, bytes, keys);
        } else {
            CopyRowBody(to, from, bytes);
        }
    }
}
#else
int32_t RowsUseAvx2() {
    return 0;
}
#endif

void FillRow(uint8_t* row, uint32_t count, uint16_t pixel) {
#if defined(VQ_HAVE_AVX2_ROWS)
    if (haveAvx2 && count >= 16) {
        FillRowAvx2(row, count, pixel);
        return;
    }
#endif
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

// Where the vector rows cannot be used, the C library's memmove beat inline 32-bit and 128-bit word loops at
// every row width measured; it also serves rows that overlap (a surface blitted onto itself).
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
#if defined(VQ_HAVE_AVX2_ROWS)
    if (haveAvx2 && count >= 16) {
        CopyRowsAvx2(destination, 0, source, 0, count, 1, 1, key);
        return;
    }
#endif
#if defined(__SSE2__)
    CopyRowKeyedSse2(destination, source, count, key);
#else
    CopyRowKeyedPortable(destination, source, count, key);
#endif
}

#if defined(VQ_HAVE_AVX2_ROWS)
// Whether the bytes the rows cover on one side and on the other lie apart.
static bool Apart(const uint8_t* destination, uint32_t destinationStride, const uint8_t* source,
                  uint32_t sourceStride, uint32_t width, uint32_t count) {
    const uintptr_t to = reinterpret_cast<uintptr_t>(destination), from = reinterpret_cast<uintptr_t>(source);
    const uintptr_t toEnd = to + static_cast<uintptr_t>(count - 1) * destinationStride + 2 * width;
    const uintptr_t fromEnd = from + static_cast<uintptr_t>(count - 1) * sourceStride + 2 * width;
    return toEnd <= from || fromEnd <= to;
}
#endif

void CopyRows(uint8_t* destination, uint32_t destinationStride, const uint8_t* source, uint32_t sourceStride,
              uint32_t width, uint32_t count, int32_t keyed, uint16_t key) {
    if (count == 0 || width == 0) return;
#if defined(VQ_HAVE_AVX2_ROWS)
    if (haveAvx2 && width >= 16 &&
        (keyed || 2 * width != sourceStride || sourceStride != destinationStride) &&
        Apart(destination, destinationStride, source, sourceStride, width, count)) {
        CopyRowsAvx2(destination, destinationStride, source, sourceStride, width, count, keyed, key);
        return;
    }
#endif
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
