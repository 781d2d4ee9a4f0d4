// The in-game menu and the options dialog driven through the real widget
// manager of a headless application, with the game behind them faked: Escape
// resumes like "Продолжить"; dialogs opened from the menu come above it and
// give it back; the full-screen box toggled twice leaves the screen alone
// (and cannot be unchecked when full screen is forced); the sound slider
// plays its sample only when let go; a long tip never runs under the tip
// balloon's close button.

#include "tests/framework/app/AppTestSupport.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Checkbox.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/Slider.h"
#include "game/app/dialogs/DemoDialog.h"
#include "game/app/dialogs/AppDialogHost.h"
#include "game/app/dialogs/HintWnd.h"
#include "game/app/dialogs/HowDialog.h"
#include "game/app/dialogs/MenuWnd.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"
#include "tests/framework/font/TestFont.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class SoundCountingApp : public TestApp {
public:
    using TestApp::TestApp;
    void PlaySound(int, int) override { ++soundsPlayed; }
    int soundsPlayed = 0;
};

// The game behind the dialogs: a board panel that can take the focus and a
// log of everything the dialogs ask of the game.
class FakeGame : public AppDialogHost {
public:
    explicit FakeGame(SoundCountingApp& a) : AppDialogHost(a), app(a) { boardPanel.wantsFocus = true; }

    PlayerProfile* GetCurrentProfile() override { return &profile; }
    void SavePlayers() override { log.push_back("SavePlayers"); }
    PlayMode GetBoardMode() override { return PlayMode::Click; }
    int GetShufflesLeft() override { return 1; }
    void FocusBoard() override
    {
        log.push_back("FocusBoard");
        app.GetWidgetManager()->SetFocusWidget(&boardPanel);
    }
    void Restart() override { log.push_back("Restart"); }
    void Reshuffle() override { log.push_back("Reshuffle"); }
    void SetBoardChanged() override { log.push_back("SetBoardChanged"); }
    void ExitToMainMenu(bool) override { log.push_back("ExitToMainMenu"); }
    bool RestoreGame(PlayMode) override { return false; }
    void ShowBoardScreen() override { log.push_back("ShowBoardScreen"); }
    void RemoveMainMenu() override { log.push_back("RemoveMainMenu"); }
    void ShowMap() override { log.push_back("ShowMap"); }
    void StartLevel() override { log.push_back("StartLevel"); }
    void HideHintWindow() override { log.push_back("HideHintWindow"); }
    AccelerationVerdict GetAccelerationVerdict() override { return AccelerationVerdict::Recommended; }

    SoundCountingApp& app;
    PlayerProfile profile;
    ProbeWidget boardPanel{0, 0, 800, 600};
    std::vector<std::string> log;
};

class GameDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.width = 800;
        app.height = 600;
        app.SetWindowSystem(&window);
        app.SetPresenter(&presenter);
        app.SetSystemServices(&services);
        app.Initialize();
        app.running = true;
        track.Create(150, 10);
        thumb.Create(20, 24);
        Slider::sDefaultTrackImage = &track;
        Slider::sDefaultThumbImage = &thumb;
        app.GetWidgetManager()->AddChild(&game.boardPanel);
        game.FocusBoard();
        game.log.clear();
    }
    void TearDown() override
    {
        app.CloseAllDialogs();
        app.ReleaseDeferredDeletions();
        app.GetWidgetManager()->RemoveChild(&game.boardPanel);
        Slider::sDefaultTrackImage = nullptr;
        Slider::sDefaultThumbImage = nullptr;
        FONT_DEFAULT = nullptr;
    }

    // A left click at a point of the screen, as the window would deliver it.
    void ClickAt(int px, int py)
    {
        WidgetManager* wm = app.GetWidgetManager();
        wm->MouseMove(px, py);
        wm->MouseDown(px, py, 1);
        wm->MouseUp(px, py, 1);
        app.ReleaseDeferredDeletions();
    }
    void Click(const Widget* w)
    {
        int ax = 0, ay = 0;
        w->GetAbsolutePosition(ax, ay);
        ClickAt(ax + w->width / 2, ay + w->height / 2);
    }
    // Where the game stands after the menu was left one way or the other.
    std::string Outcome()
    {
        WidgetManager* wm = app.GetWidgetManager();
        std::string s = app.FindDialog(DialogMenu) != nullptr ? "menu open;" : "menu closed;";
        s += wm->GetFocusWidget() == &game.boardPanel ? "board focused;" : "board not focused;";
        s += wm->GetModalWidget() == nullptr ? "nothing modal;" : "modal;";
        for (const std::string& call : game.log)
            s += call + ";";
        return s;
    }

    FakeClock clock;
    FakeWindowSystem window;
    FakePresenter presenter;
    FakeServices services;
    SoundCountingApp app{&clock};
    FakeGame game{app};
    MemoryImage track, thumb;
};

} // namespace

TEST_F(GameDialogsTest, EscapeInTheMenuResumesExactlyLikeContinue)
{
    MenuWnd* menu = MenuWnd::Open(game);
    Click(menu->GetButton(MenuWnd::Resume));
    const std::string byButton = Outcome();
    EXPECT_EQ(byButton, "menu closed;board focused;nothing modal;FocusBoard;");

    game.log.clear();
    MenuWnd::Open(game);
    ASSERT_NE(app.GetWidgetManager()->GetFocusWidget(), &game.boardPanel);
    app.GetWidgetManager()->KeyDown(27);
    app.ReleaseDeferredDeletions();
    EXPECT_EQ(Outcome(), byButton);

    // Other keys leave the menu up.
    MenuWnd::Open(game);
    app.GetWidgetManager()->KeyDown('A');
    EXPECT_NE(app.FindDialog(DialogMenu), nullptr);
}

TEST_F(GameDialogsTest, OptionsAndRulesOpenAboveTheMenuAndGiveItBack)
{
    MenuWnd* menu = MenuWnd::Open(game);

    Click(menu->GetButton(MenuWnd::Options));
    auto* options = dynamic_cast<DemoDialog*>(app.FindDialog(DialogOptions));
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetModalWidget(), options);
    Click(options->yesButton.get()); // "Закрыть"
    EXPECT_EQ(app.FindDialog(DialogOptions), nullptr);
    EXPECT_EQ(app.FindDialog(DialogMenu), menu);
    EXPECT_EQ(app.GetWidgetManager()->GetModalWidget(), menu);

    Click(menu->GetButton(MenuWnd::HowToPlay));
    auto* rules = dynamic_cast<HowDialog*>(app.FindDialog(DialogHowToPlay));
    ASSERT_NE(rules, nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetModalWidget(), rules);
    // The menu beneath does not answer while the page covers it.
    Click(menu->GetButton(MenuWnd::Replay));
    EXPECT_EQ(app.FindDialog(DialogMenu), menu);
    ClickAt(310 + 20, 550 + 10); // "Закрыть"
    EXPECT_EQ(app.FindDialog(DialogHowToPlay), nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetModalWidget(), menu);

    // The keyboard is the menu's again: Escape resumes the level.
    app.GetWidgetManager()->KeyDown(27);
    app.ReleaseDeferredDeletions();
    EXPECT_EQ(Outcome(), "menu closed;board focused;nothing modal;FocusBoard;");
}

TEST_F(GameDialogsTest, FullScreenBoxToggledTwiceLeavesTheScreenAlone)
{
    const int windowsBefore = window.windowsCreated;
    const size_t displayInitsBefore = presenter.initWindowed.size();
    DemoDialog* options = DemoDialog::Open(game);
    Checkbox* box = options->GetCheckbox(DemoDialog::FullScreenId);
    ASSERT_FALSE(box->IsChecked());
    Click(box);
    Click(box);
    Click(options->yesButton.get());
    EXPECT_EQ(window.windowsCreated, windowsBefore);
    EXPECT_EQ(presenter.initWindowed.size(), displayInitsBefore);
    EXPECT_TRUE(app.IsWindowed());

    // Checked once, the mode does change on closing.
    options = DemoDialog::Open(game);
    Click(options->GetCheckbox(DemoDialog::FullScreenId));
    EXPECT_TRUE(app.IsWindowed()) << "applied only when the dialog closes";
    Click(options->yesButton.get());
    EXPECT_FALSE(app.IsWindowed());
    EXPECT_EQ(window.windowsCreated, windowsBefore + 1);

    // Held in full screen, the box springs back and says why.
    app.Display().ForceFullScreen();
    options = DemoDialog::Open(game);
    box = options->GetCheckbox(DemoDialog::FullScreenId);
    Click(box);
    EXPECT_TRUE(box->IsChecked());
    Dialog* why = app.FindDialog(DialogAccelerationMessage);
    ASSERT_NE(why, nullptr);
    EXPECT_EQ(why->header, W("Оконный режим недоступен"));
}

TEST_F(GameDialogsTest, SoundSliderSamplesOnlyWhenLetGo)
{
    DemoDialog* options = DemoDialog::Open(game);
    Slider* slider = options->GetSoundSlider();
    WidgetManager* wm = app.GetWidgetManager();
    int sx = slider->x + slider->GetThumbX() + 10, sy = slider->y + slider->height / 2;
    wm->MouseMove(sx, sy);
    wm->MouseDown(sx, sy, 1);
    double before = app.GetSoundVolume();
    for (int step = 1; step <= 5; ++step)
        wm->MouseDrag(sx - 15 * step, sy);
    EXPECT_EQ(app.soundsPlayed, 0) << "no sample while dragging";
    EXPECT_LT(app.GetSoundVolume(), before - 0.3);
    EXPECT_DOUBLE_EQ(app.GetSoundVolume(), slider->GetValue());
    wm->MouseUp(sx - 75, sy, 1);
    EXPECT_EQ(app.soundsPlayed, 1);

    // The music slider never plays the click.
    Slider* music = options->GetMusicSlider();
    int mx = music->x + music->GetThumbX() + 10, my = music->y + music->height / 2;
    wm->MouseMove(mx, my);
    wm->MouseDown(mx, my, 1);
    wm->MouseDrag(mx - 40, my);
    wm->MouseUp(mx - 40, my, 1);
    EXPECT_EQ(app.soundsPlayed, 1);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), music->GetValue());
}

TEST_F(GameDialogsTest, LongTipPushesTheCloseButtonBelowItsLastLine)
{
    Testing::TestFont font;
    FONT_DEFAULT = &font;
    HintWnd hint(game);
    hint.Layout(110, 540, "Short tip.");
    EXPECT_EQ(hint.GetCloseButton()->x, 120);
    EXPECT_EQ(hint.GetCloseButton()->y, 110);

    std::string tip;
    for (int i = 0; i < 40; ++i)
        tip += "word ";
    hint.Layout(490, 550, tip);
    Graphics g;
    g.SetFont(&font);
    const int textBottom = hint.GetTextRect().y + g.GetWordWrappedHeight(hint.GetTextRect().width, tip);
    ASSERT_GT(textBottom, 110) << "the tip must be long enough to reach the button's usual place";
    EXPECT_GT(hint.GetCloseButton()->y, textBottom);
    EXPECT_EQ(hint.GetCloseButton()->x, 120);
}
