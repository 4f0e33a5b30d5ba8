// The Linux program as a user meets it, on a private virtual X display: time to the first frame (from the
// start of the process to the damage that completed the window's picture), the idle CPU share and resident
// memory over an idle stretch, and the time of each screen copy (from the twin program that prints them).
// The first frame is also shown against SDL alone opening the same window (REFERENCE), started in turn with
// the program so that both meet the same machine. With GALLERY, the gallery's idle CPU share is measured too:
// its caret blinks and nothing is held, so no arrow's repeat timer runs.
//   velquist_desktop_bench PROGRAM TIMED_TWIN REFERENCE [starts] [idle seconds] [GALLERY]
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tests/e2e/x_session.h"
#include "tools/x11/x11_tools.h"

namespace {

enum : int32_t { clientW = 640, clientH = 480, spriteX = 13, spriteY = 48, spriteW = 143, spriteH = 128 };

struct Targets {
    double firstFrameMs = 50, firstFrameRatio = 1.05, idleCpuPercent = 1, residentMb = 20, presentMs = 0.3;
};

} // namespace

// The background tile as the screen shows it: 5-6-5 widened back to 8 bits a channel.
static std::vector<uint32_t> tile;

static bool LoadTile() {
    SDL_Surface* loaded = SDL_LoadBMP(VQ_APP_RESOURCES "/3000.bmp");
    if (!loaded) return false;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (!s || s->w != 16 || s->h != 16) return false;
    for (int32_t y = 0; y < 16; y++) {
        for (int32_t x = 0; x < 16; x++) {
            uint32_t v;
            memcpy(&v, static_cast<uint8_t*>(s->pixels) + y * s->pitch + 4 * x, 4);
            uint32_t r = (v >> 19) & 31, g = (v >> 10) & 63, b = (v >> 3) & 31;
            tile.push_back(((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2));
        }
    }
    SDL_FreeSurface(s);
    return true;
}

static bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        int32_t d = static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF);
        if (d > 2 || d < -2) return false;
    }
    return true;
}

// The window shows a whole frame: the tiled background everywhere the sprite cannot be.
static bool WholeFrame(Display* display, Window window) {
    XImage* image = XGetImage(display, window, 0, 0, clientW, clientH, AllPlanes, ZPixmap);
    if (!image) return false;
    bool whole = image->bits_per_pixel == 32;
    for (int32_t y = 0; y < clientH && whole; y += 3) {
        for (int32_t x = 0; x < clientW && whole; x += 3) {
            if (x >= spriteX && x < spriteX + spriteW && y >= spriteY && y < spriteY + spriteH) continue;
            uint32_t p;
            memcpy(&p, image->data + static_cast<size_t>(y) * image->bytes_per_line + 4 * x, 4);
            whole = Near(p & 0xFFFFFF, tile[(y % 16) * 16 + x % 16]);
        }
    }
    XDestroyImage(image);
    return whole;
}

// A window that went away before its damage was set up is no reason to stop.
static int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

static double NowSeconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Milliseconds from the start of the process to its first whole frame (with whole false: to its first
// damage, for a program whose picture is not the tiled one); negative when none came.
static double FirstFrame(Display* display, const char* program, const char* output, pid_t* started,
                         bool whole = true) {
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) return -1;
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);
    double start = NowSeconds();
    *started = StartProgram(program, output);
    std::vector<Damage> damages;
    double frame = -1;
    while (frame < 0 && NowSeconds() - start < 15) {
        if (!XPending(display)) {
            usleep(200);
            continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        double at = NowSeconds();
        if (e.type == CreateNotify && e.xcreatewindow.parent == root) {
            damages.push_back(XDamageCreate(display, e.xcreatewindow.window, XDamageReportNonEmpty));
        } else if (e.type == damageEvent + XDamageNotify) {
            const XDamageNotifyEvent* d = reinterpret_cast<const XDamageNotifyEvent*>(&e);
            XDamageSubtract(display, d->damage, None, None);
            if (!whole || WholeFrame(display, d->drawable)) frame = (at - start) * 1000;
        }
    }
    XSelectInput(display, root, 0);
    for (Damage d : damages) XDamageDestroy(display, d);
    XSync(display, True);
    return frame;
}

// CPU seconds (user and system) the process has used.
static double CpuSeconds(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    char text[1024] = {};
    size_t n = fread(text, 1, sizeof text - 1, f);
    fclose(f);
    text[n] = 0;
    const char* p = strrchr(text, ')');
    if (!p) return -1;
    unsigned long user = 0, system = 0;
    // After the name: state, then fields 4..13, then utime (14) and stime (15).
    if (sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2) return -1;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A "VmRSS"-style line of /proc/PID/status, in megabytes.
static double StatusMb(pid_t pid, const char* field) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    char line[256];
    double mb = -1;
    size_t length = strlen(field);
    while (fgets(line, sizeof line, f)) {
        if (strncmp(line, field, length) == 0 && line[length] == ':') mb = atof(line + length + 1) / 1024.0;
    }
    fclose(f);
    return mb;
}

static double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

static double Quantile(std::vector<double> v, double q) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

static void Row(const char* what, double value, const char* unit, double target, bool below = true) {
    bool ok = value >= 0 && (below ? value < target : value >= target);
    printf("%-58s %10.2f %-3s  target %s %6.2f %s %s\n", what, value, unit, below ? "<" : ">=", target, unit,
           value < 0 ? "MISSING"
           : ok      ? ""
                     : "MISSED");
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s PROGRAM TIMED_TWIN REFERENCE [starts] [idle seconds] [GALLERY]\n",
                argv[0]);
        return 2;
    }
    const char* program = argv[1];
    const char* twin = argv[2];
    const char* reference = argv[3];
    int32_t starts = argc > 4 ? atoi(argv[4]) : 10;
    int32_t idleSeconds = argc > 5 ? atoi(argv[5]) : 20;
    const char* galleryProgram = argc > 6 ? argv[6] : nullptr;
    if (!LoadTile()) {
        fprintf(stderr, "desktop bench: cannot read the background tile\n");
        return 1;
    }
    // SDL wants a private runtime directory; a plain shell may not have one.
    char runtime[] = "/tmp/velquist-bench-runtime.XXXXXX";
    bool ownRuntime = !getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime);
    if (ownRuntime) setenv("XDG_RUNTIME_DIR", runtime, 1);
    char log[] = "/tmp/velquist-bench-presents.XXXXXX";
    int logFile = mkstemp(log);
    if (logFile < 0) return 1;
    close(logFile);
    XSession x = {};
    if (!StartXSession(&x)) {
        printf("desktop bench: no Xvfb, nothing measured\n");
        return 0;
    }
    XSetErrorHandler(IgnoreXError);
    Targets targets;
    printf("The Linux program on a virtual X display (Xvfb, no GPU): %d starts, %d s idle\n", starts,
           idleSeconds);

    // First frames: one start to warm the file cache, then the measured ones.
    std::vector<double> firstFrames, bareFrames;
    for (int32_t i = 0; i <= starts; i++) {
        pid_t pid = 0;
        double ms = FirstFrame(x.display, program, "/dev/null", &pid);
        KillProgram(pid);
        if (i > 0 && ms >= 0) firstFrames.push_back(ms);
        ms = FirstFrame(x.display, reference, "/dev/null", &pid);
        KillProgram(pid);
        if (i > 0 && ms >= 0) bareFrames.push_back(ms);
    }
    printf("first frames (ms):");
    for (double ms : firstFrames) printf(" %.1f", ms);
    printf("\nSDL alone (ms):   ");
    for (double ms : bareFrames) printf(" %.1f", ms);
    printf("\n");

    // Idle: the sprite animates at 10 frames a second and nothing else happens.
    pid_t pid = 0;
    double cpuShare = -1, residentMax = -1, peak = -1, serverShare = -1;
    if (FirstFrame(x.display, program, "/dev/null", &pid) >= 0) {
        double cpu0 = CpuSeconds(pid), server0 = CpuSeconds(x.server), t0 = NowSeconds();
        for (int32_t s = 0; s < idleSeconds; s++) {
            sleep(1);
            residentMax = std::max(residentMax, StatusMb(pid, "VmRSS"));
        }
        double elapsed = NowSeconds() - t0;
        cpuShare = (CpuSeconds(pid) - cpu0) / elapsed * 100;
        serverShare = (CpuSeconds(x.server) - server0) / elapsed * 100;
        peak = StatusMb(pid, "VmHWM");
    }
    KillProgram(pid);

    // The gallery left alone once its start-up has settled: only the caret's blink timer runs.
    double galleryShare = -1;
    pid = 0;
    if (galleryProgram && FirstFrame(x.display, galleryProgram, "/dev/null", &pid, false) >= 0) {
        sleep(1);
        double cpu0 = CpuSeconds(pid), t0 = NowSeconds();
        sleep(static_cast<unsigned>(idleSeconds));
        galleryShare = (CpuSeconds(pid) - cpu0) / (NowSeconds() - t0) * 100;
    }
    KillProgram(pid);

    // Screen copies: the twin prints "present <nanoseconds> <pixels sent>" after every paint.
    std::vector<double> presents, pixels;
    pid = 0;
    if (FirstFrame(x.display, twin, log, &pid) >= 0)
        sleep(static_cast<unsigned>(idleSeconds < 10 ? idleSeconds : 10));
    KillProgram(pid);
    if (FILE* f = fopen(log, "r")) {
        char line[128];
        int32_t skip = 3; // the first frames are whole windows
        while (fgets(line, sizeof line, f)) {
            double ns = 0, sent = 0;
            if (sscanf(line, "present %lf %lf", &ns, &sent) != 2) continue;
            if (skip > 0) {
                skip--;
                continue;
            }
            presents.push_back(ns / 1e6);
            pixels.push_back(sent);
        }
        fclose(f);
    }
    unlink(log);
    StopXSession(&x);
    if (ownRuntime) rmdir(runtime);

    printf("\n%-58s %10s\n", "Linux program on Xvfb (medians where repeated)", "measured");
    Row("time to first frame (median of starts)", Median(firstFrames), "ms", targets.firstFrameMs);
    printf("%-58s %10.2f ms   (reference)\n", "SDL alone to the same first frame (median)",
           Median(bareFrames));
    Row("first frame against SDL alone (medians)", Median(firstFrames) / Median(bareFrames), "x",
        targets.firstFrameRatio);
    Row("idle CPU share of one core (10 frames/s)", cpuShare, "%", targets.idleCpuPercent);
    if (galleryProgram) Row("gallery idle CPU share of one core (nothing held)", galleryShare, "%", 1);
    Row("resident memory, largest while idle", residentMax, "MB", targets.residentMb);
    printf("%-58s %10.2f MB   (start-up included)\n", "resident memory, peak", peak);
    printf("%-58s %10.2f %%    (information)\n", "X server CPU share while idle", serverShare);
    Row("present of a sprite tick (median)", Median(presents), "ms", targets.presentMs);
    printf("%-58s %10.2f ms   (information)\n", "present of a sprite tick (90th percentile)",
           Quantile(presents, 0.9));
    printf("%-58s %10.0f px   (%zu ticks)\n", "pixels sent per tick (median)", Median(pixels), pixels.size());
    return 0;
}
