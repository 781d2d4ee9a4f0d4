#pragma once

// PlayerStatistics: one player's figures in both play modes (drag and
// click; the editor's field counts as drag mode, as the player's progress
// does). The application records every level that ends into the current
// player's statistics and keeps the counters of a level left in a saved
// game; the statistics dialog, the level-won summary and the map read
// them. StatisticsStore owns one per player and writes them to the file.

#include "game/app/profiles/LevelResult.h"
#include "game/app/profiles/ModeStatistics.h"
#include "game/shared/PlayMode.h"

namespace Zorvin {

class ProfileBuffer;

class PlayerStatistics {
public:
    PlayerStatistics();

    // Counts a level that ended in `mode` and returns that level's best
    // score before it (0 when never won), so the summary can tell a new
    // personal best. r.stars is the caller's rating; the best one is kept.
    int RecordLevel(PlayMode mode, const LevelResult& r);
    // 0 when the level was never won.
    int BestScore(PlayMode mode, int level) const { return Mode(mode).BestScore(level); }
    int BestStars(PlayMode mode, int level) const { return Mode(mode).BestStars(level); }
    const ModeStatistics& Mode(PlayMode mode) const;

    // The counters of the level just written as the saved game of `mode`,
    // and what is kept of them for its continuation.
    void SuspendLevel(PlayMode mode, const SuspendedLevel& s) { Of(mode).Suspend(s); }
    const SuspendedLevel& Suspended(PlayMode mode) const { return Mode(mode).Suspended(); }

    // Both modes' bytes in the statistics file, drag mode first.
    void Write(ProfileBuffer& b) const;
    bool Read(ProfileBuffer& b);

    bool operator==(const PlayerStatistics&) const = default;

private:
    ModeStatistics& Of(PlayMode mode) { return mode == PlayMode::Click ? click : drag; }

    ModeStatistics drag;
    ModeStatistics click;
};

} // namespace Zorvin
