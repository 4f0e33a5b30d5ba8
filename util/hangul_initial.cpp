// Both syllable blocks of code page 949 (the 2350 of KS X 1001, and the 8822 others filled in around them)
// run in dictionary order, so the first syllable of each initial in each block is all a lookup needs.
#include "util/hangul_initial.h"

static const uint16_t commonFirsts[hangulInitials] = {
    0xB0A1, 0xB1EE, 0xB3AA, 0xB4D9, 0xB5FB, 0xB6F3, 0xB8B6, 0xB9D9, 0xBAFC, 0xBBE7,
    0xBDCE, 0xBEC6, 0xC0DA, 0xC2A5, 0xC2F7, 0xC4AB, 0xC5B8, 0xC6C4, 0xC7CF,
};
static const uint16_t extendedFirsts[hangulInitials] = {
    0x8141, 0x838A, 0x85FA, 0x88A3, 0x8B4D, 0x8DEB, 0x90A2, 0x934B, 0x95BE, 0x98AB,
    0x9AF0, 0x9DD0, 0x9FE8, 0xA441, 0xAA43, 0xAF87, 0xB56A, 0xBB4E, 0xC099,
};
// The compatibility jamo from ㄱ (0xA4A1) to ㅎ (0xA4BE); clusters such as ㄳ begin no syllable.
static const int8_t jamoInitials[30] = {0,  1, -1, 2, -1, -1, 3,  4,  5,  -1, -1, -1, -1, -1, -1,
                                        -1, 6, 7,  8, -1, 9,  10, 11, 12, 13, 14, 15, 16, 17, 18};

static int32_t InitialIn(const uint16_t* firsts, uint32_t code) {
    int32_t initial = 0;
    while (initial + 1 < hangulInitials && firsts[initial + 1] <= code) initial++;
    return initial;
}

// Trail bytes of the extended block: A-Z, a-z and 0x81 up, which stops at 0xA0 where the common block's
// rows begin.
static bool ExtendedTrail(uint32_t lead, uint32_t trail) {
    if ((trail >= 0x41 && trail <= 0x5A) || (trail >= 0x61 && trail <= 0x7A)) return true;
    return trail >= 0x81 && trail <= (lead >= 0xA1 ? 0xA0u : 0xFEu);
}

int32_t HangulInitialOfCode(uint32_t code) {
    uint32_t lead = code >> 8, trail = code & 0xFF;
    if (lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1 && trail <= 0xFE) return InitialIn(commonFirsts, code);
    if (code >= 0xA4A1 && code <= 0xA4BE) return jamoInitials[code - 0xA4A1];
    if (lead >= 0x81 && code <= 0xC652 && ExtendedTrail(lead, trail)) return InitialIn(extendedFirsts, code);
    return noHangulInitial;
}

int32_t HangulInitialOf(const char* text) {
    uint32_t lead = static_cast<uint8_t>(text[0]);
    if (lead < 0x81 || !text[1]) return noHangulInitial;
    return HangulInitialOfCode(lead << 8 | static_cast<uint8_t>(text[1]));
}
