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

typedef std::vector<std::string> Names;

TEST(Sort, SortOffsetsOrders) {
    OffsetTable t;
    t.Add("pear").Add("apple").Empty().Add("fig");
    EXPECT_EQ(t.Sorted(0), (Names{"apple", "fig", "pear", "0"}));
    EXPECT_EQ(t.Sorted(descending), (Names{"pear", "fig", "apple", "0"}));
    EXPECT_EQ(t.Sorted(lengthFirst), (Names{"fig", "pear", "apple", "0"}));
    EXPECT_EQ(t.Sorted(lengthFirst | descending), (Names{"apple", "pear", "fig", "0"}));
    // A wider flag word (the tree list's build mode with its sort request) is accepted.
    EXPECT_EQ(t.Sorted(0x10 | descending), (Names{"pear", "fig", "apple", "0"}));

    OffsetTable prefix;
    prefix.Add("abcd").Add("abc").Add("").Add("ab\xB0\xA1");
    EXPECT_EQ(prefix.Sorted(0), (Names{"", "abc", "abcd", "ab\xB0\xA1"}));

    // Every empty slot gathers at the end; a table of only empty slots stays as it is.
    OffsetTable gaps;
    gaps.Empty().Add("b").Empty().Empty().Add("a").Empty();
    EXPECT_EQ(gaps.Sorted(0), (Names{"a", "b", "0", "0", "0", "0"}));
    OffsetTable none;
    none.Empty().Empty();
    EXPECT_EQ(none.Sorted(0), (Names{"0", "0"}));
}

TEST(Sort, SortOffsetsPutsEqualStringsInReverseInputOrder) {
    OffsetTable t;
    t.Add("Apple").Add("apple");
    EXPECT_EQ(t.Sorted(0), (Names{"Apple", "apple"}));
    EXPECT_EQ(t.Sorted(ignoreCase), (Names{"apple", "Apple"}));
    // Same text at distinct offsets: the later entry comes first, in both directions.
    OffsetTable same;
    same.Add("x").Add("b").Add("x").Add("a").Add("x");
    std::vector<uintptr_t> table = same.entries;
    SortOffsets(table.data(), 5, reinterpret_cast<uintptr_t>(same.text.data()), 0);
    EXPECT_EQ(table, (std::vector<uintptr_t>{same.entries[3], same.entries[1], same.entries[4],
                                             same.entries[2], same.entries[0]}));
    table = same.entries;
    SortOffsets(table.data(), 5, reinterpret_cast<uintptr_t>(same.text.data()), descending);
    EXPECT_EQ(table, (std::vector<uintptr_t>{same.entries[4], same.entries[2], same.entries[0],
                                             same.entries[1], same.entries[3]}));
}

// The tree list's use: pointers to records with the name a fixed distance in.
struct Item {
    uint32_t a, b, c;
    char name[20];
};

TEST(Sort, SortOffsetsOrdersRecordPointers) {
    Item items[4] = {{1, 0, 0, "kiwi"}, {2, 0, 0, "Banana"}, {3, 0, 0, "cherry"}, {4, 0, 0, "apple"}};
    Item* table[5] = {&items[0], &items[1], nullptr, &items[2], &items[3]};
    SortOffsets(table, 5, offsetof(Item, name), ignoreCase);
    EXPECT_EQ(table[0], &items[3]);
    EXPECT_EQ(table[1], &items[1]);
    EXPECT_EQ(table[2], &items[2]);
    EXPECT_EQ(table[3], &items[0]);
    EXPECT_EQ(table[4], nullptr);
    // An unaligned table of entries sorts the same.
    alignas(8) uint8_t raw[1 + 3 * sizeof(uintptr_t)];
    uintptr_t entries[3] = {reinterpret_cast<uintptr_t>(&items[0]), 0,
                            reinterpret_cast<uintptr_t>(&items[3])};
    memcpy(raw + 1, entries, sizeof entries);
    SortOffsets(raw + 1, 3, offsetof(Item, name), 0);
    memcpy(entries, raw + 1, sizeof entries);
    EXPECT_EQ(entries[0], reinterpret_cast<uintptr_t>(&items[3]));
    EXPECT_EQ(entries[1], reinterpret_cast<uintptr_t>(&items[0]));
    EXPECT_EQ(entries[2], 0u);
}

std::vector<uint8_t> SortedBytes(std::vector<uint8_t> bytes, uint32_t flags) {
    SortBytes(bytes.data(), static_cast<uint32_t>(bytes.size()), flags);
    return bytes;
}

typedef std::vector<uint8_t> ByteList;

TEST(Sort, SortBytes) {
    ByteList input = {0x63, 0x00, 0x61, 0x62};
    EXPECT_EQ(SortedBytes(input, 0), (ByteList{0x61, 0x62, 0x63, 0x00}));
    EXPECT_EQ(SortedBytes(input, keepZeros), (ByteList{0x00, 0x61, 0x62, 0x63}));
    EXPECT_EQ(SortedBytes(input, descending), (ByteList{0x63, 0x62, 0x61, 0x00}));
    EXPECT_EQ(SortedBytes(input, descending | keepZeros), (ByteList{0x63, 0x62, 0x61, 0x00}));
    EXPECT_EQ(SortedBytes({0x61, 0x41}, ignoreCase), (ByteList{0x41, 0x61}));
    EXPECT_EQ(SortedBytes({0x61, 0x41}, 0), (ByteList{0x41, 0x61}));
    // Equal keys come out in reverse input order; the byte itself is stored, not its key.
    EXPECT_EQ(SortedBytes({0x41, 0x61, 0x5B, 0x62, 0x61}, ignoreCase),
              (ByteList{0x61, 0x61, 0x41, 0x62, 0x5B}));
    EXPECT_EQ(SortedBytes({0x41, 0x61, 0x5B, 0x62, 0x61}, ignoreCase | descending),
              (ByteList{0x5B, 0x62, 0x61, 0x61, 0x41}));
    EXPECT_EQ(SortedBytes({0xFF, 0x80, 0x7F, 0x01}, 0), (ByteList{0x01, 0x7F, 0x80, 0xFF})); // unsigned
    EXPECT_EQ(SortedBytes({0, 0, 0}, 0), (ByteList{0, 0, 0}));
    EXPECT_EQ(SortedBytes({0, 7, 0, 3}, 0), (ByteList{3, 7, 0, 0}));
    EXPECT_EQ(SortedBytes({}, 0), ByteList{});
}

// The sorts as insertion into a growing list, one entry at a time, in input order.
ByteList InsertionSortBytes(const ByteList& input, uint32_t flags) {
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

std::vector<uintptr_t> InsertionSortOffsets(const std::vector<uintptr_t>& input, const char* base,
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
    const char* alphabet = "aAbB\xB0\xA1z";
    for (int round = 0; round < 300; round++) {
        uint32_t flags = next(16);
        ByteList bytes(next(40));
        for (uint8_t& b : bytes) b = next(4) == 0 ? 0 : static_cast<uint8_t>(alphabet[next(7)]);
        ASSERT_EQ(SortedBytes(bytes, flags), InsertionSortBytes(bytes, flags)) << "flags " << flags;

        OffsetTable t;
        for (uint32_t i = next(30); i > 0; i--) {
            if (next(5) == 0) {
                t.Empty();
                continue;
            }
            std::string s;
            for (uint32_t n = next(4); n > 0; n--) s += alphabet[next(7)];
            t.Add(s.c_str());
        }
        std::vector<uintptr_t> table = t.entries;
        SortOffsets(table.data(), static_cast<uint32_t>(table.size()),
                    reinterpret_cast<uintptr_t>(t.text.data()), flags);
        ASSERT_EQ(table, InsertionSortOffsets(t.entries, t.text.data(), flags)) << "flags " << flags;
    }
}

int allocations, frees;
void* CountingAllocate(size_t size) {
    allocations++;
    return calloc(1, size);
}
void CountingFree(void* block) {
    frees++;
    free(block);
}
void* Refuse(size_t) {
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

} // namespace
