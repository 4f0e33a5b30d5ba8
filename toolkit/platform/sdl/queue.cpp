// The SDL2 message loop: posted and translated messages first, then paints, then due timers, as on
// Windows. PlatformGetMessage sleeps in SDL_WaitEventTimeout until an event, the next timer, or the moment
// keys waiting behind a composition go on anyway.
#include <string.h>

#include "toolkit/platform/common/message_names.h"
#include "toolkit/platform/sdl/events.h"
#include "toolkit/platform/sdl/ibus.h"
#include "toolkit/platform/sdl/key_order.h"
#include "toolkit/platform/sdl/pending.h"
#include "toolkit/platform/sdl/window_table.h"

static MessageNames registered;

// The input method's strings of the message taken last.
static char imeResult[8];
static int32_t imeResultCount;
static char imeComposition[8];
static int32_t imeCompositionCount;

int32_t PlatformPostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (window != 0 && !SdlFind(window)) return 0;
    return MessageRingPush(&sdlPending.posted, window, message, wParam, lParam);
}

void PlatformPostQuit(int32_t code) {
    MessageRingPostQuit(&sdlPending.posted, code);
}

uintptr_t PlatformSetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds) {
    if (!SdlFind(window)) return 0;
    return TimerTableSet(&sdlPending.timers, window, id, milliseconds, SDL_GetTicks64());
}

int32_t PlatformKillTimer(WindowHandle window, uintptr_t id) {
    return TimerTableKill(&sdlPending.timers, window, id);
}

// The input method's strings belong to the message that carries them: fetching one makes it current.
static void TakeImeStrings(const PlatformMessage* m) {
    if (m->message != WM_IME_COMPOSITION) return;
    char bytes[2] = {static_cast<char>((m->wParam >> 8) & 0xFF), static_cast<char>(m->wParam & 0xFF)};
    int32_t count = bytes[0] ? 2 : (bytes[1] ? 1 : 0);
    const char* start = bytes[0] ? bytes : bytes + 1;
    if (m->lParam == static_cast<LParam>(GCS_RESULTSTR)) {
        memcpy(imeResult, start, static_cast<size_t>(count));
        imeResultCount = count;
    } else {
        memcpy(imeComposition, start, static_cast<size_t>(count));
        imeCompositionCount = count;
    }
}

int32_t PlatformImeString(WindowHandle window, uint32_t kind, char* destination, uint32_t size) {
    if (!SdlFind(window)) return -1;
    const char* source = kind == GCS_RESULTSTR ? imeResult : imeComposition;
    int32_t count = kind == GCS_RESULTSTR ? imeResultCount : imeCompositionCount;
    if (!destination || size == 0) return count;
    if (static_cast<uint32_t>(count) > size) count = static_cast<int32_t>(size);
    memcpy(destination, source, static_cast<size_t>(count));
    return count;
}

// The next available message without waiting: 1 = a message, 0 = the quit message, -1 = nothing.
static int32_t TakeMessage(PlatformMessage* message) {
    int32_t r = MessageRingTake(&sdlPending.posted, message);
    if (r > 0) TakeImeStrings(message);
    if (r >= 0) return r;
    for (SdlWindow& w : sdlWindows.windows) {
        if (w.handle && w.visible && w.needsPaint && !w.minimised) {
            *message = {w.handle, WM_PAINT, 0, 0};
            return 1;
        }
    }
    TimerTableMarkDue(&sdlPending.timers, SDL_GetTicks64());
    return TimerTableTakePending(&sdlPending.timers, message) ? 1 : -1;
}

int32_t PlatformGetMessage(PlatformMessage* message) {
    for (;;) {
        SDL_Event event;
        // Events wait in SDL's own queue while the ring is nearly full, so a burst is taken in turns
        // rather than cut off; one event makes a few messages at most.
        bool drained = true;
        while (sdlWindows.videoState > 0) {
            const MessageRing& ring = sdlPending.posted;
            if (ring.length > ring.capacity - sdlEventHeadroom) {
                drained = false;
                break;
            }
            if (!SDL_PollEvent(&event)) {
                // The input method's answers to the keys just taken follow them.
                if (SdlIbusPump()) continue;
                break;
            }
            SdlTranslateEvent(&event);
        }
        // Every event of the batch is in: an unreported key press went to the input method.
        if (drained) KeyOrderSettle(&sdlKeyOrder, SDL_GetTicks64());
        KeyOrderExpire(&sdlKeyOrder, SDL_GetTicks64());
        int32_t r = TakeMessage(message);
        if (r >= 0) return r;
        uint64_t next = TimerTableNextDue(&sdlPending.timers);
        uint64_t keys = KeyOrderDeadline(&sdlKeyOrder);
        if (keys < next) next = keys;
        if (sdlWindows.videoState <= 0) {
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
        // The toolkit dropped the half-made character (and told the input method through
        // PlatformCancelComposition): the composition string is gone too.
        imeCompositionCount = 0;
        break;
    default:
        break;
    }
    return 0;
}

uint32_t PlatformRegisterMessage(const char* name) {
    return MessageNamesRegister(&registered, name);
}
