// Conversions between the toolkit's handle words and the Win32 handle types. Include first: <windows.h>
// must come before platform.h so that the message constants come from the system headers.
#pragma once

#include <windows.h>
#include <imm.h>

#include "toolkit/platform/platform.h"

inline HWND AsWindow(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

inline WindowHandle FromWindow(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

inline HBITMAP AsBitmap(uintptr_t bitmap) {
    return reinterpret_cast<HBITMAP>(bitmap);
}

// A memory device context compatible with the window's, for drawing into a surface's bitmap; the
// window's own context is released at once. Null on failure.
HDC OpenMemoryContext(WindowHandle window);

// The memory context of an open text context, with its font selected; null for no open context.
HDC TextContextDC(TextContext context);

// WM_IME_COMPOSITION handed to a toolkit procedure in the form the keyboard router reads (ime_messages.cpp).
LRESULT ForwardComposition(WindowProc procedure, HWND window, WPARAM wParam, LPARAM lParam);
// The first result after a cancelled composition belongs to it: true once, and the result is dropped
// (ime_cancel.cpp). A composing character that arrives first means the input method let it go.
bool TakeCancelledResult();
void CompositionBegun();
