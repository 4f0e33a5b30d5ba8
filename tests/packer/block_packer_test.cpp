// Block packer: known packed forms, round trips checked against a plain byte-at-a-time packer, the size
// bound, exactly sized buffers and every class of malformed stream.
#include <gtest/gtest.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "util/block_packer.h"

using Bytes = std::vector<uint8_t>;

// "01 0A ..." as bytes.
static Bytes Hex(const char* text) {
    Bytes bytes;
    for (char* at = const_cast<char*>(text); *at;)
        bytes.push_back(static_cast<uint8_t>(strtoul(at, &at, 16)));
    return bytes;
}
static Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}
static Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

namespace {

struct Outcome {
    int64_t result;
    Bytes bytes; // the first `result` bytes when result >= 0
    bool guardIntact;
};

} // namespace

// Runs PackBlocks or UnpackBlocks on an exactly sized heap copy of `in` (reads past it trip the address
// sanitizer) into `capacity` bytes followed by a guard area that must stay untouched.
static Outcome Run(int64_t (*step)(const uint8_t*, uint32_t, uint8_t*, uint32_t), const Bytes& in,
                   uint64_t capacity) {
    std::unique_ptr<uint8_t[]> exact(in.empty() ? nullptr : new uint8_t[in.size()]);
    if (!in.empty()) memcpy(exact.get(), in.data(), in.size());
    Bytes out(capacity + 64, 0xA5);
    Outcome o = {
        step(exact.get(), static_cast<uint32_t>(in.size()), out.data(), static_cast<uint32_t>(capacity)),
        {},
        true};
    for (size_t i = capacity; i < out.size(); i++) o.guardIntact &= out[i] == 0xA5;
    if (o.result >= 0) o.bytes.assign(out.begin(), out.begin() + o.result);
    return o;
}
static Outcome Pack(const Bytes& input, uint64_t capacity) {
    return Run(PackBlocks, input, capacity);
}
static Outcome Unpack(const Bytes& packed, uint64_t capacity) {
    return Run(UnpackBlocks, packed, capacity);
}

static Bytes PackWithBound(const Bytes& input) {
    Outcome o = Pack(input, PackBlocksBound(static_cast<uint32_t>(input.size())));
    EXPECT_TRUE(o.result >= 0 && o.guardIntact);
    return o.bytes;
}

// The dictionary order straight from its definition: insert each entry before the first placed one whose
// count is not above its own.
static void PlainSort(uint8_t symbols[8], uint32_t counts[8]) {
    uint8_t s[8];
    uint32_t c[8];
    for (int i = 0; i < 8; i++) {
        int at = 0;
        while (at < i && c[at] > counts[i]) at++;
        for (int k = i; k > at; k--) s[k] = s[k - 1], c[k] = c[k - 1];
        s[at] = symbols[i], c[at] = counts[i];
    }
    memcpy(symbols, s, 8);
    memcpy(counts, c, sizeof c);
}

// The format written out one byte at a time, straight from its definition.
static Bytes PlainPack(const Bytes& input) {
    Bytes out;
    for (size_t p = 0, n = 0; p < input.size(); p += n) {
        uint8_t symbols[8] = {};
        uint32_t counts[8] = {};
        int distinct = 0;
        for (n = 0; p + n < input.size(); n++) {
            int k = 0;
            while (k < distinct && symbols[k] != input[p + n]) k++;
            if (k == 8) break;
            symbols[k] = input[p + n];
            distinct += k == distinct;
            counts[k]++;
        }
        if (input.size() - p <= 16) n = input.size() - p;
        if (n <= 16) {
            out.insert(out.end(), {1, static_cast<uint8_t>(n)});
            out.insert(out.end(), input.begin() + p, input.begin() + p + n);
            continue;
        }
        PlainSort(symbols, counts);
        out.push_back(2);
        out.insert(out.end(), symbols, symbols + 8);
        for (size_t v = n;; v >>= 7) {
            out.push_back(static_cast<uint8_t>((v & 0x7F) | (v >= 0x80 ? 0x80 : 0)));
            if (v < 0x80) break;
        }
        size_t start = out.size();
        for (size_t j = 0, bit = 0; j < n; j++, bit++) {
            int index = 0;
            while (symbols[index] != input[p + j]) index++;
            bit += index;
            out.resize(std::max(out.size(), start + bit / 8 + 1), 0);
            out[start + bit / 8] |= static_cast<uint8_t>(1 << (bit % 8));
        }
    }
    out.push_back(0);
    return out;
}

// Inputs of many shapes: small alphabets, runs, text, random, with block edges near 16 and 17 bytes.
static std::vector<Bytes> VariedInputs() {
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
        for (size_t size = rng() % 20000; b.size() < size;) {
            int alphabet = 1 + rng() % 9, base = rng() % 256;
            for (size_t run = 1 + rng() % (rng() % 2 ? 40 : 3000); run; run--)
                b.push_back(static_cast<uint8_t>(base + rng() % alphabet));
        }
        inputs.push_back(b);
    }
    // Long blocks: multi-byte counts, zero among the used values, long tallies, skewed counts; and text.
    inputs.push_back(Bytes(70000, 0));
    Bytes skewed(100000);
    for (auto& v : skewed) v = static_cast<uint8_t>(__builtin_ctz(rng() | 0x80));
    inputs.push_back(skewed);
    Bytes prose;
    for (int j = 0; j < 50; j++)
        prose = Join(prose, Text("The quick brown fox jumps,   and then it rests.\n"));
    inputs.push_back(prose);
    return inputs;
}

TEST(BlockPacker, KnownPackedForms) {
    EXPECT_EQ(PackWithBound({}), Hex("00"));
    EXPECT_EQ(PackWithBound(Text("hello")), Hex("01 05 68 65 6C 6C 6F 00"));
    EXPECT_EQ(PackWithBound(Text("abcabcabcabcabcabc")),
              Hex("02 63 62 61 00 00 00 00 00 12 34 4D D3 34 0D 00"));
    EXPECT_EQ(PackWithBound(Bytes(20, 'a')), Hex("02 61 00 00 00 00 00 00 00 14 FF FF 0F 00"));
    EXPECT_EQ(PackWithBound(Hex("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13")),
              Hex("01 08 00 01 02 03 04 05 06 07 01 0C 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 00"));
    // Eight values over 16 bytes, then two of a ninth: no dictionary block for 16 bytes.
    EXPECT_EQ(PackWithBound(Text("0123456701234567??")),
              Join(Join(Hex("01 10"), Text("0123456701234567")), Hex("01 02 3F 3F 00")));
    // Counts of 200 and 127: varints C8 01 and 7F, all-ones bit areas; 127 bits leave seven in the last byte.
    EXPECT_EQ(PackWithBound(Bytes(200, 'a')),
              Join(Join(Hex("02 61 00 00 00 00 00 00 00 C8 01"), Bytes(25, 0xFF)), Hex("00")));
    EXPECT_EQ(PackWithBound(Bytes(127, 'a')),
              Join(Join(Hex("02 61 00 00 00 00 00 00 00 7F"), Bytes(15, 0xFF)), Hex("7F 00")));
}

TEST(BlockPacker, SortDictionaryOrdersByCountLaterTiesFirst) {
    // All counts equal, many ties, large counts: the same order as the insertion sort.
    std::mt19937 rng(3);
    for (int round = 0; round < 20000; round++) {
        uint8_t symbols[8], plainSymbols[8];
        uint32_t counts[8], plainCounts[8];
        for (int i = 0; i < 8; i++) {
            symbols[i] = plainSymbols[i] = static_cast<uint8_t>(i + 1);
            counts[i] = plainCounts[i] = round == 0 ? 3 : round % 2 ? rng() % 4 : rng() >> (rng() % 32);
        }
        SortDictionary(symbols, counts);
        PlainSort(plainSymbols, plainCounts);
        ASSERT_EQ(Bytes(symbols, symbols + 8), Bytes(plainSymbols, plainSymbols + 8));
        ASSERT_EQ(0, memcmp(counts, plainCounts, sizeof counts));
    }
}

TEST(BlockPacker, RoundTripsMatchPlainPacker) {
    for (const Bytes& input : VariedInputs()) {
        SCOPED_TRACE(input.size());
        Bytes packed = PackWithBound(input);
        ASSERT_EQ(packed, PlainPack(input));
        for (uint64_t capacity : {input.size(), input.size() + 100}) {
            Outcome back = Unpack(packed, capacity);
            ASSERT_EQ(back.result, static_cast<int64_t>(input.size()));
            EXPECT_EQ(back.bytes, input);
        }
    }
}

TEST(BlockPacker, BoundCoversWorstCases) {
    // Literal blocks of 8 bytes, 10 each; dictionary blocks of 17 bytes over eight evenly used values, 20
    // each (each ended by the next block's new values); one long block over eight evenly used values.
    Bytes shortLiterals(8 * 1000), smallDictionaries, evenEight(5000);
    for (size_t j = 0; j < shortLiterals.size(); j++) shortLiterals[j] = static_cast<uint8_t>(j);
    for (int block = 0; block < 600; block++)
        for (int j = 0; j < 17; j++) smallDictionaries.push_back(static_cast<uint8_t>(block % 2 * 8 + j % 8));
    for (size_t j = 0; j < evenEight.size(); j++) evenEight[j] = static_cast<uint8_t>(j % 8);
    EXPECT_EQ(PackWithBound(shortLiterals).size(), 10 * 998 + 18 + 1u);
    EXPECT_EQ(PackWithBound(smallDictionaries).size(), 20 * 600 + 1u);

    for (const Bytes* worst : {&shortLiterals, &smallDictionaries, &evenEight})
        for (size_t cut = worst->size() - 40; cut <= worst->size(); cut++) {
            uint64_t bound = PackBlocksBound(static_cast<uint32_t>(cut));
            size_t packed = PackWithBound(Bytes(worst->begin(), worst->begin() + cut)).size();
            EXPECT_LE(packed, bound);
            EXPECT_TRUE(worst != &shortLiterals || packed + 8 >= bound) << "bound far from the worst case";
        }
    std::mt19937 rng(7);
    for (uint32_t size = 0; size < 600; size++) {
        Bytes input(size);
        for (auto& v : input) v = static_cast<uint8_t>(rng() % (size % 3 == 0 ? 256 : 9));
        EXPECT_LE(PackWithBound(input).size(), PackBlocksBound(size));
    }
    EXPECT_EQ(PackBlocksBound(0xFFFFFFFFu), 0xFFFFFFFFull + 0x3FFFFFFF + 3);
}

TEST(BlockPacker, ExactlySizedOutputs) {
    // A dictionary block last, one ended by a ninth value before a literal block, short and 16-byte literals.
    const Bytes dictionaryLast(300, 'x'), literalLast = Join(dictionaryLast, Text("abcdefghi"));
    Bytes literals(33);
    for (size_t j = 0; j < literals.size(); j++) literals[j] = static_cast<uint8_t>(j * 5);
    for (const Bytes& input : {Bytes(), Text("hi"), dictionaryLast, literalLast, literals, Bytes(20, 'a')}) {
        SCOPED_TRACE(input.size());
        Bytes packed = PlainPack(input);
        Outcome full = Pack(input, packed.size());
        EXPECT_TRUE(full.bytes == packed && full.guardIntact);
        for (size_t capacity = 0; capacity < packed.size(); capacity++) {
            Outcome shortOf = Pack(input, capacity);
            EXPECT_TRUE(shortOf.result == packOutputFull && shortOf.guardIntact) << capacity;
        }
        Outcome back = Unpack(packed, input.size());
        EXPECT_TRUE(back.bytes == input && back.guardIntact);
        for (size_t capacity = 0; capacity < input.size(); capacity++) {
            Outcome shortOf = Unpack(packed, capacity);
            EXPECT_TRUE(shortOf.result == packOutputFull && shortOf.guardIntact) << capacity;
        }
    }
}

TEST(BlockPacker, MalformedStreamsAreReported) {
    auto unpackResult = [](const Bytes& packed) {
        Outcome o = Unpack(packed, 4096);
        EXPECT_TRUE(o.guardIntact);
        return o.result;
    };
    const Bytes ab = Hex("02 61 62 00 00 00 00 00 00"); // a dictionary block's tag and symbols

    // Truncation: every strict prefix of valid streams, the empty one included.
    for (const Bytes& input : VariedInputs()) {
        if (input.size() > 1000) continue;
        Bytes packed = PlainPack(input);
        for (size_t cut = 0; cut < packed.size(); cut++)
            ASSERT_EQ(unpackResult(Bytes(packed.begin(), packed.begin() + cut)), packTruncated) << cut;
    }
    // The largest count, but one byte of codes; a code left open in the stream's last byte.
    EXPECT_EQ(unpackResult(Join(ab, Hex("FF FF FF FF 0F 01 00"))), packTruncated);
    EXPECT_EQ(unpackResult(Join(ab, Hex("02 01"))), packTruncated);

    // Counts: 0, a sixth varint byte, more than 32 bits.
    EXPECT_EQ(unpackResult(Join(ab, Hex("00 01 00"))), packBadCount);
    EXPECT_EQ(unpackResult(Join(ab, Hex("81 80 80 80 80 00 01 00"))), packBadCount);
    EXPECT_EQ(unpackResult(Join(ab, Hex("80 80 80 80 10 01 00"))), packBadCount);

    // Symbol indexes past 7 (eight zero bits): in the checked tail, straddling two bytes, in the 64-bit
    // window.
    EXPECT_EQ(unpackResult(Join(ab, Hex("03 03 00 00"))), packBadSymbol);
    EXPECT_EQ(unpackResult(Join(ab, Hex("03 03 04 01 41 01 01 42 00"))),
              packBadSymbol); // last codes' window
    EXPECT_EQ(unpackResult(Join(ab, Hex("02 01 FE 00"))), packBadSymbol);
    EXPECT_EQ(unpackResult(Join(ab, Hex("28 FF FF 00 FF FF FF FF FF FF 00"))), packBadSymbol);
    // The same in blocks long enough to be decoded a byte at a time: a zero byte, and eight zeros split 7
    // + 1.
    for (const char* bad : {"00", "01 02"}) {
        Bytes area(200, 0xFF), wrong = Hex(bad);
        std::copy(wrong.begin(), wrong.end(), area.begin() + 100);
        EXPECT_EQ(unpackResult(Join(Join(Join(ab, Hex("E8 07")), area), Hex("00"))), packBadSymbol);
    }

    // Unknown tags, at the start and after a good block.
    EXPECT_EQ(unpackResult(Hex("03")), packBadTag);
    EXPECT_EQ(unpackResult(Hex("FF 00")), packBadTag);
    EXPECT_EQ(unpackResult(Hex("01 01 78 07 00")), packBadTag);

    // Streams the packer never writes but that have one meaning are read: an empty literal block, one of 20
    // bytes, a dictionary block of 3 and bytes after the end block.
    Bytes odd = Join(Join(Hex("01 00 01 14"), Text("twenty bytes of text")),
                     Hex("02 7A 79 00 00 00 00 00 00 03 0D 00 EE"));
    EXPECT_EQ(Unpack(odd, 64).bytes, Text("twenty bytes of textzyz"));
}
