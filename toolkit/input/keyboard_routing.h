// Keyboard and input-method routing to the focused control, and the caret blink cycle.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/window_table.h"

// 0 = caret hidden, anything else = shown. Starts at 1; every line-editor input restarts it at 3.
extern uint32_t caretBlinkCounter;

// What onKey receives for a control with offersCharacters: a typed character (its byte, or a two-byte
// character as lead << 8 | trail) with characterKey set, and with composingKey too while the input method
// is still composing it. The composition is then cancelled, so the character is offered once.
inline constexpr uint32_t characterKey = 0x10000, composingKey = 0x20000, characterCode = 0xFFFF;

// Link of the dispatcher's chain: 0 for WM_KEYDOWN, WM_KEYUP, WM_CHAR and WM_IME_COMPOSITION (always
// consumed), -1 for others.
int32_t RouteKeyboard(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                      LParam lParam);

// The focus left control by a click: its half-composed character is dropped, the input method throws its
// composition away too (else it would commit the syllable later into whatever has the focus then), and
// the window is posted WM_IME_ENDCOMPOSITION.
void DropComposition(WindowHandle window, Control* control);

// One step of the blink cycle; the host decides whether and how often to call it.
void CaretBlinkTick();
