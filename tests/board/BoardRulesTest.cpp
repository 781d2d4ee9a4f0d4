// Starting, restarting and reshuffling a level from the current player, and
// the panel's part of the mouse.

#include "framework/core/Cp1251.h"
#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

class BoardRulesTest : public BoardFixture {
protected:
    BoardRulesTest()
    {
        F().levelReader = [this](FishField& f, const std::string& path) {
            readPaths.push_back(path);
            for (int i = 0; i < 5; ++i) {
                f.layers.resize(1);
                f.layers[0].push_back(std::make_unique<DominoFish>(200 + 90 * i, 150, 3, 0, &f));
            }
            f.RecountFish();
            f.level.cardsInDeck = 7;
            return true;
        };
    }
    std::vector<std::string> readPaths;
};

TEST_F(BoardRulesTest, StartsThePlayersLevelOfTheMode)
{
    host.profile.levelMode0 = 4;
    host.profile.scoreMode0 = 1234;
    host.profile.shufflesLeft = 3;
    host.profile.placeCount = 3;
    host.existing.insert("levels/Levels2/Level4.xml");
    rules.comboMeter->level = 50;
    rules.StartLevel();
    ASSERT_EQ(readPaths.size(), 1u);
    EXPECT_EQ(readPaths[0], "levels/Levels2/Level4.xml");
    EXPECT_EQ(F().level.path, "levels/Levels2/Level4.xml");
    EXPECT_EQ(F().level.number, 4);
    EXPECT_EQ(F().Score(), 1234);
    EXPECT_EQ(F().ShufflesLeft(), 3);
    EXPECT_EQ(host.reshuffleLabel, W("Тасовок 3"));
    EXPECT_EQ(D().placeCount, 3);
    EXPECT_EQ(D().places.size(), 3u);
    EXPECT_EQ(D().fish.size(), 7u);
    EXPECT_EQ(rules.comboMeter->level, 0);
    EXPECT_EQ(F().FishCount(), 5);
    EXPECT_TRUE(host.howToPlay.empty());
}

TEST_F(BoardRulesTest, MissingLevelFallsBackToLevelOneOfTheMode)
{
    F().mode = PlayMode::Click;
    host.profile.levelMode2 = 9;
    host.profile.scoreMode2 = 50;
    host.existing.insert("levels/Levels1/Level1.xml");
    rules.StartLevel();
    ASSERT_EQ(readPaths.size(), 1u);
    EXPECT_EQ(readPaths[0], "levels/Levels1/Level1.xml");
    EXPECT_EQ(F().level.number, 1);
    EXPECT_EQ(host.profile.levelMode2, 1);
    EXPECT_EQ(F().Score(), 50);
    ASSERT_EQ(host.howToPlay.size(), 1u);
    EXPECT_TRUE(host.howToPlay[0]) << "the click-mode page";
}

TEST_F(BoardRulesTest, RestartTakesScoreAndReshufflesBackFromThePlayer)
{
    host.profile.levelMode0 = 2;
    host.profile.scoreMode0 = 100;
    host.profile.shufflesLeft = 1;
    host.existing.insert("levels/Levels2/Level2.xml");
    rules.StartLevel();
    F().TakeCounters(900, F().ShufflesLeft());
    F().TakeCounters(F().Score(), 0);
    rules.Restart();
    ASSERT_EQ(readPaths.size(), 2u);
    EXPECT_EQ(readPaths[1], readPaths[0]);
    EXPECT_EQ(F().Score(), 100);
    EXPECT_EQ(F().ShufflesLeft(), 1);
    EXPECT_EQ(F().FishCount(), 5);
    EXPECT_EQ(Line().fish.size(), 2u);
}

TEST_F(BoardRulesTest, InputIsIgnoredWhileALevelStarts)
{
    host.existing.insert("levels/Levels2/Level2.xml");
    int deals = 0;
    host.onUpdate = [&] {
        rules.Update();
        if (F().Loading()) {
            // A click on the deck in the middle of the intro.
            rules.MouseMove(50, 560);
            rules.MouseDown(1, 50, 560);
            rules.MouseUp(1, 50, 560);
            // A deal with an empty deck gathers the places back, using a redeal.
            deals += D().redealsLeft != 2;
        }
    };
    rules.StartLevel();
    EXPECT_EQ(deals, 0);
    EXPECT_FALSE(F().Loading());
}

TEST_F(BoardRulesTest, ALevelWithNoTilesIsWonOnceItHasStarted)
{
    // A level file whose layers hold nothing must not leave the player on a
    // board where no move can ever happen.
    F().levelReader = [](FishField& f, const std::string&) {
        f.layers.resize(1);
        f.level.cardsInDeck = 4;
        return true;
    };
    host.existing.insert("levels/Levels2/Level2.xml");
    rules.StartLevel();
    for (int i = 0; i < 300 && host.wonDialogs.empty(); ++i)
        rules.Update();
    EXPECT_EQ(host.wonDialogs.size(), 1u);
}

} // namespace
} // namespace Zorvin
