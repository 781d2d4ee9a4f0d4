#include "framework/audio/OggReader.h"

#include "tests/framework/audio/AudioTestFiles.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using AudioTestFiles::Bytes;

namespace {

// Upward zero crossings of one channel of a decoded sample.
int Crossings(const SoundSample& sample, int channel)
{
    int count = 0;
    int previous = 0;
    for (size_t i = channel; i < sample.pcm.size(); i += sample.channels) {
        if (previous < 0 && sample.pcm[i] >= 0)
            ++count;
        previous = sample.pcm[i];
    }
    return count;
}

} // namespace

TEST(OggReader, DecodesTheWholeToneAtItsRate)
{
    Bytes ogg = AudioTestFiles::OggTone(22050, 1, 441.0, 0.5);
    SoundSample sample;
    ASSERT_TRUE(OggReader::Decode(ogg.data(), ogg.size(), sample));
    EXPECT_EQ(sample.rate, 22050);
    EXPECT_EQ(sample.channels, 1);
    EXPECT_EQ(sample.GetFrameCount(), 11025);
    EXPECT_EQ(sample.GetBufferSize(), 11025u * 2);
    EXPECT_NEAR(Crossings(sample, 0), 220, 2);
    int peak = 0;
    for (int16_t s : sample.pcm)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 16384, 1200);
}

TEST(OggReader, DecodesStereo)
{
    Bytes ogg = AudioTestFiles::OggTone(44100, 2, 1000.0, 0.25);
    SoundSample sample;
    ASSERT_TRUE(OggReader::Decode(ogg.data(), ogg.size(), sample));
    EXPECT_EQ(sample.channels, 2);
    EXPECT_EQ(sample.GetFrameCount(), 11025);
    EXPECT_NEAR(Crossings(sample, 1), 250, 2);
}

TEST(OggReader, RejectsDamagedFiles)
{
    Bytes ogg = AudioTestFiles::OggTone(22050, 1, 441.0, 1.0);
    SoundSample sample;
    // Cut in the middle of the audio: the announced length cannot be met...
    // or, without the final page, the stream has no length at all.
    Bytes cut(ogg.begin(), ogg.begin() + ogg.size() / 2);
    EXPECT_FALSE(OggReader::Decode(cut.data(), cut.size(), sample));
    EXPECT_TRUE(sample.pcm.empty());
    Bytes headerOnly(ogg.begin(), ogg.begin() + 60);
    EXPECT_FALSE(OggReader::Decode(headerOnly.data(), headerOnly.size(), sample));
    Bytes garbage(4000, 0x4F);
    EXPECT_FALSE(OggReader::Decode(garbage.data(), garbage.size(), sample));
    EXPECT_FALSE(OggReader::Decode(nullptr, 0, sample));

    // Damage in the middle of the audio: the decoder may skip it, but it
    // must come back and never crash or return a sound of the wrong length.
    Bytes flipped = ogg;
    for (size_t i = flipped.size() / 2; i < flipped.size() / 2 + 200; ++i)
        flipped[i] ^= 0x5A;
    if (OggReader::Decode(flipped.data(), flipped.size(), sample))
        EXPECT_EQ(sample.GetFrameCount(), 22050);
    else
        EXPECT_TRUE(sample.pcm.empty());
}
