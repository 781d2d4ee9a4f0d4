// The game folder the build generates, loaded the way the game loads it:
// the manifest parses, all three groups load (pictures decoded, sounds
// decoded into a mixer, the font built from its descriptor and glyph sheet)
// and every identifier binds. Then a few things the screens rely on.

#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/OfflineAudioDevice.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/controls/Slider.h"
#include "game/app/ResBind.h"
#include "game/shared/Res.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Zorvin;

namespace {

class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gameDir = std::string(KORVELT_BUILD_DIR) + "/game";
        if (!std::filesystem::exists(gameDir + "/properties/resources.xml")) GTEST_SKIP() << "assets not generated in this build";
        // The game runs from its own folder; manifest paths are relative to it.
        oldDir = std::filesystem::current_path();
        std::filesystem::current_path(gameDir);
    }
    void TearDown() override
    {
        if (!oldDir.empty()) std::filesystem::current_path(oldDir);
    }

    std::string gameDir;
    std::filesystem::path oldDir;
    OfflineAudioDevice device;
    MixerSoundManager sounds{&device};
    FileResourceHost host{&sounds};
};

TEST_F(GameFolderTest, AllThreeGroupsLoadAndBind)
{
    ResourceManager rm(&host);
    ASSERT_TRUE(rm.ParseManifest("properties\\resources.xml")) << rm.GetErrorText();
    ASSERT_TRUE(rm.LoadResources("Init")) << rm.GetErrorText();
    ASSERT_TRUE(BindInitResources(rm)) << rm.GetErrorText();
    ASSERT_TRUE(rm.LoadResources("TitleScreen")) << rm.GetErrorText();
    ASSERT_TRUE(BindTitleScreenResources(rm)) << rm.GetErrorText();
    // "Game" loads one resource at a time, as the loading thread does.
    rm.StartLoadResources("Game");
    int loaded = 0;
    while (rm.LoadNextResource()) ++loaded;
    ASSERT_FALSE(rm.HadError()) << rm.GetErrorText();
    EXPECT_EQ(loaded, rm.GetNumResources("Game"));
    ASSERT_TRUE(BindGameResources(rm)) << rm.GetErrorText();
    // The options dialog's volume sliders are made with the framework's
    // default images: without these they would be invisible.
    EXPECT_NE(Slider::sDefaultTrackImage, nullptr);
    EXPECT_EQ(Slider::sDefaultTrackImage, IMAGE_SLIDER_TRACK);
    EXPECT_EQ(Slider::sDefaultThumbImage, IMAGE_SLIDER_THUMB);

    // The font measures and covers Russian text.
    ASSERT_NE(FONT_DEFAULT, nullptr);
    EXPECT_GT(FONT_DEFAULT->GetHeight(), 12);
    EXPECT_GT(FONT_DEFAULT->StringWidth(W("Начать игру")), FONT_DEFAULT->StringWidth("Ok"));
    EXPECT_GT(FONT_DEFAULT->StringWidth(W("Ё")), 0);

    // Sizes the screens lay themselves out by.
    EXPECT_EQ(IMAGE_PANEL_UP->GetWidth(), 800);
    EXPECT_EQ(IMAGE_PANEL->GetWidth(), 800);
    EXPECT_EQ(IMAGE_PANEL->GetHeight(), 80); // from y 520 to the bottom
    EXPECT_EQ(IMAGE_TITLE->GetWidth(), 800);
    EXPECT_EQ(IMAGE_TITLE->GetHeight(), 600);
    EXPECT_LE(IMAGE_TYP0->GetWidth(), 40);
    EXPECT_LE(IMAGE_TYP0->GetHeight(), 50);
    EXPECT_EQ(IMAGE_FISH_ROTATE->GetCelCount(), 13);
    EXPECT_EQ(IMAGE_CHECKBOX->GetWidth() % 2, 0);
    // The panel's menu button fits between x 693 and the screen's edge.
    EXPECT_LE(693 + IMAGE_BUTTON_MENU->GetWidth(), 800);
    // A tip shown at x 490 stays on the screen.
    EXPECT_LE(490 + IMAGE_W_HINT->GetWidth() + 29, 800);
    // The menu's text buttons are 40 pixels apart.
    EXPECT_LE(IM_B_DIALOG->GetHeight() - 2, 40);
    EXPECT_GE(SOUND_STAGE, 0);
}

TEST_F(GameFolderTest, LevelBackgroundsAndLogoPicturesLoad)
{
    for (const char* f : {"images/bg_harbour.png", "images/bg_fresco.png", "images/loading_art.png", "images/logo_big.png"}) {
        std::unique_ptr<MemoryImage> image = host.LoadDisplayImage(f);
        ASSERT_NE(image, nullptr) << f;
        EXPECT_GT(image->GetWidth(), 0) << f;
    }
}

} // namespace
