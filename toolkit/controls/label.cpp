// Record → init → draw. The label has no mouse, key or destroy handlers: a press on it is swallowed by the
// routing, which finds no handler.
#include "toolkit/controls/label.h"

#include <string.h>

#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/text.h"
#include "util/dbcs_string.h"

static const ControlDescriptor labelKind = {
    kindLabel, sizeof(Label), redrawBits, 0xBFBFBF, {}, nullptr, nullptr,
};

// ---- Init ----

void InitLabel(Label* label, const Extent* extent, uint32_t textColour, uint32_t backgroundColour,
               const LogFont* font, const char* caption, Surface* const* images, uint32_t flags, uint32_t) {
    InitControlHeader(&label->header, &labelKind, extent, flags);
    label->header.backgroundColour = backgroundColour;
    label->textColour = textColour;
    label->font = font;
    label->iconIndex = 0;
    label->textInset = 0;
    label->backgroundImage = images ? images[0] : nullptr;
    for (uint32_t i = 0; i < labelIcons; i++) label->icons[i] = images ? images[i + 1] : nullptr;
    memset(label->caption, 0, sizeof label->caption);
    if (caption) CopyString(caption, label->caption, labelCaptionSize - 1);
}

// ---- Draw ----

void DrawLabel(WindowRecord*, Control* control) {
    Label* label = reinterpret_cast<Label*>(control);
    Surface* own = &control->surface;
    int32_t width = own->width, height = own->height;
    PaintControlBackground(control, label->backgroundImage);
    int32_t textLeft = 1;
    Surface* icon = label->iconIndex < labelIcons ? label->icons[label->iconIndex] : nullptr;
    if (icon) {
        textLeft += icon->width;
        BlitSurface(icon, own, 1, 1, 0, 0);
    }
    // A box without room draws no caption: an extent of negative size would turn into one beside it.
    int64_t inset = label->textInset;
    int64_t boxWidth = static_cast<int64_t>(width) - textLeft,
            boxHeight = static_cast<int64_t>(height) - 1 - 2 * inset;
    if (label->caption[0] && boxWidth > 0 && boxHeight > 0) {
        if (inset < -height) inset = -height; // the same picture, with sums in range
        Extent box = {textLeft, static_cast<int32_t>(1 + inset), static_cast<int32_t>(boxWidth),
                      static_cast<int32_t>(height - 1 - 2 * inset)};
        DrawTextInSurface(label->caption, label->font, own, &box, label->textColour, 0,
                          transparentText | growBox | wordBreak);
    }
    DrawControlFrame(control, Theme[borderLightColour], Theme[borderDarkColour]);
}
