#include "util/number_text.h"

uint32_t NumberToText(int32_t value, char* buffer, uint32_t flags) {
    if (flags & kNumberFormMask) return 0;
    // Unsigned negation, so that the most negative value has a magnitude too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char digits[10];
    uint32_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    uint32_t n = 0;
    if (value < 0 && !(flags & absoluteValue)) buffer[n++] = '-';
    while (count > 0) buffer[n++] = digits[--count];
    buffer[n] = 0;
    return n;
}

int32_t TextToNumber(const char* text, uint32_t count, uint32_t mode) {
    if (mode & 0x3) return 0;
    // Ten characters of at most 0xFF - '0' each stay far inside 64 bits.
    int64_t value = 0;
    for (uint32_t i = 0; i < count && i < 10 && text[i] != 0; i++)
        value = value * 10 + (static_cast<uint8_t>(text[i]) - '0');
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}
