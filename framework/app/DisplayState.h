#pragma once

// DisplayState: what the application knows of its window and display —
// the screen mode asked for and the one the window was made in, full
// screen forced by the desktop, the acceleration choice and its troubles,
// a display that lost its picture and when recovery may be tried, the
// window's preferred place and whether it is hidden. The application base
// owns one; the state changes only through the operations below, each of
// which names an event of the window's life.

#include <cstdint>

namespace Zorvin {

class DisplayState {
public:
    // The screen mode asked for (the settings and Alt+Enter change it).
    bool WantsWindow() const { return windowed; }
    void SetWantsWindow(bool on) { windowed = on; }
    // The mode the window was last made in.
    bool IsPhysicallyWindowed() const { return physWindowed; }
    bool HasWindow() const { return hasWindow; }
    // A window was made in this mode.
    void WindowMade(bool inWindow)
    {
        hasWindow = true;
        physWindowed = inWindow;
    }
    // Headless: no window is made, the state follows the request.
    void NoWindow() { physWindowed = windowed; }

    // The desktop allows no window (its colour depth): full screen only.
    bool IsFullScreenForced() const { return forcedFullScreen; }
    void ForceFullScreen() { forcedFullScreen = true; }
    // Full screen failed too: back to a window, where a second failure ends
    // the program.
    bool WindowedFailedOnce() const { return windowedFailed; }
    void FullScreenFailed()
    {
        windowedFailed = true;
        forcedFullScreen = false;
    }

    // Acceleration: in use, switched during this run, seen failing.
    bool Is3D() const { return use3D; }
    bool Was3DSwitched() const { return switched3D; }
    bool Had3DProblems() const { return problems3D; }
    // The stored choice (read when the first display is made) or the one
    // the player confirms at the end of the run.
    void Choose3D(bool on) { use3D = on; }
    // The player switched acceleration.
    void Switch3D(bool on)
    {
        use3D = on;
        switched3D = true;
    }
    // Acceleration failed: the software renderer takes over.
    void Drop3D()
    {
        use3D = false;
        problems3D = true;
    }
    // True only for the first display of the run.
    bool FirstDisplay()
    {
        bool first = !displayMade;
        displayMade = true;
        return first;
    }

    // The display lost its picture and must be made again.
    bool IsLost() const { return lost; }
    void Lose(uint32_t now)
    {
        lost = true;
        lastRecoveryTick = now - 1000;
    }
    void Restored() { lost = false; }
    // Whether a recovery may be tried now: in a window at most once a
    // second, in full screen at every call. Notes the try.
    bool RecoveryAllowed(uint32_t now);

    // The drawing area's preferred top-left corner (-1: centred).
    int PreferredX() const { return preferredX; }
    int PreferredY() const { return preferredY; }
    void SetPreferredPlace(int x, int y)
    {
        preferredX = x;
        preferredY = y;
    }

    bool IsHidden() const { return hidden; }
    void Hide() { hidden = true; }

private:
    bool windowed = true;
    bool physWindowed = true;
    bool hasWindow = false;
    bool forcedFullScreen = false;
    bool windowedFailed = false;
    bool use3D = false;
    bool switched3D = false;
    bool problems3D = false;
    bool displayMade = false;
    bool lost = false;
    uint32_t lastRecoveryTick = 0;
    int preferredX = -1;
    int preferredY = -1;
    bool hidden = false;
};

} // namespace Zorvin
