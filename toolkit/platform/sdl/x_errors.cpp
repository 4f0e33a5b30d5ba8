// A window that is already gone is no reason to end the program. SDL wakes a waiting event loop with a
// message to one of the program's windows, sent on a second connection to the X server; when that window
// is destroyed at the same moment (a question box closing while a key is being pushed), the server may
// take the destroy first and answer the message with BadWindow, and Xlib's default handler exits.
#include <SDL.h>
#include <X11/Xlib.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "toolkit/platform/sdl/x_errors.h"

static XErrorHandler previousHandler = nullptr;

static int KeepGoneWindowsQuiet(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    return previousHandler ? previousHandler(display, error) : 0;
}

// A display that went away (the server ended, the connection broke) ends the program at once, with one line
// where Xlib would print two or three depending on how the connection broke.
static int EndWithoutDisplay(Display* display) {
    fprintf(stderr, "%s: the connection to the X display %s was lost\n", program_invocation_short_name,
            display ? DisplayString(display) : "");
    fflush(stderr);
    _exit(1); // atexit handlers would talk to the display that is gone
}

void SdlTolerateGoneWindows() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || strcmp(driver, "x11") != 0) return;
    XErrorHandler previous = XSetErrorHandler(KeepGoneWindowsQuiet);
    if (previous != KeepGoneWindowsQuiet) previousHandler = previous;
    XSetIOErrorHandler(EndWithoutDisplay);
}
