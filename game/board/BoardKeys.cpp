#include "game/board/BoardKeys.h"

#include <cstdlib>
#include <limits>

#include "game/board/BoardRules.h"

namespace Zorvin {

namespace {

// How the deck's pile is drawn: three backs stepping 7 pixels up and right.
constexpr int kDeckWidth = 94;
constexpr int kDeckHeight = 64;
constexpr int kDeckRise = 14;

Rect DrawnRect(const DominoFish& f) { return Rect(f.left, f.top, f.width, f.height); }
int CentreX(const Rect& r) { return r.x + r.width / 2; }
int CentreY(const Rect& r) { return r.y + r.height / 2; }

} // namespace

BoardKeys::BoardKeys(BoardRules& rules) : rules(rules) {}

template <typename F> void BoardKeys::ForEachTarget(F&& visit) const
{
    const FishField& field = *rules.field;
    for (int l = 0; l < static_cast<int>(field.layers.size()); ++l) {
        const Layer& layer = field.layers[l];
        for (int i = 0; i < static_cast<int>(layer.size()); ++i) {
            DominoFish* f = layer[i].get();
            if (f->open && f->visible)
                visit(Target{Kind::Tile, f, l, i, DrawnRect(*f)});
        }
    }
    const Deck& deck = *rules.deck;
    if (field.mode == PlayMode::Drag) {
        for (int p = 0; p < static_cast<int>(deck.places.size()); ++p) {
            const Place& pile = deck.places[p];
            if (!pile.empty() && pile.back()->open)
                visit(Target{Kind::Place, pile.back().get(), p, static_cast<int>(pile.size()) - 1,
                             DrawnRect(*pile.back())});
        }
    }
    visit(Target{Kind::Deck, nullptr, -1, -1, Rect(deck.x, deck.y - kDeckRise, kDeckWidth, kDeckHeight)});
}

std::vector<BoardKeys::Target> BoardKeys::Targets() const
{
    std::vector<Target> all;
    ForEachTarget([&](const Target& t) { all.push_back(t); });
    return all;
}

void BoardKeys::Reset()
{
    focus = {};
    picked = false;
    side = 1;
}

BoardKeys::Target BoardKeys::Resolve()
{
    Target found;
    if (focus.kind != Kind::None) {
        ForEachTarget([&](const Target& t) {
            if (t.kind == focus.kind && t.fish == focus.fish)
                found = t;
        });
    }
    if (found.kind == Kind::None) {
        // The focused tile is gone: the nearest target takes its place, a
        // playable tile first when nothing was focused yet.
        picked = false;
        long best = std::numeric_limits<long>::max();
        bool fresh = focus.kind == Kind::None;
        ForEachTarget([&](const Target& t) {
            long dx = CentreX(t.area) - lastX, dy = CentreY(t.area) - lastY;
            long d = dx * dx + dy * dy;
            if (fresh && !(t.fish && t.fish->playable))
                d += 1L << 40;
            if (d < best) {
                best = d;
                found = t;
            }
        });
    }
    focus = found;
    lastX = CentreX(found.area);
    lastY = CentreY(found.area);
    return found;
}

BoardKeys::Target BoardKeys::Focused()
{
    if (!shown || rules.field->mode == PlayMode::Editor)
        return {};
    return Resolve();
}

bool BoardKeys::Ready() const
{
    const FishField& field = *rules.field;
    return !field.Loading() && !rules.deck->dealing && field.mode != PlayMode::Editor && !field.drag.Dragging() &&
           !rules.deck->drag.Dragging();
}

void BoardKeys::Move(int dx, int dy)
{
    if (!Ready())
        return;
    bool wasShown = shown;
    shown = true;
    Target from = Resolve();
    // The first key only shows where the focus is.
    if (!wasShown || from.kind == Kind::None)
        return;
    if (picked) {
        // A picked tile: Left and Right choose the end of the line.
        if (dx != 0)
            side = dx;
        return;
    }
    int cx = CentreX(from.area), cy = CentreY(from.area);
    Target best = from;
    long bestScore = std::numeric_limits<long>::max();
    ForEachTarget([&](const Target& t) {
        if (t.kind == from.kind && t.fish == from.fish)
            return;
        long vx = CentreX(t.area) - cx, vy = CentreY(t.area) - cy;
        long along = vx * dx + vy * dy;
        if (along <= 0)
            return;
        // Straight ahead wins over a nearer target off to the side.
        long score = along + 3 * std::labs(vx * dy - vy * dx);
        if (score < bestScore) {
            bestScore = score;
            best = t;
        }
    });
    focus = best;
    lastX = CentreX(best.area);
    lastY = CentreY(best.area);
}

bool BoardKeys::Activate()
{
    if (!Ready())
        return false;
    bool wasShown = shown;
    shown = true;
    Target t = Resolve();
    if (!wasShown || t.kind == Kind::None)
        return true;
    if (t.kind == Kind::Deck) {
        ClickDeck();
    } else if (rules.field->mode == PlayMode::Click) {
        ClickTile(t);
    } else if (!picked) {
        // Only a tile that fits an end is picked; the end it fits is
        // chosen for it, the right one when both fit.
        const PlayLine& line = *rules.playLine;
        if (line.First() && !t.fish->IsGliding() && !t.fish->IsTurning()) {
            if (line.EndAccepts(*t.fish, 1))
                side = 1, picked = true;
            else if (line.EndAccepts(*t.fish, -1))
                side = -1, picked = true;
        }
    } else if (ChosenSideFits()) {
        PutPicked(t);
    }
    return true;
}

void BoardKeys::FocusHint()
{
    const DominoFish* hinted = rules.field->HintedTile();
    if (!hinted || !Ready())
        return;
    ForEachTarget([&](const Target& t) {
        if (t.fish == hinted) {
            focus = t;
            picked = false;
            shown = true;
        }
    });
}

bool BoardKeys::Cancel()
{
    if (!picked)
        return false;
    picked = false;
    return true;
}

bool BoardKeys::ChosenSideFits()
{
    const PlayLine& line = *rules.playLine;
    Target t = Focused();
    return t.fish && line.First() && line.EndAccepts(*t.fish, side);
}

void BoardKeys::ClearHovers()
{
    rules.field->drag.Clear();
    rules.deck->drag.Clear();
}

void BoardKeys::ClickTile(const Target& t)
{
    ClearHovers();
    rules.field->drag.Hover(t.fish, t.group, t.index);
    t.fish->hover = true;
    int x = CentreX(t.area), y = CentreY(t.area);
    rules.MouseDown(1, x, y);
    rules.MouseUp(1, x, y);
    rules.field->drag.Clear();
}

void BoardKeys::PutPicked(const Target& t)
{
    ClearHovers();
    TileDrag& drag = t.kind == Kind::Tile ? rules.field->drag : rules.deck->drag;
    drag.Hover(t.fish, t.group, t.index);
    t.fish->hover = true;
    int x = CentreX(t.area), y = CentreY(t.area);
    Rect to = rules.playLine->JoinRect(side);
    rules.MouseDown(1, x, y);
    rules.MouseDrag(CentreX(to), CentreY(to));
    rules.MouseUp(1, CentreX(to), CentreY(to));
    picked = false;
}

void BoardKeys::ClickDeck()
{
    if (!Ready())
        return;
    ClearHovers();
    picked = false;
    const Deck& deck = *rules.deck;
    rules.MouseUp(1, deck.x + kDeckWidth / 2, deck.y + 20);
}

} // namespace Zorvin
