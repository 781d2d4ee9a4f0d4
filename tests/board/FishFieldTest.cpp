// The field's rules on small in-memory layouts: dealing, open and playable
// tiles, locks and keys, hints, undo, reshuffle and the end of a level.
//
// Sections:
//   - dealing and starting a level
//   - open, closed and playable tiles
//   - locks and keys
//   - drag-mode puts, turns, drops and undo
//   - jokers and hints
//   - reshuffle
//   - the end of the level
//   - click mode

#include <map>

#include "framework/core/Cp1251.h"
#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

class FishFieldTest : public BoardFixture {};

TEST_F(FishFieldTest, DealHandsOutOneChainAndFadesTheTilesIn)
{
    F().level.types = {3, 5, 8, 11};
    F().level.typeCount = 4;
    for (int i = 0; i < 8; ++i)
        Add(i % 2, 100 + 90 * i, 100);
    Deal(PlayMode::Drag, 2);

    EXPECT_EQ(host.pumps, 139);
    EXPECT_FALSE(F().Loading());
    EXPECT_EQ(host.CountSound(SOUND_LEVEL_START), 1);
    std::map<int, int> seen;
    for (int l = 0; l < 2; ++l) {
        for (auto& f : F().layers[l]) {
            EXPECT_TRUE(f->visible);
            EXPECT_EQ(f->alpha, 255);
            EXPECT_FALSE(f->IsGliding());
            for (int v : {f->valueA, f->valueB}) {
                EXPECT_TRUE(v == 3 || v == 5 || v == 8 || v == 11) << v;
                ++seen[v];
            }
        }
    }
    // The tiles glided back onto the places the layout gave them.
    for (int k = 0; k < 8; ++k) {
        const DominoFish* f = F().FishAt(k % 2, k / 2);
        EXPECT_EQ(f->x, 100 + 90 * k);
        EXPECT_EQ(f->y, 100);
    }
    // The line shows the pair left over. Every pair of a chain shares a value
    // with the next, so at most two values occur an odd number of times.
    ++seen[Line().LeftEnd()];
    ++seen[Line().RightEnd()];
    int odd = 0;
    for (auto& [v, n] : seen)
        odd += n % 2;
    EXPECT_LE(odd, 2);
    EXPECT_EQ(Line().fish.size(), 2u);
    EXPECT_EQ(Line().First()->targetX, 358);
    EXPECT_EQ(Line().Last()->targetX, 440);
}

TEST_F(FishFieldTest, IntroStopsEarlyWhenTheApplicationCloses)
{
    Add(0, 100, 100);
    host.closing = true;
    Deal();
    EXPECT_EQ(host.pumps, 0);
    EXPECT_EQ(F().FishAt(0, 0)->alpha, 0);
    EXPECT_FALSE(F().Loading());
}

TEST_F(FishFieldTest, FirstLevelLineMatchesTheTopTile)
{
    Add(0, 100, 100);
    Add(0, 300, 100);
    DominoFish* top = Add(1, 500, 300);
    Deal(PlayMode::Drag, 1);
    EXPECT_EQ(Line().LeftEnd(), top->valueB);
    EXPECT_EQ(Line().RightEnd(), top->valueA);
    EXPECT_TRUE(top->open);
    EXPECT_TRUE(top->playable);
}

TEST_F(FishFieldTest, LevelStartShowsTheFirstLevelHintAndResetsTheButtons)
{
    Add(0, 100, 100);
    host.profile.levelMode0 = 1;
    F().TakeCounters(F().Score(), 2);
    Deal(PlayMode::Drag, 1);
    ASSERT_EQ(host.hints.size(), 1u);
    EXPECT_EQ(host.hints[0].x, 490);
    EXPECT_EQ(host.hints[0].text.substr(0, 10), W("Перетаскивайте камни").substr(0, 10));
    EXPECT_TRUE(host.reshuffleEnabled);
    EXPECT_EQ(host.reshuffleLabel, W("Тасовок 2"));
    EXPECT_FALSE(host.undoEnabled);

    host.hints.clear();
    host.profile.levelMode0 = 4;
    host.profile.levelMode2 = 1;
    F().TakeCounters(F().Score(), 0);
    F().BeginLevel("x");
    Add(0, 100, 100);
    Deal(PlayMode::Click, 1);
    ASSERT_EQ(host.hints.size(), 1u);
    EXPECT_EQ(host.hints[0].text, W("Найдите камень с такой же картинкой на игровом поле и кликните на него."));
    EXPECT_FALSE(host.reshuffleEnabled);
    EXPECT_EQ(host.reshuffleLabel, W("Тасовок 0"));

    host.hints.clear();
    host.profile.levelMode2 = 2;
    F().BeginLevel("x");
    Add(0, 100, 100);
    Deal(PlayMode::Click, 2);
    EXPECT_TRUE(host.hints.empty());
}

TEST_F(FishFieldTest, TilesAboveCloseTilesTheirCornersReach)
{
    DominoFish* l1 = Add(0, 200, 200);
    DominoFish* l2 = Add(0, 200, 400);
    DominoFish* l3 = Add(0, 600, 200);
    DominoFish* l4 = Add(0, 200, 600);
    Add(1, 279, 176);  // lower corner point lands on l1's box edge
    Add(1, 280, 376);  // one pixel further: l2 stays open
    Add(1, 680, 200);  // same row, 80 to the side: no cover
    Add(1, 200, 600);  // straight above
    Deal();
    EXPECT_FALSE(l1->open);
    EXPECT_TRUE(l2->open);
    EXPECT_TRUE(l3->open);
    EXPECT_FALSE(l4->open);
    EXPECT_EQ(F().FreeCount(), 6);
    // Tiles that opened flipped face up and the next update plays the flip sound.
    EXPECT_TRUE(l2->flipping);
    EXPECT_FALSE(l1->flipping);
}

TEST_F(FishFieldTest, ClosedTilesFlipBackAndTheFlipSoundPlaysOnce)
{
    DominoFish* low = Add(0, 200, 200);
    Deal();
    host.Ticks(60);
    host.sounds.clear();
    EXPECT_TRUE(low->open);
    Add(1, 200, 200);
    F().RecomputeOpen();
    EXPECT_FALSE(low->open);
    EXPECT_TRUE(low->flipping);
    EXPECT_TRUE(low->flipBackward);
    host.Ticks(2);
    EXPECT_EQ(host.CountSound(SOUND_FLIP), 1);
}

TEST_F(FishFieldTest, PlayableTilesDependOnModeAndJokers)
{
    DominoFish* a = Add(0, 100, 100);
    DominoFish* b = Add(0, 300, 100);
    DominoFish* c = Add(0, 500, 100);
    Deal();
    SetValues(a, 5, 1);  // matches the left end only
    SetValues(b, 2, 6);  // matches the right end
    SetValues(c, 3, 4);
    SetLine(5, 6);
    EXPECT_TRUE(a->playable);
    EXPECT_TRUE(b->playable);
    EXPECT_FALSE(c->playable);
    EXPECT_EQ(F().MovesAvailable(), 2);

    c->MakeJoker(true);
    F().RecomputePlayable();
    EXPECT_EQ(F().MovesAvailable(), 3);
    c->MakeJoker(false);
    SetValues(c, 3, 4);

    // In click mode only the current tile's value counts.
    F().mode = PlayMode::Click;
    Line().First()->valueA = Line().First()->valueB = 5;
    F().RecomputePlayable();
    EXPECT_FALSE(a->playable);
    EXPECT_TRUE(b->playable);
    EXPECT_EQ(F().MovesAvailable(), 1);

    // A joker at either end makes every open tile playable.
    F().mode = PlayMode::Drag;
    Line().First()->MakeJoker(true);
    F().RecomputePlayable();
    EXPECT_EQ(F().MovesAvailable(), 3);
    Line().First()->MakeJoker(false);
    Line().Last()->MakeJoker(true);
    F().RecomputePlayable();
    EXPECT_EQ(F().MovesAvailable(), 3);
}

TEST_F(FishFieldTest, StepDownNeighboursAreMarkedForOverdrawing)
{
    DominoFish* k = Add(0, 100, 100);
    DominoFish* other = Add(0, 300, 100);
    DominoFish* l = Add(0, 180, 125);
    Deal();
    EXPECT_EQ(l->overlapPartner, 0);
    EXPECT_TRUE(k->overlapLeft);
    EXPECT_FALSE(other->overlapLeft);
    EXPECT_EQ(other->overlapPartner, -1);
}

TEST_F(FishFieldTest, PuttingAKeyOpensEveryLockOfItsType)
{
    DominoFish* key = Add(0, 100, 100);
    DominoFish* x = Add(0, 300, 100);
    DominoFish* y = Add(0, 500, 100);
    DominoFish* z = Add(0, 700, 100);
    key->itemType = 0;
    x->lockType = 0;
    y->lockType = 0;
    z->lockType = 1;
    Deal();
    EXPECT_FALSE(x->open);
    EXPECT_EQ(F().FreeCount(), 1);
    SetValues(key, 6, 1);
    SetLine(5, 6);
    F().ClearPopups();
    DragTo(key, RightJoinX(), 565);
    EXPECT_EQ(F().FishCount(), 3);
    EXPECT_TRUE(x->open);
    EXPECT_TRUE(y->open);
    EXPECT_FALSE(z->open);
    EXPECT_EQ(x->lockType, -1);
    EXPECT_EQ(z->lockType, 1);
    EXPECT_EQ(F().OpenLocks()[0], 1);
    EXPECT_EQ(key->itemType, -1);
    EXPECT_EQ(F().Popups().size(), 3u);
    EXPECT_EQ(host.CountSound(SOUND_USE_KEY), 1);
    // Lock types no key can express count as no lock at all.
    z->lockType = 7;
    F().RecomputeOpen();
    EXPECT_TRUE(z->open);
}

TEST_F(FishFieldTest, ItemsWithoutAMatchingLockAreRemoved)
{
    DominoFish* a = Add(0, 100, 100);
    DominoFish* b = Add(0, 300, 100);
    DominoFish* c = Add(0, 500, 100);
    a->itemType = 0;
    b->itemType = 1;
    c->lockType = 1;
    Deal();
    F().RemoveOrphanItems();
    EXPECT_EQ(a->itemType, -1);
    EXPECT_EQ(b->itemType, 1);
}

TEST_F(FishFieldTest, DragPutAtTheRightEndScoresAndUndoTakesItBack)
{
    DominoFish* a = Add(0, 100, 100);
    DominoFish* b = Add(0, 300, 100);
    DominoFish* t = Add(1, 100, 100);
    Deal();
    SetValues(t, 6, 2);
    SetValues(a, 1, 1);
    SetValues(b, 2, 9);
    SetLine(5, 6);
    EXPECT_FALSE(a->open);
    EXPECT_EQ(F().MovesAvailable(), 1);
    DominoFish* oldLast = Line().Last();

    DragTo(t, RightJoinX(), 565);
    EXPECT_FALSE(t->IsTurning()) << "its left half already matches";
    EXPECT_EQ(F().FishCount(), 2);
    EXPECT_TRUE(F().layers[1].empty());
    ASSERT_EQ(Line().fish.size(), 3u);
    EXPECT_EQ(Line().Last(), t);
    EXPECT_EQ(t->targetX, 440);
    EXPECT_EQ(oldLast->targetX, 360);
    EXPECT_TRUE(oldLast->clipWhileGliding);
    EXPECT_EQ(t->layer, 0);
    EXPECT_TRUE(a->open) << "the tile under it opened";
    EXPECT_EQ(F().LastPut().source, PutSource::Field);
    EXPECT_EQ(F().LastPut().layer, 1);
    EXPECT_EQ(F().LastPut().originX, 100);
    EXPECT_EQ(F().Score(), 20);
    EXPECT_EQ(F().LastPut().lastPoints, 20);
    EXPECT_EQ(host.CountSound(SOUND_PUT), 1);
    EXPECT_TRUE(host.undoEnabled);
    EXPECT_FLOAT_EQ(rules.comboMeter->level, 5);
    EXPECT_EQ(Line().RightEnd(), 2);
    EXPECT_EQ(F().MovesAvailable(), 1);

    host.Ticks(10);
    rules.UndoButton();
    EXPECT_FALSE(host.undoEnabled);
    EXPECT_EQ(F().Score(), 0);
    EXPECT_EQ(F().LastPut().lastPoints, -20);
    EXPECT_EQ(F().FishCount(), 3);
    ASSERT_EQ(F().layers[1].size(), 1u);
    EXPECT_EQ(F().layers[1][0].get(), t);
    EXPECT_EQ(t->layer, 1);
    EXPECT_FALSE(a->open) << "it covers again what it covered";
    EXPECT_EQ(Line().fish.size(), 2u);
    EXPECT_EQ(Line().Last(), oldLast);
    EXPECT_EQ(oldLast->targetX, 440);
    host.Ticks(30);
    EXPECT_EQ(t->x, 100);
    EXPECT_EQ(t->y, 100);
    EXPECT_TRUE(t->pulsing) << "it bounces into place";

    // The same move cannot be undone twice.
    rules.UndoButton();
    EXPECT_EQ(F().Score(), 0);
    EXPECT_EQ(F().FishCount(), 3);
}

TEST_F(FishFieldTest, DraggedTileTurnsToFitTheLeftEnd)
{
    DominoFish* f = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal();
    SetValues(f, 5, 3);
    SetLine(5, 6);
    DominoFish* oldFirst = Line().First();
    DragTo(f, LeftJoinX(), 565, false);
    EXPECT_EQ(f->rotation, 2);
    rules.MouseUp(1, LeftJoinX(), 565);
    EXPECT_EQ(Line().First(), f);
    EXPECT_EQ(oldFirst->targetX, 438);
    EXPECT_EQ(oldFirst->clipRect[0], 320);
    EXPECT_EQ(oldFirst->clipRect[2], 80);
    host.Ticks(60);
    EXPECT_EQ(f->orientation, 1);
    EXPECT_EQ(Line().LeftEnd(), 3);
    EXPECT_EQ(f->x, 358);
}

// A tile that began turning toward the right end and is swept to the left
// end and dropped there within the turn joins with its matching half toward
// the line, not the way the turn was going.
TEST_F(FishFieldTest, TileSweptToTheOtherEndWithinItsTurnFacesThatEnd)
{
    DominoFish* f = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal();
    SetValues(f, 3, 5);
    SetLine(5, 5);
    DragTo(f, 470, 400, false);
    ASSERT_EQ(f->rotation, 1) << "turning to show 5 to the right end";
    rules.MouseDrag(LeftJoinX(), 565);
    rules.MouseUp(1, LeftJoinX(), 565);
    ASSERT_EQ(Line().First(), f);
    host.Ticks(60);
    EXPECT_EQ(f->RightValue(), 5) << "the half touching the line's 5|5";
    EXPECT_EQ(Line().LeftEnd(), 3);
}

TEST_F(FishFieldTest, FailedDropsGlideBackAndScoreNothing)
{
    DominoFish* f = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal();
    SetValues(f, 6, 3);
    SetLine(5, 6);
    int undoChanges = host.undoButtonChanges;

    // 51 pixels beyond the right join point.
    DragTo(f, RightJoinX() + 51, 565);
    EXPECT_EQ(F().FishCount(), 2);
    EXPECT_EQ(F().Score(), 0);
    EXPECT_EQ(F().drag.Hovered(), nullptr);
    EXPECT_FALSE(f->settled);
    EXPECT_EQ(f->glideFrames, 30);
    host.Ticks(30);
    EXPECT_EQ(f->x, 100);
    EXPECT_EQ(f->y, 100);
    EXPECT_TRUE(f->settled);

    // A short drag comes back at once.
    DragTo(f, 120, 110);
    EXPECT_EQ(f->glideFrames, 1);
    host.Ticks(1);
    EXPECT_EQ(f->x, 100);

    // Shown at the left end, then released at the right end, which it does
    // not match: no put, no points.
    SetValues(f, 5, 9);
    F().RecomputePlayable();
    DragTo(f, LeftJoinX(), 565, false);
    EXPECT_EQ(Line().snapSide, -1);
    // Shown next to the end tile; only its picture moved.
    rules.MouseDrag(LeftJoinX() + 20, 575);
    EXPECT_EQ(Line().snapSide, -1);
    EXPECT_EQ(f->left, Line().First()->left - 80);
    EXPECT_EQ(f->top, Line().First()->top);
    EXPECT_EQ(f->x, 100);
    EXPECT_EQ(f->y, 100);
    rules.MouseDrag(RightJoinX(), 565);
    EXPECT_EQ(Line().snapSide, 0);
    rules.MouseUp(1, RightJoinX(), 565);
    EXPECT_EQ(F().FishCount(), 2);
    EXPECT_EQ(F().Score(), 0);
    EXPECT_EQ(host.CountSound(SOUND_PUT), 0);
    EXPECT_EQ(host.undoButtonChanges, undoChanges);
}

TEST_F(FishFieldTest, RightClickTurnsATileOnlyNearAJokerEnd)
{
    DominoFish* f = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal();
    SetValues(f, 7, 8);
    SetLine(5, 6);
    DragTo(f, LeftJoinX(), 565, false);
    rules.MouseDown(-1, LeftJoinX(), 565);
    EXPECT_FALSE(f->IsTurning());
    Line().Last()->MakeJoker(true);
    rules.MouseDrag(RightJoinX(), 565);
    EXPECT_FALSE(f->IsTurning());
    rules.MouseDown(-1, RightJoinX(), 565);
    EXPECT_EQ(f->rotation, 2);
    // Letting the right button go is no put, though the tile is shown at the end.
    rules.MouseUp(-1, RightJoinX(), 565);
    EXPECT_EQ(Line().snapSide, 1);
    EXPECT_EQ(F().Score(), 0);
    EXPECT_EQ(host.CountSound(SOUND_PUT), 0);
    EXPECT_FALSE(host.undoEnabled);
    rules.MouseUp(1, RightJoinX(), 565);
    EXPECT_EQ(Line().Last(), f);
    EXPECT_EQ(F().Score(), 20);
    EXPECT_EQ(Line().snapSide, 0);
    host.Ticks(40);
    EXPECT_EQ(f->orientation, 1);
}

TEST_F(FishFieldTest, JokerAtAnEndAfterAPutShowsTheJokerHintOnce)
{
    DominoFish* f = Add(0, 100, 100);
    DominoFish* g = Add(0, 300, 100);
    Deal();
    f->MakeJoker(true);
    SetValues(g, 100, 100);
    g->joker = true;
    SetLine(5, 6);
    DragTo(f, RightJoinX(), 565);
    ASSERT_EQ(host.hints.size(), 1u);
    EXPECT_EQ(host.hints[0].x, 490);
    EXPECT_TRUE(host.profile.jokerHintShown);
    host.Ticks(60);
    DragTo(g, LeftJoinX(), 565);
    EXPECT_EQ(host.hints.size(), 1u);
}

TEST_F(FishFieldTest, HintsWalkThroughThePlayableTilesAndComeWhenIdle)
{
    DominoFish* a = Add(0, 100, 100);
    DominoFish* b = Add(0, 300, 100);
    DominoFish* c = Add(0, 500, 100);
    Deal();
    SetValues(a, 6, 1);
    SetValues(b, 3, 3);
    SetValues(c, 6, 2);
    SetLine(5, 6);
    F().ResetIdle();
    host.Ticks(599);
    EXPECT_EQ(F().HintedTile(), nullptr);
    host.Ticks(1);
    // Counted from the last tile: c first; it fits the right end only.
    EXPECT_EQ(F().HintedTile(), c);
    EXPECT_EQ(F().HintedEnds(), FishField::kHintRightEnd);
    EXPECT_EQ(F().IdleUpdates(), -1000);
    // The glow holds for three seconds.
    host.Ticks(FishField::kHintGlowUpdates - 1);
    EXPECT_EQ(F().HintedTile(), c);
    host.Ticks(1);
    EXPECT_EQ(F().HintedTile(), nullptr);
    host.Ticks(1599 - FishField::kHintGlowUpdates);
    EXPECT_EQ(F().HintedTile(), nullptr);
    host.Ticks(1);
    EXPECT_EQ(F().HintedTile(), a);

    // The hint button goes on walking and starts the idle wait anew; the
    // next move puts the glow out.
    host.Ticks(200);
    rules.HintButton();
    EXPECT_EQ(F().HintedTile(), c);
    EXPECT_EQ(F().IdleUpdates(), -1000);
    DragTo(a, RightJoinX(), 565);
    EXPECT_EQ(F().HintedTile(), nullptr);
}

TEST_F(FishFieldTest, ReshuffleDealsNewValuesAndRefillsTheDeck)
{
    for (int i = 0; i < 6; ++i)
        Add(i / 3, 100 + 200 * (i % 3), 100 + 200 * (i / 3));
    F().level.types = {1, 2, 3, 4, 5};
    F().level.typeCount = 5;
    Deal();
    D().Fill(1);
    F().TakeCounters(F().Score(), 1);
    rules.comboMeter->level = 50;
    int pumps = host.pumps;
    rules.Reshuffle();
    EXPECT_EQ(host.pumps - pumps, 59);
    EXPECT_EQ(F().ShufflesLeft(), 0);
    EXPECT_EQ(D().fish.size(), 3u) << "at least three tiles";
    EXPECT_EQ(rules.comboMeter->level, 0);
    EXPECT_FALSE(host.reshuffleEnabled);
    EXPECT_EQ(host.reshuffleLabel, W("Тасовок 0"));
    EXPECT_FALSE(host.undoEnabled);
    EXPECT_EQ(F().CountFish(), 6);
    EXPECT_EQ(F().FishCount(), 6);
    EXPECT_EQ(Line().fish.size(), 2u);
    EXPECT_EQ(Line().First()->targetX, 358);
    // No reshuffle is left.
    rules.Reshuffle();
    EXPECT_EQ(host.pumps - pumps, 59);
}

TEST_F(FishFieldTest, WinIsActedOnOnceTheLineHasSettled)
{
    DominoFish* f = Add(0, 100, 100);
    host.profile.levelMode0 = 3;
    host.profile.shufflesLeft = 1;
    Deal(PlayMode::Drag, 3);
    F().TakeCounters(F().Score(), 2);
    SetValues(f, 6, 1);
    SetLine(5, 6);
    DragTo(f, RightJoinX(), 565);
    EXPECT_EQ(F().FishCount(), 0);
    // The field runs before the line in an update: the win is seen on the
    // update after the line's last glide step.
    host.Ticks(60);
    EXPECT_TRUE(host.wonDialogs.empty());
    host.Ticks(1);
    ASSERT_EQ(host.wonDialogs.size(), 1u);
    EXPECT_EQ(host.wonDialogs[0], W("Уровень пройден!|Поздравляем!  Вы полностью разобрали данный уровень!|Продолжить"));
    EXPECT_EQ(host.profile.levelMode0, 4);
    EXPECT_EQ(host.profile.scoreMode0, 20);
    EXPECT_EQ(host.profile.shufflesLeft, 2);
    EXPECT_EQ(host.playersSaved, 1);
    EXPECT_TRUE(host.levelWonThisSession);
    EXPECT_EQ(host.CountSound(SOUND_LEVEL_COMPLETE), 1);
    host.Ticks(200);
    EXPECT_EQ(host.wonDialogs.size(), 1u);
    EXPECT_EQ(host.gameOverDialogs, 0);
}

TEST_F(FishFieldTest, UndoBeforeTheWinSettlesTakesTheWinBack)
{
    DominoFish* f = Add(0, 100, 100);
    Deal();
    SetValues(f, 6, 1);
    SetLine(5, 6);
    DragTo(f, RightJoinX(), 565);
    EXPECT_TRUE(F().Won());
    rules.UndoButton();
    host.Ticks(100);
    EXPECT_TRUE(host.wonDialogs.empty());
    EXPECT_EQ(F().FishCount(), 1);
}

TEST_F(FishFieldTest, LossWaitsForTheLineAndComesOnce)
{
    DominoFish* f = Add(0, 100, 100);
    DominoFish* g = Add(0, 300, 100);
    Deal();
    SetValues(f, 6, 1);
    SetValues(g, 9, 9);
    SetLine(5, 6);
    DragTo(f, RightJoinX(), 565);
    EXPECT_TRUE(F().Lost());
    host.Ticks(60);
    EXPECT_EQ(host.gameOverDialogs, 0);
    host.Ticks(1);
    EXPECT_EQ(host.gameOverDialogs, 1);
    EXPECT_EQ(host.CountSound(SOUND_LEVEL_FAILED), 1);
    EXPECT_FALSE(F().Lost());
    host.Ticks(100);
    EXPECT_EQ(host.gameOverDialogs, 1);
    (void)g;
}

TEST_F(FishFieldTest, LineEndsReadTurningTilesAsTheyWillStand)
{
    DominoFish* f = Add(0, 100, 100);
    DominoFish* g = Add(0, 300, 100);
    Deal();
    SetValues(f, 3, 5);
    SetValues(g, 3, 7);
    SetLine(9, 5);
    DragTo(f, RightJoinX(), 565);
    ASSERT_EQ(Line().Last(), f);
    EXPECT_TRUE(f->IsTurning());
    // The line already reads the end the turn will show.
    EXPECT_EQ(Line().RightEnd(), 3);
    EXPECT_TRUE(g->playable);
    EXPECT_FALSE(F().Lost());
    host.Ticks(100);
    EXPECT_EQ(host.gameOverDialogs, 0);
    EXPECT_EQ(Line().RightEnd(), 3);
    EXPECT_EQ(F().MovesAvailable(), 1);
    EXPECT_TRUE(g->playable);

    // A tile matching only the value that turns away is refused.
    DominoFish* h = Add(0, 500, 100);
    SetValues(h, 3, 3);
    F().RecomputeOpen();
    Line().Last()->StartTurn(1, 0.1f);
    DragTo(h, RightJoinX(), 565);
    EXPECT_NE(Line().Last(), h);
}

TEST_F(FishFieldTest, DeckMovesKeepADragModeLevelAlive)
{
    DominoFish* f = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal();
    SetValues(f, 6, 1);
    SetValues(F().FishAt(0, 1), 9, 9);
    D().Fill(1);
    SetValues(D().fish[0].get(), 1, 4);
    D().fish[0]->joker = false;
    SetLine(5, 6);
    DragTo(f, RightJoinX(), 565);
    EXPECT_EQ(D().deckMoves, 1);
    EXPECT_FALSE(F().Lost());
    host.Ticks(100);
    EXPECT_EQ(host.gameOverDialogs, 0);
}

TEST_F(FishFieldTest, ClickPutFliesToTheLineAndTurnsToMatch)
{
    DominoFish* p = Add(0, 100, 100);
    DominoFish* q = Add(0, 300, 100);
    DominoFish* r = Add(0, 500, 100);
    Deal(PlayMode::Click);
    SetValues(p, 4, 7);
    SetValues(q, 2, 7);
    SetValues(r, 4, 9);
    SetLine(0, 4);
    EXPECT_TRUE(p->playable);
    EXPECT_FALSE(q->playable);

    Click(q);
    EXPECT_EQ(F().FishCount(), 3) << "q does not show the current value";
    Click(p);
    EXPECT_EQ(F().FishCount(), 2);
    EXPECT_EQ(Line().Last(), p);
    EXPECT_TRUE(p->toPlayLine);
    EXPECT_EQ(p->targetX, 520);
    EXPECT_FLOAT_EQ(rules.comboMeter->level, 3);
    EXPECT_EQ(F().Score(), 20);
    EXPECT_TRUE(host.undoEnabled);
    DominoFish* before = Line().fish[1].get();
    host.Ticks(30);
    EXPECT_FALSE(p->toPlayLine);
    EXPECT_EQ(p->x, 520);
    EXPECT_EQ(p->targetX, 440);
    EXPECT_EQ(before->targetX, 400);
    // The current value is now 7: q matches, r (left value 4) does not.
    EXPECT_TRUE(q->playable);
    EXPECT_FALSE(r->playable);

    Click(q);
    EXPECT_EQ(q->rotation, 2);
    host.Ticks(40);
    EXPECT_EQ(q->orientation, 1);
    EXPECT_EQ(q->LeftValue(), 7);
    EXPECT_EQ(Line().RightEnd(), 2);
}

TEST_F(FishFieldTest, ClickedJokerLeavesItsHintOnScreen)
{
    DominoFish* p = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal(PlayMode::Click);
    p->MakeJoker(true);
    SetLine(0, 4);
    Click(p);
    ASSERT_EQ(Line().Last(), p);
    EXPECT_EQ(host.visibleHint.substr(0, 8), W("Это джокер!").substr(0, 8));
    EXPECT_TRUE(host.profile.jokerHintShown);
    ASSERT_EQ(host.hints.size(), 1u);
    EXPECT_EQ(host.hints[0].x, 490);
}

TEST_F(FishFieldTest, ClickModeRightClickOnAJokerTurnsTheTile)
{
    DominoFish* p = Add(0, 100, 100);
    Deal(PlayMode::Click);
    SetValues(p, 4, 7);
    SetLine(0, 4);
    Line().Last()->MakeJoker(true);
    Click(p, -1);
    EXPECT_EQ(Line().Last(), p);
    EXPECT_EQ(p->rotation, 2);
}

TEST_F(FishFieldTest, ClickModeLossNeedsAnEmptyDeckAndShowsTheDeckHint)
{
    DominoFish* p = Add(0, 100, 100);
    DominoFish* q = Add(0, 300, 100);
    Deal(PlayMode::Click);
    SetValues(p, 4, 7);
    SetValues(q, 1, 1);
    SetLine(0, 4);
    D().Fill(1);
    Click(p);
    host.Ticks(30);
    ASSERT_FALSE(host.hints.empty());
    EXPECT_EQ(host.hints.back().text, W("Используйте колоду если на поле нет ходов."));
    EXPECT_EQ(host.hints.back().x, 110);
    EXPECT_TRUE(host.profile.deckHintShown);
    host.Ticks(100);
    EXPECT_EQ(host.gameOverDialogs, 0);

    // Drawing the last deck tile leaves nothing: the level is lost.
    rules.MouseMove(50, 560);
    rules.MouseDown(1, 50, 560);
    rules.MouseUp(1, 50, 560);
    EXPECT_TRUE(D().fish.empty());
    host.Ticks(100);
    int expected = Line().RightEnd() == 1 ? 0 : 1;
    EXPECT_EQ(host.gameOverDialogs, expected);
}

// The deck tip is for a field that still has tiles and no move while the
// deck can help: the winning put (an empty field has no moves either) and a
// lost level do not spend it, and it stays unshown for later.
TEST_F(FishFieldTest, DeckHintIsNotSpentOnTheWinningPutNorOnALostLevel)
{
    for (bool win : {true, false}) {
        SCOPED_TRACE(win);
        F().layers.clear();
        F().RecountFish();
        host.hints.clear();
        host.profile.deckHintShown = false;
        DominoFish* p = Add(0, 100, 100);
        DominoFish* q = win ? nullptr : Add(0, 300, 100);
        Deal(PlayMode::Click);
        SetValues(p, 4, 7);
        if (q)
            SetValues(q, 1, 1);
        SetLine(0, 4);
        D().Fill(win ? 1 : 0);
        size_t won = host.wonDialogs.size();
        int lost = host.gameOverDialogs;
        Click(p);
        host.Ticks(130);
        EXPECT_EQ(F().FishCount(), win ? 0 : 1);
        EXPECT_EQ(host.wonDialogs.size(), won + (win ? 1 : 0));
        EXPECT_EQ(host.gameOverDialogs, lost + (win ? 0 : 1));
        EXPECT_TRUE(host.hints.empty());
        EXPECT_FALSE(host.profile.deckHintShown);
    }
}

TEST_F(FishFieldTest, UndoInClickModeStopsTheFlightToTheLine)
{
    DominoFish* p = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal(PlayMode::Click);
    SetValues(p, 7, 4);
    SetLine(0, 4);
    Click(p);
    EXPECT_TRUE(p->IsTurning());
    host.Ticks(5);
    rules.UndoButton();
    EXPECT_FALSE(p->toPlayLine);
    EXPECT_FALSE(p->IsTurning());
    host.Ticks(40);
    EXPECT_EQ(p->x, 100);
    EXPECT_EQ(p->y, 100);
    EXPECT_EQ(Line().fish.size(), 2u);
    EXPECT_EQ(F().Score(), 0);
}

// A tile that turned to fit the line comes back as it lay, halves and all,
// whether it turned while dragged (drag mode) or on landing (click mode).
TEST_F(FishFieldTest, UndoLaysATurnedTileBackAsItLay)
{
    DominoFish* f = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal();
    SetValues(f, 5, 3);
    SetLine(5, 6);
    DragTo(f, LeftJoinX(), 565);
    host.Ticks(60);
    ASSERT_EQ(f->orientation, 1);
    rules.UndoButton();
    host.Ticks(40);
    EXPECT_EQ(f->orientation, 3);
    EXPECT_EQ(f->LeftValue(), 5);
    EXPECT_EQ(f->RightValue(), 3);

    DominoFish* p = Add(1, 500, 100);
    Deal(PlayMode::Click);
    SetValues(p, 7, 4);
    SetLine(0, 4);
    Click(p);
    host.Ticks(60);
    ASSERT_EQ(p->orientation, 1);
    rules.UndoButton();
    host.Ticks(40);
    EXPECT_EQ(p->orientation, 3);
    EXPECT_EQ(p->LeftValue(), 7);
}

} // namespace
} // namespace Zorvin
