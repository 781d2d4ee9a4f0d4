#include "framework/audio/music/SampledMusicStream.h"

#include <algorithm>

namespace Zorvin {

namespace {
constexpr int kChunkFrames = 2048;
} // namespace

bool SampledMusicStream::NextFrame(float& left, float& right)
{
    if (bufferIndex >= bufferFrames) {
        if (ended)
            return false;
        buffer.resize(kChunkFrames * 2);
        bufferIndex = 0;
        bufferFrames = ReadSource(buffer.data(), kChunkFrames);
        // At the end a looping stream starts over once; a stream that gives
        // nothing even from its start has ended for good (no endless loop).
        if (bufferFrames <= 0 && looping && SeekSource(0))
            bufferFrames = ReadSource(buffer.data(), kChunkFrames);
        if (bufferFrames <= 0) {
            bufferFrames = 0;
            ended = true;
            return false;
        }
    }
    left = buffer[bufferIndex * 2];
    right = buffer[bufferIndex * 2 + 1];
    ++bufferIndex;
    return true;
}

int SampledMusicStream::Read(float* out, int frames, int outputRate)
{
    if (outputRate <= 0)
        outputRate = 44100;
    const double step = static_cast<double>(sourceRate) / outputRate;
    if (!primed) {
        primed = true;
        phase = 0.0;
        if (!NextFrame(previous[0], previous[1])) {
            finished = true;
        } else if (!NextFrame(current[0], current[1])) {
            current[0] = previous[0];
            current[1] = previous[1];
            draining = true;
        }
    }
    int done = 0;
    while (done < frames && !finished) {
        while (phase >= 1.0) {
            if (draining) {
                finished = true;
                break;
            }
            previous[0] = current[0];
            previous[1] = current[1];
            // The last frame is held, so it still plays for its full length.
            if (!NextFrame(current[0], current[1]))
                draining = true;
            phase -= 1.0;
        }
        if (finished)
            break;
        float t = static_cast<float>(phase);
        out[done * 2] = previous[0] + (current[0] - previous[0]) * t;
        out[done * 2 + 1] = previous[1] + (current[1] - previous[1]) * t;
        ++done;
        phase += step;
    }
    std::fill(out + done * 2, out + frames * 2, 0.0f);
    return done;
}

bool SampledMusicStream::Seek(int offset)
{
    if (offset < 0)
        return false;
    int64_t frame = static_cast<int64_t>(offset) * sourceRate / 1000;
    if (!SeekSource(frame))
        return false;
    ended = false;
    finished = false;
    draining = false;
    primed = false;
    bufferFrames = 0;
    bufferIndex = 0;
    return true;
}

} // namespace Zorvin
