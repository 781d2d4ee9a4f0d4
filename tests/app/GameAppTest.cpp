// The real game application on fake desktop services: the generated game
// folder, a clock that moves when the main loop sleeps, private settings and
// data folders, and input fed as window messages.
//
// Sections:
//   - the fixture (fake desktop services)
//   - first run and start-up failures
//   - shutdown during loading
//   - the editor's save
//   - winning and the end of the campaign
//   - the players' statistics
//   - recorded demos

#include "game/app/GameApp.h"
#include "game/app/screens/MapWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/core/FileUtil.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/EditWidget.h"
#include "framework/widgets/controls/HyperlinkWidget.h"
#include "game/app/ShutdownSignals.h"
#include "game/app/dialogs/ContinueGameWnd.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/HintWnd.h"
#include "game/app/dialogs/MenuWnd.h"
#include "game/app/dialogs/GameOverWnd.h"
#include "game/app/dialogs/LevelSummaryWnd.h"
#include "game/app/profiles/PlayerList.h"
#include "game/app/profiles/PlayerStatistics.h"
#include "game/app/profiles/StatisticsStore.h"
#include "game/app/saves/SavedGame.h"
#include "game/app/saves/SavedGameFiles.h"
#include "game/app/screens/TitleScreen.h"
#include "game/app/screens/TitleWnd.h"
#include "game/board/FishField.h"
#include "game/board/LevelFile.h"
#include "game/board/PlayLine.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "game/shared/LevelStars.h"
#include "game/shared/Res.h"
#include "tests/app/GameHarness.h"
#include "tests/framework/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

const std::string GameFolder = GeneratedGameFolder();

class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldFolder = std::filesystem::current_path();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            if (const char* value = std::getenv(name))
                oldEnvironment.emplace_back(name, value);
        ::setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
        ShutdownSignals::Reset();
    }
    void TearDown() override
    {
        app.reset();
        std::filesystem::current_path(oldFolder);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        for (const auto& [name, value] : oldEnvironment)
            ::setenv(name.c_str(), value.c_str(), 1);
        ShutdownSignals::Reset();
    }

    GameHarness& Start(const std::string& folder = GameFolder)
    {
        app = desktop.StartGame(folder);
        return *app;
    }

    bool RunUntil(const std::function<bool()>& done, int maxSteps = 2000000)
    {
        return RunGameUntil(*app, done, maxSteps);
    }

    void Post(MessageKind kind, int p1 = 0, int p2 = 0) { windows.Post(kind, p1, p2); }
    void Click(Widget* w)
    {
        int x = 0, y = 0;
        w->GetAbsolutePosition(x, y);
        x += w->width / 2;
        y += w->height / 2;
        Post(MessageKind::MouseMove, x, y);
        Post(MessageKind::LButtonDown, x, y);
        Post(MessageKind::LButtonUp, x, y);
    }
    // Answers the dialog with this number once it shows, by pressing Enter
    // in the name field or clicking its first button.
    void AnswerWhenShown(int dialogId) { AnswerWhenShown(std::vector<int>{dialogId}); }
    void AnswerWhenShown(std::vector<int> dialogIds)
    {
        app->onUpdate = [this, dialogIds] {
            Dialog* d = nullptr;
            for (int id : dialogIds)
                if (d == nullptr)
                    d = app->FindDialog(id);
            if (d == nullptr || !windows.pending.empty())
                return;
            if (d->yesButton)
                Click(d->yesButton.get());
            else {
                Post(MessageKind::KeyDown, 13);
                Post(MessageKind::Char, 13);
            }
        };
    }
    bool LoadAndEnterMenu()
    {
        if (!RunUntil([&] { return app->IsLoaded(); }))
            return false;
        AnswerWhenShown(DialogNameOrGameOver);
        Click(app->GetTitleScreen()->GetStartLink());
        bool reached = RunUntil([&] { return app->GetMainMenu() != nullptr && app->CurrentProfile() != nullptr; });
        app->onUpdate = nullptr;
        return reached;
    }

    // The main menu's button of `mode`; runs until the board, the map or
    // the continue question is up.
    void ChooseMode(PlayMode mode)
    {
        int button = mode == PlayMode::Click ? TitleWnd::ClickModeButton : TitleWnd::DragModeButton;
        Click(app->GetMainMenu()->GetButton(button));
        ASSERT_TRUE(RunUntil([&] {
            return app->IsScreenShown(app->GetBoardPanel()) || app->IsScreenShown(app->GetMapScreen()) ||
                   app->FindDialog(DialogContinue) != nullptr;
        }));
        RunUntil([&] { return !app->GetBoard()->field->Loading(); });
    }
    // The continue question's answer, as its button gives it.
    void AnswerContinue(int button)
    {
        auto* ask = dynamic_cast<ContinueGameWnd*>(app->FindDialog(DialogContinue));
        ASSERT_NE(ask, nullptr);
        ask->OnButtonClick(button);
        RunUntil([&] { return !app->GetBoard()->field->Loading(); });
    }
    // Escape, the in-game menu's "Главное меню" and "Да": the game is saved.
    void LeaveThroughGameMenu()
    {
        Post(MessageKind::KeyDown, 27);
        ASSERT_TRUE(RunUntil([&] { return app->FindDialog(DialogMenu) != nullptr; }));
        auto* menu = dynamic_cast<MenuWnd*>(app->FindDialog(DialogMenu));
        ASSERT_NE(menu, nullptr);
        AnswerWhenShown(DialogConfirm);
        Click(menu->GetButton(MenuWnd::MainMenu));
        ASSERT_TRUE(RunUntil([&] { return app->IsScreenShown(app->GetMainMenu()); }));
        app->onUpdate = nullptr;
    }
    // Clicks a tile that can be put (click mode) and waits until it rests on
    // the line.
    void PutATile()
    {
        Board& board = *app->GetBoard();
        app->HideHintWindow();
        // A restored board's tiles settle and its line slides in first.
        int start = app->GetUpdateCount();
        RunUntil([&] { return app->GetUpdateCount() > start + 70; });
        DominoFish* playable = nullptr;
        for (auto& layer : board.field->layers)
            for (auto& f : layer)
                if (f->playable)
                    playable = f.get();
        ASSERT_NE(playable, nullptr);
        int left = board.field->FishCount();
        int x = playable->x + 7 * playable->layer, y = playable->y - 7 * playable->layer;
        Post(MessageKind::MouseMove, x, y);
        Post(MessageKind::LButtonDown, x, y);
        Post(MessageKind::LButtonUp, x, y);
        ASSERT_TRUE(RunUntil([&] { return board.field->FishCount() == left - 1 && board.playLine->AllSettled(); }));
    }
    std::string SaveFile(PlayMode mode) { return SavedGamePath(app->GetDataFolder(), app->CurrentPlayerName(), StoredMode(mode)); }

    std::string SettingsFile() const { return temp.File("config") + "/Wendmoor/Korvelt/settings.ini"; }
    std::string PlayersFile() const { return temp.File("data") + "/Wendmoor/Korvelt/players.dat"; }

    TempFolder temp;
    std::filesystem::path oldFolder;
    std::vector<std::pair<std::string, std::string>> oldEnvironment;
    FakeDesktop desktop;
    FakeClock& clock = desktop.clock;
    FakeWindowSystem& windows = desktop.windows;
    FakePresenter& presenter = desktop.presenter;
    FakeServices& services = desktop.services;
    std::unique_ptr<GameHarness> app;
};

} // namespace

// Logos, loading, the first player's name, then level 1 of each mode from the
// main menu; losing the focus during a level pauses it under the menu, whose
// "Главное меню" leads back; leaving writes settings and players.
TEST_F(GameAppTest, FirstRunReachesLevelOneOfEachModeAndLeavesCleanly)
{
    GameHarness& game = Start();
    ASSERT_TRUE(game.IsInitialized());
    ASSERT_NE(game.GetTitleScreen(), nullptr);
    EXPECT_TRUE(game.GetTitleScreen()->IsShowingLogos());
    EXPECT_EQ(game.CurrentSong(), GameApp::SongTitle);

    ASSERT_TRUE(RunUntil([&] { return game.IsLoaded(); }));
    EXPECT_FALSE(game.LoadingFailed());
    EXPECT_DOUBLE_EQ(game.GetLoadingProgress(), 1.0);
    EXPECT_TRUE(game.GetTitleScreen()->GetStartLink()->visible);
    EXPECT_NE(IMAGE_TYP25, nullptr);
    EXPECT_TRUE(services.boxes.empty());

    ASSERT_TRUE(LoadAndEnterMenu());
    EXPECT_EQ(game.GetTitleScreen(), nullptr);
    EXPECT_EQ(game.CurrentPlayerName(), "New Player");
    EXPECT_TRUE(FileUtil::Exists(PlayersFile()));
    EXPECT_TRUE(game.IsScreenShown(game.GetMainMenu()));
    EXPECT_EQ(IMAGE_LOADER_BAR, nullptr); // its group is gone with the title screen

    for (PlayMode mode : {PlayMode::Click, PlayMode::Drag}) {
        SCOPED_TRACE(StoredMode(mode));
        int button = mode == PlayMode::Click ? TitleWnd::ClickModeButton : TitleWnd::DragModeButton;
        Click(game.GetMainMenu()->GetButton(button));
        ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetBoardPanel()); }));
        EXPECT_FALSE(game.IsScreenShown(game.GetMainMenu()));
        EXPECT_EQ(game.GetBoard()->field->mode, mode);
        EXPECT_EQ(game.GetBoard()->field->level.number, 1);
        EXPECT_GT(game.GetBoard()->field->FishCount(), 0);
        game.CloseDialog(DialogHowToPlay);
        RunUntil([&] { return game.GetWidgetManager()->GetFocusWidget() == game.GetBoardPanel(); }, 50);

        Post(MessageKind::Activate, 0);
        ASSERT_TRUE(RunUntil([&] { return game.FindDialog(DialogMenu) != nullptr; }));
        Post(MessageKind::Activate, 1);
        auto* menu = dynamic_cast<MenuWnd*>(game.FindDialog(DialogMenu));
        ASSERT_NE(menu, nullptr);
        AnswerWhenShown(DialogConfirm);
        Click(menu->GetButton(MenuWnd::MainMenu));
        ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMainMenu()); }));
        game.onUpdate = nullptr;
        EXPECT_FALSE(game.IsScreenShown(game.GetBoardPanel()));
        EXPECT_EQ(game.CurrentSong(), GameApp::SongTitle);
        EXPECT_TRUE(game.HasSavedGame(mode));
    }

    Click(game.GetMainMenu()->GetButton(TitleWnd::ExitButton));
    ASSERT_TRUE(RunUntil([&] { return game.HasShutdownStarted(); }));
    EXPECT_TRUE(FileUtil::Exists(SettingsFile()));
    EXPECT_TRUE(game.exits.empty());
    EXPECT_LE(game.GetExitCode(), 0);
}

// A damaged manifest is a fatal start-up error: the reason in the box and on
// standard error, no title screen, and a non-zero exit code.
TEST_F(GameAppTest, DamagedManifestEndsStartupWithTheReasonAndFailureCode)
{
    std::string folder = temp.File("game");
    ASSERT_TRUE(FileUtil::WriteFileAtomic(folder + "/properties/resources.xml",
                                          "<ResourceManifest><Resources id=\"Init\"><Font id="));
    testing::internal::CaptureStderr();
    GameHarness& game = Start(folder);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("FATAL ERROR"), std::string::npos) << err;
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].rfind("FATAL ERROR|", 0), 0u) << services.boxes[0];
    EXPECT_EQ(game.GetTitleScreen(), nullptr);
    EXPECT_TRUE(game.HasShutdownStarted());
    EXPECT_EQ(game.GetExitCode(), 1);
    game.Run(); // returns at once
}

// A "Game" resource missing from the manifest is found by the loading
// thread: the reason is shown once loading is over, the start link never
// appears, and the game keeps running until the player closes it; it then
// ends with a failure.
TEST_F(GameAppTest, AMissingGameResourceKeepsTheLoadingScreenWithoutTheStartLink)
{
    std::string folder = temp.File("game");
    std::filesystem::create_directories(folder + "/properties");
    for (const char* sub : {"images", "sounds", "fonts", "music", "levels"})
        std::filesystem::create_directory_symlink(GameFolder + "/" + sub, folder + "/" + sub);
    std::string manifest;
    ASSERT_TRUE(FileUtil::ReadFile(GameFolder + "/properties/resources.xml", manifest));
    const std::string id = "id=\"IM_B_OVER_MENU\"";
    size_t at = manifest.find(id);
    ASSERT_NE(at, std::string::npos);
    manifest.replace(at, id.size(), "id=\"IM_B_NOT_USED\"");
    ASSERT_TRUE(FileUtil::WriteFileAtomic(folder + "/properties/resources.xml", manifest));

    GameHarness& game = Start(folder);
    ASSERT_TRUE(game.IsInitialized());
    ASSERT_TRUE(RunUntil([&] { return game.IsLoaded(); }));
    EXPECT_TRUE(game.LoadingFailed());
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_NE(services.boxes[0].find("IM_B_OVER_MENU"), std::string::npos) << services.boxes[0];
    RunUntil([&] { return false; }, 500);
    EXPECT_FALSE(game.GetTitleScreen()->GetStartLink()->visible);
    EXPECT_FALSE(game.HasShutdownStarted());
    Post(MessageKind::Close);
    ASSERT_TRUE(RunUntil([&] { return game.HasShutdownStarted(); }, 100));
    EXPECT_TRUE(game.exits.empty());
    // The run failed, and the exit code says so.
    EXPECT_EQ(game.GetExitCode(), 1);
}

// SIGINT/SIGTERM while the resources are still loading: the normal shutdown
// runs, the settings are written, and the players file, not read yet, is
// left exactly as it was.
TEST_F(GameAppTest, ShutdownSignalDuringLoadingKeepsThePlayersFile)
{
    PlayerList existing(temp.File("data") + "/Wendmoor/Korvelt/");
    existing.AddPlayer("Kassandra").levelMode2 = 17;
    existing.currentPlayer = 0;
    ASSERT_TRUE(existing.SavePlayers());
    std::string before;
    ASSERT_TRUE(FileUtil::ReadFile(PlayersFile(), before));

    GameHarness& game = Start();
    ASSERT_TRUE(game.IsInitialized());
    ShutdownSignals::Request();
    ASSERT_TRUE(RunUntil([&] { return game.HasShutdownStarted(); }, 10));
    game.Run();
    app.reset();

    std::string after;
    ASSERT_TRUE(FileUtil::ReadFile(PlayersFile(), after));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(FileUtil::Exists(SettingsFile()));
}

// The level editor in the running game: F8 with the developer keys on, then
// F2 asks for the file name in the text-entry dialog; the confirmed name is
// written in the game folder and the editor stays open.
TEST_F(GameAppTest, EditorSavesTheLevelUnderTheNameGivenInTheDialog)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    Click(game.GetMainMenu()->GetButton(TitleWnd::DragModeButton));
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetBoardPanel()); }));
    game.CloseDialog(DialogHowToPlay);
    RunUntil([&] { return !game.GetBoard()->field->Loading(); });
    game.EnableDebugKeys();

    Post(MessageKind::KeyDown, 0x77);
    ASSERT_TRUE(RunUntil([&] { return game.GetBoard()->field->mode == PlayMode::Editor; }));

    const std::string name = "editor_test_" + std::to_string(::getpid()) + ".xml";
    Rect shown;
    std::string suggested;
    game.onUpdate = [&] {
        auto* d = dynamic_cast<DialogWithEdit*>(game.FindDialog(DialogNameOrGameOver));
        if (d == nullptr || !windows.pending.empty() || !suggested.empty())
            return;
        shown = Rect(d->x, d->y, d->width, d->height);
        suggested = d->Edit().GetText();
        EXPECT_EQ(game.GetWidgetManager()->GetFocusWidget(), &d->Edit());
        // A name longer than the player-name limit.
        d->Edit().SetText(name);
        Post(MessageKind::KeyDown, 13);
        Post(MessageKind::Char, 13);
    };
    Post(MessageKind::KeyDown, 0x71);
    std::string path = GameFolder + "/" + name;
    bool saved = RunUntil([&] { return FileUtil::Exists(path); });
    game.onUpdate = nullptr;
    EXPECT_EQ(suggested, "level.xml");
    EXPECT_EQ(shown, Rect(250, 50, 384, 200));
    ASSERT_TRUE(saved);
    LevelFile file;
    EXPECT_TRUE(file.Read(path));
    std::filesystem::remove(path);
    ASSERT_EQ(file.layers.size(), game.GetBoard()->field->layers.size());
    EXPECT_EQ(file.layers.back().size(), game.GetBoard()->field->layers.back().size());
    EXPECT_EQ(game.GetBoard()->field->mode, PlayMode::Editor);
}

// Winning levels through the real rules: the level-won dialog's button goes
// to the map with the next level selected, "Играть" starts it, and past the
// last level of the mode the campaign ends: its dialog (offering the
// high-score table only to a score it takes), back to the main menu, and
// the mode's progress starts again at level 1.
TEST_F(GameAppTest, WinningGoesOnToTheNextLevelAndPastTheLastEndsTheCampaign)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    PlayerProfile* player = game.CurrentProfile();
    player->levelMode2 = 59;
    player->showHowToPlay = false;
    game.ShowBoard(PlayMode::Click);
    ASSERT_EQ(game.GetBoard()->field->level.number, 59);

    AnswerWhenShown({DialogLevelWon, DialogCampaignComplete});
    game.WinTheLevel();
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMapScreen()); }));
    EXPECT_FALSE(game.IsScreenShown(game.GetBoardPanel()));
    EXPECT_EQ(game.GetMapScreen()->selectedLevel, 60);
    EXPECT_EQ(game.CurrentSong(), GameApp::SongMap);
    game.GetMapScreen()->OnButtonClick(MapWnd::PlayButton);
    ASSERT_TRUE(RunUntil([&] { return game.GetBoard()->field->level.number == 60; }));
    EXPECT_FALSE(game.IsScreenShown(game.GetMapScreen()));
    EXPECT_TRUE(game.IsScreenShown(game.GetBoardPanel()));
    EXPECT_EQ(player->levelMode2, 60);
    EXPECT_TRUE(game.levelWonThisSession);

    // The campaign's end tells the score and, truthfully, that the table
    // does not take it (a table score would be offered).
    std::string campaignText;
    auto answer = game.onUpdate;
    game.onUpdate = [&] {
        if (Dialog* done = game.FindDialog(DialogCampaignComplete))
            campaignText = done->lines;
        answer();
    };
    game.WinTheLevel();
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMainMenu()); }));
    game.onUpdate = nullptr;
    EXPECT_EQ(campaignText, W("Ваш счет: ") + std::to_string(game.GetBoard()->field->Score()) +
                                W(". Для таблицы рекордов этого мало."));
    player->scoreMode2 = 100000;
    EXPECT_EQ(game.CampaignResultText(), W("Ваш счет: 100000. Он попадёт в таблицу рекордов."));
    player->scoreMode2 = 0;
    EXPECT_FALSE(game.IsScreenShown(game.GetBoardPanel()));
    EXPECT_EQ(player->levelMode2, 1);
    EXPECT_EQ(player->scoreMode2, 0);
    EXPECT_FALSE(game.HasSavedGame(PlayMode::Click));
    EXPECT_EQ(game.CurrentSong(), GameApp::SongTitle);
    EXPECT_EQ(game.FindDialog(DialogCampaignComplete), nullptr);
}

// A full or read-only data folder while playing: leaving a level "saving"
// it tells the player on screen, naming the folder, instead of claiming
// success; the game goes on (the saved game can even be continued), and
// once the folder can be written again the game and the players reach it.
TEST_F(GameAppTest, FailedWritesAreToldOnScreenAndMadeOnceTheFolderIsBack)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    std::string folder = game.GetDataFolder();
    Click(game.GetMainMenu()->GetButton(TitleWnd::ClickModeButton));
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetBoardPanel()); }));
    game.CloseDialog(DialogHowToPlay);
    RunUntil([&] { return !game.GetBoard()->field->Loading(); });

    // The folder becomes unwritable: a file stands where it was.
    std::string aside = folder.substr(0, folder.size() - 1) + ".away";
    std::filesystem::rename(folder, aside);
    ASSERT_TRUE(FileUtil::WriteFileAtomic(folder.substr(0, folder.size() - 1), "blocker"));
    AnswerWhenShown(DialogConfirm);
    game.ExitToMainMenu(true);
    game.onUpdate = nullptr;
    ASSERT_TRUE(RunUntil([&] { return game.FindDialog(DialogFileNotice) != nullptr; }, 100));
    Dialog* notice = game.FindDialog(DialogFileNotice);
    EXPECT_NE(notice->lines.find(folder), std::string::npos) << notice->lines;
    EXPECT_TRUE(game.IsScreenShown(game.GetMainMenu()));
    EXPECT_TRUE(game.HasSavedGame(PlayMode::Click));

    std::filesystem::remove(folder.substr(0, folder.size() - 1));
    std::filesystem::rename(aside, folder);
    const int retryBy = game.GetUpdateCount() + 1000 + 10;
    Click(notice->yesButton.get());
    std::string save = folder + "saves/New Player1.sav";
    // The write is retried within ten seconds of game time.
    ASSERT_TRUE(RunUntil([&] { return FileUtil::Exists(save) || game.GetUpdateCount() > retryBy; }) && FileUtil::Exists(save));
    EXPECT_EQ(game.FindDialog(DialogFileNotice), nullptr);
    std::string bytes;
    SavedGameData data;
    ASSERT_TRUE(FileUtil::ReadFile(save, bytes));
    EXPECT_TRUE(ReadSavedGame(bytes, data));
}

// Sessions of real play recorded with "-record", replayed here with no
// display at full speed: the input at its recorded updates, the settings
// and the players' files answered from the recording. The run must ask for
// every recorded result in order, write the same bytes and end on the same
// screen. After a change of the game's behaviour, record them again.
TEST_F(GameAppTest, RecordedDemosReplayToTheSameFilesAndScreen)
{
    const std::string folder = std::string(KORVELT_SOURCE_DIR) + "/tests/data/demos/";
    const std::string vera = "\xC2\xE5\xF0\xE0";
    const std::string tester = "\xC8\xF1\xEF\xFB\xF2\xE0\xF2\xE5\xEB\xFC";
    struct Expected {
        const char* demo;
        std::string player;
        std::vector<std::string> writtenFiles;
        int savedScore; // of the game saved on leaving for the main menu; -1 none
    };
    // A first run played by korvelt-e2e (name, drag level 1 won, the map,
    // the main menu, click level 1 won, click level 2 left and saved), its
    // second run (continued and won, a high score), a drag-mode level won
    // with the keyboard alone, and a click-mode game
    // found under an older version's Windows-1251 file name, continued (it
    // moves to its UTF-8 name), played a move and saved again by hand.
    const Expected demos[] = {
        {"first-run.dmo", tester, {"players.dat", Cp1251ToUtf8(tester) + "1.sav"}, 960},
        {"continue-won.dmo", tester, {"players.dat", "highscores.dat"}, -1},
        {"click-continue.dmo", vera, {"players.dat", Cp1251ToUtf8(vera) + "1.sav"}, 60},
        // A first run played with the keyboard alone, from the title screen
        // to the map: drag-mode level 1 is won by H (the hint focuses its
        // tile), Enter (pick) and Enter (put), the deck by D and the arrows.
        {"keyboard-win.dmo", "New Player", {"players.dat"}, -1},
    };
    for (const Expected& expected : demos) {
        SCOPED_TRACE(expected.demo);
        app = std::make_unique<GameHarness>(&clock);
        app->SetWindowSystem(&windows);
        app->SetPresenter(&presenter);
        app->SetSystemServices(&services);
        app->SetCommandLine("korvelt -play \"-demofile=" + folder + expected.demo + "\"");
        app->gameFolder = GameFolder;
        app->Initialize();
        ASSERT_TRUE(app->IsPlayingDemo());
        app->JumpDemoTo(1 << 30);
        ASSERT_TRUE(RunUntil([&] { return app->HasShutdownStarted(); }));
        const ZorvinAppBase::DemoReport& report = app->GetDemoReport();
        EXPECT_EQ(report.divergence, "");
        EXPECT_TRUE(report.finished);
        EXPECT_EQ(report.eventsPlayed, report.eventsTotal);
        EXPECT_TRUE(report.screenMatched);
        EXPECT_EQ(report.writesDiffered, 0);
        for (const std::string& name : expected.writtenFiles)
            EXPECT_EQ(report.written.count(name), 1u) << name;
        PlayerList players;
        ASSERT_TRUE(report.written.count("players.dat"));
        ASSERT_TRUE(players.Decode(report.written.at("players.dat")));
        ASSERT_EQ(players.Count(), 1);
        EXPECT_EQ(players.At(0).name, expected.player);
        if (expected.savedScore >= 0) {
            SavedGameData saved;
            // Saved games are named in UTF-8.
            const std::string file = Cp1251ToUtf8(expected.player) + "1.sav";
            ASSERT_TRUE(report.written.count(file));
            ASSERT_TRUE(ReadSavedGame(report.written.at(file), saved));
            EXPECT_EQ(saved.score, expected.savedScore);
            EXPECT_EQ(saved.mode, StoredMode(PlayMode::Click));
        }
        // A playback leaves the player's own files alone.
        EXPECT_FALSE(FileUtil::Exists(PlayersFile()));
        EXPECT_FALSE(FileUtil::Exists(SettingsFile()));
        app.reset();
    }
}

namespace {

// What a saved game holds of the position, without where the line's two
// tiles were on their way (a restore slides them in from their resting
// points).
std::string Position(const std::string& bytes)
{
    SavedGameData d;
    if (!ReadSavedGame(bytes, d))
        return "unreadable";
    std::string out = std::to_string(d.mode) + " " + d.levelPath + " " + std::to_string(d.fishCount) + " " +
                      std::to_string(d.score) + " " + std::to_string(d.shufflesLeft) + " " +
                      std::to_string(d.redealsLeft) + " " + std::to_string(d.placeCount) + "\n";
    auto tile = [&out](const SavedTile& t, bool where) {
        out += std::to_string(t.valueA) + "/" + std::to_string(t.valueB) + " " + std::to_string(t.lockType) + " " +
               std::to_string(t.itemType) + " " + std::to_string(t.style) + " " + std::to_string(t.joker);
        if (where)
            out += " @" + std::to_string(t.x) + "," + std::to_string(t.y) + "," + std::to_string(t.layer);
        out += "; ";
    };
    for (const auto& layer : d.layers) {
        for (const SavedTile& t : layer)
            tile(t, true);
        out += "\n";
    }
    tile(d.lineFirst, false);
    tile(d.lineLast, false);
    for (const SavedTile& t : d.deck)
        tile(t, true);
    for (const auto& place : d.places) {
        out += "\n";
        for (const SavedTile& t : place)
            tile(t, true);
    }
    return out;
}

} // namespace

// A saved game belongs to the level it was saved in. Winning that level
// after continuing it retires it; one left behind by a level since won (an
// older game, a crash) is not shown under the next level's number; and
// "Новая игра" starting level 1 retires the game of the level left.
TEST_F(GameAppTest, AMapLeftAloneComesToRestAndTheLoopWaitsForInput)
{
    Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    ChooseMode(PlayMode::Drag);
    app->ShowMapScreen(1);
    uint32_t shown = clock.now;
    auto runUntil = [&](int ms) { RunUntil([&] { return clock.now - shown >= uint32_t(ms); }); };

    // Some seconds later the scroll has opened and its glow stays lit:
    // nothing is shown anew, and the loop wakes a few times a second yet
    // runs every update.
    runUntil(9000);
    int presents = presenter.presents;
    int sleeps = clock.sleeps;
    int updates = app->GetUpdateCount();
    runUntil(11000);
    EXPECT_EQ(presenter.presents, presents);
    EXPECT_LT(clock.sleeps - sleeps, 20);
    EXPECT_NEAR(app->GetUpdateCount() - updates, 200, 3);
}

TEST_F(GameAppTest, ASavedGameComesBackOnlyInTheLevelItWasSavedIn)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    PlayerProfile* player = game.CurrentProfile();
    player->showHowToPlay = false;
    ChooseMode(PlayMode::Click);
    ASSERT_TRUE(game.IsScreenShown(game.GetBoardPanel()));
    PutATile();
    LeaveThroughGameMenu();
    std::string levelOne;
    ASSERT_TRUE(FileUtil::ReadFile(SaveFile(PlayMode::Click), levelOne));

    ChooseMode(PlayMode::Click);
    AnswerContinue(ContinueGameWnd::Continue);
    ASSERT_TRUE(game.IsScreenShown(game.GetBoardPanel()));
    EXPECT_EQ(game.GetBoard()->field->level.number, 1);
    AnswerWhenShown(DialogLevelWon);
    game.WinTheLevel();
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMapScreen()); }));
    EXPECT_EQ(player->levelMode2, 2);
    EXPECT_FALSE(game.HasSavedGame(PlayMode::Click));

    // From the map back to the main menu, the level-one game put back on
    // disk (as an older version or a crash would have left it): "Продолжить"
    // goes on at level 2 on the map, "Новая игра" starts level 1 afresh, and
    // either way the old game is retired.
    for (int answer : {ContinueGameWnd::Continue, ContinueGameWnd::NewGame}) {
        SCOPED_TRACE(answer);
        AnswerWhenShown(DialogConfirm);
        game.GetMapScreen()->OnButtonClick(MapWnd::MainMenuButton);
        ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMainMenu()); }));
        game.onUpdate = nullptr;
        ASSERT_TRUE(FileUtil::WriteFileAtomic(SaveFile(PlayMode::Click), levelOne));
        ChooseMode(PlayMode::Click);
        AnswerContinue(answer);
        bool onMap = answer == ContinueGameWnd::Continue;
        ASSERT_EQ(game.IsScreenShown(game.GetMapScreen()), onMap);
        ASSERT_EQ(game.IsScreenShown(game.GetBoardPanel()), !onMap);
        if (onMap)
            EXPECT_EQ(game.GetMapScreen()->selectedLevel, 2);
        else
            EXPECT_EQ(game.GetBoard()->field->level.number, 1);
        EXPECT_FALSE(game.HasSavedGame(PlayMode::Click));
    }
}

// The statistics of a played level: its time goes on across a save and a
// continue and stands still under the in-game menu; winning counts it with
// its own points, moves and combo; a loss counts when no reshuffle is left,
// or when the player plays the level again rather than reshuffle; and the
// file holds what was played.
TEST_F(GameAppTest, WonAndLostLevelsReachThePlayersStatistics)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    game.CurrentProfile()->showHowToPlay = false;
    ChooseMode(PlayMode::Click);
    PutATile();
    auto runFor = [&](int updates) {
        int start = game.GetUpdateCount();
        RunUntil([&] { return game.GetUpdateCount() >= start + updates; });
    };
    runFor(300);
    LevelTally& tally = game.GetBoard()->rules->tally;
    int seconds = tally.Seconds();
    EXPECT_GE(seconds, 3);
    LeaveThroughGameMenu();
    ChooseMode(PlayMode::Click);
    AnswerContinue(ContinueGameWnd::Continue);
    ASSERT_TRUE(game.IsScreenShown(game.GetBoardPanel()));
    EXPECT_EQ(tally.Seconds(), seconds);
    EXPECT_EQ(tally.Moves(), 1);
    // Under the in-game menu the clock stands still.
    Post(MessageKind::KeyDown, 27);
    ASSERT_TRUE(RunUntil([&] { return game.FindDialog(DialogMenu) != nullptr; }));
    runFor(500);
    EXPECT_EQ(tally.Seconds(), seconds);
    Click(dynamic_cast<MenuWnd*>(game.FindDialog(DialogMenu))->GetButton(MenuWnd::Resume));
    ASSERT_TRUE(RunUntil([&] { return game.FindDialog(DialogMenu) == nullptr; }));
    PutATile();
    int points = game.GetBoard()->field->Score() - game.CurrentProfile()->scoreMode2;
    EXPECT_GT(points, 0);

    AnswerWhenShown(DialogLevelWon);
    game.WinTheLevel();
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMapScreen()); }));
    game.onUpdate = nullptr;
    const ModeStatistics& click = game.CurrentStatistics()->Mode(PlayMode::Click);
    EXPECT_EQ(click.Won(), 1);
    EXPECT_EQ(click.Lost(), 0);
    EXPECT_EQ(game.CurrentStatistics()->BestScore(PlayMode::Click, 1), points);
    EXPECT_GE(click.TotalSeconds(), seconds);
    EXPECT_EQ(game.LastLevelResult().moves, 2);
    EXPECT_GE(game.LastLevelResult().bestCombo, 1);
    EXPECT_EQ(game.LastPreviousBest(), 0);

    // Level 2, lost: with a reshuffle left only playing it again counts.
    game.PlayLevelFromMap();
    RunUntil([&] { return !game.GetBoard()->field->Loading(); });
    game.GetBoard()->field->TakeCounters(game.GetBoard()->field->Score(), 1);
    game.ShowGameOverWindow();
    dynamic_cast<GameOverWnd*>(game.FindDialog(DialogNameOrGameOver))->OnButtonClick(GameOverWnd::Reshuffle);
    EXPECT_EQ(click.Lost(), 0);
    game.GetBoard()->field->TakeCounters(game.GetBoard()->field->Score(), 1);
    game.ShowGameOverWindow();
    dynamic_cast<GameOverWnd*>(game.FindDialog(DialogNameOrGameOver))->OnButtonClick(GameOverWnd::Replay);
    EXPECT_EQ(click.Lost(), 1);
    RunUntil([&] { return !game.GetBoard()->field->Loading(); });
    game.GetBoard()->field->TakeCounters(game.GetBoard()->field->Score(), 0);
    game.ShowGameOverWindow();
    EXPECT_EQ(click.Lost(), 2);
    EXPECT_EQ(click.CurrentStreak(), 0);
    EXPECT_EQ(click.LongestStreak(), 1);

    StatisticsStore onDisk(game.GetDataFolder());
    onDisk.Load();
    ASSERT_NE(onDisk.Find(game.CurrentPlayerName()), nullptr);
    EXPECT_EQ(*onDisk.Find(game.CurrentPlayerName()), *game.CurrentStatistics());
}

// A won level ends in its summary: the level's own points and moves, its
// stars by the shipped thresholds and the best so far; its button leads to
// the map, which shows that best on the level's scroll. Winning the level
// again with more points earns more stars and says it is a new record.
TEST_F(GameAppTest, AWonLevelShowsItsSummaryAndTheMapKeepsItsBest)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    PlayerProfile* player = game.CurrentProfile();
    player->showHowToPlay = false;
    // Points of earlier levels are the mode's running score, not this
    // level's.
    player->scoreMode2 = 5000;
    LevelStars stars;
    ASSERT_TRUE(stars.Load(GameFolder + "/" + LevelStars::kFileName));
    ASSERT_TRUE(stars.Has(PlayMode::Click, 1));
    int threeStars = 0;
    for (const LevelStars::Entry& e : stars.Entries())
        if (e.mode == PlayMode::Click && e.level == 1)
            threeStars = e.threeStars;

    // Wins level 1 after two puts with `bonus` points on top; the summary.
    auto win = [&](int bonus) -> LevelSummaryWnd* {
        player->levelMode2 = 1;
        game.ShowBoard(PlayMode::Click);
        RunUntil([&] { return !game.GetBoard()->field->Loading(); });
        PutATile();
        PutATile();
        game.GetBoard()->field->AddPoints(bonus, nullptr);
        game.WinTheLevel();
        EXPECT_TRUE(RunUntil([&] { return game.FindDialog(DialogLevelWon) != nullptr; }));
        return dynamic_cast<LevelSummaryWnd*>(game.FindDialog(DialogLevelWon));
    };
    LevelSummaryWnd* summary = win(0);
    ASSERT_NE(summary, nullptr);
    int points = game.GetBoard()->field->Score() - 5000;
    EXPECT_EQ(summary->Result().score, points);
    EXPECT_EQ(summary->Result().moves, 2);
    EXPECT_EQ(summary->Result().bestCombo, 1);
    EXPECT_EQ(summary->Result().stars, 1) << "two puts earn no more than the first star";
    EXPECT_EQ(summary->PersonalBest(), points);
    EXPECT_FALSE(summary->NewRecord()) << "a first win beats no earlier one";

    Click(summary->yesButton.get());
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMapScreen()); }));
    EXPECT_EQ(game.BestOf(1).score, points);
    EXPECT_EQ(game.BestOf(1).stars, 1);
    EXPECT_EQ(game.BestOf(2).score, 0);
    EXPECT_FALSE(game.GetMapScreen()->TotalOf(0).finished);

    summary = win(threeStars);
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->Result().stars, 3);
    EXPECT_TRUE(summary->NewRecord());
    EXPECT_EQ(summary->PersonalBest(), summary->Result().score);
    points = summary->Result().score;
    EXPECT_GE(points, threeStars);
    Click(summary->yesButton.get());
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetMapScreen()); }));
    EXPECT_EQ(game.BestOf(1).stars, 3);
    EXPECT_EQ(game.BestOf(1).score, points);
}

// Closing the window in the middle of a level, or a SIGTERM, saves it as
// the in-game menu's "Главное меню" would, and "Продолжить" on the next run
// brings back that very position.
TEST_F(GameAppTest, ClosingTheWindowOrASignalMidLevelKeepsThePosition)
{
    std::string saved;
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        app.reset();
        ShutdownSignals::Reset();
        GameHarness& game = Start();
        ASSERT_TRUE(LoadAndEnterMenu());
        game.CurrentProfile()->showHowToPlay = false;
        ChooseMode(PlayMode::Click);
        if (run > 0) {
            AnswerContinue(ContinueGameWnd::Continue);
            ASSERT_TRUE(game.IsScreenShown(game.GetBoardPanel()));
            EXPECT_EQ(Position(FormatSavedGame(*game.GetBoard()->field)), Position(saved));
            EXPECT_EQ(game.GetBoard()->field->level.number, 1);
        }
        if (run == 2)
            break;
        PutATile();
        std::string before = FormatSavedGame(*game.GetBoard()->field);
        if (run == 0)
            Post(MessageKind::Close);
        else
            ShutdownSignals::Request();
        ASSERT_TRUE(RunUntil([&] { return game.HasShutdownStarted(); }));
        ASSERT_TRUE(FileUtil::ReadFile(SaveFile(PlayMode::Click), saved));
        EXPECT_EQ(saved, before);
    }
}

// The window closed while a reshuffle's animation runs: the saved game is
// the position before it, with the reshuffle still unspent, not the old
// tiles with the reshuffle used up.
TEST_F(GameAppTest, ClosingDuringAReshuffleKeepsTheReshuffle)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    game.CurrentProfile()->showHowToPlay = false;
    ChooseMode(PlayMode::Click);
    PutATile();
    FishField& field = *game.GetBoard()->field;
    ASSERT_GT(field.ShufflesLeft(), 0);
    std::string before = FormatSavedGame(field);
    int updates = 0;
    game.onUpdate = [&] {
        if (++updates == 1)
            game.Reshuffle();
        else if (updates == 5)
            Post(MessageKind::Close);
    };
    ASSERT_TRUE(RunUntil([&] { return game.HasShutdownStarted(); }));
    game.onUpdate = nullptr;
    std::string saved;
    ASSERT_TRUE(FileUtil::ReadFile(SaveFile(PlayMode::Click), saved));
    EXPECT_EQ(Position(saved), Position(before));
}

// Leaving a level during its intro: the intro waits under the in-game menu,
// and the rest of the level's start (the how-to page of level 1 and its
// first tip) does not open over the main menu afterwards.
TEST_F(GameAppTest, LeavingDuringTheIntroStartsNothingOverTheMainMenu)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    int step = 0;
    bool leftInIntro = false;
    game.onUpdate = [&] {
        if (!windows.pending.empty())
            return;
        if (step == 0 && game.IsScreenShown(game.GetBoardPanel()) && game.GetBoard()->field->Loading()) {
            Post(MessageKind::Activate, 0);
            step = 1;
        } else if (auto* menu = dynamic_cast<MenuWnd*>(game.FindDialog(DialogMenu)); step == 1 && menu) {
            Post(MessageKind::Activate, 1);
            Click(menu->GetButton(MenuWnd::MainMenu));
            step = 2;
        } else if (Dialog* confirm = game.FindDialog(DialogConfirm); step == 2 && confirm) {
            Click(confirm->yesButton.get());
            step = 3;
        } else if (step == 3 && game.IsScreenShown(game.GetMainMenu())) {
            leftInIntro = game.GetBoard()->field->Loading();
            step = 4;
        }
    };
    Click(game.GetMainMenu()->GetButton(TitleWnd::ClickModeButton));
    ASSERT_TRUE(RunUntil([&] { return step == 4 && !game.GetBoard()->field->Loading(); })) << step;
    RunUntil([] { return false; }, 300);
    game.onUpdate = nullptr;
    EXPECT_TRUE(leftInIntro);
    EXPECT_TRUE(game.IsScreenShown(game.GetMainMenu()));
    EXPECT_FALSE(game.IsScreenShown(game.GetBoardPanel()));
    EXPECT_EQ(game.FindDialog(DialogHowToPlay), nullptr);
    EXPECT_FALSE(game.IsScreenShown(game.GetHintWindow()));
    EXPECT_EQ(game.GetWidgetManager()->GetFocusWidget(), game.GetMainMenu());
    // Nothing was played and the deck was not dealt yet: nothing to keep.
    EXPECT_FALSE(game.HasSavedGame(PlayMode::Click));
}

// The first tip of the game moves off the tiles the player can take and off
// the combo meter: it covers less of them than at the place it points from.
TEST_F(GameAppTest, FirstTipMovesOffTheOpenTilesAndTheMeter)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    Click(game.GetMainMenu()->GetButton(TitleWnd::DragModeButton));
    ASSERT_TRUE(RunUntil([&] { return game.IsScreenShown(game.GetHintWindow()) && !game.GetBoard()->field->Loading(); }));
    const HintWnd& tip = *game.GetHintWindow();
    const Board& board = *game.GetBoard();
    // The drag-mode tip points at (490, 550).
    Rect shown(tip.x, tip.y, tip.width, tip.height);
    Rect pointing(490, 550 - tip.height, tip.width, tip.height);
    auto covered = [&](const Rect& r) {
        long area = 0;
        for (const Layer& layer : board.field->layers)
            for (const auto& f : layer)
                if (f->open) {
                    Rect i = r.Intersection(Rect(f->left, f->top, f->width, f->height));
                    area += i.IsEmpty() ? 0 : static_cast<long>(i.width) * i.height;
                }
        return area;
    };
    ASSERT_GT(covered(pointing), 0) << "the level's tiles do not reach the tip's place; the test shows nothing";
    EXPECT_LT(covered(shown), covered(pointing));
    const ComboMeter& meter = *board.comboMeter;
    EXPECT_FALSE(shown.Intersects(Rect(meter.x, meter.y, meter.meterImage->GetWidth(), meter.meterImage->GetHeight())));
}

// The level editor entered from a click-mode level goes back to click mode,
// so leaving through the in-game menu saves the click-mode game, and the
// drag-mode game stays untouched.
TEST_F(GameAppTest, LeavingTheEditorReturnsToTheModeItWasEnteredFrom)
{
    GameHarness& game = Start();
    ASSERT_TRUE(LoadAndEnterMenu());
    game.CurrentProfile()->showHowToPlay = false;
    ChooseMode(PlayMode::Click);
    game.EnableDebugKeys();
    Post(MessageKind::KeyDown, KeyF8);
    Post(MessageKind::KeyUp, KeyF8);
    ASSERT_TRUE(RunUntil([&] { return game.GetBoard()->field->mode == PlayMode::Editor; }));
    Post(MessageKind::KeyDown, KeyF8);
    Post(MessageKind::KeyUp, KeyF8);
    ASSERT_TRUE(RunUntil([&] { return game.GetBoard()->field->mode != PlayMode::Editor; }));
    EXPECT_EQ(game.GetBoard()->field->mode, PlayMode::Click);
    LeaveThroughGameMenu();
    EXPECT_TRUE(game.HasSavedGame(PlayMode::Click));
    EXPECT_FALSE(game.HasSavedGame(PlayMode::Drag));
}
