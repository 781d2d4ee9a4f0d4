#pragma once

// AutoplayCommand: the command line of the headless player tool. It parses
//   --mode drag|click [--level FILE [--save OUT]] [--deals N] [--seed S] [--pace fast|person]
// plays N deals of the level file (or of the built-in sample layouts, in
// turn) and prints one summary line, so the tool's main only forwards here
// and tests can run the whole command in process.

#include <ostream>
#include <string>
#include <vector>

#include "game/shared/PlayMode.h"

namespace Zorvin {

struct AutoplayOptions {
    PlayMode mode = PlayMode::Drag;
    std::string level; // empty: the built-in sample layouts
    std::string save;  // write the loaded level here through the level writer
    int deals = 100;
    unsigned seed = 1;
    // At a person's pace (2 to 4 s a move) rather than as fast as the rules
    // allow: the scores a person's combo meter gives.
    bool personsPace = false;
    bool help = false; // --help: print the usage and do nothing else
};

// The tool's usage line.
extern const char* const kAutoplayUsage;

struct AutoplaySummary {
    int deals = 0;
    int won = 0;
    double meanScore = 0;
    double meanMoves = 0;
    double meanSeconds = 0; // game time per deal
    double dealsPerSecond = 0;
};

// False, with a message in `error`, for an unknown or malformed argument.
// "--help" (or "-h") sets options.help and accepts anything else.
bool ParseAutoplayArgs(const std::vector<std::string>& args, AutoplayOptions& options, std::string& error);

// Plays the deals and prints the level line (for a level file) and the
// summary line to `out`. Returns the process exit code: 0, or 1 when the
// level file cannot be read or holds no tiles (reported on `err`).
int RunAutoplay(const AutoplayOptions& options, std::ostream& out, std::ostream& err,
                AutoplaySummary* summary = nullptr);

} // namespace Zorvin
