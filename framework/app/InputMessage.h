#pragma once

// InputMessage: one record of the application's input queue. The platform
// layer turns its native events into these, in arrival order, and hands
// them to ZorvinAppBase::OnWindowMessage; the main loop consumes one per
// step. Coordinates are window pixels of the logical screen.

#include <cstdint>

namespace Zorvin {

enum class MessageKind {
    Timer,
    KeyDown,       // param1 = virtual-key number
    KeyUp,
    SysKeyDown,    // a key pressed with Alt held
    SysKeyUp,
    Char,          // param1 = Windows-1251 byte
    SysChar,
    MouseMove,     // param1 = x, param2 = y
    LButtonDown,
    LButtonDblClk,
    LButtonUp,
    RButtonDown,
    RButtonDblClk,
    RButtonUp,
    MButtonDown,
    MButtonUp,
    MouseWheel,    // param1 = delta in steps of 120 per notch
    Move,          // param1 = x, param2 = y of the window
    Size,          // param1 = 1 minimised, 0 restored
    Activate,      // param1 = 1 active, 0 inactive
    Close,
    Paint,
    EndSession,
    Notify,        // a second copy of the program asked us to come forward
};

enum class MessageWindow { Main, Invisible };

struct InputMessage {
    MessageWindow window = MessageWindow::Main;
    MessageKind kind = MessageKind::Timer;
    int param1 = 0;
    int param2 = 0;
};

} // namespace Zorvin
