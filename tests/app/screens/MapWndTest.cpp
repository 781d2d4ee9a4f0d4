#include "game/app/screens/MapWnd.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/app/screens/MapHost.h"
#include "game/board/view/StageMap.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

using namespace Zorvin;

namespace {

// The map's host with a real StageMap whose previews are counted, and a
// player whose level is set by each test.
class FakeMapHost : public MapHost {
public:
    int mode = 0;
    StageMap stages{[this] { return PlayModeOf(mode); }, [this](int level, Graphics&) { rendered.push_back(level); }};
    PlayerProfile profile;
    std::vector<int> sounds;
    std::vector<int> rendered;
    int played = 0;
    int exits = 0;

    StageMap& GetStageMap() override { return stages; }
    PlayerProfile* CurrentProfile() override { return &profile; }
    void PlaySound(int id) override { sounds.push_back(id); }
    void PlayLevelFromMap() override { ++played; }
    std::map<int, LevelBest> bests;
    LevelBest BestOf(int level) override { return bests.count(level) ? bests[level] : LevelBest{}; }
    void ExitToMainMenu(bool saveGame) override
    {
        EXPECT_FALSE(saveGame);
        ++exits;
    }
};

class MapWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scroll.Create(143, 110);
        IMAGE_SCROLL = &scroll;
        SOUND_SCROLL = 11;
        SOUND_STAGE = 12;
        SOUND_CLICK = 13;
    }
    void TearDown() override
    {
        IMAGE_SCROLL = nullptr;
        SOUND_SCROLL = SOUND_STAGE = SOUND_CLICK = -1;
    }
    void EnterAt(int mode, int level)
    {
        host.mode = mode;
        (mode == 0 ? host.profile.levelMode0 : host.profile.levelMode2) = level;
        host.stages.RebuildStagePoints();
        map.Enter(level);
    }
    // Centre of the strip slot k.
    static int SlotX(int k) { return 40 + 150 * k + 75; }

    MemoryImage scroll;
    FakeMapHost host;
    MapWnd map{host};
};

TEST_F(MapWndTest, StagePointsAreHitOnlyCloserThanTwentyPixels)
{
    EnterAt(0, 6);  // stages 1 and 2 reached; stage 2 selected
    const Point p = host.stages.stagePoints[0];
    map.MouseDown(p.x + 20, p.y, 1);
    EXPECT_EQ(map.selectedStage, 1) << "exactly 20 px away must miss";
    map.MouseMove(p.x - 12, p.y - 16);  // 20 px on the diagonal
    EXPECT_EQ(map.hoveredPoint, -1);
    map.MouseDown(p.x + 19, p.y, 1);
    EXPECT_EQ(map.selectedStage, 0);
    EXPECT_EQ(map.selectedLevel, 1) << "the player's level lies in a later stage";
    // A stage still ahead is neither hovered into a highlight nor selectable.
    const Point ahead = host.stages.stagePoints[4];
    map.MouseDown(ahead.x, ahead.y, 1);
    EXPECT_EQ(map.selectedStage, 0);
}

TEST_F(MapWndTest, ChoosingAnEarlierLevelMakesItThePlayersLevel)
{
    EnterAt(0, 7);
    const Point first = host.stages.stagePoints[0];
    map.MouseDown(first.x, first.y, 1);
    map.MouseDown(SlotX(1), 450, 1);
    EXPECT_EQ(map.selectedLevel, 2);
    map.OnButtonClick(MapWnd::PlayButton);
    EXPECT_EQ(host.profile.levelMode0, 2);
    EXPECT_EQ(host.profile.levelMode2, 1) << "the other mode's progress is untouched";
    EXPECT_EQ(host.played, 1);
    EXPECT_EQ(map.ReachedStages(), 1) << "stage 2 is locked again";
    map.OnButtonClick(MapWnd::MainMenuButton);
    EXPECT_EQ(host.exits, 1);
    EXPECT_EQ(host.sounds, (std::vector<int>{13, 13}));
}

TEST_F(MapWndTest, ClosedScrollsAndTheMapAreaEdgesIgnoreTheStrip)
{
    EnterAt(2, 3);
    map.MouseDown(SlotX(3), 450, 1);  // level 4, not reached
    EXPECT_EQ(map.selectedLevel, 3);
    map.MouseDown(SlotX(0), 450, 1);
    EXPECT_EQ(map.selectedLevel, 1);
    // x = 100 and x = 700 are outside the map area: below y 400 they hit
    // neither a point nor the strip, at strip height they are strip slots.
    map.MouseMove(100, 460);
    EXPECT_EQ(map.hoveredLevel, 1);
    map.MouseMove(700, 460);
    EXPECT_EQ(map.hoveredLevel, 5);
    map.MouseMove(700, 300);
    EXPECT_EQ(map.hoveredLevel, -1);
}

TEST_F(MapWndTest, NewStageSailsTheMarkerThenUnrollsTheScrollWithOneSoundEach)
{
    EnterAt(2, 6);
    EXPECT_EQ(host.rendered, (std::vector<int>{6, 7, 8, 9, 10}));
    EXPECT_EQ(map.stageProgress, 0);
    for (int i = 0; i < 100; ++i)
        map.Update();
    EXPECT_TRUE(host.sounds.empty());
    map.Update();
    EXPECT_EQ(host.sounds, std::vector<int>{12});
    for (int i = 0; i < 99; ++i)
        map.Update();
    EXPECT_EQ(map.stageProgress, 100) << "the marker arrives two seconds in";
    EXPECT_EQ(map.scrollProgress, 0);
    map.Update();
    EXPECT_EQ(host.sounds, (std::vector<int>{12, 11}));
    EXPECT_EQ(map.scrollProgress, 1);

    // Drawing frames renders no level; a mid-stage entry keeps the thumbnails.
    MemoryImage screen(800, 600);
    Graphics g(&screen);
    for (int i = 0; i < 3; ++i)
        map.Draw(&g);
    EnterAt(2, 7);
    EXPECT_EQ(host.rendered.size(), 5u);
    EXPECT_EQ(map.stageProgress, 100) << "mid-stage: the marker is there at once";
    EXPECT_EQ(map.scrollDelay, 100);
}

} // namespace

TEST_F(MapWndTest, AStageShowsItsTotalOnlyOnceEachOfItsLevelsIsWon)
{
    EnterAt(2, 11);
    for (int level = 1; level <= 4; ++level)
        host.bests[level] = {1000 * level, 1 + level % 3};
    host.bests[7] = {500, 2};
    EXPECT_FALSE(map.TotalOf(0).finished) << "level 5 was never won";
    host.bests[5] = {800, 0}; // won before the levels had stars
    MapWnd::StageTotal total = map.TotalOf(0);
    EXPECT_TRUE(total.finished);
    EXPECT_EQ(total.score, 10800);
    EXPECT_EQ(total.stars, 2 + 3 + 1 + 2);
    EXPECT_FALSE(map.TotalOf(1).finished);
    EXPECT_FALSE(map.TotalOf(-1).finished);
}
