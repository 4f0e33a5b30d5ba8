// A window on the headless backend whose procedure hands every message to the dispatcher, run in both pixel
// formats, with the input and screen helpers the control tests share: controls get their input as posted
// messages and are checked on the presented screen.
#pragma once

#include <string.h>

#include <algorithm>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "tests/dispatch/dispatching_window.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/text.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/window/composition.h"

// A rectangle of the screen or of a surface, right and bottom exclusive.
struct Area {
    int32_t left, top, right, bottom;
    bool operator==(const Area&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Area& a) {
    return out << "{" << a.left << ", " << a.top << ", " << a.right << ", " << a.bottom << "}";
}

class ControlWindow : public BothFormats {
  protected:
    static constexpr int32_t windowWidth = 320, windowHeight = 200;
    static constexpr uint32_t windowColour = 0x405060;

    void SetUp() override {
        BothFormats::SetUp();
        seenMessages.clear();
        caretBlinkCounter = 1;
        PlatformRegisterClass("Test_Class", DispatchingWindowProc, 0, 0, 0);
        Extent placement = {0, 0, windowWidth, windowHeight};
        h = CreateToolkitWindow(popupWindow | clientSurface, "Test_Class", "controls", &placement, 0, 0, &w);
        w->backgroundColour = windowColour;
        PlatformShowWindow(h, SW_SHOWNORMAL);
        HeadlessPump();
    }
    void TearDown() override {
        if (FindWindowRecord(h)) PlatformDestroyWindow(h);
        for (Surface& s : images) ReleaseSurface(&s);
        BothFormats::TearDown();
        seenMessages.clear();
    }

    // Links the control on top and lets the paint that follows run.
    void Show(Control* control) {
        AddControl(control, w, addOnTop);
        RepaintControl(h, w, control);
        HeadlessPump();
    }
    // Unlinks the control and frees what it owns, ready for the next case.
    void Drop(Control* control) {
        RemoveControl(w, control);
        DestroyControl(control);
    }
    // What every change from outside ends with, and the one paint it leads to.
    void Redraw(Control* control) {
        uint32_t paints = compositionStats.paints;
        RepaintControl(h, w, control);
        HeadlessPump();
        EXPECT_EQ(compositionStats.paints - paints, 1u) << "one change, one paint";
    }
    void Post(uint32_t message, WParam wParam = 0, LParam lParam = 0) {
        PlatformPostMessage(h, message, wParam, lParam);
        HeadlessPump();
    }
    void Mouse(uint32_t message, int32_t x, int32_t y, WParam keys = 0) {
        Post(message, keys, Position(x, y));
    }

    uint32_t Screen(int32_t x, int32_t y) { return HeadlessScreenPixel(h, x, y); }
    static uint32_t P(uint32_t colour) { return ColourToPixel(colour); }
    // The smallest area within `within` whose screen pixels are `colour` (or, with `differ`, are not).
    Area Where(Area within, uint32_t colour, bool differ = false) {
        Area found = {within.right, within.bottom, within.left, within.top};
        for (int32_t y = within.top; y < within.bottom; y++) {
            for (int32_t x = within.left; x < within.right; x++) {
                if ((Screen(x, y) == P(colour)) == differ) continue;
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                         std::max(found.bottom, y + 1)};
            }
        }
        return found.right > found.left ? found : Area{0, 0, 0, 0};
    }
    Area Changed(Area within, uint32_t background) { return Where(within, background, true); }
    int32_t Count(Area within, uint32_t colour) {
        int32_t n = 0;
        for (int32_t y = within.top; y < within.bottom; y++) {
            for (int32_t x = within.left; x < within.right; x++) n += Screen(x, y) == P(colour);
        }
        return n;
    }
    // The screen's pixels of an area, to compare with a model drawn into a surface.
    std::vector<uint32_t> ScreenPixels(Area a) {
        std::vector<uint32_t> out;
        for (int32_t y = a.top; y < a.bottom; y++) {
            for (int32_t x = a.left; x < a.right; x++) out.push_back(Screen(x, y));
        }
        return out;
    }
    static std::vector<uint32_t> SurfacePixels(const Surface& s) {
        std::vector<uint32_t> out;
        for (int32_t y = 0; y < s.height; y++) {
            for (int32_t x = 0; x < s.width; x++) out.push_back(PixelAt(s, x, y));
        }
        return out;
    }

    // The height of a row of text in the default font: a list's rows are this plus its rowSpacing.
    static int32_t FontHeight() {
        TextSize size = {};
        MeasureText(drawingWindow, nullptr, "    ", 4, &size);
        return size.cy;
    }

    // A scroll bar linked on top and kept in step by a list box, tree list or text log, whose release (when
    // given) scrolls the list.
    template <typename List>
    void WireScrollBar(List* list, ScrollBar* bar, Extent at, uint32_t flags, ScrollBarCallback release) {
        InitScrollBar(bar, &at, 0, 0, flags);
        bar->onRelease = release;
        bar->userData = reinterpret_cast<uintptr_t>(list);
        list->scrollBar = bar;
        AddControl(&bar->header, w, addOnTop);
    }
    // Up and down buttons linked on top, shown and hidden with the list's bar, that scroll the list.
    template <typename List>
    void WireScrollButtons(List* list, Button* up, Extent upAt, ButtonClickHandler scrollUp, Button* down,
                           Extent downAt, ButtonClickHandler scrollDown) {
        InitButton(up, &upAt, 0x000000, 0xFFFFFF, nullptr, nullptr, nullptr, 0, scrollUp);
        InitButton(down, &downAt, 0x000000, 0xFFFFFF, nullptr, nullptr, nullptr, 0, scrollDown);
        up->userData = down->userData = reinterpret_cast<uintptr_t>(list);
        list->companions[0] = &up->header;
        list->companions[1] = &down->header;
        AddControl(&up->header, w, addOnTop);
        AddControl(&down->header, w, addOnTop);
    }

    // An image owned by the test: one colour, with an optional second colour in a one-pixel border.
    Surface* Image(int32_t width, int32_t height, uint32_t colour, uint32_t border = 0xFFFFFFFFu) {
        images.emplace_back();
        Surface* s = &images.back();
        CreateSurface(static_cast<uint32_t>(width), height, s, nullptr);
        Bounds all = {0, 0, width - 1, height - 1};
        DrawRect(s, &all, colour, rectFill);
        if (border != 0xFFFFFFFFu) DrawRect(s, &all, border, 0);
        return s;
    }

    WindowHandle h = 0;
    WindowRecord* w = nullptr;
    std::deque<Surface> images; // addresses stay put as images are added
};
