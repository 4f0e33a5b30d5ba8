// Pixel drawing straight into surfaces: blits with optional colour key, lines, fills, bevels, tiles, skins.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/rect.h"
#include "toolkit/gfx/surface.h"

enum : uint32_t { blitColourKeyed = 0x8 };
enum : uint32_t { lineVertical = 0x1 };
enum : uint32_t { rectFill = 0x1 };

struct WindowSkin {
    Surface* centre;
    Surface* topEdge;
    Surface* leftEdge;
    Surface* rightEdge;
    Surface* bottomEdge;
    Surface* topLeft;
    Surface* topRight;
    Surface* bottomLeft;
    Surface* bottomRight;
};

void BlitSurface(const Surface* source, Surface* destination, int32_t x, int32_t y, uint32_t flags,
                 uint32_t key);
void BlitRect(const Surface* source, int32_t sx, int32_t sy, Surface* destination, int32_t dx, int32_t dy,
              int32_t width, int32_t height, uint32_t flags, uint32_t key);
void DrawLine(Surface* surface, int32_t x, int32_t y, uint32_t length, uint32_t colour, uint32_t flags);
void DrawRect(Surface* surface, const Bounds* bounds, uint32_t colour, uint32_t flags);
void DrawBevel(Surface* surface, const Bounds* bounds, uint32_t left, uint32_t right, uint32_t top,
               uint32_t bottom);
void TileSurface(Surface* destination, const Surface* tile, const Extent* area);
// The nine-image skin over a whole surface; without a centre image the surface is filled with
// backgroundColour. The window layer's PaintSkin paints a window surface with it.
void PaintSkinOnSurface(Surface* surface, uint32_t backgroundColour, const WindowSkin* skin);
