#include "toolkit/platform/common/message_ring.h"

void MessageRingInit(MessageRing* ring, PlatformMessage* slots, int32_t capacity) {
    *ring = {slots, capacity, 0, 0, 0, 0};
}

int32_t MessageRingPush(MessageRing* ring, WindowHandle window, uint32_t message, WParam wParam,
                        LParam lParam) {
    if (ring->length >= ring->capacity) return 0;
    ring->slots[(ring->head + ring->length) % ring->capacity] = {window, message, wParam, lParam};
    ring->length++;
    return 1;
}

void MessageRingPostQuit(MessageRing* ring, int32_t code) {
    ring->quitPosted = 1;
    ring->quitCode = code;
}

int32_t MessageRingTake(MessageRing* ring, PlatformMessage* message) {
    if (ring->length > 0) {
        *message = ring->slots[ring->head];
        ring->head = (ring->head + 1) % ring->capacity;
        ring->length--;
        return 1;
    }
    if (!ring->quitPosted) return -1;
    ring->quitPosted = 0;
    *message = {0, WM_QUIT, static_cast<WParam>(static_cast<intptr_t>(ring->quitCode)), 0};
    return 0;
}

PlatformMessage* MessageRingNewest(MessageRing* ring) {
    if (ring->length <= 0) return nullptr;
    return &ring->slots[(ring->head + ring->length - 1) % ring->capacity];
}

void MessageRingDropWindow(MessageRing* ring, WindowHandle window) {
    int32_t kept = 0;
    for (int32_t i = 0; i < ring->length; i++) {
        PlatformMessage m = ring->slots[(ring->head + i) % ring->capacity];
        if (m.window == window) continue;
        ring->slots[(ring->head + kept) % ring->capacity] = m;
        kept++;
    }
    ring->length = kept;
}
