#include "platform/GpuProbe.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace Zorvin {

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EnvironmentForcesSoftware()
{
    // Mesa's own switches: all rendering on the processor.
    const char* always = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (always != nullptr && *always != '\0' && std::string(always) != "0" && Lower(always) != "false")
        return true;
    const char* gallium = std::getenv("GALLIUM_DRIVER");
    return gallium != nullptr && GpuProbe::IsSoftwareRasterizer(gallium);
}

// A render node (Mesa and the open drivers) or an NVIDIA device node: the
// kernel shows one for every graphics processor a program may draw with.
bool HasGraphicsDevice(const std::string& deviceFolder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(fs::path(deviceFolder) / "nvidiactl", ec))
        return true;
    fs::directory_iterator it(fs::path(deviceFolder) / "dri", ec);
    if (ec)
        return false;
    for (const fs::directory_entry& entry : it) {
        std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) == 0 || name.rfind("card", 0) == 0)
            return true;
    }
    return false;
}

} // namespace

std::string GpuProbe::SoftwareOnlyReason(const std::string& videoDriver, const std::string& deviceFolder)
{
    if (videoDriver == "dummy" || videoDriver == "offscreen")
        return "No display to accelerate (video driver " + videoDriver + ").";
    if (EnvironmentForcesSoftware())
        return "Software rendering forced by LIBGL_ALWAYS_SOFTWARE or GALLIUM_DRIVER.";
#ifdef __linux__
    if (!HasGraphicsDevice(deviceFolder))
        return "No graphics processor (no device in " + deviceFolder + "/dri).";
#else
    (void)deviceFolder;
#endif
    return std::string();
}

bool GpuProbe::IsSoftwareRasterizer(const std::string& rendererName)
{
    static const char* const names[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swr ",
                                        "mesa x11", "lavapipe", "gdi generic", "basic render driver",
                                        "apple software renderer", "swiftshader"};
    std::string name = Lower(rendererName) + " ";
    for (const char* n : names) {
        if (name.find(n) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace Zorvin
