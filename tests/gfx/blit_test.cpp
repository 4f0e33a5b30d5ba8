#include <gtest/gtest.h>

#include "tests/gfx/gfx_support.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/pixel_rows.h"

class Blit : public BothFormats {};
VQ_BOTH_FORMATS(Blit);

TEST_P(Blit, WholeSurfaceCopyClipsAtEveryEdge) {
    // Every placement from wholly left/above to wholly right/below, odd and even widths on both sides.
    const int32_t sizes[][2] = {{1, 1}, {3, 2}, {7, 5}, {10, 10}, {13, 3}};
    const int32_t targets[][2] = {{1, 1}, {5, 5}, {10, 12}, {17, 9}};
    for (auto& s : sizes)
        for (auto& t : targets) {
            TestSurface from(s[0], s[1]);
            from.Pattern(static_cast<uint16_t>(s[0] * 31 + s[1]));
            for (int32_t y = -s[1] - 1; y <= t[1] + 1; ++y)
                for (int32_t x = -s[0] - 1; x <= t[0] + 1; ++x) {
                    TestSurface to(t[0], t[1], 0x5555);
                    PixelModel model(to);
                    model.Blit(from, 0, 0, x, y, s[0], s[1], false, 0);
                    BlitSurface(&from.surface, &to.surface, x, y, 0, 0);
                    ExpectMatches(to, model, "plain blit");
                    if (HasFailure()) return;
                }
        }
}

TEST_P(Blit, ColourKeyLeavesKeyedPixelsAlone) {
    const uint32_t magenta = 0xFF00FF;
    const uint16_t key = static_cast<uint16_t>(ColourToPixel(magenta));
    EXPECT_EQ(key, GetParam() ? 0xF81F : 0x7C1F);

    // Keys at 1 (inside the group of four) and 5 (in the trailing three).
    TestSurface row(7, 1);
    row.Pattern(0x40, key);
    row.Set(1, 0, key);
    row.Set(5, 0, key);
    TestSurface destination(7, 1, 0x1234);
    BlitSurface(&row.surface, &destination.surface, 0, 0, blitColourKeyed, magenta);
    for (int32_t x = 0; x < 7; ++x)
        EXPECT_EQ(destination.At(x, 0), (x == 1 || x == 5) ? 0x1234 : row.At(x, 0)) << x;

    // Only the current format's magenta is skipped: the other format's value is an ordinary pixel.
    TestSurface pair(2, 1);
    pair.Set(0, 0, 0xF81F);
    pair.Set(1, 0, 0x7C1F);
    TestSurface under(2, 1, 0x0001);
    BlitSurface(&pair.surface, &under.surface, 0, 0, blitColourKeyed, magenta);
    EXPECT_EQ(under.At(0, 0), GetParam() ? 0x0001 : 0xF81F);
    EXPECT_EQ(under.At(1, 0), GetParam() ? 0x7C1F : 0x0001);

    // Only bit 0x8 of the flags counts.
    TestSurface plain(7, 1, 0x1234);
    BlitSurface(&row.surface, &plain.surface, 0, 0, ~uint32_t{blitColourKeyed}, magenta);
    EXPECT_EQ(plain.At(1, 0), key);
    TestSurface keyed(7, 1, 0x1234);
    BlitSurface(&row.surface, &keyed.surface, 0, 0, 0xFFFFFFFF, magenta);
    EXPECT_EQ(keyed.At(1, 0), 0x1234);
}

TEST_P(Blit, KeyedCopyClipsLikeThePlainOne) {
    const uint32_t keyColour = 0x00FF00;
    const uint16_t key = static_cast<uint16_t>(ColourToPixel(keyColour));
    std::mt19937 random(7);
    for (int32_t width : {1, 3, 4, 5, 8, 9, 11, 16, 19}) {
        TestSurface sprite(width, 6);
        sprite.Pattern(static_cast<uint16_t>(width), key);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < width; ++x)
                if (random() % 2) sprite.Set(x, y, key);
        for (int32_t x = -width - 1; x <= 14; ++x)
            for (int32_t y : {-7, -3, 0, 2, 6}) {
                TestSurface frame(13, 7);
                frame.Pattern(0x3000, key);
                PixelModel model(frame);
                model.Blit(sprite, 0, 0, x, y, width, 6, true, key);
                BlitSurface(&sprite.surface, &frame.surface, x, y, blitColourKeyed, keyColour);
                ExpectMatches(frame, model, "keyed blit");
                if (HasFailure()) return;
            }
    }
}

TEST_P(Blit, RectangleCopyReadsAndWritesOnlyInsideBothSurfaces) {
    TestSurface from(9, 7);
    from.Pattern(0x200, 0);
    for (int32_t sx : {-10, -3, 0, 2, 8, 9})
        for (int32_t sy : {-2, 0, 3, 7})
            for (int32_t dx : {-9, -1, 0, 4, 10})
                for (int32_t dy : {-5, 0, 5})
                    for (int32_t w : {-1, 0, 1, 3, 6, 20})
                        for (int32_t h : {0, 2, 9}) {
                            TestSurface to(11, 6, 0x4444);
                            PixelModel model(to);
                            if (w > 0 && h > 0) model.Blit(from, sx, sy, dx, dy, w, h, false, 0);
                            BlitRect(&from.surface, sx, sy, &to.surface, dx, dy, w, h, 0, 0);
                            ExpectMatches(to, model, "rect copy");
                            if (HasFailure()) return;
                        }
    // Keyed rectangles use the same clip.
    from.Set(4, 3, 0);
    TestSurface to(11, 6, 0x4444);
    PixelModel model(to);
    model.Blit(from, 2, 1, -1, 0, 6, 5, true, 0);
    BlitRect(&from.surface, 2, 1, &to.surface, -1, 0, 6, 5, blitColourKeyed, 0x000000);
    ExpectMatches(to, model, "keyed rect copy");
}

// Surfaces without pixels are empty to every blit and drawing routine; a tile without pixels would otherwise
// never advance.
TEST_P(Blit, SurfacesWithoutPixelsAreEmpty) {
    TestSurface real(6, 6, 0x2222);
    Surface zeroed = {}, noPixels = real.surface, noWidth = real.surface, noHeight = real.surface;
    Surface negative = real.surface;
    noPixels.pixels = nullptr;
    noWidth.width = 0;
    noHeight.height = 0;
    negative.height = -3;
    Bounds b = {0, 0, 5, 5};
    Extent all = {0, 0, 6, 6};
    for (Surface* empty : {&zeroed, &noPixels, &noWidth, &noHeight, &negative}) {
        BlitSurface(empty, &real.surface, 0, 0, 0, 0);
        BlitSurface(empty, &real.surface, 0, 0, blitColourKeyed, 0);
        BlitRect(empty, 0, 0, &real.surface, 0, 0, 4, 4, 0, 0);
        BlitSurface(&real.surface, empty, 0, 0, 0, 0);
        BlitRect(&real.surface, 0, 0, empty, 0, 0, 4, 4, blitColourKeyed, 0);
        DrawLine(empty, 0, 0, 5, 0x0000FF, 0);
        DrawLine(empty, 0, 0, 5, 0x0000FF, lineVertical);
        DrawRect(empty, &b, 0x0000FF, 0);
        DrawRect(empty, &b, 0x0000FF, rectFill);
        DrawBevel(empty, &b, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF);
        TileSurface(empty, &real.surface, &all);
        TileSurface(&real.surface, empty, &all);
    }
    EXPECT_EQ(real.Pixels(), std::vector<uint16_t>(36, 0x2222));
}

// Reference for one keyed row: the plain per-pixel rule.
static void ModelKeyedRow(uint16_t* destination, const uint16_t* source, uint32_t count, uint16_t key) {
    for (uint32_t i = 0; i < count; ++i)
        if (source[i] != key) destination[i] = source[i];
}

TEST(PixelRows, KeyedRowsAgreeAcrossPathsForEveryLength) {
    std::mt19937 random(42);
    const uint16_t keys[] = {0xF81F, 0x0000, 0xFFFF, 0x8000};
    for (uint32_t count = 0; count <= 140; count += count < 40 ? 1 : 7)
        for (uint16_t key : keys)
            for (int32_t density : {0, 1, 2, 4})
                for (int32_t trial = 0; trial < 4; ++trial) {
                    // One pixel of guard on each side and a 2-byte offset to misalign the rows.
                    std::vector<uint16_t> source(count + 3), start(count + 3);
                    for (auto& p : source) p = density && random() % density == 0 ? key : random() & 0xFFFF;
                    for (auto& p : start) p = static_cast<uint16_t>(random());
                    std::vector<uint16_t> expected = start, portable = start, fast = start;
                    ModelKeyedRow(expected.data() + 1, source.data() + 1, count, key);
                    CopyRowKeyedPortable(reinterpret_cast<uint8_t*>(portable.data() + 1),
                                         reinterpret_cast<const uint8_t*>(source.data() + 1), count, key);
                    CopyRowKeyed(reinterpret_cast<uint8_t*>(fast.data() + 1),
                                 reinterpret_cast<const uint8_t*>(source.data() + 1), count, key);
                    EXPECT_EQ(portable, expected) << "portable, count " << count;
                    EXPECT_EQ(fast, expected) << "selected path, count " << count;
#if defined(VQ_HAVE_SSE2_ROWS)
                    std::vector<uint16_t> sse2 = start;
                    CopyRowKeyedSse2(reinterpret_cast<uint8_t*>(sse2.data() + 1),
                                     reinterpret_cast<const uint8_t*>(source.data() + 1), count, key);
                    EXPECT_EQ(sse2, expected) << "sse2, count " << count;
#endif
#if defined(VQ_HAVE_AVX2_ROWS)
                    if (RowsUseAvx2() && count >= 16) {
                        std::vector<uint16_t> avx2 = start;
                        CopyRowsAvx2(reinterpret_cast<uint8_t*>(avx2.data() + 1), 0,
                                     reinterpret_cast<const uint8_t*>(source.data() + 1), 0, count, 1, 1,
                                     key);
                        EXPECT_EQ(avx2, expected) << "avx2, count " << count;
                    }
#endif
                    if (::testing::Test::HasFailure()) return;
                }
}

// Fills and copies of every length, through the bulk stores and the tails, stop exactly at their count, at
// even and odd byte addresses.
TEST(PixelRows, FillsAndCopiesCoverExactlyTheirCount) {
    std::mt19937 random(7);
    for (uint32_t count = 0; count <= 300; count += count < 70 ? 1 : 13)
        for (size_t shift : {0, 1}) {
            std::vector<uint8_t> fill(2 * count + 8, 0xEE), expected = fill;
            for (uint32_t i = 0; i < count; i++) {
                expected[2 + shift + 2 * i] = 0x57;
                expected[3 + shift + 2 * i] = 0x13;
            }
            FillRow(fill.data() + 2 + shift, count, 0x1357);
            EXPECT_EQ(fill, expected) << "fill " << count << " at +" << shift;
            std::vector<uint8_t> source(2 * count + 8), copy(2 * count + 8, 0xEE);
            for (uint8_t& b : source) b = static_cast<uint8_t>(random());
            expected.assign(copy.begin(), copy.end());
            memcpy(expected.data() + 2 + shift, source.data() + 3, 2 * count);
            CopyRows(copy.data() + 2 + shift, 0, source.data() + 3, 0, count, 1, 0, 0);
            EXPECT_EQ(copy, expected) << "copy " << count << " at +" << shift;
#if defined(VQ_HAVE_AVX2_ROWS)
            if (RowsUseAvx2() && count >= 16) {
                std::vector<uint8_t> avx2(2 * count + 8, 0xEE);
                CopyRowsAvx2(avx2.data() + 2 + shift, 0, source.data() + 3, 0, count, 1, 0, 0);
                EXPECT_EQ(avx2, expected) << "avx2 copy " << count << " at +" << shift;
            }
#endif
            if (::testing::Test::HasFailure()) return;
        }
}

// A row moved onto itself by a few pixels keeps its pixels in order, as a memory move would.
TEST(PixelRows, OverlappingRowMovesAsMemory) {
    for (uint32_t count : {5u, 16u, 40u, 100u, 260u})
        for (int32_t by : {-3, -1, 1, 3, 17}) {
            std::vector<uint16_t> row(count + 40), expected;
            for (size_t i = 0; i < row.size(); i++) row[i] = static_cast<uint16_t>(i * 31 + 7);
            expected = row;
            memmove(expected.data() + 20 + by, expected.data() + 20, 2 * count);
            CopyRows(reinterpret_cast<uint8_t*>(row.data() + 20 + by), 0,
                     reinterpret_cast<uint8_t*>(row.data() + 20), 0, count, 1, 0, 0);
            EXPECT_EQ(row, expected) << count << " by " << by;
        }
}
