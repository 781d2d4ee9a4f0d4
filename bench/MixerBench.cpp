// Cost of the software mixer: 32 sound-effect voices at assorted pitches and
// pans, plus one busy tracker module, rendered as the audio device would pull
// them. The "core_share" counter is the share of one core the mixing takes
// while it keeps up with real time (0.01 = 1 %). Rendering the module alone
// through libopenmpt is the reference the mixer's own work is compared with.

#include "framework/audio/music/MixerMusicInterface.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/music/ModuleMusicStream.h"
#include "framework/audio/OfflineAudioDevice.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace Zorvin;

namespace {

constexpr int kFramesPerPull = 1024;

// An 8-channel module with a note on every channel every other row, each
// channel its own looping sample, so libopenmpt has real mixing to do.
std::vector<uint8_t> BusyModule()
{
    std::vector<uint8_t> out(20, 0);
    for (int i = 0; i < 31; ++i) {
        std::vector<uint8_t> h(30, 0);
        if (i < 8) {
            h[23] = 128; // 256 bytes
            h[25] = 48;
            h[29] = 128;
        } else {
            h[29] = 1;
        }
        out.insert(out.end(), h.begin(), h.end());
    }
    out.push_back(4);
    out.push_back(127);
    for (int i = 0; i < 128; ++i)
        out.push_back(static_cast<uint8_t>(i < 4 ? i : 0));
    out.insert(out.end(), {'8', 'C', 'H', 'N'});
    const int periods[] = {428, 381, 339, 320, 285, 254, 226, 214};
    for (int p = 0; p < 4; ++p)
        for (int row = 0; row < 64; ++row)
            for (int c = 0; c < 8; ++c) {
                if (row % 2 == 0) {
                    int period = periods[(c + row / 2 + p) % 8];
                    int sample = c + 1;
                    out.push_back(static_cast<uint8_t>((sample & 0xF0) | (period >> 8)));
                    out.push_back(static_cast<uint8_t>(period & 0xFF));
                    out.push_back(static_cast<uint8_t>((sample & 0x0F) << 4));
                    out.push_back(0);
                } else {
                    out.insert(out.end(), {0, 0, 0, 0});
                }
            }
    for (int s = 0; s < 8; ++s)
        for (int i = 0; i < 256; ++i)
            out.push_back(static_cast<uint8_t>(static_cast<int8_t>(90 * std::sin(i * (s + 1) * 2 * M_PI / 256))));
    return out;
}

// A one-second mono 44.1 kHz noise-like ".au" sound in a temporary folder.
class TempSound {
public:
    TempSound()
    {
        char pattern[] = "/tmp/korvelt-bench-XXXXXX";
        dir = mkdtemp(pattern) ? pattern : "/tmp";
        std::vector<uint8_t> au = {'.', 's', 'n', 'd', 0, 0, 0, 24, 0, 0, 0xAC, 0x44, 0, 0, 0, 2, 0, 0, 0xAC, 0x44, 0, 0, 0, 1};
        srand(7);
        for (int i = 0; i < 44100; ++i)
            au.push_back(static_cast<uint8_t>(rand() % 256));
        std::ofstream(dir + "/fx.au", std::ios::binary).write(reinterpret_cast<const char*>(au.data()), au.size());
    }
    ~TempSound() { std::filesystem::remove_all(dir); }
    std::string Name() const { return dir + "/fx"; }

private:
    std::string dir;
};

void SetCoreShare(benchmark::State& state)
{
    // Seconds of audio per iteration, inverted as a rate: CPU time / audio time.
    state.counters["core_share"] = benchmark::Counter(
        kFramesPerPull / 44100.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void StartVoices(MixerSoundManager& sounds, int count)
{
    for (int i = 0; i < count; ++i) {
        SoundInstance* voice = sounds.CreateInstance(0);
        voice->AdjustPitch((i % 13) - 6);
        voice->SetPan((i % 5 - 2) * 2000);
        voice->SetVolume(0.3 + 0.02 * i);
        voice->Play(true, false);
    }
}

void BM_Mixer32Voices(benchmark::State& state)
{
    TempSound sound;
    OfflineAudioDevice device;
    MixerSoundManager sounds(&device);
    sounds.LoadSample(0, sound.Name());
    StartVoices(sounds, 32);
    std::vector<int16_t> out(kFramesPerPull * 2);
    for (auto _ : state) {
        device.GetMixer().Render(out.data(), kFramesPerPull);
        benchmark::DoNotOptimize(out.data());
    }
    SetCoreShare(state);
}
BENCHMARK(BM_Mixer32Voices);

// Reference: libopenmpt rendering the same module on its own.
void BM_ModuleAloneLibopenmpt(benchmark::State& state)
{
    std::vector<uint8_t> bytes = BusyModule();
    auto module = ModuleMusicStream::FromMemory(bytes.data(), bytes.size());
    std::vector<float> out(kFramesPerPull * 2);
    for (auto _ : state) {
        module->Read(out.data(), kFramesPerPull, 44100);
        benchmark::DoNotOptimize(out.data());
    }
    SetCoreShare(state);
}
BENCHMARK(BM_ModuleAloneLibopenmpt);

void BM_Mixer32VoicesPlusModule(benchmark::State& state)
{
    TempSound sound;
    std::string modulePath = sound.Name() + ".mo3";
    std::vector<uint8_t> bytes = BusyModule();
    std::ofstream(modulePath, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    OfflineAudioDevice device;
    MixerSoundManager sounds(&device);
    MixerMusicInterface music(&device);
    sounds.LoadSample(0, sound.Name());
    if (!music.LoadSong(0, modulePath)) {
        state.SkipWithError("module did not load");
        return;
    }
    music.PlaySong(0, 0, false);
    StartVoices(sounds, 32);
    std::vector<int16_t> out(kFramesPerPull * 2);
    for (auto _ : state) {
        device.GetMixer().Render(out.data(), kFramesPerPull);
        benchmark::DoNotOptimize(out.data());
    }
    SetCoreShare(state);
}
BENCHMARK(BM_Mixer32VoicesPlusModule);

} // namespace
