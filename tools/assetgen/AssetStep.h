#pragma once

// The asset generator is a list of independent steps (images, font, manifest,
// sounds, music, levels). Each step registers itself from its own source
// file with a static AssetStep object, so adding a step touches nothing else.
// Steps run in name order and must be deterministic: the same sources give
// the same bytes.

#include <functional>
#include <string>
#include <vector>

namespace Zorvin::AssetGen {

// What a step gets: the game folder to write into (e.g. build/game), the
// folder for pictures made only for review (contact sheets, mock-ups), which
// never ships with the game, and whether to print progress.
struct AssetContext {
    std::string outDir;
    std::string reviewDir;
    bool verbose = false;
};

// A step returns false on failure; the generator then exits non-zero and the
// build stops.
using AssetStepFn = std::function<bool(const AssetContext&)>;

struct AssetStepEntry {
    std::string name;
    AssetStepFn run;
};

std::vector<AssetStepEntry>& AssetSteps();

struct AssetStep {
    AssetStep(std::string name, AssetStepFn fn) { AssetSteps().push_back({std::move(name), std::move(fn)}); }
};

} // namespace Zorvin::AssetGen
