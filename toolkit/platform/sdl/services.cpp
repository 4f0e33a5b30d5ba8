// SDL2 capture, message box, input-method strings, page and pixel memory.
#include <stdlib.h>
#include <string.h>

#include "toolkit/platform/sdl/state.h"

WindowHandle PlatformSetCapture(WindowHandle window) {
    WindowHandle previous = sdl.capture;
    if (SdlFind(window)) {
        sdl.capture = window;
        SDL_CaptureMouse(SDL_TRUE); // fails without keyboard focus; a held button still keeps the mouse
    }
    return previous;
}

int32_t PlatformReleaseCapture() {
    if (sdl.capture && sdl.videoState > 0) SDL_CaptureMouse(SDL_FALSE);
    sdl.capture = 0;
    return 1;
}

// SDL's box is modal: until it is answered, no message of the program's windows is handled.
int32_t PlatformMessageBox(WindowHandle window, const char* text, const char* caption, uint32_t) {
    if (!SdlStartVideo()) return 0;
    char message[1024], title[256];
    SdlCp949ToUtf8(text ? text : "", message, sizeof message);
    SdlCp949ToUtf8(caption ? caption : "", title, sizeof title);
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    SdlWindow* w = SdlFind(window);
    SDL_MessageBoxData data = {};
    data.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = w ? w->window : nullptr;
    data.title = title;
    data.message = message;
    data.numbuttons = 2;
    data.buttons = buttons;
    int answer = 0;
    if (SDL_ShowMessageBox(&data, &answer) != 0) return 0;
    // A box closed without an answer keeps things as they are.
    return answer == IDYES ? IDYES : IDNO;
}

int32_t PlatformImeString(WindowHandle window, uint32_t kind, char* destination, uint32_t size) {
    if (!SdlFind(window)) return -1;
    const char* source = kind == GCS_RESULTSTR ? sdl.imeResult : sdl.imeComposition;
    int32_t count = kind == GCS_RESULTSTR ? sdl.imeResultCount : sdl.imeCompositionCount;
    if (!destination || size == 0) return count;
    if (static_cast<uint32_t>(count) > size) count = static_cast<int32_t>(size);
    memcpy(destination, source, static_cast<size_t>(count));
    return count;
}

void* PlatformAllocatePages(size_t size) {
    if (size == 0) return nullptr;
    return calloc(1, size);
}

void PlatformFreePages(void* pages) {
    free(pages);
}

uintptr_t PlatformCreatePixels(int32_t width, int32_t height, uint32_t stride, uint8_t** pixels) {
    *pixels = nullptr;
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return 0;
    uint8_t* memory =
        static_cast<uint8_t*>(calloc(static_cast<size_t>(stride) * static_cast<size_t>(height), 1));
    if (!memory) return 0;
    *pixels = memory;
    return reinterpret_cast<uintptr_t>(memory);
}

void PlatformFreePixels(uintptr_t bitmap) {
    free(reinterpret_cast<void*>(bitmap));
}
