// The header every control record begins with, the kind codes, the paint table and the control list.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/platform.h"

struct Control;
struct WindowRecord;
struct EditBuffer;

// (window, record, control, key-state word, x, y relative to the control); result ignored.
typedef void (*MouseHandler)(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                             int32_t x, int32_t y);
// Returns redraw flags; only 0x30 is used.
typedef uint32_t (*KeyHandler)(WindowHandle window, WindowRecord* record, Control* control,
                               uint32_t virtualKey, uint32_t keyData);
typedef void (*DrawRoutine)(WindowRecord* record, Control* control);
typedef void (*ControlDestroyHandler)(Control* control);

struct Control {
    uint32_t recordSize; // bytes DestroyControl clears; 0 keeps the record
    uint32_t kind;
    int32_t x;
    int32_t y;
    uint32_t flags;
    uint32_t backgroundColour; // also the colour key with colourKeyed
    Surface surface;           // its width and height are the control's size
    MouseHandler onMouseMove;
    MouseHandler onLeftDown;
    MouseHandler onLeftUp;
    MouseHandler onLeftDouble;
    MouseHandler onRightDown;
    MouseHandler onRightUp;
    MouseHandler onRightDouble;
    uint32_t ratioX;
    uint32_t ratioY;
    EditBuffer* editBuffer;
    KeyHandler onKey;
    ControlDestroyHandler onDestroy;
};

enum ControlKind : uint32_t {
    kindNone = 0,
    kindButton = 4,
    kindScrollBar = 8,
    kindTreeList = 12,
    kindLabel = 16,
    kindTextLog = 20,
    kindEditField = 24,
    kindListBox = 28,
    kindPanel = 32,
    kindPicture = 36,
};

enum ControlFlag : uint32_t {
    ignoreMouse = 0x1,
    hidden = 0x2,
    colourKeyed = 0x8,
    contentDirty = 0x10,
    blitPending = 0x20,
    takesFocus = 0x40,
    drawsOnWindow = 0x100,
    captureOnLeft = 0x200,
    captureOnRight = 0x400,
    stretchX = 0x1000,
    followRight = 0x2000,
    stretchY = 0x4000,
    followBottom = 0x8000,
    proportionalX = 0x10000,
    proportionalY = 0x20000,
    collapsed = 0x100000,
};

enum : uint32_t { redrawBits = contentDirty | blitPending };

enum MouseEventCode : uint32_t {
    mouseMove = 0,
    mouseLeftDown = 4,
    mouseLeftUp = 8,
    mouseLeftDouble = 12,
    mouseRightDown = 16,
    mouseRightUp = 20,
    mouseRightDouble = 24,
};

// Draw routines by kind / 4 - 1; a null entry is a kind not built into this toolkit yet.
extern const DrawRoutine PaintTable[9];
// The draw routine of a kind, or null for kind 0, unknown kinds and empty entries.
DrawRoutine DrawRoutineOf(uint32_t kind);
// The handler for a MouseEventCode; null when the control has none.
MouseHandler ControlMouseHandler(const Control* control, uint32_t code);

// Results: -1 on success, 0 on failure. reference: addOnTop, null (bottom) or a control of the list.
static Control* const addOnTop = (Control*)~(uintptr_t)0;
int32_t AddControl(Control* control, WindowRecord* window, Control* reference);
int32_t FindControlSlot(const WindowRecord* window, const Control* control);
void CompactControls(WindowRecord* window);
void RemoveControl(WindowRecord* window, Control* control);
void RemoveControlEverywhere(Control* control);
void DestroyControl(Control* control);
