#include "game/board/view/BoardSceneKey.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "game/board/view/Board.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

constexpr float kPi = 3.1415927f;

} // namespace

BoardSceneKey::Change BoardSceneKey::Refresh(const Board& board)
{
    row.clear();
    anim.clear();
    spans.clear();
    out = &row;
    PutField(board);
    PutLineAndDeck(board);
    PutMeterAndPictures(board);
    Change change = Change::None;
    changedAreas.clear();
    if (row != last || spans.size() != lastSpans.size()) {
        change = Change::Whole;
    } else {
        for (size_t i = 0; i < spans.size(); ++i) {
            if (!SpanChanged(i))
                continue;
            for (const Rect& r : {lastSpans[i].area, spans[i].area})
                if (!r.IsEmpty())
                    changedAreas.push_back(r);
        }
        if (!changedAreas.empty())
            change = Change::Areas;
    }
    row.swap(last);
    anim.swap(lastAnim);
    spans.swap(lastSpans);
    return change;
}

bool BoardSceneKey::SpanChanged(size_t i) const
{
    size_t end = i + 1 < spans.size() ? spans[i + 1].begin : anim.size();
    size_t lastEnd = i + 1 < lastSpans.size() ? lastSpans[i + 1].begin : lastAnim.size();
    return !std::equal(anim.begin() + static_cast<std::ptrdiff_t>(spans[i].begin),
                       anim.begin() + static_cast<std::ptrdiff_t>(end),
                       lastAnim.begin() + static_cast<std::ptrdiff_t>(lastSpans[i].begin),
                       lastAnim.begin() + static_cast<std::ptrdiff_t>(lastEnd));
}

void BoardSceneKey::Put(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    out->push_back(bits);
}

void BoardSceneKey::Put(const void* pointer)
{
    auto v = reinterpret_cast<uintptr_t>(pointer);
    out->push_back(static_cast<uint32_t>(v));
    out->push_back(static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
}

// What FishPainter reads of a tile, plus its logical place (its shadow).
void BoardSceneKey::PutFish(const Board& board, const DominoFish& f, bool inField)
{
    Put(f.visible ? f.alpha : -1);
    if (!f.visible || f.alpha < 1)
        return;
    for (int v : {f.x, f.y, f.left, f.top, f.width, f.height, f.orientation, f.style, f.valueA, f.valueB, f.layer,
                  f.lockType, f.itemType, f.overlapPartner, f.rotation, f.flipCel, f.bonusType})
        Put(v);
    Put((f.IsGliding() ? 1 : 0) | (f.clipWhileGliding ? 2 : 0) | (f.overlapLeft ? 4 : 0) | (f.dragged ? 8 : 0) |
        (f.settled ? 16 : 0) | (f.flipping ? 32 : 0) | (f.joker ? 64 : 0) | (f.hover ? 128 : 0) |
        (f.open ? 256 : 0) | (f.pulsing ? 512 : 0) | (f.returning ? 1024 : 0));
    if (f.IsGliding())
        for (int v : f.clipRect)
            Put(v);
    if (f.IsTurning()) {
        Put(f.angle);
        for (int v : f.halfOffsets)
            Put(v);
    }
    if (f.pulsing)
        Put(f.pulseOffset);
    if (f.flipping)
        Put(f.flipImage);
    // A tile at rest in the field draws its item and glitter at known
    // places; anywhere else they stay in the row.
    bool resting = !f.IsGliding() && !f.IsTurning() && !f.pulsing && !f.flipping && !f.dragged;
    PutAnimation(board, f, inField && resting);
}

// The item's cel and bob and the glitter; with `apart`, into `anim` as one
// span with the rectangle they cover (a resting tile draws the item only
// while open).
void BoardSceneKey::PutAnimation(const Board& board, const DominoFish& f, bool apart)
{
    bool item = f.itemType >= 0 && f.itemType < 3;
    if (!apart) {
        Put(f.itemCel);
    } else if (!(item && f.open) && f.bonusType == 0) {
        return;
    }
    Rect area;
    if (apart) {
        spans.push_back({anim.size(), Rect()});
        out = &anim;
        if (item && f.open)
            Put(f.itemCel);
    }
    const FishField& field = *board.field;
    if (f.open && item) {
        // The item bobs on whole pixels: only a step to the next row shows.
        int updates = field.app ? field.app->UpdateCount() : 0;
        float bob = 3.0f * std::sin(updates * kPi / 100.0f);
        int itemTop = int(FishPainter::kItemOffsets[f.itemType][1] + f.top + bob);
        Put(itemTop);
        if (Image* image = field.ItemImages()[f.itemType]; image && image->numCols > 0)
            area = Rect(FishPainter::kItemOffsets[f.itemType][0] + f.left, itemTop, image->GetCelWidth(),
                        image->GetCelHeight());
    }
    if (f.bonusType != 0) {
        Put(static_cast<int>(f.sparkles.size()));
        for (const Sparkle& s : f.sparkles) {
            Put(s.x);
            Put(s.y);
            Put(s.cel);
            if (IM_BONUS_STAR)
                area = area.Union(Rect(f.left + s.x, f.top - s.y + 20, IM_BONUS_STAR->GetCelWidth(),
                                       IM_BONUS_STAR->GetCelHeight()));
        }
    }
    if (apart) {
        spans.back().area = area;
        out = &row;
    }
}

void BoardSceneKey::PutField(const Board& board)
{
    const FishField& field = *board.field;
    const PlayerProfile* profile = board.app.CurrentProfile();
    for (int v : {static_cast<int>(field.mode), field.MovesAvailable(), field.Score(), field.level.number, field.BackdropVersion(),
                  profile && profile->showInstructions ? 1 : 0, field.Loading() ? 1 : 0})
        Put(v);
    Put(field.drag.Hovered());
    Put(field.level.backgroundImage.get());
    Put(static_cast<int>(field.layers.size()));
    for (const Layer& layer : field.layers) {
        Put(static_cast<int>(layer.size()));
        for (const auto& f : layer)
            PutFish(board, *f, true);
    }
    Put(static_cast<int>(field.Popups().size()));
    for (const Popup& p : field.Popups()) {
        Put(p.image);
        Put(p.cel);
        Put(p.alpha);
        Put(p.x);
        Put(p.y);
    }
}

void BoardSceneKey::PutLineAndDeck(const Board& board)
{
    Put(board.playLine->snapSide);
    Put(static_cast<int>(board.playLine->fish.size()));
    for (const auto& f : board.playLine->fish)
        PutFish(board, *f, false);
    const Deck& deck = *board.deck;
    for (int v : {deck.x, deck.y, deck.redealsLeft, static_cast<int>(deck.fish.size()),
                  static_cast<int>(deck.places.size())})
        Put(v);
    Put(deck.drag.Hovered());
    for (const auto& f : deck.fish)
        PutFish(board, *f, false);
    for (const Place& pile : deck.places) {
        Put(static_cast<int>(pile.size()));
        for (const auto& f : pile)
            PutFish(board, *f, false);
    }
}

void BoardSceneKey::PutMeterAndPictures(const Board& board)
{
    const ComboMeter& m = *board.comboMeter;
    for (int v : {m.x, m.y, m.fillOffsetX, m.fillOffsetY})
        Put(v);
    Put(m.meterImage);
    Put(m.meterOnImage);
    Put(m.labelsImage);
    // The bar as drawn: its top row and its height in whole pixels.
    if (m.level > 0 && m.meterOnImage) {
        int h = m.meterOnImage->GetHeight();
        Put(static_cast<int>((1.0f - m.level / 100.0f) * h));
        Put(static_cast<int>(h * m.level / 100.0f));
    } else {
        Put(-1);
    }
    const FishField& field = *board.field;
    const FishPainter& painter = board.painter;
    for (const auto& table : {painter.plainImages, painter.overImages, painter.backImages})
        for (Image* image : table)
            Put(image);
    for (const auto& table : {field.LockImages(), field.ItemImages()})
        for (Image* image : table)
            Put(image);
    for (Image* image : painter.faceImages)
        Put(image);
    for (Image* image : {IMAGE_PLAYLINE, IMAGE_PANEL_LINE_LAG, IMAGE_PANEL_LINE, IMAGE_PANEL_LINE_OSS,
                         IMAGE_DECK_PLACE, IMAGE_CROP_DECK, IMAGE_NO_CROPS, IMAGE_ROCK_PLACE, IMAGE_FISH_JOKER,
                         IMAGE_FISH_JOKER_BACK, IM_BONUS_STAR, IMAGE_PANEL, IMAGE_PANEL_UP, IMAGE_PREVIEW,
                         IMAGE_FISH_BORDER})
        Put(image);
    Put(FONT_DEFAULT);
}

} // namespace Zorvin
