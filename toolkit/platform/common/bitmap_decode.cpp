#include "toolkit/platform/common/bitmap_decode.h"

#include <SDL.h>
#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/embedded_resources.h"
#include "toolkit/platform/platform.h"

uintptr_t PlatformLoadImage(uintptr_t name, int32_t fromFile) {
    if (name == 0) return 0;
    SDL_RWops* stream = nullptr;
    if (fromFile) {
        if (name <= 0xFFFF) return 0;
        stream = SDL_RWFromFile(reinterpret_cast<const char*>(name), "rb");
    } else {
        // Resources are found by number; a name such as "#1000" names a number too.
        uint32_t id = 0;
        if (name <= 0xFFFF) {
            id = static_cast<uint32_t>(name);
        } else {
            const char* text = reinterpret_cast<const char*>(name);
            if (text[0] != '#') return 0;
            for (const char* p = text + 1; *p; p++) {
                if (*p < '0' || *p > '9' || id > 0xFFFF) return 0;
                id = id * 10 + static_cast<uint32_t>(*p - '0');
            }
        }
        const EmbeddedResource* resource = FindEmbeddedResource(id);
        if (!resource) return 0;
        stream = SDL_RWFromConstMem(resource->bytes, static_cast<int>(resource->size));
    }
    if (!stream) return 0;
    SDL_Surface* image = SDL_LoadBMP_RW(stream, 1);
    return reinterpret_cast<uintptr_t>(image);
}

int32_t PlatformImageSize(uintptr_t image, int32_t* width, int32_t* height) {
    SDL_Surface* s = reinterpret_cast<SDL_Surface*>(image);
    if (!s) return 0;
    *width = s->w;
    *height = s->h;
    return 1;
}

int32_t PlatformCopyImage(WindowHandle, uintptr_t image, const Surface* surface) {
    SDL_Surface* s = reinterpret_cast<SDL_Surface*>(image);
    if (!s || !SurfaceIsDrawable(surface)) return 0;
    Uint32 format = BackendPixelsAre565() ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(s, format, 0);
    if (!converted) return 0;
    int32_t w = converted->w < surface->width ? converted->w : surface->width;
    int32_t h = converted->h < surface->height ? converted->h : surface->height;
    if (SDL_LockSurface(converted) == 0) {
        const uint8_t* from = static_cast<const uint8_t*>(converted->pixels);
        for (int32_t y = 0; y < h; y++) {
            memcpy(surface->pixels + static_cast<size_t>(y) * surface->stride,
                   from + static_cast<size_t>(y) * static_cast<size_t>(converted->pitch),
                   static_cast<size_t>(w) * 2);
        }
        SDL_UnlockSurface(converted);
    }
    SDL_FreeSurface(converted);
    return 1;
}

void PlatformFreeImage(uintptr_t image) {
    SDL_FreeSurface(reinterpret_cast<SDL_Surface*>(image));
}
