#include "app/application.h"

#include "app/sprite.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/dispatch.h"
#include "util/dbcs_string.h"
#include "util/scratch_memory.h"

char programDirectory[directorySize];
char currentDirectory[directorySize];
Surface backgroundTile;
const char quitQuestion[] = "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
const char applicationTitle[] = "Velquist";
const char mainClassName[] = "Main_Class";

static const char* recordedCommandLine;

enum : uint32_t { classStyle = 0x200B, largeIconId = 100, smallIconId = 101, tileId = 3000 };
enum : int32_t { mainWidth = 640, mainHeight = 480, animationTimer = 1, animationPeriod = 100 };

Extent MainWindowPlacement(int32_t screenW, int32_t screenH) {
    int32_t x = (screenW - mainWidth) / 2, y = (screenH - mainHeight) / 2;
    return {x > 0 ? x : 0, y > 0 ? y : 0, mainWidth, mainHeight};
}

int32_t OpenApplication(const char* commandLine) {
    recordedCommandLine = commandLine;
    SetCommandLineText(commandLine);
    SetScratchAllocator(PlatformAllocatePages, PlatformFreePages);
    PlatformRegisterClass(mainClassName, AppWindowProc, classStyle, largeIconId, smallIconId);
    int32_t screenW = 0, screenH = 0;
    PlatformScreenSize(&screenW, &screenH);
    Extent placement = MainWindowPlacement(screenW, screenH);
    if (CreateToolkitWindow(systemMenu | mainWindow | clientSurface, mainClassName, applicationTitle,
                            &placement, 0, 0, nullptr) == 0) {
        return 0;
    }
    SetUpMainWindow();
    PlatformShowWindow(mainWindowHandle, SW_SHOWNORMAL);
    PlatformUpdateWindow(mainWindowHandle);
    return 1;
}

int32_t RunApplication(uintptr_t, uint32_t, const char* commandLine, int32_t) {
    // Without a main window there is nothing to run (no display, for one): end with a failure code.
    if (!OpenApplication(commandLine)) return 1;
    PlatformMessage message = {};
    while (PlatformGetMessage(&message) != 0) {
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
    }
    return static_cast<int32_t>(message.wParam);
}

void SetUpMainWindow() {
    GetProgramDirectory(recordedCommandLine, programDirectory);
    PlatformCurrentDirectory(directorySize, currentDirectory);
    InitDisplay();
    mainWindowRecord->onClose = ConfirmQuit;
    mainWindowRecord->onDestroy = StopAnimationTimer;
    mainWindowRecord->minTrackWidth = mainWidth;
    mainWindowRecord->minTrackHeight = mainHeight;
    mainWindowRecord->onPaintBackground = PaintTiledBackground;
    SetUpSprite();
    LoadBitmapSurface(tileId, &backgroundTile, 0);
    PlatformSetTimer(mainWindowHandle, animationTimer, animationPeriod);
}

intptr_t AppWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    int32_t result = DispatchToolkitMessage(window, message, wParam, lParam);
    if (result == 0) return 0;
    if (result == -1 && message == WM_TIMER) AnimationTick();
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

int32_t ConfirmQuit(WindowHandle window, WindowRecord*) {
    // Escape on a Windows Yes/No box answers IDCANCEL: the question was put away, not agreed to. A box that
    // could not be shown (0) still lets the window close.
    int32_t answer = PlatformMessageBox(window, quitQuestion, applicationTitle, MB_YESNO);
    return answer == IDNO || answer == IDCANCEL ? 0 : 1;
}

void StopAnimationTimer(WindowHandle, WindowRecord*) {
    PlatformKillTimer(mainWindowHandle, animationTimer);
}

void PaintTiledBackground(WindowRecord* record) {
    if (backgroundTile.width == 0 || backgroundTile.height == 0) return;
    Extent all = {0, 0, record->surface.width, record->surface.height};
    TileSurface(&record->surface, &backgroundTile, &all);
}

uint32_t GetProgramDirectory(const char* commandLine, char* destination) {
    destination[0] = 0;
    if (!commandLine) return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    while (*p != 0 && *p <= 32) p++;
    if (*p == 0) return 0;
    const unsigned char* start;
    const unsigned char* end;
    if (*p == '"') {
        p++;
        while (*p != 0 && *p <= 32) p++;
        if (*p == 0 || *p == '"') return 0;
        start = p;
        while (*p != 0 && *p != '"') p++;
        end = p;
    } else {
        start = p;
        while (*p > 32 && *p != '/' && *p != '*' && *p != '?' && *p != '|' && *p != '<' && *p != '>') p++;
        end = p;
    }
    const unsigned char* last = end;
    while (last > start && last[-1] != '\\' && last[-1] != ':') last--;
    if (last == start) return 0;
    uint32_t length = static_cast<uint32_t>(last - start);
    InsertString(reinterpret_cast<const char*>(start), destination, 0, length, directorySize);
    uint32_t copied = StringLength(destination, directorySize);
    if (copied > 0 && destination[copied - 1] == ':' && copied < directorySize - 1) {
        destination[copied] = '\\';
        destination[copied + 1] = 0;
    }
    return length;
}
