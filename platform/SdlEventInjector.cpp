#include "platform/SdlEventInjector.h"

#include "platform/Letterbox.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>

#include <cstring>

namespace Zorvin {

uint32_t SdlEventInjector::WindowId() const
{
    SDL_Window* window = windows.GetWindow();
    return window != nullptr ? SDL_GetWindowID(window) : 0;
}

void SdlEventInjector::LogicalToWindow(int lx, int ly, int& wx, int& wy) const
{
    Rect dest = windows.GetViewport();
    int lw = windows.GetLogicalWidth(), lh = windows.GetLogicalHeight();
    // The centre of the logical pixel, scaled the way the picture is; the
    // window system maps the centre of that window pixel back to (lx, ly).
    wx = dest.x + static_cast<int>((2LL * lx + 1) * dest.width / (2LL * lw));
    wy = dest.y + static_cast<int>((2LL * ly + 1) * dest.height / (2LL * lh));
}

bool SdlEventInjector::MouseMove(int lx, int ly, bool leftHeld)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = SDL_MOUSEMOTION;
    e.motion.timestamp = SDL_GetTicks();
    e.motion.windowID = WindowId();
    e.motion.which = 0;
    e.motion.state = leftHeld ? SDL_BUTTON_LMASK : 0;
    LogicalToWindow(lx, ly, e.motion.x, e.motion.y);
    return SDL_PushEvent(&e) == 1;
}

bool SdlEventInjector::MouseButton(int lx, int ly, int button, bool down)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.timestamp = SDL_GetTicks();
    e.button.windowID = WindowId();
    e.button.which = 0;
    e.button.button = static_cast<uint8_t>(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    LogicalToWindow(lx, ly, e.button.x, e.button.y);
    return SDL_PushEvent(&e) == 1;
}

bool SdlEventInjector::KeyEvent(Key key, bool down)
{
    SDL_Keycode keycode = key == Key::Escape ? SDLK_ESCAPE : key == Key::Return ? SDLK_RETURN : SDLK_BACKSPACE;
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.timestamp = SDL_GetTicks();
    e.key.windowID = WindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = keycode;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(keycode);
    e.key.keysym.mod = KMOD_NONE;
    return SDL_PushEvent(&e) == 1;
}

bool SdlEventInjector::Text(const std::string& utf8)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    if (utf8.size() >= sizeof(e.text.text))
        return false;
    e.type = SDL_TEXTINPUT;
    e.text.timestamp = SDL_GetTicks();
    e.text.windowID = WindowId();
    std::memcpy(e.text.text, utf8.data(), utf8.size());
    return SDL_PushEvent(&e) == 1;
}

int SdlEventInjector::Pending() const
{
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
}

} // namespace Zorvin
