#pragma once

// BoardSceneKey: everything the board's frame shows, written down as a row
// of numbers: every tile's drawn place, face, cel, angle, transparency and
// glitter, the carried items' bob as it lands on whole pixels, the combo
// meter's bar in whole rows, the popups, the top-bar figures, the line, the
// deck and the places, and the pictures in use. Two equal rows draw the same
// pixels, so the Board repaints only when the row taken after an update
// differs from the one before. The animations that run for ever on a tile
// at rest in the field (its item's cel and bob, its glitter) are kept apart,
// each with the rectangle it covers: when only they changed, the board
// repaints just those rectangles as they were and as they are now. The
// Board owns one.

#include <cstdint>
#include <vector>

#include "framework/core/Rect.h"

namespace Zorvin {

class Board;
class DominoFish;

class BoardSceneKey {
public:
    enum class Change { None, Areas, Whole };

    // Takes the board's current row and compares it with the last one
    // taken: Whole when anything but the resting tiles' animations changed
    // (always the first time), Areas when only those did.
    Change Refresh(const Board& board);
    // After Refresh reported Areas: the changed animations' rectangles in
    // the board's coordinates, before and after.
    const std::vector<Rect>& ChangedAreas() const { return changedAreas; }
    // Forgets the last row, so the next Refresh reports Whole.
    void Reset()
    {
        last.clear();
        lastSpans.clear();
    }

private:
    // One resting tile's animation: where its numbers start in `anim` and
    // the rectangle they draw.
    struct Span {
        size_t begin = 0;
        Rect area;
    };

    void Put(int value) { out->push_back(static_cast<uint32_t>(value)); }
    void Put(float value);
    void Put(const void* pointer);
    void PutFish(const Board& board, const DominoFish& f, bool inField);
    void PutAnimation(const Board& board, const DominoFish& f, bool apart);
    void PutField(const Board& board);
    void PutLineAndDeck(const Board& board);
    void PutMeterAndPictures(const Board& board);
    bool SpanChanged(size_t i) const;

    std::vector<uint32_t> row;
    std::vector<uint32_t> last;
    std::vector<uint32_t> anim;
    std::vector<uint32_t> lastAnim;
    std::vector<Span> spans;
    std::vector<Span> lastSpans;
    std::vector<Rect> changedAreas;
    // Where Put writes: `row`, or `anim` for a resting tile's animation.
    std::vector<uint32_t>* out = &row;
};

} // namespace Zorvin
