// The one routine that fills a control header from its kind's descriptor.
#include <string.h>

#include "toolkit/window/control.h"

void InitControlHeader(Control* control, const ControlDescriptor* kind, const Extent* placement,
                       uint32_t flags) {
    memset(static_cast<void*>(control), 0, sizeof *control);
    control->recordSize = kind->recordSize;
    control->kind = kind->kind;
    control->x = placement->x;
    control->y = placement->y;
    control->flags = flags | kind->flags;
    control->backgroundColour = kind->backgroundColour;
    control->onMouseMove = kind->mouse[mouseMove / 4];
    control->onLeftDown = kind->mouse[mouseLeftDown / 4];
    control->onLeftUp = kind->mouse[mouseLeftUp / 4];
    control->onLeftDouble = kind->mouse[mouseLeftDouble / 4];
    control->onRightDown = kind->mouse[mouseRightDown / 4];
    control->onRightUp = kind->mouse[mouseRightUp / 4];
    control->onRightDouble = kind->mouse[mouseRightDouble / 4];
    control->onKey = kind->onKey;
    control->onDestroy = kind->onDestroy;
    if (kind->flags & drawsOnWindow) {
        // No pixels of its own: the size alone says where it draws on the window.
        control->surface.width = placement->width;
        control->surface.height = placement->height;
        return;
    }
    CreateSurface(static_cast<uint32_t>(placement->width > 0 ? placement->width : 0), placement->height,
                  &control->surface, nullptr);
}
