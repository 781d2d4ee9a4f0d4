#pragma once

// The six songs of the game, one plan per entry of kMusicFiles, and the
// "music" step that composes and writes them. Each plan gives its song a
// mood of its own: the menu theme is slow and calm, the map theme a walking
// journey, and the four level themes are a lively market tune, a
// mysterious eastern one, a driving one and a sunny waltz.

#include "tools/assetgen/SongComposer.h"

#include <vector>

namespace Zorvin::AssetGen {

class GameSongs {
public:
    // A song loops; shorter than this and the repetition gets tiresome.
    static constexpr double kMinimumSeconds = 60.0;

    // In the order of kMusicFiles.
    static std::vector<SongPlan> Plans();
};

} // namespace Zorvin::AssetGen
