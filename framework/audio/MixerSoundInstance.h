#pragma once

// MixerSoundInstance: a sound-effect copy playing through the AudioMixer.
// It reads the shared decoded sample, resamples it to the output rate at its
// own frequency (which is how pitch changes), and scales it by the volume law
// and the pan law of AudioGain. Created and owned by MixerSoundManager; it is
// one of the mixer's channels from construction to destruction.

#include "framework/audio/AudioChannel.h"
#include "framework/audio/AudioMixer.h"
#include "framework/audio/GainRamp.h"
#include "framework/audio/SoundInstance.h"
#include "framework/audio/SoundSample.h"

#include <memory>

namespace Zorvin {

class MixerSoundManager;

class MixerSoundInstance : public SoundInstance, public AudioChannel {
public:
    static constexpr int kMinFrequency = 100;
    static constexpr int kMaxFrequency = 100000;

    MixerSoundInstance(MixerSoundManager& manager, AudioMixer& mixer,
                       std::shared_ptr<const SoundSample> sample);
    MixerSoundInstance(const MixerSoundInstance&) = delete;
    MixerSoundInstance& operator=(const MixerSoundInstance&) = delete;
    ~MixerSoundInstance() override;

    void Release() override;
    void SetBaseVolume(double volume) override;
    void SetBasePan(int pan) override;
    void AdjustPitch(double semitones) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override { return volume; }

    // Recomputes the gain from the three volumes; the manager calls it when
    // the master volume changes.
    void ApplyVolume();
    // Stops and rewinds but keeps the auto-release wish (the manager's StopAll).
    void Halt();

    // The level sent to the mixer in hundredths of a decibel, the playing
    // frequency and the recorded one, for tools and tests.
    int GetVolumeLevel() const { return volumeLevel; }
    int GetFrequency();
    int GetBaseFrequency() const { return baseFrequency; }

    void Mix(float* out, int frames, int outputRate) override;

private:
    void ApplyPan();
    // Sends gain x pan to the two ramps; the caller holds the mixer lock.
    void UpdateRamps();

    MixerSoundManager& manager;
    AudioMixer& mixer;
    std::shared_ptr<const SoundSample> sample;

    bool autoRelease = false;
    bool hasPlayed = false;
    bool released = false;
    int basePan = 0;
    double baseVolume = 1.0;
    int pan = 0;
    double volume = 1.0;
    int baseFrequency = 44100;
    int volumeLevel = 0;

    // Voice state, shared with the audio thread: only under the mixer lock.
    int frequency = 44100;
    double position = 0.0;
    float gain = 1.0f;
    float panLeft = 1.0f;
    float panRight = 1.0f;
    GainRamp rampLeft{1.0f};
    GainRamp rampRight{1.0f};
    bool playing = false;
    bool looping = false;
};

} // namespace Zorvin
