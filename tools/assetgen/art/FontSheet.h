#pragma once

// The game's one font, FONT_DEFAULT: every printable Windows-1251 character
// rasterised from DejaVu Sans Condensed Bold into a glyph sheet, with a crisp
// dark shadow layer under the white glyphs so text stays readable on light
// art, and the font descriptor that tells the image font where each glyph
// lies. The sheet holds two bands of equal cells: the glyphs on top, their
// shadows below.

#include "tools/assetgen/art/Canvas.h"

#include <string>
#include <vector>

namespace Zorvin::AssetGen {

// Glyph sheet file, relative to the game folder.
inline constexpr const char* kFontSheet = "fonts/Default.png";
inline constexpr int kFontPixelSize = 14;

struct FontGlyph {
    unsigned char code; // Windows-1251 byte
    int x = 0;          // cell left in the sheet (both bands)
    int w = 0;          // cell width
    int offsetX = 0;    // cell left relative to the pen
    int advance = 0;    // pen advance in pixels
};

struct FontSheet {
    Canvas sheet;
    int cellH = 0;   // height of one band
    int ascent = 0;  // baseline inside a cell, from its top, minus the margin
    int margin = 0;  // empty pixels around each glyph for the shadow
    int descent = 0;
    int lineSpacing = 0;
    std::vector<FontGlyph> glyphs; // in byte order
    std::vector<std::pair<std::string, int>> kerning; // two-byte pairs
};

// Rasterises the sheet (deterministic).
FontSheet BuildFontSheet();
// The descriptor text for a sheet.
std::string BuildFontDescriptor(const FontSheet& font);
// The Windows-1251 bytes the font covers.
std::vector<unsigned char> FontCoverage();

} // namespace Zorvin::AssetGen
