// The whole application on the headless backend, driven as a user would and read off the screen.
#include <gtest/gtest.h>
#include <malloc.h>

#include <functional>
#include <vector>

#include "app/application.h"
#include "app/sprite.h"
#include "tests/support/toolkit_fixture.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VQ_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VQ_ASAN)
#include <sanitizer/allocator_interface.h>
static size_t HeapInUse() {
    return __sanitizer_get_current_allocated_bytes();
}
#else
static size_t HeapInUse() {
    return mallinfo2().uordblks;
}
#endif

static const uint32_t magenta = 0xFF00FF;
static const uint32_t ctrlDownData = 0x001D0001, ctrlUpData = 0xC01D0001;
namespace {

class AppScenario : public BothFormats {
  protected:
    std::vector<std::function<void()>> steps;
    size_t next = 0;
    WindowHandle window = 0;

    void SetUp() override {
        BothFormats::SetUp();
        keyState = 0;
        actionPending = 0;
        memset(static_cast<void*>(&sprite), 0, sizeof sprite);
        HeadlessSetCommandLine("\"C:\\Program Files\\Velquist\\velquist.exe\" -x");
    }
    void TearDown() override {
        for (Surface& s : spriteImages) ReleaseSurface(&s);
        ReleaseSurface(&backgroundTile);
        ReleaseSurface(&sprite.header.surface);
        BothFormats::TearDown();
    }
    static int32_t Idle(void* context) {
        AppScenario* self = static_cast<AppScenario*>(context);
        if (self->next >= self->steps.size()) return 0;
        self->steps[self->next++]();
        return 1;
    }
    int32_t Run() {
        HeadlessSetIdleHook(Idle, this);
        int32_t code = RunApplication(PlatformModuleInstance(), 0, PlatformCommandLine(), 10);
        HeadlessSetIdleHook(nullptr, nullptr);
        return code;
    }
    void Tick() { HeadlessAdvanceClock(100); }
    void Key(uint32_t data) {
        PlatformPostMessage(mainWindowHandle, data & 0x80000000u ? WM_KEYUP : WM_KEYDOWN, vkControl,
                            LParam(data));
    }
    uint32_t Screen(int32_t x, int32_t y) { return HeadlessScreenPixel(mainWindowHandle, x, y); }
    uint32_t TileAt(int32_t x, int32_t y) { return PixelAt(backgroundTile, x % 16, y % 16); }

    // The sprite image shows at (x, 48) through its key; elsewhere the screen shows the tile.
    void ExpectScreen(int image, int32_t spriteX, const char* what) {
        SCOPED_TRACE(what);
        const Surface& s = spriteImages[image];
        ASSERT_EQ(s.width, 96);
        uint32_t key = ColourToPixel(magenta);
        int mismatches = 0, keyed = 0;
        PlatformRect client;
        PlatformClientRect(mainWindowHandle, &client);
        for (int32_t y = 0; y < client.bottom; y++) {
            for (int32_t x = 0; x < client.right; x++) {
                uint32_t expected = TileAt(x, y);
                if (x >= spriteX && x < spriteX + 96 && y >= 48 && y < 48 + 128) {
                    uint32_t p = PixelAt(s, x - spriteX, y - 48);
                    if (p != key) expected = p;
                }
                uint32_t seen = Screen(x, y);
                mismatches += seen != expected;
                keyed += seen == key;
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(keyed, 0);
    }
};

} // namespace

TEST_P(AppScenario, StartsCentredTiledAndIdles) {
    steps.push_back([&] {
        window = mainWindowHandle;
        PlatformRect r;
        PlatformWindowRect(window, &r);
        EXPECT_EQ((std::vector{r.left, r.top, r.right, r.bottom}),
                  (std::vector{192, 144, 192 + 640, 144 + 480}));
        EXPECT_STREQ(HeadlessWindowTitle(window), "Velquist");
        EXPECT_TRUE(HeadlessWindowVisible(window));
        EXPECT_STREQ(programDirectory, "C:\\Program Files\\Velquist\\");
        EXPECT_EQ(mainWindowRecord->focusControl, &sprite.header);
        EXPECT_EQ(mainWindowRecord->maxWidth, 1024) << "created before the screen size was known";
        ASSERT_EQ(backgroundTile.width, 16);
        ExpectScreen(0, 13, "start-up");
        Tick();
    });
    const int cycle[] = {1, 2, 1, 0, 1, 2, 1, 0, 1, 2};
    for (int i = 0; i < 10; i++) {
        steps.push_back([&, i] {
            ExpectScreen(cycle[i], 13, "idle");
            Tick();
        });
    }
    steps.push_back([&] { PlatformPostMessage(mainWindowHandle, WM_CLOSE, 0, 0); });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
}

TEST_P(AppScenario, CtrlJumpsOnceAndLeavesNoTrace) {
    // Each step checks the screen the last tick left, then posts its keys ('d' Ctrl down, 'u' Ctrl up, 'a'
    // the A key) between ticks.
    struct Step {
        int image;
        int32_t x;
        const char* what;
        const char* keys;
    };
    static const Step script[] = {
        {0, 13, "a key alone shows nothing new", ""},
        {3, 13, "crouch", "d"}, // auto-repeat while held
        {4, 60, "jump", "d"},
        {0, 13, "idle again, nothing left at x 60", "d"},
        {1, 13, "holding the key plays the action once", "ud"},     // a new press
        {3, 13, "a new press plays again", "u"},                    // released between the steps
        {4, 60, "the release does not cut the action short", "du"}, // press and release between two ticks
        {0, 13, "a tap between ticks plays nothing", "a"},          // other keys change nothing
    };
    steps.push_back([&] { Key(ctrlDownData); });
    for (const Step& s : script) {
        steps.push_back([&] {
            ExpectScreen(s.image, s.x, s.what);
            for (const char* k = s.keys; *k; k++) {
                if (*k == 'a')
                    PlatformPostMessage(mainWindowHandle, WM_KEYDOWN, 65, 0);
                else
                    Key(*k == 'd' ? ctrlDownData : ctrlUpData);
            }
            Tick();
        });
    }
    steps.push_back([&] {
        ExpectScreen(1, 13, "other keys");
        PlatformPostMessage(mainWindowHandle, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(next, steps.size());
}

TEST_P(AppScenario, QuitQuestionNoAndEscapeKeepRunningYesEnds) {
    HeadlessPushMessageBoxAnswer(IDNO);
    HeadlessPushMessageBoxAnswer(IDCANCEL); // Escape on a Windows Yes/No box
    HeadlessPushMessageBoxAnswer(IDYES);
    steps.push_back([&] {
        window = mainWindowHandle;
        PlatformPostMessage(window, WM_CLOSE, 0, 0);
    });
    steps.push_back([&] {
        EXPECT_EQ(HeadlessMessageBoxCount(), 1);
        EXPECT_STREQ(HeadlessLastMessageBoxText(),
                     "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?");
        EXPECT_STREQ(HeadlessLastMessageBoxCaption(), "Velquist");
        EXPECT_TRUE(HeadlessWindowExists(window));
        Tick();
    });
    steps.push_back([&] {
        ExpectScreen(1, 13, "still animating after No");
        PlatformPostMessage(window, WM_CLOSE, 0, 0);
    });
    steps.push_back([&] {
        EXPECT_TRUE(HeadlessWindowExists(window)) << "Escape keeps the program running";
        PlatformPostMessage(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(HeadlessStalled());
    EXPECT_EQ(HeadlessMessageBoxCount(), 3);
    EXPECT_FALSE(HeadlessWindowExists(window));
    EXPECT_EQ(sprite.header.kind, 0u) << "the sprite was destroyed with the window";
    EXPECT_EQ(sprite.header.surface.pixels, nullptr);
}

VQ_BOTH_FORMATS(AppScenario);

// A day of animation on the virtual clock: the heap does not grow after the first minutes, and the idle
// cycle is still exact at the end of it.
TEST_P(AppScenario, ADayOfTicksKeepsTheHeapAndTheIdleCycle) {
    if (!GetParam()) GTEST_SKIP() << "one pixel format runs the clock; the other draws the same frames";
    enum : uint32_t { day = 24 * 60 * 60 * 10, warm = 3000 }; // ticks of 100 ms
    uint32_t ticks = 0;
    size_t warmHeap = 0, endHeap = 0;
    steps.push_back([&] {
        if (ticks == warm) warmHeap = HeapInUse();
        if (++ticks < day) next--; // this step again, after this tick
        Tick();
    });
    const int cycle[] = {0, 1, 2, 1, 0};
    for (int image : cycle) {
        steps.push_back([&, image] {
            ExpectScreen(image, 13, "after a day");
            Tick();
        });
    }
    steps.push_back([&] {
        endHeap = HeapInUse();
        PlatformPostMessage(mainWindowHandle, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ticks, static_cast<uint32_t>(day));
    // A byte a tick would be 861,000 bytes; the allowance is for the test's own bookkeeping.
    EXPECT_LE(endHeap, warmHeap + 4096) << "the heap grew over the day";
}

TEST(ProgramDirectory, CommandLinesAsTheSystemWritesThem) {
    struct Case {
        const char* line;
        const char* directory;
        uint32_t length;
    } cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\" -x", "C:\\Program Files\\App\\", 21},
        {"C:\\Tools\\app.exe/switch", "C:\\Tools\\", 9},
        {"app.exe", "", 0},
        {"C:app.exe", "C:\\", 2},
        {"\"\"", "", 0},
        {"\"   \" x", "", 0},
        {"\"  C:\\A\\b.exe\"", "C:\\A\\", 5},
        {"   \t D:\\x\\y.exe", "D:\\x\\", 5},
        {"", "", 0},
        {"\"C:\\unterminated\\a.exe", "C:\\unterminated\\", 16},
    };
    char destination[directorySize];
    for (const Case& c : cases) {
        memset(destination, 'z', sizeof destination);
        EXPECT_EQ(GetProgramDirectory(c.line, destination), c.length) << c.line;
        EXPECT_STREQ(destination, c.directory) << c.line;
    }
    std::string longPath = "C:\\" + std::string(300, 'd') + "\\app.exe";
    EXPECT_EQ(GetProgramDirectory(longPath.c_str(), destination), 304u);
    EXPECT_EQ(strlen(destination), 255u) << "cut to the buffer";
}

TEST(MainWindowPlacement, CentredAndNeverOffTheScreen) {
    auto place = [](int32_t width, int32_t height) {
        Extent e = MainWindowPlacement(width, height);
        return std::vector{e.x, e.y, e.width, e.height};
    };
    EXPECT_EQ(place(1024, 768), (std::vector{192, 144, 640, 480}));
    EXPECT_EQ(place(600, 400), (std::vector{0, 0, 640, 480}));
    EXPECT_EQ(place(641, 300), (std::vector{0, 0, 640, 480}));
}

TEST(AppStartUp, NoMainWindowEndsWithAFailureCode) {
    ResetToolkit();
    RegisterTestClass();
    Extent placement = {0, 0, 10, 10};
    for (int i = 0; i < windowSlots; i++) CreateToolkitWindow(0, "Test_Class", "", &placement, 0, 0, nullptr);
    EXPECT_EQ(RunApplication(PlatformModuleInstance(), 0, PlatformCommandLine(), 10), 1);
    EXPECT_EQ(mainWindowHandle, 0u);
    ResetToolkit();
}
