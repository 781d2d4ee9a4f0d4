#pragma once

// SdlEventInjector: puts synthetic input into SDL's event queue, exactly as
// the desktop would deliver it to the game's window, so the window system's
// event pump turns it into the application's input records like any real
// event. Positions are given on the 800 x 600 logical screen and placed in
// the window through the current letterbox. Developer tools that play the
// game through its real input path own one next to the platform; it must
// not outlive the window system it was made for.

#include <cstdint>
#include <string>

namespace Zorvin {

class SdlWindowSystem;

class SdlEventInjector {
public:
    explicit SdlEventInjector(SdlWindowSystem& windows) : windows(windows) {}

    // The pointer moves to a logical position; `leftHeld` reports the left
    // button as held (a drag).
    bool MouseMove(int lx, int ly, bool leftHeld = false);
    // A button (1 left, 3 right) goes down or up at a logical position.
    bool MouseButton(int lx, int ly, int button, bool down);
    // The keys a player needs to answer the game's questions.
    enum class Key { Escape, Return, Backspace };
    // A key goes down or up.
    bool KeyEvent(Key key, bool down);
    // Typed text, in UTF-8 (at most 31 bytes per call, as SDL delivers it).
    bool Text(const std::string& utf8);
    // Events pushed but not yet taken by the event pump.
    int Pending() const;

    // The window position shown at a logical pixel (its centre).
    void LogicalToWindow(int lx, int ly, int& wx, int& wy) const;

private:
    uint32_t WindowId() const;

    SdlWindowSystem& windows;
};

} // namespace Zorvin
