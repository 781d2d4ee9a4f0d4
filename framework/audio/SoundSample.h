#pragma once

// SoundSample: the decoded PCM of one sound effect, 16-bit signed, one or two
// interleaved channels, at the file's own rate. The sound manager keeps one
// per loaded slot; playing instances share it read-only, so a slot may be
// reloaded or released while an earlier copy is still sounding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zorvin {

struct SoundSample {
    int rate = 0;
    int channels = 0;
    // Bits per sample of the file's data (8 or 16), which decides the size the
    // slot reports; the PCM here is always 16-bit.
    int bits = 16;
    std::vector<int16_t> pcm;

    int GetFrameCount() const { return channels > 0 ? static_cast<int>(pcm.size() / channels) : 0; }
    // Size of the data as the file stored it, in bytes.
    size_t GetBufferSize() const { return pcm.size() * static_cast<size_t>(bits) / 8; }

    // Reads a whole file into `bytes`; false when it is missing, unreadable or
    // larger than `maxBytes`.
    static bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes);
};

} // namespace Zorvin
