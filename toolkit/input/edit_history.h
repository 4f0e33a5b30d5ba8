// The undo steps of one edit buffer: a fixed record that the caller embeds beside the buffer and points the
// buffer's history at. Each step replaced some bytes at one position with others; their bytes share one pool.
#pragma once

#include <stdint.h>

inline constexpr uint32_t editHistorySteps = 32;
inline constexpr uint32_t editHistoryBytes = 4096;

struct EditStep {
    uint32_t at;       // byte offset of the change
    uint32_t removed;  // bytes the change took out, kept first in the pool
    uint32_t inserted; // bytes it put in, kept after them
    uint32_t offset;   // where the step's bytes start in the pool
};

// Clear (all zero) means empty. When the pool or the steps run out the oldest steps go.
struct EditHistory {
    const char* text; // the text the steps were recorded on; another one empties the history
    uint32_t count;   // steps held, oldest first
    uint32_t undone;  // the last ones of them that were undone and can be redone
    uint32_t typing;  // 1 while the last step is a run of typing that the next typed character extends
    EditStep steps[editHistorySteps];
    char pool[editHistoryBytes];
};

// What one input has done to the history so far; the line editor starts one per input.
struct HistoryInput {
    EditHistory* history; // null = nothing is recorded
    bool typing;          // the input types text, so it may extend a run of typing
    bool started;         // the input's changes go into the last step
};

// Records n bytes at `at` of text: just before they are removed, or just after they are inserted. The
// changes of one input must follow each other (each at the end of what the input inserted so far).
void RecordEdit(HistoryInput* input, const char* text, uint32_t at, uint32_t n, bool inserted);

// Undoes the last step (or redoes the last undone one) on text of size bytes, when the text still holds what
// the step left; the caret goes after the bytes put back. False when there is nothing to do: a text that
// changed behind the history's back empties it.
bool UndoEdit(EditHistory* history, char* text, uint32_t size, uint32_t* caret);
bool RedoEdit(EditHistory* history, char* text, uint32_t size, uint32_t* caret);
