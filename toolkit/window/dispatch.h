// The toolkit's message dispatcher: a fixed chain of links per toolkit window, the sizing, close and
// teardown links, and the registered command message.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/window_table.h"

// A link of the chain; -1 = not taken.
typedef int32_t (*MessageLink)(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                               LParam lParam);

// wParam of the command message; lParam is the window it acts on.
enum ToolkitCommand : uint32_t {
    CommandDestroy = 1,
    CommandShow = 2,
};

// -1 = not taken (default processing follows), 0 = handled completely, anything else = handled and
// default processing follows.
int32_t DispatchToolkitMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// WM_SIZE re-creates the window surface and re-lays the controls out (0); WM_GETMINMAXINFO fills the
// platform's limits (1).
int32_t HandleSizing(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                     LParam lParam);
// WM_CLOSE: the answer of onClose, or -1 without one.
int32_t HandleClose(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                    LParam lParam);
// WM_DESTROY: tears the window down and frees its slot (0).
int32_t HandleDestroy(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                      LParam lParam);

// A click moved the focus off control (the mouse routing calls this): the input side ends the control's
// composition, since the window layer knows no edit buffer.
void EndFocusComposition(WindowHandle window, Control* control);

// Both post through the main window's queue, so the command runs later, not inside the caller.
int32_t PostDestroyWindow(WindowHandle target);
int32_t PostToolkitCommand(uint32_t command, WindowHandle target);
