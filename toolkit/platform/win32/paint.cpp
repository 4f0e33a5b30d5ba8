// Paint brackets and the copy of a window surface to the screen.
#include "toolkit/platform/win32/handles.h"

#include "toolkit/gfx/surface.h"

// BeginPaint's record must reach EndPaint; paints of different windows may nest while one paint sends
// messages, so the open ones are kept as a small stack.
enum : int32_t { maxOpenPaints = 8 };
static struct {
    HWND window;
    PAINTSTRUCT paint;
} openPaints[maxOpenPaints];
static int32_t openPaintCount;

int32_t PlatformBeginPaint(WindowHandle window) {
    if (openPaintCount >= maxOpenPaints) {
        // No room to remember the paint: validate the window so that it does not ask again at once.
        ValidateRect(AsWindow(window), nullptr);
        return 0;
    }
    auto& open = openPaints[openPaintCount];
    if (!BeginPaint(AsWindow(window), &open.paint)) return 0;
    open.window = AsWindow(window);
    openPaintCount++;
    return 1;
}

int32_t PlatformEndPaint(WindowHandle window) {
    for (int32_t i = openPaintCount - 1; i >= 0; i--) {
        if (openPaints[i].window != AsWindow(window)) continue;
        EndPaint(openPaints[i].window, &openPaints[i].paint);
        for (int32_t j = i + 1; j < openPaintCount; j++) openPaints[j - 1] = openPaints[j];
        openPaintCount--;
        return 1;
    }
    return 0;
}

// Only the changed rectangle is copied: Windows keeps the rest of what the window showed, and asks for a
// whole paint (WM_PAINT without a composition) when it lost it.
int32_t PlatformPresent(WindowHandle window, const Surface* surface, int32_t wholeWindow,
                        const PlatformRect* changed) {
    if (!surface || !surface->bitmap) return 0;
    RECT area = {0, 0, surface->width, surface->height};
    if (changed) {
        RECT wanted = {changed->left, changed->top, changed->right, changed->bottom};
        if (!IntersectRect(&area, &area, &wanted)) return 1;
    }
    HWND h = AsWindow(window);
    HDC target = wholeWindow ? GetWindowDC(h) : GetDC(h);
    if (!target) return 0;
    int32_t done = 0;
    HDC memory = CreateCompatibleDC(target);
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, AsBitmap(surface->bitmap));
        if (previous && previous != HGDI_ERROR) {
            done = BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, memory,
                          area.left, area.top, SRCCOPY) != 0;
            SelectObject(memory, previous);
        }
        DeleteDC(memory);
    }
    ReleaseDC(h, target);
    return done;
}
