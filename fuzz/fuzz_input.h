// Reads a fuzzer's bytes as the numbers a target needs; past the end every read gives 0.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

// An expression, so that `return CHECK(...)` ends a check early.
#define CHECK(condition) ((condition) ? (void)0 : abort())

struct FuzzInput {
    const uint8_t* data;
    size_t size;
    uint8_t Byte() {
        if (size == 0) return 0;
        size--;
        return *data++;
    }
    uint32_t Half() {
        uint32_t low = Byte();
        return low | static_cast<uint32_t>(Byte()) << 8;
    }
    uint32_t Word() {
        uint32_t word = 0;
        for (int i = 0; i < 4; i++) word = word << 8 | Byte();
        return word;
    }
};
