// The gallery driven as a person would, on a private X display, each step checked on the screen with a
// deadline: buttons and the status line, scroll bars dragged, list rows picked by a click, a Ctrl-click and
// a drag past the bottom edge, a tree group opened and an item renamed, text typed into the single-row
// field and into the text log, the log saved and loaded back, the window resized, and the close with its
// question. One scenario serves the Linux build, which gets Korean through a real input method, and
// gallery.exe under Wine.
//
// A twin of the gallery on the headless backend gets the same input as messages. On Linux, where both draw
// with the same FreeType renderer into 5-6-5 pixels, the screen must show the twin's very pixels wherever
// the state is certain (the caret's blink gives two pictures; the log's time stamps are read from the
// saved file instead). Under Wine, whose text GDI draws with other fonts, the controls without text must
// show the twin's pixels; the rest is checked by what changed, by known colours and pictures, and by the
// saved file.
#include <glob.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/gallery_screen.h"
#include "tests/e2e/ime_session.h"
#include "tests/e2e/x_session.h"
#include "tests/support/cp949.h"
#include "tools/x11/x11_tools.h"

namespace {

enum : int32_t { waitLong = 30000, doubleClickPause = 700 };
// Channels may differ this much: on Linux only by rounding; under Wine GDI widens the 5-5-5 pixels its own
// way.
enum : int32_t { exactTolerance = 2, wineTolerance = 10 };

} // namespace

// Colours as the screen shows them (0xRRGGBB).
static const uint32_t screenWindow = 0x60788C, screenPaper = 0xFFFFFF, screenSelection = 0xB0E0FF,
                      screenSeparator = 0xE0E0E0, screenLinePaper = 0xFFF8D8;

static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

static bool Near(uint32_t a, uint32_t b, int32_t tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int32_t d = static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF);
        if (abs(d) > tolerance) return false;
    }
    return true;
}
namespace {

// What the input method makes of a run of keys, as the twin is given it.
struct Made {
    enum Kind { compose, commit, key } kind;
    std::string syllable; // UTF-8
    uint32_t virtualKey;
    char character;
};

} // namespace

static Made Compose(const char* syllable) {
    return {Made::compose, syllable, 0, 0};
}
static Made Commit(const char* syllable) {
    return {Made::commit, syllable, 0, 0};
}
static Made Key(uint32_t virtualKey, char character) {
    return {Made::key, "", virtualKey, character};
}
static Made Char(char c) {
    return {Made::key, "",
            c >= 'a' && c <= 'z' ? static_cast<uint32_t>(c - 'a' + 'A') : static_cast<uint8_t>(c), c};
}

// A log line's Korean time stamp ("2024년5월6일(월)[오후]3시4분5초 "), taken off the front; empty when the
// line does not start with one.
static std::string WithoutStamp(const std::string& line) {
    const std::string year = Cp949("년"), second = Cp949("초 ");
    size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') digits++;
    if (digits != 4 || line.compare(4, year.size(), year) != 0) return "";
    size_t end = line.find(second);
    if (end == std::string::npos || end > 60) return "";
    return line.substr(end + second.size());
}
namespace {

class GalleryOnScreen : public ::testing::Test {
  protected:
    void TearDown() override {
        KillProgram(program);
        twin.Close();
        StopImeSession(&ime);
        if (ownDisplay && display) XCloseDisplay(display);
        StopXSession(&x);
        if (!work.empty()) RunCommand(("rm -rf '" + work + "'").c_str());
    }

    // ---- Starting ----

    void MakeWork() {
        char pattern[] = "/tmp/vq-gallery-e2e.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        work = pattern;
        dataRoot = work + "/data";
        mkdir(dataRoot.c_str(), 0700);
    }

    // The Linux build on a display of its own, with ibus-hangul in Hangul mode.
    void StartLinux(bool forwarding) {
        exact = true;
        if (!x.server && !StartXSession(&x)) GTEST_SKIP() << "no Xvfb";
        display = x.display;
        if (!StartImeSession(&ime, forwarding)) GTEST_SKIP() << "no ibus with the Hangul engine";
        if (work.empty()) MakeWork();
        setenv("XDG_DATA_HOME", dataRoot.c_str(), 1);
        setenv("LSAN_OPTIONS", "suppressions=" VQ_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
        program = StartProgram(VQ_GALLERY, (work + "/gallery.out").c_str());
        ASSERT_GT(program, 0);
        FindMainWindow();
        if (HasFatalFailure()) return;
        screen = {display, window.x, window.y};
        ASSERT_TRUE(twin.Open(window.width, window.height, dataRoot, true));
        FocusWindow(display, window.id);
    }

    // gallery.exe under Wine, in the prefix and on the display that tests/e2e-windows/gallery.sh set up.
    void StartWine(const char* exe) {
        exact = false;
        display = XOpenDisplay(nullptr);
        ownDisplay = true;
        ASSERT_NE(display, nullptr) << "no display";
        MakeWork();
        for (const std::string& old : WineLogFiles()) unlink(old.c_str());
        const char* argv[] = {"wine", exe, nullptr};
        program = StartCommand(argv, (work + "/wine.out").c_str());
        ASSERT_GT(program, 0);
        FindMainWindow();
        if (HasFatalFailure()) return;
        FocusWindow(display, window.id);
        LocateWineClient();
    }

    void FindMainWindow() {
        int64_t deadline = NowMilliseconds() + 2 * waitLong;
        while (FindWindows(display, "Velquist Gallery", &window, 1) == 0) {
            ASSERT_LT(NowMilliseconds(), deadline) << "no window titled Velquist Gallery";
            SleepMilliseconds(50);
        }
    }

    // Wine draws its own frame inside the X window. The play button stands at the same place of every
    // client area and the picture keeps to the bottom-right corner: where they show gives the client
    // area's origin and size.
    void LocateWineClient() {
        ASSERT_TRUE(twin.Open(800, 600, work + "/twin", false));
        const Area play = AreaOf(gallery.play.header), picture = AreaOf(gallery.picture.header);
        const Pixels playShown = twin.Show(play), art = twin.Art(artPicture);
        const int32_t pictureX = picture.x, pictureY = picture.y;
        std::vector<Place> atPlay, atPicture;
        Pixels whole;
        int64_t deadline = NowMilliseconds() + 2 * waitLong;
        for (;;) {
            FindWindows(display, "Velquist Gallery", &window, 1);
            whole = GrabScreenArea(display, window.x, window.y, window.width, window.height);
            atPlay = FindPicture(whole, playShown, 0, play.x + 40, wineTolerance);
            atPicture = FindPicture(whole, art, 0, whole.width, wineTolerance);
            if ((atPlay.size() == 1 && atPicture.size() == 1) || NowMilliseconds() > deadline) break;
            SleepMilliseconds(100);
        }
        SavePixels(Shot("wine-located"), whole);
        ASSERT_EQ(atPlay.size(), 1u) << "the play button is not shown once";
        ASSERT_EQ(atPicture.size(), 1u) << "the picture is not shown once";
        int32_t originX = atPlay[0].x - play.x, originY = atPlay[0].y - play.y;
        int32_t width = 800 + atPicture[0].x - originX - pictureX;
        int32_t height = 600 + atPicture[0].y - originY - pictureY;
        screen = {display, window.x + originX, window.y + originY};
        frameRight = window.width - originX - width;
        frameBottom = window.height - originY - height;
        ASSERT_TRUE(twin.Open(width, height, work + "/twin", false));
        ExpectShowsTwin(gallery.picture.header, "picture after locating");
    }

    // ---- Input: the real program by xdotool, the twin by messages ----

    void Do(const std::string& command) { ASSERT_EQ(RunCommand(command.c_str()), 0) << command; }
    std::string To(int32_t x, int32_t y) {
        return "mousemove " + std::to_string(screen.x + x) + " " + std::to_string(screen.y + y);
    }
    void MoveTo(int32_t x, int32_t y, WParam keys = 0) {
        Do("xdotool " + To(x, y));
        twin.Move(x, y, keys);
    }
    void Press(int32_t x, int32_t y) {
        Do("xdotool " + To(x, y) + " mousedown 1");
        twin.Move(x, y);
        twin.Down(x, y);
    }
    void DragTo(int32_t x, int32_t y) {
        Do("xdotool " + To(x, y));
        twin.Move(x, y, MK_LBUTTON);
    }
    void Release(int32_t x, int32_t y) {
        Do("xdotool mouseup 1");
        twin.Up(x, y);
    }
    // A click at (x, y) of the control, with Ctrl held when asked.
    void ClickOn(const Control& c, int32_t x, int32_t y, bool ctrl = false) {
        int32_t at_x = c.x + x, at_y = c.y + y;
        if (ctrl) {
            Do("xdotool " + To(at_x, at_y) + " keydown ctrl click 1 keyup ctrl");
            twin.Move(at_x, at_y);
            twin.Post(WM_KEYDOWN, vkControl, 1);
            twin.Down(at_x, at_y, MK_CONTROL);
            twin.Up(at_x, at_y, MK_CONTROL);
            twin.Post(WM_KEYUP, vkControl, static_cast<LParam>(0xC0000001u));
        } else {
            Do("xdotool " + To(at_x, at_y) + " click 1");
            twin.Click(c, x, y);
        }
    }
    void ClickMiddle(const Control& c) { ClickOn(c, c.surface.width / 2, c.surface.height / 2); }
    // Keys typed as a person would (xdotool's names), and what the input method makes of them.
    void Keys(const std::string& names, const std::vector<Made>& made) {
        Do("xdotool key --delay 150 " + names);
        for (const Made& m : made) {
            if (m.kind == Made::compose) twin.Compose(Cp949(m.syllable));
            if (m.kind == Made::commit) twin.Commit(Cp949(m.syllable));
            if (m.kind == Made::key) twin.Key(m.virtualKey, m.character);
        }
    }
    // A second press on or near the same place must not make a double click: it comes a double-click time
    // after the program showed what the first one did (SDL counts clicks when it handles them).
    void PauseAfterClick() { SleepMilliseconds(doubleClickPause); }

    // ---- The screen ----

    std::string Shot(const std::string& name) {
        return std::string(VQ_SHOT_DIR) + "/gallery-" + (exact ? "linux-" : "wine-") + name + ".png";
    }
    Area Client() { return {0, 0, twin.Width(), twin.Height()}; }
    void SaveScreen(const std::string& name) { SavePixels(Shot(name), screen.Grab(Client())); }

    // Polls until the area shows one of the pictures; on failure saves what it showed and the first one.
    bool Shows(const Area& area, const std::vector<Pixels>& pictures, const std::string& name,
               int32_t tolerance) {
        int64_t deadline = NowMilliseconds() + waitLong;
        Pixels now;
        int32_t fewest = 0;
        for (;;) {
            now = screen.Grab(area);
            fewest = now.width * now.height + 1;
            for (const Pixels& p : pictures) fewest = std::min(fewest, Differences(now, p, tolerance));
            if (fewest == 0) return true;
            if (NowMilliseconds() > deadline) break;
            SleepMilliseconds(40);
        }
        SavePixels(Shot(name + "-screen"), now);
        SavePixels(Shot(name + "-expected"), pictures[0]);
        ADD_FAILURE() << name << ": " << fewest << " pixels differ from what the twin shows";
        return false;
    }
    // The control as the twin shows it (both caret states when it has the focus).
    void ExpectShowsTwin(const Control& c, const std::string& name) {
        int32_t tolerance = exact ? exactTolerance : wineTolerance;
        Area area = AreaOf(c);
        if (mainWindowRecord->focusControl == &c && c.editBuffer)
            Shows(area, twin.CaretStates(area), name, tolerance);
        else
            Shows(area, {twin.Show(area)}, name, tolerance);
    }
    // Linux: the whole client area as the twin shows it, the log left out unless both show the same lines,
    // the focused control in either caret state.
    void ExpectWindowShowsTwin(const std::string& name, bool withLog = false) {
        Area all = Client(), log = AreaOf(gallery.log.header);
        Control* focus = mainWindowRecord->focusControl;
        Area focused = focus ? AreaOf(*focus) : Area{};
        auto masked = [&](Pixels p) {
            for (const Area& a : {withLog ? Area{} : log, focused}) {
                for (int32_t y = a.y; y < a.y + a.height && y < p.height; y++) {
                    for (int32_t x = a.x; x < a.x + a.width && x < p.width; x++)
                        p.rgb[static_cast<size_t>(y) * p.width + x] = 0;
                }
            }
            return p;
        };
        Pixels want = masked(twin.Show(all));
        int64_t deadline = NowMilliseconds() + waitLong;
        Pixels now;
        int32_t differ = 0;
        for (;;) {
            now = masked(screen.Grab(all));
            differ = Differences(now, want, exactTolerance);
            if (differ == 0 || NowMilliseconds() > deadline) break;
            SleepMilliseconds(40);
        }
        if (differ != 0) {
            SavePixels(Shot(name + "-screen"), now);
            SavePixels(Shot(name + "-expected"), want);
            ADD_FAILURE() << name << ": " << differ << " pixels of the window differ from the twin";
        }
        if (focus) ExpectShowsTwin(*focus, name + "-focus");
    }
    // Polls until the area no longer shows before.
    bool Changed(const Area& area, const Pixels& before, const std::string& name) {
        int64_t deadline = NowMilliseconds() + waitLong;
        while (NowMilliseconds() < deadline) {
            if (Differences(screen.Grab(area), before, 0) > 0) return true;
            SleepMilliseconds(40);
        }
        SavePixels(Shot(name + "-unchanged"), before);
        ADD_FAILURE() << name << ": the screen did not change";
        return false;
    }
    // The check each build allows for a control that shows text: the twin's pixels, or a change.
    void ExpectTextChange(const Control& c, const Pixels& before, const std::string& name) {
        if (exact)
            ExpectShowsTwin(c, name);
        else
            Changed(AreaOf(c), before, name);
    }
    Pixels Now(const Control& c) { return screen.Grab(AreaOf(c)); }

    // The composing syllable at the caret: where the twin draws it, the screen is black with white in it.
    void ExpectCompositionShown(const Control& c, const std::string& name) {
        Area area = AreaOf(c);
        Pixels with = twin.Show(area), without = twin.WithoutComposition(area);
        int32_t left = area.width, top = area.height, right = -1, bottom = -1;
        for (int32_t y = 0; y < area.height; y++) {
            for (int32_t x = 0; x < area.width; x++) {
                if (with.At(x, y) == without.At(x, y)) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        ASSERT_GE(right, left) << name << ": the twin shows no composition";
        Pixels shown = screen.Grab(area);
        int32_t black = 0, white = 0;
        for (int32_t y = top; y <= bottom; y++) {
            for (int32_t x = left; x <= right; x++) {
                black += Near(shown.At(x, y), 0x000000, 8);
                white += Near(shown.At(x, y), 0xFFFFFF, 0x60); // the glyph's edges are blended
            }
        }
        int32_t all = (right - left + 1) * (bottom - top + 1);
        EXPECT_GE(right - left + 1, 8) << name << ": a syllable's width";
        EXPECT_GT(black, all / 2) << name << ": black behind the syllable";
        EXPECT_GT(white, 8) << name << ": the syllable drawn in white";
    }

    // ---- Where the lists' rows are ----

    // The tops of the tree's rows within the tree: from the twin on Linux, from the kind icons at the
    // rows' left under Wine, whose font gives its rows their own height.
    std::vector<int32_t> TreeRowTops() {
        TreeList& tree = gallery.tree;
        std::vector<int32_t> tops;
        if (exact) {
            for (uint32_t i = 0; i < tree.visibleRows; i++)
                tops.push_back(1 + static_cast<int32_t>(i * tree.rowHeight));
            return tops;
        }
        Pixels shown = Now(tree.header);
        for (uint32_t id : {artGroup, artItem}) {
            for (const Place& p : FindPicture(shown, twin.Art(id), 1, 1, wineTolerance)) tops.push_back(p.y);
        }
        std::sort(tops.begin(), tops.end());
        return tops;
    }
    // The middle of a node's row, within the tree.
    int32_t TreeRowMiddle(const TreeNode* node) {
        TreeList& tree = gallery.tree;
        int32_t row = FindTreeListRow(&tree, node, nullptr) - static_cast<int32_t>(tree.firstRow);
        std::vector<int32_t> tops = TreeRowTops(); // neither tree is scrolled: the rows start alike
        if (row < 0 || row >= static_cast<int32_t>(tops.size())) {
            ADD_FAILURE() << "no row for " << node->name;
            return 0;
        }
        int32_t next = row + 1 < static_cast<int32_t>(tops.size()) ? tops[row + 1] : tops[row] + 20;
        return (tops[row] + next) / 2;
    }
    // The list's rows on the screen, by their separators, with whether each is selected.
    struct ListRow {
        int32_t top, bottom;
        bool selected;
    };
    std::vector<ListRow> ListRows() {
        const Control& c = gallery.list.header;
        Pixels shown = Now(c);
        std::vector<ListRow> rows;
        int32_t x = c.surface.width - 4, top = 1;
        for (int32_t y = 1; y < shown.height - 1; y++) {
            if (!Near(shown.At(x, y), screenSeparator, 12)) continue;
            if (y > top) rows.push_back({top, y, Near(shown.At(x, (top + y) / 2), screenSelection, 12)});
            top = y + 1;
        }
        return rows;
    }
    int32_t ListRowMiddle(int32_t row) {
        if (exact) {
            int32_t h = static_cast<int32_t>(gallery.list.rowHeight);
            return 1 + row * h + h / 2;
        }
        std::vector<ListRow> rows = ListRows();
        EXPECT_LT(row, static_cast<int32_t>(rows.size()));
        return row < static_cast<int32_t>(rows.size()) ? (rows[row].top + rows[row].bottom) / 2 : 0;
    }
    // The row of the log's current line, within the log: from the twin, or under Wine where the box of
    // its paper shows.
    int32_t LogCurrentRowMiddle() {
        TextLog& log = gallery.log;
        if (exact) {
            int32_t h = static_cast<int32_t>(log.rowHeight);
            return 1 + static_cast<int32_t>(log.currentLine - log.firstRow) * h + h / 2;
        }
        Pixels shown = Now(log.header);
        int32_t top = -1, bottom = -1;
        for (int32_t y = 1; y < shown.height - 1; y++) {
            for (int32_t x = 1; x < 12; x++) {
                if (!Near(shown.At(x, y), screenLinePaper, 12)) continue;
                if (top < 0) top = y;
                bottom = y;
            }
        }
        EXPECT_GE(top, 0) << "the current line's paper shows";
        return (top + bottom) / 2;
    }

    // ---- The log file ----

    std::vector<std::string> WineLogFiles() {
        std::vector<std::string> files;
        const char* prefix = getenv("WINEPREFIX");
        if (!prefix) return files;
        std::string pattern =
            std::string(prefix) + "/drive_c/users/*/AppData/Roaming/Velquist/gallery-log.vqlog";
        glob_t found = {};
        if (glob(pattern.c_str(), 0, nullptr, &found) == 0) {
            for (size_t i = 0; i < found.gl_pathc; i++) files.push_back(found.gl_pathv[i]);
        }
        globfree(&found);
        return files;
    }
    std::string LogFilePath() {
        if (exact) return dataRoot + "/Velquist/" + galleryLogName;
        std::vector<std::string> files = WineLogFiles();
        return files.empty() ? "" : files[0];
    }
    // The saved log's lines, read back through the gallery's own reader into a log of the gallery's size.
    std::vector<std::string> SavedLines(const std::string& bytes) {
        std::vector<std::string> lines;
        TextLog log = {};
        Extent e = {0, 0, 100, 100};
        InitTextLog(&log, &e, 0, nullptr, galleryLogLineSize, galleryLogLines);
        LogFileResult result = DecodeLogFile(reinterpret_cast<const uint8_t*>(bytes.data()),
                                             static_cast<uint32_t>(bytes.size()), &log);
        EXPECT_EQ(result, logFileDone) << "the saved log reads back";
        for (uint32_t i = 0; result == logFileDone && i < log.lineCount; i++)
            lines.push_back(TextLogLine(&log, i));
        FreeTextLogLines(&log);
        ReleaseSurface(&log.header.surface);
        return lines;
    }
    // The lines without their time stamps; every line but the last, empty one must have one.
    std::vector<std::string> Unstamped(const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (size_t i = 0; i < lines.size(); i++) {
            if (i + 1 == lines.size() && lines[i].empty()) {
                out.push_back("");
                continue;
            }
            std::string text = WithoutStamp(lines[i]);
            EXPECT_FALSE(text.empty()) << "line " << i << " has a time stamp: " << lines[i];
            out.push_back(text);
        }
        return out;
    }

    // ---- The steps of the scenario ----

    void AtStart();
    void WaitForInputMethod();
    void Buttons();
    void ScrollBars();
    void ListBox();
    void Tree();
    void TypeIntoField();
    void TypeIntoLog(std::vector<std::string>* saved);
    void SaveAndLoad(const std::vector<std::string>& expected);
    void Resize();
    void Close(bool askNoFirst);

    XSession x = {};
    Display* display = nullptr;
    bool ownDisplay = false;
    ImeSession ime;
    GalleryTwin twin;
    ClientScreen screen;
    bool exact = true;
    int32_t frameRight = 0, frameBottom = 0; // Wine's frame right of and below the client area
    pid_t program = 0;
    FoundWindow window = {};
    std::string work, dataRoot;
};

// Linux: everything the twin shows, the log apart (its first line has the time the gallery started).
// Wine: the controls without text, the window's and the paper's colours.
void GalleryOnScreen::AtStart() {
    if (exact) {
        ExpectWindowShowsTwin("start");
    } else {
        for (const Control* c : {&gallery.play.header, &gallery.playDisabled.header,
                                 &gallery.horizontal.header, &gallery.vertical.header, &gallery.small.header,
                                 &gallery.listUp.header, &gallery.listDown.header, &gallery.picture.header})
            ExpectShowsTwin(*c, "start-kind-" + std::to_string(c->kind));
        Pixels corner = screen.Grab({2, 2, 1, 1});
        EXPECT_TRUE(Near(corner.At(0, 0), screenWindow, wineTolerance)) << std::hex << corner.At(0, 0);
        Pixels paper = screen.Grab(Inside(AreaOf(gallery.tree.header), gallery.tree.header.surface.width - 8,
                                          gallery.tree.header.surface.height - 8, 1, 1));
        EXPECT_TRUE(Near(paper.At(0, 0), screenPaper, wineTolerance)) << std::hex << paper.At(0, 0);
    }
    SaveScreen("start");
}

// The input method answers once the window's input context has the focus: g composes ㅎ at the caret of
// the focused field and BackSpace takes it away. A g that came before the input method answered is typed
// as a letter and taken away by its BackSpace too.
void GalleryOnScreen::WaitForInputMethod() {
    const Control& field = gallery.single.header;
    Area area = AreaOf(field);
    std::vector<Pixels> idle = twin.CaretStates(area);
    twin.Compose(Cp949("ㅎ"));
    Pixels composing = twin.Show(area);
    twin.EndComposition();
    int64_t deadline = NowMilliseconds() + 2 * waitLong;
    bool answered = false;
    while (!answered && NowMilliseconds() < deadline) {
        Do("xdotool key g");
        Pixels now;
        int64_t seen = NowMilliseconds() + 3000;
        while (NowMilliseconds() < seen) {
            now = screen.Grab(area);
            if (Differences(now, idle[0], exactTolerance) > 0 &&
                Differences(now, idle[1], exactTolerance) > 0)
                break;
            SleepMilliseconds(30);
        }
        answered = Differences(now, composing, exactTolerance) == 0;
        Do("xdotool key BackSpace");
        ASSERT_TRUE(Shows(area, idle, "input-method-ready", exactTolerance));
    }
    ASSERT_TRUE(answered) << "the input method never composed";
}

// A click reports itself on the status line; a press dragged off a button does not click.
void GalleryOnScreen::Buttons() {
    Pixels status = Now(gallery.status.header);
    ClickOn(gallery.ok.header, 30, 12); // "확인 누름 (30, 12)"
    ExpectTextChange(gallery.status.header, status, "ok-clicked");
    status = Now(gallery.status.header);
    PauseAfterClick(); // the play button's point is near enough to make a double click of it
    ClickOn(gallery.play.header, 36, 12); // "재생 단추 누름 (36, 12)"
    ExpectTextChange(gallery.status.header, status, "play-clicked");
    Pixels played = Now(gallery.status.header);

    const Control& cancel = gallery.cancel.header;
    Pixels idle = Now(cancel);
    Press(cancel.x + 20, cancel.y + 12);
    ExpectTextChange(cancel, idle, "cancel-pressed");
    DragTo(cancel.x + cancel.surface.width + 30, cancel.y + 12);
    Shows(AreaOf(cancel), {idle}, "cancel-dragged-off", 0);
    Release(cancel.x + cancel.surface.width + 30, cancel.y + 12);
    // The wrapped field takes the focus after the release; the status line still tells of the play button.
    Pixels wrapped = Now(gallery.wrapped.header);
    ClickOn(gallery.wrapped.header, 60, 30);
    if (exact)
        ExpectShowsTwin(gallery.wrapped.header, "wrapped-focused");
    else
        Changed(AreaOf(gallery.wrapped.header), wrapped, "wrapped-focused");
    Shows(AreaOf(gallery.status.header), {played}, "no-click-off-the-button", 0);
    if (exact) ExpectWindowShowsTwin("buttons");
}

// The thumbs follow the pointer; every release reports the bar's position on the status line and in the
// positions label.
void GalleryOnScreen::ScrollBars() {
    auto thumbMiddle = [](const ScrollBar& bar) {
        uint32_t room = bar.trackLength - bar.thumbLength;
        return static_cast<int32_t>(bar.startLength + (bar.range ? bar.position * room / bar.range : 0) +
                                    bar.thumbLength / 2);
    };
    struct Drag {
        const ScrollBar* bar;
        int32_t by; // along the bar
        const char* name;
    };
    const Drag drags[] = {
        {&gallery.horizontal, 400, "horizontal-to-the-end"}, // past the end, released outside
        {&gallery.vertical, -70, "vertical-up"},
        {&gallery.small, 60, "small-right"},
    };
    for (const Drag& d : drags) {
        const ScrollBar& bar = *d.bar;
        const Control& c = bar.header;
        bool vertical = (c.flags & scrollBarVertical) != 0;
        int32_t along = thumbMiddle(bar);
        int32_t x = c.x + (vertical ? c.surface.width / 2 : along);
        int32_t y = c.y + (vertical ? along : c.surface.height / 2);
        Pixels status = Now(gallery.status.header), positions = Now(gallery.positions.header);
        Press(x, y);
        for (int32_t step = 1; step <= 4; step++) {
            int32_t by = d.by * step / 4;
            DragTo(vertical ? x : x + by, vertical ? y + by : y);
            ExpectShowsTwin(c, std::string(d.name) + "-step-" + std::to_string(step));
        }
        Release(vertical ? x : x + d.by, vertical ? y + d.by : y);
        ExpectShowsTwin(c, std::string(d.name) + "-released");
        ExpectTextChange(gallery.positions.header, positions, std::string(d.name) + "-positions");
        ExpectTextChange(gallery.status.header, status, std::string(d.name) + "-status");
    }
    EXPECT_EQ(gallery.horizontal.position, gallery.horizontal.range) << "the twin's thumb went to the end";
    if (exact) ExpectWindowShowsTwin("scroll-bars");
    SaveScreen("scroll-bars");
}

// A click selects a row, a Ctrl-click adds one; a press dragged below the list scrolls a row in with
// each move and selects it; the arrow scrolls one more row.
void GalleryOnScreen::ListBox() {
    const Control& list = gallery.list.header;
    Pixels status = Now(gallery.status.header);
    ClickOn(list, 60, ListRowMiddle(0)); // "선택 1개 selected 사과 Apple"
    ExpectTextChange(gallery.status.header, status, "list-one-selected");
    status = Now(gallery.status.header);
    PauseAfterClick();
    ClickOn(list, 60, ListRowMiddle(2), true); // "선택 2개 selected 사과 Apple 포도 Grape"
    ExpectTextChange(gallery.status.header, status, "list-two-selected");
    if (exact) {
        ExpectShowsTwin(list, "list-two-selected");
    } else {
        std::vector<ListRow> rows;
        int64_t deadline = NowMilliseconds() + waitLong;
        for (;;) {
            rows = ListRows();
            if ((rows.size() > 3 && rows[0].selected && !rows[1].selected && rows[2].selected) ||
                NowMilliseconds() > deadline)
                break;
            SleepMilliseconds(40);
        }
        ASSERT_GT(rows.size(), 3u);
        EXPECT_TRUE(rows[0].selected && !rows[1].selected && rows[2].selected && !rows[3].selected);
    }
    status = Now(gallery.status.header);
    PauseAfterClick();
    int32_t x = list.x + 60, below = list.y + list.surface.height;
    Press(x, list.y + ListRowMiddle(3));
    for (int32_t move = 1; move <= 3; move++) {
        Pixels bar = Now(gallery.listBar.header);
        DragTo(x, below + 6 + 4 * move); // each move to a new place, so that each one reaches the program
        if (exact) {
            ExpectShowsTwin(list, "list-drag-" + std::to_string(move));
            ExpectShowsTwin(gallery.listBar.header, "list-bar-drag-" + std::to_string(move));
        } else {
            Changed(AreaOf(gallery.listBar.header), bar, "list-bar-drag-" + std::to_string(move));
        }
    }
    Release(x, below + 18);
    ExpectTextChange(gallery.status.header, status, "list-dragged");
    EXPECT_EQ(gallery.list.firstRow, 3u) << "the twin scrolled three rows";
    if (!exact) {
        // The row pressed at the top, then the rows not reached, then the three that scrolled in.
        std::vector<ListRow> rows = ListRows();
        ASSERT_GT(rows.size(), 4u);
        size_t n = rows.size();
        EXPECT_TRUE(rows[0].selected && !rows[1].selected && !rows[n - 4].selected && rows[n - 3].selected &&
                    rows[n - 2].selected && rows[n - 1].selected);
    }
    Pixels bar = Now(gallery.listBar.header);
    ClickMiddle(gallery.listDown.header);
    if (exact)
        ExpectWindowShowsTwin("list");
    else
        Changed(AreaOf(gallery.listBar.header), bar, "list-arrow");
    EXPECT_EQ(gallery.list.firstRow, 4u);
    SaveScreen("list");
}

// The collapsed group opens by its expander; an item is selected, pressed again and renamed (Latin by
// overwriting and Delete; Korean through the input method on Linux); a press elsewhere ends the rename.
void GalleryOnScreen::Tree() {
    TreeList& tree = gallery.tree;
    const Control& c = tree.header;
    TreeNode *work = &gallery.treeGroups[2], *friends = &gallery.treeGroups[0];
    TreeNode *alice = &gallery.treeItems[3], *bob = &gallery.treeItems[4];
    int32_t expanderLeft = 1 + static_cast<int32_t>(tree.kindColumnWidth);
    int32_t expanderX = expanderLeft + tree.expandIcons[0]->width / 2;
    auto expanders = [&](uint32_t art) {
        return FindPicture(Now(c), twin.Art(art), expanderLeft, 1, wineTolerance).size();
    };
    Pixels before = Now(c);
    ClickOn(c, expanderX, TreeRowMiddle(work));
    ExpectTextChange(c, before, "tree-expanded");
    if (!exact) {
        EXPECT_EQ(expanders(artExpander + 2), 4u) << "every group open (the empty one always shows open)";
        EXPECT_EQ(expanders(artExpander + 1), 0u) << "no closed group";
    }
    before = Now(c);
    ClickOn(c, 100, TreeRowMiddle(alice));
    ExpectTextChange(c, before, "tree-alice-selected");
    PauseAfterClick();
    ClickOn(c, 100, TreeRowMiddle(alice));
    ASSERT_NE(c.editBuffer, nullptr) << "the twin renames";
    // Overwriting "Alice" from its start: "Bobce", and Delete twice leaves "Bob". Latin letters need the
    // input method's Latin mode on Linux.
    std::string latin = "B o b Delete Delete";
    Keys(exact ? "Hangul " + latin + " Hangul" : latin,
         {Char('B'), Char('o'), Char('b'), Key(vkDelete, 0), Key(vkDelete, 0)});
    EXPECT_STREQ(alice->name, "Bob");
    if (exact) ExpectShowsTwin(c, "tree-renaming");
    ClickOn(c, 100, TreeRowMiddle(friends));
    EXPECT_EQ(c.editBuffer, nullptr) << "the press ended the rename";
    if (exact) {
        ExpectShowsTwin(c, "tree-renamed");
    } else {
        // The renamed row's name shows as the other Bob's does (right of the node icons, which differ).
        int32_t textX = tree.rows[FindTreeListRow(&tree, bob, nullptr)].edit.originX;
        int32_t a = TreeRowMiddle(alice), b = TreeRowMiddle(bob), h = 10;
        Pixels named = screen.Grab(Inside(AreaOf(c), textX, b - h / 2, 60, h));
        Shows(Inside(AreaOf(c), textX, a - h / 2, 60, h), {named}, "tree-renamed-like-bob", 0);
    }
    if (exact) {
        // Korean over the other Bob: 한 takes "Bo", 글 the "b".
        PauseAfterClick();
        ClickOn(c, 100, TreeRowMiddle(bob));
        ExpectShowsTwin(c, "tree-bob-selected");
        PauseAfterClick();
        ClickOn(c, 100, TreeRowMiddle(bob));
        Keys("g k s r m f", {Compose("ㅎ"), Compose("하"), Compose("한"), Commit("한"), Compose("글")});
        ExpectShowsTwin(c, "tree-composing");
        ExpectCompositionShown(c, "tree-composing");
        SaveScreen("tree-composing");
        Keys("Return", {Commit("글"), Key(vkReturn, '\r')});
        EXPECT_EQ(std::string(bob->name), Cp949("한글"));
        ExpectShowsTwin(c, "tree-korean-typed");
        ClickOn(c, 100, TreeRowMiddle(friends));
        ExpectWindowShowsTwin("tree");
    }
    SaveScreen("tree");
}

// Linux: the single-row field is emptied and gets "한글 언어" from g k s r m f space d j s d j Return,
// the composing syllable white on black at the caret at every stop; then Latin after the Hangul key,
// spaces and a Backspace inside a composition. Wine: Latin text. Enter reports the text on the status line.
void GalleryOnScreen::TypeIntoField() {
    const Control& field = gallery.single.header;
    ClickMiddle(field);
    std::vector<Made> empty = {Key(vkEnd, 0)};
    std::string keys = "End";
    for (int i = 0; i < 16; i++) {
        empty.push_back(Key(vkBack, '\b'));
        keys += " BackSpace";
    }
    Keys(keys, empty);
    ASSERT_STREQ(gallery.singleText, "");
    if (exact) ExpectShowsTwin(field, "field-emptied");
    Pixels status = Now(gallery.status.header);
    if (!exact) {
        Pixels before = Now(field);
        Keys("V e l q u i s t space e 2 e",
             {Char('V'), Char('e'), Char('l'), Char('q'), Char('u'), Char('i'), Char('s'), Char('t'),
              Char(' '), Char('e'), Char('2'), Char('e')});
        Changed(AreaOf(field), before, "field-typed");
        Keys("Return", {Key(vkReturn, '\r')});
        Changed(AreaOf(gallery.status.header), status, "field-entered");
        return;
    }
    struct Stop {
        const char* keys;
        std::vector<Made> made;
        const char* name;
    };
    const Stop stops[] = {
        {"g k s", {Compose("ㅎ"), Compose("하"), Compose("한")}, "field-composing-1"},
        {"r m f", {Commit("한"), Compose("ㄱ"), Compose("그"), Compose("글")}, "field-composing-2"},
        {"space d j s d j",
         {Commit("글"), Char(' '), Compose("어"), Compose("언"), Commit("언"), Compose("어")},
         "field-composing-3"},
    };
    for (const Stop& s : stops) {
        Keys(s.keys, s.made);
        ExpectShowsTwin(field, s.name);
        ExpectCompositionShown(field, s.name);
    }
    SaveScreen("field-composing");
    Keys("Return", {Commit("어"), Key(vkReturn, '\r')});
    EXPECT_EQ(std::string(gallery.singleText), Cp949("한글 언어"));
    ExpectShowsTwin(field, "field-entered");
    ExpectShowsTwin(gallery.status.header, "field-entered-status"); // "입력: 한글 언어"

    Keys("space Hangul a b c Hangul space d j s",
         {Char(' '), Char('a'), Char('b'), Char('c'), Char(' '), Compose("어"), Compose("언")});
    ExpectShowsTwin(field, "field-mixed");
    Keys("BackSpace", {Compose("어")});
    ExpectShowsTwin(field, "field-backspace-in-composition");
    ExpectCompositionShown(field, "field-backspace-in-composition");
    Keys("s Return", {Compose("언"), Commit("언"), Key(vkReturn, '\r')});
    EXPECT_EQ(std::string(gallery.singleText), Cp949("한글 언어 abc 언"));
    ExpectShowsTwin(field, "field-mixed-entered");
    ExpectShowsTwin(gallery.status.header, "field-mixed-status");
    // Left composing: the click into the log drops 요 for good, so the log's first syllable is its own.
    Keys("d y", {Compose("ㅇ"), Compose("요")});
}

// Lines typed into the log end with Enter, which stamps them; Enter right after a composing syllable ends
// the line after the syllable. A line sent from the field below the log joins it above the line being
// typed. saved: the lines the log then holds, without their stamps.
void GalleryOnScreen::TypeIntoLog(std::vector<std::string>* saved) {
    const Control& log = gallery.log.header;
    ClickOn(log, 40, LogCurrentRowMiddle());
    EXPECT_EQ(mainWindowRecord->focusControl, &log);
    Area row = Inside(AreaOf(log), 1, LogCurrentRowMiddle() - static_cast<int32_t>(gallery.log.rowHeight) / 2,
                      log.surface.width - 2, static_cast<int32_t>(gallery.log.rowHeight));
    std::string started = Cp949("갤러리를 시작했습니다. Gallery started.");
    if (exact) {
        Keys("g k s", {Compose("ㅎ"), Compose("하"), Compose("한")});
        // The line being typed has no stamp yet: its row shows what the twin's does.
        Shows(row, {twin.Show(row)}, "log-composing", exactTolerance);
        ExpectCompositionShown(log, "log-composing");
        SaveScreen("log-composing");
        Keys("r m f space Hangul a b c Hangul space d j s BackSpace s Return",
             {Commit("한"), Compose("ㄱ"), Compose("그"), Compose("글"), Commit("글"), Char(' '), Char('a'),
              Char('b'), Char('c'), Char(' '), Compose("어"), Compose("언"), Compose("어"), Compose("언"),
              Commit("언"), Key(vkReturn, '\r')});
        Keys("d j s d j Return",
             {Compose("어"), Compose("언"), Commit("언"), Compose("어"), Commit("어"), Key(vkReturn, '\r')});
        *saved = {started, Cp949("한글 abc 언"), Cp949("언어"), ""};
    } else {
        Pixels before = Now(log);
        Keys("h e l l o space w i n e Return",
             {Char('h'), Char('e'), Char('l'), Char('l'), Char('o'), Char(' '), Char('w'), Char('i'),
              Char('n'), Char('e'), Key(vkReturn, '\r')});
        Changed(AreaOf(log), before, "log-typed");
        ClickMiddle(gallery.entry.header);
        Keys("s e n t", {Char('s'), Char('e'), Char('n'), Char('t')});
        before = Now(log);
        ClickMiddle(gallery.send.header);
        Changed(AreaOf(log), before, "log-sent");
        *saved = {started, "hello wine", "sent", ""};
    }
    ASSERT_EQ(gallery.log.lineCount, saved->size());
    // The current line is the empty one at the bottom again; the twin's lines differ only in their stamps.
    if (exact) {
        Area current =
            Inside(AreaOf(log), 1, LogCurrentRowMiddle() - static_cast<int32_t>(gallery.log.rowHeight) / 2,
                   log.surface.width - 2, static_cast<int32_t>(gallery.log.rowHeight));
        Shows(current, twin.CaretStates(current), "log-typed", exactTolerance);
    }
}

// Save writes the log where the file label says; typing more and Load bring the saved lines back.
void GalleryOnScreen::SaveAndLoad(const std::vector<std::string>& expected) {
    const Control& log = gallery.log.header;
    std::string path = LogFilePath();
    Pixels status = Now(gallery.status.header);
    // The real gallery saves first; the twin, whose lines have other stamps, saves after it and the real
    // file is put back, so that both load the same lines.
    Do("xdotool " + To(gallery.save.header.x + 29, gallery.save.header.y + 12) + " click 1");
    ASSERT_TRUE(Changed(AreaOf(gallery.status.header), status, "saved"));
    path = LogFilePath();
    ASSERT_FALSE(path.empty()) << "no saved log";
    std::string bytes;
    int64_t deadline = NowMilliseconds() + waitLong;
    while ((bytes = ReadFile(path)).size() < logFileHeaderSize && NowMilliseconds() < deadline)
        SleepMilliseconds(40);
    std::vector<std::string> lines = SavedLines(bytes);
    EXPECT_EQ(Unstamped(lines), expected);
    twin.Click(gallery.save.header, 29, 12);
    if (exact) {
        ASSERT_TRUE(WriteFile(path, bytes));
        ExpectShowsTwin(gallery.status.header,
                        "saved-status"); // "기록을 저장했습니다 Saved (4줄 lines): ..."
    }
    // Another line, then Load: the log shows the saved lines again, the last one current.
    ClickMiddle(gallery.entry.header); // the log's caret stops blinking while the field has the focus
    Pixels saved = Now(log);
    ClickOn(log, 40, LogCurrentRowMiddle());
    if (exact)
        Keys("g k s Return",
             {Compose("ㅎ"), Compose("하"), Compose("한"), Commit("한"), Key(vkReturn, '\r')});
    else
        Keys("x y z Return", {Char('x'), Char('y'), Char('z'), Key(vkReturn, '\r')});
    Changed(AreaOf(log), saved, "log-typed-after-save");
    EXPECT_EQ(gallery.log.lineCount, expected.size() + 1);
    status = Now(gallery.status.header);
    ClickMiddle(gallery.load.header);
    EXPECT_EQ(gallery.log.lineCount, expected.size()) << "the twin loaded the saved lines";
    ExpectTextChange(gallery.status.header, status, "loaded-status");
    ClickMiddle(gallery.entry.header);
    if (exact)
        ExpectWindowShowsTwin("loaded", true);
    else
        Shows(AreaOf(log), {saved}, "loaded", 0);
    SaveScreen("loaded");
}

// The window grows; anchored controls follow its right and bottom edges or stretch with them.
void GalleryOnScreen::Resize() {
    const int32_t dx = 100, dy = 60;
    int32_t width = twin.Width() + dx, height = twin.Height() + dy;
    FoundWindow now = window;
    if (exact) {
        Do("xdotool windowsize " + std::to_string(window.id) + " " + std::to_string(width) + " " +
           std::to_string(height));
    } else {
        // Wine's own frame: its bottom-right corner dragged as a person would.
        int32_t cornerX = window.x + window.width - 2, cornerY = window.y + window.height - 2;
        Do("xdotool mousemove " + std::to_string(cornerX) + " " + std::to_string(cornerY) + " mousedown 1");
        for (int32_t step = 1; step <= 4; step++) {
            Do("xdotool mousemove " + std::to_string(cornerX + dx * step / 4) + " " +
               std::to_string(cornerY + dy * step / 4));
            SleepMilliseconds(50);
        }
        Do("xdotool mouseup 1");
    }
    int64_t deadline = NowMilliseconds() + waitLong;
    while (!(FindWindows(display, "Velquist Gallery", &now, 1) == 1 && now.width == window.width + dx &&
             now.height == window.height + dy)) {
        ASSERT_LT(NowMilliseconds(), deadline) << "the window did not grow to " << width << " x " << height;
        SleepMilliseconds(50);
    }
    window = now;
    const Control& status = gallery.status.header;
    int32_t statusWidth = status.surface.width, listX = gallery.list.header.x,
            pictureY = gallery.picture.header.y;
    twin.Resize(width, height);
    EXPECT_EQ(status.surface.width, statusWidth + dx);
    EXPECT_EQ(gallery.list.header.x, listX + dx);
    EXPECT_EQ(gallery.picture.header.y, pictureY + dy);
    if (exact) {
        ExpectWindowShowsTwin("resized", true);
    } else {
        for (const Control* c : {&gallery.play.header, &gallery.horizontal.header, &gallery.vertical.header,
                                 &gallery.listUp.header, &gallery.listDown.header, &gallery.picture.header})
            ExpectShowsTwin(*c, "resized-kind-" + std::to_string(c->kind));
    }
    SaveScreen("resized");
}

// Closing asks "종료하시겠습니까?": No (Escape on Linux, n under Wine) keeps the gallery, Yes ends it with 0.
void GalleryOnScreen::Close(bool askNoFirst) {
    auto ask = [&](FoundWindow* box) {
        if (exact) {
            AskToClose(display, window.id);
        } else {
            FocusWindow(display, window.id);
            Do("xdotool key alt+F4");
        }
        FoundWindow found[4];
        int64_t deadline = NowMilliseconds() + waitLong;
        int32_t n = 0;
        while ((n = FindWindows(display, "Velquist Gallery", found, 4)) < 2 && NowMilliseconds() < deadline)
            SleepMilliseconds(50);
        ASSERT_EQ(n, 2) << "the question did not appear";
        *box = found[0].id == window.id ? found[1] : found[0];
        if (exact) FocusWindow(display, box->id);
        // The box shows its own picture before it is answered.
        deadline = NowMilliseconds() + waitLong;
        Pixels shown;
        for (;;) {
            shown = GrabScreenArea(display, box->x, box->y, box->width, box->height);
            bool drawn = false;
            for (int32_t i = shown.width * shown.height / 2; i < shown.width * shown.height && !drawn; i++)
                drawn = shown.rgb[i] != shown.rgb[shown.width * shown.height / 2];
            if (drawn || NowMilliseconds() > deadline) break;
            SleepMilliseconds(50);
        }
        SavePixels(Shot("question"), shown);
    };
    FoundWindow box;
    if (askNoFirst) {
        ask(&box);
        if (HasFatalFailure()) return;
        Do(exact ? "xdotool key Escape" : "xdotool key n");
        int64_t deadline = NowMilliseconds() + waitLong;
        FoundWindow found[4];
        while (FindWindows(display, "Velquist Gallery", found, 4) > 1 && NowMilliseconds() < deadline)
            SleepMilliseconds(50);
        ASSERT_EQ(FindWindows(display, "Velquist Gallery", found, 4), 1) << "the question stayed";
        ASSERT_TRUE(ProgramRunning(program)) << "No ended the gallery";
        if (exact) ExpectWindowShowsTwin("after-no", true);
    }
    ask(&box);
    if (HasFatalFailure()) return;
    Do("xdotool key Return");
    int32_t code = -1;
    ASSERT_TRUE(WaitForExit(program, 2 * waitLong, &code)) << "the gallery still runs after Yes";
    program = 0;
    EXPECT_EQ(code, 0);
}

} // namespace

// The whole scenario on Linux with ibus-hangul's default settings (keys that end a composition are handed
// back to the program), then the typing again without them.
TEST_F(GalleryOnScreen, LinuxWithARealInputMethod) {
    StartLinux(true);
    if (IsSkipped() || HasFatalFailure()) return;
    AtStart();
    WaitForInputMethod();
    if (HasFatalFailure()) return;
    Buttons();
    ScrollBars();
    ListBox();
    Tree();
    TypeIntoField();
    std::vector<std::string> saved;
    TypeIntoLog(&saved);
    if (HasFatalFailure()) return;
    SaveAndLoad(saved);
    Resize();
    Close(true);
    if (HasFailure()) return;

    SCOPED_TRACE("without event forwarding");
    StopImeSession(&ime);
    RunCommand(("rm -rf '" + dataRoot + "/Velquist'").c_str());
    StartLinux(false);
    if (IsSkipped() || HasFatalFailure()) return;
    WaitForInputMethod();
    if (HasFatalFailure()) return;
    TypeIntoField();
    TypeIntoLog(&saved);
    if (HasFatalFailure()) return;
    SaveAndLoad(saved);
    Close(false);
}

// gallery.exe under Wine: tests/e2e-windows/gallery.sh builds it, starts the prefix and the display, and
// names the program in VQ_WINE_GALLERY.
TEST_F(GalleryOnScreen, WindowsUnderWine) {
    const char* exe = getenv("VQ_WINE_GALLERY");
    if (!exe) GTEST_SKIP() << "run by tests/e2e-windows/gallery.sh";
    StartWine(exe);
    if (HasFatalFailure()) return;
    AtStart();
    Buttons();
    ScrollBars();
    ListBox();
    Tree();
    TypeIntoField();
    std::vector<std::string> saved;
    TypeIntoLog(&saved);
    if (HasFatalFailure()) return;
    SaveAndLoad(saved);
    Resize();
    Close(true);
}
