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
// run in, and keeps the table of shared images. One instance per process.
//
// Sections:
//   - construction, start-up and the main loop
//   - settings, screen modes and the display
//   - dialogs, message boxes and cursors
//   - input and the message queue
//   - sound, music and muting
//   - demo recording and playback
//   - the application's file operations
//   - state

#include "framework/widgets/ButtonListener.h"
#include "framework/core/FileAccess.h"
#include "framework/app/DemoSession.h"
#include "framework/app/DialogStack.h"
#include "framework/app/DisplayState.h"
#include "framework/app/DrawPacer.h"
#include "framework/app/FrameClock.h"
#include "framework/core/Clock.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/font/FontHost.h"
#include "framework/app/FrameDiff.h"
#include "framework/app/InputMessage.h"
#include "framework/app/InputSink.h"
#include "framework/resources/ResourceHost.h"
#include "framework/app/SettingsAccess.h"
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
struct FrameExtents;

class ZorvinAppBase : public ButtonListener,
                      public DialogListener,
                      public ResourceHost,
                      public FontHost,
                      public WidgetHost,
                      public FileAccess,
                      public InputSink,
                      public SettingsAccess {
public:
    // Where the current step of the main loop stands.
    enum class LoopState {
        TakingInput, // queued input is handled, one record per step
        Updating,    // the queue is empty: update when one is due, else draw or sleep
        CatchingUp,  // an update ran: catch-up updates and the smooth update follow
        StepDone,    // the step is over; the next one takes input again
    };
    using StepMode = FrameClock::StepMode;

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
    virtual void CreateMainWindow();
    // Shows the main window; a window in a frame is moved so its drawing
    // area is where PlaceWindow puts it.
    void ShowMainWindow();
    virtual void OnLoadingDone() {}
    virtual void OnInitialized() {}
    virtual void OnShutdown() {}
    virtual void LoadInBackground() {}
    virtual void SaveSettings();
    virtual void LoadSettings();
    // A message dialog as ShowDialog opens it (the game gives them its look).
    virtual std::unique_ptr<Dialog> MakeDialog(int id, bool modal, const std::string& header,
                                               const std::string& lines, const std::string& footer, int buttonMode);
    virtual void BeginSystemPopup();
    virtual void EndSystemPopup();
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int flags);
    virtual void ShowFatalError(const std::string& text);
    virtual void DeferDelete(Widget* widget);
    virtual bool OpenUrl(const std::string& url, bool quitAfter = false);
    virtual void Shutdown();
    virtual void ParseCommandLine();
    virtual void Run();
    virtual void Initialize();
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
    virtual void SwitchScreenMode(bool wantWindowed) { SwitchScreenMode(wantWindowed, display.Is3D(), false); }
    virtual void SwitchScreenMode() { SwitchScreenMode(display.WantsWindow(), display.Is3D(), true); }
    virtual Dialog* ShowDialog(int id, bool modal, const std::string& header, const std::string& lines,
                               const std::string& footer, int buttonMode);
    virtual Dialog* FindDialog(int id);
    virtual bool CloseDialog(Dialog* dialog);
    // Opens a dialog above the others under `id`, closing one of the same
    // number; the application owns it until it is closed and deleted.
    virtual Dialog* AddDialog(int id, std::unique_ptr<Dialog> dialog);
    bool CloseDialog(int id) override;
    // Closes every dialog, newest first.
    void CloseAllDialogs();
    virtual int GetDialogCount() { return dialogs.Count(); }
    // The dialog opened last and still open, or null.
    Dialog* GetTopDialog() const { return dialogs.Top(); }
    // The open dialogs, oldest first.
    std::vector<Dialog*> GetOpenDialogs() const { return dialogs.InOrder(); }
    virtual void OnAppFocusLost() {}
    virtual bool DebugKeyDown(int key);
    virtual bool Redraw();
    virtual void PresentScreen();
    bool PumpStep(bool& updated) override;
    virtual bool PumpUntilUpdate();

    // The window procedure: the platform hands every native event here, in
    // arrival order. Input is queued for the main loop.
    void OnWindowMessage(const InputMessage& msg) override;
    // Handles one queued input record; true while more are queued.
    bool ProcessQueuedMessage();

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
    void ReleaseDeferredDeletions();
    // Widgets waiting for deferred deletion.
    int PendingDeletions() const { return static_cast<int>(deferredDeletes.size()); }
    void MarkAllDirty();

    // Clipboard, in Windows-1251.
    void CopyToClipboard(const std::string& text) override;
    std::string GetClipboard() override;
    // WidgetHost: the focus and display state the widgets ask about.
    bool IsAppFocused() const override { return hasFocus; }
    bool IsAccelerated() const override { return display.Is3D(); }

    // FileAccess: whole-file operations for the players' data files. Writes
    // are atomic and create missing folders. They go through the demo
    // layer: a recording notes each result, a playback answers from the
    // recording and never touches the disk.
    bool ReadFile(const std::string& path, std::string& bytes, size_t maxSize) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool Exists(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    // The copy's name is part of the recording; a playback makes none.
    std::string KeepCopy(const std::string& path) override;
    // Not recorded, as nothing read depends on it; a playback skips it.
    void RemoveStaleTemporaries(const std::string& path) override;

    // Demo recording and playback (the session itself is DemoSession).
    using DemoReport = DemoSession::Report;
    // Names this moment of a recording ("Level 3"); playback's "M" runs to
    // the next marker and "L" lists them.
    void AddDemoMarker(const std::string& name);
    bool IsPlayingDemo() const { return demoSession && demoSession->IsPlaying(); }
    bool IsRecordingDemo() const { return demoSession && demoSession->IsRecording(); }
    // The demo file the command line named (the default before it did).
    std::string GetDemoFileName() const;
    // Playback runs on without drawing, waiting or sound up to this update.
    void JumpDemoTo(int update);
    const DemoReport& GetDemoReport() const;

    // SettingsAccess: every setting goes through these; a recording notes
    // each result, a playback answers from the recording.
    bool WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes) override;
    bool ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes) override;
    bool EraseSetting(const std::string& name) override;

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

    SharedImageTable& GetSharedImages() { return sharedImages; }
    MusicInterface* GetMusicInterface() const { return musicInterface.get(); }
    bool HasShutdownStarted() const override { return shutdown; }

    // The state the game's parts and the developer tools read.
    bool IsInitialized() const { return initialized; }
    bool IsLoaded() const { return loaded; }
    bool IsLoadingThreadDone() const { return loadingThreadCompleted; }
    // The exit code the process ends with (-1 until one is set).
    int GetExitCode() const { return exitCode; }
    int GetUpdateCount() const { return frameClock.UpdateCount(); }
    // How many steps are running inside each other (a dialog's wait runs
    // steps inside the step that opened it).
    int GetPumpDepth() const { return pumpDepth; }
    bool HasQueuedInput() const { return !messageQueue.empty(); }
    bool DebugKeysEnabled() const { return debugKeysEnabled; }
    bool IsWindowed() const { return display.WantsWindow(); }
    // The desktop allows no windowed mode.
    bool IsFullScreenForced() const { return display.IsFullScreenForced(); }
    // The loop's clock, the drawing's pacing and the window's state, to
    // look at.
    const FrameClock& GetFrameClock() const { return frameClock; }
    const DrawPacer& GetDrawPacer() const { return drawPacer; }
    const DisplayState& GetDisplayState() const { return display; }
    // What Run does before and after its loop, for a driver that runs the
    // steps itself (the end-to-end player).
    void BeginDrivenRun();
    void EndDrivenRun();

    // Identity, screen size and start-up choices, set by the game (or a
    // test) before Initialize.
    std::string productName = "Product";
    std::string title = "ZorvinApp";
    std::string registryKey;
    std::string productVersion;
    int width = 640;
    int height = 480;
    bool onlyAllowOneCopyToRun = true;
    // Run starts the loading thread itself.
    bool autoStartLoadingThread = true;
    // The game runs silently: no sound device is opened.
    bool noSoundNeeded = false;

protected:
    // Hooks the derived application may take over, and the steps of the
    // loop and of start-up that only the application itself runs.
    virtual bool TryUpdate();
    virtual void SmoothUpdate(double frac);
    // A silent player when no sound is wanted, else the mixer's player.
    virtual std::unique_ptr<MusicInterface> CreateMusicPlayer();
    virtual void ApplyCursor();
    virtual void OnRunFinished() {}
    virtual void OnBeforeWindow() {}
    virtual void LogScreenSaverError(const std::string& text);
    virtual void OnUrlOpenFailed(const std::string& url);
    virtual void OnUrlOpened(const std::string& url);
    virtual std::string GetProductVersion(const std::string& path);
    virtual void HideWindow();
    virtual void SplitCommandLine(const std::string& text);
    virtual void HandleCommandLineParam(const std::string& name, const std::string& value);
    virtual void OnBeforeDisplayInit() {}
    virtual void OnModalOpen() {}
    virtual void OnModalClose() {}
    virtual void OnAppFocusGained() {}
    virtual bool IsAltShortcut(int ch) { return ch == 'r' || ch == 'R'; }
    virtual bool RawKeyDown(int key, bool ctrl, bool alt)
    {
        (void)key;
        (void)ctrl;
        (void)alt;
        return false;
    }
    virtual void OnCloseRequest() {}
    virtual void OnBeforeSettings() {}
    virtual void RunLoop();
    // Ends the process (tests override TerminateProcess).
    void ExitNow(int code);
    Clock* GetClock() const { return clock; }
    // Ends the process; tests replace it to observe the exit code.
    virtual void TerminateProcess(int code);
    // For the derived application: the screen mode to start in (the
    // settings may change it), its loading thread's task count and
    // progress, and a start-up failure that ends the run with `code`.
    void SetStartWindowed(bool windowed) { display.SetWantsWindow(windowed); }
    void SetLoadingTaskCount(int total) { numLoadingThreadTasks = total; }
    void CountLoadingTaskDone() { ++completedLoadingThreadTasks; }
    void AbortRun(int code)
    {
        exitCode = code;
        shutdown = true;
        exitToTop = true;
    }
    // A failure the run goes on after (the player can still close the
    // window): the program ends with `code` whenever it ends.
    void SetExitCode(int code) { exitCode = code; }
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

private:
    void RehupFocus();
    // The whole screen drawn afresh and hashed (64-bit FNV-1a of its pixels).
    uint64_t HashScreen();
    // White lines of text on a dark plate, in the frame-rate figure's font;
    // null when no font is available.
    std::unique_ptr<MemoryImage> MakeTextPlate(const std::vector<std::string>& lines);
    // Shows the font errors other threads reported.
    void ShowPendingFontErrors();
    // Guards the shared image table; the loading thread creates images
    // under it while the primary thread frees unused ones.
    std::recursive_mutex& GetDisplayLock() { return sharedImages.GetLock(); }
    bool IsPrimaryThread() const { return std::this_thread::get_id() == primaryThreadId; }
    bool IsRunning() const { return running; }

    // Declared before everything that may hold shared images, so every
    // reference is gone before the table goes.
    SharedImageTable sharedImages;
    std::mutex fontErrorLock;
    std::vector<std::string> pendingFontErrors;

protected:
    SettingsStore* GetSettings();
    uint32_t Now() { return clock->GetTickCount(); }

    // What the derived application uses directly: the widgets, the
    // resources, the screen image, the desktop services it was given and
    // its loading thread.
    std::unique_ptr<WidgetManager> widgetManager;
    std::unique_ptr<ResourceManager> resourceManager;
    // The 800 x 600 (width x height) picture the widgets draw into and the
    // presenter shows.
    std::unique_ptr<MemoryImage> screenImage;
    Clock* clock = nullptr;
    Presenter* presenter = nullptr;
    SystemServices* systemServices = nullptr;
    AudioDevice* audioDevice = nullptr;
    std::thread loadingThread;

private:
    // The drawing area's top-left corner for a window in this frame:
    // centred in the work area, or the preferred place with the whole frame
    // kept inside the work area of its monitor.
    void PlaceWindow(const FrameExtents& frame, int& x, int& y);
    void ApplyVolumes();
    bool SleepOrFail(int ms, bool allowSleep);
    // Whether the loop may wait for input instead of stepping: a still
    // screen with nothing else going on.
    bool CanIdle() const;
    // Waits for input at most an idle wait, then runs the updates owed.
    void IdleUntilInput();
    // The two halves of ProcessQueuedMessage: mouse records, and the rest
    // (keys, timer, window state, close).
    void HandleMouseMessage(const InputMessage& msg);
    void HandleKeyOrWindowMessage(const InputMessage& msg);

    // The demo layer (ZorvinAppBaseDemo.cpp).
    // The session the command line fills in, made on its first demo switch.
    DemoSession& DemoRequest();
    void StartDemo();
    void FinishDemo(uint64_t screenHash);
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

    // The open dialogs (emptied by the destructor before the widget
    // manager goes).
    DialogStack dialogs;
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
    WindowSystem* windowSystem = nullptr;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<SoundManager> soundManager;
    std::unique_ptr<MusicInterface> musicInterface;
    std::string settingsPathOverride;
    std::string settingsKeyInUse;
    std::string instanceFolder;
    SingleInstance singleInstance;
    bool screenSaverErrorLogStarted = false;

    // The demo being recorded or played (none in a plain run), and the
    // playback's jump target (-1 none).
    std::unique_ptr<DemoSession> demoSession;
    int demoJumpTarget = -1;
    // The playback's marker list ("L"), drawn over the frame while shown.
    std::unique_ptr<MemoryImage> demoOverlay;

    // What the derived applications (the game, the developer tools, the
    // test fixtures) configure or look at; the rest of the state is private.
protected:
    // The loop's clock, the drawing's pacing and the window's state; the
    // developer tools and the tests steer them through their operations.
    FrameClock& Timing() { return frameClock; }
    DrawPacer& Pacer() { return drawPacer; }
    DisplayState& Display() { return display; }

    int cursorNum = 0;
    bool customCursorsEnabled = false;
    bool isScreenSaver = false;
    std::map<std::string, std::string> stringTable;

    // Focus and sound.
    bool active = true;
    bool minimized = false;
    bool hasFocus = true;
    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    int muteCount = 0;
    int autoMuteCount = 0;
    // The volumes last handed to the music player and the sound manager.
    double appliedMusicVolume = -1.0;
    double appliedSoundVolume = -1.0;

    // Lifecycle.
    bool running = false;
    bool initialized = false;
    std::atomic<bool> shutdown{false};
    bool exitToTop = false;
    bool closeRequest = false;
    // The last run ended without a crash ("InProgress" was 0 or absent).
    bool lastShutdownWasGraceful = true;
    std::atomic<bool> shutdownFromOtherThread{false};
    int exitCode = -1;

    // Loading thread.
    std::atomic<bool> loadingThreadStarted{false};
    std::atomic<bool> loadingThreadCompleted{false};
    bool loaded = false;
    std::atomic<bool> yieldMainThread{false};
    std::atomic<int> completedLoadingThreadTasks{0};
    std::atomic<int> numLoadingThreadTasks{0};

    // The widgets waiting to be deleted, with the step depth that queued them.
    std::list<std::pair<int, Widget*>> deferredDeletes;

    // Command line, URL opening, demos and developer features.
    std::string commandLine;
    bool isOpeningUrl = false;
    bool debugKeysEnabled = false;
    // Input records waiting for the main loop, oldest first.
    std::deque<InputMessage> messageQueue;

private:
    // The settings store as a SettingsAccess, the real settings a demo
    // session wraps.
    class StoreSettings : public SettingsAccess {
    public:
        explicit StoreSettings(ZorvinAppBase& app) : app(app) {}
        bool WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes) override;
        bool ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes) override;
        bool EraseSetting(const std::string& name) override;

    private:
        ZorvinAppBase& app;
    };
    // Where the players' files and the settings go: through the demo
    // session while there is one, else straight to the disk and the store.
    FileAccess& ActiveFiles();
    SettingsAccess& ActiveSettings();
    StoreSettings storeSettings{*this};

    // The window and the display.
    DisplayState display;
    bool isSystemPopupUp = false;
    bool mouseIn = false;

    // The loop: its clock, the pacing of frames, where the step stands,
    // and how deep steps run inside each other.
    FrameClock frameClock;
    DrawPacer drawPacer;
    LoopState updateAppState = LoopState::TakingInput;
    int updatesSinceLastDraw = 0;
    bool isDrawing = false;
    int pumpDepth = 0;
    uint32_t lastUserInputTick = 0;

    // Sound and lifecycle.
    bool muteOnLostFocus = true;
    bool readFromRegistry = false;
    std::thread::id primaryThreadId;
    bool tearingDown = false;

    // URL opening and the command line.
    std::string openingUrl;
    uint32_t openingUrlTick = 0;
    bool shutdownOnUrlOpen = false;
    bool commandLineParsed = false;

    // Modifier keys as the last key records left them, and a close request
    // waiting for the end of the step.
    bool ctrlDown = false;
    bool altDown = false;
    bool closeQueued = false;
};

} // namespace Zorvin
