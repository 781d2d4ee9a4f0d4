#pragma once

// Letterbox: where the logical screen lands in a window or monitor of
// another size — scaled by the same factor both ways, centred, with black
// bars on the two sides that are left over — and how a pointer position in
// the window maps back to a logical pixel.

#include "framework/core/Rect.h"

#include <algorithm>

namespace Zorvin {

struct Letterbox {
    // The destination rectangle of a logicalW x logicalH picture in an
    // outputW x outputH area.
    static Rect Fit(int outputW, int outputH, int logicalW, int logicalH)
    {
        if (outputW <= 0 || outputH <= 0 || logicalW <= 0 || logicalH <= 0)
            return Rect(0, 0, logicalW, logicalH);
        // Compare outputW / logicalW with outputH / logicalH in integers.
        int w, h;
        if (static_cast<long long>(outputW) * logicalH <= static_cast<long long>(outputH) * logicalW) {
            w = outputW;
            h = static_cast<int>(static_cast<long long>(logicalH) * outputW / logicalW);
        } else {
            h = outputH;
            w = static_cast<int>(static_cast<long long>(logicalW) * outputH / logicalH);
        }
        return Rect((outputW - w) / 2, (outputH - h) / 2, std::max(w, 1), std::max(h, 1));
    }

    // A window position to the logical pixel under it; positions on the bars
    // are clamped to the nearest edge pixel.
    static void WindowToLogical(const Rect& dest, int logicalW, int logicalH, int wx, int wy, int& lx, int& ly)
    {
        long long dx = static_cast<long long>(wx - dest.x) * logicalW;
        long long dy = static_cast<long long>(wy - dest.y) * logicalH;
        lx = static_cast<int>(dx >= 0 ? dx / dest.width : -1);
        ly = static_cast<int>(dy >= 0 ? dy / dest.height : -1);
        lx = std::clamp(lx, 0, logicalW - 1);
        ly = std::clamp(ly, 0, logicalH - 1);
    }
};

} // namespace Zorvin
