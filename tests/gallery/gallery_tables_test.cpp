// The toolkit's fixed tables filled from the gallery's own keys: notes (F7) past 128 windows, chips (F8) past
// a window's 128 controls, rows (Insert) past the list's 1024 and the tree's 128 items. Each one past the end
// is refused, the status line says so, and nothing already there changes.
#include <algorithm>

#include "gallery/gallery_notes.h"
#include "tests/gallery/gallery_fixture.h"

using GalleryTables = GalleryFixture;

TEST_P(GalleryTables, NotesFillTheWindowAndControlTables) {
    enum : uint32_t { vkF7 = vkF1 + 6, vkF8 = vkF1 + 7 };
    std::vector<Control*> galleryControls;
    std::vector<WindowHandle> handles;
    auto keys = [](WindowHandle window, uint32_t key, int32_t times) {
        for (int32_t i = 0; i < times; i++) PlatformPostMessage(window, WM_KEYDOWN, key, 1);
    };
    auto status = [] { return std::string(gallery.status.caption); };
    auto full = [] { // the note whose control list is full
        for (WindowRecord& r : windowTable.records) {
            if (&r != mainWindowRecord && r.controlCount == controlSlots) return &r;
        }
        return static_cast<WindowRecord*>(nullptr);
    };
    Step("notes opened past the table's end", [&] {
        galleryControls.assign(mainWindowRecord->controls, mainWindowRecord->controls + controlSlots);
        keys(mainWindowHandle, vkF7, windowSlots + 2);
    });
    Step("refused at 128 windows", [&] {
        EXPECT_EQ(NoteCount(), windowSlots - 1);
        EXPECT_EQ(std::count(windowTable.handles, windowTable.handles + windowSlots, 0u), 0);
        EXPECT_EQ(status(), Cp949("창 Windows: all 128 in use, no note opened"));
        handles.assign(windowTable.handles, windowTable.handles + windowSlots);
        keys(mainWindowHandle, vkF8, controlSlots + 1); // chips on the newest note
    });
    Step("refused at 128 controls", [&] {
        EXPECT_EQ(status(), Cp949("조각 Chips: note 127 has all 128 controls, nothing added"));
        WindowRecord* record = full();
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(std::equal(handles.begin(), handles.end(), windowTable.handles)) << "no window replaced";
        EXPECT_TRUE(std::equal(galleryControls.begin(), galleryControls.end(), mainWindowRecord->controls));
        WindowHandle note = WindowHandleOf(record);
        for (const Control* c : record->controls) {
            for (int32_t y = 0; y < c->surface.height; y++) {
                for (int32_t x = 0; x < c->surface.width; x++)
                    ASSERT_EQ(HeadlessScreenPixel(note, c->x + x, c->y + y), PixelAt(c->surface, x, y));
            }
        }
        for (const WindowRecord& r : windowTable.records) {
            if (&r == mainWindowRecord || &r == record) continue;
            EXPECT_EQ(r.controlCount, 1u) << "only its caption";
        }
        PlatformPostMessage(note, WM_CLOSE, 0, 0);
        keys(mainWindowHandle, vkF7, 1);
    });
    Step("a closed note makes room for one more", [&] {
        EXPECT_EQ(full(), nullptr);
        EXPECT_EQ(NoteCount(), windowSlots - 1);
        EXPECT_EQ(status(), Cp949("쪽지 Note 128: 128 of 128 windows in use"));
        PlatformDestroyWindow(mainWindowHandle);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(NoteCount(), 0) << "the notes went with the gallery";
}

TEST_P(GalleryTables, InsertFillsTheListAndTheTree) {
    std::vector<std::string> listed, named;
    auto status = [] { return std::string(gallery.status.caption); };
    auto inserts = [this](const Control& c, uint32_t times) {
        ClickMiddle(c);
        for (uint32_t i = 0; i < times; i++) {
            Post(WM_KEYDOWN, vkInsert, 1);
            Post(WM_KEYUP, vkInsert, static_cast<LParam>(0xC0000001u));
        }
    };
    Step("a row inserted", [&] {
        for (const ListBoxItem& item : gallery.listItems) listed.push_back(item.text);
        inserts(gallery.list.header, 1);
    });
    Step("rows inserted past the list's table", [&] {
        EXPECT_EQ(status(), Cp949("목록 List: 새 과일 1 (41 of 1024)")) << "one row a keystroke";
        inserts(gallery.list.header, uint32_t{listBoxItems} - galleryListItems);
    });
    Step("the list refused the last", [&] {
        EXPECT_EQ(status(), Cp949("목록 List: all 1024 rows in use, nothing added"));
        ASSERT_EQ(gallery.list.itemCount, listBoxItems);
        for (uint32_t i = 0; i < listBoxItems; i++) ASSERT_EQ(gallery.list.items[i], &gallery.listItems[i]);
        for (uint32_t i = 0; i < galleryListItems; i++) EXPECT_EQ(listed[i], gallery.listItems[i].text);
        EXPECT_EQ(std::string(gallery.listItems[listBoxItems - 1].text), Cp949("새 과일 984"));
        ExpectEveryControlShown("the list full");
        for (const TreeNode& node : gallery.treeItems) named.push_back(node.name);
        inserts(gallery.tree.header, uint32_t{treeListItems} - galleryTreeItems + 1);
    });
    Step("the tree refused the last", [&] {
        EXPECT_EQ(status(), Cp949("트리 Tree: all 128 items in use, nothing added"));
        for (uint32_t i = 0; i < galleryTreeItems; i++) EXPECT_EQ(named[i], gallery.treeItems[i].name);
        uint32_t rows = galleryTreeGroups;
        for (const TreeNode& item : gallery.treeItems)
            rows += (item.flags & treeNodeListed) && item.parent && (item.parent->flags & treeNodeExpanded);
        EXPECT_EQ(gallery.tree.rowCount, rows - 1)
            << "every item of an open group has its row, the refused one none";
        ExpectEveryControlShown("the tree full");
        PlatformDestroyWindow(mainWindowHandle);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
}

VQ_BOTH_FORMATS(GalleryTables);
