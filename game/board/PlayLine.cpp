#include "game/board/PlayLine.h"

#include <cmath>

#include "framework/core/Cp1251.h"
#include "game/board/BoardHost.h"
#include "game/board/ComboMeter.h"
#include "game/board/Deck.h"
#include "game/board/FishField.h"

namespace Zorvin {

namespace {
const int kLeftClip[4] = {320, 540, 80, 60};
const int kRightClip[4] = {400, 540, 90, 60};
// A dragged tile joins an end when its drag point is within this distance of
// the end's join point.
constexpr float kSnapDistance = 50;
} // namespace

PlayLine::PlayLine(FishField& field) : field(&field) {}

void PlayLine::ResetLine(int a, int b)
{
    fish.clear();
    int style = field->deck ? field->deck->style : 0;
    bool click = field->mode == FishField::kClickMode;
    for (int i = 0; i < 2; ++i) {
        auto f = std::make_unique<DominoFish>(400, 565, 3, 0, field);
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

void PlayLine::Attach(std::unique_ptr<DominoFish> owned, int side)
{
    if (!owned || fish.empty() || side == 0)
        return;
    DominoFish& f = *owned;
    if (side < 0) {
        DominoFish& first = *fish.front();
        f.SetPosition(first.x - 80, first.y);
        first.GlideTo(0, kLeftClip, first.x + 80, first.y, 60);
        fish.insert(fish.begin(), std::move(owned));
        f.GlideTo(0, nullptr, 358, 565, 60);
    } else {
        DominoFish& last = *fish.back();
        f.SetPosition(last.x + 80, last.y);
        last.GlideTo(0, kRightClip, last.x - 80, last.y, 60);
        fish.push_back(std::move(owned));
        f.GlideTo(0, nullptr, 440, 565, 60);
    }
    f.open = true;
    f.hover = false;
    f.dragged = false;
    f.overlapPartner = -1;
    snapSide = 1;
    putMade = true;
    field->AwardBonus(f);
    if (field->comboMeter)
        field->comboMeter->Add(5);
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
    f.GlideTo(0, nullptr, 520 - 7 * f.layer, 565 + 7 * f.layer, 30);
    f.toPlayLine = true;
    snapSide = 1;
    putMade = true;
    field->changed = true;
}

void PlayLine::Arrive(DominoFish& f)
{
    f.SetPosition(520, 565);
    f.GlideTo(0, nullptr, 440, 565, 30);
    field->AwardBonus(f);
    for (size_t i = 1; i < fish.size(); ++i) {
        if (fish[i].get() == &f) {
            fish[i - 1]->GlideTo(0, nullptr, 400, 565, 15);
            break;
        }
    }
    field->RecomputePlayable();
    field->CheckEnd();
    PlayerProfile* p = field->app->CurrentProfile();
    if (field->movesAvailable == 0 && p && !p->deckHintShown) {
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
