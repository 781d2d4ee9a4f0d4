#include "game/app/profiles/PlayerList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "framework/core/Cp1251.h"
#include "framework/core/FileUtil.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/DataFolder.h"
#include "game/app/profiles/PlayerName.h"
#include "game/app/saves/SavedGameFiles.h"
#include "tests/app/profiles/ProfileTestSupport.h"

using namespace Zorvin;
using namespace ProfileTest;

namespace {

// One players-file record written item by item as the file holds it.
std::string Record(const std::string& name, int level0, int spare0, int shuffles, int score0, int level2, int spare2,
                   int score2, bool deckHint, bool howTo, int places, bool instructions, bool jokerHint)
{
    return Str(name) + I32(level0) + I32(spare0) + I32(shuffles) + I32(score0) + I32(level2) + I32(spare2)
        + I32(score2) + char(deckHint) + char(howTo) + I32(places) + char(instructions) + char(jokerHint);
}

} // namespace

TEST(PlayerList, WritesTheExactFileAndReadsItBack)
{
    std::string dir = TempFolder("players");
    PlayerList list(dir);
    PlayerProfile& anna = list.AddPlayer("Anna");
    anna.levelMode0 = 7;
    anna.scoreMode0 = 12345;
    anna.spareMode0 = -3;
    anna.shufflesLeft = 2;
    anna.levelMode2 = 60;
    anna.scoreMode2 = 987654;
    anna.spareMode2 = 5;
    anna.deckHintShown = true;
    anna.showHowToPlay = false;
    anna.placeCount = 4;
    anna.jokerHintShown = true;
    list.AddPlayer(W("Ёжик"));
    list.currentPlayer = 1;
    ASSERT_TRUE(list.SavePlayers());

    std::string expected = I32(1000) + I32(1)
        + Record("Anna", 7, -3, 2, 12345, 60, 5, 987654, true, false, 4, true, true)
        + Record("\xA8\xE6\xE8\xEA", 1, 0, 1, 0, 1, 0, 0, false, true, 2, true, false);
    EXPECT_EQ(Slurp(dir + "players.dat"), expected);
    EXPECT_EQ(expected.size(), 8u + (2 + 4 + 36) * 2);

    PlayerList again(dir);
    again.LoadPlayers();
    ASSERT_EQ(again.Count(), 2);
    EXPECT_EQ(again.currentPlayer, 1);
    EXPECT_EQ(again.Encode(), expected);
    EXPECT_EQ(again.CurrentProfile()->name, W("Ёжик"));
    EXPECT_EQ(again.At(0).spareMode0, -3);
    EXPECT_TRUE(again.At(0).jokerHintShown);
    EXPECT_FALSE(again.At(0).showHowToPlay);
}

TEST(PlayerList, DamagedFilesKeepEveryWholeRecordAndAValidIndex)
{
    std::string dir = TempFolder("players");
    std::string path = dir + "players.dat";
    PlayerList list(dir);

    // Mark and index only: no players, and an index that names none.
    Spit(path, I32(1000) + I32(3));
    list.LoadPlayers();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.currentPlayer, -1);
    EXPECT_EQ(list.CurrentProfile(), nullptr);

    // Two whole records, the third cut off; an index past the list; an
    // empty name (zero length) and a negative length both read as "".
    std::string a = Record("", 2, 0, 1, 10, 3, 0, 20, false, true, 2, true, false);
    std::string b = Record("Bo", 4, 0, 0, 30, 5, 0, 40, true, true, 3, false, false);
    b.replace(0, 4, std::string("\xFE\xFF", 2)); // length -2, no bytes follow
    std::string c = Record("Cyd", 1, 0, 1, 0, 1, 0, 0, false, true, 2, true, false);
    Spit(path, I32(1000) + I32(7) + a + b + c.substr(0, c.size() - 3));
    list.LoadPlayers();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0).name, "");
    EXPECT_EQ(list.At(0).scoreMode2, 20);
    EXPECT_EQ(list.At(1).name, "");
    EXPECT_EQ(list.At(1).scoreMode2, 40);
    EXPECT_EQ(list.currentPlayer, 1);

    // A string length running past the end of the file drops that record.
    Spit(path, I32(1000) + I32(0) + a + std::string("\x10\x00zz", 4));
    list.LoadPlayers();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.currentPlayer, 0);
}

// Cut, padded with junk, out of range, not a players file at all: each
// damaged file is told on screen, keeps every whole record (at most nine,
// numbers brought into range), and leaves a numbered copy of itself that no
// later damage replaces; the repaired list is written back at once.
TEST(PlayerList, DamagedFilesAreSetAsideNumberedAndRepaired)
{
    std::string dir = TempFolder("players");
    std::string path = dir + "players.dat";
    FileNotices notices;
    PlayerList list(dir);
    list.SetNotices(&notices);
    std::string anna = Record("Anna", 7, 0, 1, 500, 3, 0, 90, false, true, 2, true, false);

    std::string cut = I32(1000) + I32(0) + anna + anna.substr(0, anna.size() - 1);
    Spit(path, cut);
    list.LoadPlayers();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(Slurp(path + ".bad"), cut);
    EXPECT_EQ(Slurp(path), I32(1000) + I32(0) + anna);
    FileNotice told = notices.Take();
    EXPECT_NE(told.text.find(dir), std::string::npos) << told.text;
    EXPECT_NE(told.text.find("players.dat.bad."), std::string::npos) << told.text;

    // Nine players and 100 KB of zeros after them: nine players, no more.
    std::string nine;
    for (int i = 0; i < 9; ++i)
        nine += Record("P" + std::to_string(i), 1, 0, 1, 0, 1, 0, 0, false, true, 2, true, false);
    std::string padded = I32(1000) + I32(8) + nine + std::string(100000, '\0');
    Spit(path, padded);
    list.LoadPlayers();
    EXPECT_EQ(list.Count(), PlayerList::MaxPlayers);
    EXPECT_EQ(list.CurrentProfile()->name, "P8");
    EXPECT_EQ(Slurp(path + ".bad2"), padded);
    EXPECT_EQ(Slurp(path), I32(1000) + I32(8) + nine);

    // Numbers the game never writes come back into their ranges.
    std::string wild = I32(1000) + I32(0) + Record("W", 999999, -4, -3, -2147483647 - 1, 0, 7, -5, true, true, 9, true, true)
        + Record("X", 51, 0, 99, 1, 61, 0, 2, false, false, -1, false, false);
    Spit(path, wild);
    list.LoadPlayers();
    ASSERT_EQ(list.Count(), 2);
    const PlayerProfile& w = list.At(0);
    EXPECT_EQ(w.levelMode0, PlayerProfile::kLastLevelMode0 + 1);
    EXPECT_EQ(w.levelMode2, 1);
    EXPECT_EQ(w.scoreMode0, 0);
    EXPECT_EQ(w.scoreMode2, 0);
    EXPECT_EQ(w.shufflesLeft, 0);
    EXPECT_EQ(w.placeCount, 4);
    EXPECT_EQ(w.spareMode0, -4); // kept as it was: nothing reads it
    const PlayerProfile& x = list.At(1);
    EXPECT_EQ(x.levelMode0, 51); // one past the last: a finished campaign
    EXPECT_EQ(x.levelMode2, 61);
    EXPECT_EQ(x.shufflesLeft, PlayerProfile::kMaxShufflesLeft);
    EXPECT_EQ(x.placeCount, 0);
    EXPECT_EQ(Slurp(path + ".bad3"), wild);

    // Not a players file: set aside as well, the list starts empty.
    std::string foreign = I32(999) + I32(0) + anna;
    Spit(path, foreign);
    list.LoadPlayers();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(Slurp(path + ".bad4"), foreign);
    // Every copy is still the file it was made of.
    EXPECT_EQ(Slurp(path + ".bad"), cut);
    EXPECT_EQ(Slurp(path + ".bad2"), padded);

    // A whole file is no damage: no copy, nothing to tell.
    while (!notices.Empty())
        notices.Take();
    list.AddPlayer("Anna");
    list.currentPlayer = 0;
    ASSERT_TRUE(list.SavePlayers());
    list.LoadPlayers();
    EXPECT_TRUE(notices.Empty());
    EXPECT_FALSE(std::filesystem::exists(path + ".bad5"));
}

// A players file or high-score file the player cannot read is never
// written over, and the player is told. Run as an ordinary user: root reads
// everything.
TEST(PlayerList, UnreadableFilesAreNeverWrittenOver)
{
    std::string dir = TempFolder("players");
    PlayerList original(dir);
    original.AddPlayer("Anna").levelMode2 = 30;
    original.currentPlayer = 0;
    ASSERT_TRUE(original.SavePlayers());
    Spit(dir + "highscores.dat", std::string(10, 'x'));
    std::string players = Slurp(dir + "players.dat");
    std::filesystem::permissions(dir, std::filesystem::perms::all);
    for (const char* name : {"players.dat", "highscores.dat"})
        std::filesystem::permissions(dir + name, std::filesystem::perms::none);

    int result = RunUnprivileged([&] {
        std::string bytes;
        if (FileUtil::ReadFile(dir + "players.dat", bytes))
            return 2; // the file is readable after all: nothing would be tested
        FileNotices notices;
        PlayerList list(dir);
        list.SetNotices(&notices);
        list.LoadPlayers();
        if (list.Count() != 0 || notices.Empty())
            return 3;
        if (notices.Take().text.find("players.dat") == std::string::npos)
            return 4;
        list.AddPlayer("New Player");
        list.currentPlayer = 0;
        if (list.SavePlayers())
            return 5;
        HighScoreTable scores(dir);
        scores.SetNotices(&notices);
        scores.LoadHighScores();
        if (notices.Empty() || scores.SaveHighScores())
            return 6;
        return 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Slurp(dir + "players.dat"), players);
    EXPECT_EQ(Slurp(dir + "highscores.dat"), std::string(10, 'x'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
}

// Temporaries of the game's own files left by a crash go at start-up;
// those of a live writer and anything else in the folder stay.
TEST(PlayerList, StaleTemporariesAreRemovedWhenTheFilesAreRead)
{
    std::string dir = TempFolder("players");
    std::string dead = std::to_string(DeadProcess());
    const std::string stale[] = {"players.dat.tmp" + dead + "-a1b2c3", "highscores.dat.tmp" + dead + "-XyZ123",
                                 "saves/Anna1.sav.tmp" + dead + "-000000", "saves/%2E2.sav.tmp" + dead + "-qwerty"};
    const std::string kept[] = {"players.dat.tmp1-a1b2c3", "notes.txt.tmp" + dead + "-a1b2c3",
                                "saves/Anna1.sav.bad", "players.dat.bad"};
    for (const auto& name : stale)
        Spit(dir + name, "x");
    for (const auto& name : kept)
        Spit(dir + name, "x");

    PlayerList(dir).LoadPlayers();
    HighScoreTable(dir).LoadHighScores();
    SavedGameFiles(dir).RemoveStaleTemporaries();
    for (const auto& name : stale)
        EXPECT_FALSE(std::filesystem::exists(dir + name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(std::filesystem::exists(dir + name)) << name;
}

TEST(PlayerList, RenameMovesBothSavedGamesAndDeleteRemovesThem)
{
    std::string dir = TempFolder("players");
    SavedGameFiles mover(dir);
    PlayerList list(dir);
    list.SetSavedGames(&mover);
    list.AddPlayer("Anna");
    list.AddPlayer("Bob");
    list.AddPlayer("Cy");
    list.currentPlayer = 2;
    Spit(dir + "saves/Anna1.sav", "click game");
    Spit(dir + "saves/Anna2.sav", "drag game");

    EXPECT_FALSE(list.RenamePlayer(0, "Bob")); // taken
    ASSERT_TRUE(list.RenamePlayer(0, W("Анна")));
    EXPECT_EQ(list.At(0).name, W("Анна"));
    EXPECT_EQ(Slurp(SavedGamePath(dir, W("Анна"), 2)), "click game");
    EXPECT_EQ(Slurp(SavedGamePath(dir, W("Анна"), 0)), "drag game");
    EXPECT_FALSE(std::filesystem::exists(dir + "saves/Anna1.sav"));
    EXPECT_FALSE(std::filesystem::exists(dir + "saves/Anna2.sav"));

    // A player without saved games: nothing appears in saves/.
    ASSERT_TRUE(list.RenamePlayer(1, "Bea"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir + "saves"), {}), 2);

    // Deleting takes the saved games along and keeps the current player.
    ASSERT_TRUE(list.DeletePlayer(0));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir + "saves"), {}), 0);
    EXPECT_EQ(list.currentPlayer, 1);
    EXPECT_EQ(list.CurrentProfile()->name, "Cy");
    ASSERT_TRUE(list.DeletePlayer(0));
    EXPECT_EQ(list.currentPlayer, 0);
    EXPECT_FALSE(list.DeletePlayer(5));

    // A saved game that cannot be written under the new name stays where
    // it was instead of being deleted.
    Spit(dir + "saves/Cy1.sav", "cy game");
    std::filesystem::create_directories(SavedGamePath(dir, "Dee", 2));
    ASSERT_TRUE(list.RenamePlayer(0, "Dee"));
    EXPECT_EQ(Slurp(dir + "saves/Cy1.sav"), "cy game");
}

TEST(PlayerList, NamesNeverLeadOutOfTheSavesFolder)
{
    // Typing refuses separators, control characters and the old set.
    for (char ch : std::string("/\\\n\t\x7F#$%&()*+-.:@^"))
        EXPECT_FALSE(PlayerName::AllowCharacter(ch)) << int(ch);
    for (char ch : std::string("aZ9 _!\xC0\xFF"))
        EXPECT_TRUE(PlayerName::AllowCharacter(ch)) << int(ch);

    // Whatever an old file holds, the saved game stays directly in saves/,
    // and different names keep different files.
    std::string dir = "/data/";
    std::set<std::string> paths;
    for (const std::string& name : {std::string("../../etc/x"), std::string("a\\b"), std::string("a/b"),
                                    std::string("a%2Fb"), std::string("a\nb"), std::string("..")}) {
        std::string path = SavedGamePath(dir, name, 0);
        EXPECT_EQ(std::filesystem::path(path).parent_path(), "/data/saves") << path;
        EXPECT_EQ(path.find_first_of("\\\n", 6), std::string::npos) << path;
        paths.insert(path);
    }
    EXPECT_EQ(paths.size(), 6u);
    EXPECT_EQ(SavedGamePath(dir, "Anna", 0), "/data/saves/Anna2.sav");
    EXPECT_EQ(SavedGamePath(dir, "Anna", 2), "/data/saves/Anna1.sav");
}

// A write that fails (here the data folder cannot be made: a file is in
// its place) keeps the old file and the list, tells the player once, and
// is made at the next chance once the folder can be written again.
TEST(PlayerList, AFailedWriteIsToldOnceAndMadeLater)
{
    std::string dir = TempFolder("players");
    Spit(dir + "blocker", "not a folder");
    FileNotices notices;
    PlayerList list(dir + "blocker/");
    list.SetNotices(&notices);
    list.AddPlayer("Anna");
    list.currentPlayer = 0;
    EXPECT_FALSE(list.SavePlayers());
    EXPECT_FALSE(list.RetryPendingWrite());
    EXPECT_EQ(Slurp(dir + "blocker"), "not a folder");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.WritePending());
    FileNotice told = notices.Take();
    EXPECT_NE(told.text.find(dir + "blocker/"), std::string::npos) << told.text;
    EXPECT_TRUE(notices.Empty()); // the retry did not repeat it

    std::filesystem::remove(dir + "blocker");
    EXPECT_TRUE(list.RetryPendingWrite());
    EXPECT_FALSE(list.WritePending());
    PlayerList again(dir + "blocker/");
    again.LoadPlayers();
    EXPECT_EQ(again.Count(), 1);
}

TEST(PlayerList, DataFolderFollowsXdgDataHome)
{
    std::string xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_DATA_HOME", "/tmp/xdg/", 1);
    EXPECT_EQ(DataFolder::Locate(), "/tmp/xdg/Wendmoor/Korvelt/");
    ::setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(DataFolder::Locate(), "/home/ann/.local/share/Wendmoor/Korvelt/");
    ::unsetenv("HOME");
    EXPECT_EQ(DataFolder::Locate(), "");
    xdg.empty() ? ::unsetenv("XDG_DATA_HOME") : ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    if (!home.empty())
        ::setenv("HOME", home.c_str(), 1);
}
