// korvelt-levelcheck [--tune] [--deals N] [--fresh-deals N] [--mode drag|click]
//                    [--levels DIR] [--tuning FILE] [--docs FILE]
// korvelt-levelcheck --stars FILE --levels DIR [--deals N] [--mode drag|click] [--docs FILE]
// Plays every level of the campaign with the headless player. With --tune
// it first searches each level's tile values for its target win rate and
// writes them to the tuning file; otherwise it plays the levels as designed
// with the tuned numbers. Every level is then also played on fresh deals
// (as many as --deals unless --fresh-deals says otherwise; 0 skips them),
// seeds the tuning never used, with and without a reshuffle. With --levels it also checks that the
// level files in DIR (a game's levels/ folder) are exactly the designed
// ones. Writes the level table to the docs file (and the difficulty curve
// beside it as levels-difficulty.png), and exits with 1 when a
// bound of the campaign is broken.
// With --stars it only measures the star thresholds: it plays the level
// files in DIR at a person's pace, writes the thresholds to FILE
// (StarThresholds.h) and replaces the stars section of the docs file.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/FileUtil.h"
#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/levels/DifficultyPlot.h"
#include "tools/assetgen/levels/LevelCheck.h"
#include "tools/assetgen/levels/StarCheck.h"

using namespace Zorvin::AssetGen;
using Zorvin::FileUtil;

namespace {

const char* const kUsage = "usage: korvelt-levelcheck [--tune] [--deals N] [--fresh-deals N] [--mode drag|click] "
                           "[--levels DIR] [--tuning FILE] [--docs FILE]\n"
                           "       korvelt-levelcheck --stars FILE --levels DIR [--deals N] [--mode drag|click] "
                           "[--docs FILE]\n";

// Says what is wrong with the command line, then how it goes; exit code 2.
int Usage(const std::string& problem)
{
    std::fprintf(stderr, "korvelt-levelcheck: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

// A whole decimal number from `least` to 1000000, nothing else.
bool ParseDeals(const char* text, int& deals, long least = 1)
{
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < least || v > 1000000)
        return false;
    deals = static_cast<int>(v);
    return true;
}

// Plays every level file at a person's pace and writes the star
// thresholds, and their table into the docs file.
int MeasureAllStars(const std::vector<int>& modes, int deals, const std::string& levelsDir,
                    const std::string& starsFile, const std::string& docsFile)
{
    std::vector<StarLevel> levels;
    for (int mode : modes) {
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            std::string path = levelsDir + "/" + LevelFolder(mode) + "/Level" + std::to_string(n) + ".xml";
            if (!FileUtil::IsRegularFile(path)) {
                std::fprintf(stderr, "korvelt-levelcheck: %s is missing\n", path.c_str());
                return 1;
            }
            StarLevel l = MeasureStars(path, mode, n, deals);
            std::printf("%-22s won %3d/%d  mean %3d s  two stars %5d  three stars %5d\n",
                        (LevelFolder(mode) + "/Level" + std::to_string(n)).c_str(), l.won, l.deals, l.meanSeconds,
                        l.twoStars, l.threeStars);
            std::fflush(stdout);
            levels.push_back(l);
        }
    }
    if (!FileUtil::WriteFileAtomic(starsFile, FormatStarThresholds(levels))) {
        std::fprintf(stderr, "cannot write %s\n", starsFile.c_str());
        return 1;
    }
    std::string doc;
    if (!docsFile.empty() && (!FileUtil::ReadFile(docsFile, doc) ||
                              !FileUtil::WriteFileAtomic(docsFile, WithStarSection(doc, FormatStarSection(levels))))) {
        std::fprintf(stderr, "cannot rewrite %s\n", docsFile.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    bool tune = false;
    int deals = 200;
    int freshDeals = -1; // as many as the tuning deals
    std::vector<int> modes{kDragMode, kClickMode};
    std::string levelsDir, tuningFile, docsFile, starsFile;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::printf("%s", kUsage);
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool takesValue = a == "--deals" || a == "--fresh-deals" || a == "--mode" || a == "--levels" || a == "--tuning" || a == "--docs" || a == "--stars";
        if (a == "--tune") {
            tune = true;
            continue;
        }
        if (!takesValue)
            return Usage("unknown argument: " + a);
        if (i + 1 >= argc)
            return Usage(a + " needs a value");
        std::string v = argv[++i];
        if (a == "--deals") {
            if (!ParseDeals(v.c_str(), deals))
                return Usage("--deals must be a number from 1 to 1000000");
        } else if (a == "--fresh-deals") {
            if (!ParseDeals(v.c_str(), freshDeals, 0))
                return Usage("--fresh-deals must be a number from 0 to 1000000");
        } else if (a == "--mode") {
            if (v == "drag")
                modes = {kDragMode};
            else if (v == "click")
                modes = {kClickMode};
            else
                return Usage("--mode must be drag or click");
        } else if (a == "--levels") {
            levelsDir = v;
        } else if (a == "--tuning") {
            tuningFile = v;
        } else if (a == "--stars") {
            starsFile = v;
        } else {
            docsFile = v;
        }
    }
    if (freshDeals < 0)
        freshDeals = deals;
    std::error_code dirError;
    if (!levelsDir.empty() && !std::filesystem::is_directory(levelsDir, dirError)) {
        std::fprintf(stderr, "korvelt-levelcheck: %s is not a folder\n", levelsDir.c_str());
        return 2;
    }
    if (!starsFile.empty()) {
        if (levelsDir.empty() || tune)
            return Usage("--stars needs --levels and no --tune");
        return MeasureAllStars(modes, deals, levelsDir, starsFile, docsFile);
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
            bool ok = tune ? TuneLevel(mode, n, deals, scratch.string(), level, error, dot, freshDeals)
                           : CheckLevel(mode, n, deals, scratch.string(), level, error, freshDeals);
            std::fputc('\n', stderr);
            if (ok && !levelsDir.empty()) {
                // The shipped file must be the design that was just played.
                std::string designed = (scratch / "designed.xml").string(), a, b;
                ok = WriteLevelPlan(level.plan, designed, error) && FileUtil::ReadFile(designed, a);
                if (ok && !FileUtil::ReadFile(levelsDir + "/" + name, b)) {
                    error = "the shipped file is missing or not a file";
                    ok = false;
                } else if (ok && a != b) {
                    error = "the shipped file differs from the design";
                    ok = false;
                }
            }
            if (!ok) {
                std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
                ++failures;
                continue;
            }
            std::printf("%-22s %-10s tiles %3zu layers %d types %2zu deck %2d  won %5.1f%% fresh %5.1f%% "
                        "no reshuffle %5.1f%% (target %3.0f%%) stuck %d\n",
                        name.c_str(), level.plan.shape.c_str(), level.plan.tiles.size(), level.plan.layerCount,
                        level.plan.types.size(), level.plan.cardsInDeck, 100 * level.stats.WinRate(),
                        100 * level.fresh.WinRate(), 100 * level.noReshuffle.WinRate(), 100 * TargetWinRate(mode, n),
                        level.stats.stuck);
            std::fflush(stdout);
            levels.push_back(level);
        }
    }
    std::filesystem::remove_all(scratch, ec);

    if (tune && !tuningFile.empty() && failures == 0 && !FileUtil::WriteFileAtomic(tuningFile, FormatTuning(levels))) {
        std::fprintf(stderr, "cannot write %s\n", tuningFile.c_str());
        return 1;
    }
    if (!docsFile.empty()) {
        // The difficulty curve goes beside the table, which shows it.
        std::string plot = (std::filesystem::path(docsFile).parent_path() / "levels-difficulty.png").string();
        if (!FileUtil::WriteFileAtomic(docsFile, FormatLevelTable(levels, deals))
            || !WritePng(DifficultyPlot(levels, deals), plot)) {
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
        std::printf("\n%s stage averages on fresh seeds:", mode == kClickMode ? "click" : "drag");
        for (double a : StageAverages(levels, mode, true))
            std::printf(" %.1f", 100 * a);
        std::printf("\n");
    }
    return failures == 0 && bounds ? 0 : 1;
}
