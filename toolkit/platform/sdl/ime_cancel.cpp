// Throwing the input method's composition away when the toolkit drops the half-composed character.
#include "toolkit/platform/sdl/state.h"

void PlatformCancelComposition(WindowHandle window) {
    // SDL keeps one text-input state for the process; the window only has to be ours.
    if (SdlFind(window)) SDL_ClearComposition();
}
