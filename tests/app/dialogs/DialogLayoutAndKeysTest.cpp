// Every dialog and message box the game can show, opened by its real opener
// in the real application with the longest texts it can carry (names of the
// longest allowed length in the widest letter, a full player list and
// score table, a deep data folder), is laid out so that a player can read
// it: each text line lies inside the frame's body and under no button, each
// button inside the body and clear of the frame's corner rosettes, labels
// inside their buttons, and the whole dialog on the screen.
//
// A new dialog is one more row of kDialogs: its name, the number it opens
// under and how the game opens it (a blocking opener is fine: the check
// runs, and the dialog is closed, from inside the wait).
//
// The same dialogs answer the keyboard as desktop players expect (Tab and
// the arrows move a visible focus, Enter presses, Escape cancels), and the
// map picks and plays a level by the arrows and Enter.
//
// With KORVELT_DIALOG_SHOTS=FOLDER set, the screen with each dialog is also
// written there as NAME.png, for looking at the layout.

#include "game/app/GameApp.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Dialog.h"
#include "game/app/ShutdownSignals.h"
#include "game/app/dialogs/ChPlayerDialog.h"
#include "game/app/dialogs/ContinueGameWnd.h"
#include "game/app/dialogs/DemoDialog.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "framework/widgets/controls/EditWidget.h"
#include "game/app/profiles/FileNotices.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/app/profiles/PlayerName.h"
#include "framework/core/KeyCodes.h"
#include "game/app/screens/MapWnd.h"
#include "game/app/screens/TitleWnd.h"
#include "game/board/view/BoardInterface.h"
#include "game/board/view/StageMap.h"
#include "game/board/FishField.h"
#include "game/board/view/Board.h"
#include "game/shared/PlayerProfile.h"
#include "tests/app/GameHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// The longest name a player can type, in the widest capital letter.
std::string LongestName(char last = 0)
{
    std::string name;
    for (int i = 0; i < PlayerName::MaxLength; ++i)
        name += W("Ш");
    if (last != 0)
        name.back() = last;
    return name;
}

struct DialogRow {
    const char* name;
    int dialogId;
    std::function<void(GameHarness&)> open;
};

ChPlayerDialog* OpenPlayers(GameHarness& g)
{
    g.OpenChangePlayerDialog();
    return dynamic_cast<ChPlayerDialog*>(g.FindDialog(DialogMenu));
}

void KeepOnePlayer(GameHarness& g)
{
    while (g.GetPlayers().Count() > 1)
        g.GetPlayers().DeletePlayer(g.GetPlayers().Count() - 1);
    g.GetPlayers().currentPlayer = 0;
}

const DialogRow kDialogs[] = {
    {"menu", DialogMenu, [](GameHarness& g) { g.OpenGameMenu(); }},
    {"gameover", DialogNameOrGameOver, [](GameHarness& g) { g.ShowGameOverWindow(); }},
    {"continue", DialogContinue, [](GameHarness& g) { ContinueGameWnd::Open(g); }},
    {"howto", DialogHowToPlay, [](GameHarness& g) { g.ShowHowToPlay(true); }},
    {"options", DialogOptions, [](GameHarness& g) { g.OpenOptionsDialog(); }},
    {"accel-warning", DialogAccelerationMessage,
     [](GameHarness& g) { DemoDialog::ShowNotice(g, DemoDialog::Notice::AccelerationNotRecommended); }},
    {"accel-unsupported", DialogAccelerationMessage,
     [](GameHarness& g) { DemoDialog::ShowNotice(g, DemoDialog::Notice::AccelerationNotSupported); }},
    {"no-windowed", DialogAccelerationMessage,
     [](GameHarness& g) { DemoDialog::ShowNotice(g, DemoDialog::Notice::NoWindowedMode); }},
    {"exit-question", DialogConfirm, [](GameHarness& g) { g.ExitToMainMenu(true); }},
    {"level-won", DialogLevelWon,
     [](GameHarness& g) {
         g.ShowBoard(PlayMode::Click);
         g.WinTheLevel();
     }},
    {"campaign-complete", DialogCampaignComplete, [](GameHarness& g) { g.FinishCampaign(); }},
    {"file-notice", DialogFileNotice,
     [](GameHarness& g) {
         std::string folder = g.GetDataFolder() + "/" + LongestName() + "/" + LongestName();
         g.GetFileNotices().Add(FileNotices::SavedGameDamaged(folder, "saves/" + LongestName() + "1.sav.bad2"));
     }},
    {"highscores", DialogHighScores, [](GameHarness& g) { g.OpenHighScores(); }},
    {"change-player", DialogMenu, [](GameHarness& g) { OpenPlayers(g); }},
    {"players-full", DialogPlayerMessage,
     [](GameHarness& g) { OpenPlayers(g)->ListClicked(0, 0, 1); }},
    {"delete-question", DialogConfirm,
     [](GameHarness& g) {
         ChPlayerDialog* players = OpenPlayers(g);
         players->ListClicked(0, 2, 1);
         players->OnButtonClick(ChPlayerDialog::IdDelete);
     }},
    {"new-player-name", DialogNameOrGameOver,
     [](GameHarness& g) {
         g.GetPlayers().DeletePlayer(g.GetPlayers().Count() - 1);
         OpenPlayers(g)->ListClicked(0, 0, 1);
     }},
    {"last-player", DialogPlayerNotice,
     [](GameHarness& g) {
         KeepOnePlayer(g);
         ChPlayerDialog* players = OpenPlayers(g);
         players->ListClicked(0, 1, 1);
         players->OnButtonClick(ChPlayerDialog::IdDelete);
     }},
};

// Where a dialog put its texts and buttons, on the screen.
struct Layout {
    Rect dialog;
    Rect frame;
    std::vector<Rect> texts;
    std::vector<Rect> buttons;
    std::vector<std::vector<Rect>> labels;
};

Rect Offset(const Rect& r, int dx, int dy) { return Rect(r.x + dx, r.y + dy, r.width, r.height); }

// Draws the widget alone into a scratch image and keeps the rectangles of
// every string it wrote (empty strings take no room).
std::vector<Rect> TextsOf(Widget* w, WidgetManager* wm)
{
    MemoryImage scratch(800, 600);
    std::vector<Rect> log;
    Graphics g(&scratch);
    g.textLog = &log;
    int ax = 0, ay = 0;
    w->GetAbsolutePosition(ax, ay);
    g.Translate(ax, ay);
    ModalFlags flags;
    wm->InitModalFlags(&flags);
    flags.isOver = true;
    w->DrawTree(&flags, &g);
    std::vector<Rect> texts;
    for (const Rect& r : log)
        if (r.width > 0)
            texts.push_back(r);
    return texts;
}

Layout Measure(Dialog* d, WidgetManager* wm)
{
    Layout layout;
    layout.dialog = d->GetRect();
    layout.frame = Offset(d->GetFrameRect(), d->x, d->y);
    std::vector<ButtonWidget*> buttons = d->GetButtons();
    // The dialog's own texts with its buttons hidden, then each button's.
    for (ButtonWidget* b : buttons)
        b->visible = false;
    layout.texts = TextsOf(d, wm);
    for (ButtonWidget* b : buttons) {
        b->visible = true;
        int ax = 0, ay = 0;
        b->GetAbsolutePosition(ax, ay);
        layout.buttons.push_back(Rect(ax, ay, b->width, b->height));
        layout.labels.push_back(TextsOf(b, wm));
    }
    return layout;
}

bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

bool Meet(const Rect& a, const Rect& b)
{
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

std::string Show(const Rect& r)
{
    std::ostringstream s;
    s << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
    return s.str();
}

// The faults of one layout, one line each; empty when it is sound.
std::vector<std::string> Faults(const Layout& l)
{
    std::vector<std::string> faults;
    auto fault = [&](const std::string& what) { faults.push_back(what); };
    if (!Inside(l.dialog, Rect(0, 0, 800, 600)))
        fault("dialog " + Show(l.dialog) + " leaves the screen");
    // The body: inside the frame's border (the how-to pages draw the same
    // frame on their page).
    int border = DialogFrameBorder;
    Rect body(l.frame.x + border, l.frame.y + border, l.frame.width - 2 * border, l.frame.height - 2 * border);
    int c = DialogFrameCorner;
    const Rect& f = l.frame;
    const Rect corners[] = {Rect(f.x, f.y, c, c), Rect(f.Right() - c, f.y, c, c), Rect(f.x, f.Bottom() - c, c, c),
                            Rect(f.Right() - c, f.Bottom() - c, c, c)};
    for (const Rect& t : l.texts) {
        if (!Inside(t, body))
            fault("text " + Show(t) + " outside the body " + Show(body));
        for (const Rect& b : l.buttons)
            if (Meet(t, b))
                fault("text " + Show(t) + " under the button " + Show(b));
    }
    for (size_t i = 0; i < l.buttons.size(); ++i) {
        const Rect& b = l.buttons[i];
        if (!Inside(b, body))
            fault("button " + Show(b) + " outside the body " + Show(body));
        for (const Rect& c : corners)
            if (Meet(b, c))
                fault("button " + Show(b) + " on the corner " + Show(c));
        for (size_t j = i + 1; j < l.buttons.size(); ++j)
            if (Meet(b, l.buttons[j]))
                fault("buttons " + Show(b) + " and " + Show(l.buttons[j]) + " overlap");
        for (const Rect& label : l.labels[i])
            if (!Inside(label, b))
                fault("label " + Show(label) + " past its button " + Show(b));
    }
    return faults;
}

class DialogLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldFolder = std::filesystem::current_path();
        ::setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
        ShutdownSignals::Reset();
        if (const char* shots = std::getenv("KORVELT_DIALOG_SHOTS"))
            shotFolder = shots;
    }
    void TearDown() override
    {
        app.reset();
        std::filesystem::current_path(oldFolder);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        ShutdownSignals::Reset();
    }

    bool RunUntil(const std::function<bool()>& done, int maxSteps = 200000)
    {
        return RunGameUntil(*app, done, maxSteps);
    }

    // The real game, loaded, on the main menu, with nine players of the
    // longest names and a full score table of the longest names and scores.
    bool StartFilled()
    {
        app = desktop.StartGame();
        if (!app->IsInitialized())
            return false;
        if (!RunUntil([&] { return app->IsLoaded(); }))
            return false;
        app->onUpdate = [this] {
            auto* ask = dynamic_cast<DialogWithEdit*>(app->FindDialog(DialogNameOrGameOver));
            if (ask != nullptr && !ask->HasResult()) {
                ask->Edit().SetText(LongestName('0'));
                ask->OnButtonClick(DialogWithEdit::IdOk);
            }
        };
        app->OnTitleScreenDone(app->GetTitleScreen(), nullptr);
        if (!RunUntil([&] { return app->CurrentProfile() != nullptr; }))
            return false;
        app->onUpdate = nullptr;
        PlayerList& players = app->GetPlayers();
        for (char c = '1'; players.Count() < PlayerList::MaxPlayers; ++c)
            players.AddPlayer(LongestName(c));
        // Seven digits: more than a whole campaign of either mode scores.
        for (int mode : {0, 2})
            for (int r = 0; r < HighScoreTable::Rows; ++r)
                app->GetHighScores().Insert(mode, LongestName(char('0' + r)), 9999999 - r);
        app->CurrentProfile()->showHowToPlay = false;
        return true;
    }

    // Opens the row's dialog and measures it the first time it is on top.
    std::vector<std::string> Check(const DialogRow& row)
    {
        std::vector<std::string> faults;
        bool measured = false;
        app->onUpdate = [&] {
            Dialog* top = app->GetTopDialog();
            if (measured || top == nullptr || top->id != row.dialogId)
                return;
            measured = true;
            faults = Faults(Measure(top, app->GetWidgetManager()));
            Shoot(row.name);
            app->CloseDialog(top);
        };
        row.open(*app);
        RunUntil([&] { return measured; }, 20000);
        app->onUpdate = nullptr;
        if (!measured)
            faults.push_back("never shown");
        app->CloseAllDialogs();
        app->ShowMainMenu();
        RunUntil([] { return false; }, 20);
        return faults;
    }

    // A key pressed and let go, handled by the main loop; Enter, Escape and
    // Tab also type their character, as the desktop reports them.
    void Press(int key)
    {
        windows.Post(MessageKind::KeyDown, key);
        if (key == KeyEnter || key == KeyEscape || key == KeyTab)
            windows.Post(MessageKind::Char, key);
        windows.Post(MessageKind::KeyUp, key);
        RunUntil([&] { return windows.pending.empty(); });
        RunUntil([] { return false; }, 5);
    }
    void PressWithShift(int key)
    {
        windows.Post(MessageKind::KeyDown, KeyShift);
        Press(key);
        windows.Post(MessageKind::KeyUp, KeyShift);
        RunUntil([&] { return windows.pending.empty(); });
    }
    // The label of the dialog's button the keyboard acts on, when its ring
    // shows.
    static std::string FocusLabel(Dialog* d)
    {
        auto* b = d ? dynamic_cast<ButtonWidget*>(d->GetKeyFocus()) : nullptr;
        return b && b->showFocusRing ? b->label : std::string();
    }

    void Shoot(const std::string& name)
    {
        if (shotFolder.empty())
            return;
        app->MarkAllDirty();
        app->GetWidgetManager()->DrawDirtyWidgets();
        std::string error;
        PngWriter::Write(*app->GetScreenImage(), shotFolder + "/" + name + ".png", &error);
    }

    TempFolder temp;
    std::filesystem::path oldFolder;
    std::string shotFolder;
    FakeDesktop desktop;
    FakeWindowSystem& windows = desktop.windows;
    std::unique_ptr<GameHarness> app;
};

} // namespace

TEST_F(DialogLayoutTest, EveryDialogKeepsItsTextsAndButtonsInsideItsFrame)
{
    ASSERT_TRUE(StartFilled());
    for (const DialogRow& row : kDialogs) {
        std::vector<std::string> faults = Check(row);
        std::string all;
        for (const std::string& f : faults)
            all += "\n  " + f;
        EXPECT_TRUE(faults.empty()) << row.name << ":" << all;
    }
}

// The keyboard alone through the in-game menu, a yes/no question, a
// message, the change-player list, the high scores and the continue
// question: the focus ring is visible and moves with Tab, Shift+Tab and the
// arrows, Enter presses the focused button, Escape cancels.
TEST_F(DialogLayoutTest, DialogsAnswerTheKeyboard)
{
    ASSERT_TRUE(StartFilled());
    app->ShowBoard(PlayMode::Click);
    ASSERT_TRUE(RunUntil([&] { return !app->GetBoard()->field->Loading(); }));
    RunUntil([] { return false; }, 300);

    Press(KeyEscape);
    Dialog* menu = app->FindDialog(DialogMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(FocusLabel(menu), W("Главное меню"));
    Press(KeyTab);
    EXPECT_EQ(FocusLabel(menu), W("Правила игры"));
    Press(KeyArrowDown);
    EXPECT_EQ(FocusLabel(menu), W("Настройки"));
    PressWithShift(KeyTab);
    Press(KeyArrowUp);
    EXPECT_EQ(FocusLabel(menu), W("Главное меню"));
    // "Главное меню" asks first (and waits for the answer inside Enter's
    // handling); Escape answers no and the level stays.
    std::string questionFocus;
    app->onUpdate = [&] {
        Dialog* question = app->FindDialog(DialogConfirm);
        if (question == nullptr || !questionFocus.empty())
            return;
        questionFocus = FocusLabel(question);
        windows.Post(MessageKind::KeyDown, KeyEscape);
        windows.Post(MessageKind::KeyUp, KeyEscape);
    };
    Press(KeyEnter);
    app->onUpdate = nullptr;
    EXPECT_EQ(questionFocus, W("Да"));
    EXPECT_EQ(app->FindDialog(DialogConfirm), nullptr);
    EXPECT_TRUE(app->IsScreenShown(app->GetBoardPanel()));
    // Escape in the menu still resumes the level.
    Press(KeyEscape);
    ASSERT_NE(app->FindDialog(DialogMenu), nullptr);
    Press(KeyEscape);
    EXPECT_EQ(app->FindDialog(DialogMenu), nullptr);
    EXPECT_EQ(app->GetWidgetManager()->GetFocusWidget(), app->GetBoardPanel());

    // A message's one button takes Enter.
    DemoDialog::ShowNotice(*app, DemoDialog::Notice::AccelerationNotSupported);
    ASSERT_NE(app->FindDialog(DialogAccelerationMessage), nullptr);
    Press(KeyEnter);
    EXPECT_EQ(app->FindDialog(DialogAccelerationMessage), nullptr);

    app->ShowMainMenu();
    RunUntil([] { return false; }, 20);
    // The list of players: Down moves to the next player, Enter chooses.
    app->OpenChangePlayerDialog();
    ASSERT_NE(app->FindDialog(DialogMenu), nullptr);
    int before = app->GetPlayers().currentPlayer;
    Press(KeyArrowDown);
    Press(KeyEnter);
    EXPECT_EQ(app->FindDialog(DialogMenu), nullptr);
    EXPECT_EQ(app->GetPlayers().currentPlayer, before + 1);
    // Escape closes it and keeps the player.
    app->OpenChangePlayerDialog();
    Press(KeyArrowDown);
    Press(KeyEscape);
    EXPECT_EQ(app->FindDialog(DialogMenu), nullptr);
    EXPECT_EQ(app->GetPlayers().currentPlayer, before + 1);

    // Enter on "[ Новый игрок ]" asks for the name; the same Enter does not
    // answer the question at once.
    app->GetPlayers().DeletePlayer(app->GetPlayers().Count() - 1);
    app->OpenChangePlayerDialog();
    for (int i = 0; i < PlayerList::MaxPlayers; ++i)
        Press(KeyArrowUp);
    std::string asked;
    app->onUpdate = [&] {
        Dialog* ask = app->FindDialog(DialogNameOrGameOver);
        if (ask == nullptr || !asked.empty())
            return;
        asked = ask->header;
        windows.Post(MessageKind::KeyDown, KeyEscape);
        windows.Post(MessageKind::KeyUp, KeyEscape);
    };
    Press(KeyEnter);
    app->onUpdate = nullptr;
    EXPECT_EQ(asked, W("Новый игрок"));
    EXPECT_EQ(app->GetPlayers().Count(), PlayerList::MaxPlayers - 1);
    Press(KeyEscape);

    app->OpenHighScores();
    ASSERT_NE(app->FindDialog(DialogHighScores), nullptr);
    Press(KeyEscape);
    EXPECT_EQ(app->FindDialog(DialogHighScores), nullptr);

    ContinueGameWnd::Open(*app);
    Dialog* ask = app->FindDialog(DialogContinue);
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(FocusLabel(ask), W("Продолжить"));
    Press(KeyEscape);
    EXPECT_EQ(app->FindDialog(DialogContinue), nullptr);
    EXPECT_TRUE(app->IsScreenShown(app->GetMainMenu()));
}

// The map by the keyboard: Left and Right through the reached levels and
// across stages, Up and Down between stages, Enter plays the selection.
// The main menu: the first key shows the ring on the first mode, Tab and
// the arrows walk the buttons in reading order, Enter presses.
TEST_F(DialogLayoutTest, MainMenuIsWalkedAndPressedByKeys)
{
    ASSERT_TRUE(StartFilled());
    TitleWnd* menu = app->GetMainMenu();
    ASSERT_TRUE(app->IsScreenShown(menu));
    auto ringed = [&] {
        for (int id = 0; id < TitleWnd::ButtonCount; ++id)
            if (menu->GetButton(id)->showFocusRing)
                return id;
        return -1;
    };
    EXPECT_EQ(ringed(), -1);
    Press(KeyTab);
    EXPECT_EQ(ringed(), TitleWnd::ClickModeButton);
    Press(KeyArrowDown);
    EXPECT_EQ(ringed(), TitleWnd::DragModeButton);
    Press(KeyTab);
    EXPECT_EQ(ringed(), TitleWnd::OptionsButton);
    PressWithShift(KeyTab);
    EXPECT_EQ(ringed(), TitleWnd::DragModeButton);
    Press(KeyArrowDown);
    Press(KeyEnter);
    EXPECT_NE(app->FindDialog(DialogOptions), nullptr);
    EXPECT_EQ(ringed(), -1);
}

TEST_F(DialogLayoutTest, MapPicksAndPlaysALevelByKeys)
{
    ASSERT_TRUE(StartFilled());
    app->CurrentProfile()->levelMode2 = 7;
    app->ShowBoard(PlayMode::Click);
    ASSERT_TRUE(RunUntil([&] { return !app->GetBoard()->field->Loading(); }));
    app->GetStageMap().RebuildStagePoints(); // as the main menu does
    app->ShowMapScreen(7);
    MapWnd* map = app->GetMapScreen();
    ASSERT_TRUE(app->IsScreenShown(map));
    EXPECT_TRUE(map->playButton->showFocusRing);

    Press(KeyArrowRight); // level 8 is not reached yet
    EXPECT_EQ(map->selectedLevel, 7);
    Press(KeyArrowLeft);
    Press(KeyArrowLeft);
    EXPECT_EQ(map->selectedLevel, 5);
    EXPECT_EQ(map->selectedStage, 0);
    Shoot("map");
    Press(KeyArrowDown);
    EXPECT_EQ(map->selectedLevel, 7);
    EXPECT_EQ(map->selectedStage, 1);
    Press(KeyArrowUp);
    EXPECT_EQ(map->selectedLevel, 1);
    Press(KeyArrowRight);
    Press(KeyArrowRight);
    Press(KeyEnter);
    ASSERT_TRUE(RunUntil([&] { return app->IsScreenShown(app->GetBoardPanel()); }));
    EXPECT_EQ(app->GetBoard()->field->level.number, 3);
    EXPECT_EQ(app->CurrentProfile()->levelMode2, 3);
}
