// The system clipboard through SDL, which speaks UTF-8; the toolkit's side is code page 949.
#include "toolkit/platform/common/clipboard_text.h"
#include "toolkit/platform/sdl/window_table.h"

int32_t PlatformSetClipboardText(WindowHandle, const char* text, uint32_t length) {
    if (!text || !SdlStartVideo()) return 0;
    uint32_t size = ClipboardUtf8Size(length);
    if (size <= length) return 0; // a length near 4 GiB
    char* utf8 = static_cast<char*>(SDL_malloc(size));
    if (!utf8) return 0;
    int32_t done = ClipboardCp949ToUtf8(text, length, utf8, size) >= 0 && SDL_SetClipboardText(utf8) == 0;
    SDL_free(utf8);
    return done;
}

int32_t PlatformGetClipboardText(WindowHandle, char* buffer, uint32_t capacity, ClipboardRead* read) {
    // SDL gives an empty string, never null, when there is no text or it cannot be read.
    char* utf8 = SdlStartVideo() ? SDL_GetClipboardText() : nullptr;
    int32_t written = ClipboardUtf8ToCp949(utf8 ? utf8 : "", buffer, capacity, read);
    SDL_free(utf8);
    return written;
}
