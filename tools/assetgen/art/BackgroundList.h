#pragma once

// The level backgrounds the asset generator paints into "images/". A level
// file names one of them in its "Background" attribute (the game loads
// "images/" + that name). Kept here so the level writer and the painter use
// the same names.

#include <cstddef>

namespace Zorvin::AssetGen {

struct BackgroundEntry {
    const char* name;  // value of the level's Background attribute
    const char* theme; // what the picture shows
};

inline constexpr BackgroundEntry kBackgrounds[] = {
    {"bg_harbour.png", "a quiet harbour at noon, temple on the far shore"},
    {"bg_temple.png", "a sunlit colonnade of marble columns"},
    {"bg_olive_grove.png", "olive trees on golden hills"},
    {"bg_mosaic.png", "a floor mosaic of blue and ochre stones"},
    {"bg_lagoon.png", "turquoise shallows over sand"},
    {"bg_marble_hall.png", "a polished marble floor in a palace hall"},
    {"bg_sunset.png", "the sea at sunset under a warm sky"},
    {"bg_fresco.png", "a faded fresco wall with dolphins"},
};

inline constexpr std::size_t kBackgroundCount = sizeof(kBackgrounds) / sizeof(kBackgrounds[0]);

} // namespace Zorvin::AssetGen
