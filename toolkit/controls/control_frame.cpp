#include "toolkit/controls/control_frame.h"

#include "toolkit/gfx/draw.h"

void DrawControlBevel(Control* control) {
    if (!(control->flags & controlFrame)) return;
    uint32_t light = Theme[borderLightColour], dark = Theme[borderDarkColour];
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
