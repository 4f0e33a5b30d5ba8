// In-place sorts of string tables and byte buffers. Both take a scratch copy from the scratch allocator and
// leave their input unchanged when it is refused. Equal keys end up in the reverse of their input order.
#pragma once

#include <stdint.h>

#include "util/dbcs_string.h"

// lengthFirst and ignoreCase come from CompareStrings; wider flag words are accepted and other bits ignored.
constexpr uint32_t descending = 0x4, keepZeros = 0x8;

// Orders count pointer-sized entries; entry e designates the string at base + e, so a table may hold offsets
// into one text (base = its address) or pointers to records whose text starts base bytes in. Zero entries
// are empty slots: they gather at the end. The table needs no particular alignment.
void SortOffsets(void* table, uint32_t count, uintptr_t base, uint32_t flags);

// Orders the bytes of buffer (ignoreCase: a-z sort as A-Z). Without keepZeros the zero bytes are dropped and
// the end of the buffer is zero-filled.
void SortBytes(uint8_t* buffer, uint32_t size, uint32_t flags);
