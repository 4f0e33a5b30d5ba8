// Headless windows: classes, creation, geometry, showing, destruction.
#include <stdlib.h>
#include <string.h>

#include "toolkit/platform/common/message_params.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/platform/headless/state.h"
#include "util/dbcs_string.h"

HeadlessState headless;

void HeadlessReset() {
    for (HeadlessWindow& w : headless.windows) free(w.screen);
    memset(&headless, 0, sizeof headless);
    headless.screenWidth = 1024;
    headless.screenHeight = 768;
    headless.use565 = 1;
    headless.nextHandle = 0x10000;
    MessageRingInit(&headless.posted, headless.queue, headlessQueueSize);
    CopyString("velquist", headless.commandLine, sizeof headless.commandLine);
    headless.localTime = {2000, 1, 6, 1, 0, 0, 0, 0};
    HeadlessSetClipboardUtf8(nullptr);
}

// Starts in a usable state even before the first HeadlessReset.
__attribute__((constructor)) static void HeadlessStart() {
    HeadlessReset();
}

void HeadlessSetScreenSize(int32_t width, int32_t height) {
    headless.screenWidth = width;
    headless.screenHeight = height;
}
void HeadlessSetPixelFormat565(int32_t on) {
    headless.use565 = on ? 1 : 0;
}
void HeadlessSetCommandLine(const char* commandLine) {
    CopyString(commandLine ? commandLine : "", headless.commandLine, sizeof headless.commandLine);
}

HeadlessWindow* HeadlessFind(WindowHandle window) {
    if (window == 0) return nullptr;
    for (HeadlessWindow& w : headless.windows) {
        if (w.handle == window) return &w;
    }
    return nullptr;
}

// Client area inside the window rectangle, in window coordinates (right and bottom exclusive).
void HeadlessFrame(const HeadlessWindow* w, int32_t* left, int32_t* top, int32_t* right, int32_t* bottom) {
    int32_t border = 0, caption = 0;
    if (!(w->style & WS_POPUP)) {
        border = (w->style & WS_THICKFRAME) ? headlessThickBorder : headlessBorder;
        caption = headlessCaption;
    }
    *left = border;
    *top = border + caption;
    *right = w->width - border;
    *bottom = w->height - border;
    if (*right < *left) *right = *left;
    if (*bottom < *top) *bottom = *top;
    if (w->minimised) {
        *right = *left;
        *bottom = *top;
    }
}

void HeadlessResizeScreen(HeadlessWindow* w) {
    int32_t width = w->width > 0 ? w->width : 0;
    int32_t height = w->height > 0 ? w->height : 0;
    free(w->screen);
    w->screen = nullptr;
    if (width && height) w->screen = static_cast<uint16_t*>(calloc(static_cast<size_t>(width) * height, 2));
    w->screenWidth = w->screen ? width : 0;
    w->screenHeight = w->screen ? height : 0;
    w->screenShown = 0;
}

const char* PlatformCommandLine() {
    return headless.commandLine;
}

int32_t PlatformRegisterClass(const char* className, WindowProc procedure, uint32_t classStyle,
                              uint32_t largeIcon, uint32_t) {
    return ClassTableAdd(&headless.classes, className, procedure, classStyle, largeIcon);
}

intptr_t HeadlessSend(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    return headless.classes.entries[w->classIndex].procedure(window, message, wParam, lParam);
}

static void SendSize(HeadlessWindow* w) {
    int32_t l, t, r, b;
    HeadlessFrame(w, &l, &t, &r, &b);
    WParam kind = w->minimised ? SIZE_MINIMIZED : SIZE_RESTORED;
    HeadlessSend(w->handle, WM_SIZE, kind, PackWords(r - l, b - t));
}

WindowHandle PlatformCreateWindow(const char* className, const char* title, uint32_t style, int32_t x,
                                  int32_t y, int32_t width, int32_t height, WindowHandle, uintptr_t) {
    int32_t classIndex = ClassTableFind(&headless.classes, className);
    if (classIndex < 0) return 0;
    HeadlessWindow* w = nullptr;
    for (HeadlessWindow& candidate : headless.windows) {
        if (candidate.handle == 0) {
            w = &candidate;
            break;
        }
    }
    if (!w) return 0;
    free(w->screen);
    memset(w, 0, sizeof *w);
    w->handle = headless.nextHandle;
    headless.nextHandle += 4;
    w->classIndex = classIndex;
    w->style = style;
    CopyString(title ? title : "", w->title, sizeof w->title);
    w->x = x;
    w->y = y;
    w->width = width > 0 ? width : 0;
    w->height = height > 0 ? height : 0;
    HeadlessResizeScreen(w);
    // As on Windows, the procedure hears about the window before its handle is returned.
    MinMaxInfo limits = {};
    HeadlessSend(w->handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&limits));
    SendSize(w);
    return w->handle;
}

int32_t PlatformShowWindow(WindowHandle window, int32_t command) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    int32_t wasVisible = w->visible;
    if (command == SW_HIDE) {
        w->visible = 0;
        if (headless.active == window) headless.active = 0;
        return wasVisible;
    }
    w->visible = 1;
    if (command == SW_MINIMIZE) {
        if (!w->minimised) {
            w->minimised = 1;
            SendSize(w);
        }
        return wasVisible;
    }
    headless.active = window;
    w->needsPaint = 1;
    if (w->minimised) {
        w->minimised = 0;
        SendSize(w);
    }
    return wasVisible;
}

int32_t PlatformUpdateWindow(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    if (w->visible && w->needsPaint && !w->minimised) HeadlessSend(window, WM_PAINT, 0, 0);
    return 1;
}

int32_t PlatformDestroyWindow(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w || w->destroying) return 0;
    w->destroying = 1;
    HeadlessSend(window, WM_DESTROY, 0, 0);
    if (headless.capture == window) headless.capture = 0;
    if (headless.active == window) headless.active = 0;
    TimerTableKillWindow(&headless.timers, window);
    MessageRingDropWindow(&headless.posted, window);
    free(w->screen);
    memset(w, 0, sizeof *w);
    return 1;
}

WindowHandle PlatformActiveWindow() {
    return headless.active;
}

void PlatformScreenSize(int32_t* width, int32_t* height) {
    *width = headless.screenWidth;
    *height = headless.screenHeight;
}

int32_t PlatformClientRect(WindowHandle window, PlatformRect* rect) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    int32_t l, t, r, b;
    HeadlessFrame(w, &l, &t, &r, &b);
    *rect = {0, 0, r - l, b - t};
    return 1;
}

int32_t PlatformWindowRect(WindowHandle window, PlatformRect* rect) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    *rect = {w->x, w->y, w->x + w->width, w->y + w->height};
    return 1;
}

int32_t PlatformClientToScreen(WindowHandle window, PlatformPoint* point) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    int32_t l, t, r, b;
    HeadlessFrame(w, &l, &t, &r, &b);
    point->x += w->x + l;
    point->y += w->y + t;
    return 1;
}

int32_t HeadlessMouseWheel(WindowHandle window, int32_t clientX, int32_t clientY, int32_t delta,
                           uint32_t keyState) {
    PlatformPoint at = {clientX, clientY};
    if (!PlatformClientToScreen(window, &at)) return 0;
    WParam wParam = (static_cast<uint32_t>(delta) & 0xFFFF) << 16 | (keyState & 0xFFFF);
    return PlatformPostMessage(window, WM_MOUSEWHEEL, wParam, PackWords(at.x, at.y));
}

void HeadlessResizeWindow(WindowHandle window, int32_t width, int32_t height) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return;
    MinMaxInfo limits = {};
    limits.ptMaxTrackSize = {headless.screenWidth + 8, headless.screenHeight + 8};
    limits.ptMaxSize = {headless.screenWidth, headless.screenHeight};
    HeadlessSend(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&limits));
    w = HeadlessFind(window);
    if (!w) return;
    if (width < limits.ptMinTrackSize.x) width = limits.ptMinTrackSize.x;
    if (height < limits.ptMinTrackSize.y) height = limits.ptMinTrackSize.y;
    if (limits.ptMaxTrackSize.x > 0 && width > limits.ptMaxTrackSize.x) width = limits.ptMaxTrackSize.x;
    if (limits.ptMaxTrackSize.y > 0 && height > limits.ptMaxTrackSize.y) height = limits.ptMaxTrackSize.y;
    w->width = width > 0 ? width : 0;
    w->height = height > 0 ? height : 0;
    HeadlessResizeScreen(w);
    w->needsPaint = 1;
    SendSize(w);
}

int32_t HeadlessWindowExists(WindowHandle window) {
    return HeadlessFind(window) != nullptr;
}
int32_t HeadlessWindowVisible(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    return w ? w->visible : 0;
}
uint32_t HeadlessWindowStyle(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    return w ? w->style : 0;
}
const char* HeadlessWindowTitle(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    return w ? w->title : nullptr;
}
