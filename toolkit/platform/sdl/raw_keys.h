// The watch on raw X key presses, which an input method may swallow before SDL sees them.
#pragma once

#include <stdint.h>

// The backend's raw-key event: code is the key's virtual key (sdlRawLetter for a letter, 0 for a key that is
// not replayed), data1 its WM_CHAR, data2 the KMOD_ bit of a modifier, with sdlRawRelease for its release.
enum : int32_t { sdlRawLetter = -1 };
inline constexpr uintptr_t sdlRawRelease = 0x10000;

// The WM_CHAR of a raw press, as Windows (and the backend's SDL key path) makes it: printable ASCII,
// Backspace, Tab, Enter and Escape of the text X gives the key; a Tab key types a Tab with or without
// Shift, and nothing with Ctrl. tabKey: the key's symbol without modifiers is Tab.
uint32_t RawKeyCharacter(bool tabKey, bool ctrl, uint32_t text);

// The SDL event type of raw key presses and modifier releases; 0 before video starts.
extern uint32_t sdlRawKeyEvent;

// Raw X key presses become raw-key events, queued in their place among SDL's events; raw presses and
// releases of Shift, Ctrl and Alt keep SDL's modifier state right when the input method swallowed them.
void SdlWatchRawKeys();
