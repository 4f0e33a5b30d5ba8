// The list box's keys: moves of the current item with the selection following, and the type-ahead search
// by letters and Korean initial consonants.
#include <string.h>

#include "toolkit/controls/list_box.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/window/composition.h"
#include "util/hangul_initial.h"

enum : uint32_t {
    keyReleased = 0x80000000u,
    typedInitial = 0x10000, // a typed key that stands for every syllable with this initial
    typeAheadPause = 1000,  // milliseconds after which a typed key starts a new search
    millisecondsPerDay = 86400000,
};

static int32_t IndexOf(const ListBox* list, const ListBoxItem* item) {
    for (uint32_t i = 0; item && i < list->itemCount; i++) {
        if (list->items[i] == item) return static_cast<int32_t>(i);
    }
    return -1;
}

static void SetSelected(ListBoxItem* item, bool on) {
    if (!item || !(item->flags & listBoxItemListed)) return;
    item->flags = on ? item->flags | listBoxItemSelected : item->flags & ~listBoxItemSelected;
}

static void ScrollIntoView(ListBox* list, uint32_t index) {
    if (index < list->firstRow) {
        list->firstRow = index;
    } else if (list->visibleRows > 0 && index >= list->firstRow + list->visibleRows) {
        list->firstRow = index - list->visibleRows + 1;
    }
}

// The current item goes to index; how the selection follows depends on Shift and Ctrl.
static void MoveTo(ListBox* list, uint32_t index, uint32_t held) {
    ListBoxItem* to = list->items[index];
    bool shift = (held & editShift) != 0, ctrl = (held & editCtrl) != 0;
    if (shift) {
        if (!list->anchorItem) list->anchorItem = list->currentItem ? list->currentItem : to;
        int32_t anchor = IndexOf(list, list->anchorItem);
        if (anchor < 0) anchor = static_cast<int32_t>(index);
        uint32_t low = static_cast<uint32_t>(anchor) < index ? static_cast<uint32_t>(anchor) : index;
        uint32_t high = static_cast<uint32_t>(anchor) < index ? index : static_cast<uint32_t>(anchor);
        for (uint32_t i = 0; i < list->itemCount; i++) {
            if (i >= low && i <= high)
                SetSelected(list->items[i], true);
            else if (!ctrl)
                SetSelected(list->items[i], false);
        }
    } else if (!ctrl) {
        for (uint32_t i = 0; i < list->itemCount; i++) SetSelected(list->items[i], false);
        SetSelected(to, true);
        list->anchorItem = to;
    }
    list->currentItem = to;
    ScrollIntoView(list, index);
}

static uint32_t MillisecondsOfDay() {
    PlatformTime t;
    PlatformLocalTime(&t);
    return ((t.hour * 60u + t.minute) * 60u + t.second) * 1000u + t.milliseconds;
}

// What one typed character stands for: a lower-case letter or digit, a two-byte character as it is, or a
// lone consonant as typedInitial with its initial's number; 0 for what starts no search.
static uint32_t TypedKey(uint32_t code) {
    if (code < 0x80) {
        if (code <= ' ') return 0;
        return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
    }
    int32_t initial = HangulInitialOfCode(code);
    if (code >= 0xA4A1 && code <= 0xA4BE && initial >= 0)
        return typedInitial | static_cast<uint32_t>(initial);
    return code;
}

// Whether the text begins with the typed keys, character by character.
static bool BeginsWith(const char* text, const uint32_t* typed, uint32_t count) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
    for (uint32_t k = 0; k < count; k++) {
        if (!p[0]) return false;
        uint32_t code = p[0];
        if (code >= 0x80 && p[1]) code = code << 8 | p[1];
        p += code > 0xFF ? 2 : 1;
        if (typed[k] & typedInitial) {
            if (code <= 0xFF || static_cast<uint32_t>(HangulInitialOfCode(code)) != (typed[k] & 0xFF))
                return false;
        } else if (TypedKey(code) != typed[k]) {
            return false;
        }
    }
    return true;
}

static uint32_t TypeAhead(ListBox* list, uint32_t code) {
    uint32_t key = TypedKey(code);
    if (key == 0 || list->itemCount == 0) return 0;
    uint32_t now = MillisecondsOfDay();
    uint32_t since = (now + millisecondsPerDay - list->typedAt) % millisecondsPerDay;
    if (since > typeAheadPause) list->typedCount = 0;
    list->typedAt = now;
    if (list->typedCount < listBoxTypedKeys) list->typed[list->typedCount++] = key;
    // A first key looks past the current item; more keys narrow the search and may stay on it.
    int32_t current = IndexOf(list, list->currentItem);
    uint32_t start = current < 0 ? 0 : static_cast<uint32_t>(current) + (list->typedCount == 1 ? 1 : 0);
    for (uint32_t k = 0; k < list->itemCount; k++) {
        uint32_t i = (start + k) % list->itemCount;
        ListBoxItem* item = list->items[i];
        if (!item || !(item->flags & listBoxItemListed)) continue;
        if (!BeginsWith(item->text, list->typed, list->typedCount)) continue;
        MoveTo(list, i, 0);
        return redrawBits;
    }
    return 0;
}

uint32_t ListBoxKey(WindowHandle, WindowRecord*, Control* control, uint32_t key, uint32_t keyData) {
    ListBox* list = reinterpret_cast<ListBox*>(control);
    if (key & characterKey) return TypeAhead(list, key & characterCode);
    if ((keyData & keyReleased) || list->itemCount == 0) return 0;
    uint32_t held = HeldModifiers();
    int32_t last = static_cast<int32_t>(list->itemCount) - 1;
    int32_t current = IndexOf(list, list->currentItem);
    int32_t to = RowKeyTarget(key, current, last, list->visibleRows);
    if (to >= 0) {
        MoveTo(list, static_cast<uint32_t>(to), held);
        return redrawBits;
    }
    if (key != vkSpace || current < 0) return 0;
    if (held & editCtrl) {
        list->currentItem->flags ^= listBoxItemSelected;
        list->anchorItem = list->currentItem;
    } else {
        MoveTo(list, static_cast<uint32_t>(current), 0);
    }
    return redrawBits;
}
