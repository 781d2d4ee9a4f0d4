// The sound generator's building blocks: the synthesis buffer's voices,
// fades and loudness normalising, the Ogg Vorbis encoder (checked by
// decoding what it wrote) and the atomic file write.

#include "tools/assetgen/audio/AudioBuffer.h"
#include "tools/assetgen/audio/OggEncoder.h"
#include "tools/assetgen/audio/SoundEffects.h"
#include "tools/assetgen/audio/SoundList.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace Zorvin::AssetGen;
namespace fs = std::filesystem;

namespace {

// Rising zero crossings per second over [from, from + seconds).
double Frequency(const float* data, int rate, double from, double seconds)
{
    int first = static_cast<int>(from * rate), count = static_cast<int>(seconds * rate);
    int crossings = 0;
    for (int i = first + 1; i < first + count; ++i)
        if (data[i - 1] < 0 && data[i] >= 0) ++crossings;
    return crossings / seconds;
}

struct MemoryFile {
    const std::vector<unsigned char>* bytes;
    std::size_t at = 0;
};

std::vector<float> DecodeOgg(const std::vector<unsigned char>& bytes, int& rate)
{
    MemoryFile file{&bytes};
    ov_callbacks cb{};
    cb.read_func = [](void* ptr, std::size_t size, std::size_t n, void* source) -> std::size_t {
        auto* f = static_cast<MemoryFile*>(source);
        std::size_t want = size * n, left = f->bytes->size() - f->at, take = want < left ? want : left;
        std::copy_n(f->bytes->data() + f->at, take, static_cast<unsigned char*>(ptr));
        f->at += take;
        return size ? take / size : 0;
    };
    OggVorbis_File vf;
    std::vector<float> out;
    if (ov_open_callbacks(&file, &vf, nullptr, 0, cb) != 0) return out;
    rate = static_cast<int>(ov_info(&vf, -1)->rate);
    float** pcm;
    int section;
    long n;
    while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0) out.insert(out.end(), pcm[0], pcm[0] + n);
    ov_clear(&vf);
    return out;
}

} // namespace

TEST(AudioBuffer, VoicesLandWhereAskedAndAreCutAtTheEnd)
{
    AudioBuffer b(44100, 1.0);
    EXPECT_EQ(b.Length(), 44100u);
    b.AddGlide(0.5, 2.0, 440.0, 440.0, 0.5, 0.0, 0.0); // runs past the end
    for (int i = 0; i < 22000; ++i) ASSERT_EQ(b.Data()[i], 0.0f) << i;
    EXPECT_NEAR(Frequency(b.Data(), 44100, 0.55, 0.4), 440.0, 5.0);
    EXPECT_NEAR(b.Peak(), 0.5, 0.01);
    // A steady sine's loudest 50 ms RMS is its amplitude over root two.
    EXPECT_NEAR(b.Loudness(), 0.5 / std::sqrt(2.0), 0.01);
}

TEST(AudioBuffer, GlideMovesBetweenItsFrequencies)
{
    AudioBuffer b(44100, 1.0);
    b.AddGlide(0.0, 1.0, 200.0, 800.0, 0.5, 0.0, 0.0);
    EXPECT_NEAR(Frequency(b.Data(), 44100, 0.0, 0.1), 214.0, 15.0);
    EXPECT_NEAR(Frequency(b.Data(), 44100, 0.45, 0.1), 400.0, 20.0);
    EXPECT_NEAR(Frequency(b.Data(), 44100, 0.9, 0.1), 750.0, 30.0);
}

TEST(AudioBuffer, NormaliseReachesTheTargetUnlessThePeakCapStopsIt)
{
    AudioBuffer quiet(44100, 0.5);
    quiet.AddGlide(0.0, 0.5, 300.0, 300.0, 0.05, 0.0, 0.0);
    quiet.Normalise(0.2, 0.9);
    EXPECT_NEAR(quiet.Loudness(), 0.2, 0.005);

    // A sharp click and a quiet tail: raising the tail to the target would
    // push the click past the cap, so the cap wins.
    AudioBuffer spiky(44100, 0.5);
    spiky.Data()[100] = 0.5f;
    spiky.AddGlide(0.1, 0.4, 300.0, 300.0, 0.01, 0.0, 0.0);
    spiky.Normalise(0.2, 0.7);
    EXPECT_NEAR(spiky.Peak(), 0.7, 1e-4);
    EXPECT_LT(spiky.Loudness(), 0.2);

    AudioBuffer silent(44100, 0.1);
    EXPECT_EQ(silent.Normalise(0.2, 0.7), 1.0);
    EXPECT_EQ(silent.Peak(), 0.0);
}

TEST(AudioBuffer, FadeEdgesSilencesBothEnds)
{
    AudioBuffer b(1000, std::size_t(100));
    for (std::size_t i = 0; i < b.Length(); ++i) b.Data()[i] = 1.0f;
    b.FadeEdges(0.01, 0.02);
    EXPECT_EQ(b.Data()[0], 0.0f);
    EXPECT_EQ(b.Data()[99], 0.0f);
    EXPECT_LT(b.Data()[5], 1.0f);
    EXPECT_EQ(b.Data()[50], 1.0f);
    EXPECT_LT(b.Data()[85], 1.0f);
    // Fades longer than the buffer neither crash nor leave it loud.
    AudioBuffer tiny(1000, std::size_t(3));
    tiny.Data()[1] = 1.0f;
    tiny.FadeEdges(1.0, 1.0);
    EXPECT_LT(tiny.Data()[1], 1.0f);
}

TEST(OggEncoder, DecodesBackToTheSameLengthAndPitch)
{
    AudioBuffer b(44100, std::size_t(30001)); // not a multiple of any block size
    b.AddGlide(0.0, 1.0, 660.0, 660.0, 0.5, 0.0, 0.0);
    std::vector<unsigned char> bytes = OggEncoder::Encode(b, 0.4f, 7);
    ASSERT_FALSE(bytes.empty());
    int rate = 0;
    std::vector<float> back = DecodeOgg(bytes, rate);
    EXPECT_EQ(rate, 44100);
    ASSERT_EQ(back.size(), 30001u);
    EXPECT_NEAR(Frequency(back.data(), 44100, 0.1, 0.5), 660.0, 5.0);
    // Same input and serial, same bytes; another serial, other bytes.
    EXPECT_EQ(OggEncoder::Encode(b, 0.4f, 7), bytes);
    EXPECT_NE(OggEncoder::Encode(b, 0.4f, 8), bytes);
}

TEST(OggEncoder, WriteAudioAssetReplacesTheFileAndLeavesNoTemporary)
{
    fs::path dir = fs::temp_directory_path() / ("korvelt-write-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::path file = dir / "deeper" / "x.ogg";
    ASSERT_TRUE(WriteAudioAsset(file.string(), {1, 2, 3}));
    ASSERT_TRUE(WriteAudioAsset(file.string(), {4, 5}));
    EXPECT_EQ(fs::file_size(file), 2u);
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
    // A folder where the file should be: the write fails and says so.
    fs::create_directories(dir / "taken.ogg");
    EXPECT_FALSE(WriteAudioAsset((dir / "taken.ogg").string(), {1}));
    EXPECT_TRUE(fs::is_directory(dir / "taken.ogg"));
    fs::remove_all(dir);
}

TEST(SoundEffects, EveryListedEffectHasARecipeOfExactLengthUnderTheCap)
{
    for (const SoundFileEntry& e : kSoundFiles) {
        SCOPED_TRACE(e.stem);
        auto buffer = SoundEffects::Synthesise(e.stem);
        ASSERT_TRUE(buffer);
        EXPECT_EQ(static_cast<long>(buffer->Length()), std::lround(e.lengthMs / 1000.0 * SoundEffects::kRate));
        EXPECT_LE(buffer->Peak(), SoundEffects::kPeakCap + 1e-6);
        EXPECT_GT(buffer->Peak(), 0.1);
    }
    EXPECT_FALSE(SoundEffects::Synthesise("no_such_sound"));
}

TEST(SoundEffects, BiggerCombosChimeHigher)
{
    // Once every chime of the arpeggio has struck, the top note rings
    // loudest and sets the rate of zero crossings: x2 < x3 < x4.
    double previous = 0;
    for (const char* stem : {"put_x2", "put_x3", "put_x4"}) {
        auto b = SoundEffects::Synthesise(stem);
        ASSERT_TRUE(b);
        double f = Frequency(b->Data(), SoundEffects::kRate, 0.35, 0.15);
        EXPECT_GT(f, previous * 1.2) << stem;
        previous = f;
    }
}
