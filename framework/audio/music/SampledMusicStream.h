#pragma once

// SampledMusicStream: common part of the recorded-music streams (".ogg",
// ".wav"). Subclasses deliver frames at the file's own rate; this class
// resamples them to the mixer's rate by linear interpolation and wraps
// around to the start when looping.

#include "framework/audio/music/MusicStream.h"

#include <cstdint>
#include <vector>

namespace Zorvin {

class SampledMusicStream : public MusicStream {
public:
    int Read(float* out, int frames, int outputRate) override;
    bool Seek(int offset) override;
    void SetLooping(bool looping) override { this->looping = looping; }
    bool IsModule() const override { return false; }

    int GetSourceRate() const { return sourceRate; }

protected:
    explicit SampledMusicStream(int sourceRate) : sourceRate(sourceRate) {}

    // Up to `frames` stereo frames at the source rate; 0 at the end.
    virtual int ReadSource(float* out, int frames) = 0;
    // Moves to a frame of the source; false when it is beyond the end.
    virtual bool SeekSource(int64_t frame) = 0;

private:
    bool NextFrame(float& left, float& right);

    int sourceRate;
    bool looping = true;
    bool ended = false;    // the source has nothing more
    bool draining = false; // `current` is the last frame there is
    bool finished = false; // and every frame of it has been played
    bool primed = false;
    double phase = 0.0;
    float previous[2] = {0.0f, 0.0f};
    float current[2] = {0.0f, 0.0f};
    std::vector<float> buffer;
    int bufferFrames = 0;
    int bufferIndex = 0;
};

} // namespace Zorvin
