// Record → init → draw. The edit field has no mouse or key handlers of its own (the routing focuses it and
// the line editor edits its buffer), owns no memory and does not scroll.
#include "toolkit/controls/edit_field.h"

#include <string.h>

#include "toolkit/controls/text_painter.h"
#include "toolkit/gfx/draw.h"

static const ControlDescriptor editFieldKind = {
    kindEditField, sizeof(EditField), takesFocus | redrawBits, 0xBFBFBF, {}, nullptr, nullptr,
};

// ---- Init ----

void InitEditField(EditField* field, const Extent* extent, uint32_t flags, char* text, uint32_t capacity) {
    InitControlHeader(&field->header, &editFieldKind, extent, flags);
    field->header.editBuffer = &field->edit;
    // Spacing, the reserved words and the composition start at zero: no spacing and no overlay.
    memset(static_cast<void*>(&field->edit), 0, sizeof field->edit);
    EditBuffer* b = &field->edit;
    b->flags = insertMode;
    b->text = text;
    b->caret = 0;
    b->capacity = capacity;
    b->lineMode = 0;
    b->enterHandler = nullptr;
    b->textColour = 0x000000;
    b->backColour = 0xBFBFBF;
    b->font = nullptr;
    b->originX = b->originY = 0;
}

// ---- Draw ----

void DrawEditField(WindowRecord* window, Control* control) {
    PaintControlBackground(control, nullptr);
    PaintEditText(window, control, &reinterpret_cast<EditField*>(control)->edit);
    DrawControlFrame(control, Theme[borderLightColour], Theme[borderDarkColour]);
}
