#pragma once

// Image fonts made on the spot for the font tests: a block font whose glyphs
// are solid rectangles of known size (so positions and colours can be
// checked pixel by pixel), and a real font rasterised from DejaVu Sans with
// FreeType into a glyph sheet plus descriptor.

#include "framework/graphics/MemoryImage.h"

#include <memory>
#include <string>

namespace FontTestFonts {

// A 64 x 8 sheet: glyph 'A' is a 4 x 6 white block at (0, 0), 'B' a 3 x 6
// white block at (8, 0), 'C' a 2 x 2 block at (16, 0) coloured 0x80FF4020.
std::unique_ptr<Zorvin::MemoryImage> MakeBlockSheet();

// Writes "<name>.png" and "<name>.txt" into `dir`: every printable
// Windows-1251 character of DejaVu Sans at `pixelSize`, white with coverage
// alpha, one layer "Main" with widths, offsets, ascent and kerning. Returns
// the descriptor's path.
std::string WriteFreeTypeFont(const std::string& dir, const std::string& name, int pixelSize);

} // namespace FontTestFonts
