#include "framework/graphics/BlendOps.h"

#include <atomic>

namespace Zorvin {

extern const BlendOps avx2BlendOps; // BlendOpsAvx2.cpp, compiled for AVX2

namespace {

struct SaturationTableHolder {
    uint8_t table[512];
    SaturationTableHolder()
    {
        for (int i = 0; i < 512; i++)
            table[i] = uint8_t(i < 255 ? i : 255);
    }
};

const SaturationTableHolder saturation;

inline uint32_t Ch(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

void OverOpaqueScalar(uint32_t* dst, const uint32_t* src, int n)
{
    for (int i = 0; i < n; i++) {
        uint32_t s = src[i];
        uint32_t a = s >> 24;
        if (a == 0)
            continue;
        if (a == 255) {
            dst[i] = s;
            continue;
        }
        uint32_t d = dst[i];
        uint32_t na = 256 - a;
        uint32_t r = (Ch(s, 16) * a + Ch(d, 16) * na) >> 8;
        uint32_t g = (Ch(s, 8) * a + Ch(d, 8) * na) >> 8;
        uint32_t b = (Ch(s, 0) * a + Ch(d, 0) * na) >> 8;
        dst[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

void OverOpaqueRectScalar(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h)
{
    for (int y = 0; y < h; y++)
        OverOpaqueScalar(dst + int64_t(y) * dstStride, src + int64_t(y) * srcStride, w);
}

void OverScalar(uint32_t* dst, const uint32_t* src, int n, uint32_t color)
{
    uint32_t ca = color >> 24, cr = Ch(color, 16), cg = Ch(color, 8), cb = Ch(color, 0);
    bool white = color == 0xFFFFFFFFu;
    for (int i = 0; i < n; i++) {
        uint32_t s = src[i];
        uint32_t u = white ? s >> 24 : ca * (s >> 24) / 255;
        if (u == 0)
            continue;
        uint32_t d = dst[i];
        uint32_t da = d >> 24;
        uint32_t A = da + (255 - da) * u / 255;
        uint32_t f = u * 256 / A;
        uint32_t nf = 256 - f;
        uint32_t sr = Ch(s, 16), sg = Ch(s, 8), sb = Ch(s, 0);
        if (!white) {
            sr = sr * cr / 255;
            sg = sg * cg / 255;
            sb = sb * cb / 255;
        }
        uint32_t r = (sr * f + Ch(d, 16) * nf) >> 8;
        uint32_t g = (sg * f + Ch(d, 8) * nf) >> 8;
        uint32_t b = (sb * f + Ch(d, 0) * nf) >> 8;
        dst[i] = (A << 24) | (r << 16) | (g << 8) | b;
    }
}

void OverRectScalar(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h, uint32_t color)
{
    for (int y = 0; y < h; y++)
        OverScalar(dst + int64_t(y) * dstStride, src + int64_t(y) * srcStride, w, color);
}

void AdditiveScalar(uint32_t* dst, const uint32_t* src, int n, uint32_t color, bool useAlpha)
{
    const uint8_t* sat = saturation.table;
    uint32_t ca = color >> 24, cr = Ch(color, 16), cg = Ch(color, 8), cb = Ch(color, 0);
    bool white = color == 0xFFFFFFFFu;
    for (int i = 0; i < n; i++) {
        uint32_t s = src[i];
        uint32_t sr = Ch(s, 16), sg = Ch(s, 8), sb = Ch(s, 0), sa = s >> 24;
        if (!white) {
            sr = sr * cr / 255;
            sg = sg * cg / 255;
            sb = sb * cb / 255;
            sa = sa * ca / 255;
        }
        if (useAlpha) {
            sr = sr * sa >> 8;
            sg = sg * sa >> 8;
            sb = sb * sa >> 8;
        }
        uint32_t d = dst[i];
        dst[i] = (d & 0xFF000000u) | (uint32_t(sat[Ch(d, 16) + sr]) << 16) | (uint32_t(sat[Ch(d, 8) + sg]) << 8) |
                 sat[Ch(d, 0) + sb];
    }
}

void FillScalar(uint32_t* dst, int n, uint32_t color)
{
    uint32_t sa = color >> 24, sr = Ch(color, 16), sg = Ch(color, 8), sb = Ch(color, 0);
    if (sa == 0)
        return;
    for (int i = 0; i < n; i++) {
        uint32_t d = dst[i];
        uint32_t da = d >> 24;
        uint32_t A = da + (255 - da) * sa / 255;
        uint32_t f = sa * 256 / A;
        uint32_t nf = 256 - f;
        uint32_t g = (sg * f + Ch(d, 8) * nf) >> 8;
        uint32_t b = ((Ch(d, 0) * nf) >> 8) + ((sb * f) >> 8);
        uint32_t r = ((Ch(d, 16) * nf) >> 8) + ((sr * f) >> 8);
        dst[i] = (A << 24) | (r << 16) | (g << 8) | b;
    }
}

const BlendOps scalarOps{OverOpaqueScalar, OverOpaqueRectScalar, OverScalar, OverRectScalar, AdditiveScalar, FillScalar, "scalar"};

} // namespace

const BlendOps& BlendOps::Scalar() { return scalarOps; }

const BlendOps* BlendOps::Avx2()
{
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &avx2BlendOps : nullptr;
}

namespace {
std::atomic<bool> referenceOnly{false};
} // namespace

void BlendOps::UseReference(bool on) { referenceOnly.store(on, std::memory_order_relaxed); }

const BlendOps& BlendOps::Get()
{
    static const BlendOps* best = Avx2() ? Avx2() : &scalarOps;
    return referenceOnly.load(std::memory_order_relaxed) ? scalarOps : *best;
}

const uint8_t* BlendOps::SaturationTable() { return saturation.table; }

} // namespace Zorvin
