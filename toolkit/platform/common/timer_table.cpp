#include "toolkit/platform/common/timer_table.h"

uintptr_t TimerTableSet(TimerTable* table, WindowHandle window, uintptr_t id, uint32_t milliseconds,
                        uint64_t now) {
    WindowTimer* slot = nullptr;
    for (WindowTimer& t : table->entries) {
        if (t.window == window && t.id == id) slot = &t;
    }
    for (int32_t i = 0; !slot && i < timerTableSize; i++) {
        if (table->entries[i].window == 0) slot = &table->entries[i];
    }
    if (!slot) return 0;
    if (milliseconds < shortestTimerInterval) milliseconds = shortestTimerInterval;
    *slot = {window, id, milliseconds, now + milliseconds, 0};
    return id ? id : 1;
}

int32_t TimerTableKill(TimerTable* table, WindowHandle window, uintptr_t id) {
    for (WindowTimer& t : table->entries) {
        if (t.window == window && window != 0 && t.id == id) {
            t = {};
            return 1;
        }
    }
    return 0;
}

void TimerTableKillWindow(TimerTable* table, WindowHandle window) {
    for (WindowTimer& t : table->entries) {
        if (t.window == window) t = {};
    }
}

int32_t TimerTableCount(const TimerTable* table, WindowHandle window) {
    int32_t n = 0;
    for (const WindowTimer& t : table->entries) n += t.window != 0 && t.window == window;
    return n;
}

void TimerTableMarkDue(TimerTable* table, uint64_t now) {
    for (WindowTimer& t : table->entries) {
        if (t.window == 0 || t.due > now) continue;
        t.pending = 1;
        t.due += ((now - t.due) / t.interval + 1) * t.interval; // the first beat after now
    }
}

int32_t TimerTableTakePending(TimerTable* table, PlatformMessage* message) {
    for (WindowTimer& t : table->entries) {
        if (t.window && t.pending) {
            t.pending = 0;
            *message = {t.window, WM_TIMER, t.id, 0};
            return 1;
        }
    }
    return 0;
}

uint64_t TimerTableNextDue(const TimerTable* table) {
    uint64_t next = UINT64_MAX;
    for (const WindowTimer& t : table->entries) {
        if (t.window && t.due < next) next = t.due;
    }
    return next;
}
