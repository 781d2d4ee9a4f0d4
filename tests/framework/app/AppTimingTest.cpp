#include "tests/framework/app/AppTestSupport.h"

#include "framework/widgets/controls/Dialog.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// A widget whose update can stall the clock or run a nested main loop.
class HookWidget : public Widget {
public:
    explicit HookWidget(FakeClock* c) : clock(c) {}
    void Update() override
    {
        Widget::Update();
        ++updates;
        if (stallMs > 0) {
            clock->Advance(stallMs);
            stallMs = 0;
        }
        if (onUpdate) {
            auto hook = std::move(onUpdate);
            onUpdate = nullptr;
            hook();
        }
    }
    void KeyDown(int key) override
    {
        Widget::KeyDown(key);
        if (onKey)
            onKey();
    }

    FakeClock* clock;
    int updates = 0;
    int stallMs = 0;
    std::function<void()> onUpdate;
    std::function<void()> onKey;
};

class AppTiming : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<TestApp>(&clock);
        app->Initialize();
        app->ResetTiming();
    }

    FakeClock clock;
    std::unique_ptr<TestApp> app;
};

} // namespace

TEST_F(AppTiming, IdleLoopUpdatesHundredTimesASecondAndSleepsBetween)
{
    int steps = app->RunFor(clock, 1000);
    EXPECT_NEAR(app->GetUpdateCount(), 100, 1);
    // Every update is followed by a sleep to the next one, not by spinning.
    EXPECT_GE(app->GetFrameClock().SleepCount(), 99);
    EXPECT_LT(steps, 1000);
    EXPECT_GE(clock.sleptMs, 990);
}

TEST_F(AppTiming, StillScreenWaitsForInputAndCatchesUpItsUpdates)
{
    // Nothing moves, but a timer of the game's own shows something after
    // three seconds of game time, as the board's idle hint does.
    struct TimerWidget : Widget {
        explicit TimerWidget(FakeClock& c) : clock(c) {}
        void Update() override
        {
            Widget::Update();
            if (++updates == 300) {
                firedAt = clock.now;
                MarkDirty();
            }
        }
        FakeClock& clock;
        int updates = 0;
        uint32_t firedAt = 0;
    } timer(clock);
    timer.Resize(0, 0, 10, 10);
    app->GetWidgetManager()->AddChild(&timer);
    app->loaded = true;
    uint32_t start = clock.now;
    app->RunFor(clock, 5000);

    // Far fewer wake-ups than the 500 updates (half a second of updates
    // each time before the screen counts as still), none of which is lost.
    EXPECT_LT(clock.sleeps, 150);
    EXPECT_GE(app->GetFrameClock().IdleWaitCount(), 10);
    EXPECT_NEAR(timer.updates, 500, 2);
    // The timer fired on its update, no later than one idle wait after
    // its game time, and what it showed was drawn.
    EXPECT_GE(timer.firedAt, start + 3000);
    EXPECT_LE(timer.firedAt, start + 3000 + FrameClock::kIdleWaitMs);
    EXPECT_FALSE(app->GetWidgetManager()->DrawDirtyWidgets());
    app->GetWidgetManager()->RemoveChild(&timer);
}

TEST_F(AppTiming, ASteadyRhythmOfChangesIsShownOnTimeWithFewWakeUps)
{
    // Something decorative changes four times a second, as slow glitter
    // does: the loop wakes for each change, on time, and sleeps between.
    struct Blinker : Widget {
        explicit Blinker(FakeClock& c) : clock(c) {}
        void Update() override
        {
            Widget::Update();
            if (++updates % 25 == 0) {
                shownAt.push_back(clock.now);
                MarkDirty();
            }
        }
        FakeClock& clock;
        int updates = 0;
        std::vector<uint32_t> shownAt;
    } blinker(clock);
    blinker.Resize(0, 0, 10, 10);
    app->GetWidgetManager()->AddChild(&blinker);
    app->loaded = true;
    uint32_t start = clock.now;
    app->RunFor(clock, 3000);

    EXPECT_LT(clock.sleeps, 100); // stepping would sleep 300 times
    ASSERT_EQ(blinker.shownAt.size(), 12u);
    for (size_t i = 0; i < blinker.shownAt.size(); ++i)
        EXPECT_LE(blinker.shownAt[i] - (start + 250 * (i + 1)), 10u) << "change " << i;
    app->GetWidgetManager()->RemoveChild(&blinker);
}

TEST_F(AppTiming, DrawsAtLeastOnceASecondWhenNothingIsDirty)
{
    app->RunFor(clock, 5000);
    EXPECT_GE(app->GetDrawPacer().DrawCount(), 5);
    EXPECT_LE(app->GetDrawPacer().DrawCount(), 6);
}

TEST_F(AppTiming, StallCatchesUpAtMostTwentyUpdatesThenPacesNormally)
{
    HookWidget w(&clock);
    w.Resize(0, 0, 10, 10);
    app->GetWidgetManager()->AddChild(&w);
    app->RunFor(clock, 200);

    w.stallMs = 1000;
    int before = app->GetUpdateCount();
    int sleepsBefore = clock.sleeps;
    // Step until the first sleep after the stall.
    int guard = 0;
    while (clock.sleeps == sleepsBefore && ++guard < 10000) {
        bool updated;
        app->PumpStep(updated);
    }
    int catchUp = app->GetUpdateCount() - before - 1; // minus the stalling update
    EXPECT_LE(catchUp, 20);
    EXPECT_GE(catchUp, 19);

    int afterCatchUp = app->GetUpdateCount();
    app->RunFor(clock, 1000);
    EXPECT_NEAR(app->GetUpdateCount() - afterCatchUp, 100, 2);
    app->GetWidgetManager()->RemoveChild(&w);
}

TEST_F(AppTiming, HoldTimeDropsCatchUp)
{
    HookWidget w(&clock);
    app->GetWidgetManager()->AddChild(&w);
    app->RunFor(clock, 100);
    app->Timing().Hold(5000);
    w.stallMs = 1000;
    int before = app->GetUpdateCount();
    int sleepsBefore = clock.sleeps;
    int guard = 0;
    while (clock.sleeps == sleepsBefore && ++guard < 10000) {
        bool updated;
        app->PumpStep(updated);
    }
    EXPECT_LE(app->GetUpdateCount() - before, 2);
    app->GetWidgetManager()->RemoveChild(&w);
}

TEST_F(AppTiming, QuarterSpeedGivesTwentyFiveUpdatesASecond)
{
    app->Timing().SetSpeed(0.25);
    app->RunFor(clock, 4000);
    EXPECT_NEAR(app->GetUpdateCount(), 100, 1);
}

TEST_F(AppTiming, ZeroSpeedStopsUpdatesButStillDeletesDeferredWidgets)
{
    app->Timing().SetSpeed(0);
    bool deleted = false;
    auto* w = new HookWidget(&clock);
    bool aliveAfterDefer = false;
    w->onKey = [&] {
        app->DeferDelete(w);
        aliveAfterDefer = !deleted; // not deleted while its handler runs
    };
    app->GetWidgetManager()->AddChild(w);
    app->GetWidgetManager()->SetFocusWidget(w);
    struct Watch : Widget {
        bool* flag;
        explicit Watch(bool* f) : flag(f) {}
        ~Watch() override { *flag = true; }
    };
    bool watchDeleted = false;
    auto* watch = new Watch(&watchDeleted);
    w->AddChild(watch);

    app->OnWindowMessage({MessageWindow::Main, MessageKind::KeyDown, 'A', 0});
    for (int i = 0; i < 50; ++i) {
        bool updated;
        app->PumpStep(updated);
    }
    EXPECT_TRUE(aliveAfterDefer);
    EXPECT_EQ(app->GetUpdateCount(), 0);
    EXPECT_TRUE(app->GetWidgetManager()->GetChildren().empty());
    EXPECT_EQ(app->GetWidgetManager()->GetFocusWidget(), nullptr);
    EXPECT_TRUE(app->PendingDeletions() == 0);
    delete watch;
    EXPECT_TRUE(watchDeleted);

    // Stopped, the loop waits for input instead of spinning, and so it does
    // while suspended.
    EXPECT_LT(app->RunFor(clock, 1000), 300);
    app->Timing().SetSpeed(1);
    app->Timing().SetPaused(true);
    EXPECT_LT(app->RunFor(clock, 1000), 300);
    EXPECT_EQ(app->GetUpdateCount(), 0);
}

TEST_F(AppTiming, NestedPumpDeletesOnlyWhatWasDeferredAtItsOwnDepth)
{
    HookWidget driver(&clock);
    app->GetWidgetManager()->AddChild(&driver);
    bool outerDeleted = false, innerDeleted = false;
    auto* outer = new ProbeWidget(0, 0, 1, 1, &outerDeleted);
    auto* inner = new ProbeWidget(0, 0, 1, 1, &innerDeleted);
    bool innerGoneInsideNestedLoop = false, outerAliveAfterNestedLoop = false;

    driver.onUpdate = [&] {
        app->DeferDelete(outer);
        // The nested loop's own update defers the inner widget.
        driver.onUpdate = [&] { app->DeferDelete(inner); };
        app->PumpUntilUpdate();
        // Let the nested loop finish its step so its deletions run.
        for (int i = 0; i < 4; ++i) {
            bool updated;
            app->PumpStep(updated);
        }
        innerGoneInsideNestedLoop = innerDeleted;
        outerAliveAfterNestedLoop = !outerDeleted;
    };
    app->RunFor(clock, 50);
    EXPECT_TRUE(innerGoneInsideNestedLoop);
    EXPECT_TRUE(outerAliveAfterNestedLoop);
    EXPECT_TRUE(outerDeleted);
    app->GetWidgetManager()->RemoveChild(&driver);
}

TEST_F(AppTiming, SingleStepModeUpdatesOncePerRequest)
{
    app->RunFor(clock, 100);
    app->Timing().SetStepMode(ZorvinAppBase::StepMode::StepOnce);
    int before = app->GetUpdateCount();
    app->RunFor(clock, 500);
    EXPECT_EQ(app->GetUpdateCount(), before + 1);
    app->Timing().SetStepMode(ZorvinAppBase::StepMode::StepOnce);
    app->RunFor(clock, 500);
    EXPECT_EQ(app->GetUpdateCount(), before + 2);
}

TEST_F(AppTiming, ResetTimingForgetsTheTimeSpentInAModalLoop)
{
    app->RunFor(clock, 100);
    clock.Advance(3000);
    app->ResetTiming();
    int before = app->GetUpdateCount();
    int sleepsBefore = clock.sleeps;
    int guard = 0;
    while (clock.sleeps == sleepsBefore && ++guard < 1000) {
        bool updated;
        app->PumpStep(updated);
    }
    EXPECT_LE(app->GetUpdateCount() - before, 1);
}

namespace {

class LoadingApp : public TestApp {
public:
    using TestApp::TestApp;
    void LoadInBackground() override
    {
        loaderThread = std::this_thread::get_id();
        numLoadingThreadTasks = 4;
        completedLoadingThreadTasks = 1;
        reachedQuarter = true;
        while (!release)
            std::this_thread::yield();
        completedLoadingThreadTasks = 4;
        if (shutdownFromLoader)
            Shutdown();
    }
    void OnLoadingDone() override { ++loadingDone; }
    void OnShutdown() override
    {
        ++shutdowns;
        shutdownThread = std::this_thread::get_id();
    }

    std::atomic<bool> reachedQuarter{false};
    std::atomic<bool> release{false};
    bool shutdownFromLoader = false;
    std::thread::id loaderThread;
    std::thread::id shutdownThread;
    int loadingDone = 0;
    int shutdowns = 0;
};

void WaitFor(const std::atomic<bool>& flag)
{
    while (!flag)
        std::this_thread::yield();
}

} // namespace

TEST(AppLoading, ProgressFollowsTheLoadingThreadAndCompletionIsHandledOnce)
{
    FakeClock clock;
    LoadingApp app(&clock);
    app.Initialize();
    EXPECT_EQ(app.GetLoadingProgress(), 0.0);
    app.StartLoadingThread();
    WaitFor(app.reachedQuarter);
    EXPECT_DOUBLE_EQ(app.GetLoadingProgress(), 0.25);
    EXPECT_TRUE(app.yieldMainThread);
    app.release = true;
    WaitFor(app.loadingThreadCompleted);
    EXPECT_EQ(app.loadingDone, 0); // noticed by the main loop, not the thread
    app.RunFor(clock, 100);
    EXPECT_EQ(app.loadingDone, 1);
    EXPECT_EQ(app.GetLoadingProgress(), 1.0);
    EXPECT_FALSE(app.yieldMainThread);
}

TEST(AppLoading, ShutdownFromTheLoadingThreadRunsOnThePrimaryThreadOnce)
{
    FakeClock clock;
    LoadingApp app(&clock);
    app.shutdownFromLoader = true;
    app.Initialize();
    app.StartLoadingThread();
    app.release = true;
    WaitFor(app.loadingThreadCompleted);
    EXPECT_EQ(app.shutdowns, 0);
    EXPECT_TRUE(app.shutdownFromOtherThread);
    app.RunFor(clock, 100);
    EXPECT_EQ(app.shutdowns, 1);
    EXPECT_EQ(app.shutdownThread, std::this_thread::get_id());
    app.Shutdown();
    EXPECT_EQ(app.shutdowns, 1);
}

TEST(AppLoading, RunEndsAfterShutdownAndWaitsForTheLoader)
{
    FakeClock clock;
    LoadingApp app(&clock);
    app.Initialize();
    app.release = true;
    HookWidget w(&clock);
    w.onUpdate = [&] {
        w.onUpdate = [&] { app.Shutdown(); };
    };
    app.GetWidgetManager()->AddChild(&w);
    app.Run();
    EXPECT_TRUE(app.loadingThreadCompleted);
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.shutdowns, 1);
    app.GetWidgetManager()->RemoveChild(&w);
}
