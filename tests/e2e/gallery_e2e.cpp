// The gallery driven as a person would, on a private X display, each step checked on the screen with a
// deadline: buttons and the status line, scroll bars dragged, list rows picked by a click, a Ctrl-click and
// a drag past the bottom edge, a tree group opened and an item renamed, Korean typed through a real input
// method into the single-row field and into the text log, the log saved and loaded back, the window
// resized, and the close with its question. One scenario serves the Linux build and gallery.exe under
// Wine; a twin of the gallery on the headless backend gets the same input as messages, and each build
// checks the screen against it as far as it can (gallery_checks.cpp). The same keys must give the same
// code page 949 bytes in both builds' saved logs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/gallery_driver.h"
#include "tests/support/cp949.h"
#include "toolkit/gfx/text.h"
#include "toolkit/platform/headless/headless.h"
#include "util/sort.h"

namespace {

class GalleryOnScreen : public ::testing::Test {
  protected:
    void TearDown() override { d.Stop(); }

    void AtStart();
    void WaitForInputMethod();
    void Buttons();
    void ScrollBars();
    void ListBox();
    void KeyboardWalk();
    void Tree();
    void TypeIntoField();
    void EditAsPeopleDo();
    void TypeIntoLog(std::vector<std::string>* saved);
    void SaveAndLoad(const std::vector<std::string>& expected);
    void Resize();
    void Close(bool askNoFirst);
    void WholeScenario(std::vector<std::string>* saved);

    GalleryDriver d;
};

// Everything the twin shows that this build can match, the log apart (its first line has the time the
// gallery started).
void GalleryOnScreen::AtStart() {
    d.checks->window(&d, "start", false);
    d.SaveScreen("start");
}

// The input method answers once the window's input context has the focus: g composes ㅎ at the caret of
// the focused field and BackSpace takes it away. A g that came before the input method answered is typed
// as a letter and taken away by its BackSpace too.
void GalleryOnScreen::WaitForInputMethod() {
    const Control& field = gallery.single.header;
    int64_t deadline = NowMilliseconds() + 2 * waitLong;
    bool answered = false;
    while (!answered && NowMilliseconds() < deadline) {
        d.Do("xdotool key g");
        int64_t seen = NowMilliseconds() + 3000;
        while (!(answered = d.Composing(field)) && NowMilliseconds() < seen) SleepMilliseconds(30);
        d.Do("xdotool key BackSpace");
        ASSERT_TRUE(d.ShowsComposition(field, false, "input-method-ready"));
    }
    ASSERT_TRUE(answered) << "the input method never composed";
    d.checks->area(&d, AreaOf(field), "input-method-ready");
}

// A click reports itself on the status line; a press dragged off a button does not click.
void GalleryOnScreen::Buttons() {
    Pixels status = d.Now(gallery.status.header);
    d.ClickOn(gallery.ok.header, 30, 12); // "확인 누름 (30, 12)"
    d.checks->text(&d, gallery.status.header, status, "ok-clicked");
    status = d.Now(gallery.status.header);
    d.PauseAfterClick(); // the play button's point is near enough to make a double click of it
    d.ClickOn(gallery.play.header, 36, 12); // "재생 단추 누름 (36, 12)"
    d.checks->text(&d, gallery.status.header, status, "play-clicked");
    Pixels played = d.Now(gallery.status.header);

    const Control& cancel = gallery.cancel.header;
    Pixels idle = d.Now(cancel);
    d.Press(cancel.x + 20, cancel.y + 12);
    d.checks->text(&d, cancel, idle, "cancel-pressed");
    d.DragTo(cancel.x + cancel.surface.width + 30, cancel.y + 12);
    d.Shows(AreaOf(cancel), {idle}, "cancel-dragged-off", 0);
    d.Release(cancel.x + cancel.surface.width + 30, cancel.y + 12);
    // The wrapped field takes the focus after the release; the status line still tells of the play button.
    Pixels wrapped = d.Now(gallery.wrapped.header);
    d.ClickOn(gallery.wrapped.header, 60, 30);
    d.checks->text(&d, gallery.wrapped.header, wrapped, "wrapped-focused");
    d.Shows(AreaOf(gallery.status.header), {played}, "no-click-off-the-button", 0);
    d.checks->window(&d, "buttons", false);
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
    for (const Drag& drag : drags) {
        const ScrollBar& bar = *drag.bar;
        const Control& c = bar.header;
        bool vertical = (c.flags & scrollBarVertical) != 0;
        int32_t along = thumbMiddle(bar);
        int32_t x = c.x + (vertical ? c.surface.width / 2 : along);
        int32_t y = c.y + (vertical ? along : c.surface.height / 2);
        Pixels status = d.Now(gallery.status.header), positions = d.Now(gallery.positions.header);
        d.Press(x, y);
        for (int32_t step = 1; step <= 4; step++) {
            int32_t by = drag.by * step / 4;
            d.DragTo(vertical ? x : x + by, vertical ? y + by : y);
            d.ExpectShowsTwin(c, std::string(drag.name) + "-step-" + std::to_string(step));
        }
        d.Release(vertical ? x : x + drag.by, vertical ? y + drag.by : y);
        d.ExpectShowsTwin(c, std::string(drag.name) + "-released");
        d.checks->text(&d, gallery.positions.header, positions, std::string(drag.name) + "-positions");
        d.checks->text(&d, gallery.status.header, status, std::string(drag.name) + "-status");
    }
    EXPECT_EQ(gallery.horizontal.position, gallery.horizontal.range) << "the twin's thumb went to the end";
    d.checks->window(&d, "scroll-bars", false);
    d.SaveScreen("scroll-bars");
}

// A click selects a row, a Ctrl-click adds one; a press dragged below the list selects the rows down to
// the edge and scrolls a row in with each move and selects it; the arrow scrolls one more row.
void GalleryOnScreen::ListBox() {
    const Control& list = gallery.list.header;
    Pixels status = d.Now(gallery.status.header);
    d.ClickOn(list, 60, d.ListRowMiddle(0)); // "선택 1개 selected 사과 Apple"
    d.checks->text(&d, gallery.status.header, status, "list-one-selected");
    status = d.Now(gallery.status.header);
    d.PauseAfterClick();
    Pixels before = d.Now(list);
    d.ClickOn(list, 60, d.ListRowMiddle(2), true); // "선택 2개 selected 사과 Apple 포도 Grape"
    d.checks->text(&d, gallery.status.header, status, "list-two-selected");
    d.checks->text(&d, list, before, "list-two-selected");
    d.ExpectListSelection("x.x.", "", "list-two-selected");
    status = d.Now(gallery.status.header);
    d.PauseAfterClick();
    int32_t x = list.x + 60, below = list.y + list.surface.height;
    d.Press(x, list.y + d.ListRowMiddle(3));
    for (int32_t move = 1; move <= 3; move++) {
        Pixels shown = d.Now(list), bar = d.Now(gallery.listBar.header);
        d.DragTo(x, below + 6 + 4 * move); // each move to a new place, so that each one reaches the program
        d.checks->text(&d, list, shown, "list-drag-" + std::to_string(move));
        d.checks->text(&d, gallery.listBar.header, bar, "list-bar-drag-" + std::to_string(move));
    }
    d.Release(x, below + 18);
    d.checks->text(&d, gallery.status.header, status, "list-dragged");
    EXPECT_EQ(gallery.list.firstRow, 3u) << "the twin scrolled three rows";
    // Every row from the one pressed, at the top now, down to the three that scrolled in.
    d.ExpectListSelection("xx", "xxxx", "list-dragged");
    Pixels bar = d.Now(gallery.listBar.header);
    d.ClickMiddle(gallery.listDown.header);
    d.checks->text(&d, gallery.listBar.header, bar, "list-arrow");
    d.checks->window(&d, "list", false);
    EXPECT_EQ(gallery.list.firstRow, 4u);
    for (int32_t delta : {-120, 120}) { // the wheel: three rows down and back, as the twin
        Pixels shown = d.Now(list);
        d.Do("xdotool " + d.To(x, list.y + 30) + (delta < 0 ? " click 5" : " click 4"));
        d.twin.Wheel(x, list.y + 30, delta);
        d.checks->text(&d, list, shown, "list-wheel" + std::to_string(delta));
        EXPECT_EQ(gallery.list.firstRow, delta < 0 ? 7u : 4u);
    }
    d.SaveScreen("list");
}

// The list keeps the focus its click gave it: Down moves on from the pressed row, ㅅ finds 수박 and ㄱ within
// a second the next 사과. Shift+Tab twice reaches the tree, whose group Left closes and Right opens; Tab
// reaches the sort button, which Space clicks (twice, so the order comes back). Ctrl+Tab leaves a field.
void GalleryOnScreen::KeyboardWalk() {
    const Control &list = gallery.list.header, &tree = gallery.tree.header, &sort = gallery.sort.header;
    Pixels before = d.Now(list);
    d.Keys("Down t r", {Key(vkDown, 0), Compose("ㅅ"), Compose("ㄱ")});
    d.checks->text(&d, list, before, "keys-list");
    EXPECT_EQ(gallery.list.currentItem, &gallery.listItems[20]) << "ㅅㄱ: the next 사과, after 수박";
    before = d.Now(tree);
    uint32_t rows = gallery.tree.rowCount;
    d.Keys("shift+Tab shift+Tab Down Left",
           {With(vkShift, vkTab, '\t'), With(vkShift, vkTab, '\t'), Key(vkDown, 0), Key(vkLeft, 0)});
    ASSERT_EQ(mainWindowRecord->focusControl, &tree);
    EXPECT_LT(gallery.tree.rowCount, rows) << "the group closed";
    d.checks->text(&d, tree, before, "keys-tree-closed");
    before = d.Now(tree);
    d.Keys("Right Down", {Key(vkRight, 0), Key(vkDown, 0)});
    EXPECT_EQ(gallery.tree.rowCount, rows) << "and opened";
    d.checks->text(&d, tree, before, "keys-tree-opened");
    before = d.Now(sort);
    d.Keys("Tab space", {Key(vkTab, '\t'), Key(vkSpace, ' ')});
    EXPECT_EQ(gallery.treeMode & descending, descending) << "Space clicked the sort button";
    d.checks->text(&d, sort, before, "keys-sort-clicked");
    d.Keys("space", {Key(vkSpace, ' ')});
    d.checks->window(&d, "keys", false);
    // Ctrl stays held across a key the input method takes and hands back: Ctrl+Tab leaves a field. It checks
    // the SDL backend's own input-method client.
    if (d.checks != &linuxChecks) return;
    d.ClickMiddle(gallery.single.header);
    d.Keys("ctrl+Tab", {With(vkControl, vkTab, 0)});
    EXPECT_NE(mainWindowRecord->focusControl, &gallery.single.header);
    d.checks->window(&d, "keys-ctrl-tab", false);
}

// The collapsed group opens by its expander; an item is selected, pressed again and renamed (Latin at the
// end of the name after the Hangul key, then Korean through the input method); a press elsewhere
// ends the rename; Return ends it on an item row too.
void GalleryOnScreen::Tree() {
    TreeList& tree = gallery.tree;
    const Control& c = tree.header;
    TreeNode *work = &gallery.treeGroups[2], *friends = &gallery.treeGroups[0];
    TreeNode *alice = &gallery.treeItems[3], *bob = &gallery.treeItems[4];
    int32_t expanderLeft = 1 + static_cast<int32_t>(tree.kindColumnWidth);
    int32_t expanderX = expanderLeft + tree.expandIcons[0]->width / 2;
    auto expanders = [&](uint32_t art) {
        return FindPicture(d.Now(c), d.twin.Art(art), expanderLeft, 1, wineTolerance).size();
    };
    Pixels before = d.Now(c);
    d.ClickOn(c, expanderX, d.TreeRowMiddle(work));
    d.checks->text(&d, c, before, "tree-expanded");
    EXPECT_EQ(expanders(artExpander + 2), 4u) << "every group open (the empty one always shows open)";
    EXPECT_EQ(expanders(artExpander + 1), 0u) << "no closed group";
    before = d.Now(c);
    d.ClickOn(c, 100, d.TreeRowMiddle(alice));
    d.checks->text(&d, c, before, "tree-alice-selected");
    d.PauseAfterClick();
    d.ClickOn(c, 100, d.TreeRowMiddle(alice));
    ASSERT_NE(c.editBuffer, nullptr) << "the twin renames";
    // The rename types at the end of "Alice": five Backspaces, then "Bob".
    before = d.Now(c);
    std::vector<Made> retyped;
    for (int i = 0; i < 5; i++) retyped.push_back(Key(vkBack, '\b'));
    for (char letter : std::string("Bob")) retyped.push_back(Char(letter));
    d.Keys("Hangul BackSpace BackSpace BackSpace BackSpace BackSpace B o b Hangul", retyped);
    EXPECT_STREQ(alice->name, "Bob");
    d.checks->text(&d, c, before, "tree-renaming");
    d.ClickOn(c, 100, d.TreeRowMiddle(friends));
    EXPECT_EQ(c.editBuffer, nullptr) << "the press ended the rename";
    d.checks->text(&d, c, before, "tree-renamed");
    d.ExpectNamedLike(alice, bob);
    // The other Bob becomes Korean: three Backspaces, then 한글.
    d.PauseAfterClick();
    before = d.Now(c);
    d.ClickOn(c, 100, d.TreeRowMiddle(bob));
    d.checks->text(&d, c, before, "tree-bob-selected");
    d.PauseAfterClick();
    d.ClickOn(c, 100, d.TreeRowMiddle(bob));
    before = d.Now(c);
    d.Keys("BackSpace BackSpace BackSpace g k s r m f",
           {Key(vkBack, '\b'), Key(vkBack, '\b'), Key(vkBack, '\b'), Compose("ㅎ"), Compose("하"),
            Compose("한"), Commit("한"), Compose("글")});
    d.checks->text(&d, c, before, "tree-composing");
    d.ShowsComposition(c, true, "tree-composing");
    d.SaveScreen("tree-composing");
    before = d.Now(c);
    d.Keys("Return", {Commit("글"), Key(vkReturn, '\r')});
    EXPECT_EQ(std::string(bob->name), Cp949("한글"));
    d.checks->text(&d, c, before, "tree-korean-typed");
    d.ShowsComposition(c, false, "tree-korean-typed");
    d.ClickOn(c, 100, d.TreeRowMiddle(friends));
    d.checks->window(&d, "tree", false);
    d.SaveScreen("tree");
}

// The single-row field is emptied and gets "한글 언어" from g k s r m f space d j s d j Return, the
// composing syllable white on black at the caret at every stop; then Latin after the Hangul key, spaces
// and a Backspace inside a composition. Enter reports the text on the status line.
void GalleryOnScreen::TypeIntoField() {
    const Control& field = gallery.single.header;
    d.ClickMiddle(field);
    std::vector<Made> empty = {Key(vkEnd, 0)};
    std::string keys = "End";
    for (int i = 0; i < 16; i++) {
        empty.push_back(Key(vkBack, '\b'));
        keys += " BackSpace";
    }
    Pixels before = d.Now(field);
    d.Keys(keys, empty);
    ASSERT_STREQ(gallery.singleText, "");
    d.checks->text(&d, field, before, "field-emptied");
    Pixels status = d.Now(gallery.status.header);
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
        before = d.Now(field);
        d.Keys(s.keys, s.made);
        d.checks->text(&d, field, before, s.name);
        d.ShowsComposition(field, true, s.name);
    }
    d.SaveScreen("field-composing");
    before = d.Now(field);
    d.Keys("Return", {Commit("어"), Key(vkReturn, '\r')});
    EXPECT_EQ(std::string(gallery.singleText), Cp949("한글 언어"));
    d.checks->text(&d, field, before, "field-entered");
    d.checks->text(&d, gallery.status.header, status, "field-entered-status"); // "입력: 한글 언어"
    status = d.Now(gallery.status.header);

    before = d.Now(field);
    d.Keys("space Hangul a b c Hangul space d j s",
           {Char(' '), Char('a'), Char('b'), Char('c'), Char(' '), Compose("어"), Compose("언")});
    d.checks->text(&d, field, before, "field-mixed");
    before = d.Now(field);
    d.Keys("BackSpace", {Compose("어")});
    d.checks->text(&d, field, before, "field-backspace-in-composition");
    d.ShowsComposition(field, true, "field-backspace-in-composition");
    before = d.Now(field);
    d.Keys("s Return", {Compose("언"), Commit("언"), Key(vkReturn, '\r')});
    EXPECT_EQ(std::string(gallery.singleText), Cp949("한글 언어 abc 언"));
    d.checks->text(&d, field, before, "field-mixed-entered");
    d.checks->text(&d, gallery.status.header, status, "field-mixed-status");
}

// Where the single-row field shows the boundary before byte n of its text, as its last paint laid it out.
static int32_t BoundaryX(uint32_t n) {
    const EditBuffer& b = gallery.single.edit;
    TextSize size = {};
    MeasureText(mainWindowHandle, b.font, b.text, static_cast<int32_t>(n), &size);
    return b.originX + (n ? size.cx : 0) - b.scrollX;
}

// The single-row field edited with the mouse and the editing keys: a click places the caret, a syllable
// composes inline there through the real input method, Shift+arrows, a double click and a drag select
// (each selection copied and read back by xclip), Ctrl+A and typing replace everything with a text that
// scrolls sideways, Ctrl+Z / Ctrl+Y undo and redo it. Then the X clipboard both ways: the wrapped field's
// Korean is read as UTF-8, and text that xclip sets (with a character code page 949 cannot hold) pastes as
// into the twin given the same text.
void GalleryOnScreen::EditAsPeopleDo() {
    const Control& field = gallery.single.header;
    const std::string wide = "the quick brown fox jumps over a lazy dog";
    int32_t y = field.surface.height / 2;
    const Made ctrlA = With(vkControl, 'A', 1), ctrlC = With(vkControl, 'C', 3),
               shiftLeft = With(vkShift, vkLeft, 0);
    auto click = [&] { d.ClickOn(field, BoundaryX(4), y); };
    auto doubleClick = [&] {
        d.DoubleClickOn(field, BoundaryX(std::string(gallery.singleText).find("abc") + 1), y);
    };
    auto drag = [&] {
        d.PauseAfterClick();
        d.Press(field.x + 2, field.y + y);
        d.DragTo(field.x + BoundaryX(4), field.y + y);
        d.Release(field.x + BoundaryX(4), field.y + y);
    };
    auto typeWide = [&] {
        d.Keys("Hangul", {});
        d.Do("xdotool type --delay 40 '" + wide + "'");
        d.twin.Type(wide);
        d.Keys("Hangul", {});
    };
    struct Step {
        const char* name;
        bool copy; // then the selection is copied: xclip reads what the twin's clipboard holds
        const char* keys;
        std::vector<Made> made;
        std::function<void()> act = nullptr; // instead of keys
    };
    const Step steps[] = {
        {"edit-caret-placed", false, "", {}, click},
        {"edit-inline-composition", false, "g k s", {Compose("ㅎ"), Compose("하"), Compose("한")}},
        {"edit-inline-committed", false, "space", {Commit("한"), Char(' ')}},
        {"edit-shift-arrows", true, "shift+Left shift+Left", {shiftLeft, shiftLeft}},
        {"edit-double-click", true, "", {}, doubleClick},
        {"edit-dragged", true, "", {}, drag},
        {"edit-all-selected", false, "ctrl+a", {ctrlA}},
        {"edit-scrolled-sideways", false, "", {}, typeWide},
        {"edit-undone", true, "ctrl+z ctrl+a", {With(vkControl, 'Z', 26), ctrlA}},
        {"edit-redone", true, "ctrl+y ctrl+a", {With(vkControl, 'Y', 25), ctrlA}},
    };
    for (const Step& step : steps) {
        Pixels before = d.Now(field);
        step.act ? step.act() : d.Keys(step.keys, step.made);
        d.checks->text(&d, field, before, step.name);
        if (step.name == steps[1].name) d.ShowsComposition(field, true, step.name);
        if (!step.copy) continue;
        d.Keys("ctrl+c", {ctrlC});
        d.ClipboardHolds(HeadlessClipboardUtf8(), step.name);
    }
    EXPECT_EQ(std::string(gallery.singleText), wide);
    EXPECT_GT(gallery.single.edit.scrollX, 0) << "the twin's text scrolled";

    Pixels before = d.Now(gallery.wrapped.header);
    d.ClickOn(gallery.wrapped.header, 60, 30);
    d.Keys("ctrl+a ctrl+c", {ctrlA, ctrlC});
    d.checks->text(&d, gallery.wrapped.header, before, "wrapped-copied");
    EXPECT_NE(std::string(HeadlessClipboardUtf8()).find("한국어"), std::string::npos);
    d.ClipboardHolds(HeadlessClipboardUtf8(), "wrapped-copied");
    d.SetClipboard("붙여 😀 ok");
    HeadlessSetClipboardUtf8("붙여 😀 ok");
    before = d.Now(field);
    Pixels status = d.Now(gallery.status.header);
    d.ClickMiddle(field);
    d.Keys("ctrl+a ctrl+v ctrl+a ctrl+c", {ctrlA, With(vkControl, 'V', 22), ctrlA, ctrlC});
    EXPECT_EQ(std::string(gallery.singleText), Cp949("붙여 ? ok"));
    d.checks->text(&d, field, before, "field-pasted");
    d.checks->text(&d, gallery.status.header, status, "field-pasted-status"); // "… ?로 바꾼 글자 1개 …"
    d.ClipboardHolds("붙여 ? ok", "field-pasted");
}

// Lines typed into the log end with Enter, which stamps them; Enter right after a composing syllable ends
// the line after the syllable. A line sent from the field below the log joins it above the line being
// typed. saved: the lines the log then holds, without their stamps.
void GalleryOnScreen::TypeIntoLog(std::vector<std::string>* saved) {
    const Control& log = gallery.log.header;
    Area current = d.LogCurrentRow();
    d.ClickOn(log, 40, current.y - log.y + current.height / 2);
    EXPECT_EQ(mainWindowRecord->focusControl, &log);
    auto twinRow = [&] {
        int32_t h = static_cast<int32_t>(gallery.log.rowHeight);
        return Inside(AreaOf(log), 1,
                      1 + static_cast<int32_t>(gallery.log.currentLine - gallery.log.firstRow) * h,
                      log.surface.width - 2, h);
    };
    Pixels before = d.Now(log);
    d.Keys("g k s", {Compose("ㅎ"), Compose("하"), Compose("한")});
    // The line being typed has no stamp yet: its row shows what the twin's does.
    d.checks->area(&d, twinRow(), "log-composing");
    d.Changed(AreaOf(log), before, "log-composing");
    d.ShowsComposition(log, true, "log-composing");
    d.SaveScreen("log-composing");
    d.Keys("r m f space Hangul a b c Hangul space d j s BackSpace s Return",
           {Commit("한"), Compose("ㄱ"), Compose("그"), Compose("글"), Commit("글"), Char(' '), Char('a'),
            Char('b'), Char('c'), Char(' '), Compose("어"), Compose("언"), Compose("어"), Compose("언"),
            Commit("언"), Key(vkReturn, '\r')});
    d.Keys("d j s d j Return",
           {Compose("어"), Compose("언"), Commit("언"), Compose("어"), Commit("어"), Key(vkReturn, '\r')});
    // A syllable left composing when a click moves the focus is dropped: the saved log shows it reached
    // neither the log nor the field.
    if (d.checks->dropsComposition) {
        d.Keys("g k s", {Compose("ㅎ"), Compose("하"), Compose("한")});
        d.ShowsComposition(log, true, "log-composing-left");
    }
    d.ClickMiddle(gallery.entry.header);
    d.ShowsComposition(log, false, "log-composition-dropped");
    d.Keys("Hangul s e n t Hangul", {Char('s'), Char('e'), Char('n'), Char('t')});
    before = d.Now(log);
    d.ClickMiddle(gallery.send.header);
    d.Changed(AreaOf(log), before, "log-sent");
    *saved = {Cp949("갤러리를 시작했습니다. Gallery started."), Cp949("한글 abc 언"), Cp949("언어"), "sent",
              ""};
    ASSERT_EQ(gallery.log.lineCount, saved->size());
    // The current line is the empty one at the bottom again; the twin's lines differ only in their stamps.
    d.checks->area(&d, twinRow(), "log-typed");
}

// Save writes the log where the file label says; typing more and Load bring the saved lines back.
void GalleryOnScreen::SaveAndLoad(const std::vector<std::string>& expected) {
    const Control& log = gallery.log.header;
    Pixels status = d.Now(gallery.status.header);
    // The real gallery saves first; the twin, whose lines have other stamps, saves after it and, where it
    // shares the file, the real one is put back, so that both load the same lines.
    d.Do("xdotool " + d.To(gallery.save.header.x + 29, gallery.save.header.y + 12) + " click 1");
    ASSERT_TRUE(d.Changed(AreaOf(gallery.status.header), status, "saved"));
    std::string path = d.checks->logFilePath(&d);
    ASSERT_FALSE(path.empty()) << "no saved log";
    std::string bytes;
    int64_t deadline = NowMilliseconds() + waitLong;
    while ((bytes = ReadFile(path)).size() < logFileHeaderSize && NowMilliseconds() < deadline)
        SleepMilliseconds(40);
    EXPECT_EQ(d.SavedLines(bytes), expected);
    d.twin.Click(gallery.save.header, 29, 12);
    ASSERT_TRUE(ReadFile(path) == bytes || WriteFile(path, bytes));
    d.checks->text(&d, gallery.status.header, status,
                   "saved-status"); // "기록을 저장했습니다 Saved (…줄 lines)"
    // Another line, then Load: the log shows the saved lines again, the last one current.
    d.ClickMiddle(gallery.entry.header); // the log's caret stops blinking while the field has the focus
    Pixels saved = d.Now(log);
    Area current = d.LogCurrentRow();
    d.ClickOn(log, 40, current.y - log.y + current.height / 2);
    d.Keys("g k s Return", {Compose("ㅎ"), Compose("하"), Compose("한"), Commit("한"), Key(vkReturn, '\r')});
    d.Changed(AreaOf(log), saved, "log-typed-after-save");
    EXPECT_EQ(gallery.log.lineCount, expected.size() + 1);
    status = d.Now(gallery.status.header);
    d.ClickMiddle(gallery.load.header);
    EXPECT_EQ(gallery.log.lineCount, expected.size()) << "the twin loaded the saved lines";
    d.checks->text(&d, gallery.status.header, status, "loaded-status");
    d.ClickMiddle(gallery.entry.header);
    d.Shows(AreaOf(log), {saved}, "loaded", 0);
    d.checks->window(&d, "loaded", true);
    d.SaveScreen("loaded");
}

// The window grows; anchored controls follow its right and bottom edges or stretch with them.
void GalleryOnScreen::Resize() {
    const int32_t dx = 100, dy = 60;
    FoundWindow now = d.window;
    d.checks->grow(&d, dx, dy);
    int64_t deadline = NowMilliseconds() + waitLong;
    while (!(FindWindows(d.display, "Velquist Gallery", &now, 1) == 1 && now.width == d.window.width + dx &&
             now.height == d.window.height + dy)) {
        ASSERT_LT(NowMilliseconds(), deadline) << "the window did not grow by " << dx << " x " << dy;
        SleepMilliseconds(50);
    }
    d.window = now;
    const Control& status = gallery.status.header;
    int32_t statusWidth = status.surface.width, listX = gallery.list.header.x,
            pictureY = gallery.picture.header.y;
    d.twin.Resize(d.twin.Width() + dx, d.twin.Height() + dy);
    EXPECT_EQ(status.surface.width, statusWidth + dx);
    EXPECT_EQ(gallery.list.header.x, listX + dx);
    EXPECT_EQ(gallery.picture.header.y, pictureY + dy);
    d.checks->window(&d, "resized", true);
    d.SaveScreen("resized");
}

// Closing asks "종료하시겠습니까?": Escape keeps the gallery, Yes ends it with 0. The box shows its own
// picture before it is answered.
void GalleryOnScreen::Close(bool askNoFirst) {
    auto ask = [&](FoundWindow* box) {
        d.checks->askToClose(&d, box);
        if (HasFatalFailure()) return;
        int64_t deadline = NowMilliseconds() + waitLong;
        Pixels shown;
        for (;;) {
            shown = GrabScreenArea(d.display, box->x, box->y, box->width, box->height);
            bool drawn = false;
            for (int32_t i = shown.width * shown.height / 2; i < shown.width * shown.height && !drawn; i++)
                drawn = shown.rgb[i] != shown.rgb[shown.width * shown.height / 2];
            if (drawn || NowMilliseconds() > deadline) break;
            SleepMilliseconds(50);
        }
        SavePixels(d.Shot("question"), shown);
    };
    FoundWindow box;
    if (askNoFirst) {
        ask(&box);
        if (HasFatalFailure()) return;
        d.Do("xdotool key Escape"); // a No (IDCANCEL under Wine), whatever the input method's mode
        int64_t deadline = NowMilliseconds() + waitLong;
        FoundWindow found[4];
        while (FindWindows(d.display, "Velquist Gallery", found, 4) > 1 && NowMilliseconds() < deadline)
            SleepMilliseconds(50);
        ASSERT_EQ(FindWindows(d.display, "Velquist Gallery", found, 4), 1) << "the question stayed";
        ASSERT_TRUE(ProgramRunning(d.program)) << "No ended the gallery";
        d.checks->window(&d, "after-no", true);
    }
    ask(&box);
    if (HasFatalFailure()) return;
    d.Do("xdotool key Return");
    int32_t code = -1;
    ASSERT_TRUE(WaitForExit(d.program, 2 * waitLong, &code)) << "the gallery still runs after Yes";
    d.program = 0;
    EXPECT_EQ(code, 0);
}

// Every step in order; saved: the log lines typed, for a second run of the typing.
void GalleryOnScreen::WholeScenario(std::vector<std::string>* saved) {
    AtStart();
    WaitForInputMethod();
    if (HasFatalFailure()) return;
    Buttons();
    ScrollBars();
    ListBox();
    KeyboardWalk();
    Tree();
    TypeIntoField();
    EditAsPeopleDo();
    TypeIntoLog(saved);
    if (HasFatalFailure()) return;
    SaveAndLoad(*saved);
    Resize();
    Close(true);
}

} // namespace

// The whole scenario on Linux with ibus-hangul's default settings (keys that end a composition are handed
// back to the program), then the typing again without them.
TEST_F(GalleryOnScreen, LinuxWithARealInputMethod) {
    if (!d.StartLinux(true)) GTEST_SKIP() << "no Xvfb, or no ibus with the Hangul engine";
    if (HasFatalFailure()) return;
    std::vector<std::string> saved;
    WholeScenario(&saved);
    if (HasFailure()) return;

    SCOPED_TRACE("without event forwarding");
    StopImeSession(&d.ime);
    RunCommand(("rm -rf '" + d.dataRoot + "/Velquist'").c_str());
    if (!d.StartLinux(false)) GTEST_SKIP() << "no ibus with the Hangul engine";
    if (HasFatalFailure()) return;
    WaitForInputMethod();
    if (HasFatalFailure()) return;
    TypeIntoField();
    TypeIntoLog(&saved);
    if (HasFatalFailure()) return;
    SaveAndLoad(saved);
    Close(false);
}

// gallery.exe under Wine: tests/e2e-windows/gallery.sh builds it, starts the prefix, the display and the
// input method, and names the program in VQ_WINE_GALLERY.
TEST_F(GalleryOnScreen, WindowsUnderWine) {
    const char* exe = getenv("VQ_WINE_GALLERY");
    if (!exe) GTEST_SKIP() << "run by tests/e2e-windows/gallery.sh";
    d.StartWine(exe);
    if (HasFatalFailure()) return;
    std::vector<std::string> saved;
    WholeScenario(&saved);
}

// The input method killed while a syllable is composing: the gallery goes on, the composition is cleared
// and typing goes on in Latin; once the daemon runs again, Korean too.
TEST_F(GalleryOnScreen, LinuxInputMethodKilledWhileComposing) {
    if (!d.StartLinux(false)) GTEST_SKIP() << "no Xvfb, or no ibus with the Hangul engine";
    if (HasFatalFailure()) return;
    WaitForInputMethod();
    if (HasFatalFailure()) return;
    const Control& field = gallery.single.header;
    d.ClickMiddle(field);
    d.Keys("End r", {Key(vkEnd, 0), Compose("ㄱ")});
    ASSERT_TRUE(d.ShowsComposition(field, true, "composing-before-the-kill"));
    KillImeDaemon(&d.ime);
    d.Do("xdotool key --delay 150 a b");
    d.twin.EndComposition();
    d.twin.Key('A', 'a');
    d.twin.Key('B', 'b');
    EXPECT_TRUE(d.ShowsComposition(field, false, "composition-cleared"));
    EXPECT_TRUE(ProgramRunning(d.program));
    d.ExpectShowsTwin(field, "latin-after-the-kill");
    ASSERT_TRUE(StartImeDaemon(&d.ime));
    d.Keys("g k s", {Compose("ㅎ"), Compose("하"), Compose("한")});
    EXPECT_TRUE(d.ShowsComposition(field, true, "korean-after-the-restart"));
    d.ExpectShowsTwin(field, "korean-after-the-restart");
}
