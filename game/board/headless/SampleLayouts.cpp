#include "game/board/headless/SampleLayouts.h"

#include <algorithm>
#include <memory>

#include "game/board/Deck.h"
#include "game/board/FishField.h"

namespace Zorvin {

namespace {

// A block of lying tiles: cols x rows tiles of 80 x 50 pixels whose top-left
// tile has its centre at (x, y).
void Block(SampleLayout& l, int layer, int x, int y, int cols, int rows)
{
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            l.tiles.push_back({layer, x + 80 * c, y + 50 * r});
    }
}

SampleTile* Find(SampleLayout& l, int layer, int x, int y)
{
    for (SampleTile& t : l.tiles) {
        if (t.layer == layer && t.x == x && t.y == y)
            return &t;
    }
    return nullptr;
}

std::vector<SampleLayout> Build()
{
    std::vector<SampleLayout> all;

    // A three-storey pyramid, 38 tiles.
    SampleLayout pyramid{"pyramid", {0, 3, 6, 9, 12, 15}, 12, {}};
    Block(pyramid, 0, 200, 100, 6, 4);
    Block(pyramid, 1, 240, 125, 5, 3);
    Block(pyramid, 2, 280, 150, 4, 2);
    all.push_back(pyramid);

    // A fortress of four storeys with two locked gates and their key, 86 tiles.
    SampleLayout fortress{"fortress", {1, 4, 7, 10, 13, 16, 19}, 12, {}};
    Block(fortress, 0, 180, 75, 7, 6);
    Block(fortress, 1, 220, 100, 6, 5);
    Block(fortress, 2, 260, 125, 5, 3);
    Block(fortress, 3, 300, 150, 4, 1);
    Find(fortress, 1, 220, 100)->lockType = 0;
    Find(fortress, 1, 620, 100)->lockType = 0;
    Find(fortress, 3, 540, 150)->itemType = 0;
    all.push_back(fortress);

    // Two towers of five storeys with a joker on top of one, 60 tiles.
    SampleLayout towers{"towers", {2, 5, 8, 11, 14, 17}, 12, {}};
    for (int k = 0; k < 5; ++k) {
        int cols = k % 2 == 0 ? 3 : 2;
        int rows = k % 2 == 0 ? 3 : 2;
        int dx = k % 2 == 0 ? 0 : 40;
        int dy = k % 2 == 0 ? 0 : 25;
        Block(towers, k, 180 + dx, 100 + dy, cols, rows);
        Block(towers, k, 460 + dx, 100 + dy, cols, rows);
    }
    Find(towers, 4, 180, 100)->joker = true;
    all.push_back(towers);

    // A wide wall of two storeys with a stepped front row, 67 tiles.
    SampleLayout wall{"wall", {0, 2, 4, 6, 8, 10, 12, 14}, 14, {}};
    Block(wall, 0, 150, 60, 8, 5);
    Block(wall, 1, 190, 85, 7, 3);
    for (int c = 0; c < 6; ++c)
        wall.tiles.push_back({1, 230 + 80 * c, 260 + (c % 2) * 25});
    Find(wall, 1, 190, 85)->lockType = 1;
    Find(wall, 1, 670, 185)->itemType = 1;
    all.push_back(wall);
    return all;
}

} // namespace

int SampleLayout::LayerCount() const
{
    int n = 0;
    for (const SampleTile& t : tiles)
        n = std::max(n, t.layer + 1);
    return n;
}

const std::vector<SampleLayout>& SampleLayouts()
{
    static const std::vector<SampleLayout> layouts = Build();
    return layouts;
}

void LoadSampleLayout(const SampleLayout& layout, FishField& field, int style)
{
    field.level.typeCount = static_cast<int>(std::min<size_t>(layout.types.size(), FieldLevel::kMaxTypes));
    for (int i = 0; i < field.level.typeCount; ++i)
        field.level.types[i] = layout.types[i];
    field.level.cardsInDeck = layout.cardsInDeck;
    field.level.shiftX = field.level.shiftY = 0;
    if (field.deck)
        field.deck->style = style;
    field.layers.resize(layout.LayerCount());
    // Reading order within a layer: rows from the top, each right to left.
    std::vector<SampleTile> tiles = layout.tiles;
    std::stable_sort(tiles.begin(), tiles.end(), [](const SampleTile& a, const SampleTile& b) {
        if (a.layer != b.layer)
            return a.layer < b.layer;
        if (a.y != b.y)
            return a.y < b.y;
        return a.x > b.x;
    });
    for (const SampleTile& t : tiles) {
        auto f = std::make_unique<DominoFish>(t.x, t.y, 3, t.layer, &field);
        f->style = style;
        f->lockType = t.lockType;
        f->itemType = t.itemType;
        if (t.joker)
            f->MakeJoker(true);
        field.layers[t.layer].push_back(std::move(f));
    }
    field.RecountFish();
}

} // namespace Zorvin
