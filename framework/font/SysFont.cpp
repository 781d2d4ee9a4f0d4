#include "framework/font/SysFont.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace Zorvin {

namespace {

// The Unicode code point of one Windows-1251 byte (0 when it has none).
uint32_t CodePoint(unsigned char byte)
{
    std::string u = Cp1251ToUtf8(std::string(1, static_cast<char>(byte)));
    const auto* s = reinterpret_cast<const unsigned char*>(u.data());
    if (u.size() == 1)
        return s[0];
    if (u.size() == 2)
        return ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
    if (u.size() == 3)
        return ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
    return 0;
}

// Owns a FreeType library and face for the duration of rendering.
struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

} // namespace

SysFont::SysFont(const std::string& face, int size, bool isBold) : faceName(face), pointSize(size), bold(isBold)
{
    Render();
}

SysFont::SysFont(const SysFont& other) : SysFont(other.faceName, other.pointSize, other.bold) {}

SysFont::~SysFont() = default;

std::unique_ptr<Font> SysFont::Duplicate() const
{
    return std::make_unique<SysFont>(*this);
}

void SysFont::Render()
{
    // Rounded like the platform's multiply-divide.
    const int pixelHeight = (pointSize * kDotsPerInch + 36) / 72;
    if (pixelHeight < 1 || pixelHeight > 512)
        return;
    FreeTypeFace ft;
    if (FT_Init_FreeType(&ft.library) != 0 || FT_New_Face(ft.library, bold ? kBoldFace : kRegularFace, 0, &ft.face) != 0)
        return;
    if (FT_Set_Pixel_Sizes(ft.face, 0, static_cast<FT_UInt>(pixelHeight)) != 0)
        return;
    ascent = static_cast<int>((ft.face->size->metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-ft.face->size->metrics.descender + 63) >> 6);
    height = ascent + descent;
    ascentPadding = 0;
    lineSpacingOffset = static_cast<int>((ft.face->size->metrics.height + 63) >> 6) - height;

    // Render every byte's glyph into its own buffer first, then pack them
    // side by side into one sheet.
    struct Bitmap {
        int width = 0, rows = 0;
        std::vector<uint8_t> coverage;
    };
    std::array<Bitmap, 256> bitmaps;
    std::array<FT_UInt, 256> index{};
    int sheetWidth = 0, sheetHeight = 1;
    for (int b = 32; b < 256; ++b) {
        const uint32_t cp = CodePoint(static_cast<unsigned char>(b));
        if (cp < 32 || (cp >= 0x7F && cp < 0xA0))
            continue;
        index[b] = FT_Get_Char_Index(ft.face, cp);
        if (FT_Load_Char(ft.face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
            continue;
        const FT_GlyphSlot slot = ft.face->glyph;
        Glyph& g = glyphs[b];
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        Bitmap& bm = bitmaps[b];
        bm.width = static_cast<int>(slot->bitmap.width);
        bm.rows = static_cast<int>(slot->bitmap.rows);
        if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
            bm.width = bm.rows = 0;
            continue;
        }
        bm.coverage.resize(size_t(bm.width) * bm.rows);
        for (int y = 0; y < bm.rows; ++y)
            std::copy_n(slot->bitmap.buffer + y * slot->bitmap.pitch, bm.width, bm.coverage.begin() + y * bm.width);
        g.rect = Rect(sheetWidth, 0, bm.width, bm.rows);
        sheetWidth += bm.width;
        sheetHeight = std::max(sheetHeight, bm.rows);
    }

    if (FT_HAS_KERNING(ft.face)) {
        kerning = std::make_unique<std::array<std::array<int8_t, 256>, 256>>();
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b) {
                FT_Vector k{0, 0};
                int8_t v = 0;
                if (index[a] && index[b] && FT_Get_Kerning(ft.face, index[a], index[b], FT_KERNING_DEFAULT, &k) == 0)
                    v = static_cast<int8_t>(std::clamp<long>((k.x + 32) >> 6, -128, 127));
                (*kerning)[a][b] = v;
            }
    }

    auto image = std::make_unique<MemoryImage>(std::max(sheetWidth, 1), sheetHeight);
    uint32_t* px = image->GetBits();
    if (!px)
        return;
    std::fill(px, px + size_t(image->GetWidth()) * sheetHeight, 0x00FFFFFFu);
    for (int b = 0; b < 256; ++b) {
        const Bitmap& bm = bitmaps[b];
        for (int y = 0; y < bm.rows; ++y)
            for (int x = 0; x < bm.width; ++x)
                px[size_t(y) * image->GetWidth() + glyphs[b].rect.x + x] =
                    (uint32_t(bm.coverage[size_t(y) * bm.width + x]) << 24) | 0x00FFFFFFu;
    }
    image->BitsChanged();
    image->CommitBits();
    sheet = std::move(image);
}

int SysFont::StringWidth(const std::string& text)
{
    if (!sheet)
        return 0;
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        width += glyphs[c].advance;
        if (kerning && i + 1 < text.size())
            width += (*kerning)[c][static_cast<unsigned char>(text[i + 1])];
    }
    return width;
}

int SysFont::CharWidthKern(char c, char prev)
{
    int w = CharWidth(c);
    if (kerning && prev != 0)
        w += (*kerning)[static_cast<unsigned char>(prev)][static_cast<unsigned char>(c)];
    return w;
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect& clip)
{
    (void)clip; // the context clips every glyph itself
    if (!g || !sheet)
        return;
    const Color oldColor = g->GetColor();
    const bool oldColorize = g->GetColorizeImages();
    g->SetColorizeImages(true);
    g->SetColor(color);
    int pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const Glyph& glyph = glyphs[c];
        if (!glyph.rect.IsEmpty())
            g->DrawImage(sheet.get(), pen + glyph.left, y - glyph.top, glyph.rect);
        pen += glyph.advance;
        if (kerning && i + 1 < text.size())
            pen += (*kerning)[c][static_cast<unsigned char>(text[i + 1])];
    }
    g->SetColor(oldColor);
    g->SetColorizeImages(oldColorize);
}

} // namespace Zorvin
