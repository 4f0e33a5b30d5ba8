// Tree lists on the screen: the rows of modes 0, 0x8 and the name sorts, the expander images by state, the
// expander press, the hit columns and rows of the press, the double click and the right-button release,
// select → edit → edit again, Enter on group and item names, Korean renaming within the name buffers, the
// top row clamped with the bar in step, and the limits (tables, rows, icon indices, a press before the first
// draw). Each node's icon has a colour of its own, so the rows shown are read off the screen.
#include "tests/controls/control_window.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/tree_list.h"
#include "util/dbcs_string.h"

static const uint32_t kBlack = 0x000000, kGreen = 0x00FF00, kYellow = 0x00FFFF, kBlue = 0xFF0000;
static const uint32_t kExpander[3] = {0x000080, 0x008000, 0x800000};
static const int32_t X = 10, Y = 10, W = 200, kRowHeight = 20;

static uint32_t NodeColour(uint32_t i) {
    return ((i * 8 + 8) & 0xFF) | (((i * 16 + 32) & 0xFF) << 8) | (0xC0u << 16);
}
static std::vector<std::pair<std::string, TreeNode*>> reports;

static void RecordDouble(WindowHandle, WindowRecord*, Control*, uint32_t, TreeNode* node) {
    reports.push_back({"double", node});
}
static void RecordRight(WindowHandle, WindowRecord*, Control*, uint32_t, TreeNode* node) {
    reports.push_back({"right", node});
}

namespace {

// The nodes of one tree, each with an icon of its own colour and a name.
struct Forest {
    std::vector<TreeNode> groups, items;
    std::vector<std::string> names; // by icon index
    uint32_t Group(const char* name, uint32_t flags) {
        groups.push_back({});
        return Fill(groups.back(), name, flags | treeNodeListed);
    }
    // parent: an index into groups, which must not grow afterwards.
    uint32_t Item(const char* name, uint32_t parent, uint32_t flags = treeNodeListed) {
        items.push_back({});
        items.back().parent = &groups[parent];
        return Fill(items.back(), name, flags);
    }
    uint32_t Fill(TreeNode& node, const char* name, uint32_t flags) {
        node.flags = flags;
        node.iconIndex = static_cast<uint32_t>(names.size());
        CopyString(name, node.name, treeItemNameSize);
        names.push_back(name);
        return node.iconIndex;
    }
};

class TreeListTest : public ControlWindow {
  protected:
    void SetUp() override {
        ControlWindow::SetUp();
        for (uint32_t i = 0; i < 3; i++) expanders[i] = Image(9, 16, kExpander[i]);
        for (uint32_t i = 0; i < treeListNodeIcons; i++) nodeIcons[i] = Image(5, 5, NodeColour(i));
    }
    void TearDown() override {
        PlatformDestroyWindow(h); // before the records go
        ControlWindow::TearDown();
    }
    // G1 (expanded) with a and b (pinned), G2 with c, and G3 without items.
    void MakeForest() {
        f = {};
        f.groups.reserve(8);
        f.Group("G1", treeNodeExpanded);
        f.Group("G2", 0);
        f.Group("G3", 0);
        f.Item("a", 0);
        f.Item("b", 0, treeNodeListed | treeNodePinned);
        f.Item("c", 1);
    }
    // A tree at (X, Y) over the forest, rows of `rowHeight`, built in `mode`; ShowTree shows it too.
    void ShowTree(uint32_t mode = 0, uint32_t flags = 0) {
        MakeTree(mode, flags);
        Show(&tree.header);
    }
    void MakeTree(uint32_t mode = 0, uint32_t flags = 0, int32_t height = 162,
                  int32_t rowHeight = kRowHeight) {
        Extent e = {X, Y, W, height};
        InitTreeList(&tree, &e, flags, nullptr);
        tree.rowSpacing = static_cast<uint32_t>(rowHeight - FontHeight());
        tree.itemHighlight = kGreen;
        tree.groupHighlight = kYellow;
        tree.textColour = kBlue;
        for (uint32_t i = 0; i < 3; i++) tree.expandIcons[i] = expanders[i];
        for (uint32_t i = 0; i < treeListNodeIcons; i++) tree.nodeIcons[i] = nodeIcons[i];
        SetTreeListData(&tree, f.groups.data(), sizeof(TreeNode), static_cast<uint32_t>(f.groups.size()),
                        f.items.data(), sizeof(TreeNode), static_cast<uint32_t>(f.items.size()));
        BuildTreeListRows(&tree, mode);
        tree.onDoubleClick = RecordDouble;
        tree.onRightClick = RecordRight;
        reports.clear();
    }
    Area Row(int32_t row, int32_t rowHeight = kRowHeight) {
        return {X, Y + 1 + row * rowHeight, X + W, Y + 1 + (row + 1) * rowHeight};
    }
    // Each row as its node's name, with "[s]" after a group for the expander image s it shows.
    std::vector<std::string> Rows(int32_t rows = 8, int32_t rowHeight = kRowHeight) {
        std::vector<std::string> out;
        for (int32_t r = 0; r < rows; r++) {
            Area a = Row(r, rowHeight);
            a.bottom = a.top + 5; // the images' tops
            std::string label;
            for (uint32_t i = 0; i < f.names.size() && i < treeListNodeIcons; i++) {
                if (Count(a, NodeColour(i)) > 0) label = f.names[i];
            }
            // append, not "[" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) about a literal + string.
            for (uint32_t s = 0; s < 3; s++) {
                if (Count(a, kExpander[s]) > 0) label.append(1, '[').append(std::to_string(s)).append(1, ']');
            }
            if (label.empty()) break;
            out.push_back(label);
        }
        return out;
    }
    // A left press (or double click) and its release, or a right-button release alone.
    void Press(uint32_t message, int32_t x, int32_t y, WParam keys = 0) {
        if (message == WM_RBUTTONUP) {
            Mouse(WM_RBUTTONUP, X + x, Y + y, keys);
            return;
        }
        Mouse(message, X + x, Y + y, MK_LBUTTON | keys);
        Mouse(WM_LBUTTONUP, X + x, Y + y, keys);
    }
    // The middle of a row's body.
    int32_t Middle(int32_t row) { return 1 + row * kRowHeight + 10; }

    Surface* expanders[3];
    Surface* nodeIcons[treeListNodeIcons];
    Forest f;
    TreeList tree;
};

} // namespace

TEST_P(TreeListTest, ModesOrderTheRowsAndExpandersShowEachGroupsState) {
    struct Case {
        const char* name;
        uint32_t mode;
        uint32_t g3Flags;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"mode 0: array order", 0, 0, {"G1[2]", "a", "b", "G2[1]", "G3[0]"}},
        {"mode 0x8: pinned first", treeBuildPinnedFirst, 0, {"G1[2]", "b", "a", "G2[1]", "G3[0]"}},
        {"an expanded group without items", 0, treeNodeExpanded, {"G1[2]", "a", "b", "G2[1]", "G3[2]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeForest();
        f.groups[2].flags |= c.g3Flags;
        ShowTree(c.mode);
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(f.groups[1].flags & treeNodeHasItems, treeNodeHasItems) << "recomputed though collapsed";
        EXPECT_EQ(f.groups[2].flags & treeNodeHasItems, 0u);
        Drop(&tree.header);
    }
    // Unlisted records, and items of an unlisted group, are not shown.
    MakeForest();
    f.Item("d", 0, treeNodePinned);
    f.groups[1].flags = treeNodeExpanded;
    ShowTree(treeBuildPinnedFirst);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"G1[2]", "b", "a", "G3[0]"}));
}

TEST_P(TreeListTest, NameSortsReadTheNameWhereTheRecordHasIt) {
    struct Case {
        const char* name;
        uint32_t mode;
        std::vector<std::string> rows;
    };
    // The icon indices rise against the names' order, so a sort that read the words before the name would
    // show the array order.
    const Case cases[] = {
        {"ascending", treeBuildSortByName, {"G1[2]", "Apple", "apple", "fig", "pear"}},
        {"descending", treeBuildSortByName | 0x4, {"G1[2]", "pear", "fig", "apple", "Apple"}},
        {"ignoring case: the later equal name first",
         treeBuildSortByName | 0x2,
         {"G1[2]", "apple", "Apple", "fig", "pear"}},
        {"pinned first, then sorted",
         treeBuildSortByName | treeBuildPinnedFirst,
         {"G1[2]", "fig", "Apple", "apple", "pear"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f = {};
        f.groups.reserve(2);
        f.Group("G1", treeNodeExpanded);
        f.Item("pear", 0);
        f.Item("fig", 0, treeNodeListed | treeNodePinned);
        f.Item("Apple", 0);
        f.Item("apple", 0);
        ShowTree(c.mode);
        EXPECT_EQ(Rows(), c.rows);
        Drop(&tree.header);
    }
    // An expander press rebuilds with mode 0: the sorted table stays, the pinned-first order goes.
    ShowTree(treeBuildSortByName | treeBuildPinnedFirst);
    Press(WM_LBUTTONDOWN, 5, Middle(0));
    Press(WM_LBUTTONDOWN, 5, Middle(0));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"G1[2]", "Apple", "apple", "fig", "pear"}));
}

TEST_P(TreeListTest, APressOnAnExpanderOpensOrClosesItsGroupOnlyInTheExpanderColumn) {
    MakeForest();
    ShowTree();
    // The expander is 9 pixels wide and the kind column empty: x 1 is the icon column, 2 to 9 the expander.
    struct Case {
        int32_t x;
        std::vector<std::string> rows;
        TreeNode* selected;
    };
    const Case cases[] = {
        {1, {"G1[2]", "a", "b", "G2[1]", "G3[0]"}, nullptr},
        {2, {"G1[2]", "a", "b", "G2[2]", "c", "G3[0]"}, nullptr},
        {9, {"G1[2]", "a", "b", "G2[1]", "G3[0]"}, nullptr},
        {10, {"G1[2]", "a", "b", "G2[1]", "G3[0]"}, &f.groups[1]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        Press(WM_LBUTTONDOWN, c.x, Middle(3));
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(tree.selectedNode, c.selected);
    }
    // An item's indent (x below 1 + 16) is no body either.
    Press(WM_LBUTTONDOWN, 16, Middle(1));
    EXPECT_EQ(tree.selectedNode, &f.groups[1]);
    Press(WM_LBUTTONDOWN, 17, Middle(1));
    EXPECT_EQ(tree.selectedNode, &f.items[0]);
}

TEST_P(TreeListTest, RowsAreHitFromYOneOnForPressDoubleClickAndRightRelease) {
    MakeForest();
    ShowTree(0, treeListSelectOnRightUp);
    struct Case {
        int32_t y;
        TreeNode* node; // the row hit
    };
    const Case cases[] = {
        {0, nullptr}, {1, &f.groups[0]}, {20, &f.groups[0]}, {21, &f.items[0]}, {40, &f.items[0]}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        tree.selectedNode = nullptr;
        Press(WM_LBUTTONDOWN, 50, c.y);
        EXPECT_EQ(tree.selectedNode, c.node) << "press";
        reports.clear();
        Press(WM_LBUTTONDBLCLK, 50, c.y);
        EXPECT_EQ(reports, (c.node ? decltype(reports){{"double", c.node}} : decltype(reports){}))
            << "double";
        tree.selectedNode = nullptr;
        reports.clear();
        Press(WM_RBUTTONUP, 50, c.y);
        EXPECT_EQ(reports, (decltype(reports){{"right", c.node}})) << "right release";
        EXPECT_EQ(tree.selectedNode, c.node);
    }
}

TEST_P(TreeListTest, DoubleClicksAndRightReleasesLeftOfTheBodyReportNothing) {
    MakeForest();
    ShowTree();
    Press(WM_LBUTTONDBLCLK, 9, Middle(1)); // left of t + E = 10, on an item row too
    EXPECT_EQ(reports, decltype(reports){});
    Press(WM_LBUTTONDBLCLK, 10, Middle(1));
    EXPECT_EQ(reports, (decltype(reports){{"double", &f.items[0]}}));
    // Without the flag a right release reports but does not select.
    tree.selectedNode = &f.groups[0];
    reports.clear();
    Press(WM_RBUTTONUP, 50, Middle(2));
    EXPECT_EQ(reports, (decltype(reports){{"right", &f.items[1]}}));
    EXPECT_EQ(tree.selectedNode, &f.groups[0]);
    // With it, the icon column reports null and keeps the selection; a body selects and remembers the old.
    tree.header.flags |= treeListSelectOnRightUp;
    reports.clear();
    Press(WM_RBUTTONUP, 1, Middle(2));
    EXPECT_EQ(reports, (decltype(reports){{"right", nullptr}}));
    EXPECT_EQ(tree.selectedNode, &f.groups[0]);
    Press(WM_RBUTTONUP, 50, Middle(2));
    EXPECT_EQ(tree.selectedNode, &f.items[1]);
    EXPECT_EQ(tree.previousNode, &f.groups[0]);
    Press(WM_LBUTTONDOWN, 1, Middle(2));
    EXPECT_EQ(tree.previousNode, nullptr) << "every left press clears it";
}

TEST_P(TreeListTest, ASecondPressEditsTheSelectedNameAndAThirdGoesOnWhereItWas) {
    MakeForest();
    ShowTree();
    TreeRow* row = nullptr;
    ASSERT_EQ(FindTreeListRow(&tree, &f.items[0], &row), 1);
    Press(WM_LBUTTONDOWN, 50, Middle(1));
    EXPECT_EQ(tree.selectedNode, &f.items[0]);
    EXPECT_EQ(tree.header.editBuffer, nullptr);
    Area box = Where(Row(1), kGreen);
    EXPECT_EQ(box.left, X + 1 + 16 + 5) << "the highlight is behind the name only";
    EXPECT_EQ(Count(Row(1), kBlack), 0) << "no caret yet";
    Press(WM_LBUTTONDOWN, 50, Middle(1));
    EXPECT_EQ(tree.header.editBuffer, &row->edit);
    EXPECT_EQ(w->focusControl, &tree.header);
    EXPECT_GT(Count(Row(1), kBlack), 0) << "the caret";
    Post(WM_CHAR, 'Z'); // overwrite mode, caret at 0
    Post(WM_CHAR, 'Y');
    EXPECT_STREQ(f.items[0].name, "ZY");
    Press(WM_LBUTTONDOWN, 50, Middle(1));
    EXPECT_EQ(tree.header.editBuffer, &row->edit);
    Post(WM_CHAR, 'X');
    EXPECT_STREQ(f.items[0].name, "ZYX") << "the caret stayed where it was";
    // Enter does not end an item's editing; a press on another row does, and selects it.
    Post(WM_CHAR, 13);
    EXPECT_EQ(tree.header.editBuffer, &row->edit);
    Press(WM_LBUTTONDOWN, 50, Middle(0));
    EXPECT_EQ(tree.header.editBuffer, nullptr);
    EXPECT_EQ(tree.selectedNode, &f.groups[0]);
    EXPECT_GT(Count(Row(0), kYellow), 0);
    // A group's name: Enter ends the editing.
    Press(WM_LBUTTONDOWN, 50, Middle(0));
    ASSERT_NE(tree.header.editBuffer, nullptr);
    Post(WM_CHAR, 'H');
    Post(WM_CHAR, 13);
    EXPECT_EQ(tree.header.editBuffer, nullptr);
    EXPECT_STREQ(f.groups[0].name, "H1");
    Post(WM_CHAR, 'Q');
    EXPECT_STREQ(f.groups[0].name, "H1") << "nothing is edited any more";
    // A right release ends it too.
    Press(WM_LBUTTONDOWN, 50, Middle(0));
    ASSERT_NE(tree.header.editBuffer, nullptr);
    Press(WM_RBUTTONUP, 50, Middle(4));
    EXPECT_EQ(tree.header.editBuffer, nullptr);
}

// Rows 0 and 1 (the group G1, its item a): pressed until renamed, keys typed ('\x1B' is Escape), the name.
TEST_P(TreeListTest, RenameKeysInsertAtTheEndEnterEndsAnyRowAndEscapeRestores) {
    MakeForest(), ShowTree(0, treeListRenameKeys);
    const char* cases[][3] = {
        {"1", "xy\r", "axy"}, {"1", "\bq\x1B", "axy"}, {"0", "\b\b!\r", "!"}, {"0", "z\x1B", "!"}};
    for (const auto& c : cases) {
        for (int i = 0; i < 2 && !tree.header.editBuffer; i++)
            Press(WM_LBUTTONDOWN, 50, Middle(c[0][0] - '0'));
        for (const char* k = c[1]; *k; k++) Post(WM_CHAR, static_cast<uint8_t>(*k));
        EXPECT_STREQ(c[0][0] == '1' ? f.items[0].name : f.groups[0].name, c[2]) << c[1];
        EXPECT_EQ(tree.header.editBuffer, nullptr) << c[1];
    }
}

TEST_P(TreeListTest, TheNoEditFlagsKeepNamesAsTheyAre) {
    struct Case {
        uint32_t flags;
        bool groupEdits, itemEdits;
    };
    const Case cases[] = {{treeListFixedGroupNames, false, true}, {treeListFixedItemNames, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        MakeForest();
        ShowTree(0, c.flags);
        Press(WM_LBUTTONDOWN, 50, Middle(0));
        Press(WM_LBUTTONDOWN, 50, Middle(0));
        EXPECT_EQ(tree.header.editBuffer != nullptr, c.groupEdits);
        Press(WM_LBUTTONDOWN, 50, Middle(1));
        Press(WM_LBUTTONDOWN, 50, Middle(1));
        EXPECT_EQ(tree.header.editBuffer != nullptr, c.itemEdits);
        Drop(&tree.header);
    }
}

// Names are edited in the caller's buffers: 48 bytes for a group, 47 for an item, whatever is typed.
TEST_P(TreeListTest, KoreanRenamingStaysInsideTheNameAndKeepsCharactersWhole) {
    struct Record {
        TreeNode node;
        char guard[16];
    };
    std::vector<Record> groups(1), items(1);
    f = {};
    f.names = {"G", "i"};
    groups[0].node.flags = treeNodeListed | treeNodeExpanded;
    items[0].node.flags = treeNodeListed;
    items[0].node.parent = &groups[0].node;
    items[0].node.iconIndex = 1;
    const std::string ga = "\xB0\xA1", na = "\xB3\xAA";
    std::string long46;
    for (int i = 0; i < 23; i++) long46 += ga;
    strcpy(groups[0].node.name, ("ab" + ga).c_str());
    strcpy(items[0].node.name, long46.c_str());
    items[0].node.name[47] = 0x5A; // not the item's: its name holds 47 bytes
    for (Record* r : {&groups[0], &items[0]}) memset(r->guard, 0x6B, sizeof r->guard);
    Extent e = {X, Y, W, 162};
    InitTreeList(&tree, &e, 0, nullptr);
    SetTreeListData(&tree, &groups[0].node, sizeof(Record), 1, &items[0].node, sizeof(Record), 1);
    BuildTreeListRows(&tree, 0);
    Show(&tree.header);
    int32_t row0 = 1 + 10, row1 = 1 + static_cast<int32_t>(tree.rowHeight) + 10;
    auto type = [&](const std::string& syllable) {
        HeadlessSetImeString(GCS_RESULTSTR, syllable.c_str(), 2);
        Post(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    };
    auto whole = [](const char* text) {
        uint32_t length = StringLength(text, 64);
        return length == 0 || ClassifyPosition(text, length - 1) != kLeadByte;
    };
    // The item: its 46 bytes fill the name; more Korean at the end changes nothing.
    Press(WM_LBUTTONDOWN, 60, row1);
    Press(WM_LBUTTONDOWN, 60, row1);
    ASSERT_NE(tree.header.editBuffer, nullptr);
    Post(WM_KEYDOWN, vkEnd);
    for (int i = 0; i < 4; i++) type(na);
    Post(WM_CHAR, 'x');
    EXPECT_LE(StringLength(items[0].node.name, 47), 46u);
    EXPECT_TRUE(whole(items[0].node.name));
    EXPECT_EQ(items[0].node.name[47], 0x5A);
    // Overwriting a Korean character with a Latin one, and a Latin one with a Korean one, keeps them whole.
    Post(WM_KEYDOWN, vkHome);
    Post(WM_KEYDOWN, vkRight); // past the first syllable
    Post(WM_CHAR, 'q');
    type(na);
    // 'q' takes the second syllable's place (padded with a space); the syllable after it replaces the
    // space and the whole third syllable.
    EXPECT_EQ(std::string(items[0].node.name).substr(0, 7), ga + "q" + na + ga);
    EXPECT_TRUE(whole(items[0].node.name));
    EXPECT_EQ(items[0].node.name[47], 0x5A);
    // The group: typing Korean over "ab가" and past it, until the buffer is full.
    Press(WM_LBUTTONDOWN, 60, row0);
    Press(WM_LBUTTONDOWN, 60, row0);
    for (int i = 0; i < 30; i++) type(na);
    EXPECT_LE(StringLength(groups[0].node.name, 48), 47u);
    EXPECT_TRUE(whole(groups[0].node.name));
    EXPECT_EQ(std::string(groups[0].node.name).substr(0, 4), na + na);
    for (Record* r : {&groups[0], &items[0]}) {
        for (char g : r->guard) EXPECT_EQ(g, 0x6B);
    }
    PlatformDestroyWindow(h);
}

TEST_P(TreeListTest, TheTopRowIsClampedWithTheBarAndCompanionsInStep) {
    f = {};
    f.groups.reserve(30);
    for (int i = 0; i < 30; i++) f.Group(std::string(1, 'g').append(std::to_string(i)).c_str(), 0);
    ScrollBar bar;
    Extent barAt = {X + W + 4, Y, 16, 152};
    InitScrollBar(&bar, &barAt, 0, 0, scrollBarVertical);
    Control companion;
    InitTestControl(&companion, X + W + 24, Y, 16, 16);
    AddControl(&bar.header, w, addOnTop);
    AddControl(&companion, w, addOnTop);
    MakeTree(0, 0, 152, 15);
    tree.scrollBar = &bar;
    tree.companions[1] = &companion;
    tree.firstRow = 25;
    Show(&tree.header);
    EXPECT_EQ(tree.visibleRows, 10u);
    EXPECT_EQ(tree.firstRow, 20u);
    EXPECT_EQ(bar.range, 320u);
    EXPECT_EQ(bar.position, 320u);
    EXPECT_EQ(Rows(10, 15).front(), "g20[0]");
    EXPECT_EQ(companion.flags & hidden, 0u);
    // Scrolling through the bar rounds halves up; the buttons' routines step one row.
    TreeListScrollTo(h, w, &bar.header, reinterpret_cast<uintptr_t>(&tree), 0, 320, 40);
    EXPECT_EQ(tree.firstRow, 3u);
    EXPECT_EQ(TreeListScrollDown(h, w, nullptr, reinterpret_cast<uintptr_t>(&tree), 0, 0, 0), redrawBits);
    TreeListScrollTo(h, w, &bar.header, reinterpret_cast<uintptr_t>(&tree), 0, 320, 39);
    EXPECT_EQ(tree.firstRow, 2u);
    Redraw(&tree.header);
    EXPECT_EQ(Rows(10, 15).front(), "g2[0]");
    // Fewer rows than fit: the bar and the companion hide.
    SetTreeListData(&tree, f.groups.data(), sizeof(TreeNode), 4, nullptr, 0, 0);
    BuildTreeListRows(&tree, 0);
    Redraw(&tree.header);
    EXPECT_EQ(bar.header.flags & hidden, hidden);
    EXPECT_EQ(companion.flags & hidden, hidden);
    EXPECT_EQ(Screen(X + W + 12, Y + 100), P(windowColour));
    EXPECT_EQ(TreeListScrollDown(h, w, nullptr, reinterpret_cast<uintptr_t>(&tree), 0, 0, 0), 0u);
    TreeRow* row = nullptr;
    EXPECT_EQ(FindTreeListRow(&tree, nullptr, &row), 4) << "a null node finds the first empty slot";
    EXPECT_EQ(row, &tree.rows[4]);
    PlatformDestroyWindow(h);
    ReleaseSurface(&companion.surface);
}

TEST_P(TreeListTest, TablesAndRowsStopAtTheirLimits) {
    // 130 listed groups: 128 are taken. One group given 200 times (stride 0) with 3 items gives more than
    // 256 rows: the rows stop at 256.
    std::vector<TreeNode> many(130);
    for (TreeNode& g : many) g.flags = treeNodeListed;
    Extent e = {X, Y, W, 162};
    InitTreeList(&tree, &e, 0, nullptr);
    EXPECT_EQ(SetTreeListData(&tree, many.data(), sizeof(TreeNode), 130, nullptr, 0, 0), 2u);
    EXPECT_EQ(tree.groupCount, 128u);
    EXPECT_EQ(tree.items[0], nullptr) << "nothing written past the groups' table";
    TreeNode group = {};
    group.flags = treeNodeListed | treeNodeExpanded;
    std::vector<TreeNode> items(3);
    for (TreeNode& i : items) {
        i.parent = &group;
        i.flags = treeNodeListed;
    }
    EXPECT_EQ(SetTreeListData(&tree, &group, 0, 200, items.data(), sizeof(TreeNode), 3), 72u);
    EXPECT_EQ(BuildTreeListRows(&tree, 0), 128u * 4 - 256);
    EXPECT_EQ(tree.rowCount, 256u);
    EXPECT_NE(tree.backgroundImage, reinterpret_cast<Surface*>(&group)) << "nothing written past the rows";
    EXPECT_EQ(tree.backgroundImage, nullptr);
    tree.firstRow = 300;
    Show(&tree.header);
    EXPECT_EQ(tree.firstRow, 256u - tree.visibleRows);
}

TEST_P(TreeListTest, IconIndicesPastTheTableShowNoIcon) {
    MakeForest();
    f.items[0].iconIndex = 26;
    f.items[1].iconIndex = 5000;
    ShowTree();
    // The rows of a and b show no node icon; the name starts right after the indent.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"G1[2]"}));
    tree.selectedNode = &f.items[1];
    Redraw(&tree.header);
    EXPECT_EQ(Where(Row(2), kGreen).left, X + 1 + 16);
}

TEST_P(TreeListTest, APressBeforeTheFirstDrawHitsNothing) {
    MakeForest();
    MakeTree();
    AddControl(&tree.header, w, addOnTop);
    for (uint32_t message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONUP})
        PlatformPostMessage(h, message, 0, Position(X + 50, Y + 30));
    HeadlessPump();
    EXPECT_EQ(tree.selectedNode, nullptr);
    EXPECT_EQ(reports, (decltype(reports){{"right", nullptr}}));
    Mouse(WM_LBUTTONDOWN, X + 50, Y + 30, MK_LBUTTON);
    EXPECT_NE(tree.selectedNode, nullptr) << "drawn once, the rows are there";
}

VQ_BOTH_FORMATS(TreeListTest);
