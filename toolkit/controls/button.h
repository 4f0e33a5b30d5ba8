// A push button drawn from up to three images and an optional caption. It presses while the left button is
// held over it and fires onClick on a release over it, or on Enter while it has the keyboard focus.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/rect.h"
#include "toolkit/window/control.h"

inline constexpr uint32_t buttonBevel = 0x80;      // frame, and the pressed image one pixel right and down
inline constexpr uint32_t buttonNoFrame = 0x80000; // with buttonBevel: no frame around an image-less button
// While the left button holds it pressed, the button clicks again and again at the keyboard's repeat pace,
// and the release after a repeat adds no click of its own (a short press still clicks on release).
inline constexpr uint32_t buttonRepeats = 0x800000;
// The window timer that paces it. The window procedure hands WM_TIMER with this id to ButtonRepeatTimer.
enum : uintptr_t { buttonRepeatTimer = 0x5642 };
// The button treats ignoreMouse as disabled: image entry 1, and pointer movement is ignored.

enum ButtonState : uint32_t { buttonReleased = 0, buttonPressed = 8 };
// Entries of the image table; the last three are kept and never shown.
enum ButtonImage : uint32_t { buttonImageReleased = 0, buttonImageDisabled = 1, buttonImagePressed = 2 };
enum : uint32_t { buttonImages = 6, buttonCaptionSize = 64 };

// (window, record, the button, userData, key state, x, y). The mouse path passes the release's values and
// ignores the result; Enter passes 0, 0, 0 and the result's 0x30 bits decide the button's redraw.
typedef uint32_t (*ButtonClickHandler)(WindowHandle window, WindowRecord* record, Control* button,
                                       uintptr_t userData, uint32_t keyState, int32_t x, int32_t y);

struct Button {
    Control header;
    uint32_t state; // ButtonState; state / 4 is the image entry shown
    uint32_t captionColour;
    Surface* images[buttonImages]; // owned by the caller; each may be null
    const LogFont* font;           // null = the default font
    char caption[buttonCaptionSize];
    int32_t captionX; // top-left corner of the caption box inside the button
    int32_t captionY;
    uintptr_t userData; // handed back to onClick
    ButtonClickHandler onClick;
    uint32_t repeats; // clicks the current press has repeated (buttonRepeats)
};

// A key handler the owner installs as onKey, with takesFocus: Space presses the button while it is held and
// clicks on its release, and Enter clicks as the button's own handler does.
uint32_t ButtonSpaceKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t key,
                        uint32_t keyData);

// images: six entries, or null for none. The caption is cut to 62 bytes. The record size stays 0, so
// DestroyControl leaves the record as it is apart from the released surface.
void InitButton(Button* button, const Extent* extent, uint32_t captionColour, uint32_t backgroundColour,
                const LogFont* font, const char* caption, Surface* const* images, uint32_t flags,
                ButtonClickHandler onClick);

// A tick of buttonRepeatTimer: the window's held repeating button clicks once more. With no such button held
// (released, dragged off, the window gone) the timer is stopped, so nothing ticks while nothing is held.
void ButtonRepeatTimer(WindowHandle window);
