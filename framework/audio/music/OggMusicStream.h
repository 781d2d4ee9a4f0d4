#pragma once

// OggMusicStream: recorded music in Ogg Vorbis, decoded a piece at a time on
// the audio thread from the compressed file held in memory. Mono plays on
// both sides; beyond two channels only the first two are heard.

#include "framework/audio/OggMemoryFile.h"
#include "framework/audio/music/SampledMusicStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Zorvin {

class OggMusicStream : public SampledMusicStream {
public:
    // Null when the bytes are not a playable Ogg Vorbis stream.
    static std::unique_ptr<OggMusicStream> FromMemory(const uint8_t* data, size_t size);
    static std::unique_ptr<OggMusicStream> FromFile(const std::string& path);

protected:
    int ReadSource(float* out, int frames) override;
    bool SeekSource(int64_t frame) override;

private:
    explicit OggMusicStream(std::unique_ptr<OggMemoryFile> file, int rate)
        : SampledMusicStream(rate), file(std::move(file))
    {
    }

    std::unique_ptr<OggMemoryFile> file;
    int holes = 0;
};

} // namespace Zorvin
