// DrawPacer: when the main loop draws, and the draw counters.

#include "framework/app/DrawPacer.h"

#include <algorithm>

namespace Zorvin {

void DrawPacer::TickFrameRate(uint32_t now)
{
    if (now - fpsTime < 1000)
        return;
    currentFps = fpsCount;
    fpsCount = 0;
    fpsTime = now;
}

bool DrawPacer::ShouldPresent(bool drew, uint32_t start) const
{
    bool due = static_cast<int32_t>(start - nextDrawTick) >= 0;
    return (drew || start - lastDrawTick >= 1000 || force) && due;
}

void DrawPacer::CountDrawn(uint32_t start, uint32_t drawn)
{
    ++draws;
    ++fpsCount;
    lastSkipped = false;
    drawMs += static_cast<int>(drawn - start);
}

void DrawPacer::Presented(uint32_t start, uint32_t presentStart, uint32_t end, bool loading)
{
    copyMs = static_cast<int>(end - presentStart);
    if (loading) {
        // While loading, draw rarely so the loading thread gets the processor.
        nextDrawTick += std::max(static_cast<int>(end - start), 15) + 35;
        if (static_cast<int32_t>(nextDrawTick - end) <= 0)
            nextDrawTick = end;
    } else {
        nextDrawTick = end;
    }
    pending = false;
    force = false;
}

} // namespace Zorvin
