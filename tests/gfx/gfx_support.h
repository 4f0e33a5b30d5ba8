// Surfaces over exactly-sized test memory and a per-pixel model to compare against.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <memory>
#include <random>
#include <vector>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/surface.h"

// Pixel memory of exactly stride × height bytes, so ASan sees any write past the last row. Every pixel,
// spare words included, starts as `fill`; spare words must keep it.
struct TestSurface {
    std::unique_ptr<uint8_t[]> memory;
    Surface surface = {};
    static constexpr uint16_t spare = 0xA5A5;

    TestSurface(int32_t width, int32_t height, uint16_t fill = 0) {
        size_t bytes = static_cast<size_t>(SurfaceStride(static_cast<uint32_t>(width))) * height;
        memory.reset(new uint8_t[bytes]);
        for (size_t i = 0; i + 1 < bytes; i += 2) memcpy(memory.get() + i, &spare, 2);
        CreateSurface(static_cast<uint32_t>(width), height, &surface, memory.get());
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) Set(x, y, fill);
    }
    int32_t Width() const { return surface.width; }
    int32_t Height() const { return surface.height; }
    uint16_t At(int32_t x, int32_t y) const {
        uint16_t p;
        memcpy(&p, surface.pixels + static_cast<size_t>(y) * surface.stride + 2 * static_cast<size_t>(x), 2);
        return p;
    }
    void Set(int32_t x, int32_t y, uint16_t p) {
        memcpy(surface.pixels + static_cast<size_t>(y) * surface.stride + 2 * static_cast<size_t>(x), &p, 2);
    }
    // Distinct values per pixel, avoiding `avoid` (a key).
    void Pattern(uint16_t seed, uint16_t avoid = 0xFFFF) {
        for (int32_t y = 0; y < Height(); ++y)
            for (int32_t x = 0; x < Width(); ++x) {
                uint16_t p = static_cast<uint16_t>(seed + y * 97 + x * 3 + 1);
                Set(x, y, p == avoid ? static_cast<uint16_t>(p + 1) : p);
            }
    }
    std::vector<uint16_t> Pixels() const {
        std::vector<uint16_t> all;
        for (int32_t y = 0; y < Height(); ++y)
            for (int32_t x = 0; x < Width(); ++x) all.push_back(At(x, y));
        return all;
    }
    bool SpareWordsIntact() const {
        if (Width() % 2 == 0) return true;
        for (int32_t y = 0; y < Height(); ++y)
            if (At(Width(), y) != spare) return false;
        return true;
    }
};

// What a copy of source pixel (sx, sy) to destination (dx, dy) should leave, pixel by pixel.
struct PixelModel {
    int32_t width, height;
    std::vector<uint16_t> pixels;
    explicit PixelModel(const TestSurface& s) : width(s.Width()), height(s.Height()), pixels(s.Pixels()) {}
    bool Inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    void Put(int64_t x, int64_t y, uint16_t p) {
        if (Inside(x, y)) pixels[static_cast<size_t>(y * width + x)] = p;
    }
    // The rectangle's pixels that lie inside both surfaces, keyed or not.
    void Blit(const TestSurface& source, int64_t sx, int64_t sy, int64_t dx, int64_t dy, int64_t w, int64_t h,
              bool keyed, uint16_t key) {
        for (int64_t y = 0; y < h; ++y)
            for (int64_t x = 0; x < w; ++x) {
                int64_t fx = sx + x, fy = sy + y;
                if (fx < 0 || fy < 0 || fx >= source.Width() || fy >= source.Height()) continue;
                uint16_t p = source.At(static_cast<int32_t>(fx), static_cast<int32_t>(fy));
                if (keyed && p == key) continue;
                Put(dx + x, dy + y, p);
            }
    }
};

inline void ExpectMatches(const TestSurface& s, const PixelModel& m, const char* what) {
    EXPECT_TRUE(s.SpareWordsIntact()) << what;
    EXPECT_EQ(s.Pixels(), m.pixels) << what;
}
