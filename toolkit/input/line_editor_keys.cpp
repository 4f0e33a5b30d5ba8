// The keys of the editing model that buffers opt into with their flags: selection (selectText), the
// clipboard (clipboardKeys) and undo (undoKeys); and the Shift and Ctrl state they read.
#include "toolkit/input/edit_history.h"
#include "toolkit/input/line_edit.h"
#include "toolkit/window/control.h"
#include "util/dbcs_string.h"

static uint32_t heldModifiers; // editShift and editCtrl, as the last key messages left them
static ClipboardRead lastPaste;
static LinePaste linePasting;
static bool linePasteRunning;

void NoteModifierKey(uint32_t key, bool down) {
    uint32_t bit = key == vkShift ? editShift : key == vkControl ? editCtrl : 0;
    heldModifiers = down ? heldModifiers | bit : heldModifiers & ~bit;
}

void ForgetEditorKeys() {
    heldModifiers = 0;
    lastPaste = {};
}

uint32_t HeldModifiers() {
    return heldModifiers;
}

ClipboardRead LastPasteReport() {
    return lastPaste;
}

LinePaste* LinePasteInProgress() {
    return linePasteRunning ? &linePasting : nullptr;
}

// Removes the selection, if any, leaving the caret where it began.
static bool RemoveSelection(LineEdit& e) {
    uint32_t start, end;
    if (!EditSelection(e.buffer, &start, &end)) return false;
    EditRemove(e, start, end - start);
    EditRemeasure(e);
    e.buffer->caret = e.buffer->selectionAnchor = start;
    return true;
}

static bool Copy(LineEdit& e, WindowHandle window) {
    uint32_t start, end;
    if (!EditSelection(e.buffer, &start, &end)) return false;
    return PlatformSetClipboardText(window, e.text + start, end - start) != 0;
}

// Line ends become CRs (a lone LF too) and other control characters spaces; true when a line end is there.
static bool MarkLineEnds(char* bytes, uint32_t n) {
    char before = 0;
    bool lines = false;
    for (uint32_t i = 0; i < n; i++) {
        char c = bytes[i];
        if (c == '\n' && before != '\r')
            bytes[i] = '\r';
        else if (c != '\r' && c != '\n' && static_cast<uint8_t>(c) < 0x20)
            bytes[i] = ' ';
        lines = lines || bytes[i] == '\r';
        before = c;
    }
    return lines;
}

// Offers text of several lines to the owner of a line-mode buffer. The owner moves the caret, and perhaps
// the line, itself; the undo steps cannot follow it over lines, so they are dropped. False when the owner
// leaves the paste to the editor.
static bool PasteLines(LineEdit& e, Control* owner, char* bytes, uint32_t n, bool lines) {
    if (!e.line || !lines) return false;
    linePasting = {bytes, n, 0};
    linePasteRunning = true;
    uint32_t answer = e.buffer->lineHandler(owner, e.buffer, linePaste);
    linePasteRunning = false;
    if (answer != lineEdit) return false;
    lastPaste.leftOut += linePasting.leftOut;
    if (EditHistory* h = e.buffer->history) {
        h->text = nullptr;
        h->count = h->undone = h->typing = 0;
    }
    e.undo.history = nullptr;
    e.buffer->selectionAnchor = e.buffer->caret;
    return true;
}

// The first line of the clipboard's text replaces the selection; what does not fit is left out in whole
// characters and counted in lastPaste. The owner of a log line may take every line (PasteLines).
static uint32_t Paste(LineEdit& e, WindowHandle window, Control* owner) {
    lastPaste = {0, 0};
    char probe[1];
    ClipboardRead size = {0, 0};
    PlatformGetClipboardText(window, probe, sizeof probe, &size); // nothing fits: all of it is left out
    if (size.leftOut == 0) return 0;
    char* bytes = static_cast<char*>(PlatformAllocatePages(size.leftOut + 1));
    if (!bytes) return 0;
    uint32_t n = static_cast<uint32_t>(PlatformGetClipboardText(window, bytes, size.leftOut + 1, &lastPaste));
    RemoveSelection(e);
    if (PasteLines(e, owner, bytes, n, MarkLineEnds(bytes, n))) {
        PlatformFreePages(bytes);
        return redrawBits;
    }
    uint32_t line = 0;
    while (line < n && bytes[line] != '\r') line++; // tabs and such already type as spaces
    uint32_t at = e.buffer->caret;
    if (EditOnTrail(e, at)) at++;
    uint32_t put = at < e.size ? EditInsertFitting(e, at, bytes, line, e.size - 1) : 0;
    e.buffer->caret = at + put < e.size ? at + put : e.size;
    lastPaste.leftOut += line - put;
    e.buffer->selectionAnchor = e.buffer->caret;
    PlatformFreePages(bytes);
    return redrawBits;
}

static uint32_t Undo(LineEdit& e, bool redo) {
    EditHistory* h = e.buffer->history;
    uint32_t caret = 0;
    if (!(redo ? RedoEdit(h, e.text, e.size, &caret) : UndoEdit(h, e.text, e.size, &caret))) return 0;
    e.buffer->caret = e.buffer->selectionAnchor = caret;
    EditRemeasure(e);
    return redrawBits;
}

// Typing over a selection inserts whatever the insert mode.
static uint32_t Replace(LineEdit& e, EditInputMode mode, WindowHandle window, WindowRecord* record,
                        Control* owner, uint32_t value, int32_t count) {
    e.undo.typing = true; // the replaced text and what is typed after it go in one step
    RemoveSelection(e);
    uint32_t mode0 = e.buffer->flags & insertMode;
    e.buffer->flags |= insertMode;
    uint32_t result = mode == EditInputMode::Character ? EditCharacter(e, window, record, owner, value)
                                                       : EditImeResult(e, value, count);
    e.buffer->flags = (e.buffer->flags & ~insertMode) | mode0;
    e.buffer->selectionAnchor = e.buffer->caret;
    return redrawBits | result;
}

// Inputs that only buffers with selectText, clipboardKeys or undoKeys take; false for every other input.
bool EditExtendedInput(LineEdit& e, WindowHandle window, WindowRecord* record, Control* owner,
                       EditInputMode mode, uint32_t value, int32_t count, uint32_t* result) {
    EditBuffer* b = e.buffer;
    uint32_t flags = b->flags;
    bool shift = heldModifiers & editShift, ctrl = heldModifiers & editCtrl;
    uint32_t start, end;
    bool selected = EditSelection(b, &start, &end);
    if (mode == EditInputMode::Key) {
        if (count != 0) return false;
        if ((flags & clipboardKeys) &&
            ((value == vkInsert && (ctrl || shift)) || (value == vkDelete && shift))) {
            if (value == vkInsert && ctrl) {
                Copy(e, window);
                *result = 0;
            } else if (value == vkInsert) {
                *result = Paste(e, window, owner);
            } else {
                *result = Copy(e, window) && RemoveSelection(e) ? redrawBits : 0;
            }
            return true;
        }
        if (!(flags & selectText)) return false;
        if (value == vkLeft || value == vkRight || value == vkHome || value == vkEnd) {
            uint32_t anchor = b->selectionAnchor;
            if (!shift && selected && (value == vkLeft || value == vkRight)) {
                b->caret = value == vkLeft ? start : end; // an arrow without Shift ends the selection
            } else {
                EditKeyDown(e, value);
            }
            b->selectionAnchor = shift ? anchor : b->caret;
            *result = redrawBits;
            return true;
        }
        if (value == vkDelete && selected) {
            RemoveSelection(e);
            *result = redrawBits;
            return true;
        }
        return false;
    }
    if (mode == EditInputMode::ImeResult) {
        if (!selected || count <= 0 || (value & 0xFF) == 0) return false;
        *result = Replace(e, mode, window, record, owner, value, count);
        return true;
    }
    uint8_t c = static_cast<uint8_t>(value);
    if ((flags & selectText) && c == 1) { // Ctrl+A
        b->selectionAnchor = 0;
        b->caret = e.length;
        *result = redrawBits;
        return true;
    }
    if ((flags & clipboardKeys) && (c == 3 || c == 22 || c == 24)) { // Ctrl+C, Ctrl+V, Ctrl+X
        if (c == 3) {
            Copy(e, window);
            *result = 0;
        } else {
            *result = c == 22                                 ? Paste(e, window, owner)
                      : Copy(e, window) && RemoveSelection(e) ? redrawBits
                                                              : 0;
        }
        return true;
    }
    if ((flags & undoKeys) && (c == 25 || c == 26)) { // Ctrl+Y, Ctrl+Z (with Shift: redo)
        *result = Undo(e, c == 25 || shift);
        return true;
    }
    if (!selected) return false;
    if (c == editBackspace) {
        RemoveSelection(e);
        *result = redrawBits;
        return true;
    }
    if (c == editTab || (c >= 0x20 && c < 0x80)) {
        *result = Replace(e, mode, window, record, owner, value, count);
        return true;
    }
    return false;
}
