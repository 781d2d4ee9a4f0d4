#pragma once

// LevelStars: the star thresholds of the campaign's levels. A won level
// earns one star, two when its points reach the level's second threshold
// and three at its third; the thresholds come from the headless player's
// scores on each level at a person's pace (docs/levels.md). The asset
// generator writes them with Format into levels/stars.txt beside the level
// folders (the level files themselves stay as they are); GameApp owns one
// table and reads that file with Load at start-up.
//
// The file is versioned text, one level a line:
//   korvelt-stars 1
//   # mode level two-stars three-stars
//   0 1 700 820
// with the mode as saved games store it (0 drag, 2 click). A file that is
// missing or damaged in any way (another version, a malformed or
// out-of-range line, a level twice) leaves the table empty: no level shows
// stars, and nothing else changes.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/shared/PlayMode.h"

namespace Zorvin {

class LevelStars {
public:
    static constexpr int kVersion = 1;
    // The file, relative to the game folder.
    static constexpr const char* kFileName = "levels/stars.txt";
    // Bounds a line must keep: level numbers and scores.
    static constexpr int kMaxLevel = 999;
    static constexpr int kMaxScore = 100000000;
    // The stars of a won level are 1 to this.
    static constexpr int kMaxStars = 3;

    struct Entry {
        PlayMode mode = PlayMode::Drag;
        int level = 0;
        int twoStars = 0;   // points that earn the second star
        int threeStars = 0; // and the third
    };

    // Takes the table from the file's text. False, with the table left
    // empty, when the text is not a whole, sound table of this version.
    bool Parse(const std::string& text);
    // Reads the file at `path`; false (table empty) when it is missing,
    // unreadable or damaged.
    bool Load(const std::string& path);
    // The file's text for these entries.
    static std::string Format(const std::vector<Entry>& entries);

    // The stars a won level with these points earns: 1 to 3, or 0 when the
    // table holds no thresholds for the level (no stars are shown then).
    int StarsFor(PlayMode mode, int level, int points) const;
    bool Has(PlayMode mode, int level) const;
    bool Empty() const { return table.empty(); }
    // The table, by mode and level.
    std::vector<Entry> Entries() const;

private:
    static bool ParseLine(const std::string& line, Entry& entry);

    std::map<std::pair<int, int>, Entry> table;
};

} // namespace Zorvin
