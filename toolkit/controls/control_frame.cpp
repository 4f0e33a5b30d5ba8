#include "toolkit/controls/control_frame.h"

#include "toolkit/gfx/draw.h"

void PaintControlBackground(Control* control, const Surface* image) {
    Surface* own = &control->surface;
    if (image) {
        Extent all = {0, 0, own->width, own->height};
        TileSurface(own, image, &all);
    } else {
        Bounds all = {0, 0, own->width - 1, own->height - 1};
        DrawRect(own, &all, control->backgroundColour, rectFill);
    }
}

void DrawControlFrame(Control* control, uint32_t light, uint32_t dark) {
    if (!(control->flags & controlFrame)) return;
    if (control->flags & controlFrameSunken) {
        uint32_t swap = light;
        light = dark;
        dark = swap;
    }
    if (control->flags & controlFrameFlat) dark = light;
    Surface* own = &control->surface;
    Bounds all = {0, 0, own->width - 1, own->height - 1};
    DrawBevel(own, &all, light, dark, light, dark);
}
