#pragma once

// E2eOptions: the command line of korvelt-e2e.
//   --levels N         levels to win in each mode (default 2; 50 drag-mode
//                      and 60 click-mode levels are the whole campaign)
//   --start L          the first level played in each mode (default 1): the
//                      new player's progress is set to it before the first
//                      level, and the level is reached through the map
//   --shuffles K       the reshuffles the player has at its first level
//                      (default 1, a new player's)
//   --seed S           the C library generator's seed for the game
//   --realtime         the system clock instead of the virtual one
//   --keep-data DIR    settings and data under DIR, kept afterwards
//   --screenshots DIR  a PNG of the screen at every step
//   --game DIR         the generated game folder
//   --verbose          every click and answer
//   --record PREFIX    each run of the game records a demo, PREFIX-1.dmo
//                      and PREFIX-2.dmo (the seed then comes from the clock)
// main parses it; the scenario reads it.

#include <string>
#include <vector>

struct E2eOptions {
    int levels = 2;
    int start = 1;
    int shuffles = 1;
    unsigned seed = 1;
    bool realtime = false;
    bool verbose = false;
    bool help = false;
    std::string keepData;
    std::string screenshots;
    std::string game;
    std::string record;

    // False, with the reason in `error`, for an unknown or malformed
    // argument.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    static const char* const usage;
};
