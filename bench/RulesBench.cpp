// Rules speed: whole deals of the built-in layouts played by the headless
// player, from the deal to the end of the level. The target is 1000 deals
// per second on one core; the counter "deals/s" is the figure to compare.

#include <cstdlib>

#include <benchmark/benchmark.h>

#include "game/board/headless/AutoPlayer.h"
#include "game/board/headless/SampleLayouts.h"

namespace {

using namespace Zorvin;

void PlayDeals(benchmark::State& state, PlayMode mode)
{
    srand(1);
    const std::vector<SampleLayout>& layouts = SampleLayouts();
    size_t deal = 0;
    int won = 0;
    for (auto _ : state) {
        HeadlessHost host;
        host.profile.levelMode0 = host.profile.levelMode2 = 2;
        BoardRules rules(host);
        host.onUpdate = [&rules] { rules.Update(); };
        rules.field->mode = mode;
        rules.field->level.number = 2;
        const SampleLayout& layout = layouts[deal++ % layouts.size()];
        rules.field->levelReader = [&layout](FishField& f, const std::string&) {
            LoadSampleLayout(layout, f, rand() % 4);
            return true;
        };
        rules.StartLevelFile("sample");
        AutoPlayer player(rules, host);
        AutoPlayResult r = player.Play();
        won += r.won;
        benchmark::DoNotOptimize(r.score);
    }
    state.counters["deals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["won%"] = 100.0 * won / static_cast<double>(state.iterations());
}

void BM_RulesDragModeDeal(benchmark::State& state) { PlayDeals(state, PlayMode::Drag); }
void BM_RulesClickModeDeal(benchmark::State& state) { PlayDeals(state, PlayMode::Click); }

BENCHMARK(BM_RulesDragModeDeal)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_RulesClickModeDeal)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

} // namespace
