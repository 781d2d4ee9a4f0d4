#pragma once

// SdlKeyMap: SDL key codes to the virtual-key numbers the game's widgets
// use (letters and digits as their upper-case ASCII codes, Escape 27,
// Tab 9, F1 0x70 ... F12 0x7B, the arrows 0x25-0x28, Numpad 0-9 0x60-0x69
// and so on). Keys without a number map to 0 and are not passed on.

namespace Zorvin {

class SdlKeyMap {
public:
    // keycode is an SDL_Keycode.
    static int ToVirtualKey(int keycode);
};

} // namespace Zorvin
