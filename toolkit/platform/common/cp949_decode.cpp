#include "toolkit/platform/common/cp949_decode.h"

#include <iconv.h>
#include <string.h>

// glibc's converter, opened on first use and kept.
static iconv_t decoder = reinterpret_cast<iconv_t>(-1);
static int32_t decoderState; // 0 untried, 1 open, -1 unavailable

uint32_t DecodeCp949(uint32_t code) {
    if (code < 0x80) return code;
    if (decoderState == 0) {
        decoder = iconv_open("UTF-32LE", "CP949");
        decoderState = decoder == reinterpret_cast<iconv_t>(-1) ? -1 : 1;
    }
    if (decoderState != 1) return 0;
    char in[2];
    size_t inLeft = 0;
    if (code > 0xFF) in[inLeft++] = static_cast<char>(code >> 8);
    in[inLeft++] = static_cast<char>(code);
    unsigned char out[8];
    char* inPointer = in;
    char* outPointer = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    size_t converted = iconv(decoder, &inPointer, &inLeft, &outPointer, &outLeft);
    if (converted == static_cast<size_t>(-1) || inLeft != 0 || outLeft != 4) {
        iconv(decoder, nullptr, nullptr, nullptr, nullptr);
        return 0;
    }
    return out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24);
}

void Cp949ToUtf8(const char* text, char* utf8, size_t size) {
    size_t o = 0;
    for (size_t i = 0; text[i];) {
        uint32_t b = static_cast<uint8_t>(text[i]);
        uint32_t code = b;
        i++;
        if (b > 0x80) {
            if (!text[i]) break;
            code = (b << 8) | static_cast<uint8_t>(text[i]);
            i++;
        }
        uint32_t point = DecodeCp949(code);
        if (point == 0) break;
        uint8_t bytes[4];
        size_t n;
        if (point < 0x80) {
            bytes[0] = static_cast<uint8_t>(point);
            n = 1;
        } else if (point < 0x800) {
            bytes[0] = static_cast<uint8_t>(0xC0 | (point >> 6));
            bytes[1] = static_cast<uint8_t>(0x80 | (point & 0x3F));
            n = 2;
        } else {
            bytes[0] = static_cast<uint8_t>(0xE0 | (point >> 12));
            bytes[1] = static_cast<uint8_t>(0x80 | ((point >> 6) & 0x3F));
            bytes[2] = static_cast<uint8_t>(0x80 | (point & 0x3F));
            n = 3;
        }
        if (o + n >= size) break;
        memcpy(utf8 + o, bytes, n);
        o += n;
    }
    utf8[o] = 0;
}
