#include "game/board/LevelFile.h"

#include "tests/board/BoardFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace Zorvin {

namespace {

// Level files for the board, in a private folder that is also the working
// folder while a test runs (level paths are relative to it).
class LoadLevelTest : public BoardFixture {
protected:
    void SetUp() override
    {
        oldDir = std::filesystem::current_path();
        dir = std::filesystem::temp_directory_path()
            / ("loadlevel_" + std::to_string(::getpid()) + "_"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir / "levels" / "Levels1");
        std::filesystem::create_directories(dir / "levels" / "Levels2");
        std::filesystem::current_path(dir);
    }
    void TearDown() override
    {
        std::filesystem::current_path(oldDir);
        std::filesystem::remove_all(dir);
    }

    static void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // "layer:x,y J L K s<style>" of every tile, in layer and list order.
    std::string Tiles()
    {
        std::ostringstream out;
        for (size_t l = 0; l < F().layers.size(); ++l)
            for (const auto& f : F().layers[l])
                out << f->layer << ":" << f->x << "," << f->y << (f->orientation == 0 ? " up" : "") << (f->joker ? " J" : "")
                    << (f->lockType >= 0 ? " L" + std::to_string(f->lockType) : "")
                    << (f->itemType >= 0 ? " K" + std::to_string(f->itemType) : "") << " s" << f->style << "; ";
        return out.str();
    }

    std::filesystem::path oldDir;
    std::filesystem::path dir;
};

const char* kLevel = "<Level Typs=\"2,5,9\" ShiftX=\"10\" ShiftY=\"-5\" Background=\"sea.jpg\" Music=\"3\" CardsInDeck=\"20\">"
                     "<Layers><Layer><l>[JJ][L2]</l><l>[K1].,[]</l></Layer><Layer><l>.,[==]</l></Layer></Layers></Level>";

} // namespace

TEST_F(LoadLevelTest, FillsTheFieldWithTilesAndLevelData)
{
    Write("a.xml", kLevel);
    ASSERT_TRUE(LoadLevel(2, F(), "a.xml", -1, true));
    EXPECT_EQ(Tiles(), "0:130,20 L2 s2; 0:50,20 J s2; 0:150,95 up s2; 0:50,45 K1 s2; 1:90,20 s2; ");
    EXPECT_EQ(F().FishCount(), 5);
    EXPECT_EQ(F().layers[0][1]->valueA, DominoFish::kJoker);
    EXPECT_EQ(F().level.typeCount, 3);
    EXPECT_EQ(F().level.types[2], 9);
    EXPECT_EQ(F().level.shiftX, 10);
    EXPECT_EQ(F().level.shiftY, -5);
    EXPECT_EQ(F().level.cardsInDeck, 20);
    EXPECT_EQ(D().style, 2);
    // The host cannot load pictures here: the name is kept, no picture.
    EXPECT_EQ(F().level.backgroundName, "sea.jpg");
    EXPECT_EQ(F().level.backgroundImage, nullptr);
    EXPECT_EQ(F().level.musicTrack, 3);
    EXPECT_EQ(host.fadeOuts, 1);
    EXPECT_EQ(host.songs, std::vector<int>{3});
    EXPECT_GT(F().BackdropVersion(), 0);
}

TEST_F(LoadLevelTest, WithoutMusicOrAttributesThePreviousValuesStay)
{
    Write("plain.xml", "<Level><Layers><Layer><l>[==]</l></Layer></Layers></Level>");
    F().level.musicTrack = 4;
    F().level.cardsInDeck = 30;
    F().level.backgroundName = "old.jpg";
    Write("a.xml", kLevel);
    ASSERT_TRUE(LoadLevel(1, F(), "a.xml", -1, false));
    EXPECT_TRUE(host.songs.empty());
    EXPECT_EQ(F().level.musicTrack, 4); // music is left alone when not asked for
    F().layers.clear();
    F().RecountFish();
    ASSERT_TRUE(LoadLevel(1, F(), "plain.xml", -1, true));
    EXPECT_TRUE(host.songs.empty());
    EXPECT_EQ(F().level.cardsInDeck, 20);
    EXPECT_EQ(F().level.backgroundName, "sea.jpg");
    EXPECT_EQ(F().level.typeCount, 1);
    EXPECT_EQ(F().level.types[0], 0);

    // A missing file leaves the cleared field as it is.
    F().layers.clear();
    F().RecountFish();
    EXPECT_FALSE(LoadLevel(1, F(), "missing.xml", -1, true));
    EXPECT_TRUE(F().layers.empty());
    EXPECT_EQ(F().FishCount(), 0);
}

TEST_F(LoadLevelTest, RandomStyleIsSharedByEveryTileAndTheDeck)
{
    Write("a.xml", kLevel);
    srand(11);
    int expected = rand() % 4;
    srand(11);
    ASSERT_TRUE(LoadLevel(-1, F(), "a.xml", 2, true));
    EXPECT_EQ(D().style, expected);
    ASSERT_EQ(F().FishCount(), 2);
    for (const auto& f : F().layers[0])
        EXPECT_EQ(f->style, expected);
}

TEST_F(LoadLevelTest, SaveThenLoadKeepsTilesMarksAndAttributes)
{
    Write("a.xml", kLevel);
    ASSERT_TRUE(LoadLevel(0, F(), "a.xml", -1, true));
    // The upright tile is the one the format moves: drop it for the check.
    auto& layer0 = F().layers[0];
    layer0.erase(layer0.begin() + 2);
    F().RecountFish();
    F().layers[1][0]->itemType = 0;
    std::string before = Tiles();
    ASSERT_TRUE(SaveLevel(F(), "saved.xml"));

    rules.field->layers.clear();
    F().RecountFish();
    F().level.shiftX = F().level.shiftY = 0;
    F().level.typeCount = 1;
    F().level.cardsInDeck = 1;
    F().level.backgroundName.clear();
    ASSERT_TRUE(LoadLevel(0, F(), "saved.xml", -1, true));
    EXPECT_EQ(Tiles(), before);
    EXPECT_EQ(F().level.typeCount, 3);
    EXPECT_EQ(F().level.types[1], 5);
    EXPECT_EQ(F().level.shiftX, 10);
    EXPECT_EQ(F().level.shiftY, -5);
    EXPECT_EQ(F().level.backgroundName, "sea.jpg");
    EXPECT_EQ(F().level.musicTrack, 3);
    EXPECT_EQ(F().level.cardsInDeck, 20);
    // Saving what was loaded gives the same bytes.
    ASSERT_TRUE(SaveLevel(F(), "again.xml"));
    EXPECT_EQ(Read("again.xml"), Read("saved.xml"));

    EXPECT_FALSE(SaveLevel(F(), "no/such/folder/level.xml"));
}

TEST_F(LoadLevelTest, StartingALevelReadsDealsAndFallsBackToLevelOne)
{
    Write("levels/Levels2/Level1.xml", kLevel);
    Write("levels/Levels1/Level3.xml", "<Level Typs=\"1,2\"><Layers><Layer><l>[==][==]</l></Layer></Layers></Level>");
    host.existing = {"levels/Levels2/Level1.xml", "levels/Levels1/Level3.xml"};

    host.profile.levelMode0 = 7; // no such file: level 1 instead
    F().mode = PlayMode::Drag;
    rules.StartLevel();
    EXPECT_EQ(F().level.path, "levels/Levels2/Level1.xml");
    EXPECT_EQ(F().level.number, 1);
    EXPECT_EQ(host.profile.levelMode0, 1);
    EXPECT_EQ(F().FishCount(), 5);
    EXPECT_FALSE(F().Loading());
    // Dealt: every tile got values from the level's types (jokers keep 100).
    for (const auto& layer : F().layers)
        for (const auto& f : layer)
            if (!f->joker) {
                EXPECT_TRUE(f->valueA == 2 || f->valueA == 5 || f->valueA == 9) << f->valueA;
                EXPECT_TRUE(f->valueB == 2 || f->valueB == 5 || f->valueB == 9) << f->valueB;
            }
    EXPECT_EQ(D().fish.size() + D().places[0].size() + D().places[1].size(), 20u);

    host.profile.levelMode2 = 3;
    F().mode = PlayMode::Click;
    rules.StartLevel();
    EXPECT_EQ(F().level.path, "levels/Levels1/Level3.xml");
    EXPECT_EQ(host.profile.levelMode2, 3);
    EXPECT_EQ(F().FishCount(), 2);
    EXPECT_EQ(F().level.cardsInDeck, 20); // not in this file: stays
}

// A folder by a level's name opens like an empty file: it must not be read
// as a level with no tiles (won at once), but count as missing, even for a
// host whose existence check says yes to folders.
TEST_F(LoadLevelTest, AFolderIsNoLevelAndTheStartFallsBackToLevelOne)
{
    Write("levels/Levels2/Level1.xml", kLevel);
    std::filesystem::create_directories("levels/Levels2/Level5.xml");
    EXPECT_FALSE(LoadLevel(0, F(), "levels/Levels2/Level5.xml", -1, false));
    EXPECT_TRUE(F().layers.empty());

    host.existing = {"levels/Levels2/Level1.xml", "levels/Levels2/Level5.xml"};
    host.profile.levelMode0 = 5;
    F().mode = PlayMode::Drag;
    rules.StartLevel();
    EXPECT_EQ(F().level.path, "levels/Levels2/Level1.xml");
    EXPECT_EQ(host.profile.levelMode0, 1);
    EXPECT_EQ(F().FishCount(), 5);
    EXPECT_FALSE(F().Won());
}

} // namespace Zorvin
