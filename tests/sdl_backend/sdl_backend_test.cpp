// The SDL backend without a display (SDL's dummy video driver): events are fed to the translator as SDL
// would deliver them, and the messages that reach the window procedures are compared.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/sdl_backend/sdl_events.h"
#include "tests/support/position.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/bitmap_decode.h"
#include "toolkit/platform/platform.h"
#include "toolkit/platform/sdl/events.h"
#include "toolkit/platform/sdl/encoding.h"
#include "toolkit/platform/sdl/keys.h"
#include "toolkit/platform/sdl/raw_keys.h"
#include "toolkit/platform/sdl/window_table.h"

// For every file of this program: SDL starts on the dummy driver.
static __attribute__((constructor)) void UseDummyVideo() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}
namespace {

enum : uint32_t { sentinel = 0x7FF0, settleTimer = 99 };

struct Seen {
    WindowHandle window;
    uint32_t message;
    WParam wParam;
    LParam lParam;
    std::string ime; // the result string fetched while a finished composition was handled
};

} // namespace

static std::vector<Seen> seen;
static MinMaxInfo limitsToGive;
static int32_t answerClose = 1; // 0: WM_CLOSE is refused

static intptr_t RecordingProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    Seen s = {window, message, wParam, lParam, ""};
    if (message == WM_IME_COMPOSITION && lParam == static_cast<LParam>(GCS_RESULTSTR)) {
        char bytes[8] = {};
        int32_t n = PlatformImeString(window, GCS_RESULTSTR, bytes, sizeof bytes);
        s.ime.assign(bytes, n > 0 ? static_cast<size_t>(n) : 0);
    }
    seen.push_back(s);
    if (message == WM_GETMINMAXINFO) {
        MinMaxInfo* info = reinterpret_cast<MinMaxInfo*>(lParam);
        if (limitsToGive.ptMinTrackSize.x) info->ptMinTrackSize = limitsToGive.ptMinTrackSize;
        if (limitsToGive.ptMaxTrackSize.x) info->ptMaxTrackSize = limitsToGive.ptMaxTrackSize;
        return 0;
    }
    if (message == WM_CLOSE && !answerClose) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    PlatformRegisterClass("Test_Double", RecordingProc, 0x8, 0, 0);
    PlatformRegisterClass("Test_Single", RecordingProc, 0, 0, 0);
}

static WindowHandle MakeWindow(const char* className = "Test_Double", int32_t x = 100, int32_t y = 100) {
    RegisterClasses();
    WindowHandle w = PlatformCreateWindow(className, "Test", WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, x,
                                          y, 160, 120, 0, 0);
    PlatformShowWindow(w, SW_SHOWNORMAL);
    return w;
}

// Handles everything that is waiting, paints included: a short timer comes only once nothing else does.
void Settle(WindowHandle w) {
    PlatformSetTimer(w, settleTimer, 10);
    PlatformMessage m;
    for (;;) {
        ASSERT_NE(PlatformGetMessage(&m), 0);
        if (m.message == WM_TIMER && m.wParam == settleTimer) break;
        PlatformDispatchMessage(&m);
    }
    PlatformKillTimer(w, settleTimer);
}

// The input messages that reached the procedures, without the window's own housekeeping.
std::vector<Seen> Input() {
    std::vector<Seen> out;
    for (const Seen& s : seen) {
        if (s.message == WM_PAINT || s.message == WM_GETMINMAXINFO || s.message == WM_SIZE ||
            s.message == WM_TIMER)
            continue;
        out.push_back(s);
    }
    return out;
}

// The messages seen, compared field by field with the wanted ones (the IME string too).
template <size_t n> void ExpectMessages(const std::vector<Seen>& in, const Seen (&want)[n]) {
    ASSERT_EQ(in.size(), n);
    for (size_t i = 0; i < n; i++) {
        EXPECT_EQ(in[i].message, want[i].message) << i;
        EXPECT_EQ(in[i].wParam, want[i].wParam) << i;
        EXPECT_EQ(in[i].lParam, want[i].lParam) << i;
        EXPECT_EQ(in[i].ime, want[i].ime) << i;
    }
}

class SdlBackend : public ::testing::Test {
  protected:
    void SetUp() override {
        limitsToGive = {};
        answerClose = 1;
        window = MakeWindow();
        ASSERT_NE(window, 0u);
        Settle(window);
        seen.clear();
    }
    void TearDown() override {
        PlatformReleaseCapture();
        PlatformDestroyWindow(window);
    }
    uint32_t Id(WindowHandle w) { return SdlFind(w) ? SdlFind(w)->sdlId : 0; }

    void Key(uint32_t type, SDL_Scancode scancode, SDL_Keycode key, uint16_t mods, uint8_t repeat = 0) {
        SendKey(Id(window), type, scancode, key, mods, repeat);
    }
    // A text or editing event: the text sits at the same place in both records.
    void Text(const char* utf8, uint32_t type = SDL_TEXTINPUT) {
        SDL_Event e = {};
        e.text.type = type;
        e.text.windowID = Id(window);
        strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        SdlTranslateEvent(&e);
    }
    void Editing(const char* utf8) { Text(utf8, SDL_TEXTEDITING); }
    void Button(uint32_t type, uint8_t button, int32_t x, int32_t y, uint8_t clicks, WindowHandle w = 0) {
        SendButton(Id(w ? w : window), type, button, x, y, clicks);
    }
    void Motion(int32_t x, int32_t y, uint32_t state, WindowHandle w = 0) {
        SDL_Event e = {};
        e.motion = {SDL_MOUSEMOTION, 0, Id(w ? w : window), 0, state, x, y, 0, 0};
        SdlTranslateEvent(&e);
    }
    // A key press as the input method's own watch reports it (one SDL drops when it is handed back).
    void Raw(int32_t code, uint32_t character, uintptr_t modifier = 0) {
        SDL_Event e = {};
        e.user = {sdlRawKeyEvent,
                  0,
                  0,
                  code,
                  reinterpret_cast<void*>(static_cast<uintptr_t>(character)),
                  reinterpret_cast<void*>(modifier)};
        SdlTranslateEvent(&e);
    }
    void WindowEvent(uint8_t event, WindowHandle w = 0) { SendWindowEvent(Id(w ? w : window), event); }

    WindowHandle window = 0;
};

TEST_F(SdlBackend, QueueServesPostedThenQuitThenPaintThenTimer) {
    PlatformSetTimer(window, 1, 10);
    PlatformShowWindow(window, SW_SHOWNORMAL); // wants a paint
    PlatformPostMessage(window, sentinel, 1, 0);
    PlatformPostMessage(window, sentinel, 2, 0);
    PlatformPostQuit(7);
    PlatformMessage m;
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, sentinel);
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.wParam, 2u);
    EXPECT_EQ(PlatformGetMessage(&m), 0) << "the quit message ends the loop before paints and timers";
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 7u);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, WM_PAINT);
    EXPECT_EQ(m.window, window);
    PlatformDispatchMessage(&m); // default processing validates the window
    // The timer waits until it is due: PlatformGetMessage blocks for it.
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 1u);
    EXPECT_EQ(PlatformKillTimer(window, 1), 1);
    EXPECT_EQ(PlatformKillTimer(window, 1), 0);
    // Messages for no window are fetched but go nowhere.
    PlatformPostMessage(0, sentinel, 3, 0);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.window, 0u);
    EXPECT_EQ(PlatformDispatchMessage(&m), 0);
    EXPECT_EQ(PlatformPostMessage(0x7777, sentinel, 0, 0), 0) << "no such window";
}

TEST_F(SdlBackend, CloseDestroysAndSendsDestroyBeforeReturning) {
    WindowHandle other = MakeWindow();
    PlatformSetTimer(other, 5, 10);
    PlatformSetCapture(other);
    PlatformPostMessage(other, sentinel, 0, 0);
    seen.clear();
    // Refused: the window stays.
    answerClose = 0;
    WindowEvent(0); // nothing
    WindowEvent(SDL_WINDOWEVENT_CLOSE, other);
    PlatformMessage m;
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, sentinel);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, WM_CLOSE);
    PlatformDispatchMessage(&m);
    EXPECT_NE(SdlFind(other), nullptr);
    // Allowed: default processing destroys it, and WM_DESTROY arrives before the close returns.
    answerClose = 1;
    seen.clear();
    PlatformPostMessage(other, sentinel, 9, 0);
    PlatformPostMessage(other, WM_CLOSE, 0, 0);
    PlatformPostMessage(other, sentinel, 10, 0);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.message, WM_CLOSE);
    PlatformDispatchMessage(&m);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, WM_CLOSE);
    EXPECT_EQ(seen[1].message, WM_DESTROY);
    EXPECT_EQ(seen[1].window, other);
    EXPECT_EQ(SdlFind(other), nullptr);
    EXPECT_EQ(sdlWindows.capture, 0u) << "the capture ends with its window";
    EXPECT_EQ(PlatformSetTimer(other, 5, 10), 0u);
    EXPECT_EQ(PlatformShowWindow(other, SW_SHOWNORMAL), 0);
    EXPECT_EQ(PlatformDestroyWindow(other), 0);
    // Its waiting messages went with it.
    PlatformPostMessage(window, sentinel, 11, 0);
    ASSERT_EQ(PlatformGetMessage(&m), 1);
    EXPECT_EQ(m.window, window);
    EXPECT_EQ(m.wParam, 11u);
}

// The client area's size as a position, -1 when there is no such window.
static LParam ClientSize(WindowHandle w) {
    PlatformRect client = {};
    return PlatformClientRect(w, &client) == 1 ? Position(client.right, client.bottom) : -1;
}

TEST_F(SdlBackend, CreationAsksForLimitsAndAppliesThem) {
    seen.clear();
    limitsToGive.ptMinTrackSize = {200, 150};
    limitsToGive.ptMaxTrackSize = {300, 250};
    RegisterClasses();
    WindowHandle w = PlatformCreateWindow("Test_Single", "Limits", WS_THICKFRAME, 10, 10, 100, 100, 0, 0);
    ASSERT_NE(w, 0u);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, WM_GETMINMAXINFO)
        << "the procedure hears of the window before its handle returns";
    EXPECT_EQ(seen[0].window, w);
    EXPECT_TRUE(SDL_GetWindowFlags(SdlFind(w)->window) & SDL_WINDOW_RESIZABLE);
    EXPECT_FALSE(SDL_GetWindowFlags(SdlFind(window)->window) & SDL_WINDOW_RESIZABLE)
        << "a maximise box without a sizing border keeps the size";
    EXPECT_EQ(ClientSize(w), Position(200, 150));
    EXPECT_EQ(seen.back().message, WM_SIZE);
    EXPECT_EQ(seen.back().wParam, SIZE_RESTORED);
    EXPECT_EQ(seen.back().lParam, Position(200, 150));
    SDL_SetWindowSize(SdlFind(w)->window, 900, 900);
    EXPECT_EQ(ClientSize(w), Position(300, 250));
    PlatformRect rect = {};
    PlatformPoint origin = {0, 0};
    ASSERT_EQ(PlatformWindowRect(w, &rect), 1);
    ASSERT_EQ(PlatformClientToScreen(w, &origin), 1);
    EXPECT_EQ(origin.x, rect.left) << "the window rectangle is the client area";
    EXPECT_EQ(rect.right - rect.left, 300);
    // Minimised: an empty client area and SIZE_MINIMIZED; restored: the size again.
    seen.clear();
    PlatformShowWindow(w, SW_MINIMIZE);
    EXPECT_EQ(ClientSize(w), Position(0, 0));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().message, WM_SIZE);
    EXPECT_EQ(seen.back().wParam, SIZE_MINIMIZED);
    EXPECT_EQ(seen.back().lParam, 0);
    PlatformShowWindow(w, SW_RESTORE);
    EXPECT_EQ(seen.back().wParam, SIZE_RESTORED);
    EXPECT_EQ(seen.back().lParam, Position(300, 250));
    EXPECT_EQ(PlatformActiveWindow(), w);
    PlatformDestroyWindow(w);
    EXPECT_EQ(PlatformCreateWindow("No_Such_Class", "x", 0, 0, 0, 10, 10, 0, 0), 0u);
}

TEST_F(SdlBackend, MouseMessagesCarryKeysAndSignedPositions) {
    Motion(5, 7, 0);
    Motion(6, 8, 0); // moves coalesce into the latest
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 6, 8, 1);
    Motion(-3, -20, SDL_BUTTON_LMASK); // a held button keeps the mouse outside the window
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -3, -20, 1);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 6, 8, 2);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 6, 8, 2);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 6, 8, 3); // the third click starts again
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 6, 8, 3);
    Key(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_LCTRL);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 2, 1);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 2, 1);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 2, 2);
    Key(SDL_KEYUP, SDL_SCANCODE_LCTRL, SDLK_LCTRL, 0);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 2, 2);
    Settle(window);
    std::vector<Seen> in = Input();
    const Seen want[] = {
        {window, WM_MOUSEMOVE, 0, Position(6, 8), ""},
        {window, WM_LBUTTONDOWN, MK_LBUTTON, Position(6, 8), ""},
        {window, WM_MOUSEMOVE, MK_LBUTTON, Position(-3, -20), ""},
        {window, WM_LBUTTONUP, 0, Position(-3, -20), ""},
        {window, WM_LBUTTONDBLCLK, MK_LBUTTON, Position(6, 8), ""},
        {window, WM_LBUTTONUP, 0, Position(6, 8), ""},
        {window, WM_LBUTTONDOWN, MK_LBUTTON, Position(6, 8), ""},
        {window, WM_LBUTTONUP, 0, Position(6, 8), ""},
        {window, WM_KEYDOWN, vkControl, 1, ""},
        {window, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, Position(1, 2), ""},
        {window, WM_RBUTTONUP, MK_CONTROL, Position(1, 2), ""},
        {window, WM_RBUTTONDBLCLK, MK_RBUTTON | MK_CONTROL, Position(1, 2), ""},
        {window, WM_KEYUP, vkControl, static_cast<LParam>(0xC0000001u), ""},
        {window, WM_RBUTTONUP, 0, Position(1, 2), ""},
    };
    ExpectMessages(in, want);
    EXPECT_EQ(static_cast<int16_t>(in[2].lParam & 0xFFFF), -3);
    EXPECT_EQ(static_cast<int16_t>((in[2].lParam >> 16) & 0xFFFF), -20);

    // Without CS_DBLCLKS a second click is a plain one.
    WindowHandle single = MakeWindow("Test_Single");
    seen.clear();
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1, 2, single);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 1, 2, single);
    Settle(window);
    in = Input();
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(in[0].window, single);
    PlatformDestroyWindow(single);
}

TEST_F(SdlBackend, CaptureSendsEveryMouseMessageToTheCapturingWindow) {
    WindowHandle other = MakeWindow("Test_Double", 300, 200);
    int ax, ay, bx, by;
    SDL_GetWindowPosition(SdlFind(window)->window, &ax, &ay);
    SDL_GetWindowPosition(SdlFind(other)->window, &bx, &by);
    seen.clear();
    EXPECT_EQ(PlatformSetCapture(window), 0u);
    Motion(10, 10, 0, other);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10, 1, other);
    EXPECT_EQ(PlatformReleaseCapture(), 1);
    Motion(11, 11, 0, other);
    Settle(window);
    std::vector<Seen> in = Input();
    ASSERT_EQ(in.size(), 3u);
    EXPECT_EQ(in[0].window, window);
    EXPECT_EQ(in[0].lParam, Position(10 + bx - ax, 10 + by - ay));
    EXPECT_EQ(in[1].window, window);
    EXPECT_EQ(in[1].message, WM_LBUTTONUP);
    EXPECT_EQ(in[2].window, other);
    EXPECT_EQ(in[2].lParam, Position(11, 11));
    PlatformDestroyWindow(other);
}

TEST_F(SdlBackend, KeysBecomeVirtualKeysAndCharacters) {
    Key(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_RCTRL);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_RCTRL, 1); // auto-repeat
    Key(SDL_KEYUP, SDL_SCANCODE_RCTRL, SDLK_RCTRL, 0);
    Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, 0);
    Text("a");
    Key(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a, 0);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, 0);
    Key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0);
    Key(SDL_KEYDOWN, SDL_SCANCODE_TAB, SDLK_TAB, 0);
    Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0);
    // Ctrl with a letter types its control character, Ctrl+Enter a line feed; SDL has no text for them.
    Key(SDL_KEYDOWN, SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL);
    Text("c");
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LCTRL);
    Key(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, 0);
    Settle(window);
    std::vector<Seen> in = Input();
    const Seen want[] = {
        {window, WM_KEYDOWN, vkControl, 1, ""},
        {window, WM_KEYDOWN, vkControl, static_cast<LParam>(0x40000001u), ""},
        {window, WM_KEYUP, vkControl, static_cast<LParam>(0xC0000001u), ""},
        {window, WM_KEYDOWN, 'A', 1, ""},
        {window, WM_CHAR, 'a', 1, ""},
        {window, WM_KEYUP, 'A', static_cast<LParam>(0xC0000001u), ""},
        {window, WM_KEYDOWN, vkReturn, 1, ""},
        {window, WM_CHAR, 13, 1, ""},
        {window, WM_KEYDOWN, vkBack, 1, ""},
        {window, WM_CHAR, 8, 1, ""},
        {window, WM_KEYDOWN, vkTab, 1, ""},
        {window, WM_CHAR, 9, 1, ""},
        {window, WM_KEYDOWN, 27, 1, ""},
        {window, WM_CHAR, 27, 1, ""},
        {window, WM_KEYDOWN, 'C', 1, ""},
        {window, WM_CHAR, 3, 1, ""},
        {window, WM_KEYDOWN, vkReturn, 1, ""},
        {window, WM_CHAR, 10, 1, ""},
        {window, WM_KEYUP, vkReturn, static_cast<LParam>(0xC0000001u), ""},
    };
    ExpectMessages(in, want);

    // The key table: layout letters and digits, navigation, function keys, Korean keys.
    // Keypad 7 and 0 without Num Lock are Home and Insert; an AZERTY layout's A key is A wherever it sits.
    struct {
        SDL_Keycode key;
        SDL_Scancode scancode;
        bool numLock;
        uint32_t want;
    } const table[] = {
        {SDLK_z, SDL_SCANCODE_Z, true, 'Z'},
        {SDLK_0, SDL_SCANCODE_0, true, '0'},
        {SDLK_9, SDL_SCANCODE_9, true, '9'},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, true, 37},
        {SDLK_UP, SDL_SCANCODE_UP, true, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, true, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, true, 40},
        {SDLK_HOME, SDL_SCANCODE_HOME, true, 36},
        {SDLK_END, SDL_SCANCODE_END, true, 35},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, true, 45},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, true, 46},
        {SDLK_F1, SDL_SCANCODE_F1, true, 112},
        {SDLK_F12, SDL_SCANCODE_F12, true, 123},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, true, 16},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, true, 17},
        {SDLK_RALT, SDL_SCANCODE_RALT, true, 18},
        {SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_LANG1), SDL_SCANCODE_LANG1, true, 0x15},
        {SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_LANG2), SDL_SCANCODE_LANG2, true, 0x19},
        {SDLK_KP_7, SDL_SCANCODE_KP_7, true, 103},
        {SDLK_KP_7, SDL_SCANCODE_KP_7, false, 36},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, false, 45},
        {SDLK_a, SDL_SCANCODE_Q, true, 'A'},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, true, 0},
    };
    for (const auto& k : table) EXPECT_EQ(SdlVirtualKey(k.key, k.scancode, k.numLock), k.want) << k.key;
}

TEST_F(SdlBackend, AltCombinationsAreSystemKeysWithoutCharacters) {
    Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT);
    Key(SDL_KEYDOWN, SDL_SCANCODE_X, SDLK_x, KMOD_LALT);
    Text("x"); // SDL reports the letter; Windows types nothing for Alt+X
    Key(SDL_KEYUP, SDL_SCANCODE_X, SDLK_x, KMOD_LALT);
    Key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT, 0);
    // Ctrl+Alt is AltGr: its characters are typed.
    Key(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_q, KMOD_LCTRL | KMOD_LALT);
    Text("@");
    Key(SDL_KEYUP, SDL_SCANCODE_Q, SDLK_q, 0);
    Settle(window);
    std::vector<Seen> in = Input();
    const Seen want[] = {
        {window, WM_SYSKEYDOWN, 18, static_cast<LParam>(0x20000001u), ""},
        {window, WM_SYSKEYDOWN, 'X', static_cast<LParam>(0x20000001u), ""},
        {window, WM_SYSKEYUP, 'X', static_cast<LParam>(0xE0000001u), ""},
        {window, WM_SYSKEYUP, 18, static_cast<LParam>(0xC0000001u), ""},
        {window, WM_KEYDOWN, 'Q', static_cast<LParam>(0x20000001u), ""},
        {window, WM_CHAR, '@', 1, ""},
        {window, WM_KEYUP, 'Q', static_cast<LParam>(0xC0000001u), ""},
    };
    ExpectMessages(in, want);
}

TEST_F(SdlBackend, KoreanTextArrivesAsCompositionsInCodePage949) {
    Key(SDL_KEYDOWN, SDL_SCANCODE_LANG1, SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_LANG1), 0);
    Editing("\xE3\x85\x8E"); // ㅎ
    Editing("\xED\x95\x98"); // 하
    Editing("\xED\x95\x9C"); // 한
    Text("\xED\x95\x9C");    // 한 is finished
    Editing("");             // and nothing is being composed
    Text("a\xEA\xB8\x80"
         "b");                // a글b
    Text("\xF0\x9F\x98\x80"); // an emoji has no code page 949 form
    Editing("\xE3\x85\x8E");
    Editing(""); // composition given up
    Settle(window);
    std::vector<Seen> in = Input();
    const LParam result = static_cast<LParam>(GCS_RESULTSTR), composing = static_cast<LParam>(GCS_COMPSTR);
    const Seen want[] = {
        {window, WM_KEYDOWN, 0x15, 1, ""},
        {window, WM_IME_STARTCOMPOSITION, 0, 0, ""},
        {window, WM_IME_COMPOSITION, 0xA4BE, composing, ""},
        {window, WM_IME_COMPOSITION, 0xC7CF, composing, ""},
        {window, WM_IME_COMPOSITION, 0xC7D1, composing, ""},
        {window, WM_IME_COMPOSITION, 0xC7D1, result, "\xC7\xD1"},
        {window, WM_CHAR, 'a', 1, ""},
        {window, WM_IME_COMPOSITION, 0xB1DB, result, "\xB1\xDB"},
        {window, WM_CHAR, 'b', 1, ""},
        {window, WM_IME_STARTCOMPOSITION, 0, 0, ""},
        {window, WM_IME_COMPOSITION, 0xA4BE, composing, ""},
        {window, WM_IME_COMPOSITION, 0, composing, ""},
    };
    ExpectMessages(in, want);
    char bytes[4] = {};
    EXPECT_EQ(PlatformImeString(window, GCS_RESULTSTR, bytes, 1), 1) << "a short destination takes what fits";
    EXPECT_EQ(PlatformImeString(0x7777, GCS_RESULTSTR, bytes, 4), -1);
}

// The input method reports a key that ends a composition (space, Enter) before the syllable it commits; the
// key waits for the commit, and goes on by itself when no commit comes.
TEST_F(SdlBackend, KeysThatEndACompositionFollowItsCommit) {
    Editing("\xEA\xB8\x80"); // 글
    Key(SDL_KEYDOWN, SDL_SCANCODE_SPACE, SDLK_SPACE, 0);
    Text(" ");
    Editing("");
    Text("\xEA\xB8\x80");
    Key(SDL_KEYUP, SDL_SCANCODE_SPACE, SDLK_SPACE, 0);
    Editing("\xEC\x96\xB4"); // 어, never committed
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, 0);
    uint64_t deadline = SDL_GetTicks64() + 5000;
    while (SDL_GetTicks64() < deadline && (Input().empty() || Input().back().message != WM_CHAR))
        Settle(window);
    std::vector<Seen> in = Input();
    const LParam result = static_cast<LParam>(GCS_RESULTSTR), composing = static_cast<LParam>(GCS_COMPSTR);
    const Seen want[] = {
        {window, WM_IME_STARTCOMPOSITION, 0, 0, ""},
        {window, WM_IME_COMPOSITION, 0xB1DB, composing, ""},
        {window, WM_IME_COMPOSITION, 0xB1DB, result, "\xB1\xDB"},
        {window, WM_KEYDOWN, ' ', 1, ""},
        {window, WM_CHAR, ' ', 1, ""},
        {window, WM_KEYUP, ' ', static_cast<LParam>(0xC0000001u), ""},
        {window, WM_IME_STARTCOMPOSITION, 0, 0, ""},
        {window, WM_IME_COMPOSITION, 0xBEEE, composing, ""},
        {window, WM_KEYDOWN, vkReturn, 1, ""},
        {window, WM_CHAR, 13, 1, ""},
    };
    ExpectMessages(in, want);
}

// An input method that swallows a key and hands it back (which SDL drops): the raw press is all there is,
// and the key is replayed after the commit of the composition it ended, or at once without one.
TEST_F(SdlBackend, SwallowedKeysAreReplayedAfterTheirCommit) {
    const int32_t letter = -1;
    Editing("\xED\x95\x9C"); // 한
    Raw(letter, 0);          // r, answered late: 한 is committed and ㄱ composed after the space's press
    Raw(' ', ' ');           // swallowed while composing: waits for its commit
    Editing("");
    Text("\xED\x95\x9C");
    Editing("\xE3\x84\xB1"); // ㄱ
    Editing("");
    Text("\xE3\x84\xB1");
    Editing("");
    Raw('1', '1'); // swallowed with nothing composed: goes on at once
    Raw(13, 13);   // reported by SDL as usual: not replayed
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, 0);
    Settle(window);
    std::vector<Seen> in;
    for (const Seen& m : Input()) {
        if (m.message != WM_IME_STARTCOMPOSITION && !(m.message == WM_IME_COMPOSITION && m.lParam == 8))
            in.push_back(m);
    }
    const LParam result = static_cast<LParam>(GCS_RESULTSTR), up = static_cast<LParam>(0xC0000001u);
    const Seen want[] = {
        {window, WM_IME_COMPOSITION, 0xC7D1, result, "\xC7\xD1"},
        {window, WM_IME_COMPOSITION, 0xA4A1, result, "\xA4\xA1"},
        {window, WM_KEYDOWN, ' ', 1, ""},
        {window, WM_CHAR, ' ', 1, ""},
        {window, WM_KEYUP, ' ', up, ""},
        {window, WM_KEYDOWN, '1', 1, ""},
        {window, WM_CHAR, '1', 1, ""},
        {window, WM_KEYUP, '1', up, ""},
        {window, WM_KEYDOWN, vkReturn, 1, ""},
        {window, WM_CHAR, 13, 1, ""},
    };
    ExpectMessages(in, want);
}

// With nothing composed the input method hands back Backspace, the arrows, Home, End, Delete and even Ctrl
// (ibus-hangul's forwarding), and SDL drops them: they are replayed too. Backspace inside a composition is
// the input method's own. A Ctrl that SDL never saw still counts for the clicks until its release.
TEST_F(SdlBackend, KeysHandedBackWithNothingComposedAndTheirModifiersCount) {
    struct Case {
        int32_t code;
        uint32_t character;
    };
    const Case handedBack[] = {{8, 8}, {37, 0}, {36, 0}, {35, 0}, {46, 0}};
    for (const Case& c : handedBack) Raw(c.code, c.character);
    Editing("\xED\x95\x98"); // 하
    Raw(8, 8);               // takes ㅏ off: no key for the program
    Editing("\xE3\x85\x8E"); // ㅎ
    Raw(8, 8);
    Editing("");
    Raw(17, 0, KMOD_LCTRL); // swallowed
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 4, 1);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3, 4, 1);
    Raw(0, 0, sdlRawRelease | KMOD_LCTRL);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 4, 1);
    Settle(window);
    std::vector<Seen> in;
    for (const Seen& m : Input()) {
        if (m.message != WM_IME_STARTCOMPOSITION && m.message != WM_IME_COMPOSITION) in.push_back(m);
    }
    const LParam up = static_cast<LParam>(0xC0000001u);
    const Seen want[] = {
        {window, WM_KEYDOWN, vkBack, 1, ""},
        {window, WM_CHAR, 8, 1, ""},
        {window, WM_KEYUP, vkBack, up, ""},
        {window, WM_KEYDOWN, vkLeft, 1, ""},
        {window, WM_KEYUP, vkLeft, up, ""},
        {window, WM_KEYDOWN, vkHome, 1, ""},
        {window, WM_KEYUP, vkHome, up, ""},
        {window, WM_KEYDOWN, vkEnd, 1, ""},
        {window, WM_KEYUP, vkEnd, up, ""},
        {window, WM_KEYDOWN, vkDelete, 1, ""},
        {window, WM_KEYUP, vkDelete, up, ""},
        {window, WM_KEYDOWN, vkControl, 1, ""},
        {window, WM_KEYUP, vkControl, up, ""},
        {window, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, Position(3, 4), ""},
        {window, WM_LBUTTONUP, MK_CONTROL, Position(3, 4), ""},
        {window, WM_LBUTTONDOWN, MK_LBUTTON, Position(3, 4), ""},
    };
    ExpectMessages(in, want);
}

TEST_F(SdlBackend, WindowEventsBecomeCloseSizeAndPaint) {
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    WindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    WindowEvent(SDL_WINDOWEVENT_EXPOSED); // no paint while minimised
    answerClose = 0;
    PlatformPostMessage(window, sentinel, 0, 0);
    PlatformMessage m;
    std::vector<uint32_t> got;
    for (;;) {
        ASSERT_EQ(PlatformGetMessage(&m), 1);
        if (m.message == sentinel) break;
        PlatformDispatchMessage(&m);
    }
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, WM_CLOSE);
    EXPECT_EQ(seen[1].message, WM_SIZE);
    EXPECT_EQ(seen[1].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(seen[1].lParam, 0);
    seen.clear();
    WindowEvent(SDL_WINDOWEVENT_RESTORED);
    Settle(window);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, WM_SIZE);
    EXPECT_EQ(seen[0].wParam, SIZE_RESTORED);
    EXPECT_EQ(seen[0].lParam, Position(160, 120));
    EXPECT_EQ(seen[1].message, WM_PAINT) << "a restored window repaints";
}

TEST_F(SdlBackend, PixelsPagesAndPresentation) {
    EXPECT_EQ(BackendPixelsAre565(), 1);
    InitDisplay();
    EXPECT_EQ(Theme[pixelFormat] & rgb565, rgb565) << "the probe reads 5-6-5 green back";
    EXPECT_NE(toolkitCommandMessage, 0u);
    EXPECT_EQ(PlatformRegisterMessage("NIMBLEUI_CMD"), toolkitCommandMessage);
    Surface s = {};
    CreateSurface(3, 2, &s, nullptr);
    ASSERT_TRUE(SurfaceIsDrawable(&s));
    for (uint32_t i = 0; i < s.stride * 2; i++) ASSERT_EQ(s.pixels[i], 0) << "pixel memory starts zeroed";
    EXPECT_EQ(PlatformSetPixel(window, &s, 2, 1, 0x00FF00), 1);
    EXPECT_EQ(PlatformSetPixel(window, &s, 3, 1, 0x00FF00), 0) << "outside the surface";
    uint16_t p;
    memcpy(&p, s.pixels + s.stride + 4, 2);
    EXPECT_EQ(p, 0x07E0);
    EXPECT_EQ(PlatformPresent(window, &s, 0, nullptr), 1);
    EXPECT_EQ(PlatformPresent(window, &s, 1, nullptr), 1);
    Surface wider = {};
    CreateSurface(200, 10, &wider, nullptr);
    EXPECT_EQ(PlatformPresent(window, &wider, 0, nullptr), 1) << "a new size makes a new texture";
    ReleaseSurface(&wider);
    ReleaseSurface(&s);
    EXPECT_EQ(PlatformPresent(0x7777, &s, 0, nullptr), 0);
    uint8_t* pixels = nullptr;
    EXPECT_EQ(PlatformCreatePixels(0, 5, 4, &pixels), 0u);
    EXPECT_EQ(pixels, nullptr);
    unsigned char* pages = static_cast<unsigned char*>(PlatformAllocatePages(10000));
    ASSERT_NE(pages, nullptr);
    for (int i = 0; i < 10000; i++) ASSERT_EQ(pages[i], 0);
    PlatformFreePages(pages);
    EXPECT_EQ(PlatformAllocatePages(0), nullptr);
}

TEST_F(SdlBackend, CodePage949AndUtf8Convert) {
    char out[64];
    // "종료하시겠습니까?"
    const char question[] = "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
    int32_t n = SdlCp949ToUtf8(question, out, sizeof out);
    EXPECT_EQ(
        std::string(out, static_cast<size_t>(n)),
        "\xEC\xA2\x85\xEB\xA3\x8C\xED\x95\x98\xEC\x8B\x9C\xEA\xB2\xA0\xEC\x8A\xB5\xEB\x8B\x88\xEA\xB9\x8C?");
    // A byte that is no character becomes '?', and conversion goes on.
    n = SdlCp949ToUtf8("a\xFF"
                       "b",
                       out, sizeof out);
    EXPECT_STREQ(out, "a?b");
    // A short destination keeps whole characters and a terminating zero.
    n = SdlCp949ToUtf8(question, out, 8);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(strlen(out), 6u);
    EXPECT_EQ(SdlCp949ToUtf8("Velquist", out, 5), 4); // ASCII, cut short the same way
    EXPECT_STREQ(out, "Velq");
    n = SdlUtf8ToCp949("\xED\x95\x9C", 3, out, sizeof out);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(static_cast<uint8_t>(out[0]), 0xC7);
    EXPECT_EQ(static_cast<uint8_t>(out[1]), 0xD1);
    EXPECT_EQ(SdlUtf8ToCp949("\xF0\x9F\x98\x80", 4, out, sizeof out), -1);
    EXPECT_EQ(SdlUtf8ToCp949("\xED\x95", 2, out, sizeof out), -1) << "half a character";
    EXPECT_EQ(SdlUtf8ToCp949("\xED\x95\x9C", 3, out, sizeof out), 2) << "the converter after a failure";
}

// SDL's own clipboard on the dummy driver stands for the display's: it holds what SDL is given.
TEST_F(SdlBackend, ClipboardGoesThroughSdlAsUtf8) {
    ASSERT_EQ(PlatformSetClipboardText(window, "\xC7\xD1 \x80", 4), 1);
    char* utf8 = SDL_GetClipboardText();
    EXPECT_STREQ(utf8, "\xED\x95\x9C ?");
    SDL_free(utf8);
    ASSERT_EQ(SDL_SetClipboardText("\xC3\xA9\xED\x95\x9C"), 0); // é한
    char buffer[8];
    ClipboardRead read = {};
    EXPECT_EQ(PlatformGetClipboardText(window, buffer, sizeof buffer, &read), 3);
    EXPECT_STREQ(buffer, "?\xC7\xD1");
    EXPECT_EQ(read.replaced, 1u);
}

// A burst larger than the message queue waits in SDL's queue and arrives whole and in order.
TEST_F(SdlBackend, ABurstOfTenThousandEventsArrivesWholeAndInOrder) {
    enum : int32_t { burst = 10000 };
    for (int32_t i = 0; i < burst; i++) {
        SDL_Event e = {};
        bool up = i % 2;
        e.button = {up ? SDL_MOUSEBUTTONUP : SDL_MOUSEBUTTONDOWN,
                    0,
                    Id(window),
                    0,
                    SDL_BUTTON_LEFT,
                    static_cast<uint8_t>(up ? SDL_RELEASED : SDL_PRESSED),
                    1,
                    0,
                    i / 2 % 150,
                    0};
        ASSERT_EQ(SDL_PushEvent(&e), 1) << i;
    }
    Settle(window);
    std::vector<Seen> in = Input();
    ASSERT_EQ(in.size(), static_cast<size_t>(burst));
    for (int32_t i = 0; i < burst; i++) {
        ASSERT_EQ(in[i].message, i % 2 ? WM_LBUTTONUP : WM_LBUTTONDOWN) << i;
        ASSERT_EQ(in[i].lParam, Position(i / 2 % 150, 0)) << i;
    }
}

// Wheel turns as SDL reports them (turned, flipped, notches made: of -120 when turned < 0 and not flipped,
// else of 120): fractions add up into whole notches under the pointer, and a turn back drops what is left.
TEST_F(SdlBackend, WheelTurnsBecomeNotches) {
    const float turns[][3] = {{1, 0, 1},    {-2, 0, 2},    {1, 1, 1},     {0.5f, 0, 0},
                              {0.5f, 0, 1}, {0.75f, 0, 0}, {-0.5f, 0, 0}, {-0.5f, 0, 1}};
    PlatformPoint at = {7, 9};
    ASSERT_TRUE(PlatformClientToScreen(window, &at));
    for (const auto& t : turns) {
        seen.clear();
        SDL_Event e = {};
        e.wheel = {SDL_MOUSEWHEEL, 0, Id(window), 0, 0, 0, static_cast<uint32_t>(t[1]), 0, t[0], 7, 9};
        SdlTranslateEvent(&e);
        Settle(window);
        ASSERT_EQ(Input().size(), static_cast<size_t>(t[2])) << t[0];
        WParam delta = (t[0] < 0) != (t[1] != 0) ? 0xFF88u : 120u;
        for (const Seen& s : Input())
            EXPECT_TRUE(s.message == WM_MOUSEWHEEL && s.wParam == delta << 16 &&
                        s.lParam == Position(at.x, at.y));
    }
}
