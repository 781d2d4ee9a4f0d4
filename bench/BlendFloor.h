#pragma once

// BlendFloor: what a recorded frame must cost at the least. A frame blends
// each pixel of the screen as many times as layers cover it; the floor is
// that many pixels (the frame's overdraw) fed through our fastest
// over-an-opaque-screen kernel in long runs, with none of the frame's
// per-layer work. The source pixels are the frame's own, request by request
// (a fill contributes its colour), so the kernel meets the same mix of
// transparent, opaque and translucent pixels; they are blended a screenful
// at a time onto one 800 x 600 destination, as the frame writes one screen.
// Owned by its benchmark.

#include <cstdint>
#include <vector>

#include "bench/DrawRecording.h"

namespace Zorvin {

class BlendFloor {
public:
    explicit BlendFloor(const std::vector<DrawRequest>& requests);

    void Blend();
    int64_t Pixels() const { return int64_t(source.size()); }

private:
    std::vector<uint32_t> source;
    std::vector<uint32_t> screen;
};

} // namespace Zorvin
