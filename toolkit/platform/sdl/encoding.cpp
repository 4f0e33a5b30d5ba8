// Code page 949 <-> UTF-8 through glibc's iconv.
#include <errno.h>
#include <iconv.h>
#include <string.h>

#include "toolkit/platform/sdl/encoding.h"

// Code page 949 keeps ASCII as it is, so ASCII text is copied without starting iconv: a program whose
// window titles are ASCII loads no converter before its first frame.
static int32_t CopyAscii(const char* text, size_t length, char* destination, uint32_t size) {
    for (size_t i = 0; i < length; i++) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) return -1;
    }
    size_t copied = length < size - 1 ? length : size - 1;
    memcpy(destination, text, copied);
    destination[copied] = 0;
    return static_cast<int32_t>(copied);
}

// One converter each way, opened at first use and kept: opening one costs a 32 kB state and a module
// lookup, and text input converts every composition. The toolkit converts on its own thread only.
struct Converter {
    const char* to;
    const char* from;
    iconv_t cd;
};

static Converter toUtf8 = {"UTF-8", "CP949", reinterpret_cast<iconv_t>(-1)};
static Converter toCp949 = {"CP949", "UTF-8", reinterpret_cast<iconv_t>(-1)};

// Converts length bytes; a byte that does not convert becomes '?' when lossy, or fails the call.
static int32_t Convert(Converter* c, const char* text, size_t length, char* destination, uint32_t size,
                       bool lossy) {
    if (!destination || size == 0) return -1;
    int32_t ascii = CopyAscii(text, length, destination, size);
    if (ascii >= 0) return ascii;
    if (c->cd == reinterpret_cast<iconv_t>(-1)) c->cd = iconv_open(c->to, c->from);
    iconv_t cd = c->cd;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        destination[0] = 0;
        return -1;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // a failed call before may have left a shift state
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    char* out = destination;
    size_t outLeft = size - 1;
    int32_t result = 0;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || !lossy) {
            result = errno == E2BIG ? 0 : -1; // a full destination keeps what fitted
            break;
        }
        if (outLeft == 0) break;
        *out++ = '?';
        outLeft--;
        in++;
        inLeft--;
    }
    if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1) && !lossy) result = -1;
    if (result < 0) {
        destination[0] = 0;
        return -1;
    }
    *out = 0;
    return static_cast<int32_t>(out - destination);
}

int32_t SdlCp949ToUtf8(const char* text, char* destination, uint32_t size) {
    return Convert(&toUtf8, text, strlen(text), destination, size, true);
}

int32_t SdlUtf8ToCp949(const char* text, uint32_t length, char* destination, uint32_t size) {
    return Convert(&toCp949, text, length, destination, size, false);
}
