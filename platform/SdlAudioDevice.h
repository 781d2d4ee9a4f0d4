#pragma once

// SdlAudioDevice: the sound card, through SDL's audio subsystem. It opens one
// output at 44100 Hz, stereo, signed 16-bit (SDL converts if the hardware
// wants something else) and its callback pulls every buffer from the mixer.
// Open returns null when there is no audio system or no device; the game
// then passes null to the sound manager and music player and runs silently.
//
// Owned by the application, which must destroy the sound manager and the
// music player before the device.

#include "framework/audio/AudioDevice.h"

#include <cstdint>
#include <memory>

namespace Zorvin {

class SdlAudioDevice : public AudioDevice {
public:
    // Starts SDL's audio subsystem if needed, opens the default output and
    // starts playing (silence until something is added to the mixer).
    static std::unique_ptr<SdlAudioDevice> Open(int outputRate = 44100);

    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;
    ~SdlAudioDevice() override;

    AudioMixer& GetMixer() override { return mixer; }
    // Pauses or resumes the output as a whole (e.g. while minimised).
    void SetPaused(bool paused);

private:
    explicit SdlAudioDevice(int outputRate) : mixer(outputRate) {}
    static void Callback(void* user, uint8_t* stream, int length);

    AudioMixer mixer;
    uint32_t deviceId = 0;
    bool ownsSubsystem = false;
};

} // namespace Zorvin
