// What the kinds' descriptors give every instance that a user of the records notices: which records a
// window's teardown clears.
#include "tests/controls/control_window.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/scroll_bar.h"

namespace {

class ControlHeaderTest : public ControlWindow {};

TEST_P(ControlHeaderTest, TeardownClearsEveryRecordButTheButtonsAndScrollBars) {
    Button button;
    ScrollBar bar;
    Label label;
    EditField field;
    Panel panel;
    Picture picture;
    char text[8] = "abc";
    Extent e = {0, 0, 20, 10};
    InitButton(&button, &e, 0, 0xBFBFBF, nullptr, "OK", nullptr, 0, nullptr);
    InitScrollBar(&bar, &e, 77, 5, 0);
    InitLabel(&label, &e, 0, 0xBFBFBF, nullptr, "label", nullptr, 0, 0);
    InitEditField(&field, &e, 0, text, sizeof text);
    InitPanel(&panel, &e, 0x00FF00, 0, 0, 1, 0);
    InitPicture(&picture, &e, 0, 0);
    Control* all[] = {&button.header, &bar.header,   &label.header,
                      &field.header,  &panel.header, &picture.header};
    for (Control* c : all) AddControl(c, w, addOnTop);
    RequestRepaint(h, repaintPending);
    HeadlessPump();
    PlatformDestroyWindow(h);
    // The button and the scroll bar keep everything but their pixels.
    EXPECT_EQ(button.header.kind, uint32_t(kindButton));
    EXPECT_STREQ(button.caption, "OK");
    EXPECT_EQ(button.header.surface.pixels, nullptr);
    EXPECT_EQ(bar.header.kind, uint32_t(kindScrollBar));
    EXPECT_EQ(bar.range, 77u);
    EXPECT_EQ(bar.header.surface.pixels, nullptr);
    // The others are zeros from end to end.
    auto zeros = [](const void* record, size_t size) {
        const uint8_t* bytes = static_cast<const uint8_t*>(record);
        for (size_t i = 0; i < size; i++) {
            if (bytes[i]) return false;
        }
        return true;
    };
    EXPECT_TRUE(zeros(&label, sizeof label));
    EXPECT_TRUE(zeros(&field, sizeof field));
    EXPECT_TRUE(zeros(&panel, sizeof panel));
    EXPECT_TRUE(zeros(&picture, sizeof picture));
    EXPECT_STREQ(text, "abc") << "the edit field's text belongs to the caller";
    EXPECT_EQ(HeadlessLivePixelBuffers(), 0);
}

VQ_BOTH_FORMATS(ControlHeaderTest);

} // namespace
