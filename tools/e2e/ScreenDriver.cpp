#include "tools/e2e/ScreenDriver.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Dialog.h"
#include "platform/SdlPlatform.h"

#include <cstdio>
#include <filesystem>

using namespace Zorvin;

namespace {
// Steps allowed for handling the queued input before giving up on it.
constexpr int kDrainSteps = 20000;
// Updates the game may spend inside one of its own waits (a question, the
// level intro, dealing) before the driver calls it stuck.
constexpr int kModalUpdateLimit = 20000;
// Updates before the same question is answered again (an answer got lost).
constexpr int kReanswerUpdates = 200;
} // namespace

int ScreenDriver::screenshotCount = 0;

ScreenDriver::ScreenDriver(Settings s) : settings(std::move(s)) {}

ScreenDriver::~ScreenDriver() { Stop(); }

bool ScreenDriver::Start(std::string& error)
{
    std::error_code ec;
    oldFolder = std::filesystem::current_path(ec).string();
    platform = SdlPlatform::Open(true);
    if (!platform) {
        error = "the SDL platform did not open";
        return false;
    }
    injector = std::make_unique<SdlEventInjector>(*platform->GetWindowSystem());
    app = std::make_unique<E2eApp>();
    platform->Attach(*app);
    app->SetClock(settings.clock);
    app->SetInstanceFolder(settings.instanceFolder);
    if (settings.demoFile.empty())
        app->SetCommandLine("korvelt");
    else
        app->SetCommandLine("korvelt -record \"-demofile=" + settings.demoFile + "\"");
    app->gameFolder = settings.gameFolder;
    app->afterUpdate = [this] { AfterUpdate(); };
    app->Initialize();
    if (!app->IsInitialized() || app->HasShutdownStarted()) {
        error = "the game did not start (exit code " + std::to_string(app->GetExitCode()) + ")";
        return false;
    }
    // What Run does before its loop; the loop itself is ours.
    app->BeginDrivenRun();
    return true;
}

void ScreenDriver::Stop()
{
    if (app) {
        if (!app->HasShutdownStarted())
            app->Shutdown();
        app->EndDrivenRun();
        app->afterUpdate = nullptr;
        app.reset();
    }
    injector.reset();
    platform.reset();
    if (!oldFolder.empty()) {
        std::error_code ec;
        std::filesystem::current_path(oldFolder, ec);
        oldFolder.clear();
    }
}

void ScreenDriver::Updates(int count)
{
    for (int i = 0; i < count && Running(); ++i)
        app->PumpUntilUpdate();
}

bool ScreenDriver::InputPending() const
{
    return injector != nullptr && (injector->Pending() > 0 || app->HasQueuedInput());
}

void ScreenDriver::Drain()
{
    for (int i = 0; i < kDrainSteps && Running() && InputPending(); ++i) {
        bool updated = false;
        app->PumpStep(updated);
    }
}

bool ScreenDriver::WaitFor(const std::function<bool()>& done, int maxUpdates)
{
    for (int i = 0; i < maxUpdates; ++i) {
        if (done())
            return true;
        if (!Running())
            return false;
        Updates(1);
    }
    return done();
}

void ScreenDriver::PushMove(int x, int y, bool leftHeld) { injector->MouseMove(x, y, leftHeld); }

void ScreenDriver::PushButton(int x, int y, int button, bool down) { injector->MouseButton(x, y, button, down); }

void ScreenDriver::PushKey(SdlEventInjector::Key key)
{
    injector->KeyEvent(key, true);
    injector->KeyEvent(key, false);
}

void ScreenDriver::PushText(const std::string& utf8) { injector->Text(utf8); }

void ScreenDriver::PushClick(Widget& widget)
{
    int x = 0, y = 0;
    Centre(widget, x, y);
    PushMove(x, y);
    PushButton(x, y, 1, true);
    PushButton(x, y, 1, false);
}

void ScreenDriver::Move(int x, int y, bool leftHeld)
{
    PushMove(x, y, leftHeld);
    Drain();
}

void ScreenDriver::Button(int x, int y, int button, bool down)
{
    PushButton(x, y, button, down);
    Drain();
}

void ScreenDriver::Key(SdlEventInjector::Key key)
{
    PushKey(key);
    Drain();
}

bool ScreenDriver::Click(Widget* widget, const std::string& what)
{
    if (widget == nullptr || !widget->visible || widget->disabled) {
        Log("cannot click " + what + ": " + (widget == nullptr ? "not there" : "hidden or disabled"));
        return false;
    }
    if (!Reachable(*widget)) {
        Log("cannot click " + what + ": something else is on top of it");
        return false;
    }
    if (settings.verbose)
        Log("click " + what);
    int x = 0, y = 0;
    Centre(*widget, x, y);
    Move(x, y);
    Button(x, y, 1, true);
    Button(x, y, 1, false);
    return true;
}

void ScreenDriver::Centre(const Widget& widget, int& x, int& y)
{
    widget.GetAbsolutePosition(x, y);
    x += widget.width / 2;
    y += widget.height / 2;
}

bool ScreenDriver::Reachable(Widget& widget)
{
    int x = 0, y = 0;
    Centre(widget, x, y);
    int lx = 0, ly = 0;
    Widget* hit = app->GetWidgetManager()->EnabledWidgetAt(x, y, &lx, &ly);
    for (const WidgetContainer* w = hit; w != nullptr; w = w->GetParent()) {
        if (w == &widget)
            return true;
    }
    return false;
}

ButtonWidget* ScreenDriver::FindButton(const WidgetContainer* root, const std::string& utf8Label)
{
    if (root == nullptr)
        return nullptr;
    std::string label = W(utf8Label);
    for (Widget* child : root->GetChildren()) {
        auto* button = dynamic_cast<ButtonWidget*>(child);
        if (button != nullptr && button->visible && !button->disabled && button->label == label)
            return button;
        if (ButtonWidget* inner = FindButton(child, utf8Label))
            return inner;
    }
    return nullptr;
}

ButtonWidget* ScreenDriver::FindButtonOnScreen(const std::string& utf8Label)
{
    // Dialogs first, newest first: they are above the screen.
    std::vector<Dialog*> dialogs = app->GetOpenDialogs();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        if (ButtonWidget* b = FindButton(*it, utf8Label))
            return b;
    }
    return FindButton(app->GetWidgetManager(), utf8Label);
}

Dialog* ScreenDriver::TopDialog() const
{
    return app->GetTopDialog();
}

Dialog* ScreenDriver::FindDialog(int id) const { return app->FindDialog(id); }

void ScreenDriver::AnswerModals(std::vector<ModalAnswer> answers)
{
    modalAnswers = std::move(answers);
    lastAnswered = nullptr;
}

void ScreenDriver::AfterUpdate()
{
    ++updates;
    nestedUpdates = app->GetPumpDepth() > 1 ? nestedUpdates + 1 : 0;
    if (nestedUpdates > kModalUpdateLimit && !stuckInModal) {
        stuckInModal = true;
        Log("the game waited " + std::to_string(nestedUpdates) + " updates inside a click with nobody answering; "
            "shutting it down");
        app->Shutdown();
        return;
    }
    Dialog* top = TopDialog();
    if (top == nullptr || modalAnswers.empty() || InputPending())
        return;
    for (const ModalAnswer& a : modalAnswers) {
        if (app->FindDialog(a.dialogId) != top)
            continue;
        if (top == lastAnswered && updates - lastAnsweredAt < kReanswerUpdates)
            return;
        lastAnswered = top;
        lastAnsweredAt = updates;
        if (settings.verbose)
            Log("answering dialog " + std::to_string(a.dialogId));
        a.answer(*top);
        return;
    }
}

void ScreenDriver::Screenshot(const std::string& name)
{
    if (settings.screenshotFolder.empty() || !app)
        return;
    Updates(3); // let the last change reach the screen
    MemoryImage* screen = app->GetScreenImage();
    if (screen == nullptr)
        return;
    char prefix[16];
    std::snprintf(prefix, sizeof(prefix), "%03d-", ++screenshotCount);
    std::string path = settings.screenshotFolder + "/" + prefix + name + ".png";
    std::string error;
    if (!PngWriter::Write(*screen, path, &error))
        Log("screenshot " + path + " not written: " + error);
    else if (settings.verbose)
        Log("screenshot " + path);
}

void ScreenDriver::Log(const std::string& text) const
{
    std::printf("e2e: %s\n", text.c_str());
    std::fflush(stdout);
}
