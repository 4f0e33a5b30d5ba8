// A window on the SDL backend that changes rectangles of its surface and presents each change with the area
// a composition would hand over (the change, more than it, or nothing: the whole surface), then reads its
// window back from the X server until it shows the surface's pixels. Exit code 0 when every present
// reached the screen; prints which way the window presents ("renderer" or "surface"). A message to the
// window after it is destroyed must not end the program.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <random>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"
#include "toolkit/platform/sdl/window_table.h"

enum : int32_t { width = 200, height = 150, steps = 40, waitMilliseconds = 10000 };

static intptr_t PlainProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static uint16_t Get(const Surface& s, int32_t x, int32_t y) {
    uint16_t p;
    memcpy(&p, s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), 2);
    return p;
}

static void Set(Surface& s, int32_t x, int32_t y, uint16_t p) {
    memcpy(s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), &p, 2);
}

// 8 bits a channel within two steps of the 5-6-5 pixel widened (renderers round differently).
static bool Shows(uint32_t screen, uint16_t pixel) {
    const int32_t r = pixel >> 11, g = (pixel >> 5) & 63, b = pixel & 31;
    const int32_t want[3] = {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
    const int32_t got[3] = {static_cast<int32_t>((screen >> 16) & 0xFF),
                            static_cast<int32_t>((screen >> 8) & 0xFF), static_cast<int32_t>(screen & 0xFF)};
    for (int i = 0; i < 3; i++) {
        if (got[i] - want[i] > 2 || want[i] - got[i] > 2) return false;
    }
    return true;
}

static int32_t Wrong(Display* display, Window window, const Surface& s) {
    XImage* image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) return -1;
    int32_t wrong = 0;
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++)
            wrong += !Shows(static_cast<uint32_t>(XGetPixel(image, x, y)), Get(s, x, y));
    XDestroyImage(image);
    return wrong;
}

static int64_t Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Handles what SDL has for the window, then reads the window until it shows the surface.
static bool ReachesScreen(Display* display, Window window, const Surface& s) {
    int64_t deadline = Now() + waitMilliseconds;
    int32_t wrong = -1;
    while (Now() < deadline) {
        SDL_PumpEvents();
        wrong = Wrong(display, window, s);
        if (wrong == 0) return true;
        SDL_Delay(5);
    }
    printf("%d pixels wrong\n", wrong);
    return false;
}

int main() {
    PlatformRegisterClass("Check_Class", PlainProc, 0, 0, 0);
    InitDisplay();
    WindowHandle handle =
        PlatformCreateWindow("Check_Class", "Present check", WS_SYSMENU, 50, 50, width, height, 0, 0);
    if (!handle) return 2;
    PlatformShowWindow(handle, SW_SHOWNORMAL);
    SdlWindow* w = SdlFind(handle);
    printf("%s\n", w->screen.renderer ? "renderer" : "surface");
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w->window, &info) || info.subsystem != SDL_SYSWM_X11) return 3;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 3;
    Window window = info.info.x11.window;
    Surface s = {};
    CreateSurface(width, height, &s, nullptr);
    std::mt19937 random(9);
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++) Set(s, x, y, static_cast<uint16_t>(random()));
    // Wait until the window is on the screen, then present.
    int64_t deadline = Now() + waitMilliseconds;
    XWindowAttributes a = {};
    while (Now() < deadline && (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable)) {
        SDL_PumpEvents();
        SDL_Delay(5);
    }
    PlatformPresent(handle, &s, 0, nullptr);
    bool ok = ReachesScreen(display, window, s);
    for (int32_t step = 0; ok && step < steps; step++) {
        PlatformRect r = {static_cast<int32_t>(random() % width), static_cast<int32_t>(random() % height), 0,
                          0};
        r.right = r.left + 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(width - r.left));
        r.bottom = r.top + 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(height - r.top));
        const uint16_t colour = static_cast<uint16_t>(random());
        for (int32_t y = r.top; y < r.bottom; y++)
            for (int32_t x = r.left; x < r.right; x++) Set(s, x, y, colour);
        PlatformRect wider = {0, 0, width, height};
        const PlatformRect* area = step % 4 == 0 ? nullptr : step % 4 == 1 ? &wider : &r;
        PlatformPresent(handle, &s, 0, area);
        ok = ReachesScreen(display, window, s);
        if (!ok) printf("step %d did not reach the screen\n", step);
    }
    ReleaseSurface(&s);
    // A message to a window that is already gone (as SDL's wake-up may be) leaves the program running.
    PlatformDestroyWindow(handle);
    XSync(info.info.x11.display, False);
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.format = 32;
    XSendEvent(display, window, False, NoEventMask, &e);
    XSync(display, False);
    XCloseDisplay(display);
    printf("%s\n", ok ? "all presents reached the screen" : "FAILED");
    return ok ? 0 : 1;
}
