#include "game/board/LevelTally.h"

#include <algorithm>
#include <climits>

namespace Zorvin {

void LevelTally::Start(int score)
{
    *this = LevelTally{};
    startScore = score;
}

void LevelTally::Tick()
{
    if (updates < INT_MAX)
        ++updates;
}

void LevelTally::Resume(int score, int seconds, int combo, int bonusCount, int moveCount)
{
    Start(score);
    updates = std::clamp(seconds, 0, INT_MAX / kUpdatesPerSecond) * kUpdatesPerSecond;
    bestCombo = combo;
    bonuses = bonusCount;
    moves = moveCount;
}

void LevelTally::NotePut(int multiplier)
{
    ++moves;
    bestCombo = std::max(bestCombo, multiplier);
}

void LevelTally::NoteUndo()
{
    if (moves > 0)
        --moves;
}

} // namespace Zorvin
