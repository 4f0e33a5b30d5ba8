// Notches become rows here; fractions of a notch (from smooth wheels) are kept until they make a row.
#include "toolkit/controls/mouse_wheel.h"

#include "toolkit/controls/list_box.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/text_log.h"
#include "toolkit/controls/text_painter.h"
#include "toolkit/controls/tree_list.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/mouse_routing.h"

// More rows than any list holds: the desktop's setting for a page per notch.
enum : uint32_t { pageScroll = 0x10000 };

namespace {
// The part of a scrolling kind the wheel moves: its top row and the rows it may reach.
struct RowView {
    uint32_t* firstRow;
    uint32_t count;
    uint32_t shown; // rows that fit; 0 before the first layout
    ScrollBar* bar;
};
} // namespace

static bool ViewOf(Control* c, RowView* view) {
    if (c->kind == kindListBox) {
        ListBox* l = reinterpret_cast<ListBox*>(c);
        *view = {&l->firstRow, l->itemCount, l->rowHeight ? l->visibleRows : 0, l->scrollBar};
    } else if (c->kind == kindTreeList) {
        TreeList* t = reinterpret_cast<TreeList*>(c);
        *view = {&t->firstRow, t->rowCount, t->rowHeight ? t->visibleRows : 0, t->scrollBar};
    } else if (c->kind == kindTextLog) {
        TextLog* g = reinterpret_cast<TextLog*>(c);
        *view = {&g->firstRow, g->lineCount, g->rowHeight ? g->visibleRows : 0, g->scrollBar};
    } else {
        return false;
    }
    return true;
}

// Rows for a turn of delta: the system's rows per notch, a page for the page setting.
static int32_t RowsFor(int32_t delta, uint32_t page) {
    static int32_t rest; // part of a row left over from smaller turns
    uint32_t lines = PlatformWheelScrollLines();
    if (lines >= pageScroll) lines = page > 0 ? page : 1;
    int64_t units = static_cast<int64_t>(delta) * lines + rest;
    int64_t rows = units / wheelDelta;
    rest = static_cast<int32_t>(units - rows * wheelDelta);
    return static_cast<int32_t>(-rows); // away from the user shows the rows above
}

static bool ScrollView(WindowRecord* record, Control* c, const RowView& v, int32_t rows) {
    if (v.shown == 0) return false;
    int64_t most = v.count > v.shown ? v.count - v.shown : 0;
    int64_t first = static_cast<int64_t>(*v.firstRow) + rows;
    first = first < 0 ? 0 : first > most ? most : first;
    if (static_cast<uint32_t>(first) == *v.firstRow) return false;
    *v.firstRow = static_cast<uint32_t>(first);
    MarkForRedraw(c, record, redrawBits);
    return true;
}

// The log, list or tree that bar scrolls, or null.
static Control* DrivenBy(WindowRecord* record, const ScrollBar* bar) {
    for (Control* c : record->controls) {
        RowView v;
        if (c && ViewOf(c, &v) && v.bar == bar) return c;
    }
    return nullptr;
}

static bool ScrollBarTurned(WindowHandle window, WindowRecord* record, ScrollBar* bar, int32_t delta,
                            uint32_t keys) {
    RowView v;
    Control* driven = DrivenBy(record, bar);
    if (driven && ViewOf(driven, &v)) return ScrollView(record, driven, v, RowsFor(delta, v.shown));
    int64_t position =
        static_cast<int64_t>(bar->position) + static_cast<int64_t>(RowsFor(delta, 1)) * scrollUnitsPerRow;
    position = position < 0 ? 0 : position > bar->range ? bar->range : position;
    if (static_cast<uint32_t>(position) == bar->position) return false;
    bar->position = static_cast<uint32_t>(position);
    MarkForRedraw(&bar->header, record, redrawBits);
    if (bar->onRelease)
        bar->onRelease(window, record, &bar->header, bar->userData, keys, bar->range, bar->position);
    return true;
}

int32_t RouteMouseWheel(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                        LParam lParam) {
    if (message != WM_MOUSEWHEEL || !record) return 0;
    int32_t delta = static_cast<int16_t>(static_cast<uint32_t>(wParam) >> 16);
    uint32_t keys = static_cast<uint32_t>(wParam) & 0xFFFF;
    PlatformPoint origin = {0, 0};
    if (!PlatformClientToScreen(window, &origin)) return 0;
    int32_t x =
        static_cast<int16_t>(static_cast<uint32_t>(lParam) & 0xFFFF) - origin.x + record->clientOffsetX;
    int32_t y = static_cast<int16_t>(static_cast<uint32_t>(lParam) >> 16) - origin.y + record->clientOffsetY;
    Control* c = HitTestControls(record, x, y);
    if (!c) return 0;
    bool scrolled = false;
    RowView v;
    if (ViewOf(c, &v)) {
        scrolled = ScrollView(record, c, v, RowsFor(delta, v.shown));
    } else if (c->kind == kindScrollBar) {
        scrolled = ScrollBarTurned(window, record, reinterpret_cast<ScrollBar*>(c), delta, keys);
    } else if (c->kind == kindEditField && c->editBuffer) {
        scrolled = ScrollWrappedRows(c, c->editBuffer, RowsFor(delta, 1)) != 0;
        if (scrolled) MarkForRedraw(c, record, redrawBits);
    }
    if (scrolled) RequestRepaint(window, repaintPending);
    return scrolled ? 1 : 0;
}
