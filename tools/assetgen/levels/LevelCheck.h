#pragma once

// LevelCheck: proves the campaign with the headless player. It plays many
// deals of every level, tunes each level's tile values towards a designed
// win rate (easy at the start, harder stage by stage), checks the bounds
// every shipped level must meet on the tuning deals and on fresh ones, and
// writes the tuned numbers
// (LevelTuning.h) and the level table (docs/levels.md). Used by the
// korvelt-levelcheck tool behind scripts/validate-levels and by the tests.

#include <functional>
#include <string>
#include <vector>

#include "game/board/headless/AutoPlayer.h"
#include "tools/assetgen/levels/LevelDesigner.h"

namespace Zorvin::AssetGen {

struct LevelStats {
    int deals = 0;
    int won = 0;
    int stuck = 0;
    double meanScore = 0;
    double WinRate() const { return deals ? double(won) / deals : 0; }
};

// Plays `deals` deals of a level file as level `number` of the mode, deal i
// seeded with seedBase + i: `setUp` (when set) prepares the player of deal i,
// `done` gets each deal's result.
void PlayDeals(const std::string& path, int mode, int number, int deals, unsigned seedBase,
               const std::function<void(AutoPlayer&, int)>& setUp,
               const std::function<void(const AutoPlayResult&)>& done);

// Plays `deals` deals of a level file as level `number` of the mode; deal i
// is seeded with seedBase + i, so the figures are the same on every run.
// Without `mayReshuffle` the player has no reshuffle to spend, as a
// campaign player who used them up on earlier levels.
LevelStats PlayLevelFile(const std::string& path, int mode, int number, int deals, unsigned seedBase = 1,
                         bool mayReshuffle = true);

// Tuning plays the deals seeded from 1 on; validation plays as many deals
// again from this seed on, which the tuner never saw, so a bound that holds
// there holds for the level and not only for the deals it was tuned on.
constexpr unsigned kFreshSeedBase = 1000001;

// The win rate a level is tuned towards.
double TargetWinRate(int mode, int number);

// The bounds of the whole campaign.
constexpr double kFirstLevelMinimum = 0.95;
constexpr double kLevelMinimum = 0.30;
// The first stage is gentle but can be lost: its average stays at or below
// this.
constexpr double kFirstStageMaximum = 0.98;
// The last level of a mode aims this far below its stage's average.
constexpr double kClimaxMargin = 0.08;

struct CheckedLevel {
    LevelPlan plan;
    LevelParams params;
    LevelStats stats;       // on the tuning seeds
    LevelStats fresh;       // on fresh seeds (none played: deals 0)
    LevelStats noReshuffle; // on the fresh seeds, without a reshuffle
};

// Tunes one level: searches the number of tile values (the deck follows
// the layout, the opening levels keep their ramp of faces) and returns the
// best design with its figures over `deals` deals. With `freshDeals` it
// also plays that many fresh deals, with and without a reshuffle.
// `scratch` is a folder for the trial files.
// `progress`, when set, is called before every round of the search.
bool TuneLevel(int mode, int number, int deals, const std::string& scratch, CheckedLevel& out, std::string& error,
               const std::function<void()>& progress = {}, int freshDeals = 0);

// Designs a level with its tuned numbers and plays it, on fresh deals too
// when `freshDeals` is above 0.
bool CheckLevel(int mode, int number, int deals, const std::string& scratch, CheckedLevel& out, std::string& error,
                int freshDeals = 0);

// The bounds: level 1 of each mode at least 95 %, no level below 30 %,
// the first stage's average at most 98 %, stage averages falling from the
// first stage to the last, and each mode's last level the hardest of its
// stage. They are checked on the tuning seeds and, where fresh deals were
// played, on those. Every broken bound adds a line to `problems`.
bool CampaignMeetsBounds(const std::vector<CheckedLevel>& levels, std::vector<std::string>& problems);

// Stage averages of one mode's levels, in stage order, on the tuning seeds
// or on the fresh ones.
std::vector<double> StageAverages(const std::vector<CheckedLevel>& levels, int mode, bool fresh = false);

// The text of LevelTuning.h for these levels.
std::string FormatTuning(const std::vector<CheckedLevel>& levels);
// The text of docs/levels.md.
std::string FormatLevelTable(const std::vector<CheckedLevel>& levels, int deals);

} // namespace Zorvin::AssetGen
