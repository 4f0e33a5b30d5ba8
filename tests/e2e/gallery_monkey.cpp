// The gallery under a seeded stream of random real input for SOAK_SECONDS (60 when unset): clicks, double
// and right clicks, drags within and across controls and past the window's edges, wheel notches, keys,
// Korean through the input method, clipboard keys, resizes, Save and Load, and the close question answered
// No or Escape. The twin gets the same input and is the oracle: after every action the window must show
// the twin's pixels, and at the end the saved log must hold the twin's lines. Then the program must still
// answer, end with 0 when asked, leave no sanitizer report, and its memory must stay flat after the warm-up.
// Left out, because the twin cannot know their outcome: a key held long enough to repeat, a press held on
// a repeating arrow, type-ahead search in the list and tree (it depends on the time between keys), a click
// on a button while a syllable is composing (the input method commits it at a moment of its own), and
// under Wine resizes (its frame keeps its own minimum) and Escape (it may or may not reach the input method).
// Replay: SOAK_SEED=<the seed printed>, SOAK_TRACE=1 prints each action.
#include <glob.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/gallery_driver.h"
#include "tests/e2e/monkey_stream.h"
#include "tests/support/cp949.h"

namespace {

const Made ctrlA = With(vkControl, 'A', 1);

struct Monkey {
    GalleryDriver d;
    MonkeyStream s;
    bool clicked = false; // the last action pressed the left button
    int64_t lastClick = 0;
    uint64_t events = 0;   // XTest events sent
    const char* last = ""; // the keys typed last
};

struct Action {
    int32_t weight;
    const char* name;
    void (*act)(Monkey* m);
};

// Keys with what they make; text only while an edit buffer has the focus. Escape also turns the input
// method to Latin (ibus-hangul's default), the Hangul key back.
struct Typed {
    int32_t weight;
    const char* names;
    std::vector<Made> made;
    bool endsComposing = false; // the last letter's Backspace took the composition away
};

const Control origin = {};

bool TakesText() {
    Control* focus = mainWindowRecord->focusControl;
    return focus && focus->editBuffer;
}

// Type-ahead in the list and the tree depends on the time between keys: they get no characters.
bool Searches() {
    Control* focus = mainWindowRecord->focusControl;
    return focus && !focus->editBuffer && (focus->kind == kindListBox || focus->kind == kindTreeList);
}

bool Repeats(const Control* c) {
    return c->kind == kindButton && (c->flags & buttonRepeats);
}

const Control* const targets[] = {
    &gallery.play.header,       &gallery.ok.header,       &gallery.cancel.header,  &gallery.disabled.header,
    &gallery.horizontal.header, &gallery.vertical.header, &gallery.small.header,   &gallery.single.header,
    &gallery.wrapped.header,    &gallery.tree.header,     &gallery.treeBar.header, &gallery.treeUp.header,
    &gallery.sort.header,       &gallery.list.header,     &gallery.listBar.header, &gallery.listDown.header,
    &gallery.log.header,        &gallery.logBar.header,   &gallery.logUp.header,   &gallery.entry.header,
    &gallery.send.header,       &gallery.picture.header,
};

// A point of the client area, most often in a control; pressable: not on an arrow that repeats when held.
void Spot(Monkey* m, bool pressable, int32_t* x, int32_t* y) {
    for (;;) {
        const Control* c =
            m->s.OneIn(4) ? nullptr : targets[m->s.Between(0, static_cast<int32_t>(std::size(targets)) - 1)];
        Area a = c ? AreaOf(*c) : m->d.Client();
        *x = a.x + m->s.Between(0, a.width - 1);
        *y = a.y + m->s.Between(0, a.height - 1);
        bool onArrow = false;
        for (const Control* r : targets) {
            Area b = AreaOf(*r);
            onArrow |= Repeats(r) && *x >= b.x && *x < b.x + b.width && *y >= b.y && *y < b.y + b.height;
        }
        if (!pressable || !onArrow) return;
    }
}

// A second press waits out the double-click time unless it is meant as a double click.
void Pause(Monkey* m) {
    int64_t left = m->lastClick + doubleClickPause - NowMilliseconds();
    if (left > 0) SleepMilliseconds(static_cast<int32_t>(left));
    m->clicked = true;
}

void Type(Monkey* m, const Typed& t) {
    m->d.Keys(t.names, t.made);
    m->last = t.names;
    if (t.endsComposing) m->d.twin.EndComposition();
    m->events += 2 * static_cast<uint64_t>(std::count(t.names, t.names + strlen(t.names), ' ') + 1);
}

LParam At(int32_t x, int32_t y) {
    return static_cast<LParam>((static_cast<uint32_t>(x) & 0xFFFF) | (static_cast<uint32_t>(y) & 0xFFFF)
                                                                         << 16);
}

// A click (with Ctrl one time in four), a double click or a right click.
void Click(Monkey* m) {
    int32_t x, y, kind = m->s.Between(0, 16);
    Spot(m, false, &x, &y);
    m->events += 4;
    if (kind < 2) {
        m->d.Do("xdotool " + m->d.To(x, y) + " click 3");
        m->d.twin.Move(x, y);
        m->d.twin.Post(WM_RBUTTONDOWN, MK_RBUTTON, At(x, y));
        m->d.twin.Post(WM_RBUTTONUP, 0, At(x, y));
        return;
    }
    Pause(m);
    if (kind < 5) return m->d.DoubleClickOn(origin, x, y);
    m->d.ClickOn(origin, x, y, kind < 8);
}

void Check(Monkey* m, const std::string& name);

// Pressed on a control, moved through up to four new places (near, anywhere, or past an edge of the
// window but on the screen), released at the last.
void Drag(Monkey* m) {
    int32_t x, y;
    Spot(m, true, &x, &y);
    Pause(m);
    m->d.Press(x, y);
    const int32_t width = m->d.twin.Width(), height = m->d.twin.Height(), past = 40;
    for (int32_t moves = m->s.Between(1, 4); moves > 0; moves--) {
        int32_t nx = x, ny = y;
        while (nx == x && ny == y) {
            int32_t way = m->s.Between(0, 2);
            if (way == 0) {
                nx = x + m->s.Between(-60, 60), ny = y + m->s.Between(-30, 30);
            } else if (way == 1) {
                Spot(m, false, &nx, &ny);
            } else {
                nx = m->s.Between(-past, width + past), ny = m->s.Between(-past, height + past);
            }
            nx = std::clamp(nx, -m->d.screen.x, 1023 - m->d.screen.x);
            ny = std::clamp(ny, -m->d.screen.y, 767 - m->d.screen.y);
        }
        m->d.DragTo(x = nx, y = ny);
        // The program merges moves it has not handled yet, as Windows does, and a list scrolls a row a move
        // past its edge: the next move waits until this one shows.
        Check(m, "monkey-drag");
        if (::testing::Test::HasFailure()) return;
        m->events++;
    }
    m->d.Release(x, y);
    m->events += 3;
}

void Wheel(Monkey* m) {
    int32_t x, y, notches = m->s.Between(1, 3), delta = m->s.OneIn(2) ? 120 : -120;
    Spot(m, false, &x, &y);
    m->d.Do("xdotool " + m->d.To(x, y) + " click --repeat " + std::to_string(notches) + " --delay 30 " +
            (delta > 0 ? "4" : "5"));
    m->d.twin.Move(x, y);
    for (int32_t i = 0; i < notches; i++) m->d.twin.Wheel(x, y, delta);
    m->events += 1 + 2 * notches;
}

void Keys(Monkey* m) {
    // clang-format off
    static const Typed keys[] = {
        {3, "Left", {Key(vkLeft, 0)}}, {3, "Right", {Key(vkRight, 0)}}, {3, "Up", {Key(vkUp, 0)}},
        {3, "Down", {Key(vkDown, 0)}}, {2, "Home", {Key(vkHome, 0)}}, {2, "End", {Key(vkEnd, 0)}},
        {2, "Tab", {Key(vkTab, '\t')}}, {2, "shift+Tab", {With(vkShift, vkTab, '\t')}},
        {1, "ctrl+Tab", {With(vkControl, vkTab, 0)}}, {2, "Return", {Key(vkReturn, '\r')}},
        {1, "Escape Hangul", {Key(vkEscape, 27)}}, {2, "Delete", {Key(vkDelete, 0)}},
        {2, "BackSpace", {Key(vkBack, '\b')}}, {1, "space", {Key(vkSpace, ' ')}},
        {1, "Insert", {Key(vkInsert, 0)}},
    };
    // clang-format on
    const Typed* k = &m->s.Pick(keys, std::size(keys));
    // Under Wine, whether Escape reaches the input method (and turns it to Latin) is not known: no Escape.
    while ((Searches() && (k->made[0].character == ' ' || k->made[0].character == '\b')) ||
           (k->made[0].character == 27 && m->d.checks != &linuxChecks))
        k = &m->s.Pick(keys, std::size(keys));
    Type(m, *k);
}

// Korean whose compositions and commits are known, Latin after the Hangul key, and the clipboard keys.
void Text(Monkey* m) {
    // clang-format off
    static const Typed words[] = {
        {3, "g k s r m f space", {Compose("ㅎ"), Compose("하"), Compose("한"), Commit("한"), Compose("ㄱ"),
                                  Compose("그"), Compose("글"), Commit("글"), Char(' ')}},
        {2, "d j s d j Return", {Compose("어"), Compose("언"), Commit("언"), Compose("어"), Commit("어"),
                                 Key(vkReturn, '\r')}},
        {2, "d j s BackSpace s space", {Compose("어"), Compose("언"), Compose("어"), Compose("언"), Commit("언"),
                                        Char(' ')}},
        {1, "g BackSpace", {Compose("ㅎ")}, true},
        {2, "Hangul a b c Hangul", {Char('a'), Char('b'), Char('c')}},
        {1, "Hangul q z Hangul space", {Char('q'), Char('z'), Char(' ')}},
        {1, "ctrl+a", {ctrlA}}, {1, "ctrl+c", {With(vkControl, 'C', 3)}}, {1, "ctrl+x", {With(vkControl, 'X', 24)}},
        {1, "ctrl+v", {With(vkControl, 'V', 22)}}, {1, "ctrl+z", {With(vkControl, 'Z', 26)}},
        {1, "ctrl+y", {With(vkControl, 'Y', 25)}},
    };
    // clang-format on
    if (!TakesText()) return Keys(m);
    // What the log copies carries its lines' time stamps, which the twin's lines do not share.
    const Typed* t = &m->s.Pick(words, std::size(words));
    while (mainWindowRecord->focusControl == &gallery.log.header &&
           (!strcmp(t->names, "ctrl+c") || !strcmp(t->names, "ctrl+x")))
        t = &m->s.Pick(words, std::size(words));
    Type(m, *t);
}

// A syllable left composing when a click moves the focus to another field: it reaches no control.
void ClickWhileComposing(Monkey* m) {
    if (!TakesText() || !m->d.checks->dropsComposition) return Click(m);
    Type(m, {1, "g k s", {Compose("ㅎ"), Compose("하"), Compose("한")}});
    const Control* fields[] = {&gallery.single.header, &gallery.wrapped.header, &gallery.entry.header};
    const Control* to = fields[m->s.Between(0, 2)];
    while (to == mainWindowRecord->focusControl) to = fields[m->s.Between(0, 2)];
    Pause(m);
    m->d.ClickMiddle(*to);
    m->events += 3;
}

void ResizeTo(Monkey* m, int32_t width, int32_t height) {
    m->d.Do("xdotool windowsize " + std::to_string(m->d.window.id) + " " + std::to_string(width) + " " +
            std::to_string(height));
    FoundWindow now = m->d.window;
    int64_t deadline = NowMilliseconds() + waitLong;
    while (!(FindWindows(m->d.display, "Velquist Gallery", &now, 1) == 1 && now.width == width &&
             now.height == height)) {
        ASSERT_LT(NowMilliseconds(), deadline) << "the window did not take " << width << " x " << height;
        SleepMilliseconds(30);
    }
    m->d.window = now;
    m->d.twin.Resize(width, height);
}

// Between the smallest size and 100 × 80 more, the smallest one time in three.
void Resize(Monkey* m) {
    if (m->d.checks != &linuxChecks) return Click(m); // Wine's frame keeps a minimum of its own
    bool smallest = m->s.OneIn(3);
    ResizeTo(m, 800 + (smallest ? 0 : m->s.Between(0, 100)), 600 + (smallest ? 0 : m->s.Between(0, 80)));
}

void SaveOrLoad(Monkey* m) {
    Pause(m);
    m->d.ClickMiddle(m->s.OneIn(2) ? gallery.save.header : gallery.load.header);
    m->events += 3;
}

// The close question, answered No (Tab to it, Return) or Escape; the gallery stays, the focus back on it.
void AskToClose(Monkey* m) {
    FoundWindow box;
    m->d.checks->askToClose(&m->d, &box);
    if (::testing::Test::HasFatalFailure()) return;
    bool escape = m->s.OneIn(2) && m->d.checks == &linuxChecks;
    m->d.Do(escape ? "xdotool key Escape" : "xdotool key --delay 100 Tab Return");
    FoundWindow found[4];
    int64_t deadline = NowMilliseconds() + waitLong;
    while (FindWindows(m->d.display, "Velquist Gallery", found, 4) > 1 && NowMilliseconds() < deadline)
        SleepMilliseconds(30);
    ASSERT_EQ(FindWindows(m->d.display, "Velquist Gallery", found, 4), 1) << "the question stayed";
    // Keys go to the window with the focus: the Hangul key must not go to the box or to none.
    FocusWindow(m->d.display, m->d.window.id);
    Window focus = 0;
    int revert = 0;
    while (XGetInputFocus(m->d.display, &focus, &revert),
           focus != m->d.window.id && NowMilliseconds() < deadline)
        SleepMilliseconds(20);
    ASSERT_EQ(focus, m->d.window.id) << "the gallery did not get the focus back";
    if (escape) m->d.Do("xdotool key Hangul");
    m->events += 5;
}

const Action actions[] = {
    {17, "click", Click},
    {6, "drag", Drag},
    {4, "wheel", Wheel},
    {14, "keys", Keys},
    {14, "text", Text},
    {2, "click while composing", ClickWhileComposing},
    {1, "resize", Resize},
    {2, "save or load", SaveOrLoad},
    {1, "close question", AskToClose},
};

// The window as the twin shows it. The log's lines carry the time they were stamped, which the twin's do
// not share: the log is left out, and when it has the focus its line being typed, if not stamped yet, is
// checked by itself.
void Check(Monkey* m, const std::string& name) {
    const TextLog& log = gallery.log;
    Control* focus = mainWindowRecord->focusControl;
    bool inLog = focus == &log.header;
    if (inLog) mainWindowRecord->focusControl = nullptr;
    m->d.checks->window(&m->d, name, false);
    mainWindowRecord->focusControl = focus;
    int32_t row = static_cast<int32_t>(log.currentLine) - static_cast<int32_t>(log.firstRow);
    int32_t h = static_cast<int32_t>(log.rowHeight), top = 1 + row * h;
    if (!inLog || row < 0 || top + h > log.header.surface.height - 1 ||
        !WithoutStamp(std::string(TextLogLine(&log, log.currentLine)) + "|").empty())
        return;
    m->d.checks->area(&m->d, Inside(AreaOf(log.header), 1, top, log.header.surface.width - 2, h),
                      name + "-line");
}

int64_t ResidentKilobytes(pid_t program) {
    std::ifstream status("/proc/" + std::to_string(program) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return atoll(line.c_str() + 6);
    }
    return -1;
}

// The program's resident memory at the smallest size, once it shows the twin's picture there: the window's
// surfaces follow its size, so readings at different sizes would differ by them. The size comes back after,
// so that the stream's later choices (where controls are) do not depend on when the reading was taken: a
// seed replays the same actions on a slower build.
int64_t SettledKilobytes(Monkey* m, const char* name) {
    const int32_t width = m->d.twin.Width(), height = m->d.twin.Height();
    ResizeTo(m, 800, 600);
    Check(m, name);
    int64_t kilobytes = ResidentKilobytes(m->d.program);
    if (width != 800 || height != 600) ResizeTo(m, width, height);
    return kilobytes;
}

// A log's lines with their time stamps taken off (a stamped line keeps a mark: its text may be empty).
std::vector<std::string> Unstamped(const TextLog& log) {
    std::vector<std::string> lines;
    for (uint32_t i = 0; i < log.lineCount; i++) {
        std::string line = TextLogLine(&log, i), text = WithoutStamp(line + "|");
        lines.push_back(text.empty() ? line : "stamped: " + text.substr(0, text.size() - 1));
    }
    return lines;
}

class GalleryMonkey : public ::testing::Test {
  protected:
    void TearDown() override { m.d.Stop(); }
    void WaitForInputMethod();
    void Run(const Action* actions, size_t n);
    void StillAnswers();
    void EndsCleanly();
    void Aftermath();

    Monkey m;
    int64_t warmKilobytes = -1, endKilobytes = -1, warmAt = 0;
};

// The input method answers once g composes in the focused field (and BackSpace takes it away).
void GalleryMonkey::WaitForInputMethod() {
    const Control& field = gallery.single.header;
    int64_t deadline = NowMilliseconds() + 2 * waitLong;
    bool answered = false;
    while (!answered && NowMilliseconds() < deadline) {
        m.d.Do("xdotool key g");
        for (int64_t seen = NowMilliseconds() + 3000;
             !(answered = m.d.Composing(field)) && NowMilliseconds() < seen;)
            SleepMilliseconds(30);
        if (!answered) printf("the input method did not compose g yet\n");
        m.d.Do("xdotool key BackSpace");
        ASSERT_TRUE(m.d.ShowsComposition(field, false, "input-method-ready"));
    }
    ASSERT_TRUE(answered) << "the input method never composed";
}

void GalleryMonkey::Run(const Action* actions, size_t n) {
    const char* given = getenv("SOAK_SECONDS");
    const int64_t seconds = given ? atoll(given) : 60, start = NowMilliseconds();
    const int64_t end = start + seconds * 1000, warm = start + 60000;
    m.s.state = MonkeySeed();
    printf("monkey seed %llu for %lld s (replay: SOAK_SEED=%llu)\n",
           static_cast<unsigned long long>(m.s.state), static_cast<long long>(seconds),
           static_cast<unsigned long long>(m.s.state));
    const uint64_t seed = m.s.state;
    uint64_t step = 0;
    for (; NowMilliseconds() < end; step++) {
        const Action& a = m.s.Pick(actions, n);

        m.clicked = false;
        a.act(&m);
        if (getenv("SOAK_TRACE"))
            printf("%llu %s (%s)\n", static_cast<unsigned long long>(step), a.name, m.last);
        if (!HasFailure()) Check(&m, "monkey");
        if (HasFailure()) {
            ADD_FAILURE() << "seed " << seed << ", action " << step << ": " << a.name;
            return;
        }
        if (m.clicked) m.lastClick = NowMilliseconds();
        if (warmKilobytes < 0 && NowMilliseconds() >= warm && m.d.checks == &linuxChecks) {
            warmKilobytes = SettledKilobytes(&m, "monkey-warm");
            warmAt = NowMilliseconds();
        }
    }
    printf("monkey: %llu actions, %llu input events in %.1f min\n", static_cast<unsigned long long>(step),
           static_cast<unsigned long long>(m.events),
           static_cast<double>(NowMilliseconds() - start) / 60000.0);
}

// Typed into the line below the log, sent and saved: the saved file holds the twin's lines, the new one too.
void GalleryMonkey::StillAnswers() {
    if (m.d.checks == &linuxChecks) endKilobytes = SettledKilobytes(&m, "monkey-end");
    Pause(&m);
    m.d.ClickMiddle(gallery.entry.header);
    Type(&m, {1, "ctrl+a Hangul e n d Hangul", {ctrlA, Char('e'), Char('n'), Char('d')}});
    m.lastClick = NowMilliseconds();
    Pause(&m);
    m.d.ClickMiddle(gallery.send.header);
    m.lastClick = NowMilliseconds();
    std::string path = m.d.checks->logFilePath(&m.d);
    if (!path.empty()) unlink(path.c_str());
    Pause(&m);
    const Control& save = gallery.save.header;
    m.d.Do("xdotool " + m.d.To(save.x + save.surface.width / 2, save.y + save.surface.height / 2) +
           " click 1");
    TextLog saved = {};
    Extent e = {0, 0, 100, 100};
    InitTextLog(&saved, &e, 0, nullptr, galleryLogLineSize, galleryLogLines);
    LogFileResult result = logFileDone;
    for (int64_t deadline = NowMilliseconds() + waitLong; NowMilliseconds() < deadline;
         SleepMilliseconds(40)) {
        std::string bytes = ReadFile(path = m.d.checks->logFilePath(&m.d));
        result = DecodeLogFile(reinterpret_cast<const uint8_t*>(bytes.data()),
                               static_cast<uint32_t>(bytes.size()), &saved);
        if (!path.empty() && result == logFileDone) break;
    }
    EXPECT_EQ(result, logFileDone) << "the gallery saved its log";
    m.d.twin.Click(save, save.surface.width / 2, save.surface.height / 2);
    std::vector<std::string> lines = Unstamped(saved);
    EXPECT_EQ(lines, Unstamped(gallery.log)) << "the saved log holds the twin's lines";
    EXPECT_NE(std::find(lines.begin(), lines.end(), "stamped: end"), lines.end())
        << "the line sent last: " << ::testing::PrintToString(lines);
    FreeTextLogLines(&saved);
    ReleaseSurface(&saved.header.surface);
    Check(&m, "monkey-answers");
}

// Yes to the close question ends it with 0; no sanitizer wrote a report; the memory stayed flat.
void GalleryMonkey::EndsCleanly() {
    FoundWindow box;
    m.d.checks->askToClose(&m.d, &box);
    if (HasFatalFailure()) return;
    m.d.Do("xdotool key Return");
    int32_t code = -1;
    ASSERT_TRUE(WaitForExit(m.d.program, 2 * waitLong, &code)) << "the gallery still runs after Yes";
    m.d.program = 0;
    EXPECT_EQ(code, 0);
    if (m.d.checks != &linuxChecks) return;
    printf("monkey: resident memory %lld kB after the warm-up, %lld kB at the end\n",
           static_cast<long long>(warmKilobytes), static_cast<long long>(endKilobytes));
    // The first minute warms the caches (glyphs, the input method's, the X connection's); a run that short
    // says nothing about growth. The sanitizer's own records (stack traces, size classes) grow with time:
    // there the figure is only reported, and make soak judges the optimised build's, run beside.
    if (warmKilobytes > 0 && NowMilliseconds() - warmAt > 60000 && !VQ_SANITIZED) {
        EXPECT_LT(endKilobytes - warmKilobytes, 1024) << "the resident memory grew after the warm-up";
    }
}

// A failed check may be a program that is gone (its window then shows as black): what ended it is told.
void GalleryMonkey::Aftermath() {
    int32_t code = 0;
    if (m.d.program > 0 && !ProgramRunning(m.d.program) && WaitForExit(m.d.program, 0, &code)) {
        ADD_FAILURE() << "the gallery had ended with " << code
                      << "; it wrote: " << ReadFile(m.d.work + "/gallery.out");
        m.d.program = 0;
    }
}

// The question box may go while the checks look for it: a request about a window that just went is no
// failure of the test.
int IgnoreGoneWindows(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

// Freed memory that the allocator keeps must not look like growth: the sanitizer build keeps a small
// quarantine, and glibc a fixed mmap threshold (it would otherwise raise it to the size of a window surface
// freed by a resize, and serve the next ones from a heap that then stays as large as the largest).
TEST_F(GalleryMonkey, Linux) {
    char dir[] = "/tmp/vq-monkey.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string reports = std::string(dir) + "/report"; // where the sanitizers write
    const char* asan = getenv("ASAN_OPTIONS");
    std::string options =
        std::string(asan ? asan : "detect_leaks=1") + ":quarantine_size_mb=1:log_path=" + reports;
    setenv("ASAN_OPTIONS", options.c_str(), 1);
    setenv("MALLOC_MMAP_THRESHOLD_", "131072", 1);
    setenv("UBSAN_OPTIONS", ("print_stacktrace=1:log_path=" + reports).c_str(), 1);
    XSetErrorHandler(IgnoreGoneWindows);
    if (!m.d.StartLinux(true)) GTEST_SKIP() << "no Xvfb, or no ibus with the Hangul engine";
    if (!HasFatalFailure()) WaitForInputMethod();
    if (!HasFatalFailure()) Run(actions, std::size(actions));
    if (!HasFailure()) StillAnswers();
    if (!HasFailure())
        EndsCleanly();
    else
        Aftermath();
    glob_t found = {};
    if (glob((reports + "*").c_str(), 0, nullptr, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; i++) ADD_FAILURE() << ReadFile(found.gl_pathv[i]);
    }
    globfree(&found);
    RunCommand(("rm -rf '" + std::string(dir) + "'").c_str());
}

// gallery.exe under Wine: tests/e2e-windows/gallery.sh starts the prefix, the display and the input method.
TEST_F(GalleryMonkey, MonkeyUnderWine) {
    const char* exe = getenv("VQ_WINE_GALLERY");
    if (!exe) GTEST_SKIP() << "run by tests/e2e-windows/gallery.sh";
    m.d.StartWine(exe);
    if (!HasFatalFailure()) WaitForInputMethod();
    if (!HasFatalFailure()) Run(actions, std::size(actions));
    if (!HasFailure()) StillAnswers();
    if (!HasFailure()) EndsCleanly();
}
