// SDL2 windows: the command line, creation with icon and tracking limits, showing, destruction, geometry.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "toolkit/platform/sdl/windows.h"

#include "toolkit/platform/common/embedded_resources.h"
#include "toolkit/platform/common/message_params.h"
#include "toolkit/platform/sdl/encoding.h"
#include "toolkit/platform/sdl/pending.h"
#include "toolkit/platform/sdl/present.h"
#include "toolkit/platform/sdl/window_icons.h"
#include "toolkit/platform/sdl/window_table.h"
#include "util/dbcs_string.h"

static char commandLine[4096];

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
    bool hasMax = maxW > 0 && maxH > 0;
    if (hasMax) {
        maxW = maxW > minW ? maxW : minW;
        maxH = maxH > minH ? maxH : minH;
    }
    int oldMinW = 0, oldMinH = 0, oldMaxW = 0, oldMaxH = 0, width = 0, height = 0;
    SDL_GetWindowMinimumSize(w->window, &oldMinW, &oldMinH);
    SDL_GetWindowMaximumSize(w->window, &oldMaxW, &oldMaxH);
    SDL_GetWindowSize(w->window, &width, &height);
    bool inside = width >= minW && height >= minH && (!hasMax || (width <= maxW && height <= maxH));
    // SDL refuses a minimum above the maximum and the reverse, so the old minimum goes first. On a window
    // within its new limits only the limits that change are sent: each call costs the X server round trips,
    // and a window is given its limits twice before its first frame.
    if (!inside || (hasMax && (oldMinW > maxW || oldMinH > maxH))) {
        SDL_SetWindowMinimumSize(w->window, 1, 1);
        oldMinW = oldMinH = 1;
    }
    if (hasMax && (!inside || oldMaxW != maxW || oldMaxH != maxH))
        SDL_SetWindowMaximumSize(w->window, maxW, maxH);
    if (!inside || oldMinW != minW || oldMinH != minH) SDL_SetWindowMinimumSize(w->window, minW, minH);
}

static void SendSize(SdlWindow* w) {
    int32_t width, height;
    SdlClientSize(w, &width, &height);
    WParam kind = w->minimised ? SIZE_MINIMIZED : w->maximised ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SdlSend(w->handle, WM_SIZE, kind, PackWords(width, height));
}

WindowHandle PlatformCreateWindow(const char* className, const char* title, uint32_t style, int32_t x,
                                  int32_t y, int32_t width, int32_t height, WindowHandle, uintptr_t) {
    int32_t classIndex = ClassTableFind(&sdlWindows.classes, className);
    if (classIndex < 0 || !SdlStartVideo()) return 0;
    SdlWindow* w = nullptr;
    for (SdlWindow& candidate : sdlWindows.windows) {
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
    // Only a sizing border makes a window resizable, as on Windows. A maximise box alone cannot keep its
    // meaning: an X window manager maximises only windows whose size hints let them grow.
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    SDL_Window* window = SDL_CreateWindow(utf8, x, y, width > 0 ? width : 1, height > 0 ? height : 1, flags);
    if (!window) return 0;
    memset(w, 0, sizeof *w);
    w->handle = sdlWindows.nextHandle;
    sdlWindows.nextHandle += 4;
    w->classIndex = classIndex;
    w->style = style;
    w->window = window;
    SdlStartScreen(w);
    w->sdlId = SDL_GetWindowID(w->window);
    SetIcon(w->window, sdlWindows.classes.entries[classIndex].largeIcon);
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
        if (sdlWindows.active == window) sdlWindows.active = 0;
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
    sdlWindows.active = window;
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
    if (sdlWindows.capture == window) PlatformReleaseCapture();
    if (sdlWindows.active == window) sdlWindows.active = 0;
    SdlForgetWindow(window);
    SdlStopScreen(w);
    SDL_DestroyWindow(w->window);
    memset(w, 0, sizeof *w);
    return 1;
}

WindowHandle PlatformActiveWindow() {
    return sdlWindows.active;
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
