// The line editor's view of one input and the primitives that its two sources share; nothing else uses it.
#pragma once

#include <stdint.h>

#include "toolkit/input/edit_history.h"
#include "toolkit/input/line_editor.h"

struct LineEdit {
    EditBuffer* buffer;
    bool line; // a line of a larger store, whose owner splits it on Enter
    char* text;
    uint32_t size;
    uint32_t length;
    HistoryInput undo; // the input's changes, for undo
};

// A trail byte of the text proper: the zero byte after a lone lead byte does not count.
bool EditOnTrail(const LineEdit& e, uint32_t at);
void EditRemeasure(LineEdit& e);
// Removes n bytes at `at`, for undo too.
void EditRemove(LineEdit& e, uint32_t at, uint32_t n);
// Inserts up to n bytes of source at `at` within limit, in whole characters, pushing nothing out; returns
// the bytes inserted.
uint32_t EditInsertFitting(LineEdit& e, uint32_t at, const char* source, uint32_t n, uint32_t limit);

// The documented inputs (line_editor.cpp); each returns the redraw flags.
uint32_t EditKeyDown(LineEdit& e, uint32_t key);
uint32_t EditCharacter(LineEdit& e, WindowHandle window, WindowRecord* record, Control* owner,
                       uint32_t value);
uint32_t EditImeResult(LineEdit& e, uint32_t value, int32_t count);

// The opted-in keys (line_editor_keys.cpp): false for every input that they leave to the documented ones.
bool EditExtendedInput(LineEdit& e, WindowHandle window, WindowRecord* record, Control* owner,
                       EditInputMode mode, uint32_t value, int32_t count, uint32_t* result);
