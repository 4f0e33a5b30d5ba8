// Lines, rectangles, bevels, tiling and window skins, drawn with the row loops of blit.cpp.
#include "toolkit/gfx/draw.h"

#include "toolkit/gfx/pixel_rows.h"

static uint8_t* PixelAt(Surface* surface, int32_t x, int32_t y) {
    return surface->pixels + static_cast<size_t>(y) * surface->stride + 2 * static_cast<size_t>(x);
}

// Lines are clipped to the surface: a start left of or above it and a run past its edges lose the
// part outside rather than writing outside the pixel memory.
void DrawLine(Surface* surface, int32_t x, int32_t y, uint32_t length, uint32_t colour, uint32_t flags) {
    if (!SurfaceIsDrawable(surface) || x >= surface->width || y >= surface->height || length == 0) return;
    int64_t along = (flags & lineVertical) ? y : x, across = (flags & lineVertical) ? x : y;
    int64_t limit = (flags & lineVertical) ? surface->height : surface->width;
    if (across < 0) return;
    int64_t end = along + length;
    if (end > limit) end = limit;
    if (along < 0) along = 0;
    if (along >= end) return;
    uint16_t pixel = static_cast<uint16_t>(ColourToPixel(colour));
    uint32_t count = static_cast<uint32_t>(end - along);
    if (flags & lineVertical)
        FillColumn(PixelAt(surface, x, static_cast<int32_t>(along)), surface->stride, count, pixel);
    else
        FillRow(PixelAt(surface, static_cast<int32_t>(along), y), count, pixel);
}

// The rectangle clamped into the surface: never empty, possibly collapsed onto an edge.
static void ClampToSurface(const Surface* surface, const Bounds* bounds, Bounds* clamped, Extent* extent) {
    Bounds clip = {0, 0, surface->width - 1, surface->height - 1};
    ClampBounds(&clip, bounds, clamped);
    BoundsToExtent(clamped, extent);
}

void DrawRect(Surface* surface, const Bounds* bounds, uint32_t colour, uint32_t flags) {
    if (!SurfaceIsDrawable(surface) || !bounds) return;
    Bounds r;
    Extent e;
    ClampToSurface(surface, bounds, &r, &e);
    uint32_t width = static_cast<uint32_t>(e.width), height = static_cast<uint32_t>(e.height);
    if (flags & rectFill) {
        uint16_t pixel = static_cast<uint16_t>(ColourToPixel(colour));
        for (int32_t y = e.y; y < e.y + e.height; ++y) FillRow(PixelAt(surface, e.x, y), width, pixel);
        return;
    }
    DrawLine(surface, r.left, r.top, height, colour, lineVertical);
    DrawLine(surface, r.left, r.top, width, colour, 0);
    DrawLine(surface, r.right, r.top, height, colour, lineVertical);
    DrawLine(surface, r.left, r.bottom, width, colour, 0);
}

// Later lines overwrite earlier ones: the top owns both top corners, the right edge the bottom-right.
void DrawBevel(Surface* surface, const Bounds* bounds, uint32_t left, uint32_t right, uint32_t top,
               uint32_t bottom) {
    if (!SurfaceIsDrawable(surface) || !bounds) return;
    Bounds r;
    Extent e;
    ClampToSurface(surface, bounds, &r, &e);
    uint32_t width = static_cast<uint32_t>(e.width), height = static_cast<uint32_t>(e.height);
    DrawLine(surface, r.left, r.top, height, left, lineVertical);
    DrawLine(surface, r.left, r.bottom, width, bottom, 0);
    DrawLine(surface, r.right, r.top, height, right, lineVertical);
    DrawLine(surface, r.left, r.top, width, top, 0);
}

// Whole tiles from the area's top-left corner, cut only by the surface's edges. The first band of
// tiles is blitted tile by tile; every later band repeats it and is copied from it, rows at a time.
void TileSurface(Surface* destination, const Surface* tile, const Extent* area) {
    if (!SurfaceIsDrawable(destination) || !SurfaceIsDrawable(tile) || !area) return;
    Bounds b;
    ExtentToBounds(area, &b);
    const int64_t width = destination->width, height = destination->height;
    // An area that misses the surface draws nothing (rather than being stretched onto its edge).
    if (b.right < 0 || b.bottom < 0 || b.left >= width || b.top >= height) return;
    const int64_t areaRight = b.right < width ? b.right : width - 1;
    const int64_t areaBottom = b.bottom < height ? b.bottom : height - 1;
    const int64_t tileWidth = tile->width, tileHeight = tile->height;
    // The area rounded up to whole tiles (exclusive ends).
    const int64_t right = b.left + (areaRight - b.left + tileWidth) / tileWidth * tileWidth;
    const int64_t bottom = b.top + (areaBottom - b.top + tileHeight) / tileHeight * tileHeight;
    // Skip the columns and bands of tiles wholly left of or above the surface.
    int64_t firstX = b.left, firstY = b.top;
    if (firstX < 0) firstX += -firstX / tileWidth * tileWidth;
    if (firstY < 0) firstY += -firstY / tileHeight * tileHeight;
    const int64_t spanLeft = firstX < 0 ? 0 : firstX;
    const int64_t spanRight = right < width ? right : width;
    int64_t band = -1; // top of a fully drawn band, once there is one
    for (int64_t top = firstY; top < bottom && top < height; top += tileHeight) {
        if (band >= 0) {
            BlitRect(destination, static_cast<int32_t>(spanLeft), static_cast<int32_t>(band), destination,
                     static_cast<int32_t>(spanLeft), static_cast<int32_t>(top),
                     static_cast<int32_t>(spanRight - spanLeft), static_cast<int32_t>(tileHeight), 0, 0);
            continue;
        }
        for (int64_t x = firstX; x < spanRight; x += tileWidth)
            BlitSurface(tile, destination, static_cast<int32_t>(x), static_cast<int32_t>(top), 0, 0);
        if (top >= 0) band = top;
    }
}

// An image without pixels counts as absent, so a failed load falls back like a missing one.
static bool Present(const Surface* image) {
    return SurfaceIsDrawable(image);
}

void PaintSkinOnSurface(Surface* surface, uint32_t backgroundColour, const WindowSkin* skin) {
    if (!surface || !SurfaceIsDrawable(surface)) return;
    const int32_t w = surface->width, h = surface->height;
    WindowSkin none = {};
    if (!skin) skin = &none;
    if (Present(skin->centre)) {
        Extent all = {0, 0, w, h};
        TileSurface(surface, skin->centre, &all);
    } else {
        Bounds all = {0, 0, w - 1, h - 1};
        DrawRect(surface, &all, backgroundColour, rectFill);
    }
    if (Present(skin->topEdge)) {
        Extent area = {0, 0, w, skin->topEdge->height};
        TileSurface(surface, skin->topEdge, &area);
    }
    if (Present(skin->leftEdge)) {
        Extent area = {0, 0, skin->leftEdge->width, h};
        TileSurface(surface, skin->leftEdge, &area);
    }
    if (Present(skin->rightEdge)) {
        Extent area = {w - skin->rightEdge->width, 0, skin->rightEdge->width, h};
        TileSurface(surface, skin->rightEdge, &area);
    }
    if (Present(skin->bottomEdge)) {
        Extent area = {0, h - skin->bottomEdge->height, w, skin->bottomEdge->height};
        TileSurface(surface, skin->bottomEdge, &area);
    }
    if (Present(skin->topLeft)) BlitSurface(skin->topLeft, surface, 0, 0, 0, 0);
    if (Present(skin->topRight)) BlitSurface(skin->topRight, surface, w - skin->topRight->width, 0, 0, 0);
    if (Present(skin->bottomLeft))
        BlitSurface(skin->bottomLeft, surface, 0, h - skin->bottomLeft->height, 0, 0);
    if (Present(skin->bottomRight))
        BlitSurface(skin->bottomRight, surface, w - skin->bottomRight->width, h - skin->bottomRight->height,
                    0, 0);
}
