#include "framework/app/FrameDiff.h"

#include <algorithm>
#include <cstring>

namespace Zorvin {

const std::vector<Rect>& FrameDiff::Compare(const uint32_t* pixels, int width, int height)
{
    changes.clear();
    if (pixels == nullptr || width <= 0 || height <= 0)
        return changes;
    size_t count = size_t(width) * size_t(height);
    if (!valid || width != lastWidth || height != lastHeight) {
        last.assign(pixels, pixels + count);
        lastWidth = width;
        lastHeight = height;
        valid = true;
        changes.push_back(Rect(0, 0, width, height));
        return changes;
    }
    Rect band;
    bool open = false;
    int lastChangedRow = -1;
    const size_t rowBytes = size_t(width) * 4;
    for (int y = 0; y < height; ++y) {
        const uint32_t* now = pixels + size_t(y) * width;
        uint32_t* before = last.data() + size_t(y) * width;
        if (std::memcmp(now, before, rowBytes) == 0)
            continue;
        int left = 0, right = width - 1;
        while (now[left] == before[left])
            ++left;
        while (now[right] == before[right])
            --right;
        std::memcpy(before + left, now + left, size_t(right - left + 1) * 4);
        if (open && y - lastChangedRow <= kJoinGap) {
            int x0 = std::min(band.x, left), x1 = std::max(band.Right(), right + 1);
            band = Rect(x0, band.y, x1 - x0, y + 1 - band.y);
        } else {
            if (open)
                changes.push_back(band);
            band = Rect(left, y, right - left + 1, 1);
            open = true;
        }
        lastChangedRow = y;
    }
    if (open)
        changes.push_back(band);
    if (int(changes.size()) > kMaxRects) {
        int x0 = width, x1 = 0;
        for (const Rect& r : changes)
            x0 = std::min(x0, r.x), x1 = std::max(x1, r.Right());
        Rect all(x0, changes.front().y, x1 - x0, changes.back().Bottom() - changes.front().y);
        changes.assign(1, all);
    }
    return changes;
}

} // namespace Zorvin
