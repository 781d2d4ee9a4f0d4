// The application base's life cycle: construction and teardown, start-up,
// the loading thread and shutdown. The other concerns live beside it:
//
//   ZorvinAppBaseLoop.cpp      main loop and timing
//   ZorvinAppBaseInput.cpp     window messages and queued input
//   ZorvinAppBaseDisplay.cpp   window, screen modes, drawing, cursors, screenshots
//   ZorvinAppBaseDialogs.cpp   dialogs, deferred deletion, message boxes
//   ZorvinAppBaseServices.cpp  images, fonts, sound, files, clipboard, URLs
//   ZorvinAppBaseSettings.cpp  settings store and command line

#include "framework/app/ZorvinAppBase.h"

#include "framework/core/FileUtil.h"
#include "framework/core/SystemClock.h"
#include "framework/font/SysFont.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/music/MusicInterface.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/Presenter.h"
#include "framework/app/SystemServices.h"
#include "framework/app/WindowSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace Zorvin {

namespace {

std::string ExecutableFolder()
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::string();
    return FileUtil::FolderOf(exe.string());
}

} // namespace

ZorvinAppBase::ZorvinAppBase()
{
    systemClock = std::make_unique<SystemClock>();
    clock = systemClock.get();
    primaryThreadId = std::this_thread::get_id();
    stringTable["DIALOG_BUTTON_OK"] = "OK";
    stringTable["DIALOG_BUTTON_CANCEL"] = "CANCEL";
    stringTable["UPDATE_CHECK_TITLE"] = "Update Check";
    stringTable["UPDATE_CHECK_BODY"] = "Checking if there are any updates available for this product ...";
    stringTable["UP_TO_DATE_TITLE"] = "Up to Date";
    stringTable["UP_TO_DATE_BODY"] = "There are no updates available for this product at this time.";
    stringTable["NEW_VERSION_TITLE"] = "New Version";
    stringTable["NEW_VERSION_BODY"] =
        "There is an update available for this product.  Would you like to visit the web site to download it?";
    widgetManager = std::make_unique<WidgetManager>(this);
    resourceManager = std::make_unique<ResourceManager>(this);
    productVersion = GetProductVersion(std::string());
}

ZorvinAppBase::~ZorvinAppBase()
{
    Shutdown();
    if (loadingThread.joinable())
        loadingThread.join();
    tearingDown = true;

    // The player switched acceleration during this run: ask whether to keep
    // it, unless the settings or the display's own test already decide.
    int kind = 0;
    std::vector<uint8_t> bytes;
    bool storedChoice = ReadSettingRaw("Is3D", kind, bytes);
    bool testDecided = presenter != nullptr && presenter->Test3DDecided();
    if (display.Was3DSwitched() && !storedChoice && !testDecided) {
        if (display.Is3D())
            display.Choose3D(ShowMessageBox("Hardware Acceleration was switched on during this session.\r\n"
                                  "If this resulted in slower performance, it should be switched off.\r\n"
                                  "Would you like to keep Hardware Acceleration switched on?",
                                  " Hardware Acceleration Confirmation", MB_YESNO) == IDYES);
        WriteSettingBoolean("Is3D", display.Is3D());
    }
    if (display.Had3DProblems() && display.Is3D() && !isScreenSaver) {
        if (ShowMessageBox("Hardware Acceleration may not have been working correctly during this session.\r\n"
                           "If you noticed graphics problems, you may want to turn off Hardware Acceleration.\r\n"
                           "Would you like to keep Hardware Acceleration switched on?",
                           " Hardware Acceleration Confirmation", MB_YESNO) == IDNO)
            WriteSettingBoolean("Is3D", false);
    }

    while (std::unique_ptr<Dialog> d = dialogs.PopOldest())
        widgetManager->RemoveChild(d.get());
    pumpDepth = 0;
    ReleaseDeferredDeletions();
    widgetManager.reset();
    screenImage.reset();
    resourceManager.reset();
    musicInterface.reset();
    soundManager.reset();
}

void ZorvinAppBase::SetCommandLine(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i] != nullptr ? argv[i] : "";
        if (i > 0)
            text += ' ';
        if (arg.find(' ') != std::string::npos)
            text += "\"" + arg + "\"";
        else
            text += arg;
    }
    commandLine = text;
}

void ZorvinAppBase::Initialize()
{
    primaryThreadId = std::this_thread::get_id();
    if (shutdown)
        return;
    if (!commandLineParsed)
        ParseCommandLine();
    if (shutdown)
        return;
    if (IsPlayingDemo() || IsRecordingDemo()) {
        // The demo's name is relative to where the program was started,
        // not to the program's folder it is about to change to.
        std::error_code ec;
        std::filesystem::path absolute = std::filesystem::absolute(demoSession->Path(), ec);
        if (!ec)
            demoSession->SetPath(absolute.string());
    }
    if (isScreenSaver)
        onlyAllowOneCopyToRun = false;
    if (onlyAllowOneCopyToRun) {
        std::string folder = instanceFolder.empty() ? SingleInstance::DefaultFolder() : instanceFolder;
        if (!singleInstance.Acquire(folder, productName)) {
            ExitNow(0);
            return;
        }
    }
    std::string exeFolder = ExecutableFolder();
    if (!OverrideWorkingFolder(exeFolder) && !exeFolder.empty()) {
        if (::chdir(exeFolder.c_str()) != 0)
            std::fprintf(stderr, "Cannot change to the program folder %s\n", exeFolder.c_str());
    }

    OnBeforeSettings();
    // Seeds the random numbers: from the clock, or as the demo recorded.
    StartDemo();
    if (shutdown)
        return;
    LoadSettings();

    OnBeforeWindow();
    widgetManager->ResizeRoot(width, height);
    screenImage = std::make_unique<MemoryImage>(width, height);
    screenImage->SetImageMode(false, false);
    widgetManager->image = screenImage.get();
    if (windowSystem != nullptr && display.WantsWindow()) {
        Rect area = windowSystem->GetDesktopWorkArea();
        if (area.width > 0 && area.height > 0 && (width >= area.width || height >= area.height))
            display.SetWantsWindow(false);
    }
    CreateMainWindow();
    if (shutdown)
        return;

    if (!soundManager)
        soundManager = std::make_unique<MixerSoundManager>(noSoundNeeded ? nullptr : audioDevice);
    ApplySoundVolumeToDevice(IsMuted() ? 0.0 : sfxVolume);
    musicInterface = CreateMusicPlayer();
    ApplyMusicVolumeToDevice(IsMuted() ? 0.0 : musicVolume);
    if (isScreenSaver)
        SetCursorNumber(11);
    OnInitialized();
    initialized = true;
}

void ZorvinAppBase::StartLoadingThread()
{
    if (loadingThreadStarted)
        return;
    yieldMainThread = true;
    loadingThreadStarted = true;
    loadingThread = std::thread([this] {
        uint32_t begin = Now();
        LoadInBackground();
        std::fprintf(stderr, "Resource Loading Time: %d\r\n", static_cast<int>(Now() - begin));
        loadingThreadCompleted = true;
    });
}

double ZorvinAppBase::GetLoadingProgress()
{
    if (loaded)
        return 1.0;
    int total = numLoadingThreadTasks;
    if (!loadingThreadStarted || total <= 0)
        return 0.0;
    return std::min(static_cast<double>(completedLoadingThreadTasks) / total, 1.0);
}

void ZorvinAppBase::Shutdown()
{
    if (!IsPrimaryThread()) {
        shutdownFromOtherThread = true;
        return;
    }
    if (shutdown.exchange(true))
        return;
    exitToTop = true;
    // The screen as the run leaves it, before the game takes its screens
    // down: a demo's end is judged by it.
    uint64_t screenHash = demoSession && demoSession->IsOpen() ? HashScreen() : 0;
    OnShutdown();
    if (musicInterface)
        musicInterface->StopAllSongs();
    if (windowSystem != nullptr && display.HasWindow())
        windowSystem->HideMainWindow();
    if (readFromRegistry)
        SaveSettings();
    FinishDemo(screenHash);
}

void ZorvinAppBase::ExitNow(int code)
{
    exitCode = code;
    shutdown = true;
    exitToTop = true;
    TerminateProcess(code);
}

void ZorvinAppBase::TerminateProcess(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(code);
}

std::string ZorvinAppBase::GetProductVersion(const std::string&) { return "1.0"; }

std::string ZorvinAppBase::GetString(const std::string& key, const std::string& fallback) const
{
    auto it = stringTable.find(key);
    return it == stringTable.end() ? fallback : it->second;
}

} // namespace Zorvin
