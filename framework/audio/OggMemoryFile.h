#pragma once

// OggMemoryFile: an Ogg Vorbis file held in memory and opened with
// libvorbisfile, seekable, so both the sound-effect loader and the music
// streams decode from bytes that were read (and size-checked) up front.
// Owns the bytes and the decoder state; not copyable.

#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Zorvin {

class OggMemoryFile {
public:
    OggMemoryFile() = default;
    OggMemoryFile(const OggMemoryFile&) = delete;
    OggMemoryFile& operator=(const OggMemoryFile&) = delete;
    ~OggMemoryFile();

    // Takes the bytes and opens them; false when they are not Ogg Vorbis.
    bool Open(std::vector<uint8_t> bytes);
    bool IsOpen() const { return open; }

    OggVorbis_File* Get() { return open ? &file : nullptr; }
    int GetChannels();
    int GetRate();

private:
    static size_t Read(void* dst, size_t size, size_t count, void* source);
    static int Seek(void* source, ogg_int64_t offset, int whence);
    static long Tell(void* source);

    std::vector<uint8_t> data;
    size_t position = 0;
    OggVorbis_File file{};
    bool open = false;
};

} // namespace Zorvin
