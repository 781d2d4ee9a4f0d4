// Feeds arbitrary bytes to the ".au" sound reader: it must fail or produce a
// sample whose size matches its header, never read out of bounds.

#include "framework/audio/AuReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zorvin::SoundSample sample;
    if (Zorvin::AuReader::Decode(data, size, sample)) {
        if (sample.channels < 1 || sample.channels > 2 || sample.pcm.empty() ||
            sample.pcm.size() % sample.channels != 0 || sample.pcm.size() > size)
            std::abort();
    }
    return 0;
}
