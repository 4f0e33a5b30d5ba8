#include "tests/e2e/gallery_screen.h"

#include <stdlib.h>

#include "tools/x11/x11_tools.h"

Pixels GrabScreenArea(Display* display, int32_t x, int32_t y, int32_t width, int32_t height) {
    Pixels p;
    if (width <= 0 || height <= 0) return p;
    p.rgb.resize(static_cast<size_t>(width) * height);
    if (!GrabScreen(display, x, y, width, height, p.rgb.data())) {
        p.rgb.clear();
        return p;
    }
    p.width = width;
    p.height = height;
    return p;
}

Pixels ClientScreen::Grab(const Area& area) const {
    return GrabScreenArea(display, x + area.x, y + area.y, area.width, area.height);
}

bool Near(uint32_t a, uint32_t b, int32_t tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int32_t d = static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF);
        if (abs(d) > tolerance) return false;
    }
    return true;
}

std::vector<Place> FindPicture(const Pixels& in, const Pixels& picture, int32_t x, int32_t columns,
                               int32_t tolerance, uint32_t skip) {
    std::vector<Place> found;
    for (int32_t top = 0; top + picture.height <= in.height; top++) {
        for (int32_t left = x; left < x + columns && left + picture.width <= in.width; left++) {
            bool match = true;
            for (int32_t j = 0; j < picture.height && match; j++) {
                for (int32_t i = 0; i < picture.width && match; i++) {
                    uint32_t want = picture.At(i, j);
                    match = want == skip || Near(in.At(left + i, top + j), want, tolerance);
                }
            }
            if (match) found.push_back({left, top});
        }
    }
    return found;
}

bool SavePixels(const std::string& path, const Pixels& pixels) {
    return pixels.width > 0 && WritePicture(path.c_str(), pixels.rgb.data(), pixels.width, pixels.height);
}
