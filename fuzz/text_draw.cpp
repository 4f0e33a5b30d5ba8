// Arbitrary bytes drawn as text with arbitrary flags, fonts and boxes (often partly outside) into surfaces
// of exactly stride × height bytes, in both pixel formats. Pixels outside the box must keep their values;
// measuring and fitting the same bytes, given by length in an exactly sized block, must not fault.
#include "fuzz/fuzz_input.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include "toolkit/gfx/text.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/window/window_table.h"

namespace {

struct Input : FuzzInput {
    int32_t Small(int32_t range) { return static_cast<int32_t>(Byte() % range) - range / 4; }
};

} // namespace

static LogFont FontNumber(uint32_t n) {
    static const char* const faces[] = {"NanumGothic", "NoSuchFace", "NanumMyeongjo", ""};
    static const int32_t heights[] = {-16, 0, 13, -9};
    LogFont f = {};
    f.lfHeight = heights[n % 4];
    f.lfWeight = n & 4 ? 700 : 0;
    f.lfItalic = (n & 8) != 0;
    f.lfUnderline = (n & 16) != 0;
    f.lfCharSet = 129;
    strcpy(f.lfFaceName, faces[(n >> 5) % 4]);
    return f;
}

static uint16_t Pixel(const Surface& s, int32_t x, int32_t y) {
    uint16_t p;
    memcpy(&p, s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), 2);
    return p;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = false;
    if (!started) {
        HeadlessReset();
        started = true;
    }
    Input in = {{data, size}};
    uint8_t setup = in.Byte();
    HeadlessSetPixelFormat565(setup & 1);
    int32_t width = 1 + in.Byte() % 48, height = 1 + in.Byte() % 40;
    Extent box = {in.Small(64), in.Small(56), in.Small(96), in.Small(80)};
    if (setup & 2)
        box = {static_cast<int32_t>(in.Word()), static_cast<int32_t>(in.Word()),
               static_cast<int32_t>(in.Word()), static_cast<int32_t>(in.Word())};
    uint32_t flags = in.Word();
    uint32_t fontChoice = in.Byte();
    LogFont font = FontNumber(fontChoice);
    const LogFont* fontPointer = setup & 4 ? &font : nullptr;
    uint32_t textColour = in.Word(), backgroundColour = in.Word();

    // The rest is the text (kept short: every new character is a glyph to render): an exactly sized block,
    // and a zero-terminated copy.
    size_t n = in.size < 160 ? in.size : 160;
    std::unique_ptr<char[]> exact(new char[n ? n : 1]);
    if (n) memcpy(exact.get(), in.data, n);
    std::unique_ptr<char[]> terminated(new char[n + 1]);
    if (n) memcpy(terminated.get(), in.data, n);
    terminated[n] = 0;

    Surface s = {};
    CreateSurface(static_cast<uint32_t>(width), height, &s, nullptr);
    CHECK(s.pixels != nullptr);
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            uint16_t p = static_cast<uint16_t>(x * 31 + y * 7 + 5);
            memcpy(s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), &p, 2);
        }
    }
    DrawTextInSurface(terminated.get(), fontPointer, &s, &box, textColour, backgroundColour, flags);

    // Where the text may land: the box (grown by one with growBox) less its last column and row.
    Extent grown = box;
    if (flags & growBox) {
        grown.width = static_cast<int32_t>(static_cast<uint32_t>(grown.width) + 1);
        grown.height = static_cast<int32_t>(static_cast<uint32_t>(grown.height) + 1);
    }
    Bounds b;
    ExtentToBounds(&grown, &b);
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            bool inside = x >= b.left && x < b.right && y >= b.top && y < b.bottom;
            if (!inside) CHECK(Pixel(s, x, y) == static_cast<uint16_t>(x * 31 + y * 7 + 5));
        }
    }

    TextContext context = PlatformOpenText(mainWindowHandle, &s, fontPointer);
    CHECK(context != 0);
    int32_t w = -1, h = -1;
    CHECK(PlatformTextExtent(context, exact.get(), static_cast<int32_t>(n), &w, &h) == 1);
    CHECK(w >= 0 && h > 0);
    int32_t fitWidth = -1;
    int32_t fit = PlatformTextFit(context, exact.get(), static_cast<int32_t>(n),
                                  static_cast<int32_t>(flags & 0xFF), &fitWidth);
    CHECK(fit >= 0 && fit <= static_cast<int32_t>(n) && fitWidth >= 0 &&
          fitWidth <= static_cast<int32_t>(flags & 0xFF));
    PlatformRect rect = {box.x, box.y, static_cast<int32_t>(static_cast<uint32_t>(box.x) + box.width),
                         static_cast<int32_t>(static_cast<uint32_t>(box.y) + box.height)};
    PlatformDrawText(context, exact.get(), static_cast<int32_t>(n), &rect, textColour, backgroundColour,
                     flags & 3);
    PlatformCloseText(context);
    ReleaseSurface(&s);
    return 0;
}
