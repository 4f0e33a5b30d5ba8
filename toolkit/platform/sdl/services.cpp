// SDL2 capture, input-method strings, page and pixel memory, paints and the screen copy
// through a streaming RGB565 texture.
#include <stdlib.h>
#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/backend_pixels.h"
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

// The screen copy is an RGB565 texture, so surfaces are 5-6-5.
int32_t BackendPixelsAre565() {
    return 1;
}

int32_t PlatformBeginPaint(WindowHandle window) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    w->needsPaint = 0;
    return 1;
}

int32_t PlatformEndPaint(WindowHandle window) {
    return SdlFind(window) != nullptr;
}

// The surface goes to the top-left of the client area; whatever it does not cover is black. Windows
// drawn whole (frame included) have no frame of their own here, so both kinds present the same way.
int32_t PlatformPresent(WindowHandle window, const Surface* surface, int32_t) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    if (!surface || !SurfaceIsDrawable(surface) || w->minimised) return 1;
    if (!w->texture || w->textureWidth != surface->width || w->textureHeight != surface->height) {
        if (w->texture) SDL_DestroyTexture(w->texture);
        w->texture = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                       surface->width, surface->height);
        w->textureWidth = w->texture ? surface->width : 0;
        w->textureHeight = w->texture ? surface->height : 0;
        if (!w->texture) return 0;
    }
    if (SDL_UpdateTexture(w->texture, nullptr, surface->pixels, static_cast<int>(surface->stride)) != 0)
        return 0;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(w->renderer, &outW, &outH);
    if (outW > surface->width || outH > surface->height) {
        SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 255);
        SDL_RenderClear(w->renderer);
    }
    SDL_Rect target = {0, 0, surface->width, surface->height};
    SDL_RenderCopy(w->renderer, w->texture, nullptr, &target);
    SDL_RenderPresent(w->renderer);
    return 1;
}
