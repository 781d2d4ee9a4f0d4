// Demo recording and playback on the application base with fake desktop
// services: what a recording keeps, how a playback answers from it, and the
// files a playback refuses.

#include "tests/framework/app/AppTestSupport.h"

#include "framework/app/DemoFile.h"
#include "framework/core/FileUtil.h"
#include "framework/widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// Notes each press with the update it arrived after; on the first press it
// reads, writes and tests files, and reads a setting, through the
// application as the game's data files do.
class PressProbe : public Widget {
public:
    explicit PressProbe(ZorvinAppBase& application) : app(application) { Resize(0, 0, 640, 480); }
    void MouseDown(int x, int y, int clickCode) override
    {
        Widget::MouseDown(x, y, clickCode);
        presses.push_back({app.GetUpdateCount(), x, y});
        if (presses.size() == 1) {
            std::string bytes;
            readOk = app.ReadFile(path, bytes, 1000);
            readBytes = bytes;
            existed = app.Exists(path);
            wroteOk = app.WriteFile(path, "new " + bytes);
            copy = app.KeepCopy(path);
            app.ReadSettingInteger("Counter", setting);
        }
    }

    struct Press {
        int update, x, y;
        bool operator==(const Press&) const = default;
    };
    ZorvinAppBase& app;
    std::string path;
    std::vector<Press> presses;
    bool readOk = false, existed = false, wroteOk = false;
    std::string readBytes, copy;
    int setting = 0;
};

// Its loading thread waits for update `releaseAt`, then takes loadingMs of
// real time; the end of loading is noted with the update it was handled at.
class LoadingApp : public TestApp {
public:
    using TestApp::TestApp;
    ~LoadingApp() override
    {
        released = true;
        if (loadingThread.joinable())
            loadingThread.join();
    }
    void LoadInBackground() override
    {
        while (!released)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(loadingMs));
    }
    void UpdateFrame() override
    {
        TestApp::UpdateFrame();
        if (GetUpdateCount() >= releaseAt)
            released = true;
    }
    void OnLoadingDone() override { loadedAt = GetUpdateCount(); }

    std::atomic<bool> released{false};
    int releaseAt = 0;
    int loadingMs = 0;
    int loadedAt = -1;
};

class AppDemo : public ::testing::Test {
protected:
    std::unique_ptr<TestApp> Start(const std::string& switches)
    {
        auto app = std::make_unique<TestApp>(&clock, temp.path);
        app->SetWindowSystem(&windows);
        app->SetSystemServices(&services);
        app->registryKey = "Test\\Demo";
        app->SetSettingsPath(temp.File("settings.ini"));
        app->SetCommandLine("app " + switches + " \"-demofile=" + DemoPath() + "\"");
        app->Initialize();
        return app;
    }
    void Post(MessageKind kind, int p1 = 0, int p2 = 0) { windows.Post(kind, p1, p2); }
    std::string DemoPath() const { return temp.File("run.dmo"); }

    TempFolder temp;
    FakeClock clock;
    FakeWindowSystem windows;
    FakeServices services;
    std::vector<PressProbe::Press> recorded;
    std::string written, recordedCopy;
};

} // namespace

// A recorded run and its playback: the presses arrive after the same
// updates, the file and the setting read as they were while recording even
// though both changed since, the write is compared and never made, and the
// playback ends where the recording ended with the same screen.
TEST_F(AppDemo, PlaybackRepeatsTheRunFromTheRecordingAlone)
{
    const std::string data = temp.File("data.bin");
    ASSERT_TRUE(FileUtil::WriteFileAtomic(data, "old"));
    {
        std::unique_ptr<TestApp> app = Start("-record");
        app->WriteSettingInteger("Counter", 7);
        PressProbe probe(*app);
        probe.path = data;
        app->GetWidgetManager()->AddChild(&probe);
        app->RunFor(clock, 50);
        Post(MessageKind::MouseMove, 10, 20);
        Post(MessageKind::LButtonDown, 10, 20);
        Post(MessageKind::LButtonUp, 10, 20);
        app->RunFor(clock, 130);
        Post(MessageKind::LButtonDown, 630, 470);
        Post(MessageKind::LButtonUp, 630, 470);
        app->RunFor(clock, 40);
        Post(MessageKind::Close);
        app->RunFor(clock, 20);
        ASSERT_TRUE(app->HasShutdownStarted());
        app->GetWidgetManager()->RemoveChild(&probe);
        recorded = probe.presses;
        recordedCopy = probe.copy;
        ASSERT_EQ(recorded.size(), 2u);
        EXPECT_TRUE(probe.readOk);
        EXPECT_EQ(probe.setting, 7);
    }
    ASSERT_TRUE(FileUtil::Exists(DemoPath()));
    EXPECT_EQ(FileUtil::ReadFile(data, written), true);
    EXPECT_EQ(written, "new old");

    // The world changes; the playback must not notice.
    ASSERT_TRUE(FileUtil::WriteFileAtomic(data, "changed"));
    std::string settingsBefore;
    FileUtil::ReadFile(temp.File("settings.ini"), settingsBefore);
    std::unique_ptr<TestApp> app = Start("-play");
    ASSERT_TRUE(app->IsPlayingDemo());
    EXPECT_TRUE(app->WriteSettingInteger("Counter", 7)); // as the recorded run did
    PressProbe probe(*app);
    probe.path = data;
    app->GetWidgetManager()->AddChild(&probe);
    Post(MessageKind::LButtonDown, 300, 300); // the window's own input is ignored
    app->JumpDemoTo(1 << 30);
    app->RunFor(clock, 10000, 20000);
    ASSERT_TRUE(app->HasShutdownStarted());
    app->GetWidgetManager()->RemoveChild(&probe);

    EXPECT_EQ(probe.presses, recorded);
    EXPECT_EQ(probe.readBytes, "old");
    // The copy set aside is answered from the recording; none is made.
    EXPECT_EQ(recordedCopy, data + ".bad");
    EXPECT_EQ(probe.copy, recordedCopy);
    EXPECT_FALSE(FileUtil::Exists(data + ".bad2"));
    EXPECT_EQ(probe.setting, 7);
    const ZorvinAppBase::DemoReport& report = app->GetDemoReport();
    EXPECT_EQ(report.divergence, "");
    EXPECT_TRUE(report.finished);
    EXPECT_TRUE(report.screenMatched);
    EXPECT_EQ(report.writesDiffered, 0);
    EXPECT_EQ(report.written.at("data.bin"), "new old");
    std::string now, settingsAfter;
    FileUtil::ReadFile(data, now);
    FileUtil::ReadFile(temp.File("settings.ini"), settingsAfter);
    EXPECT_EQ(now, "changed");
    EXPECT_EQ(settingsAfter, settingsBefore);
}

// A playback that cannot start names the reason and ends the program; a
// damaged file is refused whole, whatever its length.
TEST_F(AppDemo, MissingForeignAndDamagedDemosAreRefusedWithTheirReason)
{
    std::unique_ptr<TestApp> app = Start("-play");
    EXPECT_EQ(app->exits, std::vector<int>{0});
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "FATAL ERROR|Demo file not found: " + DemoPath());
    app.reset();

    DemoFile demo;
    demo.programName = "Other";
    demo.finalUpdate = 500;
    DemoEvent click;
    click.update = 40;
    click.message.kind = MessageKind::LButtonDown;
    click.message.param1 = -5;
    click.message.param2 = 700;
    DemoEvent read;
    read.update = 300;
    read.code = DemoEvent::FileRead;
    read.flag = true;
    read.name = "players.dat";
    read.bytes = std::string("\0\x01\xFF", 3);
    demo.events = {click, read};
    demo.markers = {{40, "Level 1"}};
    std::string bytes = demo.Encode();
    ASSERT_TRUE(demo.Save(DemoPath()));
    services.boxes.clear();
    app = Start("-play");
    EXPECT_EQ(app->exits, std::vector<int>{0});
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "FATAL ERROR|This demo file appears to be for 'Other'.");
    app.reset();

    DemoFile back;
    ASSERT_TRUE(back.Decode(bytes));
    ASSERT_EQ(back.events.size(), 2u);
    EXPECT_EQ(back.events[0].message.param1, -5);
    EXPECT_EQ(back.events[0].message.param2, 700);
    EXPECT_EQ(back.events[1].update, 300);
    EXPECT_EQ(back.events[1].bytes, read.bytes);
    EXPECT_EQ(back.markers[0].name, "Level 1");
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(back.Decode(bytes.substr(0, cut))) << cut;
    std::string error;
    ASSERT_TRUE(FileUtil::WriteFileAtomic(DemoPath(), bytes.substr(0, bytes.size() - 1)));
    EXPECT_FALSE(back.Load(DemoPath(), "Other", error));
    EXPECT_EQ(error, "Invalid demo file.");
}

// A recording that a signal ended from inside an update has no close of its
// own: its playback stops at the same update, and the settings its shutdown
// wrote are asked for in the same order.
TEST_F(AppDemo, RunEndedByASignalPlaysBackToTheSameEnd)
{
    int endedAt = 0;
    {
        std::unique_ptr<TestApp> app = Start("-record");
        app->RunFor(clock, 300);
        endedAt = app->GetUpdateCount();
        app->Shutdown(); // what the signal handler's flag leads to
        ASSERT_GT(endedAt, 20);
    }
    std::unique_ptr<TestApp> app = Start("-play");
    app->JumpDemoTo(1 << 30);
    app->RunFor(clock, 10000, 5000);
    ASSERT_TRUE(app->HasShutdownStarted());
    EXPECT_EQ(app->GetUpdateCount(), endedAt);
    const ZorvinAppBase::DemoReport& report = app->GetDemoReport();
    EXPECT_EQ(report.divergence, "");
    EXPECT_TRUE(report.finished);
    EXPECT_GT(report.writesMatched, 5); // the settings saved at shutdown
    EXPECT_EQ(report.writesDiffered, 0);
}

// The end of loading is an outside result like any other: a playback acts
// on it at the recorded update, whether its own loading thread is done long
// before (a fast build) or still busy when the loop gets there (a slow
// machine, or a clock that only moves when the loop sleeps).
TEST_F(AppDemo, PlaybackEndsLoadingAtTheRecordedUpdateHoweverLongItTakes)
{
    auto start = [this](const std::string& switches, int releaseAt, int loadingMs) {
        auto app = std::make_unique<LoadingApp>(&clock, temp.path);
        app->SetWindowSystem(&windows);
        app->registryKey = "Test\\Demo";
        app->SetSettingsPath(temp.File("settings.ini"));
        app->SetCommandLine("app " + switches + " \"-demofile=" + DemoPath() + "\"");
        app->releaseAt = releaseAt;
        app->loadingMs = loadingMs;
        app->Initialize();
        app->StartLoadingThread();
        return app;
    };
    int recordedAt = 0, recordedEnd = 0;
    {
        auto app = start("-record", 30, 0);
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (app->loadedAt < 0 && std::chrono::steady_clock::now() < limit) {
            bool updated = false;
            app->PumpStep(updated);
        }
        app->RunFor(clock, 200);
        recordedAt = app->loadedAt;
        recordedEnd = app->GetUpdateCount();
        app->Shutdown();
        ASSERT_GE(recordedAt, 30);
    }
    for (int loadingMs : {0, 400}) {
        SCOPED_TRACE(loadingMs);
        auto app = start("-play", 0, loadingMs);
        ASSERT_TRUE(app->IsPlayingDemo());
        app->JumpDemoTo(1 << 30);
        // A fast-forward moves the clock only while it waits.
        app->RunFor(clock, 20000, 1000000);
        ASSERT_TRUE(app->HasShutdownStarted());
        EXPECT_EQ(app->loadedAt, recordedAt);
        EXPECT_EQ(app->GetUpdateCount(), recordedEnd);
        EXPECT_EQ(app->GetDemoReport().divergence, "");
        EXPECT_TRUE(app->GetDemoReport().finished);
    }
}
