#pragma once

// OggReader: decodes a whole Ogg Vorbis sound effect into a SoundSample
// (16-bit, the stream's own rate, mono or stereo). The load succeeds only
// when every sample the stream announces was decoded, so a truncated file
// fails instead of playing half a sound. Streams with more than two channels
// or of implausible length are refused.

#include "framework/audio/SoundSample.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Zorvin {

class OggReader {
public:
    static bool Decode(const uint8_t* data, size_t size, SoundSample& out);
    static bool LoadFile(const std::string& path, SoundSample& out);
};

} // namespace Zorvin
