// Keyboard and input-method routing to the focused control, and the caret blink cycle.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/window_table.h"

// 0 = caret hidden, anything else = shown. Starts at 1; every line-editor input restarts it at 3.
extern uint32_t caretBlinkCounter;

// Link of the dispatcher's chain: 0 for WM_KEYDOWN, WM_KEYUP, WM_CHAR and WM_IME_COMPOSITION (always
// consumed), -1 for others.
int32_t RouteKeyboard(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                      LParam lParam);

// One step of the blink cycle; the host decides whether and how often to call it.
void CaretBlinkTick();
