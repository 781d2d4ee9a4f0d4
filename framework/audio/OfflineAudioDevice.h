#pragma once

// OfflineAudioDevice: an audio device with no hardware behind it. Nothing
// plays until the owner calls Render, which pulls frames from the mixer just
// as a sound card would. Used by tests, the asset tools and benchmarks.

#include "framework/audio/AudioDevice.h"

#include <cstdint>
#include <vector>

namespace Zorvin {

class OfflineAudioDevice : public AudioDevice {
public:
    explicit OfflineAudioDevice(int outputRate = 44100) : mixer(outputRate) {}

    AudioMixer& GetMixer() override { return mixer; }

    // `frames` interleaved stereo frames from the mixer.
    std::vector<int16_t> Render(int frames)
    {
        std::vector<int16_t> out(static_cast<size_t>(frames > 0 ? frames : 0) * 2);
        if (frames > 0)
            mixer.Render(out.data(), frames);
        return out;
    }

private:
    AudioMixer mixer;
};

} // namespace Zorvin
