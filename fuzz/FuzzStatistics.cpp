// Feeds arbitrary bytes to the statistics file reader. What it refuses
// leaves no statistics behind; what it accepts holds at most the players
// the file may name, and writing it and reading that back must give the
// same bytes, so what the game writes is always what it reads (the reader
// refuses any figure out of its range, so a round trip keeps them in it).

#include "game/app/profiles/StatisticsStore.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StatisticsStore store;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!store.Decode(bytes)) {
        if (store.Count() != 0)
            std::abort();
        return 0;
    }
    if (store.Count() > StatisticsStore::kMaxPlayers)
        std::abort();
    std::string written = store.Encode();
    StatisticsStore again;
    if (!again.Decode(written) || again.Encode() != written || again.Count() != store.Count())
        std::abort();
    return 0;
}
