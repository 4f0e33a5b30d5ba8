// Command-line face of the X tools, for scripts (tools/run-app.sh and the Wine checks):
//   x11_helper find NAME                one line per window: id x y width height transient
//   x11_helper wait NAME SECONDS [NOT]  waits for a window named NAME (not the id NOT); prints its line
//   x11_helper gone ID SECONDS          waits until the window is no longer shown
//   x11_helper close ID                 WM_DELETE_WINDOW, as a window manager's close button sends it
//   x11_helper focus ID                 raise and give the keyboard focus
//   x11_helper grab X Y W H FILE        a screen rectangle as a PNG (FILE ends in .png) or PPM file
//   x11_helper shot ID SECONDS FILE     waits until the inner part of the window's lower half shows more
//                                       than one colour (the program's own picture, not a frame), then
//                                       grabs the window
// Every wait polls with the given deadline; the result is 1 when the deadline passed.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "tools/x11/x11_tools.h"

static int64_t Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

static void Pause() {
    timespec t = {0, 50 * 1000000L};
    nanosleep(&t, nullptr);
}

static int64_t Deadline(const char* seconds) {
    return Now() + static_cast<int64_t>(atof(seconds) * 1000);
}

static Window ParseWindow(const char* text) {
    return static_cast<Window>(strtoul(text, nullptr, 0));
}

static void PrintWindow(const FoundWindow& w) {
    printf("0x%lx %d %d %d %d %d\n", w.id, w.x, w.y, w.width, w.height, w.transient);
}

// The window as it is shown now; false when it is not shown.
static bool FindById(Display* display, Window id, FoundWindow* found) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, id, &a) || a.map_state != IsViewable) return false;
    Window child;
    int x = 0, y = 0;
    XTranslateCoordinates(display, id, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    *found = {id, x, y, a.width, a.height, 0};
    return true;
}

static int Wait(Display* display, const char* name, int64_t deadline, Window except) {
    for (;;) {
        FoundWindow found[16];
        int32_t n = FindWindows(display, name, found, 16);
        for (int32_t i = 0; i < n; i++) {
            if (found[i].id == except) continue;
            PrintWindow(found[i]);
            return 0;
        }
        if (Now() > deadline) return 1;
        Pause();
    }
}

static int Gone(Display* display, Window id, int64_t deadline) {
    FoundWindow w;
    while (FindById(display, id, &w)) {
        if (Now() > deadline) return 1;
        Pause();
    }
    return 0;
}

static bool Grab(Display* display, int32_t x, int32_t y, int32_t w, int32_t h, const char* path,
                 bool needsPicture) {
    if (w <= 0 || h <= 0) return false;
    uint32_t* pixels = static_cast<uint32_t*>(malloc(sizeof(uint32_t) * w * h));
    bool ok = pixels && GrabScreen(display, x, y, w, h, pixels);
    if (ok && needsPicture) {
        // A window manager's or Wine's own frame shows colours before the program paints, its edges down
        // the whole height: only the inner part of the lower half, away from every edge, is the program's.
        const uint32_t first = pixels[(h / 2) * w + w / 8];
        ok = false;
        for (int32_t y = h / 2; y < h - h / 8 && !ok; y++) {
            for (int32_t x = w / 8; x < w - w / 8 && !ok; x++) ok = pixels[y * w + x] != first;
        }
    }
    ok = ok && WritePicture(path, pixels, w, h);
    free(pixels);
    return ok;
}

static int Shot(Display* display, Window id, int64_t deadline, const char* path) {
    for (;;) {
        FoundWindow w;
        if (FindById(display, id, &w) && Grab(display, w.x, w.y, w.width, w.height, path, true)) return 0;
        if (Now() > deadline) return 1;
        Pause();
    }
}

// Windows come and go while the helper looks at them; a request about one that just went is no failure.
static int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr,
                "usage: x11_helper find NAME | wait NAME SECONDS [NOT] | gone ID SECONDS | close ID | "
                "focus ID | grab X Y W H FILE | shot ID SECONDS FILE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "x11_helper: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const char* command = argv[1];
    int result = 0;
    if (strcmp(command, "find") == 0) {
        FoundWindow found[16];
        int32_t n = FindWindows(display, argv[2], found, 16);
        for (int32_t i = 0; i < n; i++) PrintWindow(found[i]);
        result = n > 0 ? 0 : 1;
    } else if (strcmp(command, "wait") == 0 && argc >= 4) {
        result = Wait(display, argv[2], Deadline(argv[3]), argc > 4 ? ParseWindow(argv[4]) : 0);
    } else if (strcmp(command, "gone") == 0 && argc == 4) {
        result = Gone(display, ParseWindow(argv[2]), Deadline(argv[3]));
    } else if (strcmp(command, "close") == 0) {
        AskToClose(display, ParseWindow(argv[2]));
    } else if (strcmp(command, "focus") == 0) {
        FocusWindow(display, ParseWindow(argv[2]));
    } else if (strcmp(command, "grab") == 0 && argc == 7) {
        result =
            Grab(display, atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), argv[6], false) ? 0 : 1;
    } else if (strcmp(command, "shot") == 0 && argc == 5) {
        result = Shot(display, ParseWindow(argv[2]), Deadline(argv[3]), argv[4]);
    } else {
        fprintf(stderr, "x11_helper: unknown command or arguments: %s\n", command);
        result = 2;
    }
    XCloseDisplay(display);
    return result;
}
