// Key order on the SDL backend with an injected clock and no display: what the input method and SDL report,
// step by step, and the messages that go on, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/platform/sdl/key_order.h"
#include "toolkit/platform/sdl/raw_keys.h"

static std::vector<std::string> out;

static int32_t Record(WindowHandle, uint32_t message, WParam wParam, LParam lParam) {
    const char* name = message == WM_KEYDOWN                        ? "down"
                       : message == WM_KEYUP                        ? "up"
                       : message == WM_CHAR                         ? "char"
                       : message == WM_IME_STARTCOMPOSITION         ? "start"
                       : lParam == static_cast<LParam>(GCS_COMPSTR) ? "composing"
                                                                    : "commit";
    out.push_back(std::string(name) + " " + std::to_string(wParam));
    return 1;
}

enum : WParam { han = 0xC7D1, geul = 0xB1DB, yo = 0xBFE4, ga = 0xB0A1 };

namespace {
struct Step {
    char what; // k key down, u key up, h typed character, c composing (0: none), t commit + text end, r raw
               // key, l raw letter, R reported, s settle, d drop, e expire
    uint64_t value;
    uint64_t now;
};
struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> want;
};
} // namespace

static void Apply(KeyOrder* o, const Step& s) {
    PlatformMessage m = {1, s.what == 'u' ? WM_KEYUP : WM_KEYDOWN, s.value, 1};
    switch (s.what) {
    case 'h':
        m.message = WM_CHAR;
        KeyOrderKey(o, &m, s.now);
        break;
    case 'k':
    case 'u':
        KeyOrderKey(o, &m, s.now);
        break;
    case 'c':
        KeyOrderComposing(o, 1, s.value == 0, s.value);
        break;
    case 't':
        KeyOrderCommit(o, 1, s.value);
        KeyOrderTextEnd(o, true);
        break;
    case 'r':
        KeyOrderRawKey(o, 1, static_cast<uint32_t>(s.value), 0, s.now);
        break;
    case 'l':
        KeyOrderRawLetter(o, s.now);
        break;
    case 'R':
        KeyOrderReported(o);
        break;
    case 's':
        KeyOrderSettle(o, s.now);
        break;
    case 'd':
        KeyOrderDrop(o);
        break;
    case 'e':
        KeyOrderExpire(o, s.now);
        break;
    }
}

TEST(KeyOrder, KeysWaitForTheCommitTheyEndedAndNoLongerThanTheDeadline) {
    const Case cases[] = {
        {"a key that ends a composition follows its commit",
         {{'c', han, 0}, {'k', 32, 10}, {'u', 32, 20}, {'c', 0, 30}, {'t', han, 40}},
         {"start 0", "composing 51153", "composing 0", "commit 51153", "down 32", "up 32"}},
        {"without a commit the key goes on at the deadline, not before",
         {{'c', han, 0},
          {'k', 13, 100},
          {'e', 0, 100 + keyOrderWaitMilliseconds - 1},
          {'e', 0, 100 + keyOrderWaitMilliseconds}},
         {"start 0", "composing 51153", "down 13"}},
        {"a typed character left waiting clears the composition: the input method let it go",
         {{'c', han, 0},
          {'k', 'a', 100},
          {'h', 'a', 100},
          {'e', 0, 100 + keyOrderWaitMilliseconds},
          {'t', han, 900}},
         {"start 0", "composing 51153", "composing 0", "down 97", "char 97", "commit 51153"}},
        {"a swallowed key is replayed after the commit; one SDL reported is not",
         {{'c', han, 0}, {'r', 32, 5}, {'s', 0, 5}, {'t', han, 9}, {'r', 13, 12}, {'R', 0, 12}},
         {"start 0", "composing 51153", "commit 51153", "down 32", "up 32"}},
        {"a replayed key is released once: SDL's report of the release goes nowhere, the next one's goes on",
         {{'r', 45, 0}, {'s', 0, 0}, {'u', 45, 1}, {'r', 45, 2}, {'R', 0, 2}, {'u', 45, 3}},
         {"down 45", "up 45", "up 45"}},
        // clang-format off
        {"a press SDL reports, not a character, ends the wait for a replay's release that never came",
         {{'r', 45, 0}, {'s', 0, 0}, {'h', 45, 1}, {'u', 45, 1}, {'r', 45, 2}, {'s', 0, 2}, {'k', 45, 3}, {'u', 45, 3}},
         {"down 45", "up 45", "char 45", "down 45", "up 45", "down 45", "up 45"}},
        // clang-format on
        {"a commit while a letter is unanswered ends an earlier syllable",
         {{'c', han, 0},
          {'l', 0, 1},
          {'r', 32, 2},
          {'s', 0, 2},
          {'t', han, 3},
          {'c', 0xA4A1, 4},
          {'t', 0xA4A1, 5}},
         {"start 0", "composing 51153", "commit 51153", "start 0", "composing 42145", "commit 42145",
          "down 32", "up 32"}},
        {"the commit of a dropped composition goes nowhere, the next one goes on",
         {{'c', yo, 0}, {'k', 32, 1}, {'d', 0, 2}, {'t', yo, 3}, {'c', ga, 4}, {'t', ga, 5}},
         {"start 0", "composing 49124", "down 32", "start 0", "composing 45217", "commit 45217"}},
        {"a dropped composition that is never committed does not eat the next commit",
         {{'c', yo, 0}, {'d', 0, 1}, {'c', ga, 2}, {'t', yo, 3}},
         {"start 0", "composing 49124", "start 0", "composing 45217", "commit 49124"}},
    };
    for (const Case& c : cases) {
        KeyOrder o = {};
        o.output = Record;
        out.clear();
        for (const Step& s : c.steps) Apply(&o, s);
        EXPECT_EQ(out, c.want) << c.name;
        EXPECT_EQ(KeyOrderDeadline(&o), UINT64_MAX) << c.name << ": nothing waits any more";
    }
}

// A raw press types what the SDL key path types: Shift+Tab (no text in X) a Tab, Ctrl+Tab nothing.
TEST(RawKeys, CharacterAsTheKeyPathMakesIt) {
    const struct {
        bool tab, ctrl;
        uint32_t text, want;
    } table[] = {{true, false, 0, 9},      {true, false, 9, 9}, {true, true, 9, 0},
                 {false, false, 'a', 'a'}, {false, true, 1, 0}, {false, false, 27, 27},
                 {false, false, 0x7F, 0}};
    for (const auto& t : table) EXPECT_EQ(RawKeyCharacter(t.tab, t.ctrl, t.text), t.want) << t.text;
}
