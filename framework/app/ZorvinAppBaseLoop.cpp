// The application base's main loop and its timing.
//
//   Run, RunLoop          the loop of the whole run and its closing figures
//   PumpStep and friends  one step: queued input, else an update, a draw or
//                         a sleep; nested steps for blocking animations
//   TimedStep             the update accumulator, catch-up updates, drawing
//   TryUpdate, UpdateFrame, SmoothUpdate, ResetTiming

#include "framework/app/ZorvinAppBase.h"

#include "framework/audio/music/MusicInterface.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/WindowSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Zorvin {

namespace {

// Increments a counter for the duration of a scope.
class DepthGuard {
public:
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }

private:
    int& depth;
};

} // namespace

void ZorvinAppBase::Run()
{
    if (shutdown)
        return;
    if (autoStartLoadingThread)
        StartLoadingThread();
    ShowMainWindow();
    uint32_t runStart = Now();
    drawPacer.NoteShown(runStart);
    frameClock.MeasureFrom(runStart);
    running = true;
    RunLoop();
    pumpDepth = 0;
    ReleaseDeferredDeletions();
    running = false;
    if (loadingThread.joinable())
        loadingThread.join();

    uint32_t elapsed = Now() - runStart;
    std::fprintf(stderr, "Seconds       = %g\r\n", elapsed / 1000.0);
    int drawMs = drawPacer.DrawTime();
    int copyMs = drawPacer.ScreenCopyTime();
    std::fprintf(stderr, "Sleep Count   = %d\r\n", frameClock.SleepCount());
    std::fprintf(stderr, "Update Count  = %d\r\n", frameClock.UpdateCount());
    std::fprintf(stderr, "Draw Count    = %d\r\n", drawPacer.DrawCount());
    std::fprintf(stderr, "Draw Time     = %d\r\n", drawMs);
    std::fprintf(stderr, "Screen Blt    = %d\r\n", copyMs);
    if (drawMs + copyMs > 0)
        std::fprintf(stderr, "Avg FPS       = %d\r\n", drawPacer.DrawCount() * 1000 / (drawMs + copyMs));

    OnRunFinished();
    if (readFromRegistry)
        SaveSettings();
}

void ZorvinAppBase::RunLoop()
{
    while (!shutdown) {
        exitToTop = false;
        PumpUntilUpdate();
    }
}

bool ZorvinAppBase::PumpUntilUpdate()
{
    bool updated = false;
    do {
        if (!PumpStep(updated))
            return false;
    } while (!updated);
    return true;
}

bool ZorvinAppBase::PumpStep(bool& updated)
{
    updated = false;
    if (exitToTop)
        return false;
    if (updateAppState == LoopState::StepDone)
        updateAppState = LoopState::TakingInput;
    DepthGuard depth(pumpDepth);

    if (updateAppState == LoopState::TakingInput) {
        if (windowSystem != nullptr && !shutdown)
            windowSystem->PumpEvents(*this);
        if (!ProcessQueuedMessage())
            updateAppState = LoopState::Updating;
    }
    if (updateAppState == LoopState::TakingInput)
        return true;
    int before = frameClock.UpdateCount();
    if (frameClock.GetStepMode() == StepMode::Running) {
        TimedStep(true);
    } else if (frameClock.GetStepMode() == StepMode::Holding) {
        clock->Sleep(frameClock.FrameTime());
        updateAppState = LoopState::StepDone;
    } else {
        frameClock.SetStepMode(StepMode::Holding);
        TryUpdate();
        SmoothUpdate(1.0);
        Redraw();
    }
    updated = frameClock.UpdateCount() != before;
    return true;
}

bool ZorvinAppBase::SleepOrFail(int ms, bool allowSleep)
{
    if (!allowSleep)
        return false;
    clock->Sleep(ms);
    return true;
}

bool ZorvinAppBase::TimedStep(bool allowSleep)
{
    if (shutdownFromOtherThread.exchange(false))
        Shutdown();
    bool playing = IsPlayingDemo();
    if (playing && DemoFastForward())
        return true;
    if (frameClock.IsStopped()) {
        // Nothing runs, so wait one update period for input instead of
        // pumping the queue in a tight loop.
        ReleaseDeferredDeletions();
        if (!SleepOrFail(frameClock.FrameTime(), allowSleep))
            return false;
        frameClock.CountSleep();
        return true;
    }

    bool vsyncPaces =
        frameClock.VsyncPaces(playing, drawPacer.LastDrawSkipped(), display.IsPhysicallyWindowed());
    uint32_t now = Now();
    frameClock.Advance(now, vsyncPaces);

    int slept = 0;
    bool goDraw = true;
    if (updateAppState == LoopState::Updating) {
        ++updatesSinceLastDraw;
        if (updatesSinceLastDraw < std::ceil(frameClock.Speed() * 10) || !loaded) {
            if (frameClock.UpdateDue(vsyncPaces, drawPacer.HasPendingDraw())) {
                frameClock.CheckVsync(Now(), playing);
                if (TryUpdate())
                    updateAppState = LoopState::CatchingUp;
                drawPacer.RequestDraw();
                goDraw = false;
            }
        }
    } else if (updateAppState == LoopState::CatchingUp) {
        updateAppState = LoopState::StepDone;
        frameClock.AddFrameFraction();
        ReleaseDeferredDeletions();
        while (frameClock.OwesFractionalUpdate()) {
            if (!TryUpdate())
                break;
            ++updatesSinceLastDraw;
            ReleaseDeferredDeletions();
            frameClock.TakeFractionalUpdate();
        }
        SmoothUpdate(frameClock.UpdatesPerFrame());
        ReleaseDeferredDeletions();
        frameClock.ConsumeInterval(vsyncPaces);
        goDraw = false;
    }

    if (goDraw) {
        updateAppState = LoopState::StepDone;
        updatesSinceLastDraw = 0;
        if (drawPacer.HasPendingDraw()) {
            Redraw();
        } else if (allowSleep && CanIdle()) {
            IdleUntilInput();
            return true;
        } else {
            int sleepTime = frameClock.MsUntilDue();
            if (sleepTime >= 1) {
                if (!SleepOrFail(sleepTime, allowSleep))
                    return false;
                slept = sleepTime;
                frameClock.CountSleep();
            }
        }
    }

    if (yieldMainThread) {
        // Leave the loading thread about twice our own working time.
        int worked = static_cast<int>(Now() - now) - slept;
        int extra = std::min(worked * 2 - slept, 250);
        if (extra >= 0 && !SleepOrFail(extra, allowSleep))
            return false;
    }
    ReleaseDeferredDeletions();
    return true;
}

bool ZorvinAppBase::CanIdle() const
{
    // A demo keeps the fixed stepping it was recorded with; loading, the
    // developer's speed switches, fading music and waiting work keep the
    // loop stepping too.
    if (frameClock.IdleWaitMs() <= 0 || !loaded || yieldMainThread || demoSession != nullptr)
        return false;
    if (frameClock.GetStepMode() != StepMode::Running || frameClock.Speed() != 1.0 ||
        frameClock.VsyncDrivesUpdates())
        return false;
    if (!messageQueue.empty() || !deferredDeletes.empty() || shutdown)
        return false;
    return !(musicInterface && musicInterface->IsFading());
}

void ZorvinAppBase::IdleUntilInput()
{
    // Waits for the next input (or the end of the idle wait) instead of
    // waking for every update; the window system can wait only on the real
    // clock, any other clock is slept on.
    int waitMs = frameClock.IdleWaitMs();
    frameClock.CountIdleWait();
    frameClock.CountSleep();
    if (clock != systemClock.get() || windowSystem == nullptr || !windowSystem->WaitForEvent(waitMs))
        clock->Sleep(waitMs);
    // The updates of the wait run now, in one go and in their order, so
    // the game's timers count the same; the input that woke the loop is
    // handled after them, as it would have been.
    frameClock.AdvanceIdle(Now());
    while (frameClock.UpdateDue(false, false) && !shutdown) {
        if (!TryUpdate())
            break;
        frameClock.ConsumeInterval(false);
        ReleaseDeferredDeletions();
    }
    drawPacer.RequestDraw();
    updatesSinceLastDraw = 0;
    updateAppState = LoopState::StepDone;
    ReleaseDeferredDeletions();
}

bool ZorvinAppBase::TryUpdate()
{
    if (tearingDown)
        return false;
    if (IsPlayingDemo()) {
        // Loading ends, and updates run, where the recording says.
        if (!DemoAllowsUpdate())
            return false;
    } else if (loadingThreadCompleted && !loaded) {
        if (loadingThread.joinable())
            loadingThread.join();
        loaded = true;
        yieldMainThread = false;
        DemoEvent done;
        done.code = DemoEvent::LoadingDone;
        if (demoSession)
            demoSession->Record(std::move(done));
        OnLoadingDone();
    }
    UpdateFrame();
    return true;
}

void ZorvinAppBase::UpdateFrame()
{
    frameClock.CountUpdate();
    // Only an update that leaves something to draw keeps the screen from
    // counting as still.
    frameClock.NoteUpdate(!minimized && widgetManager->UpdateWidgets());
    if (musicInterface)
        musicInterface->UpdateFades();
    // Images nobody refers to any more go with the updates, never while a
    // frame is being drawn.
    sharedImages.CleanUp();
    ShowPendingFontErrors();
}

void ZorvinAppBase::SmoothUpdate(double frac)
{
    if (frameClock.VsyncDrivesUpdates())
        widgetManager->UpdateWidgetsSmooth(frac);
}

void ZorvinAppBase::ResetTiming()
{
    frameClock.Reset(Now());
}

void ZorvinAppBase::BeginDrivenRun()
{
    StartLoadingThread();
    if (windowSystem != nullptr && display.HasWindow())
        windowSystem->ShowMainWindow(true);
    drawPacer.NoteShown(Now());
    frameClock.MeasureFrom(drawPacer.LastShownTick());
    running = true;
}

void ZorvinAppBase::EndDrivenRun()
{
    pumpDepth = 0;
    ReleaseDeferredDeletions();
    running = false;
}

} // namespace Zorvin
