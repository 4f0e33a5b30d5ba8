// SDL2 capture, page and pixel memory.
#include <stdlib.h>
#include <string.h>

#include "toolkit/platform/sdl/window_table.h"

WindowHandle PlatformSetCapture(WindowHandle window) {
    WindowHandle previous = sdlWindows.capture;
    if (SdlFind(window)) {
        sdlWindows.capture = window;
        SDL_CaptureMouse(SDL_TRUE); // fails without keyboard focus; a held button still keeps the mouse
    }
    return previous;
}

int32_t PlatformReleaseCapture() {
    if (sdlWindows.capture && sdlWindows.videoState > 0) SDL_CaptureMouse(SDL_FALSE);
    sdlWindows.capture = 0;
    return 1;
}

void* PlatformAllocatePages(size_t size) {
    if (size == 0) return nullptr;
    return calloc(1, size);
}

void PlatformFreePages(void* pages) {
    free(pages);
}

uintptr_t PlatformCreatePixels(int32_t width, int32_t height, uint32_t stride, uint8_t** pixels) {
    *pixels = nullptr;
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return 0;
    uint8_t* memory =
        static_cast<uint8_t*>(calloc(static_cast<size_t>(stride) * static_cast<size_t>(height), 1));
    if (!memory) return 0;
    *pixels = memory;
    return reinterpret_cast<uintptr_t>(memory);
}

void PlatformFreePixels(uintptr_t bitmap) {
    free(reinterpret_cast<void*>(bitmap));
}

// Linux desktops keep no rows-per-notch setting that SDL reports; three is what their toolkits scroll.
uint32_t PlatformWheelScrollLines() {
    return 3;
}

// SDL does not say how the desktop repeats keys: the usual pace.
void PlatformKeyRepeat(uint32_t* delayMs, uint32_t* intervalMs) {
    *delayMs = 400;
    *intervalMs = 50;
}
