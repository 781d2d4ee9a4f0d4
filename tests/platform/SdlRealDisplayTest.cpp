// The window system on a real X display (a private Xvfb, with no window
// manager), where what SDL believes about a window and what the display
// shows can part.

#include "platform/Letterbox.h"
#include "platform/SdlWindowSystem.h"
#include "tests/platform/XvfbServer.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/wait.h>
#include <unistd.h>

// Last: Xlib's macros (None, Bool) would clash with the test framework.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

// What the display shows of the full-screen window and what the window
// system uses, measured in a process of its own: SDL's X11 driver keeps the
// desktop's message bus open for the rest of the process, which the leak
// checker would count against this one.
struct FullScreenFindings {
    int shownWidth = 0, shownHeight = 0;
    Rect viewport;
    int surfaceWidth = 0, surfaceHeight = 0;
    bool ok = false;
};

FullScreenFindings MeasureFullScreen(const std::string& display)
{
    FullScreenFindings found;
    int fds[2];
    if (::pipe(fds) != 0)
        return found;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("DISPLAY", display.c_str(), 1);
        ::setenv("SDL_VIDEODRIVER", "x11", 1);
        FullScreenFindings f;
        auto windows = SdlWindowSystem::Open();
        WindowSpec spec;
        spec.title = "Korvelt";
        spec.width = 800;
        spec.height = 600;
        spec.windowed = false;
        if (windows && windows->CreateMainWindow(spec)) {
            windows->ShowMainWindow(true);
            SDL_PumpEvents();
            SDL_SysWMinfo info;
            SDL_VERSION(&info.version);
            XWindowAttributes shown{};
            SDL_Surface* surface = SDL_GetWindowSurface(windows->GetWindow());
            if (SDL_GetWindowWMInfo(windows->GetWindow(), &info) &&
                XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &shown) != 0 && surface != nullptr) {
                f = {shown.width, shown.height, windows->GetViewport(), surface->w, surface->h, true};
            }
        }
        ssize_t written = ::write(fds[1], &f, sizeof f);
        ::_exit(written == static_cast<ssize_t>(sizeof f) ? 0 : 1);
    }
    ::close(fds[1]);
    if (pid > 0 && ::read(fds[0], &found, sizeof found) != static_cast<ssize_t>(sizeof found))
        found.ok = false;
    ::close(fds[0]);
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
    return found;
}

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
    FullScreenFindings found = MeasureFullScreen(x.Display());
    ASSERT_TRUE(found.ok);
    EXPECT_EQ(found.shownWidth, 1024);
    EXPECT_EQ(found.shownHeight, 768);
    EXPECT_EQ(found.viewport, Letterbox::Fit(found.shownWidth, found.shownHeight, 800, 600));
    EXPECT_EQ(found.surfaceWidth, found.shownWidth);
    EXPECT_EQ(found.surfaceHeight, found.shownHeight);
}
