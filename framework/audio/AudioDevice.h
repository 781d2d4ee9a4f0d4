#pragma once

// AudioDevice: where the mixed sound goes. The platform layer provides the
// real one (an SDL audio device that pulls from the mixer on its own thread);
// OfflineAudioDevice renders on request for tests, tools and benchmarks.
// The sound manager and the music player take a device pointer at
// construction and add their channels to its mixer, so the device must
// outlive both of them. A null device pointer means "no sound": the game
// then runs silently.

#include "framework/audio/AudioMixer.h"

namespace Zorvin {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // The mixer this device plays; it lives as long as the device.
    virtual AudioMixer& GetMixer() = 0;
};

} // namespace Zorvin
