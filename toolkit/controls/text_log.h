// The text log: a scrollable list of text lines in one fixed array of equal-sized slots, one of which (the
// current line) is edited in place through the embedded EditBuffer. The record, the control (text_log.cpp:
// init, layout, draw, the click that picks a line, scrolling) and the line store (text_log_lines.cpp).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/gfx/rect.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/control.h"

struct ScrollBar;

// The log's own flag bits.
inline constexpr uint32_t textLogFrame = controlFrame; // a one-pixel raised frame (Theme border colours)
inline constexpr uint32_t textLogReadOnly =
    0x200000; // the current line is drawn like the others, never edited
// AddTextLogLine and InsertTextLogText keep the view at the last line when it was there before they ran.
inline constexpr uint32_t textLogFollowEnd = 0x400000;

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
    uint32_t rowHeight; // derived by each layout; 0 before the first
    uint32_t firstRow;  // line shown in the top row
    uint32_t visibleRows;
    uint32_t rowsShown;
    uint32_t lineTextColour; // lines other than the edited one
    uint32_t rowSpacing;     // added to the measured text height to form a row
    char* lines;             // maxLines slots of edit.capacity bytes; null when the allocation failed
    Surface* backgroundImage;
    ScrollBar* scrollBar; // kept in step by each layout; null = none
    // Shown and hidden with the scroll bar, as the tree list's and the list box's are (the up and down
    // buttons of TextLogScrollUp / TextLogScrollDown); null = none.
    Control* companions[2];
};
// The edit buffer follows the header, and the log's own fields follow the buffer, with no gaps between.
static_assert(offsetof(TextLog, edit) == sizeof(Control));
static_assert(offsetof(TextLog, currentLine) == sizeof(Control) + sizeof(EditBuffer));

// Font null = the default font. The lines come from the page allocator, zero-filled, with one empty current
// line; when that fails the log shows no lines and takes no input. The log is released by DestroyControl.
// No mouse handler is installed: an owner that wants clicks to pick the current line sets onLeftDown to
// TextLogLeftDown.
void InitTextLog(TextLog* log, const Extent* placement, uint32_t flags, const LogFont* font,
                 uint32_t lineSize, uint32_t lineLimit);

// Makes the clicked line current (rows from y = 2 on; nothing before the first layout).
void TextLogLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                     int32_t x, int32_t y);
// Ready-made handlers that work as the edit field's do (edit_field.h) within the current line. onLeftDown:
// the line is chosen as by TextLogLeftDown, then the caret goes to the nearest character boundary in it
// and a selection starts there (with Shift and selectText, on the same line, it extends). onMouseMove:
// with the left-button capture, the caret follows the pointer along the current line. onLeftDouble: selects
// the word under the pointer in the current line.
void TextLogPlaceCaret(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y);
void TextLogDragSelect(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y);
void TextLogSelectWord(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y);
// Installs the three in their slots and adds captureOnLeft.
void InstallTextLogMouse(TextLog* log);
// The scroll bar's onRelease, with the log as its userData: the top row follows the position (16 a line).
void TextLogScrollTo(WindowHandle window, WindowRecord* record, Control* scrollBar, uintptr_t userData,
                     uint32_t keyState, uint32_t range, uint32_t position);
// Button callbacks with the log as userData: one line up or down. They mark the log for redraw; the
// button's release requests the repaint.
uint32_t TextLogScrollUp(WindowHandle window, WindowRecord* record, Control* button, uintptr_t userData,
                         uint32_t keyState, int32_t x, int32_t y);
uint32_t TextLogScrollDown(WindowHandle window, WindowRecord* record, Control* button, uintptr_t userData,
                           uint32_t keyState, int32_t x, int32_t y);

// Gets a zero-filled array of limit slots of lineSize bytes from the page allocator, with one empty
// current line in use. On failure (or a zero size) the log has no slots and no text, and every line-store
// operation and the line editor leave it alone. Returns -1 on success, 0 on failure.
int32_t AllocateTextLogLines(TextLog* log, uint32_t lineSize, uint32_t limit);
void FreeTextLogLines(TextLog* log);

// The store's part in line editing, set into the log's edit buffer with its lines (see LineHandler). With
// keepCaretInView in the buffer's flags, an input first brings the current line into view. A paste of
// several lines goes in at the caret through InsertTextLogText; the last line pasted becomes current, with
// the caret after the pasted text.
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
