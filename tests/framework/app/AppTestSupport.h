#pragma once

// Fakes for running the application base without a desktop: a clock that
// only moves when the main loop sleeps (or a test moves it), a window
// system that records what was asked of it, a presenter and system
// services, and an application that records its exit instead of ending
// the test program.

#include "framework/app/Presenter.h"
#include "framework/app/SystemServices.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/WindowSystem.h"
#include "framework/app/ZorvinAppBase.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace ZorvinTest {

class FakeClock : public Zorvin::Clock {
public:
    uint32_t GetTickCount() override { return now.load(); }
    void Sleep(int ms) override
    {
        ++sleeps;
        sleptMs += ms;
        now += static_cast<uint32_t>(ms);
    }
    void Advance(int ms) { now += static_cast<uint32_t>(ms); }

    std::atomic<uint32_t> now{100000};
    int sleeps = 0;
    long long sleptMs = 0;
};

class FakeWindowSystem : public Zorvin::WindowSystem {
public:
    void PumpEvents(Zorvin::InputSink& app) override
    {
        for (const Zorvin::InputMessage& m : pending)
            app.OnWindowMessage(m);
        pending.clear();
    }
    bool CreateMainWindow(const Zorvin::WindowSpec& spec) override
    {
        lastSpec = spec;
        ++windowsCreated;
        return createSucceeds;
    }
    void DestroyMainWindow() override {}
    void ShowMainWindow(bool) override { shown = true; }
    void HideMainWindow() override { shown = false; }
    void RestoreAndRaise() override { ++raised; }
    Zorvin::Rect GetDesktopWorkArea() override { return workArea; }
    void SetMouseCapture(bool capture) override { captured = capture; }
    void SetCursor(int n) override { cursor = n; }
    bool IsMouseInClientArea() override { return mouseInClient; }
    void StartTimer(int periodMs) override { timerPeriod = periodMs; }
    // Queues a message for the next pump, as the window would.
    void Post(Zorvin::MessageKind kind, int p1 = 0, int p2 = 0)
    {
        pending.push_back({Zorvin::MessageWindow::Main, kind, p1, p2});
    }

    std::vector<Zorvin::InputMessage> pending;
    Zorvin::WindowSpec lastSpec;
    Zorvin::Rect workArea{0, 0, 1920, 1040};
    int windowsCreated = 0;
    bool createSucceeds = true;
    bool shown = false;
    int raised = 0;
    bool captured = false;
    int cursor = -1;
    bool mouseInClient = true;
    int timerPeriod = 0;
};

class FakePresenter : public Zorvin::Presenter {
public:
    int Initialize(bool windowed, bool use3D) override
    {
        initWindowed.push_back(windowed);
        init3D.push_back(use3D);
        if (!results.empty()) {
            int r = results.front();
            results.erase(results.begin());
            return r;
        }
        return Zorvin::RESULT_OK;
    }
    bool Present(const uint32_t* pixels, int w, int h) override
    {
        ++presents;
        if (pixels != nullptr && presentSucceeds)
            lastFrame.assign(pixels, pixels + static_cast<size_t>(w) * h);
        return presentSucceeds;
    }
    bool PresentChanged(const uint32_t* pixels, int w, int h, const Zorvin::Rect* changed, int count) override
    {
        lastChanged.assign(changed, changed + count);
        return Present(pixels, w, h);
    }

    std::vector<Zorvin::Rect> lastChanged;
    std::vector<int> results;
    std::vector<bool> initWindowed;
    std::vector<bool> init3D;
    int presents = 0;
    bool presentSucceeds = true;
    std::vector<uint32_t> lastFrame;
};

class FakeServices : public Zorvin::SystemServices {
public:
    int ShowMessageBox(const std::string& text, const std::string& title, int) override
    {
        boxes.push_back(title + "|" + text);
        return answer;
    }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    std::string GetClipboardText() override { return clipboard; }
    bool OpenUrl(const std::string& url) override
    {
        urls.push_back(url);
        return urlOpens;
    }

    std::vector<std::string> boxes;
    std::string clipboard;
    std::vector<std::string> urls;
    int answer = Zorvin::IDOK;
    bool urlOpens = true;
};

// A temporary folder removed with everything in it at the end of a test.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvelt-test-XXXXXX").string();
        path = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

class TestApp : public Zorvin::ZorvinAppBase {
public:
    explicit TestApp(FakeClock* c, const std::string& folder = std::string())
    {
        SetClock(c);
        SetInstanceFolder(folder.empty() ? std::filesystem::temp_directory_path().string() : folder);
        onlyAllowOneCopyToRun = false;
    }

    bool OverrideWorkingFolder(const std::string&) override { return true; }
    void TerminateProcess(int code) override { exits.push_back(code); }

    // The tests set up and look at the application's own state, and steer
    // its clock, its drawing and its window through their operations.
    using ZorvinAppBase::Display;
    using ZorvinAppBase::Pacer;
    using ZorvinAppBase::Timing;
    using ZorvinAppBase::active;
    using ZorvinAppBase::autoMuteCount;
    using ZorvinAppBase::closeRequest;
    using ZorvinAppBase::commandLine;
    using ZorvinAppBase::completedLoadingThreadTasks;
    using ZorvinAppBase::cursorNum;
    using ZorvinAppBase::customCursorsEnabled;
    using ZorvinAppBase::debugKeysEnabled;
    using ZorvinAppBase::deferredDeletes;
    using ZorvinAppBase::exitCode;
    using ZorvinAppBase::hasFocus;
    using ZorvinAppBase::initialized;
    using ZorvinAppBase::isOpeningUrl;
    using ZorvinAppBase::isScreenSaver;
    using ZorvinAppBase::lastShutdownWasGraceful;
    using ZorvinAppBase::loaded;
    using ZorvinAppBase::loadingThreadCompleted;
    using ZorvinAppBase::loadingThreadStarted;
    using ZorvinAppBase::messageQueue;
    using ZorvinAppBase::minimized;
    using ZorvinAppBase::muteCount;
    using ZorvinAppBase::musicVolume;
    using ZorvinAppBase::numLoadingThreadTasks;
    using ZorvinAppBase::running;
    using ZorvinAppBase::sfxVolume;
    using ZorvinAppBase::shutdownFromOtherThread;
    using ZorvinAppBase::stringTable;
    using ZorvinAppBase::yieldMainThread;

    // The volumes handed to the sound side.
    double SoundOut() const { return appliedSoundVolume; }
    double MusicOut() const { return appliedMusicVolume; }

    // Runs main-loop steps until the fake clock has moved on by ms, or the
    // step budget runs out (a loop that never sleeps fails the test).
    int RunFor(FakeClock& c, int ms, int maxSteps = 100000)
    {
        uint32_t end = c.now + static_cast<uint32_t>(ms);
        int steps = 0;
        while (static_cast<int32_t>(c.now - end) < 0 && steps < maxSteps) {
            bool updated = false;
            PumpStep(updated);
            ++steps;
        }
        return steps;
    }

    std::vector<int> exits;
};

// A widget that counts what happens to it.
class ProbeWidget : public Zorvin::Widget {
public:
    ProbeWidget(int px, int py, int w, int h, bool* deletedFlag = nullptr) : deleted(deletedFlag)
    {
        Resize(px, py, w, h);
    }
    ~ProbeWidget() override
    {
        if (deleted != nullptr)
            *deleted = true;
    }

    bool* deleted = nullptr;
};

} // namespace ZorvinTest
