// Window classes, windows and their geometry.
#include "toolkit/platform/win32/handles.h"

#include <string.h>

// The toolkit's procedures are not stdcall, so every class gets the same system procedure, which finds
// the class's toolkit procedure by its atom.
enum : int32_t { maxClasses = 16 };
static struct {
    ATOM atom;
    WindowProc procedure;
} classes[maxClasses];

static LRESULT CALLBACK ClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ATOM atom = static_cast<ATOM>(GetClassLongA(window, GCW_ATOM));
    for (const auto& c : classes) {
        if (c.atom == 0 || c.atom != atom) continue;
        if (message == WM_IME_COMPOSITION) return ForwardComposition(c.procedure, window, wParam, lParam);
        return c.procedure(FromWindow(window), message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int32_t PlatformRegisterClass(const char* className, WindowProc procedure, uint32_t classStyle,
                              uint32_t largeIcon, uint32_t smallIcon) {
    if (!className || !procedure) return 0;
    int32_t slot = -1;
    for (int32_t i = 0; i < maxClasses && slot < 0; i++) {
        if (classes[i].atom == 0) slot = i;
    }
    if (slot < 0) return 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA c;
    memset(&c, 0, sizeof c);
    c.cbSize = sizeof c;
    c.style = classStyle;
    c.lpfnWndProc = ClassProcedure;
    c.hInstance = instance;
    c.hIcon = largeIcon ? LoadIconA(instance, MAKEINTRESOURCEA(largeIcon)) : nullptr;
    c.hIconSm = smallIcon ? LoadIconA(instance, MAKEINTRESOURCEA(smallIcon)) : nullptr;
    c.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    c.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    c.lpszClassName = className;
    ATOM atom = RegisterClassExA(&c);
    if (atom == 0) return 0;
    classes[slot].atom = atom;
    classes[slot].procedure = procedure;
    return atom;
}

WindowHandle PlatformCreateWindow(const char* className, const char* title, uint32_t style, int32_t x,
                                  int32_t y, int32_t width, int32_t height, WindowHandle parent,
                                  uintptr_t menu) {
    HWND h = CreateWindowExA(0, className, title, style, x, y, width, height, AsWindow(parent),
                             reinterpret_cast<HMENU>(menu), GetModuleHandleA(nullptr), nullptr);
    return FromWindow(h);
}

int32_t PlatformShowWindow(WindowHandle window, int32_t command) {
    return ShowWindow(AsWindow(window), command);
}

int32_t PlatformUpdateWindow(WindowHandle window) {
    return UpdateWindow(AsWindow(window));
}

int32_t PlatformDestroyWindow(WindowHandle window) {
    return DestroyWindow(AsWindow(window));
}

WindowHandle PlatformActiveWindow() {
    return FromWindow(GetActiveWindow());
}

void PlatformScreenSize(int32_t* width, int32_t* height) {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
}

static void CopyRect(const RECT& from, PlatformRect* to) {
    to->left = from.left;
    to->top = from.top;
    to->right = from.right;
    to->bottom = from.bottom;
}

int32_t PlatformClientRect(WindowHandle window, PlatformRect* rect) {
    RECT r = {};
    BOOL ok = GetClientRect(AsWindow(window), &r);
    if (ok) CopyRect(r, rect);
    return ok;
}

int32_t PlatformWindowRect(WindowHandle window, PlatformRect* rect) {
    RECT r = {};
    BOOL ok = GetWindowRect(AsWindow(window), &r);
    if (ok) CopyRect(r, rect);
    return ok;
}

int32_t PlatformClientToScreen(WindowHandle window, PlatformPoint* point) {
    POINT p = {point->x, point->y};
    BOOL ok = ClientToScreen(AsWindow(window), &p);
    if (ok) {
        point->x = p.x;
        point->y = p.y;
    }
    return ok;
}
