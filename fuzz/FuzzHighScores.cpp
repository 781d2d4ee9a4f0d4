// Feeds arbitrary bytes to the high-score file reader. Both tables must
// come out with exactly ten rows, and writing them and reading them back
// must give the same tables.

#include "game/app/profiles/HighScoreTable.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HighScoreTable table;
    table.Decode(std::string(reinterpret_cast<const char*>(data), size));
    if (table.highScoresMode0.size() != HighScoreTable::Rows || table.highScoresMode2.size() != HighScoreTable::Rows)
        std::abort();
    HighScoreTable again;
    again.Decode(table.Encode());
    if (again.highScoresMode0 != table.highScoresMode0 || again.highScoresMode2 != table.highScoresMode2)
        std::abort();
    return 0;
}
