#pragma once

// ScreenDriver: runs one real game application on the real SDL platform and
// operates it the way a person at the desktop would. It opens the platform,
// starts the application and then runs the application's main loop itself,
// a step or an update at a time, pushing SDL input events (pointer moves,
// button presses, keys, typed text) between the steps; the window system's
// event pump turns them into the game's input. It finds what to operate in
// the widget tree (the dialogs and the buttons on screen, at their absolute
// positions), waits for the game to reach a state, answers questions the
// game waits for inside a click, and saves screenshots. The scenario owns
// one driver per run of the game.

#include "platform/SdlEventInjector.h"
#include "tools/e2e/E2eApp.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Zorvin {
class ButtonWidget;
class Clock;
class Dialog;
class SdlPlatform;
class Widget;
class WidgetContainer;
}

class ScreenDriver {
public:
    struct Settings {
        std::string gameFolder;     // the generated game folder (absolute)
        std::string instanceFolder; // where the single-instance lock goes
        std::string screenshotFolder; // "" for no screenshots
        Zorvin::Clock* clock = nullptr; // null: the system clock
        bool verbose = false;
        std::string demoFile;       // "" or where the game records a demo
    };
    // A question the game waits for inside the click that opened it; the
    // answer may only push input (the game is inside its own wait).
    struct ModalAnswer {
        int dialogId;
        std::function<void(Zorvin::Dialog&)> answer;
    };

    explicit ScreenDriver(Settings settings);
    ~ScreenDriver();
    ScreenDriver(const ScreenDriver&) = delete;
    ScreenDriver& operator=(const ScreenDriver&) = delete;

    // Opens the platform and starts the game up to its running main loop
    // (the loading thread started); false with the reason in `error`.
    bool Start(std::string& error);
    // Shuts the game down if it has not ended itself, destroys it and
    // closes the platform.
    void Stop();
    E2eApp& App() { return *app; }
    bool Running() const { return app != nullptr && !app->HasShutdownStarted(); }

    // The main loop, driven from here.
    void Updates(int count);
    // Steps until every pushed event has been taken and handled.
    void Drain();
    // Runs updates until `done` holds; false when `maxUpdates` pass first
    // or the game ends.
    bool WaitFor(const std::function<bool()>& done, int maxUpdates);
    int UpdateCount() const { return updates; }

    // Input through SDL. The Push forms only queue the events; the others
    // also run the loop until the game has handled them.
    void PushMove(int x, int y, bool leftHeld = false);
    void PushButton(int x, int y, int button, bool down);
    void PushKey(Zorvin::SdlEventInjector::Key key);
    void PushText(const std::string& utf8);
    void PushClick(Zorvin::Widget& widget);
    void Move(int x, int y, bool leftHeld = false);
    void Button(int x, int y, int button, bool down);
    void Key(Zorvin::SdlEventInjector::Key key);
    // Clicks the centre of a widget on screen; false (with nothing clicked)
    // when it is missing, hidden, disabled or covered by another widget.
    bool Click(Zorvin::Widget* widget, const std::string& what);
    bool InputPending() const;

    // What is on screen.
    static Zorvin::ButtonWidget* FindButton(const Zorvin::WidgetContainer* root, const std::string& utf8Label);
    Zorvin::ButtonWidget* FindButtonOnScreen(const std::string& utf8Label);
    Zorvin::Dialog* TopDialog() const;
    Zorvin::Dialog* FindDialog(int id) const;
    static void Centre(const Zorvin::Widget& widget, int& x, int& y);
    // Whether a click at the widget's centre reaches it (or one of its
    // children) rather than something above it.
    bool Reachable(Zorvin::Widget& widget);

    // Questions to answer while the game waits inside a click; replaces
    // the previous set (empty: answer nothing).
    void AnswerModals(std::vector<ModalAnswer> answers);
    // Set when the game sat in one of its own waits with nobody answering.
    bool StuckInModal() const { return stuckInModal; }

    // Saves the screen as "<n>-<name>.png" in the screenshot folder.
    void Screenshot(const std::string& name);
    void Log(const std::string& text) const;

private:
    void AfterUpdate();

    Settings settings;
    std::unique_ptr<Zorvin::SdlPlatform> platform;
    std::unique_ptr<Zorvin::SdlEventInjector> injector;
    std::unique_ptr<E2eApp> app;
    std::string oldFolder;
    std::vector<ModalAnswer> modalAnswers;
    const Zorvin::Dialog* lastAnswered = nullptr;
    int lastAnsweredAt = 0;
    int updates = 0;
    int nestedUpdates = 0;
    bool stuckInModal = false;
    static int screenshotCount;
};
