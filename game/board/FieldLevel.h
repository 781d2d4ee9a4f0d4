#pragma once

// FieldLevel: the data of the level the field plays, as the level file (or a
// saved game) sets it: where it came from, its number, the tile values it
// deals, where its layers sit, its background and music and the deck size.
// FishField holds one; the level reader, saved games and the editor fill it,
// the rules and the board view read it.

#include <array>
#include <memory>
#include <string>

#include "framework/graphics/Image.h"

namespace Zorvin {

struct FieldLevel {
    static constexpr int kMaxTypes = 31;

    std::string path;
    // The board's level number (1 deals the first move for sure).
    int number = 1;
    // The values a deal draws from: the first typeCount entries.
    std::array<int, kMaxTypes> types = {0, 1};
    int typeCount = 2;
    // Where the layers sit on the board.
    int shiftX = 0, shiftY = 0;
    std::string backgroundName;
    std::unique_ptr<Image> backgroundImage;
    int musicTrack = 0;
    int cardsInDeck = 12;
    // The style the level editor gives new tiles (saved games keep it).
    int editorStyle = 0;
};

} // namespace Zorvin
