// The record of one editable text: where its bytes are, the caret, the room, how Enter is handled and how the
// painter shows it. Embedded in the control that owns it; the control header's editBuffer points at it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "toolkit/platform/platform.h"

struct WindowRecord;
struct Control;
struct EditBuffer;
struct EditHistory;
struct LogFont; // the platform's LOGFONT

// Run when Enter is typed into a plain buffer; the result is ignored.
typedef void (*EnterHandler)(WindowHandle window, WindowRecord* record, Control* control, EditBuffer* buffer);

// How the owner of a line-mode buffer (a text log) takes part in editing; the line editor knows nothing
// else of it. lineBeginInput comes before every input: the owner points text at the line being edited and
// answers lineEdit, lineNothing (no line to edit: no input, no redraw) or lineReadOnly (no change, but a
// redraw). lineEnter: Enter splits the line at the caret and moves on; its answer is ignored.
// Owners that know them may also answer lineBeginInput with lineSelectOnly (the caret keys, selection and
// copying work, nothing changes) and add lineViewMoved to any answer when they scrolled (a redraw follows
// whatever the input does). linePaste: a paste of several lines (LinePasteInProgress); an owner that took it
// answers lineEdit, and lineNothing leaves it to the editor, which pastes the first line. lineKeyUp: a key
// came up; the owner answers as for lineBeginInput, but its view stays where it is.
enum LineRequest : uint32_t { lineBeginInput = 0, lineEnter = 1, linePaste = 2, lineKeyUp = 3 };
enum LineAnswer : uint32_t {
    lineNothing = 0,
    lineEdit = 1,
    lineReadOnly = 2,
    lineSelectOnly = 3,
    lineViewMoved = 0x10,
};
typedef uint32_t (*LineHandler)(Control* owner, EditBuffer* buffer, uint32_t request);

enum EditBufferFlag : uint32_t {
    insertMode = 0x1,           // clear = overwrite
    wrapText = 0x10,            // the painter wraps the text over several rows
    selectText = 0x100,         // Shift with the caret keys and Ctrl+A select; typing replaces the selection
    clipboardKeys = 0x200,      // Ctrl+C/X/V, Ctrl+Insert, Shift+Delete and Shift+Insert reach the clipboard
    undoKeys = 0x400,           // Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, through history
    keepCaretInView = 0x1000,   // the painter scrolls a single row sideways, wrapped rows by rows
    inlineComposition = 0x2000, // the composition is drawn in the text, which moves right to make room
};

struct EditBuffer {
    uint32_t flags;
    char* text;        // zero-terminated code-page-949 text; null = the buffer takes no input
    uint32_t caret;    // byte offset into text
    uint32_t capacity; // bytes of the text buffer, zero byte included; in a log line also the line size
    uint32_t lineMode; // 0 = plain buffer, else the current line of the TextLog that owns the buffer
    int32_t rowSpacing;
    LineHandler lineHandler; // line-mode buffers only; a line-mode buffer without one is edited as plain
    uint32_t reserved;
    EnterHandler enterHandler; // plain buffers only
    uint32_t textColour;
    uint32_t backColour; // 0xFFFFFFFF = no box behind a single-row text
    // The character being composed, lead byte first, then zero bytes (the bytes in memory order, as a
    // little-endian word); 0 = none.
    uint32_t composition;
    const LogFont* font; // null = the default font
    int32_t originX;
    int32_t originY;
    // Added after the documented fields; the initialisers clear them.
    uint32_t selectionAnchor; // with selectText: the selection runs between it and the caret
    EditHistory* history;     // the undo steps, embedded by the caller; null = no undo
    int32_t scrollX;          // keepCaretInView: pixels the one-row text is shifted left (set by each paint)
    uint32_t firstRow;        // keepCaretInView: the first wrapped row shown (set by each paint)
    EnterHandler escapeHandler; // plain buffers: run on Escape; null = Escape is ignored
};
// Fields lie in the order written; these are the widths that the documented layout fixes.
static_assert(offsetof(EditBuffer, flags) == 0 && sizeof(EditBuffer::text) == sizeof(void*));
static_assert(sizeof(EditBuffer::composition) == 4);

// The selected bytes [start, end) of a buffer with selectText, cut to its text; false when nothing is
// selected.
bool EditSelection(const EditBuffer* buffer, uint32_t* start, uint32_t* end);
