#pragma once

// SongChannel: one loaded song as a channel of the mixer. It owns the song's
// decoder and plays it at a linear gain; the music player sets the gain from
// the song's volume and the music volume. Stopping or pausing hands the
// next few milliseconds to the mixer as a fade to silence, so a song never
// ends in a click. Apart from Mix, which the mixer
// calls under its lock, every method expects the caller to hold the mixer
// lock. Owned by MixerMusicInterface.

#include "framework/audio/AudioChannel.h"
#include "framework/audio/AudioMixer.h"
#include "framework/audio/GainRamp.h"
#include "framework/audio/music/MusicStream.h"

#include <memory>
#include <vector>

namespace Zorvin {

class SongChannel : public AudioChannel {
public:
    SongChannel(std::unique_ptr<MusicStream> stream, AudioMixer& mixer) : stream(std::move(stream)), mixer(mixer) {}

    // Starts at `offset` (see MusicStream::Seek), or where the song is when
    // `offset` is -1; a position that does not exist starts from the top.
    void Start(int offset, bool looping);
    void Stop()
    {
        FadeOut();
        playing = false;
        paused = false;
    }
    void Pause()
    {
        FadeOut();
        paused = playing;
    }
    void Resume()
    {
        if (playing && paused)
            gain.RiseFromSilence(); // back mid-wave after silence: ramp in as Pause ramped out
        paused = false;
    }
    void SetGain(float newGain) { gain.Set(newGain); }
    float GetGain() const { return gain.GetTarget(); }
    bool IsActive() const { return playing && !paused; }
    MusicStream& GetStream() { return *stream; }

    void Mix(float* out, int frames, int outputRate) override;

private:
    // Queues the next few milliseconds of a sounding song as a fade-out.
    void FadeOut();

    std::unique_ptr<MusicStream> stream;
    AudioMixer& mixer;
    std::vector<float> scratch;
    GainRamp gain;
    bool playing = false;
    bool paused = false;
};

} // namespace Zorvin
