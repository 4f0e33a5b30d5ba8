// The SDL backend's screen copy: how each window reaches the screen.
#pragma once

#include <SDL.h>
#include <stdint.h>

#include "toolkit/platform/common/screen_copy.h"

struct SdlWindow;

// How one window reaches the screen.
struct SdlScreen {
    SDL_Renderer* renderer; // null: pixels go through the window's own surface
    SDL_Texture* texture;
    int32_t textureWidth, textureHeight;
    SDL_Surface* surface; // the window surface the last copy wrote into
    int32_t surfaceWidth, surfaceHeight;
    ScreenCopy shown; // what the window shows
};

// Whether the window's display has a GPU that SDL's accelerated renderer would draw with.
int32_t SdlDisplayHasGpu(SDL_Window* window);

// Sets up the window's way to the screen: the accelerated renderer where a GPU is there (or where SDL is
// told which renderer to use), otherwise the window's own surface, with no 3D pipeline.
void SdlStartScreen(SdlWindow* w);
void SdlStopScreen(SdlWindow* w);
// The window lost what it showed (exposed, resized, restored): the next copy sends every pixel.
void SdlScreenLost(SdlWindow* w);
