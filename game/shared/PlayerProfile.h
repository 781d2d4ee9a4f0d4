#pragma once

// PlayerProfile: one player's record. It carries the progress and running
// score of both play modes, the counters that follow the player from level to
// level, and the one-time hint flags. The application owns the profiles and
// reads and writes them; the board rules change the current one when a level
// starts, is won or shows a one-time hint.

#include <string>

#include "game/shared/PlayMode.h"

namespace Zorvin {

// A player's progress in one play mode, by reference into the profile.
struct ModeProgress {
    int& level;  // the next level to play
    int& score;  // the running score
};

struct PlayerProfile {
    // The last level of each play mode; a level one past it marks a
    // finished campaign.
    static constexpr int kLastLevelMode0 = 50;
    static constexpr int kLastLevelMode2 = 60;
    // Reshuffles a player can hold: a bonus adds one only below this.
    static constexpr int kMaxShufflesLeft = 5;

    std::string name;          // Windows-1251 bytes, unique among the profiles
    int levelMode0 = 1;        // next level in drag mode
    int scoreMode0 = 0;        // running score in drag mode
    int spareMode0 = 0;        // kept in the players file; bit 0: the deck's number was explained
    int shufflesLeft = 1;      // reshuffles carried from level to level
    int levelMode2 = 1;        // next level in click mode
    int scoreMode2 = 0;        // running score in click mode
    int spareMode2 = 0;        // kept in the players file, otherwise unused
    // The number on the deck (how often it can still be gathered) was
    // explained to the player, once: a flag kept in spareMode0 so the
    // players file keeps its layout.
    bool DeckNumberExplained() const { return (spareMode0 & 1) != 0; }
    void MarkDeckNumberExplained() { spareMode0 |= 1; }
    bool deckHintShown = false;
    bool jokerHintShown = false;
    bool showHowToPlay = true;
    int placeCount = 2;        // deck places carried from level to level
    bool showInstructions = true;

    // The progress of `mode` (the editor counts as drag mode).
    ModeProgress Progress(PlayMode mode)
    {
        if (mode == PlayMode::Click)
            return {levelMode2, scoreMode2};
        return {levelMode0, scoreMode0};
    }
};

} // namespace Zorvin
