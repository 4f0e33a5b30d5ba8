#include "toolkit/platform/common/glyph_cache.h"

#include "toolkit/platform/common/cp949_decode.h"
#include "toolkit/platform/common/text_libraries.h"

#include <string.h>

enum : uint32_t { glyphSets = 4096, glyphWays = 2, arenaSize = 2u << 20 };

static CachedGlyph table[glyphSets][glyphWays];
static uint8_t nextWay[glyphSets];
static uint8_t arena[arenaSize];
static uint32_t arenaUsed;

const uint8_t* GlyphCoverage(const CachedGlyph* glyph) {
    return arena + glyph->offset;
}

static uint32_t SetOf(uint32_t fontId, uint32_t code) {
    uint32_t h = fontId * 0x9E3779B1u ^ code * 0x85EBCA77u;
    return (h ^ (h >> 15)) & (glyphSets - 1);
}

// Loads and renders the glyph into the slot's bitmap; false when FreeType cannot.
static bool Render(FT_Face face, const RendererFont* font, uint32_t code) {
    uint32_t point = DecodeCp949(code);
    FT_UInt index = point ? textLibraries.FT_Get_Char_Index(face, point) : 0;
    if (index == 0) index = textLibraries.FT_Get_Char_Index(face, '?');
    if (textLibraries.FT_Load_Glyph(face, index,
                                    FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) {
        return false;
    }
    if (font->oblique) textLibraries.FT_GlyphSlot_Oblique(face->glyph);
    if (font->embolden) textLibraries.FT_GlyphSlot_Embolden(face->glyph);
    return textLibraries.FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) == 0;
}

static void StoreCoverage(const FT_Bitmap& bitmap, CachedGlyph* glyph) {
    uint32_t bytes = bitmap.width * bitmap.rows;
    bool known = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    // Huge or unknown bitmaps keep their advance and draw nothing.
    if (bytes == 0 || !known || bitmap.width > 0xFFFF || bitmap.rows > 0xFFFF || bytes > arenaSize / 8) {
        glyph->width = glyph->rows = 0;
        return;
    }
    if (arenaSize - arenaUsed < bytes) {
        memset(table, 0, sizeof table);
        arenaUsed = 0;
    }
    glyph->offset = arenaUsed;
    glyph->width = static_cast<uint16_t>(bitmap.width);
    glyph->rows = static_cast<uint16_t>(bitmap.rows);
    uint8_t* out = arena + arenaUsed;
    for (uint32_t y = 0; y < bitmap.rows; y++) {
        const uint8_t* row = bitmap.buffer + static_cast<intptr_t>(y) * bitmap.pitch;
        uint8_t* to = out + static_cast<size_t>(y) * bitmap.width;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256) {
            memcpy(to, row, bitmap.width);
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            uint32_t top = bitmap.num_grays > 1 ? bitmap.num_grays - 1u : 1u;
            for (uint32_t x = 0; x < bitmap.width; x++) to[x] = static_cast<uint8_t>(row[x] * 255u / top);
        } else {
            for (uint32_t x = 0; x < bitmap.width; x++) to[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        }
    }
    arenaUsed += bytes;
}

const CachedGlyph* GlyphFor(const RendererFont* font, uint32_t code) {
    uint32_t set = SetOf(font->id, code);
    for (uint32_t way = 0; way < glyphWays; way++) {
        const CachedGlyph& g = table[set][way];
        if (g.fontId == font->id && g.code == code) return &g;
    }
    FT_Face face = reinterpret_cast<FT_Face>(RendererFontFace(font));
    if (!Render(face, font, code)) return nullptr;
    CachedGlyph glyph = {};
    glyph.fontId = font->id;
    glyph.code = code;
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    if (glyph.advance < 0) glyph.advance = 0;
    glyph.left = static_cast<int16_t>(slot->bitmap_left);
    glyph.top = static_cast<int16_t>(slot->bitmap_top);
    StoreCoverage(slot->bitmap, &glyph);
    // A flush inside StoreCoverage emptied the table; the set is free again then.
    uint32_t way = table[set][0].fontId == 0 ? 0 : table[set][1].fontId == 0 ? 1 : nextWay[set];
    nextWay[set] = static_cast<uint8_t>(way ^ 1);
    table[set][way] = glyph;
    return &table[set][way];
}
