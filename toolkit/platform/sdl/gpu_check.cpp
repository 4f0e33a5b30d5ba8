// Whether a display has a GPU: without one SDL's OpenGL renderer runs Mesa's software rasteriser, which
// costs far more time and memory than putting the window's pixels.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "toolkit/platform/sdl/present.h"

// A render node the process may use: the kernel drives a GPU.
static bool HasRenderNode() {
    for (int32_t i = 128; i < 136; i++) {
        char path[32];
        snprintf(path, sizeof path, "/dev/dri/renderD%d", static_cast<int>(i));
        if (access(path, R_OK | W_OK) == 0) return true;
    }
    return false;
}

// An X server hands OpenGL to a GPU driver through DRI3, DRI2 or NVIDIA's own extension; a server that
// offers none of them (Xvfb, a remote display) leaves OpenGL to software. The backend links Xlib anyway
// (for the raw key watch), so the question goes straight to SDL's display connection.
int32_t SdlDisplayHasGpu(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return 0;
    if (strcmp(driver, "wayland") == 0) return HasRenderNode();
    if (strcmp(driver, "x11") != 0) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    static const char* const extensions[] = {"DRI3", "DRI2", "NV-GLX"};
    for (const char* name : extensions) {
        int opcode = 0, event = 0, error = 0;
        if (XQueryExtension(info.info.x11.display, name, &opcode, &event, &error)) return 1;
    }
    return 0;
}
