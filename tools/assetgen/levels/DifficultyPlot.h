#pragma once

// DifficultyPlot: the picture of the campaign's difficulty curve for the
// level table: the headless player's win rate by level for both modes, with
// the campaign's bounds drawn in. Painted on an assetgen Canvas and written
// through the framework's PNG writer by korvelt-levelcheck.

#include <string>
#include <vector>

#include "tools/assetgen/art/Canvas.h"
#include "tools/assetgen/levels/LevelCheck.h"

namespace Zorvin::AssetGen {

// The plot of these levels' win rates (800 x 420 pixels).
Canvas DifficultyPlot(const std::vector<CheckedLevel>& levels, int deals);

// The plot's y pixel for a win rate (0..1); the x pixel of a level number.
// Shared with the tests, which read the curves back from the picture.
int PlotY(double rate);
int PlotX(int level);

} // namespace Zorvin::AssetGen
