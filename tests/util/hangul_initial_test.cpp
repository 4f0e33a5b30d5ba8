// Initial consonants of code page 949 characters, against the syllable arithmetic of their Unicode forms.
#include <gtest/gtest.h>

#include "tests/support/cp949.h"
#include "util/hangul_initial.h"

TEST(HangulInitial, EverySyllableAndConsonantAgreesWithItsUnicodeForm) {
    const char* initials[hangulInitials] = {"ㄱ", "ㄲ", "ㄴ", "ㄷ", "ㄸ", "ㄹ", "ㅁ", "ㅂ", "ㅃ", "ㅅ",
                                            "ㅆ", "ㅇ", "ㅈ", "ㅉ", "ㅊ", "ㅋ", "ㅌ", "ㅍ", "ㅎ"};
    for (int32_t i = 0; i < hangulInitials; i++) EXPECT_EQ(HangulInitialOf(Cp949(initials[i]).c_str()), i);
    // Every syllable, the common ones and those only code page 949 adds.
    for (uint32_t u = 0xAC00; u <= 0xD7A3; u++) {
        char utf8[4] = {char(0xE0 | u >> 12), char(0x80 | ((u >> 6) & 0x3F)), char(0x80 | (u & 0x3F)), 0};
        ASSERT_EQ(HangulInitialOf(Cp949(utf8).c_str()), int32_t((u - 0xAC00) / 588)) << std::hex << u;
    }
    for (const char* none : {"ㄳ", "ㅏ", "A", "", "中", "ㆍ"})
        EXPECT_EQ(HangulInitialOf(Cp949(none).c_str()), noHangulInitial) << none;
}
