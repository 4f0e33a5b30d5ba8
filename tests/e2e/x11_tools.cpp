#include "tests/e2e/x11_tools.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <stdio.h>
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
