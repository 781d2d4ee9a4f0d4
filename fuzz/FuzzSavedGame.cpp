// Feeds arbitrary bytes to the saved-game reader and, when it accepts them,
// restores them into a board, runs it a few updates, and checks that the
// board holds only what it can draw and play, and that saving the restored
// game gives a file that restores to the same bytes again.

#include "game/app/saves/SavedGame.h"
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

void CheckTile(const DominoFish& f)
{
    Check(f.orientation == 3);
    Check(f.lockType >= -1 && f.lockType <= LevelFile::kMaxMarkType);
    Check(f.itemType >= -1 && f.itemType <= LevelFile::kMaxMarkType);
    Check(f.style >= 0 && f.style <= 3);
    if (f.joker)
        Check(f.valueA == DominoFish::kJoker && f.valueB == DominoFish::kJoker);
    else
        Check(f.valueA >= 0 && f.valueA <= LevelFile::kMaxTileValue && f.valueB >= 0 &&
              f.valueB <= LevelFile::kMaxTileValue);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    SavedGameData parsed;
    bool readable = ReadSavedGame(bytes, parsed);

    FakeBoardHost host;
    BoardRules rules(host);
    host.onUpdate = [&rules] { rules.Update(); };
    FishField& field = *rules.field;
    Check(RestoreGameFromBytes(field, bytes) == readable);
    if (!readable)
        return 0;

    Check(field.mode == PlayModeOf(parsed.mode) && field.Score() == parsed.score);
    Check(field.FishCount() == field.CountFish());
    Check(static_cast<int>(field.layers.size()) <= LevelFile::kMaxLayers);
    for (size_t l = 0; l < field.layers.size(); ++l)
        for (const auto& f : field.layers[l]) {
            CheckTile(*f);
            Check(f->layer == static_cast<int>(l));
        }
    Check(rules.playLine->fish.size() == 2);
    for (const auto& f : rules.playLine->fish)
        CheckTile(*f);
    Check(rules.deck->places.size() <= static_cast<size_t>(Deck::kMaxPlaces));
    for (const auto& f : rules.deck->fish)
        CheckTile(*f);
    for (const Place& p : rules.deck->places)
        for (const auto& f : p)
            CheckTile(*f);

    host.Ticks(3);
    std::string saved = FormatSavedGame(field);
    FakeBoardHost host2;
    BoardRules again(host2);
    Check(RestoreGameFromBytes(*again.field, saved));
    Check(FormatSavedGame(*again.field) == saved);
    return 0;
}
