#include "framework/audio/AuReader.h"

namespace Zorvin {

namespace {

constexpr uint32_t kUnknownSize = 0xFFFFFFFFu;
constexpr size_t kMaxFileBytes = 64u << 20;

uint32_t ReadBigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

} // namespace

int16_t AuReader::ExpandMuLaw(uint8_t b)
{
    int s = b >= 128 ? 1 : -1;
    int e = b | 128;
    int f;
    if (e > 239)
        f = 2 * (255 - e);
    else if (e > 223)
        f = 4 * (247 - e);
    else if (e > 207)
        f = 8 * (235 - e);
    else if (e > 191)
        f = 16 * (221 - e);
    else if (e > 175)
        f = 32 * (206 - e);
    else if (e > 159)
        f = 12192 - 64 * e;
    else if (e > 143)
        f = 22368 - 128 * e;
    else if (e > 128)
        f = 40672 - 256 * e;
    else
        f = 255;
    return static_cast<int16_t>(4 * s * f);
}

bool AuReader::Decode(const uint8_t* data, size_t size, SoundSample& out)
{
    out = SoundSample();
    if (!data || size < 24 || data[0] != '.' || data[1] != 's' || data[2] != 'n' || data[3] != 'd')
        return false;
    uint32_t offset = ReadBigEndian32(data + 4);
    uint32_t dataSize = ReadBigEndian32(data + 8);
    uint32_t encoding = ReadBigEndian32(data + 12);
    uint32_t rate = ReadBigEndian32(data + 16);
    uint32_t channels = ReadBigEndian32(data + 20);
    if (encoding != 1 && encoding != 2)
        return false;
    if (channels < 1 || channels > 2 || rate < 1 || rate > 1000000)
        return false;
    if (offset < 24 || offset > size)
        return false;
    size_t available = size - offset;
    // The format lets a writer that could not seek back leave the size open;
    // the data then runs to the end of the file.
    size_t count = dataSize == kUnknownSize ? available : dataSize;
    if (count > available)
        return false; // truncated: the whole data must be there
    count -= count % channels;
    if (count == 0)
        return false;

    const uint8_t* p = data + offset;
    SoundSample sample;
    sample.rate = static_cast<int>(rate);
    sample.channels = static_cast<int>(channels);
    sample.bits = 8;
    sample.pcm.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (encoding == 1)
            sample.pcm[i] = ExpandMuLaw(p[i]);
        else
            sample.pcm[i] = static_cast<int16_t>(static_cast<int8_t>(p[i]) * 256);
    }
    out = std::move(sample);
    return true;
}

bool AuReader::LoadFile(const std::string& path, SoundSample& out)
{
    std::vector<uint8_t> bytes;
    if (!SoundSample::ReadFileBytes(path, bytes, kMaxFileBytes))
        return false;
    return Decode(bytes.data(), bytes.size(), out);
}

} // namespace Zorvin
