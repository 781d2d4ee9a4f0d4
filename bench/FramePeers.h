#pragma once

// FramePeers: the yardsticks of one whole-frame benchmark. It records a
// frame (the second of two drawn, so caches are warm as in the timed loop),
// checks that the frame our fast kernels draw has the bytes of the same
// frame drawn with the scalar reference kernels, and builds the frame's
// pixman replay (which must come within 4 levels of our every pixel) and its
// blend floor. The frame benchmarks register
// CASE/pixman and CASE/floor through Pixman and Floor beside their own
// CASE/ours; scripts/bench-report prints the ratios. Owned by the benchmark
// file that makes it (one per case, kept for the whole run).

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench/BlendFloor.h"
#include "bench/DrawRecording.h"
#include "bench/PixmanFrame.h"

namespace Zorvin {

class FramePeers {
public:
    // Draws one whole frame into the screen image it is given.
    using DrawFrame = std::function<void(MemoryImage&)>;

    // Null (and error set) when the frame cannot be drawn, its bytes differ
    // from the scalar reference's, or pixman's replay is not the same
    // picture.
    static std::unique_ptr<FramePeers> Make(const char* name, const DrawFrame& draw, std::string& error);

    static void Pixman(benchmark::State& state, FramePeers* peers, const std::string& error);
    static void Floor(benchmark::State& state, FramePeers* peers, const std::string& error);

private:
    FramePeers() = default;

    std::unique_ptr<DrawRecording> recording;
    std::unique_ptr<PixmanFrame> pixman;
    std::unique_ptr<BlendFloor> floor;
};

} // namespace Zorvin
