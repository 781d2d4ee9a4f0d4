#include "tools/assetgen/levels/LevelCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

#include "game/board/headless/AutoPlayer.h"
#include "game/board/BoardRules.h"
#include "game/board/headless/HeadlessHost.h"

namespace Zorvin::AssetGen {

namespace {

// Deck sizes the tuner may choose: a deck larger than this would make the
// deck, not the layout, the game.
constexpr int kMaxDeck = 60;
// A few tiles in the deck at least: a level must never start without a
// move, and the deck is the player's way out of a dead end.
constexpr int kMinDeck = 4;
// Tile values a level may deal from.
constexpr int kMinTypes = 2;
constexpr int kMaxTypes = 24;
// Trials of the search play fewer deals than the final figures.
constexpr int kTrialDeals = 60;

std::string TrialPath(const std::string& scratch, int mode, int number)
{
    return scratch + "/Trial" + std::to_string(mode) + "_" + std::to_string(number) + ".xml";
}

bool Measure(int mode, int number, const LevelParams& params, int deals, const std::string& scratch,
             CheckedLevel& out, std::string& error)
{
    LevelPlan plan;
    if (!DesignLevel(mode, number, params, plan, error))
        return false;
    std::string path = TrialPath(scratch, mode, number);
    if (!WriteLevelPlan(plan, path, error))
        return false;
    out.plan = plan;
    out.params = params;
    out.stats = PlayLevelFile(path, mode, number, deals);
    std::remove(path.c_str());
    return true;
}

} // namespace

LevelStats PlayLevelFile(const std::string& path, int mode, int number, int deals, unsigned seedBase)
{
    LevelStats s;
    double scoreSum = 0;
    for (int d = 0; d < deals; ++d) {
        srand(seedBase + static_cast<unsigned>(d));
        HeadlessHost host;
        host.profile.levelMode0 = host.profile.levelMode2 = number;
        BoardRules rules(host);
        host.onUpdate = [&rules] { rules.Update(); };
        rules.field->mode = PlayModeOf(mode);
        rules.field->levelNumber = number;
        rules.StartLevelFile(path);
        AutoPlayer player(rules, host);
        AutoPlayResult r = player.Play();
        ++s.deals;
        s.won += r.won ? 1 : 0;
        s.stuck += r.stuck ? 1 : 0;
        scoreSum += r.score;
    }
    s.meanScore = deals ? scoreSum / deals : 0;
    return s;
}

double TargetWinRate(int mode, int number)
{
    // Stage averages fall evenly from 95 % to 50 %; inside a stage the
    // first level is a little easier than the last. The first stage is
    // gentle, not unlosable: a careless player can still run dry.
    int stages = CampaignLength(mode) / 5;
    int stage = (number - 1) / 5, inStage = (number - 1) % 5;
    double mean = 0.95 - (0.95 - 0.50) * stage / (stages - 1);
    double target = mean + 0.03 - 0.015 * inStage;
    // The first level teaches the game (its how-to-play page opens over
    // it): it keeps its few faces and is meant to be won.
    if (number == 1)
        return 1.0;
    return std::min(target, 0.98);
}

bool TuneLevel(int mode, int number, int deals, const std::string& scratch, CheckedLevel& out, std::string& error,
               const std::function<void()>& progress)
{
    const double target = TargetWinRate(mode, number);
    // Results of the trials, so the search never plays one design twice.
    std::map<std::tuple<int, int, int>, CheckedLevel> tried;
    auto trial = [&](int layers, int types, int deck, CheckedLevel& r) {
        auto key = std::make_tuple(layers, types, deck);
        auto it = tried.find(key);
        if (it != tried.end()) {
            r = it->second;
            return true;
        }
        if (!Measure(mode, number, {types, deck, layers}, kTrialDeals, scratch, r, error))
            return false;
        tried[key] = r;
        return true;
    };

    // The layout is fixed by the schedule (every level has one of its own);
    // the number of tile values stays near its design, so early levels keep
    // few faces and late ones many, and the deck does the fine tuning. A
    // level too easy for its place gets as many values as it needs.
    const int designed = DefaultParams(mode, number).typeCount;
    const int minTypes = std::max(kMinTypes, designed - 2), maxTypes = kMaxTypes;
    LevelParams start = TunedParams(mode, number);
    const int layers = 0;
    int types = std::clamp(start.typeCount, minTypes, maxTypes);
    LevelParams best{types, std::clamp(start.cardsInDeck, kMinDeck, kMaxDeck), layers};
    double bestGap = 2;
    auto consider = [&](const CheckedLevel& r, int deck) {
        // On a tie the later trial wins: it has more values or a smaller
        // deck, the harder of two equal designs.
        double gap = std::fabs(r.stats.WinRate() - target);
        if (gap <= bestGap) {
            bestGap = gap;
            best = {types, deck, layers};
        }
    };
    // More tile values make a level harder, a larger deck easier. For each
    // number of values the deck size is found by bisection; the number of
    // values moves until the target lies within the deck's reach.
    for (int round = 0; round < 24; ++round) {
        if (progress)
            progress();
        CheckedLevel lo, hi;
        if (!trial(layers, types, kMinDeck, lo))
            return false;
        if (lo.stats.WinRate() > target) {
            consider(lo, kMinDeck);
            if (types < maxTypes) {
                types = std::min(maxTypes, types + (lo.stats.WinRate() - target > 0.15 ? 2 : 1));
                continue;
            }
            break;
        }
        if (!trial(layers, types, kMaxDeck, hi))
            return false;
        if (hi.stats.WinRate() < target) {
            consider(hi, kMaxDeck);
            if (types > minTypes) {
                --types;
                continue;
            }
            break;
        }
        int a = kMinDeck, b = kMaxDeck;
        while (b - a > 1) {
            int m = (a + b) / 2;
            CheckedLevel r;
            if (!trial(layers, types, m, r))
                return false;
            (r.stats.WinRate() < target ? a : b) = m;
        }
        for (int d : {a, b}) {
            CheckedLevel r;
            if (!trial(layers, types, d, r))
                return false;
            consider(r, d);
        }
        break;
    }
    return Measure(mode, number, best, deals, scratch, out, error);
}

bool CheckLevel(int mode, int number, int deals, const std::string& scratch, CheckedLevel& out, std::string& error)
{
    return Measure(mode, number, TunedParams(mode, number), deals, scratch, out, error);
}

std::vector<double> StageAverages(const std::vector<CheckedLevel>& levels, int mode)
{
    std::vector<double> sum, count;
    for (const CheckedLevel& l : levels) {
        if (l.plan.mode != mode)
            continue;
        size_t s = static_cast<size_t>(l.plan.stage);
        if (sum.size() <= s) {
            sum.resize(s + 1, 0);
            count.resize(s + 1, 0);
        }
        sum[s] += l.stats.WinRate();
        count[s] += 1;
    }
    for (size_t s = 0; s < sum.size(); ++s)
        sum[s] = count[s] ? sum[s] / count[s] : 0;
    return sum;
}

bool CampaignMeetsBounds(const std::vector<CheckedLevel>& levels, std::vector<std::string>& problems)
{
    char line[160];
    for (const CheckedLevel& l : levels) {
        const char* name = l.plan.mode == kClickMode ? "click" : "drag";
        double rate = l.stats.WinRate();
        if (l.plan.number == 1 && rate < kFirstLevelMinimum) {
            std::snprintf(line, sizeof line, "%s level 1 is won in %.1f%% of deals (below 95%%)", name, 100 * rate);
            problems.push_back(line);
        }
        if (rate < kLevelMinimum) {
            std::snprintf(line, sizeof line, "%s level %d is won in %.1f%% of deals (below 30%%)", name,
                          l.plan.number, 100 * rate);
            problems.push_back(line);
        }
    }
    for (int mode : {kDragMode, kClickMode}) {
        std::vector<double> avg = StageAverages(levels, mode);
        if (!avg.empty() && avg[0] > kFirstStageMaximum + 1e-9) {
            std::snprintf(line, sizeof line, "%s stage 1 averages %.1f%% (above 98%%): practically unlosable",
                          mode == kClickMode ? "click" : "drag", 100 * avg[0]);
            problems.push_back(line);
        }
        for (size_t s = 1; s < avg.size(); ++s) {
            if (avg[s] >= avg[s - 1]) {
                std::snprintf(line, sizeof line, "%s stage %zu averages %.1f%%, not below stage %zu (%.1f%%)",
                              mode == kClickMode ? "click" : "drag", s + 1, 100 * avg[s], s, 100 * avg[s - 1]);
                problems.push_back(line);
            }
        }
    }
    return problems.empty();
}

std::string FormatTuning(const std::vector<CheckedLevel>& levels)
{
    std::string out =
        "#pragma once\n"
        "\n"
        "// Tuned numbers of the campaign's levels: how many tile values each level\n"
        "// deals from and how many tiles its deck holds. Written by\n"
        "// scripts/validate-levels after playing every level with the headless\n"
        "// player; a level missing here uses its stage's defaults.\n"
        "\n"
        "namespace Zorvin::AssetGen {\n"
        "\n"
        "struct LevelTuning {\n"
        "    int mode;\n"
        "    int number;\n"
        "    int typeCount;\n"
        "    int cardsInDeck;\n"
        "    int layers;\n"
        "};\n"
        "\n"
        "inline constexpr LevelTuning kLevelTuning[] = {\n";
    for (const CheckedLevel& l : levels) {
        char line[96];
        std::snprintf(line, sizeof line, "    {%d, %d, %d, %d, %d},\n", l.plan.mode, l.plan.number,
                      l.params.typeCount, l.params.cardsInDeck, l.plan.layerCount);
        out += line;
    }
    if (levels.empty())
        out += "    {-1, 0, 0, 0, 0},\n";
    out += "};\n\n} // namespace Zorvin::AssetGen\n";
    return out;
}

std::string FormatLevelTable(const std::vector<CheckedLevel>& levels, int deals)
{
    std::string out =
        "# Levels\n"
        "\n"
        "Generated by `scripts/validate-levels`; do not edit by hand. Every level was\n"
        "played by the headless player (`korvelt-autoplay`'s player) over " +
        std::to_string(deals) +
        " deals, each\n"
        "deal with its own fixed seed. A fresh player's counters are used: two deck\n"
        "places and one reshuffle. The player knows only what a person sees: the\n"
        "faces of open tiles, the backs (a joker's back is its own), the locks, the\n"
        "line and the places; its look-ahead counts a tile it would turn over only by\n"
        "the chance that it matches.\n"
        "\n"
        "Bounds: level 1 of each mode is won in at least 95 % of deals, no level in\n"
        "fewer than 30 %, the first stage averages at most 98 % (gentle, not\n"
        "unlosable), and the stage averages fall from the first stage to the last.\n";
    std::set<std::string> layouts, outlines;
    for (const CheckedLevel& l : levels) {
        layouts.insert(LayoutKey(l.plan));
        outlines.insert(LayoutKey(l.plan, true));
    }
    out += "\nLayouts: " + std::to_string(levels.size()) + " levels, " + std::to_string(layouts.size()) +
           " distinct layouts, " + std::to_string(outlines.size()) + " distinct outlines (bottom layers).\n";
    out += "\n![Win rate by level, drag mode in blue and click mode in orange; dashed lines at 95 % and 30 %]"
           "(levels-difficulty.png)\n\n";
    std::vector<std::string> problems;
    bool ok = CampaignMeetsBounds(levels, problems);
    out += ok ? "All bounds hold.\n" : "\n**Bounds broken:**\n\n";
    for (const std::string& p : problems)
        out += "- " + p + "\n";
    for (int mode : {kDragMode, kClickMode}) {
        bool any = false;
        for (const CheckedLevel& l : levels)
            any = any || l.plan.mode == mode;
        if (!any)
            continue;
        out += mode == kClickMode ? "\n## Click mode (levels/Levels1)\n\n" : "\n## Drag mode (levels/Levels2)\n\n";
        out += "| mode | level | stage | shape | tiles | layers | types | deck | locks (types) | keys | jokers | "
               "upright | win rate | target | mean score |\n"
               "|---|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
        for (const CheckedLevel& l : levels) {
            if (l.plan.mode != mode)
                continue;
            const LevelPlan& p = l.plan;
            char line[320];
            std::snprintf(line, sizeof line,
                          "| %s | %d | %d | %s | %zu | %d | %zu | %d | %d (%d) | %d | %d | %d | %.1f %% | %.0f %% | %.0f |\n",
                          mode == kClickMode ? "click" : "drag", p.number, p.stage + 1, p.shape.c_str(),
                          p.tiles.size(), p.layerCount, p.types.size(), p.cardsInDeck, p.locks, p.lockTypes,
                          p.lockTypes, p.jokers, p.uprights, 100 * l.stats.WinRate(),
                          100 * TargetWinRate(mode, p.number), l.stats.meanScore);
            out += line;
        }
        out += "\nStage averages:\n\n| stage | levels | mean win rate |\n|---:|---|---:|\n";
        std::vector<double> avg = StageAverages(levels, mode);
        for (size_t s = 0; s < avg.size(); ++s) {
            char line[96];
            std::snprintf(line, sizeof line, "| %zu | %zu-%zu | %.1f %% |\n", s + 1, 5 * s + 1, 5 * s + 5, 100 * avg[s]);
            out += line;
        }
    }
    return out;
}

} // namespace Zorvin::AssetGen
