#pragma once

// CommandLine: the switches the game accepts, checked before anything
// starts. The entry point asks it first, so `--help` and `--version` answer
// without a display and an unknown switch ends the program with the usage
// on standard error and exit code 2, before a window opens. The switches
// themselves are carried out by the application base's parser; this table
// is the list shown to the player (in --help and the manual page).

#include <string>
#include <vector>

namespace Zorvin {

class CommandLine {
public:
    struct Switch {
        const char* name;     // as typed, e.g. "-demofile"
        const char* argument; // "" when the switch takes no value
        const char* help;     // one line for --help
    };
    enum class Verdict { Run, Help, Version, Invalid };

    // Every switch the game accepts, in the order --help lists them.
    static const std::vector<Switch>& Switches();
    // What the arguments ask for (argv[0] is the program). The first
    // switch that is not in the table is kept for the error message.
    static CommandLine Check(int argc, const char* const* argv);
    // The usage text for --help and for a bad switch.
    static std::string Usage();
    static std::string VersionText();

    Verdict Result() const { return result; }
    const std::string& InvalidSwitch() const { return invalid; }

private:
    Verdict result = Verdict::Run;
    std::string invalid;
};

} // namespace Zorvin
