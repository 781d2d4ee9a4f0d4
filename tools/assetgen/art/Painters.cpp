#include "tools/assetgen/art/Painters.h"

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
    // Pictures are painted once: screens that show tiles or values reuse
    // the catalogue's own pictures.
    static std::vector<std::pair<std::string, Canvas>> cache;
    for (const auto& c : cache)
        if (c.first == id) return c.second;
    const ImageEntry* e = FindImage(id);
    const Painter* p = FindPainter(id);
    if (!e || !p) return Canvas();
    cache.emplace_back(id, (*p)(e->width, e->height));
    return cache.back().second;
}

} // namespace Zorvin::AssetGen
