#include <gtest/gtest.h>
#include <limits.h>

#include "tests/gfx/gfx_support.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/window_table.h"

class Draw : public BothFormats {};
VQ_BOTH_FORMATS(Draw);

static const uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, grey = 0xBFBFBF;
static uint16_t Px(uint32_t colour) {
    return static_cast<uint16_t>(ColourToPixel(colour));
}

TEST_P(Draw, LinesAreClippedToTheSurface) {
    struct Case {
        int32_t x, y;
        uint32_t length, flags;
    };
    const Case cases[] = {
        {2, 1, 5, 0},
        {2, 1, 4, 0},
        {0, 0, 9, 0},
        {-3, 2, 6, 0},
        {-3, 2, 3, 0},
        {5, 3, 100, 0},
        {-100, 4, UINT_MAX, 0},
        {9, 0, 1, 0},
        {9, 0, 0, 0},
        {2, -1, 5, 0},
        {2, 6, 5, 0},
        {10, 0, 5, 0},
        {1, 0, 6, lineVertical},
        {8, -2, 4, lineVertical},
        {3, 4, 50, lineVertical},
        {-1, 0, 6, lineVertical},
        {9, 5, 1, lineVertical},
        {4, 6, 2, lineVertical},
        {INT_MIN, INT_MIN, UINT_MAX, lineVertical},
    };
    for (const Case& c : cases) {
        TestSurface s(9, 6, 0x0101);
        PixelModel model(s);
        for (int64_t i = 0; i < static_cast<int64_t>(c.length) && i < 1000; ++i)
            if (c.flags & lineVertical)
                model.Put(c.x, c.y + i, Px(green));
            else
                model.Put(c.x + i, c.y, Px(green));
        DrawLine(&s.surface, c.x, c.y, c.length, green, c.flags);
        ExpectMatches(s, model, "line");
    }
}

TEST_P(Draw, RectanglesClampIntoTheSurface) {
    TestSurface dot(5, 5);
    Bounds origin = {0, 0, 0, 0};
    DrawRect(&dot.surface, &origin, red, 0);
    EXPECT_EQ(dot.At(0, 0), Px(red));
    EXPECT_EQ(dot.At(1, 0), 0);
    EXPECT_EQ(dot.At(0, 1), 0);

    TestSurface odd(7, 3, 0x0202);
    Bounds huge = {-100, -100, 100, 100};
    DrawRect(&odd.surface, &huge, grey, rectFill);
    EXPECT_EQ(odd.Pixels(), std::vector<uint16_t>(21, Px(grey)));
    EXPECT_TRUE(odd.SpareWordsIntact());

    // Wholly outside: painted along the nearest edge, not dropped.
    TestSurface edge(5, 4);
    Bounds below = {1, 10, 3, 12};
    DrawRect(&edge.surface, &below, blue, 0);
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(edge.At(x, 3), (x >= 1 && x <= 3) ? Px(blue) : 0) << x;
    EXPECT_EQ(edge.At(2, 2), 0);

    // Outlines and fills at every alignment and size, against the model.
    for (int32_t left = -1; left < 5; ++left)
        for (int32_t right = left; right < 9; ++right) {
            TestSurface s(7, 5, 0x0303);
            PixelModel outline(s), fill(s);
            Bounds b = {right, 1, left, 3}; // reversed on purpose
            for (int32_t x = left; x <= right; ++x)
                for (int32_t y = 1; y <= 3; ++y) {
                    int32_t cx = x < 0 ? 0 : (x > 6 ? 6 : x);
                    fill.Put(cx, y, Px(red));
                    if (x == left || x == right || y == 1 || y == 3) outline.Put(cx, y, Px(red));
                }
            DrawRect(&s.surface, &b, red, 0);
            ExpectMatches(s, outline, "outline");
            DrawRect(&s.surface, &b, red, rectFill);
            ExpectMatches(s, fill, "fill");
        }
}

TEST_P(Draw, BevelCornersFollowTheDrawingOrder) {
    const uint32_t a = 0x0000FF, b = 0x00FF00, c = 0xFF0000, d = 0x808080;
    TestSurface s(12, 12, 0x0404);
    Bounds box = {0, 0, 9, 9};
    DrawBevel(&s.surface, &box, a, b, c, d);
    EXPECT_EQ(s.At(0, 0), Px(c));
    EXPECT_EQ(s.At(9, 0), Px(c));
    EXPECT_EQ(s.At(0, 9), Px(d));
    EXPECT_EQ(s.At(9, 9), Px(b));
    EXPECT_EQ(s.At(0, 5), Px(a));
    EXPECT_EQ(s.At(9, 5), Px(b));
    EXPECT_EQ(s.At(5, 0), Px(c));
    EXPECT_EQ(s.At(5, 9), Px(d));
    EXPECT_EQ(s.At(5, 5), 0x0404);
    EXPECT_EQ(s.At(10, 10), 0x0404);

    // A thick bevel is nested one-pixel bevels; one that overhangs the surface is clamped into it.
    Bounds inner = {1, 1, 8, 8};
    DrawBevel(&s.surface, &inner, a, b, c, d);
    EXPECT_EQ(s.At(1, 1), Px(c));
    EXPECT_EQ(s.At(8, 8), Px(b));
    EXPECT_EQ(s.At(2, 2), 0x0404);
    Bounds overhang = {-5, 6, 20, 30};
    DrawBevel(&s.surface, &overhang, a, b, c, d);
    EXPECT_EQ(s.At(0, 6), Px(c));
    EXPECT_EQ(s.At(11, 6), Px(c));
    EXPECT_EQ(s.At(0, 11), Px(d));
    EXPECT_EQ(s.At(11, 11), Px(b));
    EXPECT_EQ(s.At(11, 8), Px(b));
}

// The tiles the documented loop would place, with an area that misses the surface drawing nothing.
static PixelModel ModelTiles(const TestSurface& destination, const TestSurface& tile, Extent area) {
    PixelModel model(destination);
    Bounds b;
    ExtentToBounds(&area, &b);
    int64_t w = destination.Width(), h = destination.Height();
    if (b.right < 0 || b.bottom < 0 || b.left >= w || b.top >= h) return model;
    int64_t right = b.right < w ? b.right : w - 1, bottom = b.bottom < h ? b.bottom : h - 1;
    // Columns and bands of tiles wholly left of or above the surface change nothing.
    int64_t top = b.top, left = b.left;
    if (top < 0) top += -top / tile.Height() * tile.Height();
    if (left < 0) left += -left / tile.Width() * tile.Width();
    for (int64_t y = top; y <= bottom; y += tile.Height())
        for (int64_t x = left; x <= right; x += tile.Width())
            model.Blit(tile, 0, 0, x, y, tile.Width(), tile.Height(), false, 0);
    return model;
}

TEST_P(Draw, TilesCoverTheAreaInWholeTiles) {
    TestSurface tile(16, 16);
    tile.Pattern(0x800);
    TestSurface s(100, 100, 0x0505);
    Extent area = {0, 0, 40, 20};
    TileSurface(&s.surface, &tile.surface, &area);
    ExpectMatches(s, ModelTiles(TestSurface(100, 100, 0x0505), tile, area), "documented area");

    const int32_t tiles[][2] = {{1, 1}, {3, 5}, {7, 2}, {16, 16}, {30, 4}};
    // Among them areas wholly left of or above the surface, with tiles wider than the gap: they draw nothing.
    const Extent areas[] = {{0, 0, 23, 17},
                            {-5, -7, 20, 20},
                            {-40, 3, 41, 4},
                            {4, -30, 5, 31},
                            {20, 2, 10, 100},
                            {3, 3, 0, 0},
                            {10, 10, -4, -4},
                            {-100, -100, 500, 500},
                            {-40, 0, 40, 5},
                            {0, -9, 5, 9},
                            {23, 0, 4, 4},
                            {0, 17, 4, 4},
                            {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                            {INT_MIN + 10, INT_MIN + 3, INT_MAX, INT_MAX}};
    for (auto& t : tiles) {
        TestSurface pattern(t[0], t[1]);
        pattern.Pattern(static_cast<uint16_t>(t[0] * 100 + t[1]));
        for (const Extent& a : areas) {
            TestSurface target(23, 17, 0x0606);
            PixelModel model = ModelTiles(target, pattern, a);
            TileSurface(&target.surface, &pattern.surface, &a);
            ExpectMatches(target, model, "tiles");
            if (HasFailure()) return;
        }
    }
}

struct SkinParts {
    TestSurface centre{3, 3}, top{4, 2}, left{2, 4}, right{2, 4}, bottom{4, 2};
    TestSurface topLeft{1, 1}, topRight{1, 1}, bottomLeft{1, 1}, bottomRight{1, 1};
    WindowSkin skin = {&centre.surface,   &top.surface,        &left.surface,
                       &right.surface,    &bottom.surface,     &topLeft.surface,
                       &topRight.surface, &bottomLeft.surface, &bottomRight.surface};
    SkinParts() {
        TestSurface* all[] = {&centre,  &top,      &left,       &right,      &bottom,
                              &topLeft, &topRight, &bottomLeft, &bottomRight};
        for (int32_t i = 0; i < 9; ++i)
            for (int32_t y = 0; y < all[i]->Height(); ++y)
                for (int32_t x = 0; x < all[i]->Width(); ++x)
                    all[i]->Set(x, y, static_cast<uint16_t>(0x100 * (i + 1)));
    }
};

TEST_P(Draw, SkinsPaintCentreEdgesThenCorners) {
    static WindowRecord window = {};
    TestSurface frame(11, 9, 0x0808);
    window.surface = frame.surface;
    window.backgroundColour = grey;
    SkinParts parts;
    PaintSkin(&window, &parts.skin);
    EXPECT_EQ(frame.At(5, 4), 0x100); // centre
    EXPECT_EQ(frame.At(5, 0), 0x200); // top edge
    EXPECT_EQ(frame.At(1, 1), 0x300); // left edge over the top edge
    EXPECT_EQ(frame.At(9, 1), 0x400); // right edge over the top edge
    EXPECT_EQ(frame.At(1, 7), 0x500); // bottom edge over the left edge
    EXPECT_EQ(frame.At(9, 8), 0x500); // bottom edge over the right edge
    EXPECT_EQ(frame.At(0, 0), 0x600); // corners last
    EXPECT_EQ(frame.At(10, 0), 0x700);
    EXPECT_EQ(frame.At(0, 8), 0x800);
    EXPECT_EQ(frame.At(10, 8), 0x900);
    EXPECT_TRUE(frame.SpareWordsIntact());

    // Without a centre, or with one that has no pixels, the background colour fills the surface.
    Surface emptyCentre = {};
    parts.skin.centre = &emptyCentre;
    parts.skin.topEdge = nullptr;
    PaintSkin(&window, &parts.skin);
    EXPECT_EQ(frame.At(5, 4), Px(grey));
    EXPECT_EQ(frame.At(5, 0), Px(grey));
    EXPECT_EQ(frame.At(1, 1), 0x300);
    PaintSkin(&window, nullptr);
    EXPECT_EQ(frame.Pixels(), std::vector<uint16_t>(99, Px(grey)));

    PaintSkin(nullptr, &parts.skin);
    window.surface = Surface{};
    PaintSkin(&window, &parts.skin);
}
