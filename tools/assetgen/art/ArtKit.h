#pragma once

// ArtKit: the house style of Korvelt's pictures. One antique Mediterranean
// palette (marble, bronze, parchment, sea) and the recurring pieces built
// from it: bronze-rimmed buttons, parchment and marble panels, dialog frames
// that survive nine-slice tiling, engraved labels. Painters of single images
// use these so every screen looks like part of one game.

#include "tools/assetgen/art/Canvas.h"
#include "tools/assetgen/art/TextPainter.h"

#include <functional>
#include <string>

namespace Zorvin::AssetGen {

namespace Palette {
inline constexpr Rgba Marble = Hex(0xF1ECE2);
inline constexpr Rgba MarbleVein = Hex(0xA99F92);
inline constexpr Rgba Parchment = Hex(0xEBDDB8);
inline constexpr Rgba ParchmentDark = Hex(0xC8A86E);
inline constexpr Rgba Bronze = Hex(0xB07A35);
inline constexpr Rgba BronzeLight = Hex(0xF0CB7E);
inline constexpr Rgba BronzeDark = Hex(0x5A3512);
inline constexpr Rgba Gold = Hex(0xF4C542);
inline constexpr Rgba SeaDeep = Hex(0x0B3D5C);
inline constexpr Rgba Sea = Hex(0x1D7296);
inline constexpr Rgba SeaLight = Hex(0x7CC8D8);
inline constexpr Rgba Terracotta = Hex(0xB4533A);
inline constexpr Rgba Olive = Hex(0x6E7D3B);
inline constexpr Rgba Ink = Hex(0x35220F);
inline constexpr Rgba Sky = Hex(0xBFE3EE);
} // namespace Palette

// The four looks of a button.
enum class ButtonState { Normal, Over, Down, Disabled };

// A pill-shaped bronze button body over the whole canvas, leaving `shadow`
// rows at the bottom for its soft shadow. The middle third of the width is
// the same in every column, so the button can be stretched by nine-slice
// tiling. `face` is the enamel colour of the inner plate.
void PaintButton(Canvas& c, ButtonState state, const Rgba& face, int shadow = 3, float radius = -1);

// A parchment sheet in a bronze frame covering the canvas, for dialogs.
// The frame is uniform along its edges and keeps its ornaments in the
// corner thirds. The sheet is an even grain without stains, so a dialog
// that draws the image as a nine-slice box larger than itself shows no
// seam wherever a repeated piece is cut off; along an axis marked to tile
// the grain also repeats every (size - 2 * (size / 3)) pixels.
void PaintDialogFrame(Canvas& c, uint32_t seed, bool ornateCorners = true, bool tileX = false, bool tileY = false);

// Parchment colour at a pixel, with stains; period 0 = not tiling.
Rgba ParchmentAt(float x, float y, uint32_t seed, int periodX = 0, int periodY = 0);
// Parchment with a fine grain only, the same everywhere on the sheet: any
// two columns of it look alike, so pieces of it join anywhere unseen.
Rgba ParchmentGrainAt(float x, float y, uint32_t seed, int periodX = 0, int periodY = 0);

// Engraved text centred at (cx, baseline): light fill with a dark rim.
void EngraveCentered(Canvas& c, const TextPainter& font, const std::string& utf8, float cx, float baseline,
                     const Rgba& fill, const Rgba& rim);

// The shared painters' fonts, created once.
const TextPainter& LabelFont();   // DejaVu Sans Condensed Bold 14
const TextPainter& BodyFont();    // DejaVu Sans 15
const TextPainter& HeadingFont(); // DejaVu Serif Bold 26
const TextPainter& TitleFont();   // DejaVu Serif Bold 60

// Fills a shape with a vertical metal gradient (bronze or gold) and bevels it.
template <class Sdf>
void MetalShape(Canvas& c, float x0, float y0, float x1, float y1, Sdf sdf, const Rgba& light, const Rgba& dark,
                float bevel = 2.5f)
{
    c.FillShape(x0, y0, x1, y1, sdf, [&](float, float y, float) {
        float t = Clamp01((y - y0) / std::max(1.f, y1 - y0));
        // Two bands give the polished look of cast metal.
        float k = t < .45f ? t / .45f * .55f : .55f + (t - .45f) / .55f * .45f;
        return Mix(light, dark, k);
    });
    c.Bevel(x0, y0, x1, y1, sdf, bevel, .55f);
}

} // namespace Zorvin::AssetGen
