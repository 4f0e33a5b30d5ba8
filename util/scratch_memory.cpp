#include "util/scratch_memory.h"

#include <stdlib.h>

static void* CallocBlock(size_t size) {
    return calloc(1, size);
}

static ScratchAllocateFn allocateScratch = CallocBlock;
static ScratchFreeFn freeScratch = free;

void SetScratchAllocator(ScratchAllocateFn allocate, ScratchFreeFn release) {
    // Both or neither: a block must go back to the allocator it came from.
    bool both = allocate && release;
    allocateScratch = both ? allocate : CallocBlock;
    freeScratch = both ? release : free;
}

void* AllocateScratch(size_t size) {
    return allocateScratch(size);
}

void FreeScratch(void* block) {
    if (block) freeScratch(block);
}
