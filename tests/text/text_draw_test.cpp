// Text drawn into surfaces: the box, clipping, background modes, line and word breaks, ampersands.
#include "tests/text/text_support.h"

static const uint16_t kFill = 0x1234;
static const uint32_t kInk = 0x000000, kPaper = 0xFFFFFF;

namespace {

struct Fonts {
    const char* name;
    LogFont font;
    const LogFont* pointer() const { return font.lfFaceName[0] ? &font : nullptr; }
};

} // namespace

static std::vector<Fonts> AllFonts() {
    return {{"default", LogFont{}}, {"NanumGothic 16", MakeFont("NanumGothic", -16)}};
}

TEST_P(TextTest, MeasuredExtentIsTheDrawnExtent) {
    for (const Fonts& f : AllFonts()) {
        for (const char* text : {kQuestion, kParagraph, "Wg|", "\xC7\xD1"}) {
            SCOPED_TRACE(std::string(f.name) + " / " + text);
            TextSize size = Measure(f.pointer(), text);
            ASSERT_GT(size.cx, 0);
            ASSERT_GT(size.cy, 0);
            Surface s = FilledSurface(600, 60, kFill);
            // Opaque: exactly the cells change, as wide and high as measured.
            Extent box = {7, 9, 590, 50};
            DrawTextInSurface(text, f.pointer(), &s, &box, kInk, kPaper, 0);
            Box changed = ChangedBox(s, kFill);
            EXPECT_EQ(changed, (Box{7, 9, 7 + size.cx, 9 + size.cy}));
            // Transparent: ink only inside the same cells, and some of it fully covered.
            Surface t = FilledSurface(600, 60, kFill);
            DrawTextInSurface(text, f.pointer(), &t, &box, kInk, kPaper, transparentText);
            Box ink = ChangedBox(t, kFill);
            EXPECT_GE(ink.left, 7);
            EXPECT_GE(ink.top, 9);
            EXPECT_LE(ink.right, 7 + size.cx);
            EXPECT_LE(ink.bottom, 9 + size.cy);
            EXPECT_GT(600 * 60 - CountPixels(t, kFill, {0, 0, 600, 60}), 20);
            ReleaseSurface(&s);
            ReleaseSurface(&t);
        }
    }
}

TEST_P(TextTest, HangulIsDrawnNotReplaced) {
    LogFont big = MakeFont("NanumGothic", -16);
    Extent box = {0, 0, 100, 30};
    auto draw = [&](const char* text) {
        Surface s = FilledSurface(100, 30, kFill);
        DrawTextInSurface(text, &big, &s, &box, kInk, kPaper, transparentText);
        std::vector<uint16_t> pixels = Region(s, {0, 0, 100, 30});
        ReleaseSurface(&s);
        return pixels;
    };
    std::vector<uint16_t> replacement = draw("?");
    const char* syllables[] = {"\xC1\xBE", "\xB7\xE1", "\xC7\xCF", "\xBD\xC3",
                               "\xB0\xDA", "\xBD\xC0", "\xB4\xCF", "\xB1\xEE"};
    std::vector<std::vector<uint16_t>> seen;
    for (const char* syllable : syllables) {
        std::vector<uint16_t> pixels = draw(syllable);
        EXPECT_NE(pixels, replacement) << syllable;
        for (const auto& other : seen) EXPECT_NE(pixels, other) << syllable;
        seen.push_back(pixels);
    }
    // Hangul syllables are full-width: wider than a Latin letter.
    EXPECT_GT(Measure(&big, "\xC7\xD1").cx, Measure(&big, "i").cx);
}

TEST_P(TextTest, BoxBecomesRectangleWithExclusiveEdges) {
    const char* longText = "M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M M";
    int32_t lineHeight = Measure(nullptr, "M").cy;
    ASSERT_LT(lineHeight, 20);
    struct Case {
        uint32_t flags;
        int32_t right, bottom; // exclusive edges of what may change
    };
    for (Case c : {Case{0, 104, 24}, Case{growBox, 105, 25}}) {
        SCOPED_TRACE(c.flags);
        Extent box = {5, 5, 100, 20};
        // Cut at the right edge: opaque cells reach the last allowed column and no further.
        Surface s = FilledSurface(130, 50, kFill);
        DrawTextInSurface(longText, nullptr, &s, &box, kInk, kPaper, c.flags);
        Box changed = ChangedBox(s, kFill);
        EXPECT_EQ(changed, (Box{5, 5, c.right, 5 + lineHeight}));
        ReleaseSurface(&s);
        // Broken into lines: cut at the bottom edge.
        Surface w = FilledSurface(130, 50, kFill);
        DrawTextInSurface(longText, nullptr, &w, &box, kInk, kPaper, c.flags | wordBreak);
        changed = ChangedBox(w, kFill);
        EXPECT_LE(changed.right, c.right);
        EXPECT_GT(changed.right, c.right - Measure(nullptr, "M M").cx);
        EXPECT_EQ(changed.bottom, c.bottom);
        ReleaseSurface(&w);
    }
    // Boxes partly or wholly outside the surface are clipped to it.
    Surface s = FilledSurface(40, 30, kFill);
    for (Extent box : {Extent{-20, -7, 50, 30}, Extent{30, 25, 100, 100}, Extent{-500, -500, 10, 10},
                       Extent{100, 100, 10, 10}, Extent{5, 5, 0, 0}, Extent{5, 5, -30, -30}}) {
        DrawTextInSurface(kParagraph, nullptr, &s, &box, kInk, kPaper, wordBreak);
        DrawTextInSurface(kParagraph, nullptr, &s, &box, kInk, kPaper, growBox);
    }
    ReleaseSurface(&s);
}

TEST_P(TextTest, TransparentKeepsPixelsAndOpaquePaintsOnlyTheCells) {
    LogFont big = MakeFont("NanumGothic", -16);
    TextSize size = Measure(&big, kQuestion);
    Extent box = {2, 3, 300, 60};
    uint16_t paper = static_cast<uint16_t>(ColourToPixel(0x00FFFF));
    Surface t = FilledSurface(320, 70, kFill), o = FilledSurface(320, 70, kFill);
    DrawTextInSurface(kQuestion, &big, &t, &box, kInk, 0x00FFFF, transparentText | growBox);
    DrawTextInSurface(kQuestion, &big, &o, &box, kInk, 0x00FFFF, growBox);
    Box cells = {2, 3, 2 + size.cx, 3 + size.cy};
    EXPECT_EQ(CountPixels(t, paper, {0, 0, 320, 70}), 0);
    EXPECT_GT(CountPixels(t, kFill, cells), 0);
    EXPECT_EQ(CountPixels(o, kFill, cells), 0);
    EXPECT_GT(CountPixels(o, paper, cells), 0);
    // Outside the cells, the rest of the box keeps its pixels in both modes.
    EXPECT_EQ(CountPixels(o, kFill, {0, 0, 320, 70}),
              320 * 70 - (cells.right - cells.left) * (cells.bottom - cells.top));
    // 5-5-5 pixels never have bit 15 set, whatever the blend.
    if (!GetParam()) {
        for (uint16_t p : Region(o, {0, 0, 320, 70})) ASSERT_EQ(p & 0x8000, 0);
    }
    // Opaque is transparent over the background colour.
    Surface over = FilledSurface(320, 70, paper);
    DrawTextInSurface(kQuestion, &big, &over, &box, kInk, 0x00FFFF, transparentText | growBox);
    EXPECT_EQ(Region(over, cells), Region(o, cells));
    ReleaseSurface(&over);
    ReleaseSurface(&t);
    ReleaseSurface(&o);
}

// Draws text with its top-left corner at (x, y) of a fresh surface.
static std::vector<uint16_t> Drawn(const LogFont* font, const char* text, Extent box, uint32_t flags,
                                   Box region) {
    Surface s = FilledSurface(400, 120, kFill);
    DrawTextInSurface(text, font, &s, &box, kInk, kPaper, flags);
    std::vector<uint16_t> pixels = Region(s, region);
    ReleaseSurface(&s);
    return pixels;
}

TEST_P(TextTest, LinesBreakAtLineBreaksAndBetweenWords) {
    LogFont big = MakeFont("NanumGothic", -16);
    int32_t h = Measure(&big, "A").cy;
    auto line = [&](int32_t n) { return Box{0, n * h, 400, (n + 1) * h}; };
    auto alone = [&](const char* text, int32_t n) {
        Extent at = {0, n * h, 400, h};
        return Drawn(&big, text, at, growBox, line(n));
    };
    Extent wide = {0, 0, 400, 120};
    // CR, LF and CRLF each start one new line; LF CR is two.
    const char* broken = "Ab\r\nCd\nEf\rGh\n\rIj";
    const char* lines[] = {"Ab", "Cd", "Ef", "Gh", "", "Ij"};
    for (uint32_t flags : {uint32_t{growBox}, uint32_t{growBox | wordBreak}}) {
        for (int32_t n = 0; n < 6; n++)
            EXPECT_EQ(Drawn(&big, broken, wide, flags, line(n)), alone(lines[n], n));
    }
    // Between words: the spaces at the break are dropped.
    Extent narrow = {0, 0, Measure(&big, "Save  2 f").cx, 120};
    EXPECT_EQ(Drawn(&big, "Save  2 files?", narrow, growBox | wordBreak, line(0)), alone("Save  2", 0));
    EXPECT_EQ(Drawn(&big, "Save  2 files?", narrow, growBox | wordBreak, line(1)), alone("files?", 1));
    // Without wordBreak the text is only cut.
    EXPECT_EQ(Drawn(&big, "Save  2 files?", narrow, growBox, line(1)), alone("", 1));
    // Between two-byte characters, even inside a word.
    const char* ganada = "\xB0\xA1\xB3\xAA\xB4\xD9\xB6\xF3"; // 가나다라
    Extent three = {0, 0, Measure(&big, "\xB0\xA1\xB3\xAA\xB4\xD9").cx, 120};
    EXPECT_EQ(Drawn(&big, ganada, three, growBox | wordBreak, line(0)), alone("\xB0\xA1\xB3\xAA\xB4\xD9", 0));
    EXPECT_EQ(Drawn(&big, ganada, three, growBox | wordBreak, line(1)), alone("\xB6\xF3", 1));
    // A word wider than the box stays whole on its line, cut at the edge, as GDI draws it; a word follows
    // only where its spaces fit too.
    Extent four = {0, 0, Measure(&big, "ABCD").cx, 120};
    EXPECT_EQ(Drawn(&big, "ABCDEFGHIJ KL", four, growBox | wordBreak, line(0)),
              Drawn(&big, "ABCDEFGHIJ", {0, 0, four.width, h}, growBox, line(0)));
    EXPECT_EQ(Drawn(&big, "ABCDEFGHIJ KL", four, growBox | wordBreak, line(1)), alone("KL", 1));
    Extent exact = {0, 0, Measure(&big, "AB CD").cx, 120};
    EXPECT_EQ(Drawn(&big, "AB CD AB", exact, growBox | wordBreak, line(1)), alone("CD AB", 1));
}

TEST_P(TextTest, WrappedParagraphStaysInsideTheBox) {
    for (const Fonts& f : AllFonts()) {
        SCOPED_TRACE(f.name);
        int32_t h = Measure(f.pointer(), "A").cy;
        Extent box = {10, 4, 120, 5 * h};
        Surface s = FilledSurface(200, 120, kFill);
        DrawTextInSurface(kParagraph, f.pointer(), &s, &box, kInk, kPaper, growBox | wordBreak);
        Box changed = ChangedBox(s, kFill);
        EXPECT_EQ(changed.left, 10);
        EXPECT_EQ(changed.top, 4);
        EXPECT_LE(changed.right, 130);
        EXPECT_LE(changed.bottom, 4 + 5 * h);
        // Several lines were used, each starting at the left edge.
        int32_t lines = 0;
        for (int32_t n = 0; n < 5; n++) lines += PixelAt(s, 10, 4 + n * h) != kFill;
        EXPECT_GE(lines, 3);
        ReleaseSurface(&s);
    }
}

TEST_P(TextTest, AmpersandUnderlinesTheNextCharacter) {
    LogFont big = MakeFont("NanumGothic", -16);
    int32_t h = Measure(&big, "A").cy;
    Box all = {0, 0, 400, 120};
    Extent box = {0, 0, 400, 120};
    // "&File" has the cells of "File"; it differs only below the F, and there only by ink.
    Surface a = FilledSurface(400, 120, kFill), b = FilledSurface(400, 120, kFill);
    DrawTextInSurface("&File", &big, &a, &box, kInk, kPaper, 0);
    DrawTextInSurface("File", &big, &b, &box, kInk, kPaper, 0);
    int32_t fWidth = Measure(&big, "F").cx;
    Box changedA = ChangedBox(a, kFill), changedB = ChangedBox(b, kFill);
    EXPECT_EQ(changedA.right, changedB.right);
    uint16_t ink = static_cast<uint16_t>(ColourToPixel(kInk));
    int32_t differences = 0;
    for (int32_t y = 0; y < 120; y++) {
        for (int32_t x = 0; x < 400; x++) {
            if (PixelAt(a, x, y) == PixelAt(b, x, y)) continue;
            differences++;
            EXPECT_LT(x, fWidth);
            EXPECT_GT(y, h / 2);
            EXPECT_EQ(PixelAt(a, x, y), ink);
        }
    }
    EXPECT_GE(differences, fWidth - 1);
    ReleaseSurface(&a);
    ReleaseSurface(&b);
    // Two ampersands draw one: the cells of "A&B", with ink that "AB" lacks.
    Surface twice = FilledSurface(400, 120, kFill);
    DrawTextInSurface("A&&B", &big, &twice, &box, kInk, kPaper, 0);
    Box changed = ChangedBox(twice, kFill);
    EXPECT_EQ(changed.right, Measure(&big, "A&B").cx);
    EXPECT_EQ(changed.bottom, h);
    ReleaseSurface(&twice);
    EXPECT_NE(Drawn(&big, "A&&B", box, 0, all), Drawn(&big, "AB", box, 0, all));
    // The text's last byte is drawn even when it is one; one before a line break hides alone.
    EXPECT_EQ(Drawn(&big, "AB&", box, 0, all), Drawn(&big, "AB&&", box, 0, all));
    // Of several in a line, the last underlines.
    EXPECT_EQ(Drawn(&big, "&A&B", box, 0, all), Drawn(&big, "A&B", box, 0, all));
    EXPECT_EQ(Drawn(&big, "A&\nB", box, 0, all), Drawn(&big, "A\nB", box, 0, all));
    // A two-byte character after an ampersand is underlined whole.
    EXPECT_NE(Drawn(&big, "&\xC7\xD1", box, 0, all), Drawn(&big, "\xC7\xD1", box, 0, all));
}

TEST_P(TextTest, BadBytesNeverReadPastTheText) {
    LogFont big = MakeFont("NanumGothic", -16);
    TextSize replacement = Measure(&big, "?");
    // A lone lead byte at the end, a pair that does not decode, and a lead byte before a control byte
    // each measure as one replacement character.
    for (const char* bad : {"\xB0", "\xB0\x30", "\xFF\xFF", "\xB0\x01"})
        EXPECT_EQ(Measure(&big, bad).cx, replacement.cx) << bad;
    // Control bytes are invisible and take no room; line breaks measure as the font's glyphs for them.
    EXPECT_GT(Measure(&big, "A\r\nB").cx, Measure(&big, "AB").cx);
    EXPECT_EQ(Measure(&big, "\x01\x02\x1B\x7F\t").cx, 0);
    Surface s = FilledSurface(100, 40, kFill);
    Extent box = {0, 0, 100, 40};
    DrawTextInSurface("\x01\x02\x1B\x7F\t", &big, &s, &box, kInk, kPaper, transparentText);
    EXPECT_EQ(ChangedBox(s, kFill).right, 0);
    ReleaseSurface(&s);
    // Text given by length, in exactly sized memory ending in a lead byte.
    for (const char* bytes : {"\xB0", "A\xC7", "\xC7\xD1\xB0", "&", "&\xB0", "\r", "A&&"}) {
        size_t n = strlen(bytes);
        std::unique_ptr<char[]> exact(new char[n]);
        memcpy(exact.get(), bytes, n);
        Surface t = FilledSurface(60, 30, kFill);
        TextContext context = PlatformOpenText(mainWindowHandle, &t, &big);
        ASSERT_NE(context, 0u);
        PlatformRect rect = {0, 0, 60, 30};
        EXPECT_EQ(PlatformDrawText(context, exact.get(), static_cast<int32_t>(n), &rect, kInk, kPaper,
                                   platformTextOpaque | platformTextWordBreak),
                  1);
        int32_t w = -1, hgt = -1;
        EXPECT_EQ(PlatformTextExtent(context, exact.get(), static_cast<int32_t>(n), &w, &hgt), 1);
        EXPECT_GE(w, 0);
        EXPECT_EQ(PlatformTextFit(context, exact.get(), static_cast<int32_t>(n), 1000, nullptr),
                  static_cast<int32_t>(n));
        PlatformCloseText(context);
        ReleaseSurface(&t);
    }
}

TEST_P(TextTest, FitCountsWholeCharacters) {
    LogFont big = MakeFont("NanumGothic", -16);
    Surface s = FilledSurface(10, 10, kFill);
    TextContext context = PlatformOpenText(mainWindowHandle, &s, &big);
    ASSERT_NE(context, 0u);
    int32_t n = static_cast<int32_t>(strlen(kQuestion));
    int32_t one = Measure(&big, "\xC1\xBE").cx;
    int32_t width = -1;
    EXPECT_EQ(PlatformTextFit(context, kQuestion, n, 0, &width), 0);
    EXPECT_EQ(width, 0);
    // Half a syllable more than three still fits three: six bytes, never five.
    int32_t three = Measure(&big, "\xC1\xBE\xB7\xE1\xC7\xCF").cx;
    EXPECT_EQ(PlatformTextFit(context, kQuestion, n, three + one / 2, &width), 6);
    EXPECT_EQ(width, three);
    EXPECT_EQ(PlatformTextFit(context, kQuestion, n, three, &width), 6);
    EXPECT_EQ(PlatformTextFit(context, kQuestion, n, 1 << 30, &width), n);
    int32_t w = 0, h = 0;
    EXPECT_EQ(PlatformTextExtent(context, kQuestion, n, &w, &h), 1);
    EXPECT_EQ(width, w);
    PlatformCloseText(context);
    // Closed or unknown contexts measure nothing.
    EXPECT_EQ(PlatformTextExtent(context, kQuestion, n, &w, &h), 0);
    EXPECT_EQ(PlatformTextFit(12345, kQuestion, n, 100, nullptr), 0);
    ReleaseSurface(&s);
}

TEST_P(TextTest, SurfacesWithoutPlatformPixelsReceiveNothing) {
    std::vector<uint8_t> memory(SurfaceStride(50) * 20, 0x5A);
    Surface s = {};
    CreateSurface(50, 20, &s, memory.data());
    Extent box = {0, 0, 50, 20};
    DrawTextInSurface(kQuestion, nullptr, &s, &box, kInk, kPaper, 0);
    for (uint8_t byte : memory) ASSERT_EQ(byte, 0x5A);
    EXPECT_EQ(PlatformOpenText(mainWindowHandle, &s, nullptr), 0u);
    Surface zero = {};
    DrawTextInSurface(kQuestion, nullptr, &zero, &box, kInk, kPaper, 0);
    DrawTextInSurface(nullptr, nullptr, &zero, &box, kInk, kPaper, 0);
    // Contexts are few and are given back.
    Surface real = FilledSurface(8, 8, kFill);
    std::vector<TextContext> open;
    for (int i = 0; i < 64; i++) {
        TextContext c = PlatformOpenText(mainWindowHandle, &real, nullptr);
        if (!c) break;
        open.push_back(c);
    }
    EXPECT_LT(open.size(), 64u);
    for (TextContext c : open) PlatformCloseText(c);
    TextContext again = PlatformOpenText(mainWindowHandle, &real, nullptr);
    EXPECT_NE(again, 0u);
    PlatformCloseText(again);
    ReleaseSurface(&real);
}

VQ_BOTH_FORMATS(TextTest);
