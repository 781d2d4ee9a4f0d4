// Korvelt's entry point: the signal handlers, the desktop platform, then
// the one GameApp through Initialize and Run. The exit code is 0 after a
// normal end and non-zero when start-up failed.

#include "game/app/GameApp.h"
#include "game/app/ShutdownSignals.h"
#include "platform/SdlPlatform.h"

using namespace Zorvin;

int main(int argc, char** argv)
{
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
