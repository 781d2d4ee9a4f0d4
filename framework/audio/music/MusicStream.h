#pragma once

// MusicStream: the decoder behind one song, producing stereo float frames at
// the mixer's rate on request. ModuleMusicStream plays tracker modules;
// SampledMusicStream and its subclasses play recorded audio. A SongChannel
// owns its stream and drives it on the audio thread.

namespace Zorvin {

class MusicStream {
public:
    virtual ~MusicStream() = default;

    // Writes up to `frames` interleaved stereo frames into `out` (replacing
    // its contents) and returns how many were written; fewer than asked
    // means the song has ended. A looping stream never ends.
    virtual int Read(float* out, int frames, int outputRate) = 0;
    // Moves to `offset`: the order position of a module, milliseconds into a
    // recording. False when the position does not exist.
    virtual bool Seek(int offset) = 0;
    virtual void SetLooping(bool looping) = 0;
    // Gain of a module's own mix, 0.5 = as composed; recordings ignore it.
    virtual void SetAmplify(double) {}
    virtual bool IsModule() const = 0;
};

} // namespace Zorvin
