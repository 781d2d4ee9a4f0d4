#include "game/board/PlayLine.h"

#include <cmath>

#include "framework/core/Cp1251.h"
#include "game/board/BoardHost.h"
#include "game/board/ComboMeter.h"
#include "game/board/Deck.h"
#include "game/board/FishField.h"

namespace Zorvin {

namespace {
// A dragged tile joins an end when its drag point is within this distance of
// the end's join point.
constexpr float kSnapDistance = 50;
// The middle of the line, where it starts and where the click-mode tile
// before the current one rests, and the point a clicked tile lands on
// before sliding to the right end.
constexpr int kMiddleX = 400;
constexpr int kArrivalX = 520;
} // namespace

PlayLine::PlayLine(FishField& field) : field(&field) {}

void PlayLine::ResetLine(int a, int b)
{
    fish.clear();
    int style = field->deck ? field->deck->style : 0;
    bool click = field->mode == PlayMode::Click;
    for (int i = 0; i < 2; ++i) {
        auto f = std::make_unique<DominoFish>(kMiddleX, kEndY, 3, 0, field);
        int v = i == 0 && !click ? a : b;
        f->valueA = v;
        f->valueB = v;
        f->open = true;
        f->style = style;
        fish.push_back(std::move(f));
    }
}

int PlayLine::EndOrientation(const DominoFish& f)
{
    // An end tile still turning will show the other way round in a moment;
    // the line is read as it will stand, so nothing is matched against a
    // value that is about to turn away.
    if (f.IsTurning())
        return f.orientation == 3 ? 1 : 3;
    return f.orientation;
}

int PlayLine::LeftEnd() const
{
    if (fish.empty())
        return -1;
    const DominoFish& f = *fish.front();
    if (f.joker)
        return DominoFish::kJoker;
    return EndOrientation(f) == 3 ? f.valueA : f.valueB;
}

int PlayLine::RightEnd() const
{
    if (fish.empty())
        return -1;
    const DominoFish& f = *fish.back();
    if (f.joker)
        return DominoFish::kJoker;
    return EndOrientation(f) == 1 ? f.valueA : f.valueB;
}

int PlayLine::LeftPutValue() const
{
    if (fish.empty())
        return -1;
    const DominoFish& f = *fish.front();
    return EndOrientation(f) == 3 ? f.valueA : f.valueB;
}

void PlayLine::DragFish(DominoFish& f, int px, int py)
{
    f.DragTo(px, py);
    PreviewSnap(f);
    if (f.IsTurning())
        return;
    if (f.dragX >= 400) {
        int c = RightEnd();
        if (c != f.LeftValue() && c == f.RightValue())
            f.StartTurn(1, 0.1f);
    } else {
        int c = LeftEnd();
        if (c != f.RightValue() && c == f.LeftValue())
            f.StartTurn(2, 0.1f);
    }
}

void PlayLine::TurnTowardJokerEnd(DominoFish& f, int px, int py)
{
    if (fish.empty())
        return;
    const DominoFish& first = *fish.front();
    const DominoFish& last = *fish.back();
    // A tile not being dragged is where the pointer is.
    int dx = f.dragged ? f.dragX : px;
    int dy = f.dragged ? f.dragY : py;
    auto dist = [&](int ex, int ey) { return std::hypot(float(dx - ex), float(dy - ey)); };
    const DominoFish& end = dist(last.x + 5, last.y) < dist(first.x - 5, first.y) ? last : first;
    if (end.joker)
        f.StartTurn(2, 0.1f);
}

void PlayLine::GlideEndsHome(bool clipped)
{
    if (fish.empty())
        return;
    fish.front()->GlideTo(0, clipped ? kLeftClip : nullptr, kLeftEndX, kEndY, 60);
    fish.back()->GlideTo(0, clipped ? kRightClip : nullptr, kRightEndX, kEndY, 60);
}

int PlayLine::RightPutValue() const
{
    if (fish.empty())
        return -1;
    const DominoFish& f = *fish.back();
    // An upright tile shows no halves and counts its second half at both
    // ends; the put reads it the same way, so a tile counted as a move can
    // always be put (otherwise a level could stall with moves shown that
    // cannot be made and no game over).
    return EndOrientation(f) == 1 ? f.valueA : f.valueB;
}

void PlayLine::JoinDistances(const DominoFish& f, float& dl, float& dr) const
{
    const DominoFish& first = *fish.front();
    const DominoFish& last = *fish.back();
    dl = std::hypot(float(f.dragX - (first.x - 80)), float(f.dragY - first.y));
    dr = std::hypot(float(f.dragX - (last.x + 80)), float(f.dragY - last.y));
}

bool PlayLine::EndAccepts(const DominoFish& f, int side) const
{
    const DominoFish& end = side < 0 ? *fish.front() : *fish.back();
    int v = side < 0 ? LeftPutValue() : RightPutValue();
    return f.HasHalf(v) || f.joker || end.joker;
}

Rect PlayLine::JoinRect(int side) const
{
    if (fish.empty())
        return {};
    const DominoFish& end = side < 0 ? *fish.front() : *fish.back();
    return Rect(end.x + (side < 0 ? -80 : 80) - 40, end.y - 25, 80, 50);
}

int PlayLine::AttachSide(const DominoFish& f) const
{
    if (fish.empty())
        return 0;
    float dl, dr;
    JoinDistances(f, dl, dr);
    if (std::min(dl, dr) > kSnapDistance)
        return 0;
    int side = dr > dl ? -1 : 1;
    return EndAccepts(f, side) ? side : 0;
}

void PlayLine::PreviewSnap(DominoFish& f)
{
    int side = AttachSide(f);
    // A tile that would not join clears the mark, so a failed drop is never
    // mistaken for a put.
    snapSide = side;
    if (side < 0) {
        f.left = fish.front()->left - 80;
        f.top = fish.front()->top;
    } else if (side > 0) {
        f.left = fish.back()->left + 80;
        f.top = fish.back()->top;
    }
}

void PlayLine::FaceJoiningHalf(DominoFish& f, int side) const
{
    const DominoFish& end = side < 0 ? *fish.front() : *fish.back();
    // Jokers fit either way round (the player turns a tile onto a joker end
    // with the right button), and an upright tile shows no halves.
    if (f.joker || end.joker || (f.orientation != 1 && f.orientation != 3))
        return;
    int v = side < 0 ? LeftPutValue() : RightPutValue();
    int stands = EndOrientation(f);
    // The touching half: the right-hand one at the left end, the left-hand
    // one at the right end.
    int touching = side < 0 ? (stands == 1 ? f.valueA : f.valueB) : (stands == 3 ? f.valueA : f.valueB);
    if (touching == v)
        return;
    // A tile swept from one end to the other may still be turning to fit
    // the end it left: it already faces this one the right way round. A tile
    // that is not turning turns now.
    if (f.IsTurning()) {
        f.rotation = 0;
        f.angle = 0;
    } else {
        f.StartTurn(side < 0 ? 2 : 1, 0.1f);
    }
}

void PlayLine::Attach(std::unique_ptr<DominoFish> owned, int side)
{
    if (!owned || fish.empty() || side == 0)
        return;
    DominoFish& f = *owned;
    FaceJoiningHalf(f, side);
    if (side < 0) {
        DominoFish& first = *fish.front();
        f.SetPosition(first.x - 80, first.y);
        first.GlideTo(0, kLeftClip, first.x + 80, first.y, 60);
        fish.insert(fish.begin(), std::move(owned));
        f.GlideTo(0, nullptr, kLeftEndX, kEndY, 60);
    } else {
        DominoFish& last = *fish.back();
        f.SetPosition(last.x + 80, last.y);
        last.GlideTo(0, kRightClip, last.x - 80, last.y, 60);
        fish.push_back(std::move(owned));
        f.GlideTo(0, nullptr, kRightEndX, kEndY, 60);
    }
    f.open = true;
    f.hover = false;
    f.dragged = false;
    f.overlapPartner = -1;
    snapSide = 1;
}

bool PlayLine::CanPutOnCurrent(const DominoFish& f) const
{
    if (fish.empty())
        return false;
    int b = RightPutValue();
    return f.HasHalf(b) || f.joker || fish.back()->joker;
}

void PlayLine::PutOnCurrent(std::unique_ptr<DominoFish> owned, int clickCode)
{
    if (!owned || fish.empty())
        return;
    DominoFish& f = *owned;
    const DominoFish& current = *fish.back();
    int b = RightPutValue();
    if (!current.joker && b != f.LeftValue() && b == f.RightValue())
        f.StartTurn(2, 0.2f);
    else if (current.joker && clickCode == -1)
        f.StartTurn(2, 0.2f);
    f.open = true;
    f.hover = false;
    f.SetOrientation(f.orientation);
    f.overlapPartner = -1;
    f.overlapLeft = false;
    fish.push_back(std::move(owned));
    f.GlideTo(0, nullptr, kArrivalX - 7 * f.layer, kEndY + 7 * f.layer, 30);
    f.toPlayLine = true;
    snapSide = 1;
    field->MarkChanged();
}

void PlayLine::Arrive(DominoFish& f)
{
    f.SetPosition(kArrivalX, kEndY);
    f.GlideTo(0, nullptr, kRightEndX, kEndY, 30);
    field->AwardBonus(f);
    for (size_t i = 1; i < fish.size(); ++i) {
        if (fish[i].get() == &f) {
            fish[i - 1]->GlideTo(0, nullptr, kMiddleX, kEndY, 15);
            break;
        }
    }
    field->RecomputePlayable();
    field->CheckEnd();
    // The deck tip is for a player stuck on a field that still has tiles and
    // a deck to draw from: not for the winning move (an empty field has no
    // moves either) nor for a lost level. Until then it stays unshown.
    PlayerProfile* p = field->app->CurrentProfile();
    bool stuck = field->FishCount() > 0 && field->MovesAvailable() == 0 && !field->Lost();
    if (stuck && p && !p->deckHintShown) {
        field->app->ShowHint(W("Используйте колоду если на поле нет ходов."), 110, 540);
        p->deckHintShown = true;
    }
}

bool PlayLine::AllSettled() const
{
    for (const auto& f : fish) {
        if (f->IsGliding())
            return false;
    }
    return true;
}

void PlayLine::Update()
{
    for (size_t i = 0; i < fish.size(); ++i)
        fish[i]->Update();
}

std::unique_ptr<DominoFish> PlayLine::Remove(const DominoFish* f)
{
    for (auto it = fish.begin(); it != fish.end(); ++it) {
        if (it->get() == f) {
            std::unique_ptr<DominoFish> owned = std::move(*it);
            fish.erase(it);
            return owned;
        }
    }
    return nullptr;
}

} // namespace Zorvin
