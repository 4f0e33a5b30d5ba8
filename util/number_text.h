// Signed 32-bit integers to decimal text and decimal digits back to integers.
#pragma once

#include <stdint.h>

// NumberToText flags: bits 0-2 pick the form, and only 0 (decimal) exists.
constexpr uint32_t kNumberFormMask = 0x7, absoluteValue = 0x10;

// Room for the longest text, "-2147483648", and its zero byte.
constexpr uint32_t kNumberTextSize = 12;

// Writes value in decimal ("-" first when negative, unless absoluteValue) and a zero byte; returns the
// characters before it. An undefined form writes nothing and returns 0.
uint32_t NumberToText(int32_t value, char* buffer, uint32_t flags);

// Reads at most count characters, and never more than ten, stopping early at a zero byte; each one less "0"
// is the next digit, unchecked. Values beyond the 32-bit range saturate at INT32_MAX or INT32_MIN. A mode
// (bits 0-1) other than 0, decimal, reads nothing and returns 0.
int32_t TextToNumber(const char* text, uint32_t count, uint32_t mode);
