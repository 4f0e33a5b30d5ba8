// The application on a virtual X display, driven as a person would: the first frames (tiled background,
// the sprite at (13, 48), no colour-key magenta), Ctrl makes the sprite jump to x 60, closing asks the
// quit question (in Korean whatever the session's locale, centred on the window, the sprite still
// breathing behind it), Escape keeps it running and animating, Yes ends it with exit code 0.
#include <gtest/gtest.h>
// After GoogleTest, whose None would meet Xlib's macro.
#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "tools/x11/x11_tools.h"
#include "tests/e2e/x_session.h"
#include "tools/soak/app_frames.h"

namespace {

enum : int32_t {
    clientW = appClientW,
    clientH = appClientH,
    spriteW = 96,
    jumpX = appJumpX,
    spriteY = appSpriteY
};
enum : int32_t { waitLong = 15000 };
using Frame = AppFrame;

class VelquistOnX : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!StartXSession(&x)) GTEST_SKIP() << "no Xvfb";
        ASSERT_TRUE(LoadAppPictures(VQ_APP_RESOURCES, &pictures));
        ASSERT_EQ(pictures.step[stepJump2].width, spriteW);
    }
    void TearDown() override {
        KillProgram(app);
        StopXSession(&x);
    }

    bool Grab(Frame* f) { return GrabScreen(x.display, main.x, main.y, clientW, clientH, f->pixels.data()); }

    void Save(const Frame& f, const char* name) {
        std::string path = std::string(VQ_SHOT_DIR) + "/" + name;
        WritePicture(path.c_str(), f.pixels.data(), clientW, clientH);
    }

    // Which idle image the frame shows at the idle place, or -1; only the top-left width × height counts.
    int32_t IdleImage(const Frame& f, int32_t width = clientW, int32_t height = clientH) const {
        int32_t step = ShownStep(pictures, f, width, height);
        return step <= stepIdle2 ? step : -1;
    }

    // Waits until the sprite shows another idle image than the first one seen; only the top-left
    // width × height of the window is looked at.
    bool Animating(int32_t width, int32_t height) {
        Frame f;
        int32_t first = -1;
        int64_t deadline = NowMilliseconds() + waitLong;
        while (NowMilliseconds() < deadline) {
            if (!Grab(&f)) return false;
            int32_t now = IdleImage(f, width, height);
            if (now < 0) continue;
            if (first < 0) first = now;
            if (now != first) return true;
        }
        return false;
    }

    // The quit question: another window with the application's title.
    bool FindQuestion(FoundWindow* box) {
        int64_t deadline = NowMilliseconds() + waitLong;
        while (NowMilliseconds() < deadline) {
            FoundWindow found[8];
            int32_t n = FindWindows(x.display, "Velquist", found, 8);
            for (int32_t i = 0; i < n; i++) {
                if (found[i].id != main.id) {
                    *box = found[i];
                    return true;
                }
            }
            SleepMilliseconds(50);
        }
        return false;
    }

    void Answer(const FoundWindow& box, const char* key) {
        // Without a window manager the box has no focus until it is given one.
        FocusWindow(x.display, box.id);
        std::string command = std::string("xdotool key ") + key;
        ASSERT_EQ(RunCommand(command.c_str()), 0);
    }

    bool QuestionGone() {
        int64_t deadline = NowMilliseconds() + waitLong;
        while (NowMilliseconds() < deadline) {
            FoundWindow found[8];
            if (FindWindows(x.display, "Velquist", found, 8) <= 1) return true;
            SleepMilliseconds(50);
        }
        return false;
    }

    XSession x = {};
    pid_t app = 0;
    FoundWindow main = {};
    AppPictures pictures;
};

} // namespace

TEST_F(VelquistOnX, FramesJumpAndQuitQuestion) {
    setenv("LSAN_OPTIONS", "suppressions=" VQ_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    setenv("LC_ALL", "C", 1); // the question is Korean whatever the session's locale
    app = StartProgram(VQ_VELQUIST, nullptr);
    ASSERT_GT(app, 0);

    // The window, found by its title.
    int64_t deadline = NowMilliseconds() + waitLong;
    while (FindWindows(x.display, "Velquist", &main, 1) == 0 && NowMilliseconds() < deadline)
        SleepMilliseconds(50);
    ASSERT_NE(main.id, 0u) << "no window titled Velquist";
    // The first frames: background tiled over the whole client area, the sprite at (13, 48), no magenta.
    Frame f;
    int32_t shown = -1;
    deadline = NowMilliseconds() + waitLong;
    while (shown < 0 && NowMilliseconds() < deadline) {
        ASSERT_TRUE(Grab(&f));
        shown = IdleImage(f);
        if (shown < 0) SleepMilliseconds(30);
    }
    Save(f, "velquist-first.png");
    ASSERT_GE(shown, 0)
        << "the first frames never showed the tiled background with an idle sprite at (13, 48)";
    int32_t magenta = 0;
    for (uint32_t p : f.pixels)
        magenta += NearColour(p, 0xFF00FF) || NearColour(p, Through565(0xFF, 0, 0xFF));
    EXPECT_EQ(magenta, 0);

    // Title, size, icon and limits are all set by the time the first frame shows.
    ASSERT_EQ(FindWindows(x.display, "Velquist", &main, 1), 1);
    EXPECT_EQ(main.width, clientW);
    EXPECT_EQ(main.height, clientH);
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(x.display, main.id, XInternAtom(x.display, "_NET_WM_ICON", False), 0, 2 + 32 * 32,
                       False, XA_CARDINAL, &type, &format, &count, &after, &data);
    ASSERT_TRUE(data != nullptr) << "no icon";
    const unsigned long* icon = reinterpret_cast<const unsigned long*>(data);
    ASSERT_EQ(count, 2u + 32 * 32);
    EXPECT_EQ(icon[0], 32u);
    EXPECT_EQ(icon[1], 32u);
    EXPECT_EQ((icon[2] & 0xFFFFFFFFu) >> 24, 0u) << "the magenta corner is transparent";
    EXPECT_EQ((icon[2 + 16 * 32 + 16] & 0xFFFFFFFFu) >> 24, 0xFFu) << "the face is opaque";
    XFree(data);
    // Without a sizing border the window keeps its 640 × 480, and the window manager is told so.
    XSizeHints hints = {};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(x.display, main.id, &hints, &supplied));
    ASSERT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
    EXPECT_EQ(hints.min_width, clientW);
    EXPECT_EQ(hints.min_height, clientH);
    EXPECT_EQ(hints.max_width, clientW);
    EXPECT_EQ(hints.max_height, clientH);

    // Ctrl: within a few ticks the jump image stands at x 60. It stands there for one tick only, so
    // a slow machine that looks too late presses Ctrl again.
    FocusWindow(x.display, main.id);
    bool jumped = false;
    for (int32_t attempt = 0; attempt < 10 && !jumped; attempt++) {
        ASSERT_EQ(RunCommand("xdotool keydown ctrl"), 0);
        deadline = NowMilliseconds() + 1000;
        while (!jumped && NowMilliseconds() < deadline) {
            ASSERT_TRUE(GrabScreen(x.display, main.x, main.y, clientW, 200, f.pixels.data()));
            jumped = Mismatches(pictures, f, pictures.step[stepJump2], jumpX, spriteY, 200, 200) == 0;
        }
        RunCommand("xdotool keyup ctrl");
        if (!jumped) SleepMilliseconds(300);
    }
    EXPECT_TRUE(jumped) << "the jump image never appeared at x 60";
    Save(f, "velquist-jump.png"); // rows below 200 are still those of the first frame

    // Close: the question appears, centred on the window, and the sprite keeps breathing behind it.
    AskToClose(x.display, main.id);
    FoundWindow box = {};
    ASSERT_TRUE(FindQuestion(&box)) << "closing asked nothing";
    EXPECT_NEAR(box.x + box.width / 2, main.x + clientW / 2, 1);
    EXPECT_NEAR(box.y + box.height / 2, main.y + clientH / 2, 1);
    EXPECT_TRUE(box.transient) << "the box names its owner";
    EXPECT_TRUE(Animating(box.x - main.x, clientH)) << "the sprite froze while the question was open";
    // The question's text: dark pixels spread over the width of nine Korean characters, above the buttons.
    // The box draws itself once it is mapped, so a slow server may show it blank for a moment.
    std::vector<uint32_t> question(static_cast<size_t>(box.width) * box.height);
    int32_t left = box.width, right = -1;
    deadline = NowMilliseconds() + waitLong;
    while (right - left < 90 && NowMilliseconds() < deadline) {
        ASSERT_TRUE(GrabScreen(x.display, box.x, box.y, box.width, box.height, question.data()));
        left = box.width, right = -1;
        for (int32_t y = 0; y < box.height - 48; y++) {
            for (int32_t xx = 0; xx < box.width; xx++) {
                uint32_t p = question[static_cast<size_t>(y) * box.width + xx];
                if (((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60) {
                    left = xx < left ? xx : left;
                    right = xx > right ? xx : right;
                }
            }
        }
    }
    WritePicture((std::string(VQ_SHOT_DIR) + "/velquist-question.png").c_str(), question.data(), box.width,
                 box.height);
    EXPECT_GE(right - left, 90) << "the question's text is missing (see velquist-question.png)";
    Answer(box, "Escape");
    ASSERT_TRUE(QuestionGone());
    ASSERT_TRUE(ProgramRunning(app)) << "Escape ended the program";
    EXPECT_TRUE(Animating(clientW, clientH)) << "the sprite stopped after the question was put away";

    // Close again, Yes: the program ends with exit code 0.
    AskToClose(x.display, main.id);
    ASSERT_TRUE(FindQuestion(&box));
    Answer(box, "Return");
    int32_t code = -1;
    ASSERT_TRUE(WaitForExit(app, waitLong, &code)) << "Yes did not end the program";
    app = 0;
    EXPECT_EQ(code, 0);
}

// The X server going away under a running program ends it at once: one line on stderr, a non-zero exit
// code, no signal (so no core dump).
TEST_F(VelquistOnX, TheDisplayGoingAwayEndsEachProgramAtOnce) {
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1); // what an abrupt end leaves allocated is no finding
    std::string home = std::string(VQ_SHOT_DIR) + "/display-gone-data";
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    for (const char* program : {VQ_VELQUIST, VQ_GALLERY}) {
        SCOPED_TRACE(program);
        if (!x.server && !StartXSession(&x)) GTEST_SKIP() << "no Xvfb";
        std::string output = std::string(VQ_SHOT_DIR) + "/display-gone.txt";
        const char* argv[] = {program, nullptr};
        app = StartCommand(argv, output.c_str());
        const char* title = program == std::string(VQ_VELQUIST) ? "Velquist" : "Velquist Gallery";
        int64_t deadline = NowMilliseconds() + waitLong;
        while (FindWindows(x.display, title, &main, 1) == 0 && NowMilliseconds() < deadline)
            SleepMilliseconds(50);
        ASSERT_NE(main.id, 0u) << "no window titled " << title;
        XCloseDisplay(x.display); // before the server goes: only the program is left to lose it
        x.display = nullptr;
        kill(x.server, SIGKILL);
        waitpid(x.server, nullptr, 0);
        x.server = 0;
        int32_t code = -1;
        ASSERT_TRUE(WaitForExit(app, waitLong, &code)) << "the program went on without its display";
        app = 0;
        EXPECT_GT(code, 0);
        EXPECT_LT(code, 128) << "ended by a signal";
        FILE* f = fopen(output.c_str(), "r");
        ASSERT_NE(f, nullptr);
        char line[512];
        int32_t lines = 0;
        while (fgets(line, sizeof line, f)) lines++;
        fclose(f);
        EXPECT_EQ(lines, 1) << "what it said: see " << output;
        main = {};
    }
}
