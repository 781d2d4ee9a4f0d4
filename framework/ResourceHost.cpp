#include "framework/ResourceHost.h"

#include "framework/ImageLib.h"
#include "framework/MemoryImage.h"

namespace Zorvin {

namespace {

std::unique_ptr<MemoryImage> LoadImageFile(const std::string& path, uint32_t alphaColor)
{
    std::unique_ptr<ImageLib::Image> picture = ImageLib::GetImage(path, true, alphaColor);
    if (!picture)
        return nullptr;
    auto image = std::make_unique<MemoryImage>();
    image->SetBits(picture->bits.data(), picture->width, picture->height, true);
    return image;
}

} // namespace

SharedImageRef FileResourceHost::GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                                uint32_t alphaColor)
{
    return sharedImages.Get(file, variant, created,
                            [alphaColor](const std::string& f) { return LoadImageFile(f, alphaColor); });
}

std::unique_ptr<MemoryImage> FileResourceHost::LoadDisplayImage(const std::string& path)
{
    return LoadImageFile(path, ImageLib::kDefaultAlphaOnlyColor);
}

} // namespace Zorvin
