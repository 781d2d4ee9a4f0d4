// One frame of the main menu (the title background, logo pictures, the six
// buttons, the welcome line) redrawn in full by the real game application
// on fake desktop services, side by side with the same frame composed by
// pixman and with its blend floor (see FramePeers). scripts/bench-report
// prints "menu: ours/pixman = R" and "menu: ours/floor = F".

#include <benchmark/benchmark.h>

#include "bench/FramePeers.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/HyperlinkWidget.h"
#include "game/app/GameApp.h"
#include "game/app/screens/TitleScreen.h"
#include "game/app/screens/TitleWnd.h"
#include "tests/framework/app/AppTestSupport.h"

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class MenuApp : public GameApp {
public:
    void TerminateProcess(int) override {}
    // The name dialog waits in a nested loop; it is answered from there.
    void UpdateFrame() override
    {
        GameApp::UpdateFrame();
        if (onUpdate)
            onUpdate();
    }
    std::function<void()> onUpdate;
};

// The game started through logos and loading to the main menu, with the
// first player's name accepted.
struct MenuRig {
    FakeClock clock;
    FakeWindowSystem windows;
    FakePresenter presenter;
    FakeServices services;
    TempFolder temp;
    std::unique_ptr<MenuApp> app;
    bool ready = false;
    int dialogs = 0;

    MenuRig()
    {
        std::error_code ec;
        auto cwd = std::filesystem::current_path(ec);
        ::setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
        const char* env = std::getenv("KORVELT_GAME");
        app = std::make_unique<MenuApp>();
        app->SetClock(&clock);
        app->onlyAllowOneCopyToRun = false;
        app->SetWindowSystem(&windows);
        app->SetPresenter(&presenter);
        app->SetSystemServices(&services);
        app->SetCommandLine("korvelt");
        app->gameFolder = env ? env : KORVELT_GAME_DIR;
        app->Initialize();
        if (app->IsInitialized() && !app->HasShutdownStarted()) {
            app->StartLoadingThread();
            ready = Step([&] { return app->IsLoaded(); }) && EnterMenu();
            dialogs = app->GetDialogCount();
        }
        std::filesystem::current_path(cwd, ec);
    }

    template <typename Done>
    bool Step(Done done)
    {
        // The loading thread runs in real time; a minute is plenty.
        auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            bool updated = false;
            app->PumpStep(updated);
        }
        return done();
    }

    void Click(Widget* w)
    {
        int x = 0, y = 0;
        w->GetAbsolutePosition(x, y);
        x += w->width / 2;
        y += w->height / 2;
        for (MessageKind k : {MessageKind::MouseMove, MessageKind::LButtonDown, MessageKind::LButtonUp}) {
            InputMessage m;
            m.kind = k;
            m.param1 = x;
            m.param2 = y;
            windows.pending.push_back(m);
        }
    }

    bool EnterMenu()
    {
        if (app->GetTitleScreen() == nullptr)
            return false;
        app->onUpdate = [this] {
            Dialog* d = app->FindDialog(DialogNameOrGameOver);
            if (d == nullptr || !windows.pending.empty())
                return;
            if (d->yesButton) {
                Click(d->yesButton.get());
            } else {
                windows.pending.push_back({MessageWindow::Main, MessageKind::KeyDown, 13, 0});
                windows.pending.push_back({MessageWindow::Main, MessageKind::Char, 13, 0});
            }
        };
        Click(app->GetTitleScreen()->GetStartLink());
        bool reached = Step([&] {
            return app->GetMainMenu() != nullptr && app->IsScreenShown(app->GetMainMenu()) &&
                   app->CurrentProfile() != nullptr;
        });
        app->onUpdate = nullptr;
        return reached;
    }
};

// The rig, made once for the whole run; null (and error set) when the main
// menu cannot be reached or a dialog covers it.
MenuRig* TheRig(std::string& error)
{
    static std::unique_ptr<MenuRig> rig = std::make_unique<MenuRig>();
    if (!rig->ready) {
        error = "the game did not reach its main menu";
        return nullptr;
    }
    if (rig->dialogs != 0) {
        error = "a dialog covers the main menu";
        return nullptr;
    }
    return rig.get();
}

void MenuOurs(benchmark::State& state)
{
    std::string error;
    MenuRig* rig = TheRig(error);
    if (!rig) {
        state.SkipWithError(error.c_str());
        return;
    }
    WidgetManager* widgets = rig->app->GetWidgetManager();
    for (auto _ : state) {
        widgets->MarkTreeDirty();
        widgets->DrawDirtyWidgets();
        benchmark::DoNotOptimize(rig->app->GetScreenImage()->GetBits());
        benchmark::ClobberMemory();
    }
}

struct Peers {
    std::unique_ptr<FramePeers> peers;
    std::string error;
};

// The menu redrawn whole into the screen given, through the widget manager.
Peers& MenuPeers()
{
    static Peers p = [] {
        Peers made;
        MenuRig* rig = TheRig(made.error);
        if (!rig)
            return made;
        WidgetManager* widgets = rig->app->GetWidgetManager();
        made.peers = FramePeers::Make(
            "menu",
            [widgets](MemoryImage& screen) {
                Image* own = widgets->image;
                widgets->image = &screen;
                widgets->MarkTreeDirty();
                widgets->DrawDirtyWidgets();
                widgets->image = own;
            },
            made.error);
        return made;
    }();
    return p;
}

void MenuPixman(benchmark::State& state) { FramePeers::Pixman(state, MenuPeers().peers.get(), MenuPeers().error); }
void MenuFloor(benchmark::State& state) { FramePeers::Floor(state, MenuPeers().peers.get(), MenuPeers().error); }

} // namespace

BENCHMARK(MenuOurs)->Name("menu/ours");
BENCHMARK(MenuPixman)->Name("menu/pixman");
BENCHMARK(MenuFloor)->Name("menu/floor");
