// Undo steps in a fixed pool: recording the line editor's changes, and putting them back.
#include "toolkit/input/edit_history.h"

#include <string.h>

#include "util/dbcs_string.h"

static void Clear(EditHistory* h) {
    h->count = h->undone = h->typing = 0;
}

static uint32_t PoolUsed(const EditHistory* h) {
    if (h->count == 0) return 0;
    const EditStep& s = h->steps[h->count - 1];
    return s.offset + s.removed + s.inserted;
}

static void DropOldest(EditHistory* h) {
    uint32_t gone = h->steps[0].removed + h->steps[0].inserted;
    memmove(h->pool, h->pool + gone, PoolUsed(h) - gone);
    memmove(h->steps, h->steps + 1, (h->count - 1) * sizeof h->steps[0]);
    h->count--;
    for (uint32_t i = 0; i < h->count; i++) h->steps[i].offset -= gone;
}

// Room for n more bytes at the end of the pool, at the cost of the oldest steps but never of the last one.
static bool MakeRoom(EditHistory* h, uint32_t n) {
    while (PoolUsed(h) + n > editHistoryBytes && h->count > 1) DropOldest(h);
    return PoolUsed(h) + n <= editHistoryBytes;
}

static void StartStep(HistoryInput* input, uint32_t at) {
    EditHistory* h = input->history;
    input->started = true;
    h->count -= h->undone; // what was undone can no longer be redone
    h->undone = 0;
    const EditStep* last = h->count ? &h->steps[h->count - 1] : nullptr;
    bool extend = input->typing && h->typing && last && at == last->at + last->inserted;
    if (!extend) {
        if (h->count == editHistorySteps) DropOldest(h);
        h->steps[h->count] = {at, 0, 0, PoolUsed(h)};
        h->count++;
    }
    h->typing = input->typing;
}

void RecordEdit(HistoryInput* input, const char* text, uint32_t at, uint32_t n, bool inserted) {
    EditHistory* h = input->history;
    if (!h || n == 0) return;
    if (h->text != text) {
        Clear(h);
        h->text = text;
    }
    const EditStep* last = h->count ? &h->steps[h->count - 1] : nullptr;
    if (!input->started || !last || at != last->at + last->inserted) StartStep(input, at);
    if (!MakeRoom(h, n)) {
        Clear(h); // a step that cannot be kept whole is not kept, nor anything it depends on
        input->history = nullptr;
        return;
    }
    EditStep& s = h->steps[h->count - 1];
    char* bytes = h->pool + s.offset;
    if (inserted) {
        memcpy(bytes + s.removed + s.inserted, text + at, n);
        s.inserted += n;
    } else {
        memmove(bytes + s.removed + n, bytes + s.removed, s.inserted);
        memcpy(bytes + s.removed, text + at, n);
        s.removed += n;
    }
}

// Replaces the n bytes `present` at `at` with the m bytes `wanted`, when the text holds them and the result
// fits with its zero byte.
static bool Swap(char* text, uint32_t size, uint32_t at, const char* present, uint32_t n, const char* wanted,
                 uint32_t m) {
    uint32_t length = StringLength(text, size);
    if (at > length || n > length - at || memcmp(text + at, present, n) != 0) return false;
    if (length - n + m >= size) return false;
    DeleteBytes(text, at, n);
    InsertString(wanted, text, at, m, size);
    return true;
}

bool UndoEdit(EditHistory* h, char* text, uint32_t size, uint32_t* caret) {
    if (!h || h->text != text || h->undone >= h->count) return false;
    const EditStep& s = h->steps[h->count - 1 - h->undone];
    const char* bytes = h->pool + s.offset;
    if (!Swap(text, size, s.at, bytes + s.removed, s.inserted, bytes, s.removed)) {
        Clear(h);
        return false;
    }
    h->undone++;
    h->typing = 0;
    *caret = s.at + s.removed;
    return true;
}

bool RedoEdit(EditHistory* h, char* text, uint32_t size, uint32_t* caret) {
    if (!h || h->text != text || h->undone == 0) return false;
    const EditStep& s = h->steps[h->count - h->undone];
    const char* bytes = h->pool + s.offset;
    if (!Swap(text, size, s.at, bytes, s.removed, bytes + s.removed, s.inserted)) {
        Clear(h);
        return false;
    }
    h->undone--;
    h->typing = 0;
    *caret = s.at + s.inserted;
    return true;
}
