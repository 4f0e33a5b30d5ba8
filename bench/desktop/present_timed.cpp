// The application as main starts it, with one line on standard output after every paint that copied the
// window to the screen: "present <nanoseconds> <pixels sent>", as the SDL backend measured the copy.
#include <stdio.h>
#include <stdlib.h>

#include "app/application.h"
#include "toolkit/platform/sdl/present_stats.h"

int main() {
    if (!OpenApplication(PlatformCommandLine())) return 1;
    PlatformMessage message = {};
    uint32_t seen = SdlPresentStatistics().presents;
    while (PlatformGetMessage(&message) != 0) {
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
        SdlPresentStats stats = SdlPresentStatistics();
        if (stats.presents == seen) continue;
        seen = stats.presents;
        printf("present %llu %u\n", static_cast<unsigned long long>(stats.lastNanoseconds), stats.lastPixels);
        fflush(stdout);
    }
    exit(static_cast<int32_t>(message.wParam));
}
