#pragma once

// SavedGame: a half-played level written to a file and rebuilt from it
// later, exactly where it stood: every tile still on the field, the two ends
// of the play line, the deck with its tiles and places, the score and the
// carried counters. The file is a fixed sequence of little-endian items (no
// padding, no checksum):
//
//   int32 mode, string levelPath, int32 fishCount, score, shufflesLeft,
//   editorStyle, int32 L, then per layer (bottom first) int32 n and n tile
//   records; the records of the line's first and last tiles; int32
//   redealsLeft, placeCount, int32 D and D deck tile records; int32 P and per
//   place int32 n and n tile records.
//
// A tile record is 41 bytes: int32 lockType, itemType, left, top, x, y,
// style, valueA, valueB, layer, then one byte joker. A string is an int16
// length and its bytes. Every tile comes back lying; a tile stored in the
// middle of a glide or a half turn is written as it will rest, so nothing
// the player saw settle is lost.
//
// The functions work on the board rules (FishField with its play line and
// deck) and on file paths only; the application decides when to call them
// (see SavedGameFiles).

#include "framework/core/FileAccess.h"

#include <string>
#include <vector>

namespace Zorvin {

class FishField;

// One tile as the file stores it.
struct SavedTile {
    int lockType = -1;
    int itemType = -1;
    int left = 0;
    int top = 0;
    int x = 0;
    int y = 0;
    int style = 0;
    int valueA = 0;
    int valueB = 0;
    int layer = 0;
    bool joker = false;
};

// The whole file, item by item.
struct SavedGameData {
    int mode = 0;
    std::string levelPath;
    int fishCount = 0;
    int score = 0;
    int shufflesLeft = 0;
    int editorStyle = 0;
    std::vector<std::vector<SavedTile>> layers;
    SavedTile lineFirst;
    SavedTile lineLast;
    int redealsLeft = 0;
    int placeCount = 0;
    std::vector<SavedTile> deck;
    std::vector<std::vector<SavedTile>> places;
};

// Size of one tile record in the file.
constexpr size_t kSavedTileBytes = 41;
// Larger files are not saved games (a full level is a few kilobytes).
constexpr size_t kMaxSavedGameBytes = 4u << 20;

// The file's bytes for the field as it stands. The field is not changed.
std::string FormatSavedGame(const FishField& field);
// False when the field's level path is not one a restore accepts: such a
// game is never written.
bool SavedGameWritable(const FishField& field);
// Writes FormatSavedGame atomically to `path` (folders are created). False
// when the file cannot be written, or when the field's level path is not one
// a restore accepts; the old file, if any, is then kept.
bool SaveGame(const FishField& field, const std::string& path, FileAccess& files = FileAccess::Disk());

// Parses a saved game. False, with `out` unspecified, for anything that is
// not a complete and sensible save: a short or over-long file, a count that
// is negative or beyond what the bytes can hold, a mode other than 0 or 2,
// a level path that is empty, absolute or climbs out with "..",
// tile values, marks or styles the board has no picture for, coordinates far
// off the board.
bool ReadSavedGame(const std::string& bytes, SavedGameData& out);

// Rebuilds the field, its play line and its deck from a saved game: the
// level file named in the save is read again for its types, background,
// music and deck size, then the tiles are replaced by the saved ones. The
// field's transient state (won, lost, hovered tile, opened locks, popups,
// the play line) is reset first, whatever follows. Returns false when the
// file is missing or unreadable; nothing else of the field is changed then,
// and the caller starts the player's level afresh instead.
bool RestoreGame(FishField& field, const std::string& path);
// The same from bytes already read.
bool RestoreGameFromBytes(FishField& field, const std::string& bytes);

} // namespace Zorvin
