// Composition messages put into the one form the keyboard router reads, whatever the input method sends:
// a finished result as lParam GCS_RESULTSTR alone, an update with the composing character in code page 949
// (lead byte high) as wParam, and nothing for messages that only move the input method's caret.
#include "toolkit/platform/win32/handles.h"

// Input methods differ: Wine's hands over the character in UTF-16, or wParam 0 with a caret-only lParam,
// so the composing character is read back from the context in the program's code page.
static WPARAM ComposingCharacter(HWND window) {
    unsigned char text[8] = {};
    LONG count = 0;
    if (HIMC context = ImmGetContext(window)) {
        count = ImmGetCompositionStringA(context, GCS_COMPSTR, text, sizeof text);
        ImmReleaseContext(window, context);
    }
    if (count <= 0) return 0;
    if (text[0] >= 0x80 && count >= 2) return static_cast<WPARAM>(text[0]) << 8 | text[1];
    return text[0];
}

LRESULT ForwardComposition(WindowProc procedure, HWND window, WPARAM wParam, LPARAM lParam) {
    WindowHandle h = FromWindow(window);
    LRESULT result = 0;
    // The result first: an input method may finish one syllable and start the next in one message.
    if ((lParam & GCS_RESULTSTR) && !TakeCancelledResult())
        result = procedure(h, WM_IME_COMPOSITION, wParam, GCS_RESULTSTR);
    // lParam 0 is an input method's way of saying the composition was cancelled: it shows nothing now.
    if ((lParam & GCS_COMPSTR) || lParam == 0) {
        WPARAM character = ComposingCharacter(window);
        if (character != 0) CompositionBegun();
        result = procedure(h, WM_IME_COMPOSITION, character, GCS_COMPSTR);
    }
    return result;
}
