#include "toolkit/gfx/text.h"

void MeasureText(WindowHandle window, const LogFont* font, const char* text, int32_t length, TextSize* size) {
    int32_t width = 0, height = 0;
    if (text && length > 0) {
        PlatformMeasureText(window, font, text, length, &width, &height);
    } else {
        // The height of an empty run is still the font's line height.
        PlatformMeasureText(window, font, "", 0, &width, &height);
        width = 0;
    }
    size->cx = width;
    size->cy = height;
}

void DrawTextInSurface(const char* text, const LogFont* font, Surface* surface, const Extent* box,
                       uint32_t textColour, uint32_t backgroundColour, uint32_t flags) {
    if (!text || !surface || !box) return;
    TextContext context = PlatformOpenText(drawingWindow, surface, font);
    if (!context) return;
    Extent grown = *box;
    if (flags & growBox) {
        grown.width = static_cast<int32_t>(static_cast<uint32_t>(grown.width) + 1);
        grown.height = static_cast<int32_t>(static_cast<uint32_t>(grown.height) + 1);
    }
    Bounds bounds;
    ExtentToBounds(&grown, &bounds);
    // The platform takes these four values as a rectangle whose right and bottom edges are exclusive.
    PlatformRect rect = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    uint32_t mode = 0;
    if (!(flags & transparentText)) mode |= platformTextOpaque;
    if (flags & wordBreak) mode |= platformTextWordBreak;
    PlatformDrawText(context, text, -1, &rect, textColour, backgroundColour, mode);
    PlatformCloseText(context);
}
