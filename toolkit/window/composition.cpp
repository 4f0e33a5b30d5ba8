// Marking, merging dirty areas and the paint that composes controls into the window surface.
#include "toolkit/window/composition.h"

#include <assert.h>
#include <string.h>

#include "toolkit/gfx/draw.h"

CompositionStats compositionStats;

// Set while a composition serves the marks: whatever marked then would be served by no paint, or painted
// over by the slots still to come. Debug builds assert that nothing does.
static bool composing;

static Bounds ControlBounds(const Control* c) {
    return {c->x, c->y, c->x + c->surface.width - 1, c->y + c->surface.height - 1};
}

// What each window's surface showed after its last composition, so that a full redraw set off by a mark
// can tell the screen copy what it really changed. Such a redraw paints the background and every control
// as before, except what moved, appeared or vanished since (the slots tell) and what marks named; the
// whole window counts as changed when a full redraw is asked for, or nothing is known of the window.
struct ShownSlot {
    const Control* control; // null: nothing of this slot showed (compared, never followed)
    Bounds rect;            // cut to the surface
    uint32_t drawsOnWindow;
};
struct Shown {
    WindowHandle window; // whose composition this describes
    int32_t width, height;
    ShownSlot slots[controlSlots];
    Bounds noted;        // named by marks since, or left behind by a move; empty while left > right
    uint8_t fullByMarks; // the pending full redraw was set off by a mark
    uint8_t fullAsked;   // a full redraw was asked for
};
static Shown shown[windowSlots];

void ForgetCompositions() {
    memset(shown, 0, sizeof shown);
    compositionStats = {};
}

static Shown* ShownOf(const WindowRecord* w) {
    ptrdiff_t i = w - windowTable.records;
    return i >= 0 && i < windowSlots ? &shown[i] : nullptr;
}

static void Unite(Bounds* into, const Bounds* r) {
    if (r->left > r->right || r->top > r->bottom) return;
    if (into->left > into->right) {
        *into = *r;
        return;
    }
    if (r->left < into->left) into->left = r->left;
    if (r->top < into->top) into->top = r->top;
    if (r->right > into->right) into->right = r->right;
    if (r->bottom > into->bottom) into->bottom = r->bottom;
}

static void Note(const WindowRecord* w, const Bounds* r) {
    if (Shown* s = ShownOf(w)) Unite(&s->noted, r);
}

void MarkForRedraw(Control* control, WindowRecord* window, uint32_t bits) {
    assert(!composing && "marked while the composition runs");
    control->flags |= bits & redrawBits;
    if (window->flags & fullRedraw) {
        if (FindControlSlot(window, control) >= 0) {
            Bounds r = ControlBounds(control);
            Note(window, &r);
        }
        return;
    }
    Extent area = {control->x, control->y, control->surface.width, control->surface.height};
    MergeDirtyArea(window, &area, control, 0);
}

// Only a control that paints every pixel of its rectangle can rebuild an area from beneath: a hidden one
// paints nothing, a colour-keyed one leaves its keyed pixels as they were.
static bool RepaintsItsRectangle(const Control* c) {
    if (c->flags & (hidden | collapsed | colourKeyed)) return false;
    return (c->flags & drawsOnWindow) || SurfaceIsDrawable(&c->surface);
}

// Coordinates compare as signed numbers, so a control lying partly left of or above the window surface
// is still found beneath a change and copied again over it.
void MergeDirtyArea(WindowRecord* window, const Extent* area, Control* control, uint32_t seeThrough) {
    assert(!composing && "marked while the composition runs");
    int32_t slot = FindControlSlot(window, control);
    if (slot < 0) return;
    control->flags |= blitPending;
    Bounds r;
    ExtentToBounds(area, &r);
    Note(window, &r);
    if (window->flags & fullRedraw) return;
    int32_t start = slot + 1;
    if ((control->flags & (hidden | colourKeyed)) || seeThrough) {
        int32_t cover = -1;
        for (int32_t i = slot - 1; i >= 0 && cover < 0; i--) {
            const Control* b = window->controls[i];
            if (!b || !RepaintsItsRectangle(b)) continue;
            Bounds bb = ControlBounds(b);
            if (bb.left <= r.left && r.right <= bb.right && bb.top <= r.top && r.bottom <= bb.bottom)
                cover = i;
        }
        if (cover < 0) {
            window->flags |= fullRedraw;
            if (Shown* s = ShownOf(window)) s->fullByMarks = 1;
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
    assert(!composing && "a repaint requested while the composition runs");
    WindowRecord* w = FindWindowRecord(window);
    if (!w) return -1;
    w->flags |= bits & (repaintPending | fullRedraw);
    if (bits & fullRedraw) {
        if (Shown* s = ShownOf(w)) s->fullAsked = 1;
    }
    return PlatformPostMessage(window, WM_PAINT, 0, 0);
}

// One composition's bookkeeping: the window surface, the pending opaque controls that will be copied whole
// over whatever lower slots put beneath them (in slot order), and the area rebuilt so far.
struct Composition {
    Bounds all;
    Bounds covers[controlSlots];
    int32_t coverSlots[controlSlots];
    int32_t coverCount;
    Bounds changed; // empty while left > right
};

static uint64_t Area(const Bounds* r) {
    return static_cast<uint64_t>(static_cast<int64_t>(r->right) - r->left + 1) *
           static_cast<uint64_t>(static_cast<int64_t>(r->bottom) - r->top + 1);
}

// r cut to the window surface; false when nothing of it is left.
static bool Clip(const Composition* k, const Control* c, Bounds* r) {
    int64_t left = c->x, top = c->y;
    int64_t right = left + c->surface.width - 1, bottom = top + c->surface.height - 1;
    if (left < k->all.left) left = k->all.left;
    if (top < k->all.top) top = k->all.top;
    if (right > k->all.right) right = k->all.right;
    if (bottom > k->all.bottom) bottom = k->all.bottom;
    if (left > right || top > bottom) return false;
    *r = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
          static_cast<int32_t>(bottom)};
    return true;
}

static void Rebuilt(Composition* k, const Bounds* r) {
    if (k->changed.left > k->changed.right) {
        k->changed = *r;
        return;
    }
    if (r->left < k->changed.left) k->changed.left = r->left;
    if (r->top < k->changed.top) k->changed.top = r->top;
    if (r->right > k->changed.right) k->changed.right = r->right;
    if (r->bottom > k->changed.bottom) k->changed.bottom = r->bottom;
}

// A control whose copy this paint writes every pixel of its rectangle (draw routines change no flags).
static bool CopiedWhole(const Control* c) {
    return (c->flags & blitPending) && !(c->flags & (hidden | collapsed | colourKeyed | drawsOnWindow)) &&
           SurfaceIsDrawable(&c->surface);
}

static void FindCovers(const WindowRecord* w, Composition* k) {
    k->coverCount = 0;
    for (int32_t i = 0; i < controlSlots; i++) {
        const Control* c = w->controls[i];
        Bounds r;
        if (!c || !CopiedWhole(c) || !Clip(k, c, &r)) continue;
        k->covers[k->coverCount] = r;
        k->coverSlots[k->coverCount++] = i;
    }
}

// The parts of r that no cover above slot hides (every cover for slot -1); whole when they would be too
// many to list.
static int32_t VisibleParts(const Composition* k, const Bounds* r, int32_t slot,
                            Bounds parts[maxUncoveredParts]) {
    Bounds over[controlSlots];
    int32_t n = 0;
    int32_t first = 0; // covers are in slot order
    while (first < k->coverCount && k->coverSlots[first] <= slot) first++;
    for (int32_t i = first; i < k->coverCount; i++) {
        const Bounds& c = k->covers[i];
        if (c.left > r->right || c.right < r->left || c.top > r->bottom || c.bottom < r->top) continue;
        // One cover hiding it all is common in a stack of controls.
        if (c.left <= r->left && r->right <= c.right && c.top <= r->top && r->bottom <= c.bottom) return 0;
        over[n++] = c;
    }
    int32_t count = n ? UncoveredParts(r, over, n, parts) : -1;
    if (count >= 0) return count;
    parts[0] = *r;
    return 1;
}

// The background where no control copied whole will lie; a window's own painter paints all of it.
static void PaintBackground(WindowRecord* w, Composition* k) {
    Surface* s = &w->surface;
    compositionStats.fullRedraws++;
    if (w->onPaintBackground) {
        w->onPaintBackground(w);
        if (SurfaceIsDrawable(s)) compositionStats.pixelsWritten += Area(&k->all);
    } else if (SurfaceIsDrawable(s)) {
        Bounds parts[maxUncoveredParts];
        int32_t count = VisibleParts(k, &k->all, -1, parts);
        for (int32_t i = 0; i < count; i++) {
            DrawRect(s, &parts[i], w->backgroundColour, rectFill);
            compositionStats.pixelsWritten += Area(&parts[i]);
        }
    }
    if ((w->flags & windowBevel) && SurfaceIsDrawable(s)) {
        Bounds all = {0, 0, s->width - 1, s->height - 1};
        DrawBevel(s, &all, Theme[borderLightColour], Theme[borderDarkColour], Theme[borderLightColour],
                  Theme[borderDarkColour]);
        uint64_t w1 = static_cast<uint64_t>(s->width), h1 = static_cast<uint64_t>(s->height);
        compositionStats.pixelsWritten += w1 == 1 || h1 == 1 ? w1 * h1 : 2 * (w1 + h1) - 4;
    }
    if (SurfaceIsDrawable(s)) Rebuilt(k, &k->all);
}

// Copies what can still be seen of c once the covers above it are copied: the result is the documented
// one (every pending control copied whole in slot order), without writing pixels that are overwritten.
// Marking leaves every control above a pending one that overlaps it pending too, so the covers above c are
// the ones a full redraw would have: what a composition writes is a part of what a full redraw of the
// window writes, never more, however many controls a change reaches.
static void CopyControl(WindowRecord* w, Control* c, int32_t slot, Composition* k) {
    Bounds r;
    if (!SurfaceIsDrawable(&c->surface) || !SurfaceIsDrawable(&w->surface) || !Clip(k, c, &r)) return;
    Bounds parts[maxUncoveredParts];
    int32_t count = VisibleParts(k, &r, slot, parts);
    for (int32_t i = 0; i < count; i++) {
        const Bounds& p = parts[i];
        BlitRect(&c->surface, p.left - c->x, p.top - c->y, &w->surface, p.left, p.top, p.right - p.left + 1,
                 p.bottom - p.top + 1, c->flags, c->backgroundColour);
        compositionStats.pixelsWritten += Area(&p);
        Rebuilt(k, &p);
    }
}

// Where the surface differs from what it showed after the last composition, for a composition that has
// just run (full: it repainted everything): what it wrote when it wrote less than everything; after a full
// redraw set off by marks, what moved and what marks named; the whole surface otherwise. Records what the
// surface shows now.
static void Changed(WindowHandle handle, WindowRecord* w, bool full, const Composition* k, Bounds* changed) {
    Shown* s = ShownOf(w);
    if (!s) {
        *changed = full ? k->all : k->changed;
        return;
    }
    bool known = s->window == handle && s->width == w->surface.width && s->height == w->surface.height;
    Bounds moved = {0, 0, -1, -1};
    // A control drawing on the window that moved, or that reaches past the surface: its routine may have
    // drawn beyond its rectangle (a fill outside the surface lands on its edge).
    bool drawnBeyond = false;
    for (int32_t i = 0; i < controlSlots; i++) {
        const Control* c = w->controls[i];
        ShownSlot now = {nullptr, {0, 0, -1, -1}, 0};
        if (c && !(c->flags & (hidden | collapsed))) {
            Bounds whole = ControlBounds(c);
            bool inside = Clip(k, c, &now.rect) && memcmp(&now.rect, &whole, sizeof whole) == 0;
            now.control = c;
            now.drawsOnWindow = c->flags & drawsOnWindow;
            drawnBeyond |= now.drawsOnWindow && !inside;
        }
        ShownSlot& was = s->slots[i];
        bool same = now.control == was.control && now.drawsOnWindow == was.drawsOnWindow &&
                    memcmp(&now.rect, &was.rect, sizeof now.rect) == 0;
        if (!same) {
            Unite(&moved, &was.rect);
            Unite(&moved, &now.rect);
            drawnBeyond |= now.drawsOnWindow || was.drawsOnWindow;
        }
        was = now;
    }
    if (!full) {
        *changed = k->changed;
        s->noted = moved; // an incremental composition leaves behind what moved away unrebuilt
    } else if (known && s->fullByMarks && !s->fullAsked && !drawnBeyond) {
        *changed = s->noted;
        Unite(changed, &moved);
        s->noted = {0, 0, -1, -1};
    } else {
        *changed = k->all;
        s->noted = {0, 0, -1, -1};
    }
    s->window = handle;
    s->width = w->surface.width;
    s->height = w->surface.height;
    s->fullByMarks = s->fullAsked = 0;
}

#ifndef NDEBUG
// Every control's flags but the redraw bits, and their slots, folded into one number.
static uint64_t FlagPrint(const WindowRecord* w) {
    uint64_t print = 0;
    for (int32_t i = 0; i < controlSlots; i++) {
        if (const Control* c = w->controls[i])
            print = (print ^ (c->flags & ~redrawBits) ^ static_cast<uint64_t>(i) << 32) * 31;
    }
    return print;
}

// A composition serves every mark, so none is left after it unless something marked while it ran.
static bool NoneMarked(const WindowRecord* w) {
    for (int32_t i = 0; i < controlSlots; i++) {
        if (w->controls[i] && (w->controls[i]->flags & redrawBits)) return false;
    }
    return true;
}
#endif

// The layout step: each control about to be redrawn derives its geometry and puts the controls it keeps in
// step (scroll bars, companions) in step, so that what that changes is composed by this same paint.
static void LayOut(WindowRecord* w) {
    for (int32_t i = 0; i < controlSlots; i++) {
        Control* c = w->controls[i];
        if (!c || (c->flags & (hidden | collapsed))) continue;
        if (!(c->flags & (contentDirty | drawsOnWindow))) continue;
        if (LayoutRoutine layOut = LayoutRoutineOf(c->kind)) layOut(w, c);
    }
}

static void Compose(WindowHandle handle, WindowRecord* w, Bounds* changed) {
    Composition k;
    k.all = {0, 0, w->surface.width - 1, w->surface.height - 1};
    k.changed = {0, 0, -1, -1};
    w->flags &= ~repaintPending;
    bool full = (w->flags & fullRedraw) != 0;
    if (full) {
        w->flags &= ~fullRedraw;
        MarkAllForBlit(w);
    }
    composing = true;
#ifndef NDEBUG
    uint64_t flags = FlagPrint(w);
#endif
    FindCovers(w, &k);
    if (full) PaintBackground(w, &k);
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
            Bounds r;
            if (SurfaceIsDrawable(&w->surface) && Clip(&k, c, &r)) compositionStats.pixelsWritten += Area(&r);
            // Its own routine drew it, and may have touched any pixel.
            if (SurfaceIsDrawable(&w->surface)) Rebuilt(&k, &k.all);
        } else {
            CopyControl(w, c, i, &k);
        }
    }
    composing = false;
    // Draw routines only draw: they show, hide and mark nothing.
    assert(FlagPrint(w) == flags && NoneMarked(w) && "a draw routine changed a control's flags");
    Changed(handle, w, full, &k, changed);
}

int32_t PaintWindow(WindowHandle window, WindowRecord* record, uint32_t message, WParam, LParam) {
    if (message != WM_PAINT) return -1;
    PlatformBeginPaint(window);
    compositionStats.paints++;
    // A paint that composes presents what it rebuilt; any other paint presents the whole surface.
    PlatformRect rebuilt = {0, 0, 0, 0};
    const PlatformRect* changed = nullptr;
    if (record->flags & repaintPending) {
        compositionStats.compositions++;
        Bounds b;
        LayOut(record);
        Compose(window, record, &b);
        if (b.left <= b.right) rebuilt = {b.left, b.top, b.right + 1, b.bottom + 1};
        changed = &rebuilt;
    }
    // A window without pixels (minimised) presents nothing, and that is no failure.
    if (SurfaceIsDrawable(&record->surface)) {
        PlatformPresent(window, &record->surface, (record->flags & clientSurface) ? 0 : 1, changed);
    }
    PlatformEndPaint(window);
    return 0;
}
