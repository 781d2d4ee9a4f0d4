#pragma once

// SampleOps: the resampling kernel behind rotated and transformed blits.
// TransformBlt hands it one destination row at a time: where the row starts
// in the source (16.16 fixed point, texel centres on integers) and the step
// per destination pixel; the kernel fills the row with bilinear samples.
// Texels outside the source rectangle count as transparent, so the picture's
// edges fade out smoothly. Colours are mixed premultiplied, so transparent
// texels do not darken the edges:
//   premultiply each texel: c' = round(c * a / 255), alpha kept;
//   mix horizontally, then vertically: (p * (256 - w) + q * w) >> 8 per
//   channel, with w the top eight fraction bits;
//   unpremultiply: c = min(255, (c' * k + 32768) >> 16),
//   k = (255 * 65536 + a / 2) / a (0 for a = 0).
// The scalar version is the reference; the AVX2 version gives identical
// bytes and is picked at run time when the processor has it.

#include "framework/core/Rect.h"

#include <cstdint>

namespace Zorvin {

struct SampleSource {
    const uint32_t* bits;
    int stride; // pixels per row
    Rect rect;  // the part of the image that is sampled
};

struct SampleOps {
    // out[k] = bilinear sample at (fx + k * stepX, fy + k * stepY), k < n.
    void (*bilinearRow)(uint32_t* out, int n, const SampleSource& src, int64_t fx, int64_t fy, int64_t stepX,
                        int64_t stepY);
    const char* name;

    // The fastest kernel this processor runs.
    static const SampleOps& Get();
    // The portable reference.
    static const SampleOps& Scalar();
    // While on, Get() hands out the reference kernels: a whole frame drawn
    // so is what the fast kernels must reproduce byte for byte.
    static void UseReference(bool on);
    // The AVX2 kernel, or nullptr when the processor lacks AVX2.
    static const SampleOps* Avx2();
    // k for each alpha 0 .. 255 (see above).
    static const uint32_t* UnpremultiplyTable();
};

} // namespace Zorvin
