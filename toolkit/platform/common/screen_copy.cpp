#include "toolkit/platform/common/screen_copy.h"

#include <stdlib.h>
#include <string.h>

#include "toolkit/gfx/surface.h"

static const uint8_t* SurfaceRow(const Surface* s, int32_t y) {
    return s->pixels + static_cast<size_t>(y) * s->stride;
}

static uint16_t* CopyRow(const ScreenCopy* c, int32_t y) {
    return c->pixels + static_cast<size_t>(y) * static_cast<size_t>(c->width);
}

static bool RowDiffers(const ScreenCopy* c, const Surface* s, int32_t y, int32_t left, int32_t right) {
    return memcmp(CopyRow(c, y) + left, SurfaceRow(s, y) + 2 * left, 2 * static_cast<size_t>(right - left)) !=
           0;
}

// First column in [left, right) where the row differs, or right.
static int32_t FirstDifference(const uint16_t* copy, const uint8_t* row, int32_t left, int32_t right) {
    int32_t x = left;
    for (; x + 4 <= right; x += 4) {
        if (memcmp(copy + x, row + 2 * x, 8) != 0) break;
    }
    for (; x < right; x++) {
        if (memcmp(copy + x, row + 2 * x, 2) != 0) return x;
    }
    return right;
}

// One past the last column in [left, right) where the row differs, or left.
static int32_t LastDifference(const uint16_t* copy, const uint8_t* row, int32_t left, int32_t right) {
    int32_t x = right;
    for (; x - 4 >= left; x -= 4) {
        if (memcmp(copy + x - 4, row + 2 * (x - 4), 8) != 0) break;
    }
    for (; x > left; x--) {
        if (memcmp(copy + x - 1, row + 2 * (x - 1), 2) != 0) return x;
    }
    return left;
}

static void Take(ScreenCopy* c, const Surface* s, const PlatformRect* r) {
    for (int32_t y = r->top; y < r->bottom; y++)
        memcpy(CopyRow(c, y) + r->left, SurfaceRow(s, y) + 2 * r->left,
               2 * static_cast<size_t>(r->right - r->left));
}

int32_t UpdateScreenCopy(ScreenCopy* copy, const Surface* surface, PlatformRect* area) {
    PlatformRect all = {0, 0, surface->width, surface->height};
    if (!copy->valid || !copy->pixels || copy->width != surface->width || copy->height != surface->height) {
        FreeScreenCopy(copy);
        *area = all;
        size_t count = static_cast<size_t>(surface->width) * static_cast<size_t>(surface->height);
        copy->pixels = static_cast<uint16_t*>(malloc(count * 2));
        if (!copy->pixels) return -1;
        copy->width = surface->width;
        copy->height = surface->height;
        copy->valid = 1;
        Take(copy, surface, &all);
        return 1;
    }
    PlatformRect r = area ? *area : all;
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.right > all.right) r.right = all.right;
    if (r.bottom > all.bottom) r.bottom = all.bottom;
    if (r.left >= r.right || r.top >= r.bottom) {
        *area = {0, 0, 0, 0};
        return 0;
    }
    while (r.top < r.bottom && !RowDiffers(copy, surface, r.top, r.left, r.right)) r.top++;
    while (r.bottom > r.top && !RowDiffers(copy, surface, r.bottom - 1, r.left, r.right)) r.bottom--;
    if (r.top == r.bottom) {
        *area = {0, 0, 0, 0};
        return 0;
    }
    // Columns: each row may only widen what the rows before it found.
    int32_t left = r.right, right = r.left;
    for (int32_t y = r.top; y < r.bottom; y++) {
        const uint16_t* c = CopyRow(copy, y);
        const uint8_t* s = SurfaceRow(surface, y);
        if (left > r.left) {
            int32_t first = FirstDifference(c, s, r.left, left);
            if (first < left) left = first;
        }
        if (right < r.right) {
            int32_t last = LastDifference(c, s, right > left ? right : left, r.right);
            if (last > right) right = last;
        }
    }
    r.left = left;
    r.right = right;
    Take(copy, surface, &r);
    *area = r;
    return 1;
}

void ForgetScreenCopy(ScreenCopy* copy) {
    copy->valid = 0;
}

void FreeScreenCopy(ScreenCopy* copy) {
    free(copy->pixels);
    *copy = {};
}
