#include "toolkit/window/window_table.h"

#include <string.h>

WindowTable windowTable;
WindowHandle mainWindowHandle;
WindowRecord* mainWindowRecord;

int32_t FindWindowSlot(WindowHandle window) {
    if (window == 0) return -1;
    for (int32_t i = 0; i < windowSlots; i++) {
        if (windowTable.handles[i] == window) return i;
    }
    return -1;
}

int32_t FindFreeWindowSlot() {
    for (int32_t i = 0; i < windowSlots; i++) {
        if (windowTable.handles[i] == 0) return i;
    }
    return -1;
}

WindowRecord* FindWindowRecord(WindowHandle window) {
    int32_t slot = FindWindowSlot(window);
    return slot < 0 ? nullptr : &windowTable.records[slot];
}

WindowHandle WindowHandleOf(const WindowRecord* record) {
    for (int32_t i = 0; i < windowSlots; i++) {
        if (&windowTable.records[i] == record) return windowTable.handles[i];
    }
    return 0;
}

WindowHandle CreateToolkitWindow(uint32_t flags, const char* className, const char* title,
                                 const Extent* placement, uintptr_t menu, WindowHandle parent,
                                 WindowRecord** out) {
    int32_t slot = FindFreeWindowSlot();
    if (slot < 0) return 0;
    WindowRecord* w = &windowTable.records[slot];
    w->minTrackWidth = 80;
    w->minTrackHeight = 40;
    if (screenWidth != 0 && screenHeight != 0) {
        w->maxWidth = screenWidth;
        w->maxHeight = screenHeight;
    } else {
        w->maxWidth = 1024;
        w->maxHeight = 1024;
    }
    uint32_t style = 0;
    if (flags & resizableFrame) style |= WS_THICKFRAME;
    if (flags & popupWindow) style |= WS_POPUP;
    if (flags & systemMenu) style |= WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    WindowHandle h = PlatformCreateWindow(className, title, style, placement->x, placement->y,
                                          placement->width, placement->height, parent, menu);
    if (h == 0) return 0;
    windowTable.handles[slot] = h;

    int32_t width, height;
    if (flags & clientSurface) {
        PlatformRect client = {};
        PlatformClientRect(h, &client);
        width = client.right;
        height = client.bottom;
        w->clientOffsetX = 0;
        w->clientOffsetY = 0;
    } else {
        PlatformPoint origin = {0, 0};
        PlatformRect rect = {};
        PlatformClientToScreen(h, &origin);
        PlatformWindowRect(h, &rect);
        w->clientOffsetX = origin.x - rect.left;
        w->clientOffsetY = origin.y - rect.top;
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    w->flags = flags | repaintPending | fullRedraw;
    // A slot used before may still hold the surface of its last window.
    ReleaseSurface(&w->surface);
    CreateSurface(static_cast<uint32_t>(width > 0 ? width : 0), height > 0 ? height : 0, &w->surface,
                  nullptr);
    w->controlCount = 0;
    w->backgroundColour = 0xBFBFBF;
    w->focusControl = nullptr;
    w->captureControl = nullptr;
    w->onPaintBackground = nullptr;
    w->onClose = nullptr;
    w->onDestroy = nullptr;
    w->onMouseMove = w->onLeftDown = w->onLeftUp = w->onLeftDouble = nullptr;
    w->onRightDown = w->onRightUp = w->onRightDouble = nullptr;
    memset(w->controls, 0, sizeof w->controls);
    if (out) *out = w;
    if (flags & mainWindow) {
        mainWindowRecord = w;
        mainWindowHandle = h;
        drawingWindow = h;
    }
    return h;
}

void HideFlaggedWindows() {
    for (int32_t i = 0; i < windowSlots; i++) {
        if (windowTable.handles[i] != 0 && (windowTable.records[i].flags & hideGroup)) {
            PlatformShowWindow(windowTable.handles[i], SW_HIDE);
        }
    }
}

WindowMouseHandler WindowMouseHandlerOf(const WindowRecord* record, uint32_t code) {
    switch (code) {
    case mouseMove:
        return record->onMouseMove;
    case mouseLeftDown:
        return record->onLeftDown;
    case mouseLeftUp:
        return record->onLeftUp;
    case mouseLeftDouble:
        return record->onLeftDouble;
    case mouseRightDown:
        return record->onRightDown;
    case mouseRightUp:
        return record->onRightUp;
    case mouseRightDouble:
        return record->onRightDouble;
    default:
        return nullptr;
    }
}
