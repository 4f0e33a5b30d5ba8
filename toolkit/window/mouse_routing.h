// Mouse routing: capture, hit testing and focus for the seven mouse messages of a toolkit window.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"
#include "toolkit/window/window_table.h"

// Link of the dispatcher's chain: 0 for the seven mouse messages (always consumed), -1 for others.
int32_t RouteMouse(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam, LParam lParam);

// The topmost control under (x, y) in window-surface coordinates that takes mouse input, or null.
Control* HitTestControls(const WindowRecord* record, int32_t x, int32_t y);
