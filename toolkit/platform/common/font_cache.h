// Fonts of the shared FreeType text renderer: a LogFont resolved through fontconfig to a Korean-capable
// face at a pixel size, kept in fixed tables so that a font described again costs a table look-up.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

// The default font's character height in pixels (a null font or a height of 0).
constexpr int32_t defaultCharacterHeight = 12;
constexpr int32_t largestCharacterHeight = 256;

struct RendererFont {
    uint32_t id;     // never reused: glyphs are cached under it; 0 = free entry
    int32_t ascent;  // pixels above the baseline; the baseline is this far below the line's top
    int32_t descent; // pixels below it; a line is ascent + descent high
    int32_t underlineTop, underlineHeight; // rows from the line's top
    int32_t strikeTop, strikeHeight;
    uint8_t underline; // every character underlined
    uint8_t strikeOut;
    uint8_t embolden; // synthetic bold and slant, where the face lacks them
    uint8_t oblique;
    uintptr_t size;   // FT_Size of the face at this pixel size
    int32_t faceSlot; // index into the face table
    uint8_t hasDescription;
    LogFont description; // what it was made from (the key)
};

// The realised font for a description (null: the default font); null when no font can be had. The
// pointer stays valid until another font is realised.
const RendererFont* RendererFontFor(const LogFont* font);

// Activates the font's size on its face and returns the FT_Face.
uintptr_t RendererFontFace(const RendererFont* font);
