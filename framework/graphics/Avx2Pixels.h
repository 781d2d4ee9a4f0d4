#pragma once

// Lane helpers shared by the AVX2 kernels (BlendOpsAvx2.cpp and
// SampleOpsAvx2.cpp). Include it only from files compiled with -mavx2: the
// functions are inline and use AVX2 instructions.

#include <immintrin.h>

namespace Zorvin::Avx2Pixels {

// Each pixel's alpha byte repeated into its four 16-bit slots, for the low
// and high halves produced by unpacking bytes to words.
inline __m256i AlphaLo(__m256i px)
{
    const __m256i m = _mm256_setr_epi8(3, -1, 3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1, 3, -1, 3, -1, 3, -1, 3,
                                       -1, 7, -1, 7, -1, 7, -1, 7, -1);
    return _mm256_shuffle_epi8(px, m);
}

inline __m256i AlphaHi(__m256i px)
{
    const __m256i m = _mm256_setr_epi8(11, -1, 11, -1, 11, -1, 11, -1, 15, -1, 15, -1, 15, -1, 15, -1, 11, -1, 11, -1,
                                       11, -1, 11, -1, 15, -1, 15, -1, 15, -1, 15, -1);
    return _mm256_shuffle_epi8(px, m);
}

// A per-pixel 32-bit value (at most 0xFFFF) spread into the four 16-bit
// slots of that pixel, matching the unpacked low and high halves.
inline void Spread(__m256i v, __m256i& lo, __m256i& hi)
{
    __m256i pair = _mm256_or_si256(v, _mm256_slli_epi32(v, 16));
    lo = _mm256_unpacklo_epi32(pair, pair);
    hi = _mm256_unpackhi_epi32(pair, pair);
}

} // namespace Zorvin::Avx2Pixels
