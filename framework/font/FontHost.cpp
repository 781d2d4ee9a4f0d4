#include "framework/font/FontHost.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/MemoryImageLoader.h"

namespace Zorvin {

std::unique_ptr<MemoryImage> FontHost::LoadFontImage(const std::string& path)
{
    return LoadMemoryImage(path);
}

void FontHost::ReportFontError(const std::string& text)
{
    (void)text;
}

FontHost& FontHost::Default()
{
    static FontHost host;
    return host;
}

} // namespace Zorvin
