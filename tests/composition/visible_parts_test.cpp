// Random scenes of overlapping opaque, colour-keyed, hidden and window-drawn controls, changed, hidden,
// shown and moved between paints: after every paint the screen equals a plain full composition of the
// scene (background, then every shown control whole in slot order), and the paint wrote no more pixels
// than a full redraw of the same scene.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/composition.h"

enum : int32_t { sceneW = 96, sceneH = 72, keyColour = 0xFF00FF };

static intptr_t PaintingProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    WindowRecord* w = FindWindowRecord(window);
    if (w && PaintWindow(window, w, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static Surface tile;

static void PaintTile(WindowRecord* record) {
    Extent all = {0, 0, record->surface.width, record->surface.height};
    TileSurface(&record->surface, &tile, &all);
}

namespace {

struct Item {
    Picture picture = {};
    Panel panel = {};
    Surface image = {};
    bool isPanel = false;
    Control* control() { return isPanel ? &panel.header : &picture.header; }
};

class VisibleParts : public BothFormats {
  protected:
    WindowHandle h = 0;
    WindowRecord* w = nullptr;
    std::vector<Item> items = std::vector<Item>(40);
    int32_t count = 0;
    std::mt19937 random;

    void SetUp() override {
        BothFormats::SetUp();
        PlatformRegisterClass("Scene_Class", PaintingProc, 0, 0, 0);
        Extent placement = {0, 0, sceneW + 2 * headlessBorder, sceneH + 2 * headlessBorder + headlessCaption};
        h = CreateToolkitWindow(clientSurface, "Scene_Class", "s", &placement, 0, 0, &w);
        ASSERT_EQ(w->surface.width, sceneW);
        CreateSurface(8, 8, &tile, nullptr);
        for (int32_t y = 0; y < 8; y++) {
            Bounds row = {0, y, 7, y};
            DrawRect(&tile, &row, 0x102030u * static_cast<uint32_t>(y + 1), rectFill);
        }
        PlatformShowWindow(h, SW_SHOWNORMAL);
    }
    void TearDown() override {
        for (Item& i : items) {
            ReleaseSurface(&i.image);
            ReleaseSurface(&i.picture.header.surface);
        }
        ReleaseSurface(&tile);
        BothFormats::TearDown();
    }

    int32_t Between(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(random() % static_cast<uint32_t>(high - low + 1));
    }
    uint32_t Colour() { return random() & 0xF8FCF8u; }

    // A few rectangles of colour (and of the key, for keyed pictures) over the picture's image.
    void Scribble(Item& item) {
        Surface* s = &item.image;
        for (int32_t n = Between(1, 3); n > 0; n--) {
            Bounds r = {Between(0, s->width - 1), Between(0, s->height - 1), 0, 0};
            r.right = Between(r.left, s->width - 1);
            r.bottom = Between(r.top, s->height - 1);
            bool key = (item.picture.header.flags & colourKeyed) && random() % 3 == 0;
            DrawRect(s, &r, key ? static_cast<uint32_t>(keyColour) : Colour(), rectFill);
        }
    }

    void AddItem() {
        Item& item = items[count++];
        Extent e = {Between(-10, sceneW - 5), Between(-10, sceneH - 5), Between(4, 50), Between(4, 40)};
        if (random() % 8 == 0) {
            item.isPanel = true;
            InitPanel(&item.panel, &e, Colour(), 0xFFFFFF, 0, static_cast<uint32_t>(random() % 3),
                      random() % 2 ? panelBevel : 0);
        } else {
            uint32_t flags = random() % 3 == 0 ? colourKeyed : 0;
            InitPicture(&item.picture, &e, 0, flags);
            item.picture.header.backgroundColour = keyColour;
            CreateSurface(static_cast<uint32_t>(e.width), e.height, &item.image, nullptr);
            Bounds all = {0, 0, e.width - 1, e.height - 1};
            DrawRect(&item.image, &all, Colour(), rectFill);
            Scribble(item);
            item.picture.images[0] = &item.image;
        }
        if (random() % 6 == 0) item.control()->flags |= hidden;
        AddControl(item.control(), w, addOnTop);
    }

    // One change as the toolkit's users make them.
    void Change() {
        Item& item = items[random() % static_cast<uint32_t>(count)];
        Control* c = item.control();
        switch (random() % 5) {
        case 0:
            if (item.isPanel) {
                c->backgroundColour = Colour();
            } else {
                Scribble(item);
            }
            MarkForRedraw(c, w, redrawBits);
            break;
        case 1:
            c->flags ^= hidden;
            MarkForRedraw(c, w, redrawBits);
            break;
        case 2: {
            // What it leaves is rebuilt from beneath, as when it is hidden.
            Extent old = {c->x, c->y, c->surface.width, c->surface.height};
            MergeDirtyArea(w, &old, c, 1);
            c->x += Between(-12, 12);
            c->y += Between(-12, 12);
            MarkForRedraw(c, w, redrawBits);
            break;
        }
        case 3:
            if (item.isPanel) break;
            MarkForRedraw(c, w, redrawBits); // seen as it was, then as it is
            c->flags ^= colourKeyed;
            MarkForRedraw(c, w, redrawBits);
            break;
        default:
            MarkForRedraw(c, w, blitPending);
            break;
        }
    }

    // The scene composed plainly into a surface of its own.
    std::vector<uint16_t> FullComposition() {
        WindowRecord model = *w;
        memset(&model.surface, 0, sizeof model.surface);
        CreateSurface(sceneW, sceneH, &model.surface, nullptr);
        Bounds all = {0, 0, sceneW - 1, sceneH - 1};
        if (model.onPaintBackground) {
            model.onPaintBackground(&model);
        } else {
            DrawRect(&model.surface, &all, model.backgroundColour, rectFill);
        }
        for (int32_t i = 0; i < controlSlots; i++) {
            Control* c = w->controls[i];
            if (!c || (c->flags & (hidden | collapsed))) continue;
            if (c->flags & drawsOnWindow) {
                DrawPanel(&model, c);
            } else {
                BlitSurface(&c->surface, &model.surface, c->x, c->y, c->flags, c->backgroundColour);
            }
        }
        std::vector<uint16_t> pixels;
        for (int32_t y = 0; y < sceneH; y++)
            for (int32_t x = 0; x < sceneW; x++) pixels.push_back(PixelAt(model.surface, x, y));
        ReleaseSurface(&model.surface);
        return pixels;
    }

    // Pixels where the screen differs from the plain composition.
    int32_t Differences() {
        std::vector<uint16_t> want = FullComposition();
        int32_t bad = 0;
        for (int32_t y = 0; y < sceneH; y++)
            for (int32_t x = 0; x < sceneW; x++) bad += HeadlessScreenPixel(h, x, y) != want[y * sceneW + x];
        return bad;
    }

    uint64_t PaintPixels() {
        compositionStats = {};
        HeadlessPump();
        return compositionStats.pixelsWritten;
    }
};

} // namespace

TEST_P(VisibleParts, EveryPaintShowsTheFullCompositionAndWritesNoMoreThanAFullRedraw) {
    for (uint32_t scene = 0; scene < 40; scene++) {
        random.seed(scene * 7919u + (GetParam() ? 1u : 2u));
        for (Item& i : items) {
            ReleaseSurface(&i.image);
            ReleaseSurface(&i.picture.header.surface);
            memset(static_cast<void*>(&i.picture), 0, sizeof i.picture);
            i.isPanel = false;
        }
        memset(w->controls, 0, sizeof w->controls);
        w->controlCount = 0;
        count = 0;
        w->backgroundColour = Colour();
        w->onPaintBackground = scene % 3 == 0 ? PaintTile : nullptr;
        for (int32_t n = Between(1, 40); n > 0; n--) AddItem();
        RequestRepaint(h, repaintPending | fullRedraw);
        PaintPixels();
        ASSERT_EQ(Differences(), 0) << "scene " << scene << ", first paint";
        for (int32_t step = 0; step < 25; step++) {
            for (int32_t n = Between(1, 3); n > 0; n--) Change();
            RequestRepaint(h, repaintPending);
            uint64_t written = PaintPixels();
            ASSERT_EQ(Differences(), 0) << "scene " << scene << ", step " << step;
            RequestRepaint(h, repaintPending | fullRedraw);
            uint64_t full = PaintPixels();
            ASSERT_LE(written, full) << "scene " << scene << ", step " << step;
            ASSERT_EQ(Differences(), 0) << "scene " << scene << ", step " << step << ", full redraw";
        }
    }
}

VQ_BOTH_FORMATS(VisibleParts);
