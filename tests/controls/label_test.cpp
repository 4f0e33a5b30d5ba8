// Labels on the screen: the four frame styles, the icon and the word-wrapped caption beside it, the tiled
// background, and presses that go nowhere.
#include "tests/controls/control_window.h"
#include "toolkit/controls/label.h"

static const uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF, kPaper = 0xF0F0F0;
// "Velquist 창을 닫으면 작업 내용이 저장됩니다." in code page 949: too long for one row of 150 pixels.
static const char* const kCaption = "Velquist \xC3\xA2\xC0\xBB \xB4\xDD\xC0\xB8\xB8\xE9 \xC0\xDB\xBE\xF7 "
                                    "\xB3\xBB\xBF\xEB\xC0\xCC \xC0\xFA\xC0\xE5\xB5\xCB\xB4\xCF\xB4\xD9.";

namespace {

class LabelTest : public ControlWindow {
  protected:
    Label label;
};

} // namespace

TEST_P(LabelTest, FramesFollowTheirFlagsAndLieOverTheIcon) {
    struct Case {
        const char* name;
        uint32_t flags;
        uint32_t top, left, bottom, right;
    };
    // The icon is larger than the label: without a frame it reaches the right and bottom edges.
    const Case cases[] = {
        {"none", 0, windowColour, windowColour, kRed, kRed},
        {"raised", labelFrame, kWhite, kWhite, kBlack, kBlack},
        {"sunken", labelFrame | labelSunkenFrame, kBlack, kBlack, kWhite, kWhite},
        {"flat", labelFrame | labelFlatFrame, kWhite, kWhite, kWhite, kWhite},
        {"flat sunken", labelFrame | labelFlatFrame | labelSunkenFrame, kBlack, kBlack, kBlack, kBlack},
    };
    Surface* icons[32] = {nullptr, Image(70, 40, kRed)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Extent e = {20, 20, 60, 30};
        InitLabel(&label, &e, kBlack, windowColour, nullptr, nullptr, icons, c.flags, 0);
        Show(&label.header);
        EXPECT_EQ(Screen(40, 20), P(c.top));
        EXPECT_EQ(Screen(20, 35), P(c.left));
        EXPECT_EQ(Screen(40, 49), P(c.bottom));
        EXPECT_EQ(Screen(79, 35), P(c.right));
        EXPECT_EQ(Screen(40, 35), P(kRed)) << "inside the frame the icon shows";
        Drop(&label.header);
    }
}

TEST_P(LabelTest, CaptionWrapsBesideTheIconWithinItsInset) {
    struct Case {
        const char* name;
        uint32_t iconIndex;
        int32_t inset;
        int32_t textLeft; // where the caption box starts
        int32_t height;
    };
    // A label of 30 pixels cuts the second row at the bottom of its caption box.
    const Case cases[] = {
        {"no icon", 1, 0, 1, 60},
        {"16-pixel icon", 0, 0, 17, 60},
        {"index 31 shows none", 31, 0, 1, 60},
        {"an empty entry shows none", 5, 0, 1, 60},
        {"inset 4", 1, 4, 1, 60},
        {"inset 4, cut", 1, 4, 1, 30},
    };
    Surface* icons[32] = {nullptr, Image(16, 20, kRed)};
    const int32_t x0 = 10, y0 = 10, width = 150;
    const int32_t lineHeight = FontHeight();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t height = c.height;
        Extent e = {x0, y0, width, height};
        InitLabel(&label, &e, kBlack, kPaper, nullptr, kCaption, icons, 0, 0);
        label.iconIndex = c.iconIndex;
        label.textInset = c.inset;
        Show(&label.header);
        if (c.textLeft == 17) {
            EXPECT_EQ(Where({x0, y0, x0 + width, y0 + height}, kRed),
                      (Area{x0 + 1, y0 + 1, x0 + 17, y0 + 21}));
        } else {
            EXPECT_EQ(Count({x0, y0, x0 + width, y0 + height}, kRed), 0);
        }
        // The ink stays in the caption box and takes more than one row.
        Area text = {x0 + c.textLeft, y0, x0 + width, y0 + height};
        Area ink = Changed(text, kPaper);
        EXPECT_GE(ink.left, x0 + c.textLeft);
        EXPECT_GE(ink.top, y0 + 1 + c.inset);
        EXPECT_LE(ink.bottom, y0 + height - c.inset);
        if (c.height == 30) {
            EXPECT_EQ(ink.bottom, y0 + height - c.inset) << "the cut row reaches the box's bottom";
        }
        EXPECT_GT(ink.bottom - ink.top, lineHeight) << "the caption wraps";
        EXPECT_EQ(Changed({x0, y0, x0 + c.textLeft, y0 + height}, kPaper).right,
                  c.textLeft == 17 ? x0 + 17 : 0)
            << "nothing but the icon left of the caption";
        Drop(&label.header);
    }
}

TEST_P(LabelTest, BackgroundImageTilesAndTheCaptionIsCut) {
    Surface* pattern = Image(4, 4, kWhite);
    Bounds dot = {1, 2, 1, 2};
    DrawRect(pattern, &dot, kRed, rectFill);
    Surface* images[32] = {pattern};
    std::string longCaption(300, 'x');
    Extent e = {10, 10, 40, 20};
    InitLabel(&label, &e, kBlack, kPaper, nullptr, longCaption.c_str(), images, 0, 0);
    EXPECT_EQ(strlen(label.caption), 254u);
    label.caption[0] = 0; // only the background
    Show(&label.header);
    for (int32_t y = 0; y < 20; y++) {
        for (int32_t x = 0; x < 40; x++) {
            ASSERT_EQ(Screen(10 + x, 10 + y), P(x % 4 == 1 && y % 4 == 2 ? kRed : kWhite)) << x << ", " << y;
        }
    }
}

TEST_P(LabelTest, ACaptionWithoutRoomIsNotDrawn) {
    struct Case {
        const char* name;
        int32_t width, inset;
    };
    const Case cases[] = {{"icon wider than the label", 12, 0}, {"inset beyond half the height", 60, 15}};
    Surface* icons[32] = {nullptr, Image(16, 8, kRed)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Extent e = {10, 10, c.width, 20};
        InitLabel(&label, &e, kBlack, kPaper, nullptr, "WWWW", icons, 0, 0);
        label.textInset = c.inset;
        Show(&label.header);
        Area all = {10, 10, 10 + c.width, 30};
        EXPECT_EQ(Count(all, kPaper) + Count(all, kRed), c.width * 20) << "nothing but paper and icon";
        Drop(&label.header);
    }
}

TEST_P(LabelTest, APressOnALabelGoesNowhere) {
    static int windowPresses, lowerPresses;
    windowPresses = lowerPresses = 0;
    w->onLeftDown = [](WindowHandle, WindowRecord*, void*, uint32_t, int32_t, int32_t) { windowPresses++; };
    Control lower;
    InitTestControl(&lower, 0, 0, 100, 100);
    lower.onLeftDown = [](WindowHandle, WindowRecord*, Control*, uint32_t, int32_t, int32_t) {
        lowerPresses++;
    };
    AddControl(&lower, w, addOnTop);
    Extent e = {10, 10, 50, 20};
    InitLabel(&label, &e, kBlack, kPaper, nullptr, "label", nullptr, 0, 0);
    Show(&label.header);
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(windowPresses + lowerPresses, 0);
    label.header.flags |= ignoreMouse;
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(lowerPresses, 1) << "with ignoreMouse the press reaches the control below";
    PlatformDestroyWindow(h); // before the records on the stack go
}

VQ_BOTH_FORMATS(LabelTest);
