#include "framework/app/ZorvinAppBase.h"

#include "framework/core/Cp1251.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/core/FileUtil.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/MemoryImageLoader.h"
#include "framework/audio/music/MixerMusicInterface.h"
#include "framework/audio/MixerSoundManager.h"
#include "framework/audio/music/MusicInterface.h"
#include "framework/audio/SoundInstance.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceManager.h"
#include "framework/app/Presenter.h"
#include "framework/font/SysFont.h"
#include "framework/core/SystemClock.h"
#include "framework/app/SystemServices.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/WindowSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace Zorvin {

ZorvinAppBase* gZorvinApp = nullptr;

namespace {

constexpr int KeyShift = 16;
constexpr int KeyControl = 17;
constexpr int KeyAlt = 18;
constexpr int KeyEnter = 13;
constexpr int KeyF3 = 0x72;
constexpr int KeyF4 = 0x73;
constexpr int KeyF8 = 0x77;
constexpr int KeyF10 = 0x79;
constexpr int KeyF11 = 0x7A;

// Increments a counter for the duration of a scope.
class DepthGuard {
public:
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }

private:
    int& depth;
};

bool IsMouseMessage(MessageKind k)
{
    switch (k) {
    case MessageKind::MouseMove:
    case MessageKind::LButtonDown:
    case MessageKind::LButtonDblClk:
    case MessageKind::LButtonUp:
    case MessageKind::RButtonDown:
    case MessageKind::RButtonDblClk:
    case MessageKind::RButtonUp:
    case MessageKind::MButtonDown:
    case MessageKind::MButtonUp:
        return true;
    default:
        return false;
    }
}

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
    for (int i = 0; i < 512; ++i)
        saturationTable[i] = static_cast<uint8_t>(std::min(i, 255));
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
    gZorvinApp = this;
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
    if (is3DChanged && !storedChoice && !testDecided) {
        if (is3D)
            is3D = ShowMessageBox("Hardware Acceleration was switched on during this session.\r\n"
                                  "If this resulted in slower performance, it should be switched off.\r\n"
                                  "Would you like to keep Hardware Acceleration switched on?",
                                  " Hardware Acceleration Confirmation", MB_YESNO) == IDYES;
        WriteSettingBoolean("Is3D", is3D);
    }
    if (had3DProblems && is3D && !isScreenSaver) {
        if (ShowMessageBox("Hardware Acceleration may not have been working correctly during this session.\r\n"
                           "If you noticed graphics problems, you may want to turn off Hardware Acceleration.\r\n"
                           "Would you like to keep Hardware Acceleration switched on?",
                           " Hardware Acceleration Confirmation", MB_YESNO) == IDNO)
            WriteSettingBoolean("Is3D", false);
    }

    while (!dialogList.empty()) {
        Dialog* d = dialogList.front();
        dialogList.pop_front();
        widgetManager->RemoveChild(d);
        delete d;
    }
    dialogMap.clear();
    pumpDepth = 0;
    ReleaseDeferredDeletions();
    widgetManager.reset();
    screenImage.reset();
    resourceManager.reset();
    musicInterface.reset();
    soundManager.reset();
    if (gZorvinApp == this)
        gZorvinApp = nullptr;
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

// ---------------------------------------------------------------------------
// Listeners

void ZorvinAppBase::OnDialogButtonDown(int dialogId, int buttonId)
{
    if (buttonId == DialogButtonYes)
        OnButtonDown(DialogYesButtonBase + dialogId);
    else if (buttonId == DialogButtonNo)
        OnButtonDown(DialogNoButtonBase + dialogId);
}

void ZorvinAppBase::OnDialogButtonClick(int dialogId, int buttonId)
{
    if (buttonId == DialogButtonYes)
        OnButtonClick(DialogYesButtonBase + dialogId);
    else if (buttonId == DialogButtonNo)
        OnButtonClick(DialogNoButtonBase + dialogId);
}

// ---------------------------------------------------------------------------
// Start-up

void ZorvinAppBase::Initialize()
{
    primaryThreadId = std::this_thread::get_id();
    if (shutdown)
        return;
    if (!commandLineParsed)
        ParseCommandLine();
    if (shutdown)
        return;
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
    startTick = Now();

    OnBeforeSettings();
    std::srand(Now());
    LoadSettings();

    OnBeforeWindow();
    widgetManager->ResizeRoot(width, height);
    screenImage = std::make_unique<MemoryImage>(width, height);
    screenImage->SetImageMode(false, false);
    widgetManager->image = screenImage.get();
    if (windowSystem != nullptr && isWindowed && !fullScreenByDisplayMode) {
        Rect area = windowSystem->GetDesktopWorkArea();
        if (area.width > 0 && area.height > 0 && (width >= area.width || height >= area.height))
            isWindowed = false;
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

void ZorvinAppBase::CreateMainWindow()
{
    if (windowSystem == nullptr) {
        // Headless: there is nothing to show, but the state stays consistent.
        isPhysWindowed = isWindowed;
        MarkAllDirty();
        return;
    }
    bool windowed = isWindowed || playingDemo;
    WindowSpec spec;
    spec.title = title;
    spec.width = width;
    spec.height = height;
    spec.windowed = windowed;
    if (windowed) {
        Rect area = windowSystem->GetDesktopWorkArea();
        int outerW = width, outerH = height;
        windowSystem->GetWindowFrameSize(width, height, outerW, outerH);
        if (preferredX == -1 || preferredY == -1) {
            spec.x = area.x + (area.width - outerW) / 2;
            spec.y = area.y + static_cast<int>((area.height - outerH) * 0.382);
        } else {
            // Keep a saved position on screen, at least 4 pixels inside.
            spec.x = std::max(area.x + 4, std::min(preferredX, area.x + area.width - outerW - 4));
            spec.y = std::max(area.y + 4, std::min(preferredY, area.y + area.height - outerH - 4));
        }
    }
    if (!windowSystem->CreateMainWindow(spec)) {
        ShowFatalError("Failed to create the main window.");
        ExitNow(1);
        return;
    }
    hasMainWindow = true;
    isPhysWindowed = windowed;
    if (!displayCreated) {
        displayCreated = true;
        bool stored = false;
        if (ReadSettingBoolean("Is3D", stored))
            is3D = stored;
    }
    OnBeforeDisplayInit();
    int result = presenter != nullptr ? presenter->Initialize(windowed, is3D) : RESULT_OK;
    if (presenter != nullptr && presenter->Test3DDecided())
        EraseSetting("Is3D");
    if (result == RESULT_INVALID_COLORDEPTH && windowed) {
        if (windowedFailedOnce) {
            ShowFatalError("Please set your desktop color depth to 16 bit.");
            ExitNow(1);
            return;
        }
        forceFullscreen = true;
        SwitchScreenMode(false);
        return;
    }
    if ((result == RESULT_EXCLUSIVE_FAIL || result == RESULT_DISPCHANGE_FAIL) && !windowed) {
        // Full screen does not work either: back to a window, where a
        // second failure ends with the fatal message.
        windowedFailedOnce = true;
        forceFullscreen = false;
        SwitchScreenMode(true);
        return;
    }
    if (result != RESULT_OK && is3D) {
        // Acceleration failed: the software renderer takes over at once
        // rather than leaving the window without a display.
        is3D = false;
        had3DProblems = true;
        result = presenter->Initialize(windowed, false);
    }
    if (result != RESULT_OK) {
        std::string detail = presenter != nullptr ? presenter->GetErrorText() : std::string();
        ShowFatalError(std::string("Failed to initialize DirectDraw: ") + DisplayResultName(result) + " " + detail);
        ExitNow(1);
        return;
    }
    displayLost = false;
    if (minimized) {
        minimized = false;
        if (muteOnLostFocus)
            Unmute(true);
    }
    MarkAllDirty();
    windowSystem->StartTimer(frameTime);
}

void ZorvinAppBase::SwitchScreenMode(bool wantWindowed, bool use3D, bool force)
{
    if (forceFullscreen)
        wantWindowed = false;
    if (use3D != is3D) {
        is3D = use3D;
        is3DChanged = true;
        if (wantWindowed == isWindowed && !force) {
            if (presenter != nullptr && hasMainWindow && presenter->Initialize(isPhysWindowed, is3D) != RESULT_OK) {
                is3D = false;
                had3DProblems = true;
                presenter->Initialize(isPhysWindowed, false);
            }
            MarkAllDirty();
            return;
        }
    } else if (wantWindowed == isWindowed && !force) {
        return;
    }
    isWindowed = wantWindowed;
    CreateMainWindow();
    if (windowSystem != nullptr && hasMainWindow)
        windowSystem->ShowMainWindow(!isOpeningUrl);
    lastDrawTick = Now();
}

// ---------------------------------------------------------------------------
// Main loop

void ZorvinAppBase::Run()
{
    if (shutdown)
        return;
    if (autoStartLoadingThread)
        StartLoadingThread();
    if (windowSystem != nullptr && hasMainWindow)
        windowSystem->ShowMainWindow(!isOpeningUrl);
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
    if (updateAppState == 3)
        updateAppState = 0;
    DepthGuard depth(pumpDepth);

    if (updateAppState == 0) {
        if (windowSystem != nullptr && !shutdown)
            windowSystem->PumpEvents(*this);
        if (!ProcessQueuedMessage())
            updateAppState = 1;
    }
    if (updateAppState == 0)
        return true;
    if (stepMode == 0) {
        int before = updateCount;
        TimedStep(true);
        updated = updateCount != before;
    } else if (stepMode == 2) {
        clock->Sleep(frameTime);
        updateAppState = 3;
    } else {
        stepMode = 2;
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
    if (paused || updateMultiplier <= 0) {
        ReleaseDeferredDeletions();
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
    if (updateAppState == 1) {
        ++updatesSinceLastDraw;
        if (updatesSinceLastDraw < std::ceil(updateMultiplier * 10) || !loaded) {
            bool due = vsyncWait ? (!hasPendingDraw || updateTimeAcc >= static_cast<int>(interval * 0.75))
                                 : updateTimeAcc >= interval;
            if (due) {
                VsyncSanityCheck();
                if (TryUpdate())
                    updateAppState = 2;
                hasPendingDraw = true;
                goDraw = false;
            }
        }
    } else if (updateAppState == 2) {
        updateAppState = 3;
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
        updateAppState = 3;
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
    if (loadingThreadCompleted && !loaded) {
        if (loadingThread.joinable())
            loadingThread.join();
        loaded = true;
        yieldMainThread = false;
        OnLoadingDone();
    }
    UpdateFrame();
    return true;
}

void ZorvinAppBase::UpdateFrame()
{
    ++updateCount;
    if (!minimized && widgetManager->UpdateWidgets())
        ++dirtyUpdateCount;
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

bool ZorvinAppBase::Redraw()
{
    if (displayLost) {
        PresentScreen();
        return false;
    }
    uint32_t start = Now();
    if (start - fpsTime >= 1000) {
        currentFps = fpsCount;
        fpsCount = 0;
        fpsTime = start;
    }
    bool drew = false;
    if (!tearingDown) {
        isDrawing = true;
        drew = widgetManager->DrawDirtyWidgets();
        isDrawing = false;
    }
    uint32_t drawn = Now();
    bool due = static_cast<int32_t>(start - nextDrawTick) >= 0;
    if (!((drew || start - lastDrawTick >= 1000 || forceDraw) && due)) {
        hasPendingDraw = false;
        lastDrawWasEmpty = true;
        return false;
    }
    ++drawCount;
    ++fpsCount;
    lastDrawWasEmpty = false;
    drawTime += static_cast<int>(drawn - start);

    if (isPhysWindowed && waitForVSync && softVSyncWait) {
        int period = presenter != nullptr ? presenter->GetRefreshPeriodMs() : 10;
        int wait = period - static_cast<int>(Now() - lastDrawTick);
        if (wait > 0)
            clock->Sleep(wait);
    }
    uint32_t presentStart = Now();
    lastDrawTick = presentStart;
    PresentScreen();
    uint32_t end = Now();
    screenBltTime = static_cast<int>(end - presentStart);
    updateTimeAcc = std::min(updateTimeAcc + (end - lastTimeCheck), 200.0);
    lastTimeCheck = end;
    if (loadingThreadStarted && !loadingThreadCompleted) {
        // While loading, draw rarely so the loading thread gets the processor.
        nextDrawTick += std::max(static_cast<int>(end - start), 15) + 35;
        if (static_cast<int32_t>(nextDrawTick - end) <= 0)
            nextDrawTick = end;
    } else {
        nextDrawTick = end;
    }
    hasPendingDraw = false;
    forceDraw = false;
    return true;
}

void ZorvinAppBase::PresentScreen()
{
    if (isDrawing || shutdown || tearingDown || presenter == nullptr || !hasMainWindow)
        return;
    if (!displayLost) {
        const uint32_t* pixels = GetScreenPixels();
        MemoryImage* rate = showFPS ? GetFrameRateImage() : nullptr;
        if (pixels != nullptr && (softwareCursor != nullptr || rate != nullptr) && screenImage != nullptr) {
            // The frame-rate figure and the cursor go on a copy so the
            // screen image keeps only what the widgets drew.
            if (!cursorFrame)
                cursorFrame = std::make_unique<MemoryImage>();
            cursorFrame->SetBits(pixels, width, height, false);
            Graphics g(cursorFrame.get());
            if (rate != nullptr)
                g.DrawImage(rate, width - rate->GetWidth() - 10, height - rate->GetHeight() - 10);
            if (softwareCursor != nullptr)
                g.DrawImage(softwareCursor, widgetManager->lastMouseX - softwareCursorHotX,
                            widgetManager->lastMouseY - softwareCursorHotY);
            pixels = cursorFrame->GetBits();
        }
        if (pixels == nullptr || presenter->Present(pixels, width, height))
            return;
        displayLost = true;
        lastRecoveryTick = Now() - 1000;
    }
    // Recovery: at most once a second in a window, at every call while
    // active in full screen, never while minimised.
    if (minimized || (!isPhysWindowed && !active))
        return;
    uint32_t now = Now();
    if (isPhysWindowed && now - lastRecoveryTick < 1000)
        return;
    lastRecoveryTick = now;
    OnBeforeDisplayInit();
    int result = presenter->Initialize(isPhysWindowed, is3D);
    if (result == RESULT_INVALID_COLORDEPTH && isPhysWindowed && active) {
        forceFullscreen = true;
        SwitchScreenMode(false);
        return;
    }
    if (result != RESULT_OK && is3D) {
        // Kept next to the acceleration test's record so the cause can be
        // found after the run.
        WriteSettingString("Test3D\\RuntimeError",
                           std::string(DisplayResultName(result)) + ": " + presenter->GetErrorText());
        is3D = false;
        had3DProblems = true;
        return;
    }
    if (result != RESULT_OK)
        return;
    displayLost = false;
    MarkAllDirty();
    lastDrawTick = now;
}

std::unique_ptr<MemoryImage> ZorvinAppBase::LoadDisplayImage(const std::string& path, int flags)
{
    std::unique_ptr<MemoryImage> image = LoadMemoryImage(path);
    if (image)
        image->imageFlags = flags;
    return image;
}

std::unique_ptr<MemoryImage> ZorvinAppBase::LoadDisplayImage(const std::string& path)
{
    return LoadDisplayImage(path, 0);
}

std::unique_ptr<MemoryImage> ZorvinAppBase::LoadFontImage(const std::string& path)
{
    return LoadDisplayImage(path, 0);
}

SharedImageRef ZorvinAppBase::GetSharedImage(const std::string& file, const std::string& variant, bool& created)
{
    return GetSharedImage(file, variant, created, ImageLib::kDefaultAlphaOnlyColor);
}

SharedImageRef ZorvinAppBase::GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                             uint32_t alphaColor)
{
    return sharedImages.Get(file, variant, created,
                            [alphaColor](const std::string& f) { return LoadMemoryImage(f, true, alphaColor); });
}

void ZorvinAppBase::ReportFontError(const std::string& text)
{
    {
        std::lock_guard<std::mutex> hold(fontErrorLock);
        pendingFontErrors.push_back(text);
    }
    if (IsPrimaryThread())
        ShowPendingFontErrors();
}

void ZorvinAppBase::ShowPendingFontErrors()
{
    std::vector<std::string> texts;
    {
        std::lock_guard<std::mutex> hold(fontErrorLock);
        texts.swap(pendingFontErrors);
    }
    for (const std::string& text : texts) {
        if (isScreenSaver)
            LogScreenSaverError(text);
        else
            ShowMessageBox(text, "Error", MB_OK | MB_ICONERROR);
    }
}

MemoryImage* ZorvinAppBase::GetFrameRateImage()
{
    char text[64];
    if (showFPSMode == 1)
        std::snprintf(text, sizeof(text), "%d, %d", widgetManager->lastMouseX, widgetManager->lastMouseY);
    else
        std::snprintf(text, sizeof(text), "FPS: %d", currentFps);
    if (frameRateImage && frameRateText == text)
        return frameRateImage.get();
    if (!frameRateFont)
        frameRateFont = std::make_unique<SysFont>("Arial", 10, true);
    if (!frameRateFont->IsLoaded())
        return nullptr;
    frameRateText = text;
    // White figures on a dark plate, readable over any screen.
    int w = frameRateFont->StringWidth(frameRateText) + 8;
    int h = frameRateFont->GetHeight() + 4;
    frameRateImage = std::make_unique<MemoryImage>(w, h);
    Graphics g(frameRateImage.get());
    g.SetColor(Color(0, 0, 0, 160));
    g.FillRect(0, 0, w, h);
    g.SetFont(frameRateFont.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawString(frameRateText, 4, 2 + frameRateFont->GetAscent());
    return frameRateImage.get();
}

void ZorvinAppBase::ResetTiming()
{
    updateTimeAcc = 0;
    lastTimeCheck = Now();
}

void ZorvinAppBase::MarkAllDirty()
{
    widgetManager->MarkTreeDirty();
    hasPendingDraw = true;
}

// ---------------------------------------------------------------------------
// Deferred deletion and dialogs

void ZorvinAppBase::DeferDelete(Widget* widget)
{
    if (widget == nullptr)
        return;
    // Queued twice would be deleted twice.
    for (const auto& entry : deferredDeletes)
        if (entry.second == widget)
            return;
    deferredDeletes.emplace_back(pumpDepth, widget);
}

void ZorvinAppBase::ReleaseDeferredDeletions()
{
    // A destructor may defer more deletions, so look again after each one.
    // Widgets deferred by a deeper step than this one go now; a held widget
    // (a wait further up still reads it) stays for a later release.
    for (;;) {
        auto it = std::find_if(deferredDeletes.begin(), deferredDeletes.end(), [this](const std::pair<int, Widget*>& e) {
            return e.first >= pumpDepth && e.second->deleteHolds == 0;
        });
        if (it == deferredDeletes.end())
            return;
        Widget* w = it->second;
        deferredDeletes.erase(it);
        delete w;
    }
}

Dialog* ZorvinAppBase::MakeDialog(int id, bool modal, const std::string& header, const std::string& lines,
                                  const std::string& footer, int buttonMode)
{
    Dialog* d = new Dialog(id, modal, header, lines, footer, buttonMode);
    d->dialogListener = this;
    return d;
}

Dialog* ZorvinAppBase::ShowDialog(int id, bool modal, const std::string& header, const std::string& lines,
                                  const std::string& footer, int buttonMode)
{
    CloseDialog(id);
    Dialog* d = MakeDialog(id, modal, header, lines, footer, buttonMode);
    AddDialog(id, d);
    return d;
}

Dialog* ZorvinAppBase::FindDialog(int id)
{
    auto it = dialogMap.find(id);
    return it == dialogMap.end() ? nullptr : it->second;
}

bool ZorvinAppBase::CloseDialog(Dialog* dialog) { return dialog != nullptr && CloseDialog(dialog->id); }

void ZorvinAppBase::AddDialog(Dialog* dialog) { AddDialog(dialog->id, dialog); }

void ZorvinAppBase::AddDialog(int id, Dialog* dialog)
{
    if (dialog == nullptr)
        return;
    CloseDialog(id);
    if (dialog->width == 0) {
        int w = width / 2;
        int h = dialog->GetPreferredHeight(w);
        dialog->Resize((width - w) / 2, height / 5, w, h);
    }
    dialogMap[id] = dialog;
    dialogList.push_back(dialog);
    widgetManager->AddChild(dialog);
    if (dialog->IsModal()) {
        widgetManager->PushModal(dialog);
        OnModalOpen();
    }
}

bool ZorvinAppBase::CloseDialog(int id)
{
    auto it = dialogMap.find(id);
    if (it == dialogMap.end())
        return false;
    Dialog* d = it->second;
    // A dialog closed without an answer answers 0, so a nested wait for its
    // answer ends instead of waiting forever.
    if (!d->HasResult())
        d->result = 0;
    dialogMap.erase(it);
    dialogList.remove(d);
    widgetManager->RemoveChild(d);
    if (d->IsModal()) {
        OnModalClose();
        widgetManager->PopModal(d);
    }
    DeferDelete(d);
    return true;
}

// ---------------------------------------------------------------------------
// Loading thread and shutdown

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
    OnShutdown();
    if (musicInterface)
        musicInterface->StopAllSongs();
    if (windowSystem != nullptr && hasMainWindow)
        windowSystem->HideMainWindow();
    if (readFromRegistry)
        SaveSettings();
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

// ---------------------------------------------------------------------------
// Window messages

void ZorvinAppBase::OnWindowMessage(const InputMessage& msg)
{
    switch (msg.kind) {
    case MessageKind::Paint:
        if (initialized && !tearingDown && !isWindowHidden && running)
            PresentScreen();
        return;
    case MessageKind::EndSession:
        Shutdown();
        return;
    case MessageKind::Notify:
        if (windowSystem != nullptr && hasMainWindow)
            windowSystem->RestoreAndRaise();
        return;
    case MessageKind::SysChar:
        return; // Alt+letter never reaches the widgets
    case MessageKind::Activate:
        if (!playingDemo && msg.window == MessageWindow::Main)
            active = msg.param1 != 0;
        break;
    default:
        break;
    }
    if (isSystemPopupUp)
        return;

    bool keyDown = msg.kind == MessageKind::KeyDown || msg.kind == MessageKind::SysKeyDown;
    bool keyUp = msg.kind == MessageKind::KeyUp || msg.kind == MessageKind::SysKeyUp;
    if (keyDown || keyUp) {
        if (msg.param1 == KeyControl)
            ctrlDown = keyDown;
        if (msg.param1 == KeyAlt)
            altDown = keyDown;
    }
    if (keyDown && RawKeyDown(msg.param1, ctrlDown, altDown))
        return;
    if (closeQueued)
        return;
    if (msg.kind == MessageKind::Timer && !messageQueue.empty() && messageQueue.back().kind == MessageKind::Timer)
        return;
    if (msg.kind == MessageKind::SysKeyDown && msg.param1 == KeyEnter && altDown) {
        if (!forceFullscreen) {
            SwitchScreenMode(!isWindowed);
            ctrlDown = false;
            altDown = false;
            std::fill(std::begin(widgetManager->keyDown), std::end(widgetManager->keyDown), false);
        }
        return;
    }
    messageQueue.push_back(msg);
    if (msg.kind == MessageKind::SysKeyDown && msg.param1 == KeyF4 && altDown) {
        // Alt+F4 closes the window, as everywhere on the desktop.
        InputMessage close;
        close.kind = MessageKind::Close;
        messageQueue.push_back(close);
        closeQueued = true;
        OnCloseRequest();
    } else if (msg.kind == MessageKind::Close) {
        closeQueued = true;
        OnCloseRequest();
    }
}

bool ZorvinAppBase::ProcessQueuedMessage()
{
    if (messageQueue.empty())
        return false;
    InputMessage msg = messageQueue.front();
    messageQueue.pop_front();
    WidgetManager* wm = widgetManager.get();

    if (IsMouseMessage(msg.kind)) {
        if (isWindowHidden)
            return !messageQueue.empty();
        lastUserInputTick = Now();
        wm->MouseMove(msg.param1, msg.param2);
        if (softwareCursor != nullptr) {
            // SDL draws only on this thread, so the software cursor follows
            // the pointer through the next frame rather than a thread of its own.
            forceDraw = true;
            hasPendingDraw = true;
        }
        if (!mouseIn) {
            mouseIn = true;
            ApplyCursor();
        }
        auto capture = [this](bool on) {
            if (windowSystem != nullptr)
                windowSystem->SetMouseCapture(on);
        };
        switch (msg.kind) {
        case MessageKind::LButtonDown:
            capture(true);
            wm->MouseDown(msg.param1, msg.param2, 1);
            break;
        case MessageKind::LButtonDblClk:
            capture(true);
            wm->MouseDown(msg.param1, msg.param2, 2);
            break;
        case MessageKind::RButtonDown:
            capture(true);
            wm->MouseDown(msg.param1, msg.param2, -1);
            break;
        case MessageKind::RButtonDblClk:
            capture(true);
            wm->MouseDown(msg.param1, msg.param2, -2);
            break;
        case MessageKind::MButtonDown:
            capture(true);
            wm->MouseDown(msg.param1, msg.param2, 3);
            break;
        case MessageKind::LButtonUp:
            if ((wm->actualDownButtons & ~1) == 0)
                capture(false);
            wm->MouseUp(msg.param1, msg.param2, 1);
            break;
        case MessageKind::RButtonUp:
            if ((wm->actualDownButtons & ~2) == 0)
                capture(false);
            wm->MouseUp(msg.param1, msg.param2, -1);
            break;
        case MessageKind::MButtonUp:
            if ((wm->actualDownButtons & ~4) == 0)
                capture(false);
            wm->MouseUp(msg.param1, msg.param2, 3);
            break;
        default:
            break;
        }
        return !messageQueue.empty();
    }

    switch (msg.kind) {
    case MessageKind::Timer:
        if (!isWindowHidden && running) {
            uint32_t now = Now();
            if (isOpeningUrl && now - lastUserInputTick >= 5000) {
                if (now - openingUrlTick > 8000 && !active)
                    OnUrlOpened(openingUrl);
                else if (now - openingUrlTick > 12000 && active)
                    OnUrlOpenFailed(openingUrl);
            }
            if (windowSystem != nullptr) {
                bool in = windowSystem->IsMouseInClientArea();
                if (in != mouseIn) {
                    if (!in)
                        wm->MouseLeftWindow();
                    mouseIn = in;
                    ApplyCursor();
                }
            }
        }
        if (singleInstance.PollNotified() && windowSystem != nullptr && hasMainWindow)
            windowSystem->RestoreAndRaise();
        break;
    case MessageKind::KeyDown:
    case MessageKind::SysKeyDown:
        lastUserInputTick = Now();
        if ((msg.param1 == 'D' || msg.param1 == 'd') && wm->IsKeyDown(KeyControl) && wm->IsKeyDown(KeyAlt)) {
            if (windowSystem != nullptr)
                windowSystem->PlayAlertSound();
            debugKeysEnabled = !debugKeysEnabled;
        }
        if (debugKeysEnabled && DebugKeyDown(msg.param1))
            break;
        wm->KeyDown(msg.param1);
        break;
    case MessageKind::KeyUp:
    case MessageKind::SysKeyUp:
        wm->KeyUp(msg.param1);
        break;
    case MessageKind::Char:
        wm->CharTyped(static_cast<char>(msg.param1));
        break;
    case MessageKind::MouseWheel:
        wm->MouseWheel(msg.param1 / 120);
        break;
    case MessageKind::Move:
        if (msg.window == MessageWindow::Main && isPhysWindowed && !minimized) {
            preferredX = msg.param1;
            preferredY = msg.param2;
        }
        break;
    case MessageKind::Size:
        if (msg.window == MessageWindow::Main && !shutdown) {
            bool wasMinimized = minimized;
            minimized = msg.param1 == 1;
            if (wasMinimized && !minimized) {
                if (muteOnLostFocus)
                    Unmute(true);
                MarkAllDirty();
            } else if (!wasMinimized && minimized && muteOnLostFocus) {
                Mute(true);
            }
            RehupFocus();
        }
        break;
    case MessageKind::Activate:
        if (msg.window == MessageWindow::Main && !tearingDown && !isWindowHidden && !shutdown) {
            RehupFocus();
            if (active && !isPhysWindowed)
                MarkAllDirty();
            if (isOpeningUrl && !active)
                OnUrlOpened(openingUrl);
        }
        break;
    case MessageKind::Close:
        closeRequest = true;
        Shutdown();
        break;
    default:
        break;
    }
    return !messageQueue.empty();
}

void ZorvinAppBase::RehupFocus()
{
    bool focus = active && !minimized;
    if (focus == hasFocus)
        return;
    hasFocus = focus;
    if (hasFocus) {
        if (muteOnLostFocus)
            Unmute(true);
        widgetManager->AppGotFocus();
        OnAppFocusGained();
    } else {
        if (muteOnLostFocus)
            Mute(true);
        widgetManager->AppLostFocus();
        OnAppFocusLost();
        if (windowSystem != nullptr)
            windowSystem->SetMouseCapture(false);
        widgetManager->ReleaseMouseButtons();
    }
}

bool ZorvinAppBase::DebugKeyDown(int key)
{
    bool shift = widgetManager->IsKeyDown(KeyShift);
    bool ctrl = widgetManager->IsKeyDown(KeyControl);
    switch (key) {
    case KeyF3:
        if (shift)
            showFPSMode = (showFPSMode + 1) % 2;
        else
            showFPS = !showFPS;
        MarkAllDirty();
        forceDraw = true;
        return true;
    case KeyF8:
        if (shift) {
            SwitchScreenMode(isWindowed, !is3D, false);
            char text[64];
            std::snprintf(text, sizeof text, "3D-Mode: %s", is3D ? "ON" : "OFF");
            ShowMessageBox(text, "Mode Switch", MB_OK);
        } else {
            char text[160];
            std::snprintf(text, sizeof text, "3D-Mode is %s (3D is %s on this system)\r\n\r\n", is3D ? "ON" : "OFF",
                          presenter != nullptr && presenter->Test3DDecided() ? "supported" : "not tested");
            ShowMessageBox(text, "Mode Switch", MB_OK);
        }
        return true;
    case KeyF10:
        if (ctrl)
            updateMultiplier = updateMultiplier == 1.0 ? 0.25 : 1.0;
        else if (shift)
            stepMode = 0;
        else
            stepMode = 1;
        return true;
    case KeyF11:
        if (shift)
            DumpImages();
        else
            TakeScreenshot();
        return true;
    default:
        return false;
    }
}

void ZorvinAppBase::ApplyCursor()
{
    if (windowSystem == nullptr || !hasMainWindow)
        return;
    Image* newSoftware = nullptr;
    if (isWindowHidden || !mouseIn) {
        windowSystem->SetCursor(0);
    } else {
        auto custom = customCursors.find(cursorNum);
        if (custom != customCursors.end() && (customCursorsEnabled || playingDemo || cursorNum == 12)) {
            // The application draws this one over the screen; the system's
            // cursor is hidden meanwhile.
            newSoftware = custom->second.image;
            softwareCursorHotX = custom->second.hotX;
            softwareCursorHotY = custom->second.hotY;
            windowSystem->SetCursor(11);
        } else {
            windowSystem->SetCursor(cursorNum);
        }
    }
    if (newSoftware != softwareCursor) {
        softwareCursor = newSoftware;
        forceDraw = true;
        hasPendingDraw = true;
    }
}

void ZorvinAppBase::SetCustomCursorImage(int number, Image* image, int hotX, int hotY)
{
    if (image == nullptr)
        customCursors.erase(number);
    else
        customCursors[number] = CustomCursor{image, hotX, hotY};
    ApplyCursor();
}

void ZorvinAppBase::SetCursorNumber(int number)
{
    cursorNum = number;
    ApplyCursor();
}

void ZorvinAppBase::SetCustomCursorsEnabled(bool enabled)
{
    customCursorsEnabled = enabled;
    ApplyCursor();
}

void ZorvinAppBase::HideWindow()
{
    ApplyMusicVolumeToDevice(0.0);
    if (windowSystem != nullptr && hasMainWindow)
        windowSystem->HideMainWindow();
    isWindowHidden = true;
    ApplyCursor();
}

// ---------------------------------------------------------------------------
// Message boxes, URLs and the string table

void ZorvinAppBase::BeginSystemPopup() { isSystemPopupUp = true; }

void ZorvinAppBase::EndSystemPopup()
{
    ResetTiming();
    widgetManager->ReleaseMouseButtons();
    if (windowSystem != nullptr)
        windowSystem->SetMouseCapture(false);
    isSystemPopupUp = false;
}

int ZorvinAppBase::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    if (isScreenSaver) {
        LogScreenSaverError(text);
        return IDOK;
    }
    if (systemServices == nullptr) {
        std::fprintf(stderr, "%s: %s\n", Cp1251ToUtf8(title).c_str(), Cp1251ToUtf8(text).c_str());
        return (flags & MB_YESNO) ? IDNO : IDOK;
    }
    BeginSystemPopup();
    int result = systemServices->ShowMessageBox(text, title, flags);
    EndSystemPopup();
    return result;
}

void ZorvinAppBase::ShowFatalError(const std::string& text)
{
    if (shutdown)
        return;
    ShowMessageBox(text, "FATAL ERROR", MB_OK | MB_ICONERROR);
}

void ZorvinAppBase::LogScreenSaverError(const std::string& text)
{
    FILE* f = std::fopen("ScrError.txt", screenSaverErrorLogStarted ? "a" : "w");
    screenSaverErrorLogStarted = true;
    if (f == nullptr)
        return;
    std::time_t t = std::time(nullptr);
    char when[32] = "";
    std::strftime(when, sizeof when, "%Y-%m-%d_%H:%M:%S", std::localtime(&t));
    std::fprintf(f, "%s %s %u\n", when, text.c_str(), static_cast<unsigned>(Now()));
    std::fclose(f);
}

void ZorvinAppBase::OnUrlOpenFailed(const std::string&) { isOpeningUrl = false; }

void ZorvinAppBase::OnUrlOpened(const std::string&)
{
    isOpeningUrl = false;
    if (shutdownOnUrlOpen)
        Shutdown();
}

bool ZorvinAppBase::OpenUrl(const std::string& url, bool quitAfter)
{
    if (isOpeningUrl && url == openingUrl)
        return true;
    if (systemServices == nullptr || !systemServices->OpenUrl(url)) {
        OnUrlOpenFailed(url);
        return false;
    }
    isOpeningUrl = true;
    openingUrl = url;
    openingUrlTick = Now();
    shutdownOnUrlOpen = quitAfter;
    return true;
}

const uint32_t* ZorvinAppBase::GetScreenPixels()
{
    return screenImage != nullptr ? screenImage->GetBits() : nullptr;
}

std::string ZorvinAppBase::TakeScreenshot()
{
    if (screenImage == nullptr || !FileUtil::CreateFolders("_screenshots"))
        return std::string();
    for (int n = 0; n < 100000; ++n) {
        std::string path = "_screenshots/" + std::to_string(n) + ".png";
        if (FileUtil::Exists(path))
            continue;
        return PngWriter::Write(*screenImage, path) ? path : std::string();
    }
    return std::string();
}

int ZorvinAppBase::DumpImages()
{
    if (!FileUtil::CreateFolders("_dump"))
        return 0;
    // The pixels are copied under the registry's lock so no image can go
    // away while it is read; the files are written afterwards.
    struct Copy {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;
    };
    std::vector<Copy> copies;
    MemoryImage::ForEachLiveImage([&copies](MemoryImage* image) {
        int w = image->GetWidth(), h = image->GetHeight();
        if (w <= 0 || h <= 0)
            return;
        const uint32_t* bits = image->GetBits();
        if (bits == nullptr)
            return;
        copies.push_back({w, h, std::vector<uint32_t>(bits, bits + static_cast<size_t>(w) * h)});
    });

    std::string page = "<html><body>\n<table border=1>\n<tr><th>File</th><th>Size</th><th>Bytes</th></tr>\n";
    long long total = 0;
    int written = 0;
    for (size_t i = 0; i < copies.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "img%04d.png", static_cast<int>(i));
        MemoryImage out;
        out.SetBits(copies[i].pixels.data(), copies[i].width, copies[i].height, false);
        if (!PngWriter::Write(out, std::string("_dump/") + name))
            continue;
        ++written;
        long long bytes = static_cast<long long>(copies[i].width) * copies[i].height * 4;
        total += bytes;
        page += "<tr><td><a href=\"" + std::string(name) + "\">" + name + "</a></td><td>" +
                std::to_string(copies[i].width) + " x " + std::to_string(copies[i].height) + "</td><td>" +
                std::to_string(bytes) + "</td></tr>\n";
    }
    page += "</table>\n<p>Total Image Allocation: " + std::to_string(total) + " bytes (" +
            std::to_string(written) + " images)</p>\n</body></html>\n";
    FileUtil::WriteFileAtomic("_dump/imagelist.html", page);
    return written;
}

std::string ZorvinAppBase::GetProductVersion(const std::string&) { return "1.0"; }

std::string ZorvinAppBase::GetString(const std::string& key, const std::string& fallback) const
{
    auto it = stringTable.find(key);
    return it == stringTable.end() ? fallback : it->second;
}

// ---------------------------------------------------------------------------
// Sound

void ZorvinAppBase::ApplyVolumes()
{
    bool muted = IsMuted();
    ApplyMusicVolumeToDevice(muted ? 0.0 : musicVolume);
    ApplySoundVolumeToDevice(muted ? 0.0 : sfxVolume);
}

std::unique_ptr<MusicInterface> ZorvinAppBase::CreateMusicPlayer()
{
    if (noSoundNeeded || audioDevice == nullptr)
        return std::make_unique<MusicInterface>();
    return std::make_unique<MixerMusicInterface>(audioDevice);
}

void ZorvinAppBase::ApplySoundVolumeToDevice(double volume)
{
    appliedSoundVolume = volume;
    if (soundManager)
        soundManager->SetMasterVolume(volume);
}

void ZorvinAppBase::ApplyMusicVolumeToDevice(double volume)
{
    appliedMusicVolume = volume;
    if (musicInterface)
        musicInterface->SetMusicVolume(volume);
}

void ZorvinAppBase::PlaySound(int id, int pan)
{
    if (noSoundNeeded || !soundManager)
        return;
    // The copy releases itself when it has played.
    SoundInstance* instance = soundManager->CreateInstance(id);
    if (instance == nullptr)
        return;
    instance->SetPan(pan);
    instance->Play(false, true);
}

double ZorvinAppBase::GetMasterVolume() { return soundManager ? soundManager->GetSystemVolume() : 1.0; }

void ZorvinAppBase::SetMasterVolume(double volume)
{
    sfxVolume = volume;
    ApplySoundVolumeToDevice(IsMuted() ? 0.0 : volume);
}

void ZorvinAppBase::SetMusicVolume(double volume)
{
    musicVolume = volume;
    ApplyMusicVolumeToDevice(IsMuted() ? 0.0 : volume);
}

void ZorvinAppBase::SetSoundVolume(double volume)
{
    sfxVolume = volume;
    ApplySoundVolumeToDevice(IsMuted() ? 0.0 : volume);
}

void ZorvinAppBase::Mute(bool automatic)
{
    ++muteCount;
    if (automatic)
        ++autoMuteCount;
    ApplyVolumes();
}

void ZorvinAppBase::Unmute(bool automatic)
{
    if (muteCount > 0) {
        --muteCount;
        if (automatic && autoMuteCount > 0)
            --autoMuteCount;
    }
    ApplyVolumes();
}

// ---------------------------------------------------------------------------
// Files and clipboard

bool ZorvinAppBase::WriteBytesToFile(const std::string& path, const std::string& data)
{
    return FileUtil::WriteFileAtomic(path, data);
}

bool ZorvinAppBase::ReadBufferFromFile(const std::string& path, std::string& data)
{
    return FileUtil::ReadFile(path, data);
}

bool ZorvinAppBase::FileExists(const std::string& path) { return FileUtil::Exists(path); }

bool ZorvinAppBase::EraseFile(const std::string& path) { return FileUtil::Delete(path); }

void ZorvinAppBase::CopyToClipboard(const std::string& text)
{
    if (playingDemo || systemServices == nullptr)
        return;
    systemServices->SetClipboardText(text);
}

std::string ZorvinAppBase::GetClipboard()
{
    if (playingDemo || systemServices == nullptr)
        return std::string();
    return systemServices->GetClipboardText();
}

} // namespace Zorvin
