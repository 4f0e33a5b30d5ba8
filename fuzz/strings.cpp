// The code-page-949 string routines with random positions, counts and sizes over random texts. Every buffer
// is a heap block of exactly the size the routine is given, so AddressSanitizer reports any stray byte;
// results are checked against simple models built on std::string.
#include "fuzz/fuzz_input.h"
#include "util/dbcs_string.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

namespace {

struct Input : FuzzInput {
    // Mostly small numbers around the text, sometimes anything.
    uint32_t Position(size_t around) {
        uint8_t how = Byte();
        if (how < 8) return Word();
        return static_cast<uint32_t>(Byte() % (around + 4));
    }
};

} // namespace

// A heap block of exactly size bytes.
static std::unique_ptr<char[]> Block(size_t size) {
    return std::unique_ptr<char[]>(new char[size]);
}

// A zero-terminated copy of text in a block of exactly text.size() + 1 bytes.
static std::unique_ptr<char[]> Terminated(const std::string& text) {
    auto b = Block(text.size() + 1);
    memcpy(b.get(), text.c_str(), text.size() + 1);
    return b;
}

// Text as the routines see it: up to its first zero byte.
static std::string Visible(const std::string& text) {
    return std::string(text.c_str());
}

static uint32_t ModelClass(const std::string& text, uint32_t position) {
    uint32_t state = 0;
    for (uint32_t i = 0; i <= text.size(); i++) {
        uint8_t b = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
        state = state == 2 ? 3 : (b > 0x80 ? 2 : 0);
        if (i == position) return state;
    }
    return 0;
}

// The insert described for the line editor: the first size - 1 bytes of (padded text before the position)
// + input + (text from the position on).
static std::string ModelInsert(std::string text, const std::string& input, uint32_t position, uint32_t size) {
    if (position >= size || input.empty()) return text;
    if (text.size() > size) text.resize(size);
    if (position > text.size()) text.append(position - text.size(), ' ');
    std::string result = text.substr(0, position) + input + text.substr(position);
    if (result.size() > size - 1) result.resize(size - 1);
    return result;
}

static void CheckCopyAndLength(Input& in, const std::string& a) {
    uint32_t size = in.Position(a.size());
    if (size > 4096) size = 4096;
    auto source = Terminated(a);
    auto out = Block(size);
    uint32_t n = CopyString(source.get(), out.get(), size);
    std::string visible = Visible(a);
    if (size == 0) return CHECK(n == 0);
    CHECK(n == std::min<size_t>(visible.size(), size - 1));
    CHECK(memcmp(out.get(), visible.data(), n) == 0 && out[n] == 0);
    uint32_t bound = in.Position(a.size());
    CHECK(StringLength(source.get(), bound) == std::min<size_t>(visible.size(), bound));
}

static void CheckInsert(Input& in, const std::string& a, const std::string& b) {
    uint32_t size = std::min<uint32_t>(in.Position(a.size() + b.size()), 4096);
    uint32_t position = in.Position(size);
    uint8_t mode = in.Byte();
    uint32_t count = mode & 1 ? kWholeString : in.Position(b.size());
    // The destination holds a, cut to its size; with mode bit 1 it may have no zero byte at all.
    auto destination = Block(size);
    std::string old = Visible(a);
    if (!(mode & 2) && size > 0 && old.size() > size - 1) old.resize(size - 1);
    if (old.size() > size) old.resize(size);
    memcpy(destination.get(), old.data(), old.size());
    if (old.size() < size) destination[old.size()] = 0;
    // A counted source is a block of exactly count bytes without a zero byte when b is long enough.
    std::string taken = Visible(b);
    if (count != kWholeString && count < taken.size()) taken.resize(count);
    std::unique_ptr<char[]> source;
    if (count != kWholeString && count == taken.size() && count > 0) {
        source = Block(count);
        memcpy(source.get(), taken.data(), count);
    } else {
        source = Terminated(taken);
    }
    uint32_t n = InsertString(source.get(), destination.get(), position, count, size);
    if (position >= size) return CHECK(n == taken.size());
    std::string expected = ModelInsert(old, taken, position, size);
    CHECK(StringLength(destination.get(), size) == expected.size());
    CHECK(memcmp(destination.get(), expected.data(), expected.size()) == 0);
    if (taken.empty()) return CHECK(n == 0);
    CHECK(n == std::min<uint64_t>(taken.size(), size - 1 - position));
}

static void CheckAppendAndCompare(Input& in, const std::string& a, const std::string& b) {
    std::string va = Visible(a), vb = Visible(b);
    auto destination = Block(va.size() + vb.size() + 1);
    memcpy(destination.get(), va.c_str(), va.size() + 1);
    CHECK(AppendString(destination.get(), Terminated(b).get()) == vb.size());
    CHECK(destination.get() == va + vb);

    uint32_t flags = in.Byte();
    auto sa = Terminated(a), sb = Terminated(b);
    int32_t ab = CompareStrings(sa.get(), sb.get(), flags);
    CHECK(ab == -CompareStrings(sb.get(), sa.get(), flags));
    CHECK(CompareStrings(sa.get(), sa.get(), flags) == 0);
    auto fold = [flags](std::string s) {
        if (flags & ignoreCase)
            for (char& c : s)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
        return s;
    };
    std::string fa = fold(va), fb = fold(vb);
    int expected;
    if ((flags & lengthFirst) && fa.size() != fb.size())
        expected = fa.size() > fb.size() ? 1 : -1;
    else
        expected = fa < fb ? -1 : (fa > fb ? 1 : 0); // std::string compares bytes as unsigned
    CHECK(ab == expected);
}

static void CheckClassifyAndCount(Input& in, const std::string& a) {
    auto text = Terminated(a);
    std::string visible = Visible(a);
    for (int i = 0; i < 4; i++) {
        uint32_t position = in.Position(visible.size());
        CHECK(ClassifyPosition(text.get(), position) == ModelClass(visible, position));
    }
    uint32_t limit = in.Position(a.size());
    uint64_t halves = 0;
    for (size_t i = 0; i < visible.size() && i < limit; i++)
        halves += static_cast<uint8_t>(visible[i]) < 0x80 ? 2 : 1;
    CHECK(CountCharacters(text.get(), limit) == halves / 2);
}

static void CheckSlotAndDelete(Input& in, const std::string& a) {
    uint32_t size = std::min<uint32_t>(in.Position(a.size()), 4096);
    if (size == 0) size = 1;
    std::string old = Visible(a);
    if (old.size() > size - 1) old.resize(size - 1);
    auto text = Block(size);
    memcpy(text.get(), old.c_str(), old.size() + 1);
    uint32_t position = in.Position(old.size());
    uint32_t flags = in.Byte() & 3;
    uint32_t cls = ModelClass(old, position);
    PrepareCharSlot(text.get(), size, position, flags);
    CHECK(StringLength(text.get(), size) < size);
    // The documented rule for when the slot may be written: it keeps the text terminated.
    uint32_t p = cls == kTrailByte ? position - 1 : position;
    uint32_t width = flags & kSlotTwoBytes ? 2 : 1;
    if (static_cast<uint64_t>(p) + width < size) {
        memset(text.get() + p, 'X', width);
        CHECK(StringLength(text.get(), size) < size);
    }

    std::string before = text.get();
    uint32_t at = in.Position(before.size()), count = in.Position(before.size());
    uint32_t r = DeleteBytes(text.get(), at, count);
    std::string expected = before;
    if (at <= before.size()) expected.erase(at, count);
    CHECK(text.get() == expected);
    CHECK(r == (at > before.size() || static_cast<uint64_t>(at) + count >= before.size()
                    ? before.size()
                    : before.size() - at - count + 1));
}

static void CheckTokensAndLines(Input& in, const std::string& a) {
    auto line = Terminated(a);
    std::string visible = Visible(a);
    uint32_t capacity = in.Byte() % 8;
    auto tokens = std::unique_ptr<Token[]>(new Token[capacity]);
    SetCommandLineText(line.get());
    uint32_t n = TokenizeCommandLine(tokens.get(), capacity);
    SetCommandLineText(nullptr);
    CHECK(n <= capacity);
    const char* end = line.get();
    for (uint32_t i = 0; i < n; i++) {
        CHECK(tokens[i].text >= end && tokens[i].length > 0);
        CHECK(tokens[i].text + tokens[i].length <= line.get() + visible.size());
        end = tokens[i].text + tokens[i].length;
    }

    const char* next = line.get();
    uint32_t lines = 0, returns = 0;
    for (char c : visible) returns += c == '\r';
    while (next != kNoNextLine) {
        CHECK(next >= line.get() && next < line.get() + visible.size() + 1);
        int32_t length = SplitLine(next, &next);
        CHECK(length >= -1);
        lines += length >= 0;
    }
    CHECK(lines <= returns + 1);
    CHECK(CountLines(line.get(), 0xFFFFFFFFu) == returns + 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // Two texts share the input after the first byte, which places the split.
    size_t split = data[0] % (size - 1);
    std::string a(reinterpret_cast<const char*>(data + 1), split);
    std::string b(reinterpret_cast<const char*>(data + 1 + split), size - 1 - split);
    // Parameters come from the same bytes read backwards, so every input drives every routine.
    std::string reversed(b.rbegin(), b.rend());
    reversed += std::string(a.rbegin(), a.rend());
    Input in = {{reinterpret_cast<const uint8_t*>(reversed.data()), reversed.size()}};
    CheckCopyAndLength(in, a);
    CheckInsert(in, a, b);
    CheckInsert(in, b, a);
    CheckAppendAndCompare(in, a, b);
    CheckClassifyAndCount(in, a);
    CheckSlotAndDelete(in, a);
    CheckSlotAndDelete(in, b);
    CheckTokensAndLines(in, a);
    return 0;
}
