// The deck and its places: filling, the click-mode draw with its value
// choice, the drag-mode deal and gathering, counting deck moves, and moving
// place tiles to the line and back.

#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

class DeckTest : public BoardFixture {
protected:
    void TwoTileField(PlayMode mode)
    {
        Add(0, 300, 100);
        Add(0, 500, 100);
        Deal(mode);
    }
    // Drags the top tile of a place to (tx, ty) and releases it.
    void DragPlaceTile(DominoFish* f, int tx, int ty)
    {
        int sx = f->left + 47, sy = f->top + 18;
        rules.MouseMove(sx, sy);
        ASSERT_EQ(D().drag.Hovered(), f);
        rules.MouseDown(1, sx, sy);
        rules.MouseDrag(tx, ty);
        rules.MouseUp(1, tx, ty);
    }
    void ClickDeck()
    {
        rules.MouseMove(50, 560);
        rules.MouseDown(1, 50, 560);
        rules.MouseUp(1, 50, 560);
    }
};

TEST_F(DeckTest, FillMakesNoDoublesAndSometimesJokers)
{
    TwoTileField(PlayMode::Drag);
    F().level.types = {1, 2};
    F().level.typeCount = 2;
    D().placeCount = 3;
    D().redealsLeft = 0;
    D().Fill(400);
    EXPECT_EQ(D().fish.size(), 400u);
    EXPECT_EQ(D().places.size(), 3u);
    EXPECT_EQ(D().redealsLeft, 2);
    int jokers = 0;
    for (auto& f : D().fish) {
        if (f->joker) {
            ++jokers;
            continue;
        }
        EXPECT_NE(f->valueA, f->valueB);
        EXPECT_TRUE(f->open);
    }
    EXPECT_GT(jokers, 5);
    EXPECT_LT(jokers, 40);
    EXPECT_EQ(D().fish[3]->x, 5 + 40 + 3);
    EXPECT_EQ(D().fish[3]->y, 540 + 25 - 3);

    // A level with one type only gets doubles rather than hanging.
    F().level.types = {4, 4};
    D().Fill(5);
    EXPECT_EQ(D().fish.size(), 5u);
}

TEST_F(DeckTest, WeightedPickFollowsTheWeights)
{
    const int only[4] = {0, 0, 5, 0};
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(WeightedPick(only, 4), 2);
    const int none[3] = {0, 0, 0};
    EXPECT_EQ(WeightedPick(none, 3), -1);
    const int oneToThree[2] = {1, 3};
    int second = 0;
    for (int i = 0; i < 4000; ++i)
        second += WeightedPick(oneToThree, 2) == 1;
    EXPECT_NEAR(second, 3000, 150);
}

TEST_F(DeckTest, ChosenValuesLeanTowardsOpenTiles)
{
    DominoFish* last = Add(0, 300, 100);
    Deal(PlayMode::Click);
    F().level.types = {2};
    F().level.typeCount = 1;
    SetValues(last, 7, 9);
    ASSERT_EQ(F().FishCount(), 1);
    int counts[26] = {};
    for (int i = 0; i < 3000; ++i)
        ++counts[D().ChooseValue()];
    // Weights 5 for the type, 50 for each half of the last open tile.
    EXPECT_EQ(counts[2] + counts[7] + counts[9], 3000);
    EXPECT_NEAR(counts[2], 3000 * 5 / 105, 60);
    EXPECT_NEAR(counts[7], 3000 * 50 / 105, 150);

    Add(0, 500, 300);
    F().RecomputeOpen();
    SetValues(F().FishAt(0, 1), 7, 7);
    int seven = 0;
    for (int i = 0; i < 3000; ++i)
        seven += D().ChooseValue() == 7;
    // Now each open half adds 10: 2 -> 5, 7 -> 30, 9 -> 10.
    EXPECT_NEAR(seven, 3000 * 30 / 45, 150);
}

TEST_F(DeckTest, ClickDrawPutsTheTopTileOnTheCurrentOne)
{
    TwoTileField(PlayMode::Click);
    SetLine(0, 6);
    D().Fill(4);
    DominoFish* top = D().fish.back().get();
    ClickDeck();
    ASSERT_EQ(Line().Last(), top);
    EXPECT_EQ(D().fish.size(), 3u);
    EXPECT_EQ(top->x, 5 + 48) << "it starts on the visible top of the pile";
    EXPECT_EQ(top->y, 540 + 4);
    EXPECT_EQ(top->valueA, 6);
    EXPECT_EQ(F().LastPut().source, PutSource::Deck);
    EXPECT_EQ(F().Score(), 20);
    EXPECT_FALSE(host.undoEnabled) << "a deck draw cannot be undone";
    EXPECT_FLOAT_EQ(rules.comboMeter->level, 0);

    host.Ticks(70);
    Line().Last()->MakeJoker(true);
    ClickDeck();
    EXPECT_EQ(Line().Last()->valueA, 1);

    D().fish.clear();
    size_t before = Line().fish.size();
    ClickDeck();
    EXPECT_EQ(Line().fish.size(), before);
}

TEST_F(DeckTest, DrawOntoATurningTileFitsTheValueItTurnsTo)
{
    DominoFish* p = Add(0, 100, 100);
    Add(0, 300, 100);
    Deal(PlayMode::Click);
    SetValues(p, 2, 7);
    SetLine(0, 7);
    D().Fill(3);
    // p shows 7 on its right: it turns on its way so that 7 faces left.
    Click(p);
    ASSERT_TRUE(p->IsTurning());
    ClickDeck();
    ASSERT_EQ(Line().fish.size(), 4u);
    DominoFish* drawn = Line().Last();
    EXPECT_EQ(drawn->valueA, 2);
    EXPECT_EQ(D().fish.size(), 2u);
    host.Ticks(100);
    EXPECT_EQ(p->RightValue(), 2);
    EXPECT_EQ(drawn->LeftValue(), 2);

    // An upright current tile is put onto by the value it shows at both
    // ends, its second half.
    Line().Last()->valueA = 4;
    Line().Last()->valueB = 8;
    Line().Last()->SetOrientation(0);
    ClickDeck();
    ASSERT_EQ(Line().fish.size(), 5u);
    EXPECT_EQ(Line().Last()->valueA, 8);
}

TEST_F(DeckTest, DragDealFillsThePlacesFromTheHighestDown)
{
    TwoTileField(PlayMode::Drag);
    D().placeCount = 3;
    D().Fill(2);
    DominoFish* first = D().fish.back().get();
    DominoFish* second = D().fish.front().get();
    int pumps = host.pumps;
    ClickDeck();
    EXPECT_EQ(host.pumps - pumps, 2 * 38);
    EXPECT_TRUE(D().fish.empty());
    ASSERT_EQ(D().places[2].size(), 1u);
    ASSERT_EQ(D().places[1].size(), 1u);
    EXPECT_TRUE(D().places[0].empty());
    EXPECT_EQ(D().places[2].back().get(), first);
    EXPECT_EQ(D().places[1].back().get(), second);
    EXPECT_EQ(first->x, 45);
    EXPECT_EQ(first->y, 540 - 56 - 120);
    EXPECT_TRUE(first->open);
    EXPECT_TRUE(second->flipping) << "the last tile dealt is still turning face up";
    EXPECT_FALSE(host.undoEnabled) << "a deal disables undo";
    EXPECT_FALSE(D().dealing);
}

TEST_F(DeckTest, FullPilesSlideDownWithinTheirWindow)
{
    TwoTileField(PlayMode::Drag);
    D().placeCount = 1;
    D().Fill(4);
    for (int i = 0; i < 3; ++i) {
        ClickDeck();
        host.Ticks(40);
    }
    ASSERT_EQ(D().places[0].size(), 3u);
    DominoFish* bottom = D().places[0][0].get();
    int x0 = bottom->x, y0 = bottom->y;
    EXPECT_EQ(D().places[0][2]->x, 45 + 14);
    ClickDeck();
    EXPECT_EQ(D().places[0].size(), 4u);
    EXPECT_EQ(bottom->x, x0 - 7);
    EXPECT_EQ(bottom->y, y0 + 7);
    EXPECT_EQ(bottom->clipRect[0], 5);
    EXPECT_EQ(bottom->clipRect[1], 540 - 96);
    EXPECT_EQ(bottom->clipRect[2], 101);
}

TEST_F(DeckTest, GatheringTurnsThePlacesBackIntoTheDeck)
{
    TwoTileField(PlayMode::Drag);
    D().placeCount = 2;
    D().Fill(2);
    ClickDeck();
    DominoFish* onPlace1 = D().places[1].back().get();
    host.hints.clear();
    ClickDeck();
    ASSERT_EQ(D().fish.size(), 2u);
    EXPECT_EQ(D().redealsLeft, 1);
    // The first gathering explains the deck's number, once per player.
    EXPECT_EQ(host.hints.size(), 1u);
    EXPECT_TRUE(host.profile.DeckNumberExplained());
    EXPECT_TRUE(D().places[0].empty());
    EXPECT_EQ(D().fish.back().get(), onPlace1) << "the places are gathered in order";
    host.Ticks(1);
    for (auto& f : D().fish) {
        EXPECT_EQ(f->x, 45);
        EXPECT_EQ(f->y, 565);
        EXPECT_TRUE(f->open);
    }
    D().redealsLeft = 0;
    ClickDeck();
    ClickDeck();
    EXPECT_TRUE(D().fish.empty());
    EXPECT_EQ(D().redealsLeft, 0);
    EXPECT_EQ(host.hints.size(), 1u);
}

TEST_F(DeckTest, DeckMovesCountBuriedPlaceTilesOnlyWhileRedealsLast)
{
    TwoTileField(PlayMode::Drag);
    SetValues(F().FishAt(0, 0), 9, 9);
    SetValues(F().FishAt(0, 1), 9, 9);
    D().placeCount = 1;
    D().Fill(2);
    SetValues(D().fish[0].get(), 5, 1);
    SetValues(D().fish[1].get(), 3, 4);
    for (auto& f : D().fish)
        f->joker = false;
    SetLine(5, 6);
    EXPECT_EQ(D().deckMoves, 1);
    ClickDeck();
    ClickDeck();
    ASSERT_EQ(D().places[0].size(), 2u);
    // The matching tile lies under a non-matching one.
    std::swap(D().places[0][0], D().places[0][1]);
    SetValues(D().places[0][0].get(), 5, 1);
    SetValues(D().places[0][1].get(), 3, 4);
    D().redealsLeft = 1;
    D().CountMoves();
    EXPECT_EQ(D().deckMoves, 1);
    D().redealsLeft = 0;
    D().CountMoves();
    EXPECT_EQ(D().deckMoves, 0);
    F().CheckEnd();
    EXPECT_TRUE(F().Lost());
}

TEST_F(DeckTest, PlaceTilesJoinTheLineAndUndoPutsThemBack)
{
    TwoTileField(PlayMode::Drag);
    D().placeCount = 1;
    D().Fill(4);
    for (int i = 0; i < 4; ++i)
        ClickDeck();
    host.Ticks(40);
    Place& place = D().places[0];
    DominoFish* top = place.back().get();
    SetValues(top, 6, 2);
    top->joker = false;
    SetLine(5, 6);
    int ox = top->x, oy = top->y;
    DominoFish* bottom = place[0].get();
    int bx = bottom->x;

    // A failed drop glides back as a returning tile.
    DragPlaceTile(top, 400, 300);
    EXPECT_TRUE(top->returning);
    EXPECT_EQ(place.back().get(), top);
    host.Ticks(30);

    DragPlaceTile(top, RightJoinX(), 565);
    ASSERT_EQ(Line().Last(), top);
    EXPECT_EQ(place.size(), 3u);
    EXPECT_EQ(F().LastPut().source, PutSource::Deck);
    EXPECT_EQ(F().LastPut().layer, 0);
    EXPECT_EQ(bottom->targetX, bx + 7) << "the pile slides back up";
    EXPECT_EQ(F().Score(), 20);
    EXPECT_TRUE(host.undoEnabled);
    host.Ticks(40);

    rules.UndoButton();
    ASSERT_EQ(place.size(), 4u);
    EXPECT_EQ(place.back().get(), top);
    host.Ticks(30);
    EXPECT_EQ(top->x, ox);
    EXPECT_EQ(top->y, oy);
    EXPECT_EQ(F().Score(), 0);

    // Turning toward the right end, then swept to the left end and dropped
    // within the turn: it joins with its 2 toward the line's 2.
    SetLine(2, 2);
    int sx = top->left + 47, sy = top->top + 18;
    rules.MouseMove(sx, sy);
    rules.MouseDown(1, sx, sy);
    rules.MouseDrag(470, 400);
    ASSERT_EQ(top->rotation, 1);
    rules.MouseDrag(LeftJoinX(), 565);
    rules.MouseUp(1, LeftJoinX(), 565);
    ASSERT_EQ(Line().First(), top);
    host.Ticks(60);
    EXPECT_EQ(top->RightValue(), 2);
}

TEST_F(DeckTest, TheDeckIsBusyWhileItsTilesMove)
{
    TwoTileField(PlayMode::Drag);
    D().Fill(2);
    EXPECT_FALSE(D().IsIdle()) << "new tiles settle on their first update";
    host.Ticks(1);
    EXPECT_TRUE(D().IsIdle());
    D().fish[0]->GlideTo(0, nullptr, 10, 10, 5);
    EXPECT_FALSE(D().IsIdle());
    host.Ticks(5);
    EXPECT_TRUE(D().IsIdle());
    D().fish[0]->StartFlip(nullptr, false);
    EXPECT_FALSE(D().IsIdle());
}

} // namespace
} // namespace Zorvin
