// The generated sound effects and music as the game gets them: every
// identifier's file exists, decodes to the length the table promises, never
// clips, and no effect is so much quieter or louder than the rest that it
// drowns or gets drowned; every song opens, lasts at least a minute and
// plays without clipping or dead stretches. The generator runs here into a
// temporary folder, twice, to prove it writes the same bytes every time.

#include "tools/assetgen/SoundList.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Zorvin::AssetGen;

namespace {

struct Decoded {
    bool ok = false;
    int rate = 0;
    int channels = 0;
    std::vector<short> pcm; // interleaved
};

Decoded DecodeOgg(const std::string& path)
{
    Decoded d;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return d;
    vorbis_info* vi = ov_info(&vf, -1);
    d.rate = static_cast<int>(vi->rate);
    d.channels = vi->channels;
    char buf[8192];
    int section = 0;
    long n;
    while ((n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0)
        d.pcm.insert(d.pcm.end(), reinterpret_cast<short*>(buf), reinterpret_cast<short*>(buf + n));
    d.ok = n == 0;
    ov_clear(&vf);
    return d;
}

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

TEST_F(AudioAssets, EveryEffectDecodesToItsLengthWithoutClipping)
{
    ASSERT_TRUE(generated);
    std::vector<double> loudness;
    for (const SoundFileEntry& e : kSoundFiles) {
        SCOPED_TRACE(e.stem);
        Decoded d = DecodeOgg((dir / "a" / kSoundFolder / (std::string(e.stem) + ".ogg")).string());
        ASSERT_TRUE(d.ok);
        ASSERT_EQ(d.channels, 1);
        EXPECT_EQ(d.rate, 44100);
        EXPECT_EQ(static_cast<long>(d.pcm.size()), std::lround(e.lengthMs / 1000.0 * 44100));
        int peak = 0;
        for (short s : d.pcm) peak = std::max(peak, std::abs(int(s)));
        // Full scale would mean the decoder clipped; well below it leaves
        // room for several effects at once.
        EXPECT_LT(peak, 29000);
        EXPECT_GT(peak, 3000); // audible at all
        // Starts and ends quietly: no click at the edges (the start allows
        // for the codec's ringing before a sharp attack).
        EXPECT_LT(std::abs(int(d.pcm.front())), 2500);
        EXPECT_LT(std::abs(int(d.pcm.back())), 1500);
        // Loudness: RMS of the loudest 50 ms.
        double best = 0;
        std::size_t w = 2205;
        for (std::size_t at = 0; at < d.pcm.size(); at += w / 2) {
            double sum = 0;
            std::size_t n = std::min(w, d.pcm.size() - at);
            for (std::size_t i = 0; i < n; ++i) sum += double(d.pcm[at + i]) * d.pcm[at + i];
            best = std::max(best, std::sqrt(sum / n) / 32768.0);
        }
        loudness.push_back(best);
    }
    ASSERT_EQ(loudness.size(), kSoundFileCount);
    auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end());
    // Within 9 dB of each other: no effect drowns the others.
    EXPECT_LT(20.0 * std::log10(*hi / *lo), 9.0);
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

TEST_F(AudioAssets, EverySongPlaysForAMinuteWithoutSilenceOrClipping)
{
    ASSERT_TRUE(generated);
    for (const char* file : kMusicFiles) {
        SCOPED_TRACE(file);
        std::vector<unsigned char> bytes = ReadFile(dir / "a" / file);
        ASSERT_FALSE(bytes.empty());
        openmpt_module* m = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr,
                                                               nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m, nullptr);
        EXPECT_GE(openmpt_module_get_duration_seconds(m), 60.0);
        // Five-second stretches over the first minute: each one sounds.
        std::vector<float> chunk(2 * 44100 * 5);
        float peak = 0;
        for (int part = 0; part < 12; ++part) {
            std::size_t got = openmpt_module_read_interleaved_float_stereo(m, 44100, chunk.size() / 2, chunk.data());
            ASSERT_EQ(got, chunk.size() / 2) << "ended after " << part * 5 << " s";
            double sum = 0;
            for (float v : chunk) {
                sum += double(v) * v;
                peak = std::max(peak, std::fabs(v));
            }
            EXPECT_GT(20.0 * std::log10(std::sqrt(sum / chunk.size())), -40.0) << "at " << part * 5 << " s";
        }
        EXPECT_LT(peak, 1.0f);
        EXPECT_GT(peak, 0.1f);
        openmpt_module_destroy(m);
    }
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
