#include "platform/SdlKeyMap.h"

#include <SDL.h>

#include "framework/core/KeyCodes.h"

namespace Zorvin {

int SdlKeyMap::ToVirtualKey(int keycode)
{
    if (keycode >= SDLK_a && keycode <= SDLK_z)
        return 'A' + (keycode - SDLK_a);
    if (keycode >= SDLK_0 && keycode <= SDLK_9)
        return keycode;
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12)
        return KeyF1 + (keycode - SDLK_F1);
    if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9)
        return KeyNumpad0 + 1 + (keycode - SDLK_KP_1);
    switch (keycode) {
    case SDLK_BACKSPACE: return KeyBack;
    case SDLK_TAB: return KeyTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KeyEnter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KeyControl;
    case SDLK_LALT:
    case SDLK_RALT: return KeyAlt;
    case SDLK_PAUSE: return KeyPause;
    case SDLK_CAPSLOCK: return KeyCapsLock;
    case SDLK_ESCAPE: return KeyEscape;
    case SDLK_SPACE: return KeySpace;
    case SDLK_PAGEUP: return KeyPageUp;
    case SDLK_PAGEDOWN: return KeyPageDown;
    case SDLK_END: return KeyEnd;
    case SDLK_HOME: return KeyHome;
    case SDLK_LEFT: return KeyArrowLeft;
    case SDLK_UP: return KeyArrowUp;
    case SDLK_RIGHT: return KeyArrowRight;
    case SDLK_DOWN: return KeyArrowDown;
    case SDLK_PRINTSCREEN: return KeyPrintScreen;
    case SDLK_INSERT: return KeyInsert;
    case SDLK_DELETE: return KeyDelete;
    case SDLK_KP_0: return KeyNumpad0;
    case SDLK_KP_MULTIPLY: return KeyNumpadMultiply;
    case SDLK_KP_PLUS: return KeyNumpadPlus;
    case SDLK_KP_MINUS: return KeyNumpadMinus;
    case SDLK_KP_PERIOD: return KeyNumpadPeriod;
    case SDLK_KP_DIVIDE: return KeyNumpadDivide;
    case SDLK_NUMLOCKCLEAR: return KeyNumLock;
    case SDLK_SCROLLLOCK: return KeyScrollLock;
    case SDLK_SEMICOLON: return KeySemicolon;
    case SDLK_EQUALS: return KeyEquals;
    case SDLK_COMMA: return KeyComma;
    case SDLK_MINUS: return KeyMinus;
    case SDLK_PERIOD: return KeyPeriod;
    case SDLK_SLASH: return KeySlash;
    case SDLK_BACKQUOTE: return KeyBackquote;
    case SDLK_LEFTBRACKET: return KeyLeftBracket;
    case SDLK_BACKSLASH: return KeyBackslash;
    case SDLK_RIGHTBRACKET: return KeyRightBracket;
    case SDLK_QUOTE: return KeyQuote;
    default: return 0;
    }
}

} // namespace Zorvin
