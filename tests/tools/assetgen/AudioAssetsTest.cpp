// The generated sound effects and music as the game gets them: every
// identifier's file exists, decodes to the length the table promises, never
// clips, and no effect is so much quieter or louder than the rest that it
// drowns or gets drowned; every song opens, lasts at least a minute and
// plays without clipping or dead stretches. The generator runs here into a
// temporary folder, twice, to prove it writes the same bytes every time.

#include "framework/audio/music/MixerMusicInterface.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/music/ModuleMusicStream.h"
#include "framework/app/ZorvinAppBase.h"
#include "framework/audio/OfflineAudioDevice.h"
#include "framework/audio/SoundInstance.h"
#include "tools/assetgen/audio/SoundList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace Zorvin::AssetGen;

namespace {

std::vector<unsigned char> ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AudioAssets : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = fs::temp_directory_path() / ("korvelt-audio-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        generated = Generate(dir / "a");
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    static bool Generate(const fs::path& out)
    {
        std::string cmd = std::string(KORVELT_BUILD_DIR) + "/tools/assetgen --only sounds,music --out '" + out.string() + "'";
        return std::system(cmd.c_str()) == 0;
    }

    static inline fs::path dir;
    static inline bool generated = false;
};

} // namespace

TEST(SoundList, IdentifiersAndFileNamesAreUniqueAndInByteOrder)
{
    std::set<std::string> stems;
    for (std::size_t i = 0; i < kSoundFileCount; ++i) {
        EXPECT_TRUE(stems.insert(kSoundFiles[i].stem).second) << kSoundFiles[i].stem;
        EXPECT_EQ(std::string(kSoundFiles[i].id).rfind("SOUND_", 0), 0u);
        if (i > 0) {
            EXPECT_LT(std::string(kSoundFiles[i - 1].id), std::string(kSoundFiles[i].id));
        }
        EXPECT_GT(kSoundFiles[i].lengthMs, 0);
    }
    // The fourteen effects of the game and the title screen's one.
    EXPECT_EQ(kSoundFileCount, 15u);
}

TEST_F(AudioAssets, EveryEffectLoadsToItsLengthWithoutClipping)
{
    ASSERT_TRUE(generated);
    // The game's own loader, with the names the manifest gives (no
    // extension: the loader adds it).
    Zorvin::OfflineAudioDevice device;
    Zorvin::MixerSoundManager sounds(&device);
    std::vector<double> loudness;
    for (const SoundFileEntry& e : kSoundFiles) {
        SCOPED_TRACE(e.stem);
        int id = sounds.LoadSampleByName((dir / "a" / kSoundFolder / e.stem).string());
        ASSERT_GE(id, 0);
        const Zorvin::SoundSample* sample = sounds.GetSample(id);
        ASSERT_NE(sample, nullptr);
        ASSERT_EQ(sample->channels, 1);
        EXPECT_EQ(sample->rate, 44100);
        const std::vector<int16_t>& pcm = sample->pcm;
        ASSERT_FALSE(pcm.empty());
        EXPECT_EQ(static_cast<long>(sample->GetFrameCount()), std::lround(e.lengthMs / 1000.0 * 44100));
        int peak = 0;
        for (int16_t s : pcm) peak = std::max(peak, std::abs(int(s)));
        // Full scale would mean the decoder clipped; well below it leaves
        // room for several effects at once.
        EXPECT_LT(peak, 29000);
        EXPECT_GT(peak, 3000); // audible at all
        // Starts and ends quietly: no click at the edges (the start allows
        // for the codec's ringing before a sharp attack).
        EXPECT_LT(std::abs(int(pcm.front())), 2500);
        EXPECT_LT(std::abs(int(pcm.back())), 1500);
        // Loudness: RMS of the loudest 50 ms.
        double best = 0;
        std::size_t w = 2205;
        for (std::size_t at = 0; at < pcm.size(); at += w / 2) {
            double sum = 0;
            std::size_t n = std::min(w, pcm.size() - at);
            for (std::size_t i = 0; i < n; ++i) sum += double(pcm[at + i]) * pcm[at + i];
            best = std::max(best, std::sqrt(sum / n) / 32768.0);
        }
        loudness.push_back(best);
    }
    ASSERT_EQ(loudness.size(), kSoundFileCount);
    auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end());
    // Within 9 dB of each other: no effect drowns the others.
    EXPECT_LT(20.0 * std::log10(*hi / *lo), 9.0);
}

TEST_F(AudioAssets, EveryEffectRingsOutBeforeItEnds)
{
    ASSERT_TRUE(generated);
    Zorvin::OfflineAudioDevice device;
    Zorvin::MixerSoundManager sounds(&device);
    for (const SoundFileEntry& e : kSoundFiles) {
        SCOPED_TRACE(e.stem);
        int id = sounds.LoadSampleByName((dir / "a" / kSoundFolder / e.stem).string());
        ASSERT_GE(id, 0);
        const std::vector<int16_t>& pcm = sounds.GetSample(id)->pcm;
        int peak = 0;
        for (int16_t v : pcm) peak = std::max(peak, std::abs(int(v)));
        // The 10 ms before the closing 12 ms fade, against the effect's
        // peak: a chime still ringing there is cut off by the fade, however
        // short the fade.
        const std::size_t fade = 44100 * 12 / 1000, window = 44100 * 10 / 1000;
        ASSERT_GT(pcm.size(), fade + window);
        int tail = 1;
        for (std::size_t i = pcm.size() - fade - window; i < pcm.size() - fade; ++i)
            tail = std::max(tail, std::abs(int(pcm[i])));
        double db = 20.0 * std::log10(double(tail) / peak);
        std::printf("tail %-16s %5d ms %7.1f dB\n", e.stem, e.lengthMs, db);
        EXPECT_LT(db, -60.0);
    }
}

TEST_F(AudioAssets, EffectsSitAboutSixDecibelsOverTheMusic)
{
    ASSERT_TRUE(generated);
    // The volumes of a player who never moved the sliders.
    Zorvin::ZorvinAppBase app;
    const double sfxVolume = app.GetSoundVolume(), musicVolume = app.GetMusicVolume();
    // Effects as the game plays them: one copy each through the mixer at
    // the default effect volume; their loudness is the loudest 50 ms.
    double effects = 0;
    std::vector<double> loudness;
    for (const SoundFileEntry& e : kSoundFiles) {
        Zorvin::OfflineAudioDevice device;
        Zorvin::MixerSoundManager sounds(&device);
        sounds.SetMasterVolume(sfxVolume);
        int id = sounds.LoadSampleByName((dir / "a" / kSoundFolder / e.stem).string());
        ASSERT_GE(id, 0);
        Zorvin::SoundInstance* copy = sounds.CreateInstance(id);
        ASSERT_NE(copy, nullptr);
        ASSERT_TRUE(copy->Play(false, true));
        std::vector<int16_t> out = device.Render(44100 * e.lengthMs / 1000 + 4410);
        double best = 0;
        for (std::size_t at = 0; at + 2 * 2205 <= out.size(); at += 2205) {
            double sum = 0;
            for (std::size_t i = 0; i < 2 * 2205; ++i) sum += double(out[at + i]) * out[at + i];
            best = std::max(best, sum / (2 * 2205));
        }
        loudness.push_back(10.0 * std::log10(best / 32768.0 / 32768.0));
        effects += loudness.back();
    }
    effects /= kSoundFileCount;
    // Music as the game plays it: a whole pass of every song at the default
    // music volume, RMS over the pass.
    double music = 0;
    for (std::size_t i = 0; i < kMusicFileCount; ++i) {
        std::string path = (dir / "a" / kMusicFiles[i]).string();
        auto stream = Zorvin::ModuleMusicStream::FromFile(path);
        ASSERT_TRUE(stream);
        Zorvin::OfflineAudioDevice device;
        Zorvin::MixerMusicInterface player(&device);
        player.SetMusicVolume(musicVolume);
        ASSERT_TRUE(player.LoadSong(0, path));
        player.PlaySong(0, 0, false);
        std::vector<int16_t> out = device.Render(static_cast<int>(44100 * stream->GetDurationSeconds()));
        double sum = 0;
        for (int16_t v : out) sum += double(v) * v;
        music += 10.0 * std::log10(sum / out.size() / 32768.0 / 32768.0);
    }
    music /= kMusicFileCount;
    std::printf("effects %.1f dBFS (quietest %.1f), music %.1f dBFS, gap %.1f dB\n", effects,
                *std::min_element(loudness.begin(), loudness.end()), music, effects - music);
    EXPECT_NEAR(effects - music, 6.0, 0.4);
    // Even the quietest (the click) sits over the music.
    EXPECT_GT(*std::min_element(loudness.begin(), loudness.end()) - music, 0.0);
}

TEST_F(AudioAssets, GeneratorWritesTheSameBytesEveryRun)
{
    ASSERT_TRUE(generated);
    ASSERT_TRUE(Generate(dir / "b"));
    int files = 0;
    for (auto& entry : fs::recursive_directory_iterator(dir / "a")) {
        if (!entry.is_regular_file()) continue;
        fs::path other = dir / "b" / fs::relative(entry.path(), dir / "a");
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(other)) << entry.path();
        ++files;
    }
    EXPECT_GE(files, static_cast<int>(kSoundFileCount));
}

TEST_F(AudioAssets, EverySongPlaysThroughTheMusicPlayerForAMinuteAndLoops)
{
    ASSERT_TRUE(generated);
    std::vector<double> loudness;
    for (std::size_t i = 0; i < kMusicFileCount; ++i) {
        SCOPED_TRACE(kMusicFiles[i]);
        std::string path = (dir / "a" / kMusicFiles[i]).string();
        auto stream = Zorvin::ModuleMusicStream::FromFile(path);
        ASSERT_TRUE(stream);
        double seconds = stream->GetDurationSeconds();
        EXPECT_GE(seconds, 60.0);
        EXPECT_LT(seconds, 180.0);

        // The game's calls: load under its song id, play from the top,
        // looping; the offline device renders what a sound card would get.
        Zorvin::OfflineAudioDevice device;
        Zorvin::MixerMusicInterface music(&device);
        int songId = static_cast<int>(i);
        ASSERT_TRUE(music.LoadSong(songId, path));
        EXPECT_TRUE(music.IsModule(songId));
        music.PlaySong(songId, 0, false);
        int peak = 0;
        // Five-second stretches up to a little past the loop point: each one
        // sounds, and the song goes on after its end.
        int parts = static_cast<int>(seconds / 5.0) + 2;
        double total = 0;
        for (int part = 0; part < parts; ++part) {
            std::vector<int16_t> chunk = device.Render(44100 * 5);
            double sum = 0;
            for (int16_t v : chunk) {
                sum += double(v) * v;
                peak = std::max(peak, std::abs(int(v)));
            }
            total += sum / chunk.size();
            double rms = std::sqrt(sum / chunk.size()) / 32768.0;
            EXPECT_GT(20.0 * std::log10(rms + 1e-9), -40.0) << "at " << part * 5 << " s";
        }
        loudness.push_back(10.0 * std::log10(total / parts / 32768.0 / 32768.0));
        EXPECT_TRUE(music.IsSongPlaying(songId));
        EXPECT_LT(peak, 32767); // the mixer clips; the song never reaches it
        EXPECT_GT(peak, 3000);
    }
    // Switching songs changes the mood, not the level: within 3 dB.
    ASSERT_EQ(loudness.size(), kMusicFileCount);
    auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_LT(*hi - *lo, 3.0);
}

TEST_F(AudioAssets, AllAudioTogetherStaysUnderThreeMegabytes)
{
    ASSERT_TRUE(generated);
    std::uintmax_t total = 0;
    int files = 0;
    for (auto& entry : fs::recursive_directory_iterator(dir / "a")) {
        if (!entry.is_regular_file()) continue;
        total += entry.file_size();
        ++files;
    }
    EXPECT_EQ(files, static_cast<int>(kSoundFileCount + kMusicFileCount));
    EXPECT_LT(total, 3u * 1024 * 1024);
}
