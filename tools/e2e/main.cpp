// korvelt-e2e: plays the real game end to end through its real screens,
// driven only by SDL input events, and checks the files it writes. See
// E2eOptions.h for the command line and E2eScenario.h for what it plays.
// The last line printed is the summary:
//   e2e: W levels won through the screens, F failures, S s
// and the exit code is 0 only when nothing failed and every level asked
// for was won.

#include "game/app/ShutdownSignals.h"
#include "tools/e2e/E2eOptions.h"
#include "tools/e2e/E2eScenario.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    E2eOptions options;
    std::string error;
    if (!options.Parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::fprintf(stderr, "korvelt-e2e: %s\n%s\n", error.c_str(), E2eOptions::usage);
        return 2;
    }
    if (options.help) {
        std::printf("%s\n"
                    "Plays the game through its screens with SDL input: the first-run name, drag mode and\n"
                    "click mode levels 1..N with the map between them, a saved level continued in a new\n"
                    "game, and checks players.dat, highscores.dat and the saved games after each step.\n",
                    E2eOptions::usage);
        return 0;
    }
    Zorvin::ShutdownSignals::Install();
    E2eScenario scenario(options);
    return scenario.Run();
}
