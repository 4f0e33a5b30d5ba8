// The application as main starts it, with one line on standard output after every paint that copied the
// window to the screen: "present <nanoseconds> <pixels sent>", as the SDL backend measured the copy.
#include <stdio.h>
#include <stdlib.h>

#include "app/application.h"
#include "toolkit/platform/sdl/present.h"
#include "util/dbcs_string.h"
#include "util/scratch_memory.h"

int main() {
    // What RunApplication does, with the message loop watched.
    SetCommandLineText(PlatformCommandLine());
    SetScratchAllocator(PlatformAllocatePages, PlatformFreePages);
    PlatformRegisterClass(mainClassName, AppWindowProc, 0x200B, 100, 101);
    int32_t screenW = 0, screenH = 0;
    PlatformScreenSize(&screenW, &screenH);
    Extent placement = MainWindowPlacement(screenW, screenH);
    if (CreateToolkitWindow(systemMenu | mainWindow | clientSurface, mainClassName, applicationTitle,
                            &placement, 0, 0, nullptr) == 0) {
        return 1;
    }
    SetUpMainWindow();
    PlatformShowWindow(mainWindowHandle, SW_SHOWNORMAL);
    PlatformUpdateWindow(mainWindowHandle);
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
