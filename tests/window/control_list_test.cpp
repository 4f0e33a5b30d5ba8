// Control lists: adding, moving, finding, removing and destroying controls.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace {

class ControlListTest : public ::testing::Test {
  protected:
    WindowRecord* w = nullptr;
    WindowHandle h = 0;
    Control c[140] = {};
    void SetUp() override {
        ResetToolkit();
        RegisterTestClass();
        Extent placement = {0, 0, 100, 100};
        h = CreateToolkitWindow(clientSurface, "Test_Class", "t", &placement, 0, 0, &w);
    }
    void TearDown() override { ResetToolkit(); }
    std::vector<int> Order() {
        std::vector<int> order;
        for (int32_t i = 0; i < controlSlots; i++)
            order.push_back(w->controls[i] ? int(w->controls[i] - c) : -1);
        while (!order.empty() && order.back() == -1) order.pop_back();
        return order;
    }
};

TEST_F(ControlListTest, ReferenceDecidesThePosition) {
    EXPECT_EQ(AddControl(&c[0], w, addOnTop), -1);
    EXPECT_EQ(AddControl(&c[1], w, addOnTop), -1);
    EXPECT_EQ(AddControl(&c[2], w, nullptr), -1); // bottom
    EXPECT_EQ(Order(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(AddControl(&c[3], w, &c[0]), -1); // directly above c0
    EXPECT_EQ(Order(), (std::vector<int>{2, 0, 3, 1}));
    EXPECT_EQ(w->controlCount, 4u);
    EXPECT_EQ(FindControlSlot(w, &c[3]), 2);
    EXPECT_EQ(FindControlSlot(w, &c[9]), -1);
    EXPECT_EQ(FindControlSlot(w, nullptr), -1);
}

TEST_F(ControlListTest, AddingTwiceMovesTheControl) {
    for (int i = 0; i < 3; i++) AddControl(&c[i], w, addOnTop);
    EXPECT_EQ(AddControl(&c[0], w, addOnTop), -1);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(w->controlCount, 3u);
    EXPECT_EQ(AddControl(&c[0], w, nullptr), -1);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(w->controlCount, 3u);
}

TEST_F(ControlListTest, UnknownOrSelfReferenceFailsAndTakesTheControlOut) {
    for (int i = 0; i < 3; i++) AddControl(&c[i], w, addOnTop);
    EXPECT_EQ(AddControl(&c[1], w, &c[1]), 0);
    EXPECT_EQ(Order(), (std::vector<int>{0, 2}));
    EXPECT_EQ(w->controlCount, 2u);
    EXPECT_EQ(AddControl(&c[5], w, &c[6]), 0);
    EXPECT_EQ(FindControlSlot(w, &c[5]), -1);
    EXPECT_EQ(w->controlCount, 2u);
}

TEST_F(ControlListTest, RemovalLeavesAGapThatTheNextAddCloses) {
    for (int i = 0; i < 4; i++) AddControl(&c[i], w, addOnTop);
    RemoveControl(w, &c[1]);
    EXPECT_EQ(Order(), (std::vector<int>{0, -1, 2, 3}));
    EXPECT_EQ(w->controlCount, 3u);
    RemoveControl(w, &c[7]); // not in the list: nothing changes
    EXPECT_EQ(w->controlCount, 3u);
    AddControl(&c[4], w, addOnTop);
    EXPECT_EQ(Order(), (std::vector<int>{0, 2, 3, 4}));
    RemoveControl(w, &c[0]);
    RemoveControl(w, &c[3]);
    CompactControls(w);
    EXPECT_EQ(Order(), (std::vector<int>{2, 4}));
}

TEST_F(ControlListTest, TheHundredTwentyNinthControlIsRefused) {
    for (int i = 0; i < controlSlots; i++) ASSERT_EQ(AddControl(&c[i], w, addOnTop), -1) << i;
    EXPECT_EQ(AddControl(&c[128], w, addOnTop), 0);
    EXPECT_EQ(AddControl(&c[128], w, nullptr), 0);
    // A full list refuses even a move of a control already in it, and changes nothing.
    EXPECT_EQ(AddControl(&c[5], w, nullptr), 0);
    EXPECT_EQ(FindControlSlot(w, &c[5]), 5);
    EXPECT_EQ(w->controlCount, 128u);
    RemoveControl(w, &c[127]);
    EXPECT_EQ(AddControl(&c[128], w, &c[0]), -1);
    EXPECT_EQ(FindControlSlot(w, &c[128]), 1);
}

TEST_F(ControlListTest, RemovalLetsGoOfFocusAndCapture) {
    for (int i = 0; i < 3; i++) AddControl(&c[i], w, addOnTop);
    w->focusControl = &c[1];
    w->captureControl = &c[1];
    PlatformSetCapture(h);
    // Moving it within the window keeps both.
    AddControl(&c[1], w, addOnTop);
    EXPECT_EQ(w->focusControl, &c[1]);
    EXPECT_EQ(w->captureControl, &c[1]);
    RemoveControl(w, &c[1]);
    EXPECT_EQ(w->focusControl, nullptr);
    EXPECT_EQ(w->captureControl, nullptr);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
    // Removing another control leaves them alone.
    w->focusControl = &c[0];
    RemoveControl(w, &c[2]);
    EXPECT_EQ(w->focusControl, &c[0]);
    // A failed re-add takes the control out, so it loses the focus too.
    AddControl(&c[0], w, &c[50]);
    EXPECT_EQ(w->focusControl, nullptr);
}

TEST_F(ControlListTest, RemoveEverywhereVisitsEveryLiveWindow) {
    WindowRecord* other = nullptr;
    Extent placement = {0, 0, 50, 50};
    CreateToolkitWindow(clientSurface, "Test_Class", "u", &placement, 0, 0, &other);
    AddControl(&c[0], w, addOnTop);
    AddControl(&c[1], w, addOnTop);
    AddControl(&c[0], other, addOnTop);
    RemoveControlEverywhere(&c[0]);
    EXPECT_EQ(FindControlSlot(w, &c[0]), -1);
    EXPECT_EQ(FindControlSlot(other, &c[0]), -1);
    EXPECT_EQ(w->controlCount, 1u);
    EXPECT_EQ(other->controlCount, 0u);
}

struct BigRecord {
    Control header;
    uint32_t extra[6];
};
static int destroyCalls;
static Control* destroyedWith;
static void CountDestroy(Control* control) {
    destroyCalls++;
    destroyedWith = control;
    EXPECT_NE(control->surface.pixels, nullptr) << "the handler runs before the surface goes";
}

TEST_F(ControlListTest, DestroyClearsSizedRecordsAndKeepsUnsizedOnes) {
    destroyCalls = 0;
    BigRecord label = {};
    label.header.recordSize = sizeof label;
    label.header.kind = kindLabel;
    label.header.onDestroy = CountDestroy;
    for (uint32_t& e : label.extra) e = 0xDEADBEEF;
    CreateSurface(8, 8, &label.header.surface, nullptr);
    DestroyControl(&label.header);
    EXPECT_EQ(destroyCalls, 1);
    EXPECT_EQ(destroyedWith, &label.header);
    BigRecord zero = {};
    EXPECT_EQ(memcmp(&label, &zero, sizeof label), 0);

    BigRecord button = {};
    button.header.recordSize = 0;
    button.header.kind = kindButton;
    button.header.x = 17;
    button.extra[5] = 99;
    CreateSurface(8, 8, &button.header.surface, nullptr);
    DestroyControl(&button.header);
    EXPECT_EQ(button.header.kind, uint32_t(kindButton));
    EXPECT_EQ(button.header.x, 17);
    EXPECT_EQ(button.extra[5], 99u);
    EXPECT_EQ(button.header.surface.pixels, nullptr);
    EXPECT_EQ(HeadlessLivePixelBuffers(), 1) << "only the window surface is left";
}

} // namespace
