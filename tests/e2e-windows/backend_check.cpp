// The Windows backend checked from the toolkit's side, run under Wine by run.sh:
//   backend_check <path of app/resources/3000.bmp>
// Prints each failed check and a closing count; exit code 0 when all passed.
#include <stdio.h>
#include <string.h>

#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/gfx/text.h"
#include "toolkit/platform/platform.h"

static int passed, failed;

enum : uint32_t { WM_USER_CHECK = 0x401 };

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (condition) {                                                                                     \
            passed++;                                                                                        \
        } else {                                                                                             \
            failed++;                                                                                        \
            printf("backend_check:%d: failed: %s\n", __LINE__, #condition);                                  \
        }                                                                                                    \
    } while (0)

static uint32_t Pixel(const Surface* s, int32_t x, int32_t y) {
    uint16_t p;
    memcpy(&p, s->pixels + static_cast<size_t>(y) * s->stride + 2 * static_cast<size_t>(x), 2);
    return p;
}

static void Fill(Surface* s, uint32_t colour) {
    Bounds all = {0, 0, s->width - 1, s->height - 1};
    DrawRect(s, &all, colour, rectFill);
}

// Pixels that differ from the fill, inside and outside a rectangle (right and bottom exclusive).
static void CountInk(const Surface* s, uint32_t fill, int32_t l, int32_t t, int32_t r, int32_t b, int* inside,
                     int* outside) {
    *inside = *outside = 0;
    for (int32_t y = 0; y < s->height; y++) {
        for (int32_t x = 0; x < s->width; x++) {
            if (Pixel(s, x, y) == fill) continue;
            (x >= l && x < r && y >= t && y < b ? *inside : *outside) += 1;
        }
    }
}

static void CheckSurfacesAndProbe() {
    Surface s = {};
    CreateSurface(3, 5, &s, nullptr);
    CHECK(s.bitmap != 0 && s.pixels != nullptr);
    CHECK(s.stride == 8 && s.width == 3 && s.height == 5);
    int zero = 1;
    for (uint32_t i = 0; i < s.stride * 5; i++) zero &= s.pixels[i] == 0;
    CHECK(zero);
    ReleaseSurface(&s);
    ReleaseSurface(&s);
    CHECK(s.bitmap == 0 && s.pixels == nullptr);

    InitDisplay();
    CHECK(screenWidth > 0 && screenHeight > 0);
    CHECK(toolkitCommandMessage >= 0xC000 &&
          toolkitCommandMessage == PlatformRegisterMessage("NIMBLEUI_CMD"));
    printf("backend_check: pixel format %s\n", (Theme[pixelFormat] & rgb565) ? "5-6-5" : "5-5-5");
    // What the platform writes is what the toolkit would write for the same colour.
    Surface probe = {};
    CreateSurface(8, 2, &probe, nullptr);
    const uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0xFF00FF, 0x000000};
    for (int i = 0; i < 6; i++) {
        CHECK(PlatformSetPixel(0, &probe, i, 1, colours[i]) != 0);
        CHECK(Pixel(&probe, i, 1) == ColourToPixel(colours[i]));
    }
    ReleaseSurface(&probe);
    Surface foreign = {};
    uint8_t memory[16] = {};
    CreateSurface(2, 2, &foreign, memory);
    CHECK(PlatformSetPixel(0, &foreign, 0, 0, 0xFFFFFF) == 0); // caller memory has no platform bitmap
}

// The tile as the file holds it: 16 × 16, 24 bits, rows bottom-up.
static bool ReadTile(const char* path, uint32_t colours[16][16]) {
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    unsigned char bytes[54 + 16 * 48];
    size_t n = fread(bytes, 1, sizeof bytes, f);
    fclose(f);
    if (n != sizeof bytes) return false;
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            const unsigned char* p = bytes + 54 + (15 - y) * 48 + 3 * x;
            colours[y][x] = p[2] | p[1] << 8 | p[0] << 16; // 0x00BBGGRR
        }
    }
    return true;
}

static void CheckBitmaps(const char* tilePath) {
    uint32_t colours[16][16];
    CHECK(ReadTile(tilePath, colours));
    Surface fromResource = {}, fromFile = {}, missing = {};
    CHECK(LoadBitmapSurface(3000, &fromResource, 0) == -1);
    CHECK(fromResource.width == 16 && fromResource.height == 16);
    CHECK(LoadBitmapSurface(reinterpret_cast<uintptr_t>(tilePath), &fromFile, loadFromFile) == -1);
    int same = fromResource.width == 16 && fromFile.width == 16;
    for (int y = 0; same && y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            same &= Pixel(&fromResource, x, y) == ColourToPixel(colours[y][x]);
            same &= Pixel(&fromFile, x, y) == Pixel(&fromResource, x, y);
        }
    }
    CHECK(same);
    CHECK(LoadBitmapSurface(4242, &missing, 0) == 0);
    CHECK(LoadBitmapSurface(reinterpret_cast<uintptr_t>("no such file.bmp"), &missing, loadFromFile) == 0);
    CHECK(missing.bitmap == 0 && missing.width == 0);
    ReleaseSurface(&fromResource);
    ReleaseSurface(&fromFile);
}

static void CheckText() {
    const char korean[] = "\xB0\xA1\xB3\xAA\xB4\xD9"; // 가나다
    LogFont font = {};
    font.lfHeight = -12;
    font.lfCharSet = 129;
    TextSize one = {}, two = {}, empty = {};
    MeasureText(0, &font, korean, 2, &one);
    MeasureText(0, &font, korean, 4, &two);
    MeasureText(0, &font, korean, 0, &empty);
    CHECK(one.cx > 0 && one.cy > 0);
    CHECK(two.cx > one.cx);
    CHECK(empty.cx == 0);

    Surface s = {};
    CreateSurface(120, 40, &s, nullptr);
    uint32_t white = ColourToPixel(0xFFFFFF);
    int inside = 0, outside = 0;
    // Without growBox the text stays inside the box less its last column and row.
    Fill(&s, 0xFFFFFF);
    Extent box = {5, 5, 30, 14};
    DrawTextInSurface("Wide text WWWW", &font, &s, &box, 0x000000, 0xFFFFFF, transparentText);
    CountInk(&s, white, 5, 5, 34, 18, &inside, &outside);
    CHECK(inside > 0 && outside == 0);
    // Opaque cells take the background colour; the rest of the box keeps its pixels.
    Fill(&s, 0xFFFFFF);
    Extent wide = {0, 0, 120, 40};
    DrawTextInSurface(korean, &font, &s, &wide, 0x000000, 0x0000FF, 0);
    CHECK(Pixel(&s, 1, 1) == ColourToPixel(0x0000FF));
    CHECK(Pixel(&s, 110, 30) == white);
    // A null font draws too.
    Fill(&s, 0xFFFFFF);
    DrawTextInSurface("abc", nullptr, &s, &wide, 0x000000, 0xFFFFFF, transparentText | growBox);
    CountInk(&s, white, 0, 0, 120, 40, &inside, &outside);
    CHECK(inside > 0);
    // Word breaking continues on a second line.
    Fill(&s, 0xFFFFFF);
    Extent narrow = {0, 0, 40, 40};
    DrawTextInSurface("aaaa bbbb", &font, &s, &narrow, 0x000000, 0xFFFFFF, transparentText | wordBreak);
    CountInk(&s, white, 0, 14, 40, 40, &inside, &outside);
    CHECK(inside > 0);

    // Fitting counts whole two-byte characters.
    TextContext context = PlatformOpenText(0, &s, &font);
    CHECK(context != 0);
    int32_t width = -1, height = 0;
    CHECK(PlatformTextFit(context, korean, 6, one.cx, &width) == 2 && width == one.cx);
    CHECK(PlatformTextFit(context, korean, 6, one.cx + 1, &width) == 2);
    int32_t whole = 0;
    CHECK(PlatformTextExtent(context, korean, 6, &whole, &height) == 1 && height > 0);
    CHECK(PlatformTextFit(context, korean, 6, 10000, &width) == 6 && width == whole);
    CHECK(PlatformTextFit(context, korean, 6, 0, &width) == 0 && width == 0);
    CHECK(PlatformTextExtent(context, "&&", 2, &width, &height) == 1 && width > 0);
    PlatformCloseText(context);
    PlatformCloseText(context); // a closed context is ignored
    Surface foreign = {};
    uint8_t memory[64] = {};
    CreateSurface(4, 4, &foreign, memory);
    CHECK(PlatformOpenText(0, &foreign, nullptr) == 0);
    ReleaseSurface(&s);
}

static void CheckPages() {
    uint8_t* pages = static_cast<uint8_t*>(PlatformAllocatePages(10000));
    CHECK(pages != nullptr);
    if (pages) {
        int zero = 1;
        for (int i = 0; i < 10000; i++) zero &= pages[i] == 0;
        CHECK(zero);
        pages[9999] = 1;
        PlatformFreePages(pages);
    }
    CHECK(PlatformAllocatePages(0) == nullptr);
    PlatformFreePages(nullptr);
}

static int32_t seen[4];
static WParam imeWParams[4];
static LParam imeLParams[4];
static intptr_t CheckProcedure(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (message == WM_IME_COMPOSITION && seen[3] < 4) {
        imeWParams[seen[3]] = wParam;
        imeLParams[seen[3]++] = lParam;
        return 0;
    }
    if (message == WM_USER_CHECK) {
        seen[0]++;
        CHECK(wParam == 11 && lParam == -22);
        return 5;
    }
    if (message == WM_TIMER && wParam == 3) {
        seen[1]++;
        PlatformKillTimer(window, 3);
        PlatformPostQuit(7);
        return 0;
    }
    if (message == WM_DESTROY) seen[2]++;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static void CheckWindowsAndQueue() {
    CHECK(PlatformRegisterClass("Check_Class", CheckProcedure, 0x200B, 0, 0) != 0);
    WindowHandle w = PlatformCreateWindow("Check_Class", "check", WS_SYSMENU, 10, 10, 300, 200, 0, 0);
    CHECK(w != 0);
    PlatformRect client = {}, frame = {};
    CHECK(PlatformClientRect(w, &client) && client.left == 0 && client.right > 0 && client.right <= 300);
    CHECK(PlatformWindowRect(w, &frame) && frame.right - frame.left == 300 &&
          frame.bottom - frame.top == 200);
    PlatformPoint origin = {0, 0};
    CHECK(PlatformClientToScreen(w, &origin) && origin.x >= frame.left && origin.y > frame.top);
    char ime[4] = {};
    CHECK(PlatformImeString(w, GCS_RESULTSTR, ime, sizeof ime) <= 0); // no composition has happened

    CHECK(PlatformPostMessage(w, WM_USER_CHECK, 11, -22) != 0);
    // Composition messages as Wine's input method sends them: a caret move alone, a result with its
    // clause, a composing character in UTF-16 (read back from the empty composition instead).
    PlatformPostMessage(w, WM_IME_COMPOSITION, 1, 0x80);
    PlatformPostMessage(w, WM_IME_COMPOSITION, 0xD55C, 0x1800);
    PlatformPostMessage(w, WM_IME_COMPOSITION, 0x314E, 0x138);
    CHECK(PlatformSetTimer(w, 3, 20) != 0);
    PlatformMessage m = {};
    int32_t loops = 0;
    while (PlatformGetMessage(&m) != 0 && loops < 1000) {
        PlatformTranslateMessage(&m);
        PlatformDispatchMessage(&m);
        loops++;
    }
    CHECK(m.message == WM_QUIT && m.wParam == 7);
    CHECK(seen[0] == 1 && seen[1] == 1);
    CHECK(seen[3] == 2 && imeLParams[0] == GCS_RESULTSTR && imeWParams[0] == 0xD55C &&
          imeLParams[1] == GCS_COMPSTR && imeWParams[1] == 0);
    // Korean through Wine's clipboard and back, in code page 949 whatever the ANSI code page.
    const char korean[] = "\xC7\xD1\xB1\xDB a";
    CHECK(PlatformSetClipboardText(w, korean, sizeof korean - 1) == 1);
    char pasted[8] = {};
    ClipboardRead read = {9, 9};
    CHECK(PlatformGetClipboardText(w, pasted, sizeof pasted, &read) == 6 && strcmp(pasted, korean) == 0);
    CHECK(read.replaced == 0 && read.leftOut == 0);
    CHECK(PlatformGetClipboardText(w, pasted, 4, &read) == 2 && read.leftOut == 4 && pasted[2] == 0);
    CHECK(PlatformDestroyWindow(w) != 0);
    CHECK(seen[2] == 1);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: backend_check <path of 3000.bmp>\n");
        return 2;
    }
    CheckSurfacesAndProbe();
    CheckBitmaps(argv[1]);
    CheckText();
    CheckPages();
    CheckWindowsAndQueue();
    printf("backend_check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
