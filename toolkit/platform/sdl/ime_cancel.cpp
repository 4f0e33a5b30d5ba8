// Dropping the input method's composition when the toolkit drops its half-made character.
#include "toolkit/platform/sdl/key_order.h"
#include "toolkit/platform/sdl/window_table.h"

// The input method may still commit the syllable it held (ibus-hangul does so when it is reset); key order
// lets that commit go nowhere rather than into whatever has the focus now.
void PlatformCancelComposition(WindowHandle window) {
    if (!SdlFind(window)) return;
    if (KeyOrderDrop(&sdlKeyOrder) && sdlWindows.videoState > 0) SDL_ClearComposition();
}
