#include "tools/assetgen/art/FontSheet.h"

#include "framework/core/Cp1251.h"
#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/Manifest.h"
#include "tools/assetgen/art/TextPainter.h"

#include <sstream>

namespace Zorvin::AssetGen {

namespace {

uint32_t CodePointOf(unsigned char b)
{
    std::vector<uint32_t> cps = DecodeUtf8(Cp1251ToUtf8(std::string(1, char(b))));
    return cps.empty() ? 0 : cps[0];
}

const TextPainter& GlyphFont()
{
    static const TextPainter font(kFontSansCondensedBold, kFontPixelSize);
    return font;
}

// A character as a descriptor string literal.
std::string Quoted(unsigned char b)
{
    if (b == '\'') return "\"'\"";
    if (b == '\\') return "'\\\\'";
    return std::string("'") + char(b) + "'";
}

} // namespace

std::vector<unsigned char> FontCoverage()
{
    std::vector<unsigned char> out;
    for (int b = 32; b < 256; ++b) {
        if (b == 127 || b == 0x98) continue; // delete and the one unassigned byte
        uint32_t cp = CodePointOf((unsigned char)b);
        if (cp == 0 || cp == 0xFFFD) continue;
        if (cp == 0xA0 || cp == 0xAD || GlyphFont().HasGlyph(cp) || cp == ' ') out.push_back((unsigned char)b);
    }
    return out;
}

FontSheet BuildFontSheet()
{
    FontSheet f;
    const TextPainter& font = GlyphFont();
    f.margin = 2;
    f.ascent = font.Ascent();
    f.descent = font.Descent();
    f.lineSpacing = font.Ascent() + font.Descent();
    f.cellH = f.ascent + f.descent + 2 * f.margin;
    struct Rendered {
        TextPainter::Glyph g;
        unsigned char code;
    };
    std::vector<Rendered> rendered;
    int x = 0;
    for (unsigned char b : FontCoverage()) {
        uint32_t cp = CodePointOf(b);
        // No-break space and soft hyphen draw as a space and nothing.
        if (cp == 0xA0) cp = ' ';
        Rendered r;
        r.code = b;
        if (cp == 0xAD) {
            r.g = TextPainter::Glyph();
        } else
            font.RenderGlyph(cp, r.g);
        FontGlyph g;
        g.code = b;
        g.advance = cp == 0xAD ? 0 : r.g.advance;
        int left = r.g.w > 0 ? r.g.left : 0;
        g.offsetX = left - f.margin;
        g.w = std::max(1, r.g.w) + 2 * f.margin;
        g.x = x;
        x += g.w;
        f.glyphs.push_back(g);
        rendered.push_back(std::move(r));
    }
    f.sheet = Canvas(x, f.cellH * 2);
    Mask glyphs(x, f.cellH);
    int baseline = f.margin + f.ascent;
    for (size_t i = 0; i < rendered.size(); ++i) {
        const TextPainter::Glyph& g = rendered[i].g;
        const FontGlyph& fg = f.glyphs[i];
        for (int y = 0; y < g.h; ++y)
            for (int gx = 0; gx < g.w; ++gx) {
                int sx = fg.x + f.margin + gx, sy = baseline - g.top + y;
                if (sy < 0 || sy >= f.cellH) continue;
                glyphs.Ref(sx, sy) = g.cover[size_t(y) * g.w + gx];
            }
    }
    // The shadow is each glyph's own shape, one pixel down and to the right,
    // not softened or grown: the game writes dark text too (score bar,
    // headers, the high-score rows), and a soft shadow under dark letters
    // smudges them and fills their holes, while a crisp one only gives them
    // a clean lower edge. Under light text it reads as a sharp drop shadow.
    for (int y = 0; y < f.cellH; ++y)
        for (int sx = 0; sx < x; ++sx) {
            float a = glyphs.At(sx, y);
            // White glyphs: the game's text colour multiplies them.
            f.sheet.Set(sx, y, Rgba(1, 1, 1, a));
            f.sheet.Set(sx, y + f.cellH, Rgba(0, 0, 0, a * .55f));
        }
    // Kerning pairs between the covered characters that DejaVu adjusts.
    std::vector<unsigned char> cover = FontCoverage();
    for (unsigned char a : cover)
        for (unsigned char b : cover) {
            if (a == ' ' || b == ' ') continue;
            int k = font.Kerning(CodePointOf(a), CodePointOf(b));
            if (k != 0) f.kerning.push_back({std::string{char(a), char(b)}, k});
        }
    return f;
}

std::string BuildFontDescriptor(const FontSheet& f)
{
    std::ostringstream o;
    o << "# FONT_DEFAULT: DejaVu Sans Condensed Bold, " << kFontPixelSize << " pixels.\n";
    o << "# White glyphs (the text colour tints them) over a crisp black shadow\n";
    o << "# layer one pixel down and to the right. Written by the asset generator.\n\n";
    o << "SetDefaultPointSize " << kFontPixelSize << ";\n\n";
    o << "Define Chars (";
    for (size_t i = 0; i < f.glyphs.size(); ++i) o << (i % 24 == 0 ? "\n    " : " ") << Quoted(f.glyphs[i].code);
    o << ");\n\n";
    auto rects = [&](const char* name, int y) {
        o << "Define " << name << " (";
        for (size_t i = 0; i < f.glyphs.size(); ++i)
            o << (i % 6 == 0 ? "\n    " : " ") << "(" << f.glyphs[i].x << " " << y << " " << f.glyphs[i].w << " " << f.cellH << ")";
        o << ");\n\n";
    };
    rects("GlyphRects", 0);
    rects("ShadowRects", f.cellH);
    o << "Define Offsets (";
    for (size_t i = 0; i < f.glyphs.size(); ++i) o << (i % 10 == 0 ? "\n    " : " ") << "(" << f.glyphs[i].offsetX << " " << -f.margin << ")";
    o << ");\n\n";
    // The pen moves by offset + width, so each width is the advance less the
    // cell's offset (and less the shadow layer's own one-pixel shift).
    auto widths = [&](const char* name, int extra) {
        o << "Define " << name << " (";
        for (size_t i = 0; i < f.glyphs.size(); ++i)
            o << (i % 16 == 0 ? "\n    " : " ") << (f.glyphs[i].advance - f.glyphs[i].offsetX - extra);
        o << ");\n\n";
    };
    widths("GlyphWidths", 0);
    widths("ShadowWidths", 1);
    // Image names in a descriptor are relative to the descriptor's folder.
    std::string sheet = kFontSheet;
    sheet = sheet.substr(sheet.rfind('/') + 1);
    int lineOffset = f.lineSpacing + 1 - f.cellH;
    auto layer = [&](const char* name, const char* rectsName, const char* widthsName) {
        o << "CreateLayer " << name << ";\n";
        o << "LayerSetImage " << name << " '" << sheet << "';\n";
        o << "LayerSetAscent " << name << " " << f.ascent << ";\n";
        o << "LayerSetLineSpacingOffset " << name << " " << lineOffset << ";\n";
        o << "LayerSetImageMap " << name << " Chars " << rectsName << ";\n";
        o << "LayerSetCharOffsets " << name << " Chars Offsets;\n";
        o << "LayerSetCharWidths " << name << " Chars " << widthsName << ";\n";
    };
    layer("Shadow", "ShadowRects", "ShadowWidths");
    o << "LayerSetOffset Shadow (1 1);\n";
    o << "LayerSetColorMult Shadow (0 0 0 255);\n";
    o << "LayerSetBaseOrder Shadow -1;\n\n";
    layer("Main", "GlyphRects", "GlyphWidths");
    if (!f.kerning.empty()) {
        for (const char* name : {"Shadow", "Main"}) {
            o << "LayerSetKerningPairs " << name << " (";
            for (size_t i = 0; i < f.kerning.size(); ++i) {
                // Pairs are two-character strings; a pair holding a single
                // quote is written in double quotes.
                const std::string& p = f.kerning[i].first;
                std::string q;
                for (char ch : p) q += (ch == '\\' || ch == '"') ? std::string("\\") + ch : std::string(1, ch);
                bool single = p.find('\'') != std::string::npos;
                o << (i % 12 == 0 ? "\n    " : " ") << (single ? "\"" + q + "\"" : "'" + q + "'");
            }
            o << ")\n    (";
            for (size_t i = 0; i < f.kerning.size(); ++i) o << (i % 24 == 0 ? "\n    " : " ") << f.kerning[i].second;
            o << ");\n";
        }
    }
    return o.str();
}

namespace {
AssetStep fontStep("font", [](const AssetContext& ctx) {
    FontSheet f = BuildFontSheet();
    return WritePng(f.sheet, ctx.outDir + "/" + kFontSheet) &&
           WriteFileAtomic(ctx.outDir + "/" + kFontDescriptor, BuildFontDescriptor(f));
});
} // namespace

} // namespace Zorvin::AssetGen
