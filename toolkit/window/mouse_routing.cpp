// Each mouse message becomes one handler call: of the capturing control, of the capturing window, of the
// topmost control under the pointer, or of the window when nothing is hit.
#include "toolkit/window/mouse_routing.h"

#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/composition.h"

static int32_t MouseEventCodeOf(uint32_t message) {
    switch (message) {
    case WM_MOUSEMOVE:
        return mouseMove;
    case WM_LBUTTONDOWN:
        return mouseLeftDown;
    case WM_LBUTTONUP:
        return mouseLeftUp;
    case WM_LBUTTONDBLCLK:
        return mouseLeftDouble;
    case WM_RBUTTONDOWN:
        return mouseRightDown;
    case WM_RBUTTONUP:
        return mouseRightUp;
    case WM_RBUTTONDBLCLK:
        return mouseRightDouble;
    default:
        return -1;
    }
}

// A double click reaches the press handler of a record without a double-click handler.
static MouseHandler ControlHandlerFor(const Control* c, uint32_t code) {
    MouseHandler handler = ControlMouseHandler(c, code);
    if (!handler && (code == mouseLeftDouble || code == mouseRightDouble))
        handler = ControlMouseHandler(c, code - 8);
    return handler;
}

static WindowMouseHandler WindowHandlerFor(const WindowRecord* w, uint32_t code) {
    WindowMouseHandler handler = WindowMouseHandlerOf(w, code);
    if (!handler && (code == mouseLeftDouble || code == mouseRightDouble)) {
        handler = WindowMouseHandlerOf(w, code - 8);
    }
    return handler;
}

static bool IsLeftPress(uint32_t code) {
    return code == mouseLeftDown || code == mouseLeftDouble;
}
static bool IsRightPress(uint32_t code) {
    return code == mouseRightDown || code == mouseRightDouble;
}

Control* HitTestControls(const WindowRecord* record, int32_t x, int32_t y) {
    for (int32_t i = controlSlots - 1; i >= 0; i--) {
        Control* p = record->controls[i];
        if (!p || (p->flags & (ignoreMouse | hidden | collapsed))) continue;
        // 64-bit sums: a control near the edge of the coordinate range must not wrap around.
        int64_t right = static_cast<int64_t>(p->x) + p->surface.width;
        int64_t bottom = static_cast<int64_t>(p->y) + p->surface.height;
        if (p->x <= x && x < right && p->y <= y && y < bottom) return p;
    }
    return nullptr;
}

static void RouteToCapturingControl(WindowHandle h, WindowRecord* w, uint32_t code, WParam wParam, int32_t x,
                                    int32_t y) {
    Control* c = w->captureControl;
    MouseHandler handler = ControlHandlerFor(c, code);
    if (handler) handler(h, w, c, static_cast<uint32_t>(wParam), x - c->x, y - c->y);
    // The handler may have moved or ended the capture; the release ends whatever holds it now.
    Control* holder = w->captureControl;
    if (!holder) return;
    if (((holder->flags & captureOnLeft) && code == mouseLeftUp) ||
        ((holder->flags & captureOnRight) && code == mouseRightUp)) {
        w->captureControl = nullptr;
        PlatformReleaseCapture();
    }
}

static void RouteToCapturingWindow(WindowHandle h, WindowRecord* w, uint32_t code, WParam wParam, int32_t x,
                                   int32_t y) {
    WindowMouseHandler handler = WindowHandlerFor(w, code);
    if (handler) handler(h, w, w, static_cast<uint32_t>(wParam), x, y);
    if (((w->flags & windowCaptureOnLeft) && code == mouseLeftUp) ||
        ((w->flags & windowCaptureOnRight) && code == mouseRightUp)) {
        w->flags &= ~static_cast<uint32_t>(windowCaptured);
        PlatformReleaseCapture();
    }
}

// Old and new focus get their redraw bits directly; their areas are not merged into a dirty area.
static void MoveFocus(WindowHandle h, WindowRecord* w, Control* p) {
    Control* old = w->focusControl;
    if (old) {
        old->flags |= redrawBits;
        if (old->editBuffer) old->editBuffer->composition = 0; // the half-composed character is dropped
        PlatformCancelComposition(h); // and the input method must not commit it later elsewhere
        PlatformPostMessage(h, WM_IME_ENDCOMPOSITION, 0, 0);
    }
    w->focusControl = p;
    p->flags |= redrawBits;
    RequestRepaint(h, repaintPending);
}

static void RouteToHitControl(WindowHandle h, WindowRecord* w, Control* p, uint32_t code, WParam wParam,
                              int32_t x, int32_t y) {
    MouseHandler handler = ControlHandlerFor(p, code);
    if (handler) handler(h, w, p, static_cast<uint32_t>(wParam), x - p->x, y - p->y);
    // A handler that took the control out of the window (or tore the window down) leaves nothing to
    // capture or focus.
    if (FindWindowRecord(h) != w || FindControlSlot(w, p) < 0) return;
    if (((p->flags & captureOnLeft) && IsLeftPress(code)) ||
        ((p->flags & captureOnRight) && IsRightPress(code))) {
        w->captureControl = p;
        PlatformSetCapture(h);
    }
    if ((p->flags & takesFocus) && IsLeftPress(code)) MoveFocus(h, w, p);
}

static void RouteToWindow(WindowHandle h, WindowRecord* w, uint32_t code, WParam wParam, int32_t x,
                          int32_t y) {
    WindowMouseHandler handler = WindowHandlerFor(w, code);
    if (handler) handler(h, w, nullptr, static_cast<uint32_t>(wParam), x, y);
    if (FindWindowRecord(h) != w) return;
    if (((w->flags & windowCaptureOnLeft) && IsLeftPress(code)) ||
        ((w->flags & windowCaptureOnRight) && IsRightPress(code))) {
        w->flags |= windowCaptured;
        PlatformSetCapture(h);
    }
}

int32_t RouteMouse(WindowHandle h, WindowRecord* w, uint32_t message, WParam wParam, LParam lParam) {
    int32_t code = MouseEventCodeOf(message);
    if (code < 0) return -1;
    uint32_t position = static_cast<uint32_t>(lParam);
    int32_t x = static_cast<int16_t>(position & 0xFFFF) + w->clientOffsetX;
    int32_t y = static_cast<int16_t>(position >> 16) + w->clientOffsetY;
    uint32_t event = static_cast<uint32_t>(code);
    if (w->captureControl) {
        RouteToCapturingControl(h, w, event, wParam, x, y);
    } else if (w->flags & windowCaptured) {
        RouteToCapturingWindow(h, w, event, wParam, x, y);
    } else if (Control* p = HitTestControls(w, x, y)) {
        RouteToHitControl(h, w, p, event, wParam, x, y);
    } else {
        RouteToWindow(h, w, event, wParam, x, y);
    }
    return 0;
}
