// The line editor. Every change goes through the code-page-949 string routines; the editor's own rules keep
// the text and its zero byte inside the buffer (inside one slot for a log line), the caret within capacity,
// and insertions and deletions on whole characters.
#include "toolkit/input/line_editor.h"

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
};
} // namespace

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
            DeleteBytes(e.text, caret, CharWidth(e, caret));
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
    DeleteBytes(e.text, caret, CharWidth(e, caret));
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
    } else if (at > e.length) {
        e.text[at] = c; // past the zero byte: the visible text does not change
    } else if (CharWidth(e, at) == 2) {
        e.text[at] = c;
        e.text[at + 1] = ' ';
    } else {
        e.text[at] = c;
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
        uint32_t at = b->caret;
        if (b->flags & insertMode) {
            if (IsTrail(e, at)) at++;
        } else {
            // Overwrite removes as many bytes as go in, widened to whole characters.
            if (IsTrail(e, at)) at--;
            if (at < e.length) {
                uint32_t end = e.length - at > n ? at + n : e.length;
                if (IsTrail(e, end)) end++;
                DeleteBytes(e.text, at, end - at);
                Remeasure(e);
            }
        }
        b->caret = at + InsertFitting(e, at, bytes, n, e.size - 1);
    }
    b->composition = 0;
    return kRedraw;
}

uint32_t EditInput(WindowHandle window, WindowRecord* record, Control* owner, EditBuffer* buffer,
                   EditInputMode mode, uint32_t value, int32_t count) {
    if (!buffer) return 0;
    Edit e = {buffer, buffer->lineMode != 0 && buffer->lineHandler, nullptr, buffer->capacity, 0};
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

    switch (mode) {
    case EditInputMode::Key:
        return count != 0 ? 0 : KeyDown(e, value);
    case EditInputMode::Character:
        return Character(e, window, record, owner, value);
    case EditInputMode::ImeResult:
        return ImeResult(e, value, count);
    }
    return 0;
}
