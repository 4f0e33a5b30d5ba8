#include "tests/e2e/gallery_driver.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tests/support/cp949.h"

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::string WithoutStamp(const std::string& line) {
    const std::string year = Cp949("년"), second = Cp949("초 ");
    size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') digits++;
    if (digits != 4 || line.compare(4, year.size(), year) != 0) return "";
    size_t end = line.find(second);
    if (end == std::string::npos || end > 60) return "";
    return line.substr(end + second.size());
}

// ---- Starting ----

void GalleryDriver::MakeWork() {
    char pattern[] = "/tmp/vq-gallery-e2e.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    work = pattern;
    dataRoot = work + "/data";
    mkdir(dataRoot.c_str(), 0700);
}

bool GalleryDriver::StartLinux(bool forwarding) {
    checks = &linuxChecks;
    if (!x.server && !StartXSession(&x)) return false;
    display = x.display;
    if (!StartImeSession(&ime, forwarding)) return false;
    if (work.empty()) MakeWork();
    setenv("XDG_DATA_HOME", dataRoot.c_str(), 1);
    setenv("LSAN_OPTIONS", "suppressions=" VQ_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    program = StartProgram(VQ_GALLERY, (work + "/gallery.out").c_str());
    EXPECT_GT(program, 0);
    FindMainWindow();
    if (::testing::Test::HasFatalFailure()) return true;
    screen = {display, window.x, window.y};
    EXPECT_TRUE(twin.Open(window.width, window.height, dataRoot, true));
    FocusWindow(display, window.id);
    return true;
}

// Windows come and go while the checks look at them (the question box closing); a request about one that
// just went is no failure.
static int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

void GalleryDriver::StartWine(const char* exe) {
    checks = &wineChecks;
    XSetErrorHandler(IgnoreXErrors);
    display = XOpenDisplay(nullptr);
    ownDisplay = true;
    ASSERT_NE(display, nullptr) << "no display";
    MakeWork();
    std::string old = wineChecks.logFilePath(this);
    if (!old.empty()) unlink(old.c_str());
    const char* argv[] = {"wine", exe, nullptr};
    program = StartCommand(argv, (work + "/wine.out").c_str());
    ASSERT_GT(program, 0);
    FindMainWindow();
    if (::testing::Test::HasFatalFailure()) return;
    FocusWindow(display, window.id);
    LocateWineClient();
}

void GalleryDriver::Stop() {
    KillProgram(program);
    program = 0;
    KillProgram(clipboardOwner);
    clipboardOwner = 0;
    twin.Close();
    StopImeSession(&ime);
    if (ownDisplay && display) XCloseDisplay(display);
    display = nullptr;
    StopXSession(&x);
    if (!work.empty()) RunCommand(("rm -rf '" + work + "'").c_str());
    work.clear();
}

void GalleryDriver::FindMainWindow() {
    int64_t deadline = NowMilliseconds() + 2 * waitLong;
    while (FindWindows(display, "Velquist Gallery", &window, 1) == 0) {
        ASSERT_LT(NowMilliseconds(), deadline) << "no window titled Velquist Gallery";
        SleepMilliseconds(50);
    }
}

// Wine draws its own frame inside the X window. The play button stands at the same place of every client
// area and the picture keeps to the bottom-right corner: where they show gives the client area's origin
// and size.
void GalleryDriver::LocateWineClient() {
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
    SavePixels(Shot("located"), whole);
    ASSERT_EQ(atPlay.size(), 1u) << "the play button is not shown once";
    ASSERT_EQ(atPicture.size(), 1u) << "the picture is not shown once";
    int32_t originX = atPlay[0].x - play.x, originY = atPlay[0].y - play.y;
    int32_t width = 800 + atPicture[0].x - originX - pictureX;
    int32_t height = 600 + atPicture[0].y - originY - pictureY;
    screen = {display, window.x + originX, window.y + originY};
    ASSERT_TRUE(twin.Open(width, height, work + "/twin", false));
    ExpectShowsTwin(gallery.picture.header, "picture after locating");
}

// ---- Input ----

void GalleryDriver::Press(int32_t x, int32_t y) {
    Do("xdotool " + To(x, y) + " mousedown 1");
    twin.Move(x, y);
    twin.Down(x, y);
}
void GalleryDriver::DragTo(int32_t x, int32_t y) {
    Do("xdotool " + To(x, y));
    twin.Move(x, y, MK_LBUTTON);
}
void GalleryDriver::Release(int32_t x, int32_t y) {
    Do("xdotool mouseup 1");
    twin.Up(x, y);
}
void GalleryDriver::ClickOn(const Control& c, int32_t x, int32_t y, bool ctrl) {
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
void GalleryDriver::DoubleClickOn(const Control& c, int32_t x, int32_t y) {
    Do("xdotool " + To(c.x + x, c.y + y) + " click --repeat 2 --delay 80 1");
    twin.DoubleClick(c, x, y);
}
void GalleryDriver::Keys(const std::string& names, const std::vector<Made>& made) {
    Do("xdotool key --delay 150 " + names);
    for (const Made& m : made) {
        if (m.kind == Made::compose) twin.Compose(Cp949(m.syllable));
        if (m.kind == Made::commit) twin.Commit(Cp949(m.syllable));
        if (m.kind == Made::key && m.modifier) twin.Chord(m.modifier, m.virtualKey, m.character);
        if (m.kind == Made::key && !m.modifier) twin.Key(m.virtualKey, m.character);
    }
}

// ---- The X clipboard ----

// What xclip reads from the clipboard; it waits for the owner's answer, which a program that does not
// answer must not make a hang.
static std::string ReadClipboard() {
    std::string text;
    FILE* out = popen("timeout 5 xclip -o -selection clipboard 2>/dev/null", "r");
    if (!out) return text;
    char part[256];
    for (size_t n; (n = fread(part, 1, sizeof part, out)) > 0;) text.append(part, n);
    pclose(out);
    return text;
}

bool GalleryDriver::ClipboardHolds(const std::string& utf8, const std::string& name) {
    int64_t deadline = NowMilliseconds() + waitLong;
    std::string read;
    while ((read = ReadClipboard()) != utf8 && NowMilliseconds() < deadline) SleepMilliseconds(50);
    EXPECT_EQ(read, utf8) << name << ": what xclip reads from the clipboard";
    return read == utf8;
}

void GalleryDriver::SetClipboard(const std::string& utf8) {
    std::string path = work + "/clipboard.txt";
    ASSERT_TRUE(WriteFile(path, utf8));
    KillProgram(clipboardOwner);
    const char* argv[] = {"xclip", "-quiet", "-i", "-selection", "clipboard", path.c_str(), nullptr};
    clipboardOwner = StartCommand(argv, (work + "/xclip.out").c_str());
    ASSERT_GT(clipboardOwner, 0);
    ClipboardHolds(utf8, "set by xclip");
}

// ---- The screen ----

bool GalleryDriver::Shows(const Area& area, const std::vector<Pixels>& pictures, const std::string& name,
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

void GalleryDriver::ExpectShowsTwin(const Control& c, const std::string& name) {
    Area area = AreaOf(c);
    if (mainWindowRecord->focusControl == &c && c.editBuffer)
        Shows(area, twin.CaretStates(area), name, checks->tolerance);
    else
        Shows(area, {twin.Show(area)}, name, checks->tolerance);
}

bool GalleryDriver::Changed(const Area& area, const Pixels& before, const std::string& name) {
    int64_t deadline = NowMilliseconds() + waitLong;
    while (NowMilliseconds() < deadline) {
        if (Differences(screen.Grab(area), before, 0) > 0) return true;
        SleepMilliseconds(40);
    }
    SavePixels(Shot(name + "-unchanged"), before);
    ADD_FAILURE() << name << ": the screen did not change";
    return false;
}

// The composing syllable stands white on a black box as high as the row: black rows above and below the
// glyph, which no stroke of text drawn in one colour makes.
static bool HasCompositionBox(const Pixels& shown) {
    enum : int32_t { boxWidth = 8, boxRows = 2 };
    for (int32_t y = 0; y + boxRows <= shown.height; y++) {
        for (int32_t x = 0; x + boxWidth <= shown.width; x++) {
            bool black = true;
            for (int32_t dy = 0; dy < boxRows && black; dy++) {
                for (int32_t dx = 0; dx < boxWidth && black; dx++)
                    black = Near(shown.At(x + dx, y + dy), 0, 8);
            }
            if (black) return true;
        }
    }
    return false;
}

bool GalleryDriver::Composing(const Control& c) {
    return HasCompositionBox(Now(c));
}

bool GalleryDriver::ShowsComposition(const Control& c, bool shown, const std::string& name) {
    int64_t deadline = NowMilliseconds() + waitLong;
    Pixels now;
    for (;;) {
        now = Now(c);
        if (HasCompositionBox(now) == shown) return true;
        if (NowMilliseconds() > deadline) break;
        SleepMilliseconds(40);
    }
    SavePixels(Shot(name + "-screen"), now);
    ADD_FAILURE() << name << (shown ? ": no composing syllable shows" : ": a composing syllable stays");
    return false;
}

// ---- Where things are ----

// From the kind icons at the rows' left, as the font gives the rows their own height.
static std::vector<int32_t> TreeRowTops(GalleryDriver* d) {
    std::vector<int32_t> tops;
    Pixels shown = d->Now(gallery.tree.header);
    for (uint32_t id : {artGroup, artItem}) {
        for (const Place& p : FindPicture(shown, d->twin.Art(id), 1, 1, wineTolerance)) tops.push_back(p.y);
    }
    std::sort(tops.begin(), tops.end());
    return tops;
}

int32_t GalleryDriver::TreeRowMiddle(const TreeNode* node) {
    TreeList& tree = gallery.tree;
    int32_t row = FindTreeListRow(&tree, node, nullptr) - static_cast<int32_t>(tree.firstRow);
    std::vector<int32_t> tops = TreeRowTops(this); // neither tree is scrolled: the rows start alike
    if (row < 0 || row >= static_cast<int32_t>(tops.size())) {
        ADD_FAILURE() << "no row for " << node->name;
        return 0;
    }
    int32_t next = row + 1 < static_cast<int32_t>(tops.size()) ? tops[row + 1] : tops[row] + 20;
    return (tops[row] + next) / 2;
}

namespace {
struct ListRow {
    int32_t top, bottom;
    bool selected;
};
} // namespace

// The list's rows on the screen, by their separators, with whether each is selected.
static std::vector<ListRow> ListRows(GalleryDriver* d) {
    const Control& c = gallery.list.header;
    Pixels shown = d->Now(c);
    std::vector<ListRow> rows;
    int32_t x = c.surface.width - 4, top = 1;
    for (int32_t y = 1; y < shown.height - 1; y++) {
        if (!Near(shown.At(x, y), screenSeparator, 12)) continue;
        if (y > top) rows.push_back({top, y, Near(shown.At(x, (top + y) / 2), screenSelection, 12)});
        top = y + 1;
    }
    return rows;
}

int32_t GalleryDriver::ListRowMiddle(int32_t row) {
    std::vector<ListRow> rows = ListRows(this);
    EXPECT_LT(row, static_cast<int32_t>(rows.size()));
    return row < static_cast<int32_t>(rows.size()) ? (rows[row].top + rows[row].bottom) / 2 : 0;
}

void GalleryDriver::ExpectListSelection(const char* head, const char* tail, const std::string& name) {
    std::string want = std::string(head) + "|" + tail, shown;
    size_t headRows = strlen(head), tailRows = strlen(tail);
    int64_t deadline = NowMilliseconds() + waitLong;
    do {
        std::vector<ListRow> rows = ListRows(this);
        shown.clear();
        for (size_t i = 0; i < headRows && i < rows.size(); i++) shown += rows[i].selected ? 'x' : '.';
        shown += '|';
        for (size_t i = rows.size() < tailRows ? 0 : rows.size() - tailRows; i < rows.size(); i++)
            shown += rows[i].selected ? 'x' : '.';
        if (shown == want) return;
        SleepMilliseconds(40);
    } while (NowMilliseconds() < deadline);
    ADD_FAILURE() << name << ": the list's rows show " << shown << ", not " << want;
}

// The renamed row's name shows as the other row of that name does (right of the node icons, which differ).
void GalleryDriver::ExpectNamedLike(const TreeNode* renamed, const TreeNode* sameName) {
    TreeList& tree = gallery.tree;
    int32_t textX = tree.rows[FindTreeListRow(&tree, sameName, nullptr)].edit.originX;
    int32_t a = TreeRowMiddle(renamed), b = TreeRowMiddle(sameName), h = 10;
    Pixels named = screen.Grab(Inside(AreaOf(tree.header), textX, b - h / 2, 60, h));
    Shows(Inside(AreaOf(tree.header), textX, a - h / 2, 60, h), {named}, "tree-renamed-like-bob", 0);
}

// Where the box of the current line's paper shows: its rows follow the font.
Area GalleryDriver::LogCurrentRow() {
    const Control& log = gallery.log.header;
    Pixels shown = Now(log);
    int32_t top = -1, bottom = -1;
    for (int32_t y = 1; y < shown.height - 1; y++) {
        for (int32_t x = 1; x < 12; x++) {
            if (!Near(shown.At(x, y), screenLinePaper, 12)) continue;
            if (top < 0) top = y;
            bottom = y;
        }
    }
    EXPECT_GE(top, 0) << "the current line's paper shows";
    return Inside(AreaOf(log), 1, top, log.surface.width - 2, bottom - top + 1);
}

std::vector<std::string> GalleryDriver::SavedLines(const std::string& bytes) {
    std::vector<std::string> lines;
    TextLog log = {};
    Extent e = {0, 0, 100, 100};
    InitTextLog(&log, &e, 0, nullptr, galleryLogLineSize, galleryLogLines);
    LogFileResult result = DecodeLogFile(reinterpret_cast<const uint8_t*>(bytes.data()),
                                         static_cast<uint32_t>(bytes.size()), &log);
    EXPECT_EQ(result, logFileDone) << "the saved log reads back";
    for (uint32_t i = 0; result == logFileDone && i < log.lineCount; i++) {
        std::string line = TextLogLine(&log, i);
        if (i + 1 == log.lineCount && line.empty()) {
            lines.push_back("");
            continue;
        }
        std::string text = WithoutStamp(line);
        EXPECT_FALSE(text.empty()) << "line " << i << " has a time stamp: " << line;
        lines.push_back(text);
    }
    FreeTextLogLines(&log);
    ReleaseSurface(&log.header.surface);
    return lines;
}
