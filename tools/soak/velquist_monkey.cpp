// The application under a seeded random stream of real input on a virtual X display: Ctrl taps and holds
// at random moments (inside one tick and across ticks), other keys, clicks, wheel notches, drags and moves
// over the window and past its edges, the close request answered No or Escape (sometimes sent twice, or
// with Ctrl held), then a final Yes. All along, every grabbed frame must show the tiled background with
// one of the sprite's steps over it, the steps must keep changing, and a Ctrl press held across ticks must
// show the jump. At the end: exit code 0, no sanitizer report or X error in the program's output, and a
// resident memory that grew by less than 1 MB after the warm-up.
//
//   velquist_monkey [--seconds N]
// SOAK_SEED     the stream's seed (default: the time); printed, replay with the same seed and length
// SOAK_MINUTES  length of the run without --seconds (default 10)
// SOAK_OUTPUT   folder for the program's output and the picture of a wrong frame (default: the build's)
// VQ_WINE_VELQUIST  velquist.exe, run with wine on the display that DISPLAY names (a Wine session's, as
//               tests/e2e-windows/velquist_monkey.sh starts it) instead of the Linux build on an Xvfb of its
//               own
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <string>
#include <vector>

#include "tests/e2e/x_session.h"
#include "tests/e2e/monkey_stream.h"
#include "tools/soak/app_frames.h"
#include "tools/x11/x11_tools.h"

namespace {

enum : int32_t { waitLong = 15000, stalledAfter = 3000, checkedHeight = 200, rssLimitKb = 1024 };
// The part of the client area that the frames are checked in: the sprite and its jump with room around.
enum : int32_t { checkedWidth = 200 };

// What the program has seen of Ctrl: idle (no press since the last release it saw), or unknown (a
// release went to the question box, or a press may have been taken by a tick).
enum CtrlModel { ctrlIdle, ctrlUnknown };

struct Monkey {
    XSession x = {};
    pid_t app = 0;
    FoundWindow main = {};
    AppPictures pictures;
    MonkeyStream stream = {};
    int64_t lastChange = 0;
    int32_t lastStep = -1;
    bool jumpSeen = false;
    CtrlModel ctrl = ctrlIdle;
    int64_t grabs = 0, events = 0, holds = 0, jumps = 0;
    std::string output, failure;
    std::string recent[8];         // the last inputs sent, printed with a failure
    const char* wineExe = nullptr; // velquist.exe under Wine on the session's display, or the Linux build
    // The client area on the screen (Wine draws its frame inside the window), and a question box over it.
    int32_t clientX = 0, clientY = 0, clientH = appClientH;
    int32_t boxLeft = appClientW, boxTop = appClientH;
};

} // namespace

static void Fail(Monkey* m, const std::string& what) {
    if (m->failure.empty()) m->failure = what;
}

static void Send(Monkey* m, const std::string& arguments) {
    m->recent[m->events % 8] = arguments;
    m->events++;
    std::string command = "xdotool " + arguments;
    if (RunCommand(command.c_str()) != 0) Fail(m, "xdotool failed: " + command);
}

// Grabs the left of the window and checks it: the known picture, and the steps still changing. Every
// eighth grab looks at the whole height.
static void Look(Monkey* m) {
    AppFrame f;
    int32_t height = m->grabs % 8 == 0 ? m->clientH : int32_t{checkedHeight};
    m->grabs++;
    if (!GrabScreen(m->x.display, m->clientX, m->clientY, checkedWidth, height, f.pixels.data())) {
        Fail(m, "the screen could not be read");
        return;
    }
    // The grab is checkedWidth wide: lay it out as the frame's rows.
    for (int32_t y = height - 1; y > 0; y--) {
        memmove(&f.pixels[static_cast<size_t>(y) * appClientW],
                &f.pixels[static_cast<size_t>(y) * checkedWidth], checkedWidth * sizeof(uint32_t));
    }
    // Only what a question box leaves free: the columns left of it, or else the rows above it.
    int32_t width = checkedWidth;
    if (m->boxLeft >= appJumpX + 64) {
        width = m->boxLeft < width ? m->boxLeft : width;
    } else if (m->boxTop < height) {
        height = m->boxTop > 0 ? m->boxTop : 1;
    }
    int32_t step = ShownStep(m->pictures, f, width, height);
    int64_t now = NowMilliseconds();
    if (step < 0) {
        std::string path = m->output + "/velquist-monkey-wrong.png";
        WritePicture(path.c_str(), f.pixels.data(), appClientW, height);
        Fail(m, "a frame showed something else than the background and a sprite step: " + path);
        return;
    }
    if (step >= stepJump1) m->jumpSeen = true; // either step of the jump: it stands 200 ms
    if (step != m->lastStep) {
        m->lastStep = step;
        m->lastChange = now;
    } else if (now - m->lastChange > stalledAfter) {
        Fail(m, "the animation stopped");
    }
}

static void Watch(Monkey* m, int32_t milliseconds) {
    int64_t until = NowMilliseconds() + milliseconds;
    do {
        Look(m);
        SleepMilliseconds(8); // a step stands for 100 ms: this still sees each one several times
    } while (NowMilliseconds() < until && m->failure.empty());
}

static int32_t ResidentKb(pid_t program) {
    std::string path = "/proc/" + std::to_string(program) + "/status";
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return -1;
    char line[256];
    int32_t kb = -1;
    while (fgets(line, sizeof line, f)) {
        if (strncmp(line, "VmRSS:", 6) == 0) kb = atoi(line + 6);
    }
    fclose(f);
    return kb;
}

// The question boxes open now (windows with the program's title other than the main one).
static int32_t Questions(Monkey* m, FoundWindow* boxes, int32_t capacity) {
    FoundWindow found[8];
    int32_t n = FindWindows(m->x.display, "Velquist", found, 8), count = 0;
    for (int32_t i = 0; i < n && count < capacity; i++) {
        if (found[i].id != m->main.id) boxes[count++] = found[i];
    }
    return count;
}

static bool WaitForQuestion(Monkey* m, FoundWindow* box) {
    int64_t deadline = NowMilliseconds() + waitLong;
    while (NowMilliseconds() < deadline) {
        if (Questions(m, box, 1) == 1) return true;
        Look(m);
    }
    return false;
}

static std::string WindowPoint(Monkey* m, int32_t margin) {
    return std::to_string(m->clientX + m->stream.Between(-margin, appClientW - 1 + margin)) + " " +
           std::to_string(m->clientY + m->stream.Between(-margin, appClientH - 1 + margin));
}

static std::string Seconds(int32_t milliseconds) {
    char text[16];
    snprintf(text, sizeof text, "%d.%03d", milliseconds / 1000, milliseconds % 1000);
    return text;
}

static void CtrlTap(Monkey* m) {
    Send(m, "keydown ctrl sleep " + Seconds(m->stream.Between(0, 60)) + " keyup ctrl");
    m->ctrl = ctrlIdle;
}

static void CtrlAcrossTicks(Monkey* m) {
    Send(m, "keydown ctrl");
    Watch(m, m->stream.Between(60, 260));
    Send(m, "keyup ctrl");
    m->ctrl = ctrlIdle;
}

// Held over several ticks from an idle state: the jump shows while it is held, or soon after.
static void CtrlHold(Monkey* m) {
    bool expect = m->ctrl == ctrlIdle;
    m->jumpSeen = false;
    Send(m, "keydown ctrl");
    Watch(m, m->stream.Between(350, 1500));
    Send(m, "keyup ctrl");
    Watch(m, 400); // a release does not cut the jump short
    m->ctrl = ctrlIdle;
    m->holds += expect;
    m->jumps += expect && m->jumpSeen;
    if (expect && !m->jumpSeen) Fail(m, "Ctrl held across ticks showed no jump");
}

static void OtherKey(Monkey* m) {
    static const char* const keys[] = {"a",    "z",         "1",  "space", "Return", "Escape", "Tab", "Left",
                                       "Down", "BackSpace", "F1", "shift", "Hangul", "super",  "alt"};
    // Alt alone (the last key) opens the window menu of a Windows program, which then takes the keys.
    uint32_t count = sizeof keys / sizeof keys[0] - (m->wineExe ? 1 : 0);
    Send(m, std::string("key ") + keys[m->stream.Next() % count]);
}

static void ShiftHeldWithCtrl(Monkey* m) {
    Send(m, "keydown shift sleep " + Seconds(m->stream.Between(0, 200)) + " key ctrl+a keyup shift");
    m->ctrl = ctrlIdle;
}

static void Click(Monkey* m) {
    static const char* const buttons[] = {"1", "3", "2", "4", "5", "--repeat 2 1"};
    Send(m, "mousemove " + WindowPoint(m, 0) + " click " + buttons[m->stream.Next() % 6]);
}

static void Moves(Monkey* m) {
    std::string arguments;
    for (int32_t i = m->stream.Between(1, 6); i > 0; i--) {
        arguments += "mousemove " + WindowPoint(m, 40) + " sleep " + Seconds(m->stream.Between(0, 40)) + " ";
    }
    Send(m, arguments);
}

static void Drag(Monkey* m) {
    Send(m, "mousemove " + WindowPoint(m, 0) + " mousedown 1 mousemove " + WindowPoint(m, 100) +
                " sleep 0.05 mousemove " + WindowPoint(m, 100) + " mouseup 1");
}

// The close request, sometimes twice or with Ctrl held, answered No in one of the ways a person would.
static void CloseAnsweredNo(Monkey* m) {
    bool holdCtrl = m->stream.Next() % 4 == 0;
    if (holdCtrl) Send(m, "keydown ctrl");
    int32_t requests = m->stream.Next() % 5 == 0 ? 2 : 1;
    for (int32_t i = 0; i < requests; i++) AskToClose(m->x.display, m->main.id);
    for (int32_t i = 0; i < requests; i++) m->recent[m->events++ % 8] = "(the close request)";
    FoundWindow box = {};
    if (!WaitForQuestion(m, &box)) return Fail(m, "closing asked nothing");
    m->boxLeft = box.x - m->clientX;
    m->boxTop = box.y - m->clientY;
    Watch(m, m->stream.Between(100, 600));
    if (m->stream.Next() % 2) Click(m);  // the main window takes no mouse input now
    if (holdCtrl) Send(m, "keyup ctrl"); // the box takes it: the program saw a press without its release
    if (holdCtrl) m->ctrl = ctrlUnknown;
    // A Windows box may not move its focus with the arrows: Space would then answer Yes.
    static const char* const answers[] = {"n", "Escape", "Tab Return", "Right space"};
    uint32_t count = m->wineExe ? 3 : 4;
    int64_t deadline = NowMilliseconds() + waitLong;
    // A second request asks again once the first question is answered; under Wine a moment later.
    int64_t settled = 0;
    while (NowMilliseconds() < deadline && m->failure.empty()) {
        if (Questions(m, &box, 1) == 1) {
            m->boxLeft = box.x - m->clientX < m->boxLeft ? box.x - m->clientX : m->boxLeft;
            m->boxTop = box.y - m->clientY < m->boxTop ? box.y - m->clientY : m->boxTop;
            FocusWindow(m->x.display, box.id);
            Send(m, std::string("key ") + answers[m->stream.Next() % count]);
            settled = NowMilliseconds() + (requests > 1 ? 1500 : 0);
        } else if (NowMilliseconds() >= settled) {
            break;
        }
        Watch(m, 100);
    }
    if (Questions(m, &box, 1) != 0) Fail(m, "the question stayed after it was answered");
    if (!ProgramRunning(m->app)) Fail(m, "answering No ended the program");
    FocusWindow(m->x.display, m->main.id); // as a window manager gives the focus back
    Watch(m, 300);                         // the place the box left is drawn again
    m->boxLeft = appClientW;
    m->boxTop = appClientH;
}

struct Action {
    void (*run)(Monkey*);
    int32_t weight;
};

static const Action actions[] = {
    {CtrlTap, 8}, {CtrlAcrossTicks, 6}, {CtrlHold, 4}, {OtherKey, 8},        {ShiftHeldWithCtrl, 2},
    {Click, 6},   {Moves, 5},           {Drag, 3},     {CloseAnsweredNo, 1},
};

static void RandomAction(Monkey* m) {
    int32_t total = 0;
    for (const Action& a : actions) total += a.weight;
    int32_t pick = static_cast<int32_t>(m->stream.Next() % total);
    for (const Action& a : actions) {
        if (pick < a.weight) return a.run(m);
        pick -= a.weight;
    }
}

static bool OutputClean(const std::string& path, std::string* finding) {
    static const char* const signs[] = {"Sanitizer", "runtime error", "X Error", "XIO", "Xlib"};
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return true;
    char line[1024];
    bool clean = true;
    while (clean && fgets(line, sizeof line, f)) {
        for (const char* sign : signs) {
            if (strstr(line, sign)) {
                *finding = line;
                clean = false;
            }
        }
    }
    fclose(f);
    return clean;
}

// Finds the client area, where the tiles and a sprite step show: the window's corner on Linux, below the
// frame that Wine draws inside the window. The window is mapped before its first frame is drawn.
static bool LocateClient(Monkey* m) {
    int32_t reach = m->wineExe ? 48 : 0, w = checkedWidth + reach, h = checkedHeight + reach;
    std::vector<uint32_t> grab(static_cast<size_t>(w) * h);
    AppFrame f;
    int64_t deadline = NowMilliseconds() + waitLong;
    while (NowMilliseconds() < deadline) {
        if (!GrabScreen(m->x.display, m->main.x, m->main.y, w, h, grab.data())) return false;
        for (int32_t dy = 0; dy <= reach; dy++) {
            for (int32_t dx = 0; dx <= reach; dx++) {
                for (int32_t y = 0; y < checkedHeight; y++) {
                    memcpy(&f.pixels[static_cast<size_t>(y) * appClientW],
                           &grab[static_cast<size_t>(y + dy) * w + dx], checkedWidth * sizeof(uint32_t));
                }
                if (ShownStep(m->pictures, f, checkedWidth, checkedHeight) < 0) continue;
                m->clientX = m->main.x + dx;
                m->clientY = m->main.y + dy;
                // The Windows window is 640 × 480 with its frame; the bottom border is as thick as the left.
                m->clientH = m->main.height - dy - dx < appClientH ? m->main.height - dy - dx : appClientH;
                return true;
            }
        }
        SleepMilliseconds(20);
    }
    WritePicture((m->output + "/velquist-monkey-window.png").c_str(), grab.data(), w, h);
    return false;
}

static int32_t Run(Monkey* m, int64_t seconds) {
    setenv("LSAN_OPTIONS", "suppressions=" VQ_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    // Freed blocks that the sanitizer holds back (256 MB of them by default) would read as growth.
    const char* asan = getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS",
           ((asan ? std::string(asan) + ":" : std::string()) + "quarantine_size_mb=1").c_str(), 1);
    if (!LoadAppPictures(VQ_APP_RESOURCES, &m->pictures)) return Fail(m, "the bitmaps are missing"), 1;
    if (m->wineExe) {
        m->pictures.tolerance = 8;
        m->x.display = XOpenDisplay(nullptr);
        if (!m->x.display) return Fail(m, "no display for Wine"), 1;
    } else if (!StartXSession(&m->x)) {
        return printf("no Xvfb: nothing run\n"), 0;
    }
    std::string outputPath = m->output + "/velquist-monkey-output.txt";
    const char* native[] = {VQ_VELQUIST, nullptr};
    const char* wine[] = {"wine", m->wineExe, nullptr};
    m->app = StartCommand(m->wineExe ? wine : native, outputPath.c_str());
    int64_t deadline = NowMilliseconds() + waitLong;
    while (FindWindows(m->x.display, "Velquist", &m->main, 1) == 0 && NowMilliseconds() < deadline)
        SleepMilliseconds(50);
    if (m->main.id == 0) return Fail(m, "no window titled Velquist"), 1;
    FocusWindow(m->x.display, m->main.id);
    if (!LocateClient(m)) return Fail(m, "the window never showed the tiles with the sprite"), 1;
    m->lastChange = NowMilliseconds();
    Watch(m, 500);
    // The first question loads its font and opens its window: part of the warm-up, whatever the stream.
    CloseAnsweredNo(m);

    int64_t start = NowMilliseconds(), end = start + seconds * 1000;
    int64_t warmAt = start + (seconds > 300 ? 60000 : seconds * 200), nextReport = start + 60000;
    int32_t warmKb = -1, endKb = -1;
    while (NowMilliseconds() < end && m->failure.empty()) {
        RandomAction(m);
        Watch(m, m->stream.Between(0, 150));
        if (!ProgramRunning(m->app)) Fail(m, "the program ended");
        if (warmKb < 0 && NowMilliseconds() >= warmAt) warmKb = ResidentKb(m->app);
        if (NowMilliseconds() >= nextReport) {
            printf("%llds: %lld events, resident %d kB\n",
                   static_cast<long long>((nextReport - start) / 1000), static_cast<long long>(m->events),
                   ResidentKb(m->app));
            fflush(stdout);
            nextReport += 60000;
        }
    }
    endKb = ResidentKb(m->app);
    if (m->failure.empty()) {
        // Yes: the program ends with exit code 0.
        FoundWindow box = {};
        if (m->ctrl != ctrlIdle) Send(m, "key ctrl");
        AskToClose(m->x.display, m->main.id);
        if (!WaitForQuestion(m, &box)) return Fail(m, "the last close asked nothing"), 1;
        FocusWindow(m->x.display, box.id);
        Send(m, "key y");
        int32_t code = -1;
        if (!WaitForExit(m->app, waitLong, &code))
            Fail(m, "Yes did not end the program");
        else if (code != 0)
            Fail(m, "the program ended with code " + std::to_string(code));
        m->app = 0;
    }
    std::string finding;
    if (!OutputClean(outputPath, &finding)) Fail(m, "the program's output (" + outputPath + "): " + finding);
    printf("%lld s, %lld events, %lld frames checked, %lld of %lld Ctrl holds jumped; resident %d kB after "
           "the warm-up, %d kB at the end\n",
           static_cast<long long>(seconds), static_cast<long long>(m->events),
           static_cast<long long>(m->grabs), static_cast<long long>(m->jumps),
           static_cast<long long>(m->holds), warmKb, endKb);
    if (m->failure.empty() && warmKb > 0 && endKb - warmKb >= rssLimitKb)
        Fail(m, "the resident memory grew by " + std::to_string(endKb - warmKb) + " kB after the warm-up");
    return m->failure.empty() ? 0 : 1;
}

int main(int argc, char** argv) {
    int64_t seconds = 600;
    if (const char* minutes = getenv("SOAK_MINUTES")) seconds = atoll(minutes) * 60;
    if (argc == 3 && strcmp(argv[1], "--seconds") == 0) seconds = atoll(argv[2]);
    Monkey m;
    m.wineExe = getenv("VQ_WINE_VELQUIST");
    m.stream.state = MonkeySeed();
    const char* output = getenv("SOAK_OUTPUT");
    m.output = output ? output : VQ_OUTPUT_DIR;
    printf("velquist monkey: SOAK_SEED=%llu, %lld s\n", static_cast<unsigned long long>(m.stream.state),
           static_cast<long long>(seconds));
    fflush(stdout);
    uint64_t replay = m.stream.state;
    int32_t result = Run(&m, seconds);
    KillProgram(m.app);
    StopXSession(&m.x);
    if (result != 0) {
        for (int64_t i = m.events > 8 ? m.events - 8 : 0; i < m.events; i++)
            printf("sent: %s\n", m.recent[i % 8].c_str());
        printf("FAILED: %s\nreplay: SOAK_SEED=%llu %s --seconds %lld\n", m.failure.c_str(),
               static_cast<unsigned long long>(replay), argv[0], static_cast<long long>(seconds));
    }
    return result;
}
