#pragma once

// LevelFile: the contents of one level file, the XML format that players and
// level builders exchange. A level lists the tiles of every layer as tokens on
// a character grid (one <l> row of 44 characters per 25 pixels, one column per
// 20 pixels), plus the tile types the level deals from, a pixel shift of the
// whole layout, a background picture, a music track and the size of the deck.
//
// Reading goes through the forgiving XML reader and never trusts the file:
// whatever cannot be expressed by the writer's grid (tiles outside it, too
// many layers or types, lock and item types the board has no picture for) is
// left out, and numbers are clamped to ranges the board can play. A damaged
// file keeps everything read before the damage.
//
// LoadLevel and SaveLevel connect the format to the board's FishField; the
// LevelFile record in between lets tools and tests read and write levels
// without a board.

#include <string>
#include <vector>

#include "game/shared/PlayMode.h"

namespace Zorvin {

class BoardHost;
class FishField;
class XMLParser;
struct XMLNode;

// Decimal, or hexadecimal after "0x"/"0X", with an optional leading "-".
// On any other character, an empty text or a number that does not fit in 32
// bits, value is 0 and the result false. Hexadecimal up to 0xFFFFFFFF wraps
// to the 32-bit value (0xFFFFFFFF is -1).
bool StringToInt(const std::string& text, int& value);

// Path of level n of a game mode: "levels/Levels2/Level7.xml" for mode 0
// (drag mode), "levels/Levels1/..." for mode 2 (click mode), and no set
// folder for any other mode.
std::string LevelPath(PlayMode mode, int n);

// One tile as the file places it. x and y are the tile's centre in board
// pixels with the level's shift included.
struct LevelTile {
    int x = 0;
    int y = 0;
    int orientation = 3; // 0 upright, 3 lying
    bool joker = false;
    int lockType = -1;
    int itemType = -1;
};

class LevelFile {
public:
    // The writer's grid: 20 rows of 44 characters per layer.
    static constexpr int kGridRows = 20;
    static constexpr int kGridColumns = 44;
    // A lying token takes four characters, so its "[" stands at most here.
    static constexpr int kLastTokenColumn = kGridColumns - 4;
    static constexpr int kMaxTypes = 31;
    static constexpr int kMaxLayers = 32;
    // Highest tile value (IMAGE_TYP25) and lock/item type (three of each).
    static constexpr int kMaxTileValue = 25;
    static constexpr int kMaxMarkType = 2;
    // Shifts beyond this move the whole layout off screen.
    static constexpr int kMaxShift = 1000;
    static constexpr int kMaxCardsInDeck = 99;
    // Tiles a level may hold. The board shows about 10 x 10 lying tiles side
    // by side above its panel; four such layers' worth is far beyond any
    // designed level (the campaign's biggest has 91) and keeps every move,
    // deal and frame quick. Tiles past it are left out.
    static constexpr int kMaxTiles = 400;
    // Filler of an empty grid row: "." at even columns, "," at odd ones.
    static const char* const kFiller;

    // Values of the Level element's attributes. types always has between 1
    // and kMaxTypes entries. An empty backgroundName, or hasMusic or
    // hasCardsInDeck false, means the file leaves that setting as it was.
    std::vector<int> types{0};
    int shiftX = 0;
    int shiftY = 0;
    std::string backgroundName;
    bool hasMusic = false;
    int musicTrack = 0;
    bool hasCardsInDeck = false;
    int cardsInDeck = 12;
    // Tiles per layer, bottom layer first, each layer in reading order: rows
    // from the top, and within a row from right to left.
    std::vector<std::vector<LevelTile>> layers;

    // How reading ended: false with the reader's message and line when a
    // parse error cut the file short (what came before it is kept).
    bool complete = true;
    std::string errorText;
    int errorLine = 0;

    // Reads a level file; at most maxTiles tiles are taken (-1: as many as
    // a level may hold, kMaxTiles).
    // Returns false only when the path is not a regular file or cannot be
    // opened.
    bool Read(const std::string& path, int maxTiles = -1);
    // Reads from an already opened XML reader.
    void Read(XMLParser& reader, int maxTiles = -1);

    // The file text exactly as the level writer lays it out. Every tile is
    // written as a four-character lying token; tiles whose token would fall
    // outside the grid are moved onto its nearest edge.
    std::string Format() const;
    // Writes Format() atomically (temporary file, then rename).
    bool Write(const std::string& fileName) const;

private:
    void ReadLevelAttributes(const XMLNode& node);
    void ScanRow(const std::string& text, int layer, int row, int& tilesMade, int maxTiles);
};

// Reads a level file into a cleared field: tiles of every layer with their
// style and marks, the types, shift, deck size, background and music (only
// when playMusic is set). style -1 picks one at random (rand() % 4). Returns
// false only when the file cannot be opened; a damaged file keeps what was
// read before the damage.
bool LoadLevel(int style, FishField& field, const std::string& path, int maxTiles, bool playMusic);

// Puts a level that was read into the field (the second half of LoadLevel):
// its data, background and music, then its tiles with the given style.
void ApplyLevel(const LevelFile& level, int style, FishField& field, bool playMusic);

// The field's layout and level data as the writer sees them.
LevelFile LevelFromField(const FishField& field);

// The level to start for the current game: level n of the mode when its file
// exists; otherwise level 1 of the mode, and then n and the current player's
// progress in that mode go back to 1 as well.
std::string ChooseLevelPath(BoardHost& host, PlayMode mode, int& n);
// Level 1 of the mode instead of level n: n and the current player's progress
// in that mode go back to 1. Returns the path of level 1.
std::string FallBackToFirstLevel(BoardHost& host, PlayMode mode, int& n);

// Writes the field's layout as a level file. Returns false when the file
// cannot be written; an existing file is then left as it was.
bool SaveLevel(const FishField& field, const std::string& fileName);

} // namespace Zorvin
