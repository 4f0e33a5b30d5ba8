// Record → init → draw. The picture has no mouse, key or destroy handlers.
#include "toolkit/controls/picture.h"

#include <string.h>

#include "toolkit/gfx/draw.h"

static const ControlDescriptor pictureKind = {
    kindPicture, sizeof(Picture), redrawBits, 0xBFBFBF, {}, nullptr, nullptr,
};

// ---- Init ----

void InitPicture(Picture* picture, const Extent* extent, uint32_t, uint32_t flags) {
    InitControlHeader(&picture->header, &pictureKind, extent, flags);
    picture->imageIndex = 0;
    memset(picture->images, 0, sizeof picture->images);
}

// ---- Draw ----

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
