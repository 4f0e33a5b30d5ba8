// The gallery on a real screen, driven as a person would: started on Linux or under Wine, input by
// xdotool (and given to the twin as messages), the screen polled with deadlines, the lists' rows found, and
// the saved log read back. What each build can check is in its GalleryChecks table (gallery_checks.cpp).
#pragma once

// Before the X headers, whose macros (None, Bool) clash with it.
#include <gtest/gtest.h>
#include <stdint.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/e2e/gallery_screen.h"
#include "tests/e2e/gallery_twin.h"
#include "tests/e2e/ime_session.h"
#include "tests/e2e/x_session.h"
#include "tools/x11/x11_tools.h"

enum : int32_t { waitLong = 30000, doubleClickPause = 700 };
// Channels may differ this much: on Linux only by rounding; under Wine GDI widens the 5-5-5 pixels its own
// way.
enum : int32_t { exactTolerance = 2, wineTolerance = 10 };

// Colours as the screen shows them (0xRRGGBB).
inline constexpr uint32_t screenWindow = 0x60788C, screenPaper = 0xFFFFFF, screenSelection = 0xB0E0FF,
                          screenSeparator = 0xE0E0E0, screenLinePaper = 0xFFF8D8;

std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
// A log line's Korean time stamp ("2024년5월6일(월)[오후]3시4분5초 "), taken off the front; empty when the
// line does not start with one.
std::string WithoutStamp(const std::string& line);

// What the input method makes of a run of keys, as the twin is given it.
struct Made {
    enum Kind { compose, commit, key } kind;
    std::string syllable; // UTF-8
    uint32_t virtualKey;
    char character;
    uint32_t modifier = 0; // a key held around it
};
inline Made Compose(const char* syllable) {
    return {Made::compose, syllable, 0, 0};
}
inline Made Commit(const char* syllable) {
    return {Made::commit, syllable, 0, 0};
}
inline Made Key(uint32_t virtualKey, char character) {
    return {Made::key, "", virtualKey, character};
}
inline Made With(uint32_t modifier, uint32_t virtualKey, char character) {
    return {Made::key, "", virtualKey, character, modifier};
}
inline Made Char(char c) {
    return Key(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : static_cast<uint8_t>(c), c);
}

struct GalleryDriver;
// What one build can check of what the gallery shows, and how it is driven where the builds differ: Linux
// draws with the twin's FreeType renderer into the twin's pixels, so its screen must show the twin's
// pixels; Wine draws text with GDI's fonts, so text is checked by what changed, by known colours and
// pictures, and through the saved file.
struct GalleryChecks {
    const char* name;
    int32_t tolerance; // of the pixels of controls without text
    // A control whose picture follows the font (text, rows): the twin's pixels, or a change from before.
    void (*text)(GalleryDriver* d, const Control& c, const Pixels& before, const std::string& name);
    // The whole window as the twin shows it (the log only when both show the same lines), or what of it
    // does not depend on the font.
    void (*window)(GalleryDriver* d, const std::string& name, bool withLog);
    // An area that the twin shows alike in every build the check can match (nothing under Wine).
    void (*area)(GalleryDriver* d, const Area& area, const std::string& name);
    std::string (*logFilePath)(GalleryDriver* d);
    // The window made dx, dy larger: by the X server, or by dragging Wine's own frame.
    void (*grow)(GalleryDriver* d, int32_t dx, int32_t dy);
    // The close request, as the window system sends it: sets box to the question.
    void (*askToClose)(GalleryDriver* d, FoundWindow* box);
    // Whether a syllable left composing when a click moves the focus stays out of every control: ibus
    // commits it when it is reset, which the Linux build does not yet undo.
    bool dropsComposition;
};

struct GalleryDriver {
    // ---- Starting ----
    // The Linux build on a display of its own, with ibus-hangul in Hangul mode; false to skip the test.
    bool StartLinux(bool forwarding);
    // gallery.exe under Wine, in the prefix, on the display and with the input method that
    // tests/e2e-windows/gallery.sh set up.
    void StartWine(const char* exe);
    void Stop();

    // ---- Input: the real program by xdotool, the twin by messages ----
    void Do(const std::string& command) { ASSERT_EQ(RunCommand(command.c_str()), 0) << command; }
    std::string To(int32_t x, int32_t y) {
        return "mousemove " + std::to_string(screen.x + x) + " " + std::to_string(screen.y + y);
    }
    void Press(int32_t x, int32_t y);
    void DragTo(int32_t x, int32_t y);
    void Release(int32_t x, int32_t y);
    // A click at (x, y) of the control, with Ctrl held when asked.
    void ClickOn(const Control& c, int32_t x, int32_t y, bool ctrl = false);
    void ClickMiddle(const Control& c) { ClickOn(c, c.surface.width / 2, c.surface.height / 2); }
    // Keys typed as a person would (xdotool's names), and what the input method makes of them.
    void Keys(const std::string& names, const std::vector<Made>& made);
    // A second press on or near the same place must not make a double click: it comes a double-click time
    // after the program showed what the first one did (SDL counts clicks when it handles them).
    void PauseAfterClick() { SleepMilliseconds(doubleClickPause); }
    // A double click at (x, y) of the control.
    void DoubleClickOn(const Control& c, int32_t x, int32_t y);

    // ---- The X clipboard, through xclip ----
    // Polls until xclip reads utf8 from the clipboard.
    bool ClipboardHolds(const std::string& utf8, const std::string& name);
    // xclip owns the clipboard with utf8 until another program takes it (or Stop).
    void SetClipboard(const std::string& utf8);

    // ---- The screen ----
    std::string Shot(const std::string& name) {
        return std::string(VQ_SHOT_DIR) + "/gallery-" + checks->name + "-" + name + ".png";
    }
    Area Client() { return {0, 0, twin.Width(), twin.Height()}; }
    void SaveScreen(const std::string& name) { SavePixels(Shot(name), screen.Grab(Client())); }
    Pixels Now(const Control& c) { return screen.Grab(AreaOf(c)); }
    // Polls until the area shows one of the pictures; on failure saves what it showed and the first one.
    bool Shows(const Area& area, const std::vector<Pixels>& pictures, const std::string& name,
               int32_t tolerance);
    // The control as the twin shows it (both caret states when it has the focus).
    void ExpectShowsTwin(const Control& c, const std::string& name);
    // Polls until the area no longer shows before.
    bool Changed(const Area& area, const Pixels& before, const std::string& name);
    // Whether a composing syllable shows in the control now.
    bool Composing(const Control& c);
    // Polls until a composing syllable shows in the control (white on a black box), or none does.
    bool ShowsComposition(const Control& c, bool shown, const std::string& name);

    // ---- Where things are ----
    // The middle of a node's row, within the tree.
    int32_t TreeRowMiddle(const TreeNode* node);
    // The renamed node's name shows as the other node's of that name (right of the node icons).
    void ExpectNamedLike(const TreeNode* renamed, const TreeNode* sameName);
    // The middle of a list row, and the list's selection: the first rows as head says, the last ones as
    // tail says ('x' selected). Rows are found by their separators.
    int32_t ListRowMiddle(int32_t row);
    void ExpectListSelection(const char* head, const char* tail, const std::string& name);
    // The row that shows the log's current line, within the log.
    Area LogCurrentRow();
    // The saved log's lines, read back through the gallery's own reader, without their time stamps (every
    // line but the last, empty one must have one).
    std::vector<std::string> SavedLines(const std::string& bytes);

    const GalleryChecks* checks = nullptr;
    XSession x = {};
    Display* display = nullptr;
    bool ownDisplay = false;
    ImeSession ime;
    GalleryTwin twin;
    ClientScreen screen;
    pid_t program = 0;
    pid_t clipboardOwner = 0; // xclip
    FoundWindow window = {};
    std::string work, dataRoot;

  private:
    void MakeWork();
    void FindMainWindow();
    void LocateWineClient();
};

extern const GalleryChecks linuxChecks, wineChecks;
