#pragma once

// Tuned numbers of the campaign's levels: how many tile values each level
// deals from and how many tiles its deck holds. Written by
// scripts/validate-levels after playing every level with the headless
// player; a level missing here uses its stage's defaults.

namespace Zorvin::AssetGen {

struct LevelTuning {
    int mode;
    int number;
    int typeCount;
    int cardsInDeck;
};

inline constexpr LevelTuning kLevelTuning[] = {
    {-1, 0, 0, 0},
};

} // namespace Zorvin::AssetGen
