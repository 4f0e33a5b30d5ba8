// The SDL backend's posted messages and timers.
#include "toolkit/platform/sdl/pending.h"

SdlPending sdlPending;

// Messages can be posted before SDL starts, so the queue is ready before main.
__attribute__((constructor)) static void StartPending() {
    MessageRingInit(&sdlPending.posted, sdlPending.slots, sdlQueueSize);
}

int32_t SdlQueue(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    PlatformMessage* last = MessageRingNewest(&sdlPending.posted);
    if (last && (message == WM_MOUSEMOVE || message == WM_SIZE) && last->window == window &&
        last->message == message) {
        *last = {window, message, wParam, lParam};
        return 1;
    }
    return MessageRingPush(&sdlPending.posted, window, message, wParam, lParam);
}

void SdlForgetWindow(WindowHandle window) {
    TimerTableKillWindow(&sdlPending.timers, window);
    MessageRingDropWindow(&sdlPending.posted, window);
}
