// What waits for the SDL backend's window procedures: posted and translated messages, and timers.
#pragma once

#include <stdint.h>

#include "toolkit/platform/common/message_ring.h"
#include "toolkit/platform/common/timer_table.h"
#include "toolkit/platform/platform.h"

enum : int32_t { sdlQueueSize = 4096, sdlEventHeadroom = 256 }; // headroom: room left for one SDL event

struct SdlPending {
    PlatformMessage slots[sdlQueueSize];
    MessageRing posted; // over slots
    TimerTable timers;
};

extern SdlPending sdlPending;

// Appends a message; a mouse move or size directly behind one of its kind replaces it.
int32_t SdlQueue(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
// A destroyed window's messages and timers are forgotten.
void SdlForgetWindow(WindowHandle window);
