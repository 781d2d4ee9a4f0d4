#pragma once

// Deck: the stock of spare tiles at the bottom left of the board, and in drag
// mode the column of places above it. In click mode a click draws the top
// tile as the new current tile; in drag mode a click deals one tile to each
// place (or gathers the places back while redeals last) and the top tile of a
// place can be dragged to the play line like an open tile of the field. The
// Board owns the deck; the deck owns its tiles and those of its places.

#include <memory>
#include <vector>

#include "game/board/DominoFish.h"
#include "game/board/TileDrag.h"
#include "game/board/TilePut.h"

namespace Zorvin {

class FishField;
class PlayLine;

// A pile of tiles on a place; the last one is the top.
using Place = std::vector<std::unique_ptr<DominoFish>>;

class Deck {
public:
    static constexpr int kMaxPlaces = 4;

    Deck(FishField& field, PlayLine& playLine);
    ~Deck();
    Deck(const Deck&) = delete;
    Deck& operator=(const Deck&) = delete;

    // What a release of the button did to the deck: a tile it hands to the
    // line (a tile of a place dropped on an end, or one drawn in click
    // mode), or a deal to the places.
    struct Release {
        TilePut put;
        bool dealt = false;
    };

    // Empties the deck and the places and fills the deck with `count` new tiles.
    void Fill(int count);
    void CountMoves();
    // The value for the free half of a tile drawn in click mode.
    int ChooseValue() const;
    // No tile of the deck or of a place is gliding or flipping.
    bool IsIdle() const;
    void Update();

    bool MouseMove(int px, int py);
    void MouseDown(int clickCode, int px, int py);
    bool MouseDrag(int px, int py);
    // The caller counts the deck's moves again once it has made the put.
    Release MouseUp(int clickCode, int px, int py);

    // Puts a tile taken from place `placeIndex` back (undo).
    void UndoPlaceFish(std::unique_ptr<DominoFish> fish, int placeIndex, int originX, int originY);
    // Bonuses: one more tile in the deck, one more place.
    void AddBonusFish();
    void AddPlace();

    // The clip window of place i.
    void PlaceWindow(int i, int rect[4]) const;
    bool InDeckArea(int px, int py) const;

    FishField* field;
    PlayLine* playLine;
    bool dealing = false;
    int style = 0;
    int x = 5, y = 540;
    int deckMoves = 0;
    std::vector<std::unique_ptr<DominoFish>> fish;
    std::vector<Place> places;
    int redealsLeft = 2;
    int placeCount = 2;
    // The top tile of a place under the pointer and its drag.
    TileDrag drag;

private:
    // Click mode: the top tile becomes the current tile of the line.
    TilePut DrawFromDeck(int clickCode);
    // Drag mode: deals a tile to each place, or gathers the places back.
    void DealToPlaces();
    // The first time a player sees the deck gathered, its number is explained.
    void ExplainRedeals();
    bool Matches(const DominoFish& f, int l, int r) const;
    // Slides the fish of a pile of three or more by (dx, dy) within its window.
    void ShiftPile(int placeIndex, int dx, int dy);
    std::unique_ptr<DominoFish> NewFish(int fx, int fy);
};

// Pick an index with probability proportional to its weight: with s the sum
// of the weights, the first index whose running sum exceeds rand() % s.
// Returns -1 when the weights sum to 0 or less.
int WeightedPick(const int* weights, int count);

} // namespace Zorvin
