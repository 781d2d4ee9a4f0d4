#include "tools/assetgen/Painters.h"

namespace Zorvin::AssetGen {

std::vector<PainterEntry>& PainterTable()
{
    static std::vector<PainterEntry> table;
    return table;
}

const Painter* FindPainter(const std::string& id)
{
    for (const PainterEntry& e : PainterTable())
        if (e.id == id) return &e.paint;
    return nullptr;
}

std::vector<ExtraImage>& ExtraImages()
{
    static std::vector<ExtraImage> extras;
    return extras;
}

Canvas PaintImage(const std::string& id)
{
    const ImageEntry* e = FindImage(id);
    const Painter* p = FindPainter(id);
    if (!e || !p) return Canvas();
    return (*p)(e->width, e->height);
}

} // namespace Zorvin::AssetGen
