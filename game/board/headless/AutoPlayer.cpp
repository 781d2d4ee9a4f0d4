// Sections:
//   - the cover graph and what a put opens
//   - judging a move
//   - drag-mode candidates
//   - hidden values and the click-mode look-ahead
//   - the mouse, as the player moves it
//   - performing a move and the deck
//   - the play loop

#include "game/board/headless/AutoPlayer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace Zorvin {

namespace {
constexpr int kJoker = DominoFish::kJoker;
// The pointer spot on the deck pile.
constexpr int kDeckX = 50, kDeckY = 560;
// Give up when nothing happens for this long.
constexpr int kIdleLimit = 3000;
// With no move it can make for this long (more than any animation before a
// pending game-over window takes), the player presses the reshuffle button.
constexpr int kStuckReshuffle = 300;

bool IsCovering(const DominoFish& up, const DominoFish& low)
{
    static const int kPoints[7][2] = {{-20, 0}, {20, 0}, {0, 0}, {-39, -24}, {39, -24}, {-39, 24}, {39, 24}};
    for (const auto& p : kPoints) {
        if (low.CoversPoint(up.x + p[0], up.y + p[1]))
            return true;
    }
    return false;
}
} // namespace

AutoPlayer::AutoPlayer(BoardRules& rules, HeadlessHost& host)
    : rules(rules), host(host), field(*rules.field), line(*rules.playLine), deck(*rules.deck),
      click(rules.field->mode == PlayMode::Click)
{
}

void AutoPlayer::BuildCoverGraph()
{
    tiles.clear();
    indexOf.clear();
    std::vector<int> layerOf;
    for (int l = 0; l < static_cast<int>(field.layers.size()); ++l) {
        for (auto& f : field.layers[l]) {
            indexOf[f.get()] = static_cast<int>(tiles.size());
            tiles.push_back(f.get());
            layerOf.push_back(l);
        }
    }
    int n = static_cast<int>(tiles.size());
    coveredBy.assign(n, {});
    covers.assign(n, {});
    for (int u = 0; u < n; ++u) {
        for (int d = 0; d < n; ++d) {
            if (layerOf[d] < layerOf[u] && IsCovering(*tiles[u], *tiles[d])) {
                coveredBy[d].push_back(u);
                covers[u].push_back(d);
            }
        }
    }
    alive.assign(n, 0);
    // Locks are only ever removed, so the tiles that carry one now are all
    // a key can open later in the deal.
    for (int k = 0; k < 3; ++k) {
        lockedTiles[k].clear();
        for (int d = 0; d < n; ++d) {
            if (tiles[d]->lockType == k)
                lockedTiles[k].push_back(d);
        }
    }
}

void AutoPlayer::MarkAlive()
{
    std::fill(alive.begin(), alive.end(), 0);
    openTiles.clear();
    for (auto& l : field.layers) {
        for (auto& f : l) {
            auto it = indexOf.find(f.get());
            if (it != indexOf.end())
                alive[it->second] = 1;
            if (f->open)
                openTiles.push_back({f.get(), f->valueA, f->valueB, f->joker});
        }
    }
}

// Tiles that taking tile `index` away would open at once.
int AutoPlayer::Opens(int index) const
{
    const DominoFish& f = *tiles[index];
    int key = f.itemType;
    int opened = 0;
    for (int d : covers[index]) {
        const DominoFish& low = *tiles[d];
        if (!alive[d] || low.open)
            continue;
        bool locked = low.lockType >= 0 && low.lockType < 3 && !field.OpenLocks()[low.lockType] && low.lockType != key;
        if (locked)
            continue;
        bool stillCovered = false;
        for (int u : coveredBy[d])
            stillCovered = stillCovered || (u != index && alive[u]);
        opened += !stillCovered;
    }
    return opened;
}

int AutoPlayer::KeyValue(const DominoFish& f) const
{
    if (f.itemType < 0 || f.itemType > 2)
        return 0;
    int locks = 0;
    for (size_t i = 0; i < tiles.size(); ++i)
        locks += alive[i] && tiles[i]->lockType == f.itemType;
    return locks;
}

// Open tiles that could follow once `f` shows `exposed` at its end and the
// other end shows `otherEnd` (drag mode only).
int AutoPlayer::FutureMoves(const DominoFish& f, int exposed, int otherEnd, int opened) const
{
    if (exposed == kJoker || otherEnd == kJoker)
        return 99;
    int n = opened;
    for (const OpenTile& g : openTiles) {
        if (g.fish != &f)
            n += g.joker || g.a == exposed || g.b == exposed || (!click && (g.a == otherEnd || g.b == otherEnd));
    }
    if (!click) {
        for (const Place& p : deck.places) {
            if (!p.empty() && p.back()->open && p.back().get() != &f)
                n += p.back()->HasHalf(exposed) || p.back()->HasHalf(otherEnd);
        }
    }
    return n;
}

double AutoPlayer::Evaluate(const DominoFish& f, bool fromPlace, int exposed, int otherEnd) const
{
    int opened = 0;
    if (!fromPlace) {
        auto it = indexOf.find(&f);
        if (it != indexOf.end())
            opened = Opens(it->second);
    }
    int future = FutureMoves(f, exposed, otherEnd, opened);
    double s = 30.0 * opened + 60.0 * KeyValue(f) + 8.0 * std::min(future, 6) + 4.0 * f.layer;
    if (future == 0)
        s -= 40;
    if (f.joker)
        s -= 150; // jokers are worth more later
    if (fromPlace)
        s -= 10;
    if (exposed == kJoker)
        s += 30;
    s += f.bonusType != 0 ? 15 : 0;
    return s;
}

void AutoPlayer::AddDragMoves(std::vector<Move>& out, DominoFish& f, int place) const
{
    if (std::find(failed.begin(), failed.end(), &f) != failed.end())
        return;
    const DominoFish& first = *line.First();
    const DominoFish& last = *line.Last();
    for (int side : {-1, 1}) {
        const DominoFish& end = side < 0 ? first : last;
        int put = side < 0 ? line.LeftPutValue() : line.RightPutValue();
        int otherEnd = side < 0 ? line.RightEnd() : line.LeftEnd();
        if (!(f.HasHalf(put) || f.joker || end.joker))
            continue;
        Move m;
        m.fish = &f;
        m.place = place;
        m.side = side;
        if (f.joker) {
            m.score = Evaluate(f, place >= 0, kJoker, otherEnd);
            out.push_back(m);
        } else if (end.joker) {
            // Either half may face the joker: the player turns it by hand.
            int kept = side < 0 ? f.LeftValue() : f.RightValue();
            int turned = side < 0 ? f.RightValue() : f.LeftValue();
            m.score = Evaluate(f, place >= 0, kept, otherEnd);
            out.push_back(m);
            m.rightClick = true;
            m.score = Evaluate(f, place >= 0, turned, otherEnd);
            out.push_back(m);
        } else {
            int exposed = f.valueA == put ? f.valueB : f.valueA;
            m.score = Evaluate(f, place >= 0, exposed, otherEnd);
            out.push_back(m);
        }
    }
}

void AutoPlayer::DragCandidates(std::vector<Move>& out) const
{
    for (auto& l : field.layers) {
        for (auto& f : l) {
            if (f->open && !f->IsGliding())
                AddDragMoves(out, *f, -1);
        }
    }
    for (int p = 0; p < static_cast<int>(deck.places.size()); ++p) {
        const Place& place = deck.places[p];
        if (!place.empty() && place.back()->open)
            AddDragMoves(out, *place.back(), p);
    }
}

// A key is seen only on an open tile: a closed one shows its back.
int AutoPlayer::VisibleKey(int index) const
{
    const DominoFish& f = *tiles[index];
    return f.open && f.itemType >= 0 && f.itemType < 3 ? f.itemType : -1;
}

// The chance that a tile still face down carries one given value, judged
// from the values the player has seen: the open tiles, the line and the
// places. Two halves, each one of the values seen.
void AutoPlayer::EstimateHiddenMatch()
{
    bool seen[FishField::kValueCount + 1] = {};
    auto see = [&](const DominoFish& f) {
        if (f.joker)
            return;
        for (int v : {f.valueA, f.valueB}) {
            if (v >= 0 && v < FishField::kValueCount)
                seen[v] = true;
        }
    };
    for (const OpenTile& t : openTiles)
        see(*t.fish);
    for (const auto& f : line.fish)
        see(*f);
    for (const Place& p : deck.places) {
        if (!p.empty() && p.back()->open)
            see(*p.back());
    }
    int values = 0;
    for (bool b : seen)
        values += b;
    values = std::max(values, 2);
    hiddenMatch = 1.0 - std::pow(1.0 - 1.0 / values, 2);
}

bool AutoPlayer::SimOpen(int d) const
{
    if (!simAlive[d] || simCovering[d] > 0)
        return false;
    int lock = simTiles[d].lock;
    return !(lock >= 0 && lock < 3 && !simLocks[lock]);
}

// Puts a known tile on the open list into the masks it is found under (each
// value it carries, or the jokers' mask, and the mask of all), or takes it
// out: it is always the one or the other, so its bit is flipped.
void AutoPlayer::FlipReady(int t)
{
    const SimTile& f = simTiles[t];
    int pos = simPos[t];
    uint64_t bit = uint64_t{1} << (pos % 64);
    uint64_t* words = &readyMasks[static_cast<size_t>(pos / 64)];
    auto flip = [&](int m) { words[static_cast<size_t>(m) * maskWords] ^= bit; };
    flip(kAnyMask);
    if (f.joker) {
        flip(kJokerMask);
        return;
    }
    int a = MaskOf(f.a), b = MaskOf(f.b);
    flip(a);
    if (b != a)
        flip(b);
}

void AutoPlayer::SimAddOpen(int d)
{
    simInOpen[d] = 1;
    simPos[d] = static_cast<int>(simOpenList.size());
    simOpenList.push_back(d);
    if (simKnown[d])
        FlipReady(d);
    else
        ++simHidden;
}

int AutoPlayer::SimTake(int index)
{
    simAlive[index] = 0;
    if (simInOpen[index]) {
        if (simKnown[index])
            FlipReady(index);
        else
            --simHidden;
    }
    size_t before = simOpenList.size();
    auto open = [&](int d) {
        if (!simInOpen[d] && SimOpen(d))
            SimAddOpen(d);
    };
    for (int d : covers[index]) {
        --simCovering[d];
        open(d);
    }
    int key = simTiles[index].key;
    if (key >= 0 && !simLocks[key]) {
        simLocks[key] = 1;
        for (int d : lockedTiles[key]) {
            if (simAlive[d] && simTiles[d].lock == key)
                open(d);
        }
    }
    return static_cast<int>(simOpenList.size() - before);
}

void AutoPlayer::SimRestore(int index, int opened, int lockTaken)
{
    for (int i = 0; i < opened; ++i) {
        int d = simOpenList.back();
        if (simKnown[d])
            FlipReady(d);
        else
            --simHidden;
        simInOpen[d] = 0;
        simOpenList.pop_back();
    }
    if (lockTaken >= 0)
        simLocks[lockTaken] = 0;
    simAlive[index] = 1;
    if (simInOpen[index]) {
        if (simKnown[index])
            FlipReady(index);
        else
            ++simHidden;
    }
    for (int d : covers[index])
        ++simCovering[d];
}

// The chance that none of `hidden` face-down tiles matches, kept per count
// for the decision: the look-ahead asks for the same few counts many times.
double AutoPlayer::MissAll(int hidden)
{
    double& p = missAll[hidden];
    if (p < 0)
        p = std::pow(1.0 - hiddenMatch, hidden);
    return p;
}

double AutoPlayer::LongestRun(int current, bool joker, int depth, int& budget)
{
    if (depth <= 0)
        return 0;
    // Tiles the look-ahead turns over show nothing yet: each of them matches
    // only with the chance that a hidden tile carries the wanted value.
    int hidden = simHidden;
    double best = hidden == 0 ? 0.0 : joker ? 1.0 : 1.0 - MissAll(hidden);
    // The known tiles that can follow, in the order of the open list: a copy
    // of their mask, since the search below changes the masks and puts them
    // back as they were.
    uint64_t* ready = &readySnapshots[static_cast<size_t>(depth) * maskWords];
    if (joker) {
        const uint64_t* any = &readyMasks[static_cast<size_t>(kAnyMask) * maskWords];
        std::copy(any, any + maskWords, ready);
    } else {
        const uint64_t* values = &readyMasks[static_cast<size_t>(MaskOf(current)) * maskWords];
        const uint64_t* jokers = &readyMasks[static_cast<size_t>(kJokerMask) * maskWords];
        for (size_t w = 0; w < maskWords; ++w)
            ready[w] = values[w] | jokers[w];
    }
    for (size_t w = 0, pos = 0; w < maskWords && budget > 0; ++w, pos += 64) {
        for (; ready[w] != 0 && budget > 0; ready[w] &= ready[w] - 1) {
            int t = simOpenList[pos + static_cast<size_t>(std::countr_zero(ready[w]))];
            const SimTile& f = simTiles[t];
            if (!(joker || f.joker || f.a == current || f.b == current))
                continue;
            --budget;
            int key = f.key;
            int lockTaken = key >= 0 && !simLocks[key] ? key : -1;
            int opened = SimTake(t);
            double run = 0;
            if (f.joker)
                run = LongestRun(current, true, depth - 1, budget);
            else if (joker)
                run = std::max(LongestRun(f.a, false, depth - 1, budget), LongestRun(f.b, false, depth - 1, budget));
            else
                run = LongestRun(f.a == current ? f.b : f.a, false, depth - 1, budget);
            SimRestore(t, opened, lockTaken);
            best = std::max(best, 1 + run);
            if (best >= depth)
                return best;
        }
    }
    return best;
}

double AutoPlayer::RunFrom(DominoFish& f, int exposed, bool jokerExposed)
{
    auto it = indexOf.find(&f);
    if (it == indexOf.end())
        return 1;
    constexpr int kBudget = 300;
    int t = it->second;
    int key = simTiles[t].key;
    int lockTaken = key >= 0 && !simLocks[key] ? key : -1;
    int opened = SimTake(t);
    int budget = kBudget;
    double run = 1 + LongestRun(exposed, jokerExposed, kDepth - 1, budget);
    SimRestore(t, opened, lockTaken);
    return run;
}

void AutoPlayer::ClickCandidates(std::vector<Move>& out)
{
    // The look-ahead starts from the field as it is now.
    simAlive = alive;
    // What the player knows: the faces of the open tiles, and which closed
    // tiles are jokers (a joker has a back of its own).
    simKnown.assign(tiles.size(), 0);
    for (size_t d = 0; d < tiles.size(); ++d)
        simKnown[d] = alive[d] && (tiles[d]->open || tiles[d]->joker);
    EstimateHiddenMatch();
    missAll.assign(tiles.size() + 1, -1.0);
    // What the look-ahead reads of each tile, gathered once per decision.
    // Tiles gone from the field may be gone altogether (a reshuffle clears
    // the line), so only those still there are read.
    simTiles.assign(tiles.size(), {-1, -1, false, -1, -1});
    simCovering.assign(tiles.size(), 0);
    for (size_t d = 0; d < tiles.size(); ++d) {
        if (alive[d]) {
            const DominoFish& f = *tiles[d];
            simTiles[d] = {f.valueA, f.valueB, f.joker, f.lockType, VisibleKey(static_cast<int>(d))};
        }
        for (int u : coveredBy[d])
            simCovering[d] += simAlive[u];
    }
    simInOpen.assign(tiles.size(), 0);
    simPos.assign(tiles.size(), 0);
    simOpenList.clear();
    simHidden = 0;
    maskWords = std::max<size_t>(1, (tiles.size() + 63) / 64);
    readyMasks.assign(kMaskCount * maskWords, 0);
    readySnapshots.assign((kDepth + 1) * maskWords, 0);
    for (int k = 0; k < 3; ++k)
        simLocks[k] = field.OpenLocks()[k];
    for (size_t d = 0; d < tiles.size(); ++d) {
        if (SimOpen(static_cast<int>(d)))
            SimAddOpen(static_cast<int>(d));
    }
    // Longer runs of puts before the deck is needed again win levels.
    constexpr double kRunWeight = 25.0;

    const DominoFish& current = *line.Last();
    int b = line.RightPutValue();
    for (auto& l : field.layers) {
        for (auto& fp : l) {
            DominoFish& f = *fp;
            if (!f.open || f.IsGliding() || std::find(failed.begin(), failed.end(), &f) != failed.end())
                continue;
            if (!(f.HasHalf(b) || f.joker || current.joker))
                continue;
            Move m;
            m.fish = &f;
            if (f.joker) {
                m.score = Evaluate(f, false, kJoker, -1) + kRunWeight * RunFrom(f, b, true);
                out.push_back(m);
            } else if (current.joker) {
                m.score = Evaluate(f, false, f.RightValue(), -1) + kRunWeight * RunFrom(f, f.RightValue(), false);
                out.push_back(m);
                m.rightClick = true;
                m.score = Evaluate(f, false, f.LeftValue(), -1) + kRunWeight * RunFrom(f, f.LeftValue(), false);
                out.push_back(m);
            } else {
                int exposed = f.LeftValue() == b ? f.RightValue() : f.LeftValue();
                m.score = Evaluate(f, false, exposed, -1) + kRunWeight * RunFrom(f, exposed, false);
                out.push_back(m);
            }
        }
    }
}

void AutoPlayer::MouseMove(int px, int py)
{
    if (pointer)
        pointer->Move(px, py);
    else
        rules.MouseMove(px, py);
}

void AutoPlayer::MouseDown(int clickCode, int px, int py)
{
    if (pointer)
        pointer->Down(clickCode, px, py);
    else
        rules.MouseDown(clickCode, px, py);
}

void AutoPlayer::MouseDrag(int px, int py)
{
    if (pointer)
        pointer->Drag(px, py);
    else
        rules.MouseDrag(px, py);
}

void AutoPlayer::MouseUp(int clickCode, int px, int py)
{
    if (pointer)
        pointer->Up(clickCode, px, py);
    else
        rules.MouseUp(clickCode, px, py);
}

void AutoPlayer::PressReshuffle()
{
    if (pointer)
        pointer->PressReshuffle();
    else
        rules.Reshuffle();
}

bool AutoPlayer::Hover(DominoFish& f, bool placeTile, int& px, int& py)
{
    // The hit box is the drawn rectangle moved 7 right and 7 up; try its
    // centre first, then points towards its corners.
    int cx = f.left + f.width / 2 + 7;
    int cy = f.top + f.height / 2 - 7;
    const int offsets[5][2] = {{0, 0}, {-f.width / 3, -f.height / 3}, {f.width / 3, -f.height / 3},
                               {-f.width / 3, f.height / 3}, {f.width / 3, f.height / 3}};
    for (const auto& o : offsets) {
        px = cx + o[0];
        py = cy + o[1];
        MouseMove(px, py);
        DominoFish* onField = field.drag.Hovered();
        DominoFish* onDeck = deck.drag.Hovered();
        if (placeTile ? (onDeck == &f && !onField) : (onField == &f && !onDeck))
            return true;
    }
    MouseMove(0, 0);
    return false;
}

bool AutoPlayer::Perform(const Move& m)
{
    DominoFish& f = *m.fish;
    size_t before = line.fish.size();
    int px, py;
    if (!Hover(f, m.place >= 0, px, py))
        return false;
    if (click) {
        int code = m.rightClick ? -1 : 1;
        MouseDown(code, px, py);
        MouseUp(code, px, py);
    } else {
        MouseDown(1, px, py);
        After();
        const DominoFish& end = m.side < 0 ? *line.First() : *line.Last();
        int tx = m.side < 0 ? end.x - 80 : end.x + 80;
        int ty = end.y;
        MouseDrag(tx, ty);
        if (m.rightClick)
            MouseDown(-1, tx, ty);
        After();
        MouseUp(1, tx, ty);
    }
    After();
    return line.fish.size() > before;
}

bool AutoPlayer::ClickDeck()
{
    size_t lineBefore = line.fish.size();
    size_t deckBefore = deck.fish.size();
    int redealsBefore = deck.redealsLeft;
    MouseMove(kDeckX, kDeckY);
    MouseDown(1, kDeckX, kDeckY);
    MouseUp(1, kDeckX, kDeckY);
    After();
    return line.fish.size() != lineBefore || deck.fish.size() != deckBefore || deck.redealsLeft != redealsBefore;
}

bool AutoPlayer::Act()
{
    if (!line.First())
        return false;
    After();
    MarkAlive();
    std::vector<Move> candidates;
    if (click)
        ClickCandidates(candidates);
    else
        DragCandidates(candidates);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Move& a, const Move& b) { return a.score > b.score; });

    bool deckUsable = !deck.fish.empty() || (!click && deck.redealsLeft > 0);
    // A joker is the last resort while the deck can still help.
    bool saveJoker = !candidates.empty() && candidates.front().fish->joker && deckUsable;
    if (!saveJoker) {
        int tries = 0;
        for (const Move& m : candidates) {
            if (tries++ >= 3)
                break;
            if (Perform(m)) {
                ++moves;
                failed.clear();
                Tick(ThinkTime());
                return true;
            }
            failed.push_back(m.fish);
        }
    }
    size_t lineBefore = line.fish.size();
    if (deckUsable && ClickDeck()) {
        if (line.fish.size() > lineBefore)
            ++moves;
        failed.clear();
        Tick(ThinkTime());
        return true;
    }
    return false;
}

void AutoPlayer::PlayAtPersonsPace(unsigned seed)
{
    personsPace = true;
    paceRandom.seed(seed);
}

int AutoPlayer::ThinkTime()
{
    if (!personsPace)
        return thinkUpdates;
    // Not std::uniform_int_distribution: its draws differ between standard
    // libraries, and the thresholds measured with it must come out the same
    // on every machine.
    unsigned span = kPersonThinkMax - kPersonThinkMin + 1;
    return kPersonThinkMin + static_cast<int>(paceRandom() % span);
}

void AutoPlayer::Tick(int n)
{
    for (int i = 0; i < n; ++i)
        host.Tick();
}

void AutoPlayer::After()
{
    if (afterAction)
        afterAction();
}

AutoPlayResult AutoPlayer::Play()
{
    AutoPlayResult result;
    host.levelWon = false;
    host.gameOver = false;
    int start = host.updates;
    int idle = 0;
    BuildCoverGraph();
    while (host.updates - start < updateLimit) {
        if (host.levelWon) {
            result.won = true;
            break;
        }
        if (host.gameOver) {
            host.gameOver = false;
            if (field.ShufflesLeft() <= 0 || !mayReshuffle)
                break;
            PressReshuffle();
            ++result.reshuffles;
            failed.clear();
            After();
            idle = 0;
            continue;
        }
        if (field.Loading() || deck.dealing || field.FishCount() == 0) {
            Tick(1);
            continue;
        }
        if (Act()) {
            idle = 0;
            continue;
        }
        Tick(1);
        ++idle;
        if (idle > kStuckReshuffle && mayReshuffle && field.ShufflesLeft() > 0 && !host.gameOver && !host.levelWon) {
            PressReshuffle();
            ++result.reshuffles;
            failed.clear();
            After();
            idle = 0;
            continue;
        }
        if (idle > kIdleLimit) {
            result.stuck = true;
            break;
        }
    }
    result.score = field.Score();
    result.moves = moves;
    result.updates = host.updates - start;
    return result;
}

} // namespace Zorvin
