// The tile on its own: geometry, glides and their arrival, half turns, flips,
// pulses, hit testing, end values and the life of a bonus.

#include <cmath>

#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

class DominoFishTest : public BoardFixture {};

TEST_F(DominoFishTest, NewTileSettlesOnItsLayerPlaceAfterOneUpdate)
{
    DominoFish f(100, 200, 3, 2, &F());
    EXPECT_EQ(f.glideFrames, 1);
    f.Update();
    EXPECT_EQ(f.glideFrames, 0);
    EXPECT_EQ(f.x, 100);
    EXPECT_EQ(f.y, 200);
    EXPECT_EQ(f.left, 100 - 40 + 14);
    EXPECT_EQ(f.top, 200 - 25 - 14);

    DominoFish upright(100, 200, 0, 0, &F());
    EXPECT_EQ(upright.width, 40);
    EXPECT_EQ(upright.height, 100);
    EXPECT_EQ(upright.left, 80);
    EXPECT_EQ(upright.top, 150);
}

TEST_F(DominoFishTest, GlideWithLayerShiftEndsOnTheDrawnPlace)
{
    DominoFish f(50, 60, 3, 3, &F());
    f.Update();
    f.GlideTo(3, nullptr, 250, 160, 40);
    for (int i = 0; i < 39; ++i)
        f.Update();
    EXPECT_TRUE(f.IsGliding());
    EXPECT_EQ(f.left, f.x - 40) << "no layer shift while gliding";
    f.Update();
    EXPECT_FALSE(f.IsGliding());
    EXPECT_EQ(f.x, 250);
    EXPECT_EQ(f.y, 160);
    EXPECT_EQ(f.left, 250 + 21 - 40);
    EXPECT_EQ(f.top, 160 - 25 - 21);
    // The float position ends exactly where the tile is drawn.
    EXPECT_NEAR(f.posX, 250 + 21, 0.01);
    EXPECT_NEAR(f.posY, 160 - 21, 0.01);
}

TEST_F(DominoFishTest, BouncedArrivalLandsOnTheRealPlaceAndPulsesBack)
{
    DominoFish f(0, 0, 3, 0, &F());
    f.Update();
    F().Update();
    f.GlideTo(0, nullptr, 105, 95, 10);
    f.bounceOnArrival = true;
    for (int i = 0; i < 10; ++i)
        f.Update();
    EXPECT_EQ(f.x, 100);
    EXPECT_EQ(f.y, 100);
    EXPECT_TRUE(f.pulsing);
    EXPECT_FALSE(f.bounceOnArrival);
    EXPECT_TRUE(F().ChangePending());
    int n = 0;
    while (f.pulsing && n < 1000) {
        f.Update();
        ++n;
    }
    EXPECT_NEAR(n, 50, 1);
}

TEST_F(DominoFishTest, ClippedGlideAndRefreshFlagsClearOnArrival)
{
    DominoFish f(0, 0, 3, 0, &F());
    const int clip[4] = {1, 2, 3, 4};
    f.GlideTo(0, clip, 10, 10, 2);
    f.refreshOnArrival = true;
    f.settled = false;
    f.returning = true;
    EXPECT_TRUE(f.clipWhileGliding);
    EXPECT_EQ(f.clipRect[3], 4);
    F().Update();
    f.Update();
    f.Update();
    EXPECT_FALSE(f.clipWhileGliding);
    EXPECT_FALSE(f.refreshOnArrival);
    EXPECT_TRUE(f.settled);
    EXPECT_FALSE(f.returning);
    EXPECT_TRUE(F().ChangePending());
}

TEST_F(DominoFishTest, HalfTurnsSwapOrientationAndKeepTheBackwardAngle)
{
    DominoFish f(0, 0, 1, 0, &F());
    f.StartTurn(2, 0.1f);
    int n = 0;
    while (f.IsTurning() && n < 100) {
        f.Update();
        ++n;
    }
    EXPECT_EQ(n, 32);
    EXPECT_EQ(f.orientation, 3);
    EXPECT_LT(f.angle, -3.1415927f);

    f.StartTurn(1, 0.2f);
    EXPECT_EQ(f.angle, 0);
    n = 0;
    while (f.IsTurning() && n < 100) {
        f.Update();
        ++n;
    }
    EXPECT_EQ(n, 16);
    EXPECT_EQ(f.orientation, 1);
    EXPECT_EQ(f.angle, 0);

    // An upright tile that turns comes out lying.
    DominoFish up(0, 0, 0, 0, &F());
    up.StartTurn(1, 0.2f);
    for (int i = 0; i < 20; ++i)
        up.Update();
    EXPECT_EQ(up.orientation, 3);
}

TEST_F(DominoFishTest, HalfOffsetsFollowTheAngle)
{
    DominoFish f(0, 0, 3, 0, &F());
    f.Update();
    EXPECT_EQ(f.halfOffsets[0], -22);
    EXPECT_EQ(f.halfOffsets[1], 0);
    EXPECT_EQ(f.halfOffsets[2], 22);
    f.StartTurn(1, 3.1415927f / 2);
    f.Update();
    // A quarter turn: the halves stand above each other.
    EXPECT_EQ(f.halfOffsets[0], 0);
    EXPECT_EQ(f.halfOffsets[1], 22);
    EXPECT_EQ(f.halfOffsets[3], -22);
}

TEST_F(DominoFishTest, TurnEndRecomputesWhatThePlayerCanPlay)
{
    Add(0, 100, 100);
    Deal();
    DominoFish* onLine = Line().Last();
    SetValues(F().FishAt(0, 0), 4, 6);
    SetValues(onLine, 2, 6);
    onLine->orientation = 3;
    F().RecomputePlayable();
    EXPECT_EQ(Line().RightEnd(), 6);
    EXPECT_EQ(F().MovesAvailable(), 1);
    SetValues(onLine, 6, 2);
    F().RecomputePlayable();
    EXPECT_EQ(F().MovesAvailable(), 0);
    onLine->StartTurn(1, 0.2f);
    host.Ticks(16);
    EXPECT_EQ(onLine->orientation, 1);
    EXPECT_EQ(Line().RightEnd(), 6);
    EXPECT_EQ(F().MovesAvailable(), 1);
}

TEST_F(DominoFishTest, FlipRunsThroughTheStripAndMarksTheFieldChanged)
{
    Image strip;
    strip.numCols = 5;
    DominoFish f(0, 0, 3, 0, &F());
    f.StartFlip(&strip, false);
    F().Update();
    for (int i = 0; i < 19; ++i)
        f.Update();
    EXPECT_TRUE(f.flipping);
    EXPECT_EQ(f.flipCel, 4);
    f.Update();
    EXPECT_FALSE(f.flipping);
    EXPECT_TRUE(F().ChangePending());

    f.StartFlip(&strip, true);
    EXPECT_EQ(f.flipCel, 4);
    for (int i = 0; i < 20; ++i)
        f.Update();
    EXPECT_FALSE(f.flipping);
    EXPECT_EQ(f.flipCel, -1);

    // A missing image is one cel: the flip ends on its first step.
    f.StartFlip(nullptr, false);
    for (int i = 0; i < 4; ++i)
        f.Update();
    EXPECT_FALSE(f.flipping);
}

TEST_F(DominoFishTest, PulseRisesToItsAmplitudeTwiceThenStops)
{
    DominoFish f(0, 0, 3, 0, &F());
    f.StartPulse();
    float peak = 0;
    int n = 0;
    while (f.pulsing && n < 1000) {
        f.Update();
        peak = std::max(peak, f.pulseOffset);
        ++n;
    }
    EXPECT_NEAR(peak, 3.0f, 0.11f);
    EXPECT_NEAR(n, 120, 5);
    f.StartPulse();
    f.DragTo(10, 10);
    EXPECT_FALSE(f.pulsing);
}

TEST_F(DominoFishTest, HitTestNeedsAnOpenTileAndIsStrict)
{
    DominoFish f(100, 100, 3, 0, &F());
    f.Update();
    f.hover = true;
    EXPECT_FALSE(f.HitTest(100, 100));
    EXPECT_FALSE(f.hover);
    f.open = true;
    // left 60, top 75: the box is (67, 68) to (147, 118), both exclusive.
    EXPECT_TRUE(f.HitTest(68, 69));
    EXPECT_TRUE(f.hover);
    EXPECT_FALSE(f.HitTest(67, 100));
    EXPECT_FALSE(f.HitTest(147, 100));
    EXPECT_FALSE(f.HitTest(100, 68));
    EXPECT_FALSE(f.HitTest(100, 118));
    EXPECT_TRUE(f.HitTest(146, 117));
}

TEST_F(DominoFishTest, CoversPointUsesTheLyingBoxForEveryOrientation)
{
    DominoFish upright(100, 100, 0, 0, &F());
    EXPECT_TRUE(upright.CoversPoint(60, 75));
    EXPECT_TRUE(upright.CoversPoint(140, 125));
    EXPECT_FALSE(upright.CoversPoint(100, 140)) << "the upright picture reaches here, the box does not";
    EXPECT_FALSE(upright.CoversPoint(141, 100));
}

TEST_F(DominoFishTest, EndValuesFollowOrientationAndJokers)
{
    DominoFish f(0, 0, 3, 0, &F());
    f.valueA = 4;
    f.valueB = 9;
    EXPECT_EQ(f.LeftValue(), 4);
    EXPECT_EQ(f.RightValue(), 9);
    f.orientation = 1;
    EXPECT_EQ(f.LeftValue(), 9);
    EXPECT_EQ(f.RightValue(), 4);
    f.orientation = 0;
    EXPECT_EQ(f.LeftValue(), 9);
    EXPECT_EQ(f.RightValue(), 9);
    f.MakeJoker(true);
    EXPECT_EQ(f.valueA, 100);
    f.valueA = 3;
    f.valueB = 5;
    EXPECT_EQ(f.LeftValue(), 100);
    EXPECT_EQ(f.RightValue(), 100);
    EXPECT_FLOAT_EQ(f.DistanceFromDrag(3, 4), 5.0f);
}

TEST_F(DominoFishTest, UncollectedBonusVanishesWithItsGlitterAfterItsLife)
{
    DominoFish f(0, 0, 3, 0, &F());
    srand(3);
    f.GiveBonus();
    EXPECT_GE(f.bonusType, 1);
    EXPECT_LE(f.bonusType, 6);
    EXPECT_GE(f.bonusLife, 1000);
    EXPECT_LE(f.bonusLife, 1900);
    ASSERT_EQ(f.sparkles.size(), 2u);
    f.bonusLife = 1000;
    for (int i = 0; i < 999; ++i)
        f.Update();
    EXPECT_NE(f.bonusType, 0);
    EXPECT_EQ(f.sparkles.size(), 2u);
    f.Update();
    EXPECT_EQ(f.bonusType, 0);
    EXPECT_TRUE(f.sparkles.empty());
}

TEST_F(DominoFishTest, GlitterAndItemsAnimateOnEveryFourthApplicationUpdate)
{
    Image stars;
    stars.numCols = 3;
    Image* saved = IM_BONUS_STAR;
    IM_BONUS_STAR = &stars;
    Image keys;
    keys.numCols = 2;
    Image* savedKeys = IMAGE_KEY_ANIM;
    IMAGE_KEY_ANIM = &keys;
    F().LoadImageTables();

    DominoFish f(0, 0, 3, 0, &F());
    f.itemType = 0;
    f.bonusType = 4;
    f.bonusLife = 500;
    f.sparkles = {{1, 1, 0}, {2, 2, 2}};
    host.updates = 8;
    f.Update();
    EXPECT_EQ(f.itemCel, 1);
    EXPECT_EQ(f.sparkles[0].cel, 1);
    EXPECT_EQ(f.sparkles[1].cel, 0) << "a star that runs out of cels starts again elsewhere";
    host.updates = 9;
    f.Update();
    EXPECT_EQ(f.itemCel, 1);
    host.updates = 12;
    f.Update();
    EXPECT_EQ(f.itemCel, 0);
    IM_BONUS_STAR = saved;
    IMAGE_KEY_ANIM = savedKeys;
}

} // namespace
} // namespace Zorvin
