// SDL2 capture, input-method strings, page and pixel memory.
#include <stdlib.h>
#include <string.h>

#include "toolkit/platform/sdl/state.h"

WindowHandle PlatformSetCapture(WindowHandle window) {
    WindowHandle previous = sdl.capture;
    if (SdlFind(window)) {
        sdl.capture = window;
        SDL_CaptureMouse(SDL_TRUE); // fails without keyboard focus; a held button still keeps the mouse
    }
    return previous;
}

int32_t PlatformReleaseCapture() {
    if (sdl.capture && sdl.videoState > 0) SDL_CaptureMouse(SDL_FALSE);
    sdl.capture = 0;
    return 1;
}

int32_t PlatformImeString(WindowHandle window, uint32_t kind, char* destination, uint32_t size) {
    if (!SdlFind(window)) return -1;
    const char* source = kind == GCS_RESULTSTR ? sdl.imeResult : sdl.imeComposition;
    int32_t count = kind == GCS_RESULTSTR ? sdl.imeResultCount : sdl.imeCompositionCount;
    if (!destination || size == 0) return count;
    if (static_cast<uint32_t>(count) > size) count = static_cast<int32_t>(size);
    memcpy(destination, source, static_cast<size_t>(count));
    return count;
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
