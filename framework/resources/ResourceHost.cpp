#include "framework/resources/ResourceHost.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/MemoryImageLoader.h"

namespace Zorvin {

SharedImageRef FileResourceHost::GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                                uint32_t alphaColor)
{
    return sharedImages.Get(file, variant, created,
                            [alphaColor](const std::string& f) { return LoadMemoryImage(f, true, alphaColor); });
}

std::unique_ptr<MemoryImage> FileResourceHost::LoadDisplayImage(const std::string& path)
{
    return LoadMemoryImage(path);
}

} // namespace Zorvin
