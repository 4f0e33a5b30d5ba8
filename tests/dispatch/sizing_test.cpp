// Resizing: the window surface, the anchoring rules of controls, collapse and restore, and the limits
// handed to the platform.
#include "tests/dispatch/dispatching_window.h"
#include "toolkit/window/composition.h"

namespace {

class SizingTest : public DispatchingTest {
  protected:
    // A 208 x 128 window with a sizing border has a 200 x 100 client area.
    WindowHandle CreateResizable(WindowRecord** w, uint32_t flags = clientSurface) {
        return Create(flags | resizableFrame | systemMenu, {0, 0, 208, 128}, w);
    }
    Control* Add(WindowRecord* w, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
        Control* c = NewControl(x, y, width, height, flags);
        AddControl(c, w, addOnTop);
        return c;
    }
};

} // namespace

// x, y, width and height.
static std::vector<int32_t> Box(const Control* c) {
    return {c->x, c->y, c->surface.width, c->surface.height};
}

TEST_F(SizingTest, ControlsFollowStretchAndScaleWithTheWindow) {
    WindowRecord* w = nullptr;
    WindowHandle h = CreateResizable(&w);
    ASSERT_EQ(w->surface.width, 200);
    ASSERT_EQ(w->surface.height, 100);
    Control* fixed = Add(w, 10, 10, 20, 20, 0);
    Control* right = Add(w, 150, 10, 20, 20, followRight);
    Control* wide = Add(w, 10, 40, 100, 10, followRight | stretchX);
    Control* stretchAlone = Add(w, 10, 60, 50, 10, stretchX | stretchY);
    Control* bottom = Add(w, 10, 80, 10, 10, followBottom);
    Control* tall = Add(w, 170, 40, 10, 50, followBottom | stretchY);
    Control* half = Add(w, 0, 0, 10, 10, proportionalX | followRight);
    half->ratioX = 128;
    Control* quarter = Add(w, 0, 0, 10, 10, proportionalY);
    quarter->ratioY = 64;
    Control* onWindow = Add(w, 5, 5, 0, 0, drawsOnWindow | followRight | stretchX);
    onWindow->surface.width = 30;
    onWindow->surface.height = 8;
    for (Control* c : w->controls) {
        if (c) c->flags &= ~redrawBits;
    }
    w->flags &= ~(repaintPending | fullRedraw);
    uint8_t* fixedPixels = fixed->surface.pixels;
    memset(fixed->surface.pixels, 0x5A, 2); // content that must survive

    HeadlessResizeWindow(h, 248, 158); // client 240 x 130: dx 40, dy 30
    EXPECT_EQ(w->surface.width, 240);
    EXPECT_EQ(w->surface.height, 130);
    EXPECT_EQ(w->flags & (repaintPending | fullRedraw), repaintPending | fullRedraw);

    EXPECT_EQ(Box(fixed), (std::vector{10, 10, 20, 20}));
    EXPECT_EQ(fixed->surface.pixels, fixedPixels) << "an unchanged control keeps its surface";
    EXPECT_EQ(PixelAt(fixed->surface, 0, 0), 0x5A5A);
    EXPECT_EQ(fixed->flags & redrawBits, static_cast<uint32_t>(blitPending)) << "only copied again";
    EXPECT_EQ(Box(right), (std::vector{190, 10, 20, 20}));
    // Stretched: same x, same distance to the right edge, redrawn at the new size.
    EXPECT_EQ(Box(wide), (std::vector{10, 40, 140, 10}));
    EXPECT_EQ(wide->surface.stride, SurfaceStride(140));
    EXPECT_NE(wide->surface.pixels, nullptr);
    EXPECT_EQ(wide->flags & redrawBits, redrawBits);
    EXPECT_EQ(Box(stretchAlone), (std::vector{10, 60, 50, 10})) << "stretch without follow has no effect";
    EXPECT_EQ(Box(bottom), (std::vector{10, 110, 10, 10}));
    EXPECT_EQ(Box(tall), (std::vector{170, 40, 10, 80}));
    EXPECT_EQ(half->x, 120) << "proportional placement replaces what followRight gave";
    EXPECT_EQ(quarter->y, 130 * 64 / 256);
    EXPECT_EQ(Box(onWindow), (std::vector{5, 5, 70, 8}));
    EXPECT_EQ(onWindow->surface.pixels, nullptr) << "a control drawing on the window gets no pixels";
    for (Control* c : w->controls) EXPECT_TRUE(!c || (c->flags & blitPending));

    // WM_SIZE without a change of size still re-creates the surface and asks for a full repaint.
    w->flags &= ~(repaintPending | fullRedraw);
    wide->flags &= ~redrawBits;
    Deliver(h, WM_SIZE, SIZE_RESTORED, Position(240, 130));
    EXPECT_EQ(LastResult(WM_SIZE), 0);
    EXPECT_EQ(w->surface.width, 240);
    EXPECT_TRUE(w->flags & fullRedraw);
    EXPECT_EQ(wide->flags & redrawBits, redrawBits);
    EXPECT_EQ(Box(wide), (std::vector{10, 40, 140, 10}));
    EXPECT_EQ(right->x, 190);
}

TEST_F(SizingTest, AWholeWindowSurfaceFollowsTheWindowRectangle) {
    WindowRecord* w = nullptr;
    WindowHandle h = CreateResizable(&w, 0);
    ASSERT_EQ(w->surface.width, 208);
    Control* right = Add(w, 180, 100, 10, 10, followRight | followBottom);
    HeadlessResizeWindow(h, 300, 200);
    EXPECT_EQ(w->surface.width, 300);
    EXPECT_EQ(w->surface.height, 200);
    EXPECT_EQ(Box(right), (std::vector{272, 172, 10, 10}));
}

static int32_t windowPresses;
static void CountWindowPress(WindowHandle, WindowRecord*, void*, uint32_t, int32_t, int32_t) {
    windowPresses++;
}

TEST_F(SizingTest, StretchedControlsCollapseAndComeBackAtTheirSize) {
    WindowRecord* w = nullptr;
    WindowHandle h = CreateResizable(&w);
    PlatformShowWindow(h, SW_SHOWNORMAL);
    HeadlessPump();
    Control* wide = Add(w, 10, 10, 180, 20, followRight | stretchX); // 10 pixels from the right edge
    Control* tall = Add(w, 10, 40, 20, 50, followBottom | stretchY);
    Control* right = Add(w, 150, 50, 20, 20, followRight);
    w->onLeftDown = CountWindowPress;
    windowPresses = 0;
    int32_t pixels = HeadlessLivePixelBuffers();

    // Minimising leaves a 0 x 0 client area.
    PlatformShowWindow(h, SW_MINIMIZE);
    EXPECT_EQ(w->surface.width, 0);
    EXPECT_EQ(w->surface.height, 0);
    EXPECT_EQ(wide->flags & tall->flags & collapsed, collapsed);
    EXPECT_FALSE(right->flags & collapsed);
    EXPECT_EQ(right->x, -50);
    EXPECT_EQ(wide->surface.width, -20) << "the computed size is kept";
    EXPECT_EQ(tall->surface.height, -50);
    EXPECT_EQ(HeadlessLivePixelBuffers(), pixels - 3) << "window and collapsed controls hold no pixels";
    // Paints of a zero-size window draw nothing and do not fail; collapsed controls are not hit.
    RequestRepaint(h, repaintPending);
    HeadlessPump();
    Deliver(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(15, 15));
    EXPECT_EQ(windowPresses, 1);

    PlatformShowWindow(h, SW_RESTORE);
    EXPECT_EQ(w->surface.width, 200);
    EXPECT_FALSE((wide->flags | tall->flags) & collapsed);
    EXPECT_EQ(Box(wide), (std::vector{10, 10, 180, 20}));
    EXPECT_EQ(Box(tall), (std::vector{10, 40, 20, 50}));
    EXPECT_EQ(right->x, 150);
    EXPECT_TRUE(SurfaceIsDrawable(&wide->surface));
    EXPECT_EQ(wide->flags & redrawBits, redrawBits);
    EXPECT_EQ(HeadlessLivePixelBuffers(), pixels);
    HeadlessPump();
    Deliver(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(15, 15));
    EXPECT_EQ(windowPresses, 1) << "the restored control is hit again";

    // Shrinking below the control's width collapses it the same way; growing back restores it.
    w->minTrackWidth = 1;
    HeadlessResizeWindow(h, 28, 128); // client 20 wide: the control would be 0 wide
    EXPECT_TRUE(wide->flags & collapsed);
    EXPECT_EQ(wide->surface.width, 0);
    HeadlessResizeWindow(h, 29, 128);
    EXPECT_FALSE(wide->flags & collapsed);
    EXPECT_EQ(wide->surface.width, 1);
    HeadlessResizeWindow(h, 208, 128);
    EXPECT_EQ(wide->surface.width, 180);
}

TEST_F(SizingTest, MinMaxInfoCarriesTheWindowLimits) {
    WindowRecord* w = nullptr;
    WindowHandle h = Create(mainWindow | clientSurface | systemMenu | resizableFrame, {0, 0, 208, 128}, &w);
    w->minTrackWidth = 640;
    w->minTrackHeight = 480;
    MinMaxInfo info = {};
    info.ptMaxPosition = {-7, -9};
    Deliver(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&info));
    EXPECT_EQ(LastResult(WM_GETMINMAXINFO), 1);
    // Maximum size, minimum and maximum tracking sizes; the maximised position left as the platform filled
    // it.
    auto limits = [&] {
        return std::vector{info.ptMaxSize.x,      info.ptMaxSize.y,      info.ptMinTrackSize.x,
                           info.ptMinTrackSize.y, info.ptMaxTrackSize.x, info.ptMaxTrackSize.y,
                           info.ptMaxPosition.x,  info.ptMaxPosition.y};
    };
    EXPECT_EQ(limits(), (std::vector{1024, 1024, 640, 480, 1028, 1028, -7, -9}));
    EXPECT_EQ(DispatchToolkitMessage(h, WM_GETMINMAXINFO, 0, 0), 1) << "no structure to fill";

    // The platform holds a user's resize to those limits.
    HeadlessResizeWindow(h, 100, 100);
    EXPECT_EQ(w->surface.width, 640 - 2 * headlessThickBorder);
    HeadlessResizeWindow(h, 2000, 2000);
    EXPECT_EQ(w->surface.width, 1028 - 2 * headlessThickBorder);

    HeadlessSetScreenSize(800, 600);
    InitDisplay();
    WindowHandle later = Create(clientSurface, {0, 0, 100, 100}, &w);
    Deliver(later, WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&info));
    EXPECT_EQ(limits(), (std::vector{800, 600, 80, 40, 804, 604, -7, -9}));
}

TEST_F(SizingTest, WindowSurfaceWithoutPixelsStillMeasuresTheNextResize) {
    WindowRecord* w = nullptr;
    WindowHandle h = CreateResizable(&w);
    Control* right = Add(w, 150, 10, 20, 20, followRight);
    HeadlessFailPixels(1);
    HeadlessResizeWindow(h, 248, 128); // client 240 x 100, but no pixel memory for it
    EXPECT_EQ(w->surface.width, 240);
    EXPECT_EQ(w->surface.pixels, nullptr);
    EXPECT_EQ(right->x, 190);
    RequestRepaint(h, repaintPending);
    HeadlessPump();                    // composes nothing onto missing pixels and does not fail
    HeadlessResizeWindow(h, 258, 128); // client 250: the control moves by 10, not by 250
    EXPECT_EQ(right->x, 200);
    EXPECT_NE(w->surface.pixels, nullptr);
}
