// SDL events as the window messages of the toolkit.
#pragma once

#include <SDL.h>
#include <stdint.h>

// Turns one SDL event into queued messages and window state.
void SdlTranslateEvent(const SDL_Event* event);
