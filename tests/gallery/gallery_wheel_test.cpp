// The wheel over each scrolling kind of the gallery: a notch towards the user shows three rows further down,
// two away go back and stop at the top; bars follow, and the screen shows every control after the paint.
#include "tests/gallery/gallery_fixture.h"
#include "toolkit/window/dispatch.h"

using GalleryWheel = GalleryFixture;

TEST_P(GalleryWheel, ScrollsTheControlUnderThePointer) {
    struct Case {
        Control* under;
        uint32_t* view;
        ScrollBar* bar;
        uint32_t before, down, back;
    };
    const Case cases[] = {
        {&gallery.list.header, &gallery.list.firstRow, &gallery.listBar, 0, 3, 0},
        {&gallery.tree.header, &gallery.tree.firstRow, &gallery.treeBar, 0, 3, 0},
        {&gallery.log.header, &gallery.log.firstRow, &gallery.logBar, 0, 3, 0},
        {&gallery.listBar.header, &gallery.list.firstRow, &gallery.listBar, 0, 3, 0},   // moves its list
        {&gallery.vertical.header, &gallery.vertical.position, nullptr, 500, 548, 452}, // reports itself
        {&gallery.wrapped.header, &gallery.wrapped.edit.firstRow, nullptr, 0, 3, 0},
    };
    Step("more rows than fit", [] {
        for (uint32_t i = 0; i < 30; i++) AddTextLogLine(&gallery.log, appendLine, "wheel", 0);
        gallery.log.firstRow = 0; // the log followed its end
        for (TreeNode& g : gallery.treeGroups) g.flags |= treeNodeExpanded;
        BuildTreeListRows(&gallery.tree, gallery.treeMode);
        gallery.tree.rowSpacing = 40;
        for (int i = 0; i < 10; i++) strcat(gallery.wrappedText, " a long text wraps over several rows");
        EXPECT_EQ(DispatchToolkitMessage(mainWindowHandle, WM_MOUSEWHEEL, 0xFF880000u, 0), -1) << "not taken";
    });
    auto turn = [this](const Case* c, uint32_t want, int32_t delta) {
        EXPECT_EQ(*c->view, want);
        EXPECT_EQ(c->bar ? c->bar->position : want * 16, want * 16) << "16 units a row";
        ExpectEveryControlShown("after the wheel");
        if (delta) HeadlessMouseWheel(mainWindowHandle, c->under->x + 8, c->under->y + 8, delta);
    };
    for (const Case& c : cases) {
        Step("down", [turn, &c] { turn(&c, c.before, -wheelDelta); });
        Step("up", [turn, &c] { turn(&c, c.down, 2 * wheelDelta); });
        Step("back", [turn, &c] { turn(&c, c.back, 0); });
    }
    Step("close", [] {
        EXPECT_NE(std::string(gallery.status.caption).find("452 / 1000"), std::string::npos); // reported
        PlatformDestroyWindow(mainWindowHandle);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
}

VQ_BOTH_FORMATS(GalleryWheel);
