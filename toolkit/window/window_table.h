// The fixed table of toolkit windows and the record the toolkit keeps for each.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/rect.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"
#include "toolkit/window/control.h"

enum : int32_t { windowSlots = 128, controlSlots = 128 };

// (window, record, target, key state, x, y in window-surface coordinates). target is null when no
// control was hit, and the record itself while the window holds the capture.
typedef void (*WindowMouseHandler)(WindowHandle window, WindowRecord* record, void* target, uint32_t keyState,
                                   int32_t x, int32_t y);
typedef void (*PaintBackgroundHandler)(WindowRecord* record);
typedef int32_t (*CloseHandler)(WindowHandle window, WindowRecord* record);
typedef void (*WindowDestroyHandler)(WindowHandle window, WindowRecord* record);

inline constexpr uint32_t resizableFrame = 0x1;
inline constexpr uint32_t clientSurface = 0x2;
inline constexpr uint32_t popupWindow = 0x4;
inline constexpr uint32_t mainWindow = 0x8;
inline constexpr uint32_t windowCaptured = 0x10;
inline constexpr uint32_t windowCaptureOnLeft = 0x20;
inline constexpr uint32_t windowCaptureOnRight = 0x40;
inline constexpr uint32_t repaintPending = 0x80;
inline constexpr uint32_t fullRedraw = 0x100;
inline constexpr uint32_t windowBevel = 0x200;
inline constexpr uint32_t hideGroup = 0x400;
inline constexpr uint32_t systemMenu = 0x800;
// Opt-in: Tab and Shift+Tab move the focus among the controls that take it, in slot order (inside a control
// that edits text, Ctrl+Tab and Ctrl+Shift+Tab), and the focused control shows a focus rectangle once a key
// has gone down in the window, which sets windowKeyboardSeen.
inline constexpr uint32_t windowTabFocus = 0x1000;
inline constexpr uint32_t windowKeyboardSeen = 0x2000;

struct WindowRecord {
    uint32_t flags;
    Surface surface;
    Control* controls[controlSlots]; // slot order is drawing order
    uint32_t controlCount;
    uint32_t backgroundColour;
    Control* focusControl;
    Control* captureControl;
    int32_t minTrackWidth;
    int32_t minTrackHeight;
    int32_t maxWidth;
    int32_t maxHeight;
    int32_t clientOffsetX;
    int32_t clientOffsetY;
    WindowMouseHandler onMouseMove;
    WindowMouseHandler onLeftDown;
    WindowMouseHandler onLeftUp;
    WindowMouseHandler onLeftDouble;
    WindowMouseHandler onRightDown;
    WindowMouseHandler onRightUp;
    WindowMouseHandler onRightDouble;
    PaintBackgroundHandler onPaintBackground;
    CloseHandler onClose;
    WindowDestroyHandler onDestroy;
};

struct WindowTable {
    WindowHandle handles[windowSlots]; // 0 marks a free slot
    WindowRecord records[windowSlots];
};

extern WindowTable windowTable;
extern WindowHandle mainWindowHandle;
extern WindowRecord* mainWindowRecord;

WindowHandle CreateToolkitWindow(uint32_t flags, const char* className, const char* title,
                                 const Extent* placement, uintptr_t menu, WindowHandle parent,
                                 WindowRecord** out);
int32_t FindWindowSlot(WindowHandle window);
int32_t FindFreeWindowSlot();
void HideFlaggedWindows();
// The record of a toolkit window, or null for a foreign handle.
WindowRecord* FindWindowRecord(WindowHandle window);
// The handle of a record of the table, or 0 for a record outside it (or a free slot).
WindowHandle WindowHandleOf(const WindowRecord* record);
// The window-level handler for a MouseEventCode.
WindowMouseHandler WindowMouseHandlerOf(const WindowRecord* record, uint32_t code);
