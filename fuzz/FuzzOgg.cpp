// Feeds arbitrary bytes to the Ogg Vorbis paths: the sound-effect loader,
// which decodes everything at once, and the music stream, which decodes on
// demand and loops. Neither may crash, hang or read out of bounds.

#include "framework/audio/music/OggMusicStream.h"
#include "framework/audio/OggReader.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zorvin::SoundSample sample;
    if (Zorvin::OggReader::Decode(data, size, sample)) {
        if (sample.channels < 1 || sample.channels > 2 || sample.pcm.empty())
            std::abort();
    }
    if (auto stream = Zorvin::OggMusicStream::FromMemory(data, size)) {
        std::vector<float> out(2048 * 2);
        stream->SetLooping(true);
        for (int i = 0; i < 8; ++i)
            stream->Read(out.data(), 2048, 44100);
        stream->Seek(10);
        stream->Read(out.data(), 512, 22050);
    }
    return 0;
}
