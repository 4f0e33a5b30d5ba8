// Benchmark buffers at a fixed place within pages.
#pragma once

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

// Memory at a fixed place within pages, so that a figure does not depend on where malloc put a buffer: on
// these processors a copy whose destination lies a few bytes past its source modulo 4 KiB runs up to twenty
// times slower (the C library's string moves most of all).
struct PageMemory {
    uint8_t* block;
    uint8_t* at;
    PageMemory(size_t bytes, size_t offset) {
        block = static_cast<uint8_t*>(aligned_alloc(4096, (bytes + offset + 4095) / 4096 * 4096));
        at = block + offset;
        memset(at, 0, bytes);
    }
    ~PageMemory() { free(block); }
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;
};
