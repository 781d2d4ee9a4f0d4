#pragma once

// Synthesises the game's sound effects: every entry of kSoundFiles has a
// recipe here (knocks, chimes, swishes, sparkles, fanfares, a horn, paper).
// The "sounds" step renders each, evens out their loudness and writes them
// as Ogg Vorbis into <out>/sounds/.

#include "tools/assetgen/audio/AudioBuffer.h"

#include <memory>
#include <string>

namespace Zorvin::AssetGen {

class SoundEffects {
public:
    static constexpr int kRate = 44100;
    // Peak ceiling after normalising: -3 dBFS leaves room for the small
    // overshoot of lossy coding and for several effects overlapping.
    static constexpr double kPeakCap = 0.707;

    // The normalised effect for a stem of kSoundFiles, or none for an
    // unknown stem. Seeds the C library generator itself.
    static std::unique_ptr<AudioBuffer> Synthesise(const std::string& stem);
};

} // namespace Zorvin::AssetGen
