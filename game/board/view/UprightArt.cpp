#include "game/board/view/UprightArt.h"

#include <algorithm>

namespace Zorvin {

namespace {

// Maps a coordinate of a length-`to` axis onto a length-`from` axis, keeping
// `margin` pixels at both ends unscaled and scaling the middle.
int MapAxis(int v, int to, int from, int margin)
{
    if (v < margin)
        return v;
    if (v >= to - margin)
        return from - (to - v);
    int inner = to - 2 * margin, innerFrom = from - 2 * margin;
    if (inner <= 0 || innerFrom <= 0)
        return std::min(v, from - 1);
    return margin + (v - margin) * innerFrom / inner;
}

} // namespace

std::unique_ptr<MemoryImage> UprightArt::Make(Image* lying, int w, int h, int margin, bool transposeBody)
{
    MemoryImage* src = lying ? lying->AsMemoryImage() : nullptr;
    if (!src || w <= 2 * margin || h <= 2 * margin)
        return nullptr;
    const uint32_t* in = src->GetBits();
    int sw = src->GetWidth(), sh = src->GetHeight();
    if (!in || sw <= 2 * margin || sh <= 2 * margin)
        return nullptr;
    auto out = std::make_unique<MemoryImage>(w, h);
    uint32_t* px = out->GetBits();
    if (!px)
        return nullptr;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            px[y * w + x] = in[MapAxis(y, h, sh, margin) * sw + MapAxis(x, w, sw, margin)];
    }
    if (transposeBody) {
        // Lying inside: x 9..83, y 3..47; standing inside: x 9..43, y 3..97.
        const int lead = kFaceLead + 3, bevel = 3;
        int srcW = 80 - 2 * bevel, srcH = 50 - 2 * bevel;
        int dstW = 40 - 2 * bevel, dstH = 100 - 2 * bevel;
        for (int y = 0; y < dstH && bevel + y < h; ++y) {
            for (int x = 0; x < dstW && lead + x < w; ++x) {
                int sx = lead + y * srcW / dstH, sy = bevel + x * srcH / dstW;
                if (sx < sw && sy < sh)
                    px[(bevel + y) * w + lead + x] = in[sy * sw + sx];
            }
        }
    }
    out->BitsChanged();
    out->CommitBits();
    return out;
}

Image* UprightArt::Face(Image* lying)
{
    if (!lying)
        return nullptr;
    auto it = faces.find(lying);
    if (it == faces.end()) {
        // 80 x 50 body -> 40 x 100, edges (left 6, bottom 8) kept.
        int w = lying->GetWidth() - 40, h = lying->GetHeight() + 50;
        it = faces.emplace(lying, Make(lying, w, h, 10, true)).first;
    }
    return it->second ? static_cast<Image*>(it->second.get()) : lying;
}

Image* UprightArt::Shadow(Image* lying)
{
    if (!lying)
        return nullptr;
    auto it = shadows.find(lying);
    if (it == shadows.end()) {
        int w = lying->GetWidth() - 40, h = lying->GetHeight() + 50;
        it = shadows.emplace(lying, Make(lying, w, h, 10, false)).first;
    }
    return it->second ? static_cast<Image*>(it->second.get()) : lying;
}

} // namespace Zorvin
