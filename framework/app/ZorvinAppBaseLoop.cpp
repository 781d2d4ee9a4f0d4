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
    lastDrawTick = runStart;
    lastTimeCheck = runStart;
    running = true;
    RunLoop();
    pumpDepth = 0;
    ReleaseDeferredDeletions();
    running = false;
    if (loadingThread.joinable())
        loadingThread.join();

    uint32_t elapsed = Now() - runStart;
    std::fprintf(stderr, "Seconds       = %g\r\n", elapsed / 1000.0);
    std::fprintf(stderr, "Sleep Count   = %d\r\n", sleepCount);
    std::fprintf(stderr, "Update Count  = %d\r\n", updateCount);
    std::fprintf(stderr, "Draw Count    = %d\r\n", drawCount);
    std::fprintf(stderr, "Draw Time     = %d\r\n", drawTime);
    std::fprintf(stderr, "Screen Blt    = %d\r\n", screenBltTime);
    if (drawTime + screenBltTime > 0)
        std::fprintf(stderr, "Avg FPS       = %d\r\n", drawCount * 1000 / (drawTime + screenBltTime));

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
    if (stepMode == StepMode::Running) {
        int before = updateCount;
        TimedStep(true);
        updated = updateCount != before;
    } else if (stepMode == StepMode::Holding) {
        clock->Sleep(frameTime);
        updateAppState = LoopState::StepDone;
    } else {
        stepMode = StepMode::Holding;
        int before = updateCount;
        TryUpdate();
        SmoothUpdate(1.0);
        Redraw();
        updated = updateCount != before;
    }
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
    if (playingDemo && DemoFastForward())
        return true;
    if (paused || updateMultiplier <= 0) {
        // Nothing runs, so wait one update period for input instead of
        // pumping the queue in a tight loop.
        ReleaseDeferredDeletions();
        if (!SleepOrFail(frameTime, allowSleep))
            return false;
        ++sleepCount;
        return true;
    }

    double interval = frameTime / updateMultiplier;
    double updatesPerFrame = 1.0;
    if (vsyncUpdates && refreshRate > 0) {
        interval = (1000.0 / refreshRate) / updateMultiplier;
        updatesPerFrame = 1000.0 / (refreshRate * frameTime);
    }
    bool vsyncWait = !playingDemo && vsyncUpdates && !lastDrawWasEmpty && !vsyncBroken &&
                     (!isPhysWindowed || (waitForVSync && !softVSyncWait));

    uint32_t now = Now();
    uint32_t elapsed = now - lastTimeCheck;
    lastTimeCheck = now;
    if (!vsyncWait) {
        updateTimeAcc = std::min(updateTimeAcc + elapsed, 200.0);
        holdTime = std::max(0, holdTime - static_cast<int>(std::min<uint32_t>(elapsed, 0x7FFFFFFF)));
    }

    int slept = 0;
    bool goDraw = true;
    if (updateAppState == LoopState::Updating) {
        ++updatesSinceLastDraw;
        if (updatesSinceLastDraw < std::ceil(updateMultiplier * 10) || !loaded) {
            bool due = vsyncWait ? (!hasPendingDraw || updateTimeAcc >= static_cast<int>(interval * 0.75))
                                 : updateTimeAcc >= interval;
            if (due) {
                VsyncSanityCheck();
                if (TryUpdate())
                    updateAppState = LoopState::CatchingUp;
                hasPendingDraw = true;
                goDraw = false;
            }
        }
    } else if (updateAppState == LoopState::CatchingUp) {
        updateAppState = LoopState::StepDone;
        pendingUpdatesAcc += updatesPerFrame - 1;
        ReleaseDeferredDeletions();
        while (pendingUpdatesAcc >= 1) {
            if (!TryUpdate())
                break;
            ++updatesSinceLastDraw;
            ReleaseDeferredDeletions();
            pendingUpdatesAcc -= 1;
        }
        SmoothUpdate(updatesPerFrame);
        ReleaseDeferredDeletions();
        if (vsyncWait)
            updateTimeAcc = std::max(0.0, updateTimeAcc - (interval + 0.2));
        else
            updateTimeAcc -= interval;
        if (holdTime > 0)
            updateTimeAcc = 0;
        goDraw = false;
    }

    if (goDraw) {
        updateAppState = LoopState::StepDone;
        updatesSinceLastDraw = 0;
        if (hasPendingDraw) {
            Redraw();
        } else {
            int sleepTime = static_cast<int>(interval - updateTimeAcc);
            if (sleepTime >= 1) {
                if (!SleepOrFail(sleepTime, allowSleep))
                    return false;
                slept = sleepTime;
                ++sleepCount;
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

void ZorvinAppBase::VsyncSanityCheck()
{
    if (playingDemo || updateMultiplier != 1.0)
        return;
    int perSecond = static_cast<int>(std::ceil(1000.0 / std::max(frameTime, 1)));
    if (++vsyncBrokenTestUpdates < perSecond)
        return;
    uint32_t now = Now();
    if (now - vsyncBrokenTestStartTick > 800)
        vsyncBrokenCount = 0;
    else if (++vsyncBrokenCount >= 3)
        vsyncBroken = true;
    vsyncBrokenTestStartTick = now;
    vsyncBrokenTestUpdates = 0;
}

bool ZorvinAppBase::TryUpdate()
{
    if (tearingDown)
        return false;
    if (playingDemo && demoSession) {
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
    ++updateCount;
    if (!minimized)
        widgetManager->UpdateWidgets();
    if (musicInterface)
        musicInterface->UpdateFades();
    // Images nobody refers to any more go with the updates, never while a
    // frame is being drawn.
    sharedImages.CleanUp();
    ShowPendingFontErrors();
}

void ZorvinAppBase::SmoothUpdate(double frac)
{
    if (vsyncUpdates)
        widgetManager->UpdateWidgetsSmooth(frac);
}

void ZorvinAppBase::ResetTiming()
{
    updateTimeAcc = 0;
    lastTimeCheck = Now();
}

void ZorvinAppBase::BeginDrivenRun()
{
    StartLoadingThread();
    if (windowSystem != nullptr && hasMainWindow)
        windowSystem->ShowMainWindow(true);
    lastDrawTick = Now();
    lastTimeCheck = lastDrawTick;
    running = true;
}

void ZorvinAppBase::EndDrivenRun()
{
    pumpDepth = 0;
    ReleaseDeferredDeletions();
    running = false;
}

} // namespace Zorvin
