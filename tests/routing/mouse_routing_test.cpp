// Mouse routing as messages arrive: hit testing, capture by controls and windows, focus, double clicks and
// the frame offset of whole-window surfaces.
#include <tuple>

#include "tests/dispatch/dispatching_window.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/window/mouse_routing.h"

namespace {

struct MouseCall {
    void* target;  // the control, or for window handlers the third argument
    uint32_t slot; // MouseEventCode / 4
    uint32_t keyState;
    int32_t x, y;
    bool operator==(const MouseCall&) const = default;
};

} // namespace

static std::vector<MouseCall> calls;

template <uint32_t Slot>
static void ControlHandler(WindowHandle, WindowRecord*, Control* c, uint32_t keyState, int32_t x, int32_t y) {
    calls.push_back({c, Slot, keyState, x, y});
}
template <uint32_t Slot>
static void WindowHandler(WindowHandle, WindowRecord*, void* target, uint32_t keyState, int32_t x,
                          int32_t y) {
    calls.push_back({target, Slot, keyState, x, y});
}

static void GivePressHandlers(Control* c) {
    c->onMouseMove = ControlHandler<0>;
    c->onLeftDown = ControlHandler<1>;
    c->onLeftUp = ControlHandler<2>;
    c->onRightDown = ControlHandler<4>;
    c->onRightUp = ControlHandler<5>;
}
static void GiveDoubleHandlers(Control* c) {
    c->onLeftDouble = ControlHandler<3>;
    c->onRightDouble = ControlHandler<6>;
}
static void GiveWindowHandlers(WindowRecord* w) {
    w->onMouseMove = WindowHandler<0>;
    w->onLeftDown = WindowHandler<1>;
    w->onLeftUp = WindowHandler<2>;
    w->onRightDown = WindowHandler<4>;
    w->onRightUp = WindowHandler<5>;
}
namespace {

class MouseRoutingTest : public DispatchingTest {
  protected:
    void SetUp() override {
        DispatchingTest::SetUp();
        calls.clear();
        h = Create(clientSurface, {10, 20, 206, 126}, &w); // client 200 x 100
    }
    Control* Add(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags = 0) {
        Control* c = NewControl(x, y, width, height, flags);
        GivePressHandlers(c);
        AddControl(c, w, addOnTop);
        return c;
    }
    // Delivers a mouse message; the handler call it led to (the last call, empty if none).
    MouseCall Mouse(uint32_t message, int32_t x, int32_t y, WParam keys = 0) {
        Deliver(h, message, keys, Position(x, y));
        return LastCall();
    }
    MouseCall LastCall() { return calls.empty() ? MouseCall{} : calls.back(); }
    WindowHandle h = 0;
    WindowRecord* w = nullptr;
};

} // namespace

TEST_F(MouseRoutingTest, TheTopmostControlThatTakesTheMouseIsHit) {
    GiveWindowHandlers(w);
    Control* lower = Add(10, 10, 50, 40);
    Control* upper = Add(30, 20, 50, 40);
    EXPECT_EQ(Mouse(WM_LBUTTONDOWN, 40, 30, MK_LBUTTON | MK_SHIFT),
              (MouseCall{upper, 1, MK_LBUTTON | MK_SHIFT, 10, 10}));
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 15, 15), (MouseCall{lower, 0, 0, 5, 5}));
    // Edges: the left and top edge belong to the control, the right and bottom edge do not.
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 79, 59), (MouseCall{upper, 0, 0, 49, 39}));
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 80, 30), (MouseCall{nullptr, 0, 0, 80, 30}))
        << "empty area goes to the window";

    // A control that ignores the mouse, is hidden or is collapsed lets the one below take it.
    for (uint32_t passing : {ignoreMouse, hidden, collapsed}) {
        upper->flags |= passing;
        EXPECT_EQ(Mouse(WM_RBUTTONDOWN, 40, 30, MK_RBUTTON), (MouseCall{lower, 4, MK_RBUTTON, 30, 20}))
            << "flag " << passing;
        upper->flags &= ~passing;
    }
    EXPECT_EQ(HitTestControls(w, 40, 30), upper);
    EXPECT_EQ(HitTestControls(w, -1, 30), nullptr);

    // A hit control without a handler still consumes the event; so does empty area without one.
    size_t before = calls.size();
    upper->onLeftUp = nullptr;
    Mouse(WM_LBUTTONUP, 40, 30);
    w->onLeftUp = nullptr;
    Mouse(WM_LBUTTONUP, 150, 90);
    EXPECT_EQ(calls.size(), before);
    EXPECT_EQ(LastResult(WM_LBUTTONUP), 0);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
    EXPECT_EQ(w->focusControl, nullptr);
}

TEST_F(MouseRoutingTest, DoubleClicksFallBackToThePressHandler) {
    GiveWindowHandlers(w);
    Control* plain = Add(0, 0, 50, 50);
    Control* doubled = Add(60, 0, 50, 50);
    GiveDoubleHandlers(doubled);
    EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK, 7, 8, MK_LBUTTON), (MouseCall{plain, 1, MK_LBUTTON, 7, 8}));
    EXPECT_EQ(Mouse(WM_RBUTTONDBLCLK, 9, 10, MK_RBUTTON), (MouseCall{plain, 4, MK_RBUTTON, 9, 10}));
    EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK, 61, 1), (MouseCall{doubled, 3, 0, 1, 1}));
    EXPECT_EQ(Mouse(WM_RBUTTONDBLCLK, 61, 1), (MouseCall{doubled, 6, 0, 1, 1}));
    // The window-level set falls back the same way.
    EXPECT_EQ(Mouse(WM_LBUTTONDBLCLK, 150, 90), (MouseCall{nullptr, 1, 0, 150, 90}));
    w->onRightDouble = WindowHandler<6>;
    EXPECT_EQ(Mouse(WM_RBUTTONDBLCLK, 150, 90), (MouseCall{nullptr, 6, 0, 150, 90}));
}

TEST_F(MouseRoutingTest, ACapturingControlGetsEveryEventUntilItsButtonIsReleased) {
    GiveWindowHandlers(w);
    Control* button = Add(50, 40, 40, 20, captureOnLeft);
    Control* other = Add(0, 0, 20, 20);
    Mouse(WM_LBUTTONDOWN, 60, 45, MK_LBUTTON);
    EXPECT_EQ(w->captureControl, button);
    EXPECT_EQ(HeadlessCaptureWindow(), h);
    // Outside the control, over another control, and outside the window: relative, possibly negative.
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 10, 10, MK_LBUTTON), (MouseCall{button, 0, MK_LBUTTON, -40, -30}));
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, -5, -7, MK_LBUTTON), (MouseCall{button, 0, MK_LBUTTON, -55, -47}));
    // Right-button events go to it too, and the right release does not end a left capture.
    EXPECT_EQ(Mouse(WM_RBUTTONDOWN, 300, 10, MK_LBUTTON | MK_RBUTTON),
              (MouseCall{button, 4, MK_LBUTTON | MK_RBUTTON, 250, -30}));
    Mouse(WM_RBUTTONUP, 300, 10, MK_LBUTTON);
    EXPECT_EQ(w->captureControl, button);
    EXPECT_EQ(HeadlessCaptureWindow(), h);
    EXPECT_EQ(Mouse(WM_RBUTTONDBLCLK, 300, 10, MK_LBUTTON), (MouseCall{button, 4, MK_LBUTTON, 250, -30}))
        << "double click falls back";
    // The left release outside goes to the button and ends the capture.
    EXPECT_EQ(Mouse(WM_LBUTTONUP, -3, 200), (MouseCall{button, 2, 0, -53, 160}));
    EXPECT_EQ(w->captureControl, nullptr);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 10, 10), (MouseCall{other, 0, 0, 10, 10})) << "hit testing again";

    // A right capture ends only with the right release; a double click starts a capture too.
    Control* menu = Add(100, 0, 20, 20, captureOnRight);
    Mouse(WM_RBUTTONDBLCLK, 105, 5, MK_RBUTTON);
    EXPECT_EQ(w->captureControl, menu);
    Mouse(WM_LBUTTONDOWN, 60, 45, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 60, 45);
    EXPECT_EQ(w->captureControl, menu);
    EXPECT_EQ(LastCall(), (MouseCall{menu, 2, 0, -40, 45}));
    Mouse(WM_RBUTTONUP, 105, 5);
    EXPECT_EQ(w->captureControl, nullptr);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
}

static Control* handOver;
static void HandCaptureOver(WindowHandle, WindowRecord* w, Control*, uint32_t, int32_t, int32_t) {
    w->captureControl = handOver;
}
static void RemoveItself(WindowHandle, WindowRecord* w, Control* c, uint32_t, int32_t, int32_t) {
    RemoveControl(w, c);
}

TEST_F(MouseRoutingTest, HandlersThatMoveTheCaptureOrLeaveTheWindow) {
    Control* first = Add(0, 0, 20, 20, captureOnLeft);
    Control* second = Add(40, 0, 20, 20, captureOnRight);
    // The release ends whatever capture holds after the handler ran: a right-capturing holder survives
    // a left release.
    Mouse(WM_LBUTTONDOWN, 5, 5);
    handOver = second;
    first->onLeftUp = HandCaptureOver;
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(w->captureControl, second);
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 5, 5), (MouseCall{second, 0, 0, -35, 5}));
    Mouse(WM_RBUTTONUP, 5, 5);
    EXPECT_EQ(w->captureControl, nullptr);

    // A control that takes itself out of the window while pressed is neither captured nor focused.
    Control* leaving = Add(100, 0, 20, 20, captureOnLeft | takesFocus);
    leaving->onLeftDown = RemoveItself;
    Mouse(WM_LBUTTONDOWN, 105, 5);
    EXPECT_EQ(FindControlSlot(w, leaving), -1);
    EXPECT_EQ(w->captureControl, nullptr);
    EXPECT_EQ(w->focusControl, nullptr);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);

    // Removing the capturing control lets go of the capture: the next events are hit-tested.
    Mouse(WM_LBUTTONDOWN, 5, 5);
    ASSERT_EQ(w->captureControl, first);
    RemoveControl(w, first);
    EXPECT_EQ(w->captureControl, nullptr);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
    calls.clear();
    EXPECT_EQ(Mouse(WM_LBUTTONUP, 45, 5), (MouseCall{second, 2, 0, 5, 5}));
}

TEST_F(MouseRoutingTest, TheWindowCapturesPressesOnEmptyArea) {
    GiveWindowHandlers(w);
    w->flags |= windowCaptureOnLeft;
    Control* c = Add(0, 0, 50, 50, captureOnLeft);
    EXPECT_EQ(Mouse(WM_LBUTTONDOWN, 100, 60, MK_LBUTTON), (MouseCall{nullptr, 1, MK_LBUTTON, 100, 60}));
    EXPECT_TRUE(w->flags & windowCaptured);
    EXPECT_EQ(HeadlessCaptureWindow(), h);
    // While the window holds the capture, events over a control go to the window, with the record as
    // third argument and window-surface coordinates.
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 10, -20, MK_LBUTTON), (MouseCall{w, 0, MK_LBUTTON, 10, -20}));
    Mouse(WM_RBUTTONUP, 10, 10);
    EXPECT_TRUE(w->flags & windowCaptured) << "a right release keeps a left capture";
    EXPECT_EQ(Mouse(WM_LBUTTONUP, 10, 10), (MouseCall{w, 2, 0, 10, 10}));
    EXPECT_FALSE(w->flags & windowCaptured);
    EXPECT_EQ(HeadlessCaptureWindow(), 0u);
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 10, 10), (MouseCall{c, 0, 0, 10, 10}));

    // A right press on empty area does not capture for a left-only window; a right-capturing window
    // takes it with a double click as well.
    Mouse(WM_RBUTTONDOWN, 100, 60);
    EXPECT_FALSE(w->flags & windowCaptured);
    w->flags = (w->flags & ~windowCaptureOnLeft) | windowCaptureOnRight;
    Mouse(WM_RBUTTONDBLCLK, 100, 60);
    EXPECT_TRUE(w->flags & windowCaptured);
    Mouse(WM_RBUTTONUP, 100, 60);
    EXPECT_FALSE(w->flags & windowCaptured);

    // Control capture is looked at before window capture.
    Mouse(WM_LBUTTONDOWN, 5, 5);
    ASSERT_EQ(w->captureControl, c);
    w->flags |= windowCaptured;
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, 100, 60), (MouseCall{c, 0, 0, 100, 60}));
}

TEST_F(MouseRoutingTest, LeftPressesMoveTheFocus) {
    char text[16] = "";
    EditBuffer buffer = {};
    buffer.text = text;
    buffer.capacity = sizeof text;
    Control* field = Add(0, 0, 50, 20, takesFocus | captureOnLeft);
    field->editBuffer = &buffer;
    Control* list = Add(0, 30, 50, 20, takesFocus);
    Control* plain = Add(0, 60, 50, 20);
    auto clearBits = [&] {
        for (Control* c : {field, list, plain}) c->flags &= ~redrawBits;
        w->flags &= ~repaintPending;
    };

    // The first focus: nothing to end, so no WM_IME_ENDCOMPOSITION.
    Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(w->focusControl, field);
    EXPECT_EQ(w->captureControl, field) << "focus and capture together";
    EXPECT_EQ(CountSeen(h, WM_IME_ENDCOMPOSITION), 0);
    EXPECT_EQ(HeadlessCancelledCompositions(), 0);
    EXPECT_GE(CountSeen(h, WM_PAINT), 1) << "a repaint was requested";
    Mouse(WM_LBUTTONUP, 5, 5);

    // Moving it: the old focus loses its composition and both are redrawn.
    buffer.composition = 0xA1B0;
    clearBits();
    PlatformPostMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, Position(5, 35));
    HeadlessPump();
    EXPECT_EQ(w->focusControl, list);
    EXPECT_EQ(buffer.composition, 0u);
    EXPECT_EQ(CountSeen(h, WM_IME_ENDCOMPOSITION), 1);
    EXPECT_EQ(HeadlessCancelledCompositions(), 1) << "the input method drops its syllable too";
    EXPECT_EQ(LastResult(WM_IME_ENDCOMPOSITION), -1) << "left to default processing";

    // Right presses, and clicks on controls without takesFocus or on empty area, keep the focus.
    for (auto [message, x, y] : {std::tuple{WM_RBUTTONDOWN, 5, 5}, std::tuple{WM_LBUTTONDOWN, 5, 65},
                                 std::tuple{WM_LBUTTONDOWN, 150, 90}}) {
        Mouse(message, x, y);
        EXPECT_EQ(w->focusControl, list);
    }
    EXPECT_EQ(CountSeen(h, WM_IME_ENDCOMPOSITION), 1);

    // Clicking the focused control again redraws it and ends the composition again.
    w->focusControl = field;
    buffer.composition = 0xA1B0;
    Mouse(WM_LBUTTONDBLCLK, 5, 5);
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(w->focusControl, field);
    EXPECT_EQ(buffer.composition, 0u);
    EXPECT_EQ(CountSeen(h, WM_IME_ENDCOMPOSITION), 2);
    EXPECT_EQ(HeadlessCancelledCompositions(), 2);

    // The focus change marks both controls directly, without touching the controls above them.
    Control* cover = Add(0, 0, 100, 100, ignoreMouse);
    w->flags &= ~fullRedraw;
    clearBits();
    cover->flags &= ~redrawBits;
    // Route without pumping the paint, to see the marks before they are served.
    ASSERT_EQ(RouteMouse(h, w, WM_LBUTTONDOWN, MK_LBUTTON, Position(5, 35)), 0);
    EXPECT_EQ(field->flags & redrawBits, redrawBits);
    EXPECT_EQ(list->flags & redrawBits, redrawBits);
    EXPECT_EQ(cover->flags & redrawBits, 0u);
    EXPECT_TRUE(w->flags & repaintPending);
    EXPECT_EQ(RouteMouse(h, w, WM_KEYDOWN, 0, 0), -1);
    HeadlessPump();
}

TEST_F(MouseRoutingTest, WholeWindowSurfacesAddTheFrameOffset) {
    WindowRecord* framed = nullptr;
    WindowHandle fh = Create(0, {10, 20, 206, 126}, &framed);
    ASSERT_EQ(framed->clientOffsetX, headlessBorder);
    ASSERT_EQ(framed->clientOffsetY, headlessBorder + headlessCaption);
    Control* corner = NewControl(framed->clientOffsetX, framed->clientOffsetY, 10, 10);
    GivePressHandlers(corner);
    AddControl(corner, framed, addOnTop);
    GiveWindowHandlers(framed);
    // The client area's top-left corner is the control's (0, 0) and the window's (3, 23).
    Deliver(fh, WM_LBUTTONDOWN, 0, Position(0, 0));
    EXPECT_EQ(LastCall(), (MouseCall{corner, 1, 0, 0, 0}));
    Deliver(fh, WM_MOUSEMOVE, 0, Position(50, 50));
    EXPECT_EQ(LastCall(), (MouseCall{nullptr, 0, 0, 53, 73}));
    // Negative client positions reach the frame and the caption.
    Deliver(fh, WM_MOUSEMOVE, 0, Position(-3, -23));
    EXPECT_EQ(LastCall(), (MouseCall{nullptr, 0, 0, 0, 0}));
}
