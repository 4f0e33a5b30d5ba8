// Copy, length, insert, append, compare, classify, slot preparation, delete and character count for
// code-page-949 text. Bytes move through memmove/memcpy, which handle overlap in either direction.
#include "util/dbcs_string.h"

#include <string.h>

static const uint32_t kTerminatedBound = 0x7FFFFFFFu;

static uint8_t Byte(const char* text, uint32_t index) {
    return static_cast<uint8_t>(text[index]);
}

static uint8_t FoldCase(uint8_t b) {
    return b >= 0x61 && b <= 0x7A ? static_cast<uint8_t>(b - 0x20) : b;
}

// The walk stops at the zero byte and at limit, so a position past either never reads beyond the text.
static uint32_t ClassifyWithin(const char* text, uint32_t position, uint32_t limit) {
    uint32_t state = kSingleByte;
    for (uint32_t i = 0; i < limit; i++) {
        uint8_t b = Byte(text, i);
        state = state == kLeadByte ? kTrailByte : (b > 0x80 ? kLeadByte : kSingleByte);
        if (i == position) return state;
        if (b == 0) break;
    }
    return kSingleByte;
}

static uint32_t DeleteWithin(char* text, uint32_t position, uint32_t count, uint32_t length) {
    if (length < position) return length;
    if (static_cast<uint64_t>(position) + count >= length) {
        text[position] = 0;
        return length;
    }
    uint32_t moved = length - position - count + 1;
    memmove(text + position, text + position + count, moved);
    return moved;
}

uint32_t StringLength(const char* text, uint32_t bound) {
    if (bound >= kTerminatedBound) {
        size_t n = strlen(text);
        return n < bound ? static_cast<uint32_t>(n) : bound;
    }
    const void* zero = memchr(text, 0, bound);
    return zero ? static_cast<uint32_t>(static_cast<const char*>(zero) - text) : bound;
}

uint32_t CopyString(const char* source, char* destination, uint32_t size) {
    if (size == 0) return 0;
    uint32_t n = StringLength(source, size - 1);
    memcpy(destination, source, n);
    destination[n] = 0;
    return n;
}

uint32_t InsertString(const char* source, char* destination, uint32_t position, uint32_t count,
                      uint32_t size) {
    // Bounding the source by count means a count-limited source need not be terminated.
    uint32_t n = StringLength(source, count == kWholeString ? kTerminatedBound : count);
    if (position >= size) return n;
    if (n == 0) return 0;
    uint32_t length = StringLength(destination, size);
    if (position > length) memset(destination + length, ' ', position - length);
    if (static_cast<uint64_t>(position) + n >= size) {
        n = size - 1 - position;
        destination[size - 1] = 0;
    }
    if (position >= length) {
        destination[position + n] = 0;
    } else {
        uint32_t tail = length - position;
        if (static_cast<uint64_t>(length) + n >= size) tail = size - 1 - position - n;
        memmove(destination + position + n, destination + position, tail);
        destination[position + n + tail] = 0;
    }
    memmove(destination + position, source, n);
    return n;
}

uint32_t AppendString(char* destination, const char* source) {
    uint32_t n = StringLength(source, kTerminatedBound);
    if (n == 0) return 0;
    memcpy(destination + StringLength(destination, kTerminatedBound), source, n + 1);
    return n;
}

int32_t CompareStrings(const char* a, const char* b, uint32_t flags) {
    uint32_t la = StringLength(a, kTerminatedBound);
    uint32_t lb = StringLength(b, kTerminatedBound);
    if (flags & lengthFirst) {
        if (la > lb) return 1;
        if (la < lb) return -1;
    }
    uint32_t common = la < lb ? la : lb;
    for (uint32_t i = 0; i < common; i++) {
        uint8_t x = Byte(a, i), y = Byte(b, i);
        if (flags & ignoreCase) x = FoldCase(x), y = FoldCase(y);
        if (x != y) return x > y ? 1 : -1;
    }
    return la > lb ? 1 : (la < lb ? -1 : 0);
}

uint32_t ClassifyPosition(const char* text, uint32_t position) {
    return ClassifyWithin(text, position, 0xFFFFFFFFu);
}

uint32_t PrepareCharSlot(char* text, uint32_t size, uint32_t position, uint32_t flags) {
    uint32_t width = (flags & kSlotTwoBytes) ? 2 : 1;
    uint32_t length = StringLength(text, size);
    uint32_t cls = ClassifyWithin(text, position, size);
    uint32_t p = cls == kTrailByte ? position - 1 : position;
    // Overwriting at the end would overwrite the zero byte: make the slot by inserting instead.
    if ((flags & kSlotInsert) || p >= length) return InsertString("  ", text, p, width, size);
    // A lead byte whose trail is the zero byte is only one byte wide.
    uint32_t under = (cls & 0x2) && p + 1 < length ? 2 : 1;
    if (under < width) return InsertString(" ", text, p, 1, size);
    if (under > width) return DeleteWithin(text, p, 1, length);
    return 0;
}

uint32_t DeleteBytes(char* text, uint32_t position, uint32_t count) {
    return DeleteWithin(text, position, count, StringLength(text, kTerminatedBound));
}

uint32_t CountCharacters(const char* text, uint32_t limit) {
    uint64_t halves = 0;
    for (uint32_t i = 0; i < limit && text[i]; i++) halves += Byte(text, i) < 0x80 ? 2 : 1;
    return static_cast<uint32_t>(halves / 2);
}
