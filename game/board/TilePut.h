#pragma once

// TilePut: a tile on its way from the field or the deck to the play line,
// and the record undo keeps of the last one. The field and the deck hand a
// put back to BoardRules instead of making it themselves; the rules record
// it, give the tile to the line and let the source settle, so one place
// decides what a put does.

#include <memory>

#include "game/board/DominoFish.h"

namespace Zorvin {

// Where a put came from.
enum class PutSource { Field = 0, Deck = 1 };

// The last put, for undo. A tile of the field keeps its layer and its index
// in that layer; a tile of the deck in drag mode its place (`layer`) and its
// position in the pile (`index`); a tile drawn in click mode has index -1.
struct LastMove {
    PutSource source = PutSource::Field;
    // Every point the move added (the put's score and the points of the
    // bonus it collected); undo takes them all back.
    int lastPoints = 0;
    int originX = 0;
    int originY = 0;
    // How the tile lay when it was picked up (it may turn on its way to
    // the line); -1 when not known.
    int orientation = -1;
    int layer = -1;
    int index = -1;
    DominoFish* fish = nullptr;
};

struct TilePut {
    // The tile taken from its source; null when the action made no put.
    std::unique_ptr<DominoFish> tile;
    // Where it came from (its `fish` is filled in when the put is recorded).
    LastMove move;
    // Drag mode: the line end it joins (-1 left, 1 right). 0: a click-mode
    // put on the current tile, turned for `clickCode`.
    int side = 0;
    int clickCode = 1;
};

} // namespace Zorvin
