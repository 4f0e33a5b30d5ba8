// Control lists: adding, moving, finding, removing and destroying controls.
#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace

// Each step adds c[control] on top, at the bottom or directly above c[reference], or removes it, or
// compacts the list; then the result, and the slots from the bottom (-1 a gap), which the count must match.
TEST_F(ControlListTest, AddsMovesAndRemovalsKeepTheOrder) {
    enum : int { onTop = -1, bottom = -2, remove = -3, compact = -4 };
    struct Step {
        int control, reference;
        int32_t result;
        std::vector<int> order;
    };
    const Step steps[] = {
        {0, onTop, -1, {0}},
        {1, onTop, -1, {0, 1}},
        {2, bottom, -1, {2, 0, 1}},
        {3, 0, -1, {2, 0, 3, 1}},
        {0, onTop, -1, {2, 3, 1, 0}}, // adding twice moves the control
        {0, bottom, -1, {0, 2, 3, 1}},
        {3, 3, 0, {0, 2, 1}}, // a reference to itself fails and takes the
                              // control out
        {5, 6, 0, {0, 2, 1}}, // so does one not in the list
        {2, remove, 0, {0, -1, 1}},
        {7, remove, 0, {0, -1, 1}}, // not in the list: nothing changes
        {4, onTop, -1, {0, 1, 4}},  // the next add closes the gap
        {0, remove, 0, {-1, 1, 4}},
        {1, remove, 0, {-1, -1, 4}},
        {0, compact, 0, {4}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "control " << s.control << ", reference " << s.reference);
        if (s.reference == remove) {
            RemoveControl(w, &c[s.control]);
        } else if (s.reference == compact) {
            CompactControls(w);
        } else {
            Control* reference = s.reference == onTop    ? addOnTop
                                 : s.reference == bottom ? nullptr
                                                         : &c[s.reference];
            EXPECT_EQ(AddControl(&c[s.control], w, reference), s.result);
        }
        EXPECT_EQ(Order(), s.order);
        EXPECT_EQ(w->controlCount, static_cast<uint32_t>(std::count_if(s.order.begin(), s.order.end(),
                                                                       [](int i) { return i >= 0; })));
    }
    AddControl(&c[3], w, addOnTop);
    EXPECT_EQ(FindControlSlot(w, &c[3]), 1);
    EXPECT_EQ(FindControlSlot(w, &c[9]), -1);
    EXPECT_EQ(FindControlSlot(w, nullptr), -1);
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

namespace {

struct BigRecord {
    Control header;
    uint32_t extra[6];
};

} // namespace
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
