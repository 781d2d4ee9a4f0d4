// The application base's demo layer: recording a session and playing it
// back exactly.
//
//   StartDemo, FinishDemo     open the demo session at start-up, save or
//                             judge it at shutdown
//   playback                  FeedDemoInput, the update gate, fast-forward,
//                             the playback keys and markers
//   routing                   the players' files and the settings through
//                             the session while there is one
//   HashScreen
//
// Every result from outside the program is an event stamped with the
// number of logic updates run before it: queued input, settings, the
// players' files, the pasted clipboard, the end of loading. Playback hands
// the input to the widgets at the same update counts and answers settings
// and files from the recording (DemoSession keeps the recording and
// answers), so the logic sees the same world and arrives at the same end.
// A run that stops following its recording (another build, changed levels)
// is caught at the first event that does not fit, reported, and ended.
//
// Sections:
//   - start and end
//   - playback (input, updates, jumps, keys, markers)
//   - the players' files and the settings (routed through the session)

#include "framework/app/ZorvinAppBase.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Zorvin {

// ---------------------------------------------------------------------------
// Start and end

void ZorvinAppBase::StartDemo()
{
    if (!IsRecordingDemo() && !IsPlayingDemo()) {
        std::srand(Now());
        return;
    }
    if (demoSession->IsRecording()) {
        uint32_t seed = Now();
        demoSession->BeginRecording(productName, productVersion, seed, display.WantsWindow());
        std::srand(seed);
        return;
    }
    std::string error;
    if (!demoSession->LoadRecording(productName, error)) {
        demoSession.reset();
        ShowFatalError(error);
        ExitNow(0);
        return;
    }
    std::srand(demoSession->Seed());
}

void ZorvinAppBase::FinishDemo(uint64_t screenHash)
{
    if (demoSession)
        demoSession->Finish(screenHash);
}

DemoSession& ZorvinAppBase::DemoRequest()
{
    if (!demoSession)
        demoSession = std::make_unique<DemoSession>(FileAccess::Disk(), storeSettings, frameClock.UpdateCountRef());
    return *demoSession;
}

std::string ZorvinAppBase::GetDemoFileName() const
{
    return demoSession ? demoSession->Path() : std::string(DemoSession::kDefaultFileName);
}

const ZorvinAppBase::DemoReport& ZorvinAppBase::GetDemoReport() const
{
    static const DemoReport none;
    return demoSession ? demoSession->GetReport() : none;
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
// Playback

void ZorvinAppBase::AddDemoMarker(const std::string& name)
{
    if (demoSession)
        demoSession->AddMarker(name);
}

bool ZorvinAppBase::FeedDemoInput()
{
    if (!demoSession || !demoSession->IsOpen() || demoSession->IsBroken() || shutdown)
        return false;
    const DemoEvent* e = demoSession->NextDue();
    if (e == nullptr || !e->IsInput())
        return false;
    demoSession->Consume();
    DispatchDemoInput(*e);
    // More of this update follows: more input, or a result that whoever
    // waits on this input (a dialog's answer) asks for once the step ends.
    // The recorded loop likewise ended its step while input was queued.
    const DemoEvent* next = demoSession->NextDue();
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
    if (demoSession->IsBroken() || !demoSession->IsOpen()) {
        Shutdown();
        return false;
    }
    // The recorded run ended here, by a close, a signal or a kill: what is
    // left are the results its shutdown asked for, which ours asks for now.
    if (frameClock.UpdateCount() >= demoSession->FinalUpdate() && demoSession->OnlyResultsLeft()) {
        Shutdown();
        return false;
    }
    if (const DemoEvent* due = demoSession->NextDue()) {
        const DemoEvent& next = *due;
        if (next.IsInput())
            return false; // its input comes first
        if (next.code != DemoEvent::LoadingDone) {
            demoSession->NeverAskedFor(next);
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
        demoSession->Consume();
        loaded = true;
        yieldMainThread = false;
        OnLoadingDone();
        return !shutdown;
    }
    return true;
}

void ZorvinAppBase::JumpDemoTo(int update)
{
    if (!IsPlayingDemo() || update <= frameClock.UpdateCount())
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
    drawPacer.ForceDraw();
}

bool ZorvinAppBase::DemoFastForward()
{
    if (demoJumpTarget < 0 || frameClock.IsPaused())
        return false;
    // One update per step, as in the recorded run, so that whoever waits
    // in a nested loop looks at the world after the same updates; only the
    // waiting for the clock and the drawing are left out.
    if (demoJumpTarget > frameClock.UpdateCount() && !shutdown) {
        TryUpdate();
        ReleaseDeferredDeletions();
    }
    if (demoJumpTarget <= frameClock.UpdateCount() || shutdown)
        EndDemoJump();
    frameClock.Reset(Now());
    updateAppState = LoopState::StepDone;
    return true;
}

bool ZorvinAppBase::DemoPlaybackKey(int ch)
{
    const int perSecond = frameClock.UpdatesPerSecond();
    static const int SecondsBeforeEnd[] = {120, 90, 60, 30, 10, 5}; // keys 4 to 9
    switch (ch) {
    case '+':
        frameClock.SetSpeed(frameClock.Speed() * 1.5);
        return true;
    case '-':
        frameClock.SetSpeed(frameClock.Speed() / 1.5);
        return true;
    case '=':
        frameClock.SetSpeed(1.0);
        return true;
    case '0':
        JumpDemoTo(demoSession->FinalUpdate());
        return true;
    case 'n':
    case 'N':
        frameClock.SetStepMode(StepMode::StepOnce);
        return true;
    case 'p':
    case 'P':
        if (frameClock.GetStepMode() != StepMode::Running)
            frameClock.SetStepMode(StepMode::Running);
        else
            frameClock.SetPaused(!frameClock.IsPaused());
        return true;
    case 'm':
    case 'M':
        for (const DemoMarker& marker : demoSession->Markers())
            if (marker.update > frameClock.UpdateCount()) {
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
            int target = std::max(demoSession->FinalUpdate() - SecondsBeforeEnd[ch - '4'] * perSecond, 0);
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
        const int perSecond = frameClock.UpdatesPerSecond();
        const int updateCount = frameClock.UpdateCount();
        std::vector<std::string> lines = {"Marker List"};
        // The markers around the moment on show, at most twenty.
        size_t first = 0;
        while (first < demoSession->Markers().size() && demoSession->Markers()[first].update < updateCount)
            ++first;
        first = first >= 5 ? first - 5 : 0;
        for (size_t i = first; i < demoSession->Markers().size() && lines.size() <= 20; ++i) {
            const DemoMarker& marker = demoSession->Markers()[i];
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
    drawPacer.ForceDraw();
}

// ---------------------------------------------------------------------------
// The players' files

FileAccess& ZorvinAppBase::ActiveFiles()
{
    if (demoSession && demoSession->IsStarted())
        return *demoSession;
    return FileAccess::Disk();
}

SettingsAccess& ZorvinAppBase::ActiveSettings()
{
    if (demoSession && demoSession->IsStarted())
        return *demoSession;
    return storeSettings;
}

bool ZorvinAppBase::ReadFile(const std::string& path, std::string& bytes, size_t maxSize)
{
    return ActiveFiles().ReadFile(path, bytes, maxSize);
}

bool ZorvinAppBase::WriteFile(const std::string& path, const std::string& bytes)
{
    return ActiveFiles().WriteFile(path, bytes);
}

bool ZorvinAppBase::Exists(const std::string& path)
{
    return ActiveFiles().Exists(path);
}

bool ZorvinAppBase::Delete(const std::string& path)
{
    return ActiveFiles().Delete(path);
}

bool ZorvinAppBase::Rename(const std::string& from, const std::string& to)
{
    return ActiveFiles().Rename(from, to);
}

std::string ZorvinAppBase::KeepCopy(const std::string& path)
{
    return ActiveFiles().KeepCopy(path);
}

void ZorvinAppBase::RemoveStaleTemporaries(const std::string& path)
{
    ActiveFiles().RemoveStaleTemporaries(path);
}

// Every setting goes through the raw read and write; a playback never
// changes the settings.
bool ZorvinAppBase::WriteSettingRaw(const std::string& name, int kind, const std::vector<uint8_t>& bytes)
{
    return ActiveSettings().WriteSettingRaw(name, kind, bytes);
}

bool ZorvinAppBase::ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes)
{
    return ActiveSettings().ReadSettingRaw(name, kind, bytes);
}

bool ZorvinAppBase::EraseSetting(const std::string& name)
{
    return ActiveSettings().EraseSetting(name);
}

bool ZorvinAppBase::StoreSettings::WriteSettingRaw(const std::string& name, int kind,
                                                   const std::vector<uint8_t>& bytes)
{
    return app.GetSettings()->WriteRaw(name, kind, bytes);
}

bool ZorvinAppBase::StoreSettings::ReadSettingRaw(const std::string& name, int& kind, std::vector<uint8_t>& bytes)
{
    return app.GetSettings()->ReadRaw(name, kind, bytes);
}

bool ZorvinAppBase::StoreSettings::EraseSetting(const std::string& name)
{
    return app.GetSettings()->Erase(name);
}

} // namespace Zorvin
