// AVX2 version of the bilinear row sampler: eight destination pixels per
// step, the four neighbours of each fetched with masked gathers (texels
// outside the source rectangle read as 0 without touching memory), then the
// reference's integer arithmetic in 16-bit lanes, so the bytes are the
// same. This file alone is compiled for AVX2 (see CMakeLists.txt);
// SampleOps hands the kernel out only when the processor has it.

#include "framework/graphics/SampleOps.h"

#include "framework/graphics/Avx2Pixels.h"

#include <immintrin.h>

namespace Zorvin {

// The reference, for rows whose coordinates do not fit 32-bit lanes.
void SampleRowRest(uint32_t* out, int n, const SampleSource& src, int64_t fx, int64_t fy, int64_t stepX,
                   int64_t stepY);

namespace {

using namespace Avx2Pixels;

// round(c * a / 255) for the colour words; the alpha words (3 and 7 of each
// 128-bit lane) stay as they are.
inline __m256i Premultiply(__m256i c, __m256i alpha)
{
    __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(c, alpha), _mm256_set1_epi16(128));
    __m256i p = _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
    return _mm256_blend_epi16(p, c, 0x88);
}

// (a * (256 - w) + b * w) >> 8; every term fits 16 bits.
inline __m256i Lerp(__m256i a, __m256i b, __m256i w, __m256i wInv)
{
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, wInv), _mm256_mullo_epi16(b, w)), 8);
}

struct Neighbours {
    __m256i t00, t10, t01, t11;
};

// One half (four pixels) of the premultiplied mix, as words.
template <bool High>
inline __m256i MixHalf(const Neighbours& t, __m256i wx, __m256i wxInv, __m256i wy, __m256i wyInv)
{
    const __m256i zero = _mm256_setzero_si256();
    auto premul = [&](__m256i px) {
        __m256i c = High ? _mm256_unpackhi_epi8(px, zero) : _mm256_unpacklo_epi8(px, zero);
        return Premultiply(c, High ? AlphaHi(px) : AlphaLo(px));
    };
    __m256i top = Lerp(premul(t.t00), premul(t.t10), wx, wxInv);
    __m256i bottom = Lerp(premul(t.t01), premul(t.t11), wx, wxInv);
    return Lerp(top, bottom, wy, wyInv);
}

inline __m256i Unpremultiply(__m256i p, const uint32_t* table)
{
    const __m256i ff = _mm256_set1_epi32(0xFF);
    const __m256i half = _mm256_set1_epi32(32768);
    __m256i a = _mm256_srli_epi32(p, 24);
    __m256i k = _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), a, 4);
    auto channel = [&](int shift) {
        __m256i c = _mm256_and_si256(_mm256_srli_epi32(p, shift), ff);
        c = _mm256_srli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(c, k), half), 16);
        return _mm256_slli_epi32(_mm256_min_epu32(c, ff), shift);
    };
    return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(a, 24), channel(16)),
                           _mm256_or_si256(channel(8), channel(0)));
}

// lo <= v < hi per lane.
inline __m256i InRange(__m256i v, __m256i lo, __m256i hi)
{
    return _mm256_andnot_si256(_mm256_cmpgt_epi32(lo, v), _mm256_cmpgt_epi32(hi, v));
}

inline bool Fits(int64_t v) { return v > -(int64_t(1) << 30) && v < (int64_t(1) << 30); }

void BilinearRowAvx2(uint32_t* out, int n, const SampleSource& src, int64_t fx, int64_t fy, int64_t stepX,
                     int64_t stepY)
{
    if (n <= 0)
        return;
    int64_t endX = fx + stepX * (n - 1), endY = fy + stepY * (n - 1);
    int64_t area = int64_t(src.rect.Bottom()) * src.stride;
    if (!Fits(fx) || !Fits(fy) || !Fits(endX) || !Fits(endY) || !Fits(stepX * 8) || !Fits(stepY * 8) ||
        area >= (int64_t(1) << 31) - src.stride) {
        SampleRowRest(out, n, src, fx, fy, stepX, stepY);
        return;
    }
    const int* bits = reinterpret_cast<const int*>(src.bits);
    const uint32_t* table = SampleOps::UnpremultiplyTable();
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i c256 = _mm256_set1_epi32(256);
    const __m256i ff = _mm256_set1_epi32(0xFF);
    const __m256i left = _mm256_set1_epi32(src.rect.x), right = _mm256_set1_epi32(src.rect.Right());
    const __m256i top = _mm256_set1_epi32(src.rect.y), bottom = _mm256_set1_epi32(src.rect.Bottom());
    const __m256i stride = _mm256_set1_epi32(src.stride);
    const __m256i stepXv = _mm256_mullo_epi32(lane, _mm256_set1_epi32(int(stepX)));
    const __m256i stepYv = _mm256_mullo_epi32(lane, _mm256_set1_epi32(int(stepY)));
    for (int k = 0; k < n; k += 8) {
        int64_t kx = fx + stepX * k, ky = fy + stepY * k;
        __m256i vx = _mm256_add_epi32(_mm256_set1_epi32(int(kx)), stepXv);
        __m256i vy = _mm256_add_epi32(_mm256_set1_epi32(int(ky)), stepYv);
        __m256i x0 = _mm256_srai_epi32(vx, 16), y0 = _mm256_srai_epi32(vy, 16);
        __m256i x1 = _mm256_add_epi32(x0, one), y1 = _mm256_add_epi32(y0, one);
        __m256i okX0 = InRange(x0, left, right), okX1 = InRange(x1, left, right);
        __m256i okY0 = InRange(y0, top, bottom), okY1 = InRange(y1, top, bottom);
        int count = n - k < 8 ? n - k : 8;
        if (count < 8) {
            __m256i live = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), lane);
            okY0 = _mm256_and_si256(okY0, live);
            okY1 = _mm256_and_si256(okY1, live);
        }
        __m256i i00 = _mm256_add_epi32(_mm256_mullo_epi32(y0, stride), x0);
        __m256i i01 = _mm256_add_epi32(i00, stride);
        const __m256i zero = _mm256_setzero_si256();
        Neighbours t;
        t.t00 = _mm256_mask_i32gather_epi32(zero, bits, i00, _mm256_and_si256(okX0, okY0), 4);
        t.t10 = _mm256_mask_i32gather_epi32(zero, bits, _mm256_add_epi32(i00, one), _mm256_and_si256(okX1, okY0), 4);
        t.t01 = _mm256_mask_i32gather_epi32(zero, bits, i01, _mm256_and_si256(okX0, okY1), 4);
        t.t11 = _mm256_mask_i32gather_epi32(zero, bits, _mm256_add_epi32(i01, one), _mm256_and_si256(okX1, okY1), 4);

        __m256i wx = _mm256_and_si256(_mm256_srai_epi32(vx, 8), ff);
        __m256i wy = _mm256_and_si256(_mm256_srai_epi32(vy, 8), ff);
        __m256i wxLo, wxHi, wxInvLo, wxInvHi, wyLo, wyHi, wyInvLo, wyInvHi;
        Spread(wx, wxLo, wxHi);
        Spread(_mm256_sub_epi32(c256, wx), wxInvLo, wxInvHi);
        Spread(wy, wyLo, wyHi);
        Spread(_mm256_sub_epi32(c256, wy), wyInvLo, wyInvHi);
        __m256i lo = MixHalf<false>(t, wxLo, wxInvLo, wyLo, wyInvLo);
        __m256i hi = MixHalf<true>(t, wxHi, wxInvHi, wyHi, wyInvHi);
        __m256i result = Unpremultiply(_mm256_packus_epi16(lo, hi), table);
        if (count == 8) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), result);
        } else {
            __m256i live = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), lane);
            _mm256_maskstore_epi32(reinterpret_cast<int*>(out + k), live, result);
        }
    }
}

} // namespace

extern const SampleOps avx2SampleOps;
const SampleOps avx2SampleOps{BilinearRowAvx2, "avx2"};

} // namespace Zorvin
