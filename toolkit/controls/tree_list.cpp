// Record → init (and the tables and rows it is handed) → layout → draw → mouse → scrolling. The tree list's
// keys are a handler the owner installs (tree_list_keys.cpp; a name being edited goes through the line
// editor); it owns no memory: no destroy handler.
#include "toolkit/controls/tree_list.h"

#include <stddef.h>
#include <string.h>

#include "toolkit/controls/text_painter.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/focus_rect.h"
#include "toolkit/gfx/text.h"
#include "toolkit/input/focus_keys.h"
#include "toolkit/window/composition.h"
#include "util/dbcs_string.h"
#include "util/sort.h"

static const ControlDescriptor treeListKind = {
    kindTreeList,
    sizeof(TreeList),
    takesFocus | redrawBits,
    0xBFBFBF,
    {nullptr, TreeListLeftDown, nullptr, TreeListLeftDouble, nullptr, TreeListRightUp},
    nullptr,
    nullptr,
};

enum : uint32_t { noBox = 0xFFFFFFFFu };

// ---- Init ----

void InitTreeList(TreeList* tree, const Extent* placement, uint32_t flags, const LogFont* font) {
    InitControlHeader(&tree->header, &treeListKind, placement, flags);
    tree->firstRow = tree->rowCount = tree->visibleRows = 0;
    tree->selectedNode = tree->previousNode = nullptr;
    tree->kindColumnWidth = 0;
    tree->itemIndent = 16;
    tree->rowSpacing = 7;
    tree->textTop = 3;
    memset(tree->groups, 0, sizeof tree->groups);
    memset(tree->items, 0, sizeof tree->items);
    tree->groupCount = tree->itemCount = 0;
    memset(static_cast<void*>(tree->rows), 0, sizeof tree->rows);
    tree->backgroundImage = nullptr;
    memset(tree->expandIcons, 0, sizeof tree->expandIcons);
    tree->groupIcon = tree->itemIcon = nullptr;
    memset(tree->nodeIcons, 0, sizeof tree->nodeIcons);
    tree->rowHeight = 0;
    tree->textColour = 0x000000;
    tree->font = font;
    tree->scrollBar = nullptr;
    tree->groupHighlight = tree->itemHighlight = Theme[highlightColour];
    tree->companions[0] = tree->companions[1] = nullptr;
    tree->onDoubleClick = tree->onRightClick = nullptr;
    memset(tree->renameFrom, 0, sizeof tree->renameFrom);
}

static bool Listed(const TreeNode* node) {
    return node && (node->flags & treeNodeListed);
}

uint32_t SetTreeListData(TreeList* tree, TreeGroup* firstGroup, uint32_t groupStride, uint32_t groupCount,
                         TreeItem* firstItem, uint32_t itemStride, uint32_t itemCount) {
    tree->header.editBuffer = nullptr;
    tree->rowCount = 0;
    tree->selectedNode = tree->previousNode = nullptr;
    tree->groupCount = tree->itemCount = 0;
    memset(tree->groups, 0, sizeof tree->groups);
    memset(tree->items, 0, sizeof tree->items);
    memset(static_cast<void*>(tree->rows), 0, sizeof tree->rows);
    uint32_t leftOut = 0;
    uint8_t* record = reinterpret_cast<uint8_t*>(firstGroup);
    for (uint32_t i = 0; record && i < groupCount; i++, record += groupStride) {
        TreeGroup* group = reinterpret_cast<TreeGroup*>(record);
        if (!Listed(group)) continue;
        if (tree->groupCount == treeListGroups) {
            leftOut++;
            continue;
        }
        group->parent = nullptr;
        tree->groups[tree->groupCount++] = group;
    }
    record = reinterpret_cast<uint8_t*>(firstItem);
    for (uint32_t i = 0; record && i < itemCount; i++, record += itemStride) {
        TreeItem* item = reinterpret_cast<TreeItem*>(record);
        if (!Listed(item)) continue;
        if (tree->itemCount == treeListItems)
            leftOut++;
        else
            tree->items[tree->itemCount++] = item;
    }
    return leftOut;
}

// Appends a row for the node, or counts it as left out when the rows are full.
static void AppendRow(TreeList* tree, TreeNode* node, uint32_t* leftOut) {
    if (tree->rowCount == treeListRows) {
        (*leftOut)++;
        return;
    }
    TreeRow* row = &tree->rows[tree->rowCount++];
    bool group = node->parent == nullptr;
    row->node = node;
    EditBuffer* b = &row->edit;
    b->flags = 0; // overwrite mode, one row
    b->text = node->name;
    b->caret = 0;
    b->capacity = group ? treeGroupNameSize : treeItemNameSize;
    b->enterHandler = group ? EndRowEdit : nullptr;
    b->textColour = tree->textColour;
    b->backColour = noBox;
    b->font = tree->font;
}

enum ItemChoice : uint32_t { everyItem, pinnedItems, otherItems };

// The chosen items of the group; every one found makes the group hasItems, and an expanded group shows it.
static void AppendItems(TreeList* tree, TreeGroup* group, ItemChoice choice, uint32_t* leftOut) {
    for (uint32_t i = 0; i < tree->itemCount; i++) {
        TreeItem* item = tree->items[i];
        if (!Listed(item) || item->parent != group) continue;
        bool pinned = (item->flags & treeNodePinned) != 0;
        if ((choice == pinnedItems && !pinned) || (choice == otherItems && pinned)) continue;
        group->flags |= treeNodeHasItems;
        if (group->flags & treeNodeExpanded) AppendRow(tree, item, leftOut);
    }
}

uint32_t BuildTreeListRows(TreeList* tree, uint32_t mode) {
    tree->header.editBuffer = nullptr;
    memset(static_cast<void*>(tree->rows), 0, sizeof tree->rows);
    tree->rowCount = 0;
    // The name is read where the record really has it (after a pointer and two words).
    if (mode & treeBuildSortByName) SortOffsets(tree->items, tree->itemCount, offsetof(TreeNode, name), mode);
    uint32_t leftOut = 0;
    bool pinnedFirst = (mode & treeBuildPinnedFirst) != 0;
    for (uint32_t g = 0; g < tree->groupCount; g++) {
        TreeGroup* group = tree->groups[g];
        if (!Listed(group)) continue;
        group->flags &= ~treeNodeHasItems;
        AppendRow(tree, group, &leftOut);
        if (pinnedFirst) {
            AppendItems(tree, group, pinnedItems, &leftOut);
            AppendItems(tree, group, otherItems, &leftOut);
        } else {
            AppendItems(tree, group, everyItem, &leftOut);
        }
    }
    return leftOut;
}

int32_t FindTreeListRow(TreeList* tree, const TreeNode* node, TreeRow** row) {
    for (uint32_t i = 0; i < treeListRows; i++) {
        if (tree->rows[i].node != node) continue;
        if (row) *row = &tree->rows[i];
        return static_cast<int32_t>(i);
    }
    return -1;
}

// ---- Layout ----

// Row height, the rows drawn and the top row brought back so that no empty rows trail the last one; the
// scroll bar and the companions follow (neither without a scroll bar).
void LayOutTreeList(WindowRecord* window, Control* control) {
    TreeList* tree = reinterpret_cast<TreeList*>(control);
    RowLayout rows = MeasureRows(control, tree->font, tree->rowSpacing, tree->rowCount, &tree->firstRow);
    tree->rowHeight = rows.rowHeight;
    tree->visibleRows = rows.shownRows;
    if (tree->scrollBar) {
        KeepScrollBarInStep(window, tree->scrollBar, tree->companions, tree->rowCount - tree->visibleRows,
                            tree->firstRow);
    }
}

// ---- Draw ----

static bool IsGroup(const TreeNode* node) {
    return node->parent == nullptr;
}

// x after an image of this width, kept within a range where the sums cannot wrap.
static int32_t Advance(int64_t x, int64_t by) {
    int64_t next = x + by;
    return next > (1 << 24) ? (1 << 24) : static_cast<int32_t>(next);
}

static void DrawRow(WindowRecord* window, TreeList* tree, TreeRow* row, int32_t top) {
    Surface* own = &tree->header.surface;
    TreeNode* node = row->node;
    bool group = IsGroup(node);
    row->edit.backColour =
        node == tree->selectedNode ? (group ? tree->groupHighlight : tree->itemHighlight) : noBox;
    if (Surface* kindIcon = group ? tree->groupIcon : tree->itemIcon)
        BlitSurface(kindIcon, own, 1, top, 0, 0);
    int32_t x = Advance(1, tree->kindColumnWidth);
    if (group) {
        uint32_t state = node->flags & (treeNodeHasItems | treeNodeExpanded);
        if (state > 2) state = 2;
        if (Surface* expander = tree->expandIcons[state]) {
            BlitSurface(expander, own, x, top, 0, 0);
            x = Advance(x, expander->width);
        }
    } else {
        x = Advance(x, tree->itemIndent);
    }
    // An index outside the table shows no icon.
    Surface* icon = node->iconIndex < treeListNodeIcons ? tree->nodeIcons[node->iconIndex] : nullptr;
    if (icon) {
        BlitSurface(icon, own, x, top, 0, 0);
        x = Advance(x, icon->width);
    }
    row->edit.originX = x;
    row->edit.originY = Advance(top, tree->textTop);
    PaintEditText(window, &tree->header, &row->edit);
}

void DrawTreeList(WindowRecord* window, Control* control) {
    TreeList* tree = reinterpret_cast<TreeList*>(control);
    PaintControlBackground(control, tree->backgroundImage);
    for (uint32_t i = 0; i < tree->visibleRows; i++) {
        TreeRow* row = &tree->rows[tree->firstRow + i];
        if (!row->node) continue;
        int32_t top = static_cast<int32_t>(1 + i * tree->rowHeight);
        DrawRow(window, tree, row, top);
        // The keyboard's place: the selected row, or the top row before there is one.
        TreeNode* place = tree->selectedNode ? tree->selectedNode : tree->rows[tree->firstRow].node;
        if (row->node == place && ShowsFocus(window, control)) {
            // Around the name, as a desktop tree draws it: the icons stay as they are.
            Bounds r = {row->edit.originX, top, control->surface.width - 2,
                        top + static_cast<int32_t>(tree->rowHeight) - 1};
            DrawFocusRect(&control->surface, &r);
        }
    }
    DrawControlFrame(control, Theme[borderLightColour], Theme[borderDarkColour]);
}

// ---- Mouse ----

enum HitZone : uint32_t { hitNothing, hitExpander, hitIndent, hitBody };

struct TreeHit {
    HitZone zone;
    TreeRow* row;
};

// The left edge of the expander or indent column, and the expander's width (that of the no-items image,
// whatever the group's state).
static int64_t ColumnStart(const TreeList* tree) {
    return 1 + static_cast<int64_t>(tree->kindColumnWidth);
}
static int64_t ExpanderWidth(const TreeList* tree) {
    return tree->expandIcons[0] ? tree->expandIcons[0]->width : 0;
}

// The row under y (from y = 1 on); null for none, and before the first layout, which gives rows their height.
static TreeRow* RowAt(TreeList* tree, int32_t y) {
    if (y < 1 || tree->rowHeight == 0) return nullptr;
    uint64_t index = static_cast<uint64_t>(y - 1) / tree->rowHeight + tree->firstRow;
    if (index >= treeListRows || !tree->rows[index].node) return nullptr;
    return &tree->rows[index];
}

static TreeHit HitTreeList(TreeList* tree, int32_t x, int32_t y) {
    TreeRow* row = RowAt(tree, y);
    int64_t t = ColumnStart(tree);
    if (!row || x <= t) return {hitNothing, nullptr};
    if (IsGroup(row->node)) {
        if (x < t + ExpanderWidth(tree)) return {hitExpander, row};
    } else if (x < t + tree->itemIndent) {
        return {hitIndent, row};
    }
    return {hitBody, row};
}

static bool NameEditable(const TreeList* tree, const TreeNode* node) {
    uint32_t fixed = IsGroup(node) ? treeListFixedGroupNames : treeListFixedItemNames;
    return !(tree->header.flags & fixed);
}

// The name's editing starts; with treeListRenameKeys keeping the old name, inserting at its end, and taking
// Enter and Escape on every row.
static void StartRowEdit(TreeList* tree, TreeRow* row) {
    tree->header.editBuffer = &row->edit;
    if (!(tree->header.flags & treeListRenameKeys)) return;
    EditBuffer* b = &row->edit;
    memset(tree->renameFrom, 0, sizeof tree->renameFrom);
    memcpy(tree->renameFrom, b->text, b->capacity);
    b->flags |= insertMode;
    b->caret = StringLength(b->text, b->capacity);
    b->composition = 0;
    b->enterHandler = EndRowEdit;
    b->escapeHandler = CancelRowEdit;
}

bool StartTreeListRename(TreeList* tree) {
    TreeRow* row = nullptr;
    if (!tree->selectedNode || FindTreeListRow(tree, tree->selectedNode, &row) < 0) return false;
    if (!NameEditable(tree, tree->selectedNode)) return false;
    StartRowEdit(tree, row);
    return true;
}

// Any press ends name editing. An expander opens or closes its group; a press on a row's body selects it,
// and a press on the selected row's body (again) edits its name.
void TreeListLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t, int32_t x,
                      int32_t y) {
    TreeList* tree = reinterpret_cast<TreeList*>(control);
    control->editBuffer = nullptr;
    tree->previousNode = nullptr;
    TreeHit hit = HitTreeList(tree, x, y);
    if (hit.zone == hitExpander) {
        hit.row->node->flags ^= treeNodeExpanded;
        BuildTreeListRows(tree, 0);
    } else if (hit.zone == hitBody) {
        TreeNode* node = hit.row->node;
        if (node != tree->selectedNode)
            tree->selectedNode = node;
        else if (NameEditable(tree, node))
            StartRowEdit(tree, hit.row);
    } else {
        return;
    }
    RepaintControl(window, record, control);
}

// Reported for a row right of the expander column; nothing is redrawn.
void TreeListLeftDouble(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                        int32_t x, int32_t y) {
    TreeList* tree = reinterpret_cast<TreeList*>(control);
    if (!tree->onDoubleClick || x < ColumnStart(tree) + ExpanderWidth(tree)) return;
    if (TreeRow* row = RowAt(tree, y)) tree->onDoubleClick(window, record, control, keyState, row->node);
}

// Ends name editing and reports the row body under the pointer (or null), selecting it first with
// treeListSelectOnRightUp.
void TreeListRightUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                     int32_t x, int32_t y) {
    TreeList* tree = reinterpret_cast<TreeList*>(control);
    control->editBuffer = nullptr;
    TreeNode* node = nullptr;
    TreeHit hit = HitTreeList(tree, x, y);
    if (hit.zone == hitBody) {
        node = hit.row->node;
        if (control->flags & treeListSelectOnRightUp) {
            tree->previousNode = tree->selectedNode;
            tree->selectedNode = node;
        }
    }
    if (tree->onRightClick) tree->onRightClick(window, record, control, keyState, node);
    RepaintControl(window, record, control);
}

void EndRowEdit(WindowHandle, WindowRecord*, Control* control, EditBuffer*) {
    if (control) control->editBuffer = nullptr;
}

void CancelRowEdit(WindowHandle window, WindowRecord* record, Control* control, EditBuffer* buffer) {
    if (control && control->kind == kindTreeList && buffer && buffer->text) {
        const char* old = reinterpret_cast<TreeList*>(control)->renameFrom;
        memcpy(buffer->text, old, buffer->capacity);
        buffer->text[buffer->capacity - 1] = 0;
        buffer->caret = 0;
    }
    EndRowEdit(window, record, control, buffer);
}

// ---- Scrolling ----

void TreeListScrollTo(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t, uint32_t,
                      uint32_t position) {
    TreeList* tree = reinterpret_cast<TreeList*>(userData);
    tree->firstRow = position / scrollUnitsPerRow + ((position & 8) ? 1 : 0);
    MarkForRedraw(&tree->header, record, redrawBits);
}

uint32_t TreeListScrollUp(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t, int32_t,
                          int32_t) {
    TreeList* tree = reinterpret_cast<TreeList*>(userData);
    return StepTopRowUp(record, &tree->header, &tree->firstRow);
}

uint32_t TreeListScrollDown(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                            int32_t, int32_t) {
    TreeList* tree = reinterpret_cast<TreeList*>(userData);
    return StepTopRowDown(record, &tree->header, &tree->firstRow, tree->visibleRows, tree->rowCount);
}
