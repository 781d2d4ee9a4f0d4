// Feeds arbitrary bytes to the high-score file reader. Both tables must
// come out with exactly ten rows, best first, with scores from 0 and names
// a name field can hold; writing them and reading them back must give the
// same tables with nothing left to repair.

#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerName.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HighScoreTable table;
    table.Decode(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto* rows : {&table.highScoresMode0, &table.highScoresMode2}) {
        if (rows->size() != HighScoreTable::Rows)
            std::abort();
        for (size_t r = 0; r < rows->size(); ++r)
            if ((*rows)[r].score < 0 || (*rows)[r].name.size() > static_cast<size_t>(PlayerName::MaxLength)
                || (r > 0 && (*rows)[r - 1].score < (*rows)[r].score))
                std::abort();
    }
    HighScoreTable again;
    bool repaired = true;
    again.Decode(table.Encode(), &repaired);
    if (repaired || again.highScoresMode0 != table.highScoresMode0 || again.highScoresMode2 != table.highScoresMode2)
        std::abort();
    return 0;
}
