// A vertical list of caller-owned records, one row each (an optional icon and a line of text), with single,
// Ctrl and drag selection, auto-scrolling while a drag runs past either edge, and a scroll bar and two
// companion controls kept in step.
#pragma once

#include <stdint.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/controls/list_layout.h"
#include "toolkit/gfx/rect.h"
#include "toolkit/window/control.h"

struct ScrollBar;

// The list box's own flag bits.
inline constexpr uint32_t listBoxSelecting = 0x4;        // a left press is in progress (set by the list)
inline constexpr uint32_t listBoxFrame = controlFrame;   // white top-left, black bottom-right
inline constexpr uint32_t listBoxSeparators = 0x2000000; // a line under each row
// A drag selects every row between the row of its last move and the row under the pointer, so a fast drag
// leaves no gaps; the rows that scroll in past an edge carry the drag on from there.
inline constexpr uint32_t listBoxDragFills = 0x800000;
inline constexpr uint32_t listBoxInvertedFrame = controlFrameSunken; // with listBoxFrame: colours swapped

// Flags of a ListBoxItem.
inline constexpr uint32_t listBoxItemListed = 0x4;    // only listed records are shown and selectable
inline constexpr uint32_t listBoxItemSelected = 0x10; // written by the list box

enum : uint32_t { listBoxItems = 1024, listBoxIcons = 31, listBoxItemTextSize = 52, listBoxTypedKeys = 8 };

// How a caller's record begins. Records may be longer (a longer text): the caller passes their stride.
struct ListBoxItem {
    uint32_t ownerWord; // not read by the list box
    uint32_t flags;
    uint32_t iconIndex;             // listBoxIcons or more, or an empty entry: no icon
    char text[listBoxItemTextSize]; // zero-terminated code page 949, inline
};

struct ListBox {
    Control header;
    uint32_t firstRow;        // index into items of the top row
    uint32_t visibleRows;     // set by each layout: rows that fit, or itemCount when fewer
    ListBoxItem* currentItem; // last clicked or dragged over
    uint32_t rowSpacing;      // added to the measured text height to form a row
    ListBoxItem* items[listBoxItems];
    uint32_t itemCount;
    Surface* backgroundImage; // tiled; null = backgroundColour
    Surface* icons[listBoxIcons];
    uint32_t rowHeight; // set by each layout; 0 before the first, when presses hit no row
    uint32_t textColour;
    uint32_t selectionColour;
    uint32_t separatorColour;
    const LogFont* font; // null = the default font
    ScrollBar* scrollBar;
    Control* companions[scrollCompanions];
    // After the original fields: the keyboard's state, for ListBoxKey.
    ListBoxItem* anchorItem; // where Shift moves extend the selection from
    uint32_t typedAt;        // when the last type-ahead key came, in milliseconds of the day
    uint32_t typedCount;     // keys of the type-ahead search going on
    uint32_t typed[listBoxTypedKeys];
};

// The caller then sets images, colours, scrollBar and companions, fills the list and links it.
void InitListBox(ListBox* list, const Extent* placement, const LogFont* font, uint32_t flags);
// Lists the listed records among count records of stride bytes from first on. The list holds
// listBoxItems: returns how many listed records did not fit (0 when all did). Neither resets firstRow nor
// marks the list for redraw.
uint32_t SetListBoxItems(ListBox* list, ListBoxItem* first, uint32_t stride, uint32_t count);

// The scroll bar's onRelease with the list as userData: the top row is the position in rows, halves up.
void ListBoxScrollTo(WindowHandle window, WindowRecord* record, Control* scrollBar, uintptr_t userData,
                     uint32_t keyState, uint32_t range, uint32_t position);
// Button callbacks with the list as userData: one row up or down.
uint32_t ListBoxScrollUp(WindowHandle window, WindowRecord* record, Control* button, uintptr_t userData,
                         uint32_t keyState, int32_t x, int32_t y);
uint32_t ListBoxScrollDown(WindowHandle window, WindowRecord* record, Control* button, uintptr_t userData,
                           uint32_t keyState, int32_t x, int32_t y);

// A key handler the owner installs as onKey, with takesFocus (and offersCharacters for the type-ahead):
// Up, Down, Page Up, Page Down, Home and End move the current item and select it alone, scrolling it into
// view; with Shift the selection runs from the anchor to it, with Ctrl the current item moves alone and
// Ctrl+Space toggles it. A typed letter jumps to the next item that begins with it, a Korean consonant to
// the next whose first syllable begins with it; keys typed within a second of each other search for items
// that begin with all of them (ㅅㄱ finds 사과).
uint32_t ListBoxKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t key,
                    uint32_t keyData);

// The mouse handlers, for owners that wrap them.
void ListBoxMouseMove(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                      int32_t x, int32_t y);
void ListBoxLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                     int32_t x, int32_t y);
void ListBoxLeftUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState, int32_t x,
                   int32_t y);
