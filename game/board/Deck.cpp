#include "game/board/Deck.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/core/Cp1251.h"
#include "game/board/BoardHost.h"
#include "game/board/FishField.h"
#include "game/board/PlayLine.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {
constexpr int kDealGlide = 30;
constexpr int kDealWait = 29;
constexpr int kFlipWait = 9;
} // namespace

int WeightedPick(const int* weights, int count)
{
    long sum = 0;
    for (int i = 0; i < count; ++i)
        sum += std::max(weights[i], 0);
    if (sum <= 0)
        return -1;
    long r = rand() % sum;
    long running = 0;
    for (int i = 0; i < count; ++i) {
        running += std::max(weights[i], 0);
        if (running > r)
            return i;
    }
    return count - 1;
}

Deck::Deck(FishField& field, PlayLine& playLine) : field(&field), playLine(&playLine) {}

Deck::~Deck() = default;

std::unique_ptr<DominoFish> Deck::NewFish(int fx, int fy)
{
    auto f = std::make_unique<DominoFish>(fx, fy, 3, 0, field);
    f->style = style;
    f->open = true;
    return f;
}

void Deck::Fill(int count)
{
    drag.Clear();
    fish.clear();
    places.clear();
    redealsLeft = 2;
    // A level with a single distinct type cannot make a tile with two
    // different halves; it gets doubles instead of hanging here.
    bool twoTypes = false;
    for (int i = 1; i < std::min(field->level.typeCount, FieldLevel::kMaxTypes); ++i)
        twoTypes = twoTypes || field->level.types[i] != field->level.types[0];
    for (int i = 0; i < count; ++i) {
        auto f = NewFish(x + 40 + i, y + 25 - i);
        f->valueB = field->PickType();
        f->valueA = field->PickType();
        while (twoTypes && f->valueA == f->valueB)
            f->valueB = field->PickType();
        if (rand() % 1000 > 950)
            f->MakeJoker(true);
        fish.push_back(std::move(f));
    }
    places.resize(std::clamp(placeCount, 0, kMaxPlaces));
    dealing = false;
}

void Deck::AddBonusFish()
{
    auto f = NewFish(x + 40, y + 25);
    f->valueA = field->PickType();
    f->valueB = field->PickType();
    fish.push_back(std::move(f));
}

void Deck::AddPlace()
{
    if (placeCount >= kMaxPlaces)
        return;
    ++placeCount;
    places.resize(placeCount);
}

void Deck::PlaceWindow(int i, int rect[4]) const
{
    rect[0] = x;
    rect[1] = y - 60 * i - 96;
    rect[2] = 101;
    rect[3] = 71;
}

bool Deck::InDeckArea(int px, int py) const
{
    return x < px && px < x + 101 && y - 21 < py && py < y + 57;
}

void Deck::ShiftPile(int placeIndex, int dx, int dy)
{
    Place& place = places[placeIndex];
    if (place.size() < 3)
        return;
    int clip[4];
    PlaceWindow(placeIndex, clip);
    for (auto& f : place)
        f->GlideTo(0, clip, f->x + dx, f->y + dy, 30);
}

int Deck::ChooseValue() const
{
    int weights[FishField::kValueCount] = {};
    for (int i = 0; i < std::min(field->level.typeCount, FieldLevel::kMaxTypes); ++i) {
        int t = field->level.types[i];
        if (t >= 0 && t < FishField::kValueCount)
            weights[t] = 5;
    }
    int w = field->FishCount() == 1 ? 50 : 10;
    for (const Layer& l : field->layers) {
        for (const auto& f : l) {
            if (!f->open)
                continue;
            for (int v : {f->RightValue(), f->LeftValue()}) {
                if (v >= 0 && v < FishField::kValueCount)
                    weights[v] += w;
            }
        }
    }
    int v = WeightedPick(weights, FishField::kValueCount);
    return v >= 0 ? v : field->PickType();
}

TilePut Deck::DrawFromDeck(int clickCode)
{
    if (fish.empty() || !playLine->Last())
        return {};
    int n = static_cast<int>(fish.size());
    DominoFish& f = *fish.back();
    f.open = true;
    f.SetPosition(x + 20 + 7 * std::min(n + 1, 4), y + 25 - 7 * std::min(n, 3));
    // The touching half shows the value the put will test: the current
    // tile's right end as a put reads it (a tile still turning as it will
    // stand, an upright one by the value it shows), so the drawn tile always fits.
    const DominoFish& current = *playLine->Last();
    f.valueA = current.joker ? 1 : playLine->RightPutValue();
    f.valueB = ChooseValue();
    if (!playLine->CanPutOnCurrent(f))
        return {};
    TilePut put;
    put.tile = std::move(fish.back());
    fish.pop_back();
    put.move.source = PutSource::Deck;
    put.move.originX = x;
    put.move.originY = y;
    put.move.fish = &f;
    put.clickCode = clickCode;
    drag.Clear();
    return put;
}

void Deck::DealToPlaces()
{
    if (dealing)
        return;
    dealing = true;
    drag.Clear();
    BoardHost& app = *field->app;
    if (!fish.empty()) {
        for (int i = static_cast<int>(places.size()) - 1; i >= 0 && !fish.empty(); --i) {
            int n = static_cast<int>(fish.size());
            DominoFish* f = fish.back().get();
            int k = static_cast<int>(places[i].size());
            f->open = false;
            f->SetPosition(x + 20 + 7 * std::min(n + 1, 4), y + 25 - 7 * std::min(n, 3));
            f->GlideTo(0, nullptr, x + 40 + 7 * k, y - 56 - 60 * i - 7 * k, kDealGlide);
            ShiftPile(i, -7, 7);
            for (int s = 0; s < kDealWait && app.PumpUntilUpdate(); ++s) {
            }
            // The nested updates may not touch the deck's lists, but be sure
            // the tile is still the top one before moving it.
            if (fish.empty() || fish.back().get() != f || i >= static_cast<int>(places.size()))
                break;
            places[i].push_back(std::move(fish.back()));
            fish.pop_back();
            for (int s = 0; s < kFlipWait && app.PumpUntilUpdate(); ++s) {
            }
            f->wasOpen = f->open;
            f->open = true;
            f->StartFlip(f->joker ? IMAGE_FISH_JOKER_ROTATE : field->FlipImage(f->style), false);
        }
    } else if (redealsLeft > 0) {
        for (Place& place : places) {
            while (!place.empty()) {
                fish.push_back(std::move(place.back()));
                place.pop_back();
            }
        }
        for (auto& f : fish) {
            f->GlideTo(0, nullptr, x + 40, y + 25, 1);
            f->open = true;
        }
        --redealsLeft;
        ExplainRedeals();
    }
    dealing = false;
    CountMoves();
}

void Deck::ExplainRedeals()
{
    PlayerProfile* p = field->app->CurrentProfile();
    if (p == nullptr || p->DeckNumberExplained())
        return;
    p->MarkDeckNumberExplained();
    field->app->ShowHint(W("Колода собрана заново. Число на ней показывает, сколько раз её ещё можно собрать."),
                         110, 540);
}

bool Deck::Matches(const DominoFish& f, int l, int r) const
{
    return l == DominoFish::kJoker || r == DominoFish::kJoker || f.joker || (l >= 0 && f.HasHalf(l)) ||
           (r >= 0 && f.HasHalf(r));
}

void Deck::CountMoves()
{
    int l = playLine->LeftEnd();
    int r = playLine->RightEnd();
    deckMoves = 0;
    for (const auto& f : fish) {
        if (Matches(*f, l, r))
            ++deckMoves;
    }
    for (const Place& place : places) {
        for (size_t k = 0; k < place.size(); ++k) {
            bool top = k + 1 == place.size();
            if ((redealsLeft > 0 || top) && Matches(*place[k], l, r))
                ++deckMoves;
        }
    }
}

bool Deck::IsIdle() const
{
    for (const auto& f : fish) {
        if (f->IsGliding() || f->flipping)
            return false;
    }
    for (const Place& place : places) {
        for (const auto& f : place) {
            if (f->IsGliding() || f->flipping)
                return false;
        }
    }
    return true;
}

void Deck::Update()
{
    for (Place& place : places) {
        for (size_t k = 0; k < place.size(); ++k)
            place[k]->Update();
    }
    for (size_t k = 0; k < fish.size(); ++k)
        fish[k]->Update();
}

bool Deck::MouseMove(int px, int py)
{
    if (dealing)
        return false;
    return drag.Track(px, py, [this](int mx, int my) {
        for (int i = 0; i < static_cast<int>(places.size()); ++i) {
            if (!places[i].empty() && places[i].back()->HitTest(mx, my))
                return TileDrag::Hit{places[i].back().get(), i, static_cast<int>(places[i].size()) - 1};
        }
        return TileDrag::Hit{};
    });
}

void Deck::MouseDown(int clickCode, int px, int py)
{
    if (field->mode == PlayMode::Editor || dealing)
        return;
    drag.Press(*playLine, clickCode, px, py);
}

bool Deck::MouseDrag(int px, int py)
{
    if (dealing)
        return false;
    return drag.Drag(*playLine, px, py);
}

Deck::Release Deck::MouseUp(int clickCode, int px, int py)
{
    Release release;
    bool dropping = drag.Hovered() && !dealing && clickCode == 1;
    if (dropping && drag.Dragging()) {
        int side = drag.JoinSide(*playLine);
        int p = drag.Group();
        if (side != 0 && p >= 0 && p < static_cast<int>(places.size()) && !places[p].empty() &&
            places[p].back().get() == drag.Hovered()) {
            release.put.move = drag.MoveRecord(PutSource::Deck);
            release.put.side = side;
            release.put.tile = std::move(places[p].back());
            places[p].pop_back();
            drag.Clear();
            ShiftPile(p, 7, -7);
        } else {
            drag.GlideBack(px, py, 0).returning = true;
        }
    } else if (!dropping && InDeckArea(px, py) && !dealing) {
        if (field->mode == PlayMode::Click) {
            release.put = DrawFromDeck(clickCode);
        } else if (field->mode == PlayMode::Drag) {
            DealToPlaces();
            release.dealt = true;
        }
    }
    return release;
}

void Deck::UndoPlaceFish(std::unique_ptr<DominoFish> owned, int placeIndex, int originX, int originY)
{
    if (!owned)
        return;
    if (placeIndex < 0 || placeIndex >= static_cast<int>(places.size())) {
        // The place is gone; the tile goes back into the deck instead.
        owned->GlideTo(0, nullptr, x + 40, y + 25, 30);
        fish.push_back(std::move(owned));
        return;
    }
    ShiftPile(placeIndex, -7, 7);
    owned->dragged = false;
    owned->GlideTo(0, nullptr, originX, originY, 30);
    places[placeIndex].push_back(std::move(owned));
}

} // namespace Zorvin
