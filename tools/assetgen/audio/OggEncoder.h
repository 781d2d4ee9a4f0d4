#pragma once

// Encodes a mono AudioBuffer as an Ogg Vorbis file in memory with
// libvorbisenc (variable bit rate). The stream serial number is fixed by the
// caller, so the same samples always give the same bytes.

#include <string>
#include <vector>

namespace Zorvin::AssetGen {

class AudioBuffer;

class OggEncoder {
public:
    // quality: libvorbis VBR quality, -0.1 (smallest) .. 1.0 (best).
    // Returns an empty vector when the encoder refuses the settings.
    static std::vector<unsigned char> Encode(const AudioBuffer& buffer, float quality, int serial);
};

// Writes bytes to path through a temporary file and a rename, creating the
// folder first, so a reader never sees half a file. Returns false and
// prints the reason on failure.
bool WriteAudioAsset(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace Zorvin::AssetGen
