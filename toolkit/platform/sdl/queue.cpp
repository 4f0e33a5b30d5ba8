// The SDL2 message queue: posted and translated messages first, then paints, then due timers, as on
// Windows. PlatformGetMessage sleeps in SDL_WaitEventTimeout until an event or the next timer.
#include <string.h>

#include "toolkit/platform/sdl/state.h"

enum : uint32_t { vkF4 = 115 };

int32_t SdlQueue(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    PlatformMessage* last = MessageRingNewest(&sdl.posted);
    if (last && (message == WM_MOUSEMOVE || message == WM_SIZE) && last->window == window &&
        last->message == message) {
        *last = {window, message, wParam, lParam};
        return 1;
    }
    return MessageRingPush(&sdl.posted, window, message, wParam, lParam);
}

int32_t PlatformPostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (window != 0 && !SdlFind(window)) return 0;
    return MessageRingPush(&sdl.posted, window, message, wParam, lParam);
}

void PlatformPostQuit(int32_t code) {
    MessageRingPostQuit(&sdl.posted, code);
}

uintptr_t PlatformSetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds) {
    if (!SdlFind(window)) return 0;
    return TimerTableSet(&sdl.timers, window, id, milliseconds, SDL_GetTicks64());
}

int32_t PlatformKillTimer(WindowHandle window, uintptr_t id) {
    return TimerTableKill(&sdl.timers, window, id);
}

// The input method's strings belong to the message that carries them: fetching one makes it current.
static void TakeImeStrings(const PlatformMessage* m) {
    if (m->message != WM_IME_COMPOSITION) return;
    char bytes[2] = {static_cast<char>((m->wParam >> 8) & 0xFF), static_cast<char>(m->wParam & 0xFF)};
    int32_t count = bytes[0] ? 2 : (bytes[1] ? 1 : 0);
    const char* start = bytes[0] ? bytes : bytes + 1;
    if (m->lParam == static_cast<LParam>(GCS_RESULTSTR)) {
        memcpy(sdl.imeResult, start, static_cast<size_t>(count));
        sdl.imeResultCount = count;
    } else {
        memcpy(sdl.imeComposition, start, static_cast<size_t>(count));
        sdl.imeCompositionCount = count;
    }
}

// The next available message without waiting: 1 = a message, 0 = the quit message, -1 = nothing.
static int32_t TakeMessage(PlatformMessage* message) {
    int32_t r = MessageRingTake(&sdl.posted, message);
    if (r > 0) TakeImeStrings(message);
    if (r >= 0) return r;
    for (SdlWindow& w : sdl.windows) {
        if (w.handle && w.visible && w.needsPaint && !w.minimised) {
            *message = {w.handle, WM_PAINT, 0, 0};
            return 1;
        }
    }
    TimerTableMarkDue(&sdl.timers, SDL_GetTicks64());
    return TimerTableTakePending(&sdl.timers, message) ? 1 : -1;
}

int32_t PlatformGetMessage(PlatformMessage* message) {
    for (;;) {
        SDL_Event event;
        while (sdl.videoState > 0 && SDL_PollEvent(&event)) SdlTranslateEvent(&event);
        // An input method that never commits does not keep the keys: they go on after a short wait.
        if (sdl.holdingKeys && SDL_GetTicks64() >= sdl.holdUntil) SdlReleaseHeldKeys();
        SdlSettleRawKey(); // every event of the batch is in: an unreported key press went to the input method
        SdlExpireSwallowedKeys();
        int32_t r = TakeMessage(message);
        if (r >= 0) return r;
        uint64_t next = TimerTableNextDue(&sdl.timers);
        if (sdl.holdingKeys && sdl.holdUntil < next) next = sdl.holdUntil;
        if (sdl.swallowed.count && sdl.swallowed.keys[0].expires < next) next = sdl.swallowed.keys[0].expires;
        if (sdl.videoState <= 0) {
            // Without windows nothing can arrive but a timer.
            if (next == UINT64_MAX) {
                *message = {0, WM_QUIT, static_cast<WParam>(-1), 0};
                return 0;
            }
            uint64_t now = SDL_GetTicks64();
            if (next > now) SDL_Delay(static_cast<uint32_t>(next - now));
            continue;
        }
        if (next == UINT64_MAX) {
            if (SDL_WaitEvent(&event)) SdlTranslateEvent(&event);
            continue;
        }
        uint64_t now = SDL_GetTicks64();
        int wait = next > now ? static_cast<int>(next - now < 0x7FFFFFFF ? next - now : 0x7FFFFFFF) : 0;
        if (SDL_WaitEventTimeout(&event, wait)) SdlTranslateEvent(&event);
    }
}

// Characters are made when events are translated (SDL reports them separately), so there is nothing to do.
int32_t PlatformTranslateMessage(const PlatformMessage*) {
    return 0;
}

intptr_t PlatformDispatchMessage(const PlatformMessage* message) {
    if (!SdlFind(message->window)) return 0;
    return SdlSend(message->window, message->message, message->wParam, message->lParam);
}

intptr_t PlatformDefaultProcessing(WindowHandle window, uint32_t message, WParam wParam, LParam) {
    SdlWindow* w = SdlFind(window);
    if (!w) return 0;
    switch (message) {
    case WM_CLOSE:
        PlatformDestroyWindow(window);
        break;
    case WM_PAINT:
        w->needsPaint = 0;
        break;
    case WM_SYSKEYDOWN:
        if (wParam == vkF4) SdlSend(window, WM_CLOSE, 0, 0); // Alt+F4 closes, as on Windows
        break;
    case WM_IME_ENDCOMPOSITION:
        // The toolkit dropped the half-made character: the input method forgets it too.
        if (sdl.composing) SDL_ClearComposition();
        sdl.composing = 0;
        sdl.imeCompositionCount = 0;
        break;
    default:
        break;
    }
    return 0;
}

uint32_t PlatformRegisterMessage(const char* name) {
    return MessageNamesRegister(&sdl.registered, name);
}
