// The star thresholds: how the checker derives them from the headless
// player's scores, the file the build ships (written by the levels step,
// read by the game's reader) and the reader's answer to damaged files.

#include "framework/core/FileUtil.h"
#include "game/shared/LevelStars.h"
#include "tools/assetgen/levels/LevelDesigner.h"
#include "tools/assetgen/levels/StarCheck.h"
#include "tests/framework/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Zorvin;
using namespace Zorvin::AssetGen;

namespace {

const std::string GameFolder = std::string(KORVELT_BUILD_DIR) + "/game";

TEST(StarThresholdsTest, MedianEarnsTwoStarsAndTheNinetiethPercentileThree)
{
    // Twenty won deals scoring 20, 40, ... 400, shuffled: the median by
    // nearest rank is the 10th score, the 90th percentile the 18th.
    std::vector<int> scores;
    for (int i = 20; i >= 1; --i)
        scores.push_back(20 * ((i * 7) % 20 + 1));
    int two = 0, three = 0;
    ThresholdsOf(scores, two, three);
    EXPECT_EQ(two, 200);
    EXPECT_EQ(three, 360);
    // Every won deal scoring alike: three stars still ask for one more put.
    ThresholdsOf({900, 900, 900}, two, three);
    EXPECT_EQ(two, 900);
    EXPECT_EQ(three, 920);
    ThresholdsOf({}, two, three);
    EXPECT_EQ(two + three, 0);
}

TEST(StarThresholdsTest, TheShippedFileRatesEveryLevelOfBothModes)
{
    const std::string path = GameFolder + "/" + LevelStars::kFileName;
    if (!std::filesystem::exists(GameFolder + "/levels"))
        GTEST_SKIP() << "assets not generated in this build";
    LevelStars stars;
    ASSERT_TRUE(stars.Load(path));
    EXPECT_EQ(stars.Entries().size(), static_cast<size_t>(CampaignLength(kDragMode) + CampaignLength(kClickMode)));
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        for (int n = 1; n <= CampaignLength(StoredMode(mode)); ++n)
            EXPECT_TRUE(stars.Has(mode, n)) << StoredMode(mode) << " " << n;
    }
    EXPECT_FALSE(stars.Has(PlayMode::Drag, CampaignLength(kDragMode) + 1));
    // Each threshold is where a star is gained, not one point later.
    for (const LevelStars::Entry& e : stars.Entries()) {
        ASSERT_LT(e.twoStars, e.threeStars);
        EXPECT_EQ(stars.StarsFor(e.mode, e.level, e.twoStars - 1), 1);
        EXPECT_EQ(stars.StarsFor(e.mode, e.level, e.twoStars), 2);
        EXPECT_EQ(stars.StarsFor(e.mode, e.level, e.threeStars - 1), 2);
        EXPECT_EQ(stars.StarsFor(e.mode, e.level, e.threeStars), 3);
    }
}

TEST(StarThresholdsTest, AMissingOrDamagedFileRatesNoLevel)
{
    const std::string good = "korvelt-stars 1\n# comment\n0 1 700 820\n2 7 600 640\n";
    LevelStars stars;
    ASSERT_TRUE(stars.Parse(good));
    EXPECT_EQ(stars.StarsFor(PlayMode::Click, 7, 640), 3);
    // Line ends of another system and blank lines read the same.
    ASSERT_TRUE(stars.Parse("\r\nkorvelt-stars 1\r\n\r\n0 1 700 820\r\n"));
    EXPECT_EQ(stars.StarsFor(PlayMode::Drag, 1, 700), 2);

    const char* damaged[] = {
        "",                                             // empty
        "0 1 700 820\n",                                // no header
        "korvelt-stars 2\n0 1 700 820\n",               // a later version
        "korvelt-stars\n0 1 700 820\n",                 // no version
        "korvelt-stars 1\n0 1 700\n",                   // a column missing
        "korvelt-stars 1\n0 1 700 820 5\n",             // one too many
        "korvelt-stars 1\n0 1 7OO 820\n",               // not a number
        "korvelt-stars 1\n0 1 -700 820\n",              // negative
        "korvelt-stars 1\n0 1 900 820\n",               // two stars above three
        "korvelt-stars 1\n1 1 700 820\n",               // the editor's mode
        "korvelt-stars 1\n3 1 700 820\n",               // no such mode
        "korvelt-stars 1\n0 0 700 820\n",               // level 0
        "korvelt-stars 1\n0 1000 700 820\n",            // past any campaign
        "korvelt-stars 1\n0 1 700 99999999999\n",       // overflows
        "korvelt-stars 1\n0 1 700 820\n0 1 600 800\n",  // a level twice
        "korvelt-stars 1\n0 1 700 820\n0 2 7",           // cut short
    };
    for (const char* text : damaged) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(stars.Parse(good));
        EXPECT_FALSE(stars.Parse(text));
        EXPECT_TRUE(stars.Empty());
        EXPECT_EQ(stars.StarsFor(PlayMode::Drag, 1, 5000), 0);
    }
    // An oversized file is not read at all.
    EXPECT_FALSE(stars.Parse(good + std::string(100000, '#')));

    ZorvinTest::TempFolder temp;
    EXPECT_FALSE(stars.Load(temp.File("missing.txt")));
    EXPECT_FALSE(stars.Load(temp.path)); // a folder
    ASSERT_TRUE(FileUtil::WriteFileAtomic(temp.File("stars.txt"), good));
    EXPECT_TRUE(stars.Load(temp.File("stars.txt")));
    EXPECT_EQ(stars.StarsFor(PlayMode::Drag, 1, 819), 2);
}

} // namespace
