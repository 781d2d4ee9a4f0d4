#include "tools/assetgen/AssetStep.h"

namespace Zorvin::AssetGen {

// A function-local list, so steps registering from other files' static
// initialisers never see it unconstructed.
std::vector<AssetStepEntry>& AssetSteps()
{
    static std::vector<AssetStepEntry> steps;
    return steps;
}

} // namespace Zorvin::AssetGen
