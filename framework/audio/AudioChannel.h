#pragma once

// AudioChannel: one source of sound inside the AudioMixer, such as a playing
// sound effect or a song. The mixer calls Mix on the audio thread while it
// holds its lock; the owner of a channel changes the channel's state only
// under the same lock (AudioMixer::Lock), so the two threads never race.
// Whoever creates a channel owns it and removes it from the mixer before
// deleting it.

namespace Zorvin {

class AudioChannel {
public:
    virtual ~AudioChannel() = default;

    // Adds `frames` stereo frames (interleaved left, right; full scale 1.0)
    // of this channel onto `out`, at the mixer's output rate.
    virtual void Mix(float* out, int frames, int outputRate) = 0;
};

} // namespace Zorvin
