// Feeds arbitrary bytes to the WAVE music reader and plays what it accepts.

#include "framework/audio/music/WavMusicStream.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (auto stream = Zorvin::WavMusicStream::FromMemory(data, size)) {
        std::vector<float> out(1024 * 2);
        stream->SetLooping(true);
        for (int i = 0; i < 4; ++i)
            stream->Read(out.data(), 1024, 44100);
        stream->Seek(5);
        stream->Read(out.data(), 256, 8000);
    }
    return 0;
}
