// The header every control record begins with, the kind codes, the kinds' descriptors, the paint table and
// the control list.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/rect.h"
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
typedef void (*LayoutRoutine)(WindowRecord* record, Control* control);
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

inline constexpr uint32_t ignoreMouse = 0x1;
inline constexpr uint32_t hidden = 0x2;
inline constexpr uint32_t colourKeyed = 0x8;
inline constexpr uint32_t contentDirty = 0x10;
inline constexpr uint32_t blitPending = 0x20;
inline constexpr uint32_t takesFocus = 0x40;
inline constexpr uint32_t drawsOnWindow = 0x100;
inline constexpr uint32_t captureOnLeft = 0x200;
inline constexpr uint32_t captureOnRight = 0x400;
inline constexpr uint32_t stretchX = 0x1000;
inline constexpr uint32_t followRight = 0x2000;
inline constexpr uint32_t stretchY = 0x4000;
inline constexpr uint32_t followBottom = 0x8000;
inline constexpr uint32_t proportionalX = 0x10000;
inline constexpr uint32_t proportionalY = 0x20000;
inline constexpr uint32_t collapsed = 0x100000;
// Opt-in, for a control without an edit buffer: the keyboard routing offers it typed characters and the
// input method's characters too, through onKey with characterKey (keyboard_routing.h) in the key.
inline constexpr uint32_t offersCharacters = 0x10000000;

inline constexpr uint32_t redrawBits = contentDirty | blitPending;

enum MouseEventCode : uint32_t {
    mouseMove = 0,
    mouseLeftDown = 4,
    mouseLeftUp = 8,
    mouseLeftDouble = 12,
    mouseRightDown = 16,
    mouseRightUp = 20,
    mouseRightDouble = 24,
};

// What every instance of one kind shares, filled once next to the kind's code.
struct ControlDescriptor {
    uint32_t kind;
    uint32_t recordSize; // what DestroyControl clears; 0 keeps the record (button, scroll bar)
    uint32_t flags;      // added to the caller's flags
    uint32_t backgroundColour;
    MouseHandler mouse[7]; // in MouseEventCode order: move, left down, up, double, right down, up, double
    KeyHandler onKey;
    ControlDestroyHandler onDestroy;
};

// Fills the header from the kind's descriptor: kind, record size, handlers, background, the caller's flags
// with the kind's own, the placement's position, and an own surface of the placement's size (only the size
// for a drawsOnWindow kind). The header's other fields are zero.
void InitControlHeader(Control* control, const ControlDescriptor* kind, const Extent* placement,
                       uint32_t flags);

// The paint table's routines: each redraws the control's own surface (the panel: its area of the window's)
// and changes no control's flags.
void DrawButton(WindowRecord* window, Control* control);
void DrawScrollBar(WindowRecord* window, Control* control);
void DrawTreeList(WindowRecord* window, Control* control);
void DrawLabel(WindowRecord* window, Control* control);
void DrawTextLog(WindowRecord* window, Control* control);
void DrawEditField(WindowRecord* window, Control* control);
void DrawListBox(WindowRecord* window, Control* control);
void DrawPanel(WindowRecord* window, Control* control);
void DrawPicture(WindowRecord* window, Control* control);

// Draw routines by kind / 4 - 1.
extern const DrawRoutine PaintTable[9];
// The draw routine of a kind, or null for kind 0, unknown kinds and empty entries.
DrawRoutine DrawRoutineOf(uint32_t kind);

// The layout routines, run on every control about to be redrawn before the composition starts: each
// derives the geometry its draw and its mouse handlers read, and puts the controls it keeps in step
// (scroll bars, companions) in step, marking what changed. The kinds without one derive nothing.
void LayOutTreeList(WindowRecord* window, Control* control);
void LayOutTextLog(WindowRecord* window, Control* control);
void LayOutListBox(WindowRecord* window, Control* control);

// Layout routines by kind / 4 - 1; null for the kinds without one.
extern const LayoutRoutine LayoutTable[9];
// The layout routine of a kind, or null.
LayoutRoutine LayoutRoutineOf(uint32_t kind);
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
