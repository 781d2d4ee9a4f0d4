// korvelt-levelcheck [--tune] [--deals N] [--mode drag|click] [--levels DIR]
//                    [--tuning FILE] [--docs FILE]
// Plays every level of the campaign with the headless player. With --tune
// it first searches each level's tile values and deck size for its target
// win rate and writes them to the tuning file; otherwise it plays the levels
// as designed with the tuned numbers. With --levels it also checks that the
// level files in DIR (a game's levels/ folder) are exactly the designed
// ones. Writes the level table to the docs file (and the difficulty curve
// beside it as levels-difficulty.png), and exits with 1 when a
// bound of the campaign is broken.

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/levels/DifficultyPlot.h"
#include "tools/assetgen/levels/LevelCheck.h"

using namespace Zorvin::AssetGen;

namespace {

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return false;
    std::stringstream ss;
    ss << f.rdbuf();
    text = ss.str();
    return true;
}

bool WriteFile(const std::string& path, const std::string& text)
{
    std::string temp = path + ".tmp";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        f << text;
        if (!f.flush())
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

int Usage()
{
    std::fprintf(stderr, "usage: korvelt-levelcheck [--tune] [--deals N] [--mode drag|click] [--levels DIR] "
                         "[--tuning FILE] [--docs FILE]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool tune = false;
    int deals = 200;
    std::vector<int> modes{kDragMode, kClickMode};
    std::string levelsDir, tuningFile, docsFile;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--tune")
            tune = true;
        else if (a == "--deals" && hasValue)
            deals = std::max(1, std::atoi(argv[++i]));
        else if (a == "--mode" && hasValue) {
            std::string m = argv[++i];
            if (m == "drag")
                modes = {kDragMode};
            else if (m == "click")
                modes = {kClickMode};
            else
                return Usage();
        } else if (a == "--levels" && hasValue)
            levelsDir = argv[++i];
        else if (a == "--tuning" && hasValue)
            tuningFile = argv[++i];
        else if (a == "--docs" && hasValue)
            docsFile = argv[++i];
        else
            return Usage();
    }

    std::error_code ec;
    std::filesystem::path scratch = std::filesystem::temp_directory_path(ec) /
                                    ("korvelt-levelcheck-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch, ec);
    int failures = 0;
    std::vector<CheckedLevel> levels;
    int total = 0, done = 0;
    for (int mode : modes)
        total += CampaignLength(mode);
    for (int mode : modes) {
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            CheckedLevel level;
            std::string error;
            std::string name = LevelFolder(mode) + "/Level" + std::to_string(n) + ".xml";
            // Progress on the error stream, so a long run shows where it is
            // while the table on the output stays clean.
            std::fprintf(stderr, "[%3d/%d] %s %s", ++done, total, tune ? "tuning" : "playing", name.c_str());
            std::fflush(stderr);
            auto dot = [] {
                std::fputc('.', stderr);
                std::fflush(stderr);
            };
            bool ok = tune ? TuneLevel(mode, n, deals, scratch.string(), level, error, dot)
                           : CheckLevel(mode, n, deals, scratch.string(), level, error);
            std::fputc('\n', stderr);
            if (ok && !levelsDir.empty()) {
                // The shipped file must be the design that was just played.
                std::string designed = (scratch / "designed.xml").string(), a, b;
                ok = WriteLevelPlan(level.plan, designed, error) && ReadFile(designed, a);
                if (ok && (!ReadFile(levelsDir + "/" + name, b) || a != b)) {
                    error = "the shipped file differs from the design";
                    ok = false;
                }
            }
            if (!ok) {
                std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
                ++failures;
                continue;
            }
            std::printf("%-22s %-10s tiles %3zu layers %d types %2zu deck %2d  won %5.1f%% (target %3.0f%%) stuck %d\n",
                        name.c_str(), level.plan.shape.c_str(), level.plan.tiles.size(), level.plan.layerCount,
                        level.plan.types.size(), level.plan.cardsInDeck, 100 * level.stats.WinRate(),
                        100 * TargetWinRate(mode, n), level.stats.stuck);
            std::fflush(stdout);
            levels.push_back(level);
        }
    }
    std::filesystem::remove_all(scratch, ec);

    if (tune && !tuningFile.empty() && failures == 0 && !WriteFile(tuningFile, FormatTuning(levels))) {
        std::fprintf(stderr, "cannot write %s\n", tuningFile.c_str());
        return 1;
    }
    if (!docsFile.empty()) {
        // The difficulty curve goes beside the table, which shows it.
        std::string plot = (std::filesystem::path(docsFile).parent_path() / "levels-difficulty.png").string();
        if (!WriteFile(docsFile, FormatLevelTable(levels, deals)) || !WritePng(DifficultyPlot(levels, deals), plot)) {
            std::fprintf(stderr, "cannot write %s\n", docsFile.c_str());
            return 1;
        }
    }
    std::vector<std::string> problems;
    bool bounds = CampaignMeetsBounds(levels, problems);
    for (const std::string& p : problems)
        std::fprintf(stderr, "bound broken: %s\n", p.c_str());
    for (int mode : modes) {
        std::printf("%s stage averages:", mode == kClickMode ? "click" : "drag");
        for (double a : StageAverages(levels, mode))
            std::printf(" %.1f", 100 * a);
        std::printf("\n");
    }
    return failures == 0 && bounds ? 0 : 1;
}
