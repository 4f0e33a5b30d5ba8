// The initial consonant of a Korean character in code page 949: what a search by initials compares.
#pragma once

#include <stdint.h>

// The nineteen initials in their dictionary order: ㄱ ㄲ ㄴ ㄷ ㄸ ㄹ ㅁ ㅂ ㅃ ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ.
enum : int32_t { hangulInitials = 19, noHangulInitial = -1 };

// The initial (0 to 18) of the two-byte character lead << 8 | trail: a syllable's first consonant, or the
// consonant itself for a compatibility jamo that can begin a syllable (ㄱ, not ㄳ). noHangulInitial for
// anything else.
int32_t HangulInitialOfCode(uint32_t code);
// The same for the character text begins with; noHangulInitial for a one-byte character or an empty text.
int32_t HangulInitialOf(const char* text);
