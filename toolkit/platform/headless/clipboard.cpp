// The headless clipboard: UTF-8 in memory, as a real system keeps it, so pastes meet the same conversion.
#include <string.h>

#include "toolkit/platform/common/clipboard_text.h"
#include "toolkit/platform/headless/headless.h"

static char clipboard[headlessClipboardSize]; // zero-terminated UTF-8

int32_t PlatformSetClipboardText(WindowHandle, const char* text, uint32_t length) {
    static char converted[headlessClipboardSize];
    int32_t size = text ? ClipboardCp949ToUtf8(text, length, converted, sizeof converted) : -1;
    if (size < 0) return 0;
    memcpy(clipboard, converted, static_cast<size_t>(size) + 1);
    return 1;
}

int32_t PlatformGetClipboardText(WindowHandle, char* buffer, uint32_t capacity, ClipboardRead* read) {
    return ClipboardUtf8ToCp949(clipboard, buffer, capacity, read);
}

int32_t HeadlessSetClipboardUtf8(const char* utf8) {
    if (!utf8) utf8 = "";
    size_t length = strlen(utf8);
    if (length >= sizeof clipboard) return 0;
    memcpy(clipboard, utf8, length + 1);
    return 1;
}

const char* HeadlessClipboardUtf8() {
    return clipboard;
}
