#pragma once

// WavMusicStream: recorded music in a RIFF WAVE file: integer PCM of 8, 16,
// 24 or 32 bits or 32-bit float, one or more channels (the first two are
// heard). The file is read and checked whole at load; a damaged or truncated
// file fails the load instead of playing noise.

#include "framework/audio/music/SampledMusicStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class WavMusicStream : public SampledMusicStream {
public:
    static std::unique_ptr<WavMusicStream> FromMemory(const uint8_t* data, size_t size);
    static std::unique_ptr<WavMusicStream> FromFile(const std::string& path);

    int64_t GetFrameCount() const { return frameCount; }

protected:
    int ReadSource(float* out, int frames) override;
    bool SeekSource(int64_t frame) override;

private:
    WavMusicStream(int rate) : SampledMusicStream(rate) {}
    float SampleAt(const uint8_t* p) const;

    std::vector<uint8_t> data;
    int channels = 0;
    int bytesPerSample = 0;
    bool isFloat = false;
    int64_t frameCount = 0;
    int64_t cursor = 0;
};

} // namespace Zorvin
