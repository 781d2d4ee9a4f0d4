// Feeds arbitrary bytes to the resource manager as a manifest and checks
// that parsing ends with either success or one recorded error, and that
// every record it kept has a path and a non-degenerate cel grid.

#include "framework/resources/ResourceManager.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResourceManager manager;
    manager.is3D = size > 0 && (data[0] & 1);
    bool ok = manager.ParseManifestText("fuzz.xml", std::string(reinterpret_cast<const char*>(data), size));
    if (ok == manager.HadError() || ok != manager.GetErrorText().empty())
        std::abort();
    for (const auto* map : {&manager.GetImageMap(), &manager.GetSoundMap(), &manager.GetFontMap()})
        for (const auto& [id, res] : *map)
            if (res->path.empty())
                std::abort();
    for (const auto& [id, res] : manager.GetImageMap()) {
        const auto& image = static_cast<const ResourceManager::ImageRes&>(*res);
        if (image.rows < 1 || image.cols < 1 || image.anim.frameDelay < 1)
            std::abort();
    }
    int total = manager.GetNumResources("");
    if (total != static_cast<int>(manager.GetImageMap().size() + manager.GetSoundMap().size() + manager.GetFontMap().size()))
        std::abort();
    return 0;
}
