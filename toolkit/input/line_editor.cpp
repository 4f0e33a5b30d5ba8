// The line editor. Every change goes through the code-page-949 string routines; the editor's own rules keep
// the text and its zero byte inside the buffer (inside one slot for a log line), the caret within capacity,
// and insertions and deletions on whole characters.
#include "toolkit/input/line_editor.h"

#include "toolkit/input/edit_history.h"
#include "toolkit/window/control.h"
#include "util/dbcs_string.h"

static const uint32_t kRedraw = redrawBits;

namespace {
struct Edit {
    EditBuffer* buffer;
    bool line; // a line of a larger store, whose owner splits it on Enter
    char* text;
    uint32_t size;
    uint32_t length;
    HistoryInput undo; // the input's changes, for undo
};
} // namespace

static uint32_t heldModifiers; // editShift and editCtrl, as the last key messages left them
static ClipboardRead lastPaste;

void NoteModifierKey(uint32_t key, bool down) {
    uint32_t bit = key == vkShift ? uint32_t(editShift) : key == vkControl ? uint32_t(editCtrl) : 0u;
    heldModifiers = down ? heldModifiers | bit : heldModifiers & ~bit;
}

uint32_t HeldModifiers() {
    return heldModifiers;
}

ClipboardRead LastPasteReport() {
    return lastPaste;
}

// A trail byte of the text proper: the zero byte after a lone lead byte does not count.
static bool IsTrail(const Edit& e, uint32_t at) {
    return at < e.length && ClassifyPosition(e.text, at) == kTrailByte;
}

// 2 for a lead byte whose trail is inside the text, else 1.
static uint32_t CharWidth(const Edit& e, uint32_t at) {
    return at + 1 < e.length && ClassifyPosition(e.text, at) == kLeadByte ? 2 : 1;
}

static void Remeasure(Edit& e) {
    e.length = StringLength(e.text, e.size);
}

static void Remove(Edit& e, uint32_t at, uint32_t n) {
    if (at < e.length) RecordEdit(&e.undo, e.text, at, n < e.length - at ? n : e.length - at, false);
    DeleteBytes(e.text, at, n);
}

// Inserts up to n bytes of source at `at` without pushing any byte of the text out at the end: the input is
// cut to the room left under limit, and to whole characters. Returns the bytes inserted.
static uint32_t InsertFitting(Edit& e, uint32_t at, const char* source, uint32_t n, uint32_t limit) {
    uint32_t used = at > e.length ? at : e.length;
    uint32_t room = used + 1 < limit ? limit - 1 - used : 0;
    if (n > room) {
        n = room;
        if (n > 0 && ClassifyPosition(source, n) == kTrailByte) n--;
    }
    if (n == 0) return 0;
    InsertString(source, e.text, at, n, limit);
    uint32_t from = at < e.length ? at : e.length; // spaces that filled a gap count as inserted too
    RecordEdit(&e.undo, e.text, from, at + n - from, true);
    Remeasure(e);
    return n;
}

static uint32_t KeyDown(Edit& e, uint32_t key) {
    uint32_t& caret = e.buffer->caret;
    switch (key) {
    case vkInsert:
        e.buffer->flags ^= insertMode;
        return 0;
    case vkLeft:
        if (caret > 0) {
            caret--;
            if (IsTrail(e, caret)) caret--;
        }
        return kRedraw;
    case vkRight:
        if (caret < e.length) {
            caret++;
            if (IsTrail(e, caret)) caret++;
        }
        return kRedraw;
    case vkHome:
        caret = 0;
        return kRedraw;
    case vkEnd:
        caret = e.length;
        return kRedraw;
    case vkDelete:
        if (caret < e.length) {
            if (IsTrail(e, caret)) caret--; // the whole character under the caret goes
            Remove(e, caret, CharWidth(e, caret));
        }
        return kRedraw;
    default:
        return 0;
    }
}

static void Backspace(Edit& e) {
    uint32_t& caret = e.buffer->caret;
    if (caret == 0) return;
    if (e.length == 0) {
        caret = 0;
        return;
    }
    if (caret > e.length) caret = e.length;
    caret--;
    if (IsTrail(e, caret)) caret--;
    Remove(e, caret, CharWidth(e, caret));
}

static void Tab(Edit& e) {
    uint32_t& caret = e.buffer->caret;
    if (caret >= e.size) return;
    uint64_t stop = (static_cast<uint64_t>(caret) & ~uint64_t(3)) + 4;
    if (e.buffer->flags & insertMode) {
        uint32_t at = caret;
        if (IsTrail(e, at)) at++; // spaces never split a character
        uint32_t n = static_cast<uint32_t>((static_cast<uint64_t>(at) & ~uint64_t(3)) + 4 - at);
        caret = at + InsertFitting(e, at, "    ", n, e.size - 1);
        return;
    }
    // Overwrite: only the caret moves, to the next stop but not past the text (a caret already past it comes
    // back to the end), and never into a character.
    caret = stop < e.length ? static_cast<uint32_t>(stop) : e.length;
    if (IsTrail(e, caret)) caret++;
}

// Overwrite typing: the character under the caret is replaced whole; on the zero byte the text grows by one
// when the zero byte still fits after it, and a full text refuses the character.
static void Overwrite(Edit& e, uint32_t at, char c) {
    if (at == e.length) {
        if (at + 1 >= e.size) return;
        e.text[at + 1] = 0;
        e.text[at] = c;
        RecordEdit(&e.undo, e.text, at, 1, true);
    } else if (at > e.length) {
        e.text[at] = c; // past the zero byte: the visible text does not change
    } else if (CharWidth(e, at) == 2) {
        RecordEdit(&e.undo, e.text, at, 2, false);
        e.text[at] = c;
        e.text[at + 1] = ' ';
        RecordEdit(&e.undo, e.text, at, 2, true);
    } else {
        RecordEdit(&e.undo, e.text, at, 1, false);
        e.text[at] = c;
        RecordEdit(&e.undo, e.text, at, 1, true);
    }
}

static uint32_t Character(Edit& e, WindowHandle window, WindowRecord* record, Control* owner,
                          uint32_t value) {
    EditBuffer* b = e.buffer;
    uint8_t c = static_cast<uint8_t>(value);
    switch (c) {
    case editBackspace:
        Backspace(e);
        return kRedraw;
    case editTab:
        Tab(e);
        return kRedraw;
    case editEnter:
        if (e.line) {
            b->lineHandler(owner, b, lineEnter);
        } else if (b->enterHandler) {
            b->enterHandler(window, record, owner, b);
        }
        return kRedraw;
    default:
        break;
    }
    // Bytes of two-byte characters arrive only as IME results.
    if (c < 0x20 || c >= 0x80 || b->caret >= e.size) return 0;
    e.undo.typing = true;
    uint32_t at = b->caret;
    char ch[2] = {static_cast<char>(c), 0};
    if (b->flags & insertMode) {
        if (IsTrail(e, at)) at++;
        InsertFitting(e, at, ch, 1, e.line ? e.size : e.size - 1);
    } else {
        if (IsTrail(e, at)) at--;
        Overwrite(e, at, ch[0]);
        Remeasure(e);
    }
    // The caret advances even when a full text refused the character.
    b->caret = at + 1;
    if (IsTrail(e, b->caret)) b->caret++;
    if (!e.line) b->composition = 0;
    return kRedraw;
}

static uint32_t ImeResult(Edit& e, uint32_t value, int32_t count) {
    EditBuffer* b = e.buffer;
    if (count < 0) return 0; // the input method failed: nothing changes
    char bytes[5] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                     static_cast<char>(value >> 24), 0};
    uint32_t n = StringLength(bytes, count < 4 ? static_cast<uint32_t>(count) : 4);
    if (n > 0 && ClassifyPosition(bytes, n - 1) == kLeadByte) n--; // half a character is not inserted
    if (n > 0) {
        e.undo.typing = true;
        uint32_t at = b->caret;
        if (b->flags & insertMode) {
            if (IsTrail(e, at)) at++;
        } else {
            // Overwrite removes as many bytes as go in, widened to whole characters.
            if (IsTrail(e, at)) at--;
            if (at < e.length) {
                uint32_t end = e.length - at > n ? at + n : e.length;
                if (IsTrail(e, end)) end++;
                Remove(e, at, end - at);
                Remeasure(e);
            }
        }
        b->caret = at + InsertFitting(e, at, bytes, n, e.size - 1);
    }
    b->composition = 0;
    return kRedraw;
}

// ---- Selection, clipboard and undo (buffers that opt in with their flags) ----

// Removes the selection, if any, leaving the caret where it began.
static bool RemoveSelection(Edit& e) {
    uint32_t start, end;
    if (!EditSelection(e.buffer, &start, &end)) return false;
    Remove(e, start, end - start);
    Remeasure(e);
    e.buffer->caret = e.buffer->selectionAnchor = start;
    return true;
}

static bool Copy(Edit& e, WindowHandle window) {
    uint32_t start, end;
    if (!EditSelection(e.buffer, &start, &end)) return false;
    return PlatformSetClipboardText(window, e.text + start, end - start) != 0;
}

// The first line of the clipboard's text replaces the selection; what does not fit is left out in whole
// characters and counted in lastPaste.
static uint32_t Paste(Edit& e, WindowHandle window) {
    lastPaste = {0, 0};
    char probe[1];
    ClipboardRead size = {0, 0};
    PlatformGetClipboardText(window, probe, sizeof probe, &size); // nothing fits: all of it is left out
    if (size.leftOut == 0) return 0;
    char* bytes = static_cast<char*>(PlatformAllocatePages(size.leftOut + 1));
    if (!bytes) return 0;
    uint32_t n = static_cast<uint32_t>(PlatformGetClipboardText(window, bytes, size.leftOut + 1, &lastPaste));
    uint32_t line = 0;
    while (line < n && bytes[line] != '\r' && bytes[line] != '\n') {
        if (static_cast<uint8_t>(bytes[line]) < 0x20) bytes[line] = ' '; // tabs and such type as spaces
        line++;
    }
    RemoveSelection(e);
    uint32_t at = e.buffer->caret;
    if (IsTrail(e, at)) at++;
    uint32_t put = at < e.size ? InsertFitting(e, at, bytes, line, e.size - 1) : 0;
    e.buffer->caret = at + put < e.size ? at + put : e.size;
    lastPaste.leftOut += line - put;
    e.buffer->selectionAnchor = e.buffer->caret;
    PlatformFreePages(bytes);
    return kRedraw;
}

static uint32_t Undo(Edit& e, bool redo) {
    EditHistory* h = e.buffer->history;
    uint32_t caret = 0;
    if (!(redo ? RedoEdit(h, e.text, e.size, &caret) : UndoEdit(h, e.text, e.size, &caret))) return 0;
    e.buffer->caret = e.buffer->selectionAnchor = caret;
    Remeasure(e);
    return kRedraw;
}

// Typing over a selection inserts whatever the insert mode.
static uint32_t Replace(Edit& e, EditInputMode mode, WindowHandle window, WindowRecord* record,
                        Control* owner, uint32_t value, int32_t count) {
    e.undo.typing = true; // the replaced text and what is typed after it go in one step
    RemoveSelection(e);
    uint32_t mode0 = e.buffer->flags & insertMode;
    e.buffer->flags |= insertMode;
    uint32_t result = mode == EditInputMode::Character ? Character(e, window, record, owner, value)
                                                       : ImeResult(e, value, count);
    e.buffer->flags = (e.buffer->flags & ~insertMode) | mode0;
    e.buffer->selectionAnchor = e.buffer->caret;
    return kRedraw | result;
}

// Inputs that only buffers with selectText, clipboardKeys or undoKeys take; false for every other input.
static bool Extended(Edit& e, WindowHandle window, WindowRecord* record, Control* owner, EditInputMode mode,
                     uint32_t value, int32_t count, uint32_t* result) {
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
                *result = Paste(e, window);
            } else {
                *result = Copy(e, window) && RemoveSelection(e) ? kRedraw : 0;
            }
            return true;
        }
        if (!(flags & selectText)) return false;
        if (value == vkLeft || value == vkRight || value == vkHome || value == vkEnd) {
            uint32_t anchor = b->selectionAnchor;
            if (!shift && selected && (value == vkLeft || value == vkRight)) {
                b->caret = value == vkLeft ? start : end; // an arrow without Shift ends the selection
            } else {
                KeyDown(e, value);
            }
            b->selectionAnchor = shift ? anchor : b->caret;
            *result = kRedraw;
            return true;
        }
        if (value == vkDelete && selected) {
            RemoveSelection(e);
            *result = kRedraw;
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
        *result = kRedraw;
        return true;
    }
    if ((flags & clipboardKeys) && (c == 3 || c == 22 || c == 24)) { // Ctrl+C, Ctrl+V, Ctrl+X
        if (c == 3) {
            Copy(e, window);
            *result = 0;
        } else {
            *result = c == 22 ? Paste(e, window) : Copy(e, window) && RemoveSelection(e) ? kRedraw : 0;
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
        *result = kRedraw;
        return true;
    }
    if (c == editTab || (c >= 0x20 && c < 0x80)) {
        *result = Replace(e, mode, window, record, owner, value, count);
        return true;
    }
    return false;
}

uint32_t EditInput(WindowHandle window, WindowRecord* record, Control* owner, EditBuffer* buffer,
                   EditInputMode mode, uint32_t value, int32_t count) {
    if (!buffer) return 0;
    Edit e = {buffer, buffer->lineMode != 0 && buffer->lineHandler, nullptr, buffer->capacity, 0, {}};
    if (e.line) {
        uint32_t answer = buffer->lineHandler(owner, buffer, lineBeginInput);
        if (answer == lineReadOnly) return kRedraw;
        if (answer != lineEdit) return 0;
    }
    if (!buffer->text || e.size == 0) return 0;
    e.text = buffer->text;
    Remeasure(e);
    if (e.length == e.size) e.text[--e.length] = 0; // a text without its zero byte is cut to the buffer
    if (buffer->caret > e.size) buffer->caret = e.size;
    if (buffer->history && (buffer->flags & undoKeys)) e.undo.history = buffer->history;

    uint32_t result = 0;
    if (!(buffer->flags & (selectText | clipboardKeys | undoKeys)) ||
        !Extended(e, window, record, owner, mode, value, count, &result)) {
        switch (mode) {
        case EditInputMode::Key:
            result = count != 0 ? 0 : KeyDown(e, value);
            break;
        case EditInputMode::Character:
            result = Character(e, window, record, owner, value);
            break;
        case EditInputMode::ImeResult:
            result = ImeResult(e, value, count);
            break;
        }
        // Whatever moved the caret or changed the text ends the selection.
        if ((buffer->flags & selectText) && result) buffer->selectionAnchor = buffer->caret;
    }
    // Anything else that happened ends a run of typing.
    if (buffer->history && result && !e.undo.started && !e.undo.typing) buffer->history->typing = 0;
    return result;
}
