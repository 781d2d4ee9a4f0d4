// Sections:
//   - dialogs (placement, modality, buttons)
//   - muting and focus
//   - the message queue
//   - screen modes and the window
//   - display failures
//   - message boxes, URLs, clipboard and files

#include "tests/framework/app/AppTestSupport.h"

#include "framework/widgets/controls/Dialog.h"
#include "framework/core/FileUtil.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/OfflineAudioDevice.h"
#include "framework/app/SingleInstance.h"
#include "framework/audio/SoundManager.h"

#include "tests/framework/audio/AudioTestFiles.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.width = 800;
        app.height = 600;
        app.SetWindowSystem(&window);
        app.SetPresenter(&presenter);
        app.SetSystemServices(&services);
        app.Initialize();
        app.running = true;
    }
    void Post(MessageKind kind, int p1 = 0, int p2 = 0) { app.OnWindowMessage({MessageWindow::Main, kind, p1, p2}); }
    void Drain()
    {
        while (app.ProcessQueuedMessage()) {
        }
    }

    FakeClock clock;
    FakeWindowSystem window;
    FakePresenter presenter;
    FakeServices services;
    TestApp app{&clock};
};

class KeyProbe : public ProbeWidget {
public:
    KeyProbe() : ProbeWidget(0, 0, 100, 100) { wantsFocus = true; }
    void KeyUp(int key) override { keysUp.push_back(key); }
    void MouseUp(int, int, int clickCode) override { upCodes.push_back(clickCode); }
    std::vector<int> keysUp;
    std::vector<int> upCodes;
};

} // namespace

TEST_F(AppFixture, DialogWithoutSizeIsCentredAtAFifthOfTheHeight)
{
    Dialog* d = app.ShowDialog(5, false, "H", "L", "F", 1);
    EXPECT_EQ(d->GetRect(), Rect(200, 120, 400, d->GetPreferredHeight(400)));
    EXPECT_EQ(app.FindDialog(5), d);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_TRUE(app.GetWidgetManager()->HasChild(d));
}

TEST_F(AppFixture, ClosingAnUnknownDialogChangesNothing)
{
    app.ShowDialog(5, true, "", "", "", 1);
    EXPECT_FALSE(app.CloseDialog(6));
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_TRUE(app.PendingDeletions() == 0);
    EXPECT_NE(app.GetWidgetManager()->GetModalWidget(), nullptr);
}

TEST_F(AppFixture, ModalDialogBlocksAndClosingRestoresFocusAndDeletesLater)
{
    KeyProbe below;
    WidgetManager* wm = app.GetWidgetManager();
    wm->AddChild(&below);
    wm->SetFocusWidget(&below);
    Dialog* d = app.ShowDialog(7, true, "", "", "", 1);
    EXPECT_EQ(wm->GetModalWidget(), d);
    EXPECT_EQ(wm->GetFocusWidget(), d); // the keyboard goes to the dialog
    // Showing the same number again replaces the first dialog.
    Dialog* d2 = app.ShowDialog(7, true, "", "", "", 1);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(wm->GetModalWidget(), d2);
    d2->result = -1;
    EXPECT_TRUE(app.CloseDialog(7));
    EXPECT_EQ(d2->result, 0); // closed without an answer
    EXPECT_EQ(wm->GetModalWidget(), nullptr);
    EXPECT_EQ(wm->GetFocusWidget(), &below);
    EXPECT_EQ(app.PendingDeletions(), 2);
    app.ReleaseDeferredDeletions();
    EXPECT_TRUE(app.PendingDeletions() == 0);
    wm->RemoveChild(&below);
}

TEST_F(AppFixture, DialogButtonsMapToApplicationButtonIds)
{
    struct Recorder : TestApp {
        using TestApp::TestApp;
        void OnButtonDown(int id) override { downs.push_back(id); }
        void OnButtonClick(int id) override { clicks.push_back(id); }
        std::vector<int> downs, clicks;
    } rec(&clock);
    rec.OnDialogButtonDown(7, 1000);
    rec.OnDialogButtonDown(7, 1001);
    rec.OnDialogButtonDown(7, 5);
    rec.OnDialogButtonClick(9, 1001);
    EXPECT_EQ(rec.downs, (std::vector<int>{2007, 3007}));
    EXPECT_EQ(rec.clicks, (std::vector<int>{3009}));
}

TEST_F(AppFixture, MuteCountsUserAndAutomaticMutesSeparately)
{
    app.SetMusicVolume(0.6);
    EXPECT_DOUBLE_EQ(app.MusicOut(), 0.6);
    app.Mute(false);
    app.Mute(true);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_EQ(app.MusicOut(), 0.0);
    EXPECT_EQ(app.SoundOut(), 0.0);
    app.SetSoundVolume(0.4); // stored, but silent while muted
    EXPECT_EQ(app.SoundOut(), 0.0);
    EXPECT_DOUBLE_EQ(app.GetSoundVolume(), 0.4);
    app.Unmute(true);
    EXPECT_TRUE(app.IsMuted());
    app.Unmute(false);
    app.Unmute(false); // not below zero
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(app.muteCount, 0);
    EXPECT_DOUBLE_EQ(app.SoundOut(), 0.4);
    EXPECT_DOUBLE_EQ(app.MusicOut(), 0.6);
}

TEST_F(AppFixture, FocusLossMutesReleasesKeysAndButtonsAndReturnRestores)
{
    KeyProbe probe;
    WidgetManager* wm = app.GetWidgetManager();
    wm->AddChild(&probe);
    wm->SetFocusWidget(&probe);
    Post(MessageKind::KeyDown, 'A');
    Post(MessageKind::LButtonDown, 10, 10);
    Drain();
    EXPECT_TRUE(window.captured);
    Post(MessageKind::Activate, 0);
    Drain();
    EXPECT_FALSE(app.hasFocus);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_EQ(probe.keysUp, std::vector<int>{'A'});
    EXPECT_EQ(probe.upCodes, std::vector<int>{1});
    EXPECT_FALSE(window.captured);
    EXPECT_FALSE(probe.hasFocus);

    Post(MessageKind::Activate, 1);
    Drain();
    EXPECT_TRUE(app.hasFocus);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_TRUE(probe.hasFocus);
    wm->RemoveChild(&probe);
}

TEST_F(AppFixture, MinimiseMutesAndRestoreKeepsTheUsersMute)
{
    app.Mute(false);
    Post(MessageKind::Size, 1);
    Drain();
    EXPECT_TRUE(app.minimized);
    EXPECT_GT(app.autoMuteCount, 0);
    Post(MessageKind::Size, 0);
    Drain();
    EXPECT_FALSE(app.minimized);
    EXPECT_EQ(app.autoMuteCount, 0);
    EXPECT_EQ(app.muteCount, 1);
}

TEST_F(AppFixture, QueueCoalescesTimersAndTakesNothingAfterAClose)
{
    Post(MessageKind::Timer);
    Post(MessageKind::Timer);
    Post(MessageKind::KeyDown, 'B');
    Post(MessageKind::Timer);
    Post(MessageKind::Close);
    Post(MessageKind::KeyDown, 'C');
    Post(MessageKind::Close);
    ASSERT_EQ(app.messageQueue.size(), 4u);
    EXPECT_EQ(app.messageQueue[1].kind, MessageKind::KeyDown);
    EXPECT_EQ(app.messageQueue[3].kind, MessageKind::Close);
    // One record per call.
    EXPECT_TRUE(app.ProcessQueuedMessage());
    EXPECT_EQ(app.messageQueue.size(), 3u);
    Drain();
    EXPECT_TRUE(app.closeRequest);
    EXPECT_TRUE(app.HasShutdownStarted());
}

TEST_F(AppFixture, InputWhileAMessageBoxIsUpIsNotQueued)
{
    app.BeginSystemPopup();
    Post(MessageKind::KeyDown, 'A');
    Post(MessageKind::LButtonDown, 1, 1);
    EXPECT_TRUE(app.messageQueue.empty());
    app.EndSystemPopup();
    Post(MessageKind::KeyDown, 'A');
    EXPECT_EQ(app.messageQueue.size(), 1u);
}

TEST_F(AppFixture, AltEnterSwitchesModeAndAltF4Closes)
{
    EXPECT_TRUE(app.IsWindowed());
    int created = window.windowsCreated;
    Post(MessageKind::SysKeyDown, 18);
    Post(MessageKind::SysKeyDown, 13);
    EXPECT_FALSE(app.IsWindowed());
    EXPECT_EQ(window.windowsCreated, created + 1);
    EXPECT_FALSE(window.lastSpec.windowed);
    EXPECT_EQ(app.messageQueue.size(), 1u); // Alt itself, not the Enter
    Drain();
    app.Display().ForceFullScreen();
    Post(MessageKind::SysKeyDown, 18);
    Post(MessageKind::SysKeyDown, 13);
    EXPECT_FALSE(app.IsWindowed());
    Post(MessageKind::SysKeyDown, 0x73);
    Drain();
    EXPECT_TRUE(app.closeRequest);
}

TEST_F(AppFixture, WindowIsCentredOrKeptOnScreen)
{
    window.workArea = Rect(0, 0, 1000, 800);
    app.Display().SetPreferredPlace(-1, app.GetDisplayState().PreferredY());
    app.SwitchScreenMode(true, false, true);
    EXPECT_EQ(window.lastSpec.x, 100);
    EXPECT_EQ(window.lastSpec.y, static_cast<int>(200 * 0.382));
    app.Display().SetPreferredPlace(5000, -300);
    app.SwitchScreenMode(true, false, true);
    EXPECT_EQ(window.lastSpec.x, 1000 - 800 - 4);
    EXPECT_EQ(window.lastSpec.y, 4);
}

TEST_F(AppFixture, ScreenAsLargeAsTheDesktopStartsFullScreen)
{
    FakeClock c;
    FakeWindowSystem ws;
    ws.workArea = Rect(0, 0, 800, 570);
    TestApp big(&c);
    big.width = 800;
    big.height = 600;
    big.SetWindowSystem(&ws);
    big.Initialize();
    EXPECT_FALSE(big.IsWindowed());
    EXPECT_FALSE(ws.lastSpec.windowed);
    EXPECT_EQ(ws.timerPeriod, 10);
}

TEST_F(AppFixture, DisplayFailuresFallBackOrEndWithAFatalError)
{
    FakeClock c;
    FakeWindowSystem ws;
    FakePresenter p;
    FakeServices s;
    TestApp a(&c);
    a.SetWindowSystem(&ws);
    a.SetPresenter(&p);
    a.SetSystemServices(&s);
    a.Display().Choose3D(true);
    p.results = {RESULT_3D_FAIL, RESULT_OK};
    a.Initialize();
    EXPECT_FALSE(a.GetDisplayState().Is3D());
    EXPECT_TRUE(a.initialized);
    EXPECT_EQ(p.init3D, (std::vector<bool>{true, false}));

    // A window that cannot show this desktop's colours: full screen once,
    // and if that fails too, the fatal message.
    p.results = {RESULT_INVALID_COLORDEPTH, RESULT_EXCLUSIVE_FAIL, RESULT_INVALID_COLORDEPTH};
    a.SwitchScreenMode(true, false, true);
    EXPECT_TRUE(a.GetDisplayState().WindowedFailedOnce());
    ASSERT_EQ(s.boxes.size(), 1u);
    EXPECT_EQ(s.boxes[0], "FATAL ERROR|Please set your desktop color depth to 16 bit.");
    EXPECT_EQ(a.exits, std::vector<int>{1});
}

TEST_F(AppFixture, LostDisplayIsRecoveredAtMostOnceASecondInAWindow)
{
    FakePresenter p; // outlives the application that uses it
    struct PixelApp : TestApp {
        using TestApp::TestApp;
        const uint32_t* GetScreenPixels() override { return pixels.data(); }
        std::vector<uint32_t> pixels = std::vector<uint32_t>(640 * 480);
    } a(&clock);
    a.SetWindowSystem(&window);
    a.SetPresenter(&p);
    a.Initialize();
    a.running = true;
    p.presentSucceeds = false;
    p.results = {RESULT_FAIL, RESULT_OK};
    size_t inits = p.initWindowed.size();
    a.PresentScreen(); // fails, first recovery try fails
    EXPECT_TRUE(a.GetDisplayState().IsLost());
    EXPECT_EQ(p.initWindowed.size(), inits + 1);
    a.PresentScreen();
    EXPECT_EQ(p.initWindowed.size(), inits + 1); // too soon
    clock.Advance(1000);
    p.presentSucceeds = true;
    a.PresentScreen();
    EXPECT_FALSE(a.GetDisplayState().IsLost());
    EXPECT_EQ(p.initWindowed.size(), inits + 2);
}

TEST_F(AppFixture, MessageBoxesGoToTheLogInScreensaverMode)
{
    TempFolder temp;
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(temp.path);
    app.isScreenSaver = true;
    EXPECT_EQ(app.ShowMessageBox("first", "T", MB_OK), 1);
    app.ShowFatalError("second");
    std::string log;
    FileUtil::ReadFile("ScrError.txt", log);
    std::filesystem::current_path(old);
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_NE(log.find(" first "), std::string::npos);
    EXPECT_NE(log.find(" second "), std::string::npos);
}

TEST_F(AppFixture, UrlOpeningIsWatchedByTheTimer)
{
    Post(MessageKind::KeyDown, 'A'); // the player is at the keys
    Drain();
    EXPECT_TRUE(app.OpenUrl("https://example.org", true));
    EXPECT_TRUE(app.OpenUrl("https://example.org"));
    EXPECT_EQ(services.urls.size(), 1u);
    clock.Advance(9000);
    app.active = false;
    Post(MessageKind::Timer);
    Drain();
    EXPECT_FALSE(app.isOpeningUrl);
    EXPECT_TRUE(app.HasShutdownStarted()); // quit-after was asked

    // The browser is judged only once the player left the mouse and keys
    // alone for five seconds: here exactly five.
    TestApp other(&clock);
    other.SetSystemServices(&services);
    other.running = true;
    EXPECT_TRUE(other.OpenUrl("https://example.net"));
    clock.Advance(7001);
    other.OnWindowMessage({MessageWindow::Main, MessageKind::KeyDown, 'A', 0});
    while (other.ProcessQueuedMessage()) {
    }
    clock.Advance(5000);
    other.OnWindowMessage({MessageWindow::Main, MessageKind::Timer, 0, 0});
    while (other.ProcessQueuedMessage()) {
    }
    EXPECT_FALSE(other.isOpeningUrl); // still active after 12 s: failed

    services.urlOpens = false;
    EXPECT_FALSE(app.OpenUrl("https://example.com"));
    EXPECT_FALSE(app.isOpeningUrl);
}

TEST_F(AppFixture, ClipboardAndFilesGoThroughTheApplication)
{
    app.CopyToClipboard("abc");
    EXPECT_EQ(app.GetClipboard(), "abc");
    TempFolder temp;
    std::string path = temp.File("a/b/c.dat");
    EXPECT_FALSE(app.Exists(path));
    EXPECT_TRUE(app.WriteFile(path, std::string("x\0y", 3)));
    std::string back;
    EXPECT_TRUE(app.ReadFile(path, back, 100));
    EXPECT_EQ(back, std::string("x\0y", 3));
    EXPECT_TRUE(app.Delete(path));
    EXPECT_FALSE(app.Exists(path));
    EXPECT_FALSE(app.ReadFile(path, back, 100));
}

TEST(AppSound, PlaySoundAndVolumesReachTheMixer)
{
    AudioTestFiles::TempDir dir;
    AudioTestFiles::Write(dir / "tone.ogg", AudioTestFiles::OggTone(44100, 1, 440, 0.5));
    OfflineAudioDevice device;
    FakeClock clock;
    TestApp app(&clock);
    app.SetAudioDevice(&device);
    app.Initialize();
    ASSERT_NE(app.GetSoundManager(), nullptr);
    ASSERT_TRUE(app.GetSoundManager()->IsReady());
    ASSERT_TRUE(app.GetSoundManager()->LoadSample(3, dir / "tone"));
    app.PlaySound(3);
    int loud = AudioTestFiles::Peak(device.Render(4410), 0);
    EXPECT_GT(loud, 1000);

    auto* mixerSounds = static_cast<MixerSoundManager*>(app.GetSoundManager());
    app.Mute(false);
    EXPECT_EQ(mixerSounds->GetMasterVolume(), 0.0);
    device.Render(2205); // volume changes glide for a few milliseconds
    EXPECT_LT(AudioTestFiles::Peak(device.Render(4410), 0), 10);
    app.Unmute(false);
    EXPECT_DOUBLE_EQ(mixerSounds->GetMasterVolume(), 0.85);

    app.noSoundNeeded = true; // sound switched off: nothing plays
    device.Render(44100 * 2);
    app.PlaySound(3);
    EXPECT_LT(AudioTestFiles::Peak(device.Render(4410), 0), 10);
}

TEST(AppSound, NoAudioDeviceMeansSilenceNotFailure)
{
    FakeClock clock;
    TestApp app(&clock);
    app.Initialize();
    EXPECT_TRUE(app.initialized);
    ASSERT_NE(app.GetSoundManager(), nullptr);
    EXPECT_FALSE(app.GetSoundManager()->IsReady());
    app.PlaySound(1);
    ASSERT_NE(app.GetMusicInterface(), nullptr);
    app.SetMusicVolume(0.3);
    app.RunFor(clock, 50);
}

TEST(AppInstance, SecondCopyBringsTheFirstWindowForward)
{
    TempFolder temp;
    FakeClock clock;
    FakeWindowSystem window;
    TestApp app(&clock, temp.path);
    app.productName = "Korvelt";
    app.onlyAllowOneCopyToRun = true;
    app.SetWindowSystem(&window);
    app.Initialize();
    ASSERT_TRUE(app.initialized);
    app.running = true;
    SingleInstance second;
    EXPECT_FALSE(second.Acquire(temp.path, "Korvelt"));
    EXPECT_EQ(window.raised, 0);
    app.OnWindowMessage({MessageWindow::Main, MessageKind::Timer, 0, 0});
    while (app.ProcessQueuedMessage()) {
    }
    EXPECT_EQ(window.raised, 1);
    EXPECT_NE(app.GetResourceManager(), nullptr);
}

TEST_F(AppFixture, SoftwareCursorIsDrawnOverThePresentedFrameOnly)
{
    MemoryImage arrow(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            arrow.SetPixel(x, y, 0xFFFF0000u);
    app.SetCustomCursorImage(1, &arrow, 1, 1);
    Post(MessageKind::MouseMove, 50, 60);
    Drain();
    app.SetCursorNumber(1);
    EXPECT_EQ(window.cursor, 1); // custom cursors are off: the system hand
    EXPECT_EQ(app.GetSoftwareCursor(), nullptr);

    app.SetCustomCursorsEnabled(true);
    EXPECT_EQ(window.cursor, 11); // system cursor hidden
    EXPECT_EQ(app.GetSoftwareCursor(), &arrow);
    Post(MessageKind::MouseMove, 100, 80);
    Drain();
    app.RunFor(clock, 30);
    ASSERT_EQ(presenter.lastFrame.size(), 800u * 600u);
    EXPECT_EQ(presenter.lastFrame[79 * 800 + 99], 0xFFFF0000u);
    EXPECT_EQ(presenter.lastFrame[82 * 800 + 102], 0xFFFF0000u);
    EXPECT_NE(presenter.lastFrame[83 * 800 + 103], 0xFFFF0000u);
    EXPECT_NE(app.GetScreenImage()->GetPixel(99, 79), 0xFFFF0000u);

    // Number 12 always uses its picture; leaving the window removes it.
    app.SetCustomCursorsEnabled(false);
    app.SetCustomCursorImage(12, &arrow);
    app.SetCursorNumber(12);
    EXPECT_EQ(app.GetSoftwareCursor(), &arrow);
    window.mouseInClient = false;
    Post(MessageKind::Timer);
    Drain();
    EXPECT_EQ(app.GetSoftwareCursor(), nullptr);
    EXPECT_EQ(window.cursor, 0);
}

TEST_F(AppFixture, AnUnchangedFrameIsNotPresentedAndAChangeUploadsOnlyItsPart)
{
    struct Square : Widget {
        uint32_t colour = 0xFFFF0000u;
        int draws = 0;
        void Draw(Graphics* g) override
        {
            ++draws;
            g->SetColor(Color::FromArgb(colour));
            g->FillRect(0, 0, width, height);
        }
    } square;
    square.Resize(100, 200, 40, 30);
    app.GetWidgetManager()->AddChild(&square);
    app.RunFor(clock, 100);
    int presents = presenter.presents;
    int draws = square.draws;
    ASSERT_GE(presents, 1);

    // Idle seconds, and a redraw that paints the same pixels: nothing new
    // reaches the window.
    app.RunFor(clock, 3000);
    EXPECT_EQ(square.draws, draws);
    square.MarkDirty();
    app.RunFor(clock, 50);
    EXPECT_EQ(presenter.presents, presents);

    square.colour = 0xFF0000FFu;
    square.MarkDirty();
    app.RunFor(clock, 50);
    EXPECT_EQ(presenter.presents, presents + 1);
    ASSERT_EQ(presenter.lastChanged.size(), 1u);
    EXPECT_EQ(presenter.lastChanged[0], Rect(100, 200, 40, 30));
    EXPECT_EQ(presenter.lastFrame[210 * 800 + 110], 0xFF0000FFu);

    // A window that lost its picture gets all of it again.
    Post(MessageKind::Paint);
    EXPECT_EQ(presenter.presents, presents + 2);
    ASSERT_EQ(presenter.lastChanged.size(), 1u);
    EXPECT_EQ(presenter.lastChanged[0], Rect(0, 0, 800, 600));
    app.GetWidgetManager()->RemoveChild(&square);
}

TEST_F(AppFixture, FrameRateFigureIsDrawnAtTheLowerRightOfThePresentedFrame)
{
    app.RunFor(clock, 30);
    MemoryImage* rate = app.GetFrameRateImage();
    ASSERT_NE(rate, nullptr);
    const int right = 800 - 10 - 1, bottom = 600 - 10 - 1;
    const int rateWidth = rate->GetWidth();
    const int left = 800 - 10 - rateWidth, top = 600 - 10 - rate->GetHeight();
    uint32_t screen = app.GetScreenImage()->GetPixel(right, bottom);

    EXPECT_TRUE(app.DebugKeyDown(0x72)); // F3
    ASSERT_TRUE(app.Redraw());
    ASSERT_EQ(presenter.lastFrame.size(), 800u * 600u);
    EXPECT_NE(presenter.lastFrame[bottom * 800 + right], screen);
    EXPECT_NE(presenter.lastFrame[top * 800 + left], app.GetScreenImage()->GetPixel(left, top));
    EXPECT_EQ(presenter.lastFrame[(bottom + 1) * 800 + right + 1], app.GetScreenImage()->GetPixel(right + 1, bottom + 1));
    EXPECT_EQ(presenter.lastFrame[(top - 1) * 800 + left - 1], app.GetScreenImage()->GetPixel(left - 1, top - 1));
    EXPECT_EQ(app.GetScreenImage()->GetPixel(right, bottom), screen);

    // The second mode shows the mouse position instead of the figure.
    app.Pacer().SetFrameRateMode(1);
    app.GetWidgetManager()->lastMouseX = 777;
    app.GetWidgetManager()->lastMouseY = 555;
    MemoryImage* where = app.GetFrameRateImage();
    ASSERT_NE(where, nullptr);
    EXPECT_NE(where->GetWidth(), rateWidth);

    EXPECT_TRUE(app.DebugKeyDown(0x72));
    ASSERT_TRUE(app.Redraw());
    EXPECT_EQ(presenter.lastFrame[bottom * 800 + right], screen);
}

TEST_F(AppFixture, ScreenshotsAndImageDumpsGoToTheirFolders)
{
    TempFolder folder;
    std::filesystem::path oldDir = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);

    app.RunFor(clock, 30);
    EXPECT_TRUE(app.DebugKeyDown(0x7A)); // F11
    EXPECT_TRUE(app.DebugKeyDown(0x7A));
    EXPECT_TRUE(FileUtil::Exists("_screenshots/0.png"));
    EXPECT_TRUE(FileUtil::Exists("_screenshots/1.png"));
    EXPECT_FALSE(FileUtil::Exists("_dump"));

    MemoryImage odd(7, 3);
    odd.SetPixel(6, 2, 0xFF00FF00u);
    int count = MemoryImage::GetLiveImageCount();
    int written = app.DumpImages();
    EXPECT_GE(written, 2); // the screen image and this one
    EXPECT_LE(written, count);
    std::string page;
    ASSERT_TRUE(FileUtil::ReadFile("_dump/imagelist.html", page));
    EXPECT_NE(page.find("7 x 3"), std::string::npos);
    EXPECT_NE(page.find("800 x 600"), std::string::npos);
    EXPECT_NE(page.find("Total Image Allocation: "), std::string::npos);
    char last[32];
    std::snprintf(last, sizeof(last), "_dump/img%04d.png", written - 1);
    EXPECT_TRUE(FileUtil::Exists(last));

    std::filesystem::current_path(oldDir);
}
