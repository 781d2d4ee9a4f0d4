#pragma once

// AudioMixer: the one software mixer behind sound effects and music. Every
// playing sound and song is an AudioChannel; Render sums them into 16-bit
// stereo frames at a fixed output rate (44100 Hz for the game). An audio
// device pulls from Render on its own thread; tests, tools and benchmarks
// call Render directly to hear the result offline. The mixer does not own
// its channels.

#include "framework/audio/AudioChannel.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace Zorvin {

class AudioMixer {
public:
    explicit AudioMixer(int outputRate = 44100);
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    int GetOutputRate() const { return outputRate; }

    // Both take the mixer lock themselves: never call them while holding it.
    void AddChannel(AudioChannel* channel);
    void RemoveChannel(AudioChannel* channel);
    int GetChannelCount();

    // The lock under which channels may be changed while the device plays.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex); }

    // Gain applied to the sum of all channels (the game's "system volume"),
    // clamped to 0.0-1.0.
    void SetOutputGain(double gain);
    double GetOutputGain();

    // Plays `frames` (interleaved stereo, as Mix adds them) once, faded from
    // full level to silence along their length, on top of the channels. A
    // channel that stops hands its next few milliseconds over here, so it
    // ends in a short fade instead of a click, even when the channel is
    // restarted or deleted right after. The caller holds the mixer lock.
    void AddFadeOutLocked(std::vector<float> frames);

    // Writes `frames` interleaved stereo 16-bit frames; the sum is clipped,
    // never wrapped. Silence when no channel plays.
    void Render(int16_t* out, int frames);

private:
    std::mutex mutex;
    std::vector<AudioChannel*> channels;
    struct FadeOut {
        std::vector<float> frames;
        size_t done = 0; // floats already played
    };
    std::vector<FadeOut> fadeOuts;
    std::vector<float> mixBuffer;
    double outputGain = 1.0;
    int outputRate;
};

} // namespace Zorvin
