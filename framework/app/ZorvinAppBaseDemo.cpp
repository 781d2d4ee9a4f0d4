// The application base's demo layer: recording a session and playing it
// back exactly.
//
//   StartDemo, FinishDemo     open the demo at start-up, save or judge it
//                             at shutdown
//   recording                 RecordDemoEvent, RecordDemoInput, markers
//   playback                  TakeDemoEvent, FeedDemoInput, the update gate,
//                             fast-forward, the playback keys
//   FileAccess                the players' files through the demo
//   HashScreen
//
// Every result from outside the program is an event stamped with the
// number of logic updates run before it: queued input, settings, the
// players' files, the pasted clipboard, the end of loading. Playback hands
// the input to the widgets at the same update counts and answers settings
// and files from the recording, so the logic sees the same world and
// arrives at the same end. A run that stops following its recording
// (another build, changed levels) is caught at the first event that does
// not fit, reported, and ended.
//
// Sections:
//   - start and end
//   - recording
//   - playback (events, input, updates, jumps, keys, markers)
//   - the players' files (results recorded and played back)

#include "framework/app/ZorvinAppBase.h"

#include "framework/core/FileUtil.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Zorvin {

namespace {


std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* CodeName(int code)
{
    switch (code) {
    case DemoEvent::SettingRead: return "a settings read";
    case DemoEvent::SettingWrite: return "a settings write";
    case DemoEvent::SettingErase: return "a settings erase";
    case DemoEvent::FileExists: return "a file test";
    case DemoEvent::FileRead: return "a file read";
    case DemoEvent::FileWrite: return "a file write";
    case DemoEvent::FileDelete: return "a file delete";
    case DemoEvent::FileRename: return "a file rename";
    case DemoEvent::FileKeepCopy: return "a file copy set aside";
    case DemoEvent::Clipboard: return "a paste";
    case DemoEvent::LoadingDone: return "the end of loading";
    default: return "input";
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Start and end

void ZorvinAppBase::StartDemo()
{
    if (!playingDemo && !recordingDemo) {
        std::srand(Now());
        return;
    }
    demo = std::make_unique<DemoFile>();
    if (recordingDemo) {
        demo->programName = productName;
        demo->programVersion = productVersion;
        demo->seed = Now();
        demo->windowed = isWindowed;
        std::srand(demo->seed);
        return;
    }
    std::string error;
    if (!demo->Load(demoFileName, productName, error)) {
        demo.reset();
        playingDemo = false;
        ShowFatalError(error);
        ExitNow(0);
        return;
    }
    std::srand(demo->seed);
    demoReport.eventsTotal = static_cast<int>(demo->events.size());
}

void ZorvinAppBase::FinishDemo(uint64_t screenHash)
{
    if (!demo || demoClosed)
        return;
    if (recordingDemo) {
        demo->finalUpdate = updateCount;
        demo->finalScreenHash = screenHash;
        demoClosed = true;
        if (demo->Save(demoFileName))
            std::fprintf(stderr, "Demo recorded: %s (%zu events, %d updates)\n", demoFileName.c_str(),
                         demo->events.size(), updateCount);
        else
            std::fprintf(stderr, "Cannot write the demo file %s\n", demoFileName.c_str());
        return;
    }
    demoClosed = true;
    demoReport.screenHash = screenHash;
    demoReport.finished = !demoBroken && demoNext == demo->events.size() && updateCount == demo->finalUpdate;
    demoReport.screenMatched = screenHash == demo->finalScreenHash;
    if (demoReport.finished && !demoReport.screenMatched)
        demoReport.divergence = "the final screen differs from the recorded one";
    std::fprintf(stderr, "Demo played: %d of %d events, %d updates, %d writes matched, %d differed, screen %s%s%s\n",
                 demoReport.eventsPlayed, demoReport.eventsTotal, updateCount, demoReport.writesMatched,
                 demoReport.writesDiffered, demoReport.screenMatched ? "matches" : "differs",
                 demoReport.divergence.empty() ? "" : "; ", demoReport.divergence.c_str());
    // A screen that differs only in its pictures (new art) is told by its
    // hash, so the maintainer can see which run's screen is which.
    if (!demoReport.screenMatched)
        std::fprintf(stderr, "Demo screen hash: recorded %016llx, played %016llx\n",
                     static_cast<unsigned long long>(demo->finalScreenHash),
                     static_cast<unsigned long long>(screenHash));
}

uint64_t ZorvinAppBase::HashScreen()
{
    if (!screenImage)
        return 0;
    MarkAllDirty();
    isDrawing = true;
    widgetManager->DrawDirtyWidgets();
    isDrawing = false;
    const uint32_t* pixels = screenImage->GetBits();
    uint64_t hash = 14695981039346656037ull;
    size_t count = static_cast<size_t>(screenImage->GetWidth()) * screenImage->GetHeight();
    for (size_t i = 0; i < count; ++i) {
        // Only the colour: the unused top byte of an opaque screen may vary.
        uint32_t p = pixels[i] & 0xFFFFFF;
        for (int b = 0; b < 3; ++b) {
            hash ^= (p >> (8 * b)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

// ---------------------------------------------------------------------------
// Recording

void ZorvinAppBase::RecordDemoEvent(DemoEvent event)
{
    if (!recordingDemo || !DemoActive())
        return;
    event.update = updateCount;
    demo->events.push_back(std::move(event));
}

void ZorvinAppBase::RecordDemoInput(const InputMessage& msg)
{
    DemoEvent e;
    e.message = msg;
    switch (msg.kind) {
    case MessageKind::MouseMove:
    case MessageKind::LButtonDown:
    case MessageKind::LButtonDblClk:
    case MessageKind::LButtonUp:
    case MessageKind::RButtonDown:
    case MessageKind::RButtonDblClk:
    case MessageKind::RButtonUp:
    case MessageKind::MButtonDown:
    case MessageKind::MButtonUp:
        e.code = DemoEvent::Mouse;
        e.message.param1 = std::clamp(msg.param1, -8192, 8191);
        e.message.param2 = std::clamp(msg.param2, -8192, 8191);
        break;
    case MessageKind::KeyDown:
    case MessageKind::SysKeyDown:
        e.code = DemoEvent::KeyDown;
        break;
    case MessageKind::KeyUp:
    case MessageKind::SysKeyUp:
        e.code = DemoEvent::KeyUp;
        break;
    case MessageKind::Char:
        e.code = DemoEvent::Character;
        break;
    case MessageKind::MouseWheel:
        e.code = DemoEvent::Wheel;
        break;
    case MessageKind::Move:
        e.code = DemoEvent::WindowMove;
        break;
    case MessageKind::Size:
        e.code = DemoEvent::Minimise;
        e.flag = msg.param1 == 1;
        break;
    case MessageKind::Activate:
        e.code = DemoEvent::Activation;
        e.flag = msg.param1 != 0;
        break;
    case MessageKind::Close:
        e.code = DemoEvent::Close;
        break;
    default:
        return; // the timer and window housekeeping are not the player's
    }
    if (msg.window != MessageWindow::Main && e.code != DemoEvent::Close)
        return;
    RecordDemoEvent(std::move(e));
}

void ZorvinAppBase::AddDemoMarker(const std::string& name)
{
    if (recordingDemo && DemoActive())
        demo->markers.push_back({updateCount, name});
}

// ---------------------------------------------------------------------------
// Playback

void ZorvinAppBase::DemoDiverged(const std::string& why)
{
    if (demoBroken)
        return;
    demoBroken = true;
    char where[64];
    std::snprintf(where, sizeof where, " at update %d", updateCount);
    demoReport.divergence = why + where;
    std::fprintf(stderr, "Demo playback stopped: %s\n", demoReport.divergence.c_str());
}

const DemoEvent* ZorvinAppBase::TakeDemoEvent(DemoEvent::Code code, const std::string& name)
{
    if (demoBroken)
        return nullptr;
    if (demoNext >= demo->events.size()) {
        DemoDiverged(std::string("the run asked for ") + CodeName(code) + " after the recording ended");
        return nullptr;
    }
    const DemoEvent& e = demo->events[demoNext];
    if (e.code != code || e.name != name || e.update != updateCount) {
        DemoDiverged(std::string("the run asked for ") + CodeName(code) + " (" + name + ") where the recording has " +
                     CodeName(e.code) + " (" + e.name + ") of update " + std::to_string(e.update));
        return nullptr;
    }
    ++demoNext;
    ++demoReport.eventsPlayed;
    return &e;
}

bool ZorvinAppBase::FeedDemoInput()
{
    if (!demo || demoClosed || demoBroken || shutdown)
        return false;
    auto nextDue = [this]() -> const DemoEvent* {
        if (demoNext >= demo->events.size() || demo->events[demoNext].update > updateCount)
            return nullptr;
        return &demo->events[demoNext];
    };
    const DemoEvent* e = nextDue();
    if (e == nullptr || !e->IsInput())
        return false;
    ++demoNext;
    ++demoReport.eventsPlayed;
    DispatchDemoInput(*e);
    // More of this update follows: more input, or a result that whoever
    // waits on this input (a dialog's answer) asks for once the step ends.
    // The recorded loop likewise ended its step while input was queued.
    const DemoEvent* next = nextDue();
    return next != nullptr && next->code != DemoEvent::LoadingDone;
}

void ZorvinAppBase::DispatchDemoInput(const DemoEvent& e)
{
    switch (e.code) {
    case DemoEvent::MouseEnters:
    case DemoEvent::MouseLeaves:
        if (e.code == DemoEvent::MouseLeaves)
            widgetManager->MouseLeftWindow();
        mouseIn = e.code == DemoEvent::MouseEnters;
        ApplyCursor();
        return;
    case DemoEvent::Activation:
        active = e.flag;
        break;
    default:
        break;
    }
    if (e.code == DemoEvent::Mouse)
        HandleMouseMessage(e.message);
    else
        HandleKeyOrWindowMessage(e.message);
}

bool ZorvinAppBase::DemoAllowsUpdate()
{
    if (demoBroken || demoClosed) {
        Shutdown();
        return false;
    }
    // The recorded run ended here, by a close, a signal or a kill: what is
    // left are the results its shutdown asked for, which ours asks for now.
    auto onlyResultsLeft = [this] {
        return std::none_of(demo->events.begin() + static_cast<std::ptrdiff_t>(demoNext), demo->events.end(),
                            [](const DemoEvent& e) { return e.IsInput() || e.code == DemoEvent::LoadingDone; });
    };
    if (updateCount >= demo->finalUpdate && onlyResultsLeft()) {
        Shutdown();
        return false;
    }
    if (demoNext < demo->events.size() && demo->events[demoNext].update <= updateCount) {
        const DemoEvent& next = demo->events[demoNext];
        if (next.IsInput())
            return false; // its input comes first
        if (next.code != DemoEvent::LoadingDone) {
            DemoDiverged(std::string("the recording has ") + CodeName(next.code) + " (" + next.name +
                         ") that the run never asked for");
            Shutdown();
            return false;
        }
        // The recorded run had finished loading here, so ours must have too:
        // wait for the real loading thread, however long it takes on this
        // machine. Waiting on the clock instead would let a fast build or a
        // clock that only moves when asked run out of patience first.
        if (!loadingThreadStarted)
            StartLoadingThread();
        if (loadingThread.joinable())
            loadingThread.join();
        ++demoNext;
        ++demoReport.eventsPlayed;
        loaded = true;
        yieldMainThread = false;
        OnLoadingDone();
        return !shutdown;
    }
    return true;
}

void ZorvinAppBase::JumpDemoTo(int update)
{
    if (!playingDemo || !demo || update <= updateCount)
        return;
    // Muted as when the window loses the focus: the player's own mute,
    // which the settings keep, stays as it was.
    if (demoJumpTarget < 0)
        Mute(true);
    demoJumpTarget = update;
}

void ZorvinAppBase::EndDemoJump()
{
    if (demoJumpTarget < 0)
        return;
    demoJumpTarget = -1;
    Unmute(true);
    MarkAllDirty();
    forceDraw = true;
    hasPendingDraw = true;
}

bool ZorvinAppBase::DemoFastForward()
{
    if (demoJumpTarget < 0 || paused)
        return false;
    // One update per step, as in the recorded run, so that whoever waits
    // in a nested loop looks at the world after the same updates; only the
    // waiting for the clock and the drawing are left out.
    if (demoJumpTarget > updateCount && !shutdown) {
        TryUpdate();
        ReleaseDeferredDeletions();
    }
    if (demoJumpTarget <= updateCount || shutdown)
        EndDemoJump();
    updateTimeAcc = 0;
    lastTimeCheck = Now();
    updateAppState = LoopState::StepDone;
    return true;
}

bool ZorvinAppBase::DemoPlaybackKey(int ch)
{
    const int perSecond = 1000 / std::max(frameTime, 1);
    static const int SecondsBeforeEnd[] = {120, 90, 60, 30, 10, 5}; // keys 4 to 9
    switch (ch) {
    case '+':
        updateMultiplier *= 1.5;
        return true;
    case '-':
        updateMultiplier /= 1.5;
        return true;
    case '=':
        updateMultiplier = 1.0;
        return true;
    case '0':
        JumpDemoTo(demo->finalUpdate);
        return true;
    case 'n':
    case 'N':
        stepMode = StepMode::StepOnce;
        return true;
    case 'p':
    case 'P':
        if (stepMode != StepMode::Running)
            stepMode = StepMode::Running;
        else
            paused = !paused;
        return true;
    case 'm':
    case 'M':
        for (const DemoMarker& marker : demo->markers)
            if (marker.update > updateCount) {
                JumpDemoTo(marker.update);
                break;
            }
        return true;
    case 'j':
    case 'J': {
        // Jumps to the time remembered by the last numbered jump.
        int seconds = 0;
        if (GetSettings()->ReadInteger("DemoJumpTime", seconds))
            JumpDemoTo(seconds * perSecond);
        return true;
    }
    case 'l':
    case 'L':
        ShowDemoMarkers();
        return true;
    default:
        if (ch >= '4' && ch <= '9') {
            int target = std::max(demo->finalUpdate - SecondsBeforeEnd[ch - '4'] * perSecond, 0);
            GetSettings()->WriteInteger("DemoJumpTime", target / perSecond);
            JumpDemoTo(target);
            return true;
        }
        return false;
    }
}

void ZorvinAppBase::ShowDemoMarkers()
{
    // Drawn over the frame like the frame-rate figure, never as a widget:
    // a window in the widget tree would catch the recorded clicks.
    if (demoOverlay) {
        demoOverlay.reset();
    } else {
        const int perSecond = 1000 / std::max(frameTime, 1);
        std::vector<std::string> lines = {"Marker List"};
        // The markers around the moment on show, at most twenty.
        size_t first = 0;
        while (first < demo->markers.size() && demo->markers[first].update < updateCount)
            ++first;
        first = first >= 5 ? first - 5 : 0;
        for (size_t i = first; i < demo->markers.size() && lines.size() <= 20; ++i) {
            const DemoMarker& marker = demo->markers[i];
            char when[32];
            int seconds = marker.update / perSecond;
            std::snprintf(when, sizeof when, "%s%d:%02d  ", marker.update <= updateCount ? "  " : "> ", seconds / 60,
                          seconds % 60);
            lines.push_back(when + marker.name);
        }
        if (lines.size() == 1)
            lines.push_back("No markers.");
        demoOverlay = MakeTextPlate(lines);
    }
    forceDraw = true;
    hasPendingDraw = true;
}

// ---------------------------------------------------------------------------
// The players' files

bool ZorvinAppBase::RecordDemoResult(DemoEvent::Code code, const std::string& name, bool ok, std::string bytes,
                                     int kind)
{
    DemoEvent e;
    e.code = code;
    e.name = name;
    e.flag = ok;
    e.kind = kind;
    e.bytes = std::move(bytes);
    RecordDemoEvent(std::move(e));
    return ok;
}

const DemoEvent* ZorvinAppBase::PlayDemoResult(DemoEvent::Code code, const std::string& name)
{
    return DemoActive() ? TakeDemoEvent(code, name) : nullptr;
}

void ZorvinAppBase::CompareDemoWrite(const DemoEvent& recorded, const std::string& what, int kind,
                                     const std::string& bytes)
{
    if (recorded.kind == kind && recorded.bytes == bytes) {
        ++demoReport.writesMatched;
        return;
    }
    ++demoReport.writesDiffered;
    std::fprintf(stderr, "Demo playback: %s is written differently at update %d\n", what.c_str(), updateCount);
}

bool ZorvinAppBase::ReadFile(const std::string& path, std::string& bytes, size_t maxSize)
{
    bytes.clear();
    if (playingDemo && demo) {
        const DemoEvent* e = PlayDemoResult(DemoEvent::FileRead, BaseName(path));
        if (e == nullptr || !e->flag || e->bytes.size() > maxSize)
            return false;
        bytes = e->bytes;
        return true;
    }
    bool ok = FileUtil::ReadFile(path, bytes, std::min(maxSize, DemoFile::MaxEventBytes));
    return RecordDemoResult(DemoEvent::FileRead, BaseName(path), ok, bytes);
}

bool ZorvinAppBase::WriteFile(const std::string& path, const std::string& bytes)
{
    if (playingDemo && demo) {
        const DemoEvent* e = PlayDemoResult(DemoEvent::FileWrite, BaseName(path));
        if (e == nullptr)
            return false;
        CompareDemoWrite(*e, BaseName(path), 0, bytes);
        demoReport.written[BaseName(path)] = bytes;
        return e->flag;
    }
    bool ok = FileUtil::WriteFileAtomic(path, bytes);
    return RecordDemoResult(DemoEvent::FileWrite, BaseName(path), ok, bytes);
}

bool ZorvinAppBase::Exists(const std::string& path)
{
    if (playingDemo && demo) {
        const DemoEvent* e = PlayDemoResult(DemoEvent::FileExists, BaseName(path));
        return e != nullptr && e->flag;
    }
    return RecordDemoResult(DemoEvent::FileExists, BaseName(path), FileUtil::Exists(path));
}

bool ZorvinAppBase::Delete(const std::string& path)
{
    if (playingDemo && demo) {
        const DemoEvent* e = PlayDemoResult(DemoEvent::FileDelete, BaseName(path));
        if (e != nullptr)
            demoReport.written.erase(BaseName(path));
        return e != nullptr && e->flag;
    }
    return RecordDemoResult(DemoEvent::FileDelete, BaseName(path), FileUtil::Delete(path));
}

bool ZorvinAppBase::Rename(const std::string& from, const std::string& to)
{
    if (playingDemo && demo) {
        const DemoEvent* e = PlayDemoResult(DemoEvent::FileRename, BaseName(to));
        return e != nullptr && e->flag;
    }
    return RecordDemoResult(DemoEvent::FileRename, BaseName(to), FileAccess::Disk().Rename(from, to));
}

std::string ZorvinAppBase::KeepCopy(const std::string& path)
{
    std::string folder = FileUtil::FolderOf(path);
    auto inFolder = [&folder](const std::string& name) {
        return name.empty() || folder.empty() ? name : folder + "/" + name;
    };
    if (playingDemo && demo) {
        const DemoEvent* e = PlayDemoResult(DemoEvent::FileKeepCopy, BaseName(path));
        return e != nullptr && e->flag ? inFolder(e->bytes) : std::string();
    }
    std::string copy = FileUtil::KeepCopy(path);
    RecordDemoResult(DemoEvent::FileKeepCopy, BaseName(path), !copy.empty(), BaseName(copy));
    return copy;
}

void ZorvinAppBase::RemoveStaleTemporaries(const std::string& path)
{
    if (!playingDemo)
        FileUtil::RemoveStaleTemporaries(path);
}

} // namespace Zorvin
