#include "tools/e2e/DataFileCheck.h"

#include "framework/core/Cp1251.h"
#include "game/app/profiles/HighScoreTable.h"
#include "framework/core/FileUtil.h"
#include "game/app/profiles/PlayerList.h"
#include "game/app/profiles/StatisticsStore.h"
#include "game/app/saves/SavedGameFiles.h"

#include <filesystem>

using namespace Zorvin;

namespace {
std::string ModeName(int mode) { return mode == 0 ? "drag mode" : "click mode"; }

void Compare(std::vector<std::string>& out, const std::string& what, int got, int want)
{
    if (got != want)
        out.push_back("players.dat: " + what + " is " + std::to_string(got) + ", expected " + std::to_string(want));
}
} // namespace

std::vector<std::string> DataFileCheck::CheckPlayer(const Player& expected) const
{
    std::vector<std::string> out;
    PlayerList players(folder);
    if (!std::filesystem::exists(players.FilePath())) {
        out.push_back("players.dat is missing from " + folder);
        return out;
    }
    players.LoadPlayers();
    if (players.Count() != 1) {
        out.push_back("players.dat holds " + std::to_string(players.Count()) + " players, expected 1");
        if (players.Count() == 0)
            return out;
    }
    PlayerProfile* p = players.CurrentProfile();
    if (p == nullptr) {
        out.push_back("players.dat has no current player");
        return out;
    }
    if (p->name != expected.name)
        out.push_back("players.dat: the player is \"" + Cp1251ToUtf8(p->name) + "\", expected \"" +
                      Cp1251ToUtf8(expected.name) + "\"");
    Compare(out, "the drag-mode level", p->levelMode0, expected.dragLevel);
    Compare(out, "the drag-mode score", p->scoreMode0, expected.dragScore);
    Compare(out, "the click-mode level", p->levelMode2, expected.clickLevel);
    Compare(out, "the click-mode score", p->scoreMode2, expected.clickScore);
    return out;
}

std::vector<std::string> DataFileCheck::CheckHighScore(int mode, const std::string& name, int score,
                                                       bool present) const
{
    std::vector<std::string> out;
    HighScoreTable table(folder);
    if (!std::filesystem::exists(table.FilePath())) {
        if (present)
            out.push_back("highscores.dat is missing, expected " + ModeName(mode) + " row \"" + Cp1251ToUtf8(name) +
                          "\" " + std::to_string(score));
        return out;
    }
    table.LoadHighScores();
    bool found = false;
    for (const HighScoreEntry& e : table.TableFor(mode))
        found = found || (e.name == name && e.score == score);
    if (present && !found)
        out.push_back("highscores.dat: no " + ModeName(mode) + " row \"" + Cp1251ToUtf8(name) + "\" " +
                      std::to_string(score));
    if (!present && found)
        out.push_back("highscores.dat: an unexpected " + ModeName(mode) + " row \"" + Cp1251ToUtf8(name) + "\" " +
                      std::to_string(score));
    return out;
}

bool DataFileCheck::Qualifies(int mode, int score) const
{
    HighScoreTable table(folder);
    table.LoadHighScores();
    return table.Qualifies(mode, score);
}

std::vector<std::string> DataFileCheck::CheckSavedGame(const std::string& name, int mode, bool present) const
{
    std::vector<std::string> out;
    SavedGameFiles saves(folder);
    if (saves.Exists(name, mode) != present)
        out.push_back("the " + ModeName(mode) + " saved game " + saves.PathFor(name, mode) +
                      (present ? " is missing" : " should not exist"));
    return out;
}

std::vector<std::string> DataFileCheck::CheckStatistics(const std::string& name, int mode,
                                                       const ModeFigures& expected) const
{
    std::vector<std::string> out;
    std::string bytes;
    StatisticsStore store(folder);
    // Read as bytes: a damaged file must be reported, not set aside here.
    if (!FileUtil::ReadFile(store.FilePath(), bytes) || !store.Decode(bytes)) {
        out.push_back("stats.dat is missing or unreadable in " + folder);
        return out;
    }
    const PlayerStatistics* player = store.Find(name);
    if (player == nullptr) {
        out.push_back("stats.dat has no figures for \"" + Cp1251ToUtf8(name) + "\"");
        return out;
    }
    const ModeStatistics& figures = player->Mode(PlayModeOf(mode));
    auto compare = [&](const std::string& what, int got, int want) {
        if (got != want)
            out.push_back("stats.dat: " + ModeName(mode) + " " + what + " is " + std::to_string(got) + ", expected " +
                          std::to_string(want));
    };
    compare("levels won", figures.Won(), expected.won);
    compare("levels lost", figures.Lost(), expected.lost);
    compare("levels with a best score", static_cast<int>(figures.Levels().size()),
            static_cast<int>(expected.bestScores.size()));
    for (const auto& [level, score] : expected.bestScores)
        compare("best score of level " + std::to_string(level), figures.BestScore(level), score);
    if (figures.Won() > 0 && figures.BestCombo() < 1)
        out.push_back("stats.dat: " + ModeName(mode) + " has wins but no best combo");
    return out;
}

std::vector<std::string> DataFileCheck::CheckDamagedStatisticsKept(const std::string& damaged) const
{
    std::vector<std::string> out;
    StatisticsStore empty(folder);
    std::string kept, now;
    if (!FileUtil::ReadFile(empty.FilePath() + ".bad", kept) || kept != damaged)
        out.push_back("the damaged stats.dat was not kept whole as stats.dat.bad");
    if (!FileUtil::ReadFile(empty.FilePath(), now) || now != empty.Encode())
        out.push_back("the damaged stats.dat was not replaced by empty statistics");
    return out;
}
