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
#include "tools/assetgen/levels/StarCheck.h"

namespace Zorvin::AssetGen {

namespace {

// Tile values a level after the opening may deal from.
constexpr int kMinTypes = 8;
constexpr int kMaxTypes = 24;
// Trials of the search play fewer deals than the final figures, but enough
// that neighbouring numbers of values are told apart.
constexpr int kTrialDeals = 200;

std::string TrialPath(const std::string& scratch, int mode, int number)
{
    return scratch + "/Trial" + std::to_string(mode) + "_" + std::to_string(number) + ".xml";
}

bool Measure(int mode, int number, const LevelParams& params, int deals, const std::string& scratch,
             CheckedLevel& out, std::string& error, int freshDeals = 0)
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
    if (freshDeals > 0) {
        out.fresh = PlayLevelFile(path, mode, number, freshDeals, kFreshSeedBase);
        out.noReshuffle = PlayLevelFile(path, mode, number, freshDeals, kFreshSeedBase, false);
    }
    std::remove(path.c_str());
    return true;
}

} // namespace

void PlayDeals(const std::string& path, int mode, int number, int deals, unsigned seedBase,
               const std::function<void(AutoPlayer&, int)>& setUp,
               const std::function<void(const AutoPlayResult&)>& done)
{
    for (int d = 0; d < deals; ++d) {
        srand(seedBase + static_cast<unsigned>(d));
        HeadlessHost host;
        host.profile.levelMode0 = host.profile.levelMode2 = number;
        BoardRules rules(host);
        host.onUpdate = [&rules] { rules.Update(); };
        rules.field->mode = PlayModeOf(mode);
        rules.field->level.number = number;
        rules.StartLevelFile(path);
        AutoPlayer player(rules, host);
        if (setUp)
            setUp(player, d);
        done(player.Play());
    }
}

LevelStats PlayLevelFile(const std::string& path, int mode, int number, int deals, unsigned seedBase,
                         bool mayReshuffle)
{
    LevelStats s;
    double scoreSum = 0;
    PlayDeals(
        path, mode, number, deals, seedBase, [mayReshuffle](AutoPlayer& p, int) { p.mayReshuffle = mayReshuffle; },
        [&](const AutoPlayResult& r) {
            ++s.deals;
            s.won += r.won ? 1 : 0;
            s.stuck += r.stuck ? 1 : 0;
            scoreSum += r.score;
        });
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
    // The last level is the climax: clearly the hardest of its stage.
    if (number == CampaignLength(mode))
        target = mean - kClimaxMargin;
    return std::min(target, 0.98);
}

bool TuneLevel(int mode, int number, int deals, const std::string& scratch, CheckedLevel& out, std::string& error,
               const std::function<void()>& progress, int freshDeals)
{
    LevelParams best = TunedParams(mode, number);
    best.layers = 0;
    // The opening levels keep their ramp of faces: nothing to search.
    if (number > 5) {
        const double target = TargetWinRate(mode, number);
        std::map<int, double> tried; // win rate by number of tile values
        auto trial = [&](int types, double& rate) {
            auto it = tried.find(types);
            if (it == tried.end()) {
                if (progress)
                    progress();
                CheckedLevel r;
                if (!Measure(mode, number, {types, 0}, kTrialDeals, scratch, r, error))
                    return false;
                it = tried.emplace(types, r.stats.WinRate()).first;
            }
            rate = it->second;
            return true;
        };
        // More tile values make a level harder. Bisection finds the fewest
        // values at or below the target; that one or the one before it,
        // whichever is nearer, is the design. The climax never takes the
        // easier one: it must stay the hardest of its stage.
        int lo = kMinTypes, hi = kMaxTypes;
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            double rate;
            if (!trial(mid, rate))
                return false;
            if (rate > target)
                lo = mid + 1;
            else
                hi = mid;
        }
        best.typeCount = lo;
        double rate, before;
        if (!trial(lo, rate))
            return false;
        if (lo > kMinTypes && number != CampaignLength(mode)) {
            if (!trial(lo - 1, before))
                return false;
            if (std::fabs(before - target) < std::fabs(rate - target))
                best.typeCount = lo - 1;
        }
    }
    return Measure(mode, number, best, deals, scratch, out, error, freshDeals);
}

bool CheckLevel(int mode, int number, int deals, const std::string& scratch, CheckedLevel& out, std::string& error,
                int freshDeals)
{
    return Measure(mode, number, TunedParams(mode, number), deals, scratch, out, error, freshDeals);
}

std::vector<double> StageAverages(const std::vector<CheckedLevel>& levels, int mode, bool fresh)
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
        sum[s] += (fresh ? l.fresh : l.stats).WinRate();
        count[s] += 1;
    }
    for (size_t s = 0; s < sum.size(); ++s)
        sum[s] = count[s] ? sum[s] / count[s] : 0;
    return sum;
}

namespace {

// The bounds on one set of deals: the tuning seeds, or the fresh ones.
void CheckBounds(const std::vector<CheckedLevel>& levels, bool fresh, std::vector<std::string>& problems)
{
    const char* seeds = fresh ? " (fresh seeds)" : "";
    auto rateOf = [fresh](const CheckedLevel& l) { return (fresh ? l.fresh : l.stats).WinRate(); };
    char line[200];
    for (const CheckedLevel& l : levels) {
        const char* name = l.plan.mode == kClickMode ? "click" : "drag";
        double rate = rateOf(l);
        if (l.plan.number == 1 && rate < kFirstLevelMinimum) {
            std::snprintf(line, sizeof line, "%s level 1 is won in %.1f%% of deals (below 95%%)%s", name, 100 * rate,
                          seeds);
            problems.push_back(line);
        }
        if (rate < kLevelMinimum) {
            std::snprintf(line, sizeof line, "%s level %d is won in %.1f%% of deals (below 30%%)%s", name,
                          l.plan.number, 100 * rate, seeds);
            problems.push_back(line);
        }
        // The climax: no level of the last stage is harder than the last.
        if (l.plan.number == CampaignLength(l.plan.mode)) {
            for (const CheckedLevel& o : levels) {
                if (o.plan.mode == l.plan.mode && o.plan.stage == l.plan.stage && &o != &l && rateOf(o) <= rate) {
                    std::snprintf(line, sizeof line, "%s level %d (%.1f%%) is not harder than level %d (%.1f%%)%s", name,
                                  l.plan.number, 100 * rate, o.plan.number, 100 * rateOf(o), seeds);
                    problems.push_back(line);
                }
            }
        }
    }
    for (int mode : {kDragMode, kClickMode}) {
        const char* name = mode == kClickMode ? "click" : "drag";
        std::vector<double> avg = StageAverages(levels, mode, fresh);
        if (!avg.empty() && avg[0] > kFirstStageMaximum + 1e-9) {
            std::snprintf(line, sizeof line, "%s stage 1 averages %.1f%% (above 98%%): practically unlosable%s", name,
                          100 * avg[0], seeds);
            problems.push_back(line);
        }
        for (size_t s = 1; s < avg.size(); ++s) {
            if (avg[s] >= avg[s - 1]) {
                std::snprintf(line, sizeof line, "%s stage %zu averages %.1f%%, not below stage %zu (%.1f%%)%s", name,
                              s + 1, 100 * avg[s], s, 100 * avg[s - 1], seeds);
                problems.push_back(line);
            }
        }
    }
}

} // namespace

bool CampaignMeetsBounds(const std::vector<CheckedLevel>& levels, std::vector<std::string>& problems)
{
    size_t before = problems.size();
    CheckBounds(levels, false, problems);
    bool fresh = !levels.empty();
    for (const CheckedLevel& l : levels)
        fresh = fresh && l.fresh.deals > 0;
    if (fresh)
        CheckBounds(levels, true, problems);
    return problems.size() == before;
}

std::string FormatTuning(const std::vector<CheckedLevel>& levels)
{
    std::string out =
        "#pragma once\n"
        "\n"
        "// Tuned numbers of the campaign's levels: how many tile values each level\n"
        "// deals from and how many layers it has. Written by\n"
        "// scripts/validate-levels after playing every level with the headless\n"
        "// player; a level missing here uses its stage's defaults.\n"
        "\n"
        "namespace Zorvin::AssetGen {\n"
        "\n"
        "struct LevelTuning {\n"
        "    int mode;\n"
        "    int number;\n"
        "    int typeCount;\n"
        "    int layers;\n"
        "};\n"
        "\n"
        "inline constexpr LevelTuning kLevelTuning[] = {\n";
    for (const CheckedLevel& l : levels) {
        char line[96];
        std::snprintf(line, sizeof line, "    {%d, %d, %d, %d},\n", l.plan.mode, l.plan.number, l.params.typeCount,
                      l.plan.layerCount);
        out += line;
    }
    if (levels.empty())
        out += "    {-1, 0, 0, 0},\n";
    out += "};\n\n} // namespace Zorvin::AssetGen\n";
    return out;
}

std::string FormatLevelTable(const std::vector<CheckedLevel>& levels, int deals)
{
    bool fresh = !levels.empty();
    for (const CheckedLevel& l : levels)
        fresh = fresh && l.fresh.deals > 0;
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
        "Two sets of deals: the tuning seeds (1 on), which the tuner chose each\n"
        "level's tile values on, and as many fresh seeds (" +
        std::to_string(kFreshSeedBase) +
        " on), which it never saw.\n"
        "The fresh figures are the ones to trust; the bounds must hold on both. The\n"
        "fresh deals are also played without the reshuffle, as by a campaign player\n"
        "who spent it on an earlier level.\n"
        "\n"
        "Bounds: level 1 of each mode is won in at least 95 % of deals, no level in\n"
        "fewer than 30 %, the first stage averages at most 98 % (gentle, not\n"
        "unlosable), the stage averages fall from the first stage to the last, and\n"
        "each mode's last level is the hardest of its stage.\n"
        "\n"
        "Design: the first five levels of each mode show 3, 7, 11, 15 and 19 faces;\n"
        "every deck holds four tiles and one more per fifty tiles of the layout;\n"
        "each mode's last level has the most tiles and locks of its stage.\n";
    std::set<std::string> layouts, outlines;
    for (const CheckedLevel& l : levels) {
        layouts.insert(TurnedLayoutKey(l.plan));
        outlines.insert(TurnedLayoutKey(l.plan, true));
    }
    out += "\nLayouts: " + std::to_string(levels.size()) + " levels, " + std::to_string(layouts.size()) +
           " distinct layouts and " + std::to_string(outlines.size()) +
           " distinct outlines (bottom layers), a mirror image or an upside-down copy counting as the same.\n";
    out += "\n![Win rate by level, drag mode in blue and click mode in orange; dashed lines at 95 % and 30 %]"
           "(levels-difficulty.png)\n\n";
    std::vector<std::string> problems;
    bool ok = CampaignMeetsBounds(levels, problems);
    out += ok ? (fresh ? "All bounds hold, on the tuning seeds and on the fresh ones.\n" : "All bounds hold.\n")
              : "\n**Bounds broken:**\n\n";
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
               "upright | win rate | fresh seeds | no reshuffle | target | mean score |\n"
               "|---|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
        auto percent = [](const LevelStats& s) {
            char text[24];
            std::snprintf(text, sizeof text, "%.1f %%", 100 * s.WinRate());
            return s.deals > 0 ? std::string(text) : std::string("-");
        };
        for (const CheckedLevel& l : levels) {
            if (l.plan.mode != mode)
                continue;
            const LevelPlan& p = l.plan;
            char line[360];
            std::snprintf(line, sizeof line,
                          "| %s | %d | %d | %s | %zu | %d | %zu | %d | %d (%d) | %d | %d | %d | %.1f %% | %s | %s | %.0f %% | "
                          "%.0f |\n",
                          mode == kClickMode ? "click" : "drag", p.number, p.stage + 1, p.shape.c_str(),
                          p.tiles.size(), p.layerCount, p.types.size(), p.cardsInDeck, p.locks, p.lockTypes,
                          p.lockTypes, p.jokers, p.uprights, 100 * l.stats.WinRate(), percent(l.fresh).c_str(),
                          percent(l.noReshuffle).c_str(), 100 * TargetWinRate(mode, p.number), l.stats.meanScore);
            out += line;
        }
        out += "\nStage averages:\n\n| stage | levels | mean win rate | fresh seeds | no reshuffle |\n"
               "|---:|---|---:|---:|---:|\n";
        std::vector<double> avg = StageAverages(levels, mode), avgFresh = StageAverages(levels, mode, true);
        for (size_t s = 0; s < avg.size(); ++s) {
            double plain = 0;
            int count = 0;
            for (const CheckedLevel& l : levels) {
                if (l.plan.mode == mode && l.plan.stage == static_cast<int>(s) && l.noReshuffle.deals > 0) {
                    plain += l.noReshuffle.WinRate();
                    ++count;
                }
            }
            char line[160];
            if (fresh)
                std::snprintf(line, sizeof line, "| %zu | %zu-%zu | %.1f %% | %.1f %% | %.1f %% |\n", s + 1, 5 * s + 1,
                              5 * s + 5, 100 * avg[s], 100 * avgFresh[s], count ? 100 * plain / count : 0.0);
            else
                std::snprintf(line, sizeof line, "| %zu | %zu-%zu | %.1f %% | - | - |\n", s + 1, 5 * s + 1, 5 * s + 5,
                              100 * avg[s]);
            out += line;
        }
    }
    // The stars are measured apart (scripts/measure-stars); their table
    // stays in the document.
    out += "\n" + FormatStarSection(CommittedStars());
    return out;
}

} // namespace Zorvin::AssetGen
