// The table of SDL windows, their classes, and SDL's video start.
#include "toolkit/platform/sdl/window_table.h"

#include <stdio.h>

#include "toolkit/platform/sdl/ibus.h"
#include "toolkit/platform/sdl/raw_keys.h"
#include "toolkit/platform/sdl/x_errors.h"

SdlWindowTable sdlWindows;

int32_t SdlStartVideo() {
    if (sdlWindows.videoState != 0) return sdlWindows.videoState > 0;
    // Ctrl+C and SIGTERM end the process as usual instead of turning into events nobody asked for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1"); // a held button keeps the mouse, as Windows drags do
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    // A window's own surface is a plain image for the display, never a texture of a 3D renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SdlIbusBeforeVideo();
    int started = SDL_InitSubSystem(SDL_INIT_VIDEO);
    SdlIbusAfterVideo(started == 0);
    if (started != 0) {
        fprintf(stderr, "SDL could not start its video: %s\n", SDL_GetError());
        sdlWindows.videoState = -1;
        return 0;
    }
    SdlTolerateGoneWindows();
    SDL_StartTextInput();
    SdlWatchRawKeys();
    sdlWindows.nextHandle = sdlWindows.nextHandle ? sdlWindows.nextHandle : 0x10000;
    sdlWindows.videoState = 1;
    return 1;
}

int32_t PlatformRegisterClass(const char* className, WindowProc procedure, uint32_t classStyle,
                              uint32_t largeIcon, uint32_t) {
    return ClassTableAdd(&sdlWindows.classes, className, procedure, classStyle, largeIcon);
}

SdlWindow* SdlFind(WindowHandle window) {
    if (window == 0) return nullptr;
    for (SdlWindow& w : sdlWindows.windows) {
        if (w.handle == window) return &w;
    }
    return nullptr;
}

SdlWindow* SdlFindById(uint32_t sdlId) {
    if (sdlId == 0) return nullptr;
    for (SdlWindow& w : sdlWindows.windows) {
        if (w.handle && w.sdlId == sdlId) return &w;
    }
    return nullptr;
}

intptr_t SdlSend(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    return sdlWindows.classes.entries[w->classIndex].procedure(window, message, wParam, lParam);
}
