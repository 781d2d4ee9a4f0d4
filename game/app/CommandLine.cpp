#include "game/app/CommandLine.h"

#include "game/app/Version.h"

#include <algorithm>

namespace Zorvin {

const std::vector<CommandLine::Switch>& CommandLine::Switches()
{
    static const std::vector<Switch> switches = {
        {"--help", "", "show this help and exit"},
        {"--version", "", "show the version and exit"},
        {"-record", "", "record the session into zorvinapp.dmo (or the -demofile)"},
        {"-play", "", "replay zorvinapp.dmo (or the -demofile) without touching any file"},
        {"-demofile", "=FILE", "the demo file to record or replay"},
        {"-recnum", "=N", "record into a numbered demo, keeping the last N (default 5)"},
        {"-playnum", "=K", "replay the K-th newest numbered demo (default 1)"},
        {"-screensaver", "", "run as a screen saver: errors go to ScrError.txt"},
        {"-crash", "", "accepted and ignored (reserved for crash reports)"},
    };
    return switches;
}

CommandLine CommandLine::Check(int argc, const char* const* argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i] != nullptr ? argv[i] : "";
        if (arg == "--help" || arg == "--version") {
            line.result = arg == "--help" ? Verdict::Help : Verdict::Version;
            return line;
        }
        // A value follows the first '=', as the application's parser reads it.
        std::string name = arg.substr(0, arg.find('='));
        bool known = name.rfind("--", 0) != 0
            && std::any_of(Switches().begin(), Switches().end(), [&](const Switch& s) { return name == s.name; });
        if (!known) {
            line.result = Verdict::Invalid;
            line.invalid = arg;
            return line;
        }
    }
    return line;
}

std::string CommandLine::Usage()
{
    std::string text = "Usage: korvelt [SWITCH...]\n"
                       "Korvelt, a domino puzzle game with fish tiles.\n\nSwitches:\n";
    for (const Switch& s : Switches()) {
        std::string left = std::string("  ") + s.name + s.argument;
        left.resize(std::max<size_t>(left.size() + 1, 18), ' ');
        text += left + s.help + "\n";
    }
    text += "\nEnvironment:\n"
            "  KORVELT_DATA_DIR  the folder holding the game's data (properties/, images/, ...)\n";
    return text;
}

std::string CommandLine::VersionText()
{
    return std::string("korvelt ") + KorveltVersion + "\n";
}

} // namespace Zorvin
