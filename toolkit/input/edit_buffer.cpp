// The selection of an edit buffer, as the painter and the line editor read it.
#include "toolkit/input/edit_buffer.h"

#include "util/dbcs_string.h"

bool EditSelection(const EditBuffer* buffer, uint32_t* start, uint32_t* end) {
    *start = *end = 0;
    if (!buffer || !(buffer->flags & selectText) || !buffer->text) return false;
    uint32_t length = StringLength(buffer->text, buffer->capacity);
    uint32_t a = buffer->selectionAnchor < length ? buffer->selectionAnchor : length;
    uint32_t c = buffer->caret < length ? buffer->caret : length;
    *start = a < c ? a : c;
    *end = a < c ? c : a;
    // An end left inside a character (the owner may put the caret anywhere) takes the whole character.
    if (*start < length && ClassifyPosition(buffer->text, *start) == kTrailByte) --*start;
    if (*end < length && ClassifyPosition(buffer->text, *end) == kTrailByte) ++*end;
    return *start < *end;
}
