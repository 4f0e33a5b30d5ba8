// The line editor: applies one keyboard input to an EditBuffer, either a plain buffer or the current line of
// a TextLog, keeping two-byte characters whole.
#pragma once

#include <stdint.h>

#include "toolkit/input/edit_buffer.h"
#include "toolkit/platform/platform.h"

struct WindowRecord;
struct Control;

enum class EditInputMode : uint32_t {
    Character = 0, // value: the character message's wParam; count 1
    ImeResult = 1, // value: up to four result bytes, zero-padded; count: the result's byte count
    Key = 2,       // value: virtual-key code; count 0 = key down, 1 = key up
};

// Characters with a meaning of their own.
enum : uint32_t { editBackspace = 8, editTab = 9, editEnter = 13, editEscape = 27 };

// Returns the redraw flags: 0x30 when the owner must be redrawn and blitted, else 0. A buffer whose lineMode
// is set edits the current line of the TextLog given as owner.
uint32_t EditInput(WindowHandle window, WindowRecord* record, Control* owner, EditBuffer* buffer,
                   EditInputMode mode, uint32_t value, int32_t count);

// Shift and Ctrl as the key messages left them; the keyboard router reports every press and release of
// them here, for the selection and shortcut keys of buffers that take them.
inline constexpr uint32_t editShift = 1, editCtrl = 2;
void NoteModifierKey(uint32_t key, bool down);
uint32_t HeldModifiers();
// Forgets the held keys and the last paste report (the toolkit's reset).
void ForgetEditorKeys();

// What the last paste (Ctrl+V, Shift+Insert) could not bring over: characters written as '?' and the bytes
// left out, in whole characters, because the buffer was full. A paste takes the first line of the clipboard,
// unless the owner of a line-mode buffer takes all of them (linePaste).
ClipboardRead LastPasteReport();

// The clipboard's text while a linePaste request runs (null at any other time): lines ended by CR, with any
// LFs after it, other control characters turned into spaces. The owner adds the bytes it left out.
struct LinePaste {
    const char* text;
    uint32_t length;
    uint32_t leftOut;
};
LinePaste* LinePasteInProgress();
