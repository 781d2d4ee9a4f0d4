#pragma once

// Clock: the millisecond timer and the sleep of the main loop. The
// application base takes one so that its timing runs against a fake clock
// in tests, without real sleeping. SystemClock is the real one.

#include <cstdint>

namespace Zorvin {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
    virtual uint32_t GetTickCount() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

} // namespace Zorvin
