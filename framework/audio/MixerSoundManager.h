#pragma once

// MixerSoundManager: the game's sound-effect manager. It decodes each sound
// once into one of 256 slots (".ogg" through libvorbisfile, else ".au") and
// plays copies of it as MixerSoundInstance channels of the device's mixer,
// at most 32 at once; finished copies that released themselves are reused.
//
// Construction: MixerSoundManager(device). `device` may be null (no audio
// device or sound switched off): the manager then stays usable but silent,
// loads report success without loading and CreateInstance gives null. The
// device must outlive the manager. The application owns the manager.
//
// Threads: the slot table may be loaded from the loading thread while the
// game thread plays sounds; copies (CreateInstance, StopAll, volumes) belong
// to the game thread.

#include "framework/audio/AudioDevice.h"
#include "framework/audio/MixerSoundInstance.h"
#include "framework/audio/SoundManager.h"
#include "framework/audio/SoundSample.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace Zorvin {

class MixerSoundManager : public SoundManager {
public:
    static constexpr int kSampleSlots = 256;
    static constexpr int kInstanceSlots = 32;
    // Finished self-releasing copies are swept at most this often.
    static constexpr int64_t kSweepIntervalMs = 1000;

    explicit MixerSoundManager(AudioDevice* device);
    MixerSoundManager(const MixerSoundManager&) = delete;
    MixerSoundManager& operator=(const MixerSoundManager&) = delete;
    ~MixerSoundManager() override;

    bool IsReady() override { return mixer != nullptr; }
    int LoadSampleByName(const std::string& name) override;
    bool LoadSample(int id, const std::string& name) override;
    void ReleaseSample(int id) override;
    void SetMasterVolume(double volume) override;
    void SetSampleVolume(int id, double volume) override;
    void SetSamplePan(int id, int pan) override;
    SoundInstance* CreateInstance(int id) override;
    void ReleaseAllSamples() override;
    void ReleaseAllInstances() override;
    double GetSystemVolume() override;
    void SetSystemVolume(double volume) override;
    void Flush() override {}
    // The mixer plays whatever window is on screen.
    void SetWindow(void*) override {}
    void StopAll() override;

    double GetMasterVolume() const { return masterVolume; }

    // Milliseconds for the sweep of finished copies; a steady clock unless a
    // test supplies its own.
    void SetClock(std::function<int64_t()> newClock) { clock = std::move(newClock); }

    // What a slot holds, for tools and tests: the decoded sound (null when
    // empty), the name it was loaded under, its base volume and pan.
    // The sample pointer stays valid until the slot is released or reloaded.
    const SoundSample* GetSample(int id) const;
    std::string GetSampleName(int id) const;
    double GetSampleVolume(int id) const;
    int GetSamplePan(int id) const;
    // Number of copies alive (playing or waiting to be reused).
    int GetInstanceCount() const;

    // Decodes `name` + ".ogg", else `name` + ".au"; the name itself is tried
    // last when it already carries one of these extensions.
    static bool DecodeFile(const std::string& name, SoundSample& out);

private:
    struct SampleSlot {
        std::shared_ptr<const SoundSample> sample;
        std::string name;
        double baseVolume = 1.0;
        int basePan = 0;
    };

    static bool ValidId(int id) { return id >= 0 && id < kSampleSlots; }
    int FindFreeInstanceSlot();
    // Decodes `name` into slot `id`, which the caller has just named.
    bool FillSlot(int id, const std::string& name);

    AudioMixer* mixer;
    mutable std::mutex slotMutex;
    std::array<SampleSlot, kSampleSlots> samples;
    std::array<std::unique_ptr<MixerSoundInstance>, kInstanceSlots> instances;
    double masterVolume = 1.0;
    double systemVolume = 1.0;
    std::function<int64_t()> clock;
    int64_t lastSweep = 0;
    bool swept = false;
};

} // namespace Zorvin
