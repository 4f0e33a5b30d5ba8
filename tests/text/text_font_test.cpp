// Fonts: heights, faces that fall back, weights and styles, and fonts described again and again.
#include "tests/text/text_support.h"

static const uint16_t kFill = 0x1234;

static std::vector<uint16_t> Picture(const LogFont* font, const char* text) {
    Surface s = FilledSurface(300, 60, kFill);
    Extent box = {0, 0, 300, 60};
    DrawTextInSurface(text, font, &s, &box, 0x000000, 0xFFFFFF, 0);
    std::vector<uint16_t> pixels = Region(s, {0, 0, 300, 60});
    ReleaseSurface(&s);
    return pixels;
}

namespace {

class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolkit(true);
        Theme[pixelFormat] = rgb565;
    }
    void TearDown() override { ResetToolkit(); }
};

TEST_F(FontTest, HeightsFollowTheFontDescription) {
    // The default font: about 12 pixels of character height, a line a little taller.
    TextSize standard = Measure(nullptr, kQuestion);
    EXPECT_GE(standard.cy, 12);
    EXPECT_LE(standard.cy, 16);
    LogFont zero = MakeFont("", 0);
    EXPECT_EQ(Measure(&zero, kQuestion).cx, standard.cx);
    EXPECT_EQ(Measure(&zero, kQuestion).cy, standard.cy);
    // Positive heights are cell heights, exactly; negative ones character heights, the cell taller.
    for (int32_t cell : {10, 16, 20, 33}) {
        LogFont f = MakeFont("NanumGothic", cell);
        EXPECT_EQ(Measure(&f, "A").cy, cell);
    }
    LogFont sixteen = MakeFont("NanumGothic", -16), twenty = MakeFont("NanumGothic", -20);
    EXPECT_GT(Measure(&sixteen, "A").cy, 16);
    EXPECT_LT(Measure(&sixteen, "A").cy, 22);
    EXPECT_GT(Measure(&twenty, kQuestion).cx, Measure(&sixteen, kQuestion).cx);
    // Absurd heights are bounded rather than rendered at any size.
    LogFont huge = MakeFont("NanumGothic", INT32_MIN), tall = MakeFont("NanumGothic", INT32_MAX);
    EXPECT_LE(Measure(&huge, "A").cy, 400);
    EXPECT_LE(Measure(&tall, "A").cy, 400);
    EXPECT_GT(Measure(&huge, "A").cx, 0);
    // Nothing measured is 0 wide and still a line high.
    TextSize size = {-1, -1};
    MeasureText(mainWindowHandle, &sixteen, kQuestion, 0, &size);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, Measure(&sixteen, "A").cy);
    MeasureText(mainWindowHandle, &sixteen, kQuestion, -5, &size);
    EXPECT_EQ(size.cx, 0);
    MeasureText(mainWindowHandle, nullptr, nullptr, 10, &size);
    EXPECT_EQ(size.cx, 0);
    // Part of a text measures as that part.
    MeasureText(mainWindowHandle, &sixteen, kQuestion, 4, &size);
    EXPECT_EQ(size.cx, Measure(&sixteen, "\xC1\xBE\xB7\xE1").cx);
}

TEST_F(FontTest, FacesWithoutHangulOrUnknownFallBackToTheDefaultFace) {
    LogFont nanum = MakeFont("NanumGothic", -16);
    std::vector<uint16_t> reference = Picture(&nanum, kQuestion);
    // Names that no installed face has, or whose faces have no Hangul, draw as the default face.
    for (const char* face : {"NoSuchFace", "Gulim", "Malgun Gothic", "DejaVu Sans", "sans-serif"}) {
        LogFont f = MakeFont(face, -16);
        EXPECT_EQ(Picture(&f, kQuestion), reference) << face;
    }
    // The face's Korean name, in code page 949, finds it too.
    LogFont korean = MakeFont("\xB3\xAA\xB4\xAE\xB0\xED\xB5\xF1", -16); // 나눔고딕
    EXPECT_EQ(Picture(&korean, kQuestion), reference);
    // A name filling all 32 bytes, without a zero byte, is read no further.
    LogFont full = MakeFont("", -16);
    memset(full.lfFaceName, 'Q', sizeof full.lfFaceName);
    EXPECT_EQ(Picture(&full, kQuestion), reference);
    // Another installed Korean face is honoured.
    LogFont myeongjo = MakeFont("NanumMyeongjo", -16);
    EXPECT_NE(Picture(&myeongjo, kQuestion), reference);
}

TEST_F(FontTest, WeightItalicUnderlineAndStrikeOutChangeTheGlyphs) {
    LogFont regular = MakeFont("NanumGothic", -16), bold = MakeFont("NanumGothic", -16, 700);
    LogFont italic = MakeFont("NanumGothic", -16, 400, 1),
            underline = MakeFont("NanumGothic", -16, 400, 0, 1);
    LogFont strike = MakeFont("NanumGothic", -16);
    strike.lfStrikeOut = 1;
    std::vector<uint16_t> plain = Picture(&regular, kParagraph);
    for (const LogFont* f : {&bold, &italic, &underline, &strike}) EXPECT_NE(Picture(f, kParagraph), plain);
    EXPECT_GE(Measure(&bold, kParagraph).cx, Measure(&regular, kParagraph).cx);
    // An underline runs under every character, spaces included: a full row of ink below the baseline.
    Surface s = FilledSurface(300, 40, kFill);
    Extent box = {0, 0, 300, 40};
    DrawTextInSurface("a  b", &underline, &s, &box, 0x000000, 0xFFFFFF, transparentText);
    TextSize size = Measure(&underline, "a  b");
    int32_t fullRows = 0;
    for (int32_t y = 0; y < size.cy; y++) {
        fullRows +=
            CountPixels(s, static_cast<uint16_t>(ColourToPixel(0)), {0, y, size.cx, y + 1}) == size.cx;
    }
    EXPECT_GE(fullRows, 1);
    ReleaseSurface(&s);
}

TEST_F(FontTest, FontsDescribedAgainGiveTheSameResult) {
    // More fonts and faces than the renderer keeps at once, visited twice in turn.
    const char* faces[] = {"NanumGothic", "NanumMyeongjo",    "NanumBarunGothic", "NanumGothicCoding",
                           "NanumSquare", "NanumSquareRound", "NoSuchFace",       "DejaVu Sans"};
    std::vector<LogFont> fonts;
    for (const char* face : faces) {
        for (int32_t height : {-11, -14, 18}) {
            for (int32_t weight : {400, 700}) fonts.push_back(MakeFont(face, height, weight));
        }
    }
    std::vector<int32_t> first;
    for (const LogFont& f : fonts) first.push_back(Measure(&f, kParagraph).cx);
    std::vector<uint16_t> early = Picture(&fonts[0], kQuestion);
    for (size_t i = 0; i < fonts.size(); i++) EXPECT_EQ(Measure(&fonts[i], kParagraph).cx, first[i]) << i;
    EXPECT_EQ(Picture(&fonts[0], kQuestion), early);
    // Many distinct glyphs pass through the glyph store and are drawn the same afterwards.
    LogFont big = MakeFont("NanumMyeongjo", -60);
    std::vector<uint16_t> before = Picture(&big, "\xC7\xD1");
    std::string syllables;
    for (uint32_t lead = 0xB0; lead <= 0xC8; lead++) {
        for (uint32_t trail = 0xA1; trail <= 0xFE; trail += 3) {
            syllables += static_cast<char>(lead);
            syllables += static_cast<char>(trail);
        }
    }
    TextSize size = {};
    MeasureText(mainWindowHandle, &big, syllables.data(), static_cast<int32_t>(syllables.size()), &size);
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(Picture(&big, "\xC7\xD1"), before);
}

} // namespace
