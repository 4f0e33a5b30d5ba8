// Notes fill the toolkit's fixed tables from the gallery's own keys: the window past the 128th and the
// control past a window's 128th are refused, the status line says so, and nothing already there changes.
#include <algorithm>

#include "gallery/gallery_notes.h"
#include "tests/gallery/gallery_fixture.h"

using GalleryNotes = GalleryFixture;

TEST_P(GalleryNotes, FillTheWindowAndControlTablesAndAreRefusedThere) {
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

VQ_BOTH_FORMATS(GalleryNotes);
