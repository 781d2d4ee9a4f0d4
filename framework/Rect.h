#pragma once

// Rect: an integer rectangle in pixels. A point is inside when
// x <= px < x + width and y <= py < y + height, so an empty rectangle
// contains nothing and two rectangles that only touch do not overlap.

#include <algorithm>

namespace Zorvin {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    Rect() = default;
    Rect(int rx, int ry, int rw, int rh) : x(rx), y(ry), width(rw), height(rh) {}

    bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool Intersects(const Rect& o) const
    {
        return width > 0 && height > 0 && o.width > 0 && o.height > 0 && x < o.x + o.width && o.x < x + width &&
               y < o.y + o.height && o.y < y + height;
    }
    // The common part; width or height 0 when there is none.
    Rect Intersection(const Rect& o) const
    {
        int l = std::max(x, o.x), t = std::max(y, o.y);
        int r = std::min(x + width, o.x + o.width), b = std::min(y + height, o.y + o.height);
        return Rect(l, t, std::max(0, r - l), std::max(0, b - t));
    }
    bool operator==(const Rect&) const = default;
};

} // namespace Zorvin
