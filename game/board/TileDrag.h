#pragma once

// TileDrag: the pointer's hold on one tile of a pile the player can take
// tiles from (a layer of the field or a place of the deck): which tile is
// under the pointer and where it lies, picking it up, the right-button turn
// toward a joker end, dragging it along the play line, and letting it go:
// either it joins an end of the line, or it glides back to where it was
// picked up. The field and the deck each own one and say only how to find a
// tile under the pointer and what to do with a tile that joins.

#include <functional>

#include "game/board/DominoFish.h"
#include "game/board/TilePut.h"

namespace Zorvin {

class PlayLine;

class TileDrag {
public:
    // A tile of a pile and where it lies: `group` is its layer or place,
    // `index` its position there.
    struct Hit {
        DominoFish* fish = nullptr;
        int group = -1;
        int index = -1;
    };
    // Finds the tile under (px, py); HitTest marks the one it returns.
    using Finder = std::function<Hit(int px, int py)>;

    DominoFish* Hovered() const { return hit.fish; }
    int Group() const { return hit.group; }
    int Index() const { return hit.index; }
    bool Dragging() const { return hit.fish && hit.fish->dragged; }

    // Hovers `fish` (the level editor places and moves tiles itself).
    void Hover(DominoFish* fish, int group, int index) { hit = {fish, group, index}; }
    // The tile's place changed (it was found again after an undo).
    void Relocate(int group, int index);
    // Lets go of the hovered tile, which no longer shows hovered.
    void Clear();
    // Forgets the hovered tile without touching it (it is being destroyed).
    void Forget() { hit = {}; }

    // The pointer moved: a dragged tile and a tile still under the pointer
    // stay hovered, otherwise `find` picks the new one. True when a new tile
    // became hovered.
    bool Track(int px, int py, const Finder& find);
    // Left button: picks the hovered tile up where it lies. Right button:
    // turns it toward a joker end of the line.
    void Press(PlayLine& line, int clickCode, int px, int py);
    // Moves a picked-up tile along with the pointer; false when none is.
    bool Drag(PlayLine& line, int px, int py);
    // The end of the line the dragged tile would join now, 0 for none.
    int JoinSide(const PlayLine& line) const;
    // Lets go of a dragged tile that joins no end: dropped at (px, py), it
    // glides back to where it was picked up, drawn for layer `shift` (in 30
    // updates from farther than 50 pixels, else at once). Returns the tile,
    // which is no longer hovered.
    DominoFish& GlideBack(int px, int py, int shift);
    // The undo record of a put of the hovered tile from `source`: where it
    // was picked up and where it lay.
    LastMove MoveRecord(PutSource source) const;
    // Remembers the hovered tile's place and how it lies as where it was
    // picked up (a click-mode put takes it straight from there).
    void MarkOrigin();

private:
    Hit hit;
    int originX = 0, originY = 0;
    int originOrientation = -1;
};

} // namespace Zorvin
