// The application as main starts it, with one line on standard output after every paint that copied the
// window to the screen: "present <nanoseconds> <pixels sent>", as the SDL backend measured the copy.
#include <stdio.h>
#include <stdlib.h>

#include "app/application.h"
#include "toolkit/platform/sdl/present.h"

int main() {
    if (!OpenApplication(PlatformCommandLine())) return 1;
    PlatformMessage message = {};
    uint32_t seen = sdlPresentStats.presents;
    while (PlatformGetMessage(&message) != 0) {
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
        if (sdlPresentStats.presents == seen) continue;
        seen = sdlPresentStats.presents;
        printf("present %llu %u\n", static_cast<unsigned long long>(sdlPresentStats.lastNanoseconds),
               sdlPresentStats.lastPixels);
        fflush(stdout);
    }
    exit(static_cast<int32_t>(message.wParam));
}
