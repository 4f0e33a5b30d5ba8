// The headless message queue: posted messages first, then paints, then due timers, like Windows.
#include "toolkit/platform/headless/headless.h"
#include "toolkit/platform/headless/state.h"

int32_t PlatformPostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (window != 0 && !HeadlessFind(window)) return 0;
    return MessageRingPush(&headless.posted, window, message, wParam, lParam);
}

void PlatformPostQuit(int32_t code) {
    MessageRingPostQuit(&headless.posted, code);
    headless.quitCode = code;
}

uintptr_t PlatformSetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds) {
    if (!HeadlessFind(window)) return 0;
    return TimerTableSet(&headless.timers, window, id, milliseconds, headless.now);
}

int32_t PlatformKillTimer(WindowHandle window, uintptr_t id) {
    return TimerTableKill(&headless.timers, window, id);
}

int32_t HeadlessTimerCount(WindowHandle window) {
    return TimerTableCount(&headless.timers, window);
}

uint64_t HeadlessNow() {
    return headless.now;
}

void HeadlessAdvanceClock(uint32_t milliseconds) {
    headless.now += milliseconds;
    TimerTableMarkDue(&headless.timers, headless.now);
}

// Takes the next available message without waiting. 1 = a message, 0 = the quit message, -1 = nothing.
static int32_t TakeMessage(PlatformMessage* message) {
    int32_t r = MessageRingTake(&headless.posted, message);
    if (r == 0) headless.quitSeen = 1;
    if (r >= 0) return r;
    for (HeadlessWindow& w : headless.windows) {
        if (w.handle && w.visible && w.needsPaint && !w.minimised) {
            *message = {w.handle, WM_PAINT, 0, 0};
            return 1;
        }
    }
    return TimerTableTakePending(&headless.timers, message) ? 1 : -1;
}

int32_t PlatformGetMessage(PlatformMessage* message) {
    for (;;) {
        int32_t r = TakeMessage(message);
        if (r >= 0) return r;
        if (headless.idleHook && headless.idleHook(headless.idleContext)) continue;
        uint64_t next = TimerTableNextDue(&headless.timers);
        if (next == UINT64_MAX) {
            headless.stalled = 1;
            headless.quitSeen = 1;
            headless.quitCode = -1;
            *message = {0, WM_QUIT, static_cast<WParam>(-1), 0};
            return 0;
        }
        HeadlessAdvanceClock(static_cast<uint32_t>(next - headless.now));
    }
}

int32_t PlatformTranslateMessage(const PlatformMessage*) {
    return 0;
}

intptr_t PlatformDispatchMessage(const PlatformMessage* message) {
    if (!HeadlessFind(message->window)) return 0;
    return HeadlessSend(message->window, message->message, message->wParam, message->lParam);
}

intptr_t PlatformDefaultProcessing(WindowHandle window, uint32_t message, WParam, LParam) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    if (message == WM_CLOSE) PlatformDestroyWindow(window);
    if (message == WM_PAINT) w->needsPaint = 0;
    return 0;
}

int32_t HeadlessPump() {
    int32_t count = 0;
    PlatformMessage message;
    for (;;) {
        int32_t r = TakeMessage(&message);
        if (r <= 0) return count;
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
        count++;
    }
}

int32_t HeadlessQuitSeen() {
    return headless.quitSeen;
}
int32_t HeadlessQuitCode() {
    return headless.quitCode;
}
int32_t HeadlessQueueLength() {
    return headless.posted.length;
}

void HeadlessSetIdleHook(HeadlessIdleHook hook, void* context) {
    headless.idleHook = hook;
    headless.idleContext = context;
}
int32_t HeadlessStalled() {
    return headless.stalled;
}

uint32_t PlatformRegisterMessage(const char* name) {
    return MessageNamesRegister(&headless.registered, name);
}
