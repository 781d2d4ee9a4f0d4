// Sections:
//   - cover cells (which tiles can reach which)
//   - image tables, counts and lookups
//   - starting a level (chain, deal, intro)
//   - open and playable tiles
//   - keys, hints, bonuses
//   - undo, reshuffle, end of level
//   - mouse (hover, pick-up, drop) and the put record

#include "game/board/FishField.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "framework/core/Cp1251.h"
#include "game/board/BoardHost.h"
#include "game/board/ComboMeter.h"
#include "game/board/Deck.h"
#include "game/board/LevelTally.h"
#include "game/board/PlayLine.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

constexpr int kIntroSteps = 139;
constexpr int kReshuffleSteps = 59;

// Calls f on every tile of the field, top layer first and each layer from
// its last tile to its first: the order hints and bonuses count in.
template <typename F>
void ForEachTopDown(std::vector<Layer>& layers, F f)
{
    for (int l = static_cast<int>(layers.size()) - 1; l >= 0; --l) {
        for (int i = static_cast<int>(layers[l].size()) - 1; i >= 0; --i)
            f(*layers[l][i]);
    }
}

// Tiles bucketed by position in cells of 80 x 50 pixels. No point of a tile
// is farther than (39, 24) from its centre, nor any edge of a covered box
// farther than (40, 25) from its: a tile above reaches one below only when
// their centres are within (79, 49), which are the 3 x 3 cells around it.
class CoverCells {
public:
    void Add(const DominoFish& f) { cells[Key(FloorDiv(f.x, kW), FloorDiv(f.y, kH))].push_back(&f); }

    // Calls visit on every tile whose centre is within (79, 49) of (x, y)
    // until it returns false.
    template <typename F>
    void ForEachNear(int x, int y, F visit) const
    {
        for (int cx = FloorDiv(x - 79, kW); cx <= FloorDiv(x + 79, kW); ++cx) {
            for (int cy = FloorDiv(y - 49, kH); cy <= FloorDiv(y + 49, kH); ++cy) {
                auto it = cells.find(Key(cx, cy));
                if (it == cells.end())
                    continue;
                for (const DominoFish* f : it->second) {
                    if (std::abs(f->x - x) <= 79 && std::abs(f->y - y) <= 49 && !visit(*f))
                        return;
                }
            }
        }
    }

private:
    static constexpr int kW = 80, kH = 50;
    static int FloorDiv(int v, int d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }
    static int64_t Key(int cx, int cy) { return (static_cast<int64_t>(cx) << 32) ^ static_cast<uint32_t>(cy); }
    std::unordered_map<int64_t, std::vector<const DominoFish*>> cells;
};

} // namespace

FishField::FishField(BoardHost& host) : app(&host)
{
    LoadImageTables();
}

FishField::~FishField() = default;

void FishField::LoadImageTables()
{
    lockImages = {IMAGE_FISH_LOCK0, IMAGE_FISH_LOCK1, IMAGE_FISH_LOCK2};
    itemImages = {IMAGE_KEY_ANIM, IMAGE_PYRAMID_ANIM, IMAGE_SPHERE_ANIM};
    flipImages = {IMAGE_FISH_ROTATE, IMAGE_FISH_ROTATE, IMAGE_FISH_ROTATE2, IMAGE_FISH_ROTATE3};
}

int FishField::CountFish() const
{
    int n = 0;
    for (const Layer& l : layers)
        n += static_cast<int>(l.size());
    return n;
}

DominoFish* FishField::FishAt(int layerIndex, int index) const
{
    if (layerIndex < 0 || layerIndex >= static_cast<int>(layers.size()))
        return nullptr;
    const Layer& l = layers[layerIndex];
    if (index < 0 || index >= static_cast<int>(l.size()))
        return nullptr;
    return l[index].get();
}

// ---------------------------------------------------------------------------
// Starting a level

bool FishField::StartLevel(const std::string& path)
{
    bool read = ReadLevel(path);
    DealLevel();
    return read;
}

bool FishField::ReadLevel(const std::string& path)
{
    BeginLevel(path);
    return !levelReader || levelReader(*this, path);
}

void FishField::BeginLevel(const std::string& path)
{
    drag.Forget();
    lastMove.fish = nullptr;
    hintGlow = {};
    layers.clear();
    fishCount = 0;
    movesAvailable = 1;
    loading = true;
    level.path = path;
}

void FishField::BeginPreview(const std::string& path)
{
    bool keptLoading = loading;
    BeginLevel(path);
    loading = keptLoading;
}

void FishField::TakeCounters(int newScore, int newShufflesLeft)
{
    score = newScore;
    shufflesLeft = newShufflesLeft;
}

void FishField::SpendShuffle()
{
    if (shufflesLeft > 0)
        --shufflesLeft;
}

int FishField::PickType() const
{
    int n = level.typeCount;
    if (n < 1)
        return level.types[0];
    if (n > FieldLevel::kMaxTypes)
        n = FieldLevel::kMaxTypes;
    return level.types[rand() % n];
}

std::vector<std::pair<int, int>> FishField::BuildChain() const
{
    // One pair per tile plus one for the line: the tiles actually in the
    // layers decide, so a miscounted fishCount cannot run the chain dry.
    int tiles = CountFish();
    std::vector<std::pair<int, int>> chain;
    chain.reserve(tiles + 1);
    int a = PickType();
    int b = PickType();
    chain.emplace_back(a, b);
    for (int i = 0; i < tiles; ++i) {
        int next = PickType();
        chain.emplace_back(chain.back().second, next);
    }
    return chain;
}

std::pair<int, int> FishField::DealPairs(std::vector<std::pair<int, int>>& chain, bool fadeIn)
{
    for (int n = 0; n < static_cast<int>(layers.size()); ++n) {
        int sign = n % 2 == 0 ? -1 : 1;
        for (auto& f : layers[n]) {
            int k = rand() % static_cast<int>(chain.size());
            f->valueA = chain[k].first;
            f->valueB = chain[k].second;
            chain.erase(chain.begin() + k);
            if (fadeIn) {
                f->visible = true;
                f->alpha = 0;
                int ox = f->x, oy = f->y;
                f->SetPosition(ox + sign * (n + 1) * 21, oy - (n + 1) * 21);
                f->GlideTo(n, nullptr, ox, oy, 100);
            }
        }
    }
    return chain.front();
}

void FishField::ResetLineAfterDeal(std::pair<int, int> leftOver)
{
    // The line's tiles are destroyed: nothing may point at them any more.
    lastMove.fish = nullptr;
    if (!playLine)
        return;
    if (level.number == 1 && !layers.empty() && !layers.back().empty()) {
        const DominoFish& top = *layers.back().back();
        playLine->ResetLine(top.valueB, top.valueA);
    } else {
        playLine->ResetLine(leftOver.first, leftOver.second);
    }
}

void FishField::DealLevel()
{
    won = lost = false;
    drag.Forget();
    lockOpen = {0, 0, 0};

    std::vector<std::pair<int, int>> chain = BuildChain();
    MarkOverlaps();
    app->PlaySound(SOUND_LEVEL_START);

    for (Layer& l : layers) {
        for (auto& f : l)
            f->visible = false;
    }
    std::pair<int, int> leftOver = DealPairs(chain, true);
    ResetLineAfterDeal(leftOver);

    // The intro: the tiles fade in while the application keeps running.
    for (int i = 0; i < kIntroSteps && app->PumpUntilUpdate(); ++i) {
        for (Layer& l : layers) {
            for (auto& f : l) {
                if (f->alpha + 3 <= 255)
                    f->alpha += 3;
            }
        }
    }

    ResetIdle();
    RecomputeOpen();
    RecomputePlayable();
    RefreshReshuffleButton();
    app->SetUndoEnabled(false);
    if (playLine)
        playLine->GlideEndsHome(false);

    if (PlayerProfile* p = app->CurrentProfile()) {
        bool firstLevel = p->Progress(mode).level == 1;
        if (mode == PlayMode::Click && firstLevel)
            app->ShowHint(W("Найдите камень с такой же картинкой на игровом поле и кликните на него."), 490, 550);
        else if (mode == PlayMode::Drag && firstLevel)
            app->ShowHint(W("Перетаскивайте камни с соответствующими картинками справа или слева. "
                            "Они будут вращаться автоматически. "),
                          490, 550);
    }
    loading = false;
}

void FishField::RefreshReshuffleButton()
{
    if (shufflesLeft > 0)
        app->SetReshuffleButton(true, W("Тасовок ") + std::to_string(shufflesLeft));
    else
        app->SetReshuffleButton(false, W("Тасовок 0"));
}

// ---------------------------------------------------------------------------
// Open and playable tiles

void FishField::StartFlipFor(DominoFish& fish, bool backward)
{
    Image* image = fish.joker ? IMAGE_FISH_JOKER_ROTATE : flipImages[fish.style & 3];
    fish.StartFlip(image, backward);
}

void FishField::RecomputeOpen()
{
    freeCount = fishCount;
    ForEachTopDown(layers, [this](DominoFish& f) {
        f.wasOpen = f.open;
        // Lock types the level format cannot open (3 and up) count as no lock.
        bool locked = f.lockType >= 0 && f.lockType < 3 && !lockOpen[f.lockType];
        f.open = !locked;
        if (locked)
            --freeCount;
    });

    // A tile is closed when one of seven points of a tile above falls into
    // its box: the centre, the two half centres and the four corners. Going
    // down the layers, the tiles above are kept in cells of a tile's size,
    // so each tile looks only at the few that can reach it: a move costs
    // time in proportion to the tiles, not to their square.
    static const int kPoints[7][2] = {{-20, 0}, {20, 0}, {0, 0}, {-39, -24}, {39, -24}, {-39, 24}, {39, 24}};
    CoverCells above;
    for (int a = static_cast<int>(layers.size()) - 1; a >= 1; --a) {
        for (const auto& up : layers[a])
            above.Add(*up);
        for (auto& low : layers[a - 1]) {
            if (!low->open)
                continue;
            bool covered = false;
            above.ForEachNear(low->x, low->y, [&](const DominoFish& up) {
                for (const auto& p : kPoints)
                    covered = covered || low->CoversPoint(up.x + p[0], up.y + p[1]);
                return !covered;
            });
            if (covered) {
                low->open = false;
                --freeCount;
            }
        }
    }

    for (Layer& l : layers) {
        for (auto& f : l) {
            if (f->open != f->wasOpen) {
                StartFlipFor(*f, !f->open);
                changed = true;
                flipSound = true;
            }
        }
    }
    MarkOverlaps();
}

void FishField::RecomputePlayable()
{
    int l = playLine ? playLine->LeftEnd() : -1;
    int r = playLine ? playLine->RightEnd() : -1;
    bool anyEnd = l == DominoFish::kJoker || r == DominoFish::kJoker;
    bool drag = mode != PlayMode::Click;
    movesAvailable = 0;
    ForEachTopDown(layers, [&](DominoFish& f) {
        f.playable = f.open && (anyEnd || f.joker || (drag && f.HasHalf(l)) || f.HasHalf(r));
        if (f.playable)
            ++movesAvailable;
    });
}

void FishField::MarkOverlaps()
{
    for (Layer& layer : layers) {
        for (auto& f : layer) {
            f->overlapPartner = -1;
            f->overlapLeft = false;
        }
        int n = static_cast<int>(layer.size());
        for (int k = 0; k < n; ++k) {
            DominoFish& fk = *layer[k];
            for (int l = k + 1; l < n; ++l) {
                DominoFish& fl = *layer[l];
                if (fl.y > fk.y + 25)
                    break;
                if (fl.x == fk.x + 80 && fl.y == fk.y + 25) {
                    fl.overlapPartner = k;
                    fk.overlapLeft = true;
                }
            }
        }
    }
}

void FishField::FishTurned()
{
    RecomputePlayable();
    if (deck)
        deck->CountMoves();
}

// ---------------------------------------------------------------------------
// Keys, hints, bonuses

void FishField::CollectItem(DominoFish& fish)
{
    int k = fish.itemType;
    fish.itemType = -1;
    if (k < 0 || k > 2)
        return;
    lockOpen[k] = 1;
    Image* item = itemImages[k];
    int cels = CelCountOf(item);
    int w = item ? item->GetWidth() : 0;
    int h = item ? item->GetHeight() : 0;
    popups.emplace_back(item, 0, static_cast<float>(fish.left - w / (2 * cels) + 47),
                        static_cast<float>(fish.top - h / 2 + 25), 0.0f, -0.2f);
    for (Layer& l : layers) {
        for (auto& f : l) {
            if (f->lockType == k) {
                popups.emplace_back(lockImages[k], -1, static_cast<float>(f->left + lockOffsets[k][0]),
                                    static_cast<float>(f->top + lockOffsets[k][1]), 0.0f, -0.2f);
                f->lockType = -1;
            }
        }
    }
    app->PlaySound(SOUND_USE_KEY);
}

void FishField::RemoveOrphanItems()
{
    bool lockPresent[3] = {false, false, false};
    for (Layer& l : layers) {
        for (auto& f : l) {
            if (f->lockType >= 0 && f->lockType < 3)
                lockPresent[f->lockType] = true;
        }
    }
    for (Layer& l : layers) {
        for (auto& f : l) {
            if (f->itemType >= 0 && (f->itemType > 2 || !lockPresent[f->itemType]))
                f->itemType = -1;
        }
    }
}

void FishField::ShowHint()
{
    if (hintIndex >= movesAvailable)
        hintIndex = 0;
    int seen = 0;
    DominoFish* target = nullptr;
    ForEachTopDown(layers, [&](DominoFish& f) {
        if (f.playable && !target && seen++ == hintIndex)
            target = &f;
    });
    if (target) {
        // The tile glows, and so does where it goes: the ends of the line
        // it fits in drag mode, the current tile in click mode.
        int ends = 0;
        if (mode == PlayMode::Drag && playLine && playLine->First()) {
            ends |= playLine->EndAccepts(*target, -1) ? kHintLeftEnd : 0;
            ends |= playLine->EndAccepts(*target, 1) ? kHintRightEnd : 0;
        }
        hintGlow = {target, ends, kHintGlowUpdates};
        ++hintIndex;
    }
}

const DominoFish* FishField::HintedTile() const
{
    if (!hintGlow.tile)
        return nullptr;
    // Only while the tile still lies open in the field.
    for (const Layer& l : layers) {
        for (const auto& f : l) {
            if (f.get() == hintGlow.tile)
                return f->open ? f.get() : nullptr;
        }
    }
    return nullptr;
}

void FishField::GiveRandomBonus()
{
    if (freeCount <= 0)
        return;
    int n = rand() % freeCount;
    int seen = 0;
    DominoFish* target = nullptr;
    ForEachTopDown(layers, [&](DominoFish& f) {
        if (f.open && !target && seen++ == n)
            target = &f;
    });
    if (target) {
        target->GiveBonus();
        app->PlaySound(SOUND_BONUS_APPEAR);
    }
}

void FishField::ShowJokerHint(int x)
{
    PlayerProfile* p = app->CurrentProfile();
    if (!p || p->jokerHintShown)
        return;
    app->ShowHint(W("Это джокер! Его можно стыковать с любым камнем. Правой кнопкой можно вращать "
                    "камни при стыковке с джокером."),
                  x, 550);
    p->jokerHintShown = true;
}

void FishField::AwardBonus(DominoFish& fish)
{
    int type = fish.bonusType;
    if (type == 0)
        return;
    if (tally)
        tally->NoteBonus();
    app->PlaySound(SOUND_BONUS);
    bool click = mode == PlayMode::Click;
    Image* shown = nullptr;
    auto addPoints = [&](int points, Image* image) {
        AddPoints(points, &fish);
        shown = image;
    };
    auto extraFish = [&]() {
        if (deck) {
            deck->redealsLeft += 1;
            deck->AddBonusFish();
        }
        shown = IM_BONUS_STONE;
    };
    switch (type) {
    case 1:
        if (click) {
            extraFish();
        } else {
            if (deck)
                deck->redealsLeft += 1;
            shown = IM_BONUS_CROP;
        }
        break;
    case 2:
        if (shufflesLeft >= PlayerProfile::kMaxShufflesLeft) {
            addPoints(200, IM_BONUS_200);
        } else {
            ++shufflesLeft;
            RefreshReshuffleButton();
            shown = IM_BONUS_RESHUFFLE;
        }
        break;
    case 3:
        if (click) {
            extraFish();
        } else if (!deck || deck->placeCount >= Deck::kMaxPlaces) {
            addPoints(100, IM_BONUS_100);
        } else {
            deck->AddPlace();
            shown = IM_BONUS_PLACE;
        }
        break;
    case 4:
        addPoints(200, IM_BONUS_200);
        break;
    case 5:
        fish.MakeJoker(true);
        shown = IM_BONUS_JOKER;
        if (click)
            ShowJokerHint(490);
        break;
    default:
        addPoints(100, IM_BONUS_100);
        break;
    }
    int w = shown ? shown->GetWidth() : 0;
    popups.emplace_back(shown, -1, static_cast<float>(fish.x - w / 2), 530.0f, 0.0f, -0.2f);
    fish.bonusType = 0;
    fish.sparkles.clear();
}

// ---------------------------------------------------------------------------
// Undo, reshuffle, end of level

bool FishField::Undo()
{
    DominoFish* f = lastMove.fish;
    if (!f || !playLine)
        return false;
    int pos = -1;
    for (int i = 0; i < static_cast<int>(playLine->fish.size()); ++i) {
        if (playLine->fish[i].get() == f)
            pos = i;
    }
    if (pos < 0)
        return false;
    // A tile drawn from the deck in click mode cannot go back.
    if (lastMove.source == PutSource::Deck && (mode == PlayMode::Click || !deck))
        return false;
    if (lastMove.source == PutSource::Field && (lastMove.layer < 0 || lastMove.layer >= static_cast<int>(layers.size())))
        return false;

    bool first = pos == 0;
    bool last = pos == static_cast<int>(playLine->fish.size()) - 1;
    std::unique_ptr<DominoFish> owned = playLine->Remove(f);
    // Stop what the put started: the flight to the line and a half turn.
    f->toPlayLine = false;
    if (f->rotation != 0) {
        f->rotation = 0;
        f->angle = 0;
    }
    f->dragged = false;
    // It turned to fit the line; it goes back lying as it lay.
    if (lastMove.orientation >= 0)
        f->SetOrientation(lastMove.orientation);

    if (lastMove.source == PutSource::Field) {
        ++fishCount;
        f->layer = lastMove.layer;
        Layer& l = layers[lastMove.layer];
        int at = std::min(std::max(lastMove.index, 0), static_cast<int>(l.size()));
        l.insert(l.begin() + at, std::move(owned));
        // Back on its place for a moment, so it covers what it covered.
        int lineX = f->x, lineY = f->y;
        f->x = lastMove.originX;
        f->y = lastMove.originY;
        RecomputeOpen();
        f->x = lineX;
        f->y = lineY;
        f->GlideTo(f->layer, nullptr, lastMove.originX + 5, lastMove.originY - 5, 30);
        f->bounceOnArrival = true;
    } else {
        deck->UndoPlaceFish(std::move(owned), lastMove.layer, lastMove.originX, lastMove.originY);
    }

    if (!first && last) {
        if (playLine->fish.size() >= 2)
            playLine->Last()->GlideTo(0, PlayLine::kRightClip, PlayLine::kRightEndX, PlayLine::kEndY, 60);
    } else if (first) {
        if (playLine->fish.size() >= 2)
            playLine->First()->GlideTo(0, PlayLine::kLeftClip, PlayLine::kLeftEndX, PlayLine::kEndY, 60);
    }
    score -= lastMove.lastPoints;
    lastMove.lastPoints = -lastMove.lastPoints;
    lastMove.fish = nullptr;
    drag.Clear();
    RecomputePlayable();
    if (deck)
        deck->CountMoves();
    CheckEnd();
    ResetIdle();
    return true;
}

void FishField::ReshuffleField()
{
    drag.Clear();
    std::vector<std::pair<int, int>> chain = BuildChain();
    for (Layer& l : layers) {
        for (auto& f : l) {
            f->wasOpen = f->open;
            if (f->open)
                StartFlipFor(*f, true);
            f->open = false;
        }
    }
    if (playLine && playLine->First()) {
        // Both ends slide to the middle, out of sight behind their windows.
        playLine->Last()->GlideTo(0, PlayLine::kRightClip, 400, PlayLine::kEndY, 60);
        playLine->First()->GlideTo(0, PlayLine::kLeftClip, 398, PlayLine::kEndY, 60);
    }
    for (int i = 0; i < kReshuffleSteps && app->PumpUntilUpdate(); ++i) {
    }
    std::pair<int, int> leftOver = DealPairs(chain, false);
    ResetLineAfterDeal(leftOver);
    ResetIdle();
    RecomputeOpen();
    RecomputePlayable();
    RefreshReshuffleButton();
    app->SetUndoEnabled(false);
    if (playLine)
        playLine->GlideEndsHome(true);
}

void FishField::CheckEnd()
{
    // Both flags follow the state, so an undo right after the last put
    // takes a pending win or loss back, and a win is never also a loss.
    won = fishCount == 0;
    if (won)
        lost = false;
    else if (mode == PlayMode::Click)
        lost = (!deck || deck->fish.empty()) && movesAvailable == 0;
    else
        lost = movesAvailable == 0 && (!deck || deck->deckMoves == 0);
}

void FishField::RestartCounters()
{
    ResetIdle();
    bonusTimer = 0;
    hintIndex = 0;
    changed = true;
}

void FishField::ShowHintNow()
{
    idleUpdates = -1000;
    ShowHint();
}

void FishField::MarkBackdropStale()
{
    ++backdropVersion;
}

void FishField::EndOfLevel()
{
    if (!won && !lost)
        return;
    bool settled = (!playLine || playLine->AllSettled()) && (!deck || deck->IsIdle());
    if (!settled)
        return;
    if (won) {
        popups.clear();
        won = false;
        if (PlayerProfile* p = app->CurrentProfile()) {
            p->shufflesLeft = shufflesLeft;
            ModeProgress progress = p->Progress(mode);
            progress.score = score;
            ++progress.level;
            if (deck)
                p->placeCount = deck->placeCount;
        }
        app->SavePlayers();
        app->PlaySound(SOUND_LEVEL_COMPLETE);
        app->SetLevelWonThisSession();
        app->ShowLevelWonDialog(W("Уровень пройден!"), W("Поздравляем!  Вы полностью разобрали данный уровень!"),
                                W("Продолжить"));
        return;
    }
    // Judge the loss again on settled values before telling the player.
    RecomputePlayable();
    if (deck)
        deck->CountMoves();
    CheckEnd();
    if (!lost)
        return;
    popups.clear();
    lost = false;
    app->PlaySound(SOUND_LEVEL_FAILED);
    app->ShowGameOverDialog();
}

void FishField::Update()
{
    for (Layer& l : layers) {
        for (size_t i = 0; i < l.size(); ++i)
            l[i]->Update();
    }
    if (mode == PlayMode::Editor)
        return;

    if (hintGlow.updatesLeft > 0 && --hintGlow.updatesLeft == 0)
        hintGlow = {};
    if (!(drag.Dragging() && drag.Hovered()->playable)) {
        if (++idleUpdates > 599) {
            ShowHintNow();
        }
    }

    if (++bonusTimer > bonusPeriod) {
        bonusTimer = 0;
        if (rand() % 100 < 20)
            GiveRandomBonus();
    }

    if (changed) {
        MarkBackdropStale();
        changed = false;
    }
    if (flipSound) {
        app->PlaySound(SOUND_FLIP);
        flipSound = false;
    }

    for (Popup& p : popups)
        p.Step();
    std::erase_if(popups, [](const Popup& p) { return p.done; });

    EndOfLevel();
}

// ---------------------------------------------------------------------------
// Mouse

bool FishField::MouseMove(int px, int py)
{
    if (loading || mode == PlayMode::Editor)
        return false;
    return drag.Track(px, py, [this](int x, int y) {
        for (int l = static_cast<int>(layers.size()) - 1; l >= 0; --l) {
            for (int i = 0; i < static_cast<int>(layers[l].size()); ++i) {
                if (layers[l][i]->HitTest(x, y))
                    return TileDrag::Hit{layers[l][i].get(), l, i};
            }
        }
        return TileDrag::Hit{};
    });
}

TilePut FishField::MouseDown(int clickCode, int px, int py)
{
    DominoFish* hovered = drag.Hovered();
    if (loading || mode == PlayMode::Editor || !hovered || !playLine)
        return {};
    if (mode == PlayMode::Click) {
        if (hovered->IsGliding() || !playLine->CanPutOnCurrent(*hovered))
            return {};
        // The joker hint of a click put is shown when the put is settled, so
        // that settling does not take it straight off the screen again.
        drag.MarkOrigin();
        TilePut put = TakeHovered();
        put.clickCode = clickCode;
        return put;
    }
    if (clickCode == 1 && hovered->IsGliding())
        return {};
    drag.Press(*playLine, clickCode, px, py);
    if (clickCode == 1)
        MarkBackdropStale();
    return {};
}

bool FishField::MouseDrag(int px, int py)
{
    if (loading || mode == PlayMode::Editor || !playLine)
        return false;
    return drag.Drag(*playLine, px, py);
}

TilePut FishField::MouseUp(int clickCode, int px, int py)
{
    if (loading || mode != PlayMode::Drag || clickCode != 1 || !drag.Dragging() || !playLine)
        return {};
    if (int side = drag.JoinSide(*playLine)) {
        TilePut put = TakeHovered();
        put.side = side;
        return put;
    }
    DominoFish& f = drag.GlideBack(px, py, drag.Hovered()->layer);
    f.refreshOnArrival = true;
    f.settled = false;
    return {};
}

TilePut FishField::TakeHovered()
{
    // The stored index may be stale after an undo; the tile itself decides.
    for (int l = 0; l < static_cast<int>(layers.size()); ++l) {
        Layer& layer = layers[l];
        for (int i = 0; i < static_cast<int>(layer.size()); ++i) {
            if (layer[i].get() == drag.Hovered()) {
                drag.Relocate(l, i);
                TilePut put;
                put.move = drag.MoveRecord(PutSource::Field);
                put.tile = std::move(layer[i]);
                layer.erase(layer.begin() + i);
                return put;
            }
        }
    }
    return {};
}

void FishField::RecordMove(const LastMove& move)
{
    lastMove = move;
    lastMove.lastPoints = 0;
}

void FishField::AddPoints(int points, const DominoFish* put)
{
    score += points;
    // The points count toward the put that earned them, so its undo takes
    // them back too; points landing after a later put (a click put still
    // flying) belong to a move that can no longer be undone.
    if (lastMove.fish == put)
        lastMove.lastPoints += points;
}

void FishField::AfterPut(DominoFish& f)
{
    --fishCount;
    if (f.itemType >= 0)
        CollectItem(f);
    f.hover = false;
    drag.Forget();
    RecomputeOpen();
    ResetIdle();
}

} // namespace Zorvin
