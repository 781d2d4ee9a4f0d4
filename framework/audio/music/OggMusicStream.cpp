#include "framework/audio/music/OggMusicStream.h"

#include "framework/audio/SoundSample.h"

#include <vector>

namespace Zorvin {

namespace {
constexpr size_t kMaxFileBytes = 256u << 20;
constexpr int kMaxHoles = 64;
} // namespace

std::unique_ptr<OggMusicStream> OggMusicStream::FromMemory(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return nullptr;
    auto file = std::make_unique<OggMemoryFile>();
    if (!file->Open(std::vector<uint8_t>(data, data + size)))
        return nullptr;
    int rate = file->GetRate();
    return std::unique_ptr<OggMusicStream>(new OggMusicStream(std::move(file), rate));
}

std::unique_ptr<OggMusicStream> OggMusicStream::FromFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!SoundSample::ReadFileBytes(path, bytes, kMaxFileBytes))
        return nullptr;
    return FromMemory(bytes.data(), bytes.size());
}

int OggMusicStream::ReadSource(float* out, int frames)
{
    int done = 0;
    while (done < frames) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(file->Get(), &pcm, frames - done, &section);
        if (n == OV_HOLE && ++holes <= kMaxHoles)
            continue;
        if (n <= 0)
            break;
        vorbis_info* info = ov_info(file->Get(), section);
        int channels = info ? info->channels : 0;
        if (channels < 1)
            break;
        for (long i = 0; i < n; ++i) {
            float left = pcm[0][i];
            float right = channels > 1 ? pcm[1][i] : left;
            out[(done + i) * 2] = left;
            out[(done + i) * 2 + 1] = right;
        }
        done += static_cast<int>(n);
    }
    return done;
}

bool OggMusicStream::SeekSource(int64_t frame)
{
    holes = 0;
    return ov_pcm_seek(file->Get(), frame) == 0;
}

} // namespace Zorvin
