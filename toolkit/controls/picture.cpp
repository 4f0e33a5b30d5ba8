// Record → init → draw. The picture has no mouse, key or destroy handlers.
#include "toolkit/controls/picture.h"

#include <string.h>

#include "toolkit/gfx/draw.h"

void InitPicture(Picture* picture, const Extent* extent, uint32_t, uint32_t flags) {
    memset(static_cast<void*>(picture), 0, sizeof *picture);
    Control* c = &picture->header;
    c->recordSize = sizeof *picture;
    c->kind = kindPicture;
    c->x = extent->x;
    c->y = extent->y;
    c->flags = flags | redrawBits;
    c->backgroundColour = 0xBFBFBF;
    CreateSurface(static_cast<uint32_t>(extent->width > 0 ? extent->width : 0), extent->height, &c->surface,
                  nullptr);
}

void DrawPicture(WindowRecord*, Control* control) {
    Picture* picture = reinterpret_cast<Picture*>(control);
    Surface* own = &control->surface;
    Bounds r = {0, 0, own->width - 1, own->height - 1};
    // An index outside the list shows the background, like an empty entry.
    Surface* image = picture->imageIndex < pictureImages ? picture->images[picture->imageIndex] : nullptr;
    if (!image) {
        DrawRect(own, &r, control->backgroundColour, rectFill);
        return;
    }
    if (control->flags & pictureTiled) {
        Extent all = {0, 0, own->width, own->height};
        TileSurface(own, image, &all);
        return;
    }
    BlitSurface(image, own, 0, 0, 0, 0);
}
