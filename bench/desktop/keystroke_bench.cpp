// From a key to the screen, on a private virtual X display: the time from an XTest key press to the changed
// pixels being readable from the X server, for the gallery's single-row field and for a bare SDL program
// that draws one glyph a key (REFERENCE), started in turn so that both meet the same machine. Latin keys
// first, then Hangul through a real ibus-hangul (skipped when ibus or its engine is missing).
//   velquist_keystroke_bench GALLERY REFERENCE [keys] [rounds]
// Each key is measured from the field as it was: a key is typed and timed, then Backspace puts the field
// back (untimed). Where a program's caret blinks, those pixels are left out of the comparison.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <dlfcn.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/ime_session.h"
#include "tests/e2e/x_session.h"
#include "tools/x11/x11_tools.h"

namespace {

// The part of the window that a key changes, and the pixels there that change by themselves (a caret).
struct Watch {
    int32_t x, y, width, height; // window coordinates
    std::vector<uint8_t> blinking;
    std::vector<uint32_t> rest; // the picture with the field as it was
};

// One program on the display, ready for keys.
struct Subject {
    pid_t pid;
    Window window;
    int32_t width, height;
    Damage damage;
    Watch watch;
};

// What is typed: one cycle of keys, each timed, then the backspaces that put the field back.
struct Case {
    const char* name;
    std::vector<KeySym> keys; // one cycle
    int32_t backspaces;
    double target; // the most the gallery's median may be, as a multiple of the reference's
};

} // namespace

static const double waitSeconds = 10;

static int damageEvent;

// XTest from its run-time library, whose development files a machine may lack.
typedef int (*FakeKeyEvent)(Display*, unsigned, Bool, unsigned long);
static FakeKeyEvent fakeKeyEvent;

static bool OpenXTest(Display* display) {
    int event = 0, error = 0, opcode = 0;
    if (!XQueryExtension(display, "XTEST", &opcode, &event, &error)) return false;
    void* library = dlopen("libXtst.so.6", RTLD_NOW);
    if (!library) return false;
    fakeKeyEvent = reinterpret_cast<FakeKeyEvent>(dlsym(library, "XTestFakeKeyEvent"));
    return fakeKeyEvent != nullptr;
}

static double NowSeconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

static int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// 0x00RRGGBB pixels of a window rectangle; empty when it cannot be read.
static std::vector<uint32_t> Grab(Display* display, Window window, int32_t x, int32_t y, int32_t w,
                                  int32_t h) {
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                              AllPlanes, ZPixmap);
    if (!image) return pixels;
    if (image->bits_per_pixel == 32) {
        pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int32_t row = 0; row < h; row++)
            memcpy(&pixels[static_cast<size_t>(row) * static_cast<size_t>(w)],
                   image->data + static_cast<size_t>(row) * static_cast<size_t>(image->bytes_per_line),
                   static_cast<size_t>(w) * 4);
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
    }
    XDestroyImage(image);
    return pixels;
}

static std::vector<uint32_t> GrabWatch(Display* display, const Subject& s) {
    const Watch& w = s.watch;
    return Grab(display, s.window, w.x, w.y, w.width, w.height);
}

// Whether the picture differs from the field as it was, caret pixels left out.
static bool Differs(const Watch& w, const std::vector<uint32_t>& now) {
    if (now.size() != w.rest.size()) return false;
    for (size_t i = 0; i < now.size(); i++) {
        if (now[i] != w.rest[i] && !w.blinking[i]) return true;
    }
    return false;
}

// Waits for damage on the subject's window (or a millisecond), then looks: true once the watched area
// differs (or, with changed false, shows the field as it was again) before the deadline.
static bool WaitFor(Display* display, const Subject& s, bool changed, double deadline) {
    for (;;) {
        std::vector<uint32_t> now = GrabWatch(display, s);
        if (Differs(s.watch, now) == changed && !now.empty()) return true;
        if (NowSeconds() > deadline) return false;
        if (!XPending(display)) {
            pollfd p = {ConnectionNumber(display), POLLIN, 0};
            poll(&p, 1, 1);
        }
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == damageEvent + XDamageNotify)
                XDamageSubtract(display, reinterpret_cast<XDamageNotifyEvent*>(&e)->damage, None, None);
        }
    }
}

static void Tap(Display* display, KeySym key, bool press) {
    fakeKeyEvent(display, XKeysymToKeycode(display, key), press ? True : False, CurrentTime);
    XFlush(display);
}

static void Type(Display* display, KeySym key) {
    Tap(display, key, true);
    Tap(display, key, false);
}

// Waits until the whole window has been drawn and stays still but for a caret: a tenth of a second apart,
// two pictures differ in a few pixels at most.
static bool WaitForStill(Display* display, const Subject& s) {
    double deadline = NowSeconds() + waitSeconds;
    std::vector<uint32_t> last;
    while (NowSeconds() < deadline) {
        SleepMilliseconds(100);
        std::vector<uint32_t> now = GrabWatch(display, s);
        size_t differ = 0;
        for (size_t p = 0; p < now.size() && now.size() == last.size(); p++) differ += now[p] != last[p];
        bool drawn = std::any_of(now.begin(), now.end(), [](uint32_t p) { return p != 0; });
        if (drawn && now.size() == last.size() && differ < 64) return true;
        last = now;
    }
    return false;
}

// Starts the program, waits for its window and for it to take keys, finds the caret's blinking pixels
// over two blink periods and the area the first key changes.
static bool Prepare(Display* display, const char* program, const char* title, const std::vector<KeySym>& keys,
                    int32_t backspaces, Subject* s) {
    *s = {};
    s->pid = StartProgram(program, "/dev/null");
    if (s->pid <= 0) return false;
    FoundWindow found = {};
    double deadline = NowSeconds() + waitSeconds;
    while (FindWindows(display, title, &found, 1) == 0) {
        if (NowSeconds() > deadline) return false;
        SleepMilliseconds(20);
    }
    s->window = found.id;
    s->width = found.width;
    s->height = found.height;
    s->damage = XDamageCreate(display, s->window, XDamageReportNonEmpty);
    FocusWindow(display, s->window);
    // The whole window, watched while nothing is typed: what changes is the caret.
    Watch& w = s->watch;
    w = {0, 0, s->width, s->height, {}, {}};
    if (!WaitForStill(display, *s)) return false;
    w.rest = GrabWatch(display, *s);
    w.blinking.assign(w.rest.size(), 0);
    for (int32_t i = 0; i < 12; i++) {
        SleepMilliseconds(100);
        std::vector<uint32_t> now = GrabWatch(display, *s);
        if (now.size() != w.rest.size()) return false;
        for (size_t p = 0; p < now.size(); p++) w.blinking[p] |= now[p] != w.rest[p];
    }
    // The first keys: their bounding box, grown a little, is the watched area from now on.
    for (KeySym key : keys) {
        Type(display, key);
        if (!WaitFor(display, *s, true, NowSeconds() + waitSeconds)) return false;
    }
    SleepMilliseconds(300);
    std::vector<uint32_t> typed = GrabWatch(display, *s);
    int32_t left = s->width, right = -1, top = s->height, bottom = -1;
    for (int32_t y = 0; y < s->height; y++) {
        for (int32_t x = 0; x < s->width; x++) {
            size_t p = static_cast<size_t>(y) * static_cast<size_t>(s->width) + static_cast<size_t>(x);
            if (typed[p] == w.rest[p] || w.blinking[p]) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    for (int32_t i = 0; i < backspaces; i++) Type(display, XK_BackSpace);
    if (right < 0 || !WaitFor(display, *s, false, NowSeconds() + waitSeconds)) return false;
    Watch area = {std::max(0, left - 8), std::max(0, top - 4), 0, 0, {}, {}};
    area.width = std::min(s->width, right + 9) - area.x;
    area.height = std::min(s->height, bottom + 5) - area.y;
    for (int32_t y = 0; y < area.height; y++) {
        for (int32_t x = 0; x < area.width; x++) {
            size_t p = static_cast<size_t>(area.y + y) * static_cast<size_t>(s->width) +
                       static_cast<size_t>(area.x + x);
            area.rest.push_back(w.rest[p]);
            area.blinking.push_back(w.blinking[p]);
        }
    }
    w = area;
    return true;
}

static void Finish(Display* display, Subject* s) {
    if (s->damage) XDamageDestroy(display, s->damage);
    XSync(display, True);
    KillProgram(s->pid);
    *s = {};
}

// Times count keys: each key of the cycle is pressed and timed to the first changed picture, then the
// backspaces put the field back (untimed). Milliseconds are appended to times; false when a program
// stopped showing what it was sent.
static bool TimeKeys(Display* display, Subject* s, const std::vector<KeySym>& keys, int32_t backspaces,
                     int32_t count, std::vector<double>* times) {
    const std::vector<uint32_t> field = s->watch.rest;
    for (int32_t done = 0; done < count;) {
        for (KeySym key : keys) {
            double start = NowSeconds();
            Tap(display, key, true);
            bool seen = WaitFor(display, *s, true, start + waitSeconds);
            double at = NowSeconds();
            Tap(display, key, false);
            if (!seen) return false;
            times->push_back((at - start) * 1000);
            done++;
            // The next key of the cycle is timed from what this one showed, once it is all there.
            SleepMilliseconds(20);
            s->watch.rest = GrabWatch(display, *s);
        }
        for (int32_t i = 0; i < backspaces; i++) Type(display, XK_BackSpace);
        s->watch.rest = field;
        if (!WaitFor(display, *s, false, NowSeconds() + waitSeconds)) return false;
        SleepMilliseconds(10);
    }
    return true;
}

static double Quantile(std::vector<double> v, double q) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s GALLERY REFERENCE [keys] [rounds]\n", argv[0]);
        return 2;
    }
    const char* programs[2] = {argv[1], argv[2]};
    const char* titles[2] = {"Velquist Gallery", "Velquist Keys"};
    int32_t keys = argc > 3 ? atoi(argv[3]) : 200;
    int32_t rounds = argc > 4 ? atoi(argv[4]) : 4;
    char runtime[] = "/tmp/velquist-keys-runtime.XXXXXX";
    if (!getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime)) setenv("XDG_RUNTIME_DIR", runtime, 1);
    char data[] = "/tmp/velquist-keys-data.XXXXXX";
    if (mkdtemp(data)) setenv("XDG_DATA_HOME", data, 1);
    unsetenv("XMODIFIERS");
    unsetenv("SDL_IM_MODULE");
    XSession x = {};
    if (!StartXSession(&x)) {
        printf("keystroke bench: no Xvfb, nothing measured\n");
        return 0;
    }
    XSetErrorHandler(IgnoreXError);
    int damageError = 0;
    if (!XDamageQueryExtension(x.display, &damageEvent, &damageError) || !OpenXTest(x.display)) {
        printf("keystroke bench: the display lacks Damage or XTEST, nothing measured\n");
        StopXSession(&x);
        return 0;
    }
    const Case cases[2] = {
        {"Latin key into the field", {XK_m}, 1, 1.1},
        {"Hangul through ibus-hangul (g: \xE3\x85\x8E, k: \xED\x95\x98)", {XK_g, XK_k}, 2, 1.2}};
    ImeSession ime;
    printf("From a key to the screen on Xvfb: %d keys a program, in %d rounds taken in turn\n", keys, rounds);
    for (const Case& c : cases) {
        if (&c == &cases[1] && !StartImeSession(&ime, false)) {
            printf("\n%s: no ibus-hangul, not measured\n", c.name);
            StopImeSession(&ime);
            break;
        }
        std::vector<double> times[2];
        bool ok = true;
        for (int32_t round = 0; round < rounds && ok; round++) {
            for (int32_t p = 0; p < 2 && ok; p++) {
                Subject s;
                ok = Prepare(x.display, programs[p], titles[p], c.keys, c.backspaces, &s) &&
                     TimeKeys(x.display, &s, c.keys, c.backspaces, keys / rounds, &times[p]);
                if (!ok) printf("%s: %s did not show its keys\n", c.name, titles[p]);
                Finish(x.display, &s);
            }
        }
        double median[2], p90[2];
        for (int32_t p = 0; p < 2; p++) {
            median[p] = Quantile(times[p], 0.5);
            p90[p] = Quantile(times[p], 0.9);
        }
        printf("\n%s\n", c.name);
        printf("  %-40s median %7.3f ms   p90 %7.3f ms   (%zu keys)\n", "gallery", median[0], p90[0],
               times[0].size());
        printf("  %-40s median %7.3f ms   p90 %7.3f ms   (%zu keys)\n", "bare SDL program (reference)",
               median[1], p90[1], times[1].size());
        double ratio = ok ? median[0] / median[1] : -1;
        printf("  %-40s %7.2f x (p90 %.2f x)   target <= %.2f x %s\n", "gallery against the reference", ratio,
               ok ? p90[0] / p90[1] : -1, c.target,
               ratio < 0           ? "MISSING"
               : ratio <= c.target ? ""
                                   : "MISSED");
    }
    StopImeSession(&ime);
    StopXSession(&x);
    RunCommand((std::string("rm -rf '") + data + "'").c_str());
    return 0;
}
