#include "framework/audio/AuReader.h"

#include "tests/framework/audio/AudioTestFiles.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using AudioTestFiles::Bytes;

namespace {

bool Decode(const Bytes& bytes, SoundSample& out)
{
    return AuReader::Decode(bytes.data(), bytes.size(), out);
}

} // namespace

TEST(AuReader, MuLawFollowsTheSegmentFormula)
{
    // Positive codes (top bit set) at the edges of each segment.
    EXPECT_EQ(AuReader::ExpandMuLaw(255), 0);
    EXPECT_EQ(AuReader::ExpandMuLaw(240), 4 * 2 * 15);
    EXPECT_EQ(AuReader::ExpandMuLaw(239), 4 * 4 * 8);
    EXPECT_EQ(AuReader::ExpandMuLaw(208), 4 * 8 * 27);
    EXPECT_EQ(AuReader::ExpandMuLaw(192), 4 * 16 * 29);
    EXPECT_EQ(AuReader::ExpandMuLaw(176), 4 * 32 * 30);
    EXPECT_EQ(AuReader::ExpandMuLaw(160), 4 * (12192 - 64 * 160));
    EXPECT_EQ(AuReader::ExpandMuLaw(144), 4 * (22368 - 128 * 144));
    EXPECT_EQ(AuReader::ExpandMuLaw(129), 4 * (40672 - 256 * 129));
    EXPECT_EQ(AuReader::ExpandMuLaw(128), 4 * 255);
    // Codes without the top bit mirror them with the opposite sign.
    for (int b = 0; b < 128; ++b)
        EXPECT_EQ(AuReader::ExpandMuLaw(static_cast<uint8_t>(b)), -AuReader::ExpandMuLaw(static_cast<uint8_t>(b | 128)));
}

TEST(AuReader, DecodesBothEncodings)
{
    SoundSample sample;
    ASSERT_TRUE(Decode(AudioTestFiles::Au(1, 8000, 1, {255, 240, 0x70}), sample));
    EXPECT_EQ(sample.rate, 8000);
    EXPECT_EQ(sample.channels, 1);
    EXPECT_EQ(sample.GetBufferSize(), 3u);
    EXPECT_EQ(sample.pcm, (std::vector<int16_t>{0, 120, -120}));

    // Linear data is signed: 0x80 is the most negative value, not silence.
    ASSERT_TRUE(Decode(AudioTestFiles::Au(2, 11025, 2, {0, 0x7F, 0x80, 0xFF}), sample));
    EXPECT_EQ(sample.channels, 2);
    EXPECT_EQ(sample.GetFrameCount(), 2);
    EXPECT_EQ(sample.pcm, (std::vector<int16_t>{0, 127 * 256, -128 * 256, -256}));
}

TEST(AuReader, OpenSizeRunsToTheEndOfTheFile)
{
    SoundSample sample;
    ASSERT_TRUE(Decode(AudioTestFiles::Au(2, 8000, 1, {1, 2, 3, 4, 5}, 0xFFFFFFFFu), sample));
    EXPECT_EQ(sample.GetFrameCount(), 5);
}

TEST(AuReader, RejectsDamagedFiles)
{
    SoundSample sample;
    Bytes good = AudioTestFiles::Au(1, 8000, 1, Bytes(100, 0xFF));
    ASSERT_TRUE(Decode(good, sample));

    Bytes truncated(good.begin(), good.end() - 1);
    EXPECT_FALSE(Decode(truncated, sample));
    EXPECT_TRUE(sample.pcm.empty());
    EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + 20), sample)); // header cut short

    Bytes badMagic = good;
    badMagic[1] = 'S';
    EXPECT_FALSE(Decode(badMagic, sample));

    EXPECT_FALSE(Decode(AudioTestFiles::Au(3, 8000, 1, Bytes(10, 0)), sample)); // 16-bit: not supported
    EXPECT_FALSE(Decode(AudioTestFiles::Au(1, 8000, 0, Bytes(10, 0)), sample));
    EXPECT_FALSE(Decode(AudioTestFiles::Au(1, 8000, 3, Bytes(12, 0)), sample));
    EXPECT_FALSE(Decode(AudioTestFiles::Au(1, 0, 1, Bytes(10, 0)), sample));
    EXPECT_FALSE(Decode(AudioTestFiles::Au(1, 8000, 1, Bytes()), sample));

    Bytes offsetPastEnd = good;
    offsetPastEnd[4] = 0x7F; // data offset far beyond the file
    EXPECT_FALSE(Decode(offsetPastEnd, sample));
    Bytes hugeSize = good;
    hugeSize[8] = 0x7F; // more data announced than present
    EXPECT_FALSE(Decode(hugeSize, sample));
}

TEST(AuReader, LoadsFromDisk)
{
    AudioTestFiles::TempDir dir;
    AudioTestFiles::Write(dir / "beep.au", AudioTestFiles::Au(1, 8000, 1, Bytes(800, 0x80)));
    SoundSample sample;
    EXPECT_TRUE(AuReader::LoadFile(dir / "beep.au", sample));
    EXPECT_EQ(sample.GetFrameCount(), 800);
    EXPECT_FALSE(AuReader::LoadFile(dir / "missing.au", sample));
}
