#pragma once

// KeyCodes: the virtual-key numbers of the keyboard. The platform layer
// turns its own key codes into these; the widget tree, the application base
// and the game compare against them. Letters and digits are their
// upper-case ASCII codes and are written as characters ('D').

namespace Zorvin {

constexpr int KeyBack = 0x08;
constexpr int KeyTab = 0x09;
constexpr int KeyEnter = 0x0D;
constexpr int KeyShift = 0x10;
constexpr int KeyControl = 0x11;
constexpr int KeyAlt = 0x12;
constexpr int KeyPause = 0x13;
constexpr int KeyCapsLock = 0x14;
constexpr int KeyEscape = 0x1B;
constexpr int KeySpace = 0x20;
constexpr int KeyPageUp = 0x21;
constexpr int KeyPageDown = 0x22;
constexpr int KeyEnd = 0x23;
constexpr int KeyHome = 0x24;
constexpr int KeyArrowLeft = 0x25;
constexpr int KeyArrowUp = 0x26;
constexpr int KeyArrowRight = 0x27;
constexpr int KeyArrowDown = 0x28;
constexpr int KeyPrintScreen = 0x2C;
constexpr int KeyInsert = 0x2D;
constexpr int KeyDelete = 0x2E;
// Numpad 0-9 are KeyNumpad0 + n.
constexpr int KeyNumpad0 = 0x60;
constexpr int KeyNumpad2 = KeyNumpad0 + 2;
constexpr int KeyNumpad4 = KeyNumpad0 + 4;
constexpr int KeyNumpad5 = KeyNumpad0 + 5;
constexpr int KeyNumpad6 = KeyNumpad0 + 6;
constexpr int KeyNumpad8 = KeyNumpad0 + 8;
constexpr int KeyNumpadMultiply = 0x6A;
constexpr int KeyNumpadPlus = 0x6B;
constexpr int KeyNumpadMinus = 0x6D;
constexpr int KeyNumpadPeriod = 0x6E;
constexpr int KeyNumpadDivide = 0x6F;
// F1-F12 are KeyF1 + n - 1.
constexpr int KeyF1 = 0x70;
constexpr int KeyF2 = KeyF1 + 1;
constexpr int KeyF3 = KeyF1 + 2;
constexpr int KeyF4 = KeyF1 + 3;
constexpr int KeyF5 = KeyF1 + 4;
constexpr int KeyF6 = KeyF1 + 5;
constexpr int KeyF7 = KeyF1 + 6;
constexpr int KeyF8 = KeyF1 + 7;
constexpr int KeyF9 = KeyF1 + 8;
constexpr int KeyF10 = KeyF1 + 9;
constexpr int KeyF11 = KeyF1 + 10;
constexpr int KeyF12 = KeyF1 + 11;
constexpr int KeyNumLock = 0x90;
constexpr int KeyScrollLock = 0x91;
constexpr int KeySemicolon = 0xBA;
constexpr int KeyEquals = 0xBB;
constexpr int KeyComma = 0xBC;
constexpr int KeyMinus = 0xBD;
constexpr int KeyPeriod = 0xBE;
constexpr int KeySlash = 0xBF;
constexpr int KeyBackquote = 0xC0;
constexpr int KeyLeftBracket = 0xDB;
constexpr int KeyBackslash = 0xDC;
constexpr int KeyRightBracket = 0xDD;
constexpr int KeyQuote = 0xDE;

} // namespace Zorvin
