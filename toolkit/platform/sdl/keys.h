// SDL keys as Windows virtual-key codes.
#pragma once

#include <SDL.h>
#include <stdint.h>

// The Windows virtual-key code of an SDL key, 0 when it has none.
uint32_t SdlVirtualKey(SDL_Keycode key, SDL_Scancode scancode, bool numLock);
