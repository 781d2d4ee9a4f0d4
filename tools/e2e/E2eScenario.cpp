// Sections:
//   - memory and tool folder
//   - levels asked and reporting
//   - the run (folders, starting the game, playing)
//   - start progress and standard answers
//   - menus and modes
//   - playing and winning levels
//   - the map, high scores
//   - saving, quitting and continuing

#include "tools/e2e/E2eScenario.h"

#include <chrono>
#include <thread>

#include "framework/core/Cp1251.h"
#include "framework/core/FileUtil.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/HyperlinkWidget.h"
#include "game/app/GameApp.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/LevelSummaryWnd.h"
#include "game/app/profiles/DataFolder.h"
#include "game/app/screens/MapWnd.h"
#include "game/app/screens/TitleScreen.h"
#include "game/app/screens/TitleWnd.h"
#include "game/board/BoardRules.h"
#include "game/board/Deck.h"
#include "game/board/FishField.h"
#include "game/board/PlayLine.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "game/shared/DialogIds.h"
#include "tools/e2e/ScreenPlayer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace Zorvin;
using Key = SdlEventInjector::Key;

namespace {
// The name the new player types (UTF-8; the game keeps it in Windows-1251).
const char* const kPlayerName = "Испытатель";
// A statistics file cut off in its player count, planted before the first
// run: the game must keep it aside and go on with empty statistics.
const std::string kDamagedStatistics("KVST\x01\x00\x00\x00\x01\x00", 10);
// Updates allowed for the title, the logos and loading.
constexpr int kLoadingUpdates = 60000;
// Updates allowed for a screen change.
constexpr int kScreenUpdates = 3000;

std::string MemoryLine()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr)
        return "memory figures unavailable";
    char line[256];
    std::string rss, hwm;
    while (std::fgets(line, sizeof(line), f) != nullptr) {
        std::string s(line);
        auto value = [&s](const char* key) {
            std::string v = s.substr(std::char_traits<char>::length(key));
            v.erase(0, v.find_first_not_of(" \t"));
            v.erase(v.find_last_not_of(" \t\n") + 1);
            return v;
        };
        if (s.rfind("VmRSS:", 0) == 0)
            rss = value("VmRSS:");
        else if (s.rfind("VmHWM:", 0) == 0)
            hwm = value("VmHWM:");
    }
    std::fclose(f);
    return "VmRSS " + rss + ", VmHWM " + hwm;
}

std::string ToolFolder()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}
} // namespace

E2eScenario::E2eScenario(E2eOptions o) : options(std::move(o)) {}

E2eScenario::~E2eScenario()
{
    driver.reset();
    RemoveFolders();
}

int E2eScenario::FirstPlayed(int mode) const { return std::min(options.start, LastLevel(mode)); }

int E2eScenario::LastPlayed(int mode) const
{
    return std::max(FirstPlayed(mode), std::min(options.levels, LastLevel(mode)));
}

int E2eScenario::LevelsAsked() const
{
    return LastPlayed(0) - FirstPlayed(0) + 1 + LastPlayed(2) - FirstPlayed(2) + 1 + 1;
}

void E2eScenario::Step(const std::string& text)
{
    std::printf("e2e: %s\n", text.c_str());
    std::fflush(stdout);
}

void E2eScenario::Fail(const std::string& text)
{
    ++failures;
    std::printf("e2e: FAIL: %s\n", text.c_str());
    std::fflush(stdout);
    if (driver)
        driver->Screenshot("failure");
}

void E2eScenario::Check(const std::vector<std::string>& problems)
{
    for (const std::string& p : problems)
        Fail(p);
}

void E2eScenario::CheckFiles() { Check(files->CheckPlayer(expected)); }

int E2eScenario::Run()
{
    auto started = std::chrono::steady_clock::now();
    Step("memory at the start: " + MemoryLine());
    if (PrepareFolders())
        Play();
    driver.reset();
    Step("memory at the end: " + MemoryLine());
    RemoveFolders();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("e2e: %d levels won through the screens, %d failures, %.1f s\n", wins, failures, seconds);
    std::fflush(stdout);
    return failures == 0 && wins == LevelsAsked() ? 0 : 1;
}

bool E2eScenario::PrepareFolders()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    // The game changes the working folder: every path is made absolute first.
    gameFolder = options.game.empty() ? (fs::path(ToolFolder()).parent_path() / "game").string()
                                      : fs::absolute(options.game, ec).string();
    if (!fs::exists(fs::path(gameFolder) / "properties" / "resources.xml")) {
        Fail("no generated game folder at " + gameFolder + " (build the assets or pass --game DIR)");
        return false;
    }
    if (!options.screenshots.empty()) {
        screenshotFolder = fs::absolute(options.screenshots, ec).string();
        fs::create_directories(screenshotFolder, ec);
    }
    if (!options.keepData.empty()) {
        baseFolder = fs::absolute(options.keepData, ec).string();
        fs::create_directories(baseFolder, ec);
    } else {
        std::string pattern = (fs::temp_directory_path(ec) / "korvelt-e2e-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            Fail("no temporary folder could be made");
            return false;
        }
        baseFolder = pattern;
        removeBase = true;
    }
    ::setenv("XDG_CONFIG_HOME", (baseFolder + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (baseFolder + "/data").c_str(), 1);
    // Headless unless the caller chose a driver (an X server, say).
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    files = std::make_unique<DataFileCheck>(DataFolder::Locate());
    expected.name = W(kPlayerName);
    if (!FileUtil::WriteFileAtomic(files->Folder() + "stats.dat", kDamagedStatistics)) {
        Fail("the damaged statistics file could not be planted in " + files->Folder());
        return false;
    }
    Step("game folder " + gameFolder + ", data folder " + files->Folder() + ", seed " +
         std::to_string(options.seed) + (options.realtime ? ", real time" : ", virtual time"));
    return true;
}

void E2eScenario::RemoveFolders()
{
    if (!removeBase || baseFolder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(baseFolder, ec);
    baseFolder.clear();
}

bool E2eScenario::StartGame(const std::string& run)
{
    ++runs;
    Step("starting the game (" + run + ")");
    if (!options.realtime && !clock)
        clock = std::make_unique<VirtualClock>();
    ScreenDriver::Settings s;
    s.gameFolder = gameFolder;
    s.instanceFolder = baseFolder;
    s.screenshotFolder = screenshotFolder;
    s.clock = clock.get();
    s.verbose = options.verbose;
    if (!options.record.empty())
        s.demoFile = options.record + "-" + std::to_string(runs) + ".dmo";
    driver = std::make_unique<ScreenDriver>(s);
    std::string error;
    if (!driver->Start(error)) {
        Fail("the game did not start: " + error);
        return false;
    }
    // The game seeded the generator from the clock in Initialize; a
    // recording keeps that seed, so it must stay.
    if (options.record.empty())
        std::srand(options.seed + static_cast<unsigned>(runs) - 1);
    return true;
}

bool E2eScenario::Play()
{
    int dragLevels = LastPlayed(0);
    int clickLevels = LastPlayed(2);
    if (!StartGame("first run") || !ReachMainMenu(true))
        return false;
    StandardAnswers();
    if (!SetStartProgress(0) || !StartModeFromMenu(0, FirstPlayed(0) > 1) ||
        !PlayLevels(0, FirstPlayed(0), dragLevels))
        return false;
    if (dragLevels < LastLevel(0) && !LeaveMapForMainMenu(0))
        return false;
    if (!SetStartProgress(2) || !StartModeFromMenu(2, FirstPlayed(2) > 1) ||
        !PlayLevels(2, FirstPlayed(2), clickLevels))
        return false;
    if (clickLevels < LastLevel(2)) {
        // On to the next level from the map, which is left through the
        // in-game menu with the game saved.
        Step("map: \"Играть\" for level " + std::to_string(clickLevels + 1));
        if (!driver->Click(driver->App().GetMapScreen()->playButton.get(), "the map's \"Играть\""))
            return Fail("the map's \"Играть\" could not be clicked"), false;
    } else if (!StartModeFromMenu(2, false)) {
        return false;
    }
    if (!SaveLevelAndQuit(2))
        return false;
    if (!StartGame("second run, same data") || !ReachMainMenu(false))
        return false;
    StandardAnswers();
    if (!ContinueSavedLevel(2))
        return false;
    QuitFromMainMenu();
    return true;
}

bool E2eScenario::SetStartProgress(int mode)
{
    if (FirstPlayed(mode) == 1)
        return true;
    // A player who has come this far: the mode's progress and the
    // reshuffles asked for, written the way the game writes its players.
    PlayerProfile* profile = driver->App().CurrentProfile();
    if (profile == nullptr)
        return Fail("no current player to set the progress of"), false;
    (mode == 0 ? profile->levelMode0 : profile->levelMode2) = FirstPlayed(mode);
    profile->shufflesLeft = options.shuffles;
    driver->App().SavePlayers();
    Level(mode) = FirstPlayed(mode);
    Step(ModeName(mode) + ": the player starts at level " + std::to_string(FirstPlayed(mode)) + " with " +
         std::to_string(options.shuffles) + " reshuffles");
    CheckFiles();
    return true;
}

void E2eScenario::StandardAnswers()
{
    // The questions the game asks inside a click: the confirmation of
    // leaving for the main menu, the end of the campaign, and the name for
    // the high-score table (the suggested name, the player's, is kept).
    ScreenDriver& d = *driver;
    d.AnswerModals({
        {DialogConfirm, [&d](Dialog& q) { d.PushClick(*q.yesButton); }},
        {DialogCampaignComplete,
         [&d](Dialog& q) {
             d.Screenshot("campaign-complete");
             d.PushClick(*q.yesButton);
         }},
        {DialogNameOrGameOver,
         [&d](Dialog& q) {
             if (dynamic_cast<DialogWithEdit*>(&q) != nullptr) {
                 d.Screenshot("high-score-name");
                 d.PushKey(Key::Return);
             }
         }},
    });
}

bool E2eScenario::ReachMainMenu(bool firstRun)
{
    GameApp& app = driver->App();
    // The virtual clock races ahead of the loading thread, which needs real
    // processor time: on a busy machine no number of updates is enough, so
    // the loading is waited for by the wall clock, a millisecond at a time.
    auto wallLimit = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!app.IsLoadingThreadDone() && driver->Running() && std::chrono::steady_clock::now() < wallLimit) {
        driver->Updates(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bool loaded = driver->WaitFor(
        [&] {
            return app.IsLoaded() && app.GetTitleScreen() != nullptr &&
                   app.GetTitleScreen()->GetStartLink() != nullptr && app.GetTitleScreen()->GetStartLink()->visible;
        },
        kLoadingUpdates);
    if (!loaded)
        return Fail(app.LoadingFailed() ? "loading the game failed" : "the start link never showed"), false;
    Step("title screen: loaded, clicking \"Начать игру\"");
    driver->Screenshot("title");
    bool askedName = false;
    bool toldDamage = false;
    driver->AnswerModals({{DialogFileNotice,
                           [this, &toldDamage](Dialog& q) {
                               toldDamage = true;
                               driver->Screenshot("damaged-statistics-notice");
                               driver->PushClick(*q.yesButton);
                           }},
                          {DialogNameOrGameOver, [this, &askedName](Dialog& q) {
                               auto* ask = dynamic_cast<DialogWithEdit*>(&q);
                               if (ask == nullptr)
                                   return;
                               askedName = true;
                               driver->Screenshot("player-name");
                               for (int i = 0; i < 16; ++i)
                                   driver->PushKey(Key::Backspace);
                               driver->PushText(kPlayerName);
                               driver->PushKey(Key::Return);
                           }}});
    if (!driver->Click(app.GetTitleScreen()->GetStartLink(), "\"Начать игру\""))
        return Fail("\"Начать игру\" could not be clicked"), false;
    bool menu = driver->WaitFor([&] { return app.IsScreenShown(app.GetMainMenu()) && driver->TopDialog() == nullptr; },
                                kScreenUpdates);
    driver->AnswerModals({});
    if (!menu)
        return Fail("the main menu did not come up after \"Начать игру\""), false;
    if (askedName != firstRun)
        Fail(firstRun ? "the first run did not ask for the player's name"
                      : "the second run asked for a player's name again");
    if (toldDamage != firstRun)
        Fail(firstRun ? "the damaged statistics file was not told on screen"
                      : "the second run told of a damaged file");
    if (firstRun)
        Check(files->CheckDamagedStatisticsKept(kDamagedStatistics));
    Step(std::string("main menu: welcome, ") + Cp1251ToUtf8(app.CurrentPlayerName()));
    driver->Screenshot(firstRun ? "main-menu-first-run" : "main-menu-second-run");
    if (app.CurrentPlayerName() != expected.name)
        Fail("the current player is \"" + Cp1251ToUtf8(app.CurrentPlayerName()) + "\", expected \"" + kPlayerName + "\"");
    CheckFiles();
    return true;
}

bool E2eScenario::StartModeFromMenu(int mode, bool expectContinue)
{
    GameApp& app = driver->App();
    const char* label = mode == 0 ? "Двусторонняя игра" : "Односторонняя игра";
    Step("main menu: \"" + std::string(label) + "\" (" + ModeName(mode) + ")");
    if (!driver->Click(driver->FindButtonOnScreen(label), std::string("\"") + label + "\""))
        return Fail(std::string("the main menu's \"") + label + "\" could not be clicked"), false;
    bool asked = driver->WaitFor([&] { return driver->FindDialog(DialogContinue) != nullptr; }, 20);
    if (asked != expectContinue)
        Fail(expectContinue ? "no continue dialog for a player with a saved game"
                            : "a continue dialog for a player with no progress in " + ModeName(mode));
    if (asked) {
        driver->Screenshot("continue-dialog");
        Step("continue dialog: \"Продолжить\"");
        if (!driver->Click(driver->FindButtonOnScreen("Продолжить"), "the continue dialog's \"Продолжить\""))
            return Fail("the continue dialog's \"Продолжить\" could not be clicked"), false;
    }
    auto boardOrMap = [&] { return app.IsScreenShown(app.GetBoardPanel()) || app.IsScreenShown(app.GetMapScreen()); };
    if (!driver->WaitFor(boardOrMap, kScreenUpdates))
        return Fail("neither the board nor the map came up for " + ModeName(mode)), false;
    if (app.IsScreenShown(app.GetMapScreen())) {
        // Progress without a saved game continues on the map.
        driver->Updates(400); // the map's scroll and stage animations
        Step("map: \"Играть\" for level " + std::to_string(app.GetMapScreen()->selectedLevel));
        if (!driver->Click(app.GetMapScreen()->playButton.get(), "the map's \"Играть\""))
            return Fail("the map's \"Играть\" could not be clicked"), false;
        if (!driver->WaitFor([&] { return app.IsScreenShown(app.GetBoardPanel()); }, kScreenUpdates))
            return Fail("\"Играть\" on the map did not bring up the board"), false;
    }
    if (app.GetBoard()->field->mode != PlayModeOf(mode))
        Fail("the board plays mode " + std::to_string(StoredMode(app.GetBoard()->field->mode)) + ", expected " +
             ModeName(mode));
    if (!asked) {
        // A new game from the menu starts the mode's score afresh.
        Score(mode) = 0;
        CheckFiles();
    }
    return true;
}

bool E2eScenario::PlayLevels(int mode, int first, int last)
{
    GameApp& app = driver->App();
    for (int level = first; level <= last; ++level) {
        if (level > first) {
            Step("map: \"Играть\" for level " + std::to_string(level));
            if (!driver->Click(app.GetMapScreen()->playButton.get(), "the map's \"Играть\""))
                return Fail("the map's \"Играть\" could not be clicked"), false;
            if (!driver->WaitFor([&] { return app.IsScreenShown(app.GetBoardPanel()); }, kScreenUpdates))
                return Fail("\"Играть\" on the map did not bring up the board"), false;
        }
        if (!WinLevel(mode, level) || !LeaveWonDialog(mode, level))
            return false;
    }
    return true;
}

bool E2eScenario::WinLevel(int mode, int level)
{
    Board& board = *driver->App().GetBoard();
    if (board.field->level.number != level)
        Fail(ModeName(mode) + ": the board shows level " + std::to_string(board.field->level.number) + ", expected " +
             std::to_string(level));
    driver->Screenshot(ModeName(mode).substr(0, ModeName(mode).find(' ')) + "-level-" + std::to_string(level));
    ScreenPlayer player(*driver, options.verbose);
    std::string error;
    int startUpdate = driver->UpdateCount();
    if (!player.PlayLevel(error))
        return Fail(ModeName(mode) + " level " + std::to_string(level) + ": " + error), false;
    ++wins;
    int score = board.field->Score();
    Step(ModeName(mode) + " level " + std::to_string(level) + " won: score " + std::to_string(score) + ", " +
         std::to_string((driver->UpdateCount() - startUpdate) / 100) + " s of play, " +
         std::to_string(player.Replays()) + " replays, " + std::to_string(player.Reshuffles()) + " reshuffles, " +
         std::to_string(board.field->ShufflesLeft()) + " left");
    driver->Screenshot(ModeName(mode).substr(0, ModeName(mode).find(' ')) + "-level-" + std::to_string(level) +
                       "-won");
    wonPoints = score - Score(mode);
    // The win is saved at once: the next level and the running score, and
    // the level's own points, the win and the losses before it in the
    // statistics.
    lastReplays = player.Replays();
    DataFileCheck::ModeFigures& f = Figures(mode);
    ++f.won;
    f.lost += player.Losses();
    f.bestScores[level] = std::max(f.bestScores[level], wonPoints);
    Level(mode) = level + 1;
    Score(mode) = score;
    CheckFiles();
    Check(files->CheckStatistics(expected.name, mode, f));
    return true;
}

bool E2eScenario::LeaveWonDialog(int mode, int level)
{
    GameApp& app = driver->App();
    Dialog* won = driver->FindDialog(DialogLevelWon);
    if (won == nullptr || !won->yesButton)
        return Fail("no level-won dialog with a button after the win"), false;
    bool campaignEnd = level >= LastLevel(mode);
    bool qualified = files->Qualifies(mode, Score(mode));
    int finalScore = Score(mode);
    // The summary shows the level's own points and a rating of the
    // shipped thresholds: every campaign level has them.
    auto* summary = dynamic_cast<LevelSummaryWnd*>(won);
    if (summary == nullptr)
        return Fail("the level-won dialog is no level summary"), false;
    const LevelResult& result = summary->Result();
    if (result.score != wonPoints || result.level != level || result.stars < 1 || result.stars > 3)
        Fail("the summary shows level " + std::to_string(result.level) + ", " + std::to_string(result.score) +
             " points and " + std::to_string(result.stars) + " stars; expected level " + std::to_string(level) +
             ", " + std::to_string(wonPoints) + " points and 1 to 3 stars");
    Step("summary: " + std::to_string(result.score) + " points, " + std::to_string(result.stars) + " stars, " +
         std::to_string(result.moves) + " moves, best combo x" + std::to_string(result.bestCombo) + ", best " +
         std::to_string(summary->PersonalBest()));
    Step(std::string("level-won dialog: \"") + Cp1251ToUtf8(won->yesButton->label) + "\"");
    if (!driver->Click(won->yesButton.get(), "the level-won dialog's button"))
        return Fail("the level-won dialog's button could not be clicked"), false;
    if (campaignEnd) {
        // The last level: the campaign-complete window, the high-score
        // entry and the main menu, with the mode's progress reset.
        if (!driver->WaitFor([&] { return app.IsScreenShown(app.GetMainMenu()); }, kScreenUpdates))
            return Fail("the end of the " + ModeName(mode) + " campaign did not lead to the main menu"), false;
        Step(ModeName(mode) + " campaign complete: back in the main menu");
        Level(mode) = 1;
        Score(mode) = 0;
        if (!CheckHighScoreEntry(mode, finalScore, qualified))
            return false;
        CheckFiles();
        Check(files->CheckSavedGame(expected.name, mode, false));
        return true;
    }
    if (!driver->WaitFor([&] { return app.IsScreenShown(app.GetMapScreen()); }, kScreenUpdates))
        return Fail("the level-won dialog did not lead to the map"), false;
    driver->Updates(400); // the map's scroll and stage animations
    MapWnd& map = *app.GetMapScreen();
    Step("map: level " + std::to_string(map.selectedLevel) + " selected, stage " + std::to_string(map.selectedStage + 1));
    driver->Screenshot(ModeName(mode).substr(0, ModeName(mode).find(' ')) + "-map-after-level-" + std::to_string(level));
    if (map.selectedLevel != level + 1)
        Fail("the map selects level " + std::to_string(map.selectedLevel) + ", expected " + std::to_string(level + 1));
    CheckFiles();
    return true;
}

bool E2eScenario::LeaveMapForMainMenu(int mode)
{
    GameApp& app = driver->App();
    bool qualified = files->Qualifies(mode, Score(mode));
    Step("map: \"Главное меню\"");
    if (!driver->Click(app.GetMapScreen()->mainMenuButton.get(), "the map's \"Главное меню\""))
        return Fail("the map's \"Главное меню\" could not be clicked"), false;
    if (!driver->WaitFor([&] { return app.IsScreenShown(app.GetMainMenu()); }, kScreenUpdates))
        return Fail("the map's \"Главное меню\" did not lead to the main menu"), false;
    if (!CheckHighScoreEntry(mode, Score(mode), qualified))
        return false;
    CheckFiles();
    // Leaving from the map keeps no saved game of the mode.
    Check(files->CheckSavedGame(expected.name, mode, false));
    return true;
}

bool E2eScenario::CheckHighScoreEntry(int mode, int score, bool qualified)
{
    Dialog* table = driver->FindDialog(DialogHighScores);
    if (qualified != (table != nullptr))
        Fail(qualified ? "no high-score window for a qualifying score of " + std::to_string(score)
                       : "a high-score window for a score of " + std::to_string(score) + " that does not qualify");
    if (table != nullptr) {
        Step("high-score window: " + ModeName(mode) + " score " + std::to_string(score) + " entered");
        driver->Screenshot("high-scores");
        if (!driver->Click(ScreenDriver::FindButton(table, "Ok"), "the high-score window's \"Ok\""))
            return Fail("the high-score window's \"Ok\" could not be clicked"), false;
        if (!driver->WaitFor([&] { return driver->FindDialog(DialogHighScores) == nullptr; }, 200))
            return Fail("the high-score window did not close"), false;
    }
    Check(files->CheckHighScore(mode, expected.name, score, qualified));
    return true;
}

bool E2eScenario::SaveLevelAndQuit(int mode)
{
    GameApp& app = driver->App();
    Board& board = *app.GetBoard();
    int level = Level(mode);
    if (board.field->level.number != level)
        Fail("the level to save is " + std::to_string(board.field->level.number) + ", expected " + std::to_string(level));
    ScreenPlayer player(*driver, options.verbose);
    int moved = player.MakeMoves(4);
    driver->Updates(300); // the last tiles settle on the line
    if (driver->FindDialog(DialogLevelWon) != nullptr || driver->TopDialog() != nullptr)
        return Fail("a dialog came up while making the moves before saving"), false;
    savedLevel = board.field->level.number;
    savedScore = board.field->Score();
    savedFishCount = board.field->FishCount();
    savedEnds[0] = board.playLine->LeftPutValue();
    savedEnds[1] = board.playLine->RightPutValue();
    savedSeconds = board.rules->tally.Seconds();
    Step(ModeName(mode) + " level " + std::to_string(level) + ": " + std::to_string(moved) + " tiles put, score " +
         std::to_string(savedScore) + ", " + std::to_string(savedFishCount) + " tiles left; Escape");
    if (moved == 0)
        Fail("no tile could be put before saving the level");
    driver->Screenshot("before-saving");
    driver->Key(Key::Escape);
    if (!driver->WaitFor([&] { return driver->FindDialog(DialogMenu) != nullptr; }, 200))
        return Fail("Escape did not open the in-game menu"), false;
    driver->Screenshot("in-game-menu");
    bool qualified = files->Qualifies(mode, Score(mode));
    Step("in-game menu: \"Главное меню\"");
    if (!driver->Click(driver->FindButtonOnScreen("Главное меню"), "the in-game menu's \"Главное меню\""))
        return Fail("the in-game menu's \"Главное меню\" could not be clicked"), false;
    if (!driver->WaitFor([&] { return app.IsScreenShown(app.GetMainMenu()); }, kScreenUpdates))
        return Fail("the in-game menu's \"Главное меню\" did not lead to the main menu"), false;
    // A level was won in this session: the mode's score goes to the table.
    if (!CheckHighScoreEntry(mode, Score(mode), qualified))
        return false;
    CheckFiles();
    Check(files->CheckSavedGame(expected.name, mode, true));
    QuitFromMainMenu();
    return true;
}

void E2eScenario::QuitFromMainMenu()
{
    Step("main menu: \"Выход\"");
    driver->Screenshot("main-menu-before-exit");
    if (!driver->Click(driver->FindButtonOnScreen("Выход"), "the main menu's \"Выход\""))
        Fail("the main menu's \"Выход\" could not be clicked");
    else if (!driver->WaitFor([&] { return !driver->Running(); }, 200))
        Fail("\"Выход\" did not end the game");
    if (driver->StuckInModal())
        Fail("the game sat in an unanswered question");
    driver.reset();
    // Quitting writes nothing new: the files still say the same.
    CheckFiles();
}

bool E2eScenario::ContinueSavedLevel(int mode)
{
    GameApp& app = driver->App();
    if (!StartModeFromMenu(mode, true))
        return false;
    Board& board = *app.GetBoard();
    driver->WaitFor([&] { return !board.field->Loading() && !board.deck->dealing; }, kScreenUpdates);
    driver->Updates(100); // the line's two tiles glide to their places
    driver->Screenshot("continued");
    Step("continued: level " + std::to_string(board.field->level.number) + ", score " +
         std::to_string(board.field->Score()) + ", " + std::to_string(board.field->FishCount()) + " tiles left");
    if (board.field->level.number != savedLevel || board.field->Score() != savedScore ||
        board.field->FishCount() != savedFishCount)
        Fail("the continued board is not the one saved: level " + std::to_string(board.field->level.number) + " (saved " +
             std::to_string(savedLevel) + "), score " + std::to_string(board.field->Score()) + " (saved " +
             std::to_string(savedScore) + "), tiles " + std::to_string(board.field->FishCount()) + " (saved " +
             std::to_string(savedFishCount) + ")");
    if (board.playLine->LeftPutValue() != savedEnds[0] || board.playLine->RightPutValue() != savedEnds[1])
        Fail("the continued play line takes " + std::to_string(board.playLine->LeftPutValue()) + " and " +
             std::to_string(board.playLine->RightPutValue()) + ", saved " + std::to_string(savedEnds[0]) + " and " +
             std::to_string(savedEnds[1]));
    if (!WinLevel(mode, savedLevel))
        return false;
    // The level's time went on from where it was saved (a replay starts
    // it again from naught).
    const LevelResult& result = app.LastLevelResult();
    int before = lastReplays == 0 ? savedSeconds : 0;
    if (result.level != savedLevel || result.seconds < before || result.seconds < 1)
        Fail("the continued level was counted as level " + std::to_string(result.level) + " of " +
             std::to_string(result.seconds) + " s; saved at level " + std::to_string(savedLevel) + " after " +
             std::to_string(savedSeconds) + " s");
    else
        Step("continued level's time: " + std::to_string(result.seconds) + " s, " + std::to_string(before) +
             " s of them before the save");
    // Won, the continued level's saved game is done with at once.
    Check(files->CheckSavedGame(expected.name, mode, false));
    if (!LeaveWonDialog(mode, savedLevel))
        return false;
    if (savedLevel < LastLevel(mode) && !LeaveMapForMainMenu(mode))
        return false;
    return true;
}
