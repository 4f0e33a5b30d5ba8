// Text: DrawTextInSurface and MeasureText of a 20-character Korean/ASCII line, with the font described by a
// LogFont on every call, against blending the same glyphs' coverage alone. Argument: 1 = 5-6-5, 0 = 5-5-5.
// Beside the warm figures: the first draw in a fresh process (font lookup, face open, glyphs rendered) and
// the first draw at a size the process has not drawn yet.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <string.h>

#include <chrono>
#include <vector>

#include "bench/ratios.h"
#include "bench/subprocess.h"
#include "toolkit/gfx/text.h"
#include "toolkit/platform/common/glyph_cache.h"
#include "toolkit/platform/common/text_blend.h"
#include "toolkit/platform/headless/headless.h"

// "Velquist 종료하시겠습니까?OK": 20 characters, 28 bytes.
static const char* const kLine =
    "Velquist \xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?OK";

static LogFont LineFont() {
    LogFont f = {};
    f.lfHeight = -16;
    f.lfWeight = 400;
    f.lfCharSet = 129;
    strcpy(f.lfFaceName, "NanumGothic");
    return f;
}
namespace {

struct Target {
    Surface surface = {};
    explicit Target(bool use565) {
        HeadlessReset();
        HeadlessSetPixelFormat565(use565 ? 1 : 0);
        Theme[pixelFormat] = use565 ? 1u : 0u;
        CreateSurface(320, 40, &surface, nullptr);
    }
    ~Target() { ReleaseSurface(&surface); }
};

} // namespace

static void BM_DrawTextInSurface(benchmark::State& state) {
    Target t(state.range(0) != 0);
    LogFont font = LineFont();
    Extent box = {4, 4, 300, 30};
    for (auto _ : state) {
        DrawTextInSurface(kLine, &font, &t.surface, &box, 0x000000, 0xFFFFFF, 0x88);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawTextInSurface)->Arg(1)->Arg(0);

static void BM_DrawTextOpaqueWrapped(benchmark::State& state) {
    Target t(state.range(0) != 0);
    LogFont font = LineFont();
    Extent box = {4, 4, 120, 34};
    for (auto _ : state) {
        DrawTextInSurface(kLine, &font, &t.surface, &box, 0x000000, 0xFFFFFF, 0x1000080);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawTextOpaqueWrapped)->Arg(1)->Arg(0);

// In a fresh child process: the first wrapped draw, with everything the renderer sets up on its way.
static int ColdFirstDraw() {
    Target t(true);
    LogFont font = LineFont();
    Extent box = {4, 4, 120, 34};
    auto start = std::chrono::steady_clock::now();
    DrawTextInSurface(kLine, &font, &t.surface, &box, 0x000000, 0xFFFFFF, 0x1000080);
    auto end = std::chrono::steady_clock::now();
    printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(end - start).count()));
    return 0;
}
static ChildRegistrar coldText("text-cold", ColdFirstDraw);

static void BM_TextFirstDrawFreshProcess(benchmark::State& state) {
    for (auto _ : state) {
        double ns = MeasureInChild("text-cold");
        if (ns < 0) {
            state.SkipWithError("the child process failed");
            break;
        }
        state.SetIterationTime(ns / 1e9);
    }
}
BENCHMARK(BM_TextFirstDrawFreshProcess)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Every draw at a size none of the last 39 draws used: more than the renderer keeps fonts for.
static void BM_TextFirstDrawNewSize(benchmark::State& state) {
    Target t(true);
    LogFont font = LineFont();
    Extent box = {4, 4, 120, 34};
    int32_t next = 0;
    for (auto _ : state) {
        font.lfHeight = -(10 + next);
        next = (next + 1) % 40;
        DrawTextInSurface(kLine, &font, &t.surface, &box, 0x000000, 0xFFFFFF, 0x1000080);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TextFirstDrawNewSize)->Unit(benchmark::kMicrosecond);

static void BM_MeasureText(benchmark::State& state) {
    Target t(state.range(0) != 0);
    LogFont font = LineFont();
    int32_t length = static_cast<int32_t>(strlen(kLine));
    TextSize size = {};
    for (auto _ : state) {
        MeasureText(0, &font, kLine, length, &size);
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(BM_MeasureText)->Arg(1)->Arg(0);
namespace {

// The pixel work alone: the same glyphs' coverage, copied out of the renderer, blended at their places.
struct PlacedGlyph {
    int32_t x, y, width, rows;
    std::vector<uint8_t> coverage;
};

} // namespace

static void BM_GlyphBlend(benchmark::State& state) {
    bool use565 = state.range(0) != 0;
    Target t(use565);
    LogFont font = LineFont();
    const RendererFont* f = RendererFontFor(&font);
    std::vector<PlacedGlyph> glyphs;
    int32_t pen = 4;
    const uint8_t* s = reinterpret_cast<const uint8_t*>(kLine);
    for (size_t i = 0; s[i];) {
        uint32_t code = s[i] > 0x80 ? (s[i] << 8 | s[i + 1]) : s[i];
        i += s[i] > 0x80 ? 2 : 1;
        const CachedGlyph* g = GlyphFor(f, code);
        if (!g) continue;
        PlacedGlyph p = {pen + g->left, 4 + f->ascent - g->top, g->width, g->rows, {}};
        p.coverage.assign(GlyphCoverage(g), GlyphCoverage(g) + g->width * g->rows);
        if (p.width) glyphs.push_back(p);
        pen += g->advance;
    }
    uint16_t ink = BackendPixel(0x000000, use565);
    int64_t area = 0;
    for (const PlacedGlyph& g : glyphs) area += g.width * g.rows;
    state.counters["pixels"] = static_cast<double>(area);
    for (auto _ : state) {
        for (const PlacedGlyph& g : glyphs) {
            BlendCoverage(t.surface.pixels, t.surface.stride, g.x, g.y, g.coverage.data(), g.width, g.width,
                          g.rows, ink, use565);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GlyphBlend)->Arg(1)->Arg(0);

// The aim is 5 us a draw. Blending the line's 2,500 glyph pixels alone takes about 2.5 us here, so a draw may
// cost at most twice the blending; measuring blends nothing and should stay far below it.
VQ_RATIO("text: draw 20 chars with LogFont, 5-6-5 vs blend alone", "BM_DrawTextInSurface/1",
         "BM_GlyphBlend/1", 0.5);
VQ_RATIO("text: draw 20 chars with LogFont, 5-5-5 vs blend alone", "BM_DrawTextInSurface/0",
         "BM_GlyphBlend/0", 0.5);
VQ_RATIO("text: opaque wrapped draw, 5-6-5 vs blend alone", "BM_DrawTextOpaqueWrapped/1", "BM_GlyphBlend/1",
         0.5);
VQ_RATIO("text: measure 20 chars with LogFont vs blend alone", "BM_MeasureText/1", "BM_GlyphBlend/1", 5);
VQ_TIME_LIMIT("text: warm word-wrapped draw of 20 chars, 5-6-5", "BM_DrawTextOpaqueWrapped/1", 5000);
VQ_TIME_LIMIT("text: warm word-wrapped draw of 20 chars, 5-5-5", "BM_DrawTextOpaqueWrapped/0", 5000);
VQ_ELAPSED_FIGURE("text: first draw at a new size (font, size, glyphs)", "BM_TextFirstDrawNewSize");
VQ_ELAPSED_FIGURE("text: first draw in a fresh process (font lookup, face open)",
                  "BM_TextFirstDrawFreshProcess");
