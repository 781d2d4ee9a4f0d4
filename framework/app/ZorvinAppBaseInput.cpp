// The application base's input: native window messages and the queue
// the main loop takes them from.
//
//   OnWindowMessage       what is handled at once, what is queued
//   ProcessQueuedMessage  one queued record to the widget manager: mouse
//                         through one table of buttons, keys, timer, window
//   RehupFocus            focus follows activation and minimising
//   DebugKeyDown          developer keys (frame rate, 3D, single step, dumps)

#include "framework/app/ZorvinAppBase.h"

#include "framework/app/Presenter.h"
#include "framework/app/SystemServices.h"
#include "framework/core/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/WindowSystem.h"

#include <algorithm>
#include <cstdio>

namespace Zorvin {

namespace {


// What each mouse-button message does: press or release, the click code the
// widget manager takes (1 left, 2 left double, -1 right, -2 right double,
// 3 middle) and the button's bit among the held buttons.
struct MouseButtonMessage {
    MessageKind kind;
    bool down;
    int clickCode;
    int buttonBit;
};

constexpr MouseButtonMessage kMouseButtonMessages[] = {
    {MessageKind::LButtonDown, true, 1, 1},    {MessageKind::LButtonDblClk, true, 2, 1},
    {MessageKind::RButtonDown, true, -1, 2},   {MessageKind::RButtonDblClk, true, -2, 2},
    {MessageKind::MButtonDown, true, 3, 4},    {MessageKind::LButtonUp, false, 1, 1},
    {MessageKind::RButtonUp, false, -1, 2},    {MessageKind::MButtonUp, false, 3, 4},
};

const MouseButtonMessage* FindMouseButton(MessageKind kind)
{
    for (const MouseButtonMessage& m : kMouseButtonMessages)
        if (m.kind == kind)
            return &m;
    return nullptr;
}

} // namespace

void ZorvinAppBase::OnWindowMessage(const InputMessage& msg)
{
    switch (msg.kind) {
    case MessageKind::Paint:
        if (initialized && !tearingDown && !display.IsHidden() && running) {
            frameDiff.Reset(); // the window lost its picture: show it whole
            PresentScreen();
        }
        return;
    case MessageKind::EndSession:
        Shutdown();
        return;
    case MessageKind::Notify:
        if (windowSystem != nullptr && display.HasWindow())
            windowSystem->RestoreAndRaise();
        return;
    case MessageKind::SysChar:
        return; // Alt+letter never reaches the widgets
    case MessageKind::Activate:
        if (!IsPlayingDemo() && msg.window == MessageWindow::Main)
            active = msg.param1 != 0;
        break;
    default:
        break;
    }
    if (IsPlayingDemo()) {
        // The recording is the input now: the window only steers the
        // playback and may still be closed.
        if (msg.kind == MessageKind::Char && DemoPlaybackKey(msg.param1))
            return;
        if (msg.kind == MessageKind::KeyDown && msg.param1 == KeyF11) {
            TakeScreenshot(); // the frame on show, for whoever watches
            return;
        }
        if (msg.kind != MessageKind::Close && msg.kind != MessageKind::Timer)
            return;
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
        if (!display.IsFullScreenForced()) {
            SwitchScreenMode(!display.WantsWindow());
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
        return IsPlayingDemo() && FeedDemoInput();
    InputMessage msg = messageQueue.front();
    messageQueue.pop_front();
    if (msg.kind != MessageKind::Timer)
        frameClock.NoteInput();
    if (IsRecordingDemo())
        demoSession->RecordInput(msg);
    if (msg.kind == MessageKind::MouseMove || FindMouseButton(msg.kind) != nullptr)
        HandleMouseMessage(msg);
    else
        HandleKeyOrWindowMessage(msg);
    return !messageQueue.empty() || IsPlayingDemo();
}

void ZorvinAppBase::HandleMouseMessage(const InputMessage& msg)
{
    if (display.IsHidden())
        return;
    WidgetManager* wm = widgetManager.get();
    lastUserInputTick = Now();
    wm->MouseMove(msg.param1, msg.param2);
    if (softwareCursor != nullptr) {
        // SDL draws only on this thread, so the software cursor follows
        // the pointer through the next frame rather than a thread of its own.
        drawPacer.ForceDraw();
    }
    if (!mouseIn) {
        mouseIn = true;
        ApplyCursor();
    }
    const MouseButtonMessage* button = FindMouseButton(msg.kind);
    if (button == nullptr)
        return;
    if (button->down) {
        // The window keeps the mouse while a button is held, also outside it.
        if (windowSystem != nullptr)
            windowSystem->SetMouseCapture(true);
        wm->MouseDown(msg.param1, msg.param2, button->clickCode);
    } else {
        // Let go once no other button is held.
        if ((wm->actualDownButtons & ~button->buttonBit) == 0 && windowSystem != nullptr)
            windowSystem->SetMouseCapture(false);
        wm->MouseUp(msg.param1, msg.param2, button->clickCode);
    }
}

void ZorvinAppBase::HandleKeyOrWindowMessage(const InputMessage& msg)
{
    WidgetManager* wm = widgetManager.get();
    switch (msg.kind) {
    case MessageKind::Timer:
        if (!display.IsHidden() && running) {
            uint32_t now = Now();
            if (isOpeningUrl && now - lastUserInputTick >= 5000) {
                if (now - openingUrlTick > 8000 && !active)
                    OnUrlOpened(openingUrl);
                else if (now - openingUrlTick > 12000 && active)
                    OnUrlOpenFailed(openingUrl);
            }
            // During playback the pointer's comings and goings are the
            // recording's.
            if (windowSystem != nullptr && !IsPlayingDemo()) {
                bool in = windowSystem->IsMouseInClientArea();
                if (in != mouseIn) {
                    DemoEvent e;
                    e.code = in ? DemoEvent::MouseEnters : DemoEvent::MouseLeaves;
                    if (demoSession)
                        demoSession->Record(std::move(e));
                    if (!in)
                        wm->MouseLeftWindow();
                    mouseIn = in;
                    ApplyCursor();
                }
            }
        }
        if (singleInstance.PollNotified() && windowSystem != nullptr && display.HasWindow())
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
        if (msg.window == MessageWindow::Main && display.IsPhysicallyWindowed() && !minimized)
            display.SetPreferredPlace(msg.param1, msg.param2);
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
        if (msg.window == MessageWindow::Main && !tearingDown && !display.IsHidden() && !shutdown) {
            RehupFocus();
            if (active && !display.IsPhysicallyWindowed())
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
            drawPacer.SetFrameRateMode(drawPacer.FrameRateMode() + 1);
        else
            drawPacer.ToggleFrameRate();
        MarkAllDirty();
        drawPacer.ForceDraw();
        return true;
    case KeyF8:
        if (shift) {
            SwitchScreenMode(display.WantsWindow(), !display.Is3D(), false);
            char text[64];
            std::snprintf(text, sizeof text, "3D-Mode: %s", display.Is3D() ? "ON" : "OFF");
            ShowMessageBox(text, "Mode Switch", MB_OK);
        } else {
            char text[160];
            std::snprintf(text, sizeof text, "3D-Mode is %s (3D is %s on this system)\r\n\r\n",
                          display.Is3D() ? "ON" : "OFF",
                          presenter != nullptr && presenter->Test3DDecided() ? "supported" : "not tested");
            ShowMessageBox(text, "Mode Switch", MB_OK);
        }
        return true;
    case KeyF10:
        if (ctrl)
            frameClock.SetSpeed(frameClock.Speed() == 1.0 ? 0.25 : 1.0);
        else if (shift)
            frameClock.SetStepMode(StepMode::Running);
        else
            frameClock.SetStepMode(StepMode::StepOnce);
        return true;
    case KeyF11:
        // A playback running ahead draws nothing: there is no picture to keep.
        if (IsPlayingDemo() && demoJumpTarget >= 0)
            return true;
        if (shift)
            DumpImages();
        else
            TakeScreenshot();
        return true;
    default:
        return false;
    }
}

} // namespace Zorvin
