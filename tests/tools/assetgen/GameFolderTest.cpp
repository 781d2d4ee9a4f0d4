// The game folder the build generates, loaded the way the game loads it:
// the manifest parses, all three groups load (pictures decoded, sounds
// decoded into a mixer, the font built from its descriptor and glyph sheet)
// and every identifier binds. Then a few things the screens rely on.

#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/OfflineAudioDevice.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Slider.h"
#include "game/app/ResBind.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/board/LevelFile.h"
#include "game/shared/Res.h"
#include "tools/assetgen/LogoScript.h"
#include "tools/assetgen/art/FontSheet.h"
#include "tools/assetgen/art/ImageCatalog.h"
#include "tools/assetgen/art/Painters.h"
#include "tools/assetgen/levels/LevelDesigner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

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

// A host for the high-score window that answers nothing.
class QuietHost : public PlayerDialogHost {
public:
    PlayerList& Players() override { return players; }
    void PlayClick() override {}
    bool AskName(const std::string&, const std::string&, const std::string&, std::string&) override { return false; }
    void ShowMessage(int, const std::string&, const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    void CloseDialog(Dialog*) override {}
    void OpenStatistics() override {}
    PlayerList players;
};

// The high-score window without the texts it writes: only its box.
class BoxOnly : public HighscoresWnd {
public:
    using HighscoresWnd::HighscoresWnd;
    void Draw(Graphics* g) override { Dialog::Draw(g); }
};

std::unique_ptr<MemoryImage> Shot(Widget& dialog)
{
    auto screen = std::make_unique<MemoryImage>(800, 600);
    WidgetManager wm(nullptr);
    wm.image = screen.get();
    wm.ResizeRoot(800, 600);
    wm.AddChild(&dialog);
    wm.UpdateWidgets();
    wm.DrawDirtyWidgets();
    wm.RemoveChild(&dialog);
    return screen;
}

double Luminance(uint32_t argb)
{
    auto lin = [](uint32_t v) {
        double c = double(v & 0xFF) / 255;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(argb >> 16) + 0.7152 * lin(argb >> 8) + 0.0722 * lin(argb);
}

TEST_F(GameFolderTest, EveryHighScoreTextStandsOutFromWhatIsBehindIt)
{
    ResourceManager rm(&host);
    ASSERT_TRUE(rm.ParseManifest("properties/resources.xml")) << rm.GetErrorText();
    ASSERT_TRUE(rm.LoadResources("Init") && rm.LoadResources("TitleScreen") && rm.LoadResources("Game")) << rm.GetErrorText();
    ASSERT_TRUE(BindInitResources(rm) && BindTitleScreenResources(rm) && BindGameResources(rm)) << rm.GetErrorText();
    QuietHost quiet;
    HighScoreTable table;
    std::unique_ptr<MemoryImage> full, box;
    {
        HighscoresWnd window(quiet, table, 0);
        window.highlightRow = table.Insert(0, W("Ёжик"), 4500);
        full = Shot(window);
    }
    {
        BoxOnly window(quiet, table, 0);
        box = Shot(window);
    }
    // The pixels the texts changed, cut into words: runs of rows with ink,
    // then runs of columns within 6 pixels of each other. A word's most
    // common colour is its text colour (fully covered pixels of the white
    // glyphs tinted by it); each of those pixels must keep a contrast of
    // 4.5:1 against the box behind it.
    const uint32_t* f = full->GetBits();
    const uint32_t* b = box->GetBits();
    auto ink = [&](int x, int y) { return f[y * 800 + x] != b[y * 800 + x]; };
    int words = 0;
    for (int y0 = 0; y0 < 600;) {
        int y1 = y0;
        auto rowHasInk = [&](int y) {
            for (int x = 0; x < 800; ++x)
                if (ink(x, y)) return true;
            return false;
        };
        if (!rowHasInk(y0)) {
            ++y0;
            continue;
        }
        while (y1 < 600 && rowHasInk(y1)) ++y1;
        for (int x0 = 0; x0 < 800;) {
            auto columnHasInk = [&](int x) {
                for (int y = y0; y < y1; ++y)
                    if (ink(x, y)) return true;
                return false;
            };
            if (!columnHasInk(x0)) {
                ++x0;
                continue;
            }
            int x1 = x0, gap = 0;
            while (x1 < 800 && gap <= 6) {
                gap = columnHasInk(x1) ? 0 : gap + 1;
                ++x1;
            }
            std::map<uint32_t, int> colours;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    if (ink(x, y)) ++colours[f[y * 800 + x] | 0xFF000000];
            uint32_t text = std::max_element(colours.begin(), colours.end(), [](auto& p, auto& q) { return p.second < q.second; })->first;
            double worst = 1e9;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    if (ink(x, y) && (f[y * 800 + x] | 0xFF000000) == text) {
                        double lt = Luminance(text), lb = Luminance(b[y * 800 + x]);
                        worst = std::min(worst, (std::max(lt, lb) + 0.05) / (std::min(lt, lb) + 0.05));
                    }
            EXPECT_GE(worst, 4.5) << "text at " << x0 << "," << y0 << " in colour " << std::hex << text;
            ++words;
            x0 = x1;
        }
        y0 = y1;
    }
    // The title, two column headings and 2 x 10 rows of number, name, score.
    EXPECT_GE(words, 60);
    ClearBoundResources();
}

TEST_F(GameFolderTest, HoldsNothingButTheGamesOwnFiles)
{
    // Every picture in the game folder is one the game loads: a manifest
    // image, a level background, a logo-script picture or the font sheet.
    // Review pictures (contact sheet, mock-ups) go to a folder of their own.
    std::set<std::string> known = {AssetGen::kFontSheet};
    for (const AssetGen::ImageEntry& e : AssetGen::ImageCatalog()) known.insert(e.File());
    for (const AssetGen::ExtraImage& x : AssetGen::ExtraImages()) known.insert(x.file);
    for (const std::string& f : AssetGen::LogoScriptPictures()) known.insert(f);
    int pictures = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(gameDir); it != std::filesystem::recursive_directory_iterator(); ++it) {
        std::string rel = std::filesystem::relative(it->path(), gameDir).generic_string();
        // The game's own screenshots (F11) are the player's, not the build's.
        if (it->is_directory() && rel == "_screenshots") {
            it.disable_recursion_pending();
            continue;
        }
        if (it->path().extension() != ".png") continue;
        ++pictures;
        EXPECT_TRUE(known.count(rel)) << rel << " is no game file";
    }
    EXPECT_GT(pictures, 100);
}

TEST_F(GameFolderTest, NoBackgroundServesMoreThanTwoStages)
{
    // Stages are five levels each; a background shared by many stages made
    // the campaigns look alike.
    std::map<std::string, std::set<std::pair<int, int>>> stagesOf;
    for (int mode : {AssetGen::kDragMode, AssetGen::kClickMode})
        for (int n = 1; n <= AssetGen::CampaignLength(mode); ++n) {
            LevelFile level;
            std::string path = "levels/" + AssetGen::LevelFolder(mode) + "/Level" + std::to_string(n) + ".xml";
            ASSERT_TRUE(level.Read(path)) << path;
            ASSERT_TRUE(std::filesystem::exists("images/" + level.backgroundName)) << level.backgroundName;
            stagesOf[level.backgroundName].insert({mode, (n - 1) / 5});
        }
    for (const auto& [name, stages] : stagesOf) EXPECT_LE(stages.size(), 2u) << name;
}

} // namespace
