// Fresh toolkit and headless-platform state for each test.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/reset.h"
#include "toolkit/window/window_table.h"

inline void ResetToolkit(bool use565 = true) {
    ResetToolkitState();
    HeadlessReset();
    HeadlessSetPixelFormat565(use565 ? 1 : 0);
}

inline intptr_t DefaultWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// Registers "Test_Class" with a procedure that only does default processing.
inline void RegisterTestClass(WindowProc procedure = DefaultWindowProc) {
    PlatformRegisterClass("Test_Class", procedure, 0, 0, 0);
}

// Reads pixel (x, y) of a surface.
inline uint16_t PixelAt(const Surface& s, int32_t x, int32_t y) {
    uint16_t p;
    memcpy(&p, s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), 2);
    return p;
}

// Runs a test body in both pixel formats (the parameter is true for 5-6-5), the toolkit's display set up
// on the backend's format.
class BothFormats : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ResetToolkit(GetParam());
        InitDisplay();
    }
    void TearDown() override { ResetToolkit(); }
};

inline std::string FormatName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "565" : "555";
}

#define VQ_BOTH_FORMATS(suite)                                                                               \
    INSTANTIATE_TEST_SUITE_P(Formats, suite, ::testing::Values(true, false), FormatName)
