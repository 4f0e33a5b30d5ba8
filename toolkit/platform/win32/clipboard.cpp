// The clipboard as CF_UNICODETEXT, converted with code page 949 itself rather than the system's ANSI code
// page, so Korean text comes and goes whole on any system.
#include "toolkit/platform/win32/handles.h"

#include <string.h>

enum : UINT { koreanCodePage = 949 };

// Another program may hold the clipboard for a moment.
static bool OpenClipboardOf(WindowHandle window) {
    for (int attempt = 0; attempt < 10; attempt++) {
        if (OpenClipboard(AsWindow(window))) return true;
        Sleep(1);
    }
    return false;
}

int32_t PlatformSetClipboardText(WindowHandle window, const char* text, uint32_t length) {
    if (!text) return 0;
    uint32_t bytes = 0;
    while (bytes < length && text[bytes]) bytes++;
    if (bytes > 0x3FFFFFFF) return 0;
    int count = bytes ? MultiByteToWideChar(koreanCodePage, 0, text, static_cast<int>(bytes), nullptr, 0) : 0;
    if (bytes && count <= 0) return 0;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(count) + 1) * sizeof(WCHAR));
    if (!memory) return 0;
    WCHAR* wide = static_cast<WCHAR*>(GlobalLock(memory));
    if (!wide) {
        GlobalFree(memory);
        return 0;
    }
    if (bytes) MultiByteToWideChar(koreanCodePage, 0, text, static_cast<int>(bytes), wide, count);
    wide[count] = 0;
    GlobalUnlock(memory);
    bool placed = false;
    if (OpenClipboardOf(window)) {
        placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
    }
    if (!placed) GlobalFree(memory); // once placed, the clipboard owns it
    return placed ? 1 : 0;
}

// One character (one code unit, or a surrogate pair) as code page 949; 0 when the code page lacks it.
static int EncodeCharacter(const WCHAR* text, int units, char* bytes) {
    if (text[0] < 0x80) {
        bytes[0] = static_cast<char>(text[0]);
        return 1;
    }
    if (units != 1) return 0; // code page 949 holds nothing beyond the basic plane
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(koreanCodePage, WC_NO_BEST_FIT_CHARS, text, 1, bytes, 2, "?", &usedDefault);
    return usedDefault ? 0 : n;
}

// The wide text (up to its zero or its end) as code page 949 into buffer, by PlatformGetClipboardText's
// rules.
static int32_t ToCodePage949(const WCHAR* text, SIZE_T end, char* buffer, uint32_t capacity,
                             ClipboardRead* counts) {
    uint32_t written = 0;
    for (SIZE_T i = 0; i < end && text[i];) {
        int units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < end && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            units = 2;
        char bytes[2] = {'?', 0};
        uint32_t n = static_cast<uint32_t>(EncodeCharacter(text + i, units, bytes));
        uint32_t lacking = n == 0;
        if (lacking) {
            bytes[0] = '?';
            n = 1;
        }
        i += units;
        // Once one character is left out, so is everything after it.
        if (counts->leftOut == 0 && written + n < capacity) {
            memcpy(buffer + written, bytes, n);
            written += n;
            counts->replaced += lacking;
        } else {
            counts->leftOut += n;
        }
    }
    return static_cast<int32_t>(written);
}

int32_t PlatformGetClipboardText(WindowHandle window, char* buffer, uint32_t capacity, ClipboardRead* read) {
    ClipboardRead counts = {0, 0};
    int32_t written = 0;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboardOf(window)) {
        if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
            if (const WCHAR* text = static_cast<const WCHAR*>(GlobalLock(memory))) {
                // Another program's data may lack its zero: the block's size bounds it.
                written = ToCodePage949(text, GlobalSize(memory) / sizeof(WCHAR), buffer, capacity, &counts);
                GlobalUnlock(memory);
            }
        }
        CloseClipboard();
    }
    if (capacity > 0) buffer[written] = 0;
    if (read) *read = counts;
    return written;
}
