#include "framework/audio/music/SongChannel.h"

namespace Zorvin {

void SongChannel::Start(int offset, bool looping)
{
    stream->SetLooping(looping);
    if (offset >= 0 && !stream->Seek(offset))
        stream->Seek(0);
    playing = true;
    paused = false;
    // The old sound faded out on its own (Stop); this one comes in from
    // silence, as it may start in the middle of its wave.
    gain.RiseFromSilence();
}

void SongChannel::FadeOut()
{
    if (!IsActive())
        return;
    std::vector<float> tail(static_cast<size_t>(GainRamp::kRampFrames) * 2, 0.0f);
    Mix(tail.data(), GainRamp::kRampFrames, mixer.GetOutputRate());
    mixer.AddFadeOutLocked(std::move(tail));
}

void SongChannel::Mix(float* out, int frames, int outputRate)
{
    if (!playing || paused)
        return;
    scratch.resize(static_cast<size_t>(frames) * 2);
    int got = stream->Read(scratch.data(), frames, outputRate);
    // A silent song still advances: fading in continues the tune in time.
    if (gain.IsSteady()) {
        float g = gain.Next();
        if (g > 0.0f)
            for (int i = 0; i < got * 2; ++i)
                out[i] += scratch[i] * g;
    } else {
        for (int i = 0; i < got; ++i) {
            float g = gain.Next();
            out[i * 2] += scratch[i * 2] * g;
            out[i * 2 + 1] += scratch[i * 2 + 1] * g;
        }
    }
    if (got < frames)
        playing = false;
}

} // namespace Zorvin
