// The string-table and byte sorts, and their use of the scratch allocator.
#include "util/sort.h"
#include "util/scratch_memory.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// Offsets into one text buffer whose first byte is never designated (offset 0 is an empty slot).
struct OffsetTable {
    std::string text = std::string(1, '\0');
    std::vector<uintptr_t> entries;
    OffsetTable& Add(const char* s) {
        entries.push_back(text.size());
        text += s;
        text += '\0';
        return *this;
    }
    OffsetTable& Empty() {
        entries.push_back(0);
        return *this;
    }
    std::vector<std::string> Sorted(uint32_t flags) {
        std::vector<uintptr_t> table = entries;
        SortOffsets(table.data(), static_cast<uint32_t>(table.size()),
                    reinterpret_cast<uintptr_t>(text.data()), flags);
        std::vector<std::string> names;
        for (uintptr_t e : table) names.push_back(e ? std::string(text.data() + e) : "0");
        return names;
    }
};

} // namespace

typedef std::vector<std::string> Names;

namespace {

// The tree list's use: pointers to records with the name a fixed distance in.
struct Item {
    uint32_t a, b, c;
    char name[20];
};

} // namespace

TEST(Sort, SortOffsetsOrdersRecordPointers) {
    Item items[4] = {{1, 0, 0, "kiwi"}, {2, 0, 0, "Banana"}, {3, 0, 0, "cherry"}, {4, 0, 0, "apple"}};
    Item* table[5] = {&items[0], &items[1], nullptr, &items[2], &items[3]};
    SortOffsets(table, 5, offsetof(Item, name), ignoreCase);
    EXPECT_EQ(std::vector<Item*>(table, table + 5),
              (std::vector<Item*>{&items[3], &items[1], &items[2], &items[0], nullptr}));
    // An unaligned table of entries sorts the same.
    alignas(8) uint8_t raw[1 + 3 * sizeof(uintptr_t)];
    uintptr_t entries[3] = {reinterpret_cast<uintptr_t>(&items[0]), 0,
                            reinterpret_cast<uintptr_t>(&items[3])};
    memcpy(raw + 1, entries, sizeof entries);
    SortOffsets(raw + 1, 3, offsetof(Item, name), 0);
    memcpy(entries, raw + 1, sizeof entries);
    EXPECT_EQ(std::vector<uintptr_t>(entries, entries + 3),
              (std::vector<uintptr_t>{reinterpret_cast<uintptr_t>(&items[3]),
                                      reinterpret_cast<uintptr_t>(&items[0]), 0}));
}

static std::vector<uint8_t> SortedBytes(std::vector<uint8_t> bytes, uint32_t flags) {
    SortBytes(bytes.data(), static_cast<uint32_t>(bytes.size()), flags);
    return bytes;
}

typedef std::vector<uint8_t> ByteList;

// The sorts as insertion into a growing list, one entry at a time, in input order.
static ByteList InsertionSortBytes(const ByteList& input, uint32_t flags) {
    auto key = [flags](uint8_t b) { return (flags & ignoreCase) && b >= 'a' && b <= 'z' ? b - 0x20 : b; };
    ByteList out;
    for (uint8_t b : input) {
        if (key(b) == 0 && !(flags & keepZeros)) continue;
        size_t j = 0;
        while (j < out.size() && ((flags & descending) ? key(b) < key(out[j]) : key(b) > key(out[j]))) j++;
        out.insert(out.begin() + j, b);
    }
    out.resize(input.size(), 0);
    return out;
}

static std::vector<uintptr_t> InsertionSortOffsets(const std::vector<uintptr_t>& input, const char* base,
                                                   uint32_t flags) {
    std::vector<uintptr_t> out;
    for (uintptr_t e : input) {
        if (!e) continue;
        size_t j = 0;
        while (j < out.size()) {
            int32_t order = CompareStrings(base + e, base + out[j], flags);
            if ((flags & descending) ? order >= 0 : order <= 0) break;
            j++;
        }
        out.insert(out.begin() + j, e);
    }
    out.resize(input.size(), 0);
    return out;
}

TEST(Sort, MatchInsertionIntoAList) {
    uint32_t state = 12345;
    auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % range;
    };
    // '[' lies between the capitals and the small letters: a case-free key must be the capital.
    const char* alphabet = "aAbB\xB0\xA1z[";
    // Every flag combination, with a bit beyond them (the tree list's build mode rides in the same word).
    for (int round = 0; round < 300; round++) {
        uint32_t flags = next(32);
        ByteList bytes(next(40));
        for (uint8_t& b : bytes) b = next(4) == 0 ? 0 : static_cast<uint8_t>(alphabet[next(8)]);
        ASSERT_EQ(SortedBytes(bytes, flags), InsertionSortBytes(bytes, flags)) << "flags " << flags;

        OffsetTable t;
        for (uint32_t i = next(30); i > 0; i--) {
            if (next(5) == 0) {
                t.Empty();
                continue;
            }
            std::string s;
            for (uint32_t n = next(4); n > 0; n--) s += alphabet[next(8)];
            t.Add(s.c_str());
        }
        std::vector<uintptr_t> table = t.entries;
        SortOffsets(table.data(), static_cast<uint32_t>(table.size()),
                    reinterpret_cast<uintptr_t>(t.text.data()), flags);
        ASSERT_EQ(table, InsertionSortOffsets(t.entries, t.text.data(), flags)) << "flags " << flags;
    }
}

static int allocations, frees;
static void* CountingAllocate(size_t size) {
    allocations++;
    return calloc(1, size);
}
static void CountingFree(void* block) {
    frees++;
    free(block);
}
static void* Refuse(size_t) {
    return nullptr;
}

TEST(Sort, ScratchAllocator) {
    allocations = frees = 0;
    SetScratchAllocator(CountingAllocate, CountingFree);
    OffsetTable t;
    t.Add("b").Add("a");
    EXPECT_EQ(t.Sorted(0), (Names{"a", "b"}));
    EXPECT_EQ(SortedBytes({2, 1}, 0), (ByteList{1, 2}));
    EXPECT_EQ(allocations, 2);
    EXPECT_EQ(frees, 2);
    // Nothing to sort asks for nothing.
    SortOffsets(nullptr, 0, 0, 0);
    SortBytes(nullptr, 0, 0);
    EXPECT_EQ(allocations, 2);

    // A refused scratch array leaves the input as it was.
    SetScratchAllocator(Refuse, CountingFree);
    EXPECT_EQ(t.Sorted(0), (Names{"b", "a"}));
    EXPECT_EQ(SortedBytes({2, 0, 1}, 0), (ByteList{2, 0, 1}));
    EXPECT_EQ(frees, 2);

    SetScratchAllocator(nullptr, nullptr);
    EXPECT_EQ(SortedBytes({2, 1}, 0), (ByteList{1, 2}));
}
