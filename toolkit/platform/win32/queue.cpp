// The message queue, timers and mouse capture.
#include "toolkit/platform/win32/handles.h"

// The message last fetched, so that translating and dispatching it keep its time and cursor position.
static MSG lastMessage;

static MSG ToSystemMessage(const PlatformMessage* message) {
    if (FromWindow(lastMessage.hwnd) == message->window && lastMessage.message == message->message &&
        lastMessage.wParam == message->wParam && lastMessage.lParam == message->lParam) {
        return lastMessage;
    }
    MSG m = {};
    m.hwnd = AsWindow(message->window);
    m.message = message->message;
    m.wParam = message->wParam;
    m.lParam = message->lParam;
    m.time = static_cast<DWORD>(GetMessageTime());
    return m;
}

int32_t PlatformPostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    return PostMessageA(AsWindow(window), message, wParam, lParam);
}

int32_t PlatformGetMessage(PlatformMessage* message) {
    BOOL r = GetMessageA(&lastMessage, nullptr, 0, 0);
    if (r == -1) {
        // A failing queue ends the loop instead of spinning on it, with a failure code.
        lastMessage = {};
        lastMessage.message = WM_QUIT;
        lastMessage.wParam = static_cast<WPARAM>(-1);
    }
    message->window = FromWindow(lastMessage.hwnd);
    message->message = lastMessage.message;
    message->wParam = lastMessage.wParam;
    message->lParam = lastMessage.lParam;
    return r > 0 ? 1 : 0;
}

int32_t PlatformTranslateMessage(const PlatformMessage* message) {
    MSG m = ToSystemMessage(message);
    return TranslateMessage(&m);
}

intptr_t PlatformDispatchMessage(const PlatformMessage* message) {
    MSG m = ToSystemMessage(message);
    return DispatchMessageA(&m);
}

intptr_t PlatformDefaultProcessing(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    return DefWindowProcA(AsWindow(window), message, wParam, lParam);
}

void PlatformPostQuit(int32_t code) {
    PostQuitMessage(code);
}

uint32_t PlatformRegisterMessage(const char* name) {
    return RegisterWindowMessageA(name);
}

uintptr_t PlatformSetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds) {
    return SetTimer(AsWindow(window), id, milliseconds, nullptr);
}

int32_t PlatformKillTimer(WindowHandle window, uintptr_t id) {
    return KillTimer(AsWindow(window), id);
}

// The keyboard settings: a delay of 0 to 3 quarter seconds past the first, and a speed of 0 (about 2.5
// repeats a second) to 31 (about 30), the rate growing evenly between them.
void PlatformKeyRepeat(uint32_t* delayMs, uint32_t* intervalMs) {
    UINT delay = 1, speed = 31;
    *delayMs =
        SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0) && delay <= 3 ? (delay + 1) * 250 : 400;
    if (!SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0) || speed > 31) speed = 31;
    *intervalMs = 1000u * 62u / (155u + speed * 55u);
}

WindowHandle PlatformSetCapture(WindowHandle window) {
    return FromWindow(SetCapture(AsWindow(window)));
}

int32_t PlatformReleaseCapture() {
    return ReleaseCapture();
}
