// Surface pixel memory as 16-bit DIB sections, the pixel-format probe and bitmap resources.
#include "toolkit/platform/win32/handles.h"

#include <string.h>

#include "toolkit/gfx/surface.h"

HDC OpenMemoryContext(WindowHandle window) {
    HDC screen = GetDC(AsWindow(window));
    HDC memory = CreateCompatibleDC(screen);
    if (screen) ReleaseDC(AsWindow(window), screen);
    return memory;
}

static bool Selected(HGDIOBJ previous) {
    return previous != nullptr && previous != HGDI_ERROR;
}

uintptr_t PlatformCreatePixels(int32_t width, int32_t height, uint32_t stride, uint8_t** pixels) {
    *pixels = nullptr;
    if (width <= 0 || height <= 0) return 0;
    // DIB rows are padded to 32 bits, like surface rows; refuse anything that would not line up.
    if (stride != (static_cast<uint32_t>(width) * 16 + 31) / 32 * 4) return 0;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && !bits) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    if (!bitmap) return 0;
    *pixels = static_cast<uint8_t*>(bits);
    return reinterpret_cast<uintptr_t>(bitmap);
}

void PlatformFreePixels(uintptr_t bitmap) {
    if (bitmap) DeleteObject(AsBitmap(bitmap));
}

int32_t PlatformSetPixel(WindowHandle window, const Surface* surface, int32_t x, int32_t y, uint32_t colour) {
    if (!surface || !surface->bitmap) return 0;
    HDC memory = OpenMemoryContext(window);
    if (!memory) return 0;
    int32_t done = 0;
    HGDIOBJ previous = SelectObject(memory, AsBitmap(surface->bitmap));
    if (Selected(previous)) {
        done = SetPixel(memory, x, y, colour) != CLR_INVALID;
        GdiFlush(); // GDI batches its drawing: the caller reads the pixel straight from memory
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
    return done;
}

uintptr_t PlatformLoadImage(uintptr_t name, int32_t fromFile) {
    if (name == 0 || (fromFile && name <= 0xFFFF)) return 0;
    HINSTANCE instance = fromFile ? nullptr : GetModuleHandleA(nullptr);
    HANDLE image = LoadImageA(instance, reinterpret_cast<LPCSTR>(name), IMAGE_BITMAP, 0, 0,
                              fromFile ? LR_LOADFROMFILE : 0);
    return reinterpret_cast<uintptr_t>(image);
}

int32_t PlatformImageSize(uintptr_t image, int32_t* width, int32_t* height) {
    BITMAP description;
    memset(&description, 0, sizeof description);
    if (!image || GetObjectA(AsBitmap(image), sizeof description, &description) == 0) return 0;
    *width = description.bmWidth;
    *height = description.bmHeight;
    return 1;
}

int32_t PlatformCopyImage(WindowHandle window, uintptr_t image, const Surface* surface) {
    int32_t width = 0, height = 0;
    if (!surface || !surface->bitmap || !PlatformImageSize(image, &width, &height)) return 0;
    if (width > surface->width) width = surface->width;
    if (height > surface->height) height = surface->height;
    HDC from = OpenMemoryContext(window);
    HDC to = OpenMemoryContext(window);
    int32_t done = 0;
    if (from && to) {
        HGDIOBJ previousFrom = SelectObject(from, AsBitmap(image));
        HGDIOBJ previousTo = SelectObject(to, AsBitmap(surface->bitmap));
        if (Selected(previousFrom) && Selected(previousTo)) {
            done = BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY) != 0;
            GdiFlush();
        }
        if (Selected(previousFrom)) SelectObject(from, previousFrom);
        if (Selected(previousTo)) SelectObject(to, previousTo);
    }
    if (from) DeleteDC(from);
    if (to) DeleteDC(to);
    return done;
}

void PlatformFreeImage(uintptr_t image) {
    if (image) DeleteObject(AsBitmap(image));
}
