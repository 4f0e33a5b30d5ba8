// Random sequences of editor input (every mode, key and character, IME results with odd counts, Enter in log
// lines) on random texts in plain buffers and text logs, mixed with line-store operations. Plain buffers are
// heap blocks of exactly their capacity and log lines come from the page allocator, so AddressSanitizer
// reports any byte written or read outside them; the editor's invariants are checked after every input.
#include "fuzz/fuzz_input.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "toolkit/controls/text_log.h"
#include "toolkit/input/edit_history.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/platform/headless/headless.h"
#include "util/dbcs_string.h"

namespace {

typedef FuzzInput Input;

} // namespace

// Bytes that exercise the character classes: letters (also trail bytes), 0x80, lead bytes, control bytes.
static char TextByte(Input& in) {
    static const uint8_t kinds[] = {'a', 'Z', ' ', 0x41, 0x7A, 0x80, 0x81, 0xB0, 0xA1, 0xC7, 0xFF, 0x0D};
    uint8_t b = in.Byte();
    return static_cast<char>(b & 0x80 ? kinds[b % sizeof kinds] : (b & 0x7F) | 0x01);
}

static const uint32_t keys[] = {vkLeft, vkRight, vkHome, vkEnd, vkDelete,         vkInsert, vkUp,
                                vkDown, vkPrior, vkNext, 0,     0x10000 | vkLeft, vkShift,  vkControl};
namespace {

struct Editor {
    bool plain;
    Control control;
    EditBuffer plainEdit;
    char* bytes = nullptr; // the plain buffer
    TextLog log;
    EditHistory history;

    EditBuffer* Buffer() { return plain ? &plainEdit : &log.edit; }
    Control* Owner() { return plain ? &control : &log.header; }
    uint32_t Size() { return Buffer()->capacity; }
    // The text the editor works on: the current line for a log.
    char* Text() {
        if (plain) return bytes;
        return log.lines && log.currentLine < log.maxLines ? TextLogLine(&log, log.currentLine) : nullptr;
    }
    bool ReadOnly() { return !plain && (log.header.flags & textLogReadOnly); }
};

} // namespace

// An edit field's typical Enter: take the line and start afresh.
static void ClearOnEnter(WindowHandle, WindowRecord*, Control*, EditBuffer* buffer) {
    if (buffer->capacity) buffer->text[0] = 0;
    buffer->caret = 0;
}

static void FillText(Input& in, char* text, uint32_t size) {
    if (size == 0) return;
    uint32_t n = in.Byte() % size;
    for (uint32_t i = 0; i < n; i++) text[i] = TextByte(in);
    text[n] = 0;
}

static std::string Str(const char* text, uint32_t size) {
    return text ? std::string(text, strnlen(text, size)) : std::string();
}

static void CheckLog(Editor& e) {
    TextLog& log = e.log;
    if (!log.lines) {
        CHECK(log.lineCount == 0 && log.maxLines == 0);
        return;
    }
    CHECK(log.lineCount <= log.maxLines);
    CHECK(log.currentLine < log.maxLines);
    for (uint32_t i = 0; i < log.maxLines; i++) CHECK(memchr(TextLogLine(&log, i), 0, log.edit.capacity));
}

static bool OnTrail(const char* text, uint32_t size, uint32_t caret) {
    return caret < StringLength(text, size) && ClassifyPosition(text, caret) == kTrailByte;
}

static void Step(Editor& e, Input& in) {
    EditBuffer* b = e.Buffer();
    uint8_t op = in.Byte();
    EditInputMode mode = EditInputMode::Character;
    uint32_t value = 0;
    int32_t count = 1;
    bool moves = false; // a caret movement or a deletion
    switch (op % 10) {
    case 0:
    case 1:
        value = static_cast<uint8_t>(TextByte(in));
        break;
    case 2:
        value = in.Byte(); // any character byte, control bytes and 0x80+ included
        break;
    case 3: {
        static const uint32_t special[] = {editBackspace, editTab, editEnter, editBackspace, editTab};
        value = special[in.Byte() % 5];
        moves = value == editBackspace;
        break;
    }
    case 4:
    case 5: {
        mode = EditInputMode::Key;
        value = keys[in.Byte() % (sizeof keys / sizeof keys[0])];
        count = (op & 0x80) ? 1 : 0;
        if (value == vkShift || value == vkControl) NoteModifierKey(value, count == 0);
        moves = count == 0 && (value == vkLeft || value == vkRight || value == vkHome || value == vkEnd ||
                               value == vkDelete);
        break;
    }
    case 6: {
        mode = EditInputMode::ImeResult;
        for (int i = 0; i < 4; i++)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(TextByte(in))) << (8 * i);
        if (in.Byte() & 1) value &= 0xFFFF;
        count = static_cast<int32_t>(in.Byte() % 8) - 2;
        break;
    }
    case 7:
        b->caret = in.Byte() % (e.Size() + 4); // the owner may leave the caret anywhere, even past capacity
        return;
    case 8:
        if (e.plain) {
            b->flags ^= insertMode;
            return;
        }
        switch (in.Byte() % 7) { // the application or a click changes the log under the editor
        case 0:
            if (e.log.lineCount) e.log.currentLine = in.Byte() % e.log.lineCount;
            break;
        case 1:
            DeleteTextLogLines(&e.log, in.Byte() % 8, in.Byte() % 4);
            break;
        case 2:
            InsertTextLogLines(&e.log, in.Byte() % 8, in.Byte() % 4);
            break;
        case 3: {
            char line[40];
            FillText(in, line, sizeof line);
            AddTextLogLine(&e.log, in.Byte() % 10, line, in.Byte() % 4);
            break;
        }
        case 4: {
            char text[32];
            FillText(in, text, sizeof text);
            uint32_t max = in.Byte() % 40;
            InsertTextLogText(&e.log, text, max, in.Byte() % 8, in.Byte() % 12);
            break;
        }
        case 5:
            ResetTextLog(&e.log);
            break;
        default:
            e.log.header.flags ^= textLogReadOnly;
            break;
        }
        CheckLog(e);
        return;
    default:
        mode = EditInputMode::Character;
        value = 'a' + in.Byte() % 26;
        break;
    }

    uint32_t size = e.Size();
    std::string before = Str(e.Text(), size);
    std::string whole = e.plain || !e.log.lines ? before : std::string(e.log.lines, e.log.maxLines * size);
    uint32_t caret = b->caret;
    bool insert = b->flags & insertMode;
    uint32_t lineBefore = e.plain ? 0 : e.log.currentLine;
    uint32_t start, end;
    EditBuffer probe = *b; // as the editor will see it: a log points text at its current line first
    probe.text = e.Text();
    bool selected = probe.text && EditSelection(&probe, &start, &end); // typing replaces it

    uint32_t result = EditInput(0, nullptr, e.Owner(), b, mode, value, count);
    CHECK(result == 0 || result == 0x30);

    if (e.ReadOnly()) {
        CHECK(result == 0x30);
        if (e.log.lines) CHECK(std::string(e.log.lines, e.log.maxLines * size) == whole);
        CHECK(b->caret == caret && e.log.currentLine == lineBefore);
        return;
    }
    if (!e.plain) CheckLog(e);
    char* text = e.Text();
    if (!text || size == 0) return;
    if (!e.plain) CHECK(b->text == text);
    CHECK(memchr(text, 0, size));
    CHECK(b->caret <= size);
    // Whatever moved the caret or changed the text leaves it on a character boundary.
    std::string after = Str(text, size);
    if (moves || after != before) CHECK(!OnTrail(text, size, b->caret));

    // Insert-mode typing and IME results add bytes at the caret but never push the old text out.
    bool adds = (mode == EditInputMode::Character && value >= 0x20 && value < 0x80) ||
                (mode == EditInputMode::ImeResult && count > 0) ||
                (mode == EditInputMode::Character && value == editTab);
    if (insert && adds && !selected && caret <= before.size() && !OnTrail(before.c_str(), size, caret)) {
        CHECK(after.size() >= before.size());
        CHECK(after.compare(0, caret, before, 0, caret) == 0);
        CHECK(after.compare(after.size() - (before.size() - caret), std::string::npos, before, caret) == 0);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in = {data, size};
    Editor e;
    memset(&e.control, 0, sizeof e.control);
    memset(&e.plainEdit, 0, sizeof e.plainEdit);
    memset(&e.log, 0, sizeof e.log);
    uint8_t setup = in.Byte();
    e.plain = setup & 1;
    if (e.plain) {
        uint32_t capacity = in.Byte() % 24;
        e.bytes = new char[capacity ? capacity : 1];
        FillText(in, e.bytes, capacity);
        e.control.kind = kindEditField;
        e.control.editBuffer = &e.plainEdit;
        e.plainEdit.text = e.bytes;
        e.plainEdit.capacity = capacity;
        e.plainEdit.lineMode = (setup & 8) ? 1 : 0; // lineMode without a log: still a plain buffer
        if (setup & 16) e.plainEdit.enterHandler = ClearOnEnter;
    } else {
        uint32_t lineSize = in.Byte() % 20;
        uint32_t limit = in.Byte() % 7;
        e.log.header.kind = kindTextLog;
        e.log.header.editBuffer = &e.log.edit;
        e.log.edit.lineMode = 1;
        if (setup & 8) HeadlessFailAllocations(1);
        AllocateTextLogLines(&e.log, lineSize, limit);
        HeadlessFailAllocations(0);
        if (e.log.lines) {
            uint32_t lines = 1 + in.Byte() % limit;
            for (uint32_t i = 0; i < lines; i++) FillText(in, TextLogLine(&e.log, i), lineSize);
            e.log.lineCount = lines;
            e.log.currentLine = in.Byte() % lines;
        }
        if (setup & 16) e.log.header.flags |= textLogReadOnly;
    }
    EditBuffer* b = e.Buffer();
    b->flags = (setup & 2) ? static_cast<uint32_t>(insertMode) : 0u;
    b->caret = in.Byte() % (b->capacity + 3);
    b->composition = (setup & 4) ? 0xA1B0 : 0;
    if (setup & 32) b->flags |= selectText | clipboardKeys | undoKeys;
    if (setup & 64) b->history = &e.history;
    memset(&e.history, 0, sizeof e.history);
    NoteModifierKey(vkShift, false);
    NoteModifierKey(vkControl, false);
    HeadlessSetClipboardUtf8("");
    while (in.size) Step(e, in);

    delete[] e.bytes;
    FreeTextLogLines(&e.log);
    ReleaseSurface(&e.log.header.surface);
    return 0;
}
