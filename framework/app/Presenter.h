#pragma once

// Presenter: puts the application's screen image on the monitor, scaled to
// the window or the full screen. platform/ implements it over an SDL
// renderer; tests use a fake. The result codes name what went wrong when
// the display cannot start.

#include "framework/core/Rect.h"

#include <cstdint>
#include <string>

namespace Zorvin {

enum DisplayResult {
    RESULT_OK = 0,
    RESULT_FAIL = 1,
    RESULT_DD_CREATE_FAIL = 2,
    RESULT_SURFACE_FAIL = 3,
    RESULT_EXCLUSIVE_FAIL = 4,
    RESULT_DISPCHANGE_FAIL = 5,
    RESULT_INVALID_COLORDEPTH = 6,
    RESULT_3D_FAIL = 7,
};

const char* DisplayResultName(int result);

class Presenter {
public:
    virtual ~Presenter() = default;

    // (Re)initialises the display for the current main window.
    virtual int Initialize(bool windowed, bool use3D) = 0;
    // Copies width x height ARGB pixels to the window; false when the
    // display was lost and must be initialised again.
    virtual bool Present(const uint32_t* pixels, int width, int height) = 0;
    // The same when only the count rectangles changed since the last frame
    // this presenter showed (none: show the last frame again). A presenter
    // that keeps the previous frame uploads just those parts.
    virtual bool PresentChanged(const uint32_t* pixels, int width, int height, const Rect* changed, int count)
    {
        (void)changed;
        (void)count;
        return Present(pixels, width, height);
    }
    // One display refresh period in milliseconds.
    virtual int GetRefreshPeriodMs() { return 10; }
    // Text describing the last failure.
    virtual std::string GetErrorText() { return std::string(); }
    // Whether the accelerated renderer is in use.
    virtual bool Is3D() { return false; }
    // Whether the acceleration test ran and recorded its own result.
    virtual bool Test3DDecided() { return false; }
};

} // namespace Zorvin
