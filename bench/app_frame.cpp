// One animation tick end to end, and how many pixels one opaque change costs the composition.
#include <benchmark/benchmark.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "app/application.h"
#include "app/sprite.h"
#include "bench/page_memory.h"
#include "bench/ratios.h"
#include "toolkit/controls/picture.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/reset.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

static void ResetAll() {
    ResetToolkitState();
    HeadlessReset();
}

// The application's main window with a client area of exactly 640 × 480.
static void StartApplication() {
    ResetAll();
    keyState = actionPending = 0;
    PlatformRegisterClass(mainClassName, AppWindowProc, 0, 0, 0);
    Extent placement = {0, 0, 640, 480};
    CreateToolkitWindow(popupWindow | mainWindow | clientSurface, mainClassName, applicationTitle, &placement,
                        0, 0, nullptr);
    SetUpMainWindow();
    PlatformShowWindow(mainWindowHandle, SW_SHOWNORMAL);
    HeadlessPump();
}

static void StopApplication() {
    PlatformDestroyWindow(mainWindowHandle);
    for (Surface& s : spriteImages) ReleaseSurface(&s);
    ReleaseSurface(&backgroundTile);
    ResetAll();
}

static void BM_AnimationFrame(benchmark::State& state) {
    StartApplication();
    for (auto _ : state) {
        AnimationTick();
        HeadlessPump();
    }
    benchmark::DoNotOptimize(HeadlessScreenPixel(mainWindowHandle, 50, 100));
    StopApplication();
}
BENCHMARK(BM_AnimationFrame);

static void BM_FrameMemcpy(benchmark::State& state) {
    const size_t bytes = 640 * 480 * 2;
    PageMemory from(bytes, 64), to(bytes, 64 + 2048);
    memset(from.at, 1, bytes);
    for (auto _ : state) {
        memcpy(to.at, from.at, bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameMemcpy);

VQ_RATIO("animation tick end to end (640x480 rebuild + present) vs frame memcpy", "BM_AnimationFrame",
         "BM_FrameMemcpy", 1.0 / 3.0);

static intptr_t PaintOnly(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (DispatchToolkitMessage(window, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// n opaque 120 × 110 controls on a grid over a 640 × 480 window, so tight that each overlaps its
// neighbours; the bottom one (top left) changes, and every control above it is due for a copy. Timed per
// change and paint; the counters say how many pixels the composition wrote, also as a share of the window
// (copied whole, 128 controls would be 5.5 windows).
static void BM_OverlappingControlsChange(benchmark::State& state) {
    const int32_t n = static_cast<int32_t>(state.range(0));
    const int32_t columns = n >= 128 ? 16 : n >= 32 ? 8 : n >= 8 ? 4 : 1, rows = n / columns;
    const int32_t stepX = columns > 1 ? std::min(100, (640 - 120) / (columns - 1)) : 0;
    const int32_t stepY = rows > 1 ? std::min(90, (480 - 110) / (rows - 1)) : 0;
    ResetAll();
    PlatformRegisterClass("Bench_Class", PaintOnly, 0, 0, 0);
    Extent placement = {0, 0, 640, 480};
    WindowRecord* w = nullptr;
    WindowHandle h =
        CreateToolkitWindow(popupWindow | clientSurface, "Bench_Class", "b", &placement, 0, 0, &w);
    InitDisplay();
    static Picture pictures[128];
    for (int32_t i = 0; i < n; i++) {
        int32_t column = i % columns, row = i / columns;
        Extent e = {column * stepX, row * stepY, 120, 110};
        InitPicture(&pictures[i], &e, 0, 0);
        AddControl(&pictures[i].header, w, addOnTop);
    }
    PlatformShowWindow(h, SW_SHOWNORMAL);
    HeadlessPump();
    Control* changed = &pictures[0].header;
    CompositionStats stats = {};
    for (auto _ : state) {
        compositionStats = {};
        MarkForRedraw(changed, w, redrawBits);
        RequestRepaint(h, repaintPending);
        HeadlessPump();
        stats = compositionStats;
    }
    state.counters["controls_copied"] = stats.controlsCopied;
    state.counters["pixels_written"] = static_cast<double>(stats.pixelsWritten);
    state.counters["of_window"] = static_cast<double>(stats.pixelsWritten) / (640.0 * 480.0);
    for (int32_t i = 0; i < n; i++) ReleaseSurface(&pictures[i].header.surface);
    ResetAll();
}
BENCHMARK(BM_OverlappingControlsChange)->Arg(1)->Arg(8)->Arg(32)->Arg(128);

VQ_INFO_RATIO("composition: bottom of 128 overlapping controls changes vs frame memcpy",
              "BM_OverlappingControlsChange/128", "BM_FrameMemcpy");
