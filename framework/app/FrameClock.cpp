// FrameClock: the logic clock of the main loop.

#include "framework/app/FrameClock.h"

#include <algorithm>
#include <cmath>

namespace Zorvin {

bool FrameClock::VsyncPaces(bool playingDemo, bool lastDrawSkipped, bool physWindowed) const
{
    return !playingDemo && vsyncUpdates && !lastDrawSkipped && !vsyncBroken &&
           (!physWindowed || (waitForVSync && !softVSyncWait));
}

double FrameClock::Interval() const
{
    if (vsyncUpdates && refreshRate > 0)
        return (1000.0 / refreshRate) / multiplier;
    return frameTime / multiplier;
}

double FrameClock::UpdatesPerFrame() const
{
    if (vsyncUpdates && refreshRate > 0)
        return 1000.0 / (refreshRate * frameTime);
    return 1.0;
}

void FrameClock::Reset(uint32_t now)
{
    accumulated = 0;
    lastTimeCheck = now;
}

void FrameClock::Advance(uint32_t now, bool vsyncPaces)
{
    uint32_t elapsed = now - lastTimeCheck;
    lastTimeCheck = now;
    if (vsyncPaces)
        return;
    accumulated = std::min(accumulated + elapsed, kMaxCatchUpMs);
    holdMs = std::max(0, holdMs - static_cast<int>(std::min<uint32_t>(elapsed, 0x7FFFFFFF)));
}

bool FrameClock::UpdateDue(bool vsyncPaces, bool hasPendingDraw) const
{
    double interval = Interval();
    if (vsyncPaces)
        return !hasPendingDraw || accumulated >= static_cast<int>(interval * 0.75);
    return accumulated >= interval;
}

void FrameClock::ConsumeInterval(bool vsyncPaces)
{
    double interval = Interval();
    if (vsyncPaces)
        accumulated = std::max(0.0, accumulated - (interval + 0.2));
    else
        accumulated -= interval;
    if (holdMs > 0)
        accumulated = 0;
}

void FrameClock::AdvanceIdle(uint32_t now)
{
    accumulated += now - lastTimeCheck;
    lastTimeCheck = now;
}

void FrameClock::NoteUpdate(bool changedScreen)
{
    if (!changedScreen) {
        ++sinceChange;
        return;
    }
    previousGap = lastGap;
    lastGap = sinceChange + 1;
    sinceChange = 0;
}

int FrameClock::IdleWaitMs() const
{
    // Changes that keep a rhythm of at least ten updates are expected again
    // after the shorter of the last two gaps; the loop wakes for that
    // update, never after it. A few quiet updates come first, so motion
    // that merely paused is not taken for a rhythm.
    constexpr int kRhythmMin = 10;
    constexpr int kQuietFirst = 3;
    int gap = std::min(lastGap, previousGap);
    int untilRhythm = gap >= kRhythmMin && sinceChange >= kQuietFirst ? gap - sinceChange : 0;
    if (untilRhythm >= kQuietFirst)
        return std::min(kIdleWaitMs, untilRhythm * frameTime);
    if (IsStill() && untilRhythm <= 0)
        return kIdleWaitMs;
    return 0;
}

void FrameClock::AddDrawTime(uint32_t now)
{
    accumulated = std::min(accumulated + (now - lastTimeCheck), kMaxCatchUpMs);
    lastTimeCheck = now;
}

void FrameClock::CheckVsync(uint32_t now, bool playingDemo)
{
    if (playingDemo || multiplier != 1.0)
        return;
    int perSecond = static_cast<int>(std::ceil(1000.0 / std::max(frameTime, 1)));
    if (++vsyncTestUpdates < perSecond)
        return;
    if (now - vsyncTestStart > 800)
        vsyncStrikes = 0;
    else if (++vsyncStrikes >= 3)
        vsyncBroken = true;
    vsyncTestStart = now;
    vsyncTestUpdates = 0;
}

} // namespace Zorvin
