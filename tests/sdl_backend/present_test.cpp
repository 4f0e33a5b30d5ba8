// The SDL backend's screen copy on SDL's dummy video driver, whose windows keep their pixels in a surface
// that the test reads: after every present the window shows the surface's pixels, through the window's own
// surface (no GPU) and through SDL's software renderer alike, and only the rectangle that really changed
// is sent.
#include <gtest/gtest.h>
#include <string.h>

#include <random>
#include <vector>

#include "tests/sdl_backend/sdl_events.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"
#include "toolkit/platform/sdl/present_stats.h"
#include "toolkit/platform/sdl/events.h"
#include "toolkit/platform/sdl/window_table.h"

static intptr_t PlainProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// 5-6-5 widened to 8 bits a channel the way SDL's conversions do it, within one step of rounding.
static bool Shows(uint32_t screen, uint16_t pixel) {
    const uint32_t r = pixel >> 11, g = (pixel >> 5) & 63, b = pixel & 31;
    const uint32_t want[3] = {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
    const uint32_t got[3] = {(screen >> 16) & 0xFF, (screen >> 8) & 0xFF, screen & 0xFF};
    for (int i = 0; i < 3; i++) {
        if (got[i] + 1 < want[i] || got[i] > want[i] + 1) return false;
    }
    return true;
}

namespace {

class SdlPresent : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (GetParam()) SDL_SetHint(SDL_HINT_RENDER_DRIVER, GetParam());
        static bool registered = false;
        if (!registered) PlatformRegisterClass("Present_Class", PlainProc, 0, 0, 0);
        registered = true;
        window = PlatformCreateWindow("Present_Class", "Present", WS_SYSMENU, 10, 10, 96, 64, 0, 0);
        ASSERT_NE(window, 0u);
        PlatformShowWindow(window, SW_SHOWNORMAL);
        InitDisplay();
        CreateSurface(96, 64, &surface, nullptr);
        ASSERT_TRUE(SurfaceIsDrawable(&surface));
    }
    void TearDown() override {
        ReleaseSurface(&surface);
        PlatformDestroyWindow(window);
        SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
    }
    void Set(int32_t x, int32_t y, uint16_t p) {
        memcpy(surface.pixels + static_cast<size_t>(y) * surface.stride + 2 * static_cast<size_t>(x), &p, 2);
    }
    uint16_t Get(int32_t x, int32_t y) {
        uint16_t p;
        memcpy(&p, surface.pixels + static_cast<size_t>(y) * surface.stride + 2 * static_cast<size_t>(x), 2);
        return p;
    }
    // Pixels where the window does not show the surface.
    int32_t Wrong() {
        SDL_Surface* screen = SDL_GetWindowSurface(SdlFind(window)->window);
        if (!screen || SDL_BYTESPERPIXEL(screen->format->format) != 4) return -1;
        int32_t wrong = 0;
        for (int32_t y = 0; y < surface.height; y++)
            for (int32_t x = 0; x < surface.width; x++) {
                uint32_t p;
                memcpy(&p, static_cast<uint8_t*>(screen->pixels) + y * screen->pitch + 4 * x, 4);
                wrong += !Shows(p, Get(x, y));
            }
        return wrong;
    }

    WindowHandle window = 0;
    Surface surface = {};
};

} // namespace

TEST_P(SdlPresent, WindowShowsTheSurfaceAfterEveryPresentAndOnlyChangedPixelsAreSent) {
    EXPECT_EQ(SdlFind(window)->screen.renderer != nullptr, GetParam() != nullptr)
        << "without a GPU and without a renderer named, no renderer";
    std::mt19937 random(3);
    for (int32_t y = 0; y < surface.height; y++)
        for (int32_t x = 0; x < surface.width; x++) Set(x, y, static_cast<uint16_t>(random()));
    ASSERT_EQ(PlatformPresent(window, &surface, 0, nullptr), 1);
    EXPECT_EQ(SdlPresentStatistics().lastPixels, 96u * 64u) << "the first copy sends everything";
    ASSERT_EQ(Wrong(), 0);
    for (int32_t step = 0; step < 60; step++) {
        // A rectangle of new pixels; the area handed over holds it, and sometimes much more.
        PlatformRect r = {static_cast<int32_t>(random() % 96), static_cast<int32_t>(random() % 64), 0, 0};
        r.right = r.left + 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(96 - r.left));
        r.bottom = r.top + 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(64 - r.top));
        for (int32_t y = r.top; y < r.bottom; y++)
            for (int32_t x = r.left; x < r.right; x++) Set(x, y, static_cast<uint16_t>(Get(x, y) ^ 0x0841));
        PlatformRect area = r;
        if (step % 3 == 1) area = {0, 0, 96, 64};
        if (step % 3 == 2) area = {r.left - 5, r.top - 5, r.right + 9, r.bottom + 9};
        ASSERT_EQ(PlatformPresent(window, &surface, 0, &area), 1);
        EXPECT_EQ(SdlPresentStatistics().lastPixels,
                  static_cast<uint32_t>((r.right - r.left) * (r.bottom - r.top)))
            << "step " << step << ": only the changed rectangle goes out";
        ASSERT_EQ(Wrong(), 0) << "step " << step;
    }
    // Nothing changed: nothing is sent. A paint the platform asks for sends everything again.
    PlatformRect all = {0, 0, 96, 64};
    ASSERT_EQ(PlatformPresent(window, &surface, 0, &all), 1);
    EXPECT_EQ(SdlPresentStatistics().lastPixels, 0u);
    ASSERT_EQ(PlatformPresent(window, &surface, 0, nullptr), 1);
    EXPECT_EQ(SdlPresentStatistics().lastPixels, 96u * 64u);
    // After the window lost what it showed, the next copy sends everything whatever area it is given.
    SendWindowEvent(SdlFind(window)->sdlId, SDL_WINDOWEVENT_EXPOSED);
    Set(0, 0, static_cast<uint16_t>(Get(0, 0) ^ 0xFFFF));
    PlatformRect corner = {0, 0, 1, 1};
    ASSERT_EQ(PlatformPresent(window, &surface, 0, &corner), 1);
    EXPECT_EQ(SdlPresentStatistics().lastPixels, 96u * 64u);
    EXPECT_EQ(Wrong(), 0);
}

// A surface smaller than the window lands at its top-left corner; the rest of the window is black.
TEST_P(SdlPresent, WhatTheSurfaceDoesNotCoverIsBlack) {
    Surface small = {};
    CreateSurface(50, 30, &small, nullptr);
    for (int32_t y = 0; y < 30; y++)
        for (int32_t x = 0; x < 50; x++) {
            uint16_t p = 0xFFFF;
            memcpy(small.pixels + static_cast<size_t>(y) * small.stride + 2 * static_cast<size_t>(x), &p, 2);
        }
    ASSERT_EQ(PlatformPresent(window, &small, 0, nullptr), 1);
    SDL_Surface* screen = SDL_GetWindowSurface(SdlFind(window)->window);
    ASSERT_NE(screen, nullptr);
    auto at = [&](int32_t x, int32_t y) {
        uint32_t p;
        memcpy(&p, static_cast<uint8_t*>(screen->pixels) + y * screen->pitch + 4 * x, 4);
        return p & 0xFFFFFF;
    };
    EXPECT_TRUE(Shows(at(49, 29), 0xFFFF));
    EXPECT_EQ(at(50, 10), 0u);
    EXPECT_EQ(at(10, 30), 0u);
    EXPECT_EQ(at(95, 63), 0u);
    ReleaseSurface(&small);
}

INSTANTIATE_TEST_SUITE_P(Paths, SdlPresent, ::testing::Values(nullptr, "software"),
                         [](const ::testing::TestParamInfo<const char*>& i) {
                             return i.param ? "SoftwareRenderer" : "WindowSurface";
                         });
