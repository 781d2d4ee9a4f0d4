#pragma once

// VirtualClock: the end-to-end player's clock. Time stands still while the
// game works and jumps forward by exactly the sleep the main loop asks for,
// so the game sees the same timing as on a desktop while the loop runs as
// fast as the processor allows. The tool owns it and hands it to the
// application; the loading thread may read it, so the time is atomic.

#include "framework/core/Clock.h"

#include <atomic>
#include <cstdint>

class VirtualClock : public Zorvin::Clock {
public:
    uint32_t GetTickCount() override { return now.load(); }
    void Sleep(int milliseconds) override;

    // Virtual milliseconds since the clock was made.
    uint32_t Elapsed() const { return now.load() - start; }

private:
    static constexpr uint32_t start = 100000;
    std::atomic<uint32_t> now{start};
};
