#include "tools/assetgen/levels/LevelShapes.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace Zorvin::AssetGen {

namespace {

// Pictures are at most 14 characters wide (seven tiles side by side) and
// eight rows high: that is what fits above the board's panel with room for
// the layer offsets of five layers.
std::vector<LevelShape> MakeShapes()
{
    return {
        {"house",
         {"    [][]",
          "  [][][][]",
          "[][][][][][]",
          " [][]  [][]",
          " [][]  [][]"},
         "BBB"},
        {"flower",
         {"   [][]",
          " [][][][]",
          "[][]  [][]",
          " [][][][]",
          "   [][]",
          "    []",
          "  [][][]"},
         "BBB"},
        {"pyramid",
         {"      []",
          "     [][]",
          "    [][][]",
          "   [][][][]",
          "  [][][][][]",
          " [][][][][][]",
          "[][][][][][][]"},
         "BBBB"},
        {"diamond",
         {"      []",
          "    [][][]",
          "  [][][][][]",
          "[][][][][][][]",
          "  [][][][][]",
          "    [][][]",
          "      []"},
         "BBVB"},
        {"arch",
         {"  [][][][][]",
          "[][][][][][][]",
          "[][]      [][]",
          "[][]      [][]",
          "[][]      [][]",
          "[][]      [][]"},
         "BVBV"},
        {"ring",
         {"    [][][]",
          "  [][][][][]",
          "[][]      [][]",
          "[][]      [][]",
          "  [][][][][]",
          "    [][][]"},
         "BBVB"},
        {"stairs",
         {"[]",
          "[][]",
          "[][][]",
          "[][][][]",
          "[][][][][]",
          "[][][][][][]",
          "[][][][][][][]"},
         "BBBB"},
        {"cross",
         {"    [][][]",
          "    [][][]",
          "[][][][][][][]",
          "[][][][][][][]",
          "    [][][]",
          "    [][][]"},
         "VBVB"},
        {"heart",
         {" [][]    [][]",
          "[][][][][][][]",
          " [][][][][][]",
          "  [][][][][]",
          "   [][][][]",
          "    [][][]",
          "     [][]",
          "      []"},
         "BBBV"},
        {"fish",
         {"   [][][]",
          " [][][][][] []",
          "[][][][][][][]",
          " [][][][][] []",
          "   [][][]"},
         "BVBB"},
        {"turtle",
         {"      []",
          "  [] [][] []",
          "   [][][][]",
          "   [][][][]",
          "  [] [][] []",
          "      []"},
         "BVBV"},
        {"butterfly",
         {"[][]      [][]",
          "[][][]  [][][]",
          " [][][][][][]",
          " [][][][][][]",
          "[][][]  [][][]",
          "[][]      [][]"},
         "BVBV"},
        {"cat",
         {"[]          []",
          "[][]      [][]",
          "[][][][][][][]",
          "[][]  []  [][]",
          "[][][][][][][]",
          "  [][][][][]"},
         "BVBB"},
        {"bird",
         {"[]          []",
          " [][]    [][]",
          "   [][][][]",
          "    [][][]",
          "     [][]",
          "    [][][]"},
         "BVB"},
        {"ship",
         {"      []",
          "      [][]",
          "      [][][]",
          "      []",
          "[][][][][][][]",
          " [][][][][][]",
          "   [][][][]"},
         "BVBB"},
        {"anchor",
         {"     [][]",
          "      []",
          "  [][][][][]",
          "      []",
          "      []",
          "[]    []    []",
          " [][][][][][]"},
         "VBVB"},
        {"amphora",
         {"   [][][][]",
          "    [][][]",
          " []  [][]  []",
          "  [][][][][]",
          "  [][][][][]",
          "   [][][][]",
          "    [][][]"},
         "BVBV"},
        {"crown",
         {"[]    []    []",
          "[][] [][] [][]",
          "[][][][][][][]",
          "[][][][][][][]",
          " [][][][][][]"},
         "BVBB"},
        {"tree",
         {"     [][]",
          "   [][][][]",
          " [][][][][][]",
          "   [][][][]",
          " [][][][][][]",
          "      []",
          "      []"},
         "BBVB"},
        {"star",
         {"      []",
          "     [][]",
          "[][][][][][][]",
          "  [][][][][]",
          "   [][][][]",
          "  [][]  [][]",
          " []        []"},
         "BVBB"},
        {"moon",
         {"    [][][]",
          "  [][][]",
          "[][][]",
          "[][][]",
          "[][][]",
          "  [][][]",
          "    [][][]"},
         "VBVB"},
        {"letter K",
         {"[][]      [][]",
          "[][]    [][]",
          "[][]  [][]",
          "[][][][]",
          "[][]  [][]",
          "[][]    [][]",
          "[][]      [][]"},
         "VBVB"},
        {"letter T",
         {"[][][][][][][]",
          "[][][][][][][]",
          "     [][]",
          "     [][]",
          "     [][]",
          "     [][]"},
         "BVBV"},
        {"letter H",
         {"[][]      [][]",
          "[][]      [][]",
          "[][][][][][][]",
          "[][][][][][][]",
          "[][]      [][]",
          "[][]      [][]"},
         "VBVB"},
        {"letter X",
         {"[][]      [][]",
          "  [][]  [][]",
          "    [][][]",
          "  [][]  [][]",
          "[][]      [][]"},
         "BVBB"},
        {"hourglass",
         {"[][][][][][][]",
          " [][][][][][]",
          "   [][][][]",
          "     [][]",
          "   [][][][]",
          " [][][][][][]",
          "[][][][][][][]"},
         "BBVB"},
        {"colonnade",
         {"[][][][][][][]",
          " [][][][][][]",
          "[]    []    []",
          "",
          "[]    []    []",
          "[][][][][][][]",
          " [][][][][][]"},
         "BVBB"},
        {"tower",
         {"[]  [][]  []",
          "[][][][][][]",
          " [][][][][]",
          " [][][][][]",
          " [][][][][]",
          " [][][][][]",
          "[][][][][][]"},
         "BVBV"},
        {"wall",
         {"[][][][][][][]",
          " [][][][][][]",
          "[][][][][][][]",
          " [][][][][][]",
          "[][][][][][][]",
          " [][][][][][]",
          "[][][][][][][]"},
         "BBBB"},
    };
}

} // namespace

bool TilesOverlap(const HalfCell& a, const HalfCell& b)
{
    return std::abs(a.hx - b.hx) < 2 && std::abs(a.hy - b.hy) < 2;
}

const std::vector<LevelShape>& LevelShapes()
{
    static const std::vector<LevelShape> shapes = MakeShapes();
    return shapes;
}

const LevelShape* FindLevelShape(const std::string& name)
{
    for (const LevelShape& s : LevelShapes()) {
        if (s.name == name)
            return &s;
    }
    return nullptr;
}

bool ParseShapePicture(const std::vector<std::string>& picture, std::vector<HalfCell>& tiles, std::string& error)
{
    tiles.clear();
    for (size_t row = 0; row < picture.size(); ++row) {
        const std::string& line = picture[row];
        for (size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (c == ' ')
                continue;
            if (c == '[' && i + 1 < line.size() && line[i + 1] == ']') {
                HalfCell t{static_cast<int>(i), static_cast<int>(2 * row)};
                for (const HalfCell& o : tiles) {
                    if (TilesOverlap(o, t)) {
                        error = "tiles overlap in row " + std::to_string(row + 1);
                        return false;
                    }
                }
                tiles.push_back(t);
                ++i;
                continue;
            }
            error = "stray character '" + std::string(1, c) + "' in row " + std::to_string(row + 1);
            return false;
        }
    }
    if (tiles.empty()) {
        error = "the picture has no tile";
        return false;
    }
    return true;
}

std::vector<HalfCell> StackLayer(const std::vector<HalfCell>& below, char how)
{
    std::set<HalfCell> present(below.begin(), below.end());
    std::vector<HalfCell> out;
    auto has = [&](int hx, int hy) { return present.count(HalfCell{hx, hy}) != 0; };
    auto add = [&](HalfCell c) {
        for (const HalfCell& o : out) {
            if (TilesOverlap(o, c))
                return;
        }
        out.push_back(c);
    };
    for (const HalfCell& t : below) {
        switch (how) {
        case 'B':
            if (has(t.hx + 2, t.hy))
                add({t.hx + 1, t.hy});
            break;
        case 'V':
            if (has(t.hx, t.hy + 2))
                add({t.hx, t.hy + 1});
            break;
        case 'S':
            if (has(t.hx - 2, t.hy) && has(t.hx + 2, t.hy))
                add(t);
            break;
        default:
            return {};
        }
    }
    return out;
}

} // namespace Zorvin::AssetGen
