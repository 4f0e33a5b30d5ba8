#include "toolkit/platform/common/font_cache.h"

#include "toolkit/platform/common/cp949_decode.h"

#include "toolkit/platform/common/text_libraries.h"

#include <stdlib.h>
#include <string.h>

enum : int32_t { faceSlots = 8, fontSlots = 16, pathSize = 512 };

struct FaceSlot {
    FT_Face face; // null = free
    int32_t index;
    char path[pathSize];
};

static FT_Library library;
static int32_t libraryState; // 0 untried, 1 ready, -1 failed
static FaceSlot faces[faceSlots];
static int32_t nextFaceVictim;
static RendererFont fonts[fontSlots];
static int32_t nextFontVictim;
static uint32_t lastFontId;

static bool StartLibraries() {
    if (libraryState == 0) {
        libraryState = -1;
        if (!OpenTextLibraries()) return false;
        if (textLibraries.FcInit() && textLibraries.FT_Init_FreeType(&library) == 0) libraryState = 1;
        // Without it fontconfig's configuration stays allocated at exit, and leak checkers report it.
        atexit(textLibraries.FcFini);
    }
    return libraryState == 1;
}

struct Resolved {
    char path[pathSize];
    int32_t index;
    bool embolden;
    bool oblique;
};

static bool HasFamily(FcPattern* match, const char* family) {
    FcChar8* name;
    for (int i = 0; textLibraries.FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; i++) {
        if (textLibraries.FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0)
            return true;
    }
    return false;
}

// Korean is always asked for: every text is code page 949, so the face must have Hangul.
static bool Match(const char* family, const LogFont* font, Resolved* out) {
    FcPattern* pattern = textLibraries.FcPatternCreate();
    if (!pattern) return false;
    textLibraries.FcPatternAddString(pattern, FC_FAMILY,
                                     reinterpret_cast<const FcChar8*>(family[0] ? family : "sans-serif"));
    textLibraries.FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ko"));
    textLibraries.FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (font && font->lfWeight > 0) {
        int32_t weight = font->lfWeight > 1000 ? 1000 : font->lfWeight;
        textLibraries.FcPatternAddDouble(pattern, FC_WEIGHT,
                                         textLibraries.FcWeightFromOpenTypeDouble(weight));
    }
    if (font && font->lfItalic) textLibraries.FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    textLibraries.FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    textLibraries.FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = textLibraries.FcFontMatch(nullptr, pattern, &result);
    textLibraries.FcPatternDestroy(pattern);
    if (!match) return false;
    bool ok = false;
    FcChar8* file;
    FcCharSet* characters;
    int index = 0;
    if (textLibraries.FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        textLibraries.FcPatternGetCharSet(match, FC_CHARSET, 0, &characters) == FcResultMatch &&
        textLibraries.FcCharSetHasChar(characters, 0xAC00) && (!family[0] || HasFamily(match, family)) &&
        strlen(reinterpret_cast<const char*>(file)) < pathSize) {
        strcpy(out->path, reinterpret_cast<const char*>(file));
        textLibraries.FcPatternGetInteger(match, FC_INDEX, 0, &index);
        out->index = index;
        FcBool embolden = FcFalse;
        textLibraries.FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        out->embolden = embolden;
        FcMatrix* matrix;
        out->oblique = textLibraries.FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch &&
                       matrix->xy != 0;
        ok = true;
    }
    textLibraries.FcPatternDestroy(match);
    return ok;
}

// A named face that is missing or has no Hangul gives way to the default face.
static bool Resolve(const LogFont* font, Resolved* out) {
    char family[3 * 32 + 1] = "";
    if (font) {
        char name[33];
        memcpy(name, font->lfFaceName, 32);
        name[32] = 0;
        Cp949ToUtf8(name, family, sizeof family);
    }
    if (family[0] && Match(family, font, out)) return true;
    return Match("", font, out);
}

static int32_t OpenFace(const Resolved* r) {
    for (int32_t i = 0; i < faceSlots; i++) {
        if (faces[i].face && faces[i].index == r->index && strcmp(faces[i].path, r->path) == 0) return i;
    }
    int32_t slot = -1;
    for (int32_t i = 0; i < faceSlots && slot < 0; i++) {
        if (!faces[i].face) slot = i;
    }
    if (slot < 0) {
        slot = nextFaceVictim;
        nextFaceVictim = (nextFaceVictim + 1) % faceSlots;
        // Closing a face frees its sizes: the fonts on it go too.
        for (RendererFont& f : fonts) {
            if (f.id && f.faceSlot == slot) memset(&f, 0, sizeof f);
        }
        textLibraries.FT_Done_Face(faces[slot].face);
        faces[slot].face = nullptr;
    }
    FT_Face face;
    if (textLibraries.FT_New_Face(library, r->path, r->index, &face) != 0) return -1;
    if (!FT_IS_SCALABLE(face)) {
        textLibraries.FT_Done_Face(face);
        return -1;
    }
    faces[slot].face = face;
    faces[slot].index = r->index;
    strcpy(faces[slot].path, r->path);
    return slot;
}

static int32_t CeilDiv(int64_t a, int64_t b) {
    return static_cast<int32_t>((a + b - 1) / b);
}

// Sizes the font like the platform's LOGFONT heights: negative = character height, positive = cell height.
static bool SizeFont(FT_Face face, const LogFont* font, RendererFont* out) {
    int64_t ascender = face->ascender, descender = -face->descender;
    TT_OS2* os2 = static_cast<TT_OS2*>(textLibraries.FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    int64_t em = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    if (ascender + descender <= 0) {
        ascender = em * 4 / 5;
        descender = em / 5;
    }
    int64_t height = font ? font->lfHeight : 0;
    int64_t cell = 0;
    int64_t ppem64; // pixels per em, 26.6
    if (height > 0) {
        cell = height > largestCharacterHeight ? largestCharacterHeight : height;
        ppem64 = cell * 64 * em / (ascender + descender);
    } else {
        int64_t character = height < 0 ? -height : defaultCharacterHeight;
        if (character > largestCharacterHeight) character = largestCharacterHeight;
        ppem64 = character * 64;
    }
    if (ppem64 < 64) ppem64 = 64;
    if (textLibraries.FT_Set_Char_Size(face, 0, ppem64, 72, 72) != 0) return false;
    out->ascent = CeilDiv(ascender * ppem64, em * 64);
    out->descent = cell ? static_cast<int32_t>(cell) - out->ascent : CeilDiv(descender * ppem64, em * 64);
    if (out->descent < 0) out->descent = 0;
    int32_t thickness = static_cast<int32_t>((face->underline_thickness * ppem64 + em * 32) / (em * 64));
    if (thickness < 1) thickness = 1;
    int32_t below = static_cast<int32_t>((-face->underline_position * ppem64 + em * 32) / (em * 64));
    if (below < 1) below = 1;
    int32_t lineHeight = out->ascent + out->descent;
    out->underlineTop = out->ascent + below - thickness / 2;
    if (out->underlineTop + thickness > lineHeight) out->underlineTop = lineHeight - thickness;
    if (out->underlineTop < 0) out->underlineTop = 0;
    out->underlineHeight = thickness;
    out->strikeTop = out->ascent - static_cast<int32_t>(ppem64 * 3 / (10 * 64));
    if (out->strikeTop < 0) out->strikeTop = 0;
    out->strikeHeight = thickness;
    return true;
}

static bool SameDescription(const RendererFont& f, const LogFont* font) {
    if (!font) return !f.hasDescription;
    return f.hasDescription && memcmp(&f.description, font, sizeof *font) == 0;
}

const RendererFont* RendererFontFor(const LogFont* font) {
    for (const RendererFont& f : fonts) {
        if (f.id && SameDescription(f, font)) return &f;
    }
    if (!StartLibraries()) return nullptr;
    Resolved resolved;
    if (!Resolve(font, &resolved)) return nullptr;
    int32_t faceSlot = OpenFace(&resolved);
    if (faceSlot < 0) return nullptr;
    RendererFont* slot = nullptr;
    for (RendererFont& f : fonts) {
        if (!f.id && !slot) slot = &f;
    }
    if (!slot) {
        slot = &fonts[nextFontVictim];
        nextFontVictim = (nextFontVictim + 1) % fontSlots;
        textLibraries.FT_Done_Size(reinterpret_cast<FT_Size>(slot->size));
        memset(slot, 0, sizeof *slot);
    }
    FT_Face face = faces[faceSlot].face;
    FT_Size size;
    if (textLibraries.FT_New_Size(face, &size) != 0) return nullptr;
    textLibraries.FT_Activate_Size(size);
    RendererFont made = {};
    if (!SizeFont(face, font, &made)) {
        textLibraries.FT_Done_Size(size);
        return nullptr;
    }
    made.id = ++lastFontId;
    if (made.id == 0) made.id = ++lastFontId;
    made.size = reinterpret_cast<uintptr_t>(size);
    made.faceSlot = faceSlot;
    made.embolden = resolved.embolden;
    made.oblique = resolved.oblique;
    if (font) {
        made.hasDescription = 1;
        made.description = *font;
        made.underline = font->lfUnderline != 0;
        made.strikeOut = font->lfStrikeOut != 0;
    }
    *slot = made;
    return slot;
}

uintptr_t RendererFontFace(const RendererFont* font) {
    textLibraries.FT_Activate_Size(reinterpret_cast<FT_Size>(font->size));
    return reinterpret_cast<uintptr_t>(faces[font->faceSlot].face);
}
