#pragma once

// ScreenCopy: the yardstick the frame benchmarks are measured against, one
// memcpy of the 800 x 600 screen image. Each frame benchmark registers it
// under its own case name so scripts/bench-report can print the ratio.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace Zorvin {

inline void ScreenCopy(benchmark::State& state)
{
    std::vector<uint32_t> from(800 * 600, 0xFF336699u), to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

} // namespace Zorvin
