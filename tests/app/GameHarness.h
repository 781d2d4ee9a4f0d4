#pragma once

// GameHarness: the real game application for tests that drive the whole
// game on the fake desktop services of AppTestSupport: a fake clock, no
// single-instance lock, exits recorded instead of taken, and a hook run
// after every logic update (a nested wait for a dialog's answer runs
// updates too, so a test answers dialogs from there). StartGame and
// RunGameUntil start it on the generated game folder and run its main loop.

#include "game/app/GameApp.h"
#include "game/board/BoardRules.h"
#include "game/board/FishField.h"
#include "game/board/view/Board.h"
#include "tests/framework/app/AppTestSupport.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ZorvinTest {

inline const std::string& GeneratedGameFolder()
{
    static const std::string folder = std::string(KORVELT_BUILD_DIR) + "/game";
    return folder;
}

class GameHarness : public Zorvin::GameApp {
public:
    explicit GameHarness(FakeClock* c)
    {
        SetClock(c);
        onlyAllowOneCopyToRun = false;
    }
    void TerminateProcess(int code) override { exits.push_back(code); }
    void UpdateFrame() override
    {
        GameApp::UpdateFrame();
        if (onUpdate)
            onUpdate();
    }

    // The developer keys, as Ctrl+Alt+D switches them on.
    void EnableDebugKeys() { debugKeysEnabled = true; }

    // Every tile of the level in play is gone, as after its last put: the
    // win is pending until the board settles.
    void WinTheLevel()
    {
        Zorvin::FishField& field = *GetBoard()->field;
        field.drag.Forget();
        field.RecordMove(Zorvin::LastMove());
        field.layers.clear();
        field.RecountFish();
        field.CheckEnd();
    }

    std::function<void()> onUpdate;
    std::vector<int> exits;
};

// The desktop a started game runs on.
struct FakeDesktop {
    FakeClock clock;
    FakeWindowSystem windows;
    FakePresenter presenter;
    FakeServices services;

    // A game initialised from `folder` with its loading thread started
    // (unless start-up failed).
    std::unique_ptr<GameHarness> StartGame(const std::string& folder = GeneratedGameFolder())
    {
        auto app = std::make_unique<GameHarness>(&clock);
        app->SetWindowSystem(&windows);
        app->SetPresenter(&presenter);
        app->SetSystemServices(&services);
        app->SetCommandLine("korvelt");
        app->gameFolder = folder;
        app->Initialize();
        if (app->IsInitialized() && !app->HasShutdownStarted())
            app->StartLoadingThread();
        return app;
    }
};

// Main-loop steps until `done` holds; false when a minute of real time (the
// loading thread is real) or the step budget runs out first.
inline bool RunGameUntil(Zorvin::GameApp& app, const std::function<bool()>& done, int maxSteps = 2000000)
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (int i = 0; i < maxSteps && std::chrono::steady_clock::now() < limit; ++i) {
        if (done())
            return true;
        bool updated = false;
        app.PumpStep(updated);
    }
    return done();
}

} // namespace ZorvinTest
