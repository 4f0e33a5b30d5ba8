// Drives the line editor the way the keyboard router does, on an exactly sized plain buffer or on the current
// line of a text log.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "tests/textlog/text_log_fixture.h"
#include "toolkit/input/line_editor.h"
#include "util/dbcs_string.h"

inline uint32_t PackIme(const char* bytes) {
    uint32_t value = 0;
    for (int i = 0; i < 4 && bytes[i]; i++)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return value;
}

// Input helpers over any owner and buffer.
struct EditorInput {
    Control* owner = nullptr;
    EditBuffer* buffer = nullptr;

    uint32_t Char(uint32_t c) { return EditInput(0, nullptr, owner, buffer, EditInputMode::Character, c, 1); }
    uint32_t Key(uint32_t key, int32_t up = 0) {
        return EditInput(0, nullptr, owner, buffer, EditInputMode::Key, key, up);
    }
    uint32_t Ime(const char* bytes, int32_t count) {
        return EditInput(0, nullptr, owner, buffer, EditInputMode::ImeResult, PackIme(bytes), count);
    }
    uint32_t Ime(const char* bytes) { return Ime(bytes, static_cast<int32_t>(strlen(bytes))); }
    void Type(const char* s) {
        while (*s) Char(static_cast<uint8_t>(*s++));
    }
    uint32_t& Caret() { return buffer->caret; }
    void Overwrite() { buffer->flags &= ~insertMode; }
};

// A plain buffer of exactly capacity bytes on the heap, so AddressSanitizer sees any write past it.
struct PlainEditor : EditorInput {
    Control control{};
    EditBuffer edit{};
    char* bytes = nullptr;

    PlainEditor(uint32_t capacity, const char* text = "", uint32_t caret = 0) {
        bytes = new char[capacity ? capacity : 1];
        memset(bytes, 0, capacity ? capacity : 1);
        size_t length = strlen(text);
        if (capacity && length > capacity - 1) length = capacity - 1;
        if (length) memcpy(bytes, text, length);
        control.kind = kindEditField;
        control.editBuffer = &edit;
        edit.flags = insertMode;
        edit.text = bytes;
        edit.capacity = capacity;
        edit.caret = caret;
        owner = &control;
        buffer = &edit;
    }
    ~PlainEditor() { delete[] bytes; }
    std::string Text() const { return std::string(bytes, strnlen(bytes, edit.capacity)); }
};

// A text log whose current line is edited.
struct LogEditor : EditorInput {
    TestLog t;

    bool Make(uint32_t lineSize, uint32_t limit) {
        bool ok = t.Make(lineSize, limit);
        owner = &t.log.header;
        buffer = &t.log.edit;
        return ok;
    }
    std::string Text() const { return t.Line(t.log.currentLine); }
};
