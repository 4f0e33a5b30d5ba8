// The records both Linux backends keep their classes, message names, posted messages and timers in.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "toolkit/platform/common/class_table.h"
#include "toolkit/platform/common/message_names.h"
#include "toolkit/platform/common/message_ring.h"
#include "toolkit/platform/common/timer_table.h"

static intptr_t Proc(WindowHandle, uint32_t, WParam, LParam) {
    return 0;
}

using Timers = std::vector<std::pair<WindowHandle, WParam>>;

// The window and id of every timer message pending, in the order they are taken.
static Timers TakeAll(TimerTable* table) {
    Timers out;
    for (PlatformMessage m; TimerTableTakePending(table, &m) == 1;) {
        EXPECT_EQ(m.message, uint32_t(WM_TIMER));
        out.push_back({m.window, m.wParam});
    }
    return out;
}

TEST(ClassTable, NamesAreUniqueAndFoundWhole) {
    static ClassTable table = {};
    EXPECT_EQ(ClassTableAdd(&table, "Main", Proc, 8, 100), 1);
    EXPECT_EQ(ClassTableAdd(&table, "Child", Proc, 0, 0), 2);
    EXPECT_EQ(ClassTableAdd(&table, "Main", Proc, 0, 0), 0) << "a taken name";
    EXPECT_EQ(ClassTableAdd(&table, nullptr, Proc, 0, 0), 0);
    EXPECT_EQ(ClassTableAdd(&table, "NoProc", nullptr, 0, 0), 0);
    EXPECT_EQ(ClassTableFind(&table, "Child"), 1);
    EXPECT_EQ(ClassTableFind(&table, "Chil"), -1);
    EXPECT_EQ(ClassTableFind(&table, nullptr), -1);
    EXPECT_EQ(table.entries[0].style, 8u);
    EXPECT_EQ(table.entries[0].largeIcon, 100u);

    // A name that would be cut is refused rather than stored under a name nobody asks for.
    std::string longest(classNameLength, 'n'), overlong(classNameLength + 1, 'o');
    EXPECT_EQ(ClassTableAdd(&table, longest.c_str(), Proc, 0, 0), 3);
    EXPECT_EQ(ClassTableFind(&table, longest.c_str()), 2);
    EXPECT_EQ(ClassTableAdd(&table, overlong.c_str(), Proc, 0, 0), 0);

    for (int32_t i = table.count; i < classTableSize; i++) {
        ASSERT_EQ(ClassTableAdd(&table, std::to_string(i).c_str(), Proc, 0, 0), i + 1);
    }
    EXPECT_EQ(ClassTableAdd(&table, "OneTooMany", Proc, 0, 0), 0);
    EXPECT_EQ(ClassTableFind(&table, "31"), 31);
}

TEST(MessageNames, OneNumberPerNameFrom0xC000) {
    static MessageNames names = {};
    EXPECT_EQ(MessageNamesRegister(&names, "NIMBLEUI_CMD"), 0xC000u);
    EXPECT_EQ(MessageNamesRegister(&names, "Other"), 0xC001u);
    EXPECT_EQ(MessageNamesRegister(&names, "NIMBLEUI_CMD"), 0xC000u);
    EXPECT_EQ(MessageNamesRegister(&names, ""), 0u);
    EXPECT_EQ(MessageNamesRegister(&names, nullptr), 0u);

    std::string longest(messageNameLength, 'x'), overlong(messageNameLength + 1, 'y');
    EXPECT_EQ(MessageNamesRegister(&names, longest.c_str()), 0xC002u);
    EXPECT_EQ(MessageNamesRegister(&names, longest.c_str()), 0xC002u) << "a long name keeps its number";
    EXPECT_EQ(MessageNamesRegister(&names, overlong.c_str()), 0u);
    EXPECT_EQ(names.count, 3);

    for (int32_t i = names.count; i < messageNamesSize; i++) {
        ASSERT_EQ(MessageNamesRegister(&names, std::to_string(i).c_str()), 0xC000u + uint32_t(i));
    }
    EXPECT_EQ(MessageNamesRegister(&names, "Full"), 0u);
    EXPECT_EQ(MessageNamesRegister(&names, "Other"), 0xC001u) << "known names still resolve";
}

TEST(MessageRing, FifoAcrossTheWrapThenQuitAndDroppingAWindowKeepsTheOrder) {
    PlatformMessage slots[4];
    MessageRing ring;
    MessageRingInit(&ring, slots, 4);
    PlatformMessage m;
    EXPECT_EQ(MessageRingTake(&ring, &m), -1);
    EXPECT_EQ(MessageRingNewest(&ring), nullptr);

    // Move the head so that later pushes wrap around the end of the slots.
    for (int i = 0; i < 3; i++) ASSERT_EQ(MessageRingPush(&ring, 1, WM_CHAR, 'a' + i, 0), 1);
    for (int i = 0; i < 3; i++) ASSERT_EQ(MessageRingTake(&ring, &m), 1);
    EXPECT_EQ(m.wParam, WParam('c'));

    const WindowHandle order[4] = {1, 2, 1, 3};
    for (int i = 0; i < 4; i++) ASSERT_EQ(MessageRingPush(&ring, order[i], WM_CHAR, WParam(i), -i), 1);
    EXPECT_EQ(MessageRingPush(&ring, 4, WM_CHAR, 9, 0), 0) << "full";
    ASSERT_NE(MessageRingNewest(&ring), nullptr);
    EXPECT_EQ(MessageRingNewest(&ring)->window, 3u);

    MessageRingPostQuit(&ring, 9);
    MessageRingPostQuit(&ring, -2); // the last code counts
    MessageRingDropWindow(&ring, 1);
    EXPECT_EQ(ring.length, 2);
    ASSERT_EQ(MessageRingTake(&ring, &m), 1);
    EXPECT_EQ(m.window, 2u);
    EXPECT_EQ(m.lParam, LParam(-1));
    ASSERT_EQ(MessageRingTake(&ring, &m), 1);
    EXPECT_EQ(m.window, 3u);
    EXPECT_EQ(m.wParam, WParam(3));
    ASSERT_EQ(MessageRingTake(&ring, &m), 0) << "the quit request waits behind posted messages";
    EXPECT_EQ(m.window, 0u);
    EXPECT_EQ(m.message, uint32_t(WM_QUIT));
    EXPECT_EQ(static_cast<intptr_t>(m.wParam), -2);
    EXPECT_EQ(MessageRingTake(&ring, &m), -1) << "taken once";
}

TEST(TimerTable, SetRestartKillAndCount) {
    static TimerTable table = {};
    EXPECT_EQ(TimerTableSet(&table, 5, 7, 100, 1000), 7u);
    EXPECT_EQ(TimerTableSet(&table, 5, 0, 100, 1000), 1u) << "id 0 still answers non-zero";
    EXPECT_EQ(TimerTableSet(&table, 5, 7, 3, 1000), 7u) << "restarting takes the same entry";
    EXPECT_EQ(TimerTableCount(&table, 5), 2);
    EXPECT_EQ(TimerTableNextDue(&table), 1010u) << "intervals under 10 ms take 10";
    EXPECT_EQ(TimerTableKill(&table, 0, 0), 0) << "window 0 owns no timer";
    EXPECT_EQ(TimerTableKill(&table, 5, 7), 1);
    EXPECT_EQ(TimerTableKill(&table, 5, 7), 0);
    EXPECT_EQ(TimerTableNextDue(&table), 1100u);

    for (int i = 1; i < timerTableSize; i++)
        ASSERT_EQ(TimerTableSet(&table, 6, uintptr_t(i), 50, 0), uintptr_t(i));
    EXPECT_EQ(TimerTableSet(&table, 6, 999, 50, 0), 0u) << "full";
    EXPECT_EQ(TimerTableSet(&table, 6, 3, 60, 0), 3u) << "a running timer restarts in a full table";
    TimerTableKillWindow(&table, 6);
    EXPECT_EQ(TimerTableCount(&table, 6), 0);
    EXPECT_EQ(TimerTableCount(&table, 5), 1);
    TimerTableKillWindow(&table, 5);
    EXPECT_EQ(TimerTableNextDue(&table), UINT64_MAX);
}

TEST(TimerTable, LateTimersFireOnceInTableOrder) {
    static TimerTable table = {};
    TimerTableSet(&table, 1, 10, 100, 0);
    TimerTableSet(&table, 2, 20, 30, 0);
    TimerTableMarkDue(&table, 99);
    EXPECT_EQ(TakeAll(&table), (Timers{{2, 20}})) << "due at 30; three missed beats make one message";
    EXPECT_EQ(TimerTableNextDue(&table), 100u);

    TimerTableMarkDue(&table, 1000);
    TimerTableMarkDue(&table, 1000); // marking again adds nothing
    EXPECT_EQ(TakeAll(&table), (Timers{{1, 10}, {2, 20}}));
    EXPECT_EQ(TimerTableNextDue(&table), 1020u) << "the next beat after now, on the timer's own grid";

    TimerTableMarkDue(&table, 1100);
    EXPECT_EQ(TimerTableKill(&table, 1, 10), 1);
    EXPECT_EQ(TakeAll(&table), (Timers{{2, 20}})) << "a killed timer's pending message is gone";
    TimerTableMarkDue(&table, 1130);
    EXPECT_EQ(TimerTableSet(&table, 2, 20, 30, 1130), 20u);
    EXPECT_EQ(TakeAll(&table), Timers{}) << "restarting forgets what was pending";

    TimerTableMarkDue(&table, 1000000000000000u); // a step per beat would never finish
    EXPECT_EQ(TakeAll(&table), (Timers{{2, 20}}));
    EXPECT_EQ(TimerTableNextDue(&table), 1000000000000010u);
}
