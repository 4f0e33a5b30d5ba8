#include "tools/x11/x11_tools.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static bool NameMatches(Display* display, Window window, const char* name) {
    char* plain = nullptr;
    bool match = false;
    if (XFetchName(display, window, &plain) && plain) {
        match = strcmp(plain, name) == 0;
        XFree(plain);
    }
    if (match) return true;
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 256, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        match = strcmp(reinterpret_cast<char*>(data), name) == 0;
        XFree(data);
    }
    return match;
}

int32_t FindWindows(Display* display, const char* name, FoundWindow* found, int32_t capacity) {
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    int32_t n = 0;
    for (unsigned int i = 0; i < count && n < capacity; i++) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable) continue;
        if (!NameMatches(display, children[i], name)) continue;
        Window owner = 0, child;
        int x = 0, y = 0;
        XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
        found[n++] = {children[i], x,        y,
                      a.width,     a.height, XGetTransientForHint(display, children[i], &owner) != 0};
    }
    if (children) XFree(children);
    return n;
}

void AskToClose(Display* display, Window window) {
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &e);
    XFlush(display);
}

void FocusWindow(Display* display, Window window) {
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

bool GrabScreen(Display* display, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* pixels) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return false;
    if (image->bits_per_pixel == 32 && image->byte_order == LSBFirst) {
        for (int32_t row = 0; row < height; row++) {
            const char* from = image->data + static_cast<size_t>(row) * image->bytes_per_line;
            uint32_t* to = pixels + static_cast<size_t>(row) * width;
            memcpy(to, from, static_cast<size_t>(width) * 4);
            for (int32_t column = 0; column < width; column++) to[column] &= 0xFFFFFF;
        }
        XDestroyImage(image);
        return true;
    }
    for (int32_t row = 0; row < height; row++) {
        for (int32_t column = 0; column < width; column++) {
            pixels[static_cast<size_t>(row) * width + column] =
                static_cast<uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFF;
        }
    }
    XDestroyImage(image);
    return true;
}

bool WritePpm(const char* path, const uint32_t* pixels, int32_t width, int32_t height) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int32_t i = 0; i < width * height; i++) {
        unsigned char rgb[3] = {static_cast<unsigned char>(pixels[i] >> 16),
                                static_cast<unsigned char>(pixels[i] >> 8),
                                static_cast<unsigned char>(pixels[i])};
        fwrite(rgb, 1, 3, f);
    }
    return fclose(f) == 0;
}

static uint32_t Crc32(uint32_t crc, const unsigned char* bytes, size_t count) {
    crc = ~crc;
    for (size_t i = 0; i < count; i++) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; bit++) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

static void PutBig32(unsigned char* to, uint32_t value) {
    to[0] = static_cast<unsigned char>(value >> 24);
    to[1] = static_cast<unsigned char>(value >> 16);
    to[2] = static_cast<unsigned char>(value >> 8);
    to[3] = static_cast<unsigned char>(value);
}

static bool WriteChunk(FILE* f, const char* type, const unsigned char* data, size_t count) {
    unsigned char head[8];
    PutBig32(head, static_cast<uint32_t>(count));
    memcpy(head + 4, type, 4);
    uint32_t crc = Crc32(Crc32(0, head + 4, 4), data, count);
    unsigned char tail[4];
    PutBig32(tail, crc);
    return fwrite(head, 1, 8, f) == 8 && (count == 0 || fwrite(data, 1, count, f) == count) &&
           fwrite(tail, 1, 4, f) == 4;
}

bool WritePng(const char* path, const uint32_t* pixels, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return false;
    // Filter byte 0 and RGB per row, in stored deflate blocks of at most 65535 bytes.
    size_t row = 1 + static_cast<size_t>(width) * 3, raw = row * static_cast<size_t>(height);
    size_t blocks = raw / 65535 + 1, size = 2 + raw + blocks * 5 + 4;
    unsigned char* z = static_cast<unsigned char*>(malloc(size));
    unsigned char* image = static_cast<unsigned char*>(malloc(raw));
    if (!z || !image) {
        free(z);
        free(image);
        return false;
    }
    for (int32_t y = 0; y < height; y++) {
        unsigned char* to = image + static_cast<size_t>(y) * row;
        *to++ = 0;
        for (int32_t x = 0; x < width; x++) {
            uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            *to++ = static_cast<unsigned char>(p >> 16);
            *to++ = static_cast<unsigned char>(p >> 8);
            *to++ = static_cast<unsigned char>(p);
        }
    }
    size_t n = 0, at = 0;
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < raw; i++) {
        a = (a + image[i]) % 65521;
        b = (b + a) % 65521;
    }
    z[n++] = 0x78;
    z[n++] = 0x01;
    do {
        size_t count = raw - at < 65535 ? raw - at : 65535;
        z[n++] = at + count == raw ? 1 : 0;
        z[n++] = static_cast<unsigned char>(count);
        z[n++] = static_cast<unsigned char>(count >> 8);
        z[n++] = static_cast<unsigned char>(~count);
        z[n++] = static_cast<unsigned char>(~count >> 8);
        memcpy(z + n, image + at, count);
        n += count;
        at += count;
    } while (at < raw);
    PutBig32(z + n, (b << 16) | a);
    n += 4;
    unsigned char header[13] = {};
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header + 4, static_cast<uint32_t>(height));
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    FILE* f = fopen(path, "wb");
    bool ok = f && fwrite("\x89PNG\r\n\x1a\n", 1, 8, f) == 8 && WriteChunk(f, "IHDR", header, 13) &&
              WriteChunk(f, "IDAT", z, n) && WriteChunk(f, "IEND", nullptr, 0);
    if (f && fclose(f) != 0) ok = false;
    free(z);
    free(image);
    return ok;
}

bool WritePicture(const char* path, const uint32_t* pixels, int32_t width, int32_t height) {
    size_t length = strlen(path);
    if (length >= 4 && strcmp(path + length - 4, ".png") == 0) return WritePng(path, pixels, width, height);
    return WritePpm(path, pixels, width, height);
}
