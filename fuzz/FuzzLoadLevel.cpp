// Feeds arbitrary bytes to the level reader as a level file, then checks
// that what it accepted stays within what the board can play and that the
// writer's output of it reads back to the same settings without an error.

#include "framework/XMLParser.h"
#include "game/board/LevelFile.h"

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
    for (const auto& layer : level.layers) {
        tiles += layer.size();
        for (const LevelTile& t : layer) {
            Check(t.lockType >= -1 && t.lockType <= LevelFile::kMaxMarkType);
            Check(t.itemType >= -1 && t.itemType <= LevelFile::kMaxMarkType);
            Check(t.orientation == 0 || t.orientation == 3);
        }
    }
    Check(maxTiles < 0 || tiles <= static_cast<size_t>(maxTiles));

    std::string text = level.Format();
    XMLParser again;
    again.OpenBuffer("again.xml", text);
    LevelFile back;
    back.Read(again);
    Check(back.complete);
    Check(back.types == level.types && back.shiftX == level.shiftX && back.shiftY == level.shiftY);
    Check(back.backgroundName == level.backgroundName && back.musicTrack == level.musicTrack);
    Check(back.cardsInDeck == level.cardsInDeck && back.layers.size() == level.layers.size());
    return 0;
}
