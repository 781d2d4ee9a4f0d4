#include "game/board/TileDrag.h"

#include <cmath>

#include "game/board/PlayLine.h"

namespace Zorvin {

void TileDrag::Relocate(int group, int index)
{
    hit.group = group;
    hit.index = index;
}

void TileDrag::Clear()
{
    if (hit.fish)
        hit.fish->hover = false;
    hit = {};
}

bool TileDrag::Track(int px, int py, const Finder& find)
{
    if (hit.fish && (hit.fish->dragged || hit.fish->HitTest(px, py)))
        return false;
    DominoFish* previous = hit.fish;
    hit = find(px, py);
    if (previous && previous != hit.fish)
        previous->hover = false;
    return hit.fish && hit.fish != previous;
}

void TileDrag::MarkOrigin()
{
    if (!hit.fish)
        return;
    originX = hit.fish->x;
    originY = hit.fish->y;
    originOrientation = hit.fish->orientation;
}

void TileDrag::Press(PlayLine& line, int clickCode, int px, int py)
{
    if (!hit.fish)
        return;
    if (clickCode == 1) {
        MarkOrigin();
        hit.fish->DragTo(px, py);
    } else if (clickCode == -1) {
        line.TurnTowardJokerEnd(*hit.fish, px, py);
    }
}

bool TileDrag::Drag(PlayLine& line, int px, int py)
{
    if (!Dragging())
        return false;
    line.DragFish(*hit.fish, px, py);
    return true;
}

int TileDrag::JoinSide(const PlayLine& line) const
{
    return Dragging() ? line.AttachSide(*hit.fish) : 0;
}

DominoFish& TileDrag::GlideBack(int px, int py, int shift)
{
    DominoFish& f = *hit.fish;
    f.dragged = false;
    f.SetPosition(px, py);
    float d = std::hypot(float(px - originX), float(py - originY));
    f.GlideTo(shift, nullptr, originX, originY, d > 50 ? 30 : 1);
    Clear();
    return f;
}

LastMove TileDrag::MoveRecord(PutSource source) const
{
    LastMove m;
    m.source = source;
    m.originX = originX;
    m.originY = originY;
    m.orientation = originOrientation;
    m.layer = hit.group;
    m.index = hit.index;
    m.fish = hit.fish;
    return m;
}

} // namespace Zorvin
