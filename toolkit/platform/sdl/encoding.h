// Code page 949 and UTF-8 on the SDL backend.
#pragma once

#include <stdint.h>

// Code page 949 <-> UTF-8 through iconv. Both return the bytes written (without the terminating zero,
// which they always add), or -1 when the text cannot be converted.
int32_t SdlCp949ToUtf8(const char* text, char* destination, uint32_t size);
int32_t SdlUtf8ToCp949(const char* text, uint32_t length, char* destination, uint32_t size);
