// Points, the combo meter, popups and the six bonuses in both modes.

#include "framework/core/Cp1251.h"
#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

class ScoringTest : public BoardFixture {
protected:
    // A field with tiles that keep matching the right end 6.
    void SixField(PlayMode mode = PlayMode::Drag)
    {
        for (int i = 0; i < 4; ++i)
            Add(0, 200 + 100 * i, 100);
        Deal(mode);
        for (int i = 0; i < 4; ++i)
            SetValues(F().FishAt(0, i), 6, 6);
        SetLine(5, 6);
    }
    DominoFish* Tile(int i) { return F().FishAt(0, i); }
};

TEST_F(ScoringTest, ComboMeterFillsDrainsAndMultiplies)
{
    ComboMeter& m = *rules.comboMeter;
    EXPECT_EQ(m.Multiplier(), 1);
    m.Add(32);
    EXPECT_EQ(m.Multiplier(), 1);
    m.Add(1);
    EXPECT_EQ(m.Multiplier(), 2);
    m.level = 64;
    EXPECT_EQ(m.Multiplier(), 2);
    m.level = 64.5f;
    EXPECT_EQ(m.Multiplier(), 3);
    m.level = 92.5f;
    EXPECT_EQ(m.Multiplier(), 4);
    m.Add(500);
    EXPECT_EQ(m.level, 100);
    m.level = 0.005f;
    m.Update();
    EXPECT_EQ(m.level, 0);
    m.Update();
    EXPECT_EQ(m.level, 0);
}

TEST_F(ScoringTest, PutsScoreTwentyTimesTheMultiplier)
{
    SixField();
    rules.comboMeter->level = 28;  // plus 5 for the put: 33
    DragTo(Tile(3), RightJoinX(), 565);
    EXPECT_EQ(F().Score(), 40);
    EXPECT_EQ(F().LastPut().lastPoints, 40);
    EXPECT_EQ(host.CountSound(SOUND_PUT_X2), 1);
    ASSERT_EQ(F().Popups().size(), 1u);
    EXPECT_EQ(F().Popups()[0].x, 745);
    EXPECT_EQ(F().Popups()[0].y, 405);
    EXPECT_FLOAT_EQ(F().Popups()[0].stepX, -0.2f);

    host.Ticks(60);
    rules.comboMeter->level = 27;  // 32 after the put: still 1
    DragTo(Tile(2), RightJoinX(), 565);
    EXPECT_EQ(F().Score(), 60);
    EXPECT_EQ(host.CountSound(SOUND_PUT), 1);

    host.Ticks(60);
    rules.comboMeter->level = 90;
    DragTo(Tile(1), RightJoinX(), 565);
    EXPECT_EQ(F().Score(), 140);
    EXPECT_EQ(host.CountSound(SOUND_PUT_X4), 1);
    EXPECT_EQ(F().Popups().back().y, 260);
}

TEST_F(ScoringTest, ThreeQuickDragPutsFillTheMeterToFifteen)
{
    SixField();
    rules.comboMeter->level = 0;
    for (int i = 3; i >= 1; --i)
        DragTo(Tile(i), RightJoinX(), 565);
    EXPECT_FLOAT_EQ(rules.comboMeter->level, 15);
    EXPECT_EQ(F().Score(), 60);
}

TEST_F(ScoringTest, PopupsFadeDriftAndAreDestroyedAtTheEndOfTheirLife)
{
    Popup p(nullptr, -1, 10, 20, 0, -0.2f);
    for (int i = 0; i < 254; ++i)
        p.Step();
    EXPECT_FALSE(p.done);
    EXPECT_EQ(p.alpha, 1);
    EXPECT_NEAR(p.y, 20 - 0.2f * 254, 0.05f);
    p.Step();
    EXPECT_TRUE(p.done);
    EXPECT_EQ(p.alpha, 0);

    SixField();
    F().ClearPopups();
    F().AddPopup(Popup(nullptr, -1, 0.0f, 0.0f, 0.0f, 0.0f));
    host.Ticks(254);
    EXPECT_EQ(F().Popups().size(), 1u);
    host.Ticks(1);
    EXPECT_TRUE(F().Popups().empty());
}

TEST_F(ScoringTest, BonusesAreRolledEvery501UpdatesOnOpenTilesOnly)
{
    SixField();
    F().RestartCounters();
    int appeared = 0;
    for (int roll = 0; roll < 50; ++roll) {
        int before = host.CountSound(SOUND_BONUS_APPEAR);
        host.Ticks(500);
        EXPECT_EQ(F().BonusTimer(), 500);
        EXPECT_EQ(host.CountSound(SOUND_BONUS_APPEAR), before);
        host.Ticks(1);
        EXPECT_EQ(F().BonusTimer(), 0);
        if (host.CountSound(SOUND_BONUS_APPEAR) > before) {
            ++appeared;
            int carrying = 0;
            for (int i = 0; i < 4; ++i)
                carrying += Tile(i)->bonusType != 0;
            EXPECT_GT(carrying, 0);
        }
    }
    // One roll in five gives a bonus.
    EXPECT_GT(appeared, 3);
    EXPECT_LT(appeared, 20);

    // With every tile closed nothing is given.
    for (int i = 0; i < 4; ++i) {
        Tile(i)->open = false;
        Tile(i)->bonusType = 0;
    }
    int before = host.CountSound(SOUND_BONUS_APPEAR);
    F().GiveRandomBonus();
    EXPECT_EQ(host.CountSound(SOUND_BONUS_APPEAR), before);
}

TEST_F(ScoringTest, EveryBonusTypeInDragMode)
{
    SixField();
    Image wide;
    wide.width = 60;
    Image* saved = IM_BONUS_100;
    IM_BONUS_100 = &wide;
    DominoFish* f = Tile(0);

    auto award = [&](int type) {
        // Each award as the bonus of a fresh put of this tile.
        LastMove put;
        put.fish = f;
        F().RecordMove(put);
        f->bonusType = type;
        f->sparkles = {{1, 1, 1}};
        F().ClearPopups();
        F().AwardBonus(*f);
        EXPECT_EQ(f->bonusType, 0);
        EXPECT_TRUE(f->sparkles.empty());
        EXPECT_EQ(F().Popups().size(), 1u);
    };

    award(1);
    EXPECT_EQ(D().redealsLeft, 3);
    EXPECT_EQ(F().Popups()[0].image, IM_BONUS_CROP);
    EXPECT_EQ(D().fish.size(), 0u);

    F().TakeCounters(F().Score(), 4);
    award(2);
    EXPECT_EQ(F().ShufflesLeft(), 5);
    EXPECT_EQ(host.reshuffleLabel, W("Тасовок 5"));
    F().TakeCounters(0, F().ShufflesLeft());
    award(2);
    EXPECT_EQ(F().ShufflesLeft(), 5);
    EXPECT_EQ(F().Score(), 200);
    EXPECT_EQ(F().LastPut().lastPoints, 200);

    D().placeCount = 3;
    D().places.resize(3);
    award(3);
    EXPECT_EQ(D().placeCount, 4);
    EXPECT_EQ(D().places.size(), 4u);
    award(3);
    EXPECT_EQ(D().placeCount, 4);
    EXPECT_EQ(F().Score(), 300);
    EXPECT_EQ(F().Popups()[0].x, f->x - 30) << "popups are centred on the tile";
    EXPECT_EQ(F().Popups()[0].y, 530);

    award(4);
    EXPECT_EQ(F().Score(), 500);
    award(6);
    EXPECT_EQ(F().Score(), 600);
    EXPECT_EQ(F().LastPut().lastPoints, 100);
    award(5);
    EXPECT_TRUE(f->joker);
    EXPECT_EQ(f->LeftValue(), 100);
    EXPECT_EQ(host.CountSound(SOUND_BONUS), 8);
    IM_BONUS_100 = saved;
}

TEST_F(ScoringTest, CropAndPlaceBonusesAddADeckTileInClickMode)
{
    SixField(PlayMode::Click);
    DominoFish* f = Tile(0);
    D().Fill(0);
    f->bonusType = 1;
    F().AwardBonus(*f);
    EXPECT_EQ(D().fish.size(), 1u);
    EXPECT_EQ(F().Popups().back().image, IM_BONUS_STONE);
    f->bonusType = 3;
    F().AwardBonus(*f);
    EXPECT_EQ(D().fish.size(), 2u);
    EXPECT_EQ(D().placeCount, 2) << "click mode has no places to add";
    EXPECT_EQ(D().fish[1]->x, 45);
    EXPECT_EQ(D().fish[1]->y, 565);
    f->bonusType = 5;
    F().AwardBonus(*f);
    ASSERT_FALSE(host.hints.empty());
    EXPECT_TRUE(host.profile.jokerHintShown);
}

// Undo takes back everything a put added, its points and the points of the
// bonus it collected, in both modes, so putting and undoing gains nothing.
TEST_F(ScoringTest, ClickBonusIsPaidOnArrivalAndUndoTakesBackThePutWithIt)
{
    SixField(PlayMode::Click);
    DominoFish* f = Tile(1);
    f->bonusType = 4;
    f->bonusLife = 1000;
    Click(f);
    EXPECT_EQ(F().Score(), 20);
    host.Ticks(30);
    EXPECT_EQ(F().Score(), 220);
    EXPECT_EQ(F().LastPut().lastPoints, 220);
    rules.UndoButton();
    EXPECT_EQ(F().Score(), 0);

    // A bonus landing after a later put belongs to the earlier one, which
    // can no longer be undone: undoing the later put takes back only its own.
    DominoFish* g = Tile(2);
    DominoFish* h = Tile(3);
    g->bonusType = 6;
    g->bonusLife = 1000;
    Click(g);
    host.Ticks(5);
    Click(h);
    host.Ticks(40);
    EXPECT_EQ(F().Score(), 140);
    rules.UndoButton();
    EXPECT_EQ(F().Score(), 120);
}

TEST_F(ScoringTest, DragBonusIsPaidAtTheJoinAndUndoTakesBackThePutWithIt)
{
    SixField();
    DominoFish* f = Tile(1);
    f->bonusType = 6;
    f->bonusLife = 1000;
    DragTo(f, RightJoinX(), 565);
    EXPECT_EQ(F().Score(), 120);
    EXPECT_EQ(F().LastPut().lastPoints, 120);
    rules.UndoButton();
    EXPECT_EQ(F().Score(), 0);
}

} // namespace
} // namespace Zorvin
