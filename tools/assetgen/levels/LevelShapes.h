#pragma once

// LevelShapes: the figures the campaign's levels are built from. Each shape
// is drawn as a picture of its bottom layer ("[]" is one lying tile, one
// character is half a tile's width, one text row is one tile's height), plus
// the recipe that stacks the higher layers on it. The level designer picks a
// shape and a number of layers for every level; the shapes themselves never
// change with the difficulty.

#include <string>
#include <vector>

namespace Zorvin::AssetGen {

// A tile position in half-tile units: hx counts 40-pixel steps, hy 25-pixel
// steps. A lying tile at (hx, hy) covers hx..hx+1 and hy..hy+1, so two tiles
// of one layer overlap unless they are two apart in at least one direction.
struct HalfCell {
    int hx = 0;
    int hy = 0;
    bool operator==(const HalfCell&) const = default;
    auto operator<=>(const HalfCell&) const = default;
};

struct LevelShape {
    std::string name;        // shown in the level table, e.g. "pyramid"
    std::vector<std::string> picture;
    // One letter per layer above the bottom one, applied in turn:
    //  'B' bridge: a tile over every two side-by-side neighbours (half a
    //      tile to the right), covering both;
    //  'V' vertical bridge: a tile over every two neighbours one above the
    //      other (half a tile lower), covering both;
    //  'S' same place: a tile right over every tile that has neighbours on
    //      both sides.
    std::string stacking;
};

// Every shape, in a fixed order.
const std::vector<LevelShape>& LevelShapes();
// The shape of that name, or null.
const LevelShape* FindLevelShape(const std::string& name);

// The tiles of a shape's bottom layer. Fails (false, with a message) when the
// picture has a stray character or two tiles overlap.
bool ParseShapePicture(const std::vector<std::string>& picture, std::vector<HalfCell>& tiles,
                       std::string& error);

// The next layer stacked on `below` by one recipe letter; empty when the
// letter is unknown or nothing can be stacked.
std::vector<HalfCell> StackLayer(const std::vector<HalfCell>& below, char how);

// True when two tiles of one layer would overlap.
bool TilesOverlap(const HalfCell& a, const HalfCell& b);

} // namespace Zorvin::AssetGen
