// SDL keys as Windows virtual-key codes.
#include "toolkit/platform/sdl/keys.h"

#include "toolkit/platform/platform.h"

// The keypad's digits without Num Lock are the navigation keys, as Windows reports them.
static uint32_t KeypadKey(SDL_Scancode scancode, bool numLock) {
    static const uint32_t digits[10] = {vkInsert, vkEnd,   vkDown, vkNext, vkLeft,
                                        vkClear,  vkRight, vkHome, vkUp,   vkPrior};
    int32_t digit =
        scancode == SDL_SCANCODE_KP_0 ? 0 : static_cast<int32_t>(scancode - SDL_SCANCODE_KP_1) + 1;
    if (numLock) return vkNumpad0 + static_cast<uint32_t>(digit);
    return digits[digit];
}

uint32_t SdlVirtualKey(SDL_Keycode key, SDL_Scancode scancode, bool numLock) {
    // Letters and digits follow the keyboard layout; everything else is the physical key.
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<uint32_t>(key - SDLK_0);
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return vkF1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return vkF13 + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) return KeypadKey(scancode, numLock);
    switch (scancode) {
    case SDL_SCANCODE_0:
        return '0';
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
        return vkReturn;
    case SDL_SCANCODE_ESCAPE:
        return vkEscape;
    case SDL_SCANCODE_BACKSPACE:
        return vkBack;
    case SDL_SCANCODE_TAB:
        return vkTab;
    case SDL_SCANCODE_SPACE:
        return vkSpace;
    case SDL_SCANCODE_MINUS:
        return vkOemMinus;
    case SDL_SCANCODE_EQUALS:
        return vkOemPlus;
    case SDL_SCANCODE_LEFTBRACKET:
        return vkOem4;
    case SDL_SCANCODE_RIGHTBRACKET:
        return vkOem6;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH:
        return vkOem5;
    case SDL_SCANCODE_SEMICOLON:
        return vkOem1;
    case SDL_SCANCODE_APOSTROPHE:
        return vkOem7;
    case SDL_SCANCODE_GRAVE:
        return vkOem3;
    case SDL_SCANCODE_COMMA:
        return vkOemComma;
    case SDL_SCANCODE_PERIOD:
        return vkOemPeriod;
    case SDL_SCANCODE_SLASH:
        return vkOem2;
    case SDL_SCANCODE_NONUSBACKSLASH:
        return vkOem102;
    case SDL_SCANCODE_CAPSLOCK:
        return vkCapital;
    case SDL_SCANCODE_PRINTSCREEN:
        return vkSnapshot;
    case SDL_SCANCODE_SCROLLLOCK:
        return vkScroll;
    case SDL_SCANCODE_PAUSE:
        return vkPause;
    case SDL_SCANCODE_INSERT:
        return vkInsert;
    case SDL_SCANCODE_HOME:
        return vkHome;
    case SDL_SCANCODE_PAGEUP:
        return vkPrior;
    case SDL_SCANCODE_DELETE:
        return vkDelete;
    case SDL_SCANCODE_END:
        return vkEnd;
    case SDL_SCANCODE_PAGEDOWN:
        return vkNext;
    case SDL_SCANCODE_RIGHT:
        return vkRight;
    case SDL_SCANCODE_LEFT:
        return vkLeft;
    case SDL_SCANCODE_DOWN:
        return vkDown;
    case SDL_SCANCODE_UP:
        return vkUp;
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return vkNumLock;
    case SDL_SCANCODE_KP_DIVIDE:
        return vkDivide;
    case SDL_SCANCODE_KP_MULTIPLY:
        return vkMultiply;
    case SDL_SCANCODE_KP_MINUS:
        return vkSubtract;
    case SDL_SCANCODE_KP_PLUS:
        return vkAdd;
    case SDL_SCANCODE_KP_PERIOD:
        return numLock ? vkDecimal : vkDelete;
    case SDL_SCANCODE_APPLICATION:
    case SDL_SCANCODE_MENU:
        return vkApps;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return vkControl;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return vkShift;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return vkMenu;
    case SDL_SCANCODE_LGUI:
        return vkLeftWin;
    case SDL_SCANCODE_RGUI:
        return vkRightWin;
    case SDL_SCANCODE_LANG1:
        return vkHangul; // scancode 144
    case SDL_SCANCODE_LANG2:
        return vkHanja; // scancode 145
    default:
        break;
    }
    if (key == SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_LANG1)) return vkHangul;
    if (key == SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_LANG2)) return vkHanja;
    return 0;
}
