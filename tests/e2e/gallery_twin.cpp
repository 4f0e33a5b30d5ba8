#include "tests/e2e/gallery_twin.h"

#include <stdlib.h>

#include "tests/support/toolkit_fixture.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/window/composition.h"

Area AreaOf(const Control& control) {
    return {control.x, control.y, control.surface.width, control.surface.height};
}

Area Inside(const Area& area, int32_t x, int32_t y, int32_t width, int32_t height) {
    return {area.x + x, area.y + y, width, height};
}

int32_t Differences(const Pixels& a, const Pixels& b, int32_t tolerance) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
    int32_t n = 0;
    for (size_t i = 0; i < a.rgb.size(); i++) {
        for (int shift = 0; shift < 24; shift += 8) {
            int32_t d = static_cast<int32_t>((a.rgb[i] >> shift) & 0xFF) -
                        static_cast<int32_t>((b.rgb[i] >> shift) & 0xFF);
            if (abs(d) > tolerance) {
                n++;
                break;
            }
        }
    }
    return n;
}

static LParam Point(int32_t x, int32_t y) {
    return static_cast<LParam>((static_cast<uint32_t>(x) & 0xFFFF) | (static_cast<uint32_t>(y) & 0xFFFF)
                                                                         << 16);
}

bool GalleryTwin::Open(int32_t width, int32_t height, const std::string& dataRoot, bool use565) {
    Close();
    memset(static_cast<void*>(&gallery), 0, sizeof gallery);
    ResetToolkit(use565);
    caretBlinkCounter = 1;
    HeadlessSetDataRoot(dataRoot.c_str());
    // The outer rectangle that gives this client area inside the headless frame.
    Extent placement = {0, 0, width + 2 * headlessThickBorder,
                        height + 2 * headlessThickBorder + headlessCaption};
    if (OpenGallery(&placement) == 0) return false;
    open = true;
    Pump();
    return Width() == width && Height() == height;
}

void GalleryTwin::Close() {
    if (!open) return;
    // Tearing the window down destroys the controls, which frees their surfaces and the log's lines.
    PlatformDestroyWindow(mainWindowHandle);
    Pump();
    ReleaseGalleryArt();
    ResetToolkit();
    open = false;
    composing = false;
}

void GalleryTwin::Pump() {
    while (HeadlessPump() > 0) {
    }
}

void GalleryTwin::Post(uint32_t message, WParam wParam, LParam lParam) {
    PlatformPostMessage(mainWindowHandle, message, wParam, lParam);
    Pump();
}

void GalleryTwin::Move(int32_t x, int32_t y, WParam keys) {
    Post(WM_MOUSEMOVE, keys, Point(x, y));
}

void GalleryTwin::Down(int32_t x, int32_t y, WParam keys) {
    Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, Point(x, y));
}

void GalleryTwin::Up(int32_t x, int32_t y, WParam keys) {
    Post(WM_LBUTTONUP, keys, Point(x, y));
}

void GalleryTwin::Wheel(int32_t x, int32_t y, int32_t delta) {
    HeadlessMouseWheel(mainWindowHandle, x, y, delta);
    Pump();
}

void GalleryTwin::Click(const Control& control, int32_t x, int32_t y, WParam keys) {
    Move(control.x + x, control.y + y, keys);
    Down(control.x + x, control.y + y, keys);
    Up(control.x + x, control.y + y, keys);
}

void GalleryTwin::Key(uint32_t virtualKey, char character) {
    Post(WM_KEYDOWN, virtualKey, 1);
    if (character) Post(WM_CHAR, static_cast<uint8_t>(character), 1);
    Post(WM_KEYUP, virtualKey, static_cast<LParam>(0xC0000001u));
}

void GalleryTwin::Chord(uint32_t modifier, uint32_t virtualKey, char character) {
    Post(WM_KEYDOWN, modifier, 1);
    Key(virtualKey, character);
    Post(WM_KEYUP, modifier, static_cast<LParam>(0xC0000001u));
}

void GalleryTwin::DoubleClick(const Control& control, int32_t x, int32_t y) {
    Click(control, x, y);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(control.x + x, control.y + y));
    Up(control.x + x, control.y + y);
}

void GalleryTwin::Type(const std::string& ascii) {
    for (char c : ascii) {
        uint32_t key = c >= 'a' && c <= 'z' ? static_cast<uint32_t>(c - 'a' + 'A') : static_cast<uint8_t>(c);
        Key(key, c);
    }
}

static WParam Syllable(const std::string& bytes) {
    return static_cast<WParam>(static_cast<uint8_t>(bytes[0])) << 8 | static_cast<uint8_t>(bytes[1]);
}

void GalleryTwin::Compose(const std::string& syllable) {
    if (!composing) Post(WM_IME_STARTCOMPOSITION, 0, 0);
    composing = true;
    Post(WM_IME_COMPOSITION, Syllable(syllable), GCS_COMPSTR);
}

void GalleryTwin::EndComposition() {
    if (composing) Post(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    composing = false;
}

void GalleryTwin::Commit(const std::string& syllable) {
    if (composing) Post(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    composing = false;
    HeadlessSetImeString(GCS_RESULTSTR, syllable.data(), static_cast<int32_t>(syllable.size()));
    Post(WM_IME_COMPOSITION, Syllable(syllable), GCS_RESULTSTR);
}

void GalleryTwin::Resize(int32_t width, int32_t height) {
    HeadlessResizeWindow(mainWindowHandle, width + 2 * headlessThickBorder,
                         height + 2 * headlessThickBorder + headlessCaption);
    Pump();
}

// A pixel of the twin's screen as the real screen shows it: each channel widened to 8 bits.
static uint32_t Widen(uint32_t v) {
    uint32_t r, g, b;
    if (Theme[pixelFormat] & rgb565) {
        r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        g = g << 2 | g >> 4;
    } else {
        r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        g = g << 3 | g >> 2;
    }
    r = r << 3 | r >> 2;
    b = b << 3 | b >> 2;
    return r << 16 | g << 8 | b;
}

Pixels GalleryTwin::Show(const Area& area) {
    Pixels p;
    p.width = area.width;
    p.height = area.height;
    for (int32_t y = 0; y < area.height; y++) {
        for (int32_t x = 0; x < area.width; x++)
            p.rgb.push_back(Widen(HeadlessScreenPixel(mainWindowHandle, area.x + x, area.y + y)));
    }
    return p;
}

void GalleryTwin::RedrawFocus() {
    if (Control* focus = mainWindowRecord->focusControl) {
        MarkForRedraw(focus, mainWindowRecord, redrawBits);
        RequestRepaint(mainWindowHandle, repaintPending);
        Pump();
    }
}

std::vector<Pixels> GalleryTwin::CaretStates(const Area& area) {
    std::vector<Pixels> states;
    for (uint32_t counter : {1u, 0u}) {
        caretBlinkCounter = counter;
        RedrawFocus();
        states.push_back(Show(area));
    }
    caretBlinkCounter = 1;
    RedrawFocus();
    return states;
}

Pixels GalleryTwin::WithoutComposition(const Area& area) {
    Control* focus = mainWindowRecord->focusControl;
    if (!focus || !focus->editBuffer) return Show(area);
    uint32_t composition = focus->editBuffer->composition;
    focus->editBuffer->composition = 0;
    RedrawFocus();
    Pixels without = Show(area);
    focus->editBuffer->composition = composition;
    RedrawFocus();
    return without;
}

Pixels GalleryTwin::Art(uint32_t id) {
    Pixels p;
    for (uint32_t i = 0; i < galleryArtCount; i++) {
        const Surface& s = gallery.art[i];
        if (galleryArtIds[i] != id || !s.pixels) continue;
        p.width = s.width;
        p.height = s.height;
        for (int32_t y = 0; y < s.height; y++) {
            for (int32_t x = 0; x < s.width; x++) p.rgb.push_back(Widen(PixelAt(s, x, y)));
        }
    }
    return p;
}

int32_t GalleryTwin::Width() {
    return mainWindowRecord ? mainWindowRecord->surface.width : 0;
}

int32_t GalleryTwin::Height() {
    return mainWindowRecord ? mainWindowRecord->surface.height : 0;
}
