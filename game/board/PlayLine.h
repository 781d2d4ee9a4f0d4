#pragma once

// PlayLine: the row of tiles at the bottom of the board onto which the player
// puts tiles. In drag mode it is a domino chain with two open ends (the first
// tile is the left end, the last the right end); in click mode its last tile
// is the current tile that the next put must match. The Board owns it; the
// line owns its tiles.

#include <memory>
#include <vector>

#include "framework/core/Rect.h"
#include "game/board/DominoFish.h"

namespace Zorvin {

class FishField;

class PlayLine {
public:
    // Where the line's two ends are shown (tile centres), and the windows a
    // tile sliding out of sight behind either end is clipped to.
    static constexpr int kLeftEndX = 358;
    static constexpr int kRightEndX = 440;
    static constexpr int kEndY = 565;
    static constexpr int kLeftClip[4] = {320, 540, 80, 60};
    static constexpr int kRightClip[4] = {400, 540, 90, 60};

    explicit PlayLine(FishField& field);

    // Empties the line and starts it with two lying tiles showing a and b.
    void ResetLine(int a, int b);

    // Drag mode. The end a dragged tile would join: -1 left, 1 right, 0 none
    // (too far from both ends, or not matching the nearer one).
    int AttachSide(const DominoFish& fish) const;
    // Joins `fish` to the line at the end AttachSide names (it must not be 0),
    // with its matching half facing that end: a turn toward the other end
    // that is still running is called off. The caller pays the tile's bonus.
    void Attach(std::unique_ptr<DominoFish> fish, int side);
    // Whether `fish` may join the end `side` (-1 left, 1 right) of a line
    // that has tiles: it shows that end's value, or either is a joker.
    bool EndAccepts(const DominoFish& fish, int side) const;
    // Where a tile joining the end `side` lies: the lying tile's rectangle
    // next to that end tile (the point a drag joins at is its centre);
    // empty for an empty line.
    Rect JoinRect(int side) const;
    // Moves the drawn rectangle of a dragged tile next to the end it would
    // join, and sets snapSide accordingly.
    void PreviewSnap(DominoFish& fish);
    // Moves a dragged tile to the pointer, shows it at an end it fits, and
    // turns it by itself to fit the end it is dragged toward (the right end
    // from the middle of the screen on, else the left).
    void DragFish(DominoFish& fish, int px, int py);
    // Right button on a tile (dragged or under the pointer at px, py): when
    // the end nearer to it is a joker, the tile turns by half a turn, so the
    // player chooses which half faces the joker.
    void TurnTowardJokerEnd(DominoFish& fish, int px, int py);
    // The two end tiles glide back to where the ends are shown, in 60
    // updates, clipped to their windows or not.
    void GlideEndsHome(bool clipped);

    // Click mode. Whether `fish` may become the new current tile.
    bool CanPutOnCurrent(const DominoFish& fish) const;
    // Sends `fish` (which CanPutOnCurrent accepted) to the line.
    void PutOnCurrent(std::unique_ptr<DominoFish> fish, int clickCode);

    // A tile sent by PutOnCurrent finished its flight.
    void Arrive(DominoFish& fish);

    // End values for playability: the first tile's LeftValue and the last
    // tile's RightValue (100 for a joker), -1 for an empty line. A turning
    // end tile is read in the orientation its turn ends in.
    int LeftEnd() const;
    int RightEnd() const;
    // End values for a put: what the ends show by orientation.
    int LeftPutValue() const;
    int RightPutValue() const;

    // True when no tile of the line is gliding.
    bool AllSettled() const;
    void Update();

    // Takes `fish` off the line (undo); null when it is not on the line.
    std::unique_ptr<DominoFish> Remove(const DominoFish* fish);

    DominoFish* First() const { return fish.empty() ? nullptr : fish.front().get(); }
    DominoFish* Last() const { return fish.empty() ? nullptr : fish.back().get(); }

    std::vector<std::unique_ptr<DominoFish>> fish;
    int snapSide = 0;
    FishField* field;

private:
    // The orientation an end tile stands in once its running turn is over.
    static int EndOrientation(const DominoFish& f);
    // Distances from the drag point to the left and right join points.
    void JoinDistances(const DominoFish& fish, float& dl, float& dr) const;
    // Makes a tile joining at `side` show the end's value on the touching half.
    void FaceJoiningHalf(DominoFish& fish, int side) const;
};

} // namespace Zorvin
