#include "tests/framework/font/FontTestFonts.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/imagefile/PngWriter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <fstream>
#include <vector>

using namespace Zorvin;

namespace FontTestFonts {

std::unique_ptr<MemoryImage> MakeBlockSheet()
{
    auto sheet = std::make_unique<MemoryImage>(64, 8);
    uint32_t* p = sheet->GetBits();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x) {
            uint32_t v = 0;
            if (y < 6 && x < 4)
                v = 0xFFFFFFFF;
            else if (y < 6 && x >= 8 && x < 11)
                v = 0xFFFFFFFF;
            else if (y < 2 && x >= 16 && x < 18)
                v = 0x80FF4020;
            p[y * 64 + x] = v;
        }
    sheet->BitsChanged();
    sheet->CommitBits();
    return sheet;
}

namespace {

// A character as a quoted descriptor string.
std::string Quote(unsigned char c)
{
    if (c == '\'')
        return "''''";
    if (c == '\\')
        return "'\\\\'";
    return std::string("'") + static_cast<char>(c) + "'";
}

uint32_t CodePoint(unsigned char byte)
{
    std::string u = Cp1251ToUtf8(std::string(1, static_cast<char>(byte)));
    const auto* s = reinterpret_cast<const unsigned char*>(u.data());
    if (u.size() == 1)
        return s[0];
    if (u.size() == 2)
        return ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
    return ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
}

} // namespace

std::string WriteFreeTypeFont(const std::string& dir, const std::string& name, int pixelSize)
{
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, &face))
        std::abort();
    FT_Set_Pixel_Sizes(face, 0, pixelSize);
    const int ascent = int((face->size->metrics.ascender + 63) >> 6);
    const int cellHeight = ascent + int((-face->size->metrics.descender + 63) >> 6);

    struct G {
        unsigned char c;
        int x, w, left, top, advance;
        std::vector<uint8_t> cov;
        int rows;
    };
    std::vector<G> glyphs;
    int sheetWidth = 0;
    for (int b = 32; b < 256; ++b) {
        uint32_t cp = CodePoint(static_cast<unsigned char>(b));
        if (b == 0x98 || (b >= 0x7F && b < 0xA0 && cp < 0xA0))
            continue;
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER))
            continue;
        FT_GlyphSlot s = face->glyph;
        G g{static_cast<unsigned char>(b), sheetWidth, int(s->bitmap.width), s->bitmap_left, s->bitmap_top,
            int((s->advance.x + 32) >> 6), {}, int(s->bitmap.rows)};
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.w; ++x)
                g.cov.push_back(s->bitmap.buffer[y * s->bitmap.pitch + x]);
        sheetWidth += g.w + 1;
        glyphs.push_back(std::move(g));
    }

    // Glyph cells are the full line height so that char offsets stay small.
    MemoryImage sheet(sheetWidth, cellHeight);
    uint32_t* px = sheet.GetBits();
    for (const G& g : glyphs)
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.w; ++x) {
                int sy = ascent - g.top + y;
                if (sy >= 0 && sy < cellHeight)
                    px[sy * sheetWidth + g.x + x] = (uint32_t(g.cov[y * g.w + x]) << 24) | 0xFFFFFF;
            }
    sheet.BitsChanged();
    if (!PngWriter::Write(sheet, dir + "/" + name + ".png"))
        std::abort();

    std::string chars, rects, widths, offsets;
    for (const G& g : glyphs) {
        chars += Quote(g.c) + " ";
        rects += "(" + std::to_string(g.x) + " 0 " + std::to_string(g.w) + " " + std::to_string(cellHeight) + ") ";
        // The pen moves on from the glyph's offset position, so the width
        // is the advance less the left bearing.
        widths += std::to_string(g.advance - g.left) + " ";
        offsets += "(" + std::to_string(g.left) + " 0) ";
    }
    std::string kernChars, kernOffsets;
    const char* pairs[] = {"AV", "VA", "To", "Te", "LT", "Yo", "AT", "Ta"};
    for (const char* pr : pairs) {
        FT_Vector k{};
        FT_Get_Kerning(face, FT_Get_Char_Index(face, pr[0]), FT_Get_Char_Index(face, pr[1]), FT_KERNING_DEFAULT, &k);
        kernChars += std::string("'") + pr + "' ";
        kernOffsets += std::to_string(int(k.x >> 6)) + " ";
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);

    std::ofstream out(dir + "/" + name + ".txt", std::ios::binary);
    out << "# DejaVu Sans " << pixelSize << " px, made by the font tests\n"
        << "SetDefaultPointSize " << pixelSize << ";\n"
        << "Define Chars (" << chars << ");\n"
        << "Define Rects (" << rects << ");\n"
        << "CreateLayer Main;\n"
        << "LayerSetImage Main '" << name << ".png';\n"
        << "LayerSetAscent Main " << ascent << ";\n"
        << "LayerSetLineSpacingOffset Main 2;\n"
        << "LayerSetImageMap Main Chars Rects;\n"
        << "LayerSetCharWidths Main Chars (" << widths << ");\n"
        << "LayerSetCharOffsets Main Chars (" << offsets << ");\n"
        << "LayerSetKerningPairs Main (" << kernChars << ") (" << kernOffsets << ");\n";
    return dir + "/" + name + ".txt";
}

} // namespace FontTestFonts
