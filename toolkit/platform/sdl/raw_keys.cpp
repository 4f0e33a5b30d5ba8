// The watch on raw X key presses. Input methods swallow keys and hand them back ("forwarding", the default of
// ibus-hangul for every key it does not compose with in Hangul mode: space, Enter, digits and punctuation,
// but also Backspace, Delete, the arrows, Home and End with nothing composed, and Ctrl and Alt). SDL 2.26
// drops keys handed back that way, so every raw press goes into SDL's queue as an event of the backend's
// own, and key order (key_order.cpp) replays a press that SDL never reports. SDL also never learns of a
// swallowed Ctrl or Alt, so the watch keeps SDL's modifier state in step with the raw presses and releases:
// the input method then sees Ctrl+letter as such, and clicks carry the keys held.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>

#include "toolkit/platform/sdl/raw_keys.h"

#include "toolkit/platform/sdl/keys.h"

uint32_t sdlRawKeyEvent;

static bool IsLetter(KeySym symbol) {
    return (symbol >= 'a' && symbol <= 'z') || (symbol >= 'A' && symbol <= 'Z');
}

// The input method's own keys: letters compose, the Hangul and Hanja keys switch its modes.
static bool InputMethodKey(KeySym symbol) {
    return IsLetter(symbol) || symbol == XK_Hangul || symbol == XK_Hangul_Hanja;
}

// The SDL scancode of a key that is not a printable character, 0 for keys the backend does not replay.
static SDL_Scancode ScancodeOf(KeySym symbol) {
    static const struct {
        KeySym symbol;
        SDL_Scancode scancode;
    } keys[] = {
        {XK_BackSpace, SDL_SCANCODE_BACKSPACE},
        {XK_Tab, SDL_SCANCODE_TAB},
        {XK_Return, SDL_SCANCODE_RETURN},
        {XK_Escape, SDL_SCANCODE_ESCAPE},
        {XK_Delete, SDL_SCANCODE_DELETE},
        {XK_Insert, SDL_SCANCODE_INSERT},
        {XK_Home, SDL_SCANCODE_HOME},
        {XK_End, SDL_SCANCODE_END},
        {XK_Prior, SDL_SCANCODE_PAGEUP},
        {XK_Next, SDL_SCANCODE_PAGEDOWN},
        {XK_Left, SDL_SCANCODE_LEFT},
        {XK_Right, SDL_SCANCODE_RIGHT},
        {XK_Up, SDL_SCANCODE_UP},
        {XK_Down, SDL_SCANCODE_DOWN},
        {XK_KP_Enter, SDL_SCANCODE_KP_ENTER},
        {XK_Control_L, SDL_SCANCODE_LCTRL},
        {XK_Control_R, SDL_SCANCODE_RCTRL},
        {XK_Shift_L, SDL_SCANCODE_LSHIFT},
        {XK_Shift_R, SDL_SCANCODE_RSHIFT},
        {XK_Alt_L, SDL_SCANCODE_LALT},
        {XK_Alt_R, SDL_SCANCODE_RALT},
    };
    for (const auto& k : keys) {
        if (k.symbol == symbol) return k.scancode;
    }
    if (symbol >= XK_F1 && symbol <= XK_F12)
        return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (symbol - XK_F1));
    if (symbol >= XK_KP_0 && symbol <= XK_KP_9)
        return symbol == XK_KP_0 ? SDL_SCANCODE_KP_0
                                 : static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (symbol - XK_KP_1));
    return SDL_SCANCODE_UNKNOWN;
}

// The modifier a key is, 0 for other keys.
static uint16_t ModifierOf(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_LCTRL:
        return KMOD_LCTRL;
    case SDL_SCANCODE_RCTRL:
        return KMOD_RCTRL;
    case SDL_SCANCODE_LSHIFT:
        return KMOD_LSHIFT;
    case SDL_SCANCODE_RSHIFT:
        return KMOD_RSHIFT;
    case SDL_SCANCODE_LALT:
        return KMOD_LALT;
    case SDL_SCANCODE_RALT:
        return KMOD_RALT;
    default:
        return 0;
    }
}

// The virtual key of a raw key, 0 for keys that are not watched.
static uint32_t VirtualKeyOf(KeySym symbol, bool numLock) {
    if (symbol >= 0x20 && symbol <= 0x7E) {
        SDL_Keycode key = static_cast<SDL_Keycode>(symbol);
        return SdlVirtualKey(key, SDL_GetScancodeFromKey(key), true);
    }
    SDL_Scancode scancode = ScancodeOf(symbol);
    if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
    return SdlVirtualKey(SDL_GetKeyFromScancode(scancode), scancode, numLock);
}

uint32_t RawKeyCharacter(bool tabKey, bool ctrl, uint32_t text) {
    // Shift+Tab is ISO_Left_Tab, which has no text in X; Ctrl+Tab has a Tab's.
    if (tabKey) return ctrl ? 0 : 9;
    if (text == 8 || text == 9 || text == 13 || text == 27 || (text >= 0x20 && text < 0x7F)) return text;
    return 0;
}

// The WM_CHAR a key types, as Windows makes it.
static uint32_t CharacterOf(XKeyEvent* key, KeySym symbol) {
    char text[8] = {};
    KeySym typed = 0;
    int n = XLookupString(key, text, sizeof text, &typed, nullptr);
    return RawKeyCharacter(symbol == XK_Tab, (key->state & ControlMask) != 0,
                           n == 1 ? static_cast<uint8_t>(text[0]) : 0);
}

// Runs as SDL queues each event, while the raw X event is still at hand (SDL keeps one copy of it for all
// queued events): a key press goes into the queue, in its place, as a raw-key event of the backend's own;
// a modifier's press or release changes SDL's modifier state before SDL hands the key to the input method.
static int WatchRawKeys(void*, SDL_Event* event) {
    if (event->type != SDL_SYSWMEVENT || !event->syswm.msg || event->syswm.msg->subsystem != SDL_SYSWM_X11)
        return 1;
    XEvent x = event->syswm.msg->msg.x11.event;
    if (x.type != KeyPress && x.type != KeyRelease) return 1;
    KeySym symbol = XLookupKeysym(&x.xkey, 0);
    uint16_t modifier = ModifierOf(ScancodeOf(symbol));
    if (modifier) {
        uint16_t now = static_cast<uint16_t>(SDL_GetModState());
        SDL_SetModState(static_cast<SDL_Keymod>(x.type == KeyPress ? now | modifier : now & ~modifier));
    }
    if (x.type == KeyRelease && !modifier) return 1;
    SDL_Event raw = {};
    raw.user.type = sdlRawKeyEvent;
    if (x.type == KeyRelease) {
        raw.user.data2 = reinterpret_cast<void*>(sdlRawRelease | modifier);
    } else if (InputMethodKey(symbol)) {
        raw.user.code = IsLetter(symbol) ? sdlRawLetter : 0;
    } else {
        raw.user.code = static_cast<Sint32>(VirtualKeyOf(symbol, (x.xkey.state & Mod2Mask) != 0));
        raw.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(CharacterOf(&x.xkey, symbol)));
        raw.user.data2 = reinterpret_cast<void*>(static_cast<uintptr_t>(modifier));
    }
    SDL_PushEvent(&raw);
    return 1;
}

void SdlWatchRawKeys() {
    sdlRawKeyEvent = SDL_RegisterEvents(1);
    if (sdlRawKeyEvent == static_cast<uint32_t>(-1)) {
        sdlRawKeyEvent = 0;
        return;
    }
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_AddEventWatch(WatchRawKeys, nullptr);
}
