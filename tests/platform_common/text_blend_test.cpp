// Glyph coverage blended into 16-bit pixels: every coverage value, over every kind of pixel beneath, in both
// layouts and at every row length (the eight-pixel groups and the pixels after them), mixes each channel as
// (text * weight + under * (32 - weight)) / 32 with weight (coverage + 4) / 8; 0 keeps the pixel beneath
// whole and 255 writes the text pixel.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "toolkit/platform/common/text_blend.h"

static uint16_t Expected(uint16_t under, uint8_t a, uint16_t text, bool is565) {
    if (a == 0) return under;
    if (a == 255) return text;
    const uint32_t weight = (a + 4u) >> 3;
    const int redShift = is565 ? 11 : 10;
    const uint32_t greenMask = is565 ? 0x3F : 0x1F;
    auto mix = [&](uint32_t t, uint32_t u) { return (t * weight + u * (32 - weight)) >> 5; };
    const uint32_t blue = mix(text & 0x1F, under & 0x1F);
    const uint32_t green = mix((text >> 5) & greenMask, (under >> 5) & greenMask);
    const uint32_t red = mix((text >> redShift) & 0x1F, (under >> redShift) & 0x1F);
    return static_cast<uint16_t>(blue | green << 5 | red << redShift);
}

TEST(TextBlend, EveryCoverageMixesEachChannelAsDocumented) {
    std::mt19937 random(5);
    for (bool is565 : {true, false})
        for (int32_t width = 1; width <= 40; width++)
            for (int32_t room : {4, 16}) { // pixels after the row: the last ones alone, or as a group
                const int32_t rows = 3, stride = 2 * (width + room);
                std::vector<uint8_t> coverage(static_cast<size_t>(width) * rows);
                for (size_t i = 0; i < coverage.size(); i++)
                    coverage[i] = i % 5 == 0 ? 0 : i % 7 == 0 ? 255 : static_cast<uint8_t>(random());
                std::vector<uint16_t> surface(static_cast<size_t>(width + room) * rows);
                for (uint16_t& p : surface) p = static_cast<uint16_t>(random());
                const uint16_t text = is565 ? 0x3A5C : 0x2A5C;
                std::vector<uint16_t> want = surface;
                for (int32_t y = 0; y < rows; y++)
                    for (int32_t x = 0; x < width; x++) {
                        uint16_t& p = want[static_cast<size_t>(y) * (width + room) + 2 + x];
                        p = Expected(p, coverage[static_cast<size_t>(y) * width + x], text, is565);
                    }
                BlendCoverage(reinterpret_cast<uint8_t*>(surface.data()), static_cast<uint32_t>(stride), 2, 0,
                              coverage.data(), width, width, rows, text, is565);
                ASSERT_EQ(surface, want)
                    << (is565 ? "5-6-5" : "5-5-5") << ", width " << width << ", room " << room;
            }
}

TEST(TextBlend, FillsCoverExactlyTheirRectangle) {
    for (int32_t width = 0; width <= 13; width++) {
        std::vector<uint16_t> surface(5 * 20, 0xAAAA), want = surface;
        for (int32_t y = 1; y < 4; y++)
            for (int32_t x = 3; x < 3 + width; x++) want[static_cast<size_t>(y) * 20 + x] = 0x1234;
        FillPixels(reinterpret_cast<uint8_t*>(surface.data()), 40, 3, 1, width, 3, 0x1234);
        ASSERT_EQ(surface, want) << width;
    }
}
