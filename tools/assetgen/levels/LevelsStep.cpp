// The "levels" step of the asset generator: writes the campaign's level files
// into levels/Levels2/ (drag mode) and levels/Levels1/ (click mode), and
// their star thresholds into levels/stars.txt.

#include <cstdio>

#include "framework/core/FileUtil.h"
#include "game/shared/LevelStars.h"
#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/levels/LevelDesigner.h"
#include "tools/assetgen/levels/StarCheck.h"

namespace Zorvin::AssetGen {

namespace {

const AssetStep kLevelsStep("levels", [](const AssetContext& ctx) {
    std::string error;
    if (!WriteCampaign(ctx.outDir, error)) {
        std::fprintf(stderr, "levels: %s\n", error.c_str());
        return false;
    }
    const std::string stars = ctx.outDir + "/" + LevelStars::kFileName;
    if (!FileUtil::WriteFileAtomic(stars, LevelStars::Format(StarEntries(CommittedStars())))) {
        std::fprintf(stderr, "levels: cannot write %s\n", stars.c_str());
        return false;
    }
    return true;
});

} // namespace

} // namespace Zorvin::AssetGen
