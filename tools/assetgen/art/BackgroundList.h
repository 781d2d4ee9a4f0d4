#pragma once

// The level backgrounds the asset generator paints into "images/". A level
// file names one of them in its "Background" attribute (the game loads
// "images/" + that name). Kept here so the level writer and the painter use
// the same names. Thirteen of them, so the 22 stages of the two campaigns
// (the level designer gives stage s of mode m the picture (3 s + m) mod 13)
// see each picture at most twice.

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
    {"bg_mosaic.png", "a worn floor mosaic with a meander border"},
    {"bg_lagoon.png", "turquoise shallows over sand"},
    {"bg_marble_hall.png", "a palace hall with a polished marble floor"},
    {"bg_sunset.png", "the sea at sunset under a warm sky"},
    {"bg_fresco.png", "a faded fresco wall with dolphins"},
    {"bg_cliffs.png", "white cliffs over a blue bay, a lighthouse far off"},
    {"bg_night_bay.png", "a bay under the moon and the stars"},
    {"bg_vineyard.png", "rows of vines on warm hills"},
    {"bg_grotto.png", "a sea cave over turquoise water"},
    {"bg_ruins.png", "broken columns on a dry hill at dusk"},
};

inline constexpr std::size_t kBackgroundCount = sizeof(kBackgrounds) / sizeof(kBackgrounds[0]);

} // namespace Zorvin::AssetGen
