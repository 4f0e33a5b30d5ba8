// The whole gallery driven as a user would, through its own message loop: what the window shows at
// start-up, a click and a drag on the first kinds, Korean typed through the input method, the tree (expand,
// select, rename in Korean, double and right click, the sort turned round), the list (click, Ctrl-click,
// drag past the edge, the arrow), the log (typed lines and Enter, a sent line, save, load back, a damaged and
// a foreign file), a resize and the close (the quit question answered No, then Yes).
#include <fstream>
#include <iterator>

#include "tests/gallery/gallery_fixture.h"

namespace {

class GalleryScenario : public GalleryFixture {
  protected:
    // Colours convert once the gallery has found the display's pixel format.
    static uint32_t White() { return ColourToPixel(0xFFFFFF); }
    static uint32_t Black() { return ColourToPixel(0x000000); }

    // ---- The steps of the scenario, each checking what the input of the one before led to ----

    void StartUp();
    void ButtonsAndBars();
    void TypeIntoField();
    void Tree();
    void ListBox();
    void TypeIntoLog();
    void SaveAndLoad();
    void ResizeAndClose();

    const std::string stamp = Cp949("2024년5월1일(수)[오후]3시4분9초 ");
    const std::string started = stamp + Cp949("갤러리를 시작했습니다. Gallery started.");
    TreeNode* alice = &gallery.treeItems[3];
    std::vector<std::string> saved; // the log's lines when it was saved
    int32_t statusWidth = 0, statusY = 0, treeHeight = 0, listX = 0, logWidth = 0; // before the resize
};

} // namespace

static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void GalleryScenario::StartUp() {
    Step("the start-up screen", [this] {
        EXPECT_STREQ(HeadlessWindowTitle(mainWindowHandle), "Velquist Gallery");
        EXPECT_TRUE(HeadlessWindowVisible(mainWindowHandle));
        for (const Surface& s : gallery.art) ASSERT_GT(s.width, 0) << "every image loads";
        uint32_t kinds = 0;
        for (const Control* c : mainWindowRecord->controls) kinds |= c ? 1u << (c->kind / 4) : 0;
        EXPECT_EQ(kinds, 0x3FEu) << "all nine kinds are in the window";
        ExpectEveryControlShown("start-up");
        // The frames: raised white top-left, sunken black top-left.
        const Control& raised = gallery.frames[0].header;
        const Control& sunken = gallery.frames[1].header;
        EXPECT_EQ(Screen(raised.x + 30, raised.y), White());
        EXPECT_EQ(Screen(raised.x + 30, raised.y + raised.surface.height - 1), Black());
        EXPECT_EQ(Screen(sunken.x + 30, sunken.y), Black());
        // The disabled image button shows its second image; the picture shows its image.
        const Control& off = gallery.playDisabled.header;
        EXPECT_EQ(ImageMismatches(Art(artPlay + 1), off.x, off.y, 0x10000), 0);
        EXPECT_EQ(
            ImageMismatches(Art(artPicture), gallery.picture.header.x, gallery.picture.header.y, 0x10000), 0);
        // The skinned bar's 10-pixel thumb at x 3 of its 16, half way down its track.
        const ScrollBar& v = gallery.vertical;
        int32_t track = v.header.surface.height - 32, offset = 500 * (track - 28) / 1000;
        EXPECT_EQ(
            ImageMismatches(Art(artThumb), v.header.x + 3, v.header.y + 16 + offset, ColourToPixel(0xFF00FF)),
            0);
        // The tree: pinned items first, then by name; the collapsed group shows no items.
        EXPECT_EQ(TreeRows(), (std::vector<std::string>{
                                  Cp949("친구 Friends"), Cp949("김민수"), "Alice", "Bob", Cp949("박지훈"),
                                  Cp949("이서연"), Cp949("가족 Family"), Cp949("동생"), Cp949("아버지"),
                                  Cp949("어머니"), Cp949("회사 Work"), Cp949("빈 그룹 Empty")}));
        // The log: the start-up line, stamped, and an empty line to type into; its bar is not needed yet.
        EXPECT_EQ(LogLines(), (std::vector<std::string>{started, ""}));
        EXPECT_EQ(gallery.log.currentLine, 1u);
        EXPECT_TRUE(gallery.logBar.header.flags & hidden);
        EXPECT_FALSE(gallery.listBar.header.flags & hidden) << "40 fruit do not fit";
        EXPECT_EQ(std::string(gallery.file.caption), Cp949("기록 파일 Log file: ") + LogPath());
        Click(gallery.ok.header, 30, 12);
    });
}

void GalleryScenario::ButtonsAndBars() {
    Step("OK clicked", [this] {
        EXPECT_EQ(std::string(gallery.status.caption), Cp949("확인 누름 (30, 12)"));
        // Drag the horizontal bar's thumb to its far end and let go outside the bar.
        const Control& bar = gallery.horizontal.header;
        Post(WM_LBUTTONDOWN, MK_LBUTTON, Position(bar.x + 140, bar.y + 8));
        Post(WM_MOUSEMOVE, MK_LBUTTON, Position(bar.x + bar.surface.width - 2, bar.y + 8));
        Post(WM_MOUSEMOVE, MK_LBUTTON, Position(bar.x + bar.surface.width + 40, bar.y + 8));
        Post(WM_LBUTTONUP, 0, Position(bar.x + bar.surface.width + 40, bar.y + 8));
    });
    Step("the bar dragged", [this] {
        EXPECT_EQ(gallery.horizontal.position, 100u);
        EXPECT_EQ(std::string(gallery.status.caption), Cp949("가로 놓음: 100 / 100"));
        EXPECT_EQ(std::string(gallery.positions.caption).substr(0, 15), Cp949("가로 100 / 100,"));
        ExpectEveryControlShown("after the drag");
        // Into the wrapped field: a click gives it the focus, Home puts the caret first, a syllable in the
        // making.
        Click(gallery.wrapped.header, 100, 40);
        Post(WM_KEYDOWN, vkHome, 0x01470001);
        Post(WM_IME_COMPOSITION, 0xB0A1, GCS_COMPSTR);
    });
}

void GalleryScenario::TypeIntoField() {
    Step("a syllable in the making", [this] {
        ASSERT_EQ(mainWindowRecord->focusControl, &gallery.wrapped.header);
        EXPECT_EQ(gallery.wrapped.edit.caret, 0u) << "Home";
        EXPECT_NE(gallery.wrapped.edit.composition, 0u) << "a syllable in the making";
        TypeSyllable(Cp949("가"));
    });
    Step("the syllable typed", [this] {
        EXPECT_EQ(std::string(gallery.wrappedText).substr(0, 4), Cp949("가여")) << "가 before 여기에";
        EXPECT_EQ(gallery.wrapped.edit.composition, 0u);
        // The tree: open the collapsed group by its expander (right of the 18-pixel kind column).
        Click(gallery.tree.header, 24, TreeRowY(&gallery.treeGroups[2]));
    });
}

void GalleryScenario::Tree() {
    Step("the group opened", [this] {
        std::vector<std::string> rows = TreeRows();
        ASSERT_EQ(rows.size(), 16u);
        EXPECT_EQ(std::vector<std::string>(rows.begin() + 10, rows.end()),
                  (std::vector<std::string>{Cp949("회사 Work"), Cp949("일정 Schedule"), "Velquist",
                                            Cp949("보고서 Report"), Cp949("회의록 Minutes"),
                                            Cp949("빈 그룹 Empty")}))
            << "pinned first and sorted, after the expander too";
        Click(gallery.tree.header, 100, TreeRowY(alice));
    });
    Step("Alice selected", [this] {
        EXPECT_EQ(gallery.tree.selectedNode, alice);
        EXPECT_EQ(gallery.tree.header.editBuffer, nullptr);
        Click(gallery.tree.header, 100, TreeRowY(alice));
    });
    Step("the rename started", [this] {
        ASSERT_NE(gallery.tree.header.editBuffer, nullptr) << "the second press renames";
        EXPECT_EQ(mainWindowRecord->focusControl, &gallery.tree.header);
        TypeSyllable(Cp949("가")); // a rename inserts at the end of the name
    });
    Step("Alice renamed", [this] {
        EXPECT_EQ(std::string(alice->name), Cp949("Alice가"));
        // A double click on the first item.
        int32_t y = TreeRowY(&gallery.treeItems[0]);
        Click(gallery.tree.header, 100, y);
        Post(WM_LBUTTONDBLCLK, MK_LBUTTON, Position(gallery.tree.header.x + 100, gallery.tree.header.y + y));
        Post(WM_LBUTTONUP, 0, Position(gallery.tree.header.x + 100, gallery.tree.header.y + y));
    });
    Step("the double click", [this] {
        EXPECT_EQ(gallery.tree.header.editBuffer, nullptr) << "the press ended the rename";
        EXPECT_EQ(std::string(gallery.status.caption), Cp949("두 번 누름 Double click: 김민수"));
        const Control& t = gallery.tree.header;
        int32_t y = TreeRowY(&gallery.treeItems[4]);
        Post(WM_RBUTTONDOWN, MK_RBUTTON, Position(t.x + 100, t.y + y));
        Post(WM_RBUTTONUP, 0, Position(t.x + 100, t.y + y));
    });
    Step("the right click", [this] {
        EXPECT_EQ(std::string(gallery.status.caption), Cp949("오른쪽 단추 Right click: Bob"));
        EXPECT_EQ(gallery.tree.selectedNode, &gallery.treeItems[4]) << "a right release selects";
        ClickMiddle(gallery.sort.header);
    });
    Step("the sort turned round", [this] {
        std::vector<std::string> rows = TreeRows();
        EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 6),
                  (std::vector<std::string>{Cp949("친구 Friends"), Cp949("김민수"), Cp949("이서연"),
                                            Cp949("박지훈"), "Bob", Cp949("Alice가")}));
        EXPECT_EQ(std::string(gallery.sort.caption), Cp949("정렬 Z-A"));
        // The list: a click, then a Ctrl-click.
        Click(gallery.list.header, 60, ListRowY(0));
        Click(gallery.list.header, 60, ListRowY(2), MK_CONTROL);
    });
}

void GalleryScenario::ListBox() {
    Step("two fruit selected", [this] {
        EXPECT_EQ(std::string(gallery.status.caption), Cp949("선택 2개 selected 사과 Apple 포도 Grape"));
        // Press on the fourth row and drag below the list: three moves scroll three rows in.
        const Control& l = gallery.list.header;
        Post(WM_LBUTTONDOWN, MK_LBUTTON, Position(l.x + 60, l.y + ListRowY(3)));
        for (int i = 0; i < 3; i++)
            Post(WM_MOUSEMOVE, MK_LBUTTON, Position(l.x + 60, l.y + l.surface.height + 10));
        Post(WM_LBUTTONUP, 0, Position(l.x + 60, l.y + l.surface.height + 10));
    });
    Step("the drag past the edge", [this] {
        EXPECT_EQ(gallery.list.firstRow, 3u);
        // The list fills a drag: every row from the pressed one to the edge, then the three scrolled in.
        uint32_t rows = gallery.list.visibleRows;
        std::string expected = Cp949("선택 ") + std::to_string(rows) + Cp949("개 selected");
        for (uint32_t i = 3; i < rows + 3; i++) expected += std::string(" ") + gallery.listItems[i].text;
        EXPECT_EQ(std::string(gallery.status.caption), expected);
        EXPECT_EQ(gallery.listBar.position, 48u);
        ClickMiddle(gallery.listDown.header);
    });
    Step("the arrow", [this] {
        EXPECT_EQ(gallery.list.firstRow, 4u);
        EXPECT_EQ(gallery.listBar.position, 64u);
        // The log: a click on its empty line, a line typed in Latin and Korean, and Enter.
        int32_t rowHeight = static_cast<int32_t>(gallery.log.rowHeight);
        Click(gallery.log.header, 40, 2 + rowHeight + rowHeight / 2);
        Type("hello ");
        TypeSyllable(Cp949("가"));
        Type("\r");
    });
}

void GalleryScenario::TypeIntoLog() {
    Step("a line typed into the log", [this] {
        EXPECT_EQ(mainWindowRecord->focusControl, &gallery.log.header);
        EXPECT_EQ(LogLines(), (std::vector<std::string>{started, stamp + Cp949("hello 가"), ""}));
        EXPECT_EQ(gallery.log.currentLine, 2u);
        // A line sent from the field below the log goes above the line being typed.
        ClickMiddle(gallery.entry.header);
        Type("abc");
        ClickMiddle(gallery.send.header);
    });
    Step("a line sent", [this] {
        saved = {started, stamp + Cp949("hello 가"), stamp + "abc", ""};
        EXPECT_EQ(LogLines(), saved);
        EXPECT_EQ(gallery.log.currentLine, 3u);
        EXPECT_STREQ(gallery.entryText, "");
        EXPECT_EQ(std::string(gallery.status.caption), Cp949("기록에 추가 Added: abc"));
        ClickMiddle(gallery.save.header);
    });
}

void GalleryScenario::SaveAndLoad() {
    Step("saved", [this] {
        EXPECT_EQ(std::string(gallery.status.caption),
                  Cp949("기록을 저장했습니다 Saved (4줄 lines): ") + LogPath());
        EXPECT_GT(ReadFile(LogPath()).size(), 20u) << "the file is there";
        // More typing, then the saved log is loaded back.
        int32_t rowHeight = static_cast<int32_t>(gallery.log.rowHeight);
        Click(gallery.log.header, 40, 2 + 3 * rowHeight + rowHeight / 2);
        Type("xyz\r");
    });
    Step("typed after the save", [this] {
        EXPECT_EQ(LogLines().size(), 5u);
        ClickMiddle(gallery.load.header);
    });
    Step("loaded back", [this] {
        EXPECT_EQ(LogLines(), saved);
        EXPECT_EQ(gallery.log.currentLine, 3u);
        EXPECT_EQ(std::string(gallery.status.caption),
                  Cp949("기록을 불러왔습니다 Loaded (4줄 lines): ") + LogPath());
        // A damaged file: one byte of the packed text changed.
        std::string bytes = ReadFile(LogPath());
        bytes[bytes.size() / 2 + 10] ^= 0x40;
        WriteFile(LogPath(), bytes);
        Type("q");
        ClickMiddle(gallery.load.header);
    });
    Step("a damaged file refused", [this] {
        EXPECT_EQ(
            std::string(gallery.status.caption),
            Cp949("기록 파일이 손상되었습니다. 아무것도 바꾸지 않았습니다. Damaged log; nothing changed: ") +
                LogPath());
        EXPECT_EQ(LogLines().back(), "q") << "nothing changed";
        WriteFile(LogPath(), "hello, world\n");
        ClickMiddle(gallery.load.header);
    });
    Step("a foreign file refused", [this] {
        EXPECT_EQ(
            std::string(gallery.status.caption),
            Cp949(
                "갤러리 기록이 아닙니다. 아무것도 바꾸지 않았습니다. Not a gallery log; nothing changed: ") +
                LogPath());
        EXPECT_EQ(LogLines().back(), "q");
        // The picture and a label take clicks and do nothing with them.
        ClickMiddle(gallery.picture.header);
        ClickMiddle(gallery.frames[2].header);
        // The window grows: the status line stretches and stays at the bottom, the tree grows, the list
        // keeps to the bottom-right corner and the log widens.
        statusWidth = gallery.status.header.surface.width;
        statusY = gallery.status.header.y;
        treeHeight = gallery.tree.header.surface.height;
        listX = gallery.list.header.x;
        logWidth = gallery.log.header.surface.width;
        PlatformRect r;
        PlatformWindowRect(mainWindowHandle, &r);
        HeadlessResizeWindow(mainWindowHandle, r.right - r.left + 100, r.bottom - r.top + 60);
    });
}

void GalleryScenario::ResizeAndClose() {
    Step("resized", [this] {
        const Control& status = gallery.status.header;
        EXPECT_EQ(status.surface.width, statusWidth + 100);
        EXPECT_EQ(status.y, statusY + 60);
        EXPECT_EQ(Screen(status.x + status.surface.width - 1, status.y + 10), White())
            << "its sunken frame's right edge";
        EXPECT_EQ(gallery.tree.header.surface.height, treeHeight + 60);
        EXPECT_EQ(gallery.list.header.x, listX + 100);
        EXPECT_EQ(gallery.log.header.surface.width, logWidth + 100);
        ExpectEveryControlShown("after the resize");
        HeadlessPushMessageBoxAnswer(IDNO);
        HeadlessPushMessageBoxAnswer(IDYES);
        Post(WM_CLOSE, 0, 0);
    });
    Step("No keeps it open", [this] {
        EXPECT_EQ(HeadlessMessageBoxCount(), 1);
        EXPECT_EQ(std::string(HeadlessLastMessageBoxText()), Cp949("종료하시겠습니까?"));
        EXPECT_TRUE(HeadlessWindowExists(mainWindowHandle)) << "No keeps the gallery open";
        Post(WM_CLOSE, 0, 0);
    });
}

TEST_P(GalleryScenario, EveryKindCanBeSeenAndTried) {
    StartUp();
    ButtonsAndBars();
    TypeIntoField();
    Tree();
    ListBox();
    TypeIntoLog();
    SaveAndLoad();
    ResizeAndClose();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(HeadlessMessageBoxCount(), 2) << "Yes closes the gallery";
}

VQ_BOTH_FORMATS(GalleryScenario);
