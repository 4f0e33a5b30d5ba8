// SDL2 paints and the screen copy. Without a GPU a window's pixels go straight into its own surface (on X11
// an image in shared memory) and only the changed rectangle is sent; with one, through a streaming RGB565
// texture and the accelerated renderer. Either way the window ends up showing the surface's pixels.
#include "toolkit/platform/sdl/present.h"

#include <string.h>

#include "toolkit/platform/sdl/present_stats.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/backend_pixels.h"
#include "toolkit/platform/sdl/window_table.h"

static SdlPresentStats stats;

SdlPresentStats SdlPresentStatistics() {
    return stats;
}

// Surfaces are 5-6-5, the format both ways to the screen take without a conversion of their own.
int32_t BackendPixelsAre565() {
    return 1;
}

void SdlStartScreen(SdlWindow* w) {
    // A renderer named by the user (SDL_RENDER_DRIVER) is used as asked.
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) || SdlDisplayHasGpu(w->window)) {
        w->screen.renderer = SDL_CreateRenderer(w->window, -1, 0);
    }
    if (w->screen.renderer) stats.rendererWindows++;
}

void SdlStopScreen(SdlWindow* w) {
    if (w->screen.texture) SDL_DestroyTexture(w->screen.texture);
    if (w->screen.renderer) SDL_DestroyRenderer(w->screen.renderer);
    w->screen.texture = nullptr;
    w->screen.renderer = nullptr;
    FreeScreenCopy(&w->screen.shown);
}

void SdlScreenLost(SdlWindow* w) {
    ForgetScreenCopy(&w->screen.shown);
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

static SDL_Rect AsSdlRect(const PlatformRect& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// 5-6-5 pixels of a rectangle (cut to the window surface, which r then tells) written as 8 bits a channel
// into the 32-bit window surface of a 24-bit X display, each channel's top bits repeated below it: for a
// sprite's rectangle a fifth of the time of SDL's general blit.
static int32_t WidenInto(SDL_Surface* screen, const Surface* surface, SDL_Rect* r) {
    if (r->x + r->w > screen->w) r->w = screen->w - r->x;
    if (r->y + r->h > screen->h) r->h = screen->h - r->y;
    if (r->w <= 0 || r->h <= 0) return 1;
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return 0;
    for (int32_t y = r->y; y < r->y + r->h; y++) {
        const uint8_t* from =
            surface->pixels + static_cast<size_t>(y) * surface->stride + 2 * static_cast<size_t>(r->x);
        uint8_t* to = static_cast<uint8_t*>(screen->pixels) + static_cast<size_t>(y) * screen->pitch +
                      4 * static_cast<size_t>(r->x);
        for (int32_t x = 0; x < r->w; x++) {
            uint16_t p;
            memcpy(&p, from + 2 * x, 2);
            const uint32_t red = p >> 11, green = (p >> 5) & 63, blue = p & 31;
            const uint32_t wide = 0xFF000000u | ((red << 3 | red >> 2) << 16) |
                                  ((green << 2 | green >> 4) << 8) | (blue << 3 | blue >> 2);
            memcpy(to + 4 * x, &wide, 4);
        }
    }
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    return 1;
}

// The window's surface takes the changed pixels, converted to its format, and X gets that rectangle only.
// A new window surface (the first copy, a new size) goes out whole.
static int32_t PresentOnWindowSurface(SdlWindow* w, const Surface* surface, PlatformRect* area) {
    SDL_Surface* screen = SDL_GetWindowSurface(w->window);
    if (!screen) return 0;
    bool fresh = screen != w->screen.surface || screen->w != w->screen.surfaceWidth ||
                 screen->h != w->screen.surfaceHeight;
    if (fresh) {
        w->screen.surface = screen;
        w->screen.surfaceWidth = screen->w;
        w->screen.surfaceHeight = screen->h;
        ForgetScreenCopy(&w->screen.shown);
        // Black where the toolkit's surface does not reach; the rest it covers itself.
        const Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
        SDL_Rect right = {surface->width, 0, screen->w - surface->width, screen->h};
        SDL_Rect below = {0, surface->height, surface->width, screen->h - surface->height};
        if (right.w > 0) SDL_FillRect(screen, &right, black);
        if (below.h > 0) SDL_FillRect(screen, &below, black);
    }
    if (UpdateScreenCopy(&w->screen.shown, surface, area) == 0) return 1;
    SDL_Rect from = AsSdlRect(*area), to = from;
    int32_t done = 1;
    if (screen->format->format == SDL_PIXELFORMAT_RGB888 ||
        screen->format->format == SDL_PIXELFORMAT_ARGB8888) {
        done = WidenInto(screen, surface, &to);
    } else {
        SDL_Surface* source =
            SDL_CreateRGBSurfaceWithFormatFrom(surface->pixels, surface->width, surface->height, 16,
                                               static_cast<int>(surface->stride), SDL_PIXELFORMAT_RGB565);
        if (!source) return 0;
        done = SDL_BlitSurface(source, &from, screen, &to) == 0;
        SDL_FreeSurface(source);
    }
    if (fresh) return done && SDL_UpdateWindowSurface(w->window) == 0;
    if (to.w <= 0 || to.h <= 0) return done;
    return done && SDL_UpdateWindowSurfaceRects(w->window, &to, 1) == 0;
}

// The texture takes the changed pixels; the renderer draws it whole, black where it does not reach.
static int32_t PresentThroughRenderer(SdlWindow* w, const Surface* surface, PlatformRect* area, bool whole) {
    if (!w->screen.texture || w->screen.textureWidth != surface->width ||
        w->screen.textureHeight != surface->height) {
        if (w->screen.texture) SDL_DestroyTexture(w->screen.texture);
        w->screen.texture = SDL_CreateTexture(w->screen.renderer, SDL_PIXELFORMAT_RGB565,
                                              SDL_TEXTUREACCESS_STREAMING, surface->width, surface->height);
        w->screen.textureWidth = w->screen.texture ? surface->width : 0;
        w->screen.textureHeight = w->screen.texture ? surface->height : 0;
        if (!w->screen.texture) return 0;
        ForgetScreenCopy(&w->screen.shown);
    }
    int32_t changed = UpdateScreenCopy(&w->screen.shown, surface, area);
    // Nothing new and nothing lost: the window still shows the last frame.
    if (changed == 0 && !whole) return 1;
    if (changed != 0) {
        SDL_Rect r = AsSdlRect(*area);
        const uint8_t* first =
            surface->pixels + static_cast<size_t>(area->top) * surface->stride + 2 * area->left;
        if (SDL_UpdateTexture(w->screen.texture, &r, first, static_cast<int>(surface->stride)) != 0) return 0;
    }
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(w->screen.renderer, &outW, &outH);
    if (outW > surface->width || outH > surface->height) {
        SDL_SetRenderDrawColor(w->screen.renderer, 0, 0, 0, 255);
        SDL_RenderClear(w->screen.renderer);
    }
    SDL_Rect target = {0, 0, surface->width, surface->height};
    SDL_RenderCopy(w->screen.renderer, w->screen.texture, nullptr, &target);
    SDL_RenderPresent(w->screen.renderer);
    return 1;
}

// The surface goes to the top-left of the client area. Windows drawn whole (frame included) have no frame
// of their own here, so both kinds present the same way. A copy of the whole surface (changed is null: the
// platform asked for a paint) forgets what the window showed and sends everything.
int32_t PlatformPresent(WindowHandle window, const Surface* surface, int32_t, const PlatformRect* changed) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    if (!surface || !SurfaceIsDrawable(surface) || w->minimised) return 1;
    uint64_t start = SDL_GetPerformanceCounter();
    PlatformRect area = {0, 0, surface->width, surface->height};
    if (changed) {
        area = *changed;
    } else {
        ForgetScreenCopy(&w->screen.shown);
    }
    int32_t done = w->screen.renderer ? PresentThroughRenderer(w, surface, &area, changed == nullptr)
                                      : PresentOnWindowSurface(w, surface, &area);
    uint64_t pixels =
        area.right > area.left && area.bottom > area.top
            ? static_cast<uint64_t>(area.right - area.left) * static_cast<uint64_t>(area.bottom - area.top)
            : 0;
    stats.presents++;
    stats.pixelsSent += pixels;
    stats.lastPixels = static_cast<uint32_t>(pixels);
    stats.lastNanoseconds =
        (SDL_GetPerformanceCounter() - start) * 1000000000ull / SDL_GetPerformanceFrequency();
    return done;
}
