#pragma once

// SampleLayouts: a few built-in level layouts (30 to 100 tiles in 2 to 5
// layers) that the headless player and the benchmarks deal without any level
// file. Positions follow the level grid: 20 pixels per column, 25 per row.

#include <string>
#include <vector>

namespace Zorvin {

class FishField;

struct SampleTile {
    int layer;
    int x, y;
    int lockType = -1;
    int itemType = -1;
    bool joker = false;
};

struct SampleLayout {
    std::string name;
    std::vector<int> types;
    int cardsInDeck = 12;
    std::vector<SampleTile> tiles;

    int LayerCount() const;
};

// The built-in layouts, always the same.
const std::vector<SampleLayout>& SampleLayouts();

// Fills a cleared field with a layout, the way the level reader would.
void LoadSampleLayout(const SampleLayout& layout, FishField& field, int style);

} // namespace Zorvin
