// The SDL backend under real X input: a probe window logs every message it gets while xdotool moves,
// clicks, drags out of the window, presses keys and types Korean (also through a real input method), and
// the log is read back.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/ime_session.h"
#include "tests/e2e/x_session.h"
#include "tools/x11/x11_tools.h"

namespace {

enum : int32_t { waitLong = 15000 };

class ProbeOnX : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!StartXSession(&x)) GTEST_SKIP() << "no Xvfb";
        log = std::string(VQ_SHOT_DIR) + "/sdl_probe." + std::to_string(getpid()) + ".log";
        setenv("LSAN_OPTIONS", "suppressions=" VQ_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    }
    void StartProbe() {
        unlink(log.c_str());
        window = {};
        probe = StartProgram(VQ_PROBE, log.c_str());
        ASSERT_GT(probe, 0);
        ASSERT_TRUE(WaitForLine("ready", 0));
        int64_t deadline = NowMilliseconds() + waitLong;
        while (FindWindows(x.display, "SDL probe", &window, 1) == 0 && NowMilliseconds() < deadline) {
            SleepMilliseconds(50);
        }
        ASSERT_NE(window.id, 0u);
        FocusWindow(x.display, window.id);
    }
    void StopProbe() {
        KillProgram(probe);
        probe = 0;
    }
    void TearDown() override {
        KillProgram(probe);
        StopImeSession(&ime);
        StopXSession(&x);
        if (!log.empty()) unlink(log.c_str());
    }

    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Waits for a line that starts with text, after line number from; returns its number + 1, 0 if none.
    size_t WaitForLine(const std::string& text, size_t from, int32_t milliseconds = waitLong) {
        int64_t deadline = NowMilliseconds() + milliseconds;
        while (NowMilliseconds() < deadline) {
            std::vector<std::string> lines = Lines();
            for (size_t i = from; i < lines.size(); i++) {
                if (lines[i].compare(0, text.size(), text) == 0) return i + 1;
            }
            SleepMilliseconds(30);
        }
        return 0;
    }
    // The lines from..to that start with text.
    std::vector<std::string> Between(const std::string& text, size_t from, size_t to) {
        std::vector<std::string> lines = Lines(), out;
        for (size_t i = from; i < to && i < lines.size(); i++) {
            if (lines[i].compare(0, text.size(), text) == 0) out.push_back(lines[i]);
        }
        return out;
    }
    void Do(const std::string& command) { ASSERT_EQ(RunCommand(command.c_str()), 0) << command; }
    std::string MoveTo(int32_t cx, int32_t cy) {
        return "xdotool mousemove " + std::to_string(window.x + cx) + " " + std::to_string(window.y + cy);
    }

    XSession x = {};
    ImeSession ime;
    pid_t probe = 0;
    FoundWindow window = {};
    std::string log;
};

} // namespace

// lParam of a client position, as the probe prints it.
static std::string Point(int32_t cx, int32_t cy) {
    char text[32];
    snprintf(text, sizeof text, "%x",
             (static_cast<uint32_t>(cx) & 0xFFFF) | (static_cast<uint32_t>(cy) & 0xFFFF) << 16);
    return text;
}

TEST_F(ProbeOnX, PicturesMouseKeysKoreanAndTheQuitQuestion) {
    StartProbe();
    // The surface reaches the screen in its colours: eight bands, 5-6-5 widened back to 8 bits. A slow X
    // server may show the window before its first picture, so the screen is read until it shows them.
    ASSERT_GT(WaitForLine("message 15 ", 0), 0u);
    const uint32_t bands[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                               0x000000, 0xFFFF00, 0x00FFFF, 0x848284};
    std::vector<uint32_t> shot(static_cast<size_t>(window.width) * window.height);
    auto band = [&](int32_t b) {
        return shot[static_cast<size_t>(window.height / 2) * window.width + (2 * b + 1) * window.width / 16];
    };
    auto wrongBands = [&] {
        int32_t wrong = 0;
        for (int32_t b = 0; b < 8; b++) {
            for (int shift = 0; shift < 24; shift += 8) {
                int32_t d = static_cast<int32_t>((band(b) >> shift) & 0xFF) -
                            static_cast<int32_t>((bands[b] >> shift) & 0xFF);
                if (abs(d) > 6) {
                    wrong++;
                    break;
                }
            }
        }
        return wrong;
    };
    int64_t deadline = NowMilliseconds() + waitLong;
    for (;;) {
        ASSERT_TRUE(GrabScreen(x.display, window.x, window.y, window.width, window.height, shot.data()));
        if (wrongBands() == 0 || NowMilliseconds() > deadline) break;
        SleepMilliseconds(30);
    }
    WritePicture((std::string(VQ_SHOT_DIR) + "/sdl_probe.png").c_str(), shot.data(), window.width,
                 window.height);
    for (int32_t b = 0; b < 8; b++) EXPECT_EQ(band(b) & 0xF8F8F8, bands[b] & 0xF8F8F8) << "band " << b;

    // Mouse: a click, a double click, and a drag that leaves the window keeps coming with negative positions.
    size_t mark = Lines().size();
    Do(MoveTo(50, 60));
    // Each pause starts once the program has the release, so a slow server cannot shorten it.
    Do("xdotool click 1");
    ASSERT_GT(WaitForLine("message 514 ", mark), 0u);
    SleepMilliseconds(600); // longer than a double click
    Do("xdotool click --repeat 2 --delay 80 1");
    ASSERT_GT(WaitForLine("message 515 ", mark), 0u);
    ASSERT_GT(WaitForLine("message 514 ", WaitForLine("message 515 ", mark)), 0u);
    SleepMilliseconds(600);
    Do("xdotool mousedown 1");
    Do(MoveTo(-30, -10));
    Do("xdotool mouseup 1");
    Do(MoveTo(51, 60));
    size_t end = WaitForLine("message 512 0 " + Point(51, 60), mark);
    ASSERT_GT(end, 0u);
    std::vector<std::string> down = Between("message 513 ", mark, end);
    std::vector<std::string> twice = Between("message 515 ", mark, end);
    std::vector<std::string> up = Between("message 514 ", mark, end);
    ASSERT_EQ(down.size(), 3u);
    EXPECT_EQ(down[0], "message 513 1 " + Point(50, 60));
    ASSERT_EQ(twice.size(), 1u);
    EXPECT_EQ(twice[0], "message 515 1 " + Point(50, 60));
    ASSERT_EQ(up.size(), 4u);
    EXPECT_EQ(up[3], "message 514 0 " + Point(-30, -10)) << "the release outside the window still comes";
    EXPECT_EQ(Between("message 512 1 " + Point(-30, -10), mark, end).size(), 1u);

    // Keys: Ctrl is 17, releases set bit 31, Korean keys, Alt+X types nothing (xdotool lets Alt go first,
    // so X comes up as a plain key), Enter types 13.
    mark = Lines().size();
    Do("xdotool key ctrl Hangul Hangul_Hanja alt+x F5 Home Return a");
    end = WaitForLine("message 258 61 ", mark);
    ASSERT_GT(end, 0u);
    std::vector<std::string> keys = Between("message 25", mark, end);
    std::vector<std::string> want = {
        "message 256 11 1",        "message 257 11 c0000001", "message 256 15 1",
        "message 257 15 c0000001", "message 256 19 1",        "message 257 19 c0000001",
        "message 257 58 c0000001", "message 256 74 1",        "message 257 74 c0000001",
        "message 256 24 1",        "message 257 24 c0000001", "message 256 d 1",
        "message 258 d 1",         "message 257 d c0000001",  "message 256 41 1",
        "message 258 61 1",
    };
    EXPECT_EQ(keys, want);
    std::vector<std::string> system = Between("message 26", mark, end);
    std::vector<std::string> wantSystem = {"message 260 12 20000001", "message 260 58 20000001",
                                           "message 261 12 c0000001"};
    EXPECT_EQ(system, wantSystem) << "Alt and Alt+X are system keys";

    // Korean typed through X arrives as finished compositions in code page 949.
    mark = Lines().size();
    Do("xdotool type --delay 100 '\xED\x95\x9C\xEA\xB8\x80'"); // 한글
    end = WaitForLine("message 271 b1db 800 ime b1 db", mark);
    EXPECT_GT(end, 0u);
    EXPECT_EQ(Between("message 271 c7d1 800 ime c7 d1", mark, end).size(), 1u);

    // Resizing from outside reaches the window as WM_SIZE with the new client size.
    mark = Lines().size();
    Do("xdotool windowsize " + std::to_string(window.id) + " 400 300");
    EXPECT_GT(WaitForLine("message 5 0 " + Point(400, 300), mark), 0u);

    // Closing asks; No keeps the window, Yes ends the program with 0 after WM_DESTROY.
    for (const char* key : {"Escape", "Return"}) {
        mark = Lines().size();
        AskToClose(x.display, window.id);
        ASSERT_GT(WaitForLine("message 16 ", mark), 0u);
        FoundWindow found[4];
        int32_t n = 0;
        deadline = NowMilliseconds() + waitLong;
        while ((n = FindWindows(x.display, "SDL probe", found, 4)) < 2 && NowMilliseconds() < deadline) {
            SleepMilliseconds(50);
        }
        ASSERT_EQ(n, 2) << "the question did not appear";
        FoundWindow box = found[0].id == window.id ? found[1] : found[0];
        FocusWindow(x.display, box.id);
        Do(std::string("xdotool key ") + key);
        ASSERT_GT(WaitForLine(key[0] == 'E' ? "answer 7" : "answer 6", mark), 0u);
    }
    int32_t code = -1;
    ASSERT_TRUE(WaitForExit(probe, waitLong, &code));
    probe = 0;
    EXPECT_EQ(code, 0);
    std::vector<std::string> lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "message 2 0 0");
    EXPECT_EQ(lines.back(), "quit 0");
}

// The text an editor would make of the probe's log: finished compositions and typed characters, Backspace
// taking the last character, Enter a line break.
static std::string TypedText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        unsigned message = 0, wParam = 0, lParam = 0;
        if (sscanf(line.c_str(), "message %u %x %x", &message, &wParam, &lParam) != 3) continue;
        if (message == 271 && lParam == 0x800) {
            text += static_cast<char>(wParam >> 8);
            text += static_cast<char>(wParam & 0xFF);
        } else if (message == 258 && wParam == 8) {
            if (!text.empty()) text.pop_back();
            if (!text.empty() && static_cast<uint8_t>(text.back()) >= 0x81) text.pop_back();
        } else if (message == 258 && wParam == 13) {
            text += '\n';
        } else if (message == 258 && wParam >= 0x20 && wParam < 0x7F) {
            text += static_cast<char>(wParam);
        }
    }
    return text;
}

// ibus-hangul types into the probe as a person would, with its default settings (keys that end a
// composition are handed back) and without them: Korean, ASCII after the Hangul key, spaces, Backspace
// inside a composition, Enter. The program gets everything once and in the order typed.
TEST_F(ProbeOnX, KoreanThroughARealInputMethod) {
    for (bool forwarding : {true, false}) {
        SCOPED_TRACE(forwarding ? "ibus-hangul's default settings" : "without forwarding");
        if (!StartImeSession(&ime, forwarding)) GTEST_SKIP() << "no ibus with the Hangul engine";
        StartProbe();
        // The input method answers once the window's input context has the focus: 'g' composes ㄱ's sibling
        // ㅎ; Backspace takes it away again.
        int64_t deadline = NowMilliseconds() + waitLong;
        while (WaitForLine("message 271 a4be 8", 0, 500) == 0 && NowMilliseconds() < deadline)
            Do("xdotool key g");
        Do("xdotool key BackSpace");
        size_t mark = WaitForLine("message 271 0 8", 0);
        ASSERT_GT(mark, 0u) << "the input method never composed";
        // 한글 abc 언 and Enter: g k s r m f, space, Hangul a b c Hangul, space, d j s BackSpace s, Return.
        Do("xdotool key --delay 150 g k s r m f space Hangul a b c Hangul space d j s BackSpace s Return");
        ASSERT_GT(WaitForLine("message 258 d ", mark), 0u) << "Enter never came";
        std::vector<std::string> lines = Lines();
        std::string typed =
            TypedText(std::vector<std::string>(lines.begin() + static_cast<long>(mark), lines.end()));
        EXPECT_EQ(typed, "\xC7\xD1\xB1\xDB abc \xBE\xF0\n") << "typed: " << typed;
        // A composition the program drops (요, dropped by a right press) stays dropped: the input method's
        // late commit of it reaches nothing, and 가 typed next arrives alone.
        mark = Lines().size();
        Do("xdotool key --delay 150 d y");
        ASSERT_GT(WaitForLine("message 271 bfe4 8", mark), 0u) << "no composition to drop";
        Do(MoveTo(50, 60) + " click 3");
        ASSERT_GT(WaitForLine("message 517 ", mark), 0u);
        Do("xdotool key --delay 150 r k Return");
        ASSERT_GT(WaitForLine("message 258 d ", mark), 0u) << "Enter never came";
        lines = Lines();
        typed = TypedText(std::vector<std::string>(lines.begin() + static_cast<long>(mark), lines.end()));
        EXPECT_EQ(typed, "\xB0\xA1\n") << "typed: " << typed;
        StopProbe();
        StopImeSession(&ime);
    }
}
