#include <string.h>

#include "toolkit/window/control.h"
#include "toolkit/window/window_table.h"

int32_t FindControlSlot(const WindowRecord* window, const Control* control) {
    if (!control) return -1;
    for (int32_t i = 0; i < controlSlots; i++) {
        if (window->controls[i] == control) return i;
    }
    return -1;
}

void CompactControls(WindowRecord* window) {
    int32_t to = 0;
    for (int32_t from = 0; from < controlSlots; from++) {
        Control* c = window->controls[from];
        if (!c) continue;
        window->controls[from] = nullptr;
        window->controls[to++] = c;
    }
}

// Removal also lets go of focus and capture: routing must never reach a control that left the window.
void RemoveControl(WindowRecord* window, Control* control) {
    int32_t slot = FindControlSlot(window, control);
    if (slot < 0) return;
    window->controls[slot] = nullptr;
    window->controlCount--;
    if (window->focusControl == control) window->focusControl = nullptr;
    if (window->captureControl == control) {
        window->captureControl = nullptr;
        PlatformReleaseCapture();
    }
}

int32_t AddControl(Control* control, WindowRecord* window, Control* reference) {
    if (!control || window->controlCount >= static_cast<uint32_t>(controlSlots)) return 0;
    // Moving a control within its own window keeps its focus and capture.
    Control* focus = window->focusControl;
    Control* capture = window->captureControl;
    int32_t wasHere = FindControlSlot(window, control) >= 0;
    if (wasHere) {
        int32_t slot = FindControlSlot(window, control);
        window->controls[slot] = nullptr;
        window->controlCount--;
    }
    CompactControls(window);
    if (reference == addOnTop) {
        window->controls[window->controlCount++] = control;
        return -1;
    }
    int32_t position = 0;
    if (reference) {
        int32_t slot = FindControlSlot(window, reference);
        if (slot < 0) {
            if (wasHere) {
                if (focus == control) window->focusControl = nullptr;
                if (capture == control) {
                    window->captureControl = nullptr;
                    PlatformReleaseCapture();
                }
            }
            return 0;
        }
        position = slot + 1;
    }
    for (int32_t i = static_cast<int32_t>(window->controlCount); i > position; i--) {
        window->controls[i] = window->controls[i - 1];
    }
    window->controls[position] = control;
    window->controlCount++;
    return -1;
}

void RemoveControlEverywhere(Control* control) {
    for (int32_t i = 0; i < windowSlots; i++) {
        if (windowTable.handles[i] != 0) RemoveControl(&windowTable.records[i], control);
    }
}

void DestroyControl(Control* control) {
    if (control->onDestroy) control->onDestroy(control);
    ReleaseSurface(&control->surface);
    if (control->recordSize != 0) memset(static_cast<void*>(control), 0, control->recordSize);
}

MouseHandler ControlMouseHandler(const Control* control, uint32_t code) {
    switch (code) {
    case mouseMove:
        return control->onMouseMove;
    case mouseLeftDown:
        return control->onLeftDown;
    case mouseLeftUp:
        return control->onLeftUp;
    case mouseLeftDouble:
        return control->onLeftDouble;
    case mouseRightDown:
        return control->onRightDown;
    case mouseRightUp:
        return control->onRightUp;
    case mouseRightDouble:
        return control->onRightDouble;
    default:
        return nullptr;
    }
}
