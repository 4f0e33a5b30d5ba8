// The one owner of key order on the SDL backend: see key_order.h for the protocol.
#include "toolkit/platform/sdl/key_order.h"

#include "toolkit/platform/sdl/pending.h"

KeyOrder sdlKeyOrder = {SdlQueue, {}, 0, 0, 0, 0, 0, rawNone, 0, {}};

// Whether a replay stands for the key's release; a press or release of the key ends that.
static bool TakeReplayed(KeyOrder* o, WParam virtualKey) {
    if (virtualKey >= 256) return false;
    uint32_t bit = 1u << (virtualKey % 32), &word = o->replayed[virtualKey / 32];
    bool was = (word & bit) != 0;
    word &= ~bit;
    return was;
}

// Something was composed, or the input method still has letters to show: a key now ends a composition.
static bool Composing(const KeyOrder* o) {
    return o->composing != 0 || o->lettersUnanswered > 0;
}

// The ready keys at the front go on, in order; the rest keep waiting.
static void Flush(KeyOrder* o) {
    int32_t n = 0;
    for (; n < o->count && o->entries[n].state == keyReady; n++) {
        const PlatformMessage& m = o->entries[n].message;
        if (m.window) o->output(m.window, m.message, m.wParam, m.lParam);
    }
    for (int32_t i = n; i < o->count; i++) o->entries[i - n] = o->entries[i];
    o->count -= n;
    o->rawFrom -= n;
    for (int32_t i = 0; i < o->count; i++) {
        if (o->entries[i].state == keyWaiting) return;
    }
    o->deadline = 0;
}

// Every key that waits goes on (behind any raw press still unsettled).
static void ReleaseAll(KeyOrder* o) {
    for (int32_t i = 0; i < o->count; i++) {
        if (o->entries[i].state == keyWaiting) o->entries[i].state = keyReady;
    }
    Flush(o);
}

static void Append(KeyOrder* o, const PlatformMessage& m, int32_t state, uint64_t now) {
    if (o->count == keyOrderSize) {
        // The oldest go on rather than being lost.
        for (int32_t i = 0; i < o->count; i++) o->entries[i].state = keyReady;
        o->rawPress = rawNone;
        Flush(o);
    }
    o->entries[o->count++] = {m, state};
    if (state == keyWaiting && o->deadline == 0) o->deadline = now + keyOrderWaitMilliseconds;
}

void KeyOrderKey(KeyOrder* o, const PlatformMessage* m, uint64_t now) {
    bool release = m->message == WM_KEYUP || m->message == WM_SYSKEYUP;
    // A press SDL reports ends the wait for a replay's release as well: that release never came.
    if (m->message != WM_CHAR && TakeReplayed(o, m->wParam) && release) return;
    if (o->count == 0 && (release || !Composing(o))) {
        o->output(m->window, m->message, m->wParam, m->lParam);
        return;
    }
    Append(o, *m, Composing(o) ? keyWaiting : keyReady, now);
    Flush(o);
}

void KeyOrderComposing(KeyOrder* o, WindowHandle target, bool empty, WParam character) {
    // Each letter the input method takes ends in one character being composed.
    if (!empty && o->lettersUnanswered > 0) o->lettersUnanswered--;
    if (empty) {
        if (o->composing) o->output(target, WM_IME_COMPOSITION, 0, static_cast<LParam>(GCS_COMPSTR));
        o->composing = 0;
        return;
    }
    if (!character) return;
    o->dropped = 0; // a new composition: the dropped one's commit is not coming any more
    if (!o->composing) o->output(target, WM_IME_STARTCOMPOSITION, 0, 0);
    o->composing = character;
    o->output(target, WM_IME_COMPOSITION, character, static_cast<LParam>(GCS_COMPSTR));
}

void KeyOrderCommit(KeyOrder* o, WindowHandle target, WParam character) {
    if (o->dropped) {
        bool same = character == o->dropped;
        o->dropped = 0;
        if (same) return;
    }
    if (character) o->output(target, WM_IME_COMPOSITION, character, static_cast<LParam>(GCS_RESULTSTR));
}

void KeyOrderTextEnd(KeyOrder* o, bool committed) {
    o->composing = 0;
    // A commit while letters are still unanswered ends an earlier syllable, not the one a key ended.
    if (committed && o->lettersUnanswered == 0) ReleaseAll(o);
}

void KeyOrderRawLetter(KeyOrder* o, uint64_t now) {
    KeyOrderSettle(o, now);
    o->rawPress = rawLetter;
}

void KeyOrderRawKey(KeyOrder* o, WindowHandle target, uint32_t virtualKey, uint32_t character, uint64_t now) {
    KeyOrderSettle(o, now);
    TakeReplayed(o, virtualKey); // an earlier replay's release that never came
    // Backspace inside a composition takes a letter off it: the input method's own key then.
    if (virtualKey == vkBack && Composing(o)) return;
    if (o->count + 3 > keyOrderSize) {
        for (int32_t i = 0; i < o->count; i++) o->entries[i].state = keyReady;
        Flush(o);
    }
    o->rawFrom = o->count;
    o->rawPress = rawKey;
    Append(o, {target, WM_KEYDOWN, virtualKey, 1}, keyUnsettled, now);
    if (character) Append(o, {target, WM_CHAR, character, 1}, keyUnsettled, now);
    Append(o, {target, WM_KEYUP, virtualKey, static_cast<LParam>(0xC0000001u)}, keyUnsettled, now);
}

void KeyOrderReported(KeyOrder* o) {
    if (o->rawPress == rawKey) o->count = o->rawFrom;
    o->rawPress = rawNone;
}

void KeyOrderSettle(KeyOrder* o, uint64_t now) {
    if (o->rawPress == rawLetter) o->lettersUnanswered++;
    if (o->rawPress == rawKey) {
        // A key that ended a composition waits for its commit; otherwise it goes on now.
        int32_t state = Composing(o) ? keyWaiting : keyReady;
        for (int32_t i = o->rawFrom; i < o->count; i++) o->entries[i].state = state;
        WParam key = o->rawFrom < o->count ? o->entries[o->rawFrom].message.wParam : 256;
        if (key < 256) o->replayed[key / 32] |= 1u << (key % 32);
        if (state == keyWaiting && o->deadline == 0) o->deadline = now + keyOrderWaitMilliseconds;
        o->rawPress = rawNone;
        Flush(o);
    }
    o->rawPress = rawNone;
}

int32_t KeyOrderDrop(KeyOrder* o) {
    int32_t was = o->composing != 0;
    if (was) o->dropped = o->composing;
    o->composing = 0;
    o->lettersUnanswered = 0;
    ReleaseAll(o);
    return was;
}

void KeyOrderExpire(KeyOrder* o, uint64_t now) {
    if (o->deadline == 0 || now < o->deadline) return;
    // A typed character (not a space or a control key) that waited this long without a commit went past the
    // input method: a live one takes letters and commits before anything else it lets through. It has let the
    // composition go (it ended, or was killed), so the composition is cleared; a commit that still comes goes
    // in as typed.
    for (int32_t i = 0; i < o->count && o->composing; i++) {
        const PlatformMessage& m = o->entries[i].message;
        if (o->entries[i].state != keyWaiting || m.message != WM_CHAR || m.wParam <= ' ') continue;
        o->output(m.window, WM_IME_COMPOSITION, 0, static_cast<LParam>(GCS_COMPSTR));
        o->composing = 0;
    }
    o->lettersUnanswered = 0;
    ReleaseAll(o);
    o->deadline = 0;
}

uint64_t KeyOrderDeadline(const KeyOrder* o) {
    return o->deadline ? o->deadline : UINT64_MAX;
}
