#include "tools/e2e/E2eApp.h"

void E2eApp::UpdateFrame()
{
    GameApp::UpdateFrame();
    if (afterUpdate)
        afterUpdate();
}
