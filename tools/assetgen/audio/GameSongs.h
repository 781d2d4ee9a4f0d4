#pragma once

// The six songs of the game, one plan per entry of kMusicFiles, and the
// "music" step that composes and writes them. Each plan gives its song a
// mood of its own: the menu theme is slow and calm, the map theme a walking
// journey, and the four level themes are a lively market tune, a
// mysterious eastern one, a driving one and a sunny waltz.

#include "tools/assetgen/audio/SongComposer.h"

#include <vector>

namespace Zorvin::AssetGen {

class GameSongs {
public:
    // A song loops; shorter than this and the repetition gets tiresome,
    // longer and its sections no longer add up to one tune.
    static constexpr double kMinimumSeconds = 120.0;
    static constexpr double kMaximumSeconds = 180.0;

    // Loudness every song is brought down to (RMS over one pass, dBFS), so
    // a switch of song is not also a jump in level; at the default volumes
    // this puts the effects about 6 dB over the music.
    static constexpr double kTargetLoudness = -22.5;

    // In the order of kMusicFiles.
    static std::vector<SongPlan> Plans();
    // RMS level of one pass of the module as the game's player renders it,
    // in dBFS; -120 when the player cannot open it.
    static double Loudness(const XmModule& module);
    // Lowers the module's global volume so that its loudness comes down to
    // kTargetLoudness; a quieter song is left as it is.
    static void Level(XmModule& module);
};

} // namespace Zorvin::AssetGen
