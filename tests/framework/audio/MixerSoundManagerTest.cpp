#include "framework/audio/MixerSoundManager.h"

#include "framework/audio/AudioGain.h"
#include "framework/audio/GainRamp.h"
#include "framework/audio/OfflineAudioDevice.h"

#include "tests/framework/audio/AudioTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace Zorvin;
using AudioTestFiles::Bytes;
using AudioTestFiles::Crossings;
using AudioTestFiles::Peak;

namespace {

// A square wave of `period` frames at full scale, as mono 8-bit linear .au.
Bytes SquareAu(int rate, int frames, int period)
{
    Bytes data;
    for (int i = 0; i < frames; ++i)
        data.push_back(i % period < period / 2 ? 0x7F : 0x81);
    return AudioTestFiles::Au(2, rate, 1, data);
}

class MixerSoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.SetClock([this] { return now; });
        // 441 Hz square at 44100 Hz, one second.
        AudioTestFiles::Write(dir / "square.au", SquareAu(44100, 44100, 100));
        AudioTestFiles::Write(dir / "short.au", SquareAu(44100, 441, 100));
        ASSERT_TRUE(manager.LoadSample(0, dir / "square"));
        ASSERT_TRUE(manager.LoadSample(1, dir / "short"));
    }

    // Peak of one channel over a tenth of a second, once volume changes
    // have finished their glide.
    int RenderPeak(int channel = 0) { return Peak(Settled(4410), channel); }
    std::vector<int16_t> Settled(int frames)
    {
        device.Render(GainRamp::kRampFrames);
        return device.Render(frames);
    }

    AudioTestFiles::TempDir dir;
    OfflineAudioDevice device;
    MixerSoundManager manager{&device};
    int64_t now = 0;
};

} // namespace

TEST_F(MixerSoundManagerTest, LoadPrefersOggThenAu)
{
    AudioTestFiles::Write(dir / "both.ogg", AudioTestFiles::OggTone(22050, 1, 441.0, 0.1));
    AudioTestFiles::Write(dir / "both.au", SquareAu(8000, 800, 10));
    ASSERT_TRUE(manager.LoadSample(5, dir / "both"));
    ASSERT_NE(manager.GetSample(5), nullptr);
    EXPECT_EQ(manager.GetSample(5)->rate, 22050);
    EXPECT_EQ(manager.GetSampleName(5), dir / "both");

    // A damaged .ogg falls back to the .au beside it.
    AudioTestFiles::Write(dir / "both.ogg", Bytes(100, 1));
    ASSERT_TRUE(manager.LoadSample(5, dir / "both"));
    EXPECT_EQ(manager.GetSample(5)->rate, 8000);

    // A name that already carries its extension still loads.
    ASSERT_TRUE(manager.LoadSample(6, dir / "both.au"));
    EXPECT_EQ(manager.GetSample(6)->rate, 8000);
}

TEST_F(MixerSoundManagerTest, LoadFailuresLeaveTheSlotEmpty)
{
    EXPECT_FALSE(manager.LoadSample(0, dir / "missing"));
    EXPECT_EQ(manager.GetSample(0), nullptr);
    EXPECT_EQ(manager.CreateInstance(0), nullptr);
    EXPECT_FALSE(manager.LoadSample(256, dir / "square"));
    EXPECT_FALSE(manager.LoadSample(-1, dir / "square"));
    EXPECT_EQ(manager.CreateInstance(256), nullptr);
    EXPECT_EQ(manager.CreateInstance(-1), nullptr);
    AudioTestFiles::Write(dir / "empty.au", AudioTestFiles::Au(2, 8000, 1, Bytes()));
    EXPECT_FALSE(manager.LoadSample(3, dir / "empty"));
}

TEST_F(MixerSoundManagerTest, LoadByNameReusesSlotsFromTheTop)
{
    int first = manager.LoadSampleByName(dir / "square");
    EXPECT_EQ(first, 0); // already loaded by the fixture
    int a = manager.LoadSampleByName(dir / "short.au");
    EXPECT_EQ(a, 255);
    EXPECT_EQ(manager.LoadSampleByName(dir / "short.au"), 255);
    EXPECT_EQ(manager.LoadSampleByName(dir / "missing"), -1);
    // The failed name did not take a slot: the next one goes to 254.
    EXPECT_EQ(manager.LoadSampleByName(dir / "square.au"), 254);
    EXPECT_EQ(manager.LoadSampleByName(dir / "missing"), -1);
}

TEST_F(MixerSoundManagerTest, LoadByNameReportsAFullTable)
{
    for (int id = 2; id < MixerSoundManager::kSampleSlots; ++id)
        ASSERT_TRUE(manager.LoadSample(id, dir / "short"));
    EXPECT_EQ(manager.LoadSampleByName(dir / "square.au"), -1);
    manager.ReleaseSample(17);
    EXPECT_EQ(manager.LoadSampleByName(dir / "square.au"), 17);
}

TEST(MixerSoundManagerSilent, WithoutADeviceEverythingIsQuietButSafe)
{
    MixerSoundManager manager(nullptr);
    EXPECT_FALSE(manager.IsReady());
    EXPECT_TRUE(manager.LoadSample(4, "/nonexistent/sound"));
    EXPECT_EQ(manager.LoadSampleByName("/nonexistent/sound"), 4);
    EXPECT_EQ(manager.CreateInstance(4), nullptr);
    manager.SetMasterVolume(0.3);
    manager.SetSystemVolume(0.4);
    EXPECT_DOUBLE_EQ(manager.GetSystemVolume(), 0.4);
    manager.StopAll();
    manager.ReleaseAllInstances();
    manager.ReleaseAllSamples();
    EXPECT_EQ(manager.GetSampleName(4), "");
}

TEST_F(MixerSoundManagerTest, VolumeLawShapesTheRenderedLevel)
{
    SoundInstance* sound = manager.CreateInstance(0);
    ASSERT_NE(sound, nullptr);
    ASSERT_TRUE(sound->Play(true, false));
    int full = RenderPeak();
    EXPECT_NEAR(full, 127 * 256, 100);

    sound->SetVolume(0.5);
    EXPECT_EQ(static_cast<MixerSoundInstance*>(sound)->GetVolumeLevel(), -605);
    EXPECT_NEAR(RenderPeak(), full * std::pow(10.0, -605 / 2000.0), 60);

    // Instance, base and master volumes multiply before the curve.
    sound->SetVolume(1.0);
    sound->SetBaseVolume(0.5);
    manager.SetMasterVolume(0.1);
    EXPECT_EQ(static_cast<MixerSoundInstance*>(sound)->GetVolumeLevel(), AudioGain::VolumeToHundredthsDb(0.05));
    EXPECT_NEAR(RenderPeak(), full * std::pow(10.0, -1956 / 2000.0), 60);
    manager.SetMasterVolume(0.08);
    EXPECT_EQ(RenderPeak(), 0);
    EXPECT_TRUE(sound->IsPlaying());

    manager.SetMasterVolume(1.0);
    manager.SetSystemVolume(0.5);
    EXPECT_NEAR(RenderPeak(), full * 0.25, 60); // base 0.5 (-6 dB) then system 0.5
}

TEST_F(MixerSoundManagerTest, PanMovesTheSoundBetweenSides)
{
    manager.SetSamplePan(0, 4000);
    SoundInstance* sound = manager.CreateInstance(0);
    ASSERT_NE(sound, nullptr);
    sound->Play(true, false);
    sound->SetPan(6000); // adds up with the base pan: hard right
    std::vector<int16_t> out = Settled(4410);
    EXPECT_EQ(Peak(out, 0), 0);
    EXPECT_GT(Peak(out, 1), 30000);
    sound->SetPan(-10000); // -6000 in all
    out = Settled(4410);
    EXPECT_GT(Peak(out, 0), 30000);
    EXPECT_NEAR(Peak(out, 1), 127 * 256 * std::pow(10.0, -6000 / 2000.0), 40);
}

TEST_F(MixerSoundManagerTest, PitchResamples)
{
    SoundInstance* sound = manager.CreateInstance(0);
    auto* mixed = static_cast<MixerSoundInstance*>(sound);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(mixed->GetBaseFrequency(), 44100);
    sound->Play(true, false);
    int normal = Crossings(device.Render(44100), 0);
    EXPECT_NEAR(normal, 441, 2);

    sound->AdjustPitch(12);
    EXPECT_EQ(mixed->GetFrequency(), 88200);
    sound->Play(true, false);
    EXPECT_NEAR(Crossings(device.Render(44100), 0), 882, 2);

    sound->AdjustPitch(-12);
    EXPECT_EQ(mixed->GetFrequency(), 22050);
    sound->AdjustPitch(-100); // 136.7 Hz: still above the floor
    EXPECT_EQ(mixed->GetFrequency(), 137);
    sound->AdjustPitch(100);
    EXPECT_EQ(mixed->GetFrequency(), MixerSoundInstance::kMaxFrequency);
    sound->AdjustPitch(0);
    EXPECT_EQ(mixed->GetFrequency(), 44100);

    AudioTestFiles::Write(dir / "low.au", SquareAu(22050, 100, 10));
    ASSERT_TRUE(manager.LoadSample(2, dir / "low"));
    auto* low = static_cast<MixerSoundInstance*>(manager.CreateInstance(2));
    EXPECT_EQ(low->GetBaseFrequency(), 22050);
    low->AdjustPitch(-100);
    EXPECT_EQ(low->GetFrequency(), MixerSoundInstance::kMinFrequency);
}

TEST_F(MixerSoundManagerTest, VolumeChangesGlideInsteadOfClicking)
{
    SoundInstance* sound = manager.CreateInstance(0);
    sound->Play(true, false);
    device.Render(1000);
    manager.SetMasterVolume(0.0); // a mute while the sound plays
    std::vector<int16_t> out = device.Render(GainRamp::kRampFrames + 100);
    // Every frame is a little quieter than the one before at most...
    int previous = 127 * 256;
    for (int i = 0; i < GainRamp::kRampFrames; ++i) {
        int level = std::abs(static_cast<int>(out[i * 2]));
        EXPECT_LE(level, previous + 1) << i;
        EXPECT_GE(level, previous - 127 * 256 / GainRamp::kRampFrames - 2) << i;
        previous = level;
    }
    // ...and the glide ends in silence.
    EXPECT_EQ(Peak(std::vector<int16_t>(out.end() - 200, out.end()), 0), 0);

    // A new start begins at its own level at once.
    manager.SetMasterVolume(1.0);
    sound->Play(false, false);
    EXPECT_GT(std::abs(static_cast<int>(device.Render(1)[0])), 30000);
}

TEST_F(MixerSoundManagerTest, StopReleaseAndDeleteFadeOutInsteadOfClicking)
{
    // The left channel right after the sound ends: it starts near full
    // scale, never rises above a falling line and is silent after the ramp.
    auto expectFade = [this](const char* how) {
        std::vector<int16_t> out = device.Render(GainRamp::kRampFrames + 100);
        const int n = GainRamp::kRampFrames, full = 127 * 256;
        EXPECT_GT(std::abs(static_cast<int>(out[0])), full * 9 / 10) << how;
        for (int i = 0; i < n; ++i)
            ASSERT_LE(std::abs(static_cast<int>(out[i * 2])), full * (n - i) / (n + 1) + 2) << how << " " << i;
        EXPECT_EQ(Peak(std::vector<int16_t>(out.begin() + n * 2, out.end()), 0), 0) << how;
    };
    SoundInstance* sound = manager.CreateInstance(0);
    sound->Play(true, false);
    device.Render(1010); // mid-way through a high half of the square
    sound->Stop();
    expectFade("stop");
    sound->Play(true, true);
    device.Render(1010);
    sound->Release();
    expectFade("release");
    sound = manager.CreateInstance(0);
    sound->Play(true, false);
    device.Render(1010);
    manager.ReleaseAllInstances();
    expectFade("delete");
}

TEST_F(MixerSoundManagerTest, OnlyThirtyTwoCopiesAtOnce)
{
    std::vector<SoundInstance*> copies;
    for (int i = 0; i < MixerSoundManager::kInstanceSlots; ++i) {
        SoundInstance* sound = manager.CreateInstance(0);
        ASSERT_NE(sound, nullptr) << i;
        sound->SetVolume(0.3);
        sound->Play(false, true);
        copies.push_back(sound);
    }
    EXPECT_EQ(manager.CreateInstance(0), nullptr);
    EXPECT_EQ(manager.GetInstanceCount(), 32);
    // 32 overlapping copies clip instead of wrapping around.
    std::vector<int16_t> out = device.Render(441);
    for (int16_t s : out)
        EXPECT_TRUE(s == 32767 || s == -32768 || std::abs(s) < 32767 / 4 * 3) << s;
    EXPECT_EQ(Peak(out, 0), 32768);

    // Released by hand: the slot is free at once.
    copies[7]->Release();
    EXPECT_NE(manager.CreateInstance(1), nullptr);
    EXPECT_EQ(manager.CreateInstance(1), nullptr);
}

TEST_F(MixerSoundManagerTest, FinishedAutoReleasedCopiesAreReused)
{
    for (int i = 0; i < 32; ++i) {
        SoundInstance* sound = manager.CreateInstance(i == 5 ? 1 : 0);
        ASSERT_NE(sound, nullptr);
        sound->Play(false, true);
    }
    EXPECT_EQ(manager.CreateInstance(0), nullptr);
    device.Render(1000); // the short sound (441 frames) has finished
    SoundInstance* reused = manager.CreateInstance(1);
    ASSERT_NE(reused, nullptr);
    EXPECT_FALSE(reused->IsPlaying());
    EXPECT_FALSE(reused->IsReleased());
    EXPECT_EQ(manager.GetInstanceCount(), 32);
}

TEST_F(MixerSoundManagerTest, StopKeepsTheCopyButStopAllKeepsItsRelease)
{
    SoundInstance* stopped = manager.CreateInstance(1);
    SoundInstance* halted = manager.CreateInstance(1);
    stopped->Play(false, true);
    halted->Play(false, true);
    stopped->Stop();       // clears the wish to be released
    manager.StopAll();     // keeps it
    EXPECT_FALSE(stopped->IsPlaying());
    EXPECT_FALSE(halted->IsPlaying());
    EXPECT_FALSE(stopped->IsReleased());
    EXPECT_TRUE(halted->IsReleased());
    EXPECT_EQ(Peak(Settled(441), 0), 0); // silent once their fade-outs ended

    // A copy that never played is not released either.
    SoundInstance* fresh = manager.CreateInstance(0);
    EXPECT_FALSE(fresh->IsReleased());
    EXPECT_FALSE(fresh->IsPlaying());
}

TEST_F(MixerSoundManagerTest, SweepRunsAtMostOncePerSecond)
{
    SoundInstance* a = manager.CreateInstance(1);
    a->Play(false, true);
    now = 5000;
    SoundInstance* b = manager.CreateInstance(1); // first sweep, a still plays
    b->Play(false, true);
    device.Render(1000); // both have finished
    now = 5500;
    manager.CreateInstance(0);
    EXPECT_EQ(manager.GetInstanceCount(), 3); // too soon to sweep
    now = 6000;
    manager.CreateInstance(0);
    EXPECT_EQ(manager.GetInstanceCount(), 2); // a and b swept, one new added
}

TEST_F(MixerSoundManagerTest, PlayRestartsAndLoopsOrEnds)
{
    SoundInstance* sound = manager.CreateInstance(1); // 441 frames
    sound->Play(false, false);
    EXPECT_TRUE(sound->IsPlaying());
    std::vector<int16_t> out = device.Render(882);
    EXPECT_GT(Peak(std::vector<int16_t>(out.begin(), out.begin() + 800), 0), 30000);
    EXPECT_EQ(Peak(std::vector<int16_t>(out.begin() + 900, out.end()), 0), 0);
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_FALSE(sound->IsReleased()); // not auto-released

    sound->Play(true, false);
    device.Render(4410);
    EXPECT_TRUE(sound->IsPlaying());
    EXPECT_GT(RenderPeak(), 30000);
}

TEST_F(MixerSoundManagerTest, ReleasingASampleLeavesPlayingCopiesIntact)
{
    SoundInstance* sound = manager.CreateInstance(0);
    sound->Play(true, false);
    manager.ReleaseSample(0);
    EXPECT_EQ(manager.GetSample(0), nullptr);
    EXPECT_EQ(manager.CreateInstance(0), nullptr);
    EXPECT_GT(RenderPeak(), 30000);
    manager.ReleaseAllInstances();
    EXPECT_EQ(manager.GetInstanceCount(), 0);
    EXPECT_EQ(device.GetMixer().GetChannelCount(), 0);
}

TEST_F(MixerSoundManagerTest, NewCopiesTakeTheSlotsBaseVolumeAndPan)
{
    manager.SetSampleVolume(0, 0.5);
    manager.SetSamplePan(0, -10000);
    SoundInstance* sound = manager.CreateInstance(0);
    sound->Play(true, false);
    std::vector<int16_t> out = device.Render(4410);
    EXPECT_NEAR(Peak(out, 0), 127 * 256 * std::pow(10.0, -605 / 2000.0), 60);
    EXPECT_EQ(Peak(out, 1), 0);
    EXPECT_DOUBLE_EQ(sound->GetVolume(), 1.0);
}

TEST_F(MixerSoundManagerTest, LoadingThreadAndGameThreadShareTheTable)
{
    // The loading thread fills slots while the game thread plays what is
    // there; under the sanitizers a missing lock shows up here.
    std::thread loader([this] {
        for (int i = 0; i < 40; ++i) {
            manager.LoadSample(10 + i % 5, dir / "short");
            manager.SetSampleVolume(10 + i % 5, 0.5);
            manager.LoadSampleByName(dir / (i % 2 ? "short.au" : "square.au"));
        }
    });
    for (int i = 0; i < 400; ++i) {
        if (SoundInstance* sound = manager.CreateInstance(10 + i % 5))
            sound->Play(false, true);
        device.Render(64);
    }
    loader.join();
    EXPECT_EQ(manager.LoadSampleByName(dir / "square.au"), 255);
    EXPECT_EQ(manager.LoadSampleByName(dir / "short.au"), 254);
    for (int id = 10; id < 15; ++id)
        EXPECT_NE(manager.GetSample(id), nullptr);
    EXPECT_LE(manager.GetInstanceCount(), MixerSoundManager::kInstanceSlots);
}
