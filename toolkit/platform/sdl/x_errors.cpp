// A window that is already gone is no reason to end the program. SDL wakes a waiting event loop with a
// message to one of the program's windows, sent on a second connection to the X server; when that window
// is destroyed at the same moment (a question box closing while a key is being pushed), the server may
// take the destroy first and answer the message with BadWindow, and Xlib's default handler exits.
#include <SDL.h>
#include <X11/Xlib.h>
#include <string.h>

#include "toolkit/platform/sdl/x_errors.h"

static XErrorHandler previousHandler = nullptr;

static int KeepGoneWindowsQuiet(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    return previousHandler ? previousHandler(display, error) : 0;
}

void SdlTolerateGoneWindows() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || strcmp(driver, "x11") != 0) return;
    XErrorHandler previous = XSetErrorHandler(KeepGoneWindowsQuiet);
    if (previous != KeepGoneWindowsQuiet) previousHandler = previous;
}
