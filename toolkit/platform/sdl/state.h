// Internal state of the SDL2 backend, shared by its sources.
#pragma once

#include <SDL.h>
#include <stdint.h>

#include "toolkit/platform/common/class_table.h"
#include "toolkit/platform/common/message_names.h"
#include "toolkit/platform/common/message_ring.h"
#include "toolkit/platform/common/screen_copy.h"
#include "toolkit/platform/common/timer_table.h"
#include "toolkit/platform/platform.h"

enum : int32_t { sdlMaxWindows = 160, sdlQueueSize = 4096, sdlHeldKeys = 32 };
// How long keys wait behind a composition for its commit before they go on anyway.
enum : uint32_t { sdlHoldMilliseconds = 250 };

// A raw key press that may have gone to the input method instead of the program (forwarded_keys.cpp).
enum : int32_t { sdlSwallowedKeys = 8 };
enum : int32_t { swallowedUnknown = 0, swallowedWaiting = 1, swallowedReady = 2 }; // a key's state
enum : int32_t { swallowedKey = 1, swallowedLetter = 2 };                          // the last raw press
struct SdlSwallowedKey {
    uint32_t virtualKey;
    uint32_t character; // its WM_CHAR, 0 for none
    uint64_t expires;
    int32_t state; // unknown until the next event shows whether SDL reported it; then waiting for a commit
                   // or ready to replay
};
// The backend's raw-key event: code is the key's virtual key (sdlRawLetter for a letter, 0 for a key that is
// not replayed), data1 its WM_CHAR, data2 the KMOD_ bit of a modifier, with sdlRawRelease for its release.
enum : int32_t { sdlRawLetter = -1 };
inline constexpr uintptr_t sdlRawRelease = 0x10000;
struct SdlSwallowedKeys {
    SdlSwallowedKey keys[sdlSwallowedKeys]; // oldest first
    int32_t count;
    int32_t last;              // the newest raw press, while SDL may still report it: 0 none
    int32_t lettersUnanswered; // letters the input method took and has not shown as a composition yet
};

struct SdlWindow {
    WindowHandle handle; // 0 = free entry
    int32_t classIndex;
    uint32_t style;
    SDL_Window* window;
    SDL_Renderer* renderer; // null: pixels go through the window's own surface
    SDL_Texture* texture;
    int32_t textureWidth, textureHeight;
    SDL_Surface* screen; // the window surface the last copy wrote into
    int32_t screenWidth, screenHeight;
    ScreenCopy shown; // what the window shows
    uint32_t sdlId;
    int32_t visible;
    int32_t minimised;
    int32_t maximised;
    int32_t needsPaint;
    int32_t destroying;
};

struct SdlState {
    int32_t videoState; // 0 not tried, 1 running, -1 failed
    ClassTable classes;
    SdlWindow windows[sdlMaxWindows];
    WindowHandle nextHandle;
    PlatformMessage queue[sdlQueueSize];
    MessageRing posted; // over queue
    TimerTable timers;
    MessageNames registered;
    WindowHandle capture;
    WindowHandle active;
    uint16_t keyMods;      // modifier state as of the last key event translated
    uint32_t mouseButtons; // MK_LBUTTON / MK_RBUTTON / MK_MBUTTON held, as of the last button event
    int32_t composing;     // the input method shows a half-made character
    // Keys pressed while a character was being composed, waiting for the input method's commit: the input
    // method reports the key that ends a composition before the syllable it commits.
    PlatformMessage heldKeys[sdlHeldKeys];
    int32_t heldKeyCount;
    int32_t holdingKeys;
    uint64_t holdUntil;
    SdlSwallowedKeys swallowed;
    uint32_t
        rawKeyEvent; // the SDL event type of raw key presses and modifier releases, 0 before video starts
    char imeResult[8];
    int32_t imeResultCount;
    char imeComposition[8];
    int32_t imeCompositionCount;
};

extern SdlState sdl;

// Starts SDL's video once; 1 when it runs.
int32_t SdlStartVideo();
SdlWindow* SdlFind(WindowHandle window);
SdlWindow* SdlFindById(uint32_t sdlId);
intptr_t SdlSend(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
// Asks the window procedure for the tracking limits and hands them to SDL.
void SdlApplyLimits(SdlWindow* w);
// The client size as the toolkit sees it: 0 × 0 while minimised.
void SdlClientSize(const SdlWindow* w, int32_t* width, int32_t* height);
// Posts WM_SIZE with the current client size; a WM_SIZE still waiting last in the queue is replaced.
void SdlPostSize(SdlWindow* w);
// Appends a message; a mouse move or size directly behind one of its kind replaces it.
int32_t SdlQueue(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// Turns one SDL event into queued messages and window state.
void SdlTranslateEvent(const SDL_Event* event);
// Queues the keys held behind a composition, in the order they were pressed.
void SdlReleaseHeldKeys();

// Keys an input method swallows and hands back, which SDL drops: raw X key presses are noted, SDL's own key
// reports and the input method's commits and compositions resolve them, and a swallowed key is replayed
// (after the commit of a composition it ended). Raw presses and releases of Shift, Ctrl and Alt keep the
// modifier state right when the input method swallowed them.
void SdlWatchRawKeys();
// On X, an error about a window that is already gone leaves the program running.
void SdlTolerateGoneWindows();
void SdlNoteRawKey(const SDL_UserEvent* event);
void SdlSettleRawKey();
void SdlKeyDelivered();
void SdlNoteCommit();
void SdlNoteEditing(bool empty);
void SdlExpireSwallowedKeys();
// The Windows virtual-key code of an SDL key, 0 when it has none.
uint32_t SdlVirtualKey(SDL_Keycode key, SDL_Scancode scancode, bool numLock);

// Code page 949 <-> UTF-8 through iconv. Both return the bytes written (without the terminating zero,
// which they always add), or -1 when the text cannot be converted.
int32_t SdlCp949ToUtf8(const char* text, char* destination, uint32_t size);
int32_t SdlUtf8ToCp949(const char* text, uint32_t length, char* destination, uint32_t size);
