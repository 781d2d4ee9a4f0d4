#pragma once

// SdlWindowSystem: the main window and the event source over SDL. Each SDL
// event becomes one of the application's input records, in arrival order:
// keys as virtual-key numbers (with Alt held as system keys), typed text as
// Windows-1251 characters, mouse positions mapped from the window to the
// logical screen through the letterbox, window focus, minimise and close.
// It also posts the window timer, holds the mouse capture and shows the
// system cursors, including the built-in hand and dragging hand.
//
// The program owns one, next to the application, and it must outlive the
// application. SDL's video subsystem is started by Open.

#include "framework/app/WindowSystem.h"

#include <cstdint>
#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace Zorvin {

class SdlWindowSystem : public WindowSystem {
public:
    // Starts SDL video; null (with the reason in errorText) when the video
    // system cannot start.
    static std::unique_ptr<SdlWindowSystem> Open(std::string* errorText = nullptr);
    SdlWindowSystem(const SdlWindowSystem&) = delete;
    SdlWindowSystem& operator=(const SdlWindowSystem&) = delete;
    ~SdlWindowSystem() override;

    void PumpEvents(InputSink& app) override;
    bool WaitForEvent(int timeoutMs) override;
    bool CreateMainWindow(const WindowSpec& spec) override;
    void DestroyMainWindow() override;
    void ShowMainWindow(bool activate) override;
    void HideMainWindow() override;
    void RestoreAndRaise() override;
    Rect GetDesktopWorkArea() override;
    Rect GetWorkAreaAt(int x, int y) override;
    FrameExtents GetFrameExtents() override;
    void MoveMainWindow(int x, int y) override;
    void SetMouseCapture(bool capture) override;
    void SetCursor(int cursorNumber) override;
    bool IsMouseInClientArea() override;
    void StartTimer(int periodMs) override;
    void PlayAlertSound() override {}

    // Turns one SDL event into input records for the application; public so
    // tests can feed events without a real desktop.
    void TranslateEvent(const SDL_Event& event, InputSink& app);
    // Where the logical screen lies in the window, in window coordinates.
    Rect GetViewport();

    SDL_Window* GetWindow() const { return window; }
    int GetLogicalWidth() const { return logicalWidth; }
    int GetLogicalHeight() const { return logicalHeight; }

private:
    SdlWindowSystem() = default;
    void MapMouse(int wx, int wy, int& lx, int& ly);
    SDL_Cursor* CursorFor(int cursorNumber);

    SDL_Window* window = nullptr;
    uint32_t windowId = 0;
    int logicalWidth = 800;
    int logicalHeight = 600;
    bool mouseInWindow = false;
    int timerPeriod = 0;
    uint32_t lastTimerTick = 0;
    SDL_Cursor* cursors[11] = {};
    int currentCursor = -1;
};

} // namespace Zorvin
