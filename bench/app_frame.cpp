// One animation tick end to end, and how many pixels one opaque change costs the composition.
#include <benchmark/benchmark.h>
#include <string.h>

#include <vector>

#include "app/application.h"
#include "app/sprite.h"
#include "bench/ratios.h"
#include "toolkit/controls/picture.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

namespace {

void ResetAll() {
    for (int32_t i = 0; i < windowSlots; i++) ReleaseSurface(&windowTable.records[i].surface);
    memset(&windowTable, 0, sizeof windowTable);
    mainWindowHandle = 0;
    drawingWindow = 0;
    mainWindowRecord = nullptr;
    HeadlessReset();
}

// The application's main window with a client area of exactly 640 × 480.
void StartApplication() {
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

void StopApplication() {
    PlatformDestroyWindow(mainWindowHandle);
    for (Surface& s : spriteImages) ReleaseSurface(&s);
    ReleaseSurface(&backgroundTile);
    ResetAll();
}

void BM_AnimationFrame(benchmark::State& state) {
    StartApplication();
    for (auto _ : state) {
        AnimationTick();
        HeadlessPump();
    }
    benchmark::DoNotOptimize(HeadlessScreenPixel(mainWindowHandle, 50, 100));
    StopApplication();
}
BENCHMARK(BM_AnimationFrame);

void BM_FrameMemcpy(benchmark::State& state) {
    std::vector<uint8_t> from(640 * 480 * 2, 1), to(640 * 480 * 2);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameMemcpy);

VQ_RATIO("animation tick end to end (640x480 rebuild + present) vs frame memcpy", "BM_AnimationFrame",
         "BM_FrameMemcpy", 1.0 / 3.0);

intptr_t PaintOnly(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (DispatchToolkitMessage(window, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// Counted, not timed: 30 overlapping opaque controls, one of them changes.
void BM_OpaqueChangePixels(benchmark::State& state) {
    ResetAll();
    PlatformRegisterClass("Bench_Class", PaintOnly, 0, 0, 0);
    Extent placement = {0, 0, 640, 480};
    WindowRecord* w = nullptr;
    WindowHandle h =
        CreateToolkitWindow(popupWindow | clientSurface, "Bench_Class", "b", &placement, 0, 0, &w);
    InitDisplay();
    static Picture pictures[30];
    for (int i = 0; i < 30; i++) {
        Extent e = {(i % 6) * 100, (i / 6) * 90, 120, 110}; // each overlaps its neighbours
        InitPicture(&pictures[i], &e, 0, 0);
        AddControl(&pictures[i].header, w, addOnTop);
    }
    PlatformShowWindow(h, SW_SHOWNORMAL);
    HeadlessPump();
    Control* changed = &pictures[14].header;
    uint64_t pixels = 0;
    for (auto _ : state) {
        compositionStats = {};
        MarkForRedraw(changed, w, redrawBits);
        RequestRepaint(h, repaintPending);
        HeadlessPump();
        pixels = compositionStats.pixelsWritten;
    }
    state.counters["pixels_written"] = static_cast<double>(pixels);
    state.counters["control_area"] = 120.0 * 110.0;
    state.counters["ratio"] = static_cast<double>(pixels) / (120.0 * 110.0);
    for (Picture& p : pictures) ReleaseSurface(&p.header.surface);
    ResetAll();
}
BENCHMARK(BM_OpaqueChangePixels);

} // namespace
