// Record → init → draw → mouse. The scroll bar owns no memory and has no keys: no destroy handler. The
// scroll callbacks that other kinds give it live with those kinds.
#include "toolkit/controls/scroll_bar.h"

#include <string.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/composition.h"

static const ControlDescriptor scrollBarKind = {
    kindScrollBar,
    0, // the record is not cleared on destroy
    captureOnLeft | redrawBits,
    0xBFBFBF,
    {ScrollBarMouseMove, ScrollBarLeftDown, ScrollBarLeftUp},
    nullptr,
    nullptr,
};

// ---- Init ----

// The derived lengths start at zero, so a press before the first draw changes no position.
void InitScrollBar(ScrollBar* bar, const Extent* extent, uint32_t range, uint32_t position, uint32_t flags) {
    InitControlHeader(&bar->header, &scrollBarKind, extent, flags);
    bar->state = scrollBarIdle;
    bar->range = range;
    bar->position = position < range ? position : range;
    bar->thumbColour = 0xEEEEEE;
    memset(bar->thumbImages, 0, sizeof bar->thumbImages);
    bar->trackImage = bar->startImage = bar->endImage = nullptr;
    bar->startLength = bar->endLength = bar->trackLength = bar->thumbLength = 0;
    bar->onRelease = nullptr;
    bar->userData = 0;
    bar->onTrack = nullptr;
}

// ---- Draw ----

static bool Vertical(const ScrollBar* bar) {
    return (bar->header.flags & scrollBarVertical) != 0;
}

// Length along the bar's axis and breadth across it.
static int32_t Along(const ScrollBar* bar, const Surface* s) {
    return Vertical(bar) ? s->height : s->width;
}
static int32_t Across(const ScrollBar* bar, const Surface* s) {
    return Vertical(bar) ? s->width : s->height;
}

struct Thumb {
    bool shown;
    Surface* image;  // null: the plain thumb
    uint32_t offset; // from the start of the track
};

// The one place the geometry is derived: the four lengths, kept for the mouse handlers, and the thumb.
static Thumb MeasureScrollBar(ScrollBar* bar) {
    Thumb thumb = {false, nullptr, 0};
    bar->startLength = bar->startImage ? static_cast<uint32_t>(Along(bar, bar->startImage)) : 1;
    bar->endLength = bar->endImage ? static_cast<uint32_t>(Along(bar, bar->endImage)) : 1;
    int64_t track =
        static_cast<int64_t>(Along(bar, &bar->header.surface)) - bar->startLength - bar->endLength;
    bar->trackLength = track > 0 ? static_cast<uint32_t>(track) : 0;
    bar->thumbLength = 0;
    if (bar->trackLength == 0) return thumb;
    uint32_t entry = bar->state / 4;
    Surface* image = entry < scrollBarThumbImages ? bar->thumbImages[entry] : nullptr;
    if (!image) image = bar->thumbImages[0];
    // A position set from outside beyond the range draws at the end.
    uint64_t position = bar->position < bar->range ? bar->position : bar->range;
    uint32_t range = bar->range;
    if (image) {
        bar->thumbLength = static_cast<uint32_t>(Along(bar, image));
        if (bar->trackLength < bar->thumbLength) return thumb;
        // With range 0 the image thumb stands at the start, as the plain one does.
        uint64_t room = bar->trackLength - bar->thumbLength;
        thumb = {true, image, range == 0 ? 0 : static_cast<uint32_t>(position * room / range)};
        return thumb;
    }
    if (bar->trackLength < 4) {
        bar->thumbLength = bar->trackLength;
        thumb = {true, nullptr, 0};
    } else if (bar->trackLength - 4 < range) {
        bar->thumbLength = 4;
        thumb = {true, nullptr, static_cast<uint32_t>(position * (bar->trackLength - 4) / range)};
    } else {
        // Room for every position: the thumb moves one pixel per unit.
        bar->thumbLength = bar->trackLength - range;
        thumb = {true, nullptr, static_cast<uint32_t>(position)};
    }
    return thumb;
}

void DrawScrollBar(WindowRecord*, Control* control) {
    ScrollBar* bar = reinterpret_cast<ScrollBar*>(control);
    Surface* own = &control->surface;
    int32_t width = own->width, height = own->height;
    Bounds all = {0, 0, width - 1, height - 1};
    PaintControlBackground(control, bar->trackImage);
    if (bar->startImage) BlitSurface(bar->startImage, own, 0, 0, 0, 0);
    if (Surface* end = bar->endImage) {
        if (Vertical(bar))
            BlitSurface(end, own, 0, height - end->height, 0, 0);
        else
            BlitSurface(end, own, width - end->width, 0, 0, 0);
    }
    bool bevel = (control->flags & scrollBarBevel) != 0;
    if (bevel) {
        DrawBevel(own, &all, Theme[bevelLightColour], Theme[bevelDarkColour], Theme[bevelLightColour2],
                  Theme[bevelDarkColour2]);
    }
    Thumb thumb = MeasureScrollBar(bar);
    if (!thumb.shown) return;
    int32_t along = static_cast<int32_t>(bar->startLength + thumb.offset);
    if (thumb.image) {
        int32_t breadth = Across(bar, own), imageBreadth = Across(bar, thumb.image);
        int32_t across = breadth > imageBreadth ? (breadth - imageBreadth) / 2 : 0;
        int32_t x = Vertical(bar) ? across : along, y = Vertical(bar) ? along : across;
        BlitSurface(thumb.image, own, x, y, blitColourKeyed, bar->thumbColour);
        return;
    }
    int32_t last = along + static_cast<int32_t>(bar->thumbLength) - 1, far = Across(bar, own) - 2;
    Bounds r = Vertical(bar) ? Bounds{1, along, far, last} : Bounds{along, 1, last, far};
    DrawRect(own, &r, bar->thumbColour, rectFill);
    if (!bevel) return;
    // The dragged thumb looks pressed: its light and dark edges change places.
    uint32_t light = Theme[bevelLightColour2], dark = Theme[bevelDarkColour2];
    if (bar->state == scrollBarDragging) {
        light = Theme[bevelDarkColour2];
        dark = Theme[bevelLightColour2];
    }
    DrawBevel(own, &r, light, dark, light, dark);
}

// ---- Mouse ----

// The thumb's centre goes to the pointer; a bar whose thumb fills the track keeps its position.
static void PositionFromPointer(ScrollBar* bar, int32_t x, int32_t y) {
    if (bar->trackLength <= bar->thumbLength) return;
    int64_t p = Vertical(bar) ? y : x;
    p = p < static_cast<int64_t>(bar->startLength) ? 0 : p - bar->startLength;
    int64_t half = bar->thumbLength / 2;
    p = p > half ? p - half : 0;
    uint64_t position =
        static_cast<uint64_t>(bar->range) * static_cast<uint64_t>(p) / (bar->trackLength - bar->thumbLength);
    bar->position = position > bar->range ? bar->range : static_cast<uint32_t>(position);
}

// Hands a position the drag changed to onTrack.
static void Track(WindowHandle window, WindowRecord* record, ScrollBar* bar, uint32_t before,
                  uint32_t keyState) {
    if (bar->onTrack && bar->position != before)
        bar->onTrack(window, record, &bar->header, bar->userData, keyState, bar->range, bar->position);
}

static bool Inside(const Control* control, int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < control->surface.width && y < control->surface.height;
}

void ScrollBarLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y) {
    ScrollBar* bar = reinterpret_cast<ScrollBar*>(control);
    uint32_t before = bar->position;
    bar->state = scrollBarDragging;
    PositionFromPointer(bar, x, y);
    Track(window, record, bar, before, keyState);
    RepaintControl(window, record, control);
}

// Leaving the bar ends the drag where the pointer left it; coming back with the button held starts a new one.
void ScrollBarMouseMove(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                        int32_t x, int32_t y) {
    if (!(keyState & MK_LBUTTON) || (control->flags & ignoreMouse)) return;
    ScrollBar* bar = reinterpret_cast<ScrollBar*>(control);
    bool inside = Inside(control, x, y);
    uint32_t before = bar->position;
    if (bar->state == scrollBarDragging) {
        if (inside)
            PositionFromPointer(bar, x, y);
        else
            bar->state = scrollBarIdle;
    } else if (bar->state == scrollBarIdle && inside) {
        bar->state = scrollBarDragging;
        PositionFromPointer(bar, x, y);
    } else {
        return;
    }
    Track(window, record, bar, before, keyState);
    RepaintControl(window, record, control);
}

// Every release reaches onRelease, whether a drag was running or not; dragging alone reports nothing.
void ScrollBarLeftUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState, int32_t,
                     int32_t) {
    ScrollBar* bar = reinterpret_cast<ScrollBar*>(control);
    if (bar->state == scrollBarDragging) {
        bar->state = scrollBarIdle;
        MarkForRedraw(control, record, redrawBits);
    }
    if (bar->onRelease)
        bar->onRelease(window, record, control, bar->userData, keyState, bar->range, bar->position);
    RequestRepaint(window, repaintPending);
}
