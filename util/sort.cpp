// Both sorts give exactly the result of inserting each entry, in input order, before the first placed entry
// that it precedes or equals. The string sort finds that place by binary search in its scratch array; the
// byte sort reaches the same order by counting keys.
#include "util/sort.h"

#include <stdint.h>
#include <string.h>

#include "util/scratch_memory.h"

static const char* Designated(uintptr_t base, uintptr_t entry) {
    return reinterpret_cast<const char*>(base + entry);
}

static uintptr_t LoadEntry(const uint8_t* slots, uint32_t index) {
    uintptr_t entry;
    memcpy(&entry, slots + static_cast<size_t>(index) * sizeof entry, sizeof entry);
    return entry;
}

static uint8_t SortKey(uint8_t b, uint32_t flags) {
    return (flags & ignoreCase) && b >= 0x61 && b <= 0x7A ? static_cast<uint8_t>(b - 0x20) : b;
}

void SortOffsets(void* table, uint32_t count, uintptr_t base, uint32_t flags) {
    size_t bytes; // count * 4 can overflow on 32-bit
    if (count == 0 || __builtin_mul_overflow(static_cast<size_t>(count), sizeof(uintptr_t), &bytes)) return;
    uintptr_t* scratch = static_cast<uintptr_t*>(AllocateScratch(bytes));
    if (!scratch) return;
    memset(scratch, 0, bytes);
    const uint8_t* entries = static_cast<const uint8_t*>(table);
    uint32_t placed = 0;
    for (uint32_t i = 0; i < count; i++) {
        uintptr_t entry = LoadEntry(entries, i);
        if (entry == 0) continue;
        const char* text = Designated(base, entry);
        // The placed entries are in order, so "precedes or equals" holds from one point on.
        uint32_t low = 0, high = placed;
        while (low < high) {
            uint32_t middle = low + (high - low) / 2;
            int32_t order = CompareStrings(text, Designated(base, scratch[middle]), flags);
            bool before = (flags & descending) ? order >= 0 : order <= 0;
            if (before)
                high = middle;
            else
                low = middle + 1;
        }
        memmove(scratch + low + 1, scratch + low, (placed - low) * sizeof(uintptr_t));
        scratch[low] = entry;
        placed++;
    }
    memcpy(table, scratch, bytes);
    FreeScratch(scratch);
}

void SortBytes(uint8_t* buffer, uint32_t size, uint32_t flags) {
    if (size == 0) return;
    uint8_t* scratch = static_cast<uint8_t*>(AllocateScratch(size));
    if (!scratch) return;
    memcpy(scratch, buffer, size);
    bool keep = (flags & keepZeros) != 0;
    uint32_t next[256] = {};
    for (uint32_t i = 0; i < size; i++) next[SortKey(scratch[i], flags)]++;
    if (!keep) next[0] = 0;
    // Turn the key counts into the first output index of each key, in the requested direction.
    uint32_t at = 0;
    for (int step = 0; step < 256; step++) {
        int key = (flags & descending) ? 255 - step : step;
        uint32_t n = next[key];
        next[key] = at;
        at += n;
    }
    // Walking the input backwards puts equal keys in reverse input order.
    for (uint32_t i = size; i-- > 0;) {
        uint8_t key = SortKey(scratch[i], flags);
        if (key == 0 && !keep) continue;
        buffer[next[key]++] = scratch[i];
    }
    memset(buffer + at, 0, size - at);
    FreeScratch(scratch);
}
