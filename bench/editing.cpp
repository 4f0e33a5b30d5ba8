// Editing operations as a user starts them, each against a memcpy of the bytes it handles: Ctrl+A over a
// 4 KB edit buffer and the field's redraw, a 63 KB paste (as much as the headless clipboard holds) into a
// text log, and Ctrl+Z taking back a run of 100 typed characters.
#include <benchmark/benchmark.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench/ratios.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/text_log.h"
#include "toolkit/input/edit_history.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/window/window_table.h"

enum : uint32_t {
    fieldBytes = 4096,
    pasteLines = 1008,
    pasteBytes = pasteLines * 64,
    typedRun = 100,
    ctrlA = 1,
    ctrlZ = 26
};

static void StartHeadless() {
    HeadlessReset();
    HeadlessSetPixelFormat565(1);
    InitDisplay();
}

static uint32_t Press(Control* owner, EditBuffer* buffer, uint32_t character) {
    return EditInput(0, nullptr, owner, buffer, EditInputMode::Character, character, 1);
}

// Mixed Latin and two-byte Korean ("가나다 ") text of bytes length.
static std::string MixedText(uint32_t bytes) {
    static const char piece[] = "Velquist \xB0\xA1\xB3\xAA\xB4\xD9 ";
    std::string text;
    while (text.size() + sizeof piece - 1 <= bytes) text += piece;
    text.append(bytes - text.size(), 'x');
    return text;
}

static void BM_SelectAllAndRedraw(benchmark::State& state) {
    StartHeadless();
    WindowRecord window = {};
    EditField field;
    std::vector<char> text(fieldBytes + 1, 0);
    std::string initial = MixedText(fieldBytes);
    memcpy(text.data(), initial.data(), initial.size());
    Extent e = {0, 0, 300, 24};
    InitEditField(&field, &e, editFieldFrame | editFieldSunkenFrame, text.data(), fieldBytes + 1);
    field.edit.flags |= selectText | keepCaretInView;
    field.edit.originX = 4;
    field.edit.originY = 4;
    field.edit.caret = fieldBytes;
    window.focusControl = &field.header;
    for (auto _ : state) {
        field.edit.selectionAnchor = field.edit.caret; // nothing selected
        Press(&field.header, &field.edit, ctrlA);
        DrawEditField(&window, &field.header);
        benchmark::ClobberMemory();
    }
    DestroyControl(&field.header);
}
BENCHMARK(BM_SelectAllAndRedraw);

static void BM_PasteIntoTextLog(benchmark::State& state) {
    StartHeadless();
    // UTF-8 on the clipboard as full as it takes: lines of 64 bytes of code page 949 each ("가", 60 x and
    // CR LF), 65 of UTF-8.
    std::string utf8;
    while (utf8.size() < pasteLines * 65) utf8 += "\xEA\xB0\x80" + std::string(60, 'x') + "\r\n";
    HeadlessSetClipboardUtf8(utf8.c_str());
    TextLog log = {};
    Extent e = {0, 0, 400, 200};
    InitTextLog(&log, &e, textLogFrame, nullptr, 128, 2048);
    std::vector<char> buffer(2 * pasteBytes);
    for (auto _ : state) {
        state.PauseTiming();
        ResetTextLog(&log);
        state.ResumeTiming();
        ClipboardRead read = {};
        int32_t n = PlatformGetClipboardText(0, buffer.data(), static_cast<uint32_t>(buffer.size()), &read);
        if (n <= 0) {
            state.SkipWithError("nothing on the clipboard");
            break;
        }
        InsertTextLogText(&log, buffer.data(), static_cast<uint32_t>(n), log.currentLine, 0);
        benchmark::ClobberMemory();
    }
    DestroyControl(&log.header);
}
BENCHMARK(BM_PasteIntoTextLog);

static void BM_UndoTypedRun(benchmark::State& state) {
    StartHeadless();
    Control owner = {};
    EditBuffer edit = {};
    EditHistory history = {};
    std::vector<char> text(256, 0);
    owner.kind = kindEditField;
    owner.editBuffer = &edit;
    edit.flags = insertMode | undoKeys;
    edit.text = text.data();
    edit.capacity = static_cast<uint32_t>(text.size());
    edit.history = &history;
    for (auto _ : state) {
        state.PauseTiming();
        history = {};
        memset(text.data(), 0, text.size());
        edit.caret = 0;
        for (uint32_t i = 0; i < typedRun; i++) Press(&owner, &edit, 'a' + i % 26);
        state.ResumeTiming();
        Press(&owner, &edit, ctrlZ);
        benchmark::ClobberMemory();
    }
    if (text[0] != 0) state.SkipWithError("the run was not taken back");
}
BENCHMARK(BM_UndoTypedRun);

// The reference: copying the bytes the operation handles.
static void BM_EditingMemcpy(benchmark::State& state) {
    std::vector<uint8_t> from(static_cast<size_t>(state.range(0)), 1), to(from.size());
    for (auto _ : state) {
        memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EditingMemcpy)->Arg(fieldBytes)->Arg(pasteBytes)->Arg(typedRun);

VQ_INFO_RATIO("editing: Ctrl+A over 4 KB and the field's redraw vs memcpy of 4 KB", "BM_SelectAllAndRedraw",
              "BM_EditingMemcpy/4096");
VQ_INFO_RATIO("editing: clipboard paste of 63 KB into a text log vs memcpy", "BM_PasteIntoTextLog",
              "BM_EditingMemcpy/64512");
VQ_INFO_RATIO("editing: Ctrl+Z over 100 typed characters vs memcpy of 100 bytes", "BM_UndoTypedRun",
              "BM_EditingMemcpy/100");
