// Note windows: small windows the gallery opens on F7, on which F8 puts chips, a control each, until the
// toolkit's fixed tables (128 windows, 128 controls a window) refuse more; the status line tells.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

// The notes' window class, registered with the gallery's.
void RegisterNotes();
// F7 opens a note; F8 adds a chip to the note the key was sent to, or else to the newest note (opening one
// when there is none). True when the message was one of these keys.
bool NoteKey(WindowHandle window, uint32_t message, WParam wParam);
// Closes every note: they go with the gallery's window.
void CloseNotes();
// The notes open now.
int32_t NoteCount();
