#pragma once

// PixelMath: the per-pixel arithmetic of the resampling blits, in one place
// so the scalar reference kernel and the image's own transforms compute the
// very same bytes. Pixels are packed 0xAARRGGBB.

#include <algorithm>
#include <cstdint>

namespace Zorvin::PixelMath {

// Linear mix of two packed pixels, w = 0 .. 256 toward b; two channels per
// multiply, the masks keep the halves apart.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t w)
{
    uint32_t rb = (((a & 0xFF00FF) * (256 - w) + (b & 0xFF00FF) * w) >> 8) & 0xFF00FF;
    uint32_t ag = (((a >> 8) & 0xFF00FF) * (256 - w) + ((b >> 8) & 0xFF00FF) * w) & 0xFF00FF00;
    return rb | ag;
}

// c' = round(c * a / 255), alpha kept.
inline uint32_t Premultiply(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255)
        return p;
    uint32_t rb = (p & 0xFF00FF) * a + 0x800080;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    uint32_t g = ((p >> 8) & 0xFF) * a + 0x80;
    g = ((g + (g >> 8)) >> 8) & 0xFF;
    return (a << 24) | rb | (g << 8);
}

// k = (255 * 65536 + a / 2) / a for each alpha (0 for a = 0).
const uint32_t* UnpremultiplyTable();

// c = min(255, (c' * k + 32768) >> 16).
inline uint32_t Unpremultiply(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255 || a == 0)
        return a == 0 ? 0 : p;
    uint32_t k = UnpremultiplyTable()[a];
    uint32_t r = std::min(255u, (((p >> 16) & 0xFF) * k + 32768) >> 16);
    uint32_t g = std::min(255u, (((p >> 8) & 0xFF) * k + 32768) >> 16);
    uint32_t b = std::min(255u, ((p & 0xFF) * k + 32768) >> 16);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

} // namespace Zorvin::PixelMath
