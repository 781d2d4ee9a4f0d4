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

    // A window position to the logical pixel shown there: the window
    // pixel's centre is scaled back, as the picture was scaled to it, so the
    // result is the pixel the player sees under the pointer. Positions on
    // the bars or outside the window (a held button keeps reporting them)
    // map outside the logical screen, never onto its edge: a button at the
    // edge must not count a release outside as a click on it.
    static void WindowToLogical(const Rect& dest, int logicalW, int logicalH, int wx, int wy, int& lx, int& ly)
    {
        lx = ScaleCentre(static_cast<long long>(wx) - dest.x, logicalW, dest.width);
        ly = ScaleCentre(static_cast<long long>(wy) - dest.y, logicalH, dest.height);
    }

private:
    // floor((offset + 0.5) * logical / output), in integers.
    static int ScaleCentre(long long offset, int logical, int output)
    {
        if (output <= 0)
            return static_cast<int>(offset);
        long long num = (2 * offset + 1) * logical;
        long long den = 2LL * output;
        long long q = num / den;
        if (num % den != 0 && num < 0)
            --q;
        return static_cast<int>(std::clamp<long long>(q, -(1LL << 30), 1LL << 30));
    }
};

} // namespace Zorvin
