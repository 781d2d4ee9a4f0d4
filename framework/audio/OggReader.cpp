#include "framework/audio/OggReader.h"

#include "framework/audio/OggMemoryFile.h"

#include <algorithm>
#include <bit>

namespace Zorvin {

namespace {

constexpr size_t kMaxFileBytes = 64u << 20;
// Ten minutes at 48 kHz: far beyond any sound effect, and it keeps a forged
// length field from asking for gigabytes.
constexpr ogg_int64_t kMaxFrames = 48000LL * 600;
// Holes (lost pages) are skipped, but a file made of nothing else must end.
constexpr int kMaxHoles = 64;

} // namespace

bool OggReader::Decode(const uint8_t* data, size_t size, SoundSample& out)
{
    out = SoundSample();
    if (!data || size == 0)
        return false;
    OggMemoryFile ogg;
    if (!ogg.Open(std::vector<uint8_t>(data, data + size)))
        return false;
    int channels = ogg.GetChannels();
    int rate = ogg.GetRate();
    if (channels < 1 || channels > 2)
        return false;
    ogg_int64_t frames = ov_pcm_total(ogg.Get(), -1);
    if (frames <= 0 || frames > kMaxFrames)
        return false;

    SoundSample sample;
    sample.rate = rate;
    sample.channels = channels;
    sample.bits = 16;
    const size_t wanted = static_cast<size_t>(frames) * channels;
    // Grow as data arrives rather than trusting the announced length.
    sample.pcm.reserve(std::min<size_t>(wanted, 1u << 20));
    const int bigEndian = std::endian::native == std::endian::big ? 1 : 0;
    alignas(int16_t) char buffer[8192];
    int holes = 0;
    int section = 0;
    while (sample.pcm.size() < wanted) {
        long n = ov_read(ogg.Get(), buffer, sizeof buffer, bigEndian, 2, 1, &section);
        if (n == OV_HOLE && ++holes <= kMaxHoles)
            continue;
        if (n <= 0)
            return false;
        // A chained file may change its layout mid-way; only one is supported.
        vorbis_info* info = ov_info(ogg.Get(), section);
        if (!info || info->channels != channels)
            return false;
        size_t count = static_cast<size_t>(n) / 2;
        const int16_t* samples = reinterpret_cast<const int16_t*>(buffer);
        size_t take = std::min(count, wanted - sample.pcm.size());
        sample.pcm.insert(sample.pcm.end(), samples, samples + take);
    }
    out = std::move(sample);
    return true;
}

bool OggReader::LoadFile(const std::string& path, SoundSample& out)
{
    std::vector<uint8_t> bytes;
    if (!SoundSample::ReadFileBytes(path, bytes, kMaxFileBytes))
        return false;
    return Decode(bytes.data(), bytes.size(), out);
}

} // namespace Zorvin
