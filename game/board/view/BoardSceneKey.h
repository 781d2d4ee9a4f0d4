#pragma once

// BoardSceneKey: everything the board's frame shows, written down as a row
// of numbers: every tile's drawn place, face, cel, angle, transparency and
// glitter, the carried items' bob as it lands on whole pixels, the combo
// meter's bar in whole rows, the popups, the top-bar figures, the line, the
// deck and the places, and the pictures in use. Two equal rows draw the same
// pixels, so the Board repaints only when the row taken after an update
// differs from the one before; animations that run for ever (a bobbing key,
// the glitter) so cost a repaint only when they move by a pixel or a cel.
// The Board owns one.

#include <cstdint>
#include <vector>

namespace Zorvin {

class Board;
class DominoFish;

class BoardSceneKey {
public:
    // Takes the board's current row; true when it differs from the last one
    // taken (always true the first time).
    bool Refresh(const Board& board);
    // Forgets the last row, so the next Refresh reports a change.
    void Reset() { last.clear(); }

private:
    void Put(int value) { row.push_back(static_cast<uint32_t>(value)); }
    void Put(float value);
    void Put(const void* pointer);
    void PutFish(const Board& board, const DominoFish& f);
    void PutField(const Board& board);
    void PutLineAndDeck(const Board& board);
    void PutMeterAndPictures(const Board& board);

    std::vector<uint32_t> row;
    std::vector<uint32_t> last;
};

} // namespace Zorvin
