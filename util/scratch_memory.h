// Where the utility library gets its scratch arrays. The program points this at the platform's page
// allocator at start-up; until then calloc and free serve, so the library depends on no platform.
#pragma once

#include <stddef.h>

// Returns a zero-filled block of size bytes, or null when refused.
typedef void* (*ScratchAllocateFn)(size_t size);
typedef void (*ScratchFreeFn)(void* block);

// Null for either restores the calloc/free pair.
void SetScratchAllocator(ScratchAllocateFn allocate, ScratchFreeFn release);

void* AllocateScratch(size_t size);
void FreeScratch(void* block);
