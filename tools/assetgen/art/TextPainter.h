#pragma once

// TextPainter: lays out and rasterises text with FreeType for the pictures
// that carry words (how-to-play pages, engraved button faces, the wordmark)
// and for the glyph sheet of the game's image font. One painter holds one
// face at one pixel size; it owns its FreeType library and face.

#include "tools/assetgen/art/Canvas.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorvin::AssetGen {

// The fonts the art is set in, all from DejaVu.
extern const char* const kFontSans;
extern const char* const kFontSansBold;
extern const char* const kFontSansCondensedBold;
extern const char* const kFontSerifBold;
extern const char* const kFontSerifCondensedBold;

// Decodes UTF-8 into code points (invalid bytes are skipped).
std::vector<uint32_t> DecodeUtf8(const std::string& s);

// How a run of text is finished: fill paint plus optional outline and
// shadow, both soft.
struct TextStyle {
    Rgba fill = Rgba(1, 1, 1, 1);
    Rgba fillBottom = Rgba(0, 0, 0, 0); // alpha above 0: vertical gradient to this colour
    float outline = 0;                  // outline width in pixels
    Rgba outlineColor = Rgba(0, 0, 0, 1);
    int shadowX = 0, shadowY = 0, shadowBlur = 0;
    Rgba shadowColor = Rgba(0, 0, 0, .6f);
};

class TextPainter {
public:
    TextPainter(const char* fontFile, int pixelSize);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    bool Ok() const { return ok; }
    int Ascent() const { return ascent; }
    int Descent() const { return descent; }
    int LineHeight() const { return lineHeight; }

    // Advance width of a UTF-8 string in pixels (kerning included).
    int Measure(const std::string& utf8) const;
    // Draws a UTF-8 string with its baseline at y, starting at x.
    void Draw(Canvas& c, const std::string& utf8, float x, float y, const TextStyle& style) const;
    // Centred on cx.
    void DrawCentered(Canvas& c, const std::string& utf8, float cx, float y, const TextStyle& style) const;
    // Word-wraps into `width` pixels from (x, y) (first baseline); returns
    // the baseline after the last line.
    float DrawWrapped(Canvas& c, const std::string& utf8, float x, float y, float width, float lineStep,
                      const TextStyle& style) const;

    // Renders one code point into a coverage bitmap; left/top are the offsets
    // from the pen position on the baseline; advance in pixels.
    struct Glyph {
        int w = 0, h = 0, left = 0, top = 0, advance = 0;
        std::vector<float> cover;
    };
    bool RenderGlyph(uint32_t codePoint, Glyph& out) const;
    bool HasGlyph(uint32_t codePoint) const;
    // Kerning adjustment in whole pixels between two code points.
    int Kerning(uint32_t left, uint32_t right) const;

private:
    // The coverage of a string as a mask with its origin at (ox, oy).
    Mask TextMask(const std::vector<uint32_t>& cps, int& ox, int& oy, int margin) const;

    struct Impl;
    std::unique_ptr<Impl> impl;
    bool ok = false;
    int ascent = 0, descent = 0, lineHeight = 0;
};

} // namespace Zorvin::AssetGen
