// The Yes/No question of the SDL backend: a window of the program's own, drawn with the backend's FreeType
// text (so Korean shows whatever the session's locale), centred on its owner and modal as a Windows
// box is: while it is open the program's timers and paints go on, its other windows take no mouse input,
// and keys go to the box.
#include <stdlib.h>
#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/text_blend.h"
#include "toolkit/platform/sdl/message_box.h"
#include "toolkit/platform/sdl/window_table.h"

enum : int32_t { padding = 16, buttonWidth = 80, buttonHeight = 24, buttonGap = 8, minimumWidth = 240 };
enum : int32_t { maximumTextWidth = 480, maximumTextHeight = 320 };
enum : uint32_t {
    faceColour = 0xF0F0F0,
    buttonColour = 0xE1E1E1,
    focusColour = 0xD77800,
    lightColour = 0xFFFFFF,
    shadowColour = 0xA0A0A0,
    textColour = 0x000000
};

static const char boxClass[] = "VqMessageBox";

namespace {

struct BoxArea {
    int32_t x, y, width, height;
};

struct OpenBox {
    WindowHandle box;
    const char* text;
    Surface surface;
    BoxArea textBox;
    BoxArea buttons[2]; // Yes, No
    const char* labels[2];
    int32_t focus;   // the button Enter and Space press: 0 Yes, 1 No
    int32_t pressed; // the button the mouse holds, -1 none
    int32_t answer;  // 0 while the question is open
    OpenBox* outer;  // a box opened while another one is up
};

} // namespace

static OpenBox* openBoxes;

static OpenBox* FindBox(WindowHandle window) {
    for (OpenBox* b = openBoxes; b; b = b->outer) {
        if (b->box == window) return b;
    }
    return nullptr;
}

static void Repaint(OpenBox* b) {
    SdlWindow* w = SdlFind(b->box);
    if (w) w->needsPaint = 1;
}

static int32_t HitButton(const OpenBox* b, LParam lParam) {
    int32_t x = static_cast<int16_t>(lParam & 0xFFFF), y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
    for (int32_t i = 0; i < 2; i++) {
        const BoxArea& e = b->buttons[i];
        if (x >= e.x && x < e.x + e.width && y >= e.y && y < e.y + e.height) return i;
    }
    return -1;
}

static void FillBox(Surface* s, BoxArea a, uint32_t colour) {
    FillPixels(s->pixels, s->stride, a.x, a.y, a.width, a.height,
               BackendPixel(colour, BackendPixelsAre565()));
}

// A one-pixel frame: light on the top and left edges, dark on the others.
static void FrameBox(Surface* s, BoxArea a, uint32_t light, uint32_t dark) {
    FillBox(s, {a.x, a.y, a.width, 1}, light);
    FillBox(s, {a.x, a.y, 1, a.height}, light);
    FillBox(s, {a.x, a.y + a.height - 1, a.width, 1}, dark);
    FillBox(s, {a.x + a.width - 1, a.y, 1, a.height}, dark);
}

static void DrawBoxText(OpenBox* b, const char* text, BoxArea a, uint32_t mode) {
    TextContext context = PlatformOpenText(b->box, &b->surface, nullptr);
    if (!context) return;
    PlatformRect r = {a.x, a.y, a.x + a.width, a.y + a.height};
    PlatformDrawText(context, text, -1, &r, textColour, 0, mode);
    PlatformCloseText(context);
}

static void MeasureBoxText(const char* text, int32_t length, int32_t* width, int32_t* height) {
    *width = *height = 0;
    PlatformMeasureText(0, nullptr, text, length, width, height);
}

static void DrawBoxButton(OpenBox* b, int32_t i) {
    BoxArea e = b->buttons[i];
    bool down = b->pressed == i;
    FillBox(&b->surface, e, buttonColour);
    FrameBox(&b->surface, e, down ? shadowColour : lightColour, down ? lightColour : shadowColour);
    if (b->focus == i)
        FrameBox(&b->surface, {e.x + 1, e.y + 1, e.width - 2, e.height - 2}, focusColour, focusColour);
    int32_t w, h;
    MeasureBoxText(b->labels[i], static_cast<int32_t>(strlen(b->labels[i])), &w, &h);
    int32_t shift = down ? 1 : 0;
    DrawBoxText(b, b->labels[i],
                {e.x + (e.width - w) / 2 + shift, e.y + (e.height - h) / 2 + shift, w + 1, h + 1}, 0);
}

static void PaintBox(OpenBox* b) {
    PlatformBeginPaint(b->box);
    FillBox(&b->surface, {0, 0, b->surface.width, b->surface.height}, faceColour);
    FrameBox(&b->surface, {0, 0, b->surface.width, b->surface.height}, shadowColour, shadowColour);
    DrawBoxText(b, b->text, b->textBox, platformTextWordBreak);
    DrawBoxButton(b, 0);
    DrawBoxButton(b, 1);
    PlatformPresent(b->box, &b->surface, 0, nullptr);
    PlatformEndPaint(b->box);
}

static intptr_t BoxProcedure(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    OpenBox* b = FindBox(window);
    if (!b) return PlatformDefaultProcessing(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        PaintBox(b);
        return 0;
    case WM_CLOSE: // the box's own close button, or Alt+F4 on it: the question stays unanswered, i.e. No
        b->answer = IDNO;
        return 0;
    case WM_LBUTTONDOWN:
        b->pressed = HitButton(b, lParam);
        if (b->pressed >= 0) b->focus = b->pressed;
        Repaint(b);
        return 0;
    case WM_LBUTTONUP:
        if (b->pressed >= 0 && HitButton(b, lParam) == b->pressed) b->answer = b->pressed == 0 ? IDYES : IDNO;
        b->pressed = -1;
        Repaint(b);
        return 0;
    case WM_KEYDOWN:
        if (wParam == vkReturn || wParam == vkSpace) b->answer = b->focus == 0 ? IDYES : IDNO;
        if (wParam == vkEscape || wParam == 'N') b->answer = IDNO;
        if (wParam == 'Y') b->answer = IDYES;
        if (wParam == vkLeft || wParam == vkRight || wParam == vkTab) b->focus ^= 1;
        Repaint(b);
        return 0;
    default:
        return PlatformDefaultProcessing(window, message, wParam, lParam);
    }
}

static bool IsMouse(uint32_t m) {
    return m >= WM_MOUSEMOVE && m <= 0x20D;
}

static bool IsKeyboard(uint32_t m) {
    return (m >= WM_KEYDOWN && m <= 0x109) || (m >= WM_IME_STARTCOMPOSITION && m <= WM_IME_COMPOSITION);
}

// Where the box goes: centred on its owner when it has one on screen, else on the screen; never off its
// top-left corner.
static void Place(WindowHandle owner, int32_t width, int32_t height, int32_t* x, int32_t* y) {
    int32_t ox = 0, oy = 0, ow = 0, oh = 0;
    SdlWindow* o = SdlFind(owner);
    if (o && o->visible && !o->minimised) {
        SDL_GetWindowPosition(o->window, &ox, &oy);
        SDL_GetWindowSize(o->window, &ow, &oh);
    } else {
        PlatformScreenSize(&ow, &oh);
    }
    *x = ox + (ow - width) / 2;
    *y = oy + (oh - height) / 2;
    if (*x < 0) *x = 0;
    if (*y < 0) *y = 0;
}

// Text, buttons and the box's size from the question and the font.
static void Lay(OpenBox* b, int32_t* width, int32_t* height) {
    int32_t widest = 0, lineHeight = 0, lines = 1, unused;
    MeasureBoxText("X", 1, &unused, &lineHeight);
    const char* start = b->text;
    for (const char* p = b->text;; p++) {
        if (*p == '\n' || *p == 0) {
            int32_t w, h;
            MeasureBoxText(start, static_cast<int32_t>(p - start), &w, &h);
            if (w > widest) widest = w;
            if (!*p) break;
            start = p + 1;
            lines++;
        }
    }
    // A long line wraps inside the widest box; the height allows for that.
    int32_t textWidth = widest < maximumTextWidth ? widest : maximumTextWidth;
    int32_t rows = lines + (widest > maximumTextWidth ? widest / maximumTextWidth + 1 : 0);
    int32_t textHeight = rows * lineHeight < maximumTextHeight ? rows * lineHeight : maximumTextHeight;
    int32_t buttonsWidth = 2 * buttonWidth + buttonGap;
    *width = textWidth > buttonsWidth ? textWidth : buttonsWidth;
    *width += 2 * padding;
    if (*width < minimumWidth) *width = minimumWidth;
    *height = padding + textHeight + padding + buttonHeight + padding;
    b->textBox = {padding, padding, textWidth + 1, textHeight + 1};
    int32_t left = *width - padding - buttonsWidth;
    b->buttons[0] = {left, *height - padding - buttonHeight, buttonWidth, buttonHeight};
    b->buttons[1] = {left + buttonWidth + buttonGap, *height - padding - buttonHeight, buttonWidth,
                     buttonHeight};
}

bool KoreanSession(const char* lcAll, const char* lcMessages, const char* lang) {
    // The first of these that is set names the language of messages.
    const char* names[3] = {lcAll, lcMessages, lang};
    for (const char* name : names) {
        if (name && *name) return strncmp(name, "ko", 2) == 0;
    }
    return false;
}

int32_t PlatformMessageBox(WindowHandle window, const char* text, const char* caption, uint32_t) {
    if (!SdlStartVideo()) return 0;
    if (ClassTableFind(&sdlWindows.classes, boxClass) < 0 &&
        ClassTableAdd(&sdlWindows.classes, boxClass, BoxProcedure, 0, 0) < 0) {
        return 0;
    }
    OpenBox b = {};
    b.text = text ? text : "";
    bool korean = KoreanSession(getenv("LC_ALL"), getenv("LC_MESSAGES"), getenv("LANG"));
    b.labels[0] = korean ? "\xBF\xB9" : "Yes";
    b.labels[1] = korean ? "\xBE\xC6\xB4\xCF\xBF\xC0" : "No";
    b.pressed = -1;
    int32_t width, height, x, y;
    Lay(&b, &width, &height);
    Place(window, width, height, &x, &y);
    b.surface.bitsPerPixel = 16;
    b.surface.width = width;
    b.surface.height = height;
    b.surface.stride = static_cast<uint32_t>((width + 1) & ~1) * 2;
    b.surface.bitmap = PlatformCreatePixels(width, height, b.surface.stride, &b.surface.pixels);
    if (!b.surface.bitmap) return 0;
    b.outer = openBoxes;
    openBoxes = &b;
    b.box =
        PlatformCreateWindow(boxClass, caption ? caption : "", WS_SYSMENU, x, y, width, height, window, 0);
    SdlWindow* w = SdlFind(b.box);
    SdlWindow* owner = SdlFind(window);
    if (w && owner) SDL_SetWindowModalFor(w->window, owner->window);
    if (w) {
        PlatformShowWindow(b.box, SW_SHOWNORMAL);
        SDL_SetWindowInputFocus(w->window);
    }
    while (w && !b.answer && SdlFind(b.box)) {
        PlatformMessage m;
        int32_t r = PlatformGetMessage(&m);
        if (r <= 0) {
            // The program is ending: the quit goes back for the outer loop, and the question counts as No.
            if (r == 0) PlatformPostQuit(static_cast<int32_t>(m.wParam));
            b.answer = IDNO;
            break;
        }
        if (m.window != b.box) {
            // The owner is disabled while the box is up: no mouse, no close; keys go to the box.
            if (IsMouse(m.message) || m.message == WM_CLOSE) continue;
            if (IsKeyboard(m.message)) m.window = b.box;
        }
        PlatformDispatchMessage(&m);
    }
    openBoxes = b.outer;
    if (SdlFind(b.box)) PlatformDestroyWindow(b.box);
    PlatformFreePixels(b.surface.bitmap);
    owner = SdlFind(window);
    if (owner && owner->visible) {
        sdlWindows.active = window;
        SDL_RaiseWindow(owner->window);
        SDL_SetWindowInputFocus(owner->window);
    }
    return w ? b.answer : 0;
}
