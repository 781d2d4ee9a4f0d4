#pragma once

// E2eScenario: the end-to-end run of korvelt-e2e. It plays the real game
// through its screens as a new player would: the first-run name question,
// the main menu, the levels of drag mode won one after another with the
// level-won dialog and the map between them, back to the main menu from the
// map, the levels of click mode, a level left through the in-game menu (the
// game is saved) and the game quit from the main menu; then a new game
// application on the same data continues the saved level from the main
// menu, checks that it is the same board and wins it. After each step the
// players, the high scores, the saved games and the statistics on disk are
// checked; a damaged statistics file planted before the first run must be
// kept aside, the player told. main
// owns it; it owns the drivers of the two runs of the game.

#include "tools/e2e/DataFileCheck.h"
#include "tools/e2e/E2eOptions.h"
#include "tools/e2e/ScreenDriver.h"
#include "tools/e2e/VirtualClock.h"

#include <memory>
#include <string>
#include <vector>

class E2eScenario {
public:
    explicit E2eScenario(E2eOptions options);
    ~E2eScenario();

    // Runs everything and prints the progress and the closing line; returns
    // the process exit code.
    int Run();

    int Wins() const { return wins; }
    int Failures() const { return failures; }
    // The levels the run must win: those of both modes and the continued one.
    int LevelsAsked() const;

private:
    // The whole sequence; false when a step failed so that the rest cannot
    // follow.
    bool Play();
    bool PrepareFolders();
    void RemoveFolders();
    bool StartGame(const std::string& run);
    void QuitFromMainMenu();
    bool ReachMainMenu(bool firstRun);
    // With a first level above 1: the player's progress in `mode` and its
    // reshuffles are set as asked before the mode is started.
    bool SetStartProgress(int mode);
    bool StartModeFromMenu(int mode, bool expectContinue);
    // Wins levels `first`..`last` of the mode; afterwards the map is shown,
    // or the main menu when the last level of the campaign was won.
    bool PlayLevels(int mode, int first, int last);
    bool WinLevel(int mode, int level);
    bool LeaveWonDialog(int mode, int level);
    bool LeaveMapForMainMenu(int mode);
    // After a return to the main menu with a won level: the high-score
    // entry of the mode's score, then the high-score window is closed.
    bool CheckHighScoreEntry(int mode, int score, bool qualified);
    bool SaveLevelAndQuit(int mode);
    bool ContinueSavedLevel(int mode);
    void StandardAnswers();

    void Step(const std::string& text);
    void Fail(const std::string& text);
    void Check(const std::vector<std::string>& problems);
    void CheckFiles();
    int& Level(int mode) { return mode == 0 ? expected.dragLevel : expected.clickLevel; }
    int& Score(int mode) { return mode == 0 ? expected.dragScore : expected.clickScore; }
    DataFileCheck::ModeFigures& Figures(int mode) { return figures[mode == 0 ? 0 : 1]; }
    // The first and the last level the run plays in `mode`.
    int FirstPlayed(int mode) const;
    int LastPlayed(int mode) const;
    static int LastLevel(int mode) { return mode == 0 ? 50 : 60; }
    static std::string ModeName(int mode) { return mode == 0 ? "drag mode" : "click mode"; }

    E2eOptions options;
    std::string baseFolder;   // the settings and data live below it
    bool removeBase = false;
    std::string gameFolder;
    std::string screenshotFolder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<ScreenDriver> driver;
    std::unique_ptr<DataFileCheck> files;
    DataFileCheck::Player expected;
    // What the statistics file must say, drag mode then click mode.
    DataFileCheck::ModeFigures figures[2];
    int runs = 0;
    int wins = 0;
    // The points of the level just won, which its summary must show.
    int wonPoints = 0;
    int failures = 0;
    // The board left through the in-game menu, to compare after continuing.
    int savedLevel = 0, savedScore = 0, savedFishCount = 0;
    int savedEnds[2] = {0, 0}; // the values the play line's two ends take
    int savedSeconds = 0;      // the level's game time when it was saved
    int lastReplays = 0;       // the replays the last level won took
};
