// Packs, then unpacks: the bytes come back, the packed size stays within PackBlocksBound, an output of
// exactly the packed size gives the same stream and one byte less is reported as too small. Inputs whose
// first byte is below 0x80 are first narrowed to a small alphabet, so that dictionary blocks of every size
// occur; the rest are packed as they are.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include "util/block_packer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 1 << 20) return 0;
    const uint32_t inputSize = static_cast<uint32_t>(size - 2);
    std::unique_ptr<uint8_t[]> input(new uint8_t[inputSize ? inputSize : 1]);
    memcpy(input.get(), data + 2, inputSize);
    if (data[0] < 0x80) {
        const uint32_t alphabet = 1 + data[0] % 12;
        for (uint32_t j = 0; j < inputSize; j++)
            input[j] = static_cast<uint8_t>(data[1] + input[j] % alphabet);
    }

    const uint64_t bound = PackBlocksBound(inputSize);
    std::unique_ptr<uint8_t[]> packed(new uint8_t[bound]);
    const int64_t packedSize = PackBlocks(input.get(), inputSize, packed.get(), static_cast<uint32_t>(bound));
    if (packedSize <= 0 || static_cast<uint64_t>(packedSize) > bound) abort();

    std::unique_ptr<uint8_t[]> exact(new uint8_t[packedSize]);
    if (PackBlocks(input.get(), inputSize, exact.get(), static_cast<uint32_t>(packedSize)) != packedSize)
        abort();
    if (memcmp(exact.get(), packed.get(), packedSize) != 0) abort();
    std::unique_ptr<uint8_t[]> shorter(new uint8_t[packedSize]);
    if (PackBlocks(input.get(), inputSize, shorter.get(), static_cast<uint32_t>(packedSize - 1)) !=
        packOutputFull)
        abort();

    std::unique_ptr<uint8_t[]> output(new uint8_t[inputSize ? inputSize : 1]);
    if (UnpackBlocks(exact.get(), static_cast<uint32_t>(packedSize), output.get(), inputSize) != inputSize)
        abort();
    if (memcmp(output.get(), input.get(), inputSize) != 0) abort();
    return 0;
}
