// Headless capture, message box, input method, memory, pixels and the per-window screen.
#include <stdlib.h>
#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/backend_pixels.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/platform/headless/state.h"
#include "util/dbcs_string.h"

WindowHandle PlatformSetCapture(WindowHandle window) {
    WindowHandle previous = headless.capture;
    if (HeadlessFind(window)) headless.capture = window;
    return previous;
}

int32_t PlatformReleaseCapture() {
    headless.capture = 0;
    return 1;
}

WindowHandle HeadlessCaptureWindow() {
    return headless.capture;
}

int32_t PlatformMessageBox(WindowHandle, const char* text, const char* caption, uint32_t) {
    headless.messageBoxCount++;
    CopyString(text ? text : "", headless.lastText, sizeof headless.lastText);
    CopyString(caption ? caption : "", headless.lastCaption, sizeof headless.lastCaption);
    if (headless.answerCount == 0) return IDYES;
    int32_t answer = headless.answers[headless.answerHead];
    headless.answerHead = (headless.answerHead + 1) % 64;
    headless.answerCount--;
    return answer;
}

void HeadlessPushMessageBoxAnswer(int32_t answer) {
    if (headless.answerCount >= 64) return;
    headless.answers[(headless.answerHead + headless.answerCount) % 64] = answer;
    headless.answerCount++;
}
int32_t HeadlessMessageBoxCount() {
    return headless.messageBoxCount;
}
const char* HeadlessLastMessageBoxText() {
    return headless.lastText;
}
const char* HeadlessLastMessageBoxCaption() {
    return headless.lastCaption;
}

void HeadlessSetImeString(uint32_t kind, const char* bytes, int32_t count) {
    char* target = kind == GCS_RESULTSTR ? headless.imeResult : headless.imeComposition;
    int32_t capacity = kind == GCS_RESULTSTR ? static_cast<int32_t>(sizeof headless.imeResult)
                                             : static_cast<int32_t>(sizeof headless.imeComposition);
    if (count > capacity) count = capacity;
    if (count > 0 && bytes) memcpy(target, bytes, static_cast<size_t>(count));
    if (kind == GCS_RESULTSTR) {
        headless.imeResultCount = count;
    } else {
        headless.imeCompositionCount = count;
    }
}

int32_t PlatformImeString(WindowHandle window, uint32_t kind, char* destination, uint32_t size) {
    if (!HeadlessFind(window)) return -1;
    const char* source = kind == GCS_RESULTSTR ? headless.imeResult : headless.imeComposition;
    int32_t count = kind == GCS_RESULTSTR ? headless.imeResultCount : headless.imeCompositionCount;
    if (count < 0) return count;
    if (!destination || size == 0) return count;
    if (static_cast<uint32_t>(count) > size) count = static_cast<int32_t>(size);
    memcpy(destination, source, static_cast<size_t>(count));
    return count;
}

void PlatformCancelComposition(WindowHandle) {
    headless.cancelledCompositions++;
}

int32_t HeadlessCancelledCompositions() {
    return headless.cancelledCompositions;
}

void* PlatformAllocatePages(size_t size) {
    if (headless.failAllocations > 0) {
        headless.failAllocations--;
        return nullptr;
    }
    if (size == 0) return nullptr;
    return calloc(1, size);
}

void PlatformFreePages(void* pages) {
    free(pages);
}

void HeadlessFailAllocations(int32_t count) {
    headless.failAllocations = count;
}
void HeadlessFailPixels(int32_t count) {
    headless.failPixels = count;
}
int32_t HeadlessLivePixelBuffers() {
    return headless.livePixels;
}

uintptr_t PlatformCreatePixels(int32_t width, int32_t height, uint32_t stride, uint8_t** pixels) {
    *pixels = nullptr;
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return 0;
    if (headless.failPixels > 0) {
        headless.failPixels--;
        return 0;
    }
    uint8_t* memory =
        static_cast<uint8_t*>(calloc(static_cast<size_t>(stride) * static_cast<size_t>(height), 1));
    if (!memory) return 0;
    headless.livePixels++;
    *pixels = memory;
    return reinterpret_cast<uintptr_t>(memory);
}

void PlatformFreePixels(uintptr_t bitmap) {
    if (!bitmap) return;
    free(reinterpret_cast<void*>(bitmap));
    headless.livePixels--;
}

int32_t BackendPixelsAre565() {
    return headless.use565;
}

int32_t PlatformBeginPaint(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    w->needsPaint = 0;
    return 1;
}

int32_t PlatformEndPaint(WindowHandle window) {
    return HeadlessFind(window) != nullptr;
}

// A screen that was never shown takes the whole surface; otherwise only the changed pixels move, so a
// wrong changed area leaves stale pixels that tests see.
int32_t PlatformPresent(WindowHandle window, const Surface* surface, int32_t wholeWindow,
                        const PlatformRect* changed) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    w->presentCount++;
    w->lastCopied = {0, 0, 0, 0};
    if (!surface || !SurfaceIsDrawable(surface) || !w->screen) return 1;
    int32_t l, t, r, b;
    HeadlessFrame(w, &l, &t, &r, &b);
    int32_t ox = wholeWindow ? 0 : l, oy = wholeWindow ? 0 : t;
    int32_t limitX = wholeWindow ? w->screenWidth : r, limitY = wholeWindow ? w->screenHeight : b;
    PlatformRect area = {0, 0, surface->width, surface->height};
    if (changed && w->screenShown) {
        if (changed->left > area.left) area.left = changed->left;
        if (changed->top > area.top) area.top = changed->top;
        if (changed->right < area.right) area.right = changed->right;
        if (changed->bottom < area.bottom) area.bottom = changed->bottom;
    }
    if (area.right > limitX - ox) area.right = limitX - ox;
    if (area.bottom > limitY - oy) area.bottom = limitY - oy;
    w->screenShown = 1;
    if (area.right <= area.left || area.bottom <= area.top) return 1;
    w->lastCopied = area;
    for (int32_t y = area.top; y < area.bottom; y++) {
        memcpy(w->screen + static_cast<size_t>(oy + y) * w->screenWidth + ox + area.left,
               surface->pixels + static_cast<size_t>(y) * surface->stride +
                   2 * static_cast<size_t>(area.left),
               static_cast<size_t>(area.right - area.left) * 2);
    }
    return 1;
}

int32_t HeadlessLastCopied(WindowHandle window, PlatformRect* copied) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w) return 0;
    *copied = w->lastCopied;
    return 1;
}

int32_t HeadlessPresentCount(WindowHandle window) {
    HeadlessWindow* w = HeadlessFind(window);
    return w ? w->presentCount : 0;
}

uint32_t HeadlessScreenPixel(WindowHandle window, int32_t clientX, int32_t clientY) {
    HeadlessWindow* w = HeadlessFind(window);
    if (!w || !w->screen) return 0;
    int32_t l, t, r, b;
    HeadlessFrame(w, &l, &t, &r, &b);
    int32_t x = clientX + l, y = clientY + t;
    if (x < 0 || y < 0 || x >= w->screenWidth || y >= w->screenHeight) return 0;
    return w->screen[static_cast<size_t>(y) * w->screenWidth + x];
}

uint32_t PlatformWheelScrollLines() {
    return 3;
}

// A fixed pace, so tests can count the repeats on the virtual clock.
void PlatformKeyRepeat(uint32_t* delayMs, uint32_t* intervalMs) {
    *delayMs = 400;
    *intervalMs = 50;
}
