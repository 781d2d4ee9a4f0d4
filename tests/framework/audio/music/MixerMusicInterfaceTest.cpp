#include "framework/audio/music/MixerMusicInterface.h"

#include "framework/audio/GainRamp.h"
#include "framework/audio/music/ModuleMusicStream.h"
#include "framework/audio/OfflineAudioDevice.h"
#include "framework/audio/music/WavMusicStream.h"

#include "tests/framework/audio/AudioTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Zorvin;
using AudioTestFiles::Bytes;
using AudioTestFiles::Crossings;
using AudioTestFiles::Peak;

namespace {

// Half a second of silence, then half a second of a 220.5 Hz square, mono.
std::vector<int16_t> SilenceThenSquare(int rate)
{
    std::vector<int16_t> samples(rate, 0);
    for (int i = rate / 2; i < rate; ++i)
        samples[i] = (i * 441 / rate) % 2 == 0 ? 16000 : -16000;
    return samples;
}

class MixerMusicInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AudioTestFiles::Write(dir / "song.mo3", AudioTestFiles::Module(2));
        AudioTestFiles::Write(dir / "tone.ogg", AudioTestFiles::OggTone(44100, 2, 441.0, 0.5));
        AudioTestFiles::Write(dir / "steps.wav", AudioTestFiles::Wav(44100, 1, SilenceThenSquare(44100)));
    }

    AudioTestFiles::TempDir dir;
    OfflineAudioDevice device;
    MixerMusicInterface music{&device};
};

// Peak of the left channel over a tenth of a second, after volume glides.
int SettledPeak(OfflineAudioDevice& device)
{
    device.Render(GainRamp::kRampFrames);
    return Peak(device.Render(4410), 0);
}

} // namespace

TEST(MusicInterface, TheSilentBaseDoesNothing)
{
    MusicInterface silent;
    EXPECT_FALSE(silent.LoadSong(0, "anything.mo3"));
    silent.FadeInSong(0, 0, 0.002, false);
    silent.UpdateFades();
    EXPECT_FALSE(silent.IsSongPlaying(0));

    MixerMusicInterface deviceless(nullptr);
    EXPECT_FALSE(deviceless.LoadSong(0, "anything.mo3"));
    deviceless.PlaySong(0, 0, false);
    EXPECT_FALSE(deviceless.IsSongPlaying(0));
}

TEST_F(MixerMusicInterfaceTest, ChoosesTheDecoderByExtensionAndContent)
{
    EXPECT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    EXPECT_TRUE(music.IsModule(0));
    EXPECT_TRUE(music.LoadSong(1, dir / "tone.ogg"));
    EXPECT_FALSE(music.IsModule(1));
    EXPECT_TRUE(music.LoadSong(2, dir / "steps.wav"));
    EXPECT_FALSE(music.IsModule(2));

    // Any other name is a module, recognised by what is inside.
    AudioTestFiles::Write(dir / "odd.name.xyz", AudioTestFiles::Module(1));
    EXPECT_TRUE(music.LoadSong(3, dir / "odd.name.xyz"));
    // ...so a recording under a module name does not load.
    AudioTestFiles::Write(dir / "tone.mo3", AudioTestFiles::OggTone(44100, 1, 441.0, 0.1));
    EXPECT_FALSE(music.LoadSong(4, dir / "tone.mo3"));
    EXPECT_FALSE(music.HasSong(4));
    EXPECT_EQ(device.GetMixer().GetChannelCount(), 4);
}

TEST_F(MixerMusicInterfaceTest, DamagedSongsFailToLoad)
{
    Bytes module = AudioTestFiles::Module(2);
    AudioTestFiles::Write(dir / "cut.mo3", Bytes(module.begin(), module.begin() + 200));
    AudioTestFiles::Write(dir / "noise.mo3", Bytes(3000, 0x33));
    AudioTestFiles::Write(dir / "noise.ogg", Bytes(3000, 0x33));
    Bytes wav = AudioTestFiles::Wav(44100, 1, SilenceThenSquare(44100));
    AudioTestFiles::Write(dir / "cut.wav", Bytes(wav.begin(), wav.end() - 10));
    AudioTestFiles::Write(dir / "empty.wav", Bytes());
    for (const char* name : {"cut.mo3", "noise.mo3", "noise.ogg", "cut.wav", "empty.wav", "missing.mo3", "song.mp3"})
        EXPECT_FALSE(music.LoadSong(7, dir / name)) << name;
    EXPECT_FALSE(music.HasSong(7));
    music.PlaySong(7, 0, false); // never loaded: nothing happens
    EXPECT_FALSE(music.IsSongPlaying(7));
}

TEST_F(MixerMusicInterfaceTest, ReloadingAnIdReplacesTheSong)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    music.PlaySong(0, 0, false);
    ASSERT_TRUE(music.LoadSong(0, dir / "steps.wav"));
    EXPECT_FALSE(music.IsModule(0));
    EXPECT_FALSE(music.IsSongPlaying(0));
    EXPECT_EQ(music.GetSongVolume(0), 0.0);
    EXPECT_EQ(device.GetMixer().GetChannelCount(), 1);
}

TEST_F(MixerMusicInterfaceTest, ModulesPlayAndLoop)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    EXPECT_EQ(Peak(device.Render(4410), 0), 0); // loaded, not started
    music.PlaySong(0, 0, false);
    EXPECT_TRUE(music.IsSongPlaying(0));
    EXPECT_EQ(music.GetSongVolume(0), 1.0);
    std::vector<int16_t> out = device.Render(44100);
    EXPECT_GT(Peak(out, 0), 1000);
    EXPECT_GT(Crossings(out, 0), 50);

    // Two patterns take about 15 s; looping, the song is still there after 20 s.
    for (int i = 0; i < 20; ++i)
        device.Render(44100);
    EXPECT_TRUE(music.IsSongPlaying(0));
    EXPECT_GT(Peak(device.Render(4410), 0), 1000);
}

TEST_F(MixerMusicInterfaceTest, SongsPlayedOnceEnd)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    ASSERT_TRUE(music.LoadSong(1, dir / "steps.wav"));
    music.PlaySong(0, 1, true); // from the second order: about 7.7 s left
    music.PlaySong(1, 0, true);
    device.Render(44100 + 100);
    EXPECT_FALSE(music.IsSongPlaying(1));
    EXPECT_TRUE(music.IsSongPlaying(0));
    for (int i = 0; i < 8; ++i)
        device.Render(44100);
    EXPECT_FALSE(music.IsSongPlaying(0));
    EXPECT_EQ(Peak(device.Render(4410), 0), 0);
}

TEST_F(MixerMusicInterfaceTest, StreamsStartAtATimeAndLoop)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "steps.wav"));
    music.PlaySong(0, 0, false);
    std::vector<int16_t> out = device.Render(22000);
    EXPECT_EQ(Peak(out, 0), 0); // the silent first half
    out = device.Render(22000);
    EXPECT_GT(Peak(out, 1), 15000);

    music.PlaySong(0, 600, false); // 0.6 s in: the tone at once
    EXPECT_GT(Peak(device.Render(2000), 0), 15000);
    device.Render(44100 * 2); // looped past its end twice
    EXPECT_TRUE(music.IsSongPlaying(0));

    // -1 carries on where the song is instead of starting over.
    music.PlaySong(0, 600, false);
    device.Render(100);
    music.PlaySong(0, -1, false);
    EXPECT_GT(Peak(device.Render(2000), 0), 15000);
}

TEST_F(MixerMusicInterfaceTest, OggStreamsDecode)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "tone.ogg"));
    music.PlaySong(0, 0, true);
    std::vector<int16_t> out = device.Render(22050);
    EXPECT_NEAR(Crossings(out, 0), 220, 3);
    EXPECT_NEAR(Peak(out, 1), 16384, 1500);
    device.Render(1000);
    EXPECT_FALSE(music.IsSongPlaying(0));
}

TEST_F(MixerMusicInterfaceTest, WavAtAnotherRateIsResampled)
{
    AudioTestFiles::Write(dir / "low.wav", AudioTestFiles::Wav(22050, 1, SilenceThenSquare(22050)));
    ASSERT_TRUE(music.LoadSong(0, dir / "low.wav"));
    music.PlaySong(0, 500, true);
    std::vector<int16_t> out = device.Render(22000); // nearly all of the tone
    EXPECT_NEAR(Crossings(out, 0), 110, 1);
    EXPECT_TRUE(music.IsSongPlaying(0));
    device.Render(200);
    EXPECT_FALSE(music.IsSongPlaying(0));
}

TEST_F(MixerMusicInterfaceTest, FadeInReachesTheCapAndStops)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    music.FadeInSong(0, 0, 0.002, false);
    EXPECT_TRUE(music.IsSongPlaying(0));
    EXPECT_EQ(music.GetSongVolume(0), 0.0);
    int updates = 0;
    while (music.GetSongFadeStep(0) != 0.0 && updates < 1000) {
        music.UpdateFades();
        ++updates;
    }
    EXPECT_NEAR(updates, 500, 1);
    EXPECT_EQ(music.GetSongVolume(0), 1.0);
    music.UpdateFades();
    EXPECT_EQ(music.GetSongVolume(0), 1.0);

    // A lower cap stops the fade there and pulls a louder song down.
    music.SetSongVolumeCap(0, 0.4);
    EXPECT_EQ(music.GetSongVolume(0), 0.4);
    music.SetSongVolume(0, 0.0);
    music.FadeInSong(0, -1, 0.1, false);
    for (int i = 0; i < 10; ++i)
        music.UpdateFades();
    EXPECT_EQ(music.GetSongVolume(0), 0.4);
    EXPECT_EQ(music.GetSongFadeStep(0), 0.0);
}

TEST_F(MixerMusicInterfaceTest, FadeOutStopsWhenSilent)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    ASSERT_TRUE(music.LoadSong(1, dir / "tone.ogg"));
    music.PlaySong(0, 0, false);
    music.PlaySong(1, 0, false);
    music.FadeOutSong(0, true, 0.3);
    music.FadeOutSong(1, false, 0.3);
    for (int i = 0; i < 3; ++i)
        music.UpdateFades();
    EXPECT_NEAR(music.GetSongVolume(0), 0.1, 1e-9);
    EXPECT_TRUE(music.IsSongPlaying(0));
    music.UpdateFades();
    EXPECT_EQ(music.GetSongVolume(0), 0.0);
    EXPECT_FALSE(music.IsSongPlaying(0));
    EXPECT_EQ(music.GetSongVolume(1), 0.0);
    EXPECT_TRUE(music.IsSongPlaying(1)); // silent but running
    EXPECT_EQ(SettledPeak(device), 0);

    // Fading out a song that is already silent changes nothing.
    music.FadeOutSong(1, true, 0.3);
    music.UpdateFades();
    EXPECT_TRUE(music.IsSongPlaying(1));
}

TEST_F(MixerMusicInterfaceTest, FadeOutAllStopsSilentSongsToo)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    ASSERT_TRUE(music.LoadSong(3, dir / "steps.wav"));
    music.PlaySong(0, 0, false);
    music.PlaySong(3, 0, false);
    music.SetSongVolume(3, 0.0);
    music.FadeOutAllSongs(true, 0.002);
    music.UpdateFades();
    EXPECT_FALSE(music.IsSongPlaying(3));
    EXPECT_TRUE(music.IsSongPlaying(0));
    EXPECT_NEAR(music.GetSongVolume(0), 0.998, 1e-9);

    // The game's switch of songs: everything fades out, the new one in.
    music.FadeInSong(3, 0, 0.002, false);
    for (int i = 0; i < 600; ++i)
        music.UpdateFades();
    EXPECT_FALSE(music.IsSongPlaying(0));
    EXPECT_TRUE(music.IsSongPlaying(3));
    EXPECT_EQ(music.GetSongVolume(3), 1.0);
}

TEST_F(MixerMusicInterfaceTest, VolumesScaleTheOutput)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "steps.wav"));
    music.PlaySong(0, 500, false);
    int full = Peak(device.Render(4410), 0);
    EXPECT_NEAR(full, 16000, 100);
    music.SetSongVolume(0, 0.5);
    EXPECT_NEAR(SettledPeak(device), 8000, 100);
    music.SetMusicVolume(0.5);
    EXPECT_NEAR(SettledPeak(device), 4000, 100);
    music.SetMusicVolume(0.0);
    EXPECT_EQ(SettledPeak(device), 0);
    EXPECT_TRUE(music.IsSongPlaying(0));
}

TEST_F(MixerMusicInterfaceTest, PauseResumeStopAndUnload)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    ASSERT_TRUE(music.LoadSong(1, dir / "steps.wav"));
    music.PlaySong(0, 0, false);
    music.PlaySong(1, 600, false);
    music.PauseAllSongs();
    EXPECT_FALSE(music.IsSongPlaying(0));
    EXPECT_EQ(SettledPeak(device), 0); // silent after a short fade
    music.ResumeSong(1);
    EXPECT_TRUE(music.IsSongPlaying(1));
    EXPECT_FALSE(music.IsSongPlaying(0));
    EXPECT_GT(Peak(device.Render(2000), 0), 15000); // carried on in the tone
    music.ResumeAllSongs();
    EXPECT_TRUE(music.IsSongPlaying(0));

    music.StopSong(1);
    EXPECT_FALSE(music.IsSongPlaying(1));
    EXPECT_EQ(music.GetSongVolume(1), 0.0);
    music.ResumeSong(1); // a stopped song is not resumed
    EXPECT_FALSE(music.IsSongPlaying(1));
    music.StopAllSongs();
    EXPECT_FALSE(music.IsSongPlaying(0));

    music.UnloadSong(0);
    EXPECT_FALSE(music.HasSong(0));
    EXPECT_EQ(device.GetMixer().GetChannelCount(), 1);
    music.UnloadAllSongs();
    EXPECT_EQ(device.GetMixer().GetChannelCount(), 0);
}

TEST_F(MixerMusicInterfaceTest, StopAndUnloadFadeOutInsteadOfClicking)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "steps.wav"));
    for (bool unload : {false, true}) {
        music.PlaySong(0, 600, false); // in the tone of +-16000
        device.Render(1010);           // mid-way through a high half
        if (unload)
            music.UnloadSong(0);
        else
            music.StopSong(0);
        std::vector<int16_t> out = device.Render(GainRamp::kRampFrames + 100);
        const int n = GainRamp::kRampFrames;
        EXPECT_GT(std::abs(static_cast<int>(out[0])), 14000) << unload;
        for (int i = 0; i < n; ++i)
            ASSERT_LE(std::abs(static_cast<int>(out[i * 2])), 16000 * (n - i) / (n + 1) + 2) << unload << " " << i;
        EXPECT_EQ(Peak(std::vector<int16_t>(out.begin() + n * 2, out.end()), 0), 0) << unload;
    }
}

// A song that comes back after silence in the middle of its wave, by a
// resume or by playing on from where it stopped, ramps in as a stop ramps
// out: no step between two samples is much larger than the wave's own.
TEST_F(MixerMusicInterfaceTest, ResumingRampsInInsteadOfClicking)
{
    // 441 Hz at 16000: 100 frames a period, a step of at most about 1005.
    std::vector<int16_t> sine(44100);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<int16_t>(std::lround(16000 * std::sin(2 * M_PI * static_cast<double>(i) / 100)));
    AudioTestFiles::Write(dir / "sine.wav", AudioTestFiles::Wav(44100, 1, sine));
    ASSERT_TRUE(music.LoadSong(0, dir / "sine.wav"));
    auto largestStep = [](const std::vector<int16_t>& out) {
        int largest = 0;
        for (size_t i = 2; i < out.size(); i += 2)
            largest = std::max(largest, std::abs(out[i] - out[i - 2]));
        return largest;
    };
    music.PlaySong(0, 0, false);
    device.Render(GainRamp::kRampFrames);
    int own = largestStep(device.Render(1000));
    EXPECT_GT(own, 900);
    int played = GainRamp::kRampFrames + 1000;
    for (bool stop : {false, true}) {
        // The ramp out plays on for kRampFrames; the song then goes on from
        // a crest of the wave (frame 25 of its period).
        int toCrest = ((25 - played - GainRamp::kRampFrames) % 100 + 100) % 100;
        device.Render(toCrest);
        played += toCrest + GainRamp::kRampFrames + 1000;
        if (stop)
            music.StopSong(0);
        else
            music.PauseSong(0);
        std::vector<int16_t> quiet = device.Render(GainRamp::kRampFrames + 500);
        EXPECT_EQ(quiet.back(), 0) << stop;
        if (stop)
            music.PlaySong(0, -1, false);
        else
            music.ResumeSong(0);
        std::vector<int16_t> back = device.Render(1000);
        back.insert(back.begin(), quiet.end() - 2, quiet.end());
        EXPECT_LE(largestStep(back), own * 3 / 2) << stop;
        EXPECT_GT(Peak(back, 0), 15000) << stop;
    }
}

TEST_F(MixerMusicInterfaceTest, AmplifyChangesOnlyModules)
{
    ASSERT_TRUE(music.LoadSong(0, dir / "song.mo3"));
    music.PlaySong(0, 0, false);
    int normal = Peak(device.Render(8820), 0);
    music.PlaySong(0, 0, false);
    music.SetSongAmplify(0, 0.25); // half as loud as composed
    device.Render(GainRamp::kRampFrames); // the first start's fade-out
    int quiet = Peak(device.Render(8820), 0);
    EXPECT_NEAR(quiet, normal / 2, normal / 10);
}
