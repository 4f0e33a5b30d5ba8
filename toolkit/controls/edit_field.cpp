// Init → draw → mouse. By default the edit field has no mouse or key handlers (the routing focuses it and
// the line editor edits its buffer); the mouse handlers here are ready-made for an owner to install. It owns
// no memory and has no scroll callbacks.
#include "toolkit/controls/edit_field.h"

#include <string.h>

#include "toolkit/controls/text_painter.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/window_table.h"
#include "util/dbcs_string.h"

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

// ---- Mouse ----

// Characters of one class make a word: letters, digits, '_' and two-byte characters (Korean reads as
// Latin); spaces and tabs; everything else (punctuation).
static uint32_t CharClass(const char* text, uint32_t offset) {
    uint8_t c = static_cast<uint8_t>(text[offset]);
    if (c >= 0x80 || c == '_' || (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')) return 1;
    return c == ' ' || c == '\t' ? 2 : 3;
}

void EditFieldPlaceCaret(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y) {
    EditBuffer* b = control->editBuffer;
    if (!b || !b->text) return;
    b->caret = EditOffsetAt(control, b, x, y);
    if (!(keyState & MK_SHIFT) || !(b->flags & selectText)) b->selectionAnchor = b->caret;
    RepaintControl(window, record, control);
}

void EditFieldDragSelect(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y) {
    EditBuffer* b = control->editBuffer;
    if (!b || !b->text || record->captureControl != control || !(keyState & MK_LBUTTON)) return;
    uint32_t at = EditOffsetAt(control, b, x, y);
    if (at == b->caret) return;
    b->caret = at;
    if (!(b->flags & selectText)) b->selectionAnchor = at;
    RepaintControl(window, record, control);
}

void EditFieldSelectWord(WindowHandle window, WindowRecord* record, Control* control, uint32_t, int32_t x,
                         int32_t y) {
    EditBuffer* b = control->editBuffer;
    if (!b || !b->text) return;
    uint32_t at = EditOffsetAt(control, b, x, y);
    uint32_t length = StringLength(b->text, b->capacity);
    // The character under the pointer: after the boundary, or before it when that one is a word's end.
    if (at > 0 && (at == length || (CharClass(b->text, at) != 1 && CharClass(b->text, at - 1) == 1)))
        at -= at >= 2 && ClassifyPosition(b->text, at - 1) == kTrailByte ? 2 : 1;
    uint32_t start = 0, end = length, word = at < length ? CharClass(b->text, at) : 0;
    for (uint32_t i = 0; i < length;) {
        uint32_t next = i + (static_cast<uint8_t>(b->text[i]) > 0x80 && i + 1 < length ? 2 : 1);
        bool same = CharClass(b->text, i) == word;
        if (next <= at && !same) start = next;
        if (i > at && !same) {
            end = i;
            break;
        }
        i = next;
    }
    if (b->flags & selectText) b->selectionAnchor = start;
    b->caret = end;
    RepaintControl(window, record, control);
}

void InstallEditFieldMouse(EditField* field) {
    field->header.onLeftDown = EditFieldPlaceCaret;
    field->header.onMouseMove = EditFieldDragSelect;
    field->header.onLeftDouble = EditFieldSelectWord;
    field->header.flags |= captureOnLeft;
}
