// The window system on a real X display (a private Xvfb, with no window
// manager), where what SDL believes about a window and what the display
// shows can part.

#include "platform/Letterbox.h"
#include "platform/SdlWindowSystem.h"
#include "tests/platform/XvfbServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// Last: Xlib's macros (None, Bool) would clash with the test framework.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// Points SDL at the X display for the life of the object.
class UseDisplay {
public:
    explicit UseDisplay(const std::string& display)
    {
        for (const char* name : {"DISPLAY", "SDL_VIDEODRIVER"})
            if (const char* value = std::getenv(name))
                saved.emplace_back(name, value);
        ::setenv("DISPLAY", display.c_str(), 1);
        ::setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    ~UseDisplay()
    {
        ::unsetenv("DISPLAY");
        ::unsetenv("SDL_VIDEODRIVER");
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> saved;
};

} // namespace

// Without a window manager nobody grants the full-screen request: the
// window must still cover the screen, and the picture and the pointer must
// use the size the display really gave it, so every point of the logical
// screen (the title's start link at the bottom) can be reached.
TEST(SdlRealDisplay, FullScreenWithoutAWindowManagerCoversTheScreen)
{
    XvfbServer x;
    if (!x.Started())
        GTEST_SKIP() << "no Xvfb";
    UseDisplay use(x.Display());
    std::string error;
    auto windows = SdlWindowSystem::Open(&error);
    ASSERT_NE(windows, nullptr) << error;
    WindowSpec spec;
    spec.title = "Korvelt";
    spec.width = 800;
    spec.height = 600;
    spec.windowed = false;
    ASSERT_TRUE(windows->CreateMainWindow(spec));
    windows->ShowMainWindow(true);
    SDL_PumpEvents();

    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(windows->GetWindow(), &info));
    XWindowAttributes shown{};
    ASSERT_NE(XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &shown), 0);
    EXPECT_EQ(shown.width, 1024);
    EXPECT_EQ(shown.height, 768);
    EXPECT_EQ(windows->GetViewport(), Letterbox::Fit(shown.width, shown.height, 800, 600));
    SDL_Surface* surface = SDL_GetWindowSurface(windows->GetWindow());
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->w, shown.width);
    EXPECT_EQ(surface->h, shown.height);
}
