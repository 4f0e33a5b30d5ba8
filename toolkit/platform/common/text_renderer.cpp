// The platform's text calls on Linux and headless: code page 949 text laid out in lines and drawn with
// FreeType glyphs into 16-bit surfaces.
#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/platform/common/bitmap_decode.h"
#include "toolkit/platform/common/font_cache.h"
#include "toolkit/platform/common/glyph_cache.h"
#include "toolkit/platform/common/text_blend.h"
#include "toolkit/platform/platform.h"

enum : int32_t { contextSlots = 8 };

struct TextContextRecord {
    const Surface* surface; // null = free
    uint8_t hasFont;
    LogFont font;
};

static TextContextRecord contexts[contextSlots];

enum : uint8_t { glyphChar, spaceChar, lineBreak, controlChar };

struct TextChar {
    uint32_t code;
    int32_t bytes;
    uint8_t kind;
    uint8_t twoByte;
    uint8_t underlined; // after an ampersand
};

static TextChar ReadOtherChar(const uint8_t* s, int32_t pos, int32_t end, bool prefixes);

// One character at pos < end. A byte above 0x80 and the next one form a character unless the next is a
// control byte or beyond the end; pairs that do not decode draw the replacement glyph. Printable ASCII and
// whole two-byte characters, nearly all text, are read here; the rest by ReadOtherChar.
static inline TextChar ReadChar(const uint8_t* s, int32_t pos, int32_t end, bool prefixes) {
    const uint32_t b = s[pos];
    if (b > 0x20 && b < 0x7F && (b != '&' || !prefixes)) return {b, 1, glyphChar, 0, 0};
    if (b > 0x80 && pos + 1 < end && s[pos + 1] >= 0x20) return {(b << 8) | s[pos + 1], 2, glyphChar, 1, 0};
    return ReadOtherChar(s, pos, end, prefixes);
}

static TextChar ReadOtherChar(const uint8_t* s, int32_t pos, int32_t end, bool prefixes) {
    TextChar c = {};
    c.bytes = 1;
    uint32_t b = s[pos];
    if (prefixes && b == '&') {
        if (pos + 1 < end && s[pos + 1] == '&') {
            c.kind = glyphChar;
            c.code = '&';
            c.bytes = 2;
            return c;
        }
        if (pos + 1 >= end) { // the last byte of the text is drawn, as GDI does
            c.kind = glyphChar;
            c.code = '&';
            return c;
        }
        c.kind = controlChar;
        TextChar next = ReadChar(s, pos + 1, end, false);
        if (next.kind != glyphChar && next.kind != spaceChar) return c;
        next.bytes += 1;
        next.underlined = 1;
        return next;
    }
    c.code = b;
    if (b == '\r') {
        c.kind = lineBreak;
        if (pos + 1 < end && s[pos + 1] == '\n') c.bytes = 2;
        return c;
    }
    if (b == '\n') {
        c.kind = lineBreak;
    } else if (b < 0x20 || b == 0x7F) {
        c.kind = controlChar;
    } else if (b == ' ') {
        c.kind = spaceChar;
        c.code = b;
    } else if (b > 0x80 && pos + 1 < end && s[pos + 1] >= 0x20) {
        c.kind = glyphChar;
        c.code = (b << 8) | s[pos + 1];
        c.bytes = 2;
        c.twoByte = 1;
    } else {
        c.kind = glyphChar;
        c.code = b;
    }
    return c;
}

// Line breaks measure as the font's glyphs for them, as GDI measures them; other control characters and
// a prefix ampersand measure nothing.
static int32_t Advance(const RendererFont* font, const TextChar& c) {
    if (c.kind != glyphChar && c.kind != spaceChar && c.kind != lineBreak) return 0;
    const CachedGlyph* glyph = GlyphFor(font, c.code);
    return glyph ? glyph->advance * (c.kind == lineBreak ? c.bytes : 1) : 0;
}

static int32_t TextLength(const char* text, int32_t length) {
    if (!text) return 0;
    if (length < 0) return static_cast<int32_t>(strnlen(text, 0x7FFFFFFF));
    return length;
}

// Width of the bytes [start, end) on one line, counting no further than limit.
static int64_t RunWidth(const RendererFont* font, const uint8_t* s, int32_t start, int32_t end, bool prefixes,
                        int64_t limit) {
    int64_t x = 0;
    for (int32_t p = start; p < end && x < limit;) {
        TextChar c = ReadChar(s, p, end, prefixes);
        x += Advance(font, c);
        p += c.bytes;
    }
    return x;
}

static const RendererFont* ContextFont(TextContext context) {
    if (context == 0 || context > contextSlots) return nullptr;
    const TextContextRecord& r = contexts[context - 1];
    if (!r.surface) return nullptr;
    return RendererFontFor(r.hasFont ? &r.font : nullptr);
}

int32_t PlatformMeasureText(WindowHandle, const LogFont* font, const char* text, int32_t length,
                            int32_t* width, int32_t* height) {
    const RendererFont* f = RendererFontFor(font);
    if (!f) return 0;
    if (!text || length < 0) length = 0;
    *width = static_cast<int32_t>(
        RunWidth(f, reinterpret_cast<const uint8_t*>(text), 0, length, false, INT64_MAX));
    *height = f->ascent + f->descent;
    return 1;
}

TextContext PlatformOpenText(WindowHandle, const Surface* surface, const LogFont* font) {
    if (!surface || !surface->bitmap || !surface->pixels || surface->width <= 0 || surface->height <= 0) {
        return 0;
    }
    if (!RendererFontFor(font)) return 0;
    for (int32_t i = 0; i < contextSlots; i++) {
        TextContextRecord& r = contexts[i];
        if (r.surface) continue;
        r.surface = surface;
        r.hasFont = font != nullptr;
        if (font) r.font = *font;
        return static_cast<TextContext>(i + 1);
    }
    return 0;
}

void PlatformCloseText(TextContext context) {
    if (context == 0 || context > contextSlots) return;
    memset(&contexts[context - 1], 0, sizeof contexts[0]);
}

int32_t PlatformTextExtent(TextContext context, const char* text, int32_t length, int32_t* width,
                           int32_t* height) {
    const RendererFont* font = ContextFont(context);
    if (!font) return 0;
    if (!text || length < 0) length = 0;
    *width = static_cast<int32_t>(
        RunWidth(font, reinterpret_cast<const uint8_t*>(text), 0, length, false, INT64_MAX));
    *height = font->ascent + font->descent;
    return 1;
}

int32_t PlatformTextFit(TextContext context, const char* text, int32_t length, int32_t maxWidth,
                        int32_t* width) {
    const RendererFont* font = ContextFont(context);
    if (width) *width = 0;
    if (!font || !text) return 0;
    const uint8_t* s = reinterpret_cast<const uint8_t*>(text);
    int64_t x = 0;
    int32_t p = 0;
    while (p < length) {
        TextChar c = ReadChar(s, p, length, false);
        int32_t a = Advance(font, c);
        if (x + a > maxWidth) break;
        x += a;
        p += c.bytes;
    }
    if (width) *width = static_cast<int32_t>(x);
    return p;
}

// A lone ampersand just before a line break prefixes nothing and is not drawn: the line ends before it.
static int32_t DropLoneAmpersand(const uint8_t* s, int32_t start, int32_t lineEnd) {
    int32_t run = 0;
    while (lineEnd - run > start && s[lineEnd - run - 1] == '&') run++;
    return run % 2 ? lineEnd - 1 : lineEnd;
}

// Where a line may break before c, as GDI's word breaking allows: before a word that follows spaces, and
// before or after a two-byte (Hangul) character when no space is between.
static bool BreakBefore(const TextChar& c, bool afterSpace, bool afterTwoByte) {
    if (afterSpace) return true;
    if (c.twoByte) return true;
    return afterTwoByte && c.code < 0x80 && ((c.code | 0x20) - 'a' < 26 || c.code - '0' < 10);
}

// The line that starts at start: where it ends and where the next one starts. With wrap, a line breaks at
// the last break (BreakBefore) whose text before it, spaces included, fits the width; the spaces there are
// dropped. A word with no such break stays whole, cut at the box's edge, and the next line starts after
// it and one space.
static void NextLine(const RendererFont* font, const uint8_t* s, int32_t start, int32_t end, bool wrap,
                     int64_t width, int32_t* lineEnd, int32_t* next) {
    if (!wrap) {
        int32_t p = start;
        while (p < end && s[p] != '\r' && s[p] != '\n') p++;
        *lineEnd = p < end ? DropLoneAmpersand(s, start, p) : p;
        *next = p < end ? p + ReadChar(s, p, end, true).bytes : end;
        return;
    }
    int64_t x = 0;
    int32_t breakEnd = -1, breakNext = -1, spaceStart = -1;
    bool afterTwoByte = false;
    for (int32_t p = start; p < end;) {
        TextChar c = ReadChar(s, p, end, true);
        if (c.kind == lineBreak) {
            *lineEnd = DropLoneAmpersand(s, start, p);
            *next = p + c.bytes;
            return;
        }
        int32_t a = Advance(font, c);
        if (c.kind == spaceChar) {
            if (spaceStart < 0) spaceStart = p;
            x += a;
            p += c.bytes;
            afterTwoByte = false;
            continue;
        }
        if (p > start && x <= width && BreakBefore(c, spaceStart >= 0, afterTwoByte) && spaceStart != start) {
            breakEnd = spaceStart >= 0 ? spaceStart : p;
            breakNext = p;
        }
        spaceStart = -1;
        if (a > 0 && x + a > width && p > start) {
            if (breakEnd < 0) {
                breakEnd = p;
                while (breakEnd < end && s[breakEnd] != ' ' && s[breakEnd] != '\r' && s[breakEnd] != '\n')
                    breakEnd += ReadChar(s, breakEnd, end, true).bytes;
                breakNext = breakEnd < end && s[breakEnd] == ' ' ? breakEnd + 1 : breakEnd;
            }
            *lineEnd = breakEnd;
            *next = breakNext;
            return;
        }
        afterTwoByte = c.twoByte;
        x += a;
        p += c.bytes;
    }
    *lineEnd = end;
    *next = end;
}

// GDI underlines one prefixed character in a line: the last.
static int32_t LastMark(const uint8_t* s, int32_t start, int32_t end) {
    int32_t mark = -1;
    for (int32_t p = start; p < end;) {
        TextChar c = ReadChar(s, p, end, true);
        if (c.underlined) mark = p;
        p += c.bytes;
    }
    return mark;
}

struct Clip {
    int64_t left, top, right, bottom;
};

struct LineTarget {
    const Surface* surface;
    const RendererFont* font;
    uint16_t textPixel;
    int32_t is565;
};

static void FillClipped(const LineTarget& t, Clip cell, int64_t left, int64_t top, int64_t right,
                        int64_t bottom) {
    if (left < cell.left) left = cell.left;
    if (top < cell.top) top = cell.top;
    if (right > cell.right) right = cell.right;
    if (bottom > cell.bottom) bottom = cell.bottom;
    if (right <= left || bottom <= top) return;
    FillPixels(t.surface->pixels, t.surface->stride, static_cast<int32_t>(left), static_cast<int32_t>(top),
               static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top), t.textPixel);
}

static void DrawGlyph(const LineTarget& t, Clip cell, const CachedGlyph* glyph, int64_t penX,
                      int64_t baseline) {
    int64_t left = penX + glyph->left, top = baseline - glyph->top;
    int64_t right = left + glyph->width, bottom = top + glyph->rows;
    int64_t x0 = left < cell.left ? cell.left : left, y0 = top < cell.top ? cell.top : top;
    int64_t x1 = right > cell.right ? cell.right : right, y1 = bottom > cell.bottom ? cell.bottom : bottom;
    if (x1 <= x0 || y1 <= y0) return;
    const uint8_t* coverage = GlyphCoverage(glyph) + (y0 - top) * glyph->width + (x0 - left);
    BlendCoverage(t.surface->pixels, t.surface->stride, static_cast<int32_t>(x0), static_cast<int32_t>(y0),
                  coverage, glyph->width, static_cast<int32_t>(x1 - x0), static_cast<int32_t>(y1 - y0),
                  t.textPixel, t.is565);
}

// Draws [start, end) with its top-left corner at (x, y). Ink stays inside the line's cells, which are as
// wide as the measured text, so that what is measured is what is drawn.
static void DrawLine(const LineTarget& t, Clip clip, const uint8_t* s, int32_t start, int32_t end, int64_t x,
                     int64_t y, bool opaque, uint16_t backgroundPixel) {
    const RendererFont* font = t.font;
    int64_t lineHeight = font->ascent + font->descent;
    int64_t width = RunWidth(font, s, start, end, true, clip.right - x);
    Clip cell = {x > clip.left ? x : clip.left, y > clip.top ? y : clip.top,
                 x + width < clip.right ? x + width : clip.right,
                 y + lineHeight < clip.bottom ? y + lineHeight : clip.bottom};
    if (cell.right <= cell.left || cell.bottom <= cell.top) return;
    if (opaque) {
        FillPixels(t.surface->pixels, t.surface->stride, static_cast<int32_t>(cell.left),
                   static_cast<int32_t>(cell.top), static_cast<int32_t>(cell.right - cell.left),
                   static_cast<int32_t>(cell.bottom - cell.top), backgroundPixel);
    }
    int64_t pen = x, baseline = y + font->ascent;
    int32_t mark = LastMark(s, start, end);
    for (int32_t p = start; p < end && pen < cell.right;) {
        TextChar c = ReadChar(s, p, end, true);
        bool underlined = c.underlined && p == mark;
        p += c.bytes;
        if (c.kind != glyphChar && c.kind != spaceChar) {
            pen += Advance(font, c);
            continue;
        }
        const CachedGlyph* glyph = GlyphFor(font, c.code);
        if (!glyph) continue;
        int32_t advance = glyph->advance;
        if (glyph->width && pen + glyph->left + glyph->width > cell.left)
            DrawGlyph(t, cell, glyph, pen, baseline);
        if (underlined || font->underline) {
            int64_t top = y + font->underlineTop;
            FillClipped(t, cell, pen, top, pen + advance, top + font->underlineHeight);
        }
        if (font->strikeOut) {
            int64_t top = y + font->strikeTop;
            FillClipped(t, cell, pen, top, pen + advance, top + font->strikeHeight);
        }
        pen += advance;
    }
}

int32_t PlatformDrawText(TextContext context, const char* text, int32_t length, const PlatformRect* rect,
                         uint32_t textColour, uint32_t backgroundColour, uint32_t mode) {
    const RendererFont* font = ContextFont(context);
    if (!font || !text || !rect) return 0;
    const Surface* surface = contexts[context - 1].surface;
    int32_t end = TextLength(text, length);
    const uint8_t* s = reinterpret_cast<const uint8_t*>(text);
    Clip clip = {rect->left > 0 ? rect->left : 0, rect->top > 0 ? rect->top : 0,
                 rect->right < surface->width ? rect->right : surface->width,
                 rect->bottom < surface->height ? rect->bottom : surface->height};
    if (clip.right <= clip.left || clip.bottom <= clip.top) return 1;
    int32_t is565 = BackendPixelsAre565();
    LineTarget target = {surface, font, BackendPixel(textColour, is565), is565};
    uint16_t backgroundPixel = BackendPixel(backgroundColour, is565);
    bool opaque = (mode & platformTextOpaque) != 0, wrap = (mode & platformTextWordBreak) != 0;
    int64_t lineHeight = font->ascent + font->descent;
    if (lineHeight <= 0) return 1;
    int64_t wrapWidth = static_cast<int64_t>(rect->right) - rect->left;
    int64_t y = rect->top;
    for (int32_t p = 0; p < end && y < clip.bottom;) {
        int32_t lineEnd, next;
        NextLine(font, s, p, end, wrap, wrapWidth, &lineEnd, &next);
        if (y + lineHeight > clip.top)
            DrawLine(target, clip, s, p, lineEnd, rect->left, y, opaque, backgroundPixel);
        y += lineHeight;
        p = next;
    }
    return 1;
}

static void AddLayoutLine(TextLayout* layout, int32_t start) {
    if (layout->lines < textLayoutLines) layout->lineStart[layout->lines] = start;
    layout->lines++;
}

// The lines and marks of PlatformDrawText, found by the same line breaking and character reading.
int32_t PlatformTextLayout(TextContext context, const char* text, int32_t length, const PlatformRect* rect,
                           uint32_t mode, TextLayout* layout) {
    const RendererFont* font = ContextFont(context);
    if (!layout) return 0;
    memset(layout, 0, sizeof *layout);
    if (!font || !text || !rect) return 0;
    const Surface* surface = contexts[context - 1].surface;
    int32_t end = TextLength(text, length);
    const uint8_t* s = reinterpret_cast<const uint8_t*>(text);
    int64_t bottom = rect->bottom < surface->height ? rect->bottom : surface->height;
    int64_t lineHeight = font->ascent + font->descent;
    if (lineHeight <= 0) return 1;
    bool wrap = (mode & platformTextWordBreak) != 0;
    int64_t y = rect->top;
    for (int32_t p = 0; p < end && y < bottom;) {
        int32_t lineEnd, next;
        NextLine(font, s, p, end, wrap, static_cast<int64_t>(rect->right) - rect->left, &lineEnd, &next);
        AddLayoutLine(layout, lineEnd > p ? p : -1);
        int32_t mark = LastMark(s, p, lineEnd);
        if (mark >= 0 && layout->marks < textLayoutMarks) layout->markAt[layout->marks++] = mark + 1;
        y += lineHeight;
        p = next;
    }
    return 1;
}
