// Feeds arbitrary bytes to the players file reader. Whatever it accepts must
// name a real profile as the current one (or none), and writing the list
// and reading it back must give the same bytes, so a damaged file is
// repaired by the next save instead of growing worse.

#include "game/app/profiles/PlayerList.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PlayerList list;
    if (!list.Decode(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    if (list.currentPlayer < -1 || list.currentPlayer >= list.Count()
        || (list.currentPlayer == -1) != (list.Count() == 0))
        std::abort();
    std::string written = list.Encode();
    PlayerList again;
    if (!again.Decode(written) || again.Encode() != written || again.Count() != list.Count())
        std::abort();
    return 0;
}
