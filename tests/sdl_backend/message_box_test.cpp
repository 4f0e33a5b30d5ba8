// The SDL backend's question box on the dummy video driver: centred on its owner, modal (the owner's
// timers run, its input is held back, its keys answer the box), answered by keys and clicks.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/sdl_backend/sdl_events.h"
#include "toolkit/platform/platform.h"
#include "toolkit/platform/sdl/message_box.h"
#include "toolkit/platform/sdl/events.h"
#include "toolkit/platform/sdl/window_table.h"

namespace {

enum : int32_t { ownerX = 200, ownerY = 150, ownerWidth = 640, ownerHeight = 480 };

} // namespace

// What the owner heard while the box was up, and the script that plays one step per timer tick.
static int32_t ownerTimers, ownerInput;
static std::vector<std::function<void()>> script;
static size_t scriptStep;

static intptr_t OwnerProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (message == WM_TIMER) {
        ownerTimers++;
        if (scriptStep < script.size()) script[scriptStep++]();
        return 0;
    }
    if ((message >= WM_KEYDOWN && message <= WM_IME_COMPOSITION) ||
        (message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK) || message == WM_CLOSE) {
        ownerInput++;
        return 0;
    }
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static SdlWindow* Box() {
    int32_t boxClass = ClassTableFind(&sdlWindows.classes, "VqMessageBox");
    for (SdlWindow& w : sdlWindows.windows) {
        if (w.handle && w.classIndex == boxClass) return &w;
    }
    return nullptr;
}

static uint32_t BoxId() {
    return Box() ? Box()->sdlId : 0;
}

// A point inside a button: the buttons sit side by side in the bottom-right corner, No on the right.
static void ButtonPoint(bool no, int32_t* x, int32_t* y) {
    int w = 0, h = 0;
    SDL_GetWindowSize(Box()->window, &w, &h);
    *x = no ? w - 40 : w - 130;
    *y = h - 26;
}

namespace {

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) PlatformRegisterClass("Test_Owner", OwnerProc, 0, 0, 0);
        registered = true;
        owner = PlatformCreateWindow("Test_Owner", "Owner", WS_SYSMENU, ownerX, ownerY, ownerWidth,
                                     ownerHeight, 0, 0);
        ASSERT_NE(owner, 0u);
        PlatformShowWindow(owner, SW_SHOWNORMAL);
        PlatformSetTimer(owner, 1, 5);
        ownerTimers = ownerInput = 0;
        script.clear();
        scriptStep = 0;
    }
    void TearDown() override { PlatformDestroyWindow(owner); }
    uint32_t OwnerId() { return SdlFind(owner)->sdlId; }
    int32_t Ask() { return PlatformMessageBox(owner, "\xC1\xBE\xB7\xE1?", "Velquist", MB_YESNO); }

    WindowHandle owner = 0;
};

} // namespace

TEST_F(MessageBoxTest, CentredOnItsOwnerWhoseTimersRunAndWhoseInputIsHeldBack) {
    int boxX = 0, boxY = 0, boxW = 0, boxH = 0;
    script = {
        [&] {
            SDL_GetWindowPosition(Box()->window, &boxX, &boxY);
            SDL_GetWindowSize(Box()->window, &boxW, &boxH);
            SendButton(OwnerId(), SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10);
            SendButton(OwnerId(), SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10);
        },
        [&] {
            SendWindowEvent(OwnerId(), SDL_WINDOWEVENT_CLOSE);
        }, // the owner's close button does nothing while the question is open
        [] {},
        [&] { SendKey(OwnerId(), SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE); }, // keys go to the box
    };
    EXPECT_EQ(Ask(), IDNO);
    EXPECT_EQ(scriptStep, script.size());
    EXPECT_GE(ownerTimers, 4) << "the owner's timers keep running";
    EXPECT_EQ(ownerInput, 0) << "no mouse, key or close reached the owner";
    EXPECT_NEAR(boxX + boxW / 2, ownerX + ownerWidth / 2, 1);
    EXPECT_NEAR(boxY + boxH / 2, ownerY + ownerHeight / 2, 1);
    EXPECT_EQ(Box(), nullptr) << "the box is gone once answered";
}

TEST_F(MessageBoxTest, KeysAndClicksAnswer) {
    struct Case {
        const char* name;
        std::vector<std::function<void()>> steps;
        int32_t answer;
    };
    auto key = [](SDL_Keycode k, SDL_Scancode s) { return [k, s] { SendKey(BoxId(), SDL_KEYDOWN, s, k); }; };
    auto click = [](bool no, uint32_t type) {
        return [no, type] {
            int32_t x, y;
            ButtonPoint(no, &x, &y);
            SendButton(BoxId(), type, SDL_BUTTON_LEFT, x, y);
        };
    };
    const Case cases[] = {
        {"Return presses Yes, the first button", {key(SDLK_RETURN, SDL_SCANCODE_RETURN)}, IDYES},
        {"Escape answers No", {key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)}, IDNO},
        {"Right moves to No",
         {key(SDLK_RIGHT, SDL_SCANCODE_RIGHT), key(SDLK_RETURN, SDL_SCANCODE_RETURN)},
         IDNO},
        {"Y answers Yes", {key(SDLK_y, SDL_SCANCODE_Y)}, IDYES},
        {"N answers No", {key(SDLK_n, SDL_SCANCODE_N)}, IDNO},
        {"a click on Yes", {click(false, SDL_MOUSEBUTTONDOWN), click(false, SDL_MOUSEBUTTONUP)}, IDYES},
        {"a click on No", {click(true, SDL_MOUSEBUTTONDOWN), click(true, SDL_MOUSEBUTTONUP)}, IDNO},
        {"pressed on Yes, released on No: no answer yet",
         {click(false, SDL_MOUSEBUTTONDOWN), click(true, SDL_MOUSEBUTTONUP),
          key(SDLK_SPACE, SDL_SCANCODE_SPACE)},
         IDYES},
        {"the box's own close is No", {[] { SendWindowEvent(BoxId(), SDL_WINDOWEVENT_CLOSE); }}, IDNO},
    };
    for (const Case& c : cases) {
        script.clear();
        scriptStep = 0;
        script = c.steps;
        EXPECT_EQ(Ask(), c.answer) << c.name;
        EXPECT_EQ(scriptStep, script.size()) << c.name;
    }
}

TEST(MessageBoxLabels, KoreanWhenTheFirstSetLocaleVariableIsKorean) {
    struct Case {
        const char *all, *messages, *lang;
        bool korean;
    } cases[] = {
        {nullptr, nullptr, "ko_KR.UTF-8", true},
        {nullptr, nullptr, "C", false},
        {nullptr, nullptr, nullptr, false},
        {"", "", "ko_KR.eucKR", true},
        {"C", nullptr, "ko_KR.UTF-8", false},
        {nullptr, "ko_KR.UTF-8", "en_US.UTF-8", true},
        {"POSIX", "ko", "ko", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KoreanSession(c.all, c.messages, c.lang), c.korean)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}
