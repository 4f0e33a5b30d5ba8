// A two-level tree: groups, and under each expanded group the items that belong to it, as up to 256 rows of
// a kind icon, an expander or indent, the node's own icon and its name. A second press on the selected row
// edits its name in place; double clicks and right-button releases are reported to the owner. A scroll bar
// and two companion controls are kept in step.
#pragma once

#include <stdint.h>

#include "toolkit/controls/control_frame.h"
#include "toolkit/controls/list_layout.h"
#include "toolkit/gfx/rect.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/control.h"

struct ScrollBar;

// The tree list's own flag bits.
inline constexpr uint32_t treeListFrame = controlFrame;       // light top-left, dark bottom-right (Theme)
inline constexpr uint32_t treeListFixedGroupNames = 0x200000; // group names cannot be edited
inline constexpr uint32_t treeListFixedItemNames = 0x400000;  // item names cannot be edited
inline constexpr uint32_t treeListSelectOnRightUp = 0x800000; // a right-button release on a row selects it
// Renaming as in a desktop's file lists: it starts inserting at the end of the name, Enter ends it on item
// rows too, and Escape ends it with the old name back.
inline constexpr uint32_t treeListRenameKeys = 0x1000000;

// Flags of groups and items.
inline constexpr uint32_t treeNodeHasItems = 0x1; // groups; written by BuildTreeListRows
inline constexpr uint32_t treeNodeExpanded = 0x2; // groups; toggled by the expander
inline constexpr uint32_t treeNodeListed = 0x4;   // only listed records enter the tables
inline constexpr uint32_t treeNodePinned = 0x8;   // items; first in their group with treeBuildPinnedFirst

// BuildTreeListRows modes. The whole mode also goes to the name sort as its flags (descending 0x4,
// lengthFirst 0x1, ignoreCase 0x2).
inline constexpr uint32_t treeBuildPinnedFirst = 0x8;
inline constexpr uint32_t treeBuildSortByName = 0x10;

enum : uint32_t {
    treeListGroups = 128,
    treeListItems = 128,
    treeListRows = 256,
    treeListNodeIcons = 26,
    treeListExpandIcons = 3, // no items, collapsed with items, expanded
    treeGroupNameSize = 48,
    treeItemNameSize = 47,
};

// Groups and items share one layout, caller-owned; parent null marks a group. An item's name holds
// treeItemNameSize bytes (its last byte is not used). Callers may embed a node at the start of a larger
// record and pass the record's stride.
struct TreeNode {
    TreeNode* parent; // items: their group; groups: set to null by SetTreeListData
    uint32_t flags;
    uint32_t iconIndex; // into nodeIcons; treeListNodeIcons or more, or an empty entry: no icon
    char name[treeGroupNameSize];
};
typedef TreeNode TreeGroup;
typedef TreeNode TreeItem;

struct TreeRow {
    TreeNode* node;  // null = empty slot
    EditBuffer edit; // the name, for the text painter and, while it is edited, the line editor
};

// (window, record, the tree list, key state, the node under the pointer; null for none).
typedef void (*TreeListCallback)(WindowHandle window, WindowRecord* record, Control* tree, uint32_t keyState,
                                 TreeNode* node);

struct TreeList {
    Control header; // editBuffer points at a row's edit while its name is edited, else null
    uint32_t firstRow;
    uint32_t rowCount;
    uint32_t visibleRows; // set by each layout: the rows that fit, or rowCount when fewer
    TreeNode* selectedNode;
    TreeNode* previousNode; // the selection before the last right-release selection; cleared by left presses
    uint32_t kindColumnWidth; // pixels kept for groupIcon / itemIcon at the left of every row
    uint32_t itemIndent;      // where group rows have their expander
    uint32_t rowSpacing;      // added to the measured text height to form a row
    uint32_t textTop;         // the name's offset below the row's top
    TreeGroup* groups[treeListGroups];
    uint32_t groupCount;
    TreeItem* items[treeListItems]; // in array order, or sorted by name by a build that asked for it
    uint32_t itemCount;
    TreeRow rows[treeListRows];
    Surface* backgroundImage; // tiled; null = backgroundColour
    Surface* expandIcons[treeListExpandIcons];
    Surface* groupIcon;
    Surface* itemIcon;
    Surface* nodeIcons[treeListNodeIcons];
    uint32_t rowHeight; // set by each layout; 0 before the first, when presses hit no row
    uint32_t textColour;
    const LogFont* font;     // null = the default font
    ScrollBar* scrollBar;    // null = none, and the companions are left alone too
    uint32_t groupHighlight; // behind the selected row's name
    uint32_t itemHighlight;
    Control* companions[scrollCompanions];
    TreeListCallback onDoubleClick;
    TreeListCallback onRightClick;
    // Added after the documented fields.
    char renameFrom[treeGroupNameSize]; // treeListRenameKeys: the name as it was when its editing began
};

void InitTreeList(TreeList* tree, const Extent* placement, uint32_t flags, const LogFont* font);
// Takes the listed groups and items of two caller arrays (stride: bytes from one record to the next). The
// tables hold treeListGroups and treeListItems: returns how many listed records did not fit (0 when all
// did). Clears the rows, the selection and any name editing; builds no rows.
uint32_t SetTreeListData(TreeList* tree, TreeGroup* firstGroup, uint32_t groupStride, uint32_t groupCount,
                         TreeItem* firstItem, uint32_t itemStride, uint32_t itemCount);
// Builds the rows from the tables (modes above) and recomputes every listed group's treeNodeHasItems. Rows
// past treeListRows are left out: returns how many (0 when all fit). Any name editing ends, since the rows'
// buffers are rebuilt. The owner then marks the list for redraw and requests a repaint.
uint32_t BuildTreeListRows(TreeList* tree, uint32_t mode);
// The row slot showing node (null finds the first empty slot): its index, and *row when row is not null;
// -1 when no slot does (row is then left alone).
int32_t FindTreeListRow(TreeList* tree, const TreeNode* node, TreeRow** row);

// Group rows' enterHandler: Enter ends the editing of a group's name. With treeListRenameKeys also the item
// rows' enterHandler, and CancelRowEdit every row's escapeHandler: the name goes back to what it was.
void EndRowEdit(WindowHandle window, WindowRecord* record, Control* control, EditBuffer* buffer);
void CancelRowEdit(WindowHandle window, WindowRecord* record, Control* control, EditBuffer* buffer);

// Starts editing the selected row's name, as a second press on it does; false when there is no selected row
// shown or its name is fixed.
bool StartTreeListRename(TreeList* tree);
// A key handler the owner installs as onKey: Up, Down, Page Up, Page Down, Home and End select over the rows
// shown, scrolling into view; Right expands a collapsed group or goes to the first row in it, Left collapses
// an expanded group or goes to an item's group; F2 edits the selected row's name.
uint32_t TreeListKey(WindowHandle window, WindowRecord* record, Control* control, uint32_t key,
                     uint32_t keyData);

// The mouse handlers, for owners that wrap them.
void TreeListLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                      int32_t x, int32_t y);
void TreeListLeftDouble(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                        int32_t x, int32_t y);
void TreeListRightUp(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState,
                     int32_t x, int32_t y);

// The scroll bar's onRelease with the tree as userData (the position in rows, halves up), and button
// callbacks with the tree as userData: one row up or down.
void TreeListScrollTo(WindowHandle window, WindowRecord* record, Control* scrollBar, uintptr_t userData,
                      uint32_t keyState, uint32_t range, uint32_t position);
uint32_t TreeListScrollUp(WindowHandle window, WindowRecord* record, Control* button, uintptr_t userData,
                          uint32_t keyState, int32_t x, int32_t y);
uint32_t TreeListScrollDown(WindowHandle window, WindowRecord* record, Control* button, uintptr_t userData,
                            uint32_t keyState, int32_t x, int32_t y);
