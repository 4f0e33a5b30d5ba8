// Panels draw onto the window; pictures show one image of their list in their own surface.
#include <gtest/gtest.h>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/gfx/draw.h"

namespace {

class PanelPictureTest : public BothFormats {
  protected:
    WindowRecord* w = nullptr;
    void SetUp() override {
        BothFormats::SetUp();
        RegisterTestClass();
        Extent placement = {0, 0, 200, 200};
        CreateToolkitWindow(clientSurface | popupWindow, "Test_Class", "p", &placement, 0, 0, &w);
        Bounds all = {0, 0, 199, 199};
        DrawRect(&w->surface, &all, 0x123456, rectFill);
    }
    uint32_t At(int32_t x, int32_t y) { return PixelAt(w->surface, x, y); }
    uint32_t P(uint32_t colour) { return ColourToPixel(colour); }
};

TEST_P(PanelPictureTest, PanelRecordAndFill) {
    Panel panel;
    memset(&panel, 0xCC, sizeof panel);
    Extent e = {10, 20, 30, 40};
    InitPanel(&panel, &e, 0x00FF00, 0xFFFFFF, 0x000000, 1, 0x1);
    EXPECT_EQ(panel.header.recordSize, sizeof panel);
    EXPECT_EQ(panel.header.kind, uint32_t(kindPanel));
    EXPECT_EQ(panel.header.flags, 0x1u | drawsOnWindow | contentDirty);
    EXPECT_EQ(panel.header.surface.width, 30);
    EXPECT_EQ(panel.header.surface.pixels, nullptr);
    EXPECT_EQ(panel.header.surface.bitmap, 0u);
    EXPECT_EQ(panel.header.onLeftDown, nullptr);
    DrawPanel(w, &panel.header);
    EXPECT_EQ(At(10, 20), P(0x00FF00)) << "no bevel flag: fill only";
    EXPECT_EQ(At(39, 59), P(0x00FF00));
    EXPECT_EQ(At(40, 60), P(0x123456));
    EXPECT_EQ(At(9, 20), P(0x123456));
}

TEST_P(PanelPictureTest, PanelBevelsNestAndSwap) {
    Panel panel;
    Extent e = {10, 10, 20, 20};
    InitPanel(&panel, &e, 0x00FF00, 0xFFFFFF, 0x0000FF, 2, panelBevel);
    DrawPanel(w, &panel.header);
    EXPECT_EQ(At(10, 15), P(0xFFFFFF)); // outer left
    EXPECT_EQ(At(11, 15), P(0xFFFFFF)); // inner left
    EXPECT_EQ(At(12, 15), P(0x00FF00)); // fill
    EXPECT_EQ(At(29, 15), P(0x0000FF)); // outer right
    EXPECT_EQ(At(28, 28), P(0x0000FF)); // inner bottom-right

    panel.header.flags |= panelSunken | panelNoFill;
    Bounds all = {0, 0, 199, 199};
    DrawRect(&w->surface, &all, 0x123456, rectFill);
    panel.bevelWidth = 1;
    DrawPanel(w, &panel.header);
    EXPECT_EQ(At(15, 10), P(0x0000FF)) << "sunken: top takes the dark colour";
    EXPECT_EQ(At(15, 29), P(0xFFFFFF));
    EXPECT_EQ(At(15, 15), P(0x123456)) << "no fill: the window shows through";

    panel.header.flags = drawsOnWindow | panelNoFill; // no bevel either: draws nothing
    DrawRect(&w->surface, &all, 0x123456, rectFill);
    DrawPanel(w, &panel.header);
    EXPECT_EQ(At(10, 10), P(0x123456));

    // More frames than room stops in the middle instead of drawing outside the panel.
    Extent small = {50, 50, 4, 4};
    InitPanel(&panel, &small, 0x00FF00, 0xFFFFFF, 0x0000FF, 1000, panelBevel);
    DrawPanel(w, &panel.header);
    EXPECT_EQ(At(49, 49), P(0x123456));
    EXPECT_EQ(At(54, 54), P(0x123456));
}

TEST_P(PanelPictureTest, PictureShowsItsImageOnceOrTiled) {
    Surface image = {};
    CreateSurface(10, 10, &image, nullptr);
    Bounds ib = {0, 0, 9, 9};
    DrawRect(&image, &ib, 0x0000FF, rectFill);
    Bounds corner = {9, 9, 9, 9};
    DrawRect(&image, &corner, 0x00FF00, rectFill);

    Picture picture;
    Extent e = {0, 0, 25, 25};
    InitPicture(&picture, &e, 0x777777, 0x8);
    EXPECT_EQ(picture.header.kind, uint32_t(kindPicture));
    EXPECT_EQ(picture.header.flags, 0x8u | redrawBits);
    EXPECT_EQ(picture.header.backgroundColour, 0xBFBFBFu) << "the colour argument is not used";
    EXPECT_EQ(picture.header.surface.width, 25);
    Surface* own = &picture.header.surface;

    DrawPicture(w, &picture.header);
    EXPECT_EQ(PixelAt(*own, 12, 12), P(0xBFBFBF)) << "empty entry: background";

    picture.images[0] = &image;
    DrawPicture(w, &picture.header);
    EXPECT_EQ(PixelAt(*own, 0, 0), P(0x0000FF));
    EXPECT_EQ(PixelAt(*own, 9, 9), P(0x00FF00));
    EXPECT_EQ(PixelAt(*own, 12, 12), P(0xBFBFBF)) << "outside the image the previous draw stays";

    picture.header.flags |= pictureTiled;
    DrawPicture(w, &picture.header);
    EXPECT_EQ(PixelAt(*own, 19, 19), P(0x00FF00));
    EXPECT_EQ(PixelAt(*own, 24, 24), P(0x0000FF)) << "the third tile is cut at the edge";
    EXPECT_EQ(PixelAt(*own, 12, 12), P(0x0000FF));

    // An index outside the list shows the background instead of reading past it.
    picture.imageIndex = 32;
    DrawPicture(w, &picture.header);
    EXPECT_EQ(PixelAt(*own, 0, 0), P(0xBFBFBF));
    picture.imageIndex = 0xFFFFFFFF;
    DrawPicture(w, &picture.header);
    EXPECT_EQ(PixelAt(*own, 24, 24), P(0xBFBFBF));

    DestroyControl(&picture.header);
    EXPECT_EQ(picture.header.kind, 0u);
    EXPECT_EQ(picture.images[0], nullptr);
    EXPECT_NE(image.pixels, nullptr) << "images belong to the caller";
    ReleaseSurface(&image);
}

VQ_BOTH_FORMATS(PanelPictureTest);

} // namespace
