// Scroll bars on the screen: the plain thumb's size and place, the pointer-to-position rule, dragging out of
// the bar and back, the pressed bevel, the skinned bar's images, and presses before the first draw.
#include "tests/controls/control_window.h"
#include "toolkit/controls/scroll_bar.h"

static const uint32_t kThumb = 0xEEEEEE, kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF,
                      kGreen = 0x00FF00, kBlue = 0xFF0000, kKey = 0xFF00FF;

namespace {

struct Release {
    uintptr_t userData;
    uint32_t keyState, range, position;
    bool operator==(const Release&) const = default;
};

} // namespace

static std::vector<Release> releases;

static void RecordRelease(WindowHandle, WindowRecord*, Control*, uintptr_t userData, uint32_t keyState,
                          uint32_t range, uint32_t position) {
    releases.push_back({userData, keyState, range, position});
}

namespace {

class ScrollBarTest : public ControlWindow {
  protected:
    void SetUp() override {
        ControlWindow::SetUp();
        releases.clear();
    }
    // A bar at (10, 10) that reports its releases.
    void ShowBar(int32_t width, int32_t height, uint32_t range, uint32_t position, uint32_t flags = 0) {
        Extent e = {10, 10, width, height};
        InitScrollBar(&bar, &e, range, position, flags);
        bar.onRelease = RecordRelease;
        bar.userData = reinterpret_cast<uintptr_t>(&bar);
        Show(&bar.header);
    }
    Area OnScreen(Area inBar) {
        return {10 + inBar.left, 10 + inBar.top, 10 + inBar.right, 10 + inBar.bottom};
    }
    Area BarArea() { return OnScreen({0, 0, bar.header.surface.width, bar.header.surface.height}); }
    ScrollBar bar;
};

} // namespace

TEST_P(ScrollBarTest, PlainThumbTakesItsSizeAndPlaceFromRangeAndTrack) {
    struct Case {
        const char* name;
        int32_t width, height;
        uint32_t range, position, flags;
        Area thumb; // in the bar, right and bottom exclusive
    };
    const Case cases[] = {
        {"one pixel per unit", 100, 16, 50, 50, 0, {51, 1, 99, 15}},
        {"range 1000 at its end", 100, 16, 1000, 1000, 0, {95, 1, 99, 15}},
        {"range 1000 at 0", 100, 16, 1000, 0, 0, {1, 1, 5, 15}},
        {"range 1000 half way", 100, 16, 1000, 500, 0, {48, 1, 52, 15}},
        {"a 3-pixel track", 5, 16, 10, 7, 0, {1, 1, 4, 15}},
        {"range 0 fills the track", 100, 16, 0, 0, 0, {1, 1, 99, 15}},
        {"vertical", 16, 100, 50, 10, scrollBarVertical, {1, 11, 15, 59}},
        {"initial position beyond the range", 100, 16, 50, 70, 0, {51, 1, 99, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowBar(c.width, c.height, c.range, c.position, c.flags);
        EXPECT_EQ(Where(BarArea(), kThumb), OnScreen(c.thumb));
        EXPECT_EQ(Count(BarArea(), kThumb), (c.thumb.right - c.thumb.left) * (c.thumb.bottom - c.thumb.top));
        Drop(&bar.header);
    }
}

TEST_P(ScrollBarTest, APressMovesTheThumbCentreToThePointer) {
    struct Case {
        const char* name;
        uint32_t range;
        int32_t x;
        uint32_t position;
    };
    const Case cases[] = {
        {"x 51 of 1000", 1000, 51, 510},     // (51 - 1 - 2) × 1000 / 94
        {"left of the track", 1000, 0, 0},   // before the start
        {"within half a thumb", 1000, 3, 0}, // 2 past the start, half the thumb is 2
        {"near the far end", 1000, 99, 1000}, {"x 30 of 50", 50, 30, 5}, // (30 - 1 - 24) × 50 / 50
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowBar(100, 16, c.range, c.range / 3);
        releases.clear();
        Mouse(WM_LBUTTONDOWN, 10 + c.x, 18, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, 10 + c.x, 18, MK_SHIFT);
        EXPECT_EQ(releases,
                  (std::vector<Release>{{reinterpret_cast<uintptr_t>(&bar), MK_SHIFT, c.range, c.position}}));
        Drop(&bar.header);
    }
}

TEST_P(ScrollBarTest, LeavingTheBarEndsTheDragAndComingBackStartsAnother) {
    ShowBar(100, 16, 1000, 0);
    Mouse(WM_LBUTTONDOWN, 10 + 51, 18, MK_LBUTTON);
    EXPECT_EQ(bar.position, 510u);
    Mouse(WM_MOUSEMOVE, 10 + 60, 18, MK_LBUTTON);
    EXPECT_EQ(bar.position, 606u); // (60 - 3) × 1000 / 94
    Mouse(WM_MOUSEMOVE, 10 + 150, 18, MK_LBUTTON);
    EXPECT_EQ(bar.state, uint32_t(scrollBarIdle));
    EXPECT_EQ(bar.position, 606u) << "the position stays where the pointer left the bar";
    Mouse(WM_MOUSEMOVE, 10 + 90, 18, 0);
    EXPECT_EQ(bar.position, 606u) << "without the button held nothing moves";
    Mouse(WM_MOUSEMOVE, 10 + 20, 18, MK_LBUTTON);
    EXPECT_EQ(bar.state, uint32_t(scrollBarDragging));
    EXPECT_EQ(bar.position, 180u);
    Mouse(WM_MOUSEMOVE, 10 + 40, 40, MK_LBUTTON);
    EXPECT_TRUE(releases.empty()) << "dragging alone reports nothing";
    Mouse(WM_LBUTTONUP, 10 + 40, 40);
    EXPECT_EQ(releases, (std::vector<Release>{{reinterpret_cast<uintptr_t>(&bar), 0, 1000, 180}}));
    EXPECT_EQ(w->captureControl, nullptr);
    EXPECT_EQ(Where(BarArea(), kThumb), OnScreen({17, 1, 21, 15})); // 180 × 94 / 1000 = 16
}

TEST_P(ScrollBarTest, BevelledThumbLooksPressedWhileDragged) {
    ShowBar(100, 16, 50, 0, scrollBarBevel);
    // The bar's own frame: light left and top, dark right and bottom.
    EXPECT_EQ(Screen(10, 12), P(kWhite));
    EXPECT_EQ(Screen(109, 12), P(kBlack));
    // The thumb covers x 1 to 48: light top-left, dark bottom-right while idle.
    EXPECT_EQ(Screen(10 + 20, 10 + 1), P(kWhite));
    EXPECT_EQ(Screen(10 + 20, 10 + 14), P(kBlack));
    EXPECT_EQ(Screen(10 + 20, 10 + 7), P(kThumb));
    Mouse(WM_LBUTTONDOWN, 10 + 5, 18, MK_LBUTTON);
    EXPECT_EQ(Screen(10 + 20, 10 + 1), P(kBlack));
    EXPECT_EQ(Screen(10 + 20, 10 + 14), P(kWhite));
    Mouse(WM_LBUTTONUP, 10 + 5, 18);
    EXPECT_EQ(Screen(10 + 20, 10 + 1), P(kWhite));
}

TEST_P(ScrollBarTest, SkinnedBarTilesItsTrackAndCentresItsThumbImage) {
    Surface* start = Image(16, 8, kRed);
    Surface* end = Image(16, 8, kGreen);
    Surface* track = Image(4, 4, kBlue);
    Surface* idle = Image(10, 20, kWhite, kKey); // the border is keyed out
    Surface* dragged = Image(10, 20, kBlack, kKey);
    Surface* tooLong = Image(10, 90, kWhite);
    struct Case {
        const char* name;
        uint32_t range, position;
        Surface* thumb;
        bool press;
        uint32_t thumbColour;
        Area shown; // the thumb's unkeyed inside
    };
    const Case cases[] = {
        {"at 0", 100, 0, idle, false, kWhite, {4, 9, 12, 27}},
        {"at the end", 100, 100, idle, false, kWhite, {4, 73, 12, 91}}, // 8 + 64
        {"range 0 stands at the start", 0, 0, idle, false, kWhite, {4, 9, 12, 27}},
        {"dragging shows entry 1", 100, 0, idle, true, kBlack, {4, 9, 12, 27}},
        {"longer than the track: none", 100, 50, tooLong, true, kWhite, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Extent e = {10, 10, 16, 100};
        InitScrollBar(&bar, &e, c.range, c.position, scrollBarVertical);
        bar.startImage = start;
        bar.endImage = end;
        bar.trackImage = track;
        bar.thumbImages[0] = c.thumb;
        bar.thumbImages[1] = dragged;
        bar.thumbColour = kKey;
        Show(&bar.header);
        if (c.press) Mouse(WM_LBUTTONDOWN, 10 + 8, 10 + 18, MK_LBUTTON); // at the thumb's centre
        EXPECT_EQ(Where(BarArea(), c.thumbColour), (c.shown.right ? OnScreen(c.shown) : Area{0, 0, 0, 0}));
        EXPECT_EQ(Count(BarArea(), kKey), 0) << "the thumb's border is keyed out";
        EXPECT_EQ(Where(BarArea(), kRed), OnScreen({0, 0, 16, 8}));
        EXPECT_EQ(Where(BarArea(), kGreen), OnScreen({0, 92, 16, 100}));
        EXPECT_EQ(Screen(10 + 3, 10 + 9), P(kBlue)) << "the track shows through the keyed border";
        EXPECT_EQ(bar.position, c.position) << "a press at the thumb's centre keeps it there";
        Mouse(WM_LBUTTONUP, 10 + 8, 10 + 18);
        Drop(&bar.header);
    }
}

TEST_P(ScrollBarTest, APressBeforeTheFirstDrawKeepsThePosition) {
    Extent e = {10, 10, 100, 16};
    InitScrollBar(&bar, &e, 1000, 123, 0);
    bar.onRelease = RecordRelease;
    AddControl(&bar.header, w, addOnTop); // no paint yet
    PlatformPostMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(10 + 80, 18));
    PlatformPostMessage(h, WM_LBUTTONUP, 0, Position(10 + 80, 18));
    HeadlessPump();
    EXPECT_EQ(releases, (std::vector<Release>{{0, 0, 1000, 123}}));
    Mouse(WM_LBUTTONDOWN, 10 + 51, 18, MK_LBUTTON);
    EXPECT_EQ(bar.position, 510u) << "after the draw the geometry is there";
}

VQ_BOTH_FORMATS(ScrollBarTest);
