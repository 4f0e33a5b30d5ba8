#include "toolkit/window/dispatch.h"

#include "toolkit/gfx/surface.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/mouse_routing.h"

// The dispatcher composes the layers: its RouteKeyboard link is the one place where the window layer calls
// up into input (EndFocusComposition only hands a click's focus change to the same routing).
// The first link that does not answer -1 ends the chain; the order is fixed.
static const MessageLink messageChain[] = {
    PaintWindow, HandleSizing, RouteKeyboard, RouteMouse, HandleClose, HandleDestroy,
};

static void RunToolkitCommand(WParam command, LParam target) {
    WindowHandle window = static_cast<WindowHandle>(target);
    if (command == CommandDestroy) {
        PlatformDestroyWindow(window);
    } else if (command == CommandShow) {
        PlatformShowWindow(window, SW_SHOWNORMAL);
    }
}

int32_t DispatchToolkitMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    int32_t slot = FindWindowSlot(window);
    if (slot < 0) return -1;
    WindowRecord* record = &windowTable.records[slot];
    for (MessageLink link : messageChain) {
        int32_t result = link(window, record, message, wParam, lParam);
        if (result != -1) return result;
    }
    // Before InitDisplay the id is 0, which must not turn message 0 into a command.
    if (toolkitCommandMessage != 0 && message == toolkitCommandMessage) {
        RunToolkitCommand(wParam, lParam);
        return 0;
    }
    return -1;
}

void EndFocusComposition(WindowHandle window, Control* control) {
    DropComposition(window, control);
}

int32_t HandleClose(WindowHandle window, WindowRecord* record, uint32_t message, WParam, LParam) {
    if (message != WM_CLOSE) return -1;
    if (!record->onClose) return -1;
    return record->onClose(window, record);
}

int32_t HandleDestroy(WindowHandle window, WindowRecord* record, uint32_t message, WParam, LParam) {
    if (message != WM_DESTROY) return -1;
    if (record->onDestroy) record->onDestroy(window, record);
    for (int32_t i = 0; i < controlSlots; i++) {
        Control* control = record->controls[i];
        if (!control) continue;
        record->controls[i] = nullptr;
        DestroyControl(control);
    }
    // Nothing may reach the destroyed controls through the record, and its pixels are not kept.
    record->controlCount = 0;
    record->focusControl = nullptr;
    record->captureControl = nullptr;
    record->flags &= ~static_cast<uint32_t>(windowCaptured);
    ReleaseSurface(&record->surface);
    if (window == mainWindowHandle) PlatformPostQuit(0);
    int32_t slot = FindWindowSlot(window);
    if (slot >= 0) windowTable.handles[slot] = 0;
    return 0;
}

int32_t PostDestroyWindow(WindowHandle target) {
    return PostToolkitCommand(CommandDestroy, target);
}

int32_t PostToolkitCommand(uint32_t command, WindowHandle target) {
    return PlatformPostMessage(mainWindowHandle, toolkitCommandMessage, command, static_cast<LParam>(target));
}
