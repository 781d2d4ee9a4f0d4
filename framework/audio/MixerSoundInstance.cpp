#include "framework/audio/MixerSoundInstance.h"

#include "framework/audio/AudioGain.h"
#include "framework/audio/MixerSoundManager.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Zorvin {

MixerSoundInstance::MixerSoundInstance(MixerSoundManager& manager, AudioMixer& mixer,
                                       std::shared_ptr<const SoundSample> sample)
    : manager(manager), mixer(mixer), sample(std::move(sample))
{
    if (this->sample && this->sample->rate > 0)
        baseFrequency = this->sample->rate;
    frequency = std::clamp(baseFrequency, kMinFrequency, kMaxFrequency);
    ApplyVolume();
    ApplyPan();
    mixer.AddChannel(this);
}

MixerSoundInstance::~MixerSoundInstance()
{
    Halt(); // a copy deleted while it plays fades out too
    mixer.RemoveChannel(this);
}

void MixerSoundInstance::Release()
{
    Stop();
    released = true;
}

void MixerSoundInstance::SetBaseVolume(double newVolume)
{
    baseVolume = newVolume;
    ApplyVolume();
}

void MixerSoundInstance::SetBasePan(int newPan)
{
    basePan = newPan;
    ApplyPan();
}

void MixerSoundInstance::AdjustPitch(double semitones)
{
    double f = baseFrequency * std::pow(1.0594630943592953, semitones);
    int clamped = std::isnan(f) ? baseFrequency
                                : static_cast<int>(std::lround(std::clamp(f, double(kMinFrequency), double(kMaxFrequency))));
    auto lock = mixer.Lock();
    frequency = clamped;
}

void MixerSoundInstance::SetVolume(double newVolume)
{
    volume = newVolume;
    ApplyVolume();
}

void MixerSoundInstance::SetPan(int newPan)
{
    pan = newPan;
    ApplyPan();
}

bool MixerSoundInstance::Play(bool loop, bool release)
{
    Stop();
    hasPlayed = true;
    autoRelease = release;
    if (!sample || sample->GetFrameCount() == 0)
        return false;
    auto lock = mixer.Lock();
    looping = loop;
    playing = true;
    // A fresh start needs no glide from whatever level the copy had before.
    rampLeft.Settle();
    rampRight.Settle();
    return true;
}

void MixerSoundInstance::Stop()
{
    Halt();
    autoRelease = false;
}

void MixerSoundInstance::Halt()
{
    auto lock = mixer.Lock();
    if (playing && sample) {
        // The next few milliseconds go to the mixer as a fade to silence:
        // cutting a full-scale wave in one sample is a loud click.
        std::vector<float> tail(static_cast<size_t>(GainRamp::kRampFrames) * 2, 0.0f);
        Mix(tail.data(), GainRamp::kRampFrames, mixer.GetOutputRate());
        mixer.AddFadeOutLocked(std::move(tail));
    }
    playing = false;
    position = 0.0;
}

bool MixerSoundInstance::IsPlaying()
{
    auto lock = mixer.Lock();
    return hasPlayed && playing;
}

bool MixerSoundInstance::IsReleased()
{
    if (!released && autoRelease && hasPlayed && !IsPlaying())
        Release();
    return released;
}

int MixerSoundInstance::GetFrequency()
{
    auto lock = mixer.Lock();
    return frequency;
}

void MixerSoundInstance::ApplyVolume()
{
    volumeLevel = AudioGain::VolumeToHundredthsDb(volume * baseVolume * manager.GetMasterVolume());
    float g = static_cast<float>(AudioGain::HundredthsDbToGain(volumeLevel));
    auto lock = mixer.Lock();
    gain = g;
    UpdateRamps();
}

void MixerSoundInstance::ApplyPan()
{
    // Summed in 64 bits: two extreme ints must not overflow.
    long long total = static_cast<long long>(pan) + basePan;
    double left = 1.0;
    double right = 1.0;
    AudioGain::PanToGains(static_cast<int>(std::clamp(total, -10000LL, 10000LL)), left, right);
    auto lock = mixer.Lock();
    panLeft = static_cast<float>(left);
    panRight = static_cast<float>(right);
    UpdateRamps();
}

void MixerSoundInstance::UpdateRamps()
{
    rampLeft.Set(gain * panLeft);
    rampRight.Set(gain * panRight);
}

void MixerSoundInstance::Mix(float* out, int frames, int outputRate)
{
    if (!playing || !sample)
        return;
    const int16_t* pcm = sample->pcm.data();
    const int length = sample->GetFrameCount();
    if (length == 0) {
        playing = false;
        return;
    }
    const bool stereo = sample->channels == 2;
    const double step = static_cast<double>(frequency) / outputRate;
    const float scale = 1.0f / 32768.0f;
    double pos = position;
    for (int i = 0; i < frames; ++i) {
        int index = static_cast<int>(pos);
        float frac = static_cast<float>(pos - index);
        // Past the last frame the voice holds it, or wraps when looping, so
        // interpolation never reads outside the sample.
        int next = index + 1 < length ? index + 1 : (looping ? 0 : index);
        float left;
        float right;
        if (stereo) {
            float l0 = pcm[index * 2];
            float r0 = pcm[index * 2 + 1];
            left = l0 + (pcm[next * 2] - l0) * frac;
            right = r0 + (pcm[next * 2 + 1] - r0) * frac;
        } else {
            float s0 = pcm[index];
            left = right = s0 + (pcm[next] - s0) * frac;
        }
        out[i * 2] += left * rampLeft.Next() * scale;
        out[i * 2 + 1] += right * rampRight.Next() * scale;
        pos += step;
        if (pos >= length) {
            if (!looping) {
                playing = false;
                pos = 0.0;
                break;
            }
            pos = std::fmod(pos, static_cast<double>(length));
        }
    }
    position = pos;
}

} // namespace Zorvin
