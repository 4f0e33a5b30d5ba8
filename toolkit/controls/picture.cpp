// Record → init → draw. The picture has no mouse, key or destroy handlers.
#include "toolkit/controls/picture.h"

#include <string.h>

#include "toolkit/controls/control_frame.h"
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
    // An index outside the list shows the background, like an empty entry.
    Surface* image = picture->imageIndex < pictureImages ? picture->images[picture->imageIndex] : nullptr;
    if (!image || (control->flags & pictureTiled))
        PaintControlBackground(control, image);
    else
        BlitSurface(image, &control->surface, 0, 0, 0, 0);
}
