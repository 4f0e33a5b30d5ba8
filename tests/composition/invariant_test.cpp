// The lazy composition's promise: whatever was marked and painted, the screen equals a full redraw of the
// same scene. Random scenes of opaque, colour-keyed, tiled, hidden and overlapping controls (some sticking
// out of the window), a list box and a text log whose scroll bars and companions lie below or above them, go
// through random
// marks and paints; a twin window gets the same changes but always redraws everything, and after each paint
// the two screens must match pixel for pixel. Each change costs the lazy window one paint.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/text_log.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

enum : int32_t { windowWidth = 100, windowHeight = 80, sceneControls = 12, images = 4, listItems = 12 };

static intptr_t SceneProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (DispatchToolkitMessage(window, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

// A window holding one copy of the scene: pictures, panels that draw on the window itself, and a list box
// and a text log (two of the controls) with their scroll bars; the list's companions are two pictures.
namespace {

struct Scene {
    WindowHandle handle;
    WindowRecord* record;
    Picture pictures[sceneControls];
    Panel panels[sceneControls];
    Control* controls[sceneControls];
    ListBox list;
    ListBoxItem items[listItems];
    TextLog log;
    ScrollBar bars[2];
};

class CompositionInvariant : public BothFormats {
  protected:
    Surface art[images] = {};
    Scene lazy = {}, full = {};

    void SetUp() override {
        BothFormats::SetUp();
        PlatformRegisterClass("Scene_Class", SceneProc, 0, 0, 0);
        // Each picture has a colour, a stripe of another and a magenta hole for the colour key.
        const uint32_t colours[images] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
        for (int32_t i = 0; i < images; i++) {
            CreateSurface(16 + 8 * i, 12 + 6 * i, &art[i], nullptr);
            Bounds all = {0, 0, art[i].width - 1, art[i].height - 1}, stripe = {0, 2, art[i].width - 1, 4},
                   hole = {3, 6, 3 + 4 * i, 9 + i};
            DrawRect(&art[i], &all, colours[i], rectFill);
            DrawRect(&art[i], &stripe, colours[(i + 1) % images], rectFill);
            DrawRect(&art[i], &hole, 0xFF00FF, rectFill);
        }
    }
    void TearDown() override {
        for (Scene* s : {&lazy, &full}) {
            for (Picture& p : s->pictures) ReleaseSurface(&p.header.surface);
            ReleaseSurface(&s->list.header.surface);
            ReleaseSurface(&s->log.header.surface);
            FreeTextLogLines(&s->log);
            for (ScrollBar& b : s->bars) ReleaseSurface(&b.header.surface);
        }
        for (Surface& s : art) ReleaseSurface(&s);
        BothFormats::TearDown();
    }

    void Build(Scene* s, std::mt19937 random) {
        Extent placement = {0, 0, windowWidth + 2 * headlessBorder,
                            windowHeight + 2 * headlessBorder + headlessCaption};
        s->handle = CreateToolkitWindow(clientSurface, "Scene_Class", "scene", &placement, 0, 0, &s->record);
        ASSERT_EQ(s->record->surface.width, windowWidth);
        s->record->backgroundColour = 0x808080;
        for (int32_t i = 0; i < sceneControls; i++) {
            auto pick = [&](int32_t low, int32_t high) {
                return std::uniform_int_distribution<int32_t>(low, high)(random);
            };
            Extent e = {pick(-20, windowWidth), pick(-20, windowHeight), pick(1, 50), pick(1, 45)};
            uint32_t flags = pick(0, 3) == 0 ? uint32_t(hidden) : 0;
            bool list = i == sceneControls / 2, log = i == sceneControls / 3;
            if (list || log) {
                Extent b = {pick(-10, windowWidth), pick(-10, windowHeight), pick(2, 16), pick(8, 60)};
                InitScrollBar(&s->bars[log], &b, 0, 0, scrollBarVertical);
                AddControl(&s->bars[log].header, s->record, pick(0, 1) ? addOnTop : nullptr);
            }
            if (log) {
                InitTextLog(&s->log, &e, flags | textLogFrame, nullptr, 8, listItems);
                s->log.scrollBar = &s->bars[1];
                s->controls[i] = &s->log.header;
            } else if (list) {
                InitListBox(&s->list, &e, nullptr, flags | listBoxFrame);
                for (int32_t k = 0; k < listItems; k++) s->items[k] = {0, listBoxItemListed, 0, "row"};
                SetListBoxItems(&s->list, s->items, sizeof(ListBoxItem), static_cast<uint32_t>(pick(0, 12)));
                s->list.scrollBar = &s->bars[0];
                s->list.companions[0] = &s->pictures[0].header;
                s->list.companions[1] = &s->pictures[sceneControls - 1].header;
                s->controls[i] = &s->list.header;
            } else if (pick(0, 4) == 0 && i != 0 && i != sceneControls - 1) {
                InitPanel(&s->panels[i], &e, 0x203040 + 0x101010 * static_cast<uint32_t>(pick(0, 8)),
                          0xFFFFFF, 0x000000, static_cast<uint32_t>(pick(0, 2)),
                          flags | (pick(0, 1) ? panelBevel : 0));
                s->controls[i] = &s->panels[i].header;
            } else {
                flags |= (pick(0, 1) ? colourKeyed : 0) | (pick(0, 2) == 0 ? pictureTiled : 0);
                Picture* p = &s->pictures[i];
                InitPicture(p, &e, 0, flags);
                p->header.backgroundColour = flags & colourKeyed ? 0xFF00FF : 0xBFBFBF;
                for (int32_t k = 0; k < images; k++) p->images[k] = &art[k];
                p->imageIndex = static_cast<uint32_t>(pick(0, images)); // images: the background only
                s->controls[i] = &p->header;
            }
            AddControl(s->controls[i], s->record, addOnTop);
        }
        PlatformShowWindow(s->handle, SW_SHOWNORMAL);
    }

    // One change to control i of both scenes; what it changes is the same, only the paints differ.
    void Change(int32_t i, int32_t what, uint32_t value) {
        for (Scene* s : {&lazy, &full}) {
            Control* c = s->controls[i];
            // The list's companions are shown and hidden by the list alone.
            bool companion = c == s->list.companions[0] || c == s->list.companions[1];
            if (what == 0 && !companion) c->flags ^= hidden;
            if (what == 1 && c->kind == kindListBox) {
                SetListBoxItems(&s->list, s->items, sizeof(ListBoxItem), value % (listItems + 1));
                s->list.firstRow = value / 16 % listItems;
            }
            if (what == 1 && c->kind == kindTextLog) {
                ResetTextLog(&s->log);
                for (uint32_t k = value % listItems; k > 0; k--)
                    AddTextLogLine(&s->log, appendLine, "line", 0);
                s->log.firstRow = value / 16 % listItems;
            }
            if (what == 1 && c->kind == kindPicture)
                reinterpret_cast<Picture*>(c)->imageIndex = value % (images + 1);
            if (what == 1 && c->kind == kindPanel) c->backgroundColour = 0x102030 * (value % 7 + 1);
            MarkForRedraw(c, s->record, redrawBits);
        }
    }

    // Returns the paints the lazy window took.
    uint32_t PaintBoth() {
        uint32_t paints = compositionStats.paints;
        RequestRepaint(lazy.handle, repaintPending);
        HeadlessPump();
        paints = compositionStats.paints - paints;
        for (Control* c : full.controls) c->flags |= contentDirty;
        RequestRepaint(full.handle, repaintPending | fullRedraw);
        HeadlessPump();
        return paints;
    }

    // The first differing pixel, or -1.
    int32_t Difference() {
        for (int32_t y = 0; y < windowHeight; y++) {
            for (int32_t x = 0; x < windowWidth; x++) {
                if (HeadlessScreenPixel(lazy.handle, x, y) != HeadlessScreenPixel(full.handle, x, y))
                    return y * windowWidth + x;
            }
        }
        return -1;
    }
};

} // namespace

TEST_P(CompositionInvariant, EveryPaintEqualsAFullRedraw) {
    for (uint32_t seed = 1; seed <= 150; seed++) {
        std::mt19937 random(seed);
        Build(&lazy, random);
        Build(&full, random);
        PaintBoth();
        ASSERT_EQ(Difference(), -1) << "first paint, seed " << seed;
        for (int32_t step = 0; step < 24; step++) {
            int32_t marks = std::uniform_int_distribution<int32_t>(1, 3)(random);
            for (int32_t m = 0; m < marks; m++) {
                Change(std::uniform_int_distribution<int32_t>(0, sceneControls - 1)(random),
                       std::uniform_int_distribution<int32_t>(0, 2)(random) == 0 ? 0 : 1,
                       static_cast<uint32_t>(random()));
            }
            ASSERT_EQ(PaintBoth(), 1u) << "seed " << seed << ", step " << step;
            int32_t at = Difference();
            ASSERT_EQ(at, -1) << "seed " << seed << ", step " << step << ": first difference at ("
                              << at % windowWidth << ", " << at / windowWidth << ")";
        }
        for (Scene* s : {&lazy, &full}) {
            PlatformDestroyWindow(s->handle);
            HeadlessPump();
        }
    }
}

VQ_BOTH_FORMATS(CompositionInvariant);
