// A twin of a gallery that runs on a real screen: the same gallery on the headless backend at the same
// client size, given the same input as messages. It shows what the real one should show and tells where
// every control is, so a check never guesses a coordinate.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "gallery/gallery.h"

// A rectangle of the client area.
struct Area {
    int32_t x = 0, y = 0, width = 0, height = 0;
};
Area AreaOf(const Control& control);
// Part of an area: x, y relative to it.
Area Inside(const Area& area, int32_t x, int32_t y, int32_t width, int32_t height);

// 0x00RRGGBB pixels of an area, row by row.
struct Pixels {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int32_t x, int32_t y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
// Pixels whose channels differ by more than tolerance (all of them when the sizes differ).
int32_t Differences(const Pixels& a, const Pixels& b, int32_t tolerance);

class GalleryTwin {
  public:
    // Opens the gallery with a client area of width × height, its data directory under dataRoot (as the
    // real one's), drawing 5-6-5 pixels (the SDL build) or 5-5-5 (GDI's 16-bit bitmaps).
    bool Open(int32_t width, int32_t height, const std::string& dataRoot, bool use565);
    void Close();
    ~GalleryTwin() { Close(); }

    // ---- Input, each handled at once ----
    void Post(uint32_t message, WParam wParam, LParam lParam);
    void Move(int32_t x, int32_t y, WParam keys = 0);
    void Down(int32_t x, int32_t y, WParam keys = 0);
    void Up(int32_t x, int32_t y, WParam keys = 0);
    void Wheel(int32_t x, int32_t y, int32_t delta); // the pointer at (x, y)
    // A press and release at (x, y) of the control.
    void Click(const Control& control, int32_t x, int32_t y, WParam keys = 0);
    // A key as the backend reports it: down, its character (0: none), up.
    void Key(uint32_t virtualKey, char character);
    // A key with a modifier key (vkShift, vkControl) held around it.
    void Chord(uint32_t modifier, uint32_t virtualKey, char character);
    // Two clicks at (x, y) of the control as the backend reports a double click.
    void DoubleClick(const Control& control, int32_t x, int32_t y);
    void Type(const std::string& ascii);
    // The input method: a syllable being composed, and a finished one (code page 949 bytes).
    void Compose(const std::string& syllable);
    void Commit(const std::string& syllable);
    // The syllable being composed taken away (Backspace on its last letter).
    void EndComposition();
    void Resize(int32_t width, int32_t height);

    // ---- What it shows ----
    Pixels Show(const Area& area);
    // The area as it shows with the focused control's caret drawn and not drawn.
    std::vector<Pixels> CaretStates(const Area& area);
    // The area as it would show without the focused control's composition character.
    Pixels WithoutComposition(const Area& area);
    // One of the gallery's images as it shows on the screen.
    Pixels Art(uint32_t id);
    int32_t Width();
    int32_t Height();

  private:
    void Pump();
    void RedrawFocus();
    bool open = false;
    bool composing = false;
};
