// A horizontal or vertical bar whose thumb the left button drags over positions 0..range, plain or skinned
// with a tiled track, end images and idle and dragging thumb images; onRelease reports every release.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/rect.h"
#include "toolkit/window/control.h"

inline constexpr uint32_t scrollBarBevel = 0x80;
inline constexpr uint32_t scrollBarVertical = 0x800; // clear: horizontal

enum ScrollBarState : uint32_t { scrollBarIdle = 0, scrollBarDragging = 4 };
enum : uint32_t { scrollBarThumbImages = 3 };

// (window, record, the scroll bar, userData, key state of the release, range, position); result unused.
typedef void (*ScrollBarCallback)(WindowHandle window, WindowRecord* record, Control* scrollBar,
                                  uintptr_t userData, uint32_t keyState, uint32_t range, uint32_t position);

struct ScrollBar {
    Control header;
    uint32_t state;
    uint32_t range;
    uint32_t position;                          // 0..range
    uint32_t thumbColour;                       // the plain thumb's fill; the colour key of the thumb images
    Surface* thumbImages[scrollBarThumbImages]; // by state / 4: idle, dragging; entry 2 is never read
    Surface* trackImage;                        // tiled over the whole bar; null = backgroundColour
    Surface* startImage;                        // top or left end
    Surface* endImage;                          // bottom or right end
    uint32_t startLength;                       // set by each draw, along the bar
    uint32_t endLength;                         // set by each draw
    uint32_t trackLength;                       // set by each draw: length less both ends, at least 0
    uint32_t thumbLength;                       // set by each draw
    ScrollBarCallback onRelease;
    uintptr_t userData; // handed to onRelease
    // Called, like onRelease, each time a drag moves the position (the press that starts it included), so
    // what the bar scrolls can follow the thumb; the release still goes to onRelease. Null = none.
    ScrollBarCallback onTrack;
};

// The position is clamped to range. The images, onRelease and userData are the caller's to write after.
void InitScrollBar(ScrollBar* bar, const Extent* extent, uint32_t range, uint32_t position, uint32_t flags);

void ScrollBarMouseMove(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                        int32_t x, int32_t y);
void ScrollBarLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y);
void ScrollBarLeftUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                     int32_t x, int32_t y);
