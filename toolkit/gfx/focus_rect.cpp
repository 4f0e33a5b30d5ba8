#include "toolkit/gfx/focus_rect.h"

static void InvertDot(Surface* s, int32_t x, int32_t y, uint16_t white) {
    if (x < 0 || y < 0 || x >= s->width || y >= s->height || ((x + y) & 1)) return;
    uint16_t* pixel = reinterpret_cast<uint16_t*>(s->pixels + static_cast<size_t>(y) * s->stride) + x;
    *pixel ^= white;
}

void DrawFocusRect(Surface* s, const Bounds* b) {
    if (!SurfaceIsDrawable(s) || b->right < b->left || b->bottom < b->top) return;
    // Inverting against white keeps the unused bit of 5-5-5 pixels clear.
    uint16_t white = static_cast<uint16_t>(ColourToPixel(0xFFFFFF));
    for (int32_t x = b->left; x <= b->right; x++) {
        InvertDot(s, x, b->top, white);
        if (b->bottom != b->top) InvertDot(s, x, b->bottom, white);
    }
    for (int32_t y = b->top + 1; y < b->bottom; y++) {
        InvertDot(s, b->left, y, white);
        if (b->right != b->left) InvertDot(s, b->right, y, white);
    }
}
