// The gallery's held arrows, live thumbs and filling drags, pumped by hand on the virtual clock.
#include "tests/gallery/gallery_fixture.h"

class GalleryHeld : public GalleryFixture {
  protected:
    void SetUp() override {
        GalleryFixture::SetUp();
        Extent at = {0, 0, 820, 640};
        ASSERT_NE(OpenGallery(&at), 0u);
    }
    void TearDown() override { PlatformDestroyWindow(mainWindowHandle), GalleryFixture::TearDown(); }
    void Mouse(uint32_t message, const Control& c, int32_t x, int32_t y) {
        Post(message, message == WM_LBUTTONUP ? 0u : uint32_t{MK_LBUTTON}, Position(c.x + x, c.y + y));
        HeadlessPump();
    }
};

// A tap clicks on release; a hold clicks after 400 ms and every 50 ms, and its release adds nothing.
TEST_P(GalleryHeld, AHeldArrowRepeatsAndStopsItsTimerOnRelease) {
    const struct { uint32_t heldMs, rows; } cases[] = {{0, 1}, {390, 1}, {400, 1}, {600, 5}};
    for (const auto& c : cases) {
        uint32_t before = gallery.list.firstRow;
        Mouse(WM_LBUTTONDOWN, gallery.listDown.header, 8, 8);
        for (uint32_t t = 0; t < c.heldMs; t += 10, HeadlessPump()) HeadlessAdvanceClock(10);
        Mouse(WM_LBUTTONUP, gallery.listDown.header, 8, 8);
        EXPECT_EQ(gallery.list.firstRow - before, c.rows) << "held " << c.heldMs << " ms";
        EXPECT_EQ(HeadlessTimerCount(mainWindowHandle), 1) << "only the caret's blink is left";
    }
}

// While the thumb is dragged the list already shows what the release will leave.
TEST_P(GalleryHeld, TheListFollowsTheThumbAsTheReleaseWould) {
    const Control& bar = gallery.listBar.header;
    for (int32_t y : {bar.surface.height - 2, bar.surface.height / 2, 20, 1}) {
        Mouse(WM_LBUTTONDOWN, bar, 8, bar.surface.height / 3);
        Mouse(WM_MOUSEMOVE, bar, 8, y);
        uint32_t live = gallery.list.firstRow;
        Mouse(WM_LBUTTONUP, bar, 8, y);
        EXPECT_EQ(live, gallery.list.firstRow) << "thumb at " << y;
    }
}

// A fast drag selects every row between the row of its last move and the row under the pointer.
TEST_P(GalleryHeld, AFastDragSelectsEveryRowItPassed) {
    const struct { int32_t press, move, first, last; } cases[] = {{1, 6, 1, 6}, {6, 0, 0, 6}, {2, 2, 2, 2}};
    for (const auto& c : cases) {
        Mouse(WM_LBUTTONDOWN, gallery.list.header, 60, ListRowY(c.press));
        Mouse(WM_MOUSEMOVE, gallery.list.header, 60, ListRowY(c.move));
        Mouse(WM_LBUTTONUP, gallery.list.header, 60, ListRowY(c.move));
        for (int32_t i = 0; i < 10; i++)
            EXPECT_EQ(!!(gallery.listItems[i].flags & listBoxItemSelected), i >= c.first && i <= c.last) << i;
    }
}

VQ_BOTH_FORMATS(GalleryHeld);
