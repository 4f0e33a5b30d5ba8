// The keyboard in lists, trees and buttons, Tab focus and the focus rectangle, driven by key messages.
#include "tests/controls/control_window.h"
#include "tests/support/cp949.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/tree_list.h"
#include "toolkit/platform/headless/headless.h"

static const uint32_t S = 0x100, C = 0x200, kUp = 0xC0000001u; // Shift, Ctrl held around a key; a release

class KeysTest : public ControlWindow {
  protected:
    void Press(uint32_t key) {
        const uint32_t held[2] = {key & S ? vkShift : 0u, key & C ? vkControl : 0u};
        for (uint32_t m : held) m ? Post(WM_KEYDOWN, m, 1) : void();
        Post(WM_KEYDOWN, key & 0xFF, 1);
        for (uint32_t m : held) m ? Post(WM_KEYUP, m, kUp) : void();
    }
    void ShowList(const std::vector<std::string>& texts) {
        records.assign(texts.size(), ListBoxItem{});
        for (size_t i = 0; i < texts.size(); i++)
            records[i] = {0, listBoxItemListed, 0, {}}, snprintf(records[i].text, 52, "%s", texts[i].c_str());
        Extent e = {10, 10, 100, 120};
        InitListBox(&list, &e, nullptr, takesFocus | offersCharacters);
        list.rowSpacing = static_cast<uint32_t>(15 - FontHeight()); // 7 rows fit
        list.header.onKey = ListBoxKey;
        SetListBoxItems(&list, records.data(), sizeof(ListBoxItem), uint32_t(records.size()));
        Show(&list.header);
        w->focusControl = &list.header;
    }
    int Current() { return list.currentItem ? int(list.currentItem - records.data()) : -1; }

    std::vector<ListBoxItem> records;
    ListBox list;
};

TEST_P(KeysTest, ListKeysMoveTheCurrentItemAndTheSelectionFollows) {
    // Keys, then the current item, the selection and the top row.
    const std::tuple<std::vector<uint32_t>, int, std::vector<int>, uint32_t> cases[] = {
        {{vkDown, vkDown}, 1, {1}, 0},
        {{vkEnd, vkPrior}, 13, {13}, 13},
        {{vkNext}, 6, {6}, 0},
        {{vkEnd, vkHome, vkUp}, 0, {0}, 0},
        {{vkDown, vkDown, vkDown, S | vkDown, S | vkDown, S | vkUp}, 3, {2, 3}, 0},
        {{vkDown, C | vkDown, C | vkDown, C | vkSpace}, 2, {0, 2}, 0},
    };
    std::vector<std::string> texts(20, "item");
    for (const auto& [keys, current, selected, firstRow] : cases) {
        SCOPED_TRACE(testing::PrintToString(keys));
        ShowList(texts);
        for (uint32_t key : keys) Press(key);
        std::vector<int> shown;
        for (int i = 0; i < 20; i++) (records[i].flags & listBoxItemSelected) ? shown.push_back(i) : void();
        EXPECT_EQ(Current(), current);
        EXPECT_EQ(shown, selected);
        EXPECT_EQ(list.firstRow, firstRow);
        Drop(&list.header);
    }
}

TEST_P(KeysTest, TypingJumpsToItemsByLettersAndKoreanInitials) {
    const uint32_t kG = 0xA4A1, kS = 0xA4B5; // ㄱ, ㅅ
    // What is typed (below 0x80 a character, else a composing one) at which second; the item found.
    const std::tuple<const char*, std::vector<std::pair<uint32_t, uint16_t>>, int> cases[] = {
        {"a letter, either case", {{'B', 0}}, 2},
        {"ㄱ finds 귤, again later 감", {{kG, 0}, {kG, 2}}, 4},
        {"ㅅ finds 수박, ㅅㄱ within a second 사과", {{kS, 0}, {kG, 0}}, 5},
        {"ㅅ, then ㄱ after a pause: a new search", {{kS, 0}, {kG, 2}}, 3},
    };
    for (const auto& [name, typed, current] : cases) {
        SCOPED_TRACE(name);
        ShowList({"Apple", Cp949("수박"), "banana", Cp949("귤"), Cp949("감"), Cp949("사과"), "apricot"});
        for (auto [code, second] : typed) {
            PlatformTime t = {2000, 1, 6, 1, 0, 0, second, 0};
            HeadlessSetLocalTime(&t);
            code < 0x80 ? Post(WM_CHAR, code, 1) : Post(WM_IME_COMPOSITION, code, GCS_COMPSTR);
        }
        EXPECT_EQ(Current(), current);
        Drop(&list.header);
    }
    ShowList({"Apple", Cp949("사과")});
    HeadlessSetImeString(GCS_RESULTSTR, Cp949("사").c_str(), 2);
    Post(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    EXPECT_EQ(Current(), 1) << "a finished syllable";
    EXPECT_EQ(HeadlessCancelledCompositions(), 6) << "every composing consonant was taken";
}

TEST_P(KeysTest, TreeKeysMoveOverRowsAndOpenAndCloseGroups) {
    // Keys, then the selected node and the rows built.
    const std::tuple<std::vector<uint32_t>, const char*, uint32_t> cases[] = {
        {{vkDown, vkDown}, "a", 5},          {{vkDown, vkDown, vkLeft}, "G1", 5},
        {{vkDown, vkLeft}, "G1", 3},         {{vkEnd, vkUp, vkRight, vkRight}, "c", 6},
        {{vkEnd, vkRight, vkHome}, "G1", 5},
    };
    for (const auto& [keys, selected, rows] : cases) {
        SCOPED_TRACE(testing::PrintToString(keys));
        const uint32_t L = treeNodeListed;
        TreeNode g[3] = {
            {nullptr, L | treeNodeExpanded, 0, "G1"}, {nullptr, L, 0, "G2"}, {nullptr, L, 0, "G3"}};
        TreeNode items[3] = {{&g[0], L, 0, "a"}, {&g[0], L, 0, "b"}, {&g[1], L, 0, "c"}};
        TreeList tree;
        Extent e = {10, 10, 120, 150};
        InitTreeList(&tree, &e, 0, nullptr);
        tree.header.onKey = TreeListKey;
        SetTreeListData(&tree, g, sizeof(TreeNode), 3, items, sizeof(TreeNode), 3);
        BuildTreeListRows(&tree, 0);
        Show(&tree.header);
        w->focusControl = &tree.header;
        for (uint32_t key : keys) Press(key);
        EXPECT_STREQ(tree.selectedNode ? tree.selectedNode->name : "", selected);
        EXPECT_EQ(tree.rowCount, rows);
        Press(vkF1 + 1);
        EXPECT_NE(tree.header.editBuffer, nullptr) << "F2 renames";
        Drop(&tree.header);
    }
}

TEST_P(KeysTest, TabWalksTheFocusStopsAndAnEditorKeepsItsTab) {
    Button b[3]; // slots: b[0], b[1] hidden, the edit field, b[2]
    char text[16] = "";
    EditField field;
    Extent e = {10, 40, 100, 20};
    InitEditField(&field, &e, 0, text, sizeof text);
    for (int i = 0; i < 3; i++) {
        InitButton(&b[i], &e, 0, 0, nullptr, "b", nullptr, takesFocus | (i == 1 ? hidden : 0), nullptr);
        AddControl(&b[i].header, w, addOnTop);
    }
    AddControl(&field.header, w, &b[1].header);
    const std::pair<std::vector<uint32_t>, Control*> cases[] = {
        {{vkTab}, &b[0].header},
        {{vkTab, vkTab, vkTab}, &field.header}, // Tab types in the field
        {{vkTab, vkTab, C | vkTab, vkTab}, &b[0].header},
        {{S | vkTab}, &b[2].header},
    };
    Press(vkTab);
    EXPECT_EQ(w->focusControl, nullptr) << "Tab moves nothing in a window that did not ask";
    w->flags |= windowTabFocus;
    for (const auto& [keys, focus] : cases) {
        w->focusControl = nullptr;
        for (uint32_t key : keys) Press(key), (key & C) ? void() : Post(WM_CHAR, vkTab, 1);
        EXPECT_EQ(w->focusControl, focus) << testing::PrintToString(keys);
    }
    PlatformDestroyWindow(h);
}

TEST_P(KeysTest, SpaceClicksOnReleaseAndTheFocusShowsOnceAKeyWasUsed) {
    int clicks = 0;
    Button button;
    Extent e = {20, 20, 40, 20};
    InitButton(&button, &e, 0, 0xBFBFBF, nullptr, nullptr, nullptr, takesFocus,
               [](WindowHandle, WindowRecord*, Control*, uintptr_t n, uint32_t, int32_t, int32_t) {
                   return ++*reinterpret_cast<int*>(n), 0u;
               });
    button.userData = reinterpret_cast<uintptr_t>(&clicks);
    button.header.onKey = ButtonSpaceKey;
    w->flags |= windowTabFocus;
    Show(&button.header);
    Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 30, 30);
    ASSERT_EQ(w->focusControl, &button.header) << "a click gives the focus";
    EXPECT_EQ(Count({20, 20, 60, 40}, 0xBFBFBF), 40 * 20) << "no focus rectangle before a key";
    Post(WM_KEYDOWN, vkSpace, 1);
    EXPECT_EQ(button.state, uint32_t(buttonPressed));
    Post(WM_KEYUP, vkSpace, kUp);
    EXPECT_EQ(button.state, uint32_t(buttonReleased));
    EXPECT_EQ(clicks, 2) << "the mouse's click and the Space's";
    EXPECT_EQ(Count({20, 20, 60, 40}, 0x404040), 46) << "every other pixel of a 34 x 14 frame, inverted";
    Drop(&button.header);
}

VQ_BOTH_FORMATS(KeysTest);
