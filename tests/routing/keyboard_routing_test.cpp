// Keyboard and input-method routing to the focused control, and the caret blink cycle.
#include "tests/dispatch/dispatching_window.h"
#include "toolkit/input/edit_buffer.h"
#include "toolkit/input/keyboard_routing.h"

namespace {

struct KeyCall {
    Control* control;
    uint32_t key;
    uint32_t data;
    bool operator==(const KeyCall&) const = default;
};

} // namespace

static std::vector<KeyCall> keyCalls;
static uint32_t keyAnswer;

static uint32_t RecordKey(WindowHandle, WindowRecord*, Control* c, uint32_t key, uint32_t data) {
    keyCalls.push_back({c, key, data});
    return keyAnswer;
}
namespace {

class KeyboardRoutingTest : public DispatchingTest {
  protected:
    void SetUp() override {
        DispatchingTest::SetUp();
        keyCalls.clear();
        keyAnswer = 0;
        caretBlinkCounter = 1;
        h = Create(clientSurface, {10, 20, 206, 126}, &w);
        memset(text, 0, sizeof text);
        buffer = {};
        buffer.flags = insertMode;
        buffer.text = text;
        buffer.capacity = sizeof text;
        field = NewControl(0, 0, 100, 20, takesFocus);
        field->editBuffer = &buffer;
        field->onKey = RecordKey; // never called for a control that edits text
        keyed = NewControl(0, 30, 100, 20, takesFocus);
        keyed->onKey = RecordKey;
        AddControl(field, w, addOnTop);
        AddControl(keyed, w, addOnTop);
    }
    // Delivers one message; returns how many paints it led to.
    int32_t Key(uint32_t message, WParam wParam, LParam lParam = 0) {
        int32_t paints = CountSeen(h, WM_PAINT);
        Deliver(h, message, wParam, lParam);
        EXPECT_EQ(LastResult(message), 0) << "message " << message;
        return CountSeen(h, WM_PAINT) - paints;
    }
    WindowHandle h = 0;
    WindowRecord* w = nullptr;
    char text[8];
    EditBuffer buffer;
    Control* field = nullptr;
    Control* keyed = nullptr;
};

} // namespace

TEST_F(KeyboardRoutingTest, KeysReachOnKeyOfAControlWithoutText) {
    // Without a focused control all four messages are consumed silently.
    EXPECT_EQ(Key(WM_KEYDOWN, 65), 0);
    EXPECT_EQ(Key(WM_CHAR, 'a'), 0);
    EXPECT_TRUE(keyCalls.empty());

    w->focusControl = keyed;
    keyAnswer = 0x1FF;
    EXPECT_EQ(Key(WM_KEYDOWN, vkControl, 0x001D0001), 1) << "0x1FF asks for a redraw";
    keyAnswer = 0x40;
    EXPECT_EQ(Key(WM_KEYUP, vkControl, static_cast<LParam>(0xC01D0001u)), 0) << "0x40 asks for none";
    EXPECT_EQ(keyCalls, (std::vector<KeyCall>{{keyed, 17, 0x001D0001}, {keyed, 17, 0xC01D0001u}}));
    // Characters and compositions are swallowed by such a control.
    keyAnswer = 0x30;
    EXPECT_EQ(Key(WM_CHAR, 'a'), 0);
    EXPECT_EQ(Key(WM_IME_COMPOSITION, 0xB0A1, GCS_COMPSTR), 0);
    EXPECT_EQ(keyCalls.size(), 2u);
    EXPECT_EQ(caretBlinkCounter, 1u) << "only the line editor restarts the caret cycle";

    // Without onKey as well, everything is swallowed.
    keyed->onKey = nullptr;
    EXPECT_EQ(Key(WM_KEYDOWN, 65), 0);
    EXPECT_EQ(DispatchToolkitMessage(h, WM_SYSKEYDOWN, 18, 0), -1) << "not one of the four";
}

TEST_F(KeyboardRoutingTest, TextControlsGetTheLineEditor) {
    w->focusControl = field;
    EXPECT_EQ(Key(WM_CHAR, 'a'), 1);
    EXPECT_EQ(Key(WM_CHAR, 0x142), 1) << "only the low byte is the character";
    EXPECT_STREQ(text, "aB");
    EXPECT_EQ(buffer.caret, 2u);
    EXPECT_EQ(caretBlinkCounter, 3u);

    // Bytes of two-byte characters never come as characters: dropped without a redraw or caret restart.
    caretBlinkCounter = 0;
    for (WParam byte : {0xB0, 0x80, 0x1FF}) EXPECT_EQ(Key(WM_CHAR, byte), 0) << byte;
    EXPECT_STREQ(text, "aB");
    EXPECT_EQ(caretBlinkCounter, 0u);

    EXPECT_EQ(Key(WM_KEYDOWN, vkLeft), 1);
    EXPECT_EQ(buffer.caret, 1u);
    // A key release reaches the editor, which ignores it; the caret cycle restarts all the same.
    caretBlinkCounter = 0;
    EXPECT_EQ(Key(WM_KEYUP, vkLeft, static_cast<LParam>(0xC0000001u)), 0);
    EXPECT_EQ(caretBlinkCounter, 3u);
    EXPECT_EQ(buffer.caret, 1u);
    // Insert toggles the mode without a redraw.
    caretBlinkCounter = 0;
    EXPECT_EQ(Key(WM_KEYDOWN, vkInsert), 0);
    EXPECT_EQ(buffer.flags & insertMode, 0u);
    EXPECT_EQ(caretBlinkCounter, 3u);
    EXPECT_TRUE(keyCalls.empty()) << "onKey of a text control is never called";

    // A buffer without text takes nothing.
    buffer.text = nullptr;
    caretBlinkCounter = 0;
    EXPECT_EQ(Key(WM_CHAR, 'x'), 0);
    EXPECT_EQ(Key(WM_KEYDOWN, vkRight), 0);
    EXPECT_EQ(caretBlinkCounter, 0u);
    buffer.text = text;

    // Taking the focused control out of the window ends its keyboard input.
    RemoveControl(w, field);
    EXPECT_EQ(w->focusControl, nullptr);
    EXPECT_EQ(Key(WM_CHAR, 'z'), 0);
    EXPECT_STREQ(text, "aB");
}

TEST_F(KeyboardRoutingTest, CompositionIsStoredLeadByteFirstAndResultsAreInserted) {
    w->focusControl = field;
    const uint8_t ga[4] = {0xB0, 0xA1, 0, 0};
    const uint8_t wide[4] = {0xB0, 0xA1, 0x34, 0x12};
    caretBlinkCounter = 0;
    EXPECT_EQ(Key(WM_IME_COMPOSITION, 0xB0A1, GCS_COMPSTR), 1);
    EXPECT_EQ(memcmp(&buffer.composition, ga, 4), 0);
    EXPECT_EQ(caretBlinkCounter, 0u) << "a composition in progress does not touch the caret";
    EXPECT_STREQ(text, "");
    Key(WM_IME_COMPOSITION, 0x1234B0A1, GCS_COMPSTR);
    EXPECT_EQ(memcmp(&buffer.composition, wide, 4), 0) << "the two high bytes stay";

    // GCS_RESULTSTR combined with other bits is still a composition in progress.
    HeadlessSetImeString(GCS_RESULTSTR, "\xB0\xA2", 2);
    Key(WM_IME_COMPOSITION, 0xB0A1, GCS_RESULTSTR | GCS_COMPSTR);
    EXPECT_EQ(memcmp(&buffer.composition, ga, 4), 0);
    EXPECT_STREQ(text, "");
    // An empty composition clears the overlay.
    Key(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    EXPECT_EQ(buffer.composition, 0u);

    // The finished composition is fetched and inserted.
    buffer.composition = 0xA1B0;
    EXPECT_EQ(Key(WM_IME_COMPOSITION, 0, GCS_RESULTSTR), 1);
    EXPECT_STREQ(text, "\xB0\xA2");
    EXPECT_EQ(buffer.caret, 2u);
    EXPECT_EQ(buffer.composition, 0u);
    EXPECT_EQ(caretBlinkCounter, 3u);
    // At most four bytes are fetched.
    HeadlessSetImeString(GCS_RESULTSTR, "\xB0\xA3\xB0\xA4\xB0\xA5", 6);
    Key(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    EXPECT_STREQ(text, "\xB0\xA2\xB0\xA3\xB0\xA4");

    // A failed fetch changes nothing: no text, no caret restart, no redraw, the overlay stays.
    HeadlessSetImeString(GCS_RESULTSTR, nullptr, -1);
    caretBlinkCounter = 0;
    buffer.composition = 0xA1B0;
    EXPECT_EQ(Key(WM_IME_COMPOSITION, 0, GCS_RESULTSTR), 0);
    EXPECT_STREQ(text, "\xB0\xA2\xB0\xA3\xB0\xA4");
    EXPECT_EQ(caretBlinkCounter, 0u);
    EXPECT_EQ(buffer.composition, 0xA1B0u);
}

TEST_F(KeyboardRoutingTest, CaretBlinkCountsDownThenToggles) {
    PlatformShowWindow(h, SW_SHOWNORMAL);
    HeadlessPump();
    w->focusControl = field;
    Key(WM_CHAR, 'a');
    ASSERT_EQ(caretBlinkCounter, 3u);
    auto tick = [&] {
        field->flags &= ~redrawBits;
        int32_t queued = HeadlessQueueLength();
        CaretBlinkTick();
        bool redrawn = (field->flags & contentDirty) && HeadlessQueueLength() == queued + 1;
        HeadlessPump();
        return redrawn;
    };
    // Hidden on the third call, then toggled on every call.
    for (auto [redrawn, counter] : {std::pair{false, 2u}, {false, 1u}, {true, 0u}, {true, 1u}, {true, 0u}}) {
        EXPECT_EQ(tick(), redrawn);
        EXPECT_EQ(caretBlinkCounter, counter);
    }
    // A keystroke restarts the cycle.
    Key(WM_KEYDOWN, vkHome);
    EXPECT_EQ(caretBlinkCounter, 3u);

    // The text pointer is not looked at; a control without a buffer is not redrawn.
    caretBlinkCounter = 1;
    buffer.text = nullptr;
    EXPECT_TRUE(tick());
    w->focusControl = keyed;
    EXPECT_FALSE(tick());
    EXPECT_EQ(caretBlinkCounter, 1u);
    // Without an active toolkit window the counter still toggles.
    w->focusControl = field;
    PlatformShowWindow(h, SW_HIDE);
    ASSERT_EQ(PlatformActiveWindow(), 0u);
    EXPECT_FALSE(tick());
    EXPECT_EQ(caretBlinkCounter, 0u);
}
