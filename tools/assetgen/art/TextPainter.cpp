#include "tools/assetgen/art/TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace Zorvin::AssetGen {

const char* const kFontSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kFontSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kFontSansCondensedBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
const char* const kFontSerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
const char* const kFontSerifCondensedBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerifCondensed-Bold.ttf";

struct TextPainter::Impl {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    ~Impl()
    {
        if (face) FT_Done_Face(face);
        if (lib) FT_Done_FreeType(lib);
    }
};

std::vector<uint32_t> DecodeUtf8(const std::string& s)
{
    std::vector<uint32_t> out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = (unsigned char)s[i];
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0) {
            ++i;
            continue;
        }
        uint32_t cp = n == 0 ? c : (c & (0x3F >> n));
        bool good = true;
        for (int k = 1; k <= n; ++k) {
            if (i + size_t(k) >= s.size() || (((unsigned char)s[i + k]) >> 6) != 2) {
                good = false;
                break;
            }
            cp = (cp << 6) | (((unsigned char)s[i + k]) & 0x3F);
        }
        if (!good) {
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(n) + 1;
    }
    return out;
}

TextPainter::TextPainter(const char* fontFile, int pixelSize) : impl(std::make_unique<Impl>())
{
    if (FT_Init_FreeType(&impl->lib)) return;
    if (FT_New_Face(impl->lib, fontFile, 0, &impl->face)) {
        std::fprintf(stderr, "assetgen: cannot open font %s\n", fontFile);
        return;
    }
    if (FT_Set_Pixel_Sizes(impl->face, 0, FT_UInt(pixelSize))) return;
    ascent = int(impl->face->size->metrics.ascender >> 6);
    descent = int(-(impl->face->size->metrics.descender >> 6));
    lineHeight = int(impl->face->size->metrics.height >> 6);
    ok = true;
}

TextPainter::~TextPainter() = default;

bool TextPainter::HasGlyph(uint32_t codePoint) const
{
    return ok && FT_Get_Char_Index(impl->face, codePoint) != 0;
}

int TextPainter::Kerning(uint32_t left, uint32_t right) const
{
    if (!ok || !FT_HAS_KERNING(impl->face)) return 0;
    FT_UInt a = FT_Get_Char_Index(impl->face, left), b = FT_Get_Char_Index(impl->face, right);
    if (!a || !b) return 0;
    FT_Vector k;
    if (FT_Get_Kerning(impl->face, a, b, FT_KERNING_DEFAULT, &k)) return 0;
    return int(k.x >> 6);
}

bool TextPainter::RenderGlyph(uint32_t codePoint, Glyph& out) const
{
    out = Glyph();
    if (!ok) return false;
    FT_UInt gi = FT_Get_Char_Index(impl->face, codePoint);
    if (FT_Load_Glyph(impl->face, gi, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT)) return false;
    if (FT_Render_Glyph(impl->face->glyph, FT_RENDER_MODE_NORMAL)) return false;
    FT_GlyphSlot g = impl->face->glyph;
    out.w = int(g->bitmap.width);
    out.h = int(g->bitmap.rows);
    out.left = g->bitmap_left;
    out.top = g->bitmap_top;
    out.advance = int((g->advance.x + 32) >> 6);
    out.cover.resize(size_t(out.w) * size_t(out.h));
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x)
            out.cover[size_t(y) * out.w + x] = float(g->bitmap.buffer[y * g->bitmap.pitch + x]) / 255.f;
    return gi != 0;
}

int TextPainter::Measure(const std::string& utf8) const
{
    if (!ok) return 0;
    int pen = 0;
    FT_UInt prev = 0;
    for (uint32_t cp : DecodeUtf8(utf8)) {
        FT_UInt gi = FT_Get_Char_Index(impl->face, cp);
        if (prev && gi && FT_HAS_KERNING(impl->face)) {
            FT_Vector k;
            FT_Get_Kerning(impl->face, prev, gi, FT_KERNING_DEFAULT, &k);
            pen += int(k.x >> 6);
        }
        if (!FT_Load_Glyph(impl->face, gi, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT))
            pen += int((impl->face->glyph->advance.x + 32) >> 6);
        prev = gi;
    }
    return pen;
}

Mask TextPainter::TextMask(const std::vector<uint32_t>& cps, int& ox, int& oy, int margin) const
{
    // First pass: extent of the ink.
    struct Placed {
        Glyph g;
        int x;
    };
    std::vector<Placed> placed;
    int pen = 0;
    FT_UInt prev = 0;
    int minX = 0, maxX = 1, minY = 0, maxY = 1;
    for (uint32_t cp : cps) {
        FT_UInt gi = FT_Get_Char_Index(impl->face, cp);
        if (prev && gi && FT_HAS_KERNING(impl->face)) {
            FT_Vector k;
            FT_Get_Kerning(impl->face, prev, gi, FT_KERNING_DEFAULT, &k);
            pen += int(k.x >> 6);
        }
        Placed p;
        RenderGlyph(cp, p.g);
        p.x = pen;
        minX = std::min(minX, pen + p.g.left);
        maxX = std::max(maxX, pen + p.g.left + p.g.w);
        minY = std::min(minY, -p.g.top);
        maxY = std::max(maxY, -p.g.top + p.g.h);
        pen += p.g.advance;
        prev = gi;
        placed.push_back(std::move(p));
    }
    ox = minX - margin;
    oy = minY - margin;
    Mask m(maxX - minX + 2 * margin, maxY - minY + 2 * margin);
    for (const Placed& p : placed)
        for (int y = 0; y < p.g.h; ++y)
            for (int x = 0; x < p.g.w; ++x) {
                int mx = p.x + p.g.left + x - ox, my = -p.g.top + y - oy;
                float& d = m.Ref(mx, my);
                d = std::min(1.f, d + p.g.cover[size_t(y) * p.g.w + x]);
            }
    return m;
}

void TextPainter::Draw(Canvas& c, const std::string& utf8, float x, float y, const TextStyle& style) const
{
    if (!ok) return;
    int margin = int(std::ceil(style.outline)) + style.shadowBlur + 2;
    int ox = 0, oy = 0;
    Mask ink = TextMask(DecodeUtf8(utf8), ox, oy, margin);
    int bx = int(std::lround(x)) + ox, by = int(std::lround(y)) + oy;
    Mask body = ink;
    if (style.outline > 0) {
        body.Dilate(int(std::ceil(style.outline)));
        if (style.outline > 1.2f) body.Blur(1);
    }
    if (style.shadowColor.a > 0 && (style.shadowX || style.shadowY || style.shadowBlur)) {
        Mask sh = body;
        sh.Blur(style.shadowBlur);
        c.DrawMask(sh, style.shadowColor, bx + style.shadowX, by + style.shadowY);
    }
    if (style.outline > 0) c.DrawMask(body, style.outlineColor, bx, by);
    float top = float(-ascent), bottom = float(descent);
    for (int j = 0; j < ink.h; ++j)
        for (int i = 0; i < ink.w; ++i) {
            float cov = ink.v[size_t(j) * ink.w + i];
            if (cov <= 0) continue;
            Rgba col = style.fill;
            if (style.fillBottom.a > 0) {
                float t = Clamp01((float(j + oy) - top) / (bottom - top));
                col = Mix(style.fill, style.fillBottom, t);
            }
            c.Blend(bx + i, by + j, col, cov);
        }
}

void TextPainter::DrawCentered(Canvas& c, const std::string& utf8, float cx, float y, const TextStyle& style) const
{
    Draw(c, utf8, cx - float(Measure(utf8)) / 2.f, y, style);
}

float TextPainter::DrawWrapped(Canvas& c, const std::string& utf8, float x, float y, float width, float lineStep,
                               const TextStyle& style) const
{
    std::string line, word;
    auto flush = [&]() {
        if (!line.empty()) Draw(c, line, x, y, style);
        y += lineStep;
        line.clear();
    };
    size_t i = 0;
    while (i <= utf8.size()) {
        char ch = i < utf8.size() ? utf8[i] : ' ';
        if (ch == ' ' || ch == '\n') {
            if (!word.empty()) {
                std::string candidate = line.empty() ? word : line + " " + word;
                if (!line.empty() && float(Measure(candidate)) > width) {
                    flush();
                    line = word;
                } else
                    line = candidate;
                word.clear();
            }
            if (ch == '\n') flush();
        } else
            word += ch;
        ++i;
    }
    if (!line.empty()) flush();
    return y;
}

} // namespace Zorvin::AssetGen
