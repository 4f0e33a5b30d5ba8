// The gallery on the headless backend, run through its own message loop and driven as a user would: what
// its window shows at start-up, a click, a drag, Korean typed through the input method, a resize, the close.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gallery/gallery.h"
#include "tests/support/toolkit_fixture.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/platform/headless/headless.h"

namespace {

LParam At(int32_t x, int32_t y) {
    return static_cast<LParam>((static_cast<uint32_t>(x) & 0xFFFF) |
                               ((static_cast<uint32_t>(y) & 0xFFFF) << 16));
}

class GalleryScenario : public BothFormats {
  protected:
    std::vector<std::function<void()>> steps;
    size_t next = 0;

    void SetUp() override {
        BothFormats::SetUp();
        memset(static_cast<void*>(&gallery), 0, sizeof gallery);
        caretBlinkCounter = 1;
    }
    void TearDown() override {
        ReleaseGalleryArt();
        BothFormats::TearDown();
    }
    static int32_t Idle(void* context) {
        GalleryScenario* self = static_cast<GalleryScenario*>(context);
        if (self->next >= self->steps.size()) return 0;
        self->steps[self->next++]();
        return 1;
    }
    int32_t Run() {
        HeadlessSetIdleHook(Idle, this);
        int32_t code = RunGallery();
        HeadlessSetIdleHook(nullptr, nullptr);
        return code;
    }
    void Post(uint32_t message, WParam wParam, LParam lParam) {
        PlatformPostMessage(mainWindowHandle, message, wParam, lParam);
    }
    // A click at a point of a control, in client coordinates.
    void Click(const Control& c, int32_t x, int32_t y) {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, At(c.x + x, c.y + y));
        Post(WM_LBUTTONUP, 0, At(c.x + x, c.y + y));
    }
    uint32_t Screen(int32_t x, int32_t y) { return HeadlessScreenPixel(mainWindowHandle, x, y); }
    // Pixels where the screen does not show the control's own surface.
    int32_t Mismatches(const Control& c) {
        int32_t n = 0;
        for (int32_t y = 0; y < c.surface.height; y++) {
            for (int32_t x = 0; x < c.surface.width; x++)
                n += Screen(c.x + x, c.y + y) != PixelAt(c.surface, x, y);
        }
        return n;
    }
    std::vector<uint32_t> ScreenOf(const Control& c) {
        std::vector<uint32_t> out;
        for (int32_t y = 0; y < c.surface.height; y++) {
            for (int32_t x = 0; x < c.surface.width; x++) out.push_back(Screen(c.x + x, c.y + y));
        }
        return out;
    }
    void ExpectEveryControlShown(const char* when) {
        SCOPED_TRACE(when);
        // Panels draw on the window itself; every other control shows its own surface.
        for (const Control* c : mainWindowRecord->controls) {
            if (!c || c->kind == kindPanel) continue;
            EXPECT_EQ(Mismatches(*c), 0) << "control of kind " << c->kind;
        }
    }
    const Surface& Art(uint32_t id) {
        static const uint32_t ids[galleryArtCount] = {5001, 5002, 5003, 5004, 5101, 5102, 5103,
                                                      5201, 5202, 5203, 5204, 5205, 5301};
        for (uint32_t i = 0; i < galleryArtCount; i++) {
            if (ids[i] == id) return gallery.art[i];
        }
        return gallery.art[0];
    }
    // Where the image shows at (x, y) on the screen, apart from its keyed pixels.
    int32_t ImageMismatches(const Surface& image, int32_t x, int32_t y, uint32_t key) {
        int32_t n = 0;
        for (int32_t j = 0; j < image.height; j++) {
            for (int32_t i = 0; i < image.width; i++) {
                uint32_t p = PixelAt(image, i, j);
                n += p != key && Screen(x + i, y + j) != p;
            }
        }
        return n;
    }
};

TEST_P(GalleryScenario, EveryKindCanBeSeenAndTried) {
    // Colours convert once the gallery has found the display's pixel format.
    auto white = [] { return ColourToPixel(0xFFFFFF); };
    auto black = [] { return ColourToPixel(0x000000); };
    std::vector<uint32_t> statusAtStart;
    steps.push_back([&] {
        EXPECT_STREQ(HeadlessWindowTitle(mainWindowHandle), "Velquist Gallery");
        EXPECT_TRUE(HeadlessWindowVisible(mainWindowHandle));
        for (const Surface& s : gallery.art) ASSERT_GT(s.width, 0) << "every image loads";
        ExpectEveryControlShown("start-up");
        // The frames: raised white top-left, sunken black top-left.
        const Control& raised = gallery.frames[0].header;
        const Control& sunken = gallery.frames[1].header;
        EXPECT_EQ(Screen(raised.x + 30, raised.y), white());
        EXPECT_EQ(Screen(raised.x + 30, raised.y + raised.surface.height - 1), black());
        EXPECT_EQ(Screen(sunken.x + 30, sunken.y), black());
        // The disabled image button shows its second image.
        EXPECT_EQ(
            ImageMismatches(Art(5102), gallery.playDisabled.header.x, gallery.playDisabled.header.y, 0x10000),
            0);
        // The skinned bar's 10-pixel thumb at x 3 of its 16, half way down its track.
        const ScrollBar& v = gallery.vertical;
        int32_t track = v.header.surface.height - 32, offset = 500 * (track - 28) / 1000;
        EXPECT_EQ(
            ImageMismatches(Art(5204), v.header.x + 3, v.header.y + 16 + offset, ColourToPixel(0xFF00FF)), 0);
        statusAtStart = ScreenOf(gallery.status.header);
        Click(gallery.ok.header, 30, 12);
    });
    steps.push_back([&] {
        EXPECT_STREQ(gallery.status.caption, "\xC8\xAE\xC0\xCE \xB4\xA9\xB8\xA7 (30, 12)"); // 확인 누름
        EXPECT_NE(ScreenOf(gallery.status.header), statusAtStart);
        EXPECT_EQ(Mismatches(gallery.status.header), 0);
        // Drag the horizontal bar's thumb to its far end and let go outside the bar.
        const Control& bar = gallery.horizontal.header;
        Post(WM_LBUTTONDOWN, MK_LBUTTON, At(bar.x + 140, bar.y + 8));
        Post(WM_MOUSEMOVE, MK_LBUTTON, At(bar.x + bar.surface.width - 2, bar.y + 8));
        Post(WM_MOUSEMOVE, MK_LBUTTON, At(bar.x + bar.surface.width + 40, bar.y + 8));
        Post(WM_LBUTTONUP, 0, At(bar.x + bar.surface.width + 40, bar.y + 8));
    });
    steps.push_back([&] {
        EXPECT_EQ(gallery.horizontal.position, 100u);
        EXPECT_STREQ(gallery.status.caption, "\xB0\xA1\xB7\xCE \xB3\xF5\xC0\xBD: 100 / 100"); // 가로 놓음
        EXPECT_EQ(std::string(gallery.positions.caption).substr(0, 15), "\xB0\xA1\xB7\xCE 100 / 100,");
        const Control& bar = gallery.horizontal.header;
        EXPECT_EQ(Screen(bar.x + bar.surface.width - 5, bar.y + 8), ColourToPixel(0xEEEEEE))
            << "thumb at the end";
        ExpectEveryControlShown("after the drag");
        // Into the wrapped field: a click gives it the focus, Home puts the caret first, a syllable in the
        // making.
        Click(gallery.wrapped.header, 100, 40);
        Post(WM_KEYDOWN, 36, 0x01470001);
        Post(WM_IME_COMPOSITION, 0xB0A1, GCS_COMPSTR);
    });
    steps.push_back([&] {
        const Control& field = gallery.wrapped.header;
        ASSERT_EQ(mainWindowRecord->focusControl, &field);
        // White on black at (1, 1) of the field, where the caret stands: a one-syllable cell.
        int32_t blackRows = 0, lightInCell = 0;
        for (int32_t y = 1; y < 20; y++) blackRows += Screen(field.x + 2, field.y + y) == black();
        for (int32_t y = 1; y < 16; y++) {
            for (int32_t x = 3; x < 12; x++) lightInCell += Screen(field.x + x, field.y + y) != black();
        }
        EXPECT_GE(blackRows, 10) << "the cell is as high as a row";
        EXPECT_GT(lightInCell, 5) << "the syllable is drawn in it";
        EXPECT_EQ(Mismatches(field), 0);
        HeadlessSetImeString(GCS_RESULTSTR, "\xB0\xA1", 2);
        Post(WM_IME_COMPOSITION, 0xB0A1, GCS_RESULTSTR);
    });
    int32_t statusWidth = 0, statusY = 0;
    steps.push_back([&] {
        EXPECT_EQ(std::string(gallery.wrappedText).substr(0, 4), "\xB0\xA1\xBF\xA9") << "가 before 여기에";
        EXPECT_EQ(gallery.wrapped.edit.composition, 0u);
        // The window grows: the status line stretches and stays at the bottom.
        statusWidth = gallery.status.header.surface.width;
        statusY = gallery.status.header.y;
        PlatformRect r;
        PlatformWindowRect(mainWindowHandle, &r);
        HeadlessResizeWindow(mainWindowHandle, r.right - r.left + 100, r.bottom - r.top + 60);
    });
    steps.push_back([&] {
        const Control& status = gallery.status.header;
        EXPECT_EQ(status.surface.width, statusWidth + 100);
        EXPECT_EQ(status.y, statusY + 60);
        EXPECT_EQ(Screen(status.x + status.surface.width - 1, status.y + 10), white())
            << "its sunken frame's right edge";
        ExpectEveryControlShown("after the resize");
        Post(WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(HeadlessMessageBoxCount(), 0) << "the gallery closes without a question";
}

INSTANTIATE_TEST_SUITE_P(Formats, GalleryScenario, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "565" : "555"; });

} // namespace
