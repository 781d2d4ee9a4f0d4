#pragma once

// ModeStatistics: one player's figures in one play mode: levels won and
// lost, the game time they took, the best combo multiplier, the winning
// streaks, and per level the best score, the best rating in stars and the
// number of wins; plus the counters of a level left in a saved game, so the
// level's time and tallies go on when it is continued (the saved game's own
// bytes have no room for them). PlayerStatistics owns one per mode and
// changes it; the statistics dialog and the level-won summary read it.
//
// A level counts once, when it ends: won, or lost (the game-over window
// with no way on but playing it again). A level left for the menu or
// restarted by hand is not counted. Only a win sets a level's best score.

#include <cstdint>
#include <map>

#include "game/app/profiles/LevelResult.h"

namespace Zorvin {

class ProfileBuffer;

// The counters of a level saved in the middle, kept for its continuation.
struct SuspendedLevel {
    int level = 0; // 0: none
    int seconds = 0;
    int bestCombo = 0;
    int bonuses = 0;
    int moves = 0;
    bool operator==(const SuspendedLevel&) const = default;
};

// What is kept of one level: only won levels have an entry.
struct LevelBest {
    int bestScore = 0;
    int bestStars = 0;
    int wins = 0;
    bool operator==(const LevelBest&) const = default;
};

class ModeStatistics {
public:
    // The rating of a level: 0 to this many stars.
    static constexpr int kMaxStars = 3;
    // Counters stop here instead of wrapping round (over thirty years of
    // play in seconds).
    static constexpr int kMaxCount = 1000000000;

    explicit ModeStatistics(int lastLevel = 0) : lastLevel(lastLevel) {}

    int Played() const { return won + lost; }
    int Won() const { return won; }
    int Lost() const { return lost; }
    // Won levels in percent of those played, rounded down; 0 before any.
    int WinRatePercent() const;
    int TotalSeconds() const { return totalSeconds; }
    // Per level played, rounded to the nearest second; 0 before any.
    int AverageSeconds() const;
    int BestCombo() const { return bestCombo; }
    int LongestStreak() const { return longestStreak; }
    int CurrentStreak() const { return currentStreak; }
    // 0 for a level never won.
    int BestScore(int level) const;
    int BestStars(int level) const;
    int Wins(int level) const;
    const std::map<int, LevelBest>& Levels() const { return levels; }
    const SuspendedLevel& Suspended() const { return suspended; }

    // Counts a level that ended; returns the level's best score before it.
    // Numbers outside their ranges are brought into them.
    int Record(const LevelResult& r);
    // Keeps the counters of a level left in a saved game; a level outside
    // the campaign keeps none. Numbers are brought into their ranges.
    void Suspend(const SuspendedLevel& s);

    // The bytes of the figures in the statistics file, and the reverse;
    // Read is false when they are cut off or hold anything the game never
    // writes (a number out of range, a level twice).
    void Write(ProfileBuffer& b) const;
    bool Read(ProfileBuffer& b);

    bool operator==(const ModeStatistics&) const = default;

private:
    int lastLevel;
    int won = 0;
    int lost = 0;
    int totalSeconds = 0;
    int bestCombo = 0;
    int longestStreak = 0;
    int currentStreak = 0;
    std::map<int, LevelBest> levels;
    SuspendedLevel suspended;
};

} // namespace Zorvin
