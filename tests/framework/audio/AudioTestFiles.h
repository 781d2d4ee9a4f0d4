#pragma once

// Sound and music files made on the spot for the audio tests: Ogg Vorbis
// encoded with libvorbisenc, ".au" and ".wav" bytes, and a small four-channel
// MOD module, plus a temporary folder that removes itself and helpers that
// measure rendered sound.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace AudioTestFiles {

using Bytes = std::vector<uint8_t>;

// A sine tone of `frequency` Hz, `seconds` long, at amplitude 0.5, encoded as
// Ogg Vorbis (stereo carries the tone on both channels).
Bytes OggTone(int rate, int channels, double frequency, double seconds);

// An ".au" file: header with the given fields, then `data`.
Bytes Au(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data, uint32_t sizeField = 0xFFFFFFFEu);

// A 16-bit PCM RIFF WAVE file of interleaved samples.
Bytes Wav(int rate, int channels, const std::vector<int16_t>& samples);

// A 4-channel "M.K." module: `orders` patterns, each a looping square-wave
// note held for 64 rows at speed 6, tempo 125 (about 7.7 s per pattern).
Bytes Module(int orders);

void Write(const std::filesystem::path& path, const Bytes& bytes);

class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string operator/(const std::string& name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

// Peak absolute value of one channel (0 left, 1 right) of interleaved stereo.
int Peak(const std::vector<int16_t>& stereo, int channel);
// Upward zero crossings of one channel: frequency = crossings / seconds.
int Crossings(const std::vector<int16_t>& stereo, int channel);

} // namespace AudioTestFiles
