#include "game/app/profiles/StatisticsStore.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "framework/core/Cp1251.h"
#include "game/app/profiles/PlayerList.h"
#include "tests/app/profiles/ProfileTestSupport.h"

using namespace Zorvin;
using namespace ProfileTest;

namespace {

// A mode block as the file holds it: the six totals, the suspended level's
// five counters, then the won levels.
std::string Block(std::initializer_list<int> totals, std::initializer_list<int> suspended,
                  std::initializer_list<std::array<int, 4>> levels = {})
{
    std::string b;
    for (int v : totals)
        b += I32(v);
    for (int v : suspended)
        b += I32(v);
    b += I32(static_cast<int>(levels.size()));
    for (const auto& l : levels)
        for (int v : l)
            b += I32(v);
    return b;
}

const std::string kEmptyBlock = Block({0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0});

} // namespace

// The figures a few levels give, the exact bytes they are written as, the
// same figures read back, and every kind of damage: the store starts empty,
// the damaged bytes are kept whole in a numbered copy, the player is told,
// and an empty file replaces the damaged one.
TEST(StatisticsStore, WritesTheLayoutReadsItBackAndSetsDamageAside)
{
    std::string dir = TempFolder("stats");
    StatisticsStore store(dir);
    PlayerStatistics& anna = store.Of("Anna");
    EXPECT_EQ(anna.RecordLevel(PlayMode::Click, {3, true, 900, 3, 2, 40, 61, 2}), 0);
    EXPECT_EQ(anna.RecordLevel(PlayMode::Click, {3, true, 700, 4, 0, 38, 50, 3}), 900);
    EXPECT_EQ(anna.RecordLevel(PlayMode::Click, {4, false, 300, 2, 1, 20, 30, 0}), 0);
    EXPECT_EQ(anna.RecordLevel(PlayMode::Click, {4, true, 500, 2, 1, 25, 40, 1}), 0);
    // Only a level of the campaign is kept for its continuation.
    anna.SuspendLevel(PlayMode::Click, {61, 5, 1, 0, 2});
    EXPECT_EQ(anna.Suspended(PlayMode::Click), SuspendedLevel{});
    anna.SuspendLevel(PlayMode::Drag, {7, 95, 3, 1, 12});
    store.Of(W("Ёж")).RecordLevel(PlayMode::Drag, {50, true, 1200, 9, -1, 60, -5, 7});
    ASSERT_TRUE(store.Save());

    const ModeStatistics& click = anna.Mode(PlayMode::Click);
    EXPECT_EQ(click.Played(), 4);
    EXPECT_EQ(click.WinRatePercent(), 75);
    EXPECT_EQ(click.TotalSeconds(), 181);
    EXPECT_EQ(click.AverageSeconds(), 45);
    EXPECT_EQ(click.LongestStreak(), 2);
    EXPECT_EQ(click.CurrentStreak(), 1);
    EXPECT_EQ(anna.BestScore(PlayMode::Click, 3), 900);
    EXPECT_EQ(anna.BestStars(PlayMode::Click, 3), 3);
    EXPECT_EQ(anna.BestScore(PlayMode::Drag, 3), 0);

    std::string expected = std::string("KVST") + I32(1) + I32(2)
        + Str("Anna") + Block({0, 0, 0, 0, 0, 0}, {7, 95, 3, 1, 12})
        + Block({3, 1, 181, 4, 2, 1}, {0, 0, 0, 0, 0}, {{3, 900, 3, 2}, {4, 500, 1, 1}})
        // Numbers out of range are brought into it when recorded.
        + Str("\xA8\xE6") + Block({1, 0, 0, 4, 1, 1}, {0, 0, 0, 0, 0}, {{50, 1200, 3, 1}}) + kEmptyBlock;
    std::string path = dir + "stats.dat";
    ASSERT_EQ(Slurp(path), expected);

    StatisticsStore again(dir);
    again.Load();
    ASSERT_EQ(again.Count(), 2);
    EXPECT_EQ(*again.Find("Anna"), anna);
    EXPECT_EQ(again.Encode(), expected);

    const std::string annaPart = Str("Anna") + kEmptyBlock + kEmptyBlock;
    const std::string head = std::string("KVST") + I32(1) + I32(1);
    std::vector<std::string> damaged = {
        expected.substr(0, expected.size() - 1),                 // cut off
        expected.substr(0, 10),                                  // cut in the count
        expected + "x",                                          // junk after the end
        "KVSU" + expected.substr(4),                             // another mark
        std::string("KVST") + I32(2) + I32(1) + annaPart,        // a version this game does not know
        std::string("KVST") + I32(1) + I32(0x7FFFFFFF) + annaPart, // hostile count
        head + Str("Anna") + Block({1, 0, 0, 0, 1, 1}, {0, 0, 0, 0, 0}, {{3, 10, 4, 1}}) + kEmptyBlock, // 4 stars
        head + Str("Anna") + Block({2, 0, 0, 0, 1, 1}, {0, 0, 0, 0, 0}, {{3, 1, 1, 1}, {3, 1, 1, 1}})
            + kEmptyBlock,                                       // a level twice
        head + Str("Anna") + Block({1, 0, 0, 0, 1, 1}, {0, 0, 0, 0, 0}, {{51, 1, 1, 1}}) + kEmptyBlock, // no level 51
        head + Str("Anna") + Block({0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0}) + kEmptyBlock, // a streak with no win
        head + Str("Anna") + Block({0, -1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}) + kEmptyBlock, // negative count
        std::string("KVST") + I32(1) + I32(2) + annaPart + annaPart, // a player twice
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        std::string copy = path + (i == 0 ? ".bad" : ".bad" + std::to_string(i + 1));
        Spit(path, damaged[i]);
        FileNotices notices;
        StatisticsStore store2(dir);
        store2.SetNotices(&notices);
        store2.Load();
        EXPECT_EQ(store2.Count(), 0);
        EXPECT_EQ(Slurp(copy), damaged[i]);
        EXPECT_EQ(Slurp(path), std::string("KVST") + I32(1) + I32(0));
        ASSERT_FALSE(notices.Empty());
        EXPECT_EQ(notices.Take(), FileNotices::DamagedStartedAfresh(dir, "stats.dat", copy.substr(dir.size())));
    }
    // The copies made before are all still there.
    EXPECT_EQ(Slurp(path + ".bad"), damaged[0]);
}

// Renaming a player takes the statistics along (replacing figures some
// lost player left under that name); deleting one takes them away; both
// reach the file at once.
TEST(StatisticsStore, FollowsRenamedAndDeletedPlayers)
{
    std::string dir = TempFolder("stats");
    StatisticsStore store(dir);
    PlayerList list(dir);
    list.SetStatistics(&store);
    list.AddPlayer("Anna");
    list.AddPlayer("Bob");
    store.Of("Anna").RecordLevel(PlayMode::Drag, {2, true, 400, 2, 0, 10, 20, 1});
    store.Of("Cy").RecordLevel(PlayMode::Click, {1, false, 0, 1, 0, 3, 5, 0});

    auto reread = [&] {
        StatisticsStore fromFile(dir);
        fromFile.Load();
        return fromFile.Encode();
    };
    ASSERT_TRUE(list.RenamePlayer(0, "Cy"));
    ASSERT_NE(store.Find("Cy"), nullptr);
    EXPECT_EQ(store.Find("Cy")->BestScore(PlayMode::Drag, 2), 400);
    EXPECT_EQ(store.Find("Cy")->Mode(PlayMode::Click).Played(), 0);
    EXPECT_EQ(store.Find("Anna"), nullptr);
    EXPECT_EQ(reread(), store.Encode());

    ASSERT_TRUE(list.DeletePlayer(0));
    EXPECT_EQ(store.Find("Cy"), nullptr);
    EXPECT_EQ(reread(), std::string("KVST") + I32(1) + I32(0));
}
