// DisplayState: the window's and the display's state.

#include "framework/app/DisplayState.h"

namespace Zorvin {

bool DisplayState::RecoveryAllowed(uint32_t now)
{
    if (physWindowed && now - lastRecoveryTick < 1000)
        return false;
    lastRecoveryTick = now;
    return true;
}

} // namespace Zorvin
