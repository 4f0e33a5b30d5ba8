// The sizing link: WM_SIZE re-creates the window surface and re-lays the controls out by their anchoring
// flags; WM_GETMINMAXINFO hands the window's limits to the platform.
#include "toolkit/gfx/surface.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

static void NewWindowSize(WindowHandle window, const WindowRecord* record, int32_t* width, int32_t* height) {
    PlatformRect rect = {};
    if (record->flags & clientSurface) {
        PlatformClientRect(window, &rect);
        *width = rect.right;
        *height = rect.bottom;
    } else {
        PlatformWindowRect(window, &rect);
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
    }
    if (*width < 0) *width = 0;
    if (*height < 0) *height = 0;
}

// A collapsed control keeps the size it was given, even below 1, and frees its pixels: the next resize
// adds its change to that size, so a control that stretches with the window comes back at the right size.
static void LayOutControl(Control* c, int32_t dx, int32_t dy, int32_t newWidth, int32_t newHeight) {
    int32_t nx = c->x, ny = c->y, nw = c->surface.width, nh = c->surface.height;
    bool stretched = false;
    uint32_t flags = c->flags;
    if (flags & followRight) {
        if (flags & stretchX) {
            nw += dx;
            stretched = true;
        } else {
            nx += dx;
        }
    }
    if (flags & followBottom) {
        if (flags & stretchY) {
            nh += dy;
            stretched = true;
        } else {
            ny += dy;
        }
    }
    if (flags & proportionalX) nx = static_cast<int32_t>((static_cast<uint32_t>(newWidth) * c->ratioX) >> 8);
    if (flags & proportionalY) ny = static_cast<int32_t>((static_cast<uint32_t>(newHeight) * c->ratioY) >> 8);
    c->x = nx;
    c->y = ny;
    bool wasCollapsed = (flags & collapsed) != 0;
    if (nw < 1 || nh < 1) {
        c->flags |= collapsed;
        if (stretched) {
            ReleaseSurface(&c->surface);
            c->surface.width = nw;
            c->surface.height = nh;
        }
        return;
    }
    c->flags &= ~static_cast<uint32_t>(collapsed);
    bool ownsPixels = !(flags & drawsOnWindow);
    // A control that collapsed gave its pixels back and needs new ones even at an unchanged size.
    if (!stretched && !(wasCollapsed && ownsPixels && !c->surface.bitmap)) return;
    if (ownsPixels) {
        ReleaseSurface(&c->surface);
        CreateSurface(static_cast<uint32_t>(nw), nh, &c->surface, nullptr);
        c->flags |= redrawBits;
    } else {
        c->surface.width = nw;
        c->surface.height = nh;
    }
}

static int32_t Resize(WindowHandle window, WindowRecord* record) {
    int32_t oldWidth = record->surface.width, oldHeight = record->surface.height;
    int32_t newWidth, newHeight;
    NewWindowSize(window, record, &newWidth, &newHeight);
    ReleaseSurface(&record->surface);
    CreateSurface(static_cast<uint32_t>(newWidth), newHeight, &record->surface, nullptr);
    record->flags |= repaintPending | fullRedraw;
    int32_t dx = newWidth - oldWidth, dy = newHeight - oldHeight;
    for (int32_t i = 0; i < controlSlots; i++) {
        if (record->controls[i]) LayOutControl(record->controls[i], dx, dy, newWidth, newHeight);
    }
    MarkAllForBlit(record);
    return 0;
}

static int32_t FillLimits(const WindowRecord* record, LParam lParam) {
    MinMaxInfo* info = reinterpret_cast<MinMaxInfo*>(lParam);
    if (!info) return 1;
    info->ptMaxSize = {record->maxWidth, record->maxHeight};
    info->ptMinTrackSize = {record->minTrackWidth, record->minTrackHeight};
    info->ptMaxTrackSize = {record->maxWidth + 4, record->maxHeight + 4};
    return 1;
}

int32_t HandleSizing(WindowHandle window, WindowRecord* record, uint32_t message, WParam, LParam lParam) {
    if (message == WM_SIZE) return Resize(window, record);
    if (message == WM_GETMINMAXINFO) return FillLimits(record, lParam);
    return -1;
}
