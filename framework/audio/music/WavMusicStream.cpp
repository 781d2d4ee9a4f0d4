#include "framework/audio/music/WavMusicStream.h"

#include "framework/audio/SoundSample.h"

#include <cstring>

namespace Zorvin {

namespace {

constexpr size_t kMaxFileBytes = 512u << 20;

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

std::unique_ptr<WavMusicStream> WavMusicStream::FromMemory(const uint8_t* bytes, size_t size)
{
    if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return nullptr;
    bool haveFormat = false;
    uint16_t format = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint8_t* chunk = bytes + pos;
        uint32_t length = Le32(chunk + 4);
        size_t body = pos + 8;
        if (length > size - body)
            return nullptr; // chunk runs past the end: truncated or damaged
        if (std::memcmp(chunk, "fmt ", 4) == 0 && length >= 16) {
            format = Le16(chunk + 8);
            channels = Le16(chunk + 10);
            rate = Le32(chunk + 12);
            bits = Le16(chunk + 22);
            // WAVE_FORMAT_EXTENSIBLE: the real format is the first two bytes
            // of the sub-format GUID.
            if (format == 0xFFFE && length >= 26)
                format = Le16(chunk + 32);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            samples = bytes + body;
            sampleBytes = length;
            break;
        }
        pos = body + length + (length & 1); // chunks are padded to even sizes
    }
    if (!haveFormat || !samples || channels < 1 || rate < 1 || rate > 1000000)
        return nullptr;
    bool isFloat = format == 3;
    if (!(format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) && !(isFloat && bits == 32))
        return nullptr;
    int bytesPerSample = bits / 8;
    size_t frameBytes = static_cast<size_t>(bytesPerSample) * channels;
    if (sampleBytes < frameBytes)
        return nullptr;

    auto stream = std::unique_ptr<WavMusicStream>(new WavMusicStream(static_cast<int>(rate)));
    stream->data.assign(samples, samples + sampleBytes - sampleBytes % frameBytes);
    stream->channels = channels;
    stream->bytesPerSample = bytesPerSample;
    stream->isFloat = isFloat;
    stream->frameCount = static_cast<int64_t>(stream->data.size() / frameBytes);
    return stream;
}

std::unique_ptr<WavMusicStream> WavMusicStream::FromFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!SoundSample::ReadFileBytes(path, bytes, kMaxFileBytes))
        return nullptr;
    return FromMemory(bytes.data(), bytes.size());
}

float WavMusicStream::SampleAt(const uint8_t* p) const
{
    switch (bytesPerSample) {
    case 1:
        return (static_cast<int>(p[0]) - 128) / 128.0f; // 8-bit WAVE data is unsigned
    case 2:
        return static_cast<int16_t>(Le16(p)) / 32768.0f;
    case 3: {
        int32_t v = static_cast<int32_t>((uint32_t(p[0]) << 8) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 24));
        return static_cast<float>(v / 2147483648.0);
    }
    default: {
        uint32_t raw = Le32(p);
        if (isFloat) {
            float f;
            std::memcpy(&f, &raw, sizeof f);
            return f == f ? f : 0.0f;
        }
        return static_cast<float>(static_cast<int32_t>(raw) / 2147483648.0);
    }
    }
}

int WavMusicStream::ReadSource(float* out, int frames)
{
    int done = 0;
    const size_t frameBytes = static_cast<size_t>(bytesPerSample) * channels;
    while (done < frames && cursor < frameCount) {
        const uint8_t* p = data.data() + static_cast<size_t>(cursor) * frameBytes;
        float left = SampleAt(p);
        float right = channels > 1 ? SampleAt(p + bytesPerSample) : left;
        out[done * 2] = left;
        out[done * 2 + 1] = right;
        ++done;
        ++cursor;
    }
    return done;
}

bool WavMusicStream::SeekSource(int64_t frame)
{
    if (frame < 0 || frame > frameCount)
        return false;
    cursor = frame;
    return true;
}

} // namespace Zorvin
