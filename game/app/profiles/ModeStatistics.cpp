#include "game/app/profiles/ModeStatistics.h"

#include <algorithm>

#include "game/app/profiles/ProfileBuffer.h"
#include "game/board/ComboMeter.h"

namespace Zorvin {

namespace {

int Bound(int v, int lo, int hi) { return std::clamp(v, lo, hi); }

// a + b, stopping at the counters' ceiling.
int AddCapped(int a, int b) { return static_cast<int>(std::min<int64_t>(int64_t{a} + b, ModeStatistics::kMaxCount)); }

bool In(int32_t v, int lo, int hi) { return v >= lo && v <= hi; }

} // namespace

int ModeStatistics::WinRatePercent() const
{
    int played = Played();
    return played > 0 ? static_cast<int>(int64_t{won} * 100 / played) : 0;
}

int ModeStatistics::AverageSeconds() const
{
    int played = Played();
    return played > 0 ? static_cast<int>((int64_t{totalSeconds} + played / 2) / played) : 0;
}

int ModeStatistics::BestScore(int level) const
{
    auto it = levels.find(level);
    return it != levels.end() ? it->second.bestScore : 0;
}

int ModeStatistics::BestStars(int level) const
{
    auto it = levels.find(level);
    return it != levels.end() ? it->second.bestStars : 0;
}

int ModeStatistics::Wins(int level) const
{
    auto it = levels.find(level);
    return it != levels.end() ? it->second.wins : 0;
}

int ModeStatistics::Record(const LevelResult& r)
{
    int previousBest = BestScore(r.level);
    totalSeconds = AddCapped(totalSeconds, Bound(r.seconds, 0, kMaxCount));
    bestCombo = std::max(bestCombo, Bound(r.bestCombo, 0, ComboMeter::kMaxMultiplier));
    if (r.won) {
        won = AddCapped(won, 1);
        currentStreak = AddCapped(currentStreak, 1);
        longestStreak = std::max(longestStreak, currentStreak);
        // A level outside the campaign (the editor's, a tool's) counts in
        // the totals but has no entry of its own.
        if (r.level >= 1 && r.level <= lastLevel) {
            LevelBest& best = levels[r.level];
            best.bestScore = std::max(best.bestScore, std::max(r.score, 0));
            best.bestStars = std::max(best.bestStars, Bound(r.stars, 0, kMaxStars));
            best.wins = AddCapped(best.wins, 1);
        }
    } else {
        lost = AddCapped(lost, 1);
        currentStreak = 0;
    }
    // The level a saved game was left in has ended, or was left behind.
    suspended = {};
    return previousBest;
}

void ModeStatistics::Suspend(const SuspendedLevel& s)
{
    if (s.level < 1 || s.level > lastLevel) {
        suspended = {};
        return;
    }
    suspended = {s.level, Bound(s.seconds, 0, kMaxCount), Bound(s.bestCombo, 0, ComboMeter::kMaxMultiplier),
                 Bound(s.bonuses, 0, kMaxCount), Bound(s.moves, 0, kMaxCount)};
}

void ModeStatistics::Write(ProfileBuffer& b) const
{
    for (int v : {won, lost, totalSeconds, bestCombo, longestStreak, currentStreak})
        b.WriteInt32(v);
    for (int v : {suspended.level, suspended.seconds, suspended.bestCombo, suspended.bonuses, suspended.moves})
        b.WriteInt32(v);
    b.WriteInt32(static_cast<int32_t>(levels.size()));
    for (const auto& [level, best] : levels) {
        b.WriteInt32(level);
        b.WriteInt32(best.bestScore);
        b.WriteInt32(best.bestStars);
        b.WriteInt32(best.wins);
    }
}

bool ModeStatistics::Read(ProfileBuffer& b)
{
    constexpr int kMaxCombo = ComboMeter::kMaxMultiplier;
    int32_t v[11];
    for (int32_t& x : v)
        if (!b.ReadInt32(x))
            return false;
    won = v[0];
    lost = v[1];
    totalSeconds = v[2];
    bestCombo = v[3];
    longestStreak = v[4];
    currentStreak = v[5];
    suspended = {v[6], v[7], v[8], v[9], v[10]};
    if (!In(won, 0, kMaxCount) || !In(lost, 0, kMaxCount) || !In(totalSeconds, 0, kMaxCount)
        || !In(bestCombo, 0, kMaxCombo) || !In(longestStreak, 0, won) || !In(currentStreak, 0, longestStreak))
        return false;
    if (!In(suspended.level, 0, lastLevel) || !In(suspended.seconds, 0, kMaxCount)
        || !In(suspended.bestCombo, 0, kMaxCombo) || !In(suspended.bonuses, 0, kMaxCount)
        || !In(suspended.moves, 0, kMaxCount))
        return false;
    int32_t count = 0;
    if (!b.ReadInt32(count) || !In(count, 0, lastLevel))
        return false;
    levels.clear();
    int previous = 0;
    for (int i = 0; i < count; ++i) {
        int32_t level = 0;
        LevelBest best;
        if (!b.ReadInt32(level) || !b.ReadInt32(best.bestScore) || !b.ReadInt32(best.bestStars)
            || !b.ReadInt32(best.wins))
            return false;
        // Levels come in rising order, each once; only won levels are kept.
        if (!In(level, previous + 1, lastLevel) || best.bestScore < 0 || !In(best.bestStars, 0, kMaxStars)
            || !In(best.wins, 1, won))
            return false;
        levels[level] = best;
        previous = level;
    }
    return true;
}

} // namespace Zorvin
