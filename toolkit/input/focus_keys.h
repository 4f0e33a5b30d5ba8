// Focus by keyboard for windows with windowTabFocus: Tab and Shift+Tab walk the controls that take the
// focus, and the focus rectangle shows from the first time the keyboard works the controls: a Tab, or a key
// going down that a control's key handler acts on (typing into a text does not count, as on the Windows
// desktop).
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/window_table.h"

// The control after from (before it, backwards) in slot order that takes the focus and is shown and enabled,
// wrapping around; from itself when it is the only one, null when there is none. A null from starts the
// walk before the first slot (after the last, backwards).
Control* NextTabStop(const WindowRecord* record, const Control* from, bool backwards);
// Moves the focus as a click would: both controls redraw, and the one left loses its composition.
void MoveFocusTo(WindowHandle window, WindowRecord* record, Control* to);
// Run by the keyboard routing before it routes a keyboard message: true when the message was a focus move
// (or the Tab character that follows one) and goes no further.
bool TakeFocusKey(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam);
// A key going down worked a control: with windowTabFocus, the focus shows from now on.
void NoteKeyboardUse(WindowRecord* record);
// Whether control shows the focus rectangle now.
bool ShowsFocus(const WindowRecord* record, const Control* control);
// Forgets a Tab character still to be swallowed (the toolkit's reset).
void ForgetFocusKeys();
