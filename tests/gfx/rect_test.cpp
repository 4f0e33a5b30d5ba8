#include <gtest/gtest.h>
#include <limits.h>

#include <random>
#include <vector>

#include "toolkit/gfx/rect.h"

static bool Same(const Bounds& a, const Bounds& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static bool Same(const Extent& a, const Extent& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(Rect, ExtentAndBoundsConvertBothWays) {
    // A zero width spans two columns, negative sizes come out normalised, edges past the 32-bit range wrap.
    const struct {
        Extent e;
        Bounds b;
    } toBounds[] = {{{10, 20, 5, 3}, {10, 20, 14, 22}},
                    {{10, 20, 0, 3}, {9, 20, 10, 22}},
                    {{10, 20, -5, -1}, {4, 18, 10, 20}},
                    {{INT_MAX, INT_MIN, 2, 1}, {INT_MIN, INT_MIN, INT_MAX, INT_MIN}}};
    for (const auto& c : toBounds) {
        Extent source = c.e;
        Bounds b;
        ExtentToBounds(&source, &b);
        EXPECT_TRUE(Same(b, c.b)) << c.e.x << "," << c.e.width;
        EXPECT_TRUE(Same(source, c.e)) << "the source is left alone";
    }
    const struct {
        Bounds b;
        Extent e;
    } toExtent[] = {{{14, 22, 10, 20}, {10, 20, 5, 3}},
                    {{7, 7, 7, 7}, {7, 7, 1, 1}},
                    {{INT_MIN, 0, INT_MAX, 0}, {INT_MIN, 0, 0, 1}}};
    for (const auto& c : toExtent) {
        Extent e;
        BoundsToExtent(&c.b, &e);
        EXPECT_TRUE(Same(e, c.e)) << c.b.left << "," << c.b.right;
    }
}

TEST(Rect, NormaliseOrdersEachPair) {
    Bounds b = {5, 9, 1, 2}, n;
    NormaliseBounds(&b, &n);
    EXPECT_TRUE(Same(n, {1, 2, 5, 9}));
    NormaliseBounds(&n, &n);
    EXPECT_TRUE(Same(n, {1, 2, 5, 9}));
}

// Clamped, not intersected: a rectangle outside collapses onto the nearest edge or corner.
TEST(Rect, ClampKeepsTheRectangleInsideTheClip) {
    const Bounds clip = {0, 0, 99, 49};
    const Bounds cases[][2] = {{{-10, -10, 200, 20}, {0, 0, 99, 20}},
                               {{150, 60, 160, 70}, {99, 49, 99, 49}},
                               {{-50, 10, -40, 20}, {0, 10, 0, 20}},
                               {{200, 20, -10, -10}, {0, 0, 99, 20}},
                               {{3, 4, 5, 6}, {3, 4, 5, 6}}};
    for (const auto& c : cases) {
        Bounds r, same = c[0];
        ClampBounds(&clip, &c[0], &r);
        ClampBounds(&clip, &same, &same);
        EXPECT_TRUE(Same(r, c[1]) && Same(same, c[1])) << c[0].left << "," << c[0].top;
    }
}

// What is left of a rectangle beneath others: disjoint parts holding exactly the pixels no cover holds,
// checked pixel by pixel on random scenes; too many parts to list is said, not cut short.
TEST(Rect, UncoveredPartsHoldExactlyTheUncoveredPixels) {
    std::mt19937 random(11);
    auto span = [&](int32_t limit) { return static_cast<int32_t>(random() % static_cast<uint32_t>(limit)); };
    for (int32_t scene = 0; scene < 500; scene++) {
        Bounds r = {span(20), span(20), 0, 0};
        r.right = r.left + span(30);
        r.bottom = r.top + span(30);
        std::vector<Bounds> covers(static_cast<size_t>(span(12)));
        for (Bounds& c : covers) {
            c = {span(50) - 5, span(50) - 5, 0, 0};
            c.right = c.left + span(25);
            c.bottom = c.top + span(25);
        }
        Bounds parts[maxUncoveredParts];
        int32_t count = UncoveredParts(&r, covers.data(), static_cast<int32_t>(covers.size()), parts);
        ASSERT_GE(count, 0) << scene;
        for (int32_t y = -5; y < 60; y++)
            for (int32_t x = -5; x < 60; x++) {
                bool covered = false;
                for (const Bounds& c : covers)
                    covered |= c.left <= x && x <= c.right && c.top <= y && y <= c.bottom;
                bool wanted = r.left <= x && x <= r.right && r.top <= y && y <= r.bottom && !covered;
                int32_t holders = 0;
                for (int32_t i = 0; i < count; i++)
                    holders += parts[i].left <= x && x <= parts[i].right && parts[i].top <= y &&
                               y <= parts[i].bottom;
                ASSERT_EQ(holders, wanted ? 1 : 0) << "scene " << scene << " at " << x << "," << y;
            }
    }
    // A comb of thin covers leaves more teeth than the list has room for.
    Bounds wide = {0, 0, 299, 0};
    std::vector<Bounds> comb;
    for (int32_t x = 1; x < 300; x += 2) comb.push_back({x, 0, x, 0});
    Bounds parts[maxUncoveredParts];
    EXPECT_EQ(UncoveredParts(&wide, comb.data(), static_cast<int32_t>(comb.size()), parts), -1);
}
