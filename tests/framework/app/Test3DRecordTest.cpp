#include "tests/framework/app/AppTestSupport.h"

#include "framework/app/SettingsStore.h"
#include "framework/app/Test3DRecord.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class Test3DRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.registryKey = "Wendmoor\\Korvelt";
        app.SetSettingsPath(temp.File("settings.ini"));
        record.version = Test3DRecord::CurrentVersion;
        record.minVidMemory = 16;
        record.recVidMemory = 32;
        record.displayGuid = Test3DRecord::MakeDisplayGuid("x11|Screen 0");
        record.failureReason = "Alpha blend test not uniform.";
    }

    FakeClock clock;
    TempFolder temp;
    TestApp app{&clock, temp.path};
    Test3DRecord record;
};

} // namespace

TEST_F(Test3DRecordTest, WrittenRecordReadsBackAsTheSameOutcome)
{
    ASSERT_TRUE(record.Write(app));
    Test3DRecord read;
    ASSERT_TRUE(read.Read(app));
    EXPECT_EQ(read.version, 2);
    EXPECT_EQ(read.minVidMemory, 16);
    EXPECT_EQ(read.recVidMemory, 32);
    EXPECT_EQ(read.displayGuid, record.displayGuid);
    EXPECT_EQ(read.failureReason, "Alpha blend test not uniform.");
    EXPECT_FALSE(read.Supported());

    // The values sit in the "Test3D" subkey with their own kinds.
    int kind = 0;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(app.ReadSettingRaw("Test3D\\DisplayGUID", kind, bytes));
    EXPECT_EQ(kind, SettingsStore::KindBinary);
    EXPECT_EQ(bytes.size(), 16u);
    ASSERT_TRUE(app.ReadSettingRaw("Test3D\\Version", kind, bytes));
    EXPECT_EQ(kind, SettingsStore::KindDword);
}

TEST_F(Test3DRecordTest, OutcomeAppliesOnlyToTheSameVersionThresholdsAndAdapter)
{
    const Test3DRecord::Guid same = Test3DRecord::MakeDisplayGuid("x11|Screen 0");
    EXPECT_TRUE(record.Applies(16, 32, same));
    EXPECT_FALSE(record.Applies(8, 32, same));
    EXPECT_FALSE(record.Applies(16, 64, same));
    EXPECT_FALSE(record.Applies(16, 32, Test3DRecord::MakeDisplayGuid("wayland|Screen 0")));
    record.version = 1;
    EXPECT_FALSE(record.Applies(16, 32, same));
    EXPECT_NE(Test3DRecord::MakeDisplayGuid(""), Test3DRecord::MakeDisplayGuid("a"));
}

TEST_F(Test3DRecordTest, IncompleteOrDamagedRecordsAreNotTrusted)
{
    Test3DRecord read;
    EXPECT_FALSE(read.Read(app));

    // A record of the older layout (version and reason only).
    app.WriteSettingInteger("Test3D\\Version", 2);
    app.WriteSettingString("Test3D\\FailureReason", "");
    EXPECT_FALSE(read.Read(app));

    ASSERT_TRUE(record.Write(app));
    app.WriteSettingRaw("Test3D\\DisplayGUID", SettingsStore::KindBinary, std::vector<uint8_t>(15, 1));
    read.version = 77;
    EXPECT_FALSE(read.Read(app));
    EXPECT_EQ(read.version, 77);
    app.WriteSettingString("Test3D\\DisplayGUID", "0123456789abcdef");
    EXPECT_FALSE(read.Read(app));

    // Without a settings key nothing is stored.
    app.registryKey.clear();
    EXPECT_FALSE(record.Write(app));
}

TEST_F(Test3DRecordTest, AccelerationFailingAtRunTimeIsRecordedAndTurnedOff)
{
    struct FailingPresenter : FakePresenter {
        std::string GetErrorText() override { return "Redraw FullScreen Flip"; }
    } presenter;
    FakeWindowSystem window;
    struct PixelApp : TestApp {
        using TestApp::TestApp;
        const uint32_t* GetScreenPixels() override { return pixels.data(); }
        std::vector<uint32_t> pixels = std::vector<uint32_t>(640 * 480);
    } a(&clock, temp.path);
    a.registryKey = "Wendmoor\\Korvelt";
    a.SetSettingsPath(temp.File("settings.ini"));
    a.SetWindowSystem(&window);
    a.SetPresenter(&presenter);
    a.Initialize();
    a.Display().Choose3D(true);
    presenter.presentSucceeds = false;
    presenter.results = {RESULT_SURFACE_FAIL};
    a.PresentScreen();
    EXPECT_FALSE(a.GetDisplayState().Is3D());
    EXPECT_TRUE(a.GetDisplayState().Had3DProblems());
    std::string text;
    ASSERT_TRUE(a.ReadSettingString("Test3D\\RuntimeError", text));
    EXPECT_EQ(text, "RESULT_SURFACE_FAIL: Redraw FullScreen Flip");
}
