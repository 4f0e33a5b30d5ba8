// Dropping the input method's composition when the toolkit drops its half-made character.
#include "toolkit/platform/sdl/ibus.h"
#include "toolkit/platform/sdl/key_order.h"
#include "toolkit/platform/sdl/window_table.h"

// SDL 2.26 clears a composition on Windows only; on X the input method is reset, by the backend's own IBus
// client or, for another input method, by stopping text input (and starting it again at once). It may still
// commit the syllable it held (ibus-hangul does so when it is reset): key order lets that commit go nowhere
// rather than into whatever has the focus now.
void PlatformCancelComposition(WindowHandle window) {
    if (!SdlFind(window) || !KeyOrderDrop(&sdlKeyOrder) || sdlWindows.videoState <= 0) return;
    SDL_ClearComposition();
    if (SdlIbusReset()) return;
    SDL_StopTextInput();
    SDL_StartTextInput();
}
