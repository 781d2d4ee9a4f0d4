#include "framework/graphics/imagefile/MemoryImageLoader.h"

#include "framework/graphics/MemoryImage.h"

namespace Zorvin {

std::unique_ptr<MemoryImage> ToMemoryImage(const ImageLib::Image& picture)
{
    auto image = std::make_unique<MemoryImage>();
    image->SetBits(picture.bits.data(), picture.width, picture.height);
    return image;
}

std::unique_ptr<MemoryImage> LoadMemoryImage(const std::string& fileName, bool lookForAlpha, uint32_t alphaOnlyColor)
{
    std::unique_ptr<ImageLib::Image> picture = ImageLib::GetImage(fileName, lookForAlpha, alphaOnlyColor);
    if (!picture)
        return nullptr;
    return ToMemoryImage(*picture);
}

} // namespace Zorvin
