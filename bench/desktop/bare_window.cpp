// The reference for the time to a first frame: SDL alone, with the hints the toolkit's backend gives it,
// opens a 640 × 480 window and fills it with the background tile through its window surface. What the
// program takes beyond this is the toolkit's own start.
#include <SDL.h>

int main(int, char**) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The toolkit's pixels are 5-6-5, so the reference shows the tile as they do.
    SDL_Surface* loaded = SDL_LoadBMP(VQ_APP_RESOURCES "/3000.bmp");
    SDL_Surface* tile = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0) : nullptr;
    if (!tile || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window =
        SDL_CreateWindow("Velquist", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480, 0);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) return 1;
    for (int y = 0; y < 480; y += tile->h) {
        for (int x = 0; x < 640; x += tile->w) {
            SDL_Rect to = {x, y, tile->w, tile->h};
            SDL_BlitSurface(tile, nullptr, surface, &to);
        }
    }
    SDL_UpdateWindowSurface(window);
    for (;;) {
        SDL_Event e;
        if (!SDL_WaitEvent(&e) || e.type == SDL_QUIT) break;
        // The server keeps nothing of a window that was not yet on the screen.
        if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED)
            SDL_UpdateWindowSurface(window);
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
