// Random message storms through the dispatcher: mouse, keys, characters, input-method results, sizes,
// paints, commands and closes, into a window holding every control kind, while the lists' contents, flags and
// scroll state change under them the way an application would change them.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "fuzz/fuzz_input.h"
#include "toolkit/reset.h"
#include "util/dbcs_string.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/text_log.h"
#include "toolkit/controls/tree_list.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

namespace {

struct Storm : FuzzInput {
    int32_t Coordinate() { return static_cast<int32_t>(Half() % 800) - 100; }
};

} // namespace

static intptr_t StormProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    int32_t r = DispatchToolkitMessage(window, message, wParam, lParam);
    if (r == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static int32_t AskOnClose(WindowHandle window, WindowRecord*) {
    return PlatformMessageBox(window, "?", "storm", MB_YESNO) == IDNO ? 0 : 1;
}

static void Reset() {
    ResetToolkitState();
    HeadlessReset();
}
namespace {

struct Scene {
    Surface images[3];
    Panel panels[3];
    Picture pictures[4];
    Control editor; // a bare control typing into a plain buffer
    EditBuffer buffer;
    char text[24];
    Button buttons[2];
    ScrollBar bars[2];
    Label label;
    EditField field;
    char fieldText[16];
    TextLog log;
    ListBox list;
    ListBoxItem listItems[12];
    TreeList tree;
    TreeNode groups[4];
    TreeNode items[8];
    ScrollBar listBars[3]; // the log's, the list's and the tree's
    Button companions[2];  // shared by the three lists as up and down buttons
};

} // namespace

static const char* const nodeNames[] = {"", "a", "Zeta", "\xB0\xA1\xB3\xAA", "alpha", "\xC7\xD1 b"};

// Callbacks that change what they were given, as an application's would.
static uint32_t ClickStorm(WindowHandle, WindowRecord*, Control* c, uintptr_t userData, uint32_t, int32_t x,
                           int32_t) {
    Button* b = reinterpret_cast<Button*>(c);
    b->state ^= 8;
    b->captionX = x;
    return static_cast<uint32_t>(userData);
}

static void ReleaseStorm(WindowHandle, WindowRecord*, Control* c, uintptr_t, uint32_t keyState,
                         uint32_t range, uint32_t position) {
    ScrollBar* bar = reinterpret_cast<ScrollBar*>(c);
    bar->range = keyState & MK_SHIFT ? range / 3 : range * 2 + 1;
    bar->position = position + keyState; // may lie beyond the range until the next release
}

static Extent RandomExtent(Storm* in, uint32_t maxWidth, uint32_t maxHeight) {
    return {in->Coordinate() / 2, in->Coordinate() / 2, static_cast<int32_t>(in->Byte() % maxWidth),
            static_cast<int32_t>(in->Byte() % maxHeight)};
}

static void ReportNode(WindowHandle, WindowRecord*, Control* c, uint32_t keyState, TreeNode* node) {
    TreeList* tree = reinterpret_cast<TreeList*>(c);
    // An owner that reacts by changing the data: a rebuild, or a node unlisted.
    if (keyState & MK_SHIFT) BuildTreeListRows(tree, keyState);
    if (node && (keyState & MK_CONTROL)) node->flags ^= treeNodeListed;
}

// Fills the nodes and items with names, flags, icons and parents (some pointing at unlisted groups).
static void ShuffleListData(Scene* s, Storm* in) {
    for (TreeNode& g : s->groups) {
        g.flags = in->Byte() & (treeNodeListed | treeNodeExpanded | treeNodeHasItems);
        g.iconIndex = in->Byte() % 30;
        CopyString(nodeNames[in->Byte() % 6], g.name, treeGroupNameSize);
    }
    for (TreeNode& i : s->items) {
        i.parent = in->Byte() & 7 ? &s->groups[in->Byte() % 4] : nullptr;
        i.flags = in->Byte() & (treeNodeListed | treeNodePinned);
        i.iconIndex = in->Byte() % 30;
        CopyString(nodeNames[in->Byte() % 6], i.name, treeItemNameSize);
    }
    for (ListBoxItem& item : s->listItems) {
        item.flags = in->Byte() & (listBoxItemListed | listBoxItemSelected);
        item.iconIndex = in->Byte() % 40;
        CopyString(nodeNames[in->Byte() % 6], item.text, listBoxItemTextSize);
    }
}

static void BuildLists(Scene* s, WindowRecord* w, Storm* in, const uint32_t* flagPool) {
    Extent e = RandomExtent(in, 160, 120);
    InitTextLog(&s->log, &e,
                flagPool[in->Byte() % 10] | (in->Byte() & (textLogFrame | 1)) |
                    (in->Byte() & 1 ? textLogReadOnly : 0),
                nullptr, in->Byte() % 24, in->Byte() % 12);
    s->log.rowSpacing = in->Byte() % 12;
    s->log.header.onLeftDown = TextLogLeftDown;
    AddControl(&s->log.header, w, addOnTop);
    e = RandomExtent(in, 160, 120);
    InitListBox(&s->list, &e, nullptr,
                flagPool[in->Byte() % 10] | (in->Byte() & 1 ? listBoxFrame | listBoxInvertedFrame : 0) |
                    (in->Byte() & 1 ? listBoxSeparators : 0));
    s->list.rowSpacing = in->Byte() % 8;
    for (uint32_t i = 0; i < 3; i++) s->list.icons[i] = &s->images[i];
    AddControl(&s->list.header, w, addOnTop);
    e = RandomExtent(in, 160, 120);
    InitTreeList(&s->tree, &e, flagPool[in->Byte() % 10] | (in->Word() & 0xE00080), nullptr);
    s->tree.rowSpacing = in->Byte() % 10;
    s->tree.kindColumnWidth = in->Byte() % 20;
    s->tree.itemIndent = in->Byte() % 20;
    s->tree.textTop = in->Byte() % 8;
    for (uint32_t i = 0; i < 3; i++) {
        if (in->Byte() & 1) s->tree.expandIcons[i] = &s->images[i];
        s->tree.nodeIcons[i] = &s->images[i];
    }
    s->tree.groupIcon = in->Byte() & 1 ? &s->images[0] : nullptr;
    s->tree.onDoubleClick = ReportNode;
    s->tree.onRightClick = ReportNode;
    AddControl(&s->tree.header, w, addOnTop);
    ShuffleListData(s, in);
    SetListBoxItems(&s->list, s->listItems, sizeof(ListBoxItem), in->Byte() % 13);
    SetTreeListData(&s->tree, s->groups, sizeof(TreeNode), in->Byte() % 5, s->items, sizeof(TreeNode),
                    in->Byte() % 9);
    BuildTreeListRows(&s->tree, in->Byte());
    // The bars and buttons: each list gets its bar; the buttons go with one of them.
    ScrollBarCallback scrollTo[3] = {TextLogScrollTo, ListBoxScrollTo, TreeListScrollTo};
    ButtonClickHandler up[3] = {TextLogScrollUp, ListBoxScrollUp, TreeListScrollUp};
    ButtonClickHandler down[3] = {TextLogScrollDown, ListBoxScrollDown, TreeListScrollDown};
    Control* lists[3] = {&s->log.header, &s->list.header, &s->tree.header};
    uint32_t owner = in->Byte() % 3;
    for (uint32_t i = 0; i < 3; i++) {
        e = RandomExtent(in, 30, 120);
        InitScrollBar(&s->listBars[i], &e, 0, 0, scrollBarVertical | (in->Byte() & 1 ? scrollBarBevel : 0));
        s->listBars[i].onRelease = scrollTo[i];
        s->listBars[i].userData = reinterpret_cast<uintptr_t>(lists[i]);
        // Linked above or below its list.
        AddControl(&s->listBars[i].header, w, in->Byte() & 1 ? addOnTop : nullptr);
    }
    s->log.scrollBar = &s->listBars[0];
    s->list.scrollBar = &s->listBars[1];
    s->tree.scrollBar = in->Byte() & 1 ? &s->listBars[2] : nullptr;
    for (uint32_t i = 0; i < 2; i++) {
        e = RandomExtent(in, 30, 30);
        InitButton(&s->companions[i], &e, 0, 0xBFBFBF, nullptr, nullptr, nullptr, buttonBevel,
                   i == 0 ? up[owner] : down[owner]);
        s->companions[i].userData = reinterpret_cast<uintptr_t>(lists[owner]);
        AddControl(&s->companions[i].header, w, addOnTop);
    }
    Control** companions = owner == 0   ? s->log.companions
                           : owner == 1 ? s->list.companions
                                        : s->tree.companions;
    companions[0] = &s->companions[0].header;
    companions[1] = &s->companions[1].header;
}

// What an application does to its lists between messages.
static void ChangeLists(Scene* s, Storm* in, WindowRecord* w) {
    switch (in->Byte() % 8) {
    case 0:
        ShuffleListData(s, in);
        break;
    case 1:
        SetListBoxItems(&s->list, s->listItems, in->Byte() % 2 ? sizeof(ListBoxItem) : 0, in->Byte() % 13);
        break;
    case 2:
        SetTreeListData(&s->tree, s->groups, sizeof(TreeNode), in->Byte() % 5, s->items,
                        in->Byte() % 2 ? sizeof(TreeNode) : 0, in->Byte() % 9);
        break;
    case 3:
        BuildTreeListRows(&s->tree, in->Byte());
        break;
    case 4: {
        const char* text = nodeNames[in->Byte() % 6];
        AddTextLogLine(&s->log, in->Byte() & 1 ? uint32_t(appendLine) : in->Byte() % 14, text,
                       in->Byte() % 4);
        break;
    }
    case 5:
        DeleteTextLogLines(&s->log, in->Byte() % 12, in->Byte() % 12);
        break;
    case 6:
        s->log.firstRow = in->Word();
        s->list.firstRow = in->Word();
        s->tree.firstRow = in->Word();
        break;
    default:
        s->log.currentLine = in->Byte() % 14;
        s->tree.selectedNode = in->Byte() & 1 ? &s->items[in->Byte() % 8] : nullptr;
        break;
    }
    Control* lists[3] = {&s->log.header, &s->list.header, &s->tree.header};
    MarkForRedraw(lists[in->Byte() % 3], w, redrawBits);
}

static void Build(Scene* s, WindowRecord* w, Storm* in) {
    memset(static_cast<void*>(s), 0, sizeof *s);
    for (int i = 0; i < 3; i++) {
        CreateSurface(5 + i * 7, 4 + i * 9, &s->images[i], nullptr);
        Bounds all = {0, 0, s->images[i].width - 1, s->images[i].height - 1};
        DrawRect(&s->images[i], &all, 0xFF00FF * (i & 1) + 0x102030 * i, rectFill);
    }
    const uint32_t flagPool[] = {0,
                                 colourKeyed,
                                 hidden,
                                 ignoreMouse,
                                 followRight | stretchX,
                                 followBottom | stretchY,
                                 proportionalX,
                                 proportionalY | followBottom,
                                 takesFocus | captureOnLeft,
                                 captureOnRight};
    for (int i = 0; i < 3; i++) {
        Extent e = RandomExtent(in, 120, 120);
        InitPanel(&s->panels[i], &e, 0x00FF00 * i, 0xFFFFFF, 0, in->Byte() % 4,
                  flagPool[in->Byte() % 10] | (in->Byte() & 1 ? panelBevel : 0));
        s->panels[i].header.ratioX = in->Byte();
        AddControl(&s->panels[i].header, w, addOnTop);
    }
    for (int i = 0; i < 4; i++) {
        Extent e = RandomExtent(in, 100, 100);
        InitPicture(&s->pictures[i], &e, 0, flagPool[in->Byte() % 10] | (in->Byte() & 1 ? pictureTiled : 0));
        s->pictures[i].header.backgroundColour = 0xFF00FF;
        s->pictures[i].header.ratioY = in->Byte();
        for (int k = 0; k < 3; k++) s->pictures[i].images[k] = &s->images[k];
        AddControl(&s->pictures[i].header, w, in->Byte() & 1 ? addOnTop : nullptr);
    }
    s->buffer.text = s->text;
    s->buffer.capacity = sizeof s->text;
    s->buffer.flags = in->Byte() & 1;
    s->editor.flags = takesFocus | captureOnLeft;
    s->editor.editBuffer = &s->buffer;
    CreateSurface(30, 12, &s->editor.surface, nullptr);
    AddControl(&s->editor, w, addOnTop);
    w->focusControl = &s->editor;
    const char* captions[] = {nullptr, "OK", "\xC8\xAE\xC0\xCE", "&Cancel"};
    for (int i = 0; i < 2; i++) {
        Extent e = RandomExtent(in, 90, 40);
        Surface* images[6] = {&s->images[0], in->Byte() & 1 ? &s->images[1] : nullptr, &s->images[2]};
        InitButton(&s->buttons[i], &e, 0, 0xBFBFBF, nullptr, captions[in->Byte() % 4],
                   in->Byte() & 1 ? images : nullptr,
                   flagPool[in->Byte() % 10] | (in->Byte() & 1 ? buttonBevel : 0) |
                       (in->Byte() & 1 ? buttonNoFrame : 0),
                   ClickStorm);
        s->buttons[i].userData = in->Byte();
        AddControl(&s->buttons[i].header, w, addOnTop);
    }
    for (int i = 0; i < 2; i++) {
        Extent e = RandomExtent(in, 120, 120);
        ScrollBar* bar = &s->bars[i];
        InitScrollBar(bar, &e, in->Byte() & 1 ? in->Word() : in->Byte(), in->Word(),
                      flagPool[in->Byte() % 10] | (in->Byte() & 1 ? scrollBarVertical : 0) |
                          (in->Byte() & 1 ? scrollBarBevel : 0));
        bar->onRelease = ReleaseStorm;
        uint8_t skin = in->Byte();
        if (skin & 1) bar->trackImage = &s->images[0];
        if (skin & 2) bar->startImage = &s->images[1];
        if (skin & 4) bar->endImage = &s->images[2];
        if (skin & 8) bar->thumbImages[0] = &s->images[skin >> 6 < 3 ? skin >> 6 : 0];
        if (skin & 16) bar->thumbImages[1] = &s->images[1];
        AddControl(&bar->header, w, addOnTop);
    }
    Extent le = RandomExtent(in, 120, 60);
    Surface* icons[32] = {in->Byte() & 1 ? &s->images[2] : nullptr, &s->images[0], &s->images[1]};
    const uint32_t frames[] = {0, labelFrame, labelFrame | labelSunkenFrame, labelFrame | labelFlatFrame,
                               labelFrame | labelFlatFrame | labelSunkenFrame};
    InitLabel(&s->label, &le, 0, 0xBFBFBF, nullptr, "Storm \xC7\xD1\xB1\xDB label", icons,
              flagPool[in->Byte() % 10] | frames[in->Byte() % 5], 0);
    s->label.iconIndex = in->Byte() % 40;
    s->label.textInset = static_cast<int32_t>(in->Byte() % 40) - 8;
    AddControl(&s->label.header, w, addOnTop);
    Extent fe = RandomExtent(in, 120, 60);
    InitEditField(&s->field, &fe, flagPool[in->Byte() % 10] | (in->Byte() & 1 ? editFieldFrame : 0),
                  s->fieldText, sizeof s->fieldText);
    s->field.edit.flags |= in->Byte() & wrapText;
    s->field.edit.rowSpacing = static_cast<int32_t>(in->Byte() % 16) - 8;
    s->field.edit.backColour = in->Byte() & 1 ? 0xFFFFFFFFu : 0xFFFFFF;
    AddControl(&s->field.header, w, addOnTop);
    BuildLists(s, w, in, flagPool);
}

static void Release(Scene* s) {
    for (Surface& i : s->images) ReleaseSurface(&i);
    for (Picture& p : s->pictures) ReleaseSurface(&p.header.surface);
    ReleaseSurface(&s->editor.surface);
    for (Button& b : s->buttons) ReleaseSurface(&b.header.surface);
    for (ScrollBar& b : s->bars) ReleaseSurface(&b.header.surface);
    ReleaseSurface(&s->label.header.surface);
    ReleaseSurface(&s->field.header.surface);
    // A window that was destroyed has destroyed the log already; a second destroy finds nothing to free.
    DestroyControl(&s->log.header);
    ReleaseSurface(&s->list.header.surface);
    ReleaseSurface(&s->tree.header.surface);
    for (ScrollBar& b : s->listBars) ReleaseSurface(&b.header.surface);
    for (Button& b : s->companions) ReleaseSurface(&b.header.surface);
}

static void Storm1(Storm* in, WindowHandle h, Scene* scene) {
    static const uint32_t mouse[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,    WM_LBUTTONDBLCLK,
                                     WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_RBUTTONDBLCLK};
    WindowRecord* w = FindWindowRecord(h);
    uint32_t kind = in->Byte() % 13;
    switch (kind) {
    case 0:
    case 1: {
        uint32_t x = static_cast<uint32_t>(in->Coordinate()) & 0xFFFF,
                 y = static_cast<uint32_t>(in->Coordinate()) & 0xFFFF;
        PlatformPostMessage(h, mouse[in->Byte() % 7], in->Byte() & 0x1F, static_cast<LParam>(x | y << 16));
        break;
    }
    case 2:
        PlatformPostMessage(h, in->Byte() & 1 ? WM_KEYUP : WM_KEYDOWN, in->Byte(),
                            static_cast<LParam>(static_cast<uint32_t>(in->Byte()) << 24));
        break;
    case 3:
        PlatformPostMessage(h, WM_CHAR, in->Byte(), 1);
        break;
    case 4: {
        char bytes[8];
        int32_t count = static_cast<int32_t>(in->Byte() % 9) - 2;
        for (char& b : bytes) b = static_cast<char>(in->Byte());
        HeadlessSetImeString(GCS_RESULTSTR, bytes, count);
        PlatformPostMessage(h, WM_IME_COMPOSITION, in->Half(), in->Byte() & 1 ? GCS_RESULTSTR : in->Half());
        break;
    }
    case 5:
        HeadlessResizeWindow(h, static_cast<int32_t>(in->Half() % 900),
                             static_cast<int32_t>(in->Half() % 700));
        break;
    case 6:
        PlatformShowWindow(h, in->Byte() & 1 ? SW_MINIMIZE : SW_RESTORE);
        break;
    case 7:
        RequestRepaint(h, in->Byte());
        break;
    case 8: {
        WParam command = in->Byte() % 4;
        PlatformPostMessage(h, toolkitCommandMessage, command,
                            in->Byte() & 1 ? static_cast<LParam>(h) : in->Half());
        break;
    }
    case 9:
        HeadlessPushMessageBoxAnswer(in->Byte() & 1 ? IDYES : IDNO);
        PlatformPostMessage(h, WM_CLOSE, 0, 0);
        break;
    case 10:
        if (w && in->Byte() < 64) {
            CaretBlinkTick();
        } else if (w) {
            Control* c = in->Byte() & 1 ? &scene->pictures[in->Byte() % 4].header
                                        : &scene->panels[in->Byte() % 3].header;
            c->flags ^= (in->Byte() & 1) ? hidden : colourKeyed;
            scene->pictures[in->Byte() % 4].imageIndex = in->Byte() % 40;
            MarkForRedraw(c, w, redrawBits);
        }
        break;
    case 12:
        if (w) ChangeLists(scene, in, w);
        break;
    default:
        if (w) {
            Control* c = &scene->pictures[in->Byte() % 4].header;
            if (in->Byte() & 1) {
                RemoveControl(w, c);
            } else {
                AddControl(c, w, in->Byte() & 1 ? addOnTop : nullptr);
            }
        }
        break;
    }
    HeadlessPump();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Storm in = {{data, size}};
    Reset();
    HeadlessSetPixelFormat565(static_cast<int32_t>(in.Byte() & 1));
    PlatformRegisterClass("Storm_Class", StormProc, 0, 0, 0);
    Extent placement = {0, 0, 320, 240};
    WindowRecord* w = nullptr;
    uint32_t flags = clientSurface | mainWindow |
                     (in.Byte() & (resizableFrame | windowBevel | windowCaptureOnLeft | windowCaptureOnRight |
                                   popupWindow));
    WindowHandle h = CreateToolkitWindow(flags, "Storm_Class", "storm", &placement, 0, 0, &w);
    InitDisplay();
    if (!h) return 0;
    w->onClose = AskOnClose;
    static Scene scene;
    Build(&scene, w, &in);
    PlatformShowWindow(h, SW_SHOWNORMAL);
    for (int i = 0; i < 200 && in.size > 0; i++) Storm1(&in, h, &scene);
    if (HeadlessWindowExists(h)) PlatformDestroyWindow(h);
    HeadlessPump();
    Release(&scene);
    Reset();
    return 0;
}
