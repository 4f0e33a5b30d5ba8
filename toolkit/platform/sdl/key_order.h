// The order of keys and the input method's text on the SDL backend. An input method reports a key that
// ends a composition before the syllable it commits, and ibus-hangul may even swallow such a key and hand
// it back, which SDL drops (the backend then replays it from the raw X press). Either way the key waits
// here for the commit it ended: one queue, one deadline, the composing state, and these entry points.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

enum : int32_t { keyOrderSize = 48 };
// How long keys wait behind a composition for its commit before they go on anyway.
enum : uint32_t { keyOrderWaitMilliseconds = 250 };
// An entry's state: a raw press SDL may still report, a key waiting for a commit, a key free to go on.
enum : int32_t { keyUnsettled = 0, keyWaiting = 1, keyReady = 2 };
// The newest raw press, while SDL may still report it.
enum : int32_t { rawNone = 0, rawKey = 1, rawLetter = 2 };

// Where messages go on: the backend's queue, or a test's record.
typedef int32_t (*KeyOrderOutput)(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

struct KeyOrderEntry {
    PlatformMessage message;
    int32_t state;
};

struct KeyOrder {
    KeyOrderOutput output;
    KeyOrderEntry entries[keyOrderSize]; // oldest first; only the ready ones at the front go on
    int32_t count;
    uint64_t deadline;         // when waiting keys go on without their commit; 0 while none waits
    WParam composing;          // the character being composed, 0xHHLL in code page 949; 0 for none
    WParam dropped;            // a composition the program dropped: its late commit goes nowhere; 0 for none
    int32_t lettersUnanswered; // letters the input method took and has not shown as a composition yet
    int32_t rawPress;          // rawNone, rawKey or rawLetter
    int32_t rawFrom;           // the first entry of that raw key
    // Keys replayed whole, by virtual key: SDL's report of their release, which the input method lets
    // through, is the replay's second one and goes nowhere.
    uint32_t replayed[256 / 32];
};

// The backend's own, over its message queue.
extern KeyOrder sdlKeyOrder;

// A key or typed character that SDL reported (WM_KEYDOWN, WM_KEYUP, WM_SYSKEY*, WM_CHAR): it waits behind
// a composition it may have ended, and behind every key still waiting. The release of a key replayed whole
// goes nowhere.
void KeyOrderKey(KeyOrder* order, const PlatformMessage* message, uint64_t now);
// The input method shows character as being composed; empty: nothing is composed any more. A text that
// has no code page 949 form (character 0) changes nothing but the count of letters answered.
void KeyOrderComposing(KeyOrder* order, WindowHandle target, bool empty, WParam character);
// One finished character of the input method (0: it has no code page 949 form): it goes on at once, ahead
// of the keys that ended it, unless it is the commit of a dropped composition.
void KeyOrderCommit(KeyOrder* order, WindowHandle target, WParam character);
// A text event has ended: nothing is composed now; after a commit the keys that ended it go on.
void KeyOrderTextEnd(KeyOrder* order, bool committed);
// Raw X presses, seen before SDL or the input method: a letter (the input method's own), or a key that is
// replayed (WM_KEYDOWN, its WM_CHAR if any, WM_KEYUP) unless SDL reports it itself.
void KeyOrderRawLetter(KeyOrder* order, uint64_t now);
void KeyOrderRawKey(KeyOrder* order, WindowHandle target, uint32_t virtualKey, uint32_t character,
                    uint64_t now);
// SDL reported the newest raw press itself: it is not replayed.
void KeyOrderReported(KeyOrder* order);
// Every event of the batch that could report the newest raw press is in: unreported, it went to the input
// method.
void KeyOrderSettle(KeyOrder* order, uint64_t now);
// The program dropped the composition: the commit that the input method may still send for it goes
// nowhere, and the keys that waited for it go on. 1 when something was being composed.
int32_t KeyOrderDrop(KeyOrder* order);
// Past the deadline, an input method that never commits does not keep the keys.
void KeyOrderExpire(KeyOrder* order, uint64_t now);
// The deadline, UINT64_MAX while no key waits.
uint64_t KeyOrderDeadline(const KeyOrder* order);
