// Block packer and unpacker. Both are single passes over caller buffers with no allocation; the hot paths use
// SSE2 where the compiler offers it (every x86-64 target, and i686 built with -msse2). Defining
// VQ_PACKER_PORTABLE selects the portable paths, which produce the same bytes.
#include "util/block_packer.h"

#include <stddef.h>
#include <string.h>

#if defined(__SSE2__) && !defined(VQ_PACKER_PORTABLE)
#include <emmintrin.h>
#define VQ_PACKER_SSE2 1
#endif

namespace {

enum : uint32_t { endTag = 0, literalTag = 1, dictionaryTag = 2 };
enum : uint32_t { maxLiteral = 16, symbolCount = 8 };

} // namespace

static inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}
static inline void Store64(uint8_t* p, uint64_t v) {
    memcpy(p, &v, 8);
}
static inline void Copy16(uint8_t* to, const uint8_t* from) {
    memcpy(to, from, 16);
}
static inline uint32_t LowestBit64(uint64_t v) {
    return static_cast<uint32_t>(__builtin_ctzll(v));
}

static uint32_t VarintSize(uint32_t n) {
    uint32_t size = 1;
    while (n >= 0x80) n >>= 7, size++;
    return size;
}

// Literal blocks end at a ninth distinct value, which in text and other varied data comes within 8 to 16
// bytes. BlockLength gives the length of the block at p when it is such a literal block (8..16), else 17; it
// needs 17 readable bytes at p.
#if VQ_PACKER_SSE2
namespace {

// Block starts depend on the previous block's length, so finding each one afresh puts a long SIMD chain
// between blocks. Instead the length of a literal block starting at every position of a window is computed
// at once, 16 starts a vector, and the blocks step through that table. A window grows while literal blocks
// use it up and starts small after a dictionary block that reached beyond it.
enum : uint32_t { smallestWindow = 64, largestWindow = 1024 };
struct LiteralScan {
    const uint8_t* input;
    const uint8_t* inputEnd;
    const uint8_t* base; // position of lengths[0]
    const uint8_t* end;  // lengths are known for [base, end)
    uint32_t window;     // positions to compute next time
    // Per position: 17 - the distance to the previous byte of the same value when that is 1 to 16, else 0.
    alignas(16) uint8_t nearness[largestWindow + 32];
    alignas(16) uint8_t lengths[largestWindow];
};

} // namespace

static void StartLiteralScan(LiteralScan* scan, const uint8_t* input, const uint8_t* inputEnd) {
    scan->input = input;
    scan->inputEnd = inputEnd;
    scan->base = scan->end = input;
    scan->window = smallestWindow;
}

// A dictionary block that ends inside the window leaves it as it is; one that leaves it may have been long.
static void AfterDictionaryBlock(LiteralScan* scan, const uint8_t* p) {
    if (p >= scan->end) scan->window = smallestWindow;
}

// Nearness of the 16 positions at `at`, which has 16 readable bytes before it.
static inline __m128i Nearness(const uint8_t* at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    __m128i nearest = _mm_setzero_si128();
#pragma GCC unroll 16
    for (int32_t s = 16; s >= 1; s--) {
        const __m128i same = _mm_cmpeq_epi8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - s)));
        nearest = _mm_max_epu8(nearest, _mm_and_si128(same, _mm_set1_epi8(static_cast<char>(17 - s))));
    }
    return nearest;
}

// Computes lengths for [from, from + window) as far as blocks can start there (17 bytes to the input's end).
static void FillLengths(LiteralScan* scan, const uint8_t* from) {
    const size_t starts = static_cast<size_t>(scan->inputEnd - from) - 16; // from + 17 <= inputEnd
    const uint32_t count = starts < scan->window ? static_cast<uint32_t>(starts) : scan->window;
    // Nearness for every byte a block starting in the window may hold; none past the input's end.
    const uint32_t nearCount = count + 16;
    for (uint32_t k = 0; k < nearCount; k += 16) {
        const uint8_t* at = from + k;
        if (scan->inputEnd - at < 16 || at - scan->input < 16) {
            // At the input's edges, a byte at a time by offsets into the input.
            const uint8_t* input = scan->input;
            const size_t size = static_cast<size_t>(scan->inputEnd - input),
                         first = static_cast<size_t>(at - input);
            for (uint32_t j = 0; j < 16; j++) {
                const size_t i = first + j;
                uint8_t found = 0;
                for (uint32_t s = 16; s >= 1; s--)
                    if (i < size && i >= s && input[i - s] == input[i]) found = static_cast<uint8_t>(17 - s);
                scan->nearness[k + j] = found;
            }
            continue;
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(scan->nearness + k), Nearness(at));
    }
    // A block from position i takes lane j's byte as new when its nearness is at most 16 - j; it ends at the
    // first j where that makes nine, so its length is the number of j in 0..16 with at most eight so far: all
    // j up to 7, and those from 8 on while j + 1 + repeats <= 8.
    for (uint32_t k = 0; k < count; k += 16) {
        __m128i repeats = _mm_setzero_si128(); // minus the repeated bytes so far, per start
        __m128i length = _mm_set1_epi8(8);
#pragma GCC unroll 16
        for (int32_t j = 1; j <= 16; j++) {
            const __m128i near = _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan->nearness + k + j));
            repeats = _mm_add_epi8(repeats, _mm_cmpgt_epi8(near, _mm_set1_epi8(static_cast<char>(16 - j))));
            if (j >= 8)
                length =
                    _mm_sub_epi8(length, _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(8 - j)), repeats));
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(scan->lengths + k), length);
    }
    scan->base = from;
    scan->end = from + count;
    if (scan->window < largestWindow) scan->window *= 2;
}

static inline uint32_t BlockLength(LiteralScan* scan, const uint8_t* p) {
    if (p >= scan->end) FillLengths(scan, p); // blocks only move forward
    return scan->lengths[p - scan->base];
}
#else
namespace {

struct LiteralScan {};

} // namespace

static void StartLiteralScan(LiteralScan*, const uint8_t*, const uint8_t*) {}
static void AfterDictionaryBlock(LiteralScan*, const uint8_t*) {}

static uint32_t BlockLength(LiteralScan*, const uint8_t* p) {
    uint64_t seen[4] = {0, 0, 0, 0};
    uint32_t distinct = 0;
    for (uint32_t j = 0; j <= maxLiteral; j++) {
        const uint64_t bit = 1ull << (p[j] & 63);
        if (seen[p[j] >> 6] & bit) continue;
        if (distinct == symbolCount) return j;
        distinct++;
        seen[p[j] >> 6] |= bit;
    }
    return maxLiteral + 1;
}
#endif

// Scans the dictionary block at p: its length (up to the ninth distinct value or the end), its values in
// order of first appearance (unused entries 0) and their counts (unused 0).
#if VQ_PACKER_SSE2
// 16 zero bytes then 16 of 0xFF: the 16 bytes from 16 - s have lanes s and up set.
alignas(16) static const uint8_t laneMasks[32] = {
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Lanes of the 16 bytes at p whose value no earlier lane holds, as bits.
static uint32_t FirstOccurrences(const uint8_t* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Lane j is seen when it equals lane j - s; lanes below s compare with shifted-in zeros and are masked.
#define VQ_SEEN(s)                                                                                           \
    _mm_and_si128(_mm_cmpeq_epi8(v, _mm_slli_si128(v, s)),                                                   \
                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(laneMasks + 16 - s)))
    const __m128i seen = _mm_or_si128(
        _mm_or_si128(
            _mm_or_si128(_mm_or_si128(VQ_SEEN(1), VQ_SEEN(2)), _mm_or_si128(VQ_SEEN(3), VQ_SEEN(4))),
            _mm_or_si128(_mm_or_si128(VQ_SEEN(5), VQ_SEEN(6)), _mm_or_si128(VQ_SEEN(7), VQ_SEEN(8)))),
        _mm_or_si128(
            _mm_or_si128(_mm_or_si128(VQ_SEEN(9), VQ_SEEN(10)), _mm_or_si128(VQ_SEEN(11), VQ_SEEN(12))),
            _mm_or_si128(_mm_or_si128(VQ_SEEN(13), VQ_SEEN(14)), VQ_SEEN(15))));
#undef VQ_SEEN
    return ~static_cast<uint32_t>(_mm_movemask_epi8(seen)) & 0xFFFF;
}

static uint32_t ScanDictionary(const uint8_t* p, const uint8_t* end, uint8_t symbols[8], uint32_t counts[8]) {
    // Unused compare slots repeat the first value, so they never widen the set; their tallies restart when
    // used.
    __m128i match[symbolCount], tally[symbolCount];
    uint32_t total[symbolCount];
    for (uint32_t k = 0; k < symbolCount; k++) {
        match[k] = _mm_set1_epi8(static_cast<char>(p[0]));
        tally[k] = _mm_setzero_si128();
        total[k] = 0;
        symbols[k] = 0;
    }
    symbols[0] = p[0];
    uint32_t distinct = 1, rounds = 0;
    // The values of the first 16 bytes at once, in order of appearance: finding them one by one below costs
    // a mispredicted branch each, which dominates short blocks.
    for (uint32_t first = FirstOccurrences(p) & ~1u; first && distinct < symbolCount; first &= first - 1) {
        const uint8_t value = p[__builtin_ctz(first)];
        symbols[distinct] = value;
        match[distinct++] = _mm_set1_epi8(static_cast<char>(value));
    }
    const uint8_t* q = p;
    const __m128i zero = _mm_setzero_si128();
    auto flush = [&]() {
        for (uint32_t k = 0; k < symbolCount; k++) {
            const __m128i sums = _mm_sad_epu8(tally[k], zero);
            total[k] += static_cast<uint32_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
            tally[k] = zero;
        }
        rounds = 0;
    };
    while (end - q >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        __m128i eq[symbolCount];
        __m128i in = zero;
        for (uint32_t k = 0; k < symbolCount; k++) {
            eq[k] = _mm_cmpeq_epi8(v, match[k]);
            in = _mm_or_si128(in, eq[k]);
        }
        const uint32_t inSet = static_cast<uint32_t>(_mm_movemask_epi8(in));
        if (inSet == 0xFFFF) {
            for (uint32_t k = 0; k < symbolCount; k++) tally[k] = _mm_sub_epi8(tally[k], eq[k]);
            q += 16;
            if (++rounds == 255) flush();
            continue;
        }
        const uint32_t j = static_cast<uint32_t>(__builtin_ctz(~inSet));
        if (distinct == symbolCount) {
            // Count the lanes before the ninth value and stop there.
            const __m128i lanes = _mm_set_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
            const __m128i before = _mm_cmplt_epi8(lanes, _mm_set1_epi8(static_cast<char>(j)));
            for (uint32_t k = 0; k < symbolCount; k++)
                tally[k] = _mm_sub_epi8(tally[k], _mm_and_si128(eq[k], before));
            q += j;
            flush();
            for (uint32_t k = 0; k < symbolCount; k++) counts[k] = total[k];
            return static_cast<uint32_t>(q - p);
        }
        // New values: widen the set by those of these 16 bytes, in order of appearance and as far as it goes,
        // and test the same bytes again.
        for (uint32_t newcomers = ~inSet & FirstOccurrences(q); newcomers && distinct < symbolCount;
             newcomers &= newcomers - 1) {
            const uint8_t value = q[__builtin_ctz(newcomers)];
            symbols[distinct] = value;
            match[distinct] = _mm_set1_epi8(static_cast<char>(value));
            tally[distinct] = zero;
            total[distinct++] = 0;
        }
    }
    flush();
    for (; q < end; q++) {
        uint32_t k = 0;
        while (k < distinct && symbols[k] != *q) k++;
        if (k == distinct) {
            if (distinct == symbolCount) break;
            symbols[distinct] = *q;
            total[distinct++] = 0; // the flush above tallied this unused slot
        }
        total[k]++;
    }
    for (uint32_t k = 0; k < symbolCount; k++) counts[k] = k < distinct ? total[k] : 0;
    return static_cast<uint32_t>(q - p);
}
#else
static uint32_t ScanDictionary(const uint8_t* p, const uint8_t* end, uint8_t symbols[8], uint32_t counts[8]) {
    uint8_t slot[256]; // 1 + index of a value in symbols, 0 when not yet seen
    memset(slot, 0, sizeof slot);
    for (uint32_t k = 0; k < symbolCount; k++) symbols[k] = 0, counts[k] = 0;
    uint32_t distinct = 0;
    const uint8_t* q = p;
    for (; q < end; q++) {
        uint32_t s = slot[*q];
        if (!s) {
            if (distinct == symbolCount) break;
            symbols[distinct] = *q;
            s = slot[*q] = static_cast<uint8_t>(++distinct);
        }
        counts[s - 1]++;
    }
    return static_cast<uint32_t>(q - p);
}
#endif
namespace {

// The codes of three indexes a, b, c (table entry a * 64 + b * 8 + c) written one after the other: at most 24
// bits, and how many.
struct TripleCodes {
    uint32_t bits[512];
    uint8_t length[512];
};

} // namespace

static constexpr TripleCodes MakeTripleCodes() {
    TripleCodes t = {};
    for (uint32_t e = 0; e < 512; e++) {
        const uint32_t a = e >> 6, b = e >> 3 & 7, c = e & 7;
        t.bits[e] = 1u << a | 1u << (a + 1 + b) | 1u << (a + b + 2 + c);
        t.length[e] = static_cast<uint8_t>(a + b + c + 3);
    }
    return t;
}

static constexpr TripleCodes tripleCodes = MakeTripleCodes();

// Writes the codes of the n bytes at p, indexed by rank, from out on; no store reaches outEnd.
static void WriteBitArea(const uint8_t* p, uint32_t n, const uint8_t rank[256], uint8_t* out,
                         uint8_t* outEnd) {
    uint64_t bits = 0;
    uint32_t used = 0; // bits pending in `bits`, at most 7 between groups
    uint32_t left = n;
    // Two triples of codes, 48 bits at most, fit above up to 7 pending bits.
    while (left >= 6 && outEnd - out >= 8) {
        const uint32_t first = rank[p[0]] << 6 | rank[p[1]] << 3 | rank[p[2]];
        const uint32_t second = rank[p[3]] << 6 | rank[p[4]] << 3 | rank[p[5]];
        bits |= static_cast<uint64_t>(tripleCodes.bits[first]) << used;
        used += tripleCodes.length[first];
        bits |= static_cast<uint64_t>(tripleCodes.bits[second]) << used;
        used += tripleCodes.length[second];
        p += 6;
        left -= 6;
        Store64(out, bits);
        const uint32_t whole = used >> 3;
        out += whole;
        bits >>= whole * 8; // whole <= 6
        used &= 7;
    }
    for (; left; left--, p++) {
        const uint32_t i = rank[*p];
        bits |= 1ull << (used + i);
        used += i + 1;
        while (used >= 8) *out++ = static_cast<uint8_t>(bits), bits >>= 8, used -= 8;
    }
    if (used) *out = static_cast<uint8_t>(bits);
}
namespace {

// What one byte of a bit area holds, whatever came before it: how many codes end in it, the zeros before its
// first 1 bit (8 for 0x00), the zeros above its last 1 bit (that open the next code) and, for the codes that
// both start and end inside it after the first, their indexes as bytes, lowest first.
struct ByteCodes {
    uint8_t count[256];
    uint8_t first[256];
    uint8_t open[256];
    uint64_t inner[256];
};

} // namespace

static constexpr ByteCodes MakeByteCodes() {
    ByteCodes t = {};
    for (uint32_t b = 0; b < 256; b++) {
        uint32_t count = 0, last = 0;
        t.first[b] = 8;
        for (uint32_t bit = 0; bit < 8; bit++) {
            if (!(b >> bit & 1)) continue;
            if (count == 0)
                t.first[b] = static_cast<uint8_t>(bit);
            else
                t.inner[b] |= static_cast<uint64_t>(bit - last - 1) << (8 * (count - 1));
            last = bit;
            count++;
        }
        t.count[b] = static_cast<uint8_t>(count);
        t.open[b] = static_cast<uint8_t>(count ? 7 - last : 8);
    }
    return t;
}

static constexpr ByteCodes byteCodes = MakeByteCodes();

// Blocks of at least this many codes are decoded a byte at a time through a table of their own symbols.
static constexpr uint64_t byteTableCodes = 512;

// For each byte value, the symbols of its inner codes, lowest first.
static void MakeInnerSymbols(const uint8_t symbols[8], uint64_t inner[256]) {
    for (uint32_t b = 0; b < 256; b++) {
        uint64_t bytes = 0;
        for (uint32_t j = 0; j + 1 < byteCodes.count[b]; j++)
            bytes |= static_cast<uint64_t>(symbols[byteCodes.inner[b] >> (8 * j) & 7]) << (8 * j);
        inner[b] = bytes;
    }
}

// Decodes `count` codes (at most 7, so they lie in the 57 or more bits of a window shifted by up to 7) into
// out; returns the OR of their indexes, above 7 when one is bad, and sets *last to the bit of the last
// code's 1.
static inline uint32_t DecodeCodes(uint64_t window, uint32_t count, const uint8_t symbols[8], uint8_t* out,
                                   uint32_t* last) {
    const uint64_t stop = 1ull << 63; // bounds the search; a gap reaching it is a bad index
    uint32_t previous = ~0u, indexes = 0;
    for (uint32_t j = 0; j < count; j++) {
        const uint32_t at = LowestBit64(window | stop);
        const uint32_t index = at - previous - 1;
        indexes |= index;
        out[j] = symbols[index & 7];
        window &= window - 1;
        previous = at;
    }
    *last = previous;
    return indexes;
}

uint64_t PackBlocksBound(uint32_t inputSize) {
    // A literal block inside the stream holds at least 8 bytes (it ends at a ninth distinct value) and costs
    // 2 more; a dictionary block of n >= 17 bytes codes at most 4.5 bits a byte on average (frequency order),
    // so it costs at most 10 + varint + 0.5625 n <= 1.25 n. The last literal block and the end block add 3.
    return static_cast<uint64_t>(inputSize) + inputSize / 4 + 3;
}

void SortDictionary(uint8_t symbols[8], uint32_t counts[8]) {
    // The insertion sort that places each entry before the first placed one whose count is not above its own
    // orders by count, later entries first among equal counts: descending by count * 8 + entry. A sorting
    // network over registers does that without data-dependent branches.
    uint64_t k[symbolCount];
    for (uint32_t i = 0; i < symbolCount; i++) k[i] = static_cast<uint64_t>(counts[i]) << 3 | i;
    uint64_t k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3], k4 = k[4], k5 = k[5], k6 = k[6], k7 = k[7];
    auto order = [](uint64_t& a, uint64_t& b) {
        const uint64_t high = a > b ? a : b, low = a > b ? b : a;
        a = high, b = low;
    };
    order(k0, k2), order(k1, k3), order(k4, k6), order(k5, k7);
    order(k0, k4), order(k1, k5), order(k2, k6), order(k3, k7);
    order(k0, k1), order(k2, k3), order(k4, k5), order(k6, k7);
    order(k2, k4), order(k3, k5);
    order(k1, k4), order(k3, k6);
    order(k1, k2), order(k3, k4), order(k5, k6);
    const uint64_t sorted[symbolCount] = {k0, k1, k2, k3, k4, k5, k6, k7};
    uint8_t sortedSymbols[symbolCount];
    for (uint32_t i = 0; i < symbolCount; i++) {
        sortedSymbols[i] = symbols[sorted[i] & 7];
        counts[i] = static_cast<uint32_t>(sorted[i] >> 3);
    }
    memcpy(symbols, sortedSymbols, sizeof sortedSymbols);
}

int64_t PackBlocks(const uint8_t* input, uint32_t inputSize, uint8_t* output, uint32_t outputCapacity) {
    const uint8_t* p = input;
    const uint8_t* const end = input + inputSize;
    uint8_t* out = output;
    uint8_t* const outEnd = output + outputCapacity;
    uint8_t rank[256]; // read only for the values of the current dictionary block
    LiteralScan scan;
    StartLiteralScan(&scan, input, end);
    while (p < end) {
        const size_t left = static_cast<size_t>(end - p);
        if (left <= maxLiteral) {
            if (static_cast<size_t>(outEnd - out) < left + 2) return packOutputFull;
            out[0] = literalTag;
            out[1] = static_cast<uint8_t>(left);
            memcpy(out + 2, p, left);
            out += left + 2;
            break;
        }
        const uint32_t length = BlockLength(&scan, p);
        if (length <= maxLiteral) {
            if (outEnd - out >= 2 + 16) {
                Copy16(out + 2, p); // 17 bytes are readable at p
            } else {
                if (static_cast<size_t>(outEnd - out) < 2 + length) return packOutputFull;
                memcpy(out + 2, p, length);
            }
            out[0] = literalTag;
            out[1] = static_cast<uint8_t>(length);
            out += 2 + length;
            p += length;
            continue;
        }
        uint8_t symbols[symbolCount];
        uint32_t counts[symbolCount];
        const uint32_t n = ScanDictionary(p, end, symbols, counts);
        SortDictionary(symbols, counts);
        uint64_t bits = 0;
        for (uint32_t k = symbolCount; k-- > 0;) {
            rank[symbols[k]] = static_cast<uint8_t>(k); // the first entry holding a value wins
            bits += static_cast<uint64_t>(counts[k]) * (k + 1);
        }
        const uint64_t areaSize = (bits + 7) / 8;
        const uint32_t varintSize = VarintSize(n);
        if (static_cast<uint64_t>(outEnd - out) < 1 + symbolCount + varintSize + areaSize)
            return packOutputFull;
        out[0] = dictionaryTag;
        memcpy(out + 1, symbols, symbolCount);
        out += 1 + symbolCount;
        uint32_t rest = n;
        for (; rest >= 0x80; rest >>= 7) *out++ = static_cast<uint8_t>(rest | 0x80);
        *out++ = static_cast<uint8_t>(rest);
        WriteBitArea(p, n, rank, out, outEnd);
        out += areaSize;
        p += n;
        AfterDictionaryBlock(&scan, p);
    }
    if (out == outEnd) return packOutputFull;
    *out++ = endTag;
    return out - output;
}

int64_t UnpackBlocks(const uint8_t* packed, uint32_t packedSize, uint8_t* output, uint32_t outputCapacity) {
    const uint8_t* in = packed;
    const uint8_t* const inEnd = packed + packedSize;
    uint8_t* out = output;
    uint8_t* const outEnd = output + outputCapacity;
    // Literal blocks that start before these lie well inside both buffers.
    const uint8_t* const inFast = packedSize > 2 + 16 ? inEnd - (2 + 16) : packed;
    uint8_t* const outFast = outputCapacity > 16 ? outEnd - 16 : output;
    for (;;) {
        // The common case in text: short literal blocks, each moved as one 16-byte copy.
        while (in < inFast && out < outFast && in[0] == literalTag && in[1] <= 16) {
            const size_t length = in[1];
            Copy16(out, in + 2);
            out += length;
            in += 2 + length;
        }
        if (in == inEnd) return packTruncated;
        const uint32_t tag = in[0];
        if (tag == literalTag) {
            if (inEnd - in < 2 || inEnd - in - 2 < in[1]) return packTruncated;
            const uint32_t length = in[1];
            if (static_cast<size_t>(outEnd - out) < length) return packOutputFull;
            memcpy(out, in + 2, length);
            out += length;
            in += 2 + length;
            continue;
        }
        if (tag != dictionaryTag)
            return tag == endTag ? static_cast<int64_t>(out - output) : static_cast<int64_t>(packBadTag);

        if (inEnd - in < static_cast<ptrdiff_t>(1 + symbolCount + 1)) return packTruncated;
        uint8_t symbols[symbolCount];
        memcpy(symbols, in + 1, symbolCount);
        in += 1 + symbolCount;
        uint64_t n = 0;
        for (uint32_t shift = 0;; shift += 7) {
            if (in == inEnd) return packTruncated;
            const uint32_t byte = *in++;
            n |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) break;
            if (shift == 28) return packBadCount; // a sixth byte would follow
        }
        if (n == 0 || n > 0xFFFFFFFFu) return packBadCount;
        // Every code takes at least one bit: a bit area too short for n codes is cut off whatever it holds.
        if (static_cast<uint64_t>(inEnd - in) < (n + 7) / 8) return packTruncated;
        if (static_cast<uint64_t>(outEnd - out) < n) return packOutputFull;

        uint64_t left = n;
        uint32_t offset = 0; // bit offset in *in, 0..7 between symbols
        if (n >= byteTableCodes) {
            // A byte at a time: the first code ending in it also holds the zeros left open before it, the
            // rest come from the table in one store. Two bytes in reach keep every failure here a bad symbol.
            uint64_t innerSymbols[256];
            MakeInnerSymbols(symbols, innerSymbols);
            uint32_t open = 0;
            while (left > 8 && inEnd - in >= 2) {
                const uint32_t byte = *in++;
                const uint32_t first = open + byteCodes.first[byte];
                if (first > 7) return packBadSymbol;
                out[0] = symbols[first];
                Store64(out + 1, innerSymbols[byte]); // left > 8 leaves room for 9 bytes
                out += byteCodes.count[byte];
                left -= byteCodes.count[byte];
                open = byteCodes.open[byte];
            }
            if (open) in--, offset = 8 - open;
        }
        // Seven codes of at most 8 bits each lie in the 57 or more bits of a 64-bit window; the last symbol
        // is left to the checked loop below, which finds where the next block starts.
        while (left > 7 && inEnd - in >= 8) {
            uint32_t last;
            if (DecodeCodes(Load64(in) >> offset, 7, symbols, out, &last) > 7) return packBadSymbol;
            const uint32_t consumed = offset + last + 1;
            in += consumed >> 3;
            offset = consumed & 7;
            out += 7;
            left -= 7;
        }
        if (inEnd - in >= 8) {
            // The last codes, at most seven, from one window as well; the next block follows the byte that
            // holds the last 1 bit.
            uint32_t last;
            if (DecodeCodes(Load64(in) >> offset, static_cast<uint32_t>(left), symbols, out, &last) > 7)
                return packBadSymbol;
            out += left;
            in += (offset + last) / 8 + 1;
            continue;
        }
        for (;;) {
            if (in == inEnd) return packTruncated;
            const bool hasNext = inEnd - in >= 2;
            const uint32_t window = (in[0] | (hasNext ? in[1] << 8 : 0)) >> offset;
            if (!(window & 0xFF)) return hasNext ? packBadSymbol : packTruncated;
            const uint32_t index = static_cast<uint32_t>(__builtin_ctz(window));
            *out++ = symbols[index];
            offset += index + 1;
            if (--left == 0) break;
            if (offset >= 8) in++, offset -= 8;
        }
        in += offset > 8 ? 2 : 1;
    }
}
