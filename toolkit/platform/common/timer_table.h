// Window timers of the Linux backends against a clock the caller reads: the headless virtual clock or
// SDL's ticks, in milliseconds.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

enum : int32_t { timerTableSize = 64 };
enum : uint32_t { shortestTimerInterval = 10 };

struct WindowTimer {
    WindowHandle window; // 0 = free entry
    uintptr_t id;
    uint32_t interval;
    uint64_t due;
    int32_t pending; // a WM_TIMER waits to be taken
};

struct TimerTable {
    WindowTimer entries[timerTableSize];
};

// Starts or restarts the window's timer id (intervals under 10 ms take 10); returns the id, 1 for id 0,
// or 0 when the table is full.
uintptr_t TimerTableSet(TimerTable* table, WindowHandle window, uintptr_t id, uint32_t milliseconds,
                        uint64_t now);
// 1 when the timer was running.
int32_t TimerTableKill(TimerTable* table, WindowHandle window, uintptr_t id);
void TimerTableKillWindow(TimerTable* table, WindowHandle window);
int32_t TimerTableCount(const TimerTable* table, WindowHandle window);
// Timers due by now become pending: a late timer fires once, not once per interval it missed.
void TimerTableMarkDue(TimerTable* table, uint64_t now);
// The first pending timer, in table order, as WM_TIMER; 0 when none is pending.
int32_t TimerTableTakePending(TimerTable* table, PlatformMessage* message);
// When the next timer falls due; UINT64_MAX when none runs.
uint64_t TimerTableNextDue(const TimerTable* table);
