// The gallery's client area on an X display: grabbing parts of it, finding a picture in it, and saving
// what was seen.
#pragma once

#include <X11/Xlib.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "tests/e2e/gallery_twin.h"

struct ClientScreen {
    Display* display = nullptr;
    int32_t x = 0, y = 0; // the client area's origin on the screen
    // An empty picture when the area cannot be read.
    Pixels Grab(const Area& area) const;
};

// Screen pixels of a rectangle given in screen coordinates.
Pixels GrabScreenArea(Display* display, int32_t x, int32_t y, int32_t width, int32_t height);
// Every place (top-left corner, in the picture's coordinates) where picture shows within the columns
// from x to x + columns - 1 of in, pixels of colour skip left out.
struct Place {
    int32_t x, y;
};
std::vector<Place> FindPicture(const Pixels& in, const Pixels& picture, int32_t x, int32_t columns,
                               int32_t tolerance, uint32_t skip = 0xFFFFFFFFu);
// True when each channel of a and b differs by at most tolerance.
bool Near(uint32_t a, uint32_t b, int32_t tolerance);
bool SavePixels(const std::string& path, const Pixels& pixels);
