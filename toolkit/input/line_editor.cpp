// The line editor. Every change goes through the code-page-949 string routines; the editor's own rules keep
// the text and its zero byte inside the buffer (inside one slot for a log line), the caret within capacity,
// and insertions and deletions on whole characters.
#include "toolkit/input/line_editor.h"

#include "toolkit/input/line_edit.h"
#include "toolkit/window/control.h"
#include "util/dbcs_string.h"

// A trail byte of the text proper: the zero byte after a lone lead byte does not count.
bool EditOnTrail(const LineEdit& e, uint32_t at) {
    return at < e.length && ClassifyPosition(e.text, at) == kTrailByte;
}

// 2 for a lead byte whose trail is inside the text, else 1.
static uint32_t CharWidth(const LineEdit& e, uint32_t at) {
    return at + 1 < e.length && ClassifyPosition(e.text, at) == kLeadByte ? 2 : 1;
}

void EditRemeasure(LineEdit& e) {
    e.length = StringLength(e.text, e.size);
}

void EditRemove(LineEdit& e, uint32_t at, uint32_t n) {
    if (at < e.length) RecordEdit(&e.undo, e.text, at, n < e.length - at ? n : e.length - at, false);
    DeleteBytes(e.text, at, n);
}

// Inserts up to n bytes of source at `at` without pushing any byte of the text out at the end: the input is
// cut to the room left under limit, and to whole characters. Returns the bytes inserted.
uint32_t EditInsertFitting(LineEdit& e, uint32_t at, const char* source, uint32_t n, uint32_t limit) {
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
    EditRemeasure(e);
    return n;
}

uint32_t EditKeyDown(LineEdit& e, uint32_t key) {
    uint32_t& caret = e.buffer->caret;
    switch (key) {
    case vkInsert:
        e.buffer->flags ^= insertMode;
        return 0;
    case vkLeft:
        if (caret > 0) {
            caret--;
            if (EditOnTrail(e, caret)) caret--;
        }
        return redrawBits;
    case vkRight:
        if (caret < e.length) {
            caret++;
            if (EditOnTrail(e, caret)) caret++;
        }
        return redrawBits;
    case vkHome:
        caret = 0;
        return redrawBits;
    case vkEnd:
        caret = e.length;
        return redrawBits;
    case vkDelete:
        if (caret < e.length) {
            if (EditOnTrail(e, caret)) caret--; // the whole character under the caret goes
            EditRemove(e, caret, CharWidth(e, caret));
        }
        return redrawBits;
    default:
        return 0;
    }
}

static void Backspace(LineEdit& e) {
    uint32_t& caret = e.buffer->caret;
    if (caret == 0) return;
    if (e.length == 0) {
        caret = 0;
        return;
    }
    if (caret > e.length) caret = e.length;
    caret--;
    if (EditOnTrail(e, caret)) caret--;
    EditRemove(e, caret, CharWidth(e, caret));
}

static void Tab(LineEdit& e) {
    uint32_t& caret = e.buffer->caret;
    if (caret >= e.size) return;
    uint64_t stop = (static_cast<uint64_t>(caret) & ~uint64_t(3)) + 4;
    if (e.buffer->flags & insertMode) {
        uint32_t at = caret;
        if (EditOnTrail(e, at)) at++; // spaces never split a character
        uint32_t n = static_cast<uint32_t>((static_cast<uint64_t>(at) & ~uint64_t(3)) + 4 - at);
        caret = at + EditInsertFitting(e, at, "    ", n, e.size - 1);
        return;
    }
    // Overwrite: only the caret moves, to the next stop but not past the text (a caret already past it comes
    // back to the end), and never into a character.
    caret = stop < e.length ? static_cast<uint32_t>(stop) : e.length;
    if (EditOnTrail(e, caret)) caret++;
}

// Overwrite typing: the character under the caret is replaced whole; on the zero byte the text grows by one
// when the zero byte still fits after it, and a full text refuses the character.
static void Overwrite(LineEdit& e, uint32_t at, char c) {
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

uint32_t EditCharacter(LineEdit& e, WindowHandle window, WindowRecord* record, Control* owner,
                       uint32_t value) {
    EditBuffer* b = e.buffer;
    uint8_t c = static_cast<uint8_t>(value);
    switch (c) {
    case editBackspace:
        Backspace(e);
        return redrawBits;
    case editTab:
        Tab(e);
        return redrawBits;
    case editEscape:
        if (e.line || !b->escapeHandler) return 0;
        b->escapeHandler(window, record, owner, b);
        return redrawBits;
    case editEnter:
        if (e.line) {
            b->lineHandler(owner, b, lineEnter);
        } else if (b->enterHandler) {
            b->enterHandler(window, record, owner, b);
        }
        return redrawBits;
    default:
        break;
    }
    // Bytes of two-byte characters arrive only as IME results.
    if (c < 0x20 || c >= 0x80 || b->caret >= e.size) return 0;
    e.undo.typing = true;
    uint32_t at = b->caret;
    char ch[2] = {static_cast<char>(c), 0};
    if (b->flags & insertMode) {
        if (EditOnTrail(e, at)) at++;
        EditInsertFitting(e, at, ch, 1, e.line ? e.size : e.size - 1);
    } else {
        if (EditOnTrail(e, at)) at--;
        Overwrite(e, at, ch[0]);
        EditRemeasure(e);
    }
    // The caret advances even when a full text refused the character.
    b->caret = at + 1;
    if (EditOnTrail(e, b->caret)) b->caret++;
    if (!e.line) b->composition = 0;
    return redrawBits;
}

uint32_t EditImeResult(LineEdit& e, uint32_t value, int32_t count) {
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
            if (EditOnTrail(e, at)) at++;
        } else {
            // Overwrite removes as many bytes as go in, widened to whole characters.
            if (EditOnTrail(e, at)) at--;
            if (at < e.length) {
                uint32_t end = e.length - at > n ? at + n : e.length;
                if (EditOnTrail(e, end)) end++;
                EditRemove(e, at, end - at);
                EditRemeasure(e);
            }
        }
        b->caret = at + EditInsertFitting(e, at, bytes, n, e.size - 1);
    }
    b->composition = 0;
    return redrawBits;
}

// Inputs that leave a line unchanged: the caret keys, Ctrl+A and copying (Ctrl+C, Ctrl+Insert).
static bool OnlySelects(uint32_t flags, EditInputMode mode, uint32_t value, int32_t count) {
    if (mode == EditInputMode::Character) return value == 1 || value == 3;
    if (mode != EditInputMode::Key) return false;
    if (count != 0) return true;
    if (value == vkInsert) return (flags & clipboardKeys) && (HeldModifiers() & editCtrl);
    return value == vkLeft || value == vkRight || value == vkHome || value == vkEnd || value == vkShift ||
           value == vkControl;
}

uint32_t EditInput(WindowHandle window, WindowRecord* record, Control* owner, EditBuffer* buffer,
                   EditInputMode mode, uint32_t value, int32_t count) {
    if (!buffer) return 0;
    LineEdit e = {buffer, buffer->lineMode != 0 && buffer->lineHandler, nullptr, buffer->capacity, 0, {}};
    uint32_t moved = 0; // the owner scrolled its view to the line: redraw whatever happens
    if (e.line) {
        // A release changes nothing and must not move a log's view (the letters an input method takes reach
        // the program only as their releases).
        bool release = mode == EditInputMode::Key && count != 0;
        uint32_t answer = buffer->lineHandler(owner, buffer, release ? lineKeyUp : lineBeginInput);
        moved = answer & lineViewMoved ? redrawBits : 0;
        answer &= ~lineViewMoved;
        if (answer == lineReadOnly ||
            (answer == lineSelectOnly && !OnlySelects(buffer->flags, mode, value, count)))
            return redrawBits;
        if (answer != lineEdit && answer != lineSelectOnly) return moved;
    }
    if (!buffer->text || e.size == 0) return moved;
    e.text = buffer->text;
    EditRemeasure(e);
    if (e.length == e.size) e.text[--e.length] = 0; // a text without its zero byte is cut to the buffer
    if (buffer->caret > e.size) buffer->caret = e.size;
    if (buffer->history && (buffer->flags & undoKeys)) e.undo.history = buffer->history;

    uint32_t result = 0;
    if (!(buffer->flags & (selectText | clipboardKeys | undoKeys)) ||
        !EditExtendedInput(e, window, record, owner, mode, value, count, &result)) {
        switch (mode) {
        case EditInputMode::Key:
            result = count != 0 ? 0 : EditKeyDown(e, value);
            break;
        case EditInputMode::Character:
            result = EditCharacter(e, window, record, owner, value);
            break;
        case EditInputMode::ImeResult:
            result = EditImeResult(e, value, count);
            break;
        }
        // Whatever moved the caret or changed the text ends the selection.
        if ((buffer->flags & selectText) && result) buffer->selectionAnchor = buffer->caret;
    }
    // Anything else that happened ends a run of typing.
    if (buffer->history && result && !e.undo.started && !e.undo.typing) buffer->history->typing = 0;
    return result | moved;
}
