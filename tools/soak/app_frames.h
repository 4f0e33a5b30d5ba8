// The application's window as the screen shows it: the tiled background with the sprite in one of its
// known steps over it. Used by the checks that drive the real program on a virtual display.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

enum : int32_t { appClientW = 640, appClientH = 480, appIdleX = 13, appJumpX = 60, appSpriteY = 48 };

// A bitmap as the screen shows it: every colour through 5-6-5 and back to 8 bits a channel.
struct ScreenPicture {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> rgb; // 0x00RRGGBB
    std::vector<bool> key;     // the pixel was magenta in the file
};

// A grab of the client area, 0x00RRGGBB row by row.
struct AppFrame {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(appClientW * appClientH);
    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * appClientW + x]; }
};

// The steps a frame may show, in the order of AppPictures::step.
enum : int32_t { stepIdle0, stepIdle1, stepIdle2, stepJump1, stepJump2, stepCount };

struct AppPictures {
    ScreenPicture tile;
    ScreenPicture step[stepCount]; // bitmaps 1000, 1001, 1002, 2100, 2101
    int32_t tolerance = 2;         // per channel; a screen that widens 5 bits without repeating them needs 8
};

uint32_t Through565(uint8_t r, uint8_t g, uint8_t b);
bool NearColour(uint32_t a, uint32_t b, int32_t tolerance = 2);
// Bitmap id from the resource folder; an empty picture when it cannot be read.
ScreenPicture LoadScreenPicture(const char* folder, int32_t id);
// False when any of the bitmaps is missing.
bool LoadAppPictures(const char* folder, AppPictures* pictures);
// Pixels of the frame's top-left width × height that do not show picture p at (px, py) over the tiles.
int32_t Mismatches(const AppPictures& all, const AppFrame& f, const ScreenPicture& p, int32_t px, int32_t py,
                   int32_t width = appClientW, int32_t height = appClientH);
// The step the frame's top-left width × height shows (the jump's second step at x 60, every other one at
// x 13), or -1 when it shows none of them.
int32_t ShownStep(const AppPictures& all, const AppFrame& f, int32_t width = appClientW,
                  int32_t height = appClientH);
