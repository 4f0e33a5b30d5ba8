// Surfaces, fonts and pixel inspection shared by the text tests.
#pragma once

#include <stdio.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/gfx/text.h"

// "종료하시겠습니까?" in code page 949.
inline const char* const kQuestion = "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "Velquist 창을 닫으면 작업 내용이 저장됩니다. Save 2 files?"
inline const char* const kParagraph = "Velquist \xC3\xA2\xC0\xBB \xB4\xDD\xC0\xB8\xB8\xE9 \xC0\xDB\xBE\xF7 "
                                      "\xB3\xBB\xBF\xEB\xC0\xCC \xC0\xFA\xC0\xE5\xB5\xCB\xB4\xCF\xB4\xD9. "
                                      "Save 2 files?";

inline LogFont MakeFont(const char* face, int32_t height, int32_t weight = 0, uint8_t italic = 0,
                        uint8_t underline = 0) {
    LogFont f = {};
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfItalic = italic;
    f.lfUnderline = underline;
    f.lfCharSet = 129;
    snprintf(f.lfFaceName, sizeof f.lfFaceName, "%s", face);
    return f;
}

struct Box {
    int32_t left, top, right, bottom; // exclusive right and bottom; empty when right <= left
    bool operator==(const Box&) const = default;
};

// A platform-owned surface filled with one pixel value.
inline Surface FilledSurface(int32_t width, int32_t height, uint16_t fill) {
    Surface s = {};
    CreateSurface(static_cast<uint32_t>(width), height, &s, nullptr);
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            memcpy(s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), &fill, 2);
        }
    }
    return s;
}

// The smallest box holding every pixel that is not `fill`.
inline Box ChangedBox(const Surface& s, uint16_t fill) {
    Box b = {s.width, s.height, 0, 0};
    for (int32_t y = 0; y < s.height; y++) {
        for (int32_t x = 0; x < s.width; x++) {
            if (PixelAt(s, x, y) == fill) continue;
            if (x < b.left) b.left = x;
            if (y < b.top) b.top = y;
            if (x + 1 > b.right) b.right = x + 1;
            if (y + 1 > b.bottom) b.bottom = y + 1;
        }
    }
    if (b.right <= b.left) b = {0, 0, 0, 0};
    return b;
}

inline int32_t CountPixels(const Surface& s, uint16_t value, Box area) {
    int32_t n = 0;
    for (int32_t y = area.top; y < area.bottom; y++) {
        for (int32_t x = area.left; x < area.right; x++) n += PixelAt(s, x, y) == value;
    }
    return n;
}

// Pixels of a region as one vector, to compare two drawings.
inline std::vector<uint16_t> Region(const Surface& s, Box area) {
    std::vector<uint16_t> out;
    for (int32_t y = area.top; y < area.bottom; y++) {
        for (int32_t x = area.left; x < area.right; x++) out.push_back(PixelAt(s, x, y));
    }
    return out;
}

inline TextSize Measure(const LogFont* font, const char* text) {
    TextSize size = {-1, -1};
    MeasureText(mainWindowHandle, font, text, static_cast<int32_t>(strlen(text)), &size);
    return size;
}

class TextTest : public BothFormats {};
