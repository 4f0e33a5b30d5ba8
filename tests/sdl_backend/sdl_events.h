// SDL events filled as SDL fills them (the fields this backend reads, the rest zero) and handed to the
// backend's translator, for the tests of the SDL backend.
#pragma once

#include "toolkit/platform/sdl/events.h"

inline void SendKey(uint32_t windowId, uint32_t type, SDL_Scancode scancode, SDL_Keycode key,
                    uint16_t mods = 0, uint8_t repeat = 0) {
    SDL_Event e = {};
    uint8_t state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key = {type, 0, windowId, state, repeat, 0, 0, {scancode, key, mods, 0}};
    SdlTranslateEvent(&e);
}

inline void SendButton(uint32_t windowId, uint32_t type, uint8_t button, int32_t x, int32_t y,
                       uint8_t clicks = 1) {
    SDL_Event e = {};
    uint8_t state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button = {type, 0, windowId, 0, button, state, clicks, 0, x, y};
    SdlTranslateEvent(&e);
}

inline void SendWindowEvent(uint32_t windowId, uint8_t event) {
    SDL_Event e = {};
    e.window = {SDL_WINDOWEVENT, 0, windowId, event, 0, 0, 0, 0, 0};
    SdlTranslateEvent(&e);
}
