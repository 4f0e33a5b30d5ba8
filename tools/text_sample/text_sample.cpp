// Writes a picture of text drawn in several fonts, colours and boxes to a PPM file, for a person to look at:
//   text_sample OUT.ppm
#include <stdio.h>
#include <string.h>

#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/gfx/text.h"
#include "toolkit/platform/headless/headless.h"

// "종료하시겠습니까?" and "Velquist 창을 닫으면 작업 내용이 저장됩니다. Save 2 files?" in code page 949.
static const char question[] = "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
static const char paragraph[] = "Velquist \xC3\xA2\xC0\xBB \xB4\xDD\xC0\xB8\xB8\xE9 \xC0\xDB\xBE\xF7 "
                                "\xB3\xBB\xBF\xEB\xC0\xCC \xC0\xFA\xC0\xE5\xB5\xCB\xB4\xCF\xB4\xD9. "
                                "Save 2 files?";

static LogFont Font(int32_t weight, uint8_t italic) {
    LogFont f = {};
    f.lfHeight = -16;
    f.lfWeight = weight;
    f.lfItalic = italic;
    f.lfUnderline = italic;
    f.lfCharSet = 129;
    snprintf(f.lfFaceName, sizeof f.lfFaceName, "%s", "NanumGothic");
    return f;
}

static bool WritePpm(const Surface& s, const char* path) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
    for (int32_t y = 0; y < s.height; y++) {
        for (int32_t x = 0; x < s.width; x++) {
            uint16_t p;
            memcpy(&p, s.pixels + static_cast<size_t>(y) * s.stride + 2 * static_cast<size_t>(x), 2);
            uint32_t c = PixelToColour(p);
            unsigned char rgb[3] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                                    static_cast<unsigned char>(c >> 16)};
            fwrite(rgb, 1, 3, f);
        }
    }
    return fclose(f) == 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: text_sample OUT.ppm\n");
        return 2;
    }
    HeadlessSetPixelFormat565(1);
    InitDisplay();
    Surface s = {};
    CreateSurface(360, 200, &s, nullptr);
    Bounds all = {0, 0, 359, 199};
    DrawRect(&s, &all, 0xF0F0F0, rectFill);
    LogFont big = Font(0, 0), bold = Font(700, 0), italic = Font(400, 1);
    Extent line1 = {4, 4, 350, 18}, line2 = {4, 24, 350, 22}, box = {4, 50, 200, 80};
    DrawTextInSurface(question, nullptr, &s, &line1, 0x000000, 0xFFFFFF, transparentText | growBox);
    DrawTextInSurface(question, &big, &s, &line2, 0x0000C0, 0xFFFFFF, growBox);
    DrawTextInSurface(paragraph, &big, &s, &box, 0x303030, 0xC0FFFF, wordBreak | growBox);
    Extent box2 = {210, 50, 145, 80};
    DrawTextInSurface(paragraph, nullptr, &s, &box2, 0x000000, 0xFFFFFF,
                      wordBreak | transparentText | growBox);
    Extent line3 = {4, 140, 350, 22}, line4 = {4, 164, 350, 22};
    DrawTextInSurface("&File  A&&B  \xC7\xD1&\xB1\xDB", &bold, &s, &line3, 0x006000, 0,
                      transparentText | growBox);
    DrawTextInSurface(question, &italic, &s, &line4, 0x800000, 0, transparentText | growBox);
    bool written = WritePpm(s, argv[1]);
    ReleaseSurface(&s);
    if (!written) fprintf(stderr, "text_sample: cannot write %s\n", argv[1]);
    return written ? 0 : 1;
}
