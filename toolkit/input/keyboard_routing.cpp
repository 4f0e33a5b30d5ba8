// The four keyboard messages go to the focused control only: through the line editor when it edits
// text, to its onKey handler otherwise.
#include "toolkit/input/keyboard_routing.h"

#include "toolkit/input/edit_buffer.h"
#include "toolkit/input/focus_keys.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/window/composition.h"

uint32_t caretBlinkCounter = 1;

static bool IsKeyboardMessage(uint32_t message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
           message == WM_IME_COMPOSITION;
}

// The IME reports a two-byte character as 0xHHLL with the lead byte high; the buffer wants it lead byte
// first in memory, so the two low bytes change places.
static uint32_t CompositionBytes(WParam wParam) {
    uint32_t value = static_cast<uint32_t>(wParam);
    return (value & 0xFFFF0000u) | ((value & 0xFF) << 8) | ((value >> 8) & 0xFF);
}

// Redraw flags of one message for a control that edits text; the line editor restarts the caret cycle.
static uint32_t RouteToLineEditor(WindowHandle h, WindowRecord* w, Control* c, EditBuffer* buffer,
                                  uint32_t message, WParam wParam, LParam lParam) {
    EditInputMode mode;
    uint32_t value;
    int32_t count;
    if (message == WM_IME_COMPOSITION) {
        if (lParam != static_cast<LParam>(GCS_RESULTSTR)) { // the exact value, not merely the bit
            buffer->composition = CompositionBytes(wParam);
            return redrawBits;
        }
        char result[4] = {0, 0, 0, 0};
        count = PlatformImeString(h, GCS_RESULTSTR, result, sizeof result);
        // A failed fetch brings no text; the caret cycle is left alone too.
        if (count < 0) return 0;
        if (count > 4) count = 4;
        value = static_cast<uint8_t>(result[0]) |
                static_cast<uint32_t>(static_cast<uint8_t>(result[1])) << 8 |
                static_cast<uint32_t>(static_cast<uint8_t>(result[2])) << 16 |
                static_cast<uint32_t>(static_cast<uint8_t>(result[3])) << 24; // first byte lowest
        mode = EditInputMode::ImeResult;
    } else if (message == WM_CHAR) {
        if ((wParam & 0xFF) >= 0x80) return 0; // two-byte characters arrive only as IME results
        mode = EditInputMode::Character;
        value = static_cast<uint32_t>(wParam);
        count = 1;
    } else {
        mode = EditInputMode::Key;
        value = static_cast<uint32_t>(wParam);
        count = message == WM_KEYUP ? 1 : 0;
    }
    uint32_t flags = EditInput(h, w, c, buffer, mode, value, count);
    caretBlinkCounter = 3;
    return flags;
}

// A control with offersCharacters and no edit buffer: typed characters and the input method's go to onKey
// with characterKey. A character still being composed is offered and its composition cancelled, so a list
// searches at the first consonant and nothing commits a second time.
static uint32_t OfferCharacters(WindowHandle h, WindowRecord* w, Control* c, uint32_t message, WParam wParam,
                                LParam lParam) {
    uint32_t keyData = static_cast<uint32_t>(lParam);
    if (message == WM_CHAR) {
        uint32_t byte = static_cast<uint32_t>(wParam) & 0xFF;
        return byte >= 0x80 ? 0 : c->onKey(h, w, c, characterKey | byte, keyData);
    }
    if (lParam != static_cast<LParam>(GCS_RESULTSTR)) {
        uint32_t code = static_cast<uint32_t>(wParam) & characterCode;
        if (code == 0) return 0;
        PlatformCancelComposition(h);
        return c->onKey(h, w, c, characterKey | composingKey | code, keyData);
    }
    char result[4] = {0, 0, 0, 0};
    int32_t count = PlatformImeString(h, GCS_RESULTSTR, result, sizeof result);
    uint32_t flags = 0;
    for (int32_t i = 0; i < count && i < 4 && result[i]; i++) {
        uint32_t code = static_cast<uint8_t>(result[i]);
        if (code >= 0x80 && i + 1 < count && i + 1 < 4) code = code << 8 | static_cast<uint8_t>(result[++i]);
        flags |= c->onKey(h, w, c, characterKey | code, 0);
        if (FindWindowRecord(h) != w || w->focusControl != c) break;
    }
    return flags;
}

int32_t RouteKeyboard(WindowHandle h, WindowRecord* w, uint32_t message, WParam wParam, LParam lParam) {
    // Shift and Ctrl are followed whoever has the focus, so a selection key knows them.
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
        NoteModifierKey(static_cast<uint32_t>(wParam), message == WM_KEYDOWN || message == WM_SYSKEYDOWN);
    // Their releases go to whichever window has the keyboard next, so losing it lets go of them.
    if (message == WM_KILLFOCUS) {
        NoteModifierKey(vkShift, false);
        NoteModifierKey(vkControl, false);
        return -1;
    }
    if (!IsKeyboardMessage(message)) return -1;
    if (TakeFocusKey(h, w, message, wParam)) return 0;
    Control* c = w->focusControl;
    if (!c) return 0;
    uint32_t flags = 0;
    if (EditBuffer* buffer = c->editBuffer) {
        if (!buffer->text) return 0;
        flags = RouteToLineEditor(h, w, c, buffer, message, wParam, lParam);
    } else if (c->onKey && (message == WM_KEYDOWN || message == WM_KEYUP)) {
        flags = c->onKey(h, w, c, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
        // The first key that works a control (a stray one does not) shows its focus rectangle.
        if (message == WM_KEYDOWN && (flags & redrawBits)) NoteKeyboardUse(w);
    } else if (c->onKey && (c->flags & offersCharacters)) {
        flags = OfferCharacters(h, w, c, message, wParam, lParam);
    }
    flags &= redrawBits;
    // A handler may have torn the window down; there is nothing left to redraw then.
    if (flags == 0 || FindWindowRecord(h) != w) return 0;
    MarkForRedraw(c, w, flags);
    RequestRepaint(h, repaintPending);
    return 0;
}

void DropComposition(WindowHandle h, Control* c) {
    if (c->editBuffer) c->editBuffer->composition = 0;
    PlatformCancelComposition(h);
    PlatformPostMessage(h, WM_IME_ENDCOMPOSITION, 0, 0);
}

void CaretBlinkTick() {
    if (caretBlinkCounter >= 2) {
        caretBlinkCounter--;
        return;
    }
    caretBlinkCounter = caretBlinkCounter == 0 ? 1 : 0;
    WindowHandle active = PlatformActiveWindow();
    WindowRecord* w = FindWindowRecord(active);
    if (!w) return;
    Control* c = w->focusControl;
    if (!c || !c->editBuffer) return;
    MarkForRedraw(c, w, redrawBits);
    RequestRepaint(active, repaintPending);
}
