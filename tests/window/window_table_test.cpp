// The window table: creation, slots, sizes and hiding.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace {

class WindowTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolkit();
        RegisterTestClass();
    }
    void TearDown() override { ResetToolkit(); }
    WindowHandle Create(uint32_t flags, Extent placement = {10, 20, 200, 100}, WindowRecord** out = nullptr) {
        return CreateToolkitWindow(flags, "Test_Class", "title", &placement, 0, 0, out);
    }
};

} // namespace

// Minimum tracking and maximum sizes, the surface's size and the client area's offset in it.
static std::vector<int32_t> Sizes(const WindowRecord* r) {
    return {r->minTrackWidth, r->minTrackHeight, r->maxWidth,      r->maxHeight,
            r->surface.width, r->surface.height, r->clientOffsetX, r->clientOffsetY};
}

TEST_F(WindowTableTest, CreationFillsTheRecord) {
    WindowRecord* record = nullptr;
    WindowHandle h = Create(clientSurface | systemMenu | windowBevel, {10, 20, 200, 100}, &record);
    ASSERT_NE(h, 0u);
    ASSERT_EQ(record, &windowTable.records[0]);
    EXPECT_EQ(FindWindowSlot(h), 0);
    EXPECT_EQ(record->flags, clientSurface | systemMenu | windowBevel | repaintPending | fullRedraw);
    EXPECT_EQ(record->backgroundColour, 0xBFBFBFu);
    EXPECT_TRUE(record->controlCount == 0 && !record->focusControl && !record->onClose);
    // Minimum tracking size; before InitDisplay the screen size is unknown: 1024 both ways. The client area
    // of a 200 x 100 overlapped window without sizing border, at the surface's origin.
    EXPECT_EQ(Sizes(record), (std::vector<int32_t>{80, 40, 1024, 1024, 200 - 2 * headlessBorder,
                                                   100 - 2 * headlessBorder - headlessCaption, 0, 0}));
    EXPECT_EQ(HeadlessWindowStyle(h), WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_STREQ(HeadlessWindowTitle(h), "title");
    EXPECT_EQ(mainWindowHandle, 0u) << "only a mainWindow creation sets the main window";

    HeadlessSetScreenSize(800, 600);
    InitDisplay();
    WindowHandle main = Create(mainWindow | resizableFrame | popupWindow, {0, 0, 50, 40}, &record);
    EXPECT_EQ(mainWindowHandle, main);
    EXPECT_EQ(mainWindowRecord, record);
    EXPECT_EQ(Sizes(record)[2], 800);
    EXPECT_EQ(Sizes(record)[3], 600);
    EXPECT_EQ(HeadlessWindowStyle(main), WS_POPUP | WS_THICKFRAME);
}

TEST_F(WindowTableTest, WholeWindowSurfaceCoversTheFrame) {
    WindowRecord* record = nullptr;
    Create(0, {100, 50, 300, 200}, &record);
    EXPECT_EQ(Sizes(record), (std::vector<int32_t>{80, 40, 1024, 1024, 300, 200, headlessBorder,
                                                   headlessBorder + headlessCaption}));
    Create(resizableFrame, {0, 0, 300, 200}, &record);
    EXPECT_EQ(record->clientOffsetX, headlessThickBorder);
    Create(popupWindow, {0, 0, 300, 200}, &record);
    EXPECT_EQ(record->clientOffsetX | record->clientOffsetY, 0);
}

TEST_F(WindowTableTest, SlotsRunOutAtOneHundredTwentyEight) {
    for (int i = 0; i < windowSlots; i++) ASSERT_NE(Create(clientSurface), 0u) << i;
    EXPECT_EQ(FindFreeWindowSlot(), -1);
    EXPECT_EQ(Create(clientSurface), 0u);
    // No platform window was made for the refused one.
    int platformWindows = 0;
    for (WindowHandle h = 0x10000; h < 0x10000 + 4 * 200; h += 4) platformWindows += HeadlessWindowExists(h);
    EXPECT_EQ(platformWindows, windowSlots);
}

TEST_F(WindowTableTest, FreedSlotIsReusedLowestFirst) {
    WindowHandle a = Create(clientSurface), b = Create(clientSurface), c = Create(clientSurface);
    EXPECT_EQ(FindWindowSlot(c), 2);
    windowTable.handles[FindWindowSlot(b)] = 0; // what the teardown does
    windowTable.handles[FindWindowSlot(a)] = 0;
    EXPECT_EQ(FindFreeWindowSlot(), 0);
    WindowHandle d = Create(clientSurface);
    EXPECT_EQ(FindWindowSlot(d), 0);
    EXPECT_EQ(FindWindowSlot(Create(clientSurface)), 1);
    // The null handle is never a toolkit window, though free slots hold 0.
    windowTable.handles[1] = 0;
    EXPECT_EQ(FindWindowSlot(0), -1);
    EXPECT_EQ(FindWindowRecord(0), nullptr);
    EXPECT_EQ(FindWindowRecord(d), &windowTable.records[0]);
}

TEST_F(WindowTableTest, FailedPlatformCreationLeavesTheSlotFree) {
    Extent placement = {0, 0, 100, 100};
    EXPECT_EQ(CreateToolkitWindow(0, "No_Such_Class", "x", &placement, 0, 0, nullptr), 0u);
    EXPECT_EQ(FindFreeWindowSlot(), 0);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0);
}

TEST_F(WindowTableTest, ReusedSlotDoesNotLeakTheOldSurface) {
    WindowHandle a = Create(clientSurface);
    windowTable.handles[FindWindowSlot(a)] = 0;
    Create(clientSurface);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 1);
}

TEST_F(WindowTableTest, HideFlaggedWindowsHidesOnlyTheGroup) {
    WindowHandle a = Create(clientSurface | hideGroup), b = Create(clientSurface), c = Create(hideGroup);
    for (WindowHandle h : {a, b, c}) PlatformShowWindow(h, SW_SHOWNORMAL);
    HideFlaggedWindows();
    EXPECT_FALSE(HeadlessWindowVisible(a));
    EXPECT_TRUE(HeadlessWindowVisible(b));
    EXPECT_FALSE(HeadlessWindowVisible(c));
    EXPECT_EQ(FindWindowSlot(a), 0) << "hidden windows stay in the table";
}
