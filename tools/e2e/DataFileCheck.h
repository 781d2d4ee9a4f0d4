#pragma once

// DataFileCheck: reads what the game wrote to its data folder with the
// game's own readers (PlayerList for "players.dat", HighScoreTable for
// "highscores.dat", SavedGameFiles for the saved games, StatisticsStore for
// "stats.dat") and compares it with
// what the end-to-end player expects after a step. Each mismatch comes back
// as one readable line; no lines means the files are as expected. The
// scenario owns one for the data folder of its run.

#include <map>
#include <string>
#include <vector>

class DataFileCheck {
public:
    // The data folder, with its trailing "/".
    explicit DataFileCheck(std::string dataFolder) : folder(std::move(dataFolder)) {}

    // What the players file must hold: one player, current, with this
    // progress (names in Windows-1251).
    struct Player {
        std::string name;
        int dragLevel = 1;
        int dragScore = 0;
        int clickLevel = 1;
        int clickScore = 0;
    };
    std::vector<std::string> CheckPlayer(const Player& expected) const;
    // The high-score table of `mode` (0 drag, 2 click) holds the row
    // {name, score} exactly when `present`.
    std::vector<std::string> CheckHighScore(int mode, const std::string& name, int score, bool present) const;
    // Whether the table of `mode` would take `score` (not below its last row).
    bool Qualifies(int mode, int score) const;
    // The saved game of the player in `mode` exists exactly when `present`.
    std::vector<std::string> CheckSavedGame(const std::string& name, int mode, bool present) const;

    // What the statistics file must hold for the player in one mode: the
    // levels won and lost, and the best score of each level won.
    struct ModeFigures {
        int won = 0;
        int lost = 0;
        std::map<int, int> bestScores;
    };
    std::vector<std::string> CheckStatistics(const std::string& name, int mode, const ModeFigures& expected) const;
    // A damaged statistics file found at start-up was kept whole beside the
    // new one ("stats.dat.bad") and replaced by empty statistics.
    std::vector<std::string> CheckDamagedStatisticsKept(const std::string& damaged) const;

    const std::string& Folder() const { return folder; }

private:
    std::string folder;
};
