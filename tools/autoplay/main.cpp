// korvelt-autoplay --mode drag|click [--level FILE [--save OUT]] [--deals N] [--seed S]
// Plays deals of a level (or of the built-in sample layouts) with the
// headless player and prints the results.

#include <iostream>
#include <string>
#include <vector>

#include "tools/autoplay/AutoplayCommand.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    Zorvin::AutoplayOptions options;
    std::string error;
    if (!Zorvin::ParseAutoplayArgs(args, options, error)) {
        std::cerr << "korvelt-autoplay: " << error << "\n" << Zorvin::kAutoplayUsage << "\n";
        return 2;
    }
    if (options.help) {
        std::cout << Zorvin::kAutoplayUsage << "\n"
                  << "Plays deals of a level file (or of the built-in sample layouts) with the headless\n"
                     "player and prints the win rate, mean score and moves, and the deals per second.\n";
        return 0;
    }
    return Zorvin::RunAutoplay(options, std::cout, std::cerr);
}
