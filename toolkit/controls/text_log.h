// The text log: a scrollable list of text lines in one fixed array of equal-sized slots, one of which (the
// current line) is edited in place through the embedded EditBuffer. This header holds the record and the
// line store; the control's init, drawing, clicks and scrolling join it here.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/control.h"

struct ScrollBar;

// Kind-specific control flag of the log.
enum TextLogFlag : uint32_t {
    readOnly = 0x200000, // the line editor changes nothing
};

// AddTextLogLine options.
enum AddLineOption : uint32_t {
    addScrollIntoView = 0x1,
    addDropOldest = 0x2, // a full log drops line 0 first
};

// AddTextLogLine's index for appending after the last line (any index >= maxLines does the same).
enum : uint32_t { appendLine = 0xFFFFFFFFu };

struct TextLog {
    Control header;
    EditBuffer edit; // lineMode 1; text follows currentLine, capacity is the slot size
    uint32_t currentLine;
    uint32_t lineCount; // lines in use
    uint32_t maxLines;  // slots in lines
    uint32_t rowHeight; // derived by each draw; 0 before the first
    uint32_t firstRow;  // line shown in the top row
    uint32_t visibleRows;
    uint32_t rowsShown;
    uint32_t lineTextColour; // lines other than the edited one
    uint32_t rowSpacing;     // added to the measured text height to form a row
    char* lines;             // maxLines slots of edit.capacity bytes; null when the allocation failed
    Surface* backgroundImage;
    ScrollBar* scrollBar;
};

// Gets a zero-filled array of limit slots of lineSize bytes from the page allocator, with one empty
// current line in use. On failure (or a zero size) the log has no slots and no text, and every line-store
// operation and the line editor leave it alone. Returns -1 on success, 0 on failure.
int32_t AllocateTextLogLines(TextLog* log, uint32_t lineSize, uint32_t limit);
void FreeTextLogLines(TextLog* log);

// The store's part in line editing, set into the log's edit buffer with its lines (see LineHandler).
uint32_t TextLogLineRequest(Control* owner, EditBuffer* buffer, uint32_t request);

// Start of slot index (no range check).
char* TextLogLine(const TextLog* log, uint32_t index);

// Back to one empty current line at the top, without freeing anything.
void ResetTextLog(TextLog* log);
// Opens n slots at index; returns how many lines were inserted (fewer when the log fills up).
uint32_t InsertTextLogLines(TextLog* log, uint32_t index, uint32_t n);
// Empties n slots from index on.
void ClearTextLogLines(TextLog* log, uint32_t index, uint32_t n);
// Removes n lines from index on.
void DeleteTextLogLines(TextLog* log, uint32_t index, uint32_t n);
// Inserts one line at index, or appends it when index >= maxLines. Returns the new line's index, or -1 when
// the log is full and nothing was added.
int32_t AddTextLogLine(TextLog* log, uint32_t index, const char* text, uint32_t options);
// Pastes the first maxBytes bytes of text (lines ended by CR, with any LFs after it) at position of line.
// Returns how many of the text's lines went into the log.
uint32_t InsertTextLogText(TextLog* log, const char* text, uint32_t maxBytes, uint32_t line,
                           uint32_t position);
