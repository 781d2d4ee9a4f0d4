#include "framework/audio/music/WavMusicStream.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Zorvin;

namespace {

using Bytes = std::vector<uint8_t>;

void Le(Bytes& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A RIFF WAVE file with an optional odd-sized chunk before the format.
Bytes Riff(uint16_t format, int channels, int bits, const Bytes& data, bool oddChunkFirst = false,
           bool extensible = false)
{
    Bytes body = {'W', 'A', 'V', 'E'};
    if (oddChunkFirst) {
        body.insert(body.end(), {'L', 'I', 'S', 'T'});
        Le(body, 3, 4);
        body.insert(body.end(), {'a', 'b', 'c', 0}); // three bytes and a pad byte
    }
    body.insert(body.end(), {'f', 'm', 't', ' '});
    Le(body, extensible ? 40 : 16, 4);
    Le(body, extensible ? 0xFFFE : format, 2);
    Le(body, channels, 2);
    Le(body, 8000, 4);
    Le(body, 8000 * channels * bits / 8, 4);
    Le(body, channels * bits / 8, 2);
    Le(body, bits, 2);
    if (extensible) {
        Le(body, 22, 2);
        Le(body, bits, 2);
        Le(body, 3, 4);
        Le(body, format, 2); // first two bytes of the sub-format GUID
        body.insert(body.end(), 14, 0);
    }
    body.insert(body.end(), {'d', 'a', 't', 'a'});
    Le(body, static_cast<uint32_t>(data.size()), 4);
    body.insert(body.end(), data.begin(), data.end());
    Bytes file = {'R', 'I', 'F', 'F'};
    Le(file, static_cast<uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// Left and right of the first `frames` frames, read at the file's own rate.
std::vector<float> ReadAll(const Bytes& file, int frames)
{
    auto stream = WavMusicStream::FromMemory(file.data(), file.size());
    if (!stream)
        return {};
    stream->SetLooping(false);
    std::vector<float> out(frames * 2 + 2);
    int got = stream->Read(out.data(), frames + 1, 8000);
    out.resize(got * 2);
    return out;
}

} // namespace

TEST(WavMusicStream, DecodesEverySampleFormat)
{
    // 8-bit data is unsigned around 128.
    EXPECT_EQ(ReadAll(Riff(1, 1, 8, {128, 255, 0}, true), 3), (std::vector<float>{0, 0, 127 / 128.0f, 127 / 128.0f, -1, -1}));
    EXPECT_EQ(ReadAll(Riff(1, 2, 16, {0x00, 0x40, 0x00, 0xC0}), 1), (std::vector<float>{0.5f, -0.5f}));
    EXPECT_EQ(ReadAll(Riff(1, 1, 24, {0x00, 0x00, 0xC0}, false, true), 1), (std::vector<float>{-0.5f, -0.5f}));
    EXPECT_EQ(ReadAll(Riff(1, 1, 32, {0, 0, 0, 0x40}), 1), (std::vector<float>{0.5f, 0.5f}));
    Bytes f(4);
    float quarter = 0.25f;
    std::memcpy(f.data(), &quarter, 4);
    EXPECT_EQ(ReadAll(Riff(3, 1, 32, f), 1), (std::vector<float>{0.25f, 0.25f}));
    // Beyond two channels the first two are heard.
    EXPECT_EQ(ReadAll(Riff(1, 3, 16, {0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F}), 1), (std::vector<float>{0.5f, -0.5f}));
}

TEST(WavMusicStream, RejectsDamagedFiles)
{
    Bytes good = Riff(1, 1, 16, Bytes(200, 0));
    ASSERT_NE(WavMusicStream::FromMemory(good.data(), good.size()), nullptr);
    Bytes cut(good.begin(), good.end() - 1);
    EXPECT_EQ(WavMusicStream::FromMemory(cut.data(), cut.size()), nullptr);
    Bytes noFormat = good;
    std::memcpy(noFormat.data() + 12, "junk", 4);
    EXPECT_EQ(WavMusicStream::FromMemory(noFormat.data(), noFormat.size()), nullptr);
    Bytes hugeChunk = good;
    hugeChunk[16 + 3] = 0x7F; // the format chunk claims 2 GB
    EXPECT_EQ(WavMusicStream::FromMemory(hugeChunk.data(), hugeChunk.size()), nullptr);
    Bytes adpcm = Riff(2, 1, 4, Bytes(10, 0));
    EXPECT_EQ(WavMusicStream::FromMemory(adpcm.data(), adpcm.size()), nullptr);
    Bytes noChannels = Riff(1, 0, 16, Bytes(10, 0));
    EXPECT_EQ(WavMusicStream::FromMemory(noChannels.data(), noChannels.size()), nullptr);
    Bytes lessThanAFrame = Riff(1, 2, 16, Bytes(3, 0));
    EXPECT_EQ(WavMusicStream::FromMemory(lessThanAFrame.data(), lessThanAFrame.size()), nullptr);
}
