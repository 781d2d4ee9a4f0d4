// Where saved games live: names that must stay inside saves/, and the games
// following a player through a rename and a deletion.

#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "framework/core/Cp1251.h"
#include "game/app/saves/SafeFileName.h"
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
        F().levelPath = "lv.xml";
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
    EXPECT_EQ(SavedGamePath("/d/", W("Анна"), StoredMode(PlayMode::Click)), "/d/saves/" + W("Анна") + "1.sav");
    EXPECT_EQ(SavedGamePath("/d", "Anna", StoredMode(PlayMode::Editor)), "");

    const std::string names[] = {"../../escape", "..", ".", "a/b", "a\\b", "a_b", std::string("nul\0x", 5),
                                 "tab\there", "%2F", "..\\..\\x", std::string(300, '/'), "\x7F", ""};
    std::set<std::string> safe;
    for (const std::string& name : names) {
        std::string s = SafeFileName(name);
        EXPECT_TRUE(safe.insert(s).second) << "collides: " << s;
        EXPECT_EQ(s.find(".."), std::string::npos) << s;
        EXPECT_LE(s.size(), kMaxSafeNameLength);
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
        F().score = 100 + StoredMode(mode);
        ASSERT_TRUE(saves.Save(F(), "Anna"));
    }
    F().mode = PlayMode::Editor;
    EXPECT_FALSE(saves.Save(F(), "Anna"));
    // A stale game left under the new name must not survive the rename.
    F().mode = PlayMode::Click;
    ASSERT_TRUE(saves.Save(F(), "Stale"));

    saves.PlayerRenamed("Anna", boris);
    saves.PlayerRenamed("Nobody", "Stale");
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/" + boris + "1.sav", "data/saves/" + boris + "2.sav"}));
    FakeBoardHost host2;
    BoardRules rules2(host2);
    ASSERT_TRUE(saves.Restore(*rules2.field, boris, StoredMode(PlayMode::Click)));
    EXPECT_EQ(rules2.field->score, 102);
    EXPECT_EQ(rules2.field->mode, PlayMode::Click);
    EXPECT_FALSE(saves.Restore(*rules2.field, "Anna", StoredMode(PlayMode::Drag)));

    // A click-mode game copied over the drag-mode file is not started.
    fs::copy_file(saves.PathFor(boris, StoredMode(PlayMode::Click)), saves.PathFor(boris, StoredMode(PlayMode::Drag)),
                  fs::copy_options::overwrite_existing);
    EXPECT_FALSE(saves.Restore(*rules2.field, boris, StoredMode(PlayMode::Drag)));

    saves.Delete(boris, StoredMode(PlayMode::Drag));
    EXPECT_TRUE(saves.Exists(boris, StoredMode(PlayMode::Click)));
    EXPECT_FALSE(saves.Exists(boris, StoredMode(PlayMode::Drag)));
    saves.PlayerDeleted(boris);
    EXPECT_TRUE(Files().empty());
}

} // namespace
} // namespace Zorvin
