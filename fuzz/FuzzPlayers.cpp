// Feeds arbitrary bytes to the players file reader. Whatever it accepts must
// hold at most nine profiles with every number in its range and name a real
// profile as the current one (or none); writing the list and reading it
// back must give the same bytes with nothing left to repair, so a damaged
// file is repaired by the next save instead of growing worse.

#include "game/app/profiles/PlayerList.h"
#include "game/board/Deck.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

namespace {

bool InRange(const PlayerProfile& p)
{
    return p.levelMode0 >= 1 && p.levelMode0 <= PlayerProfile::kLastLevelMode0 + 1 && p.levelMode2 >= 1
        && p.levelMode2 <= PlayerProfile::kLastLevelMode2 + 1 && p.scoreMode0 >= 0 && p.scoreMode2 >= 0
        && p.shufflesLeft >= 0 && p.shufflesLeft <= PlayerProfile::kMaxShufflesLeft && p.placeCount >= 0
        && p.placeCount <= Deck::kMaxPlaces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PlayerList list;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!list.Decode(bytes))
        return 0;
    if (list.currentPlayer < -1 || list.currentPlayer >= list.Count()
        || (list.currentPlayer == -1) != (list.Count() == 0) || list.Count() > PlayerList::MaxPlayers)
        std::abort();
    for (int i = 0; i < list.Count(); ++i)
        if (!InRange(list.At(i)))
            std::abort();
    std::string written = list.Encode();
    PlayerList again;
    bool againRepaired = true;
    if (!again.Decode(written, &againRepaired) || againRepaired || again.Encode() != written
        || again.Count() != list.Count())
        std::abort();
    return 0;
}
