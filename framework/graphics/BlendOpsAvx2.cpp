// AVX2 versions of the blending kernels: eight pixels per step, the same
// integer arithmetic as the scalar reference (exact divisions by 255 via
// (x + 1 + (x >> 8)) >> 8, and u * 256 / A via a float division, which is exact
// for these small operands). Only this file is compiled for AVX2 (-mavx2 set
// on it alone in CMakeLists.txt, which gcc and clang both honour); BlendOps
// hands its kernels out when the processor has it.

#include "framework/graphics/BlendOps.h"

#include "framework/graphics/Avx2Pixels.h"

#include <immintrin.h>

#include <type_traits>

namespace Zorvin {

namespace {

using namespace Avx2Pixels;

// Lanes 0 .. n - 1 set, for the last partial vector of a row.
inline __m256i TailMask(int n)
{
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Runs body(s, d) -> result over the row eight pixels at a time; the last
// partial vector goes through masked loads and stores, so no pixel past the
// row is read or written. The lanes past the row read as transparent source
// over an opaque black destination: every kernel works lane by lane, and an
// opaque destination row keeps its opaque shortcut in its last pixels too.
// With WideTail the caller vouches that eight pixels from the start of the
// last vector lie inside both images (a block row with another row below
// it): the tail is then loaded whole and stored whole, the pixels past the
// row written back as they were, which is much cheaper than a masked store.
template <bool WideTail = false, typename Body>
inline void ForEachVector(uint32_t* dst, const uint32_t* src, int n, const Body& body)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), body(s, d));
    }
    if (i < n) {
        __m256i m = TailMask(n - i);
        const __m256i opaqueBlack = _mm256_set1_epi32(int(0xFF000000u));
        if constexpr (WideTail) {
            __m256i s = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)), m);
            __m256i d0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
            __m256i d = _mm256_blendv_epi8(opaqueBlack, d0, m);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(d0, body(s, d), m));
        } else {
            __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i), m);
            __m256i d = _mm256_or_si256(_mm256_maskload_epi32(reinterpret_cast<const int*>(dst + i), m),
                                        _mm256_andnot_si256(m, opaqueBlack));
            _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + i), m, body(s, d));
        }
    }
}

// Rows of a w x h block through kernel<WideTail>: every row but the last has
// the next row after it in both images, so its tail may be loaded whole.
template <typename Row>
inline void ForEachBlockRow(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h, Row row)
{
    bool wide = (w & 7) != 0 && dstStride >= 8 && srcStride >= 8;
    for (int y = 0; y < h; y++) {
        uint32_t* d = dst + int64_t(y) * dstStride;
        const uint32_t* s = src + int64_t(y) * srcStride;
        if (wide && y + 1 < h)
            row(d, s, std::true_type{});
        else
            row(d, s, std::false_type{});
    }
}

// x / 255 for 16-bit lanes holding at most 255 * 255.
inline __m256i Div255Epi16(__m256i x)
{
    __m256i one = _mm256_set1_epi16(1);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(x, one), _mm256_srli_epi16(x, 8)), 8);
}

inline __m256i Div255Epi32(__m256i x)
{
    __m256i one = _mm256_set1_epi32(1);
    return _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(x, one), _mm256_srli_epi32(x, 8)), 8);
}

// Colour multipliers in pixel byte order (blue, green, red, alpha) as words.
inline __m256i TintWords(uint32_t color)
{
    return _mm256_set1_epi64x(int64_t((uint64_t(color >> 24) << 48) | (uint64_t((color >> 16) & 0xFF) << 32) |
                                      (uint64_t((color >> 8) & 0xFF) << 16) | uint64_t(color & 0xFF)));
}

// The over-an-opaque-destination kernel, eight pixels at a time.
inline auto OverOpaqueBody()
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255 = _mm256_set1_epi32(255);
    const __m256i c256 = _mm256_set1_epi16(256);
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    return [=](__m256i s, __m256i d) {
        if (_mm256_testz_si256(s, alphaMask))
            return d; // all transparent
        if (_mm256_testc_si256(s, alphaMask))
            return s; // all opaque
        __m256i a32 = _mm256_srli_epi32(s, 24);
        __m256i transparent = _mm256_cmpeq_epi32(a32, zero);
        __m256i opaque = _mm256_cmpeq_epi32(a32, c255);
        __m256i alo = AlphaLo(s), ahi = AlphaHi(s);
        __m256i slo = _mm256_unpacklo_epi8(s, zero), shi = _mm256_unpackhi_epi8(s, zero);
        __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
        __m256i rlo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(slo, alo), _mm256_mullo_epi16(dlo, _mm256_sub_epi16(c256, alo))), 8);
        __m256i rhi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(shi, ahi), _mm256_mullo_epi16(dhi, _mm256_sub_epi16(c256, ahi))), 8);
        __m256i r = _mm256_or_si256(_mm256_packus_epi16(rlo, rhi), alphaMask);
        r = _mm256_blendv_epi8(r, s, opaque);
        return _mm256_blendv_epi8(r, d, transparent);
    };
}

void OverOpaqueAvx2(uint32_t* dst, const uint32_t* src, int n) { ForEachVector(dst, src, n, OverOpaqueBody()); }

void OverOpaqueRectAvx2(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h)
{
    auto body = OverOpaqueBody();
    ForEachBlockRow(dst, dstStride, src, srcStride, w, h, [w, &body](uint32_t* d, const uint32_t* s, auto wide) {
        ForEachVector<decltype(wide)::value>(d, s, w, body);
    });
}

// OverAvx2 for eight pixels whose destinations are all opaque. There A stays
// 255 and f = u * 256 / 255 is u, or 256 for u = 255, so the whole pixel is
// worked in 16-bit lanes without the division; u = 0 gives f = 0, which keeps
// the destination as the reference's skip does. Word 3 of the tinted source
// is sa * ca / 255, which is u itself. Under opaque black (most text) the
// tinted source is (0, 0, 0, sa): only the destination's share is left.
inline __m256i OverOpaqueDestAvx2(__m256i s, __m256i d, bool white, bool opaqueBlack, __m256i tint)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255w = _mm256_set1_epi16(255);
    const __m256i c256w = _mm256_set1_epi16(256);
    const __m256i alphaWords = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6,
                                                7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
    __m256i slo = _mm256_unpacklo_epi8(s, zero), shi = _mm256_unpackhi_epi8(s, zero);
    if (!white && !opaqueBlack) {
        slo = Div255Epi16(_mm256_mullo_epi16(slo, tint));
        shi = Div255Epi16(_mm256_mullo_epi16(shi, tint));
    }
    __m256i flo = _mm256_shuffle_epi8(slo, alphaWords), fhi = _mm256_shuffle_epi8(shi, alphaWords);
    flo = _mm256_sub_epi16(flo, _mm256_cmpeq_epi16(flo, c255w));
    fhi = _mm256_sub_epi16(fhi, _mm256_cmpeq_epi16(fhi, c255w));
    __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
    __m256i rlo, rhi;
    if (opaqueBlack) {
        rlo = _mm256_srli_epi16(_mm256_mullo_epi16(dlo, _mm256_sub_epi16(c256w, flo)), 8);
        rhi = _mm256_srli_epi16(_mm256_mullo_epi16(dhi, _mm256_sub_epi16(c256w, fhi)), 8);
    } else {
        rlo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(slo, flo), _mm256_mullo_epi16(dlo, _mm256_sub_epi16(c256w, flo))), 8);
        rhi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(shi, fhi), _mm256_mullo_epi16(dhi, _mm256_sub_epi16(c256w, fhi))), 8);
    }
    return _mm256_or_si256(_mm256_packus_epi16(rlo, rhi), _mm256_set1_epi32(int(0xFF000000u)));
}

// The over kernel for one colour, eight pixels at a time; its constants are
// set up once per call, not once per row of a block.
inline auto OverBody(uint32_t color)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i c255 = _mm256_set1_epi32(255);
    const __m256i c256w = _mm256_set1_epi16(256);
    const __m256i rgbMask = _mm256_set1_epi32(0x00FFFFFF);
    const bool white = color == 0xFFFFFFFFu;
    const bool opaqueBlack = color == 0xFF000000u;
    const __m256i ca = _mm256_set1_epi32(int(color >> 24));
    const __m256i tint = TintWords(color);
    return [=](__m256i s, __m256i d) {
        if (_mm256_testz_si256(s, alphaMask))
            return d; // all transparent: u = 0 everywhere
        if (_mm256_testc_si256(d, alphaMask))
            return OverOpaqueDestAvx2(s, d, white, opaqueBlack, tint);
        __m256i sa = _mm256_srli_epi32(s, 24);
        __m256i u = white ? sa : Div255Epi32(_mm256_mullo_epi32(sa, ca));
        __m256i none = _mm256_cmpeq_epi32(u, zero);
        if (_mm256_movemask_epi8(none) == -1)
            return d;
        __m256i da = _mm256_srli_epi32(d, 24);
        __m256i A = _mm256_add_epi32(da, Div255Epi32(_mm256_mullo_epi32(_mm256_sub_epi32(c255, da), u)));
        A = _mm256_max_epi32(A, one);
        __m256i f = _mm256_cvttps_epi32(
            _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_slli_epi32(u, 8)), _mm256_cvtepi32_ps(A)));
        __m256i flo, fhi;
        Spread(f, flo, fhi);
        __m256i slo = _mm256_unpacklo_epi8(s, zero), shi = _mm256_unpackhi_epi8(s, zero);
        if (!white) {
            slo = Div255Epi16(_mm256_mullo_epi16(slo, tint));
            shi = Div255Epi16(_mm256_mullo_epi16(shi, tint));
        }
        __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
        __m256i rlo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(slo, flo), _mm256_mullo_epi16(dlo, _mm256_sub_epi16(c256w, flo))), 8);
        __m256i rhi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(shi, fhi), _mm256_mullo_epi16(dhi, _mm256_sub_epi16(c256w, fhi))), 8);
        __m256i r = _mm256_packus_epi16(rlo, rhi);
        r = _mm256_or_si256(_mm256_and_si256(r, rgbMask), _mm256_slli_epi32(A, 24));
        return _mm256_blendv_epi8(r, d, none);
    };
}

void OverAvx2(uint32_t* dst, const uint32_t* src, int n, uint32_t color) { ForEachVector(dst, src, n, OverBody(color)); }

void OverRectAvx2(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h, uint32_t color)
{
    auto body = OverBody(color);
    ForEachBlockRow(dst, dstStride, src, srcStride, w, h, [w, &body](uint32_t* d, const uint32_t* s, auto wide) {
        ForEachVector<decltype(wide)::value>(d, s, w, body);
    });
}

void AdditiveAvx2(uint32_t* dst, const uint32_t* src, int n, uint32_t color, bool useAlpha)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i rgbMask = _mm256_set1_epi32(0x00FFFFFF);
    const bool white = color == 0xFFFFFFFFu;
    const __m256i tint = TintWords(color);
    // The (tinted) alpha sits in word 3 of each pixel.
    const __m256i alphaWords = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6,
                                                7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
    ForEachVector(dst, src, n, [&](__m256i s, __m256i d) {
        __m256i add = s;
        if (!white || useAlpha) {
            __m256i slo = _mm256_unpacklo_epi8(s, zero), shi = _mm256_unpackhi_epi8(s, zero);
            if (!white) {
                slo = Div255Epi16(_mm256_mullo_epi16(slo, tint));
                shi = Div255Epi16(_mm256_mullo_epi16(shi, tint));
            }
            if (useAlpha) {
                slo = _mm256_srli_epi16(_mm256_mullo_epi16(slo, _mm256_shuffle_epi8(slo, alphaWords)), 8);
                shi = _mm256_srli_epi16(_mm256_mullo_epi16(shi, _mm256_shuffle_epi8(shi, alphaWords)), 8);
            }
            add = _mm256_packus_epi16(slo, shi);
        }
        return _mm256_adds_epu8(d, _mm256_and_si256(add, rgbMask));
    });
}

void FillAvx2(uint32_t* dst, int n, uint32_t color)
{
    uint32_t sa = color >> 24;
    if (sa == 0)
        return;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255 = _mm256_set1_epi32(255);
    const __m256i c256w = _mm256_set1_epi16(256);
    const __m256i rgbMask = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i vsa = _mm256_set1_epi32(int(sa));
    const __m256 num = _mm256_set1_ps(float(sa * 256));
    const __m256i s16 = TintWords(color & 0x00FFFFFF);
    ForEachVector(dst, dst, n, [&](__m256i, __m256i d) {
        __m256i da = _mm256_srli_epi32(d, 24);
        __m256i A = _mm256_add_epi32(da, Div255Epi32(_mm256_mullo_epi32(_mm256_sub_epi32(c255, da), vsa)));
        __m256i f = _mm256_cvttps_epi32(_mm256_div_ps(num, _mm256_cvtepi32_ps(A)));
        __m256i flo, fhi;
        Spread(f, flo, fhi);
        __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
        __m256i sflo = _mm256_mullo_epi16(s16, flo), sfhi = _mm256_mullo_epi16(s16, fhi);
        __m256i dflo = _mm256_mullo_epi16(dlo, _mm256_sub_epi16(c256w, flo));
        __m256i dfhi = _mm256_mullo_epi16(dhi, _mm256_sub_epi16(c256w, fhi));
        // Green: one rounding of the sum; red and blue: each term rounded.
        __m256i joinedLo = _mm256_srli_epi16(_mm256_add_epi16(sflo, dflo), 8);
        __m256i joinedHi = _mm256_srli_epi16(_mm256_add_epi16(sfhi, dfhi), 8);
        __m256i splitLo = _mm256_add_epi16(_mm256_srli_epi16(sflo, 8), _mm256_srli_epi16(dflo, 8));
        __m256i splitHi = _mm256_add_epi16(_mm256_srli_epi16(sfhi, 8), _mm256_srli_epi16(dfhi, 8));
        __m256i lo = _mm256_blend_epi16(splitLo, joinedLo, 0x22);
        __m256i hi = _mm256_blend_epi16(splitHi, joinedHi, 0x22);
        __m256i r = _mm256_packus_epi16(lo, hi);
        return _mm256_or_si256(_mm256_and_si256(r, rgbMask), _mm256_slli_epi32(A, 24));
    });
}

} // namespace

extern const BlendOps avx2BlendOps;
const BlendOps avx2BlendOps{OverOpaqueAvx2, OverOpaqueRectAvx2, OverAvx2, OverRectAvx2, AdditiveAvx2, FillAvx2, "avx2"};

} // namespace Zorvin

