// Where the game finds its data: the places in order, and an error that
// names each of them when none holds it.

#include "game/app/GameFolderLookup.h"

#include "framework/core/FileUtil.h"
#include "tests/framework/app/AppTestSupport.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class GameFolderLookupTest : public ::testing::Test {
protected:
    // Makes `folder` (under the temporary folder) hold game data.
    std::string GameData(const std::string& folder)
    {
        EXPECT_TRUE(FileUtil::WriteFileAtomic(temp.File(folder + "/properties/resources.xml"), "<ResourceManifest/>"));
        return temp.File(folder);
    }
    GameFolderLookup Search(const char* variable)
    {
        return GameFolderLookup::Search(variable, temp.File("prefix/bin/korvelt"), temp.File("configured"));
    }

    TempFolder temp;
};

} // namespace

TEST_F(GameFolderLookupTest, TakesTheFirstPlaceThatHoldsTheData)
{
    GameData("configured");
    EXPECT_EQ(Search(nullptr).Folder(), temp.File("configured"));
    // An install under any prefix: bin/korvelt finds ../share/korvelt.
    GameData("prefix/share/korvelt");
    EXPECT_EQ(Search(nullptr).Folder(), temp.File("prefix/share/korvelt"));
    // The build folder: the data beside the program.
    GameData("prefix/bin");
    EXPECT_EQ(Search(nullptr).Folder(), temp.File("prefix/bin"));
    EXPECT_EQ(Search("").Folder(), temp.File("prefix/bin"));
    // The variable wins over all of them.
    std::string chosen = GameData("chosen");
    EXPECT_EQ(Search(chosen.c_str()).Folder(), chosen);
}

TEST_F(GameFolderLookupTest, WithoutDataTheErrorNamesEveryPlaceLookedIn)
{
    // A folder without the manifest does not count.
    ASSERT_TRUE(FileUtil::WriteFileAtomic(temp.File("prefix/share/korvelt/images/x.png"), "x"));
    GameFolderLookup lookup = Search(temp.File("nowhere").c_str());
    EXPECT_FALSE(lookup.Found());
    std::string text = lookup.ErrorText();
    for (const char* place : {"nowhere", "prefix/bin", "prefix/share/korvelt", "configured"})
        EXPECT_NE(text.find(temp.File(place)), std::string::npos) << place << "\n" << text;
    EXPECT_NE(text.find("KORVELT_DATA_DIR"), std::string::npos);
}
