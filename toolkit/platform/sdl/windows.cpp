// SDL2 windows: start-up, classes, creation with icon and tracking limits, showing, destruction, geometry.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "toolkit/platform/common/embedded_resources.h"
#include "toolkit/platform/common/message_params.h"
#include "toolkit/platform/sdl/present.h"
#include "toolkit/platform/sdl/state.h"
#include "toolkit/platform/sdl/window_icons.h"
#include "util/dbcs_string.h"

SdlState sdl;

static char commandLine[4096];

// Messages can be posted before SDL starts, so the queue is ready before main.
__attribute__((constructor)) static void SdlStart() {
    MessageRingInit(&sdl.posted, sdl.queue, sdlQueueSize);
}

int32_t SdlStartVideo() {
    if (sdl.videoState != 0) return sdl.videoState > 0;
    // Ctrl+C and SIGTERM end the process as usual instead of turning into events nobody asked for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1"); // a held button keeps the mouse, as Windows drags do
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    // A window's own surface is a plain image for the display, never a texture of a 3D renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "SDL could not start its video: %s\n", SDL_GetError());
        sdl.videoState = -1;
        return 0;
    }
    SdlTolerateGoneWindows();
    SDL_StartTextInput();
    SdlWatchRawKeys();
    sdl.keyMods = static_cast<uint16_t>(SDL_GetModState());
    sdl.nextHandle = sdl.nextHandle ? sdl.nextHandle : 0x10000;
    sdl.videoState = 1;
    return 1;
}

// The program's arguments as one line, the program's path quoted as Windows starts programs.
const char* PlatformCommandLine() {
    if (commandLine[0]) return commandLine;
    char raw[4096];
    size_t n = 0;
    FILE* f = fopen("/proc/self/cmdline", "rb");
    if (f) {
        n = fread(raw, 1, sizeof raw - 1, f);
        fclose(f);
    }
    raw[n] = 0;
    size_t out = 0, at = 0;
    for (int32_t arg = 0; at < n; arg++) {
        const char* text = raw + at;
        size_t length = strlen(text);
        int32_t quote = arg == 0 || strchr(text, ' ') != nullptr;
        if (out + length + 4 >= sizeof commandLine) break;
        if (arg) commandLine[out++] = ' ';
        if (quote) commandLine[out++] = '"';
        memcpy(commandLine + out, text, length);
        out += length;
        if (quote) commandLine[out++] = '"';
        at += length + 1;
    }
    commandLine[out] = 0;
    if (!out) CopyString("velquist", commandLine, sizeof commandLine);
    return commandLine;
}

int32_t PlatformRegisterClass(const char* className, WindowProc procedure, uint32_t classStyle,
                              uint32_t largeIcon, uint32_t) {
    return ClassTableAdd(&sdl.classes, className, procedure, classStyle, largeIcon);
}

SdlWindow* SdlFind(WindowHandle window) {
    if (window == 0) return nullptr;
    for (SdlWindow& w : sdl.windows) {
        if (w.handle == window) return &w;
    }
    return nullptr;
}

SdlWindow* SdlFindById(uint32_t sdlId) {
    if (sdlId == 0) return nullptr;
    for (SdlWindow& w : sdl.windows) {
        if (w.handle && w.sdlId == sdlId) return &w;
    }
    return nullptr;
}

intptr_t SdlSend(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    return sdl.classes.entries[w->classIndex].procedure(window, message, wParam, lParam);
}

// The class's icon: a 24-bit bitmap whose magenta pixels are transparent.
static void SetIcon(SDL_Window* window, uint32_t id) {
    const EmbeddedResource* resource = nullptr;
    for (uint32_t i = 0; i < sdlWindowIconCount; i++) {
        if (sdlWindowIcons[i].id == id) resource = &sdlWindowIcons[i];
    }
    if (!resource) resource = FindEmbeddedResource(id);
    if (!resource || id == 0) return;
    SDL_Surface* image =
        SDL_LoadBMP_RW(SDL_RWFromConstMem(resource->bytes, static_cast<int>(resource->size)), 1);
    if (!image) return;
    SDL_Surface* icon = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(image);
    if (!icon) return;
    if (SDL_LockSurface(icon) == 0) {
        for (int32_t y = 0; y < icon->h; y++) {
            uint8_t* row = static_cast<uint8_t*>(icon->pixels) + static_cast<size_t>(y) * icon->pitch;
            for (int32_t x = 0; x < icon->w; x++) {
                uint32_t p;
                memcpy(&p, row + 4 * x, 4);
                p = (p & 0xFFFFFF) == 0xFF00FF ? 0 : (p | 0xFF000000u);
                memcpy(row + 4 * x, &p, 4);
            }
        }
        SDL_UnlockSurface(icon);
        SDL_SetWindowIcon(window, icon);
    }
    SDL_FreeSurface(icon);
}

void SdlClientSize(const SdlWindow* w, int32_t* width, int32_t* height) {
    int w0 = 0, h0 = 0;
    if (w->window && !w->minimised) SDL_GetWindowSize(w->window, &w0, &h0);
    *width = w0;
    *height = h0;
}

void SdlApplyLimits(SdlWindow* w) {
    WindowHandle handle = w->handle;
    int32_t screenW = 0, screenH = 0;
    PlatformScreenSize(&screenW, &screenH);
    MinMaxInfo limits = {};
    limits.ptMaxSize = {screenW, screenH};
    limits.ptMaxTrackSize = {screenW + 8, screenH + 8};
    SdlSend(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&limits));
    w = SdlFind(handle);
    if (!w) return;
    int32_t minW = limits.ptMinTrackSize.x > 1 ? limits.ptMinTrackSize.x : 1;
    int32_t minH = limits.ptMinTrackSize.y > 1 ? limits.ptMinTrackSize.y : 1;
    int32_t maxW = limits.ptMaxTrackSize.x, maxH = limits.ptMaxTrackSize.y;
    // SDL refuses a minimum above the maximum and the reverse, so the old minimum goes first.
    SDL_SetWindowMinimumSize(w->window, 1, 1);
    if (maxW > 0 && maxH > 0) {
        SDL_SetWindowMaximumSize(w->window, maxW > minW ? maxW : minW, maxH > minH ? maxH : minH);
    }
    SDL_SetWindowMinimumSize(w->window, minW, minH);
}

static void SendSize(SdlWindow* w) {
    int32_t width, height;
    SdlClientSize(w, &width, &height);
    WParam kind = w->minimised ? SIZE_MINIMIZED : w->maximised ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SdlSend(w->handle, WM_SIZE, kind, PackWords(width, height));
}

WindowHandle PlatformCreateWindow(const char* className, const char* title, uint32_t style, int32_t x,
                                  int32_t y, int32_t width, int32_t height, WindowHandle, uintptr_t) {
    int32_t classIndex = ClassTableFind(&sdl.classes, className);
    if (classIndex < 0 || !SdlStartVideo()) return 0;
    SdlWindow* w = nullptr;
    for (SdlWindow& candidate : sdl.windows) {
        if (candidate.handle == 0) {
            w = &candidate;
            break;
        }
    }
    if (!w) return 0;
    char utf8[512];
    SdlCp949ToUtf8(title ? title : "", utf8, sizeof utf8);
    // Sizes are the client area's: the window manager draws its frame outside.
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) flags |= SDL_WINDOW_RESIZABLE;
    SDL_Window* window = SDL_CreateWindow(utf8, x, y, width > 0 ? width : 1, height > 0 ? height : 1, flags);
    if (!window) return 0;
    memset(w, 0, sizeof *w);
    w->handle = sdl.nextHandle;
    sdl.nextHandle += 4;
    w->classIndex = classIndex;
    w->style = style;
    w->window = window;
    SdlStartScreen(w);
    w->sdlId = SDL_GetWindowID(w->window);
    SetIcon(w->window, sdl.classes.entries[classIndex].largeIcon);
    WindowHandle handle = w->handle;
    // As on Windows, the procedure hears about the window before its handle is returned.
    SdlApplyLimits(w);
    w = SdlFind(handle);
    if (w) SendSize(w);
    return SdlFind(handle) ? handle : 0;
}

int32_t PlatformShowWindow(WindowHandle window, int32_t command) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    int32_t wasVisible = w->visible;
    if (command == SW_HIDE) {
        SDL_HideWindow(w->window);
        w->visible = 0;
        if (sdl.active == window) sdl.active = 0;
        return wasVisible;
    }
    if (command == SW_MINIMIZE) {
        if (!w->visible) SDL_ShowWindow(w->window);
        w->visible = 1;
        SDL_MinimizeWindow(w->window);
        if (!w->minimised) {
            w->minimised = 1;
            SendSize(w);
        }
        return wasVisible;
    }
    SdlApplyLimits(w);
    w = SdlFind(window);
    if (!w) return wasVisible;
    SDL_ShowWindow(w->window);
    SDL_RaiseWindow(w->window);
    w->visible = 1;
    w->needsPaint = 1;
    sdl.active = window;
    if (w->minimised) {
        SDL_RestoreWindow(w->window);
        w->minimised = 0;
        SendSize(w);
    }
    return wasVisible;
}

int32_t PlatformUpdateWindow(WindowHandle window) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    if (w->visible && w->needsPaint && !w->minimised) SdlSend(window, WM_PAINT, 0, 0);
    return 1;
}

int32_t PlatformDestroyWindow(WindowHandle window) {
    SdlWindow* w = SdlFind(window);
    if (!w || w->destroying) return 0;
    w->destroying = 1;
    SdlSend(window, WM_DESTROY, 0, 0);
    if (sdl.capture == window) PlatformReleaseCapture();
    if (sdl.active == window) sdl.active = 0;
    TimerTableKillWindow(&sdl.timers, window);
    MessageRingDropWindow(&sdl.posted, window);
    SdlStopScreen(w);
    SDL_DestroyWindow(w->window);
    memset(w, 0, sizeof *w);
    return 1;
}

WindowHandle PlatformActiveWindow() {
    return sdl.active;
}

void PlatformScreenSize(int32_t* width, int32_t* height) {
    *width = 0;
    *height = 0;
    SDL_DisplayMode mode;
    if (SdlStartVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        *width = mode.w;
        *height = mode.h;
    }
}

int32_t PlatformClientRect(WindowHandle window, PlatformRect* rect) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    int32_t width, height;
    SdlClientSize(w, &width, &height);
    *rect = {0, 0, width, height};
    return 1;
}

// The window rectangle is the client area: the frame belongs to the window manager, not to the program.
int32_t PlatformWindowRect(WindowHandle window, PlatformRect* rect) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(w->window, &x, &y);
    SDL_GetWindowSize(w->window, &width, &height);
    *rect = {x, y, x + width, y + height};
    return 1;
}

int32_t PlatformClientToScreen(WindowHandle window, PlatformPoint* point) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    int x = 0, y = 0;
    SDL_GetWindowPosition(w->window, &x, &y);
    point->x += x;
    point->y += y;
    return 1;
}
