// Marking, merging dirty areas and the paint that composes controls into the window surface.
#include "toolkit/window/composition.h"

#include "toolkit/gfx/draw.h"

CompositionStats compositionStats;

static Bounds ControlBounds(const Control* c) {
    return {c->x, c->y, c->x + c->surface.width - 1, c->y + c->surface.height - 1};
}

void MarkForRedraw(Control* control, WindowRecord* window, uint32_t bits) {
    control->flags |= bits & redrawBits;
    if (window->flags & fullRedraw) return;
    Extent area = {control->x, control->y, control->surface.width, control->surface.height};
    MergeDirtyArea(window, &area, control, 0);
}

// Coordinates compare as signed numbers, so a control lying partly left of or above the window surface
// is still found beneath a change and copied again over it.
void MergeDirtyArea(WindowRecord* window, const Extent* area, Control* control, uint32_t seeThrough) {
    int32_t slot = FindControlSlot(window, control);
    if (slot < 0) return;
    control->flags |= blitPending;
    Bounds r;
    ExtentToBounds(area, &r);
    if (window->flags & fullRedraw) return;
    int32_t start = slot + 1;
    if ((control->flags & (hidden | colourKeyed)) || seeThrough) {
        int32_t cover = -1;
        // Only a control that paints its whole rectangle can stand in for the background: a hidden,
        // collapsed or colour-keyed one would leave the old pixels showing.
        for (int32_t i = slot - 1; i >= 0 && cover < 0; i--) {
            const Control* b = window->controls[i];
            if (!b || (b->flags & (hidden | colourKeyed | collapsed))) continue;
            Bounds bb = ControlBounds(b);
            if (bb.left <= r.left && r.right <= bb.right && bb.top <= r.top && r.bottom <= bb.bottom)
                cover = i;
        }
        if (cover < 0) {
            window->flags |= fullRedraw;
            return;
        }
        start = cover;
    }
    for (int32_t i = start; i < controlSlots; i++) {
        Control* p = window->controls[i];
        if (!p) continue;
        Bounds pb = ControlBounds(p);
        if (r.left > pb.right || r.right < pb.left || r.top > pb.bottom || r.bottom < pb.top) continue;
        p->flags |= blitPending;
        if (pb.left < r.left) r.left = pb.left;
        if (pb.top < r.top) r.top = pb.top;
        if (pb.right > r.right) r.right = pb.right;
        if (pb.bottom > r.bottom) r.bottom = pb.bottom;
    }
}

void MarkAllForBlit(WindowRecord* window) {
    for (int32_t i = 0; i < controlSlots; i++) {
        if (window->controls[i]) window->controls[i]->flags |= blitPending;
    }
}

void PaintSkin(WindowRecord* window, const WindowSkin* skin) {
    if (window) PaintSkinOnSurface(&window->surface, window->backgroundColour, skin);
}

int32_t RequestRepaint(WindowHandle window, uint32_t bits) {
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return -1;
    w->flags |= bits & (repaintPending | fullRedraw);
    return PlatformPostMessage(window, WM_PAINT, 0, 0);
}

// Pixels of a w × h rectangle at (x, y) that land inside the surface.
static uint64_t VisiblePixels(const Surface* s, int32_t x, int32_t y, int32_t w, int32_t h) {
    int64_t left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    int64_t right = static_cast<int64_t>(x) + w, bottom = static_cast<int64_t>(y) + h;
    if (right > s->width) right = s->width;
    if (bottom > s->height) bottom = s->height;
    if (right <= left || bottom <= top) return 0;
    return static_cast<uint64_t>((right - left) * (bottom - top));
}

static void PaintBackground(WindowRecord* w) {
    Surface* s = &w->surface;
    Bounds all = {0, 0, s->width - 1, s->height - 1};
    if (w->onPaintBackground) {
        w->onPaintBackground(w);
    } else if (SurfaceIsDrawable(s)) {
        DrawRect(s, &all, w->backgroundColour, rectFill);
    }
    if ((w->flags & windowBevel) && SurfaceIsDrawable(s)) {
        DrawBevel(s, &all, Theme[borderLightColour], Theme[borderDarkColour], Theme[borderLightColour],
                  Theme[borderDarkColour]);
    }
    compositionStats.fullRedraws++;
    if (SurfaceIsDrawable(s)) compositionStats.pixelsWritten += VisiblePixels(s, 0, 0, s->width, s->height);
}

static void Compose(WindowRecord* w) {
    w->flags &= ~repaintPending;
    if (w->flags & fullRedraw) {
        PaintBackground(w);
        w->flags &= ~fullRedraw;
        MarkAllForBlit(w);
    }
    for (int32_t i = 0; i < controlSlots; i++) {
        Control* c = w->controls[i];
        if (!c) continue;
        if (c->flags & (hidden | collapsed)) {
            c->flags &= ~redrawBits;
            continue;
        }
        DrawRoutine draw = DrawRoutineOf(c->kind);
        if (c->flags & contentDirty) {
            c->flags &= ~contentDirty;
            if (!(c->flags & drawsOnWindow) && draw) {
                draw(w, c);
                compositionStats.controlsDrawn++;
            }
        }
        if (!(c->flags & blitPending)) continue;
        c->flags &= ~blitPending;
        compositionStats.controlsCopied++;
        if (c->flags & drawsOnWindow) {
            if (draw) draw(w, c);
            if (SurfaceIsDrawable(&w->surface)) {
                compositionStats.pixelsWritten +=
                    VisiblePixels(&w->surface, c->x, c->y, c->surface.width, c->surface.height);
            }
        } else {
            BlitSurface(&c->surface, &w->surface, c->x, c->y, c->flags, c->backgroundColour);
            if (SurfaceIsDrawable(&c->surface)) {
                compositionStats.pixelsWritten +=
                    VisiblePixels(&w->surface, c->x, c->y, c->surface.width, c->surface.height);
            }
        }
    }
}

int32_t PaintWindow(WindowHandle window, WindowRecord* record, uint32_t message, WParam, LParam) {
    if (message != WM_PAINT) return -1;
    PlatformBeginPaint(window);
    compositionStats.paints++;
    if (record->flags & repaintPending) {
        compositionStats.compositions++;
        Compose(record);
    }
    // A window without pixels (minimised) presents nothing, and that is no failure.
    if (SurfaceIsDrawable(&record->surface)) {
        PlatformPresent(window, &record->surface, (record->flags & clientSurface) ? 0 : 1);
    }
    PlatformEndPaint(window);
    return 0;
}
