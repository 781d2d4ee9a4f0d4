#pragma once

// BoardMarks: the marks the board draws over a level to guide the player:
// the keyboard's focus ring (with the end of the line a picked tile goes
// to) and the glow of a hint around the hinted tile and where it goes. It
// only reads the rules; the Board draws it last, over everything of the
// level, and writes what it shows into its scene key.

#include "framework/core/Rect.h"

namespace Zorvin {

class BoardRules;
class Graphics;

class BoardMarks {
public:
    // What the marks show now, all in board pixels; empty rectangles are
    // not drawn.
    struct State {
        Rect focus;
        bool picked = false;
        // The end a picked tile goes to, and whether it fits there.
        Rect end;
        bool endFits = false;
        Rect hintTile;
        Rect hintEnds[2];
        // The glow's brightness, 0-255, breathing with the update count.
        int glow = 0;
        bool operator==(const State&) const = default;
    };

    static State Read(BoardRules& rules, int updateCount);
    static void Draw(Graphics* g, const State& s);

private:
    static void DrawRing(Graphics* g, const Rect& r, bool picked);
    static void DrawGlow(Graphics* g, const Rect& r, int strength);
};

} // namespace Zorvin
