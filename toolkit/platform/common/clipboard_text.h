// The Linux backends' clipboard text: the system's UTF-8 to and from the toolkit's code page 949.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

// Zero-terminated UTF-8 as code page 949 into buffer, by PlatformGetClipboardText's rules. A byte that
// starts no valid UTF-8 character counts as one character that code page 949 cannot hold.
int32_t ClipboardUtf8ToCp949(const char* utf8, char* buffer, uint32_t capacity, ClipboardRead* read);

// length bytes of code page 949 (fewer when a zero byte comes first) as zero-terminated UTF-8; a byte that
// starts no character becomes '?'. Returns the bytes written, or -1 when they do not fit in size bytes.
int32_t ClipboardCp949ToUtf8(const char* text, uint32_t length, char* utf8, uint32_t size);

// The size that ClipboardCp949ToUtf8 never needs more than for length bytes: two bytes make at most three.
inline uint32_t ClipboardUtf8Size(uint32_t length) {
    return length + length / 2 + 1;
}
