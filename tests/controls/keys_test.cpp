// The keyboard in lists, trees and buttons, Tab focus and the focus rectangle, driven by key messages.
#include "tests/controls/control_window.h"
#include "tests/support/cp949.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/tree_list.h"
#include "toolkit/platform/headless/headless.h"

static const uint32_t S = 0x100, C = 0x200; // Shift and Ctrl held around a key

namespace {

class KeysTest : public ControlWindow {
  protected:
    void TearDown() override {
        PlatformDestroyWindow(h);
        ControlWindow::TearDown();
    }
    void Press(uint32_t key) {
        if (key & S) Post(WM_KEYDOWN, vkShift);
        if (key & C) Post(WM_KEYDOWN, vkControl);
        Post(WM_KEYDOWN, key & 0xFF, 1);
        Post(WM_KEYUP, key & 0xFF, static_cast<LParam>(0xC0000001u));
        if (key & C) Post(WM_KEYUP, vkControl, static_cast<LParam>(0xC0000001u));
        if (key & S) Post(WM_KEYUP, vkShift, static_cast<LParam>(0xC0000001u));
    }
    void ShowList(const std::vector<std::string>& texts) {
        records.assign(texts.size(), ListBoxItem{});
        for (size_t i = 0; i < texts.size(); i++) {
            records[i].flags = listBoxItemListed;
            snprintf(records[i].text, sizeof records[i].text, "%s", texts[i].c_str());
        }
        Extent e = {10, 10, 100, 120};
        InitListBox(&list, &e, nullptr, takesFocus | offersCharacters);
        list.rowSpacing = static_cast<uint32_t>(15 - FontHeight()); // 7 rows fit
        list.header.onKey = ListBoxKey;
        SetListBoxItems(&list, records.data(), sizeof(ListBoxItem), uint32_t(records.size()));
        Show(&list.header);
        w->focusControl = &list.header;
    }
    int Current() { return list.currentItem ? int(list.currentItem - records.data()) : -1; }
    std::vector<int> Selected() {
        std::vector<int> out;
        for (size_t i = 0; i < records.size(); i++)
            if (records[i].flags & listBoxItemSelected) out.push_back(int(i));
        return out;
    }
    void At(uint32_t milliseconds) {
        PlatformTime t = {2000, 1, 6, 1, 0, 0, uint16_t(milliseconds / 1000), uint16_t(milliseconds % 1000)};
        HeadlessSetLocalTime(&t);
    }

    std::vector<ListBoxItem> records;
    ListBox list;
};

} // namespace

TEST_P(KeysTest, ListKeysMoveTheCurrentItemAndTheSelectionFollows) {
    struct Case {
        std::vector<uint32_t> keys;
        int current;
        std::vector<int> selected;
        uint32_t firstRow;
    };
    const Case cases[] = {
        {{vkDown, vkDown}, 1, {1}, 0},
        {{vkEnd}, 19, {19}, 13},
        {{vkEnd, vkPrior}, 13, {13}, 13},
        {{vkNext}, 6, {6}, 0},
        {{vkEnd, vkHome}, 0, {0}, 0},
        {{vkDown, vkDown, vkDown, S | vkDown, S | vkDown, S | vkUp}, 3, {2, 3}, 0},
        {{vkDown, C | vkDown, C | vkDown, C | vkSpace}, 2, {0, 2}, 0},
        {{vkUp, vkUp, vkUp}, 0, {0}, 0},
    };
    std::vector<std::string> texts;
    for (int i = 0; i < 20; i++) texts.push_back("item " + std::to_string(i));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys));
        ShowList(texts);
        for (uint32_t key : c.keys) Press(key);
        EXPECT_EQ(Current(), c.current);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(list.firstRow, c.firstRow);
        Drop(&list.header);
    }
}

TEST_P(KeysTest, TypingJumpsToItemsByLettersAndKoreanInitials) {
    struct Typed {
        uint32_t code;
        uint32_t at; // milliseconds
    };
    struct Case {
        const char* name;
        std::vector<Typed> typed; // below 0x80 a character, else a composing two-byte character
        int current;
    };
    const uint32_t kG = 0xA4A1, kS = 0xA4B5; // ㄱ, ㅅ
    const Case cases[] = {
        {"a letter, either case", {{'B', 0}}, 2},
        {"the same letter later: the next item with it", {{'a', 0}, {'a', 2000}}, 6},
        {"ㄱ finds 귤, again later 감", {{kG, 0}, {kG, 2000}}, 4},
        {"ㅅ finds 수박, ㅅㄱ within a second 사과", {{kS, 0}, {kG, 900}}, 5},
        {"ㅅ, then ㄱ after a pause: a new search", {{kS, 0}, {kG, 2100}}, 3},
        {"nothing starts with x", {{'x', 0}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowList({"Apple", Cp949("수박"), "banana", Cp949("귤"), Cp949("감"), Cp949("사과"), "apricot"});
        for (const Typed& t : c.typed) {
            At(t.at);
            if (t.code < 0x80)
                Post(WM_CHAR, t.code, 1);
            else
                Post(WM_IME_COMPOSITION, t.code, GCS_COMPSTR);
        }
        EXPECT_EQ(Current(), c.current);
        Drop(&list.header);
    }
    ShowList({"Apple", Cp949("사과")});
    HeadlessSetImeString(GCS_RESULTSTR, Cp949("사").c_str(), 2);
    Post(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    EXPECT_EQ(Current(), 1) << "a finished syllable";
}

TEST_P(KeysTest, TreeKeysMoveOverRowsAndOpenAndCloseGroups) {
    struct Case {
        std::vector<uint32_t> keys;
        const char* selected;
        uint32_t rows;
    };
    const uint32_t vkF2 = vkF1 + 1;
    const Case cases[] = {
        {{vkDown, vkDown}, "a", 5},
        {{vkDown, vkDown, vkLeft}, "G1", 5},
        {{vkDown, vkLeft}, "G1", 3},
        {{vkEnd, vkUp, vkRight}, "G2", 6},
        {{vkEnd, vkUp, vkRight, vkRight}, "c", 6},
        {{vkEnd, vkRight}, "G3", 5},
        {{vkEnd, vkHome}, "G1", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys));
        TreeNode groups[3] = {{nullptr, treeNodeListed | treeNodeExpanded, 0, "G1"},
                              {nullptr, treeNodeListed, 0, "G2"},
                              {nullptr, treeNodeListed, 0, "G3"}};
        TreeNode items[3] = {{&groups[0], treeNodeListed, 0, "a"},
                             {&groups[0], treeNodeListed, 0, "b"},
                             {&groups[1], treeNodeListed, 0, "c"}};
        TreeList tree;
        Extent e = {10, 10, 120, 150};
        InitTreeList(&tree, &e, 0, nullptr);
        tree.header.onKey = TreeListKey;
        SetTreeListData(&tree, groups, sizeof(TreeNode), 3, items, sizeof(TreeNode), 3);
        BuildTreeListRows(&tree, 0);
        Show(&tree.header);
        w->focusControl = &tree.header;
        for (uint32_t key : c.keys) Press(key);
        EXPECT_STREQ(tree.selectedNode ? tree.selectedNode->name : "", c.selected);
        EXPECT_EQ(tree.rowCount, c.rows);
        Press(vkF2);
        EXPECT_NE(tree.header.editBuffer, nullptr) << "F2 renames";
        Drop(&tree.header);
    }
}

static uint32_t Click(WindowHandle, WindowRecord*, Control*, uintptr_t userData, uint32_t, int32_t, int32_t) {
    ++*reinterpret_cast<int*>(userData);
    return 0;
}

TEST_P(KeysTest, TabWalksTheFocusStopsAndAnEditorKeepsItsTab) {
    // Slots: button 0, a hidden button, the edit field, button 1; the label takes no focus.
    Button buttons[3];
    for (int i = 0; i < 3; i++) {
        Extent e = {10 + 40 * i, 10, 30, 20};
        InitButton(&buttons[i], &e, 0, 0xBFBFBF, nullptr, "b", nullptr, takesFocus | (i == 1 ? hidden : 0),
                   nullptr);
        AddControl(&buttons[i].header, w, addOnTop);
    }
    char text[16] = "";
    EditField field;
    Extent fe = {10, 40, 100, 20};
    InitEditField(&field, &fe, 0, text, sizeof text);
    AddControl(&field.header, w, &buttons[1].header);
    struct Case {
        uint32_t windowFlags;
        std::vector<uint32_t> keys;
        Control* focus;
        const char* typed;
    };
    const Case cases[] = {
        {windowTabFocus, {vkTab}, &buttons[0].header, ""},
        {windowTabFocus, {vkTab, vkTab}, &field.header, ""},
        {windowTabFocus, {vkTab, vkTab, vkTab}, &field.header, "    "}, // spaces, as a field types a Tab
        {windowTabFocus, {vkTab, vkTab, C | vkTab}, &buttons[2].header, ""},
        {windowTabFocus, {vkTab, vkTab, C | vkTab, vkTab}, &buttons[0].header, ""},
        {windowTabFocus, {S | vkTab}, &buttons[2].header, ""},
        {0, {vkTab}, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys));
        w->flags = (w->flags & ~windowTabFocus) | c.windowFlags;
        w->focusControl = nullptr;
        memset(text, 0, sizeof text);
        for (uint32_t key : c.keys) {
            Press(key);
            if (!(key & C)) Post(WM_CHAR, vkTab, 1); // the character Windows makes of the key
        }
        EXPECT_EQ(w->focusControl, c.focus);
        EXPECT_STREQ(text, c.typed);
    }
    PlatformDestroyWindow(h);
}

TEST_P(KeysTest, SpaceClicksOnReleaseAndTheFocusShowsOnceAKeyWasUsed) {
    int clicks = 0;
    Button button;
    Extent e = {20, 20, 40, 20};
    InitButton(&button, &e, 0, 0xBFBFBF, nullptr, nullptr, nullptr, takesFocus, Click);
    button.userData = reinterpret_cast<uintptr_t>(&clicks);
    button.header.onKey = ButtonSpaceKey;
    w->flags |= windowTabFocus;
    Show(&button.header);
    Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 30, 30);
    ASSERT_EQ(clicks, 1);
    ASSERT_EQ(w->focusControl, &button.header) << "a click gives the focus";
    EXPECT_EQ(Count({20, 20, 60, 40}, 0xBFBFBF), 40 * 20) << "no focus rectangle before a key";
    Post(WM_KEYDOWN, vkSpace, 1);
    Post(WM_KEYDOWN, vkSpace, 0x40000001);
    EXPECT_EQ(button.state, uint32_t(buttonPressed));
    EXPECT_EQ(clicks, 1);
    Post(WM_KEYUP, vkSpace, static_cast<LParam>(0xC0000001u));
    EXPECT_EQ(button.state, uint32_t(buttonReleased));
    EXPECT_EQ(clicks, 2);
    // Every other pixel of the 34 × 14 frame three pixels inside.
    EXPECT_EQ(Count({20, 20, 60, 40}, 0x404040), 46);
    Post(WM_KEYDOWN, vkReturn, 1);
    EXPECT_EQ(clicks, 3) << "Enter still clicks";
    Drop(&button.header);
}

VQ_BOTH_FORMATS(KeysTest);
