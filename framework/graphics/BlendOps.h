#pragma once

// BlendOps: the per-row pixel kernels behind every software blit and fill.
// Each image operation reduces its request to rows of destination pixels and
// rows of (already fetched or resampled) source pixels and hands them to these
// kernels, so the blending arithmetic exists in one place. There is a portable
// scalar version, which is the reference, and an AVX2 version that gives
// identical bytes; Get() picks the best one the processor runs.
//
// Pixels are packed ARGB (alpha in the top byte). The arithmetic:
//   over an opaque destination (white colour only):
//     alpha 0 keeps the destination, alpha 255 copies the source, otherwise
//     each channel = (s * a + d * (256 - a)) / 256 and the alpha becomes 255;
//   composited over any destination, with effective alpha
//     u = colour alpha * source alpha / 255 (skipped when 0):
//     A = da + (255 - da) * u / 255, f = u * 256 / A,
//     channel = ((s * c / 255) * f + d * (256 - f)) / 256, alpha A;
//   additive: the destination alpha is kept and each channel becomes
//     min(255, d + s' * a' / 256) for sources with alpha, min(255, d + s')
//     otherwise, with s' = s * c / 255 and a' = sa * ca / 255 under a colour;
//   fill with a translucent colour (sa > 0): A as above with u = sa,
//     green = (sg * f + dg * (256 - f)) / 256,
//     red and blue = d * (256 - f) / 256 + s * f / 256, alpha A.
// f runs up to 256 so that full coverage yields the source exactly.

#include <cstdint>

namespace Zorvin {

struct BlendOps {
    // Over an opaque destination with white colour.
    void (*overOpaque)(uint32_t* dst, const uint32_t* src, int n);
    // overOpaque over a w x h block (strides in pixels): one call per blit for
    // small pictures, where per-row calls would cost more than the pixels.
    void (*overOpaqueRect)(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h);
    // Composited over any destination; color is packed ARGB (0xFFFFFFFF for
    // plain drawing).
    void (*over)(uint32_t* dst, const uint32_t* src, int n, uint32_t color);
    // over across a w x h block (strides in pixels): a tinted glyph is a
    // dozen short rows, whose per-row calls cost more than their pixels.
    void (*overRect)(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int w, int h, uint32_t color);
    // Additive; useAlpha weights the source by its (tinted) alpha.
    void (*additive)(uint32_t* dst, const uint32_t* src, int n, uint32_t color, bool useAlpha);
    // Translucent fill (colour alpha 1-254).
    void (*fill)(uint32_t* dst, int n, uint32_t color);
    const char* name;

    // The fastest kernels this processor runs.
    static const BlendOps& Get();
    // The portable reference kernels.
    static const BlendOps& Scalar();
    // While on, Get() hands out the reference kernels: a whole frame drawn
    // so is what the fast kernels must reproduce byte for byte.
    static void UseReference(bool on);
    // The AVX2 kernels, or nullptr when the processor lacks AVX2.
    static const BlendOps* Avx2();

    // min(i, 255) for i in 0..511: the clamp of additive blending.
    static const uint8_t* SaturationTable();
};

} // namespace Zorvin
