#include "framework/graphics/SampleOps.h"

#include <atomic>

#include "framework/graphics/PixelMath.h"

#include <algorithm>

namespace Zorvin {

extern const SampleOps avx2SampleOps;

namespace {

struct UnpremultiplyFactors {
    uint32_t k[256];
    constexpr UnpremultiplyFactors() : k()
    {
        for (uint32_t a = 1; a < 256; a++)
            k[a] = (255u * 65536u + a / 2) / a;
    }
};
constexpr UnpremultiplyFactors kUnpremultiply;

} // namespace

const uint32_t* PixelMath::UnpremultiplyTable()
{
    return kUnpremultiply.k;
}

namespace {

using PixelMath::Lerp;
using PixelMath::Premultiply;
using PixelMath::Unpremultiply;

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

namespace {
std::atomic<bool> referenceOnly{false};
} // namespace

void SampleOps::UseReference(bool on) { referenceOnly.store(on, std::memory_order_relaxed); }

const SampleOps& SampleOps::Get()
{
    static const SampleOps* best = Avx2() ? Avx2() : &scalarSampleOps;
    return referenceOnly.load(std::memory_order_relaxed) ? scalarSampleOps : *best;
}

const uint32_t* SampleOps::UnpremultiplyTable() { return PixelMath::UnpremultiplyTable(); }

// The vector kernel handles what fits its 32-bit lanes and leaves the rest
// of a row to the reference.
void SampleRowRest(uint32_t* out, int n, const SampleSource& src, int64_t fx, int64_t fy, int64_t stepX,
                   int64_t stepY)
{
    BilinearRowScalar(out, n, src, fx, fy, stepX, stepY);
}

} // namespace Zorvin
