// Code page 949 decoding for the shared text renderer, through glibc's iconv.
#pragma once

#include <stddef.h>
#include <stdint.h>

// One character's bytes (one byte, or lead byte << 8 | trail byte) as a Unicode code point; 0 when they do
// not decode.
uint32_t DecodeCp949(uint32_t code);

// A zero-terminated code page 949 text as zero-terminated UTF-8 in size bytes; a character that does not
// decode, or does not fit, ends it.
void Cp949ToUtf8(const char* text, char* utf8, size_t size);
