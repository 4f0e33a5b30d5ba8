// Record → init → draw → mouse → keys. The button owns no memory: no destroy handler, no scrolling.
#include "toolkit/controls/button.h"

#include <string.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/focus_rect.h"
#include "toolkit/gfx/text.h"
#include "toolkit/input/focus_keys.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/window_table.h"
#include "util/dbcs_string.h"

static void ButtonMouseMove(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                            int32_t x, int32_t y);
static void ButtonLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                           int32_t x, int32_t y);
static void ButtonLeftUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y);
static uint32_t ButtonKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t virtualKey,
                          uint32_t keyData);

static const ControlDescriptor buttonKind = {
    kindButton,
    0, // the record is not cleared on destroy
    captureOnLeft | redrawBits,
    0xBFBFBF,
    {ButtonMouseMove, ButtonLeftDown, ButtonLeftUp},
    ButtonKey,
    nullptr,
};

// ---- Init ----

void InitButton(Button* button, const Extent* extent, uint32_t captionColour, uint32_t backgroundColour,
                const LogFont* font, const char* caption, Surface* const* images, uint32_t flags,
                ButtonClickHandler onClick) {
    InitControlHeader(&button->header, &buttonKind, extent, flags);
    button->header.backgroundColour = backgroundColour;
    button->userData = 0;
    button->state = buttonReleased;
    button->captionColour = captionColour;
    button->font = font;
    button->onClick = onClick;
    button->repeats = 0;
    button->captionX = button->captionY = 1;
    for (uint32_t i = 0; i < buttonImages; i++) button->images[i] = images ? images[i] : nullptr;
    memset(button->caption, 0, sizeof button->caption);
    if (caption) CopyString(caption, button->caption, buttonCaptionSize - 1);
}

// ---- Draw ----

static bool Pressed(const Button* button) {
    return button->state == buttonPressed;
}

// Disabled shows entry 1 whatever the state; a missing entry falls back to entry 0.
static Surface* ShownImage(const Button* button) {
    uint32_t entry = (button->header.flags & ignoreMouse) ? buttonImageDisabled : button->state / 4;
    Surface* image = entry < buttonImages ? button->images[entry] : nullptr;
    return image ? image : button->images[buttonImageReleased];
}

static void DrawButtonFace(Control* control) {
    Button* button = reinterpret_cast<Button*>(control);
    Surface* own = &control->surface;
    int32_t width = own->width, height = own->height;
    bool bevel = (control->flags & buttonBevel) != 0;
    Bounds all = {0, 0, width - 1, height - 1};
    PaintControlBackground(control, nullptr);
    Surface* image = ShownImage(button);
    if (image) {
        int32_t at = bevel && Pressed(button) ? 1 : 0;
        BlitSurface(image, own, at, at, 0, 0);
    }
    // A caption box without room draws nothing: an extent of negative size would turn into one beside it.
    int64_t boxWidth = static_cast<int64_t>(width) - button->captionX;
    int64_t boxHeight = static_cast<int64_t>(height) - button->captionY;
    if (button->caption[0] && boxWidth > 0 && boxHeight > 0) {
        Extent box = {button->captionX, button->captionY,
                      static_cast<int32_t>(boxWidth < INT32_MAX ? boxWidth : INT32_MAX),
                      static_cast<int32_t>(boxHeight < INT32_MAX ? boxHeight : INT32_MAX)};
        DrawTextInSurface(button->caption, button->font, own, &box, button->captionColour,
                          control->backgroundColour, transparentText);
    }
    if (!bevel) return;
    if (Pressed(button)) {
        // Sunken: dark lines down the left edge and along the top.
        DrawLine(own, 0, 0, static_cast<uint32_t>(height), Theme[bevelDarkColour], lineVertical);
        DrawLine(own, 0, 0, static_cast<uint32_t>(width), Theme[bevelDarkColour], 0);
    } else if (!image && !(control->flags & buttonNoFrame)) {
        DrawBevel(own, &all, Theme[bevelLightColour], Theme[bevelDarkColour], Theme[bevelLightColour],
                  Theme[bevelDarkColour]);
    }
}

// The focus rectangle sits three pixels inside the edge, clear of the frame and the pressed lines.
static void DrawButtonFocus(WindowRecord* window, Control* control) {
    if (!ShowsFocus(window, control)) return;
    Bounds inside = {3, 3, control->surface.width - 4, control->surface.height - 4};
    DrawFocusRect(&control->surface, &inside);
}

void DrawButton(WindowRecord* window, Control* control) {
    DrawButtonFace(control);
    DrawButtonFocus(window, control);
}

// ---- Mouse ----

static bool Inside(const Control* control, int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < control->surface.width && y < control->surface.height;
}

// ---- Repeat ----

static bool Repeats(const Control* control) {
    return (control->flags & buttonRepeats) != 0;
}

// The first repeat waits the longer delay, whether the press is new or the pointer came back.
static void WaitForRepeat(WindowHandle window) {
    uint32_t delay = 0, interval = 0;
    PlatformKeyRepeat(&delay, &interval);
    PlatformSetTimer(window, buttonRepeatTimer, delay);
}

void ButtonRepeatTimer(WindowHandle window) {
    WindowRecord* record = FindWindowRecord(window);
    Control* control = record ? record->captureControl : nullptr;
    if (!control || control->kind != kindButton || !Repeats(control) ||
        !Pressed(reinterpret_cast<Button*>(control))) {
        PlatformKillTimer(window, buttonRepeatTimer);
        return;
    }
    Button* button = reinterpret_cast<Button*>(control);
    if (button->repeats++ == 0) {
        uint32_t delay = 0, interval = 0;
        PlatformKeyRepeat(&delay, &interval);
        PlatformSetTimer(window, buttonRepeatTimer, interval);
    }
    if (button->onClick) button->onClick(window, record, control, button->userData, MK_LBUTTON, 0, 0);
    RequestRepaint(window, repaintPending);
}

static void ButtonLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t, int32_t,
                           int32_t) {
    Button* button = reinterpret_cast<Button*>(control);
    button->state = buttonPressed;
    if (Repeats(control)) {
        button->repeats = 0;
        WaitForRepeat(window);
    }
    RepaintControl(window, record, control);
}

// With the left button held, dragging off releases the button and dragging back presses it again.
static void ButtonMouseMove(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                            int32_t x, int32_t y) {
    if (!(keyState & MK_LBUTTON) || (control->flags & ignoreMouse)) return;
    Button* button = reinterpret_cast<Button*>(control);
    bool inside = Inside(control, x, y);
    if (Pressed(button) && !inside) {
        button->state = buttonReleased;
        if (Repeats(control)) PlatformKillTimer(window, buttonRepeatTimer);
    } else if (!Pressed(button) && inside) {
        button->state = buttonPressed;
        if (Repeats(control)) WaitForRepeat(window);
    } else {
        return;
    }
    RepaintControl(window, record, control);
}

// Only a release of a pressed button clicks, and not after the press has repeated its click. The callback
// runs before the repaint is requested, so what it changes is painted in the same pass.
static void ButtonLeftUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y) {
    Button* button = reinterpret_cast<Button*>(control);
    if (Repeats(control)) PlatformKillTimer(window, buttonRepeatTimer);
    if (!Pressed(button)) return;
    button->state = buttonReleased;
    MarkForRedraw(control, record, redrawBits);
    bool repeated = Repeats(control) && button->repeats > 0;
    if (button->onClick && !repeated)
        button->onClick(window, record, control, button->userData, keyState, x, y);
    RequestRepaint(window, repaintPending);
}

// ---- Keys ----

enum : uint32_t { keyReleased = 0x80000000u };

// Enter going down (auto-repeat included) clicks; the callback's result says whether to redraw.
static uint32_t ButtonKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t virtualKey,
                          uint32_t keyData) {
    Button* button = reinterpret_cast<Button*>(control);
    if (virtualKey != vkReturn || (keyData & keyReleased) || !button->onClick) return 0;
    return button->onClick(window, record, control, button->userData, 0, 0, 0);
}

uint32_t ButtonSpaceKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t key,
                        uint32_t keyData) {
    if (key != vkSpace) return ButtonKey(window, record, control, key, keyData);
    Button* button = reinterpret_cast<Button*>(control);
    if (!(keyData & keyReleased)) {
        if (Pressed(button)) return 0; // auto-repeat while held
        button->state = buttonPressed;
        return redrawBits;
    }
    if (!Pressed(button)) return 0;
    button->state = buttonReleased;
    if (button->onClick) button->onClick(window, record, control, button->userData, 0, 0, 0);
    return redrawBits;
}
