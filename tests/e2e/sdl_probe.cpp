// A window on the SDL backend that logs every message it gets, one line each on standard output, and
// shows a striped surface: the end-to-end tests drive it with real X input.
//   message <number> <wParam hex> <lParam hex> [ime <result bytes hex>]
// Closing asks the quit question; Yes ends the program with exit code 0. A right press drops the composition,
// as the toolkit does when a click moves the focus.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"

static Surface screen;
static WindowHandle mainHandle;

static void Paint(WindowHandle window) {
    PlatformRect client = {};
    PlatformClientRect(window, &client);
    if (screen.width != client.right || screen.height != client.bottom) {
        ReleaseSurface(&screen);
        CreateSurface(static_cast<uint32_t>(client.right), client.bottom, &screen, nullptr);
    }
    // Eight vertical bands: red, green, blue, white, black, yellow, cyan, grey.
    static const uint32_t bands[8] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF,
                                      0x000000, 0x00FFFF, 0xFFFF00, 0x808080};
    for (int32_t y = 0; y < screen.height; y++) {
        for (int32_t x = 0; x < screen.width; x++) {
            uint16_t p =
                static_cast<uint16_t>(ColourToPixel(bands[(x * 8) / (screen.width ? screen.width : 1)]));
            memcpy(screen.pixels + static_cast<size_t>(y) * screen.stride + 2 * static_cast<size_t>(x), &p,
                   2);
        }
    }
    PlatformBeginPaint(window);
    if (SurfaceIsDrawable(&screen)) PlatformPresent(window, &screen, 0, nullptr);
    PlatformEndPaint(window);
}

static intptr_t ProbeProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    printf("message %u %llx %llx", message, static_cast<unsigned long long>(wParam),
           static_cast<unsigned long long>(static_cast<uintptr_t>(lParam)));
    if (message == WM_IME_COMPOSITION && lParam == static_cast<LParam>(GCS_RESULTSTR)) {
        char bytes[8] = {};
        int32_t n = PlatformImeString(window, GCS_RESULTSTR, bytes, sizeof bytes);
        printf(" ime");
        for (int32_t i = 0; i < n; i++) printf(" %02x", static_cast<uint8_t>(bytes[i]));
    }
    printf("\n");
    fflush(stdout);
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_LBUTTONDOWN:
        PlatformSetCapture(window);
        return 0;
    case WM_LBUTTONUP:
        PlatformReleaseCapture();
        return 0;
    case WM_RBUTTONDOWN:
        PlatformCancelComposition(window);
        return 0;
    case WM_CLOSE: {
        // "종료하시겠습니까?" in code page 949.
        static const char question[] = "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
        int32_t answer = PlatformMessageBox(window, question, "SDL probe", MB_YESNO);
        printf("answer %d\n", answer);
        fflush(stdout);
        if (answer == IDNO) return 0;
        break;
    }
    case WM_DESTROY:
        ReleaseSurface(&screen);
        if (window == mainHandle) PlatformPostQuit(0);
        return 0;
    case WM_TIMER:
        PlatformPostMessage(window, WM_PAINT, 0, 0);
        return 0;
    default:
        break;
    }
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

int main() {
    PlatformRegisterClass("Probe_Class", ProbeProc, 0x200B, 100, 101);
    InitDisplay();
    mainHandle = PlatformCreateWindow("Probe_Class", "SDL probe",
                                      WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 100, 100,
                                      320, 200, 0, 0);
    if (!mainHandle) return 2;
    printf("ready %llx pixels565 %u\n", static_cast<unsigned long long>(mainHandle),
           Theme[pixelFormat] & rgb565);
    fflush(stdout);
    PlatformShowWindow(mainHandle, SW_SHOWNORMAL);
    PlatformUpdateWindow(mainHandle);
    PlatformSetTimer(mainHandle, 1, 500);
    PlatformMessage message = {};
    while (PlatformGetMessage(&message) != 0) {
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
    }
    printf("quit %d\n", static_cast<int32_t>(message.wParam));
    return static_cast<int32_t>(message.wParam);
}
