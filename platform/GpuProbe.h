#pragma once

// GpuProbe: answers, without loading any graphics library, whether this
// machine can render with a graphics processor at all, and tells a software
// rasterizer (Mesa's llvmpipe and the like) from real hardware by the name
// its driver gives. SdlPresenter asks it before trusting an accelerated
// renderer: a rasterizer on the processor is slower than our own software
// path and costs some 70 MB of libraries. Stateless; nobody owns it.

#include <string>

namespace Zorvin {

class GpuProbe {
public:
    // Empty when a graphics processor may be present; otherwise why
    // rendering here can only be done in software. videoDriver is SDL's
    // current video driver; deviceFolder is where the kernel lists devices.
    static std::string SoftwareOnlyReason(const std::string& videoDriver, const std::string& deviceFolder = "/dev");
    // Whether a renderer name (GL_RENDERER and the like) is a rasterizer
    // running on the processor.
    static bool IsSoftwareRasterizer(const std::string& rendererName);
};

} // namespace Zorvin
