#pragma once

// SystemClock: the monotonic system clock with millisecond ticks. The
// application base owns one unless a test hands it another clock.

#include "framework/core/Clock.h"

namespace Zorvin {

class SystemClock : public Clock {
public:
    uint32_t GetTickCount() override;
    void Sleep(int milliseconds) override;
};

} // namespace Zorvin
