// The mouse wheel: the application's window procedure hands WM_MOUSEWHEEL to RouteMouseWheel, which scrolls
// the control under the pointer (not the one with the focus). The dispatcher's chain does not take the
// message, so a window whose procedure does not call it scrolls nothing.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/window_table.h"

// Scrolls the topmost control under the pointer by the system's rows per notch: a text log, list box or
// tree list by rows; a wrapped edit field that keeps its caret in view by wrapped rows; a scroll bar by
// moving what it drives (the log, list or tree whose scrollBar it is), or, driving none, its position, which
// it reports to its onRelease. The layout before the next paint brings the bars and companions into step.
// Returns 1 when something scrolled (a repaint is requested), 0 otherwise, also for any other message.
int32_t RouteMouseWheel(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                        LParam lParam);
