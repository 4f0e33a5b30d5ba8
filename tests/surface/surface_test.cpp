// Surfaces, the pixel-format probe, colour conversion and bitmap loading.
#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace {

class SurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetToolkit(); }
    void TearDown() override { ResetToolkit(); }
};

TEST_F(SurfaceTest, StrideRoundsWidthUpToEvenPixels) {
    const uint32_t widths[] = {0, 1, 2, 3, 15, 16, 17, 640, 0xFFFFFFFFu};
    const uint32_t strides[] = {0, 4, 4, 8, 32, 32, 36, 1280, 0x80000000u * 4};
    for (size_t i = 0; i < sizeof widths / sizeof widths[0]; i++) {
        EXPECT_EQ(SurfaceStride(widths[i]), strides[i]) << widths[i];
    }
    Surface s = {};
    CreateSurface(3, 5, &s, nullptr);
    EXPECT_EQ(s.stride, 8u);
    EXPECT_EQ(s.bitsPerPixel, 16u);
    EXPECT_NE(s.bitmap, 0u);
    // Rows start on 4-byte boundaries and the whole buffer is writable.
    memset(s.pixels, 0xAB, s.stride * 5);
    ReleaseSurface(&s);
}

TEST_F(SurfaceTest, CallerMemoryIsAdoptedAndNeverFreed) {
    std::vector<uint8_t> memory(8 * 4, 0x55);
    Surface s = {};
    CreateSurface(3, 4, &s, memory.data());
    EXPECT_EQ(s.pixels, memory.data());
    EXPECT_EQ(s.bitmap, 0u);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0);
    ReleaseSurface(&s);
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(memory[0], 0x55);
}

TEST_F(SurfaceTest, ReleaseTwiceFreesOnceAndLeavesZeroes) {
    Surface s = {};
    CreateSurface(10, 10, &s, nullptr);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 1);
    ReleaseSurface(&s);
    ReleaseSurface(&s);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0);
    Surface zero = {};
    EXPECT_EQ(memcmp(&s, &zero, sizeof s), 0);
}

TEST_F(SurfaceTest, SurfaceWithoutPixelMemoryKeepsItsSizeButNoPixels) {
    Surface s = {};
    HeadlessFailPixels(1);
    CreateSurface(20, 20, &s, nullptr);
    EXPECT_FALSE(SurfaceIsDrawable(&s));
    EXPECT_EQ(s.width, 20);
    EXPECT_EQ(s.height, 20);
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(s.bitmap, 0u);
    ReleaseSurface(&s);
    // Zero and negative sizes make no pixel memory either.
    CreateSurface(0, 10, &s, nullptr);
    EXPECT_FALSE(SurfaceIsDrawable(&s));
    CreateSurface(10, -3, &s, nullptr);
    EXPECT_FALSE(SurfaceIsDrawable(&s));
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0);
}

TEST_F(SurfaceTest, ColourToPixelInBothFormats) {
    struct Case {
        uint32_t colour;
        uint32_t p565, p555;
    } cases[] = {
        {0x000000, 0x0000, 0x0000}, {0xFFFFFF, 0xFFFF, 0x7FFF}, {0x0000FF, 0xF800, 0x7C00},
        {0x00FF00, 0x07E0, 0x03E0}, {0xFF0000, 0x001F, 0x001F}, {0xFF00FF, 0xF81F, 0x7C1F},
        {0xEE0000, 0x001D, 0x001D}, {0x808080, 0x8410, 0x4210}, {0x12FFFFFF, 0xFFFF, 0x7FFF},
        {0x070307, 0x0000, 0x0000},
    };
    for (const Case& c : cases) {
        Theme[pixelFormat] = rgb565;
        EXPECT_EQ(ColourToPixel(c.colour), c.p565) << std::hex << c.colour;
        Theme[pixelFormat] = 0;
        EXPECT_EQ(ColourToPixel(c.colour), c.p555) << std::hex << c.colour;
    }
}

TEST_F(SurfaceTest, PixelToColourInBothFormats) {
    struct Case {
        uint32_t pixel, c565, c555;
    } cases[] = {
        {0x0000, 0x040204, 0x040404}, {0xFFFF, 0xFFFFFF, 0xFFFFFE}, {0x7FFF, 0xFFFF7F, 0xFFFFFE},
        {0xF800, 0x0402FC, 0x0404F4}, {0x07E0, 0x07FE07, 0x07FC0E}, {0x001F, 0xFC0304, 0xFC0704},
    };
    for (const Case& c : cases) {
        Theme[pixelFormat] = rgb565;
        EXPECT_EQ(PixelToColour(c.pixel), c.c565) << std::hex << c.pixel;
        EXPECT_EQ(PixelToColour(c.pixel | 0xABCD0000u), c.c565) << "upper bits are ignored";
        Theme[pixelFormat] = 0;
        EXPECT_EQ(PixelToColour(c.pixel), c.c555) << std::hex << c.pixel;
    }
}

TEST_F(SurfaceTest, InitDisplayProbesFormatAndRegistersCommand) {
    HeadlessSetScreenSize(800, 600);
    HeadlessSetPixelFormat565(0);
    InitDisplay();
    EXPECT_EQ(Theme[pixelFormat] & rgb565, 0u);
    EXPECT_EQ(ColourToPixel(0x00FF00), 0x03E0u);
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenHeight, 600);
    EXPECT_NE(toolkitCommandMessage, 0u);
    EXPECT_EQ(PlatformRegisterMessage("NIMBLEUI_CMD"), toolkitCommandMessage);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0) << "the probe surface is released";

    HeadlessSetPixelFormat565(1);
    InitDisplay();
    EXPECT_EQ(Theme[pixelFormat] & rgb565, rgb565);
    // The bit is only ever set.
    HeadlessSetPixelFormat565(0);
    InitDisplay();
    EXPECT_EQ(Theme[pixelFormat] & rgb565, rgb565);
}

class BitmapTest : public BothFormats {
  protected:
    std::string TempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string path = ::testing::TempDir() + "vq_" + std::to_string(getpid()) + "_" + name;
        FILE* f = fopen(path.c_str(), "wb");
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        return path;
    }
    std::vector<uint8_t> ReadFile(const std::string& path) {
        std::vector<uint8_t> bytes;
        FILE* f = fopen(path.c_str(), "rb");
        int c;
        while (f && (c = fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
        if (f) fclose(f);
        return bytes;
    }
};

TEST_P(BitmapTest, ResourcesLoadIntoTheDetectedFormat) {
    Surface s = {};
    ASSERT_EQ(LoadBitmapSurface(9000, &s, 0), -1);
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(s.height, 2);
    // Rows are top-down whatever the file's row order.
    const uint32_t colours[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0xFF00FF};
    for (int32_t i = 0; i < 6; i++) EXPECT_EQ(PixelAt(s, i % 3, i / 3), ColourToPixel(colours[i])) << i;
    ReleaseSurface(&s);

    ASSERT_EQ(LoadBitmapSurface(9001, &s, 0), -1); // 32-bit, top-down
    EXPECT_EQ(s.width, 16);
    EXPECT_EQ(PixelAt(s, 5, 9), ColourToPixel(5 * 16 | (9 * 16) << 8 | 128 << 16));
    ReleaseSurface(&s);

    ASSERT_EQ(LoadBitmapSurface(9002, &s, 0), -1); // 8-bit palette
    EXPECT_EQ(s.width, 5);
    EXPECT_EQ(s.height, 3);
    EXPECT_EQ(PixelAt(s, 1, 0), ColourToPixel(0x0000FF));
    EXPECT_EQ(PixelAt(s, 3, 2), ColourToPixel(0x000000));
    ReleaseSurface(&s);

    // By name, as the resource functions accept it.
    ASSERT_EQ(LoadBitmapSurface(reinterpret_cast<uintptr_t>("#9000"), &s, 0), -1);
    EXPECT_EQ(s.width, 3);
    ReleaseSurface(&s);
}

TEST_P(BitmapTest, FilesLoadWithFlagBitZero) {
    std::vector<uint8_t> bytes = ReadFile(std::string(VQ_TEST_DATA) + "/9000-rgb24.bmp");
    ASSERT_FALSE(bytes.empty());
    std::string path = TempFile("good.bmp", bytes);
    Surface s = {};
    ASSERT_EQ(LoadBitmapSurface(reinterpret_cast<uintptr_t>(path.c_str()), &s, 0x1 | 0xF0), -1);
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(PixelAt(s, 2, 1), ColourToPixel(0xFF00FF));
    ReleaseSurface(&s);
    // Without the flag the same text names a resource, which does not exist.
    EXPECT_EQ(LoadBitmapSurface(reinterpret_cast<uintptr_t>(path.c_str()), &s, 0), 0);
    remove(path.c_str());
}

TEST_P(BitmapTest, BadInputFailsAndLeavesTheSurfaceUntouched) {
    Surface s = {};
    s.width = 77; // a sentinel: a failed load must not touch the record
    std::vector<uint8_t> good = ReadFile(std::string(VQ_TEST_DATA) + "/9001-rgb32-topdown.bmp");
    ASSERT_FALSE(good.empty());

    EXPECT_EQ(LoadBitmapSurface(4242, &s, 0), 0) << "missing id";
    HeadlessFailPixels(1);
    EXPECT_EQ(LoadBitmapSurface(9000, &s, 0), 0) << "no pixel memory for the surface";
    EXPECT_EQ(LoadBitmapSurface(0, &s, 0), 0) << "null name";
    EXPECT_EQ(LoadBitmapSurface(reinterpret_cast<uintptr_t>("/nonexistent/x.bmp"), &s, 1), 0);

    // Kept whole or cut short, with the bytes from `at` replaced: an empty file, the header cut short, the
    // pixels missing, not a bitmap, 13 bits per pixel, an absurd width.
    const size_t all = good.size();
    struct Case {
        size_t keep, at;
        std::vector<uint8_t> bytes;
    } const cases[] = {{0, 0, {}},      {10, 0, {}},     {60, 0, {}},
                       {all, 0, {'X'}}, {all, 28, {13}}, {all, 18, {0xFF, 0xFF, 0xFF, 0x7F}}};
    int index = 0;
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(c.keep));
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + static_cast<ptrdiff_t>(c.at));
        std::string path = TempFile("bad" + std::to_string(index) + ".bmp", bytes);
        EXPECT_EQ(LoadBitmapSurface(reinterpret_cast<uintptr_t>(path.c_str()), &s, 1), 0) << "case " << index;
        remove(path.c_str());
        index++;
    }
    EXPECT_EQ(s.width, 77);
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0);
}

VQ_BOTH_FORMATS(BitmapTest);

} // namespace
