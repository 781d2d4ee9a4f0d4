// GameApp: the game's application.
//   making and taking down      - GameApp, DestroyScreens, OverrideWorkingFolder
//   start-up                    - Initialize, LoadStartupGroups, LoadMusic,
//                                 FailStartup, ShowFatalError, LoadInBackground,
//                                 OnLoadingDone
//   running                     - PresentScreen, UpdateFrame, DebugKeyDown,
//                                 TimedStep, OnShutdown, PlaySound, SwitchSong
//   dialogs                     - OnButtonDown, OnDialogButtonClick, MakeDialog

#include "game/app/GameApp.h"
#include "game/app/screens/MapWnd.h"

#include "framework/app/SystemServices.h"
#include "framework/audio/music/MusicInterface.h"
#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "game/app/AppBoardHost.h"
#include "game/app/GameFolderLookup.h"
#include "game/app/ResBind.h"
#include "game/app/dialogs/AppPlayerDialogHost.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/HintWnd.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/app/profiles/StatisticsStore.h"
#include "game/app/saves/SavedGameFiles.h"
#include "game/app/ShutdownSignals.h"
#include "game/app/Version.h"
#include "game/app/screens/TitleScreen.h"
#include "game/app/screens/TitleWnd.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "game/shared/LevelStars.h"
#include "game/shared/Res.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sys/resource.h>
#include <sstream>
#include <unistd.h>

namespace Zorvin {

namespace {

constexpr const char* ManifestPath = "properties\\resources.xml";
const char* const MusicFiles[GameApp::SongCount] = {
    "music/vibe-coe.mo3", "music/vibe-cty.mo3", "music/vibe-dxm.mo3",
    "music/vibe-gws.mo3", "music/vibe-ovr.mo3", "music/vibe-sw.mo3",
};
constexpr int DialogHeaderSpacing = 30;
// Ten seconds of updates between attempts to write what failed.
constexpr int kWriteRetryUpdates = 1000;

} // namespace

int MillisecondsSinceProcessStart()
{
    // Field 22 of /proc/self/stat is the start time in clock ticks after
    // boot; CLOCK_BOOTTIME counts from the same moment.
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks))
        return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    long long nowMs = static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    long long startMs = static_cast<long long>(startTicks) * 1000 / sysconf(_SC_CLK_TCK);
    return static_cast<int>(nowMs - startMs);
}

int ProcessorMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    long long us = static_cast<long long>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000
        + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    return static_cast<int>(us / 1000);
}

GameApp::GameApp() : AppDialogHost(static_cast<ZorvinAppBase&>(*this)), levelStars(std::make_unique<LevelStars>())
{
    productName = "Korvelt";
    productVersion = KorveltVersion;
    title = productName + " " + productVersion + " by Wendmoor";
    registryKey = "Wendmoor\\Korvelt";
    width = 800;
    height = 600;
    SetStartWindowed(false);
    // The loading thread starts once the first frame is up (see
    // UpdateFrame), so the first picture does not compete with it.
    autoStartLoadingThread = false;
}

GameApp::~GameApp()
{
    Shutdown();
    if (loadingThread.joinable())
        loadingThread.join();
    DestroyScreens();
    for (const char* group : {"Init", "TitleScreen", "Game"})
        resourceManager->DeleteResources(group);
    ClearBoundResources();
    dataFolder.clear();
}

void GameApp::DestroyScreens()
{
    // Dialogs first: they sit above the screens and may point into them.
    CloseAllDialogs();
    WidgetManager* wm = widgetManager.get();
    if (titleScreen) {
        wm->RemoveChild(titleScreen.get());
        titleScreen.reset();
    }
    RemoveGameScreens();
    if (mainMenu) {
        wm->RemoveChild(mainMenu.get());
        mainMenu.reset();
    }
    ReleaseDeferredDeletions();
    // The map reads the board's stages; the panel refers to the board, both
    // to their host.
    mapScreen.reset();
    boardPanel.reset();
    board.reset();
    hintWindow.reset();
    boardHost.reset();
}

bool GameApp::OverrideWorkingFolder(const std::string& folder)
{
    (void)folder;
    // The game reads its data by relative paths, so it runs inside the data
    // folder, wherever that was installed.
    if (gameFolder.empty()) {
        GameFolderLookup lookup = GameFolderLookup::ForThisProgram();
        if (!lookup.Found()) {
            // Reported in Initialize, once the window can show it.
            gameFolderError = Utf8ToCp1251(lookup.ErrorText());
            return true;
        }
        gameFolder = lookup.Folder();
    }
    if (::chdir(gameFolder.c_str()) != 0)
        std::fprintf(stderr, "Cannot change to the game folder %s\n", gameFolder.c_str());
    return true;
}

// ---------------------------------------------------------------------------
// Start-up

void GameApp::Initialize()
{
    // A message box up when SIGINT or SIGTERM arrives is taken down, so the
    // program ends as asked (after a fatal error, with that error's code).
    if (systemServices != nullptr)
        systemServices->SetDismissCheck(&ShutdownSignals::Requested);
    ZorvinAppBase::Initialize();
    if (shutdown || !initialized)
        return;
    // The window may be shown before anything is drawn: black, like the
    // title screen's own background, rather than a white flash.
    if (screenImage) {
        Graphics g(screenImage.get());
        g.SetColor(Color(0, 0, 0));
        g.FillRect(0, 0, width, height);
    }
    if (!gameFolderError.empty()) {
        FailStartup(gameFolderError);
        return;
    }
    if (!resourceManager->ParseManifest(ManifestPath)) {
        FailStartup(resourceManager->GetErrorText());
        return;
    }
    if (!LoadStartupGroups())
        return;

    titleScreen = std::make_unique<TitleScreen>(*this);
    titleScreen->Resize(0, 0, width, height);
    titleScreen->CreateStartLink();
    widgetManager->AddChild(titleScreen.get());

    // The title song fades in right after the first frame (see
    // UpdateFrame) and the other songs load once loading is done, long
    // before a level can start: none of them delays the first picture.
    currentSong = SongTitle;
    titleSongPending = true;
    SetLoadingTaskCount(resourceManager->GetNumResources("Game"));
    // A modal dialog also stops the updates of everything beneath it, so a
    // level pauses under the in-game menu.
    widgetManager->defaultBelowModalFlagsMod.removeFlags |= UpdateBit;
    CreateProfileStore();
    titleScreen->ReadLogoScript();
}

bool GameApp::LoadStartupGroups()
{
    if (!resourceManager->LoadResources("Init") || !BindInitResources(*resourceManager)
        || !resourceManager->LoadResources("TitleScreen") || !BindTitleScreenResources(*resourceManager)) {
        loadingFailed = true;
        FailStartup(resourceManager->GetErrorText());
        return false;
    }
    return true;
}

void GameApp::LoadMusic(int firstSong, int lastSong)
{
    MusicInterface* music = GetMusicInterface();
    // Without a sound device the game runs silently: nothing to load.
    if (music == nullptr || audioDevice == nullptr || noSoundNeeded)
        return;
    for (int song = firstSong; song <= lastSong; ++song)
        if (!music->LoadSong(song, MusicFiles[song]))
            std::fprintf(stderr, "Cannot load the music file %s\n", MusicFiles[song]);
}

void GameApp::FailStartup(const std::string& text)
{
    ShowFatalError(text);
    AbortRun(1);
}

void GameApp::ShowFatalError(const std::string& text)
{
    // Always on standard error, once, so a start from a terminal or a script
    // sees why; in a box as well when there is a window and a desktop to
    // show it on (without a desktop the box would only print it again).
    std::fprintf(stderr, "FATAL ERROR: %s\n", Cp1251ToUtf8(text).c_str());
    std::fflush(stderr);
    if (systemServices != nullptr && systemServices->CanShowMessageBoxes() && GetDisplayState().HasWindow() && !shutdown)
        ShowMessageBox(text, "FATAL ERROR", MB_OK | MB_ICONERROR);
}

void GameApp::LoadInBackground()
{
    ResourceManager* rm = resourceManager.get();
    rm->StartLoadResources("Game");
    while (rm->LoadNextResource()) {
        CountLoadingTaskDone();
        if (HasShutdownStarted())
            return;
    }
    if (HasShutdownStarted())
        return;
    if (rm->HadError() || !BindGameResources(*rm)) {
        // Message boxes belong to the primary thread: OnLoadingDone shows it.
        std::lock_guard<std::mutex> lock(loadErrorLock);
        loadError = rm->GetErrorText();
        if (loadError.empty())
            loadError = "The game's resources could not be loaded.";
    }
    gameLoadedMs = MillisecondsSinceProcessStart();
}

void GameApp::OnLoadingDone()
{
    std::string error;
    {
        std::lock_guard<std::mutex> lock(loadErrorLock);
        error = loadError;
    }
    if (!error.empty() || shutdown) {
        loadingFailed = true;
        // The loading display stays without a start link and the player can
        // only close the window; the program then ends with a failure, not
        // as if all had gone well.
        if (!error.empty()) {
            ShowFatalError(error);
            SetExitCode(1);
        }
        return;
    }
    std::fprintf(stderr, "Game resources loaded %d ms after start (%d ms of processor time)\n", gameLoadedMs.load(),
                 ProcessorMilliseconds());
    if (titleScreen) {
        titleScreen->EnableStartLink();
        titleScreen->MarkDirty();
    }
    LoadMusic(SongTitle + 1, SongCount - 1);
    // The levels' star thresholds, shipped beside the level folders. A
    // missing or damaged file costs only the stars, never the game.
    if (!levelStars->Load(LevelStars::kFileName))
        std::fprintf(stderr, "No star thresholds in %s: the levels are shown without stars\n", LevelStars::kFileName);
    LoadProfiles();
}

void GameApp::PresentScreen()
{
    ZorvinAppBase::PresentScreen();
    // The first frame that shows something the game drew.
    if (firstFrameMs < 0 && GetDrawPacer().DrawCount() > 0 && GetDisplayState().HasWindow() && !shutdown) {
        firstFrameMs = MillisecondsSinceProcessStart();
        std::fprintf(stderr, "First frame %d ms after start (%d ms of processor time)\n", firstFrameMs,
                     ProcessorMilliseconds());
    }
}

// ---------------------------------------------------------------------------
// Running

void GameApp::UpdateFrame()
{
    // SIGINT and SIGTERM only raise a flag; the normal shutdown runs here,
    // on the primary thread, whatever screen or nested loop is active.
    if (ShutdownSignals::Requested() && !shutdown)
        Shutdown();
    // A demo plays on without drawing: its loading cannot wait for a frame.
    bool firstFrameShown = firstFrameMs >= 0 || presenter == nullptr || !GetDisplayState().HasWindow() ||
                           IsPlayingDemo();
    if (firstFrameShown && !loadingThreadStarted && !shutdown)
        StartLoadingThread();
    if (titleSongPending && firstFrameShown) {
        titleSongPending = false;
        LoadMusic(SongTitle, SongTitle);
        if (MusicInterface* music = GetMusicInterface(); music != nullptr && currentSong == SongTitle)
            music->FadeInSong(SongTitle, 0, FadeStep, false);
    }
    // The player hears of a file that failed while the game is on screen;
    // what failed to be written is tried again every little while.
    if (mainMenu && !shutdown) {
        ShowFileNotice(false);
        if (GetUpdateCount() % kWriteRetryUpdates == 0)
            RetryPendingWrites();
    }
    ZorvinAppBase::UpdateFrame();
}

bool GameApp::DebugKeyDown(int key)
{
    bool shift = GetWidgetManager() != nullptr && GetWidgetManager()->IsKeyDown(KeyShift);
    if (key == KeyF8 && !shift && IsScreenShown(boardPanel.get()))
        return false;
    return ZorvinAppBase::DebugKeyDown(key);
}

bool GameApp::TimedStep(bool allowSleep)
{
    bool stepped = ZorvinAppBase::TimedStep(allowSleep);
    // While the loading thread works, the loop sleeps after every step to
    // leave it the processor, so each next step finds an update due and
    // the loop would not draw until loading ends: the first frame, the
    // logos and the progress bar would all wait. Draw after each update
    // meanwhile.
    if (stepped && !loaded && !shutdown && GetDrawPacer().HasPendingDraw() &&
        GetUpdateCount() != lastLoadingDrawUpdate) {
        lastLoadingDrawUpdate = GetUpdateCount();
        Redraw();
    }
    return stepped;
}

void GameApp::OnShutdown()
{
    // Closing the window, Alt+F4, SIGTERM or SIGINT in the middle of a level
    // keeps the position, as leaving it through the in-game menu would: the
    // saved game, then the players (both written whole, atomically).
    if (IsScreenShown(boardPanel.get()))
        SaveGameInProgress();
    SaveProfiles();
    RetryPendingWrites();
    RemoveGameScreens();
}

void GameApp::PlaySound(int id)
{
    if (id >= 0)
        ZorvinAppBase::PlaySound(id, 0);
}

void GameApp::SwitchSong(int song)
{
    MusicInterface* music = GetMusicInterface();
    if (music != nullptr) {
        music->FadeOutAllSongs(true, FadeStep);
        music->FadeInSong(song, 0, FadeStep, false);
    }
    currentSong = song;
}

// ---------------------------------------------------------------------------
// Dialogs

void GameApp::OnButtonDown(int id)
{
    // The Yes button of the acceleration message went down.
    if (id == DialogYesButtonBase + DialogAccelerationMessage)
        CloseDialog(DialogAccelerationMessage);
}

void GameApp::OnDialogButtonClick(int dialogId, int buttonId)
{
    PlaySound(SOUND_CLICK);
    if ((dialogId == DialogPlayerMessage || dialogId == DialogPlayerNotice || dialogId == DialogFileNotice)
        && buttonId == Dialog::IdYes) {
        CloseDialog(dialogId);
    } else if (dialogId == DialogLevelWon && buttonId == Dialog::IdYes) {
        CloseDialog(DialogLevelWon);
        ShowMap();
    }
}

std::unique_ptr<Dialog> GameApp::MakeDialog(int id, bool modal, const std::string& header, const std::string& lines,
                                            const std::string& footer, int buttonMode)
{
    auto d = std::make_unique<Dialog>(IMAGE_W_SMALL, IMAGE_BUTTON_NORMAL, id, modal, header, lines, footer, buttonMode);
    d->dialogListener = this;
    d->SetHeaderFont(FONT_DEFAULT);
    d->SetBodyFont(FONT_DEFAULT);
    d->SetButtonFont(FONT_DEFAULT);
    d->SetColor(Dialog::ColorHeader, Color(0, 0, 0));
    d->SetColor(Dialog::ColorLines, Color(0, 0, 0));
    d->spaceAfterHeader = DialogHeaderSpacing;
    if (IMAGE_W_SMALL != nullptr)
        SizeToText(*d, IMAGE_W_SMALL->GetWidth(), IMAGE_W_SMALL->GetHeight());
    return d;
}

} // namespace Zorvin
