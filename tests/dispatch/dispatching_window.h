// Windows whose procedure hands every message to the toolkit dispatcher the way the application does,
// and a log of what each window saw, so that tests can post input and pump it as it would arrive.
#pragma once

#include <memory>
#include <vector>

#include "tests/support/position.h"
#include "tests/support/toolkit_fixture.h"
#include "toolkit/window/dispatch.h"

struct SeenMessage {
    WindowHandle window;
    uint32_t message;
    WParam wParam;
    LParam lParam;
    int32_t result; // what the dispatcher answered
};

inline std::vector<SeenMessage> seenMessages;

// The application's rule: 0 ends the message, anything else is followed by default processing.
inline intptr_t DispatchingWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    int32_t result = DispatchToolkitMessage(window, message, wParam, lParam);
    seenMessages.push_back({window, message, wParam, lParam, result});
    if (result == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

inline int32_t CountSeen(WindowHandle window, uint32_t message) {
    int32_t n = 0;
    for (const SeenMessage& m : seenMessages) n += m.window == window && m.message == message;
    return n;
}

// A control with a pixel surface of its own, at (x, y).
inline void InitTestControl(Control* c, int32_t x, int32_t y, int32_t width, int32_t height,
                            uint32_t flags = 0) {
    memset(static_cast<void*>(c), 0, sizeof *c);
    c->recordSize = sizeof *c;
    c->x = x;
    c->y = y;
    c->flags = flags;
    c->backgroundColour = 0xBFBFBF;
    CreateSurface(static_cast<uint32_t>(width), height, &c->surface, nullptr);
}

class DispatchingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolkit();
        seenMessages.clear();
        PlatformRegisterClass("Test_Class", DispatchingWindowProc, 0, 0, 0);
    }
    void TearDown() override {
        for (auto& c : controls) ReleaseSurface(&c->surface);
        ResetToolkit();
        seenMessages.clear();
    }
    WindowHandle Create(uint32_t flags, Extent placement = {10, 20, 206, 126}, WindowRecord** out = nullptr) {
        return CreateToolkitWindow(flags, "Test_Class", "title", &placement, 0, 0, out);
    }
    // A control owned by the test, with a pixel surface of its own at (x, y).
    Control* NewControl(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags = 0) {
        controls.push_back(std::make_unique<Control>());
        Control* c = controls.back().get();
        InitTestControl(c, x, y, width, height, flags);
        return c;
    }
    std::vector<std::unique_ptr<Control>> controls;
    // Posts one message and pumps it, with whatever it posts in turn (paints included).
    void Deliver(WindowHandle window, uint32_t message, WParam wParam = 0, LParam lParam = 0) {
        PlatformPostMessage(window, message, wParam, lParam);
        HeadlessPump();
    }
    // The dispatcher's answer to the most recent message of that number.
    int32_t LastResult(uint32_t message) {
        for (size_t i = seenMessages.size(); i-- > 0;) {
            if (seenMessages[i].message == message) return seenMessages[i].result;
        }
        return 12345;
    }
};
