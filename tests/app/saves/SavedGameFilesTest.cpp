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
    EXPECT_EQ(SavedGamePath("/d", "Anna", FishField::kDragMode), "/d/saves/Anna2.sav");
    EXPECT_EQ(SavedGamePath("/d/", W("Анна"), FishField::kClickMode), "/d/saves/" + W("Анна") + "1.sav");
    EXPECT_EQ(SavedGamePath("/d", "Anna", FishField::kEditorMode), "");

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
        F().mode = FishField::kDragMode;
        ASSERT_TRUE(saves.Save(F(), name)) << s;
        EXPECT_TRUE(saves.Exists(name, FishField::kDragMode));
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
    for (int mode : {FishField::kDragMode, FishField::kClickMode}) {
        F().mode = mode;
        F().score = 100 + mode;
        ASSERT_TRUE(saves.Save(F(), "Anna"));
    }
    F().mode = FishField::kEditorMode;
    EXPECT_FALSE(saves.Save(F(), "Anna"));
    // A stale game left under the new name must not survive the rename.
    F().mode = FishField::kClickMode;
    ASSERT_TRUE(saves.Save(F(), "Stale"));

    saves.PlayerRenamed("Anna", boris);
    saves.PlayerRenamed("Nobody", "Stale");
    EXPECT_EQ(Files(), (std::set<std::string>{"data/saves/" + boris + "1.sav", "data/saves/" + boris + "2.sav"}));
    FakeBoardHost host2;
    BoardRules rules2(host2);
    ASSERT_TRUE(saves.Restore(*rules2.field, boris, FishField::kClickMode, "lv.xml"));
    EXPECT_EQ(rules2.field->score, 102);
    EXPECT_EQ(rules2.field->mode, FishField::kClickMode);
    EXPECT_FALSE(saves.Restore(*rules2.field, "Anna", FishField::kDragMode, "lv.xml"));

    // A click-mode game copied over the drag-mode file is not started.
    fs::copy_file(saves.PathFor(boris, FishField::kClickMode), saves.PathFor(boris, FishField::kDragMode),
                  fs::copy_options::overwrite_existing);
    EXPECT_FALSE(saves.Restore(*rules2.field, boris, FishField::kDragMode, "lv.xml"));

    saves.Delete(boris, FishField::kDragMode);
    EXPECT_TRUE(saves.Exists(boris, FishField::kClickMode));
    EXPECT_FALSE(saves.Exists(boris, FishField::kDragMode));
    saves.PlayerDeleted(boris);
    EXPECT_TRUE(Files().empty());
}

} // namespace
} // namespace Zorvin
