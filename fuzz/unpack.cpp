// Unpacks arbitrary bytes: every stream either unpacks or is reported, and nothing outside the packed bytes
// or the exactly sized output is touched. A stream that unpacks gives the same bytes into a buffer of exactly
// its size and reports a buffer one byte shorter as too small.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include "util/block_packer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    const uint32_t packedSize = static_cast<uint32_t>(size);
    // No stream unpacks to more than 8 bytes per packed byte (a code takes a bit at least), so this never
    // fills.
    const uint32_t roomy = 8 * packedSize + 16;
    std::unique_ptr<uint8_t[]> first(new uint8_t[roomy]);
    const int64_t result = UnpackBlocks(data, packedSize, first.get(), roomy);
    if (result < 0) {
        if (result < packOutputFull || result == packOutputFull) abort();
        // A smaller output may turn the report into packOutputFull, but never into success.
        const uint32_t small = size ? data[0] : 0;
        std::unique_ptr<uint8_t[]> out(new uint8_t[small + 1]);
        if (UnpackBlocks(data, packedSize, out.get(), small) >= 0) abort();
        return 0;
    }
    const uint32_t unpacked = static_cast<uint32_t>(result);
    std::unique_ptr<uint8_t[]> exact(new uint8_t[unpacked ? unpacked : 1]);
    if (UnpackBlocks(data, packedSize, exact.get(), unpacked) != result) abort();
    if (memcmp(exact.get(), first.get(), unpacked) != 0) abort();
    if (unpacked) {
        std::unique_ptr<uint8_t[]> shorter(new uint8_t[unpacked - 1 ? unpacked - 1 : 1]);
        if (UnpackBlocks(data, packedSize, shorter.get(), unpacked - 1) != packOutputFull) abort();
    }
    return 0;
}
