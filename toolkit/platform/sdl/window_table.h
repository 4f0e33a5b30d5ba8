// The SDL backend's windows: SDL's video start, the window classes, the table of windows, and which window
// holds the capture and which one is active.
#pragma once

#include <SDL.h>
#include <stdint.h>

#include "toolkit/platform/common/class_table.h"
#include "toolkit/platform/platform.h"
#include "toolkit/platform/sdl/present.h"

enum : int32_t { sdlMaxWindows = 160 };

struct SdlWindow {
    WindowHandle handle; // 0 = free entry
    int32_t classIndex;
    uint32_t style;
    SDL_Window* window;
    SdlScreen screen; // the way to the screen (present.cpp)
    uint32_t sdlId;
    int32_t visible;
    int32_t minimised;
    int32_t maximised;
    int32_t needsPaint;
    int32_t destroying;
};

struct SdlWindowTable {
    int32_t videoState; // 0 not tried, 1 running, -1 failed
    ClassTable classes;
    SdlWindow windows[sdlMaxWindows];
    WindowHandle nextHandle;
    WindowHandle capture;
    WindowHandle active;
};

extern SdlWindowTable sdlWindows;

// Starts SDL's video once; 1 when it runs.
int32_t SdlStartVideo();
SdlWindow* SdlFind(WindowHandle window);
SdlWindow* SdlFindById(uint32_t sdlId);
intptr_t SdlSend(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
