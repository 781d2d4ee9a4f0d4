// Korvelt's entry point: the command line's check (help, version, a bad
// switch), the signal handlers, the desktop platform, then the one GameApp
// through Initialize and Run. The exit code is 0 after a normal end (and
// after --help or --version), 2 for a bad switch and non-zero when start-up
// failed.

#include "game/app/CommandLine.h"
#include "game/app/GameApp.h"
#include "game/app/ShutdownSignals.h"
#include "platform/SdlPlatform.h"

#include <cstdio>

using namespace Zorvin;

int main(int argc, char** argv)
{
    CommandLine line = CommandLine::Check(argc, argv);
    switch (line.Result()) {
    case CommandLine::Verdict::Help:
        std::fputs(CommandLine::Usage().c_str(), stdout);
        return 0;
    case CommandLine::Verdict::Version:
        std::fputs(CommandLine::VersionText().c_str(), stdout);
        return 0;
    case CommandLine::Verdict::Invalid:
        std::fprintf(stderr, "korvelt: unknown switch '%s'\n\n%s", line.InvalidSwitch().c_str(),
                     CommandLine::Usage().c_str());
        return 2;
    case CommandLine::Verdict::Run:
        break;
    }
    ShutdownSignals::Install();
    auto platform = SdlPlatform::Open();
    if (!platform)
        return 1;
    int code = 0;
    {
        GameApp app;
        platform->Attach(app);
        app.SetCommandLine(argc, argv);
        app.Initialize();
        app.Run();
        code = app.GetExitCode() > 0 ? app.GetExitCode() : 0;
    }
    return code;
}
