#include "framework/graphics/SampleOps.h"

#include <algorithm>

namespace Zorvin {

extern const SampleOps avx2SampleOps;

namespace {

struct Reciprocals {
    uint32_t k[256];
    Reciprocals()
    {
        k[0] = 0;
        for (uint32_t a = 1; a < 256; a++)
            k[a] = (255u * 65536u + a / 2) / a;
    }
};
const Reciprocals reciprocals;

// Two channels per multiply: the masks keep the halves apart.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t w)
{
    uint32_t rb = (((a & 0xFF00FF) * (256 - w) + (b & 0xFF00FF) * w) >> 8) & 0xFF00FF;
    uint32_t ag = (((a >> 8) & 0xFF00FF) * (256 - w) + ((b >> 8) & 0xFF00FF) * w) & 0xFF00FF00;
    return rb | ag;
}

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

inline uint32_t Unpremultiply(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255 || a == 0)
        return a == 0 ? 0 : p;
    uint32_t k = reciprocals.k[a];
    uint32_t r = std::min(255u, (((p >> 16) & 0xFF) * k + 32768) >> 16);
    uint32_t g = std::min(255u, (((p >> 8) & 0xFF) * k + 32768) >> 16);
    uint32_t b = std::min(255u, ((p & 0xFF) * k + 32768) >> 16);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

inline uint32_t Texel(const SampleSource& s, int x, int y)
{
    return s.rect.Contains(x, y) ? s.bits[int64_t(y) * s.stride + x] : 0;
}

uint32_t Bilinear(const SampleSource& s, int64_t fx, int64_t fy)
{
    int x0 = int(fx >> 16), y0 = int(fy >> 16);
    uint32_t wx = uint32_t(fx >> 8) & 0xFF, wy = uint32_t(fy >> 8) & 0xFF;
    uint32_t t00, t10, t01, t11;
    const Rect& r = s.rect;
    if (x0 >= r.x && y0 >= r.y && x0 + 1 < r.x + r.width && y0 + 1 < r.y + r.height) {
        const uint32_t* p = s.bits + int64_t(y0) * s.stride + x0;
        t00 = p[0], t10 = p[1], t01 = p[s.stride], t11 = p[s.stride + 1];
    } else {
        t00 = Texel(s, x0, y0), t10 = Texel(s, x0 + 1, y0), t01 = Texel(s, x0, y0 + 1), t11 = Texel(s, x0 + 1, y0 + 1);
    }
    // Opaque and empty neighbourhoods skip the premultiplied detour; the
    // results are the same.
    if (((t00 & t10 & t01 & t11) >> 24) == 255)
        return Lerp(Lerp(t00, t10, wx), Lerp(t01, t11, wx), wy);
    if (((t00 | t10 | t01 | t11) >> 24) == 0)
        return 0;
    return Unpremultiply(
        Lerp(Lerp(Premultiply(t00), Premultiply(t10), wx), Lerp(Premultiply(t01), Premultiply(t11), wx), wy));
}

void BilinearRowScalar(uint32_t* out, int n, const SampleSource& src, int64_t fx, int64_t fy, int64_t stepX,
                       int64_t stepY)
{
    for (int k = 0; k < n; k++, fx += stepX, fy += stepY)
        out[k] = Bilinear(src, fx, fy);
}

const SampleOps scalarSampleOps{BilinearRowScalar, "scalar"};

} // namespace

const SampleOps& SampleOps::Scalar() { return scalarSampleOps; }

const SampleOps* SampleOps::Avx2()
{
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &avx2SampleOps : nullptr;
}

const SampleOps& SampleOps::Get()
{
    static const SampleOps* best = Avx2() ? Avx2() : &scalarSampleOps;
    return *best;
}

const uint32_t* SampleOps::UnpremultiplyTable() { return reciprocals.k; }

// The vector kernel handles what fits its 32-bit lanes and leaves the rest
// of a row to the reference.
void SampleRowRest(uint32_t* out, int n, const SampleSource& src, int64_t fx, int64_t fy, int64_t stepX,
                   int64_t stepY)
{
    BilinearRowScalar(out, n, src, fx, fy, stepX, stepY);
}

} // namespace Zorvin
