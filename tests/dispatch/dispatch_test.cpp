// The dispatcher's chain, closing, teardown and the command message, driven through posted messages.
#include <string>

#include "tests/dispatch/dispatching_window.h"

TEST_F(DispatchingTest, EachMessageGetsTheResultOfItsLink) {
    InitDisplay();
    WindowRecord* w = nullptr;
    WindowHandle h = Create(clientSurface, {10, 20, 206, 126}, &w);
    ASSERT_NE(h, 0u);
    Control* c = NewControl(10, 10, 20, 20);
    AddControl(c, w, addOnTop);
    w->focusControl = c;
    MinMaxInfo info = {};
    struct Case {
        uint32_t message;
        WParam wParam;
        LParam lParam;
        int32_t result;
    } cases[] = {
        {WM_PAINT, 0, 0, 0},
        {WM_SIZE, SIZE_RESTORED, Position(200, 100), 0},
        {WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&info), 1},
        {WM_KEYDOWN, 65, 0, 0},
        {WM_KEYUP, 65, static_cast<LParam>(0xC0000001u), 0},
        {WM_CHAR, 'a', 0, 0},
        {WM_IME_COMPOSITION, 0xB0A1, GCS_COMPSTR, 0},
        {WM_MOUSEMOVE, 0, Position(5, 5), 0},
        {WM_LBUTTONDOWN, MK_LBUTTON, Position(15, 15), 0},
        {WM_LBUTTONUP, 0, Position(15, 15), 0},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, Position(15, 15), 0},
        {WM_RBUTTONDOWN, MK_RBUTTON, Position(150, 50), 0},
        {WM_RBUTTONUP, 0, Position(150, 50), 0},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, Position(150, 50), 0},
        {WM_TIMER, 1, 0, -1},
        {WM_IME_ENDCOMPOSITION, 0, 0, -1},
        {WM_SYSKEYDOWN, 18, 0, -1},
        {0x401, 0, 0, -1},
        {toolkitCommandMessage, 7, static_cast<LParam>(h), 0},
    };
    for (const Case& k : cases) {
        Deliver(h, k.message, k.wParam, k.lParam);
        EXPECT_EQ(LastResult(k.message), k.result) << "message " << k.message;
    }
    EXPECT_TRUE(HeadlessWindowExists(h));
    EXPECT_EQ(info.ptMaxSize.x, 1024);

    // WM_CLOSE without onClose is not taken, so default processing destroys the window; WM_DESTROY is.
    Deliver(h, WM_CLOSE);
    EXPECT_EQ(LastResult(WM_CLOSE), -1);
    EXPECT_EQ(LastResult(WM_DESTROY), 0);
    EXPECT_FALSE(HeadlessWindowExists(h));
    // The handle is no longer a toolkit window.
    EXPECT_EQ(DispatchToolkitMessage(h, WM_PAINT, 0, 0), -1);
    EXPECT_EQ(DispatchToolkitMessage(h, WM_LBUTTONDOWN, 0, 0), -1);
}

TEST_F(DispatchingTest, ForeignWindowsAndTheUnregisteredCommandAreNotTaken) {
    // A platform window of the same class that never entered the window table.
    WindowHandle foreign = PlatformCreateWindow("Test_Class", "foreign", 0, 0, 0, 100, 100, 0, 0);
    ASSERT_NE(foreign, 0u);
    for (uint32_t message : {WM_PAINT, WM_SIZE, WM_KEYDOWN, WM_LBUTTONDOWN, WM_DESTROY}) {
        Deliver(foreign, message);
        EXPECT_EQ(LastResult(message), -1) << "message " << message;
    }
    // Before InitDisplay the command id is 0; message 0 must not destroy anything.
    WindowHandle h = Create(clientSurface);
    ASSERT_EQ(toolkitCommandMessage, 0u);
    Deliver(h, 0, CommandDestroy, static_cast<LParam>(h));
    EXPECT_EQ(LastResult(0), -1);
    EXPECT_TRUE(HeadlessWindowExists(h));
    EXPECT_GE(FindWindowSlot(h), 0);
}

static int32_t closeAnswer, closeCalls;
static int32_t AnswerClose(WindowHandle, WindowRecord*) {
    closeCalls++;
    return closeAnswer;
}

TEST_F(DispatchingTest, CloseFollowsTheAnswerOfOnClose) {
    for (int32_t answer : {0, 1, -1, 5}) {
        WindowRecord* w = nullptr;
        WindowHandle h = Create(clientSurface, {10, 20, 206, 126}, &w);
        w->onClose = AnswerClose;
        closeAnswer = answer;
        closeCalls = 0;
        Deliver(h, WM_CLOSE);
        EXPECT_EQ(closeCalls, 1);
        EXPECT_EQ(LastResult(WM_CLOSE), answer);
        // 0 keeps the window; any other answer lets default processing destroy it.
        EXPECT_EQ(HeadlessWindowExists(h), answer == 0 ? 1 : 0) << "answer " << answer;
        EXPECT_EQ(FindWindowSlot(h) >= 0, answer == 0) << "answer " << answer;
        if (answer == 0) {
            w->onClose = nullptr;
            Deliver(h, WM_CLOSE);
            EXPECT_FALSE(HeadlessWindowExists(h)) << "without onClose the window closes";
        }
    }
    EXPECT_EQ(HeadlessQuitSeen(), 0);
}

static std::vector<std::string> teardownEvents;
static WindowRecord* teardownRecord;

static void RecordWindowDestroy(WindowHandle, WindowRecord* w) {
    // The controls are still linked when the window's own handler runs.
    teardownEvents.push_back("window " + std::to_string(w->controlCount));
}
static void RecordControlDestroy(Control* c) {
    // Each slot is cleared before its control is destroyed.
    bool stillLinked = false;
    for (Control* p : teardownRecord->controls) stillLinked |= p == c;
    teardownEvents.push_back("control " + std::to_string(c->x) + (stillLinked ? " linked" : ""));
}

TEST_F(DispatchingTest, TeardownDestroysControlsFreesTheSlotAndReleasesTheSurface) {
    int32_t pixelsBefore = HeadlessLivePixelBuffers();
    WindowRecord* w = nullptr;
    WindowHandle h = Create(clientSurface, {10, 20, 206, 126}, &w);
    teardownRecord = w;
    teardownEvents.clear();
    Control* cleared = NewControl(1, 1, 10, 10, takesFocus);
    Control* kept = NewControl(2, 2, 10, 10, captureOnLeft);
    kept->recordSize = 0; // like a Button: the record keeps its contents
    cleared->onDestroy = kept->onDestroy = RecordControlDestroy;
    AddControl(cleared, w, addOnTop);
    AddControl(kept, w, addOnTop);
    w->onDestroy = RecordWindowDestroy;
    // The press on kept captures the mouse, the earlier one on cleared took the focus.
    Deliver(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(1, 1));
    Deliver(h, WM_LBUTTONUP, 0, Position(1, 1));
    Deliver(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(5, 5));
    ASSERT_EQ(w->focusControl, cleared);
    ASSERT_EQ(w->captureControl, kept);
    EXPECT_EQ(HeadlessLivePixelBuffers(), pixelsBefore + 3);

    PlatformDestroyWindow(h);
    EXPECT_EQ(teardownEvents, (std::vector<std::string>{"window 2", "control 1", "control 2"}));
    Control zero = {};
    EXPECT_EQ(memcmp(cleared, &zero, sizeof zero), 0) << "a record with a size is cleared";
    EXPECT_EQ(kept->x, 2);
    EXPECT_EQ(kept->flags, static_cast<uint32_t>(captureOnLeft));
    EXPECT_EQ(kept->surface.pixels, nullptr);
    for (Control* p : w->controls) EXPECT_EQ(p, nullptr);
    EXPECT_EQ(w->controlCount, 0u);
    EXPECT_EQ((std::vector<const void*>{w->focusControl, w->captureControl, w->surface.pixels}),
              (std::vector<const void*>(3, nullptr)));
    EXPECT_EQ(HeadlessLivePixelBuffers(), pixelsBefore) << "window and control pixels are all released";
    EXPECT_EQ(FindWindowSlot(h), -1);
    EXPECT_EQ(windowTable.handles[0], 0u);
    HeadlessPump();
    EXPECT_EQ(HeadlessQuitSeen(), 0) << "only the main window ends the loop";

    // The freed slot is taken again by the next window.
    WindowRecord* next = nullptr;
    WindowHandle again = Create(clientSurface, {10, 20, 206, 126}, &next);
    EXPECT_EQ(FindWindowSlot(again), 0);
    EXPECT_EQ(next, w);
}

TEST_F(DispatchingTest, CommandMessageShowsAndDestroysTheWindowInLParam) {
    InitDisplay();
    ASSERT_NE(toolkitCommandMessage, 0u);
    WindowHandle main = Create(mainWindow | clientSurface);
    WindowHandle other = Create(clientSurface);
    ASSERT_FALSE(HeadlessWindowVisible(other));

    // Posted through the main window's queue and carried out when the pump reaches it.
    EXPECT_EQ(PostToolkitCommand(CommandShow, other), 1);
    EXPECT_FALSE(HeadlessWindowVisible(other));
    HeadlessPump();
    EXPECT_TRUE(HeadlessWindowVisible(other));
    EXPECT_EQ(CountSeen(main, toolkitCommandMessage), 1);
    EXPECT_EQ(LastResult(toolkitCommandMessage), 0);

    // Any toolkit window accepts the command; it acts on lParam, not on the receiver.
    Deliver(other, toolkitCommandMessage, CommandShow, static_cast<LParam>(main));
    EXPECT_TRUE(HeadlessWindowVisible(main));

    // Other commands, and targets that are not windows, are consumed and change nothing.
    Deliver(main, toolkitCommandMessage, 0, static_cast<LParam>(other));
    Deliver(main, toolkitCommandMessage, 3, static_cast<LParam>(other));
    EXPECT_EQ(LastResult(toolkitCommandMessage), 0);
    Deliver(main, toolkitCommandMessage, CommandDestroy, 0x7777);
    EXPECT_EQ(LastResult(toolkitCommandMessage), 0);
    EXPECT_TRUE(HeadlessWindowExists(other));
    EXPECT_TRUE(HeadlessWindowVisible(other));

    EXPECT_EQ(PostDestroyWindow(other), 1);
    EXPECT_TRUE(HeadlessWindowExists(other));
    HeadlessPump();
    EXPECT_FALSE(HeadlessWindowExists(other));
    EXPECT_EQ(FindWindowSlot(other), -1);
    EXPECT_EQ(HeadlessQuitSeen(), 0);

    EXPECT_EQ(PostDestroyWindow(main), 1);
    HeadlessPump();
    EXPECT_FALSE(HeadlessWindowExists(main));
    EXPECT_EQ(HeadlessQuitSeen(), 1) << "only the main window ends the loop";
    EXPECT_EQ(HeadlessQuitCode(), 0);
    EXPECT_EQ(mainWindowHandle, main) << "the handle stays recorded after its destruction";
    // With the main window gone there is no queue to post to.
    EXPECT_EQ(PostToolkitCommand(CommandShow, other), 0);
}
