// SDL events as the window messages of the toolkit: window changes, mouse, keys, characters and the
// input method's composition.
#include <string.h>

#include "toolkit/platform/sdl/events.h"

#include "toolkit/platform/common/message_params.h"
#include "toolkit/platform/sdl/encoding.h"
#include "toolkit/platform/sdl/key_order.h"
#include "toolkit/platform/sdl/keys.h"
#include "toolkit/platform/sdl/pending.h"
#include "toolkit/platform/sdl/present.h"
#include "toolkit/platform/sdl/raw_keys.h"
#include "toolkit/platform/sdl/window_table.h"
#include "toolkit/platform/sdl/windows.h"

enum : uint32_t { csDoubleClicks = 0x8, mkMiddle = 0x10 };
enum : uint32_t { keyPrevious = 1u << 30, keyReleased = 1u << 31, keyContext = 1u << 29 };

// The keyboard and mouse state that events carry forward.
static uint16_t keyMods;      // modifier state as of the last key event translated
static uint32_t mouseButtons; // MK_LBUTTON / MK_RBUTTON / MK_MBUTTON held, as of the last button event

static void PostSize(SdlWindow* w) {
    int32_t width, height;
    SdlClientSize(w, &width, &height);
    WParam kind = w->minimised ? SIZE_MINIMIZED : w->maximised ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SdlQueue(w->handle, WM_SIZE, kind, PackWords(width, height));
}

static void WindowEvent(const SDL_WindowEvent* e) {
    SdlWindow* w = SdlFindById(e->windowID);
    if (!w) return;
    switch (e->event) {
    case SDL_WINDOWEVENT_EXPOSED:
        SdlScreenLost(w);
        w->needsPaint = 1;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (w->minimised) break;
        SdlScreenLost(w);
        PostSize(w);
        w->needsPaint = 1;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (w->minimised) break;
        w->minimised = 1;
        PostSize(w);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        SdlScreenLost(w);
        w->minimised = 0;
        w->maximised = 1;
        PostSize(w);
        w->needsPaint = 1;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (!w->minimised && !w->maximised) break;
        SdlScreenLost(w);
        w->minimised = 0;
        w->maximised = 0;
        PostSize(w);
        w->needsPaint = 1;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        sdlWindows.active = w->handle;
        SdlApplyLimits(w); // before the user can start dragging the frame
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (sdlWindows.active == w->handle) sdlWindows.active = 0;
        // Keys let go of while another window has the keyboard are never reported here.
        SdlQueue(w->handle, WM_KILLFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        SdlQueue(w->handle, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

static uint32_t ButtonBit(uint8_t button) {
    if (button == SDL_BUTTON_LEFT) return MK_LBUTTON;
    if (button == SDL_BUTTON_RIGHT) return MK_RBUTTON;
    if (button == SDL_BUTTON_MIDDLE) return mkMiddle;
    return 0;
}

static WParam MouseKeys(uint32_t buttons) {
    WParam keys = buttons;
    if (keyMods & KMOD_SHIFT) keys |= MK_SHIFT;
    if (keyMods & KMOD_CTRL) keys |= MK_CONTROL;
    return keys;
}

// The window that gets a mouse event, and the position in its client area: while a window holds the
// capture it gets everything, wherever the pointer is.
static WindowHandle MouseTarget(uint32_t windowId, int32_t* x, int32_t* y) {
    SdlWindow* w = SdlFindById(windowId);
    SdlWindow* c = SdlFind(sdlWindows.capture);
    if (!c || c == w) return w ? w->handle : 0;
    int cx = 0, cy = 0;
    SDL_GetWindowPosition(c->window, &cx, &cy);
    if (w) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(w->window, &wx, &wy);
        *x += wx - cx;
        *y += wy - cy;
    } else {
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        *x = gx - cx;
        *y = gy - cy;
    }
    return c->handle;
}

static void MouseMotion(const SDL_MouseMotionEvent* e) {
    int32_t x = e->x, y = e->y;
    WindowHandle target = MouseTarget(e->windowID, &x, &y);
    uint32_t buttons = 0;
    if (e->state & SDL_BUTTON_LMASK) buttons |= MK_LBUTTON;
    if (e->state & SDL_BUTTON_RMASK) buttons |= MK_RBUTTON;
    if (e->state & SDL_BUTTON_MMASK) buttons |= mkMiddle;
    if (target) SdlQueue(target, WM_MOUSEMOVE, MouseKeys(buttons), PackWords(x, y));
}

static void MouseButton(const SDL_MouseButtonEvent* e) {
    uint32_t bit = ButtonBit(e->button);
    if (!bit) return;
    bool down = e->type == SDL_MOUSEBUTTONDOWN;
    if (down) {
        mouseButtons |= bit;
    } else {
        mouseButtons &= ~bit;
    }
    int32_t x = e->x, y = e->y;
    WindowHandle target = MouseTarget(e->windowID, &x, &y);
    SdlWindow* w = SdlFind(target);
    if (!w || bit == mkMiddle) return;
    // Every second click of a run is a double click, for classes that ask for them.
    bool twice = down && e->clicks >= 2 && e->clicks % 2 == 0 &&
                 (sdlWindows.classes.entries[w->classIndex].style & csDoubleClicks);
    uint32_t message;
    if (bit == MK_LBUTTON) {
        message = twice ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    } else {
        message = twice ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    }
    SdlQueue(target, message, MouseKeys(mouseButtons), PackWords(x, y));
}

// Wheel turns in wheelDelta units not yet sent: touchpads and smooth wheels report fractions of a notch,
// which add up until they make a whole one. A turn the other way starts again from nothing.
static int32_t wheelRest;

static int32_t WheelNotches(const SDL_MouseWheelEvent* e) {
#if SDL_VERSION_ATLEAST(2, 0, 18)
    float turned = e->preciseY;
#else
    float turned = static_cast<float>(e->y);
#endif
    if (e->direction == SDL_MOUSEWHEEL_FLIPPED) turned = -turned; // back to away-from-the-user positive
    float units = turned * static_cast<float>(static_cast<int32_t>(wheelDelta));
    int32_t step = static_cast<int32_t>(units < 0 ? units - 0.5f : units + 0.5f);
    if ((step < 0 && wheelRest > 0) || (step > 0 && wheelRest < 0)) wheelRest = 0;
    wheelRest += step;
    int32_t notches = wheelRest / wheelDelta;
    wheelRest -= notches * wheelDelta;
    return notches;
}

// WM_MOUSEWHEEL to the window under the pointer, one message per whole notch turned.
static void MouseWheel(const SDL_MouseWheelEvent* e) {
    int32_t notches = WheelNotches(e);
    SdlWindow* w = SdlFindById(e->windowID);
    if (!w || notches == 0) return;
    PlatformPoint at = {0, 0};
#if SDL_VERSION_ATLEAST(2, 26, 0)
    at = {e->mouseX, e->mouseY};
#else
    SDL_GetMouseState(&at.x, &at.y);
#endif
    PlatformClientToScreen(w->handle, &at);
    uint32_t keys = static_cast<uint32_t>(MouseKeys(mouseButtons)) & 0xFFFF;
    int32_t step = notches > 0 ? wheelDelta : -wheelDelta;
    for (int32_t i = 0; i != notches; i += notches > 0 ? 1 : -1)
        SdlQueue(w->handle, WM_MOUSEWHEEL, (static_cast<uint32_t>(step) & 0xFFFF) << 16 | keys,
                 PackWords(at.x, at.y));
}

// Key messages go on through key order, which may hold them behind a composition they ended.
static void QueueKey(WindowHandle target, uint32_t message, WParam wParam, LParam lParam) {
    PlatformMessage m = {target, message, wParam, lParam};
    KeyOrderKey(&sdlKeyOrder, &m, SDL_GetTicks64());
}

static WindowHandle KeyboardTarget(uint32_t windowId) {
    SdlWindow* w = SdlFindById(windowId);
    return w ? w->handle : sdlWindows.active;
}

// Alt held without Ctrl (Ctrl+Alt is AltGr) makes system keys, which type nothing.
static bool AltOnly() {
    return (keyMods & KMOD_ALT) && !(keyMods & KMOD_CTRL);
}

// The characters Windows makes of keys that SDL reports no text for.
static uint32_t KeyCharacter(uint32_t vk) {
    bool ctrl = (keyMods & KMOD_CTRL) && !(keyMods & KMOD_ALT); // Ctrl+Alt is AltGr
    if (vk == vkBack) return ctrl ? 127 : 8;
    if (vk == vkTab) return ctrl ? 0 : 9;
    if (vk == vkReturn) return ctrl ? 10 : 13;
    if (vk == vkEscape) return 27;
    if (ctrl && vk >= 'A' && vk <= 'Z') return vk - 'A' + 1;
    return 0;
}

static void Key(const SDL_KeyboardEvent* e) {
    keyMods = e->keysym.mod;
    if (e->type == SDL_KEYDOWN) KeyOrderReported(&sdlKeyOrder);
    uint32_t vk = SdlVirtualKey(e->keysym.sym, e->keysym.scancode, (e->keysym.mod & KMOD_NUM) != 0);
    WindowHandle target = KeyboardTarget(e->windowID);
    if (!vk || !target) return;
    bool up = e->type == SDL_KEYUP;
    bool system = ((AltOnly() || vk == vkMenu) && !(keyMods & KMOD_CTRL)) || vk == vkF10;
    uint32_t data = 1;
    if (keyMods & KMOD_ALT) data |= keyContext;
    if (up || e->repeat) data |= keyPrevious;
    if (up) data |= keyReleased;
    uint32_t message = system ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    QueueKey(target, message, vk, static_cast<LParam>(data));
    if (up || system) return;
    uint32_t c = KeyCharacter(vk);
    if (c) QueueKey(target, WM_CHAR, c, static_cast<LParam>(data));
}

// Bytes in the first UTF-8 character of text (1 for a stray byte).
static uint32_t Utf8Length(const char* text) {
    uint8_t b = static_cast<uint8_t>(text[0]);
    uint32_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    for (uint32_t i = 1; i < n; i++) {
        if ((static_cast<uint8_t>(text[i]) & 0xC0) != 0x80) return i;
    }
    return n;
}

// One character in code page 949 as the input method reports it: 0xHHLL, lead byte high; 0 when it
// has no two-byte form.
static WParam Cp949Character(const char* text, uint32_t length) {
    char bytes[8];
    if (SdlUtf8ToCp949(text, length, bytes, sizeof bytes) != 2) return 0;
    return static_cast<WParam>(static_cast<uint8_t>(bytes[0])) << 8 | static_cast<uint8_t>(bytes[1]);
}

// Finished text: plain ASCII as WM_CHAR, every other character as a finished composition of its own.
static void TextInput(const SDL_TextInputEvent* e) {
    WindowHandle target = KeyboardTarget(e->windowID);
    if (!target) return;
    bool typed = !AltOnly() && !((keyMods & KMOD_CTRL) && !(keyMods & KMOD_ALT));
    bool committed = false;
    for (const char* p = e->text; *p;) {
        uint32_t n = Utf8Length(p);
        uint8_t c = static_cast<uint8_t>(p[0]);
        if (c < 0x80) {
            if (typed) QueueKey(target, WM_CHAR, c, 1);
        } else {
            KeyOrderCommit(&sdlKeyOrder, target, Cp949Character(p, n));
            committed = true;
        }
        p += n;
    }
    KeyOrderTextEnd(&sdlKeyOrder, committed);
}

// The character being composed (the last one of the input method's text), or its disappearance.
static void TextEditing(const SDL_TextEditingEvent* e) {
    WindowHandle target = KeyboardTarget(e->windowID);
    if (!target) return;
    const char* last = nullptr;
    for (const char* p = e->text; *p; p += Utf8Length(p)) last = p;
    WParam character = last ? Cp949Character(last, Utf8Length(last)) : 0;
    KeyOrderComposing(&sdlKeyOrder, target, last == nullptr, character);
}

// A raw X press or modifier release: modifiers count for the messages that follow, whether or not SDL saw
// the key; the key itself goes to key order, which replays it if SDL never reports it.
static void RawKey(const SDL_UserEvent* e) {
    uint64_t now = SDL_GetTicks64();
    uintptr_t flags = reinterpret_cast<uintptr_t>(e->data2);
    uint16_t modifier = static_cast<uint16_t>(flags & 0xFFFF);
    if (flags & sdlRawRelease) {
        keyMods = static_cast<uint16_t>(keyMods & ~modifier);
        KeyOrderSettle(&sdlKeyOrder, now);
        return;
    }
    keyMods = static_cast<uint16_t>(keyMods | modifier);
    if (e->code == sdlRawLetter) {
        KeyOrderRawLetter(&sdlKeyOrder, now);
    } else if (e->code != 0) {
        uint32_t character = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e->data1));
        KeyOrderRawKey(&sdlKeyOrder, sdlWindows.active, static_cast<uint32_t>(e->code), character, now);
    } else {
        KeyOrderSettle(&sdlKeyOrder, now);
    }
}

void SdlTranslateEvent(const SDL_Event* event) {
    // The raw press comes first, then SDL's copy of the X event, then SDL's own report of the key.
    if (event->type != SDL_KEYDOWN && event->type != SDL_SYSWMEVENT && event->type != sdlRawKeyEvent)
        KeyOrderSettle(&sdlKeyOrder, SDL_GetTicks64());
    switch (event->type) {
    case SDL_WINDOWEVENT:
        WindowEvent(&event->window);
        break;
    case SDL_MOUSEMOTION:
        MouseMotion(&event->motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        MouseButton(&event->button);
        break;
    case SDL_MOUSEWHEEL:
        MouseWheel(&event->wheel);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        Key(&event->key);
        break;
    case SDL_TEXTINPUT:
        TextInput(&event->text);
        break;
    case SDL_TEXTEDITING:
        TextEditing(&event->edit);
        break;
    default: // SDL_QUIT included: closing is per window, through WM_CLOSE
        if (sdlRawKeyEvent && event->type == sdlRawKeyEvent) RawKey(&event->user);
        break;
    }
}
