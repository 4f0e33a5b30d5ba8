// Record → init → draw. The panel has no mouse, key or destroy handlers, and no pixels of its own.
#include "toolkit/controls/panel.h"

#include "toolkit/gfx/draw.h"
#include "toolkit/window/window_table.h"

static const ControlDescriptor panelKind = {
    kindPanel, sizeof(Panel), drawsOnWindow | contentDirty, 0xBFBFBF, {}, nullptr, nullptr,
};

// ---- Init ----

void InitPanel(Panel* panel, const Extent* extent, uint32_t backgroundColour, uint32_t bevelLight,
               uint32_t bevelDark, uint32_t bevelWidth, uint32_t flags) {
    InitControlHeader(&panel->header, &panelKind, extent, flags);
    panel->header.backgroundColour = backgroundColour;
    panel->bevelLight = bevelLight;
    panel->bevelDark = bevelDark;
    panel->bevelWidth = bevelWidth;
}

// ---- Draw ----

void DrawPanel(WindowRecord* window, Control* control) {
    Panel* panel = reinterpret_cast<Panel*>(control);
    Surface* target = &window->surface;
    Bounds r = {control->x, control->y, control->x + control->surface.width - 1,
                control->y + control->surface.height - 1};
    // Drawing clamps rectangles onto the surface, so a panel wholly outside the window would smear its
    // fill and frames along the window's edge, outside its own rectangle, where the composition does not
    // look for it.
    if (r.right < 0 || r.bottom < 0 || r.left >= target->width || r.top >= target->height) return;
    if (!(control->flags & panelNoFill)) DrawRect(target, &r, control->backgroundColour, rectFill);
    if (!(control->flags & panelBevel)) return;
    uint32_t light = panel->bevelLight, dark = panel->bevelDark;
    if (control->flags & panelSunken) {
        light = panel->bevelDark;
        dark = panel->bevelLight;
    }
    // Frames stop where the panel runs out of room instead of piling up on its middle.
    for (uint32_t i = 0; i < panel->bevelWidth && r.left <= r.right && r.top <= r.bottom; i++) {
        DrawBevel(target, &r, light, dark, light, dark);
        r.left++;
        r.top++;
        r.right--;
        r.bottom--;
    }
}
