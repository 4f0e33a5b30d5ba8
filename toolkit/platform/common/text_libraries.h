// FreeType and fontconfig, opened on the first text drawn or measured rather than when the program loads:
// a window whose first frame has no text shows it without them. Calls go through textLibraries.NAME.
#pragma once

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#define VQ_TEXT_LIBRARY_CALLS(X)                                                                             \
    X(FT_Init_FreeType)                                                                                      \
    X(FT_New_Face)                                                                                           \
    X(FT_Done_Face)                                                                                          \
    X(FT_Set_Char_Size)                                                                                      \
    X(FT_Get_Sfnt_Table)                                                                                     \
    X(FT_New_Size)                                                                                           \
    X(FT_Done_Size)                                                                                          \
    X(FT_Activate_Size)                                                                                      \
    X(FT_Get_Char_Index)                                                                                     \
    X(FT_Load_Glyph)                                                                                         \
    X(FT_Render_Glyph)                                                                                       \
    X(FT_GlyphSlot_Oblique)                                                                                  \
    X(FT_GlyphSlot_Embolden)                                                                                 \
    X(FcInit)                                                                                                \
    X(FcFini)                                                                                                \
    X(FcPatternCreate)                                                                                       \
    X(FcPatternDestroy)                                                                                      \
    X(FcPatternAddString)                                                                                    \
    X(FcPatternAddBool)                                                                                      \
    X(FcPatternAddDouble)                                                                                    \
    X(FcPatternAddInteger)                                                                                   \
    X(FcPatternGetString)                                                                                    \
    X(FcPatternGetInteger)                                                                                   \
    X(FcPatternGetBool)                                                                                      \
    X(FcPatternGetMatrix)                                                                                    \
    X(FcPatternGetCharSet)                                                                                   \
    X(FcCharSetHasChar)                                                                                      \
    X(FcStrCmpIgnoreCase)                                                                                    \
    X(FcWeightFromOpenTypeDouble)                                                                            \
    X(FcConfigSubstitute)                                                                                    \
    X(FcDefaultSubstitute)                                                                                   \
    X(FcFontMatch)

#define VQ_TEXT_LIBRARY_FIELD(name) decltype(&::name) name;
struct TextLibraries {
    VQ_TEXT_LIBRARY_CALLS(VQ_TEXT_LIBRARY_FIELD)
};
#undef VQ_TEXT_LIBRARY_FIELD

extern TextLibraries textLibraries;

// Opens both libraries and finds every call the first time; true when all of them are there. The libraries
// stay open until the process ends.
bool OpenTextLibraries();
