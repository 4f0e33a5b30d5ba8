// Marking and composing: what is redrawn, what is copied again, and what reaches the screen. That the screen
// then shows the scene is the visible-parts property test's to check.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/composition.h"

static intptr_t PaintingProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    WindowRecord* w = FindWindowRecord(window);
    if (w && PaintWindow(window, w, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static void PaintStripes(WindowRecord* record) {
    Bounds all = {0, 0, record->surface.width - 1, record->surface.height - 1};
    DrawRect(&record->surface, &all, 0x00FF00, rectFill);
}

namespace {

class CompositionTest : public BothFormats {
  protected:
    WindowHandle h = 0;
    WindowRecord* w = nullptr;
    Surface images[4] = {};
    Picture pictures[6] = {};
    void SetUp() override {
        BothFormats::SetUp();
        PlatformRegisterClass("Paint_Class", PaintingProc, 0, 0, 0);
        Extent placement = {0, 0, 100 + 2 * headlessBorder, 80 + 2 * headlessBorder + headlessCaption};
        h = CreateToolkitWindow(clientSurface, "Paint_Class", "c", &placement, 0, 0, &w);
        ASSERT_EQ(w->surface.width, 100);
        ASSERT_EQ(w->surface.height, 80);
        w->backgroundColour = 0x808080;
        const uint32_t colours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF};
        for (int i = 0; i < 4; i++) {
            CreateSurface(40, 40, &images[i], nullptr);
            Bounds all = {0, 0, 39, 39};
            DrawRect(&images[i], &all, colours[i], rectFill);
        }
        PlatformShowWindow(h, SW_SHOWNORMAL);
    }
    void TearDown() override {
        for (Surface& s : images) ReleaseSurface(&s);
        for (Picture& p : pictures) ReleaseSurface(&p.header.surface);
        BothFormats::TearDown();
    }
    void AddPicture(Picture* p, Extent e, int image, uint32_t flags = 0) {
        InitPicture(p, &e, 0, flags);
        p->images[0] = &images[image];
        AddControl(&p->header, w, addOnTop);
    }
    // Serves every waiting paint; returns the stats of that work.
    CompositionStats Paint() {
        compositionStats = {};
        HeadlessPump();
        return compositionStats;
    }
    // Asks for a repaint and serves it.
    CompositionStats Repaint(uint32_t flags = repaintPending) {
        RequestRepaint(h, flags);
        return Paint();
    }
    uint32_t Screen(int32_t x, int32_t y) { return HeadlessScreenPixel(h, x, y); }
    uint32_t Pixel(uint32_t colour) { return ColourToPixel(colour); }
};

TEST_P(CompositionTest, FirstPaintComposesEverythingOverTheBackground) {
    Picture &a = pictures[0], &b = pictures[1];
    AddPicture(&a, {0, 0, 20, 20}, 0);
    AddPicture(&b, {10, 10, 20, 20}, 1);
    CompositionStats s = Paint();
    EXPECT_EQ(s.compositions, 1u);
    EXPECT_EQ(s.fullRedraws, 1u);
    EXPECT_EQ(s.controlsDrawn, 2u);
    EXPECT_EQ(s.controlsCopied, 2u);
    EXPECT_EQ(w->flags & (repaintPending | fullRedraw), 0u);
    EXPECT_EQ(a.header.flags & redrawBits, 0u);
}

TEST_P(CompositionTest, OpaqueChangeCopiesOnlyWhatOverlapsFromItUpwards) {
    Picture &a = pictures[0], &b = pictures[1], &c = pictures[2], &d = pictures[3], &below = pictures[4];
    AddPicture(&below, {0, 0, 8, 8}, 2);
    AddPicture(&a, {0, 0, 20, 20}, 0);
    AddPicture(&b, {10, 10, 20, 20}, 1); // overlaps a
    AddPicture(&c, {60, 60, 10, 10}, 2); // overlaps nothing
    AddPicture(&d, {25, 25, 10, 10}, 2); // overlaps only the area grown by b
    Paint();
    a.images[0] = &images[2];
    MarkForRedraw(&a.header, w, redrawBits);
    EXPECT_EQ(b.header.flags & redrawBits, uint32_t(blitPending));
    EXPECT_EQ(d.header.flags & redrawBits, uint32_t(blitPending));
    EXPECT_EQ(c.header.flags & redrawBits, 0u);
    EXPECT_EQ(below.header.flags & redrawBits, 0u);
    CompositionStats s = Repaint();
    EXPECT_EQ(s.fullRedraws, 0u);
    EXPECT_EQ(s.controlsDrawn, 1u);
    EXPECT_EQ(s.controlsCopied, 3u);
    // Each copy writes only what the copies above it leave showing: a under b, b under d, d whole.
    EXPECT_EQ(s.pixelsWritten, (400u - 100u) + (400u - 25u) + 100u);
}

TEST_P(CompositionTest, SeeThroughControlRebuildsFromTheCoveringControlOrEverything) {
    Panel panel;
    Extent pe = {0, 0, 60, 60};
    InitPanel(&panel, &pe, 0x00FFFF, 0, 0, 0, 0);
    AddControl(&panel.header, w, addOnTop);
    Picture &inside = pictures[0], &outside = pictures[1];
    AddPicture(&inside, {10, 10, 20, 20}, 3, colourKeyed);
    inside.header.backgroundColour = 0xFF00FF; // all key: fully transparent
    AddPicture(&outside, {50, 50, 20, 20}, 1, colourKeyed);
    outside.header.backgroundColour = 0xFF00FF;
    Paint();

    MarkForRedraw(&inside.header, w, redrawBits);
    EXPECT_EQ(w->flags & fullRedraw, 0u);
    EXPECT_NE(panel.header.flags & blitPending, 0u) << "rebuilt from the covering panel";
    CompositionStats s = Repaint();
    EXPECT_EQ(s.fullRedraws, 0u);
    EXPECT_EQ(s.controlsCopied, 3u) << "panel, the keyed picture, and the one overlapping the panel";

    MarkForRedraw(&outside.header, w, redrawBits);
    EXPECT_NE(w->flags & fullRedraw, 0u) << "sticks out of every lower control";
    s = Repaint();
    EXPECT_EQ(s.fullRedraws, 1u);
    EXPECT_EQ(s.controlsCopied, 3u);
}

TEST_P(CompositionTest, HiddenSpriteIsRebuiltOnlyFromAControlThatPaintsItsWholeRectangle) {
    Picture &back = pictures[0], &hiddenCover = pictures[1], &keyedCover = pictures[2], &sprite = pictures[3];
    AddPicture(&back, {0, 0, 60, 60}, 0);
    AddPicture(&hiddenCover, {5, 5, 40, 40}, 2, hidden);
    AddPicture(&keyedCover, {5, 5, 40, 40}, 3, colourKeyed);
    keyedCover.header.backgroundColour = 0xFF00FF; // all key: it shows nothing
    AddPicture(&sprite, {10, 10, 20, 20}, 1, colourKeyed);
    Paint();
    sprite.header.flags |= hidden;
    MarkForRedraw(&sprite.header, w, redrawBits);
    EXPECT_NE(back.header.flags & blitPending, 0u) << "the opaque picture beneath rebuilds the area";
    CompositionStats s = Repaint();
    EXPECT_EQ(s.fullRedraws, 0u);
    EXPECT_EQ(s.controlsDrawn, 0u) << "a hidden control is not drawn";
    EXPECT_EQ(sprite.header.flags & redrawBits, 0u);
}

// Drawing clamps rectangles onto the surface; a panel wholly outside the window must not smear onto its edge.
TEST_P(CompositionTest, PanelOutsideTheWindowDrawsNothing) {
    Panel panel;
    Extent pe = {20, -30, 40, 10};
    InitPanel(&panel, &pe, 0x00FFFF, 0xFFFFFF, 0, 1, panelBevel);
    AddControl(&panel.header, w, addOnTop);
    Paint();
    EXPECT_EQ(Screen(30, 0), Pixel(0x808080));
}

TEST_P(CompositionTest, KeyedControlInSlotZeroRepaintsTheWholeWindow) {
    Picture &keyed = pictures[0], &other = pictures[1];
    AddPicture(&keyed, {10, 10, 20, 20}, 0, colourKeyed);
    AddPicture(&other, {70, 50, 10, 10}, 1);
    Paint();
    MarkForRedraw(&keyed.header, w, redrawBits);
    EXPECT_NE(w->flags & fullRedraw, 0u);
    // While a full redraw is pending, marking only sets the control's own bits.
    MarkForRedraw(&other.header, w, contentDirty);
    EXPECT_EQ(other.header.flags & redrawBits, uint32_t(contentDirty));
    CompositionStats s = Repaint();
    EXPECT_EQ(s.fullRedraws, 1u);
    EXPECT_EQ(s.controlsCopied, 2u);
    EXPECT_EQ(s.controlsDrawn, 2u);
}

// A full redraw set off by a mark repaints the window, but only what moved and what was marked reaches
// the screen; one asked for copies everything.
TEST_P(CompositionTest, FullRedrawSetOffByAMarkCopiesOnlyWhatChangedToTheScreen) {
    Picture &sprite = pictures[0], &other = pictures[1];
    AddPicture(&sprite, {10, 10, 20, 20}, 1, colourKeyed);
    AddPicture(&other, {60, 40, 20, 20}, 2);
    Paint();
    sprite.header.x = 30; // moved as the application's sprite moves: marked where it is now
    MarkForRedraw(&sprite.header, w, redrawBits);
    CompositionStats s = Repaint();
    EXPECT_EQ(s.fullRedraws, 1u);
    PlatformRect copied = {};
    ASSERT_EQ(HeadlessLastCopied(h, &copied), 1);
    EXPECT_EQ((std::vector{copied.left, copied.top, copied.right, copied.bottom}),
              (std::vector{10, 10, 50, 30}))
        << "where it was and where it is";
    Repaint(repaintPending | fullRedraw);
    ASSERT_EQ(HeadlessLastCopied(h, &copied), 1);
    EXPECT_EQ(copied.right - copied.left, 100);
    EXPECT_EQ(copied.bottom - copied.top, 80);
}

TEST_P(CompositionTest, ControlOutsideTheListOnlyGetsItsBits) {
    Picture& loose = pictures[0];
    Extent e = {0, 0, 5, 5};
    InitPicture(&loose, &e, 0, 0);
    Paint();
    loose.header.flags = 0;
    MarkForRedraw(&loose.header, w, 0xFFFFFFFF);
    EXPECT_EQ(loose.header.flags, uint32_t(redrawBits));
    EXPECT_EQ(w->flags & fullRedraw, 0u);
    ReleaseSurface(&loose.header.surface);
}

TEST_P(CompositionTest, BevelIsDrawnOverTheBackgroundCallback) {
    w->flags |= windowBevel;
    w->onPaintBackground = PaintStripes;
    Paint();
    EXPECT_EQ(Screen(0, 0), Pixel(Theme[borderLightColour]));
    EXPECT_EQ(Screen(99, 79), Pixel(Theme[borderDarkColour]));
    EXPECT_EQ(Screen(0, 40), Pixel(Theme[borderLightColour]));
    EXPECT_EQ(Screen(99, 40), Pixel(Theme[borderDarkColour]));
    EXPECT_EQ(Screen(1, 1), Pixel(0x00FF00));
}

TEST_P(CompositionTest, PaintWithoutRequestOnlyCopiesAndEveryRequestEndsOnScreen) {
    Paint();
    int presents = HeadlessPresentCount(h);
    // Drawn straight into the window surface, not yet on the screen.
    Bounds spot = {0, 0, 3, 3};
    DrawRect(&w->surface, &spot, 0x0000FF, rectFill);
    PlatformPostMessage(h, WM_PAINT, 0, 0);
    CompositionStats s = Paint();
    EXPECT_EQ(s.paints, 1u);
    EXPECT_EQ(s.compositions, 0u);
    EXPECT_EQ(Screen(1, 1), Pixel(0x0000FF));
    RequestRepaint(h, repaintPending);
    s = Repaint();
    EXPECT_EQ(s.compositions, 1u);
    EXPECT_EQ(HeadlessPresentCount(h), presents + 3);
    EXPECT_EQ(RequestRepaint(0x1234, repaintPending), -1);
    EXPECT_EQ(PaintWindow(h, w, WM_CHAR, 0, 0), -1);
}

TEST_P(CompositionTest, ZeroSizedWindowSurfacePaintsNothingAndDoesNotFail) {
    Picture& a = pictures[0];
    AddPicture(&a, {0, 0, 20, 20}, 0);
    ReleaseSurface(&w->surface);
    CompositionStats s = Repaint(repaintPending | fullRedraw);
    EXPECT_EQ(s.compositions, 1u);
    EXPECT_EQ(s.pixelsWritten, 0u);
}

VQ_BOTH_FORMATS(CompositionTest);

} // namespace
