// The headless platform behaves like the window system the toolkit was written for.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace {

struct Seen {
    WindowHandle window;
    uint32_t message;
    WParam wParam;
    LParam lParam;
};

} // namespace

static std::vector<Seen> seen;

static intptr_t RecordingProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    seen.push_back({window, message, wParam, lParam});
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

namespace {

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolkit();
        seen.clear();
        PlatformRegisterClass("Recording", RecordingProc, 0, 0, 0);
    }
    void TearDown() override { ResetToolkit(); }
    WindowHandle Create(uint32_t style = 0) {
        return PlatformCreateWindow("Recording", "r", style, 10, 10, 100, 80, 0, 0);
    }
    std::vector<uint32_t> Messages() {
        std::vector<uint32_t> m;
        for (const Seen& s : seen) m.push_back(s.message);
        return m;
    }
};

} // namespace

TEST_F(HeadlessTest, CreationTellsTheProcedureBeforeReturning) {
    WindowHandle h = Create();
    ASSERT_NE(h, 0u);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_GETMINMAXINFO, WM_SIZE}));
    EXPECT_EQ(seen[1].lParam, LParam((100 - 6) | (80 - 6 - 20) << 16));
    EXPECT_EQ(PlatformCreateWindow("Unknown", "", 0, 0, 0, 1, 1, 0, 0), 0u);
    EXPECT_EQ(PlatformRegisterClass("Recording", RecordingProc, 0, 0, 0), 0) << "registered twice";
}

TEST_F(HeadlessTest, QueueServesPostedThenPaintsThenTimers) {
    WindowHandle h = Create();
    seen.clear();
    PlatformShowWindow(h, SW_SHOWNORMAL);
    PlatformSetTimer(h, 1, 100);
    HeadlessAdvanceClock(100);
    PlatformPostMessage(h, WM_CHAR, 'a', 0);
    PlatformPostMessage(h, WM_CHAR, 'b', 0);
    EXPECT_EQ(HeadlessPump(), 4);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_CHAR, WM_CHAR, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(seen[0].wParam, WParam('a'));
    EXPECT_EQ(seen[3].wParam, WParam(1));
    // Default processing validated the paint; nothing is left.
    EXPECT_EQ(HeadlessPump(), 0);
}

TEST_F(HeadlessTest, LateTimerFiresOnceAndKilledTimerNever) {
    WindowHandle h = Create();
    PlatformSetTimer(h, 7, 100);
    HeadlessAdvanceClock(99);
    EXPECT_EQ(HeadlessPump(), 0);
    HeadlessAdvanceClock(450);
    seen.clear();
    EXPECT_EQ(HeadlessPump(), 1);
    HeadlessAdvanceClock(51); // 650: due again
    EXPECT_EQ(HeadlessPump(), 1);
    PlatformKillTimer(h, 7);
    HeadlessAdvanceClock(1000);
    EXPECT_EQ(HeadlessPump(), 0);
    EXPECT_EQ(HeadlessTimerCount(h), 0);
}

TEST_F(HeadlessTest, CloseDestroysWhichSendsDestroyAndDropsTheWindowsMessages) {
    WindowHandle h = Create(), other = Create();
    PlatformSetTimer(h, 1, 100);
    PlatformSetCapture(h);
    PlatformPostMessage(h, WM_CLOSE, 0, 0);
    PlatformPostMessage(h, WM_CHAR, 'x', 0);
    PlatformPostMessage(other, WM_CHAR, 'y', 0);
    seen.clear();
    HeadlessPump();
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_CLOSE, WM_DESTROY, WM_CHAR}));
    EXPECT_EQ(seen[2].window, other);
    EXPECT_FALSE(HeadlessWindowExists(h));
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
    EXPECT_EQ(HeadlessTimerCount(h), 0);
    EXPECT_EQ(PlatformPostMessage(h, WM_CHAR, 0, 0), 0) << "no posting to a destroyed window";
    EXPECT_EQ(PlatformDestroyWindow(h), 0);
}

TEST_F(HeadlessTest, GetMessageEndsAtQuitAndAdvancesToTimers) {
    WindowHandle h = Create();
    PlatformSetTimer(h, 1, 100);
    PlatformMessage m;
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, uint32_t(WM_TIMER));
    EXPECT_EQ(HeadlessNow(), 100u) << "the clock jumped to the timer";
    PlatformPostMessage(h, WM_CHAR, 'q', 0);
    PlatformPostQuit(3);
    ASSERT_EQ(PlatformGetMessage(&m), 1) << "posted messages come before the quit";
    ASSERT_EQ(PlatformGetMessage(&m), 0);
    EXPECT_EQ(m.wParam, WParam(3));
    EXPECT_FALSE(HeadlessStalled());
    PlatformKillTimer(h, 1);
    ASSERT_EQ(PlatformGetMessage(&m), 0) << "nothing can ever arrive: give up instead of hanging";
    EXPECT_TRUE(HeadlessStalled());
}

TEST_F(HeadlessTest, MinimiseAndRestoreReportSizes) {
    WindowHandle h = Create();
    PlatformShowWindow(h, SW_SHOWNORMAL);
    seen.clear();
    PlatformShowWindow(h, SW_MINIMIZE);
    PlatformRect r;
    PlatformClientRect(h, &r);
    EXPECT_EQ(r.right | r.bottom, 0);
    ASSERT_EQ(Messages(), (std::vector<uint32_t>{WM_SIZE}));
    EXPECT_EQ(seen[0].wParam, WParam(SIZE_MINIMIZED));
    EXPECT_EQ(seen[0].lParam, 0);
    PlatformShowWindow(h, SW_RESTORE);
    PlatformClientRect(h, &r);
    EXPECT_EQ(r.right, 94);
    EXPECT_EQ(seen.back().lParam, LParam(94 | 54 << 16));
}

TEST_F(HeadlessTest, PresentFillsTheScreenAtTheClientOrigin) {
    WindowHandle h = Create();
    Surface s = {};
    CreateSurface(94, 54, &s, nullptr);
    for (int y = 0; y < 54; y++)
        for (int x = 0; x < 94; x++) {
            uint16_t p = uint16_t(x + 100 * y);
            memcpy(s.pixels + y * s.stride + 2 * x, &p, 2);
        }
    PlatformPresent(h, &s, 0, nullptr);
    EXPECT_EQ(HeadlessPresentCount(h), 1);
    EXPECT_EQ(HeadlessScreenPixel(h, 0, 0), 0u);
    EXPECT_EQ(HeadlessScreenPixel(h, 93, 53), uint32_t(93 + 5300));
    EXPECT_EQ(HeadlessScreenPixel(h, 94, 0), 0u) << "outside the client area";
    // The whole-window copy starts at the outer corner.
    PlatformPresent(h, &s, 1, nullptr);
    EXPECT_EQ(HeadlessScreenPixel(h, -headlessBorder, -headlessBorder - headlessCaption), 0u);
    EXPECT_EQ(HeadlessScreenPixel(h, -headlessBorder + 5, -headlessBorder - headlessCaption + 1), 105u);
    ReleaseSurface(&s);
}

TEST_F(HeadlessTest, ScriptedServices) {
    WindowHandle h = Create();
    HeadlessPushMessageBoxAnswer(IDNO);
    EXPECT_EQ(PlatformMessageBox(h, "q?", "cap", MB_YESNO), IDNO);
    EXPECT_EQ(PlatformMessageBox(h, "again", "cap", MB_YESNO), IDYES);
    EXPECT_EQ(HeadlessMessageBoxCount(), 2);
    EXPECT_STREQ(HeadlessLastMessageBoxText(), "again");

    char buffer[8] = {};
    HeadlessSetImeString(GCS_RESULTSTR, "\xC7\xD1\xB1\xDB", 4);
    EXPECT_EQ(PlatformImeString(h, GCS_RESULTSTR, nullptr, 0), 4);
    EXPECT_EQ(PlatformImeString(h, GCS_RESULTSTR, buffer, 2), 2);
    EXPECT_EQ(buffer[0], '\xC7');
    EXPECT_EQ(buffer[2], 0) << "never past the given size";
    HeadlessSetImeString(GCS_RESULTSTR, nullptr, -1);
    EXPECT_EQ(PlatformImeString(h, GCS_RESULTSTR, buffer, 8), -1);

    HeadlessFailAllocations(1);
    EXPECT_EQ(PlatformAllocatePages(4096), nullptr);
    uint8_t* pages = static_cast<uint8_t*>(PlatformAllocatePages(4096));
    ASSERT_NE(pages, nullptr);
    for (int i = 0; i < 4096; i++) ASSERT_EQ(pages[i], 0);
    PlatformFreePages(pages);
}
