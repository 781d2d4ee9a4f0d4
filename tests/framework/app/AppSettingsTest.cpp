#include "tests/framework/app/AppTestSupport.h"

#include "framework/core/FileUtil.h"
#include "framework/app/SettingsStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// A desktop with a window manager as on X: it frames the window with a
// border of 1 pixel and a title bar, puts the frame where the window was
// asked to go, reports the drawing area's place in Move messages, and moves
// the drawing area itself where it is told. A launch ends once its window
// was shown and the messages were handled.
class FramingWindowSystem : public FakeWindowSystem {
public:
    bool CreateMainWindow(const WindowSpec& spec) override
    {
        client = {spec.x + frame.left, spec.y + frame.top};
        return FakeWindowSystem::CreateMainWindow(spec);
    }
    void ShowMainWindow(bool activate) override
    {
        FakeWindowSystem::ShowMainWindow(activate);
        Post(MessageKind::Move, client.first, client.second);
    }
    FrameExtents GetFrameExtents() override { return shown ? frame : FrameExtents(); }
    Rect GetWorkAreaAt(int, int) override { return workArea; }
    void MoveMainWindow(int x, int y) override
    {
        client = {x, y};
        Post(MessageKind::Move, x, y);
    }
    void PumpEvents(InputSink& app) override
    {
        bool idle = pending.empty();
        FakeWindowSystem::PumpEvents(app);
        if (idle && shown)
            app.OnWindowMessage({MessageWindow::Main, MessageKind::Close, 0, 0});
    }

    FrameExtents frame{1, 20, 1, 5};
    std::pair<int, int> client;
};

class AppSettings : public ::testing::Test {
protected:
    std::unique_ptr<TestApp> MakeApp()
    {
        auto app = std::make_unique<TestApp>(&clock, temp.path);
        app->registryKey = "Wendmoor\\Korvelt";
        app->SetSettingsPath(SettingsFile());
        return app;
    }
    std::string SettingsFile() const { return temp.File("cfg/Wendmoor/Korvelt/settings.ini"); }
    int StoredInt(const std::string& name)
    {
        SettingsStore store(SettingsFile());
        int v = -12345;
        EXPECT_TRUE(store.ReadInteger(name, v)) << name;
        return v;
    }

    FakeClock clock;
    TempFolder temp;
};

} // namespace

TEST_F(AppSettings, SavedValuesUseTheStoredConversionsAndComeBack)
{
    auto app = MakeApp();
    app->LoadSettings();
    app->musicVolume = 0.857;
    app->sfxVolume = 0.29;
    app->Display().SetWantsWindow(false);
    app->Display().SetPreferredPlace(120, -1);
    app->customCursorsEnabled = true;
    app->Timing().SetWaitForVSync(true);
    app->Mute(false);
    app->SaveSettings();

    EXPECT_EQ(StoredInt("MusicVolume"), 85);
    EXPECT_EQ(StoredInt("SfxVolume"), 29); // not 28: no percent lost per save
    EXPECT_EQ(StoredInt("Muted"), 1);
    EXPECT_EQ(StoredInt("ScreenMode"), 1);
    EXPECT_EQ(StoredInt("PreferredX"), 120);
    EXPECT_EQ(StoredInt("CustomCursors"), 1);
    EXPECT_EQ(StoredInt("InProgress"), 0);

    auto again = MakeApp();
    again->LoadSettings();
    EXPECT_DOUBLE_EQ(again->musicVolume, 0.85);
    EXPECT_DOUBLE_EQ(again->sfxVolume, 0.29);
    EXPECT_EQ(again->muteCount, 1);
    EXPECT_TRUE(again->IsMuted());
    EXPECT_FALSE(again->IsWindowed());
    EXPECT_EQ(again->GetDisplayState().PreferredX(), 120);
    EXPECT_EQ(again->GetDisplayState().PreferredY(), -1);
    EXPECT_TRUE(again->customCursorsEnabled);
    EXPECT_TRUE(again->GetFrameClock().WaitsForVSync());
}

TEST_F(AppSettings, OnlyThePlayersOwnMuteIsSaved)
{
    auto app = MakeApp();
    app->LoadSettings();
    app->Mute(true); // focus loss only
    app->SaveSettings();
    EXPECT_EQ(StoredInt("Muted"), 0);
    app->Mute(false); // and now the player mutes
    app->SaveSettings();
    EXPECT_EQ(StoredInt("Muted"), 1);
}

TEST_F(AppSettings, StoredPercentagesAreTakenAsTheyAre)
{
    SettingsStore store(SettingsFile());
    ASSERT_TRUE(store.WriteInteger("MusicVolume", 50));
    ASSERT_TRUE(store.WriteInteger("SfxVolume", 250));
    ASSERT_TRUE(store.WriteString("ScreenMode", "0")); // wrong kind: ignored
    auto app = MakeApp();
    app->Display().SetWantsWindow(false);
    app->LoadSettings();
    EXPECT_DOUBLE_EQ(app->musicVolume, 0.5);
    EXPECT_DOUBLE_EQ(app->sfxVolume, 2.5);
    EXPECT_FALSE(app->IsWindowed());
}

TEST_F(AppSettings, InProgressMarksARunThatDidNotEndCleanly)
{
    auto first = MakeApp();
    first->LoadSettings();
    EXPECT_TRUE(first->lastShutdownWasGraceful);
    EXPECT_EQ(StoredInt("InProgress"), 1);
    // The first run crashes: nothing saved. The next one notices.
    auto second = MakeApp();
    second->LoadSettings();
    EXPECT_FALSE(second->lastShutdownWasGraceful);
    second->SaveSettings();
    auto third = MakeApp();
    third->isScreenSaver = true;
    third->LoadSettings();
    EXPECT_TRUE(third->lastShutdownWasGraceful);
    EXPECT_EQ(StoredInt("InProgress"), 0); // screensaver runs leave it alone
}

TEST_F(AppSettings, EmptyKeyReadsAndWritesNothing)
{
    SettingsStore store(SettingsFile());
    ASSERT_TRUE(store.WriteInteger("MusicVolume", 10));
    auto app = MakeApp();
    app->registryKey.clear();
    app->LoadSettings();
    EXPECT_DOUBLE_EQ(app->musicVolume, 0.85);
    EXPECT_FALSE(app->WriteSettingInteger("X", 1));
    int v;
    EXPECT_FALSE(app->ReadSettingInteger("MusicVolume", v));
    app->SaveSettings();
    EXPECT_EQ(StoredInt("MusicVolume"), 10);
    EXPECT_FALSE(FileUtil::Exists(temp.File("cfg/Wendmoor/Korvelt/settings.ini.tmp")));
}

TEST_F(AppSettings, RegistryKeyFromTheStringTableWins)
{
    auto app = MakeApp();
    app->registryKey.clear();
    app->stringTable["RegistryKey"] = "Other\\Game";
    app->SetSettingsPath(temp.File("other.ini"));
    app->LoadSettings();
    EXPECT_EQ(app->registryKey, "Other\\Game");
    EXPECT_TRUE(FileUtil::Exists(temp.File("other.ini")));
}

TEST_F(AppSettings, DamagedFileNeverStopsTheGameAndIsRewrittenWhole)
{
    FileUtil::WriteFileAtomic(SettingsFile(), std::string("\"MusicVolume\"=dword:0000003\n\x01\xff[\"\n"
                                                          "\"SfxVolume\"=dword:00000032\n\"Muted\"=hex:zz\n",
                                                          70));
    auto app = MakeApp();
    app->LoadSettings();
    EXPECT_DOUBLE_EQ(app->musicVolume, 0.85); // the damaged line is skipped
    EXPECT_DOUBLE_EQ(app->sfxVolume, 0.5);
    EXPECT_EQ(app->muteCount, 0);
    app->SaveSettings();
    std::string text;
    ASSERT_TRUE(FileUtil::ReadFile(SettingsFile(), text));
    SettingsStore::Contents c = SettingsStore::Parse(text);
    EXPECT_EQ(c[""].size(), 9u);
}

TEST_F(AppSettings, FailedWriteLeavesTheOldFileIntact)
{
    auto app = MakeApp();
    app->LoadSettings();
    app->SaveSettings();
    std::string before;
    ASSERT_TRUE(FileUtil::ReadFile(SettingsFile(), before));
    // The temporary file cannot be written in full, as on a full disk (a
    // file size limit works even for root): the write fails and the old
    // file stays as it was.
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    app->musicVolume = 0.1;
    app->SaveSettings();
    bool written = app->WriteSettingInteger("MusicVolume", 3);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    std::string after;
    ASSERT_TRUE(FileUtil::ReadFile(SettingsFile(), after));
    EXPECT_EQ(before, after);
}

TEST_F(AppSettings, UnusableSettingsFolderDoesNotStopStartUp)
{
    ASSERT_TRUE(FileUtil::WriteFileAtomic(temp.File("blocked"), "a file, not a folder"));
    auto app = MakeApp();
    app->SetSettingsPath(temp.File("blocked/settings.ini"));
    app->Initialize();
    EXPECT_TRUE(app->initialized);
    EXPECT_DOUBLE_EQ(app->musicVolume, 0.85);
    app->SaveSettings();
    EXPECT_FALSE(app->WriteSettingInteger("X", 1));
}

// Command line

namespace {

class CommandLine : public ::testing::Test {
protected:
    void Parse(const std::string& text)
    {
        app.SetCommandLine(text);
        app.ParseCommandLine();
    }

    FakeClock clock;
    FakeServices services;
    TestApp app{&clock};

    void SetUp() override { app.SetSystemServices(&services); }
};

// Runs a test body with the current folder switched to a temporary one.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : old(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(old); }

private:
    std::filesystem::path old;
};

} // namespace

TEST_F(CommandLine, QuotedProgramPathAloneHasNoSwitches)
{
    Parse("\"/opt/my games/korvelt\"");
    Parse("\"/opt/my games/korvelt\" ");
    Parse("/opt/korvelt");
    Parse("\"/opt/unterminated path -play");
    EXPECT_TRUE(app.exits.empty());
    EXPECT_FALSE(app.IsPlayingDemo());
}

TEST_F(CommandLine, SwitchesSetTheirState)
{
    Parse("korvelt -record -demofile=run.dmo");
    EXPECT_TRUE(app.IsRecordingDemo());
    EXPECT_EQ(app.GetDemoFileName(), "run.dmo");
    Parse("korvelt -play");
    EXPECT_TRUE(app.IsPlayingDemo());
    EXPECT_FALSE(app.IsRecordingDemo());
    Parse("korvelt -screensaver");
    EXPECT_TRUE(app.isScreenSaver);
    EXPECT_TRUE(app.exits.empty());
}

TEST_F(CommandLine, QuotedValueKeepsItsSpace)
{
    Parse("korvelt -demofile=\"my demo.dmo\"");
    EXPECT_EQ(app.GetDemoFileName(), "my demo.dmo");
    EXPECT_TRUE(app.exits.empty());
}

TEST_F(CommandLine, ArgumentsWithSpacesAreQuotedWhenJoined)
{
    const char* argv[] = {"/opt/my games/korvelt", "-demofile=a b.dmo"};
    app.SetCommandLine(2, argv);
    EXPECT_EQ(app.commandLine, "\"/opt/my games/korvelt\" \"-demofile=a b.dmo\"");
    app.ParseCommandLine();
    EXPECT_EQ(app.GetDemoFileName(), "a b.dmo");
    EXPECT_TRUE(app.exits.empty());
}

TEST_F(CommandLine, UnknownOrEmptySwitchEndsTheProgramWithItsName)
{
    Parse("korvelt -play  -record");
    ASSERT_EQ(app.exits.size(), 1u);
    EXPECT_EQ(app.exits[0], 2); // a usage error, not success
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "FATAL ERROR|Invalid Command Line Param: ");
    EXPECT_FALSE(app.IsRecordingDemo()); // nothing after the bad switch is taken

    FakeClock c2;
    FakeServices s2;
    TestApp other(&c2);
    other.SetSystemServices(&s2);
    other.SetCommandLine("korvelt -Play");
    other.ParseCommandLine();
    ASSERT_EQ(s2.boxes.size(), 1u);
    EXPECT_EQ(s2.boxes[0], "FATAL ERROR|Invalid Command Line Param: -Play");
}

TEST_F(CommandLine, InitializeStopsAfterABadSwitch)
{
    app.SetCommandLine("korvelt -nonsense");
    app.Initialize();
    EXPECT_EQ(app.exits, std::vector<int>{2});
    EXPECT_FALSE(app.initialized);
}

TEST_F(CommandLine, NumberedRecordingsRotate)
{
    TempFolder folder;
    InFolder in(folder.path);
    for (int n : {4, 5, 6})
        std::ofstream("zorvinapp" + std::to_string(n) + ".dmo") << "x";
    std::ofstream("zorvinappX.dmo") << "x";
    Parse("korvelt -recnum=3");
    EXPECT_FALSE(FileUtil::Exists("zorvinapp4.dmo"));
    EXPECT_TRUE(FileUtil::Exists("zorvinapp5.dmo"));
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp7.dmo");
    EXPECT_TRUE(app.IsRecordingDemo());

    Parse("korvelt -playnum=1");
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp6.dmo");
    EXPECT_TRUE(app.IsPlayingDemo());
    Parse("korvelt -playnum=2");
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp5.dmo");
    Parse("korvelt -playnum=99");
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp5.dmo");
    Parse("korvelt -playnum=-2147483648");
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp6.dmo");
    Parse("korvelt -playnum=99999999999");
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp5.dmo");
}

TEST_F(CommandLine, RecnumWithoutFilesStartsAtOneAndDefaultsToFive)
{
    TempFolder folder;
    InFolder in(folder.path);
    Parse("korvelt -recnum=abc");
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp1.dmo");
    for (int n = 1; n <= 5; ++n)
        std::ofstream("zorvinapp" + std::to_string(n) + ".dmo") << "x";
    Parse("korvelt -recnum=0");
    EXPECT_FALSE(FileUtil::Exists("zorvinapp1.dmo"));
    EXPECT_EQ(app.GetDemoFileName(), "zorvinapp6.dmo");
}

// Each launch reopens the window exactly where the last one left it, the
// window manager's frame notwithstanding, and a place saved on a bigger or
// another monitor comes back with the whole frame inside the work area.
TEST_F(AppSettings, WindowReopensWhereItWasLeftAndInsideTheWorkArea)
{
    FramingWindowSystem desktop;
    desktop.workArea = Rect(0, 0, 1024, 768);
    auto launch = [&] {
        auto app = MakeApp();
        app->width = 800;
        app->height = 600;
        app->SetWindowSystem(&desktop);
        app->Initialize();
        app->Run();
        return desktop.client;
    };
    std::vector<std::pair<int, int>> places;
    for (int i = 0; i < 5; ++i)
        places.push_back(launch());
    const std::pair<int, int> centred{(1024 - 802) / 2 + 1, static_cast<int>((768 - 625) * 0.382) + 20};
    for (const auto& place : places)
        EXPECT_EQ(place, centred);

    // The player drags it to a corner: it comes back there.
    {
        auto app = MakeApp();
        app->LoadSettings();
        app->Display().SetPreferredPlace(113, 84);
        app->SaveSettings();
    }
    EXPECT_EQ(launch(), std::make_pair(113, 84));
    EXPECT_EQ(launch(), std::make_pair(113, 84));

    for (const auto& [x, y] : {std::make_pair(1900, 1100), std::make_pair(-600, 0)}) {
        {
            auto app = MakeApp();
            app->LoadSettings();
            app->Display().SetPreferredPlace(x, y);
            app->SaveSettings();
        }
        std::pair<int, int> place = launch();
        EXPECT_GE(place.first - 1, 4) << x;
        EXPECT_GE(place.second - 20, 4) << x;
        EXPECT_LE(place.first + 800 + 1, 1024 - 4) << x;
        EXPECT_LE(place.second + 600 + 5, 768 - 4) << x;
    }
}
