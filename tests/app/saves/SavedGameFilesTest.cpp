// Where saved games live: names that must stay inside saves/, and the games
// following a player through a rename and a deletion.

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "framework/core/Cp1251.h"
#include "framework/core/FileUtil.h"
#include "game/app/saves/SafeFileName.h"
#include "game/app/saves/SavedGame.h"
#include "game/app/saves/SavedGameFiles.h"
#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

namespace fs = std::filesystem;

class SavedGameFilesTest : public BoardFixture {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("savedgamefiles_" + std::to_string(::getpid()));
        fs::create_directories(dir / "data");
        F().level.path = "lv.xml";
        Add(0, 100, 200);
        Line().ResetLine(1, 2);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Every file under the test folder, relative to it.
    std::set<std::string> Files() const
    {
        std::set<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file())
                out.insert(fs::relative(e.path(), dir).string());
        return out;
    }

    fs::path dir;
};

TEST_F(SavedGameFilesTest, HostileNamesStayInsideTheSavesFolderAndDoNotCollide)
{
    SavedGameFiles saves((dir / "data").string());
    EXPECT_EQ(SavedGamePath("/d", "Anna", StoredMode(PlayMode::Drag)), "/d/saves/Anna2.sav");
    // The name as a file manager on a UTF-8 desktop shows it.
    EXPECT_EQ(SavedGamePath("/d/", W("Анна Ёж"), StoredMode(PlayMode::Click)), "/d/saves/Анна Ёж1.sav");
    EXPECT_EQ(SavedGamePath("/d", "Anna", StoredMode(PlayMode::Editor)), "");

    // Long hand-edited names that share their first 200 bytes or more.
    const std::string longName(230, 'a');
    std::string longCyrillic(70, 'x'); // 222 bytes in UTF-8, 146 in Windows-1251
    for (int i = 0; i < 76; ++i)
        longCyrillic += W("Ж");
    const std::string names[] = {"../../escape", "..", ".", "a/b", "a\\b", "a_b", std::string("nul\0x", 5),
                                 "tab\there", "%2F", "..\\..\\x", std::string(300, '/'), "\x7F", "",
                                 longName + "1", longName + "2", longCyrillic + "1", longCyrillic + "2"};
    std::set<std::string> safe;
    for (const std::string& name : names) {
        std::string s = SafeFileName(name);
        EXPECT_TRUE(safe.insert(s).second) << "collides: " << s;
        EXPECT_EQ(s.find(".."), std::string::npos) << s;
        EXPECT_LE(s.size(), kMaxSafeNameLength);
        EXPECT_TRUE(Utf8ToCp1251(s) == s || Cp1251ToUtf8(Utf8ToCp1251(s)) == s) << s; // whole UTF-8 characters
        for (unsigned char c : s)
            EXPECT_TRUE(c >= 0x20 && c != 0x7F && c != '/' && c != '\\') << s;
        F().mode = PlayMode::Drag;
        ASSERT_TRUE(saves.Save(F(), name)) << s;
        EXPECT_TRUE(saves.Exists(name, StoredMode(PlayMode::Drag)));
    }
    // Every game landed directly in data/saves, one file per name.
    std::set<std::string> files = Files();
    EXPECT_EQ(files.size(), std::size(names));
    for (const std::string& f : files)
        EXPECT_EQ(fs::path(f).parent_path(), fs::path("data") / "saves") << f;
}

TEST_F(SavedGameFilesTest, GamesFollowARenamedPlayerAndGoWithADeletedOne)
{
    SavedGameFiles saves((dir / "data").string());
    const std::string boris = W("Борис");
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        F().mode = mode;
        F().TakeCounters(100 + StoredMode(mode), F().ShufflesLeft());
        ASSERT_TRUE(saves.Save(F(), "Anna"));
    }
    F().mode = PlayMode::Editor;
    EXPECT_FALSE(saves.Save(F(), "Anna"));
    // A stale game left under the new name must not survive the rename.
    F().mode = PlayMode::Click;
    ASSERT_TRUE(saves.Save(F(), "Stale"));

    saves.PlayerRenamed("Anna", boris);
    saves.PlayerRenamed("Nobody", "Stale");
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/Борис1.sav", "data/saves/Борис2.sav"}));
    FakeBoardHost host2;
    BoardRules rules2(host2);
    ASSERT_TRUE(saves.Restore(*rules2.field, boris, StoredMode(PlayMode::Click), "lv.xml"));
    EXPECT_EQ(rules2.field->Score(), 102);
    EXPECT_EQ(rules2.field->mode, PlayMode::Click);
    EXPECT_FALSE(saves.Restore(*rules2.field, "Anna", StoredMode(PlayMode::Drag), "lv.xml"));

    // A click-mode game copied over the drag-mode file is not started; it
    // is set aside.
    fs::copy_file(saves.PathFor(boris, StoredMode(PlayMode::Click)), saves.PathFor(boris, StoredMode(PlayMode::Drag)),
                  fs::copy_options::overwrite_existing);
    EXPECT_FALSE(saves.Restore(*rules2.field, boris, StoredMode(PlayMode::Drag), "lv.xml"));

    saves.Delete(boris, StoredMode(PlayMode::Drag));
    EXPECT_TRUE(saves.Exists(boris, StoredMode(PlayMode::Click)));
    EXPECT_FALSE(saves.Exists(boris, StoredMode(PlayMode::Drag)));
    saves.PlayerDeleted(boris);
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/Борис2.sav.bad"}));
}

// A saved game that cannot be restored is not silently dropped: the player
// is told, the file goes aside as a numbered copy, and the next save starts
// clean. A game of the other mode under this name counts as damaged too.
TEST_F(SavedGameFilesTest, ADamagedGameIsSetAsideAndTold)
{
    SavedGameFiles saves((dir / "data").string());
    FileNotices notices;
    saves.SetNotices(&notices);
    std::string path = saves.PathFor("Anna", StoredMode(PlayMode::Click));
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << "not a saved game";

    FakeBoardHost host2;
    BoardRules rules2(host2);
    EXPECT_TRUE(saves.Exists("Anna", StoredMode(PlayMode::Click)));
    EXPECT_FALSE(saves.Restore(*rules2.field, "Anna", StoredMode(PlayMode::Click), "lv.xml"));
    EXPECT_FALSE(saves.Exists("Anna", StoredMode(PlayMode::Click)));
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/Anna1.sav.bad"}));
    ASSERT_FALSE(notices.Empty());
    FileNotice told = notices.Take();
    EXPECT_NE(told.text.find((dir / "data" / "saves").string()), std::string::npos) << told.text;
    EXPECT_NE(told.text.find("Anna1.sav.bad"), std::string::npos) << told.text;

    F().mode = PlayMode::Drag;
    ASSERT_TRUE(saves.Save(F(), "Anna"));
    fs::rename(saves.PathFor("Anna", StoredMode(PlayMode::Drag)), path);
    EXPECT_FALSE(saves.Restore(*rules2.field, "Anna", StoredMode(PlayMode::Click), "lv.xml"));
    EXPECT_TRUE(fs::exists(path + ".bad2"));
    EXPECT_FALSE(fs::exists(path));
}

// A game that cannot be written is told, stays playable in this run and
// reaches the disk at the next chance.
TEST_F(SavedGameFilesTest, AFailedSaveIsKeptAndWrittenLater)
{
    std::ofstream((dir / "blocker").string()) << "not a folder";
    SavedGameFiles saves((dir / "blocker").string());
    FileNotices notices;
    saves.SetNotices(&notices);
    F().mode = PlayMode::Click;
    F().TakeCounters(4321, F().ShufflesLeft());
    EXPECT_FALSE(saves.Save(F(), "Anna"));
    EXPECT_FALSE(notices.Empty());
    EXPECT_TRUE(saves.Exists("Anna", StoredMode(PlayMode::Click)));
    EXPECT_FALSE(saves.RetryPendingWrites());

    FakeBoardHost host2;
    BoardRules rules2(host2);
    ASSERT_TRUE(saves.Restore(*rules2.field, "Anna", StoredMode(PlayMode::Click), "lv.xml"));
    EXPECT_EQ(rules2.field->Score(), 4321);

    fs::remove(dir / "blocker");
    EXPECT_TRUE(saves.RetryPendingWrites());
    EXPECT_FALSE(saves.WritePending());
    std::string bytes;
    SavedGameData data;
    ASSERT_TRUE(FileUtil::ReadFile(saves.PathFor("Anna", StoredMode(PlayMode::Click)), bytes));
    ASSERT_TRUE(ReadSavedGame(bytes, data));
    EXPECT_EQ(data.score, 4321);
}

// Games saved under the Windows-1251 file names of older versions are found,
// moved to the UTF-8 name, and follow their player as before.
TEST_F(SavedGameFilesTest, OldWindows1251NamedGamesAreFoundAndMoved)
{
    SavedGameFiles saves((dir / "data").string());
    const std::string vera = W("Вера");
    F().mode = PlayMode::Click;
    F().TakeCounters(77, F().ShufflesLeft());
    std::string old = (dir / "data" / "saves").string() + "/" + vera + "1.sav";
    fs::create_directories(dir / "data" / "saves");
    ASSERT_TRUE(SaveGame(F(), old));
    ASSERT_NE(old, saves.PathFor(vera, StoredMode(PlayMode::Click)));

    EXPECT_TRUE(saves.Exists(vera, StoredMode(PlayMode::Click)));
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/Вера1.sav"}));
    FakeBoardHost host2;
    BoardRules rules2(host2);
    ASSERT_TRUE(saves.Restore(*rules2.field, vera, StoredMode(PlayMode::Click), "lv.xml"));
    EXPECT_EQ(rules2.field->Score(), 77);

    // Renaming a player whose game has not been looked at yet.
    F().mode = PlayMode::Drag;
    ASSERT_TRUE(SaveGame(F(), (dir / "data" / "saves").string() + "/" + vera + "2.sav"));
    saves.PlayerRenamed(vera, "Vera");
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/Vera1.sav", "data/saves/Vera2.sav"}));
}

} // namespace
} // namespace Zorvin
