// The text painter over arbitrary edit buffers: text in a block of exactly its capacity (terminated or not),
// carets past the end, negative and huge row spacings and origins, any composition bytes, with and without
// focus and caret, one row or wrapped, into surfaces of exactly stride × height bytes in both pixel formats.
#include <stdint.h>
#include <string.h>

#include <memory>

#include "fuzz/fuzz_input.h"
#include "toolkit/controls/text_painter.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/window/window_table.h"

namespace {

struct Input : FuzzInput {
    int32_t Signed(int32_t range) { return static_cast<int32_t>(Byte() % range) - range / 2; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = false;
    if (!started) {
        HeadlessReset();
        started = true;
    }
    Input in = {{data, size}};
    uint8_t setup = in.Byte();
    HeadlessSetPixelFormat565(setup & 1);
    Theme[pixelFormat] = setup & 1;
    Control control = {};
    CreateSurface(1 + in.Byte() % 80, 1 + in.Byte() % 48, &control.surface, nullptr);
    EditBuffer buffer = {};
    buffer.capacity = 1 + in.Byte() % 64;
    std::unique_ptr<char[]> text(new char[buffer.capacity]);
    for (uint32_t i = 0; i < buffer.capacity; i++) text[i] = static_cast<char>(in.Byte());
    buffer.text = setup & 2 ? nullptr : text.get();
    uint8_t flags = in.Byte();
    buffer.flags =
        (flags & (wrapText | insertMode)) | (flags & 0x20) << 3 | (flags & 0xC0) << 6; // the new bits
    buffer.selectionAnchor = in.Byte() % (buffer.capacity + 8);
    buffer.scrollX = in.Signed(400);
    buffer.caret = in.Byte() % (buffer.capacity + 8);
    buffer.rowSpacing = setup & 4 ? static_cast<int32_t>(in.Word()) : in.Signed(40);
    buffer.originX = setup & 8 ? static_cast<int32_t>(in.Word()) : in.Signed(100);
    buffer.originY = in.Signed(60);
    buffer.composition = in.Word();
    buffer.textColour = in.Word();
    buffer.backColour = setup & 16 ? 0xFFFFFFFFu : in.Word();
    LogFont font = {};
    font.lfHeight = -static_cast<int32_t>(8 + in.Byte() % 20);
    font.lfCharSet = 129;
    strcpy(font.lfFaceName, "NanumGothic");
    buffer.font = setup & 32 ? &font : nullptr;
    WindowRecord window = {};
    control.editBuffer = setup & 64 ? &buffer : nullptr;
    window.focusControl = setup & 128 ? &control : nullptr;
    caretBlinkCounter = in.Byte() & 1;
    PaintEditText(&window, &control, &buffer);
    EditOffsetAt(&control, &buffer, in.Signed(400), in.Signed(200));
    ReleaseSurface(&control.surface);
    return 0;
}
