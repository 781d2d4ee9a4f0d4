#pragma once

// AuReader: decodes Sun/NeXT ".au" sound files into a SoundSample. The file
// is ".snd", then five big-endian 32-bit fields (data offset, data size,
// encoding, rate, channels) and the data. Encoding 1 is 8-bit mu-law,
// expanded with the game's own segment formula; encoding 2 is 8-bit signed
// linear PCM. Everything else, and any header that does not fit the file,
// fails the load.

#include "framework/audio/SoundSample.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Zorvin {

class AuReader {
public:
    static bool Decode(const uint8_t* data, size_t size, SoundSample& out);
    static bool LoadFile(const std::string& path, SoundSample& out);

    // One mu-law byte as a 16-bit sample.
    static int16_t ExpandMuLaw(uint8_t b);
};

} // namespace Zorvin
