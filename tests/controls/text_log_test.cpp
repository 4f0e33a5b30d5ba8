// Text logs on the screen: a new log's one line typed into, the top row clamped by layout, the scroll bar
// and its companions in step (range and position in sixteenths of a line), the click that picks the current
// line, Enter, the read-only log, the frame and background, and a log whose lines could not be allocated.
#include "tests/controls/control_window.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/text_log.h"

static const uint32_t kGrey = 0xBFBFBF, kGreen = 0x00FF00, kBlue = 0xFF0000, kBlack = 0x000000,
                      kWhite = 0xFFFFFF, kRed = 0x0000FF;
static const int32_t X = 10, Y = 10, W = 200, H = 90, kRowHeight = 20;
namespace {

class TextLogTest : public ControlWindow {
  protected:
    void TearDown() override {
        PlatformDestroyWindow(h); // destroys the log (and frees its lines) before the record goes
        ControlWindow::TearDown();
    }
    // A log at (X, Y) with rows of 20 pixels (4 fit), lines "line 0", "line 1" ... in dark red, its current
    // line in blue on a green box; clicks pick lines. Not shown yet.
    void InitLog(uint32_t lines, uint32_t flags = 0, uint32_t limit = 32) {
        Extent e = {X, Y, W, H};
        InitTextLog(&log, &e, flags, nullptr, 24, limit);
        log.rowSpacing = static_cast<uint32_t>(kRowHeight - FontHeight());
        log.edit.textColour = kBlue;
        log.edit.backColour = kGreen;
        log.lineTextColour = 0x000080; // the only black is the caret
        log.header.onLeftDown = TextLogLeftDown;
        for (uint32_t i = 0; i < lines; i++) {
            std::string text = "line " + std::to_string(i);
            if (i == 0)
                strcpy(TextLogLine(&log, 0), text.c_str());
            else
                AddTextLogLine(&log, appendLine, text.c_str(), 0);
        }
    }
    // A horizontal bar under the log with room for every unit (a pixel a unit, thumb 148 - range), and up and
    // down buttons as companions.
    void AttachBar() {
        Extent barAt = {X, Y + H + 4, 150, 16}, upAt = {X + W + 4, Y, 16, 16},
               downAt = {X + W + 4, Y + 20, 16, 16};
        WireScrollBar(&log, &bar, barAt, 0, TextLogScrollTo);
        WireScrollButtons(&log, &up, upAt, TextLogScrollUp, &down, downAt, TextLogScrollDown);
    }
    Area Row(int32_t row) { return {X, Y + 1 + row * kRowHeight, X + W, Y + 1 + (row + 1) * kRowHeight}; }
    // Which line a row shows as plain text, by comparing it with the line drawn on the log's background;
    // -1 for none of them.
    int ShownLine(int32_t row) {
        std::vector<uint32_t> shown = ScreenPixels(Row(row));
        for (uint32_t line = 0; line < log.lineCount; line++) {
            Surface model = {};
            CreateSurface(W, kRowHeight, &model, nullptr);
            Bounds all = {0, 0, W - 1, kRowHeight - 1};
            DrawRect(&model, &all, kGrey, rectFill);
            Extent box = {1, 0, W - 2, kRowHeight};
            DrawTextInSurface(TextLogLine(&log, line), nullptr, &model, &box, log.lineTextColour, 0,
                              transparentText);
            bool same = SurfacePixels(model) == shown;
            ReleaseSurface(&model);
            if (same) return int(line);
        }
        return -1;
    }
    // The row that shows the edited line's green box, or -1.
    int EditedRow() {
        for (int32_t row = 0; row < 4; row++) {
            if (Count(Row(row), kGreen) > 0) return row;
        }
        return -1;
    }
    void ClickAt(int32_t y) {
        Mouse(WM_LBUTTONDOWN, X + 50, Y + y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, X + 50, Y + y);
    }
    bool BarShown() { return Screen(X + 75, Y + H + 12) != P(windowColour); }
    bool ButtonsShown() { return Screen(X + W + 12, Y + 8) != P(windowColour); }

    TextLog log;
    ScrollBar bar;
    Button up, down;
};

} // namespace

TEST_P(TextLogTest, ANewLogShowsOneEmptyLineThatTypingEdits) {
    Extent e = {X, Y, W, H};
    InitTextLog(&log, &e, 0, nullptr, 24, 8);
    EXPECT_EQ(log.lineCount, 1u);
    EXPECT_EQ(log.header.flags & (takesFocus | redrawBits), takesFocus | redrawBits);
    Show(&log.header);
    EXPECT_EQ(Count({X, Y, X + W, Y + H}, kBlack), 0) << "no caret without the focus";
    ClickAt(10); // no click handler is installed, but the log takes the focus
    ASSERT_EQ(w->focusControl, &log.header);
    Area caret = Where({X, Y, X + W, Y + H}, kBlack);
    EXPECT_EQ(caret.left, X + 1) << "the edited line starts where the others do";
    EXPECT_EQ(caret.top, Y + 1);
    Post(WM_CHAR, 'a');
    Post(WM_CHAR, 'b');
    EXPECT_STREQ(TextLogLine(&log, 0), "ab");
    Area ink = Changed({X + 1, Y + 1, X + W - 1, Y + 20}, kGrey);
    EXPECT_GT(ink.right - ink.left, 8) << "the line shows";
    // Enter splits at the caret and moves down: the caret stands in the second row.
    Post(WM_KEYDOWN, vkLeft);
    Post(WM_CHAR, 13);
    EXPECT_EQ(log.lineCount, 2u);
    EXPECT_EQ(log.currentLine, 1u);
    EXPECT_STREQ(TextLogLine(&log, 0), "a");
    EXPECT_STREQ(TextLogLine(&log, 1), "b");
    int32_t rowHeight = static_cast<int32_t>(log.rowHeight);
    EXPECT_EQ(Where({X, Y, X + W, Y + H}, kBlack).top, Y + 1 + rowHeight);
}

TEST_P(TextLogTest, EachDrawClampsTheTopRowAndKeepsTheBarInStep) {
    struct Case {
        const char* name;
        uint32_t lines, firstRow, clamped;
        bool barShown;
        uint32_t range;
    };
    const Case cases[] = {
        {"10 lines from 9: back to 6", 10, 9, 6, true, 96},
        {"10 lines from 3 stay", 10, 3, 3, true, 96},
        {"10 lines from 2", 10, 2, 2, true, 96},
        {"3 lines fit: back to 0, no bar", 3, 2, 0, false, 0},
        {"4 lines fit exactly", 4, 1, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InitLog(c.lines);
        log.currentLine = c.lines - 1 == c.clamped ? 0 : c.lines - 1; // edited line out of the way
        AttachBar();
        log.firstRow = c.firstRow;
        Show(&log.header);
        EXPECT_EQ(log.rowHeight, uint32_t(kRowHeight));
        EXPECT_EQ(log.visibleRows, 4u);
        EXPECT_EQ(log.firstRow, c.clamped);
        uint32_t shown = c.lines < 4 ? c.lines : 4;
        EXPECT_EQ(log.rowsShown, shown);
        for (uint32_t row = 0; row < shown; row++) {
            uint32_t line = c.clamped + row;
            if (line != log.currentLine) {
                EXPECT_EQ(ShownLine(int32_t(row)), int(line)) << "row " << row;
            }
        }
        EXPECT_EQ(BarShown(), c.barShown);
        EXPECT_EQ(ButtonsShown(), c.barShown);
        if (c.barShown) {
            EXPECT_EQ(bar.range, c.range);
            EXPECT_EQ(bar.position, 16 * c.clamped);
        }
        for (Control* ctl : {&bar.header, &up.header, &down.header, &log.header}) Drop(ctl);
        DestroyControl(&log.header);
        Redraw(&up.header);
    }
}

TEST_P(TextLogTest, TheBarAndTheButtonsScrollTheLog) {
    InitLog(10);
    AttachBar();
    log.firstRow = 2;
    Show(&log.header);
    ASSERT_EQ(bar.range, 96u);
    // Position 50 is 3 and a bit lines: the top row becomes line 3 (rounded down).
    int32_t x = X + 1 + (148 - 96) / 2 + 50;
    Mouse(WM_LBUTTONDOWN, x, Y + H + 12, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, x, Y + H + 12);
    EXPECT_EQ(log.firstRow, 3u);
    EXPECT_EQ(ShownLine(0), 3);
    EXPECT_EQ(bar.position, 48u);
    auto press = [&](Button& b) {
        Mouse(WM_LBUTTONDOWN, b.header.x + 8, b.header.y + 8, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, b.header.x + 8, b.header.y + 8);
    };
    for (int i = 0; i < 5; i++) press(down);
    EXPECT_EQ(log.firstRow, 6u) << "down stops once the last line is on screen";
    EXPECT_EQ(ShownLine(0), 6);
    press(up);
    EXPECT_EQ(ShownLine(0), 5);
    EXPECT_EQ(bar.position, 80u);
}

TEST_P(TextLogTest, AClickPicksTheLineUnderIt) {
    InitLog(12);
    log.firstRow = 5;
    Show(&log.header);
    struct Case {
        const char* name;
        int32_t y;
        uint32_t current; // after the click
    };
    const Case cases[] = {
        {"y = 2 + 2 rows: line 7", 2 + 2 * kRowHeight, 7},
        {"the last pixel of that row", 1 + 3 * kRowHeight, 7},
        {"the next one", 2 + 3 * kRowHeight, 8},
        {"y = 1 is above the rows", 1, 8},
        {"y = 2 is the top row", 2, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickAt(c.y);
        EXPECT_EQ(log.currentLine, c.current);
        EXPECT_EQ(EditedRow(), int(c.current - 5));
    }
    // Below the last line nothing is picked.
    ResetTextLog(&log);
    AddTextLogLine(&log, appendLine, "one", 0);
    Redraw(&log.header);
    ClickAt(2 + 3 * kRowHeight);
    EXPECT_EQ(log.currentLine, 0u);
}

// Presses and a drag {message, x, row, keys}, then 1000 * the current line + 100 * the anchor + the caret.
TEST_P(TextLogTest, TheReadyMadeMouseHandlersPlaceTheCaretAndSelectWithinALine) {
    InitLog(6);
    InstallTextLogMouse(&log), log.edit.flags |= selectText;
    Show(&log.header);
    const int32_t r = X + W - 5, down = WM_LBUTTONDOWN, shift = MK_SHIFT;
    const int32_t cases[][5] = {{down, r, 2, 0, 2606},
                                {WM_MOUSEMOVE, X - 5, 3, 0, 2600},
                                {down, r, 1, shift, 1606},
                                {down, X, 1, shift, 1600},
                                {WM_LBUTTONDBLCLK, r, 1, 0, 1506}};
    for (const auto& c : cases) {
        if (c[0] != WM_MOUSEMOVE) Mouse(WM_LBUTTONUP, X + 2, Y + 2);
        Mouse(c[0], c[1], Y + 7 + c[2] * kRowHeight, MK_LBUTTON | c[3]);
        EXPECT_EQ(log.currentLine * 1000 + log.edit.selectionAnchor * 100 + log.edit.caret, uint32_t(c[4]));
    }
}

TEST_P(TextLogTest, AClickBeforeTheFirstDrawPicksNothing) {
    InitLog(6);
    AddControl(&log.header, w, addOnTop);
    PlatformPostMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(X + 50, Y + 50));
    PlatformPostMessage(h, WM_LBUTTONUP, 0, Position(X + 50, Y + 50));
    HeadlessPump();
    EXPECT_EQ(log.currentLine, 0u);
    ClickAt(50);
    EXPECT_EQ(log.currentLine, 2u);
}

TEST_P(TextLogTest, AReadOnlyLogDrawsItsCurrentLineLikeTheOthersAndTakesNoInput) {
    InitLog(3, textLogReadOnly);
    log.currentLine = 1;
    Show(&log.header);
    ClickAt(30);
    ASSERT_EQ(w->focusControl, &log.header);
    EXPECT_EQ(EditedRow(), -1);
    EXPECT_EQ(ShownLine(1), 1);
    EXPECT_EQ(Count({X, Y, X + W, Y + H}, kBlack), 0) << "no caret";
    Post(WM_CHAR, 'x');
    Post(WM_CHAR, 13);
    EXPECT_STREQ(TextLogLine(&log, 1), "line 1");
    EXPECT_EQ(log.lineCount, 3u);
    // The same log editable: the line gets its box and the caret.
    log.header.flags &= ~textLogReadOnly;
    Redraw(&log.header);
    EXPECT_EQ(EditedRow(), 1);
    EXPECT_GT(Count(Row(1), kBlack), 0);
}

TEST_P(TextLogTest, FrameAndBackgroundImage) {
    Surface* tile = Image(3, 3, kRed);
    struct Case {
        const char* name;
        uint32_t flags;
        Surface* background;
        uint32_t inside, topLeft, bottomRight;
    };
    const Case cases[] = {
        {"plain", 0, nullptr, kGrey, kGrey, kGrey},
        {"frame", textLogFrame, nullptr, kGrey, kWhite, kBlack},
        {"tiled", textLogFrame, tile, kRed, kWhite, kBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InitLog(1, c.flags);
        log.backgroundImage = c.background;
        Show(&log.header);
        EXPECT_EQ(Screen(X + W / 2, Y + H - 5), P(c.inside));
        EXPECT_EQ(Screen(X, Y + H / 2), P(c.topLeft));
        EXPECT_EQ(Screen(X + W - 1, Y + H / 2), P(c.bottomRight));
        Drop(&log.header);
    }
}

TEST_P(TextLogTest, ALogWithoutLinesDrawsItsBackgroundAndTakesNoInput) {
    HeadlessFailAllocations(1);
    InitLog(0, textLogFrame);
    HeadlessFailAllocations(0);
    ASSERT_EQ(log.lines, nullptr);
    Show(&log.header);
    ClickAt(10);
    Post(WM_CHAR, 'x');
    Post(WM_CHAR, 13);
    EXPECT_EQ(log.lineCount, 0u);
    EXPECT_EQ(Changed({X + 1, Y + 1, X + W - 1, Y + H - 1}, kGrey), (Area{0, 0, 0, 0}));
}

VQ_BOTH_FORMATS(TextLogTest);
