#include "game/board/view/BoardMarks.h"

#include <cmath>

#include "framework/graphics/Graphics.h"
#include "game/board/BoardRules.h"

namespace Zorvin {

namespace {

constexpr float kPi = 3.1415927f;
// The glow breathes once a second (100 updates), in ten steps: it reads as
// a pulse, and the board repaints ten times a second for it rather than on
// every update.
constexpr int kGlowPeriod = 100;
constexpr int kGlowStep = 10;
constexpr int kGlowWidth = 10;
const Color kFocusColor(255, 214, 40);
const Color kPickedColor(90, 230, 255);
const Color kFitsColor(90, 255, 120);
const Color kNoFitColor(255, 80, 60);
const Color kGlowColor(255, 160, 0);

Rect Grown(const Rect& r, int by) { return Rect(r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by); }

Rect DrawnRect(const DominoFish& f) { return Rect(f.left, f.top, f.width, f.height); }

} // namespace

BoardMarks::State BoardMarks::Read(BoardRules& rules, int updateCount)
{
    State s;
    BoardKeys& keys = *rules.keys;
    BoardKeys::Target t = keys.Focused();
    if (t.kind != BoardKeys::Kind::None) {
        s.focus = t.area;
        s.picked = keys.Picked();
        if (s.picked) {
            s.end = rules.playLine->JoinRect(keys.ChosenSide());
            s.endFits = keys.ChosenSideFits();
        }
    }
    if (const DominoFish* hinted = rules.field->HintedTile()) {
        s.hintTile = DrawnRect(*hinted);
        int ends = rules.field->HintedEnds();
        if (rules.field->mode == PlayMode::Click && rules.playLine->Last()) {
            s.hintEnds[0] = DrawnRect(*rules.playLine->Last());
        } else {
            if (ends & FishField::kHintLeftEnd)
                s.hintEnds[0] = rules.playLine->JoinRect(-1);
            if (ends & FishField::kHintRightEnd)
                s.hintEnds[1] = rules.playLine->JoinRect(1);
        }
        int step = updateCount % kGlowPeriod / kGlowStep * kGlowStep;
        float phase = static_cast<float>(step) / kGlowPeriod;
        s.glow = 205 + static_cast<int>(50.0f * std::sin(2.0f * kPi * phase));
    }
    return s;
}

void BoardMarks::Draw(Graphics* g, const State& s)
{
    g->PushState();
    g->ClearClipRect();
    for (const Rect& r : {s.hintTile, s.hintEnds[0], s.hintEnds[1]}) {
        if (!r.IsEmpty())
            DrawGlow(g, r, s.glow);
    }
    if (!s.focus.IsEmpty())
        DrawRing(g, s.focus, s.picked);
    if (!s.end.IsEmpty()) {
        // Where the picked tile goes: green when it fits there, red when not.
        Rect r = Grown(s.end, 2);
        g->SetColor(s.endFits ? kFitsColor : kNoFitColor);
        for (int i = 0; i < 3; ++i)
            g->DrawRect(Grown(r, i));
    }
    g->PopState();
}

void BoardMarks::DrawRing(Graphics* g, const Rect& r, bool picked)
{
    // A dark edge on both sides keeps the ring readable on light and dark art.
    Rect ring = Grown(r, 3);
    g->SetColor(Color(0, 0, 0, 200));
    g->DrawRect(Grown(ring, 3));
    g->DrawRect(Grown(ring, -1));
    g->SetColor(picked ? kPickedColor : kFocusColor);
    for (int i = 0; i < 3; ++i)
        g->DrawRect(Grown(ring, i));
}

void BoardMarks::DrawGlow(Graphics* g, const Rect& r, int strength)
{
    // A bright edge on the tile, then rings fading outward from it.
    g->SetColor(Color(kGlowColor.red, kGlowColor.green, kGlowColor.blue, strength));
    g->DrawRect(r);
    g->DrawRect(Grown(r, -1));
    for (int i = 1; i <= kGlowWidth; ++i) {
        int a = strength * (kGlowWidth + 1 - i) / (kGlowWidth + 1);
        g->SetColor(Color(kGlowColor.red, kGlowColor.green, kGlowColor.blue, a));
        g->DrawRect(Grown(r, i));
    }
}

} // namespace Zorvin
