#include "toolkit/input/focus_keys.h"

#include "toolkit/input/line_editor.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

// Windows follows a Tab key with a Tab character; after a focus move it must not reach the new control.
static bool tabCharacterPending;

static bool TabStop(const Control* c) {
    return c && (c->flags & takesFocus) && !(c->flags & (hidden | collapsed | ignoreMouse));
}

Control* NextTabStop(const WindowRecord* w, const Control* from, bool backwards) {
    int32_t start = -1;
    for (int32_t i = 0; from && i < controlSlots; i++) {
        if (w->controls[i] == from) start = i;
    }
    if (start < 0) start = backwards ? 0 : controlSlots - 1;
    for (int32_t step = 1; step <= controlSlots; step++) {
        int32_t i = (start + (backwards ? controlSlots - step : step)) % controlSlots;
        if (TabStop(w->controls[i])) return w->controls[i];
    }
    return nullptr;
}

void MoveFocusTo(WindowHandle h, WindowRecord* w, Control* to) {
    Control* old = w->focusControl;
    if (old) {
        MarkForRedraw(old, w, redrawBits);
        EndFocusComposition(h, old);
    }
    w->focusControl = to;
    if (to) MarkForRedraw(to, w, redrawBits);
    RequestRepaint(h, repaintPending);
}

bool TakeFocusKey(WindowHandle h, WindowRecord* w, uint32_t message, WParam wParam) {
    if (!(w->flags & windowTabFocus)) return false;
    if (message == WM_CHAR && tabCharacterPending && (wParam & 0xFF) == vkTab) {
        tabCharacterPending = false;
        return true;
    }
    if (message != WM_KEYDOWN) return false;
    tabCharacterPending = false;
    Control* focus = w->focusControl;
    if (wParam != vkTab) return false;
    uint32_t held = HeldModifiers();
    // Inside an editor Tab types; Ctrl+Tab leaves it.
    if (focus && focus->editBuffer && !(held & editCtrl)) return false;
    Control* next = NextTabStop(w, focus, (held & editShift) != 0);
    w->flags |= windowKeyboardSeen;
    if (next && next != focus) MoveFocusTo(h, w, next);
    tabCharacterPending = true;
    return true;
}

void NoteKeyboardUse(WindowRecord* w) {
    if (w->flags & windowTabFocus) w->flags |= windowKeyboardSeen;
}

bool ShowsFocus(const WindowRecord* w, const Control* c) {
    return w && w->focusControl == c && (w->flags & windowKeyboardSeen);
}

void ForgetFocusKeys() {
    tabCharacterPending = false;
}
