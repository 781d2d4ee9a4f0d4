#pragma once

// GameApp: Korvelt's one application object. It fixes the product's
// identity, loads the resource manifest in its three groups ("Init" and
// "TitleScreen" at start-up, "Game" on the loading thread), starts the six
// songs, and owns every screen: the title and loading screen, the main
// menu, the board with its panel and the tip balloon, plus the players,
// the high scores and the saved games. Exactly one screen is in the widget
// manager at a time; dialogs open above it under fixed numbers and are
// owned by the application base. The entry point constructs it, calls
// Initialize and Run, then destroys it, and ends the process with
// GetExitCode() (0 after a normal shutdown, non-zero after a fatal error).
//
// It is also the host of the game's dialogs (GameDialogHost), of the title
// screen (TitleScreenHost), the main menu (MainMenuHost) and the map screen
// (MapHost); the board reaches it through AppBoardHost.
//
// Its code is split by concern:
//   GameApp.cpp         identity, start-up, loading, fatal errors, shutdown
//   GameAppScreens.cpp  the screen flow: main menu, game, map, campaign end
//   GameAppPlayers.cpp  players, high scores, saved games, dialogs

#include "framework/app/ZorvinAppBase.h"
#include "game/app/dialogs/AppDialogHost.h"
#include "game/app/profiles/LevelResult.h"
#include "game/app/screens/MainMenuHost.h"
#include "game/app/screens/MapHost.h"
#include "game/app/screens/TitleScreenHost.h"
#include "game/shared/DialogIds.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace Zorvin {

class AppBoardHost;
class AppPlayerDialogHost;
class Board;
class BoardInterface;
class FileNotices;
class HighScoreTable;
class HintWnd;
class LevelStars;
class MapWnd;
class Image;
class PlayerList;
class PlayerStatistics;
class SavedGameFiles;
class StatisticsStore;
class TitleScreen;
class TitleWnd;

class GameApp : public ZorvinAppBase,
                public AppDialogHost,
                public TitleScreenHost,
                public MainMenuHost,
                public MapHost {
public:
    // Songs 0-5; levels pick 1, 2, 4 or 5 themselves.
    static constexpr int SongTitle = 0;
    static constexpr int SongMap = 3;
    static constexpr int SongCount = 6;
    static constexpr double FadeStep = 0.002;

    GameApp();
    ~GameApp() override;

    // ZorvinAppBase.
    void Initialize() override;
    void LoadInBackground() override;
    void OnLoadingDone() override;
    void OnShutdown() override;
    void OnButtonDown(int id) override;
    void OnDialogButtonClick(int dialogId, int buttonId) override;
    std::unique_ptr<Dialog> MakeDialog(int id, bool modal, const std::string& header, const std::string& lines,
                                       const std::string& footer, int buttonMode) override;
    void OnAppFocusLost() override;
    void UpdateFrame() override;
    // F8 alone belongs to the level editor while a level is on screen; the
    // framework's 3D report keeps it everywhere else.
    bool DebugKeyDown(int key) override;
    bool TimedStep(bool allowSleep) override;
    void ShowFatalError(const std::string& text) override;
    void PresentScreen() override;
    bool OverrideWorkingFolder(const std::string& folder) override;
    using ZorvinAppBase::PlaySound;
    // Unbound sounds (below 0) are ignored.
    void PlaySound(int id) override;

    // TitleScreenHost.
    ResourceHost& GetImageLoader() override { return *this; }
    double LoadingProgress() override { return GetLoadingProgress(); }
    void OnTitleScreenDone(TitleScreen* screen, Widget* startLink) override;
    // Builds the board, its panel, the main menu and the tip balloon once,
    // shows the main menu and asks for the first player's name when there
    // is none.
    void CreateGameScreens();
    // The main menu's two mode buttons: a new game of mode 2 or 0, or the
    // offer to continue when the player has progress in it.
    void StartMode(PlayMode mode);
    void StartGame(bool clickMode) override { StartMode(clickMode ? PlayMode::Click : PlayMode::Drag); }
    // Shows the board and starts the current player's level of the mode.
    void ShowBoard(PlayMode mode);
    // After a won level: the map of the player's progress (the panel settles
    // the music and the end of the campaign first).
    void ShowMap() override;
    // Takes the level off the screen and shows the map entered at `level`.
    void ShowMapScreen(int level);
    // The board and its panel in place of the main menu, focus on the panel.
    void ShowBoardScreen() override;
    // The main menu in place of whatever screen is shown.
    void ShowMainMenu();
    void ExitToMainMenu(bool saveGame) override;
    void EndGameToMainMenu();
    void FinishCampaign();
    // The campaign-complete window's line: the mode's score and whether the
    // high-score table takes it (the entry is offered only then).
    std::string CampaignResultText();
    void OpenGameMenu();
    // Shows the tip balloon pointing near (x, y), clear of `keepClear`.
    void ShowHintWindow(int x, int y, const std::string& text, const std::vector<Rect>& keepClear = {});
    void HideHintWindow() override;
    // The level's windows the board asks for.
    // The level is lost: the game-over window. The loss is counted at once
    // when no reshuffle is left, otherwise when the player plays the level
    // again instead of reshuffling.
    void ShowGameOverWindow();
    void ShowHowToPlay(bool clickMode);
    // The main menu's dialogs, and its exit.
    void OpenChangePlayerDialog() override;
    void OpenOptionsDialog() override;
    void OpenHighScores() override;
    void OpenStatistics() override;
    void ExitGame() override { Shutdown(); }
    // Fades every song out and the given one in from its start, looping.
    void SwitchSong(int song);
    // A song the board started itself (a level's own music).
    void NoteSongPlaying(int song) { currentSong = song; }

    // MapHost.
    StageMap& GetStageMap() override;
    void PlayLevelFromMap() override;
    LevelBest BestOf(int level) override;

    // Players.
    PlayerProfile* CurrentProfile() override;
    std::string CurrentPlayerName() override;
    PlayerList& GetPlayers() { return *players; }
    HighScoreTable& GetHighScores() { return *highScores; }
    // The notices about the player's files waiting to be shown.
    FileNotices& GetFileNotices() { return *fileNotices; }
    const std::string& GetDataFolder() const { return dataFolder; }
    bool HasSavedGame(PlayMode mode);
    // The board cleared a level: a game saved in it is done with, and the
    // level's result is recorded (before the level-won dialog shows).
    void OnLevelWon();

    // Statistics. The store of every player, and the current player's
    // figures (null while there is no player).
    StatisticsStore& GetStatistics() { return *statistics; }
    PlayerStatistics* CurrentStatistics();
    // The level on the board as it stands, ended as `won` says: its number,
    // its own points, best combo, bonuses, moves and game time (stars 0).
    LevelResult BoardLevelResult(bool won) const;
    // Counts `r` in the current player's statistics of the board's mode and
    // writes them; returns the level's best score before it (0 when never
    // won), which LastPreviousBest also keeps for the summary.
    int RecordLevelResult(const LevelResult& r);
    // The last result recorded in this run, and the best it was measured
    // against.
    const LevelResult& LastLevelResult() const { return lastResult; }
    int LastPreviousBest() const { return lastPreviousBest; }
    // The levels' star thresholds (empty when the game folder has none).
    const LevelStars& GetLevelStars() const { return *levelStars; }
    // The summary of the level just won (dialog 101), under the board's
    // header and button label.
    void ShowLevelSummary(const std::string& header, const std::string& button);

    // GameDialogHost (the application's half comes from AppDialogHost).
    PlayerProfile* GetCurrentProfile() override;
    void SavePlayers() override;
    PlayMode GetBoardMode() override { return boardMode; }
    int GetShufflesLeft() override;
    void FocusBoard() override;
    void Restart() override;
    void Reshuffle() override;
    void SetBoardChanged() override;
    bool RestoreGame(PlayMode mode) override;
    void RemoveMainMenu() override;
    void StartLevel() override;
    AccelerationVerdict GetAccelerationVerdict() override;

    // For the screens, the tests and the developer keys.
    TitleScreen* GetTitleScreen() const { return titleScreen.get(); }
    TitleWnd* GetMainMenu() const { return mainMenu.get(); }
    Board* GetBoard() const { return board.get(); }
    BoardInterface* GetBoardPanel() const { return boardPanel.get(); }
    HintWnd* GetHintWindow() const { return hintWindow.get(); }
    MapWnd* GetMapScreen() const { return mapScreen.get(); }
    bool IsScreenShown(Widget* screen) const;
    bool LoadingFailed() const { return loadingFailed; }
    int CurrentSong() const { return currentSong; }

    // The folder the game runs in; empty means the one GameFolderLookup
    // finds.
    std::string gameFolder;
    // Milliseconds from process start to the first presented frame and to
    // the end of loading the "Game" group (-1 until reached).
    int firstFrameMs = -1;
    std::atomic<int> gameLoadedMs{-1};
    // The last name the first-player question returned ("" when none).
    std::string enteredName;
    // A level was won since the last game started from the main menu: going
    // back to the menu then offers the score for the high-score table.
    bool levelWonThisSession = false;

private:
    // Shows the error, marks the start-up failed and ends the run with a
    // non-zero exit code (the destructor still cleans up).
    void FailStartup(const std::string& text);
    bool LoadStartupGroups();
    // Loads songs firstSong to lastSong into the music player.
    void LoadMusic(int firstSong, int lastSong);
    void CreateProfileStore();
    void LoadProfiles();
    void SaveProfiles();
    void AskFirstPlayerName();
    void RemoveGameScreens();
    void DestroyScreens();
    void CreateHintWindow();
    void OpenContinueDialog();
    // Writes the level on the board as the player's saved game of its mode,
    // when it is the level the player is at and under way (not the editor's
    // field, a level still in its intro, nor one whose win is recorded).
    void SaveGameInProgress();
    void DeleteSavedGame(PlayMode mode);
    // The level file of the level the current player is at in `mode`.
    std::string PlayerLevelPath(PlayMode mode);
    void EnterHighScore();
    // Shows the oldest waiting notice about the player's files unless one is
    // on screen; with `wait`, until the player has answered it.
    void ShowFileNotice(bool wait);
    // Writes again what could not be written (players, high scores, saved
    // games).
    void RetryPendingWrites();
    static void CenterOnScreen(Widget* widget, Image* sizeFrom);
    // Where the campaign-complete window's line starts below the window's
    // content edge (its picture's own lines are above).
    static constexpr int kCampaignTextTop = 110;

    std::unique_ptr<AppBoardHost> boardHost;
    std::unique_ptr<TitleScreen> titleScreen;
    std::unique_ptr<Board> board;
    std::unique_ptr<BoardInterface> boardPanel;
    std::unique_ptr<TitleWnd> mainMenu;
    std::unique_ptr<HintWnd> hintWindow;
    std::unique_ptr<MapWnd> mapScreen;
    std::unique_ptr<PlayerList> players;
    std::unique_ptr<HighScoreTable> highScores;
    std::unique_ptr<SavedGameFiles> savedGames;
    std::unique_ptr<StatisticsStore> statistics;
    std::unique_ptr<FileNotices> fileNotices;
    std::unique_ptr<AppPlayerDialogHost> playerDialogHost;
    std::string dataFolder;
    // Why no game folder was found ("" when one was).
    std::string gameFolderError;
    PlayMode boardMode = PlayMode::Click;
    int currentSong = -1;
    // The update after which the loading display last drew.
    int lastLoadingDrawUpdate = -1;
    // The title song starts with the first update after the first frame.
    bool titleSongPending = false;
    // The players file is written back only once it has been read.
    bool playersLoaded = false;
    // The game-over window offered a reshuffle: the level counts as lost
    // once the player plays it again instead.
    bool lossPending = false;
    LevelResult lastResult;
    int lastPreviousBest = 0;
    std::unique_ptr<LevelStars> levelStars;
    // The win the summary shows, rated, and the best it was measured
    // against (also for a level of the editor, which is not recorded).
    LevelResult wonResult;
    int wonPreviousBest = 0;

    // Loading thread results, read on the primary thread once it is done.
    std::mutex loadErrorLock;
    std::string loadError;
    bool loadingFailed = false;
};

// Milliseconds since the process started (from the kernel's record, so it
// includes everything before main).
int MillisecondsSinceProcessStart();
// Processor time the whole process has used so far, all threads.
int ProcessorMilliseconds();

} // namespace Zorvin
