// font.cpp: bitmap fonts for the stand-in - fontconfig finds the face, FreeType draws the glyphs.
//
// CreateFontA only records the request; SelectObject keeps the font selected per device
// context; wglUseFontBitmapsA matches the selected request with fontconfig, rasterises each
// character in monochrome with FreeType and compiles it into a display list of the current GL
// context as one glBitmap that draws the glyph at the raster position and advances it.
#include "shell/platform.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace {

// What CreateFontA was asked for; the HFONT points to one of these.
struct FontRequest {
    char face[32];  // the face name, cut to 31 characters as the platform does
    int height;     // < 0: em height in pixels; > 0: cell height; 0: the default size
    int weight;     // 0 (don't care) or 100..900
    bool italic;
};

// Fonts made and not yet deleted, so that stray handles are refused instead of followed.
std::set<FontRequest*> liveFonts;
// The font selected into each device context; a context without an entry has its stock font.
std::map<HDC, FontRequest*> selectedFonts;

// The stock font of a device context: the size the game's font has, regular weight.
const FontRequest stockFont = {"", -16, 400, false};

const int defaultPixelHeight = 16;

FontRequest* liveFont(HGDIOBJ object)
{
    FontRequest* font = reinterpret_cast<FontRequest*>(object);
    return liveFonts.count(font) ? font : nullptr;
}

// The font file fontconfig picks for the request; false when it finds none.
bool matchFontFile(FcConfig* config, const FontRequest& request, std::vector<char>& file,
                   int& index)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) {
        return false;
    }
    if (request.face[0] != '\0') {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face));
    }
    int weight = request.weight > 0 ? request.weight : 400;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) {
        return false;
    }
    FcChar8* path = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        std::size_t length = std::strlen(reinterpret_cast<const char*>(path));
        file.assign(reinterpret_cast<const char*>(path),
                    reinterpret_cast<const char*>(path) + length + 1);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) {
            index = 0;
        }
    }
    FcPatternDestroy(match);
    return found;
}

// Sets the face's pixel size for the request's height; false when the face has no usable size.
bool setPixelSize(FT_Face face, int height)
{
    int emPixels = defaultPixelHeight;
    if (height < 0) {
        emPixels = -height;
    } else if (height > 0) {
        // A cell height: ascent plus descent, as the platform measures TrueType fonts.
        int cellUnits = 0;
        const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2) {
            cellUnits = os2->usWinAscent + os2->usWinDescent;
        }
        if (cellUnits <= 0) {
            cellUnits = face->ascender - face->descender;
        }
        if (cellUnits > 0 && face->units_per_EM > 0) {
            emPixels = static_cast<int>(
                std::lround(static_cast<double>(height) * face->units_per_EM / cellUnits));
        } else {
            emPixels = height;
        }
        if (emPixels < 1) {
            emPixels = 1;
        }
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emPixels)) == 0) {
        return true;
    }
    // A face with fixed sizes only: take the first strike.
    return face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) == 0;
}

// Whether pixel (x, y) of a FreeType bitmap (rows top-down) is inked.
bool inked(const FT_Bitmap& bitmap, unsigned x, unsigned y)
{
    int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    const unsigned char* row = bitmap.buffer + static_cast<std::size_t>(y) * pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        return (row[x / 8] >> (7 - x % 8)) & 1;
    }
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        return row[x] >= 128;
    }
    return false;
}

// Compiles the glyph of one character code into one display list.
void compileGlyph(FT_Face face, DWORD code, GLuint list, std::vector<GLubyte>& image)
{
    // Compiled even when the glyph cannot be had, so that the list exists and draws nothing.
    glNewList(list, GL_COMPILE);
    FT_UInt glyphIndex = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_TARGET_MONO) == 0 &&
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0) {
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const GLsizei width = static_cast<GLsizei>(bitmap.width);
        const GLsizei rows = static_cast<GLsizei>(bitmap.rows);
        const GLfloat advance = static_cast<GLfloat>(slot->advance.x >> 6);

        // glBitmap wants rows bottom-up, one byte-aligned row of bits each, MSB first.
        const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
        image.assign(rowBytes * rows + 1, 0);  // never empty: a null image is refused in lists
        for (GLsizei y = 0; y < rows; ++y) {
            GLubyte* target = &image[rowBytes * (rows - 1 - y)];
            for (GLsizei x = 0; x < width; ++x) {
                if (inked(bitmap, x, y)) {
                    target[x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
                }
            }
        }
        glBitmap(width, rows, static_cast<GLfloat>(-slot->bitmap_left),
                 static_cast<GLfloat>(rows - slot->bitmap_top), advance, 0.0f, image.data());
    }
    glEndList();
}

}  // namespace

// Records the request; the glyphs are made when wglUseFontBitmapsA asks for them.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCSTR faceName)
{
    // Width, angles, decorations and the mapping hints do not change a bitmap of codes 32..127.
    (void)width;
    (void)escapement;
    (void)orientation;
    (void)underline;
    (void)strikeOut;
    (void)charSet;
    (void)outPrecision;
    (void)clipPrecision;
    (void)quality;
    (void)pitchAndFamily;

    FontRequest* font = new FontRequest();
    if (faceName) {
        std::snprintf(font->face, sizeof font->face, "%s", faceName);
    }
    font->height = height;
    font->weight = weight;
    font->italic = italic != 0;
    liveFonts.insert(font);
    return reinterpret_cast<HFONT>(font);
}

// Selects a font into the device context and returns the one selected before. A null object
// stands for the context's stock font, so handing back what a first selection returned
// restores the context.
HGDIOBJ SelectObject(HDC deviceContext, HGDIOBJ object)
{
    if (!deviceContext) {
        return nullptr;
    }
    FontRequest* font = nullptr;
    if (object) {
        font = liveFont(object);
        if (!font) {
            return nullptr;
        }
    }
    FontRequest* previous = nullptr;
    auto entry = selectedFonts.find(deviceContext);
    if (entry != selectedFonts.end()) {
        previous = entry->second;
    }
    if (font) {
        selectedFonts[deviceContext] = font;
    } else if (entry != selectedFonts.end()) {
        selectedFonts.erase(entry);
    }
    return reinterpret_cast<HGDIOBJ>(previous);
}

// Frees a font. One still selected into a device context stays valid and is refused, as the
// platform refuses it.
BOOL DeleteObject(HGDIOBJ object)
{
    FontRequest* font = liveFont(object);
    if (!font) {
        return FALSE;
    }
    for (const auto& entry : selectedFonts) {
        if (entry.second == font) {
            return FALSE;
        }
    }
    liveFonts.erase(font);
    delete font;
    return TRUE;
}

// Fills lists listBase .. listBase + count - 1 with the glyphs of codes first .. first + count - 1
// of the device context's font. Without a font the lists stay empty and FALSE comes back.
BOOL wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase)
{
    if (!deviceContext || listBase == 0 || count == 0) {
        return FALSE;
    }
    FontRequest request = stockFont;
    auto entry = selectedFonts.find(deviceContext);
    if (entry != selectedFonts.end()) {
        request = *entry->second;
    }

    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) {
        std::fprintf(stderr, "wglUseFontBitmapsA: fontconfig could not be set up; no text\n");
        return FALSE;
    }
    std::vector<char> file;
    int index = 0;
    bool matched = matchFontFile(config, request, file, index);
    FcConfigDestroy(config);
    if (!matched) {
        std::fprintf(stderr, "wglUseFontBitmapsA: no font matches \"%s\"; no text\n",
                     request.face);
        return FALSE;
    }

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "wglUseFontBitmapsA: FreeType could not be set up; no text\n");
        return FALSE;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.data(), index, &face) != 0) {
        std::fprintf(stderr, "wglUseFontBitmapsA: cannot load font file %s; no text\n",
                     file.data());
        FT_Done_FreeType(library);
        return FALSE;
    }
    if (!setPixelSize(face, request.height)) {
        std::fprintf(stderr, "wglUseFontBitmapsA: font file %s has no size %d; no text\n",
                     file.data(), request.height);
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        return FALSE;
    }

    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    std::vector<GLubyte> image;
    for (DWORD i = 0; i < count; ++i) {
        compileGlyph(face, first + i, listBase + i, image);
    }
    glPopClientAttrib();

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return TRUE;
}
