#include "game/app/profiles/HighScoreTable.h"

#include <gtest/gtest.h>

#include "tests/app/profiles/ProfileTestSupport.h"

using namespace Zorvin;
using namespace ProfileTest;

namespace {

const std::pair<const char*, int> kDefaultRows[10] = {
    {"Zeus", 100000}, {"Aphrodite", 50000}, {"Poseidon", 25000}, {"Apollo", 20000}, {"Anteus", 10000},
    {"Hermes", 5000}, {"Demeter", 4000},    {"Dionisus", 3000},  {"Artemis", 2000}, {"Ares", 1000},
};

std::string Row(const std::string& name2, const std::string& name0, int score2, int score0)
{
    return Str(name2) + Str(name0) + I32(score2) + I32(score0);
}

} // namespace

TEST(HighScoreTable, DefaultFileBytesAndRoundTrip)
{
    std::string dir = TempFolder("scores");
    HighScoreTable table(dir);
    ASSERT_TRUE(table.SaveHighScores());
    std::string expected;
    for (auto [name, score] : kDefaultRows)
        expected += Row(name, name, score, score);
    EXPECT_EQ(Slurp(dir + "highscores.dat"), expected);

    table.Insert(2, "Mia", 30000);
    table.Insert(0, "Lev", 1500);
    ASSERT_TRUE(table.SaveHighScores());
    HighScoreTable again(dir);
    again.LoadHighScores();
    EXPECT_EQ(again.highScoresMode2, table.highScoresMode2);
    EXPECT_EQ(again.highScoresMode0, table.highScoresMode0);
}

TEST(HighScoreTable, NewScoresGoAboveEqualOnes)
{
    HighScoreTable t;
    EXPECT_EQ(t.Insert(0, "Low", 999), -1);
    EXPECT_EQ(t.highScoresMode0.back().name, "Ares");

    // Equal to the last row: enters at row 10 above "Ares", who drops out.
    EXPECT_EQ(t.Insert(0, "Tie", 1000), 9);
    EXPECT_EQ(t.highScoresMode0[9], (HighScoreEntry{"Tie", 1000}));
    ASSERT_EQ(t.highScoresMode0.size(), 10u);
    EXPECT_EQ(t.highScoresMode2.back().name, "Ares"); // the other mode is untouched

    // Equal to the first row: goes first, above "Zeus".
    EXPECT_EQ(t.Insert(0, "Top", 100000), 0);
    EXPECT_EQ(t.highScoresMode0[1].name, "Zeus");
    // In the middle: above the equal "Hermes", below the better ones.
    EXPECT_EQ(t.Insert(2, "Mid", 5000), 5);
    EXPECT_EQ(t.highScoresMode2[6].name, "Hermes");
    EXPECT_EQ(t.highScoresMode2[9].name, "Artemis");
}

TEST(HighScoreTable, ShortOrDamagedFilesStillGiveTenOrderedRows)
{
    std::string dir = TempFolder("scores");
    HighScoreTable t(dir);

    // Three rows, then half a row: the three stay, the defaults fill the rest.
    Spit(t.FilePath(), Row("A", "B", 60000, 15) + Row("C", "D", 500, 10) + Row("E", "F", 1, 5) + Str("G") + Str("H"));
    t.LoadHighScores();
    ASSERT_EQ(t.highScoresMode2.size(), 10u);
    ASSERT_EQ(t.highScoresMode0.size(), 10u);
    EXPECT_EQ(t.highScoresMode2[0], (HighScoreEntry{"A", 60000}));
    EXPECT_EQ(t.highScoresMode2[1].name, "Apollo"); // the defaults of rows 4 to 10
    EXPECT_EQ(t.highScoresMode2[9], (HighScoreEntry{"E", 1}));
    EXPECT_EQ(t.highScoresMode0[9], (HighScoreEntry{"F", 5}));
    for (int r = 1; r < 10; ++r)
        EXPECT_GE(t.highScoresMode0[r - 1].score, t.highScoresMode0[r].score);

    // A length past the end reads nothing more; twelve rows keep ten.
    Spit(t.FilePath(), std::string("\xFF\x7F", 2) + "x");
    t.LoadHighScores();
    EXPECT_EQ(t.highScoresMode0[0].name, "Zeus");
    std::string many;
    for (int r = 0; r < 12; ++r)
        many += Row("n", "m", 100 - r, 100 - r);
    Spit(t.FilePath(), many);
    t.LoadHighScores();
    ASSERT_EQ(t.highScoresMode2.size(), 10u);
    EXPECT_EQ(t.highScoresMode2[9].score, 91);

    // A missing file leaves the tables as they are.
    std::filesystem::remove(t.FilePath());
    t.LoadHighScores();
    EXPECT_EQ(t.highScoresMode2[9].score, 91);
}

// Bit flips the game never writes: a score of -2^31 on top, rows out of
// order, a name longer than the name field. The table comes back sorted,
// in range and readable, the player is told, and the damaged file is kept
// as a numbered copy next to the repaired one.
TEST(HighScoreTable, DamagedFilesAreRepairedSortedAndSetAside)
{
    std::string dir = TempFolder("scores");
    FileNotices notices;
    HighScoreTable t(dir);
    t.SetNotices(&notices);
    std::string flipped = Row("Low", "Neg", 10, -2147483647 - 1) + Row(std::string(40, 'L'), "B", 900, 5000);
    for (int r = 2; r < 10; ++r)
        flipped += Row("r", "s", 100 * r, 10 * r);
    Spit(t.FilePath(), flipped);
    t.LoadHighScores();
    for (const auto* table : {&t.highScoresMode0, &t.highScoresMode2}) {
        ASSERT_EQ(table->size(), 10u);
        for (size_t r = 0; r < 10; ++r) {
            EXPECT_GE((*table)[r].score, 0);
            EXPECT_LE((*table)[r].name.size(), 12u);
            if (r > 0) {
                EXPECT_GE((*table)[r - 1].score, (*table)[r].score);
            }
        }
    }
    EXPECT_EQ(t.highScoresMode0[0], (HighScoreEntry{"B", 5000}));
    EXPECT_EQ(t.highScoresMode0[9], (HighScoreEntry{"Neg", 0}));
    EXPECT_EQ(t.highScoresMode2[0], (HighScoreEntry{std::string(12, 'L'), 900}));
    EXPECT_EQ(Slurp(t.FilePath() + ".bad"), flipped);
    EXPECT_EQ(Slurp(t.FilePath()), t.Encode());
    EXPECT_FALSE(notices.Empty());

    // The repaired file reads back whole; a second damage keeps both copies.
    notices = FileNotices();
    t.LoadHighScores();
    EXPECT_TRUE(notices.Empty());
    Spit(t.FilePath(), "junk");
    t.LoadHighScores();
    EXPECT_EQ(Slurp(t.FilePath() + ".bad"), flipped);
    EXPECT_EQ(Slurp(t.FilePath() + ".bad2"), "junk");
    EXPECT_EQ(t.highScoresMode0[0].name, "Zeus");
}

