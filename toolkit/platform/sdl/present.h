// The SDL backend's screen copy: how each window reaches the screen, and what the copies so far did.
#pragma once

#include <stdint.h>

struct SdlWindow;
struct SDL_Window;

// Whether the window's display has a GPU that SDL's accelerated renderer would draw with.
int32_t SdlDisplayHasGpu(SDL_Window* window);

// Sets up the window's way to the screen: the accelerated renderer where a GPU is there (or where SDL is
// told which renderer to use), otherwise the window's own surface, with no 3D pipeline.
void SdlStartScreen(SdlWindow* w);
void SdlStopScreen(SdlWindow* w);
// The window lost what it showed (exposed, resized, restored): the next copy sends every pixel.
void SdlScreenLost(SdlWindow* w);
