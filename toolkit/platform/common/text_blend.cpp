#include "toolkit/platform/common/text_blend.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The channels are spread apart in one 32-bit word (green moved up 16 bits) so that a single multiply by
// a 5-bit weight mixes all three without carries between them: each channel becomes
// (text * weight + under * (32 - weight)) / 32, rounded down.
template <uint32_t Mask>
static inline uint16_t BlendPixel(uint16_t old, uint32_t a, uint32_t text, uint16_t pixel) {
    if (a == 0) return old;
    if (a == 255) return pixel;
    uint32_t weight = (a + 4) >> 3;
    uint32_t under = (old | (static_cast<uint32_t>(old) << 16)) & Mask;
    uint32_t mixed = ((text * weight + under * (32 - weight)) >> 5) & Mask;
    return static_cast<uint16_t>(mixed | (mixed >> 16));
}

#if defined(__SSE2__)
// Eight pixels at once, channel by channel in 16-bit lanes: the same sums as the spread words give, and
// the same two exceptions (0 keeps the surface's pixel whole, 255 writes the text pixel).
template <uint32_t Mask> static inline void BlendEight(uint8_t* out, uint64_t coverage, uint16_t pixel) {
    const int greenBits = Mask == 0x07E0F81Fu ? 6 : 5, redShift = Mask == 0x07E0F81Fu ? 11 : 10;
    const __m128i five = _mm_set1_epi16(0x1F), green = _mm_set1_epi16((1 << greenBits) - 1);
    const __m128i zero = _mm_setzero_si128(), thirtyTwo = _mm_set1_epi16(32);
    const __m128i a = _mm_unpacklo_epi8(_mm_set_epi64x(0, static_cast<long long>(coverage)), zero);
    const __m128i weight = _mm_srli_epi16(_mm_add_epi16(a, _mm_set1_epi16(4)), 3);
    const __m128i rest = _mm_sub_epi16(thirtyTwo, weight);
    const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    const __m128i text = _mm_set1_epi16(static_cast<short>(pixel));
    auto mix = [&](__m128i t, __m128i u) {
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(t, weight), _mm_mullo_epi16(u, rest)), 5);
    };
    const __m128i blue = mix(_mm_and_si128(text, five), _mm_and_si128(old, five));
    const __m128i greens =
        mix(_mm_and_si128(_mm_srli_epi16(text, 5), green), _mm_and_si128(_mm_srli_epi16(old, 5), green));
    const __m128i red = mix(_mm_and_si128(_mm_srli_epi16(text, redShift), five),
                            _mm_and_si128(_mm_srli_epi16(old, redShift), five));
    __m128i mixed =
        _mm_or_si128(_mm_or_si128(blue, _mm_slli_epi16(greens, 5)), _mm_slli_epi16(red, redShift));
    const __m128i none = _mm_cmpeq_epi16(a, zero), full = _mm_cmpeq_epi16(a, _mm_set1_epi16(255));
    mixed = _mm_or_si128(_mm_and_si128(none, old), _mm_andnot_si128(none, mixed));
    mixed = _mm_or_si128(_mm_and_si128(full, text), _mm_andnot_si128(full, mixed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), mixed);
}
#endif

#if defined(__SSE2__)
// The first count (1 to 7) coverage bytes in the low bytes of a word, zeros above them.
static inline uint64_t TailCoverage(const uint8_t* in, int32_t count) {
    uint64_t bytes = 0;
    int32_t at = 0;
    if (count & 4) {
        uint32_t four;
        memcpy(&four, in, 4);
        bytes = four;
        at = 4;
    }
    if (count & 2) {
        uint16_t two;
        memcpy(&two, in + at, 2);
        bytes |= static_cast<uint64_t>(two) << (8 * at);
        at += 2;
    }
    if (count & 1) bytes |= static_cast<uint64_t>(in[at]) << (8 * at);
    return bytes;
}
#endif

template <uint32_t Mask>
static void BlendRows(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, const uint8_t* coverage,
                      int32_t coveragePitch, int32_t width, int32_t rows, uint16_t pixel) {
    const uint32_t text = (pixel | (static_cast<uint32_t>(pixel) << 16)) & Mask;
    for (int32_t row = 0; row < rows; row++) {
        uint8_t* out = pixels + static_cast<size_t>(y + row) * stride + 2 * static_cast<size_t>(x);
        const uint8_t* in = coverage + static_cast<intptr_t>(row) * coveragePitch;
        int32_t column = 0;
#if defined(__SSE2__)
        for (; column + 8 <= width; column += 8) {
            uint64_t coverage;
            memcpy(&coverage, in + column, 8);
            BlendEight<Mask>(out + 2 * column, coverage, pixel);
        }
        // The last pixels as a group too, where the row has room for it: coverage 0 beyond them keeps the
        // surface's pixels as they are.
        if (column < width && 2 * static_cast<size_t>(x + column + 8) <= stride) {
            BlendEight<Mask>(out + 2 * column, TailCoverage(in + column, width - column), pixel);
            continue;
        }
#endif
        for (; column < width; column++) {
            uint16_t old;
            memcpy(&old, out + 2 * column, 2);
            const uint16_t result = BlendPixel<Mask>(old, in[column], text, pixel);
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

// Eight pixels a store in the bulk of each row (four without SSE2).
void FillPixels(uint8_t* pixels, uint32_t stride, int32_t x, int32_t y, int32_t width, int32_t rows,
                uint16_t pixel) {
    const uint64_t quad = pixel * 0x0001000100010001ull;
#if defined(__SSE2__)
    const __m128i eight = _mm_set1_epi16(static_cast<short>(pixel));
#endif
    for (int32_t row = 0; row < rows; row++) {
        uint8_t* out = pixels + static_cast<size_t>(y + row) * stride + 2 * static_cast<size_t>(x);
        int32_t column = 0;
#if defined(__SSE2__)
        for (; column + 8 <= width; column += 8)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * column), eight);
#endif
        for (; column + 4 <= width; column += 4) memcpy(out + 2 * column, &quad, 8);
        for (; column < width; column++) memcpy(out + 2 * column, &pixel, 2);
    }
}
