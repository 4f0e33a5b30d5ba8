// Blits, fills and tiling against memcpy, memset and SDL2's own colour-keyed blitter on RGB565 surfaces.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <vector>

#include "bench/page_memory.h"
#include "bench/ratios.h"
#include "toolkit/gfx/draw.h"

static const uint32_t magenta = 0xFF00FF;
static const uint16_t magenta565 = 0xF81F;
namespace {

// A surface over its own memory, filled by `paint`.
struct BenchSurface {
    PageMemory memory;
    Surface surface = {};
    BenchSurface(int32_t width, int32_t height)
        : memory(static_cast<size_t>(SurfaceStride(static_cast<uint32_t>(width))) * height, 64) {
        CreateSurface(static_cast<uint32_t>(width), height, &surface, memory.at);
    }
    void Set(int32_t x, int32_t y, uint16_t p) { memcpy(surface.pixels + y * surface.stride + 2 * x, &p, 2); }
};

enum Look { Background, SolidSprite, NoisySprite };

} // namespace

// Sprites: an opaque ellipse on the key colour, or half the pixels the key at random.
static uint16_t PixelOf(Look look, int32_t x, int32_t y, int32_t w, int32_t h, std::mt19937& random) {
    uint16_t colour = static_cast<uint16_t>((x * 37 + y * 11) | 0x0821);
    if (colour == magenta565) colour ^= 1;
    if (look == NoisySprite) return random() & 1 ? magenta565 : colour;
    if (look == SolidSprite) {
        double dx = (x + 0.5) / w * 2 - 1, dy = (y + 0.5) / h * 2 - 1;
        return dx * dx + dy * dy <= 1 ? colour : magenta565;
    }
    return colour;
}

static void Paint(BenchSurface& s, Look look) {
    std::mt19937 random(1);
    for (int32_t y = 0; y < s.surface.height; ++y)
        for (int32_t x = 0; x < s.surface.width; ++x)
            s.Set(x, y, PixelOf(look, x, y, s.surface.width, s.surface.height, random));
}

// The same picture as an SDL RGB565 surface.
static SDL_Surface* SdlCopy(const BenchSurface& s) {
    SDL_Surface* out =
        SDL_CreateRGBSurfaceWithFormat(0, s.surface.width, s.surface.height, 16, SDL_PIXELFORMAT_RGB565);
    for (int32_t y = 0; y < s.surface.height; ++y)
        memcpy(static_cast<uint8_t*>(out->pixels) + y * out->pitch, s.surface.pixels + y * s.surface.stride,
               2 * static_cast<size_t>(s.surface.width));
    return out;
}
namespace {

struct Use565 {
    uint32_t saved = Theme[pixelFormat];
    Use565() { Theme[pixelFormat] |= rgb565; }
    ~Use565() { Theme[pixelFormat] = saved; }
};

} // namespace

// Sprites land in the middle of a 640 × 480 frame; full-size sources cover it.
static int32_t Place(int32_t frame, int32_t size) {
    return size < frame ? (frame - size) / 2 : 0;
}

// The references at their best: source and destination half a page apart.
static void BM_Memcpy(benchmark::State& state) {
    size_t bytes = 2 * static_cast<size_t>(state.range(0)) * state.range(1);
    PageMemory from(bytes, 64), to(bytes, 64 + 2048);
    memset(from.at, 1, bytes);
    for (auto _ : state) {
        memcpy(to.at, from.at, bytes);
        benchmark::ClobberMemory();
    }
}

static void BM_Memset(benchmark::State& state) {
    size_t bytes = 2 * static_cast<size_t>(state.range(0)) * state.range(1);
    PageMemory to(bytes, 64);
    for (auto _ : state) {
        memset(to.at, 0x5A, bytes);
        benchmark::ClobberMemory();
    }
}

// A surface copied into one of its own size.
static void BM_BlitPlain(benchmark::State& state) {
    int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    BenchSurface source(w, h), frame(w, h);
    Paint(source, Background);
    for (auto _ : state) {
        BlitSurface(&source.surface, &frame.surface, 0, 0, 0, 0);
        benchmark::ClobberMemory();
    }
}

// A sprite copied into the middle of the 640 × 480 frame: row by row.
static void BM_BlitPlainIntoFrame(benchmark::State& state) {
    int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    BenchSurface source(w, h), frame(640, 480);
    Paint(source, Background);
    for (auto _ : state) {
        BlitSurface(&source.surface, &frame.surface, Place(640, w), Place(480, h), 0, 0);
        benchmark::ClobberMemory();
    }
}

static void KeyedBlit(benchmark::State& state, Look look) {
    Use565 format;
    int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    BenchSurface source(w, h), frame(640, 480);
    Paint(source, look);
    Paint(frame, Background);
    for (auto _ : state) {
        BlitSurface(&source.surface, &frame.surface, Place(640, w), Place(480, h), blitColourKeyed, magenta);
        benchmark::ClobberMemory();
    }
}
static void BM_BlitKeyed(benchmark::State& state) {
    KeyedBlit(state, SolidSprite);
}
static void BM_BlitKeyedNoisy(benchmark::State& state) {
    KeyedBlit(state, NoisySprite);
}

static void SdlKeyedBlit(benchmark::State& state, Look look, int rle) {
    int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    BenchSurface sprite(w, h), background(640, 480);
    Paint(sprite, look);
    Paint(background, Background);
    SDL_Surface* source = SdlCopy(sprite);
    SDL_Surface* frame = SdlCopy(background);
    SDL_SetColorKey(source, SDL_TRUE, magenta565);
    SDL_SetSurfaceRLE(source, rle);
    SDL_Rect at = {Place(640, w), Place(480, h), w, h};
    SDL_BlitSurface(source, nullptr, frame, &at); // builds the RLE encoding outside the timing
    for (auto _ : state) {
        at = {Place(640, w), Place(480, h), w, h};
        SDL_BlitSurface(source, nullptr, frame, &at);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(frame);
}
static void BM_SdlKeyed(benchmark::State& state) {
    SdlKeyedBlit(state, SolidSprite, 0);
}
static void BM_SdlKeyedRle(benchmark::State& state) {
    SdlKeyedBlit(state, SolidSprite, 1);
}
static void BM_SdlKeyedRleNoisy(benchmark::State& state) {
    SdlKeyedBlit(state, NoisySprite, 1);
}

static void BM_DrawRectFill(benchmark::State& state) {
    int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    BenchSurface frame(w, h);
    Bounds all = {0, 0, w - 1, h - 1};
    for (auto _ : state) {
        DrawRect(&frame.surface, &all, 0xBFBFBF, rectFill); // two different bytes per pixel: no memset
        benchmark::ClobberMemory();
    }
}

static void BM_TileSurface(benchmark::State& state) {
    int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
    BenchSurface frame(w, h), tile(16, 16);
    Paint(tile, Background);
    Extent all = {0, 0, w, h};
    for (auto _ : state) {
        TileSurface(&frame.surface, &tile.surface, &all);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Memcpy)->Args({640, 480})->Args({96, 128});
BENCHMARK(BM_Memset)->Args({640, 480});
BENCHMARK(BM_BlitPlain)->Args({640, 480})->Args({96, 128});
BENCHMARK(BM_BlitPlainIntoFrame)->Args({96, 128});
BENCHMARK(BM_BlitKeyed)->Args({96, 128})->Args({640, 480});
BENCHMARK(BM_BlitKeyedNoisy)->Args({96, 128});
BENCHMARK(BM_SdlKeyed)->Args({96, 128})->Args({640, 480});
BENCHMARK(BM_SdlKeyedRle)->Args({96, 128});
BENCHMARK(BM_SdlKeyedRleNoisy)->Args({96, 128});
BENCHMARK(BM_DrawRectFill)->Args({640, 480});
BENCHMARK(BM_TileSurface)->Args({640, 480});

// The copy a program really does: a sprite row by row into a wider frame. Same-width copies collapse into
// one memmove and are shown for information.
VQ_RATIO("plain 96x128 sprite into 640x480 frame vs memcpy", "BM_BlitPlainIntoFrame/96/128",
         "BM_Memcpy/96/128", 0.8);
VQ_INFO_RATIO("plain BlitSurface 640x480 (one memmove) vs memcpy", "BM_BlitPlain/640/480",
              "BM_Memcpy/640/480");
VQ_INFO_RATIO("plain BlitSurface 96x128 (one memmove) vs memcpy", "BM_BlitPlain/96/128", "BM_Memcpy/96/128");
VQ_RATIO("keyed BlitSurface 96x128 sprite vs SDL2 keyed", "BM_BlitKeyed/96/128", "BM_SdlKeyed/96/128", 3.0);
VQ_RATIO("keyed BlitSurface 640x480 vs SDL2 keyed", "BM_BlitKeyed/640/480", "BM_SdlKeyed/640/480", 3.0);
VQ_RATIO("keyed BlitSurface solid 96x128 sprite vs SDL2 keyed RLE", "BM_BlitKeyed/96/128",
         "BM_SdlKeyedRle/96/128", 1.0);
VQ_RATIO("keyed BlitSurface noisy 96x128 vs SDL2 keyed RLE", "BM_BlitKeyedNoisy/96/128",
         "BM_SdlKeyedRleNoisy/96/128", 1.0);
VQ_RATIO("DrawRect fill 640x480 vs memset", "BM_DrawRectFill/640/480", "BM_Memset/640/480", 0.8);
VQ_RATIO("TileSurface 16x16 over 640x480 vs memset", "BM_TileSurface/640/480", "BM_Memset/640/480", 1.0 / 3);
