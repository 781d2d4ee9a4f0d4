#pragma once

// LevelDesigner: designs the campaign, 50 drag-mode and 60 click-mode levels
// in stages of five. Every level is a shape of the shape library stacked to a
// number of layers, and each stage brings something new: keys and locks,
// jokers lying in the layout, upright tiles, more layers, more tile values.
// The design is fixed by the schedule in LevelDesigner.cpp and the tuned
// numbers of LevelTuning.h (tile values per level; the deck follows one
// rule for all levels), so the same sources always give the same files. The levels step writes the plans;
// the level checker plays them and retunes LevelTuning.h.

#include <string>
#include <vector>

#include "tools/assetgen/levels/LevelShapes.h"

namespace Zorvin::AssetGen {

// Board modes as the level folders know them.
constexpr int kDragMode = 0;
constexpr int kClickMode = 2;

// The rectangle of the screen a layout is centred in: right of the deck's
// places, left of the combo meter and its x2..x4 pop-ups, between the top
// panel and the play line. A tile's picture (with its edge and shadow) is
// kTileImageExtra pixels wider and taller than its box, so the area leaves
// that much room before the meter column and the play line.
constexpr int kAreaLeft = 112;
constexpr int kAreaRight = 736;
constexpr int kAreaTop = 38;
constexpr int kAreaBottom = 518;
constexpr int kTileImageExtra = 8;
// Where the combo meter and its pop-ups are drawn (x, y, w, h) and where
// the play line's strip begins; no tile picture may reach into them.
constexpr int kMeterColumn[4] = {745, 255, 55, 225};
constexpr int kPlayLineTop = 530;

struct PlannedTile {
    int layer = 0;
    HalfCell at;
    bool upright = false;
    bool joker = false;
    int lockType = -1;
    int itemType = -1;
};

// What the checker tunes for each level: the number of tile values and the
// number of layers (0: as the schedule has it). The deck is not tuned: its
// size follows from the layout (DeckSize), the same rule on every level.
struct LevelParams {
    int typeCount = 3;
    int layers = 0;
    // Upright tiles: 1 on, 0 off, -1 as the campaign has them.
    int uprights = -1;
};

// Whether the campaign places upright tiles (now and then, from the stage
// that introduces them). Turning this off and retuning gives a campaign of
// lying tiles only.
constexpr bool kCampaignUprights = true;

struct LevelPlan {
    int mode = kDragMode;
    int number = 1;
    int stage = 0; // 0-based, five levels each
    std::string shape;
    int layerCount = 0;
    std::vector<PlannedTile> tiles;
    std::vector<int> types;
    int cardsInDeck = 12;
    int shiftX = 0, shiftY = 0;
    std::string background;
    int music = 1;
    int lockTypes = 0;
    int locks = 0;
    int jokers = 0;
    int uprights = 0;

    // The tile's centre on the board, shift included.
    void Centre(const PlannedTile& t, int& x, int& y) const;
    // The rectangle the tile is drawn in (x, y, w, h), layer offset included.
    void DrawnRect(const PlannedTile& t, int rect[4]) const;
};

// A text that names a plan's layout: every tile's layer, place and
// standing, in a fixed order. Two levels share a layout exactly when their
// keys are equal; with `bottomOnly` it names the outline (bottom layer) only.
std::string LayoutKey(const LevelPlan& plan, bool bottomOnly = false);

// The rectangle (x, y, w, h) a tile's picture covers on screen, the
// picture's edge and shadow included.
void TileImageRect(const LevelPlan& plan, const PlannedTile& t, int rect[4]);

// The same layout text as LayoutKey, for the first of the layout's four
// turns (as is, mirrored, upside down, both) in text order: two levels
// whose keys are equal are one layout, one perhaps a mirror image or an
// upside-down copy of the other.
std::string TurnedLayoutKey(const LevelPlan& plan, bool bottomOnly = false);

// The deck of a level with this many tiles: four tiles, and one more for
// every fifty tiles of the layout, so a large layout has a few more ways
// out of a dead end. One rule for every level; the tile values, not the
// deck, set a level's difficulty.
int DeckSize(int tiles);

// The number of faces of each mode's first five levels: the game starts
// with three and adds four a level, so a new player meets the faces a few
// at a time (and the fifth level can already be lost).
inline constexpr int kOpeningFaces[5] = {3, 7, 11, 15, 19};

// 50 in drag mode, 60 in click mode.
int CampaignLength(int mode);
// Folder of a mode's level files below "levels/".
std::string LevelFolder(int mode);

// The tuned parameters of a level (the defaults of its stage when it has
// none yet).
LevelParams TunedParams(int mode, int number);
LevelParams DefaultParams(int mode, int number);

// Designs one level. False with a message when the design breaks a rule
// (layout too large for the screen, tiles outside the file grid, too few or
// too many tiles).
bool DesignLevel(int mode, int number, const LevelParams& params, LevelPlan& plan, std::string& error);

// Writes a plan as a level file through the game's level writer and checks
// that the game's reader gives every tile back. False with a message on
// failure.
bool WriteLevelPlan(const LevelPlan& plan, const std::string& path, std::string& error);

// The level folder and every level file of both modes below `gameDir`, with
// the tuned parameters. False with a message on the first failure.
bool WriteCampaign(const std::string& gameDir, std::string& error);

} // namespace Zorvin::AssetGen
