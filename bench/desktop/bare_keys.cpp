// The reference for the time from a key to the screen: SDL alone, with the hints the toolkit's backend
// gives it, takes text input (and an input method's composition) and draws one glyph a key through
// FreeType into its window surface, then copies that cell to the screen, as the toolkit's present does.
// Backspace, or an empty composition, clears the cell. The font is the one fontconfig gives the toolkit
// (Korean-capable sans-serif) at the gallery's 12-pixel characters.
#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <string.h>

enum : int { windowW = 820, windowH = 640, cellX = 40, cellY = 40, cellW = 24, cellH = 24, baseline = 17 };

static SDL_Window* window;
static FT_Face face;

static bool OpenFace() {
    FT_Library library;
    if (!FcInit() || FT_Init_FreeType(&library) != 0) return false;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ko:scalable=true"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    int index = 0;
    if (!match || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return false;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    bool ok = FT_New_Face(library, reinterpret_cast<const char*>(file), index, &face) == 0 &&
              FT_Set_Pixel_Sizes(face, 0, 12) == 0;
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return ok;
}

// The first character of UTF-8 text; 0 for none.
static uint32_t FirstCharacter(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (p[0] < 0x80) return p[0];
    if ((p[0] & 0xE0) == 0xC0) return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    if ((p[0] & 0xF0) == 0xE0) return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
}

// Clears the cell, draws the character's glyph in black into it (none for 0) and copies it to the screen.
static void ShowCell(uint32_t character) {
    SDL_Surface* screen = SDL_GetWindowSurface(window);
    if (!screen || screen->format->BytesPerPixel != 4) return;
    SDL_Rect cell = {cellX, cellY, cellW, cellH};
    SDL_FillRect(screen, &cell, SDL_MapRGB(screen->format, 255, 255, 255));
    if (character && FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) == 0) {
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        int left = cellX + 2 + face->glyph->bitmap_left, top = cellY + baseline - face->glyph->bitmap_top;
        for (int y = 0; y < static_cast<int>(bitmap.rows); y++) {
            for (int x = 0; x < static_cast<int>(bitmap.width); x++) {
                int sx = left + x, sy = top + y;
                if (sx < cellX || sx >= cellX + cellW || sy < cellY || sy >= cellY + cellH) continue;
                uint32_t ink = 255u - bitmap.buffer[y * bitmap.pitch + x];
                uint32_t* pixel =
                    reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) + sy * screen->pitch) +
                    sx;
                *pixel = SDL_MapRGB(screen->format, static_cast<Uint8>(ink), static_cast<Uint8>(ink),
                                    static_cast<Uint8>(ink));
            }
        }
    }
    SDL_UpdateWindowSurfaceRects(window, &cell, 1);
}

int main(int, char**) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!OpenFace() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
    window = SDL_CreateWindow("Velquist Keys", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowW,
                              windowH, 0);
    SDL_Surface* screen = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!screen) return 1;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
    SDL_UpdateWindowSurface(window);
    SDL_Rect caret = {cellX, cellY, cellW, cellH};
    SDL_SetTextInputRect(&caret);
    SDL_StartTextInput();
    for (;;) {
        SDL_Event e;
        if (!SDL_WaitEvent(&e) || e.type == SDL_QUIT) break;
        if (e.type == SDL_TEXTINPUT) {
            ShowCell(FirstCharacter(e.text.text));
        } else if (e.type == SDL_TEXTEDITING) {
            ShowCell(FirstCharacter(e.edit.text));
        } else if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_BACKSPACE) {
            ShowCell(0);
        } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            SDL_UpdateWindowSurface(window);
        }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
