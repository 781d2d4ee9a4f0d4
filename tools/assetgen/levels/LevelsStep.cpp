// The "levels" step of the asset generator: writes the campaign's level files
// into levels/Levels2/ (drag mode) and levels/Levels1/ (click mode).

#include <cstdio>

#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/levels/LevelDesigner.h"

namespace Zorvin::AssetGen {

namespace {

const AssetStep kLevelsStep("levels", [](const AssetContext& ctx) {
    std::string error;
    if (!WriteCampaign(ctx.outDir, error)) {
        std::fprintf(stderr, "levels: %s\n", error.c_str());
        return false;
    }
    return true;
});

} // namespace

} // namespace Zorvin::AssetGen
