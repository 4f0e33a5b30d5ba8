// Block packer: known packed forms, round trips checked against a plain byte-at-a-time packer, the size
// bound, exactly sized buffers and every class of malformed stream.
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "util/block_packer.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(std::initializer_list<int> values) {
    return Bytes(values.begin(), values.end());
}

// Copies into a heap block of exactly that size, so reads past it trip the address sanitizer.
std::unique_ptr<uint8_t[]> Exact(const Bytes& bytes) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    if (!bytes.empty()) memcpy(block.get(), bytes.data(), bytes.size());
    return block;
}

// Output buffers carry a guard area after the capacity that must stay untouched.
constexpr size_t guardSize = 64;
constexpr uint8_t guardByte = 0xA5;

bool GuardIntact(const Bytes& buffer, size_t capacity) {
    for (size_t i = capacity; i < buffer.size(); i++)
        if (buffer[i] != guardByte) return false;
    return true;
}

struct Outcome {
    int64_t result;
    Bytes bytes; // the first `result` bytes when result >= 0
    bool guardIntact;
};

Outcome Pack(const Bytes& input, uint64_t capacity) {
    auto in = Exact(input);
    Bytes out(capacity + guardSize, guardByte);
    Outcome o;
    o.result = PackBlocks(in.get(), static_cast<uint32_t>(input.size()), out.data(),
                          static_cast<uint32_t>(capacity));
    o.guardIntact = GuardIntact(out, capacity);
    if (o.result >= 0) o.bytes.assign(out.begin(), out.begin() + o.result);
    return o;
}

Outcome Unpack(const Bytes& packed, uint64_t capacity) {
    auto in = Exact(packed);
    Bytes out(capacity + guardSize, guardByte);
    Outcome o;
    o.result = UnpackBlocks(in.get(), static_cast<uint32_t>(packed.size()), out.data(),
                            static_cast<uint32_t>(capacity));
    o.guardIntact = GuardIntact(out, capacity);
    if (o.result >= 0) o.bytes.assign(out.begin(), out.begin() + o.result);
    return o;
}

Bytes PackWithBound(const Bytes& input) {
    Outcome o = Pack(input, PackBlocksBound(static_cast<uint32_t>(input.size())));
    EXPECT_GE(o.result, 0);
    EXPECT_TRUE(o.guardIntact);
    return o.bytes;
}

// The format written out one byte at a time, straight from its definition.
Bytes PlainPack(const Bytes& input) {
    Bytes out;
    size_t p = 0;
    while (p < input.size()) {
        size_t left = input.size() - p;
        if (left <= 16) {
            out.push_back(1);
            out.push_back(static_cast<uint8_t>(left));
            out.insert(out.end(), input.begin() + p, input.end());
            break;
        }
        uint8_t symbols[8] = {};
        uint32_t counts[8] = {};
        int distinct = 0;
        size_t n = 0;
        for (; p + n < input.size(); n++) {
            int k = 0;
            while (k < distinct && symbols[k] != input[p + n]) k++;
            if (k == distinct) {
                if (distinct == 8) break;
                symbols[distinct++] = input[p + n];
            }
            counts[k]++;
        }
        if (n <= 16) {
            out.push_back(1);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), input.begin() + p, input.begin() + p + n);
        } else {
            SortDictionary(symbols, counts);
            out.push_back(2);
            out.insert(out.end(), symbols, symbols + 8);
            for (size_t v = n;; v >>= 7) {
                out.push_back(static_cast<uint8_t>((v & 0x7F) | (v >= 0x80 ? 0x80 : 0)));
                if (v < 0x80) break;
            }
            size_t bit = 0, start = out.size();
            for (size_t j = 0; j < n; j++) {
                int index = 0;
                while (symbols[index] != input[p + j]) index++;
                bit += index;
                if (out.size() <= start + bit / 8) out.resize(start + bit / 8 + 1, 0);
                out[start + bit / 8] |= static_cast<uint8_t>(1 << (bit % 8));
                bit++;
            }
        }
        p += n;
    }
    out.push_back(0);
    return out;
}

// Inputs of many shapes: runs, small alphabets, text-like, random, with block edges near 16 and 17 bytes.
std::vector<Bytes> VariedInputs() {
    std::vector<Bytes> inputs;
    std::mt19937 rng(12345);
    for (int alphabet : {1, 2, 3, 5, 8, 9, 12, 30, 256})
        for (size_t size : {0, 1, 15, 16, 17, 18, 31, 33, 100, 1000, 5000}) {
            Bytes b(size);
            for (auto& v : b) v = static_cast<uint8_t>(rng() % alphabet * 7);
            inputs.push_back(b);
        }
    // Runs of random lengths over shifting small alphabets: dictionary blocks of every length.
    for (int round = 0; round < 40; round++) {
        Bytes b;
        size_t size = rng() % 20000;
        while (b.size() < size) {
            int alphabet = 1 + rng() % 9;
            uint8_t base = static_cast<uint8_t>(rng());
            size_t run = 1 + rng() % (rng() % 2 ? 40 : 3000);
            for (size_t j = 0; j < run; j++) b.push_back(static_cast<uint8_t>(base + rng() % alphabet));
        }
        inputs.push_back(b);
    }
    // Long blocks: multi-byte counts, zero among the used values, long tallies.
    inputs.push_back(Bytes(70000, 0));
    Bytes skewed(100000);
    for (size_t j = 0; j < skewed.size(); j++) skewed[j] = static_cast<uint8_t>(__builtin_ctz(rng() | 0x80));
    inputs.push_back(skewed);
    std::string text = "The quick brown fox jumps over the lazy dog, and then it rests     in the shade.\n";
    Bytes prose;
    for (int j = 0; j < 50; j++) prose.insert(prose.end(), text.begin(), text.end());
    inputs.push_back(prose);
    return inputs;
}

TEST(BlockPacker, KnownPackedForms) {
    EXPECT_EQ(PackWithBound({}), Hex({0x00}));
    EXPECT_EQ(PackWithBound(Hex({'h', 'e', 'l', 'l', 'o'})),
              Hex({0x01, 0x05, 0x68, 0x65, 0x6C, 0x6C, 0x6F, 0x00}));

    Bytes abc;
    for (int j = 0; j < 6; j++) abc.insert(abc.end(), {'a', 'b', 'c'});
    EXPECT_EQ(PackWithBound(abc), Hex({0x02, 0x63, 0x62, 0x61, 0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x4D,
                                       0xD3, 0x34, 0x0D, 0x00}));

    EXPECT_EQ(PackWithBound(Bytes(20, 'a')),
              Hex({0x02, 0x61, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0xFF, 0xFF, 0x0F, 0x00}));

    Bytes counting(20);
    for (int j = 0; j < 20; j++) counting[j] = static_cast<uint8_t>(j);
    Bytes expected = {0x01, 0x08};
    expected.insert(expected.end(), counting.begin(), counting.begin() + 8);
    expected.insert(expected.end(), {0x01, 0x0C});
    expected.insert(expected.end(), counting.begin() + 8, counting.end());
    expected.push_back(0x00);
    EXPECT_EQ(PackWithBound(counting), expected);

    // Eight values over 16 bytes, then two of a ninth: no dictionary block for 16 bytes.
    Bytes sixteen;
    for (int j = 0; j < 16; j++) sixteen.push_back(static_cast<uint8_t>(j % 8));
    Bytes sixteenThenNinth = sixteen;
    sixteenThenNinth.insert(sixteenThenNinth.end(), {9, 9});
    expected = {0x01, 0x10};
    expected.insert(expected.end(), sixteen.begin(), sixteen.end());
    expected.insert(expected.end(), {0x01, 0x02, 0x09, 0x09, 0x00});
    EXPECT_EQ(PackWithBound(sixteenThenNinth), expected);

    // Counts of 200 and 127: varints C8 01 and 7F, all-ones bit areas.
    Bytes packed = PackWithBound(Bytes(200, 'a'));
    ASSERT_EQ(packed.size(), 1 + 8 + 2 + 25 + 1u);
    EXPECT_EQ(packed[9], 0xC8);
    EXPECT_EQ(packed[10], 0x01);
    EXPECT_EQ(packed[11 + 24], 0xFF);
    packed = PackWithBound(Bytes(127, 'a'));
    ASSERT_EQ(packed.size(), 1 + 8 + 1 + 16 + 1u);
    EXPECT_EQ(packed[9], 0x7F);
    EXPECT_EQ(packed[10 + 15], 0x7F); // 127 bits: the last byte holds seven
}

TEST(BlockPacker, SortDictionaryOrdersByCountLaterTiesFirst) {
    uint8_t symbols[8] = {'a', 'b', 'c', 'd', 0, 0, 0, 0};
    uint32_t counts[8] = {2, 5, 2, 1, 0, 0, 0, 0};
    SortDictionary(symbols, counts);
    EXPECT_EQ(Bytes(symbols, symbols + 8), Hex({'b', 'c', 'a', 'd', 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint32_t>(counts, counts + 8), std::vector<uint32_t>({5, 2, 2, 1, 0, 0, 0, 0}));

    uint8_t same[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint32_t equal[8] = {3, 3, 3, 3, 3, 3, 3, 3};
    SortDictionary(same, equal);
    EXPECT_EQ(Bytes(same, same + 8), Hex({8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(BlockPacker, RoundTripsMatchPlainPacker) {
    for (const Bytes& input : VariedInputs()) {
        SCOPED_TRACE(input.size());
        Bytes packed = PackWithBound(input);
        ASSERT_EQ(packed, PlainPack(input));
        Outcome back = Unpack(packed, input.size());
        ASSERT_EQ(back.result, static_cast<int64_t>(input.size()));
        EXPECT_EQ(back.bytes, input);
        // A larger output buffer changes nothing.
        back = Unpack(packed, input.size() + 100);
        EXPECT_EQ(back.bytes, input);
    }
}

TEST(BlockPacker, BoundCoversWorstCases) {
    // Literal blocks of 8 bytes: each costs 10.
    Bytes shortLiterals(8 * 1000);
    for (size_t j = 0; j < shortLiterals.size(); j++) shortLiterals[j] = static_cast<uint8_t>(j);
    // Dictionary blocks of 17 bytes over eight evenly used values, each ended by the next block's new values.
    Bytes smallDictionaries;
    for (int block = 0; block < 600; block++)
        for (int j = 0; j < 17; j++)
            smallDictionaries.push_back(static_cast<uint8_t>((block % 2) * 8 + j % 8));
    Bytes evenEight(5000);
    for (size_t j = 0; j < evenEight.size(); j++) evenEight[j] = static_cast<uint8_t>(j % 8);

    for (const Bytes* worst : {&shortLiterals, &smallDictionaries, &evenEight})
        for (size_t cut = worst->size() - 40; cut <= worst->size(); cut++) {
            Bytes input(worst->begin(), worst->begin() + cut);
            uint64_t bound = PackBlocksBound(static_cast<uint32_t>(cut));
            Bytes packed = PackWithBound(input);
            EXPECT_LE(packed.size(), bound);
            if (worst == &shortLiterals) {
                EXPECT_GE(packed.size() + 8, bound) << "bound far from the worst case";
            }
        }
    EXPECT_EQ(PackWithBound(shortLiterals).size(), 10 * 998 + 18 + 1u);
    EXPECT_EQ(PackWithBound(smallDictionaries).size(), 20 * 600 + 1u);

    std::mt19937 rng(7);
    for (uint32_t size = 0; size < 600; size++) {
        Bytes input(size);
        for (auto& v : input) v = static_cast<uint8_t>(rng() % (size % 3 == 0 ? 256 : 9));
        EXPECT_LE(PackWithBound(input).size(), PackBlocksBound(size));
    }
    EXPECT_EQ(PackBlocksBound(0xFFFFFFFFu), 0xFFFFFFFFull + 0x3FFFFFFF + 3);
}

TEST(BlockPacker, ExactlySizedOutputs) {
    Bytes dictionaryLast(300, 'x');
    Bytes literalLast = dictionaryLast;
    const char* nine = "abcdefghi"; // the ninth value ends the dictionary block
    literalLast.insert(literalLast.end(), nine, nine + 9);
    Bytes fastPathEdge(33);
    for (size_t j = 0; j < fastPathEdge.size(); j++) fastPathEdge[j] = static_cast<uint8_t>(j * 5);
    for (const Bytes& input :
         {Bytes(), Hex({'h', 'i'}), dictionaryLast, literalLast, fastPathEdge, Bytes(20, 'a')}) {
        SCOPED_TRACE(input.size());
        Bytes packed = PlainPack(input);
        Outcome full = Pack(input, packed.size());
        EXPECT_EQ(full.bytes, packed);
        EXPECT_TRUE(full.guardIntact);
        for (size_t capacity = 0; capacity < packed.size(); capacity++) {
            Outcome shortOf = Pack(input, capacity);
            EXPECT_EQ(shortOf.result, packOutputFull) << capacity;
            EXPECT_TRUE(shortOf.guardIntact) << capacity;
        }

        Outcome back = Unpack(packed, input.size());
        EXPECT_EQ(back.bytes, input);
        EXPECT_TRUE(back.guardIntact);
        for (size_t capacity = 0; capacity < input.size(); capacity++) {
            Outcome shortOf = Unpack(packed, capacity);
            EXPECT_EQ(shortOf.result, packOutputFull) << capacity;
            EXPECT_TRUE(shortOf.guardIntact) << capacity;
        }
    }
}

TEST(BlockPacker, MalformedStreamsAreReported) {
    auto unpackResult = [](const Bytes& packed) {
        Outcome o = Unpack(packed, 4096);
        EXPECT_TRUE(o.guardIntact);
        return o.result;
    };
    const Bytes noSymbols = {0x02, 'a', 'b', 0, 0, 0, 0, 0, 0};

    // Truncation: no end block, and every strict prefix of valid streams.
    EXPECT_EQ(unpackResult({}), packTruncated);
    for (const Bytes& input : VariedInputs()) {
        if (input.size() > 1000) continue;
        Bytes packed = PlainPack(input);
        for (size_t cut = 0; cut < packed.size(); cut++)
            ASSERT_EQ(unpackResult(Bytes(packed.begin(), packed.begin() + cut)), packTruncated) << cut;
    }

    // Counts: 0, a sixth varint byte, more than 32 bits.
    Bytes zero = noSymbols;
    zero.insert(zero.end(), {0x00, 0x01, 0x00});
    EXPECT_EQ(unpackResult(zero), packBadCount);
    Bytes sixBytes = noSymbols;
    sixBytes.insert(sixBytes.end(), {0x81, 0x80, 0x80, 0x80, 0x80, 0x00, 0x01, 0x00});
    EXPECT_EQ(unpackResult(sixBytes), packBadCount);
    Bytes tooBig = noSymbols;
    tooBig.insert(tooBig.end(), {0x80, 0x80, 0x80, 0x80, 0x10, 0x01, 0x00});
    EXPECT_EQ(unpackResult(tooBig), packBadCount);
    Bytes largest = noSymbols;
    largest.insert(largest.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x01, 0x00});
    EXPECT_EQ(unpackResult(largest), packTruncated); // the largest count, but one byte of codes

    // Symbol indexes past 7: eight zero bits, in the checked tail and in the wide window.
    Bytes lateZeros = noSymbols;
    lateZeros.insert(lateZeros.end(), {0x03, 0x03, 0x00, 0x00});
    EXPECT_EQ(unpackResult(lateZeros), packBadSymbol);
    Bytes wide = noSymbols;
    wide.insert(wide.end(), {40, 0xFF, 0xFF, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00});
    EXPECT_EQ(unpackResult(wide), packBadSymbol);
    Bytes shiftedZeros = noSymbols; // codes 1, then eight zero bits straddling two bytes
    shiftedZeros.insert(shiftedZeros.end(), {2, 0x01, 0xFE, 0x00});
    EXPECT_EQ(unpackResult(shiftedZeros), packBadSymbol);
    // The same in blocks long enough to be decoded a byte at a time: a zero byte, and eight zeros split 7
    // + 1.
    for (Bytes bad : {Hex({0x00}), Hex({0x01, 0x02})}) {
        Bytes big = noSymbols;
        big.insert(big.end(), {0xE8, 0x07}); // 1000 codes
        Bytes area(200, 0xFF);
        std::copy(bad.begin(), bad.end(), area.begin() + 100);
        big.insert(big.end(), area.begin(), area.end());
        big.push_back(0x00);
        EXPECT_EQ(unpackResult(big), packBadSymbol);
    }
    // A code left open in the stream's last byte runs off the end.
    EXPECT_EQ(unpackResult({0x02, 'a', 0, 0, 0, 0, 0, 0, 0, 2, 0x01}), packTruncated);

    // Unknown tags, at the start and after a good block.
    EXPECT_EQ(unpackResult({0x03}), packBadTag);
    EXPECT_EQ(unpackResult({0xFF, 0x00}), packBadTag);
    EXPECT_EQ(unpackResult({0x01, 0x01, 'x', 0x07, 0x00}), packBadTag);

    // Streams the packer never writes but that have one meaning are read.
    Outcome odd = Unpack({0x01, 0x00, 0x01, 0x14, 't', 'w', 'e', 'n', 't',  'y',  ' ', 'b',  'y',
                          't',  'e',  's',  ' ',  'o', 'f', ' ', 't', 'e',  'x',  't', 0x02, 'z',
                          'y',  0,    0,    0,    0,   0,   0,   3,   0x0D, 0x00, 0xEE},
                         64);
    EXPECT_EQ(odd.bytes, Bytes({'t', 'w', 'e', 'n', 't', 'y', ' ', 'b', 'y', 't', 'e', 's',
                                ' ', 'o', 'f', ' ', 't', 'e', 'x', 't', 'z', 'y', 'z'}));
}

} // namespace
