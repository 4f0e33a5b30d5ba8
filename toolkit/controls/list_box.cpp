// Record → init → layout → draw → mouse → scrolling. The list box owns no memory: no destroy handler. Its
// keys are a handler the owner installs (list_box_keys.cpp).
#include "toolkit/controls/list_box.h"

#include <stddef.h>
#include <string.h>

#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/focus_rect.h"
#include "toolkit/gfx/text.h"
#include "toolkit/input/focus_keys.h"
#include "toolkit/window/composition.h"

static const ControlDescriptor listBoxKind = {
    kindListBox,
    sizeof(ListBox),
    captureOnLeft | redrawBits,
    0xBFBFBF,
    {ListBoxMouseMove, ListBoxLeftDown, ListBoxLeftUp},
    nullptr,
    nullptr,
};

// ---- Init ----

void InitListBox(ListBox* list, const Extent* placement, const LogFont* font, uint32_t flags) {
    InitControlHeader(&list->header, &listBoxKind, placement, flags);
    list->firstRow = list->visibleRows = 0;
    list->currentItem = nullptr;
    list->rowSpacing = 2;
    memset(list->items, 0, sizeof list->items);
    list->itemCount = 0;
    list->backgroundImage = nullptr;
    memset(list->icons, 0, sizeof list->icons);
    list->rowHeight = 0;
    list->textColour = 0x000000;
    list->selectionColour = 0xEE0000;
    list->separatorColour = 0x000000;
    list->font = font;
    list->scrollBar = nullptr;
    list->companions[0] = list->companions[1] = nullptr;
    list->anchorItem = nullptr;
    list->typedAt = list->typedCount = 0;
    memset(list->typed, 0, sizeof list->typed);
}

uint32_t SetListBoxItems(ListBox* list, ListBoxItem* first, uint32_t stride, uint32_t count) {
    list->currentItem = nullptr;
    list->anchorItem = nullptr;
    list->typedCount = 0;
    list->itemCount = 0;
    memset(list->items, 0, sizeof list->items);
    uint32_t leftOut = 0;
    uint8_t* record = reinterpret_cast<uint8_t*>(first);
    for (uint32_t i = 0; record && i < count; i++, record += stride) {
        ListBoxItem* item = reinterpret_cast<ListBoxItem*>(record);
        if (!(item->flags & listBoxItemListed)) continue;
        if (list->itemCount < listBoxItems)
            list->items[list->itemCount++] = item;
        else
            leftOut++;
    }
    return leftOut;
}

// ---- Layout ----

// Row height, the rows drawn and the top row brought back so that no empty rows trail the last item; the
// scroll bar and the companions follow.
void LayOutListBox(WindowRecord* window, Control* control) {
    ListBox* list = reinterpret_cast<ListBox*>(control);
    RowLayout rows = MeasureRows(control, list->font, list->rowSpacing, list->itemCount, &list->firstRow);
    list->rowHeight = rows.rowHeight;
    list->visibleRows = rows.shownRows;
    KeepScrollBarInStep(window, list->scrollBar, list->companions, list->itemCount - list->visibleRows,
                        list->firstRow);
}

// ---- Draw ----

static bool Listed(const ListBoxItem* item) {
    return item && (item->flags & listBoxItemListed);
}

static const char* TextOf(const ListBoxItem* item) {
    return reinterpret_cast<const char*>(item) + offsetof(ListBoxItem, text);
}

void DrawListBox(WindowRecord* window, Control* control) {
    ListBox* list = reinterpret_cast<ListBox*>(control);
    Surface* own = &control->surface;
    int32_t width = own->width;
    PaintControlBackground(control, list->backgroundImage);
    int32_t rowHeight = static_cast<int32_t>(list->rowHeight);
    for (uint32_t row = 0; row < list->visibleRows; row++) {
        const ListBoxItem* item = list->items[list->firstRow + row];
        if (!Listed(item)) continue;
        int32_t top = static_cast<int32_t>(1 + row * list->rowHeight);
        int32_t textLeft = 1;
        if (item->flags & listBoxItemSelected) {
            Bounds r = {1, top, width - 2, top + rowHeight - 1};
            DrawRect(own, &r, list->selectionColour, rectFill);
        }
        // An index outside the table shows no icon.
        Surface* icon = item->iconIndex < listBoxIcons ? list->icons[item->iconIndex] : nullptr;
        if (icon) {
            BlitSurface(icon, own, 1, top, 0, 0);
            textLeft += icon->width;
        }
        Extent box = {textLeft, top, width - 1 - textLeft, rowHeight};
        DrawTextInSurface(TextOf(item), list->font, own, &box, list->textColour, 0, transparentText);
        if (control->flags & listBoxSeparators && width > 2)
            DrawLine(own, 1, top + rowHeight - 1, static_cast<uint32_t>(width - 2), list->separatorColour, 0);
        // The keyboard's place: the current item, or the top row before there is one.
        if (item == (list->currentItem ? list->currentItem : list->items[list->firstRow]) &&
            ShowsFocus(window, control)) {
            // Right of the icon and above the separator, which stay as they are.
            int32_t bottom = top + rowHeight - ((control->flags & listBoxSeparators) ? 2 : 1);
            Bounds r = {textLeft, top, width - 2, bottom};
            DrawFocusRect(own, &r);
        }
    }
    DrawControlFrame(control, 0xFFFFFF, 0x000000);
}

// ---- Mouse ----

// The item of the row at y (y, not y - 1: the top margin is not subtracted); null for no row, and before the
// first layout, which gives the rows their height.
static ListBoxItem* ItemAt(const ListBox* list, int32_t y) {
    if (y < 0 || list->rowHeight == 0) return nullptr;
    uint64_t index = static_cast<uint64_t>(y) / list->rowHeight + list->firstRow;
    if (index >= list->itemCount) return nullptr;
    ListBoxItem* item = list->items[index];
    return Listed(item) ? item : nullptr;
}

static bool Selecting(const Control* control) {
    return (control->flags & listBoxSelecting) != 0;
}

static bool Fills(const Control* control) {
    return (control->flags & listBoxDragFills) != 0;
}

// Selects the listed rows after the current item up to the row of to, or before it down to that row; the
// rows the pointer passed between two moves. Returns whether one was added. Then to is the current item.
static bool FillTo(ListBox* list, ListBoxItem* to) {
    uint32_t from = listBoxItems, end = listBoxItems;
    for (uint32_t i = 0; i < list->itemCount; i++) {
        if (list->items[i] == list->currentItem) from = i;
        if (list->items[i] == to) end = i;
    }
    list->currentItem = to;
    if (from == listBoxItems || end == listBoxItems || from == end) return false;
    bool added = false;
    int32_t step = end > from ? 1 : -1;
    for (uint32_t i = from; i != end; i += static_cast<uint32_t>(step)) {
        ListBoxItem* item = list->items[i + static_cast<uint32_t>(step)];
        if (Listed(item) && !(item->flags & listBoxItemSelected)) {
            item->flags |= listBoxItemSelected;
            added = true;
        }
    }
    return added;
}

// A plain press selects the row under the pointer alone (or nothing, on empty space); with Ctrl it toggles
// that row and keeps the others. A double click arrives here as a second press.
void ListBoxLeftDown(WindowHandle window, WindowRecord* record, Control* control, uint32_t keyState, int32_t,
                     int32_t y) {
    ListBox* list = reinterpret_cast<ListBox*>(control);
    bool changed = false;
    if (!Selecting(control) && !(keyState & MK_CONTROL)) {
        for (uint32_t i = 0; i < list->itemCount; i++) {
            if (list->items[i]) list->items[i]->flags &= ~listBoxItemSelected;
        }
        changed = true;
    }
    control->flags |= listBoxSelecting;
    if (ListBoxItem* item = ItemAt(list, y)) {
        list->currentItem = item;
        item->flags ^= listBoxItemSelected;
        changed = true;
    } else if (Fills(control)) {
        list->currentItem = nullptr; // a drag from empty space fills from nowhere
    }
    if (changed) RepaintControl(window, record, control);
}

void ListBoxLeftUp(WindowHandle, WindowRecord*, Control* control, uint32_t, int32_t, int32_t) {
    control->flags &= ~listBoxSelecting;
}

// While a press lasts, rows under the pointer join the selection (none ever leaves it), and each move past
// the top or the bottom edge scrolls one row and selects the row that comes into view.
void ListBoxMouseMove(WindowHandle window, WindowRecord* record, Control* control, uint32_t, int32_t,
                      int32_t y) {
    ListBox* list = reinterpret_cast<ListBox*>(control);
    // Before the first layout there are no rows to join or scroll.
    if (!Selecting(control) || list->rowHeight == 0) return;
    bool changed = false;
    ListBoxItem* joining = nullptr;
    // Past an edge, the rows up to the edge were passed on the way there.
    if (Fills(control) && list->visibleRows > 0 && (y < 0 || y >= control->surface.height)) {
        uint32_t edge = y < 0 ? list->firstRow : list->firstRow + list->visibleRows - 1;
        if (edge < list->itemCount) changed = FillTo(list, list->items[edge]);
    }
    if (y < 0) {
        if (list->firstRow > 0) {
            list->firstRow--;
            joining = list->items[list->firstRow];
            changed = true;
        }
    } else if (y >= control->surface.height) {
        if (list->firstRow + static_cast<uint64_t>(list->visibleRows) < list->itemCount) {
            joining = list->items[list->firstRow + list->visibleRows];
            list->firstRow++;
            changed = true;
        }
    } else if (ListBoxItem* item = ItemAt(list, y)) {
        if (Fills(control)) changed = FillTo(list, item);
        list->currentItem = item;
        if (!(item->flags & listBoxItemSelected)) joining = item;
    }
    // A row scrolled in past an edge is where the drag goes on from.
    if (Fills(control) && joining) list->currentItem = joining;
    if (Listed(joining)) {
        joining->flags |= listBoxItemSelected;
        changed = true;
    }
    if (changed) RepaintControl(window, record, control);
}

// ---- Scrolling ----

void ListBoxScrollTo(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t, uint32_t,
                     uint32_t position) {
    ListBox* list = reinterpret_cast<ListBox*>(userData);
    list->firstRow = position / scrollUnitsPerRow + ((position & 8) ? 1 : 0);
    MarkForRedraw(&list->header, record, redrawBits);
}

uint32_t ListBoxScrollUp(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t, int32_t,
                         int32_t) {
    ListBox* list = reinterpret_cast<ListBox*>(userData);
    return StepTopRowUp(record, &list->header, &list->firstRow);
}

uint32_t ListBoxScrollDown(WindowHandle, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                           int32_t, int32_t) {
    ListBox* list = reinterpret_cast<ListBox*>(userData);
    return StepTopRowDown(record, &list->header, &list->firstRow, list->visibleRows, list->itemCount);
}
