#include "toolkit/platform/common/clipboard_text.h"

#include <iconv.h>
#include <string.h>

#include "toolkit/platform/common/cp949_decode.h"

enum : uint32_t { notHeld = 0xFFFFFFFFu };

// glibc's converter, opened on first use and kept.
static iconv_t encoder = reinterpret_cast<iconv_t>(-1);
static int32_t encoderState; // 0 untried, 1 open, -1 unavailable

// One code point as code page 949 in bytes; returns 1 or 2, or 0 when code page 949 cannot hold it.
static uint32_t EncodeCp949(uint32_t point, char* bytes) {
    if (point < 0x80) {
        bytes[0] = static_cast<char>(point);
        return 1;
    }
    if (point == notHeld) return 0;
    if (encoderState == 0) {
        encoder = iconv_open("CP949", "UTF-32LE");
        encoderState = encoder == reinterpret_cast<iconv_t>(-1) ? -1 : 1;
    }
    if (encoderState != 1) return 0;
    char in[4] = {static_cast<char>(point), static_cast<char>(point >> 8), static_cast<char>(point >> 16), 0};
    char* inPointer = in;
    size_t inLeft = sizeof in;
    char* outPointer = bytes;
    size_t outLeft = 2;
    if (iconv(encoder, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0) {
        iconv(encoder, nullptr, nullptr, nullptr, nullptr);
        return 0;
    }
    return static_cast<uint32_t>(2 - outLeft);
}

// The code point that starts at text (notHeld for a byte that starts no valid character: overlong forms and
// surrogates included); its byte count goes to size.
static uint32_t DecodeUtf8(const uint8_t* text, uint32_t* size) {
    *size = 1;
    uint32_t b = text[0];
    if (b < 0x80) return b;
    uint32_t count = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    if (count == 0 || b > 0xF4) return notHeld;
    uint32_t point = b & (0x7F >> count);
    for (uint32_t i = 1; i < count; i++) {
        if ((text[i] & 0xC0) != 0x80) return notHeld;
        point = point << 6 | (text[i] & 0x3F);
    }
    static const uint32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < least[count] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return notHeld;
    *size = count;
    return point;
}

int32_t ClipboardUtf8ToCp949(const char* utf8, char* buffer, uint32_t capacity, ClipboardRead* read) {
    ClipboardRead counts = {0, 0};
    uint32_t written = 0;
    const uint8_t* in = reinterpret_cast<const uint8_t*>(utf8);
    while (*in) {
        uint32_t size;
        uint32_t point = DecodeUtf8(in, &size);
        in += size;
        char bytes[2] = {'?', 0};
        uint32_t n = EncodeCp949(point, bytes);
        uint32_t lacking = n == 0;
        if (lacking) {
            bytes[0] = '?';
            n = 1;
        }
        // Once one character is left out, so is everything after it.
        if (counts.leftOut == 0 && written + n < capacity) {
            memcpy(buffer + written, bytes, n);
            written += n;
            counts.replaced += lacking;
        } else {
            counts.leftOut += n;
        }
    }
    if (capacity > 0) buffer[written] = 0;
    if (read) *read = counts;
    return static_cast<int32_t>(written);
}

int32_t ClipboardCp949ToUtf8(const char* text, uint32_t length, char* utf8, uint32_t size) {
    if (size == 0) return -1;
    uint32_t o = 0;
    for (uint32_t i = 0; i < length && text[i];) {
        uint32_t code = static_cast<uint8_t>(text[i++]);
        if (code > 0x80 && i < length && text[i]) code = code << 8 | static_cast<uint8_t>(text[i]);
        uint32_t point = code < 0x80 ? code : DecodeCp949(code);
        if (code > 0xFF) {
            if (point != 0)
                i++;
            else
                point = '?'; // the trail byte may start a character of its own
        } else if (code >= 0x80) {
            point = '?';
        }
        uint32_t n = point < 0x80 ? 1 : point < 0x800 ? 2 : 3;
        if (o + n >= size) return -1;
        if (n == 1) {
            utf8[o] = static_cast<char>(point);
        } else if (n == 2) {
            utf8[o] = static_cast<char>(0xC0 | point >> 6);
            utf8[o + 1] = static_cast<char>(0x80 | (point & 0x3F));
        } else {
            utf8[o] = static_cast<char>(0xE0 | point >> 12);
            utf8[o + 1] = static_cast<char>(0x80 | (point >> 6 & 0x3F));
            utf8[o + 2] = static_cast<char>(0x80 | (point & 0x3F));
        }
        o += n;
    }
    utf8[o] = 0;
    return static_cast<int32_t>(o);
}
