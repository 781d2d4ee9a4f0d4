#pragma once

// FrameDiff: finds what changed between one presented frame and the next,
// so the presenter uploads only those parts (an idle screen uploads nothing,
// a dragged tile a couple of small bands). It keeps a copy of the last frame
// it was shown and answers with a short list of rectangles: runs of changed
// rows, each as wide as the changes within it. The application base owns one
// next to its presenter.

#include "framework/core/Rect.h"

#include <cstdint>
#include <vector>

namespace Zorvin {

class FrameDiff {
public:
    // Bands closer than this many unchanged rows are joined: one upload call
    // costs more than a few rows of pixels.
    static constexpr int kJoinGap = 8;
    // Beyond this many bands the bounding rectangle of all of them is used.
    static constexpr int kMaxRects = 8;

    // Compares the frame with the one handed in last time and remembers it.
    // Empty result: nothing changed. The first frame, a frame of another
    // size and the first one after Reset come back whole.
    const std::vector<Rect>& Compare(const uint32_t* pixels, int width, int height);
    // Forgets the last frame (the display was re-created or exposed).
    void Reset() { valid = false; }

private:
    std::vector<uint32_t> last;
    int lastWidth = 0;
    int lastHeight = 0;
    bool valid = false;
    std::vector<Rect> changes;
};

} // namespace Zorvin
