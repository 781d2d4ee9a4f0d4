#pragma once

// StarCheck: measures the star thresholds of the campaign's levels. The
// headless player plays each shipped level at a person's pace (its moves 2
// to 4 s apart, so the combo meter drains between puts as it does for a
// person) over many seeded deals; of the won deals' scores the median earns
// two stars and the 90th percentile three. korvelt-levelcheck --stars runs
// it and writes the numbers into StarThresholds.h, from which the levels
// step writes the shipped file (levels/stars.txt, see LevelStars), and the
// table into docs/levels.md.

#include <string>
#include <vector>

#include "game/shared/LevelStars.h"

namespace Zorvin::AssetGen {

struct StarLevel {
    int mode = 0;
    int number = 0;
    int deals = 0;
    int won = 0;
    int meanSeconds = 0; // game time of a won deal
    int twoStars = 0;
    int threeStars = 0;
};

// Seeds of the person's-pace deals: apart from the tuning and fresh seeds.
constexpr unsigned kStarSeedBase = 2000001;

// Plays `deals` deals of the level file at a person's pace and derives the
// thresholds from the won deals (none when no deal was won).
StarLevel MeasureStars(const std::string& path, int mode, int number, int deals);

// The two thresholds from the scores of the won deals: two stars at the
// median, three at the 90th percentile (nearest rank), and three always
// asks for more than two, by at least one put's points.
void ThresholdsOf(std::vector<int> wonScores, int& twoStars, int& threeStars);

// The committed thresholds (StarThresholds.h).
std::vector<StarLevel> CommittedStars();
// The table the game reads, from these levels.
std::vector<LevelStars::Entry> StarEntries(const std::vector<StarLevel>& levels);

// The text of StarThresholds.h.
std::string FormatStarThresholds(const std::vector<StarLevel>& levels);
// The stars section of docs/levels.md, and a document with its stars
// section (from its heading to the end) replaced by `section`.
std::string FormatStarSection(const std::vector<StarLevel>& levels);
std::string WithStarSection(const std::string& document, const std::string& section);

} // namespace Zorvin::AssetGen
