#include "tools/soak/app_frames.h"

#include <SDL.h>
#include <string.h>

#include <string>

uint32_t Through565(uint8_t r, uint8_t g, uint8_t b) {
    uint32_t r5 = r >> 3, g6 = g >> 2, b5 = b >> 3;
    return ((r5 << 3 | r5 >> 2) << 16) | ((g6 << 2 | g6 >> 4) << 8) | (b5 << 3 | b5 >> 2);
}

bool NearColour(uint32_t a, uint32_t b, int32_t tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int32_t d = static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

ScreenPicture LoadScreenPicture(const char* folder, int32_t id) {
    ScreenPicture p;
    std::string path = std::string(folder) + "/" + std::to_string(id) + ".bmp";
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) return p;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (!s) return p;
    p.width = s->w;
    p.height = s->h;
    for (int32_t y = 0; y < s->h; y++) {
        for (int32_t x = 0; x < s->w; x++) {
            uint32_t v;
            memcpy(&v, static_cast<uint8_t*>(s->pixels) + y * s->pitch + 4 * x, 4);
            v &= 0xFFFFFF;
            p.key.push_back(v == 0xFF00FF);
            p.rgb.push_back(Through565(static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                                       static_cast<uint8_t>(v)));
        }
    }
    SDL_FreeSurface(s);
    return p;
}

bool LoadAppPictures(const char* folder, AppPictures* pictures) {
    static const int32_t ids[stepCount] = {1000, 1001, 1002, 2100, 2101};
    pictures->tile = LoadScreenPicture(folder, 3000);
    bool all = pictures->tile.width == 16;
    for (int32_t i = 0; i < stepCount; i++) {
        pictures->step[i] = LoadScreenPicture(folder, ids[i]);
        all = all && pictures->step[i].width > 0;
    }
    return all;
}

// Counts up to stopAfter mismatching pixels.
static int32_t Count(const AppPictures& all, const AppFrame& f, const ScreenPicture& p, int32_t px,
                     int32_t py, int32_t width, int32_t height, int32_t stopAfter) {
    const ScreenPicture& tile = all.tile;
    int32_t bad = 0;
    for (int32_t cy = 0; cy < height && bad < stopAfter; cy++) {
        for (int32_t cx = 0; cx < width; cx++) {
            uint32_t want = tile.rgb[(cy % tile.height) * tile.width + (cx % tile.width)];
            int32_t sx = cx - px, sy = cy - py;
            if (sx >= 0 && sy >= 0 && sx < p.width && sy < p.height && !p.key[sy * p.width + sx]) {
                want = p.rgb[sy * p.width + sx];
            }
            bad += !NearColour(f.at(cx, cy), want, all.tolerance);
        }
    }
    return bad;
}

int32_t Mismatches(const AppPictures& all, const AppFrame& f, const ScreenPicture& p, int32_t px, int32_t py,
                   int32_t width, int32_t height) {
    return Count(all, f, p, px, py, width, height, width * height);
}

int32_t ShownStep(const AppPictures& all, const AppFrame& f, int32_t width, int32_t height) {
    for (int32_t i = 0; i < stepCount; i++) {
        int32_t x = i == stepJump2 ? appJumpX : appIdleX;
        if (Count(all, f, all.step[i], x, appSpriteY, width, height, 1) == 0) return i;
    }
    return -1;
}
