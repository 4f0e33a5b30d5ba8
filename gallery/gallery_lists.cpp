// The gallery's tree list (groups of people and papers, pinned items, a name sort that a button turns
// round, names renamed in place, double clicks and right clicks on the status line) and its list box (fruit
// with icons and separators, a scroll bar and arrow buttons, the selection on the status line).
#include <stdio.h>
#include <string.h>

#include "gallery/gallery_build.h"
#include "toolkit/window/composition.h"
#include "util/dbcs_string.h"
#include "util/sort.h"

// The key data of a release: a keystroke adds one row, on its press.
enum : uint32_t { keyReleased = 0x80000000u };

namespace {

struct NodeText {
    const char* name;
    uint32_t group; // items: the index of their group
    uint32_t flags;
    uint32_t icon;
};

} // namespace

// Code page 949 text.
static const NodeText groupTexts[galleryTreeGroups] = {
    {"\xC4\xA3\xB1\xB8 Friends", 0, treeNodeExpanded, 0},        // 친구
    {"\xB0\xA1\xC1\xB7 Family", 0, treeNodeExpanded, 2},         // 가족
    {"\xC8\xB8\xBB\xE7 Work", 0, 0, 3},                          // 회사
    {"\xBA\xF3 \xB1\xD7\xB7\xEC Empty", 0, treeNodeExpanded, 4}, // 빈 그룹
};
static const NodeText itemTexts[galleryTreeItems] = {
    {"\xB1\xE8\xB9\xCE\xBC\xF6", 0, treeNodePinned, 1}, // 김민수
    {"\xC0\xCC\xBC\xAD\xBF\xAC", 0, 0, 0},              // 이서연
    {"\xB9\xDA\xC1\xF6\xC8\xC6", 0, 0, 0},              // 박지훈
    {"Alice", 0, 0, 5},
    {"Bob", 0, 0, 0},
    {"\xBE\xEE\xB8\xD3\xB4\xCF", 1, 0, 2},               // 어머니
    {"\xBE\xC6\xB9\xF6\xC1\xF6", 1, 0, 2},               // 아버지
    {"\xB5\xBF\xBB\xFD", 1, treeNodePinned, 1},          // 동생
    {"\xBA\xB8\xB0\xED\xBC\xAD Report", 2, 0, 5},        // 보고서
    {"\xC8\xB8\xC0\xC7\xB7\xCF Minutes", 2, 0, 5},       // 회의록
    {"\xC0\xCF\xC1\xA4 Schedule", 2, treeNodePinned, 4}, // 일정
    {"Velquist", 2, 0, 3},
};
static const char* const fruit[] = {
    "\xBB\xE7\xB0\xFA Apple",          "\xB9\xE8 Pear",
    "\xC6\xF7\xB5\xB5 Grape",          "\xB1\xD6 Tangerine",
    "\xB5\xFE\xB1\xE2 Strawberry",     "\xBC\xF6\xB9\xDA Watermelon",
    "\xC2\xFC\xBF\xDC Melon",          "\xBA\xB9\xBC\xFE\xBE\xC6 Peach",
    "\xC0\xDA\xB5\xCE Plum",           "\xB0\xA8 Persimmon",
    "\xB7\xB9\xB8\xF3 Lemon",          "\xC5\xB0\xC0\xA7 Kiwi",
    "\xB9\xD9\xB3\xAA\xB3\xAA Banana", "\xB8\xC1\xB0\xED Mango",
    "\xC3\xBC\xB8\xAE Cherry",         "\xBC\xAE\xB7\xF9 Pomegranate",
    "\xB9\xAB\xC8\xAD\xB0\xFA Fig",    "\xB8\xC5\xBD\xC7 Plum blossom",
    "\xC0\xAF\xC0\xDA Yuzu",           "\xB4\xEB\xC3\xDF Jujube",
};
static const uint32_t fruitCount = sizeof fruit / sizeof fruit[0];
static const char doubleClickWord[] = "\xB5\xCE \xB9\xF8 \xB4\xA9\xB8\xA7 Double click"; // 두 번 누름
static const char rightClickWord[] = "\xBF\xC0\xB8\xA5\xC2\xCA \xB4\xDC\xC3\xDF Right click"; // 오른쪽 단추
static const char nothingWord[] = "\xBA\xF3 \xB0\xF7 nothing";                                // 빈 곳
static const char selectedWord[] = "\xBC\xB1\xC5\xC3";                                        // 선택
static const char countWord[] = "\xB0\xB3 selected";                                          // 개
static const char ascendingCaption[] = "\xC1\xA4\xB7\xC4 A-Z";                                // 정렬
static const char descendingCaption[] = "\xC1\xA4\xB7\xC4 Z-A";

static const char newFruit[] = "\xBB\xF5 \xB0\xFA\xC0\xCF"; // 새 과일
static const char newItem[] = "\xBB\xF5 \xC7\xD7\xB8\xF1";  // 새 항목
static const char listWord[] = "\xB8\xF1\xB7\xCF List";     // 목록
static const char treeWord[] = "\xC6\xAE\xB8\xAE Tree";     // 트리

static const uint32_t treeBuildMode = treeBuildSortByName | treeBuildPinnedFirst;

// ---- The tree ----

static void ReportNode(WindowHandle window, WindowRecord* record, const char* what, const TreeNode* node) {
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s: %s", what, node ? node->name : nothingWord);
    SetStatus(window, record, text);
}

static void TreeDoubleClick(WindowHandle window, WindowRecord* record, Control*, uint32_t, TreeNode* node) {
    ReportNode(window, record, doubleClickWord, node);
}

static void TreeRightClick(WindowHandle window, WindowRecord* record, Control*, uint32_t, TreeNode* node) {
    ReportNode(window, record, rightClickWord, node);
}

// An expander press rebuilds the rows in plain order; the gallery builds them again its own way (pinned
// first, sorted), which a press that only selects or starts a rename must not do: it would end the rename.
static void TreeLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                         int32_t x, int32_t y) {
    uint32_t before[galleryTreeGroups];
    for (uint32_t i = 0; i < galleryTreeGroups; i++)
        before[i] = gallery.treeGroups[i].flags & treeNodeExpanded;
    TreeListLeftDown(window, record, control, keyState, x, y);
    for (uint32_t i = 0; i < galleryTreeGroups; i++) {
        if ((gallery.treeGroups[i].flags & treeNodeExpanded) == before[i]) continue;
        BuildTreeListRows(&gallery.tree, gallery.treeMode);
        RepaintControl(window, record, control);
        return;
    }
}

// Insert adds an item to the group of the selected row (the first group when none is), which opens; the
// tree's table refuses the item past its size, and the tree stays as it was.
static void AddTreeItem(WindowHandle window, WindowRecord* record) {
    TreeList* tree = &gallery.tree;
    TreeNode* selected = tree->selectedNode;
    TreeNode* group = !selected ? &gallery.treeGroups[0] : selected->parent ? selected->parent : selected;
    uint32_t n = gallery.treeItemCount;
    TreeNode& node = gallery.treeItems[n];
    node = {};
    node.parent = group;
    node.flags = treeNodeListed;
    node.iconIndex = n % galleryNodeIcons;
    snprintf(node.name, treeItemNameSize, "%s %u", newItem, n + 1 - galleryTreeItems);
    char text[labelCaptionSize];
    if (SetTreeListData(tree, gallery.treeGroups, sizeof(TreeNode), galleryTreeGroups, gallery.treeItems,
                        sizeof(TreeNode), n + 1) > 0) {
        SetTreeListData(tree, gallery.treeGroups, sizeof(TreeNode), galleryTreeGroups, gallery.treeItems,
                        sizeof(TreeNode), n);
        snprintf(text, sizeof text, "%s: all %u items in use, nothing added", treeWord, treeListItems);
    } else {
        gallery.treeItemCount = n + 1;
        group->flags |= treeNodeExpanded;
        selected = &node;
        snprintf(text, sizeof text, "%s: %s (%u of %u)", treeWord, node.name, n + 1, treeListItems);
    }
    BuildTreeListRows(tree, gallery.treeMode);
    tree->selectedNode = selected;
    SetStatus(window, record, text);
}

// Right and Left open and close groups in plain order, like the expander; the gallery's order comes back.
static uint32_t TreeKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t key,
                        uint32_t keyData) {
    if (key == vkInsert && !(keyData & keyReleased)) {
        AddTreeItem(window, record);
        return redrawBits;
    }
    uint32_t rows = gallery.tree.rowCount;
    uint32_t flags = TreeListKey(window, record, control, key, keyData);
    if (gallery.tree.rowCount != rows) {
        BuildTreeListRows(&gallery.tree, gallery.treeMode);
        TreeRow* row = nullptr;
        int32_t at = FindTreeListRow(&gallery.tree, gallery.tree.selectedNode, &row);
        TreeList* tree = &gallery.tree;
        if (at >= 0 && static_cast<uint32_t>(at) < tree->firstRow) tree->firstRow = static_cast<uint32_t>(at);
        if (at >= 0 && static_cast<uint32_t>(at) >= tree->firstRow + tree->visibleRows &&
            tree->visibleRows > 0)
            tree->firstRow = static_cast<uint32_t>(at) - tree->visibleRows + 1;
    }
    return flags;
}

static uint32_t FlipSort(WindowHandle window, WindowRecord* record, Control*, uintptr_t, uint32_t, int32_t,
                         int32_t) {
    gallery.treeMode ^= descending;
    Button* sort = &gallery.sort;
    CopyString((gallery.treeMode & descending) ? descendingCaption : ascendingCaption, sort->caption,
               buttonCaptionSize - 1);
    BuildTreeListRows(&gallery.tree, gallery.treeMode);
    RepaintControl(window, record, &gallery.tree.header);
    return redrawBits;
}

// ---- The list ----

// The selection on the status line: how many, and the first names.
static void ReportListSelection(WindowHandle window, WindowRecord* record) {
    char text[labelCaptionSize];
    uint32_t count = 0;
    int used = 0;
    for (uint32_t i = 0; i < gallery.list.itemCount; i++) {
        const ListBoxItem* item = gallery.list.items[i];
        if (!item || !(item->flags & listBoxItemSelected)) continue;
        count++;
    }
    used = snprintf(text, sizeof text, "%s %u%s", selectedWord, count, countWord);
    for (uint32_t i = 0; i < gallery.list.itemCount && used > 0 && used < 200; i++) {
        const ListBoxItem* item = gallery.list.items[i];
        if (item && (item->flags & listBoxItemSelected))
            used += snprintf(text + used, sizeof text - used, " %s", item->text);
    }
    SetStatus(window, record, text);
}

static void ListLeftUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                       int32_t x, int32_t y) {
    ListBoxLeftUp(window, record, control, keyState, x, y);
    ReportListSelection(window, record);
}

// Insert adds a row at the end; the list's table refuses the row past its size, and the list stays as it was.
static void AddListItem(WindowHandle window, WindowRecord* record) {
    uint32_t n = gallery.listItemCount;
    ListBoxItem& item = gallery.listItems[n];
    item = {};
    item.flags = listBoxItemListed;
    item.iconIndex = n % galleryNodeIcons;
    snprintf(item.text, sizeof item.text, "%s %u", newFruit, n + 1 - galleryListItems);
    char text[labelCaptionSize];
    if (SetListBoxItems(&gallery.list, gallery.listItems, sizeof(ListBoxItem), n + 1) > 0) {
        SetListBoxItems(&gallery.list, gallery.listItems, sizeof(ListBoxItem), n);
        snprintf(text, sizeof text, "%s: all %u rows in use, nothing added", listWord, listBoxItems);
    } else {
        gallery.listItemCount = n + 1;
        snprintf(text, sizeof text, "%s: %s (%u of %u)", listWord, item.text, n + 1, listBoxItems);
    }
    SetStatus(window, record, text);
}

// Keys that change the selection report it as a click does.
static uint32_t ListKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t key,
                        uint32_t keyData) {
    if (key == vkInsert && !(keyData & keyReleased)) {
        AddListItem(window, record);
        return redrawBits;
    }
    uint32_t flags = ListBoxKey(window, record, control, key, keyData);
    if (flags) ReportListSelection(window, record);
    return flags;
}

void BuildTree(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupTree, layout);
    const Extent& g = layout.groups[groupTree];
    const uint32_t anchors = followRight | stretchY | followBottom;
    for (uint32_t i = 0; i < galleryTreeGroups; i++) {
        TreeNode& n = gallery.treeGroups[i];
        n = {};
        n.flags = treeNodeListed | groupTexts[i].flags;
        n.iconIndex = groupTexts[i].icon;
        CopyString(groupTexts[i].name, n.name, treeGroupNameSize);
    }
    for (uint32_t i = 0; i < galleryTreeItems; i++) {
        TreeNode& n = gallery.treeItems[i];
        n = {};
        n.parent = &gallery.treeGroups[itemTexts[i].group];
        n.flags = treeNodeListed | itemTexts[i].flags;
        n.iconIndex = itemTexts[i].icon;
        CopyString(itemTexts[i].name, n.name, treeItemNameSize);
    }
    Extent treeAt = {g.x + 8, g.y + 30, g.width - 36, g.height - 38};
    TreeList* tree = &gallery.tree;
    InitTreeList(tree, &treeAt, treeListFrame | treeListSelectOnRightUp | treeListRenameKeys | anchors,
                 &galleryFont);
    tree->header.backgroundColour = paper;
    tree->header.onLeftDown = TreeLeftDown;
    tree->header.onKey = TreeKey;
    tree->groupHighlight = tree->itemHighlight = softBlue;
    tree->rowSpacing = 5;
    tree->textTop = 1;
    tree->kindColumnWidth = 18;
    tree->itemIndent = 12;
    tree->groupIcon = Art(artGroup);
    tree->itemIcon = Art(artItem);
    for (uint32_t i = 0; i < treeListExpandIcons; i++) tree->expandIcons[i] = Art(artExpander + i);
    for (uint32_t i = 0; i < galleryNodeIcons; i++) tree->nodeIcons[i] = Art(artNode + i);
    tree->onDoubleClick = TreeDoubleClick;
    tree->onRightClick = TreeRightClick;
    int32_t column = g.x + g.width - 24;
    Extent barAt = {column, treeAt.y + 16, 16, treeAt.height - 32};
    InitScrollBar(&gallery.treeBar, &barAt, 0, 0, scrollBarVertical | scrollBarBevel | anchors);
    gallery.treeBar.onRelease = gallery.treeBar.onTrack = TreeListScrollTo;
    gallery.treeBar.userData = reinterpret_cast<uintptr_t>(tree);
    tree->scrollBar = &gallery.treeBar;
    SetTreeListData(tree, gallery.treeGroups, sizeof(TreeNode), galleryTreeGroups, gallery.treeItems,
                    sizeof(TreeNode), galleryTreeItems);
    gallery.treeItemCount = galleryTreeItems;
    gallery.treeMode = treeBuildMode;
    BuildTreeListRows(tree, gallery.treeMode);
    Add(record, &tree->header);
    ArrowButton(record, &gallery.treeUp, {column, treeAt.y, 16, 16}, artUp, followRight, TreeListScrollUp,
                tree);
    Add(record, &gallery.treeBar.header);
    ArrowButton(record, &gallery.treeDown, {column, treeAt.y + treeAt.height - 16, 16, 16}, artDown,
                followRight | followBottom, TreeListScrollDown, tree);
    tree->companions[0] = &gallery.treeUp.header;
    tree->companions[1] = &gallery.treeDown.header;
    CaptionButton(record, &gallery.sort, {g.x + g.width - 80, g.y + 5, 72, 20}, ascendingCaption,
                  followRight | takesFocus, FlipSort);
    gallery.sort.header.onKey = ButtonSpaceKey;
}

void BuildList(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupList, layout);
    const Extent& g = layout.groups[groupList];
    const uint32_t anchors = followRight | followBottom;
    for (uint32_t i = 0; i < galleryListItems; i++) {
        ListBoxItem& item = gallery.listItems[i];
        item = {};
        item.flags = listBoxItemListed;
        // Every seventh row has no icon (an empty entry of the table).
        item.iconIndex = i % 7 == 6 ? listBoxIcons - 1 : i % galleryNodeIcons;
        if (i < fruitCount)
            CopyString(fruit[i], item.text, listBoxItemTextSize);
        else
            snprintf(item.text, sizeof item.text, "%s %u", fruit[i % fruitCount], i / fruitCount + 1);
    }
    Extent listAt = {g.x + 8, g.y + 30, g.width - 36, g.height - 38};
    ListBox* list = &gallery.list;
    InitListBox(list, &listAt, &galleryFont,
                listBoxFrame | listBoxInvertedFrame | listBoxSeparators | listBoxDragFills | anchors |
                    takesFocus | offersCharacters);
    list->header.onKey = ListKey;
    list->header.backgroundColour = paper;
    list->header.onLeftUp = ListLeftUp;
    list->selectionColour = softBlue;
    list->separatorColour = lineGrey;
    list->rowSpacing = 4;
    for (uint32_t i = 0; i < galleryNodeIcons; i++) list->icons[i] = Art(artNode + i);
    SetListBoxItems(list, gallery.listItems, sizeof(ListBoxItem), galleryListItems);
    gallery.listItemCount = galleryListItems;
    Add(record, &list->header);
    int32_t column = g.x + g.width - 24;
    ArrowButton(record, &gallery.listUp, {column, listAt.y, 16, 16}, artUp, anchors, ListBoxScrollUp, list);
    Extent barAt = {column, listAt.y + 16, 16, listAt.height - 32};
    InitScrollBar(&gallery.listBar, &barAt, 0, 0, scrollBarVertical | scrollBarBevel | anchors);
    gallery.listBar.onRelease = gallery.listBar.onTrack = ListBoxScrollTo;
    gallery.listBar.userData = reinterpret_cast<uintptr_t>(list);
    Add(record, &gallery.listBar.header);
    ArrowButton(record, &gallery.listDown, {column, listAt.y + listAt.height - 16, 16, 16}, artDown, anchors,
                ListBoxScrollDown, list);
    list->scrollBar = &gallery.listBar;
    list->companions[0] = &gallery.listUp.header;
    list->companions[1] = &gallery.listDown.header;
}
