// List boxes on the screen: rows from the font, the clamped top row, the scroll bar and companions shown and
// hidden together, the halves-up rounding of the bar, plain, Ctrl and double clicks, drag selection with
// auto-scroll, separators, frames and icons, and the limits (1024 records, icon indices, a press before the
// first draw). Each row's icon has a colour of its own, so the rows shown are read off the screen.
#include "tests/controls/control_window.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/scroll_bar.h"

static const uint32_t kGrey = 0xBFBFBF, kSelection = 0xEE0000, kBlack = 0x000000, kWhite = 0xFFFFFF,
                      kSeparator = 0x0000FF;
static const int32_t X = 10, Y = 10, W = 100, kRowHeight = 15;

// Red steps by 8, so all 31 colours stay apart in 5-5-5 too.
static uint32_t IconColour(uint32_t i) {
    return (i * 8) | ((255 - i * 8) << 8) | (((i * 37 + 64) & 0xFF) << 16);
}

namespace {

class ListBoxTest : public ControlWindow {
  protected:
    void SetUp() override {
        ControlWindow::SetUp();
        for (uint32_t i = 0; i < listBoxIcons; i++) icons[i] = Image(4, 4, IconColour(i));
    }
    void TearDown() override {
        PlatformDestroyWindow(h); // before the records go
        ControlWindow::TearDown();
    }
    void MakeItems(uint32_t n) {
        records.assign(n, ListBoxItem{});
        for (uint32_t i = 0; i < n; i++) {
            records[i].flags = listBoxItemListed;
            records[i].iconIndex = i % listBoxIcons;
            snprintf(records[i].text, sizeof records[i].text, "item %u", i);
        }
    }
    // A list of n items at (X, Y), rows of 15 pixels, with the icons; not shown yet.
    void InitList(uint32_t n, int32_t height = 120, uint32_t flags = 0) {
        MakeItems(n);
        Extent e = {X, Y, W, height};
        InitListBox(&list, &e, nullptr, flags);
        list.rowSpacing = static_cast<uint32_t>(kRowHeight - FontHeight());
        for (uint32_t i = 0; i < listBoxIcons; i++) list.icons[i] = icons[i];
        SetListBoxItems(&list, records.data(), sizeof(ListBoxItem), n);
    }
    void ShowList(uint32_t n, int32_t height = 120, uint32_t flags = 0) {
        InitList(n, height, flags);
        Show(&list.header);
    }
    // A vertical bar right of the list, and up and down buttons as companions, linked above the list.
    void AttachBar() {
        Extent barAt = {X + W + 4, Y + 16, 16, 88}, upAt = {X + W + 4, Y, 16, 16},
               downAt = {X + W + 4, Y + 104, 16, 16};
        WireScrollBar(&list, &bar, barAt, scrollBarVertical, ListBoxScrollTo);
        WireScrollButtons(&list, &up, upAt, ListBoxScrollUp, &down, downAt, ListBoxScrollDown);
    }
    int32_t RowMiddle(int32_t row) { return Y + 1 + row * kRowHeight + 7; }
    void Click(int32_t row, WParam keys = 0) {
        Mouse(WM_LBUTTONDOWN, X + 30, RowMiddle(row), MK_LBUTTON | keys);
        Mouse(WM_LBUTTONUP, X + 30, RowMiddle(row), keys);
    }
    // The icon index shown in each of the rows that fit, -1 for a row without one.
    std::vector<int> Shown(int32_t rows = 7) {
        std::vector<int> out;
        for (int32_t r = 0; r < rows; r++) {
            uint32_t pixel = Screen(X + 2, Y + 1 + r * kRowHeight + 1);
            int found = -1;
            for (uint32_t i = 0; i < listBoxIcons; i++) found = pixel == P(IconColour(i)) ? int(i) : found;
            out.push_back(found);
        }
        return out;
    }
    static std::vector<int> Range(int from, int to) {
        std::vector<int> out;
        for (int i = from; i < to; i++) out.push_back(i % int(listBoxIcons));
        return out;
    }
    // The rows filled with the selection colour.
    std::vector<int> SelectedRows(int32_t rows = 7) {
        std::vector<int> out;
        for (int32_t r = 0; r < rows; r++) {
            if (Screen(X + W - 3, RowMiddle(r)) == P(kSelection)) out.push_back(r);
        }
        return out;
    }
    std::vector<int> SelectedItems() {
        std::vector<int> out;
        for (size_t i = 0; i < records.size(); i++) {
            if (records[i].flags & listBoxItemSelected) out.push_back(int(i));
        }
        return out;
    }
    bool BarShown() { return Screen(X + W + 12, Y + 60) != P(windowColour); }
    bool ButtonsShown() {
        return Screen(X + W + 12, Y + 8) != P(windowColour) && Screen(X + W + 12, Y + 112) != P(windowColour);
    }

    Surface* icons[listBoxIcons];
    std::vector<ListBoxItem> records;
    ListBox list;
    ScrollBar bar;
    Button up, down;
};

} // namespace

TEST_P(ListBoxTest, RowsComeFromTheFontAndTheTopRowIsClampedWithTheBarInStep) {
    ASSERT_LE(FontHeight(), kRowHeight);
    struct Case {
        const char* name;
        uint32_t items, firstRow;
        uint32_t visibleRows, clampedRow;
        bool barShown;
        uint32_t range;
    };
    const Case cases[] = {
        {"5 items fit: the top row goes back to 0", 5, 3, 5, 0, false, 0},
        {"20 items from 16: back to 13", 20, 16, 7, 13, true, 208},
        {"20 items from 4 stay", 20, 4, 7, 4, true, 208},
        {"7 items fit exactly", 7, 1, 7, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InitList(c.items);
        AttachBar();
        list.firstRow = c.firstRow;
        Show(&list.header);
        EXPECT_EQ(list.rowHeight, uint32_t(kRowHeight));
        EXPECT_EQ(list.visibleRows, c.visibleRows);
        EXPECT_EQ(list.firstRow, c.clampedRow);
        std::vector<int> expected = Range(int(c.clampedRow), int(c.clampedRow + c.visibleRows));
        expected.resize(7, -1);
        EXPECT_EQ(Shown(), expected);
        EXPECT_EQ(BarShown(), c.barShown);
        EXPECT_EQ(ButtonsShown(), c.barShown) << "the companions go with the bar";
        if (c.barShown) {
            EXPECT_EQ(bar.range, c.range);
            EXPECT_EQ(bar.position, 16 * c.clampedRow);
        }
        for (Control* ctl : {&list.header, &bar.header, &up.header, &down.header}) Drop(ctl);
        Redraw(&list.header);
    }
}

TEST_P(ListBoxTest, TheBarsReleaseRoundsHalfRowsUp) {
    ShowList(20);
    // A horizontal bar of 300 pixels has room for all 208 units: its thumb is 90 long and a pixel is a unit.
    Extent e = {X, 150, 300, 16};
    WireScrollBar(&list, &bar, e, 0, ListBoxScrollTo);
    Redraw(&bar.header);
    Redraw(&list.header);
    ASSERT_EQ(bar.range, 208u);
    struct Case {
        uint32_t position, firstRow;
    };
    const Case cases[] = {{40, 3}, {39, 2}, {8, 1}, {7, 0}, {200, 13}, {208, 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        int32_t x = X + 1 + 45 + static_cast<int32_t>(c.position);
        Mouse(WM_LBUTTONDOWN, x, 158, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, x, 158);
        EXPECT_EQ(list.firstRow, c.firstRow);
        EXPECT_EQ(Shown(), Range(int(c.firstRow), int(c.firstRow) + 7));
        EXPECT_EQ(bar.position, 16 * c.firstRow) << "the next draw writes the rounded position back";
    }
}

TEST_P(ListBoxTest, ClicksSelectOneRowAndCtrlClicksToggleRows) {
    ShowList(20);
    struct Step {
        const char* name;
        uint32_t message; // a press (down or double) and its release
        int32_t y;        // relative to the list
        WParam keys;
        std::vector<int> selected;
    };
    const Step steps[] = {
        {"plain click on the third row", WM_LBUTTONDOWN, 2 * 15 + 7, 0, {2}},
        {"Ctrl-click on the fifth adds it", WM_LBUTTONDOWN, 4 * 15 + 7, MK_CONTROL, {2, 4}},
        {"Ctrl-click on the third removes it", WM_LBUTTONDOWN, 2 * 15 + 7, MK_CONTROL, {4}},
        {"y 15 is the second row, not the first", WM_LBUTTONDOWN, 15, 0, {1}},
        {"y 14 is still the first", WM_LBUTTONDOWN, 14, 0, {0}},
        {"a double click keeps the row selected", WM_LBUTTONDBLCLK, 14, 0, {0}},
        {"a Ctrl double click toggles it back", WM_LBUTTONDBLCLK, 14, MK_CONTROL, {}},
        {"plain click on the sixth", WM_LBUTTONDOWN, 5 * 15 + 7, 0, {5}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        Mouse(s.message, X + 30, Y + s.y, MK_LBUTTON | s.keys);
        Mouse(WM_LBUTTONUP, X + 30, Y + s.y, s.keys);
        EXPECT_EQ(SelectedItems(), s.selected);
        EXPECT_EQ(SelectedRows(), s.selected);
    }
    EXPECT_EQ(list.currentItem, &records[5]);
    // An item unlisted after the list was filled keeps its row, drawn empty and not selectable.
    records[3].flags &= ~listBoxItemListed;
    Redraw(&list.header);
    EXPECT_EQ(Shown()[3], -1);
    Click(3, MK_CONTROL);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{5}));
    // A plain click below the last row clears the selection.
    Click(2);
    SetListBoxItems(&list, records.data(), sizeof(ListBoxItem), 4);
    Redraw(&list.header);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{2}));
    Click(6);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{}));
}

TEST_P(ListBoxTest, DraggingPastAnEdgeScrollsOneRowPerMoveAndSelectsTheRowsComingIn) {
    ShowList(20);
    Mouse(WM_LBUTTONDOWN, X + 30, RowMiddle(0), MK_LBUTTON);
    for (int i = 0; i < 3; i++) Mouse(WM_MOUSEMOVE, X + 30, Y + 130, MK_LBUTTON);
    EXPECT_EQ(list.firstRow, 3u);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 7, 8, 9}));
    EXPECT_EQ(Shown(), Range(3, 10));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{4, 5, 6}));
    // Back over the list, far to the right: x is not looked at.
    Mouse(WM_MOUSEMOVE, X + 300, RowMiddle(1), MK_LBUTTON);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 4, 7, 8, 9}));
    EXPECT_EQ(list.currentItem, &records[4]);
    // Past the last row nothing more scrolls in.
    for (int i = 0; i < 12; i++) Mouse(WM_MOUSEMOVE, X + 30, Y + 200, MK_LBUTTON);
    EXPECT_EQ(list.firstRow, 13u);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    Mouse(WM_LBUTTONUP, X + 30, Y + 200);
    EXPECT_EQ(w->captureControl, nullptr);
    // Above the top edge, with a fresh press: each move scrolls up and selects the new top row.
    Mouse(WM_LBUTTONDOWN, X + 30, RowMiddle(0), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, X + 30, Y - 1, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, X + 30, Y - 40, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, X + 30, Y - 40);
    EXPECT_EQ(list.firstRow, 11u);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2}));
    // Without a press a move selects nothing.
    Mouse(WM_MOUSEMOVE, X + 30, Y + 200, 0);
    EXPECT_EQ(list.firstRow, 11u);
}

TEST_P(ListBoxTest, ScrollButtonsStepOneRowAndStopAtTheEnds) {
    InitList(20);
    AttachBar();
    Show(&list.header);
    auto press = [&](Button& b) {
        Mouse(WM_LBUTTONDOWN, b.header.x + 8, b.header.y + 8, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, b.header.x + 8, b.header.y + 8);
    };
    press(up);
    EXPECT_EQ(list.firstRow, 0u);
    press(down);
    press(down);
    EXPECT_EQ(list.firstRow, 2u);
    EXPECT_EQ(Shown(), Range(2, 9));
    EXPECT_EQ(bar.position, 32u);
    list.firstRow = 13;
    Redraw(&list.header);
    press(down);
    EXPECT_EQ(list.firstRow, 13u) << "the last item is on screen already";
    press(up);
    EXPECT_EQ(Shown(), Range(12, 19));
}

TEST_P(ListBoxTest, SeparatorsFramesAndIcons) {
    struct Case {
        const char* name;
        uint32_t flags;
        uint32_t topLeft, bottomRight; // frame colours; kGrey = no frame
        bool separators;
    };
    const Case cases[] = {
        {"plain", 0, kGrey, kGrey, false},
        {"frame", listBoxFrame, kWhite, kBlack, false},
        {"inverted frame", listBoxFrame | listBoxInvertedFrame, kBlack, kWhite, false},
        {"separators", listBoxSeparators, kGrey, kGrey, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InitList(3, 120, c.flags);
        list.separatorColour = kSeparator;
        records[1].iconIndex = 31;   // past the table: no icon
        records[2].iconIndex = 1000; // far past it
        Show(&list.header);
        EXPECT_EQ(Screen(X, Y + 100), P(c.topLeft));
        EXPECT_EQ(Screen(X + 50, Y), P(c.topLeft));
        EXPECT_EQ(Screen(X + W - 1, Y + 100), P(c.bottomRight));
        EXPECT_EQ(Screen(X + 50, Y + 119), P(c.bottomRight));
        EXPECT_EQ(Shown(), (std::vector<int>{0, -1, -1, -1, -1, -1, -1}));
        for (int32_t row = 0; row < 3; row++) {
            int32_t last = Y + 1 + row * kRowHeight + kRowHeight - 1;
            EXPECT_EQ(Screen(X + W - 3, last), P(c.separators ? kSeparator : kGrey)) << "row " << row;
        }
        EXPECT_EQ(Screen(X + W - 3, Y + 1 + 3 * kRowHeight + kRowHeight - 1), P(kGrey)) << "no row, no line";
        Drop(&list.header);
    }
}

TEST_P(ListBoxTest, MoreThan1024ListedRecordsKeepTheFirst1024) {
    InitList(1100);
    records[5].flags = 0; // an unlisted record in between is skipped, not counted
    EXPECT_EQ(SetListBoxItems(&list, records.data(), sizeof(ListBoxItem), 1100), 1099u - 1024u);
    EXPECT_EQ(list.itemCount, 1024u);
    EXPECT_EQ(list.items[1023], &records[1024]);
    EXPECT_EQ(list.backgroundImage, nullptr) << "nothing after the table was written";
    list.firstRow = 5000;
    Show(&list.header);
    EXPECT_EQ(list.firstRow, 1017u);
    EXPECT_EQ(Shown(), Range(1018, 1025)); // items 1017 .. 1023 are records 1018 .. 1024
    // A stride of records larger than ListBoxItem, and a stride of 0 (one record, listed many times).
    std::vector<uint8_t> wide(3 * 100);
    for (int i = 0; i < 3; i++) {
        ListBoxItem* item = reinterpret_cast<ListBoxItem*>(wide.data() + 100 * i);
        item->flags = listBoxItemListed;
        item->iconIndex = 7 + i;
    }
    EXPECT_EQ(SetListBoxItems(&list, reinterpret_cast<ListBoxItem*>(wide.data()), 100, 3), 0u);
    Redraw(&list.header);
    EXPECT_EQ(Shown(), (std::vector<int>{7, 8, 9, -1, -1, -1, -1}));
    EXPECT_EQ(SetListBoxItems(&list, &records[0], 0, 2000), 2000u - 1024u);
    EXPECT_EQ(list.itemCount, 1024u);
}

TEST_P(ListBoxTest, APressBeforeTheFirstDrawSelectsNothingAndDividesByNothing) {
    InitList(20);
    records[2].flags |= listBoxItemSelected;
    AddControl(&list.header, w, addOnTop); // linked, never drawn
    PlatformPostMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(X + 30, RowMiddle(2)));
    PlatformPostMessage(h, WM_MOUSEMOVE, MK_LBUTTON, Position(X + 30, RowMiddle(4)));
    PlatformPostMessage(h, WM_MOUSEMOVE, MK_LBUTTON, Position(X + 30, Y + 150));
    PlatformPostMessage(h, WM_LBUTTONUP, 0, Position(X + 30, Y + 150));
    HeadlessPump();
    EXPECT_EQ(SelectedItems(), (std::vector<int>{})) << "the press cleared; the moves found no rows";
    EXPECT_EQ(list.firstRow, 0u);
    Click(2);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{2}));
}

// The bar lies on a panel, under which nothing else is: hiding it repaints the panel, and what lies on the
// panel above the list (a label linked last) and the list itself must come back over it.
TEST_P(ListBoxTest, HidingTheBarOnAPanelKeepsWhatLiesOnThePanel) {
    Panel panel;
    Extent panelAt = {5, 5, 300, 150};
    InitPanel(&panel, &panelAt, kSeparator, kWhite, kBlack, 1, 0);
    AddControl(&panel.header, w, addOnTop);
    InitList(20);
    AddControl(&list.header, w, addOnTop);
    WireScrollBar(&list, &bar, {X + W + 4, Y, 16, 120}, scrollBarVertical, nullptr);
    Label label;
    Extent labelAt = {X + W + 30, Y, 60, 30};
    InitLabel(&label, &labelAt, kBlack, kGrey, nullptr, "label", nullptr, labelFrame, 0);
    Show(&label.header);
    Redraw(&list.header);
    auto shows = [&](const Control& c) {
        Area a = {c.x, c.y, c.x + c.surface.width, c.y + c.surface.height};
        return ScreenPixels(a) == SurfacePixels(c.surface);
    };
    ASSERT_NE(bar.header.flags & hidden, hidden);
    SetListBoxItems(&list, records.data(), sizeof(ListBoxItem), 5);
    Redraw(&list.header);
    EXPECT_EQ(bar.header.flags & hidden, hidden);
    EXPECT_EQ(Screen(X + W + 12, Y + 60), P(kSeparator)) << "the panel where the bar was";
    EXPECT_TRUE(shows(list.header));
    EXPECT_TRUE(shows(label.header));
    PlatformDestroyWindow(h);
}

VQ_BOTH_FORMATS(ListBoxTest);
