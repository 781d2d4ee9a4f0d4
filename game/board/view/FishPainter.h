#pragma once

// FishPainter: draws tiles. It knows how a tile looks in every condition —
// closed with its lock, open with its two values and carried item, hovered,
// turning, pulsing, flipping open or shut, faded, clipped while gliding —
// and draws a standing tile as a standing stone with its values one above
// the other (see UprightArt). It draws the bonus glitter and the tile
// shadows of the backdrop too, and holds the pictures only drawing needs
// (values, tiles by style). The Board owns one and lends it to the parts
// that draw tiles; it only reads the tiles and the field.

#include <array>

#include "game/board/DominoFish.h"
#include "game/board/FishField.h"
#include "game/board/view/UprightArt.h"

namespace Zorvin {

class Graphics;

class FishPainter {
public:
    // Where a carried item is drawn on a tile, by item type.
    static constexpr int kItemOffsets[3][2] = {{6, 9}, {0, -55}, {18, -35}};

    FishPainter();
    // Takes the image tables from the bound resource identifiers.
    void LoadImageTables();

    // Draws `fish` (a tile of `field`'s layers, line, deck or places). With
    // `drawPartner`, a tile that overlaps its neighbour draws that
    // neighbour again over itself, so the two interlock.
    void Draw(Graphics* g, const FishField& field, const DominoFish& fish, bool drawPartner);
    // Draws a tile of the play line. The line is a chain of lying stones: a
    // standing tile lies down on it, with the value the line reads from it
    // (its second) towards the open end (left for `leftEnd`).
    void DrawOnLine(Graphics* g, const FishField& field, const DominoFish& fish, bool leftEnd);
    // The stars of a carried bonus.
    void DrawGlitter(Graphics* g, const DominoFish& fish);
    // The tile's shadow for the backdrop, for a tile resting in layer `layer`.
    void DrawShadow(Graphics* g, const DominoFish& fish, int layer);

    static bool IsUpright(const DominoFish& fish) { return fish.orientation == 0 || fish.orientation == 2; }

private:
    void DrawFlip(Graphics* g, const FishField& field, const DominoFish& f);
    void DrawOpen(Graphics* g, const FishField& field, const DominoFish& f, Image* face);
    void DrawValues(Graphics* g, const FishField& field, const DominoFish& f);
    void DrawClosed(Graphics* g, const FishField& field, const DominoFish& f);
    void DrawMagnifier(Graphics* g, const FishField& field, const DominoFish& f);
    // The picture a standing tile uses for a lying one.
    Image* Shaped(const DominoFish& f, Image* lying) { return IsUpright(f) ? upright.Face(lying) : lying; }

    UprightArt upright;

public:
    // The pictures of the values, and of a tile by style: plain, hovered
    // and shut.
    std::array<Image*, FishField::kValueCount> faceImages = {};
    std::array<Image*, 4> plainImages = {};
    std::array<Image*, 4> overImages = {};
    std::array<Image*, 4> backImages = {};
};

} // namespace Zorvin
