#include "tools/e2e/VirtualClock.h"

void VirtualClock::Sleep(int milliseconds)
{
    if (milliseconds > 0)
        now += static_cast<uint32_t>(milliseconds);
}
