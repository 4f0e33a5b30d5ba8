// The list kinds and the gallery: a full layout and redraw of a list box of 1024 items showing 30 rows and of
// a tree list of 256 rows, one step of the list box's auto-scroll while a drag runs below it (the move, the
// redraw and the present of an 800 x 600 window), one notch of the wheel over the list box and one key step
// in it (the same redraw and present), and a paint of the whole gallery at 800 x 600; each against a memcpy
// of the same number of pixel bytes. Argument: 1 = 5-6-5, 0 = 5-5-5.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include "bench/page_memory.h"
#include "bench/ratios.h"
#include "gallery/gallery.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/mouse_wheel.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/tree_list.h"
#include "toolkit/gfx/text.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/reset.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

static const int32_t listWidth = 300, visibleRows = 30, windowWidth = 800, windowHeight = 600;

static void ResetAll(bool use565) {
    ResetToolkitState();
    HeadlessReset();
    HeadlessSetPixelFormat565(use565 ? 1 : 0);
}

static intptr_t Dispatching(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (DispatchToolkitMessage(window, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// An application's procedure that hands the wheel on.
static intptr_t WheelDispatching(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (DispatchToolkitMessage(window, message, wParam, lParam) == 0) return 0;
    if (message == WM_MOUSEWHEEL) {
        RouteMouseWheel(window, FindWindowRecord(window), message, wParam, lParam);
        return 0;
    }
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// A main window of exactly 800 × 600 client pixels on the headless backend.
static WindowHandle OpenWindow(bool use565, WindowRecord** record, const char* className = "Bench_Class") {
    ResetAll(use565);
    PlatformRegisterClass("Bench_Class", Dispatching, 0, 0, 0);
    PlatformRegisterClass("Bench_Wheel", WheelDispatching, 0, 0, 0);
    Extent placement = {0, 0, windowWidth, windowHeight};
    WindowHandle h = CreateToolkitWindow(popupWindow | mainWindow | clientSurface, className, "bench",
                                         &placement, 0, 0, record);
    InitDisplay();
    return h;
}
namespace {

// The gallery's node icons, 16 × 16.
struct Icons {
    Surface images[6] = {};
    Icons() {
        for (uint32_t i = 0; i < 6; i++) LoadBitmapSurface(artNode + i, &images[i], 0);
    }
    ~Icons() {
        for (Surface& s : images) ReleaseSurface(&s);
    }
};

// 1024 records with Korean and Latin text, an icon each, every fifth selected, separators; 30 rows fit.
struct BigList {
    std::vector<ListBoxItem> items = std::vector<ListBoxItem>(listBoxItems);
    ListBox list;
    BigList(Icons& icons, int32_t x, int32_t y) {
        for (uint32_t i = 0; i < listBoxItems; i++) {
            items[i].flags = listBoxItemListed | (i % 5 == 0 ? listBoxItemSelected : 0);
            items[i].iconIndex = i % 6;
            snprintf(items[i].text, sizeof items[i].text, "\xC7\xD7\xB8\xF1 %u item", i); // 항목
        }
        TextSize size = {};
        MeasureText(drawingWindow, nullptr, "    ", 4, &size);
        int32_t rowHeight = size.cy + 2;
        Extent e = {x, y, listWidth, 2 + visibleRows * rowHeight};
        InitListBox(&list, &e, nullptr, listBoxFrame | listBoxSeparators);
        list.header.backgroundColour = 0xFFFFFF;
        for (uint32_t i = 0; i < 6; i++) list.icons[i] = &icons.images[i];
        SetListBoxItems(&list, items.data(), sizeof(ListBoxItem), listBoxItems);
    }
};

} // namespace

// The list beside its scroll bar in the window, shown and painted once.
static void ShowWithBar(WindowHandle h, WindowRecord* w, BigList* big, ScrollBar* bar) {
    Extent barAt = {10 + listWidth, 10, 16, big->list.header.surface.height};
    InitScrollBar(bar, &barAt, 0, 0, scrollBarVertical | scrollBarBevel);
    big->list.scrollBar = bar;
    AddControl(&big->list.header, w, addOnTop);
    AddControl(&bar->header, w, addOnTop);
    PlatformShowWindow(h, SW_SHOWNORMAL);
    HeadlessPump();
}

static void BM_DrawListBox1024(benchmark::State& state) {
    WindowRecord* w = nullptr;
    OpenWindow(state.range(0) != 0, &w);
    Icons icons;
    BigList big(icons, 0, 0);
    big.list.firstRow = 400;
    for (auto _ : state) {
        LayOutListBox(w, &big.list.header);
        DrawListBox(w, &big.list.header);
        benchmark::ClobberMemory();
    }
    state.counters["rows"] = big.list.visibleRows;
    state.counters["pixel_bytes"] = 2.0 * big.list.header.surface.width * big.list.header.surface.height;
    DestroyControl(&big.list.header);
    ResetAll(true);
}
BENCHMARK(BM_DrawListBox1024)->Arg(1)->Arg(0);

// 128 expanded groups of one item each: 256 rows, 30 of them on screen, with kind, expander and node icons
// and the selected row's name highlighted.
static void BM_DrawTreeList256(benchmark::State& state) {
    WindowRecord* w = nullptr;
    OpenWindow(state.range(0) != 0, &w);
    Icons icons;
    std::vector<TreeNode> groups(treeListGroups), items(treeListItems);
    for (uint32_t i = 0; i < treeListGroups; i++) {
        groups[i].flags = treeNodeListed | treeNodeExpanded;
        groups[i].iconIndex = i % 6;
        snprintf(groups[i].name, sizeof groups[i].name, "\xB1\xD7\xB7\xEC %u group", i); // 그룹
        items[i].parent = &groups[i];
        items[i].flags = treeNodeListed;
        items[i].iconIndex = (i + 3) % 6;
        snprintf(items[i].name, sizeof items[i].name, "\xC7\xD7\xB8\xF1 %u item", i);
    }
    TextSize size = {};
    MeasureText(drawingWindow, nullptr, "    ", 4, &size);
    Extent e = {0, 0, listWidth, 2 + visibleRows * (size.cy + 5)};
    static TreeList tree;
    InitTreeList(&tree, &e, treeListFrame, nullptr);
    tree.rowSpacing = 5;
    tree.kindColumnWidth = 18;
    tree.itemIndent = 12;
    tree.groupIcon = tree.itemIcon = &icons.images[0];
    for (uint32_t i = 0; i < 3; i++) tree.expandIcons[i] = &icons.images[i];
    for (uint32_t i = 0; i < 6; i++) tree.nodeIcons[i] = &icons.images[i];
    SetTreeListData(&tree, groups.data(), sizeof(TreeNode), treeListGroups, items.data(), sizeof(TreeNode),
                    treeListItems);
    BuildTreeListRows(&tree, treeBuildSortByName);
    tree.firstRow = 100;
    tree.selectedNode = &items[55];
    for (auto _ : state) {
        LayOutTreeList(w, &tree.header);
        DrawTreeList(w, &tree.header);
        benchmark::ClobberMemory();
    }
    state.counters["rows"] = tree.rowCount;
    state.counters["pixel_bytes"] = 2.0 * tree.header.surface.width * tree.header.surface.height;
    DestroyControl(&tree.header);
    ResetAll(true);
}
BENCHMARK(BM_DrawTreeList256)->Arg(1)->Arg(0);

// The drag has pressed on the list and runs below it: each move scrolls one row in, selects it, and the
// paint redraws the list and its scroll bar and presents the window.
static void BM_ListBoxDragStep(benchmark::State& state) {
    WindowRecord* w = nullptr;
    WindowHandle h = OpenWindow(state.range(0) != 0, &w);
    Icons icons;
    BigList big(icons, 10, 10);
    ScrollBar bar;
    ShowWithBar(h, w, &big, &bar);
    auto at = [](int32_t x, int32_t y) { return static_cast<LParam>(x | y << 16); };
    PlatformPostMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, at(50, 20));
    HeadlessPump();
    const LParam below = at(50, 20 + big.list.header.surface.height);
    uint32_t steps = 0;
    for (auto _ : state) {
        if (big.list.firstRow + big.list.visibleRows >= listBoxItems) big.list.firstRow = 0;
        PlatformPostMessage(h, WM_MOUSEMOVE, MK_LBUTTON, below);
        HeadlessPump();
        steps++;
    }
    benchmark::DoNotOptimize(HeadlessScreenPixel(h, 50, 50));
    state.counters["presents"] = static_cast<double>(HeadlessPresentCount(h)) / (steps + 2);
    PlatformDestroyWindow(h);
    ResetAll(true);
}
BENCHMARK(BM_ListBoxDragStep)->Arg(1)->Arg(0);

// The pointer rests on the list: each notch of the wheel scrolls it three rows, and the paint redraws the
// list and its scroll bar and presents the window.
static void BM_ListBoxWheelNotch(benchmark::State& state) {
    WindowRecord* w = nullptr;
    WindowHandle h = OpenWindow(state.range(0) != 0, &w, "Bench_Wheel");
    Icons icons;
    BigList big(icons, 10, 10);
    ScrollBar bar;
    ShowWithBar(h, w, &big, &bar);
    PlatformPoint on = {50, 50};
    PlatformClientToScreen(h, &on);
    const LParam at = static_cast<LParam>(on.x | on.y << 16);
    const WParam towardsUser = static_cast<WParam>(static_cast<uint16_t>(-wheelDelta)) << 16;
    uint32_t notches = 0;
    for (auto _ : state) {
        if (big.list.firstRow + big.list.visibleRows >= listBoxItems) big.list.firstRow = 0;
        PlatformPostMessage(h, WM_MOUSEWHEEL, towardsUser, at);
        HeadlessPump();
        notches++;
    }
    benchmark::DoNotOptimize(HeadlessScreenPixel(h, 50, 50));
    state.counters["presents"] = static_cast<double>(HeadlessPresentCount(h)) / (notches + 1);
    PlatformDestroyWindow(h);
    ResetAll(true);
}
BENCHMARK(BM_ListBoxWheelNotch)->Arg(1)->Arg(0);

// One key step in a list of 1024 items with the keyboard (0 Down, 1 Page Down, 2 a typed ㅎ finding the next
// item): the key, the redraw of the list and its scroll bar, and the present of the 800 x 600 window.
static void BM_ListBoxKeyStep(benchmark::State& state) {
    WindowRecord* w = nullptr;
    WindowHandle h = OpenWindow(true, &w);
    Icons icons;
    BigList big(icons, 10, 10);
    big.list.header.flags |= takesFocus | offersCharacters;
    big.list.header.onKey = ListBoxKey;
    ScrollBar bar;
    ShowWithBar(h, w, &big, &bar);
    w->focusControl = &big.list.header;
    const uint32_t message = state.range(0) == 2 ? WM_IME_COMPOSITION : WM_KEYDOWN;
    const WParam keys[3] = {vkDown, vkNext, 0xA4BE}; // ㅎ
    const WParam key = keys[state.range(0)];
    const LParam data = state.range(0) == 2 ? static_cast<LParam>(GCS_COMPSTR) : 1;
    for (auto _ : state) {
        if (big.list.currentItem == big.list.items[listBoxItems - 1]) big.list.currentItem = nullptr;
        big.list.typedCount = 0; // each typed key starts a search of its own
        PlatformPostMessage(h, message, key, data);
        HeadlessPump();
    }
    benchmark::DoNotOptimize(HeadlessScreenPixel(h, 50, 50));
    PlatformDestroyWindow(h);
    ResetAll(true);
}
BENCHMARK(BM_ListBoxKeyStep)->Arg(0)->Arg(1)->Arg(2);

// The gallery as it starts, on a client area of 800 × 600: every control redrawn, composed and presented.
static void BM_GalleryPaint(benchmark::State& state) {
    WindowRecord* w = nullptr;
    memset(static_cast<void*>(&gallery), 0, sizeof gallery);
    ResetAll(state.range(0) != 0);
    PlatformRegisterClass(galleryClassName, GalleryWindowProc, 0, 0, 0);
    Extent placement = {0, 0, windowWidth, windowHeight};
    WindowHandle h = CreateToolkitWindow(popupWindow | mainWindow | clientSurface, galleryClassName,
                                         galleryTitle, &placement, 0, 0, &w);
    InitDisplay();
    BuildGallery(h, w);
    PlatformShowWindow(h, SW_SHOWNORMAL);
    HeadlessPump();
    for (auto _ : state) {
        for (Control* c : w->controls) {
            if (c) c->flags |= redrawBits;
        }
        RequestRepaint(h, repaintPending | fullRedraw);
        HeadlessPump();
    }
    benchmark::DoNotOptimize(HeadlessScreenPixel(h, 400, 300));
    PlatformDestroyWindow(h);
    ReleaseGalleryArt();
    ResetAll(true);
}
BENCHMARK(BM_GalleryPaint)->Arg(1)->Arg(0);

// The references: copying as many bytes as the drawn pixels (a 300 × 512 list, a 300 × 602 tree, the
// 800 × 600 window).
static void BM_ListPixelsMemcpy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0));
    PageMemory from(bytes, 64), to(bytes, 64 + 2048);
    memset(from.at, 1, bytes);
    for (auto _ : state) {
        memcpy(to.at, from.at, bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ListPixelsMemcpy)->Arg(300 * 512 * 2)->Arg(300 * 602 * 2)->Arg(800 * 600 * 2);

// Each figure as a ratio to the memcpy of its pixels, for information; the two aims as time limits: an
// auto-scroll step under 150 us and a whole-gallery paint under 1 ms.
VQ_INFO_RATIO("lists: list box 300x512, 1024 items, 30 rows, 5-6-5 vs memcpy", "BM_DrawListBox1024/1",
              "BM_ListPixelsMemcpy/307200");
VQ_INFO_RATIO("lists: tree list 300x602, 256 rows, 5-6-5 vs memcpy", "BM_DrawTreeList256/1",
              "BM_ListPixelsMemcpy/361200");
VQ_INFO_RATIO("lists: list box drag step (move, redraw, present 800x600) vs memcpy", "BM_ListBoxDragStep/1",
              "BM_ListPixelsMemcpy/960000");
VQ_INFO_RATIO("lists: list box wheel notch (3 rows, redraw, present 800x600) vs memcpy",
              "BM_ListBoxWheelNotch/1", "BM_ListPixelsMemcpy/960000");
VQ_INFO_RATIO("lists: whole gallery paint 800x600, 5-6-5 vs memcpy of the window", "BM_GalleryPaint/1",
              "BM_ListPixelsMemcpy/960000");
VQ_INFO_RATIO("lists: list box key step Down (key, redraw, present 800x600) vs memcpy", "BM_ListBoxKeyStep/0",
              "BM_ListPixelsMemcpy/960000");
VQ_INFO_RATIO("lists: list box key step Page Down vs memcpy", "BM_ListBoxKeyStep/1",
              "BM_ListPixelsMemcpy/960000");
VQ_INFO_RATIO("lists: list box key step type-ahead by initial vs memcpy", "BM_ListBoxKeyStep/2",
              "BM_ListPixelsMemcpy/960000");
VQ_TIME_LIMIT("lists: list box key step Down", "BM_ListBoxKeyStep/0", 150000);
VQ_TIME_LIMIT("lists: list box key step Page Down", "BM_ListBoxKeyStep/1", 150000);
VQ_TIME_LIMIT("lists: list box key step type-ahead", "BM_ListBoxKeyStep/2", 150000);
VQ_TIME_LIMIT("lists: list box drag step, 5-6-5", "BM_ListBoxDragStep/1", 150000);
VQ_TIME_LIMIT("lists: list box drag step, 5-5-5", "BM_ListBoxDragStep/0", 150000);
VQ_TIME_LIMIT("lists: list box wheel notch, 5-6-5", "BM_ListBoxWheelNotch/1", 150000);
VQ_TIME_LIMIT("lists: list box wheel notch, 5-5-5", "BM_ListBoxWheelNotch/0", 150000);
VQ_TIME_LIMIT("lists: whole gallery paint 800x600, 5-6-5", "BM_GalleryPaint/1", 1000000);
VQ_TIME_LIMIT("lists: whole gallery paint 800x600, 5-5-5", "BM_GalleryPaint/0", 1000000);
