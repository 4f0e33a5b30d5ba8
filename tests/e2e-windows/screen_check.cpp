// Reads the screen of the X display that Velquist runs on under Wine and checks what its main window
// shows, comparing with the program's own bitmaps (colours within a tolerance: the program draws 16-bit
// pixels).
//
//   screen_check <resource dir> <output .ppm> <check> [seconds]
//     idle       the brick tile everywhere and an idle image (1000, 1001, 1002) at (13, 48)
//     jump       the second action image (2101) at (60, 48)
//     animating  at least two different idle images one after the other
//     breathing  the same, looking only at the left of the client area (a question box may cover the rest)
//     capture    only saves the screen
//
// The client area is found as the first place, in reading order, where the tile appears. The screen is
// read again and again until the check passes or the seconds (default 10) are over; the last screen read
// is saved either way. Exit code 0 = passed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb; // 0xRRGGBB, rows top-down

    uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

} // namespace

static uint32_t Read32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// An uncompressed 24-bit BMP.
static bool LoadBmp(const std::string& path, Image* image) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(f);
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    uint32_t offset = Read32(bytes, 10);
    int width = static_cast<int32_t>(Read32(bytes, 18));
    int height = static_cast<int32_t>(Read32(bytes, 22));
    int bits = bytes[28] | bytes[29] << 8;
    if (bits != 24 || Read32(bytes, 30) != 0 || width <= 0 || height == 0) return false;
    bool bottomUp = height > 0;
    if (!bottomUp) height = -height;
    size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (offset + stride * height > bytes.size()) return false;
    image->width = width;
    image->height = height;
    image->rgb.assign(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < height; y++) {
        size_t row = offset + stride * (bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; x++) {
            const unsigned char* p = &bytes[row + 3 * static_cast<size_t>(x)];
            image->rgb[static_cast<size_t>(y) * width + x] = p[2] << 16 | p[1] << 8 | p[0];
        }
    }
    return true;
}

static int Shift(unsigned long mask) {
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        s++;
    }
    return s;
}

static bool Grab(Display* display, Image* image) {
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* x = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!x) return false;
    int rs = Shift(x->red_mask), gs = Shift(x->green_mask), bs = Shift(x->blue_mask);
    image->width = attributes.width;
    image->height = attributes.height;
    image->rgb.resize(static_cast<size_t>(image->width) * image->height);
    bool direct = x->bits_per_pixel == 32 && x->byte_order == LSBFirst;
    for (int y = 0; y < image->height; y++) {
        for (int xx = 0; xx < image->width; xx++) {
            unsigned long p;
            if (direct) {
                uint32_t word;
                memcpy(&word,
                       x->data + static_cast<size_t>(y) * x->bytes_per_line + 4 * static_cast<size_t>(xx), 4);
                p = word;
            } else {
                p = XGetPixel(x, xx, y);
            }
            uint32_t r = (p & x->red_mask) >> rs, g = (p & x->green_mask) >> gs, b = (p & x->blue_mask) >> bs;
            image->rgb[static_cast<size_t>(y) * image->width + xx] = r << 16 | g << 8 | b;
        }
    }
    XDestroyImage(x);
    return true;
}

static void SavePpm(const std::string& path, const Image& image) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fprintf(f, "P6\n%d %d\n255\n", image.width, image.height);
    for (uint32_t c : image.rgb) {
        unsigned char p[3] = {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                              static_cast<unsigned char>(c)};
        fwrite(p, 1, 3, f);
    }
    fclose(f);
}

// 16-bit pixels keep 5 bits of a channel; the screen widens them again.
static bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d < -12 || d > 12) return false;
    }
    return true;
}

static bool IsMagenta(uint32_t c) {
    return (c >> 16) >= 0xD0 && ((c >> 8) & 0xFF) <= 0x30 && (c & 0xFF) >= 0xD0;
}

static constexpr int spriteY = 48;
static constexpr int checkedWidth = 600; // well inside the client area of the 640 × 480 window
static constexpr int checkedHeight = 400;

namespace {

struct Art {
    Image tile;
    Image idle[3];
    Image jump;
};

} // namespace

static bool FindClient(const Image& screen, const Image& tile, int* originX, int* originY) {
    for (int y = 0; y + checkedHeight <= screen.height; y++) {
        for (int x = 0; x + checkedWidth <= screen.width; x++) {
            bool match = true;
            for (int ty = 0; ty < tile.height && match; ty++) {
                for (int tx = 0; tx < tile.width && match; tx++) {
                    match = Near(screen.At(x + tx, y + ty), tile.At(tx, ty));
                }
            }
            if (match) {
                *originX = x;
                *originY = y;
                return true;
            }
        }
    }
    return false;
}

// The client area shows the tile with the sprite drawn over it at (spriteX, 48) through its magenta key,
// and no magenta anywhere.
static bool ShowsSprite(const Image& screen, int ox, int oy, const Art& art, const Image& sprite, int spriteX,
                        int width = checkedWidth) {
    int wrong = 0;
    for (int y = 0; y < checkedHeight; y++) {
        for (int x = 0; x < width; x++) {
            uint32_t seen = screen.At(ox + x, oy + y);
            if (IsMagenta(seen)) return false;
            uint32_t expected = art.tile.At(x % art.tile.width, y % art.tile.height);
            int sx = x - spriteX, sy = y - spriteY;
            if (sx >= 0 && sy >= 0 && sx < sprite.width && sy < sprite.height &&
                !IsMagenta(sprite.At(sx, sy))) {
                expected = sprite.At(sx, sy);
            }
            if (!Near(seen, expected)) wrong++;
        }
    }
    return wrong == 0;
}

// Which idle image is shown at x 13: 0, 1, 2, or -1 for none.
static int IdleImage(const Image& screen, int ox, int oy, const Art& art, int width = checkedWidth) {
    for (int i = 0; i < 3; i++) {
        if (ShowsSprite(screen, ox, oy, art, art.idle[i], 13, width)) return i;
    }
    return -1;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr,
                "usage: %s <resource dir> <output .ppm> idle|jump|animating|breathing|capture [seconds]\n",
                argv[0]);
        return 2;
    }
    std::string dir = argv[1], output = argv[2], check = argv[3];
    double seconds = argc > 4 ? atof(argv[4]) : 10.0;
    Art art;
    const char* idleNames[3] = {"1000", "1001", "1002"};
    bool loaded = LoadBmp(dir + "/3000.bmp", &art.tile) && LoadBmp(dir + "/2101.bmp", &art.jump);
    for (int i = 0; i < 3; i++) loaded = loaded && LoadBmp(dir + "/" + idleNames[i] + ".bmp", &art.idle[i]);
    if (!loaded) {
        fprintf(stderr, "screen_check: cannot read the bitmaps in %s\n", dir.c_str());
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "screen_check: no X display\n");
        return 2;
    }

    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    Image screen;
    bool passed = false, sawClient = false;
    int seenMask = 0;
    do {
        if (!Grab(display, &screen)) break;
        if (check == "capture") {
            passed = true;
            break;
        }
        int ox = 0, oy = 0;
        if (FindClient(screen, art.tile, &ox, &oy)) {
            sawClient = true;
            if (check == "idle") {
                int i = IdleImage(screen, ox, oy, art);
                if (i >= 0) {
                    printf("screen_check: idle image %s at client (13, 48), client area at (%d, %d)\n",
                           idleNames[i], ox, oy);
                    passed = true;
                }
            } else if (check == "jump") {
                if (ShowsSprite(screen, ox, oy, art, art.jump, 60)) {
                    printf("screen_check: action image 2101 at client (60, 48)\n");
                    passed = true;
                }
            } else if (check == "animating" || check == "breathing") {
                int i = IdleImage(screen, ox, oy, art, check == "animating" ? checkedWidth : 140);
                if (i >= 0) seenMask |= 1 << i;
                if (seenMask & (seenMask - 1)) {
                    printf("screen_check: idle images change (seen mask %d)\n", seenMask);
                    passed = true;
                }
            } else {
                fprintf(stderr, "screen_check: unknown check %s\n", check.c_str());
                break;
            }
        }
        if (!passed) std::this_thread::sleep_for(std::chrono::milliseconds(15));
    } while (!passed && std::chrono::steady_clock::now() < deadline);

    SavePpm(output, screen);
    XCloseDisplay(display);
    if (!passed) {
        fprintf(stderr, "screen_check: %s failed (%s)\n", check.c_str(),
                sawClient ? "the client area shows something else" : "no tiled client area on the screen");
    }
    return passed ? 0 : 1;
}
