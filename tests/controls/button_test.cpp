// Buttons driven by mouse and key messages: press, drag off and back, release, Enter with auto-repeat, the
// image shown in each state and the caption box.
#include "tests/controls/control_window.h"
#include "toolkit/controls/button.h"

#include <map>

static const uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0xBFBFBF, kRed = 0x0000FF,
                      kGreen = 0x00FF00, kBlue = 0xFF0000;
namespace {

struct Click {
    uintptr_t userData;
    uint32_t keyState;
    int32_t x, y;
    bool operator==(const Click&) const = default;
};

} // namespace

static std::vector<Click> clicks;
static uint32_t clickAnswer;

static uint32_t RecordClick(WindowHandle, WindowRecord*, Control*, uintptr_t userData, uint32_t keyState,
                            int32_t x, int32_t y) {
    clicks.push_back({userData, keyState, x, y});
    return clickAnswer;
}
namespace {

class ButtonTest : public ControlWindow {
  protected:
    void SetUp() override {
        ControlWindow::SetUp();
        clicks.clear();
        clickAnswer = 0;
    }
    // A bevelled caption button at (20, 30), 80 × 24.
    void ShowCaptionButton(uint32_t flags = buttonBevel, const char* caption = "OK") {
        Extent e = {20, 30, 80, 24};
        InitButton(&button, &e, kBlack, kGrey, nullptr, caption, nullptr, flags, RecordClick);
        button.userData = static_cast<uintptr_t>(0x12345678u) << (sizeof(uintptr_t) > 4 ? 8 : 0);
        Show(&button.header);
    }
    // Raised: light left edge, dark right edge. Pressed: a dark left edge and background on the right.
    bool LooksPressed() { return Screen(20, 40) == P(kBlack) && Screen(99, 40) == P(kGrey); }
    bool LooksReleased() { return Screen(20, 40) == P(kWhite) && Screen(99, 40) == P(kBlack); }
    Button button;
};

} // namespace

TEST_P(ButtonTest, ClicksOnlyWhenReleasedOverTheButton) {
    struct Step {
        uint32_t message;
        int32_t x, y;
        WParam keys;
        bool pressedAfter;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<Click> clicks; // key state and coordinates of the release, relative to the button
    };
    const uintptr_t data = static_cast<uintptr_t>(0x12345678u) << (sizeof(uintptr_t) > 4 ? 8 : 0);
    const Case cases[] = {
        {"press and release inside",
         {{WM_LBUTTONDOWN, 30, 40, MK_LBUTTON, true}, {WM_LBUTTONUP, 35, 41, MK_SHIFT, false}},
         {{data, MK_SHIFT, 15, 11}}},
        {"dragged off and released outside",
         {{WM_LBUTTONDOWN, 30, 40, MK_LBUTTON, true},
          {WM_MOUSEMOVE, 10, 40, MK_LBUTTON, false},
          {WM_LBUTTONUP, 5, 20, 0, false}},
         {}},
        {"dragged off and back",
         {{WM_LBUTTONDOWN, 30, 40, MK_LBUTTON, true},
          {WM_MOUSEMOVE, 150, 40, MK_LBUTTON, false},
          {WM_MOUSEMOVE, 99, 53, MK_LBUTTON, true},
          {WM_LBUTTONUP, 98, 52, 0, false}},
         {{data, 0, 78, 22}}},
        {"moving in without the button held", {{WM_MOUSEMOVE, 30, 40, 0, false}}, {}},
    };
    ShowCaptionButton();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clicks.clear();
        for (const Step& s : c.steps) {
            Mouse(s.message, s.x, s.y, s.keys);
            EXPECT_TRUE(s.pressedAfter ? LooksPressed() : LooksReleased()) << "after message " << s.message;
        }
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(w->captureControl, nullptr);
    }
}

TEST_P(ButtonTest, ShowsTheImageOfItsState) {
    std::map<char, Surface*> image = {
        {'r', Image(30, 20, kRed)}, {'d', Image(30, 20, kGreen)}, {'p', Image(30, 20, kBlue)}};
    struct Case {
        const char* name;
        const char* images; // r, d and p for the released, disabled and pressed images, in their entries
        uint32_t flags;
        bool press;
        uint32_t at00, at11; // pixels (0, 0) and (1, 1) of the button
        uint32_t edgeAt0_15; // the left edge below the image
    };
    const Case cases[] = {
        {"released", "rdp", buttonBevel, false, kRed, kRed, kGrey},
        {"pressed, bevelled: shifted", "rdp", buttonBevel, true, kBlack, kBlue, kBlack},
        {"pressed, flat: not shifted", "rdp", 0, true, kBlue, kBlue, kGrey},
        {"pressed without its image: entry 0", "rd", buttonBevel, true, kBlack, kRed, kBlack},
        {"disabled", "rdp", buttonBevel | ignoreMouse, false, kGreen, kGreen, kGrey},
        {"disabled and pressed", "rdp", buttonBevel | ignoreMouse, true, kBlack, kGreen, kBlack},
        {"disabled without its image: entry 0", "r-p", ignoreMouse, false, kRed, kRed, kGrey},
        {"no image at all, no frame", "", buttonBevel | buttonNoFrame, false, kGrey, kGrey, kGrey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface* images[6] = {};
        for (size_t k = 0; c.images[k]; k++) images[k] = image[c.images[k]]; // '-' finds none
        Extent e = {20, 30, 40, 30};
        InitButton(&button, &e, kBlack, kGrey, nullptr, nullptr, images, c.flags, nullptr);
        Show(&button.header);
        if (c.press) {
            // A disabled button takes no mouse input; its state is set from outside.
            if (c.flags & ignoreMouse) {
                button.state = buttonPressed;
                Redraw(&button.header);
            } else {
                Mouse(WM_LBUTTONDOWN, 25, 35, MK_LBUTTON);
            }
        }
        EXPECT_EQ(Screen(20, 30), P(c.at00));
        EXPECT_EQ(Screen(21, 31), P(c.at11));
        EXPECT_EQ(Screen(20, 45 + 10), P(c.edgeAt0_15));
        EXPECT_EQ(Screen(59, 59),
                  P(c.flags & buttonBevel && !c.press && !c.images[0] && !(c.flags & buttonNoFrame) ? kBlack
                                                                                                    : kGrey))
            << "no frame around a released image";
        Mouse(WM_LBUTTONUP, 25, 35);
        Drop(&button.header);
    }
}

TEST_P(ButtonTest, EnterClicksOnEveryKeyDownAndItsResultDecidesTheRedraw) {
    ShowCaptionButton();
    w->focusControl = &button.header;
    const uint32_t down = 0x001C0001, repeat = 0x401C0001, up = 0xC01C0001;
    Post(WM_KEYDOWN, vkReturn, down);
    Post(WM_KEYDOWN, vkReturn, repeat);
    Post(WM_KEYUP, vkReturn, up);
    Post(WM_KEYDOWN, vkSpace, 0x00390001);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], (Click{button.userData, 0, 0, 0}));
    EXPECT_EQ(button.state, uint32_t(buttonReleased)) << "the keyboard does not press the button";

    // The callback changes the caption colour; only a result with 0x30 shows it.
    std::vector<uint32_t> black = ScreenPixels({21, 31, 99, 53});
    button.captionColour = kRed;
    clickAnswer = 0;
    Post(WM_KEYDOWN, vkReturn, down);
    EXPECT_EQ(ScreenPixels({21, 31, 99, 53}), black);
    clickAnswer = 0x1FF;
    Post(WM_KEYDOWN, vkReturn, down);
    EXPECT_NE(ScreenPixels({21, 31, 99, 53}), black);
}

TEST_P(ButtonTest, CaptionSitsAtItsCornerAndKeeps62Bytes) {
    std::string exact(62, 'W'), longer(70, 'W');
    Extent e = {0, 0, 20, 20};
    InitButton(&button, &e, kBlack, kGrey, nullptr, exact.c_str(), nullptr, 0, nullptr);
    EXPECT_EQ(std::string(button.caption), exact);
    DestroyControl(&button.header);
    InitButton(&button, &e, kBlack, kGrey, nullptr, longer.c_str(), nullptr, 0, nullptr);
    EXPECT_EQ(std::string(button.caption), exact) << "cut to 62 bytes";
    DestroyControl(&button.header);

    ShowCaptionButton(0, "Go");
    Area ink = Changed({20, 30, 100, 54}, kGrey);
    EXPECT_GE(ink.left, 21);
    EXPECT_GE(ink.top, 31);
    button.captionX = 30;
    button.captionY = 8;
    Redraw(&button.header);
    Area moved = Changed({20, 30, 100, 54}, kGrey);
    EXPECT_EQ(moved.left - ink.left, 29);
    EXPECT_EQ(moved.top - ink.top, 7);
}

VQ_BOTH_FORMATS(ButtonTest);
