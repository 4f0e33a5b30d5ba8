// Rendered glyphs of the shared text renderer: grey coverage and metrics, cached by font and code page 949
// code in a fixed table over a fixed coverage arena.
#pragma once

#include <stdint.h>

#include "toolkit/platform/common/font_cache.h"

struct CachedGlyph {
    uint32_t fontId; // 0 = free entry
    uint32_t code;   // one byte, or lead byte << 8 | trail byte
    int16_t left;    // coverage column 0 relative to the pen
    int16_t top;     // coverage row 0 above the baseline
    uint16_t width;  // coverage columns and rows (0 for blank glyphs)
    uint16_t rows;
    int32_t advance; // pixels the pen moves
    uint32_t offset; // of the coverage rows (width bytes each) in the arena
};

// The glyph of a code in the font: bytes that do not decode, or that the face lacks, give the replacement
// glyph '?'. Null only when nothing can be rendered. Valid until the next call.
const CachedGlyph* GlyphFor(const RendererFont* font, uint32_t code);

// Coverage bytes of a cached glyph.
const uint8_t* GlyphCoverage(const CachedGlyph* glyph);
