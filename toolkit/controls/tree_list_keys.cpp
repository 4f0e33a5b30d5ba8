// The tree list's keys: the selection moves over the built rows, and groups open and close.
#include "toolkit/controls/tree_list.h"
#include "toolkit/window/composition.h"

enum : uint32_t { keyReleased = 0x80000000u, vkF2 = vkF1 + 1 };

static bool IsGroup(const TreeNode* node) {
    return node->parent == nullptr;
}

static int32_t SelectedRow(TreeList* tree) {
    return tree->selectedNode ? FindTreeListRow(tree, tree->selectedNode, nullptr) : -1;
}

static void SelectRow(TreeList* tree, uint32_t index) {
    tree->selectedNode = tree->rows[index].node;
    if (index < tree->firstRow) {
        tree->firstRow = index;
    } else if (tree->visibleRows > 0 && index >= tree->firstRow + tree->visibleRows) {
        tree->firstRow = index - tree->visibleRows + 1;
    }
}

// The group opens or closes as its expander would have it; the selection stays on it.
static void Toggle(TreeList* tree, TreeNode* group) {
    group->flags ^= treeNodeExpanded;
    BuildTreeListRows(tree, 0);
    int32_t row = SelectedRow(tree);
    if (row >= 0) SelectRow(tree, static_cast<uint32_t>(row));
}

static uint32_t Sideways(TreeList* tree, int32_t current, bool right) {
    if (current < 0) return 0;
    TreeNode* node = tree->rows[current].node;
    bool open = (node->flags & treeNodeExpanded) != 0;
    if (right && IsGroup(node)) {
        if (!open && (node->flags & treeNodeHasItems)) {
            Toggle(tree, node);
        } else if (open && static_cast<uint32_t>(current) + 1 < tree->rowCount &&
                   tree->rows[current + 1].node->parent == node) {
            SelectRow(tree, static_cast<uint32_t>(current) + 1);
        } else {
            return 0;
        }
    } else if (!right && IsGroup(node)) {
        if (!open) return 0;
        Toggle(tree, node);
    } else if (!right) {
        int32_t group = FindTreeListRow(tree, node->parent, nullptr);
        if (group < 0) return 0;
        SelectRow(tree, static_cast<uint32_t>(group));
    } else {
        return 0;
    }
    return redrawBits;
}

uint32_t TreeListKey(WindowHandle, WindowRecord*, Control* control, uint32_t key, uint32_t keyData) {
    TreeList* tree = reinterpret_cast<TreeList*>(control);
    if ((keyData & keyReleased) || tree->rowCount == 0) return 0;
    int32_t last = static_cast<int32_t>(tree->rowCount) - 1;
    int32_t current = SelectedRow(tree);
    int32_t to = RowKeyTarget(key, current, last, tree->visibleRows);
    if (to >= 0) {
        SelectRow(tree, static_cast<uint32_t>(to));
        return redrawBits;
    }
    switch (key) {
    case vkLeft:
    case vkRight:
        return Sideways(tree, current, key == vkRight);
    case vkF2:
        return StartTreeListRename(tree) ? redrawBits : 0;
    default:
        return 0;
    }
}
