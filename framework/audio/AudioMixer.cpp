#include "framework/audio/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace Zorvin {

namespace {
// Mixing happens in slices so the float buffer stays small whatever the
// device asks for in one call.
constexpr int kSliceFrames = 1024;
// Fades waiting to be played; when nothing renders (no device) the oldest
// are dropped rather than piling up.
constexpr size_t kMaxFadeOuts = 64;
} // namespace

AudioMixer::AudioMixer(int outputRate)
    : mixBuffer(kSliceFrames * 2), outputRate(outputRate > 0 ? outputRate : 44100)
{
}

void AudioMixer::AddChannel(AudioChannel* channel)
{
    std::lock_guard<std::mutex> guard(mutex);
    if (channel && std::find(channels.begin(), channels.end(), channel) == channels.end())
        channels.push_back(channel);
}

void AudioMixer::RemoveChannel(AudioChannel* channel)
{
    std::lock_guard<std::mutex> guard(mutex);
    channels.erase(std::remove(channels.begin(), channels.end(), channel), channels.end());
}

int AudioMixer::GetChannelCount()
{
    std::lock_guard<std::mutex> guard(mutex);
    return static_cast<int>(channels.size());
}

void AudioMixer::SetOutputGain(double gain)
{
    std::lock_guard<std::mutex> guard(mutex);
    outputGain = std::isnan(gain) ? 0.0 : std::clamp(gain, 0.0, 1.0);
}

double AudioMixer::GetOutputGain()
{
    std::lock_guard<std::mutex> guard(mutex);
    return outputGain;
}

void AudioMixer::AddFadeOutLocked(std::vector<float> frames)
{
    size_t n = frames.size() / 2;
    if (n == 0)
        return;
    for (size_t i = 0; i < n; ++i) {
        float g = static_cast<float>(n - i) / static_cast<float>(n + 1);
        frames[i * 2] *= g;
        frames[i * 2 + 1] *= g;
    }
    if (fadeOuts.size() >= kMaxFadeOuts)
        fadeOuts.erase(fadeOuts.begin());
    fadeOuts.push_back(FadeOut{std::move(frames), 0});
}

void AudioMixer::Render(int16_t* out, int frames)
{
    std::lock_guard<std::mutex> guard(mutex);
    while (frames > 0) {
        int n = std::min(frames, kSliceFrames);
        float* mix = mixBuffer.data();
        std::fill(mix, mix + n * 2, 0.0f);
        for (AudioChannel* channel : channels)
            channel->Mix(mix, n, outputRate);
        for (FadeOut& fade : fadeOuts) {
            size_t count = std::min(static_cast<size_t>(n) * 2, fade.frames.size() - fade.done);
            for (size_t i = 0; i < count; ++i)
                mix[i] += fade.frames[fade.done + i];
            fade.done += count;
        }
        fadeOuts.erase(std::remove_if(fadeOuts.begin(), fadeOuts.end(),
                                      [](const FadeOut& f) { return f.done >= f.frames.size(); }),
                       fadeOuts.end());
        float scale = static_cast<float>(outputGain * 32767.0);
        for (int i = 0; i < n * 2; ++i) {
            float v = mix[i] * scale;
            // NaN from a broken decoder must not reach the cast.
            if (!(v > -32768.0f))
                v = v != v ? 0.0f : -32768.0f;
            else if (v > 32767.0f)
                v = 32767.0f;
            out[i] = static_cast<int16_t>(std::lrint(v));
        }
        out += n * 2;
        frames -= n;
    }
}

} // namespace Zorvin
