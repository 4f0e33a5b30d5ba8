// Writes a picture of drawn text for a person to look at, when VQ_TEXT_SAMPLE names a PPM file.
#include <stdlib.h>

#include "tests/text/text_support.h"

namespace {

TEST(TextSample, WritesPictureOnRequest) {
    const char* path = getenv("VQ_TEXT_SAMPLE");
    if (!path) GTEST_SKIP() << "set VQ_TEXT_SAMPLE to a .ppm path to write the picture";
    ResetToolkit(true);
    Theme[pixelFormat] = rgb565;
    Surface s = FilledSurface(360, 200, static_cast<uint16_t>(ColourToPixel(0xF0F0F0)));
    LogFont big = MakeFont("NanumGothic", -16);
    LogFont bold = MakeFont("NanumGothic", -16, 700);
    LogFont italic = MakeFont("NanumGothic", -16, 400, 1, 1);
    Extent line1 = {4, 4, 350, 18}, line2 = {4, 24, 350, 22}, box = {4, 50, 200, 80};
    DrawTextInSurface(kQuestion, nullptr, &s, &line1, 0x000000, 0xFFFFFF, 0x88);
    DrawTextInSurface(kQuestion, &big, &s, &line2, 0x0000C0, 0xFFFFFF, 0x80);
    DrawTextInSurface(kParagraph, &big, &s, &box, 0x303030, 0xC0FFFF, 0x1000080);
    Extent box2 = {210, 50, 145, 80};
    DrawTextInSurface(kParagraph, nullptr, &s, &box2, 0x000000, 0xFFFFFF, 0x1000088);
    Extent line3 = {4, 140, 350, 22}, line4 = {4, 164, 350, 22};
    DrawTextInSurface("&File  A&&B  \xC7\xD1&\xB1\xDB", &bold, &s, &line3, 0x006000, 0, 0x88);
    DrawTextInSurface(kQuestion, &italic, &s, &line4, 0x800000, 0, 0x88);
    WritePpm(s, path);
    ReleaseSurface(&s);
}

} // namespace
