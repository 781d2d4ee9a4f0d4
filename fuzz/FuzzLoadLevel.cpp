// Feeds arbitrary bytes to the level reader as a level file, puts what it
// accepted into a board, deals it and fills the deck, then checks that the result stays
// within what the board can play and that the writer's output of the field
// reads back to the same settings without an error.

#include "framework/resources/XMLParser.h"
#include "game/board/BoardRules.h"
#include "game/board/LevelFile.h"
#include "tests/board/FakeBoardHost.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    XMLParser reader;
    reader.OpenBuffer("fuzz.xml", std::string(reinterpret_cast<const char*>(data), size));
    LevelFile level;
    int maxTiles = size > 0 && (data[0] & 1) ? data[0] % 7 : -1;
    level.Read(reader, maxTiles);

    Check(!level.types.empty() && static_cast<int>(level.types.size()) <= LevelFile::kMaxTypes);
    for (int t : level.types)
        Check(t >= 0 && t <= LevelFile::kMaxTileValue);
    Check(static_cast<int>(level.layers.size()) <= LevelFile::kMaxLayers);
    size_t tiles = 0;
    for (const auto& layer : level.layers)
        tiles += layer.size();
    Check(maxTiles < 0 || tiles <= static_cast<size_t>(maxTiles));

    // Into a board, dealt without the blocking intro.
    FakeBoardHost host;
    host.closing = true;
    BoardRules rules(host);
    FishField& field = *rules.field;
    field.mode = size > 1 && (data[1] & 1) ? PlayMode::Click : PlayMode::Drag;
    ApplyLevel(level, 1, field, true);
    Check(field.FishCount() == static_cast<int>(tiles));
    field.DealLevel();
    rules.deck->Fill(field.level.cardsInDeck);
    rules.deck->CountMoves();
    field.CheckEnd();
    for (const auto& layer : field.layers)
        for (const auto& fish : layer) {
            Check(fish->lockType >= -1 && fish->lockType <= LevelFile::kMaxMarkType);
            Check(fish->itemType >= -1 && fish->itemType <= LevelFile::kMaxMarkType);
            Check(fish->joker || (fish->valueA >= 0 && fish->valueA <= LevelFile::kMaxTileValue));
        }

    LevelFile saved = LevelFromField(field);
    XMLParser again;
    again.OpenBuffer("again.xml", saved.Format());
    LevelFile back;
    back.Read(again);
    Check(back.complete);
    Check(back.types == level.types && back.shiftX == level.shiftX && back.shiftY == level.shiftY);
    Check(back.backgroundName == level.backgroundName);
    Check(back.layers.size() == level.layers.size());
    return 0;
}
