// Process start-up values, page memory, the message box and the input method's result string.
#include "toolkit/platform/win32/handles.h"

uintptr_t PlatformModuleInstance() {
    return reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
}

const char* PlatformCommandLine() {
    return GetCommandLineA();
}

uint32_t PlatformCurrentDirectory(uint32_t size, char* destination) {
    return GetCurrentDirectoryA(size, destination);
}

void* PlatformAllocatePages(size_t size) {
    if (size == 0) return nullptr;
    // Committed pages read as zero.
    return VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void PlatformFreePages(void* pages) {
    if (pages) VirtualFree(pages, 0, MEM_RELEASE);
}

int32_t PlatformMessageBox(WindowHandle window, const char* text, const char* caption, uint32_t style) {
    return MessageBoxA(AsWindow(window), text, caption, style);
}

int32_t PlatformImeString(WindowHandle window, uint32_t kind, char* destination, uint32_t size) {
    HIMC context = ImmGetContext(AsWindow(window));
    if (!context) return -1;
    LONG count = ImmGetCompositionStringA(context, kind, destination, destination ? size : 0);
    ImmReleaseContext(AsWindow(window), context);
    // The count says how much was copied: never more than the destination holds.
    if (count > 0 && destination && static_cast<uint32_t>(count) > size) count = static_cast<LONG>(size);
    return count;
}

// The user's rows per notch; WHEEL_PAGESCROLL (a page per notch) comes through as it is.
uint32_t PlatformWheelScrollLines() {
    UINT lines = 3;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 3;
    return lines;
}
