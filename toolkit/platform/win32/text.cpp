// Text through GDI: fonts from LogFont records, measuring and fitting with the text-extent calls, drawing
// with DrawTextA into a memory context that holds the surface's DIB section.
#include "toolkit/platform/win32/handles.h"

#include <stddef.h>
#include <string.h>

#include "toolkit/gfx/surface.h"

// A LogFont is a LOGFONTA field for field.
static_assert(sizeof(LogFont) == sizeof(LOGFONTA));
static_assert(offsetof(LogFont, lfWeight) == offsetof(LOGFONTA, lfWeight));
static_assert(offsetof(LogFont, lfCharSet) == offsetof(LOGFONTA, lfCharSet));
static_assert(offsetof(LogFont, lfFaceName) == offsetof(LOGFONTA, lfFaceName));

// The face the Linux build draws with; a font without a face name takes it when it is installed, so both
// builds lay text out alike. Without it GDI picks a face for the character set, as always.
static const char preferredFace[] = "NanumGothic";
static int32_t preferredFaceState; // 0 not looked for yet, 1 installed, -1 missing

static int CALLBACK FoundFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<int32_t*>(found) = 1;
    return 0;
}

static bool PreferredFaceInstalled() {
    if (preferredFaceState == 0) {
        int32_t found = 0;
        HDC dc = GetDC(nullptr);
        if (dc) {
            LOGFONTA wanted = {};
            wanted.lfCharSet = DEFAULT_CHARSET;
            memcpy(wanted.lfFaceName, preferredFace, sizeof preferredFace);
            EnumFontFamiliesExA(dc, &wanted, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
            ReleaseDC(nullptr, dc);
        }
        preferredFaceState = found ? 1 : -1;
    }
    return preferredFaceState == 1;
}

static HFONT CreateFontFrom(const LogFont* font) {
    if (!font) return nullptr;
    LOGFONTA description;
    memcpy(&description, font, sizeof description);
    if (description.lfFaceName[0] == 0 && PreferredFaceInstalled())
        memcpy(description.lfFaceName, preferredFace, sizeof preferredFace);
    return CreateFontIndirectA(&description);
}

int32_t PlatformMeasureText(WindowHandle window, const LogFont* font, const char* text, int32_t length,
                            int32_t* width, int32_t* height) {
    *width = 0;
    *height = 0;
    if (!text || length < 0) return 0;
    HDC dc = GetDC(AsWindow(window));
    if (!dc) return 0;
    HFONT created = CreateFontFrom(font);
    HGDIOBJ previous = created ? SelectObject(dc, created) : nullptr;
    SIZE size = {0, 0};
    BOOL ok = GetTextExtentPoint32A(dc, text, length, &size);
    if (created) {
        if (previous) SelectObject(dc, previous);
        DeleteObject(created);
    }
    ReleaseDC(AsWindow(window), dc);
    if (!ok) return 0;
    *width = size.cx;
    *height = size.cy;
    return 1;
}

// Text contexts live from open to close within one drawing call; a few slots are plenty.
enum : int32_t { maxTextContexts = 4 };
struct GdiText {
    HDC dc;
    HGDIOBJ previousBitmap;
    HFONT font;
    HGDIOBJ previousFont;
};
static GdiText textContexts[maxTextContexts];

static GdiText* FromContext(TextContext context) {
    for (GdiText& t : textContexts) {
        if (context != 0 && reinterpret_cast<TextContext>(&t) == context && t.dc) return &t;
    }
    return nullptr;
}

HDC TextContextDC(TextContext context) {
    GdiText* t = FromContext(context);
    return t ? t->dc : nullptr;
}

TextContext PlatformOpenText(WindowHandle window, const Surface* surface, const LogFont* font) {
    if (!surface || !surface->bitmap) return 0;
    GdiText* t = nullptr;
    for (GdiText& candidate : textContexts) {
        if (!candidate.dc) {
            t = &candidate;
            break;
        }
    }
    if (!t) return 0;
    HDC dc = OpenMemoryContext(window);
    if (!dc) return 0;
    HGDIOBJ previousBitmap = SelectObject(dc, AsBitmap(surface->bitmap));
    if (!previousBitmap || previousBitmap == HGDI_ERROR) {
        DeleteDC(dc);
        return 0;
    }
    t->dc = dc;
    t->previousBitmap = previousBitmap;
    t->font = CreateFontFrom(font);
    t->previousFont = t->font ? SelectObject(dc, t->font) : nullptr;
    return reinterpret_cast<TextContext>(t);
}

void PlatformCloseText(TextContext context) {
    GdiText* t = FromContext(context);
    if (!t) return;
    GdiFlush();
    if (t->font) {
        if (t->previousFont) SelectObject(t->dc, t->previousFont);
        DeleteObject(t->font);
    }
    SelectObject(t->dc, t->previousBitmap);
    DeleteDC(t->dc);
    memset(t, 0, sizeof *t);
}

int32_t PlatformTextExtent(TextContext context, const char* text, int32_t length, int32_t* width,
                           int32_t* height) {
    *width = 0;
    *height = 0;
    GdiText* t = FromContext(context);
    if (!t || !text || length < 0) return 0;
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32A(t->dc, text, length, &size)) return 0;
    *width = size.cx;
    *height = size.cy;
    return 1;
}

// The longest prefix of at most count bytes that ends on a character boundary (a byte above 0x80 starts a
// two-byte character).
static int32_t WholeCharacters(const char* text, int32_t count) {
    int32_t at = 0;
    while (at < count) {
        int32_t step = static_cast<uint8_t>(text[at]) > 0x80 ? 2 : 1;
        if (at + step > count) break;
        at += step;
    }
    return at;
}

int32_t PlatformTextFit(TextContext context, const char* text, int32_t length, int32_t maxWidth,
                        int32_t* width) {
    if (width) *width = 0;
    GdiText* t = FromContext(context);
    if (!t || !text || length <= 0 || maxWidth < 0) return 0;
    INT fit = 0;
    SIZE size = {0, 0};
    if (!GetTextExtentExPointA(t->dc, text, length, maxWidth, &fit, nullptr, &size)) return 0;
    if (fit > length) fit = length;
    fit = WholeCharacters(text, fit < 0 ? 0 : fit);
    if (width && fit > 0 && GetTextExtentPoint32A(t->dc, text, fit, &size)) *width = size.cx;
    return fit;
}

int32_t PlatformDrawText(TextContext context, const char* text, int32_t length, const PlatformRect* rect,
                         uint32_t textColour, uint32_t backgroundColour, uint32_t mode) {
    GdiText* t = FromContext(context);
    if (!t || !text || !rect) return 0;
    SetTextColor(t->dc, textColour);
    if (mode & platformTextOpaque) {
        SetBkColor(t->dc, backgroundColour);
        SetBkMode(t->dc, OPAQUE);
    } else {
        SetBkMode(t->dc, TRANSPARENT);
    }
    RECT r = {rect->left, rect->top, rect->right, rect->bottom};
    UINT format = (mode & platformTextWordBreak) ? DT_WORDBREAK : 0;
    int drawn = DrawTextA(t->dc, text, length < 0 ? -1 : length, &r, format);
    GdiFlush(); // the toolkit reads the surface's pixels straight after
    return drawn != 0;
}
