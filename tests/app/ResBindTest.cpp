#include "game/app/ResBind.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "game/shared/Res.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace Zorvin;

namespace {

// A manifest of all three groups in a private folder, with one picture,
// silent sounds and a one-glyph font, minus the identifiers a test leaves out.
class ResBindTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path()
            / ("resbind_" + std::to_string(::getpid()) + "_"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        MemoryImage pixel(2, 2);
        ASSERT_TRUE(PngWriter::Write(pixel, (dir / "p.png").string()));
        std::ofstream(dir / "font.txt") << "CreateLayer Main;\nLayerSetImage Main 'p.png';\n"
                                           "LayerSetImageMap Main ('A') ((0 0 2 2));\nLayerSetCharWidths Main ('A') (2);\n";
    }
    void TearDown() override
    {
        ClearBoundResources();
        std::filesystem::remove_all(dir);
    }

    ResourceManager& Load(const std::vector<std::string>& leaveOut)
    {
        std::string text = "<ResourceManifest>";
        for (const char* group : {"Init", "TitleScreen", "Game"}) {
            text += "<Resources id=\"" + std::string(group) + "\"><SetDefaults path=\"" + dir.string() + "\"/>";
            for (const std::string& id : BindingOrder(group)) {
                if (std::find(leaveOut.begin(), leaveOut.end(), id) != leaveOut.end())
                    continue;
                const char* kind = id.rfind("SOUND_", 0) == 0 ? "Sound" : id.rfind("FONT_", 0) == 0 ? "Font" : "Image";
                const char* file = kind[0] == 'F' ? "font.txt" : kind[0] == 'S' ? "silent" : "p.png";
                text += "<" + std::string(kind) + " id=\"" + id + "\" path=\"" + file + "\"/>";
            }
            text += "</Resources>";
        }
        text += "</ResourceManifest>";
        manager = std::make_unique<ResourceManager>(&host);
        EXPECT_TRUE(manager->ParseManifestText("resources.xml", text)) << manager->GetErrorText();
        for (const char* group : {"Init", "TitleScreen", "Game"})
            EXPECT_TRUE(manager->LoadResources(group)) << manager->GetErrorText();
        return *manager;
    }

    std::filesystem::path dir;
    FileResourceHost host;
    std::unique_ptr<ResourceManager> manager;
};

} // namespace

TEST_F(ResBindTest, EveryGroupBindsItsIdentifiers)
{
    EXPECT_EQ(BindingOrder("Init").size(), 1u);
    EXPECT_EQ(BindingOrder("TitleScreen").size(), 4u);
    EXPECT_EQ(BindingOrder("Game").size(), 131u);
    auto& rm = Load({});
    ASSERT_TRUE(BindInitResources(rm));
    ASSERT_TRUE(BindTitleScreenResources(rm));
    ASSERT_TRUE(BindGameResources(rm));
    EXPECT_EQ(FONT_DEFAULT, rm.GetFontOrThrow("FONT_DEFAULT"));
    EXPECT_EQ(IMAGE_LOGO_BIG, rm.GetImageOrThrow("IMAGE_LOGO_BIG").Get());
    EXPECT_NE(IMAGE_TYP25, nullptr);
    EXPECT_NE(IM_BONUS_STAR, nullptr);
    EXPECT_EQ(SOUND_CONTINUE, rm.GetSoundOrThrow("SOUND_CONTINUE"));
    EXPECT_EQ(SOUND_STAGE, rm.GetSoundOrThrow("SOUND_STAGE"));

    ClearBoundResources();
    EXPECT_EQ(FONT_DEFAULT, nullptr);
    EXPECT_EQ(IMAGE_LOGO_BIG, nullptr);
    EXPECT_EQ(IM_BONUS_STAR, nullptr);
    EXPECT_EQ(SOUND_STAGE, -1);
    EXPECT_EQ(SOUND_CONTINUE, -1);
}

TEST_F(ResBindTest, ImagesBindInByteOrderBeforeSounds)
{
    std::vector<std::string> order = BindingOrder("Game");
    auto at = [&order](const char* id) { return std::find(order.begin(), order.end(), id) - order.begin(); };
    EXPECT_LT(at("IMAGE_TYP10"), at("IMAGE_TYP2"));
    EXPECT_LT(at("IMAGE_W_SMALL"), at("IMAGE_x2"));
    EXPECT_LT(at("IMAGE_x4"), at("IM_BONUS_100"));
    EXPECT_LT(at("IM_BONUS_STONE"), at("IM_B_CHANGE_PLAYER"));
    EXPECT_EQ(order[116], "IM_B_OVER_MENU");
    EXPECT_EQ(order[117], "SOUND_BONUS");

    // With two identifiers missing, the one that binds first is reported.
    auto& rm = Load({"IMAGE_x2", "IMAGE_W_SMALL", "SOUND_CLICK"});
    IMAGE_W_HINT = nullptr;
    IMAGE_x3 = nullptr;
    EXPECT_FALSE(BindGameResources(rm));
    EXPECT_EQ(rm.GetErrorText(), "Image resource not found: IMAGE_W_SMALL");
    EXPECT_NE(IMAGE_W_HINT, nullptr); // bound before the failure
    EXPECT_EQ(IMAGE_x3, nullptr);     // never reached
}

TEST_F(ResBindTest, AnIdentifierNothingDrawsStillHasToBeThere)
{
    auto& rm = Load({"IM_B_OVER_MENU"});
    EXPECT_TRUE(BindTitleScreenResources(rm));
    EXPECT_FALSE(BindGameResources(rm));
    EXPECT_EQ(rm.GetErrorText(), "Image resource not found: IM_B_OVER_MENU");

    auto& again = Load({"IMAGE_LOGO_BIG"});
    EXPECT_TRUE(BindInitResources(again));
    EXPECT_FALSE(BindTitleScreenResources(again));
    EXPECT_EQ(again.GetErrorText(), "Image resource not found: IMAGE_LOGO_BIG");

    auto& noFont = Load({"FONT_DEFAULT"});
    EXPECT_FALSE(BindInitResources(noFont));
    EXPECT_EQ(noFont.GetErrorText(), "Font resource not found: FONT_DEFAULT");
}
