#include "bench/BlendFloor.h"

#include <algorithm>

#include "framework/graphics/BlendOps.h"

namespace Zorvin {

BlendFloor::BlendFloor(const std::vector<DrawRequest>& requests) : screen(800 * 600, 0xFF203040u)
{
    std::vector<uint32_t> row;
    for (const DrawRequest& r : requests) {
        int64_t area = r.Area();
        if (area <= 0)
            continue;
        if (r.src == nullptr) {
            uint32_t c = r.kind == DrawRequest::Clear ? 0xFF000000u : r.color.ToIntClamped();
            source.insert(source.end(), size_t(area), c);
            continue;
        }
        // The source rectangle's rows, repeated until the area is filled.
        Rect sr = r.srcRect.Intersection(Rect(0, 0, r.src->width, r.src->height));
        if (sr.IsEmpty())
            continue;
        row.resize(size_t(sr.width));
        for (int64_t done = 0, y = 0; done < area; y = (y + 1) % sr.height) {
            r.src->FetchRow(sr.x, sr.y + int(y), sr.width, row.data());
            int64_t n = std::min<int64_t>(sr.width, area - done);
            source.insert(source.end(), row.begin(), row.begin() + n);
            done += n;
        }
    }
}

void BlendFloor::Blend()
{
    const BlendOps& ops = BlendOps::Get();
    const size_t chunk = screen.size();
    for (size_t done = 0; done < source.size(); done += chunk)
        ops.overOpaque(screen.data(), source.data() + done, int(std::min(chunk, source.size() - done)));
}

} // namespace Zorvin
