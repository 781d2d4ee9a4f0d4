#pragma once

// SongChannel: one loaded song as a channel of the mixer. It owns the song's
// decoder and plays it at a linear gain; the music player sets the gain from
// the song's volume and the music volume. Apart from Mix, which the mixer
// calls under its lock, every method expects the caller to hold the mixer
// lock. Owned by MixerMusicInterface.

#include "framework/audio/AudioChannel.h"
#include "framework/audio/GainRamp.h"
#include "framework/audio/music/MusicStream.h"

#include <memory>
#include <vector>

namespace Zorvin {

class SongChannel : public AudioChannel {
public:
    explicit SongChannel(std::unique_ptr<MusicStream> stream) : stream(std::move(stream)) {}

    // Starts at `offset` (see MusicStream::Seek), or where the song is when
    // `offset` is -1; a position that does not exist starts from the top.
    void Start(int offset, bool looping);
    void Stop() { playing = false; paused = false; }
    void Pause() { paused = playing; }
    void Resume() { paused = false; }
    void SetGain(float newGain) { gain.Set(newGain); }
    float GetGain() const { return gain.GetTarget(); }
    bool IsActive() const { return playing && !paused; }
    MusicStream& GetStream() { return *stream; }

    void Mix(float* out, int frames, int outputRate) override;

private:
    std::unique_ptr<MusicStream> stream;
    std::vector<float> scratch;
    GainRamp gain;
    bool playing = false;
    bool paused = false;
};

} // namespace Zorvin
