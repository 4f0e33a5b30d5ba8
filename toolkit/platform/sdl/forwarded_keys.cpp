// Keys that an input method swallows and hands back ("forwarding", the default of ibus-hangul for space,
// Enter, digits and punctuation in Hangul mode). SDL 2.26 drops keys handed back that way, so the backend
// watches the raw X key presses: a key that never arrives as an SDL key is replayed, after the commit of
// the composition it ended, or at once when nothing was being composed.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

#include "toolkit/platform/sdl/state.h"

namespace {

// Keys the input method may hand back: space, Enter, Tab, digits and punctuation. Letters are its own.
bool EndsComposition(KeySym symbol) {
    if (symbol == XK_Return || symbol == XK_KP_Enter || symbol == XK_Tab) return true;
    if (symbol < 0x20 || symbol > 0x7E) return false;
    return !((symbol >= 'a' && symbol <= 'z') || (symbol >= 'A' && symbol <= 'Z'));
}

bool IsLetter(KeySym symbol) {
    return (symbol >= 'a' && symbol <= 'z') || (symbol >= 'A' && symbol <= 'Z');
}

SDL_Keycode SdlKeycodeOf(KeySym symbol) {
    if (symbol == XK_Return) return SDLK_RETURN;
    if (symbol == XK_KP_Enter) return SDLK_KP_ENTER;
    if (symbol == XK_Tab) return SDLK_TAB;
    return static_cast<SDL_Keycode>(symbol);
}

enum : int32_t { rawLetter = -1 }; // the code of a raw letter press; 0 for other keys that are not watched

// Runs as SDL queues each event, while the raw X event is still at hand (SDL keeps one copy of it for all
// queued events): a key press goes into the queue, in its place, as a raw-key event of the backend's own.
int WatchRawKeys(void*, SDL_Event* event) {
    if (event->type != SDL_SYSWMEVENT || !event->syswm.msg || event->syswm.msg->subsystem != SDL_SYSWM_X11)
        return 1;
    XEvent x = event->syswm.msg->msg.x11.event;
    if (x.type != KeyPress) return 1;
    SDL_Event raw = {};
    raw.user.type = sdl.rawKeyEvent;
    KeySym symbol = XLookupKeysym(&x.xkey, 0);
    if (EndsComposition(symbol)) {
        char text[8] = {};
        KeySym typed = 0;
        int n = XLookupString(&x.xkey, text, sizeof text, &typed, nullptr);
        SDL_Keycode key = SdlKeycodeOf(symbol);
        raw.user.code = static_cast<Sint32>(SdlVirtualKey(key, SDL_GetScancodeFromKey(key), true));
        uint8_t c = n == 1 ? static_cast<uint8_t>(text[0]) : 0;
        raw.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(c < 0x80 ? c : 0));
    } else if (IsLetter(symbol)) {
        raw.user.code = rawLetter;
    }
    SDL_PushEvent(&raw);
    return 1;
}

void Replay() {
    SdlSwallowedKeys& s = sdl.swallowed;
    int32_t n = 0;
    for (; n < s.count && s.keys[n].state == swallowedReady; n++) {
        const SdlSwallowedKey& k = s.keys[n];
        if (!sdl.active) continue;
        SdlQueue(sdl.active, WM_KEYDOWN, k.virtualKey, 1);
        if (k.character) SdlQueue(sdl.active, WM_CHAR, k.character, 1);
        SdlQueue(sdl.active, WM_KEYUP, k.virtualKey, static_cast<LParam>(0xC0000001u));
    }
    for (int32_t i = n; i < s.count; i++) s.keys[i - n] = s.keys[i];
    s.count -= n;
}

} // namespace

void SdlWatchRawKeys() {
    sdl.rawKeyEvent = SDL_RegisterEvents(1);
    if (sdl.rawKeyEvent == static_cast<uint32_t>(-1)) {
        sdl.rawKeyEvent = 0;
        return;
    }
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_AddEventWatch(WatchRawKeys, nullptr);
}

// SDL reports a key it was given right behind the raw press, in the same batch of events; a press still
// unreported at the next event went to the input method.
void SdlSettleRawKey() {
    SdlSwallowedKeys& s = sdl.swallowed;
    if (s.last == swallowedLetter) s.lettersUnanswered++;
    if (s.last == swallowedKey) {
        // A key that ended a composition waits for its commit; otherwise it goes on now.
        bool composing = sdl.composing || s.lettersUnanswered > 0;
        s.keys[s.count - 1].state = composing ? swallowedWaiting : swallowedReady;
        Replay();
    }
    s.last = 0;
}

void SdlNoteRawKey(const SDL_UserEvent* event) {
    SdlSettleRawKey();
    SdlSwallowedKeys& s = sdl.swallowed;
    if (event->code == rawLetter) {
        s.last = swallowedLetter;
        return;
    }
    if (event->code == 0) return;
    if (s.count == sdlSwallowedKeys) {
        s.keys[0].state = swallowedReady; // the oldest goes on rather than being lost
        Replay();
    }
    uint32_t character = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event->data1));
    s.keys[s.count++] = {static_cast<uint32_t>(event->code), character,
                         SDL_GetTicks64() + sdlHoldMilliseconds, swallowedUnknown};
    s.last = swallowedKey;
}

void SdlKeyDelivered() {
    SdlSwallowedKeys& s = sdl.swallowed;
    if (s.last == swallowedKey) s.count--;
    s.last = 0;
}

void SdlNoteCommit() {
    SdlSwallowedKeys& s = sdl.swallowed;
    // A commit while letters are still unanswered ends an earlier syllable, not the one a key ended.
    if (s.lettersUnanswered > 0) return;
    for (int32_t i = 0; i < s.count; i++) {
        if (s.keys[i].state == swallowedWaiting) s.keys[i].state = swallowedReady;
    }
    Replay();
}

void SdlNoteEditing(bool empty) {
    // Each letter the input method takes ends in one character being composed.
    if (!empty && sdl.swallowed.lettersUnanswered > 0) sdl.swallowed.lettersUnanswered--;
}

void SdlExpireSwallowedKeys() {
    SdlSwallowedKeys& s = sdl.swallowed;
    if (!s.count || SDL_GetTicks64() < s.keys[0].expires) return;
    // An input method that never commits does not keep the keys.
    for (int32_t i = 0; i < s.count; i++) {
        if (s.keys[i].state == swallowedWaiting) s.keys[i].state = swallowedReady;
    }
    s.lettersUnanswered = 0;
    Replay();
}
