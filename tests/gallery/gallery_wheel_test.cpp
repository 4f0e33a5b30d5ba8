// The mouse wheel over each scrolling kind of the gallery: a notch towards the user shows the rows three
// further down, two notches away go back and stop at the top; bars, arrows and the screen follow after the
// paint. A window procedure that does not hand the wheel on scrolls nothing.
#include "tests/gallery/gallery_fixture.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"
#include "util/dbcs_string.h"

namespace {

struct WheelCase {
    const char* name;
    Control* under;    // the control under the pointer
    uint32_t* view;    // what the wheel moves
    ScrollBar* inStep; // holds 16 units per row of view after the paint; null = none
    uint32_t before;
    uint32_t afterDown; // one notch towards the user
    uint32_t afterUp;   // then two away
};

class GalleryWheel : public GalleryFixture {
  protected:
    void Prepare() {
        for (uint32_t i = 0; i < 30; i++) AddTextLogLine(&gallery.log, appendLine, "wheel", 0);
        gallery.log.firstRow = 0;
        for (TreeNode& g : gallery.treeGroups) g.flags |= treeNodeExpanded;
        BuildTreeListRows(&gallery.tree, gallery.treeMode);
        gallery.tree.rowSpacing = 40; // rows tall enough that they do not all fit
        std::string text;
        for (int i = 0; i < 13; i++) text += "a long text wraps over several rows ";
        CopyString(text.c_str(), gallery.wrappedText, sizeof gallery.wrappedText);
        gallery.wrapped.edit.caret = 0;
        for (Control* c : mainWindowRecord->controls) {
            if (c) MarkForRedraw(c, mainWindowRecord, redrawBits);
        }
        RequestRepaint(mainWindowHandle, repaintPending);
    }
    void Wheel(const Control& c, int32_t delta) {
        HeadlessMouseWheel(mainWindowHandle, c.x + c.surface.width / 2, c.y + c.surface.height / 2, delta);
    }
};

} // namespace

TEST_P(GalleryWheel, ScrollsTheControlUnderThePointer) {
    const WheelCase cases[] = {
        {"list box", &gallery.list.header, &gallery.list.firstRow, &gallery.listBar, 0, 3, 0},
        {"tree list", &gallery.tree.header, &gallery.tree.firstRow, &gallery.treeBar, 0, 3, 0},
        {"text log", &gallery.log.header, &gallery.log.firstRow, &gallery.logBar, 0, 3, 0},
        {"the list's bar", &gallery.listBar.header, &gallery.list.firstRow, &gallery.listBar, 0, 3, 0},
        {"a bar of its own", &gallery.vertical.header, &gallery.vertical.position, nullptr, 500, 548, 452},
        {"wrapped field", &gallery.wrapped.header, &gallery.wrapped.edit.firstRow, nullptr, 0, 3, 0},
    };
    Step("prepare", [this] { Prepare(); });
    Step("the window procedure alone", [this] {
        uint32_t before = gallery.list.firstRow;
        const Control& l = gallery.list.header;
        PlatformPoint at = {l.x + 10, l.y + 10};
        PlatformClientToScreen(mainWindowHandle, &at);
        LParam where = Position(at.x, at.y);
        EXPECT_EQ(DispatchToolkitMessage(mainWindowHandle, WM_MOUSEWHEEL, 0xFF880000u, where), -1);
        EXPECT_EQ(gallery.list.firstRow, before) << "the dispatcher's chain leaves the wheel alone";
    });
    for (const WheelCase& w : cases) {
        Step(std::string(w.name) + ": down", [this, w] {
            EXPECT_EQ(*w.view, w.before);
            Wheel(*w.under, -wheelDelta);
        });
        Step(std::string(w.name) + ": up", [this, w] {
            EXPECT_EQ(*w.view, w.afterDown);
            if (w.inStep) {
                EXPECT_EQ(w.inStep->position, *w.view * 16);
            }
            ExpectEveryControlShown(w.name);
            Wheel(*w.under, 2 * wheelDelta);
        });
        Step(std::string(w.name) + ": back", [this, w] {
            EXPECT_EQ(*w.view, w.afterUp);
            if (w.inStep) {
                EXPECT_EQ(w.inStep->position, *w.view * 16);
            }
            ExpectEveryControlShown(w.name);
        });
    }
    Step("close", [this] {
        EXPECT_NE(std::string(gallery.status.caption).find("452 / 1000"), std::string::npos)
            << "the bar of its own reports its position: " << gallery.status.caption;
        HeadlessPushMessageBoxAnswer(IDYES);
        Post(WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
}

VQ_BOTH_FORMATS(GalleryWheel);
