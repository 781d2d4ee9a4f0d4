#pragma once

// AnimInfo: how an image's cels play as an animation (built from the resource
// manifest). An Image owns at most one and copies it with itself. Times are in
// logic updates.

#include <vector>

namespace Zorvin {

class AnimInfo {
public:
    enum AnimType { AnimNone = 0, AnimOnce = 1, AnimPingPong = 2, AnimLoop = 3 };

    // Completes the record once type, frame delay and the optional lists are
    // set: expands a ping-pong strip into its frame map, applies the begin and
    // end delays (values > 0) to the first and last frame, and computes the
    // total time.
    void Compute(int numCels, int beginDelay = 0, int endDelay = 0);

    // Number of frames after Compute: the frame map's length when there is a
    // map, else the number of cels.
    int GetFrameCount() const;
    // The cel to show for a frame index (through the frame map when present);
    // out-of-range frames are clamped.
    int GetCelForFrame(int frame) const;
    // The frame showing at a time since the animation began: once stops on
    // the last frame, loop and ping-pong wrap around.
    int GetFrameAt(int time) const;
    int GetCelAt(int time) const { return GetCelForFrame(GetFrameAt(time)); }

    int animType = AnimNone;
    int frameDelay = 1;
    int numCels = 1;
    std::vector<int> perFrameDelay;
    std::vector<int> frameMap;
    int totalAnimTime = 0;
};

} // namespace Zorvin
