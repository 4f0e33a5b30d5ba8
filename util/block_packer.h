// Lossless packer for byte buffers with small local alphabets, and its unpacker.
//
// Packed stream: blocks, each starting with a one-byte tag, closed by an end block.
//   0 EndBlock         nothing follows.
//   1 LiteralBlock     length L (the packer writes 1..16), then L raw bytes.
//   2 DictionaryBlock  8 symbol bytes (most frequent first, unused entries 0x00 last), the count N as a
//                      varint (7 bits a byte, low group first, 0x80 = more, 1..5 bytes), then a little-endian
//                      bit stream holding, for each of the N bytes, its symbol index i as i zero bits and a 1
//                      bit; the area ends with the byte holding the last 1 bit.
// There is no header, total length or checksum.
#pragma once

#include <stdint.h>

// Results below zero; every size result is zero or above.
enum PackResult : int64_t {
    packTruncated = -1,  // the stream ends inside a block or before its end block
    packBadCount = -2,   // a dictionary block with count 0, or a count varint longer than 5 bytes or 32 bits
    packBadSymbol = -3,  // a bit area codes a symbol index above 7
    packBadTag = -4,     // a tag other than 0, 1 or 2
    packOutputFull = -5, // the output buffer is too small
};

// The largest packed size of any input of inputSize bytes, end block included.
uint64_t PackBlocksBound(uint32_t inputSize);

// Packs input into output and returns the packed size, end block included, or packOutputFull when
// outputCapacity is too small. Never writes past outputCapacity bytes; bytes past the returned size may have
// been written. A capacity of PackBlocksBound(inputSize) always suffices.
int64_t PackBlocks(const uint8_t* input, uint32_t inputSize, uint8_t* output, uint32_t outputCapacity);

// Unpacks a stream of packedSize bytes into output and returns the unpacked size, or a negative PackResult.
// Reads only packed[0 .. packedSize) and writes only output[0 .. outputCapacity); bytes after the end block
// are ignored. On failure, or past the returned size, the output holds unspecified bytes.
int64_t UnpackBlocks(const uint8_t* packed, uint32_t packedSize, uint8_t* output, uint32_t outputCapacity);

// Sorts 8 symbols and their counts by descending count; among equal counts the later entry comes first.
void SortDictionary(uint8_t symbols[8], uint32_t counts[8]);
