#pragma once

// WindowSystem: the desktop side of the application — the main window, the
// event source, the mouse capture and the system cursors. The framework
// never talks to the desktop directly; platform/ implements this with SDL,
// and tests use a fake. The application base does not own it.

#include "framework/core/Rect.h"

#include <string>

namespace Zorvin {

class InputSink;

// How far the frame the desktop draws around a window (title bar, borders)
// reaches out beyond its drawing area on each side.
struct FrameExtents {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

struct WindowSpec {
    std::string title;
    int width = 0;
    int height = 0;
    bool windowed = true;
    // Top-left corner of the drawing area in desktop pixels (windowed only),
    // as Move messages report it.
    int x = 0;
    int y = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Hands every pending native event to the sink, in order.
    virtual void PumpEvents(InputSink& sink) = 0;
    // Blocks until a native event is pending or `timeoutMs` passed, leaving
    // the event for PumpEvents; false when this window system cannot wait
    // (the caller then sleeps instead).
    virtual bool WaitForEvent(int timeoutMs)
    {
        (void)timeoutMs;
        return false;
    }
    // Destroys any previous main window and makes a new one.
    virtual bool CreateMainWindow(const WindowSpec& spec) = 0;
    virtual void DestroyMainWindow() = 0;
    virtual void ShowMainWindow(bool activate) = 0;
    virtual void HideMainWindow() = 0;
    // Restores a minimised window and brings it to the front.
    virtual void RestoreAndRaise() = 0;
    // The usable desktop area (without panels and docks).
    virtual Rect GetDesktopWorkArea() = 0;
    // The usable area of the monitor that shows the point (x, y), or of the
    // first monitor when none does.
    virtual Rect GetWorkAreaAt(int x, int y)
    {
        (void)x;
        (void)y;
        return GetDesktopWorkArea();
    }
    // The frame around the shown main window; empty when it has none or
    // the desktop does not say.
    virtual FrameExtents GetFrameExtents() { return FrameExtents(); }
    // Moves the shown main window so that the top-left corner of its
    // drawing area lands at (x, y), whatever frame surrounds it.
    virtual void MoveMainWindow(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void SetMouseCapture(bool capture) = 0;
    // Shows the system cursor for a cursor number (0 arrow, 1 hand, ...);
    // 11 and 12 hide it.
    virtual void SetCursor(int cursorNumber) = 0;
    // Whether the pointer lies over the main window's drawing area.
    virtual bool IsMouseInClientArea() = 0;
    // Posts a timer message every periodMs milliseconds.
    virtual void StartTimer(int periodMs) = 0;
    virtual void PlayAlertSound() {}
};

} // namespace Zorvin
