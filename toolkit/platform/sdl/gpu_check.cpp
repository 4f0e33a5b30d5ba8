// Whether a display has a GPU: without one SDL's OpenGL renderer runs Mesa's software rasteriser, which
// costs far more time and memory than putting the window's pixels.
#include <SDL.h>
#include <SDL_syswm.h>
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
// offers none of them (Xvfb, a remote display) leaves OpenGL to software. Xlib is SDL's: it is looked up
// where SDL loaded it, so the backend itself does not link it.
int32_t SdlDisplayHasGpu(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return 0;
    if (strcmp(driver, "wayland") == 0) return HasRenderNode();
    if (strcmp(driver, "x11") != 0) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (!xlib) return 0;
    typedef int (*QueryExtension)(Display*, const char*, int*, int*, int*);
    QueryExtension query = reinterpret_cast<QueryExtension>(SDL_LoadFunction(xlib, "XQueryExtension"));
    int32_t gpu = 0;
    static const char* const extensions[] = {"DRI3", "DRI2", "NV-GLX"};
    for (const char* name : extensions) {
        int opcode = 0, event = 0, error = 0;
        if (query && query(info.info.x11.display, name, &opcode, &event, &error)) gpu = 1;
    }
    SDL_UnloadObject(xlib);
    return gpu;
}
