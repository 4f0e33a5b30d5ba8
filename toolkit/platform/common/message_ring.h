// The posted-message queue of the Linux backends: a fixed ring over slots that the backend's state owns,
// and the quit request, which waits behind every posted message as on Windows.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

struct MessageRing {
    PlatformMessage* slots;
    int32_t capacity;
    int32_t head;   // the oldest message
    int32_t length; // messages waiting
    int32_t quitPosted;
    int32_t quitCode;
};

void MessageRingInit(MessageRing* ring, PlatformMessage* slots, int32_t capacity);
// Appends a message; 0 when the ring is full.
int32_t MessageRingPush(MessageRing* ring, WindowHandle window, uint32_t message, WParam wParam,
                        LParam lParam);
void MessageRingPostQuit(MessageRing* ring, int32_t code);
// Takes the oldest message (1), else the quit request as WM_QUIT with its code (0); -1 when neither waits.
int32_t MessageRingTake(MessageRing* ring, PlatformMessage* message);
// The newest message, null when the ring is empty.
PlatformMessage* MessageRingNewest(MessageRing* ring);
// Forgets a destroyed window's messages; the others keep their order.
void MessageRingDropWindow(MessageRing* ring, WindowHandle window);
