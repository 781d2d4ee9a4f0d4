#pragma once

// ZorvinAppBase: the one application object of the framework. The game
// derives its application from it. It owns the widget manager, the
// settings store and the dialogs, runs the fixed-rate main loop (logic
// updates on a time accumulator, drawing only when an update produced
// something to draw, sleeping when ahead), turns queued window input into
// widget-manager calls, keeps focus, minimised and mute state, runs the
// optional loading thread and shuts down in order. It reaches the desktop
// only through the interfaces it is given (clock, window system, presenter,
// system services), so it runs against fakes in tests. It is also the host
// the resource manager and image fonts load through, the host the widgets
// run in, and keeps the table of shared images. One instance per process; gZorvinApp points at it.
//
// Sections:
//   - construction, start-up and the main loop
//   - settings, screen modes and the display
//   - dialogs, message boxes and cursors
//   - input and the message queue
//   - sound, music and muting
//   - demo recording and playback
//   - the application's file operations
//   - state (private)

#include "framework/widgets/ButtonListener.h"
#include "framework/core/FileAccess.h"
#include "framework/app/DemoFile.h"
#include "framework/core/Clock.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/font/FontHost.h"
#include "framework/app/FrameDiff.h"
#include "framework/app/InputMessage.h"
#include "framework/resources/ResourceHost.h"
#include "framework/app/SettingsStore.h"
#include "framework/app/SingleInstance.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Zorvin {

class AudioDevice;
class Dialog;
class Image;
class MemoryImage;
class MusicInterface;
class SoundManager;
class Presenter;
class SysFont;
class ResourceManager;
class SystemServices;
class Widget;
class WidgetManager;
class WindowSystem;

class ZorvinAppBase : public ButtonListener,
                      public DialogListener,
                      public ResourceHost,
                      public FontHost,
                      public WidgetHost,
                      public FileAccess {
public:
    // Where the current step of the main loop stands.
    enum class LoopState {
        TakingInput, // queued input is handled, one record per step
        Updating,    // the queue is empty: update when one is due, else draw or sleep
        CatchingUp,  // an update ran: catch-up updates and the smooth update follow
        StepDone,    // the step is over; the next one takes input again
    };
    // The developer's single-step switch (F10, Shift+F10).
    enum class StepMode {
        Running,  // timed updates as usual
        StepOnce, // one update and one draw, then Holding
        Holding,  // no updates; the loop idles a frame at a time
    };

    ZorvinAppBase();
    ZorvinAppBase(const ZorvinAppBase&) = delete;
    ZorvinAppBase& operator=(const ZorvinAppBase&) = delete;
    ~ZorvinAppBase() override;

    // The desktop services; none of them is owned. Without a window system
    // the application runs headless; without a clock it uses the system's.
    void SetClock(Clock* newClock) { clock = newClock != nullptr ? newClock : systemClock.get(); }
    void SetWindowSystem(WindowSystem* ws) { windowSystem = ws; }
    void SetPresenter(Presenter* p) { presenter = p; }
    void SetSystemServices(SystemServices* s) { systemServices = s; }
    // Where sound and music go; none means the game runs silently. It must
    // outlive the application.
    void SetAudioDevice(AudioDevice* device) { audioDevice = device; }
    // The process arguments, joined into one command line (arguments with
    // spaces are quoted).
    void SetCommandLine(int argc, const char* const* argv);
    void SetCommandLine(const std::string& text) { commandLine = text; }
    // Where the settings file lives; by default it follows the registry key.
    void SetSettingsPath(const std::string& path) { settingsPathOverride = path; }
    // Folder of the single-instance lock; by default the user's runtime folder.
    void SetInstanceFolder(const std::string& folder) { instanceFolder = folder; }

    // ButtonListener / DialogListener.
    void OnButtonDown(int id, int clickCount) override
    {
        (void)clickCount;
        OnButtonDown(id);
    }
    void OnButtonDown(int id) override { (void)id; }
    void OnDialogButtonDown(int dialogId, int buttonId) override;
    void OnDialogButtonClick(int dialogId, int buttonId) override;

    // Main loop.
    virtual bool TimedStep(bool allowSleep);
    virtual void UpdateFrame();
    virtual bool TryUpdate();
    virtual void SmoothUpdate(double frac);
    virtual void CreateMainWindow();
    // A silent player when no sound is wanted, else the mixer's player.
    virtual std::unique_ptr<MusicInterface> CreateMusicPlayer();
    virtual void ApplyCursor();
    virtual void OnLoadingDone() {}
    virtual void OnInitialized() {}
    virtual void OnShutdown() {}
    virtual void OnRunFinished() {}
    virtual void LoadInBackground() {}
    virtual void SaveSettings();
    virtual void LoadSettings();
    virtual Dialog* MakeDialog(int id, bool modal, const std::string& header, const std::string& lines,
                               const std::string& footer, int buttonMode);
    virtual void OnBeforeWindow() {}
    virtual void BeginSystemPopup();
    virtual void EndSystemPopup();
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int flags);
    virtual void ShowFatalError(const std::string& text);
    virtual void LogScreenSaverError(const std::string& text);
    virtual void DeferDelete(Widget* widget);
    virtual void OnUrlOpenFailed(const std::string& url);
    virtual void OnUrlOpened(const std::string& url);
    virtual bool OpenUrl(const std::string& url, bool quitAfter = false);
    virtual std::string GetProductVersion(const std::string& path);
    virtual void HideWindow();
    virtual void Shutdown();
    virtual void ParseCommandLine();
    virtual void SplitCommandLine(const std::string& text);
    virtual void HandleCommandLineParam(const std::string& name, const std::string& value);
    virtual void Run();
    virtual void Initialize();
    virtual void OnBeforeDisplayInit() {}
    virtual bool OverrideWorkingFolder(const std::string& folder)
    {
        (void)folder;
        return false;
    }
    virtual void PlaySound(int id, int pan);
    virtual void PlaySound(int id) { PlaySound(id, 0); }
    virtual double GetMasterVolume();
    virtual double GetMusicVolume() { return musicVolume; }
    virtual double GetSoundVolume() { return sfxVolume; }
    virtual bool IsMuted() { return muteCount > 0; }
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSoundVolume(double volume);
    virtual void Mute(bool automatic);
    virtual void Unmute(bool automatic);
    virtual double GetLoadingProgress();
    // Reads an image file into a new image of its own carrying `flags` (the
    // display back-end's storage hints); none when it does not load.
    virtual std::unique_ptr<MemoryImage> LoadDisplayImage(const std::string& path, int flags);
    // The shared image of (file, variant), loaded when it is not shared yet
    // (then `created` is true); empty when the file does not load.
    SharedImageRef GetSharedImage(const std::string& file, const std::string& variant, bool& created);
    virtual void SwitchScreenMode(bool wantWindowed, bool use3D, bool force);
    virtual void SwitchScreenMode(bool wantWindowed) { SwitchScreenMode(wantWindowed, is3D, false); }
    virtual void SwitchScreenMode() { SwitchScreenMode(isWindowed, is3D, true); }
    virtual Dialog* ShowDialog(int id, bool modal, const std::string& header, const std::string& lines,
                               const std::string& footer, int buttonMode);
    virtual Dialog* FindDialog(int id);
    virtual bool CloseDialog(Dialog* dialog);
    virtual void AddDialog(int id, Dialog* dialog);
    virtual void AddDialog(Dialog* dialog);
    bool CloseDialog(int id) override;
    virtual int GetDialogCount() { return static_cast<int>(dialogList.size()); }
    virtual void OnModalOpen() {}
    virtual void OnModalClose() {}
    virtual void OnAppFocusGained() {}
    virtual void OnAppFocusLost() {}
    virtual bool IsAltShortcut(int ch) { return ch == 'r' || ch == 'R'; }
    virtual bool DebugKeyDown(int key);
    virtual bool RawKeyDown(int key, bool ctrl, bool alt)
    {
        (void)key;
        (void)ctrl;
        (void)alt;
        return false;
    }
    virtual void OnCloseRequest() {}
    virtual bool Redraw();
    virtual void PresentScreen();
    virtual void OnBeforeSettings() {}
    virtual void RunLoop();
    bool PumpStep(bool& updated) override;
    virtual bool PumpUntilUpdate();

    // The window procedure: the platform hands every native event here, in
    // arrival order. Input is queued for the main loop.
    void OnWindowMessage(const InputMessage& msg);
    // Handles one queued input record; true while more are queued.
    bool ProcessQueuedMessage();
    void RehupFocus();

    void SetCursorNumber(int number) override;
    void SetCustomCursorsEnabled(bool enabled);
    // Registers a picture (not owned) to draw as the software cursor for a
    // cursor number, with its hot spot; null removes it.
    void SetCustomCursorImage(int number, Image* image, int hotX = 0, int hotY = 0);
    // The software cursor in use, or null while the system draws the cursor.
    Image* GetSoftwareCursor() const { return softwareCursor; }
    void ResetTiming();
    void StartLoadingThread();
    std::string GetString(const std::string& key, const std::string& fallback = std::string()) const;
    // Ends the process (tests override TerminateProcess).
    void ExitNow(int code);
    void ReleaseDeferredDeletions();
    void MarkAllDirty();

    // Clipboard, in Windows-1251.
    void CopyToClipboard(const std::string& text) override;
    std::string GetClipboard() override;
    // WidgetHost: the focus and display state the widgets ask about.
    bool IsAppFocused() const override { return hasFocus; }
    bool IsAccelerated() const override { return is3D; }

    // FileAccess: whole-file operations for the players' data files. Writes
    // are atomic and create missing folders. They go through the demo
    // layer: a recording notes each result, a playback answers from the
    // recording and never touches the disk.
    bool ReadFile(const std::string& path, std::string& bytes, size_t maxSize) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool Exists(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;

    // Demo recording and playback.
    // What a playback found, for the developer and for regression tests.
    struct DemoReport {
        int eventsPlayed = 0;
        int eventsTotal = 0;
        int writesMatched = 0;
        int writesDiffered = 0;
        bool finished = false;      // the playback reached the recorded end
        bool screenMatched = false; // the final screen hashed as recorded
        uint64_t screenHash = 0;
        std::string divergence;     // why playback stopped early; empty if it did not
        // The last bytes written to each file (by file name), as the run
        // would have written them.
        std::map<std::string, std::string> written;
    };
    // Names this moment of a recording ("Level 3"); playback's "M" runs to
    // the next marker and "L" lists them.
    void AddDemoMarker(const std::string& name);
    bool IsPlayingDemo() const { return playingDemo; }
    // Playback runs on without drawing, waiting or sound up to this update.
    void JumpDemoTo(int update);
    const DemoReport& GetDemoReport() const { return demoReport; }
    // The whole screen drawn afresh and hashed (64-bit FNV-1a of its pixels).
    uint64_t HashScreen();

    // Settings store access; all fail when the registry key is empty.
    bool WriteSettingString(const std::string& name, const std::string& text);
    bool WriteSettingInteger(const std::string& name, int value);
    bool WriteSettingBoolean(const std::string& name, bool value);
    // Bytes of any kind (SettingsStore::Kind).
    bool WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes);
    bool ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes);
    bool ReadSettingInteger(const std::string& name, int& value);
    bool ReadSettingBoolean(const std::string& name, bool& value);
    bool ReadSettingString(const std::string& name, std::string& text);
    bool EraseSetting(const std::string& name);

    WidgetManager* GetWidgetManager() const { return widgetManager.get(); }
    ResourceManager* GetResourceManager() const { return resourceManager.get(); }
    SoundManager* GetSoundManager() override { return soundManager.get(); }

    // ResourceHost: the resource manager loads through the application.
    SharedImageRef GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                  uint32_t alphaColor) override;
    std::unique_ptr<MemoryImage> LoadDisplayImage(const std::string& path) override;
    FontHost* GetFontHost() override { return this; }
    // FontHost: image fonts load their glyph images here too, and their
    // descriptor errors reach the player as a message box (shown by the
    // primary thread, also when the loading thread read the font).
    std::unique_ptr<MemoryImage> LoadFontImage(const std::string& path) override;
    void ReportFontError(const std::string& text) override;
    // Shows the font errors other threads reported.
    void ShowPendingFontErrors();

    SharedImageTable& GetSharedImages() { return sharedImages; }
    // Guards the shared image table; the loading thread creates images
    // under it while the primary thread frees unused ones.
    std::recursive_mutex& GetDisplayLock() { return sharedImages.GetLock(); }
    MusicInterface* GetMusicInterface() const { return musicInterface.get(); }
    Clock* GetClock() const { return clock; }
    bool IsPrimaryThread() const { return std::this_thread::get_id() == primaryThreadId; }
    bool HasShutdownStarted() const { return shutdown; }

    // Identity and window.
    std::string productName = "Product";
    std::string title = "ZorvinApp";
    std::string registryKey;
    std::string productVersion;
    int width = 640;
    int height = 480;
    int preferredX = -1;
    int preferredY = -1;
    bool isWindowed = true;
    bool isPhysWindowed = true;
    bool fullScreenByDisplayMode = false;
    bool forceFullscreen = false;
    bool windowedFailedOnce = false;
    bool hasMainWindow = false;
    int cursorNum = 0;
    bool customCursorsEnabled = false;
    bool isScreenSaver = false;
    bool allowMonitorPowersave = true;
    bool onlyAllowOneCopyToRun = true;
    bool is3D = false;
    bool is3DChanged = false;
    bool had3DProblems = false;
    std::map<std::string, std::string> stringTable;

    // Timing.
    int frameTime = 10;
    double updateMultiplier = 1.0;
    bool paused = false;
    StepMode stepMode = StepMode::Running;
    bool vsyncUpdates = false;
    int refreshRate = 100;
    bool vsyncBroken = false;
    int vsyncBrokenCount = 0;
    uint32_t vsyncBrokenTestStartTick = 0;
    int vsyncBrokenTestUpdates = 0;
    bool waitForVSync = false;
    bool softVSyncWait = true;
    double updateTimeAcc = 0.0;
    double pendingUpdatesAcc = 0.0;
    uint32_t lastTimeCheck = 0;
    int holdTime = 0;
    LoopState updateAppState = LoopState::TakingInput;
    int updatesSinceLastDraw = 0;
    bool hasPendingDraw = true;
    bool lastDrawWasEmpty = false;
    bool forceDraw = false;
    uint32_t lastDrawTick = 0;
    uint32_t nextDrawTick = 0;
    uint32_t lastUserInputTick = 0;
    uint32_t startTick = 0;
    uint32_t fpsTime = 0;
    int fpsCount = 0;
    int currentFps = 0;
    int updateCount = 0;
    int dirtyUpdateCount = 0;
    int drawCount = 0;
    int sleepCount = 0;
    int drawTime = 0;
    int screenBltTime = 0;
    int pumpDepth = 0;
    bool isDrawing = false;
    bool displayLost = false;
    uint32_t lastRecoveryTick = 0;
    bool showFPS = false;
    int showFPSMode = 0;

    // Focus and sound.
    bool active = true;
    bool minimized = false;
    bool hasFocus = true;
    bool mouseIn = false;
    bool running = false;
    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    double demoMusicVolume = 0.0;
    double demoSfxVolume = 0.0;
    int muteCount = 0;
    int autoMuteCount = 0;
    bool muteOnLostFocus = true;
    bool noSoundNeeded = false;
    // The volumes last handed to the music player and the sound manager.
    double appliedMusicVolume = -1.0;
    double appliedSoundVolume = -1.0;

    // Lifecycle.
    bool initialized = false;
    std::atomic<bool> shutdown{false};
    bool exitToTop = false;
    bool isWindowHidden = false;
    bool isSystemPopupUp = false;
    bool closeRequest = false;
    bool readFromRegistry = false;
    // The last run ended without a crash ("InProgress" was 0 or absent).
    bool lastShutdownWasGraceful = true;
    bool displayCreated = false;
    std::thread::id primaryThreadId;
    std::atomic<bool> shutdownFromOtherThread{false};
    bool tearingDown = false;
    int exitCode = -1;

    // Loading thread.
    std::atomic<bool> loadingThreadStarted{false};
    std::atomic<bool> loadingThreadCompleted{false};
    bool loaded = false;
    std::atomic<bool> yieldMainThread{false};
    bool autoStartLoadingThread = true;
    std::atomic<int> completedLoadingThreadTasks{0};
    std::atomic<int> numLoadingThreadTasks{0};

    // Dialogs, in opening order, and the widgets waiting to be deleted.
    std::map<int, Dialog*> dialogMap;
    std::list<Dialog*> dialogList;
    std::list<std::pair<int, Widget*>> deferredDeletes;

    // URL opening.
    bool isOpeningUrl = false;
    std::string openingUrl;
    uint32_t openingUrlTick = 0;
    bool shutdownOnUrlOpen = false;

    // Command line and developer features.
    bool commandLineParsed = false;
    std::string commandLine;
    std::string demoFileName = "zorvinapp.dmo";
    bool recordingDemo = false;
    bool playingDemo = false;
    bool debugKeysEnabled = false;
    bool ctrlDown = false;
    bool altDown = false;
    bool closeQueued = false;
    std::deque<InputMessage> messageQueue;
    uint8_t saturationTable[512];

protected:
    // Ends the process; tests replace it to observe the exit code.
    virtual void TerminateProcess(int code);
    // Hand volumes to the sound manager and the music player.
    void ApplySoundVolumeToDevice(double volume);
    void ApplyMusicVolumeToDevice(double volume);
    // The screen image's pixels for the presenter (ARGB, width x height).
    virtual const uint32_t* GetScreenPixels();
public:
    // Saves the screen image as the next free "_screenshots/<n>.png";
    // returns the file name, or "" when it could not be written.
    virtual std::string TakeScreenshot();
    MemoryImage* GetScreenImage() const { return screenImage.get(); }
    // Writes every live image as "_dump/img<nnnn>.png" with an index page
    // "_dump/imagelist.html" of their sizes and the total; returns how many
    // images were written.
    virtual int DumpImages();
    // The frame-rate display's picture for the current figure ("FPS: n",
    // or the mouse position "x, y" in the second mode), made again only
    // when its text changes; null when no font is available.
    MemoryImage* GetFrameRateImage();
    // White lines of text on a dark plate, in the frame-rate figure's font;
    // null when no font is available.
    std::unique_ptr<MemoryImage> MakeTextPlate(const std::vector<std::string>& lines);

protected:

    SettingsStore* GetSettings();
    void ApplyVolumes();
    void VsyncSanityCheck();
    bool SleepOrFail(int ms, bool allowSleep);
    // The two halves of ProcessQueuedMessage: mouse records, and the rest
    // (keys, timer, window state, close).
    void HandleMouseMessage(const InputMessage& msg);
    void HandleKeyOrWindowMessage(const InputMessage& msg);
    uint32_t Now() { return clock->GetTickCount(); }

    // The demo layer (ZorvinAppBaseDemo.cpp).
    void StartDemo();
    void FinishDemo(uint64_t screenHash);
    bool DemoActive() const { return demo != nullptr && !demoClosed && IsPrimaryThread(); }
    void RecordDemoEvent(DemoEvent event);
    void RecordDemoInput(const InputMessage& msg);
    // Notes an outside result; returns `ok`.
    bool RecordDemoResult(DemoEvent::Code code, const std::string& name, bool ok, std::string bytes = {},
                          int kind = 0);
    // The recorded result of this code and name during playback, or null.
    const DemoEvent* PlayDemoResult(DemoEvent::Code code, const std::string& name);
    // Counts a playback write as matching the recorded one or not.
    void CompareDemoWrite(const DemoEvent& recorded, const std::string& what, int kind, const std::string& bytes);
    // The next recorded event when it is of this code and name and due now;
    // anything else means the run no longer follows the recording.
    const DemoEvent* TakeDemoEvent(DemoEvent::Code code, const std::string& name);
    void DemoDiverged(const std::string& why);
    // Hands the next due input of the recording to the widgets; true while
    // more input is due at this update.
    bool FeedDemoInput();
    void DispatchDemoInput(const DemoEvent& event);
    // Playback's own keys; true when the character was one of them.
    bool DemoPlaybackKey(int ch);
    // The gate of TryUpdate during playback; false when no update may run.
    bool DemoAllowsUpdate();
    // Runs updates back to back towards the jump target; false when no
    // jump is under way.
    bool DemoFastForward();
    void EndDemoJump();
    void ShowDemoMarkers();

    // Declared before the managers so every reference they hold is gone
    // before the table goes.
    SharedImageTable sharedImages;
    std::mutex fontErrorLock;
    std::vector<std::string> pendingFontErrors;
    std::unique_ptr<WidgetManager> widgetManager;
    std::unique_ptr<ResourceManager> resourceManager;
    // The 800 x 600 (width x height) picture the widgets draw into and the
    // presenter shows.
    std::unique_ptr<MemoryImage> screenImage;
    // The screen with the software cursor drawn over it, made only while a
    // software cursor is shown.
    std::unique_ptr<MemoryImage> cursorFrame;
    // What changed since the last presented frame; an unchanged frame is
    // not presented at all.
    FrameDiff frameDiff;
    std::unique_ptr<SysFont> frameRateFont;
    std::unique_ptr<MemoryImage> frameRateImage;
    std::string frameRateText;
    struct CustomCursor {
        Image* image = nullptr;
        int hotX = 0;
        int hotY = 0;
    };
    std::map<int, CustomCursor> customCursors;
    Image* softwareCursor = nullptr;
    int softwareCursorHotX = 0;
    int softwareCursorHotY = 0;
    std::unique_ptr<Clock> systemClock;
    Clock* clock = nullptr;
    WindowSystem* windowSystem = nullptr;
    Presenter* presenter = nullptr;
    SystemServices* systemServices = nullptr;
    std::unique_ptr<SettingsStore> settings;
    AudioDevice* audioDevice = nullptr;
    std::unique_ptr<SoundManager> soundManager;
    std::unique_ptr<MusicInterface> musicInterface;
    std::string settingsPathOverride;
    std::string settingsKeyInUse;
    std::string instanceFolder;
    SingleInstance singleInstance;
    std::thread loadingThread;
    bool screenSaverErrorLogStarted = false;

    // The demo being recorded or played, the next event to play, and the
    // playback's jump target (-1 none) and findings.
    std::unique_ptr<DemoFile> demo;
    size_t demoNext = 0;
    bool demoClosed = false;
    bool demoBroken = false;
    int demoJumpTarget = -1;
    DemoReport demoReport;
    // The playback's marker list ("L"), drawn over the frame while shown.
    std::unique_ptr<MemoryImage> demoOverlay;
};

// The one application object, set by its constructor.
extern ZorvinAppBase* gZorvinApp;

} // namespace Zorvin
