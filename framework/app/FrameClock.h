#pragma once

// FrameClock: the main loop's logic clock. It turns elapsed milliseconds
// into logic updates at a fixed rate (an accumulator capped so a stall
// never causes a burst of catch-up updates), applies the game speed, the
// developer's pause and single-step switch and a hold that drops catch-up,
// tells how long the loop may sleep, and counts updates and sleeps. The
// application base owns one and is the only one to advance it; the speed
// switches are the developer keys' and the tests'.

#include <cstdint>

namespace Zorvin {

class FrameClock {
public:
    // The developer's single-step switch (F10, Shift+F10).
    enum class StepMode {
        Running,  // timed updates as usual
        StepOnce, // one update and one draw, then Holding
        Holding,  // no updates; the loop idles a frame at a time
    };
    // The accumulator never holds more than this many milliseconds, so a
    // stall is caught up by at most this much game time.
    static constexpr double kMaxCatchUpMs = 200.0;
    // A screen is still once this many updates in a row left nothing to
    // draw and no input came (half a second).
    static constexpr int kStillUpdates = 50;
    // How long a still screen waits for input before it runs the updates it
    // owes. Whatever starts to move by itself on a still screen (a hint
    // after some idle seconds) shows at most this late; the updates and so
    // the game's own timing are the same.
    static constexpr int kIdleWaitMs = 250;

    // The length of one logic update in milliseconds.
    int FrameTime() const { return frameTime; }
    // Logic updates per second at normal speed.
    int UpdatesPerSecond() const { return 1000 / (frameTime > 0 ? frameTime : 1); }

    // Game speed: 1 normal, 0 stops the updates.
    double Speed() const { return multiplier; }
    void SetSpeed(double speed) { multiplier = speed; }
    bool IsPaused() const { return paused; }
    void SetPaused(bool on) { paused = on; }
    StepMode GetStepMode() const { return stepMode; }
    void SetStepMode(StepMode mode) { stepMode = mode; }
    // Paused or at speed 0: no update is due, ever.
    bool IsStopped() const { return paused || multiplier <= 0; }

    // The "WaitForVSync" setting: in a window, a frame waits one display
    // refresh period after the last one.
    bool WaitsForVSync() const { return waitForVSync; }
    void SetWaitForVSync(bool on) { waitForVSync = on; }
    // Whether a frame sleeps for the refresh itself (rather than letting the
    // display pace the loop).
    bool SleepsForVSync() const { return waitForVSync && softVSyncWait; }
    // Whether the loop waits for the display's refresh instead of the
    // accumulator (updates paced by vertical sync).
    bool VsyncPaces(bool playingDemo, bool lastDrawSkipped, bool physWindowed) const;

    // Milliseconds of game time per update at the current speed.
    double Interval() const;
    // Whether updates are paced by the display's refresh (smooth updates
    // then carry the fraction of an update a frame stands for).
    bool VsyncDrivesUpdates() const { return vsyncUpdates; }
    // Updates that one paced frame stands for (1 unless vsync paces).
    double UpdatesPerFrame() const;

    // Starts timing at `now` with an empty accumulator.
    void Reset(uint32_t now);
    // Measures the next elapsed time from `now` on, keeping what the
    // accumulator holds.
    void MeasureFrom(uint32_t now) { lastTimeCheck = now; }
    // Adds the time since the last look to the accumulator (unless vsync
    // paces) and counts the hold time down by it.
    void Advance(uint32_t now, bool vsyncPaces);
    // Whether an update is due now.
    bool UpdateDue(bool vsyncPaces, bool hasPendingDraw) const;
    // One paced update ran: its interval leaves the accumulator (all of it
    // while a hold is on).
    void ConsumeInterval(bool vsyncPaces);
    // The fractional updates of a paced frame: whole updates owed are run
    // one by one and then taken.
    void AddFrameFraction() { fractionalUpdates += UpdatesPerFrame() - 1; }
    bool OwesFractionalUpdate() const { return fractionalUpdates >= 1; }
    void TakeFractionalUpdate() { fractionalUpdates -= 1; }
    // The time a frame took to draw and present joins the accumulator (the
    // hold is not counted down by it).
    void AddDrawTime(uint32_t now);
    // Milliseconds until the next update is due (may be 0 or less).
    int MsUntilDue() const { return static_cast<int>(Interval() - accumulated); }
    // Adds all the time since the last look, without the catch-up cap: a
    // still screen that waited owes every update of the wait.
    void AdvanceIdle(uint32_t now);

    // Whether the screen is still: the last updates drew nothing and no
    // input came since.
    bool IsStill() const { return sinceChange >= kStillUpdates; }
    // How long the loop may wait for input now instead of stepping: an idle
    // wait on a still screen, or until the next change when the screen
    // changes in a steady rhythm (a blinking arrow, slow glitter); 0 when
    // it must step.
    int IdleWaitMs() const;
    void NoteUpdate(bool changedScreen);
    // Input breaks any rhythm: what it set moving is watched afresh.
    void NoteInput()
    {
        sinceChange = 0;
        lastGap = 0;
        previousGap = 0;
    }
    int IdleWaitCount() const { return idleWaits; }
    void CountIdleWait() { ++idleWaits; }

    // The accumulator is cleared after each update while the hold lasts.
    void Hold(int ms) { holdMs = ms; }

    // Counts a second of updates at normal speed and judges vsync broken
    // when seconds of updates keep passing much faster than seconds.
    void CheckVsync(uint32_t now, bool playingDemo);

    int UpdateCount() const { return updates; }
    // The count as a demo session reads it; it lives as long as the clock.
    const int& UpdateCountRef() const { return updates; }
    void CountUpdate() { ++updates; }
    int SleepCount() const { return sleeps; }
    void CountSleep() { ++sleeps; }

private:
    int frameTime = 10;
    double multiplier = 1.0;
    bool paused = false;
    StepMode stepMode = StepMode::Running;
    bool vsyncUpdates = false;
    int refreshRate = 100;
    bool waitForVSync = false;
    bool softVSyncWait = true;
    bool vsyncBroken = false;
    int vsyncStrikes = 0;
    uint32_t vsyncTestStart = 0;
    int vsyncTestUpdates = 0;
    double accumulated = 0.0;
    double fractionalUpdates = 0.0;
    uint32_t lastTimeCheck = 0;
    int holdMs = 0;
    int updates = 0;
    int sleeps = 0;
    // Updates since the last one that changed the screen, and the two last
    // gaps between such updates.
    int sinceChange = 0;
    int lastGap = 0;
    int previousGap = 0;
    int idleWaits = 0;
};

} // namespace Zorvin
