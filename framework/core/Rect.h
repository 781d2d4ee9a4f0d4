#pragma once

// Rect and Point: integer rectangles and points in pixels. Rectangles are
// half-open: (x, y, width, height) covers x .. x + width - 1. A rectangle with
// a width or height below 1 is empty. Plain value types.

#include <algorithm>

namespace Zorvin {

struct Point {
    int x = 0;
    int y = 0;

    constexpr Point() = default;
    constexpr Point(int px, int py) : x(px), y(py) {}
    constexpr bool operator==(const Point&) const = default;
    constexpr Point operator+(const Point& o) const { return Point(x + o.x, y + o.y); }
    constexpr Point operator-(const Point& o) const { return Point(x - o.x, y - o.y); }
};

struct FPoint {
    float x = 0;
    float y = 0;

    constexpr FPoint() = default;
    constexpr FPoint(float px, float py) : x(px), y(py) {}
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr Rect() = default;
    constexpr Rect(int rx, int ry, int w, int h) : x(rx), y(ry), width(w), height(h) {}

    constexpr bool IsEmpty() const { return width < 1 || height < 1; }
    constexpr int Right() const { return x + width; }
    constexpr int Bottom() const { return y + height; }

    constexpr bool Contains(int px, int py) const
    {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    constexpr bool Contains(const Point& p) const { return Contains(p.x, p.y); }
    // True when r lies wholly inside this rectangle.
    constexpr bool Contains(const Rect& r) const
    {
        return r.x >= x && r.y >= y && r.x + r.width <= x + width && r.y + r.height <= y + height;
    }
    constexpr bool Intersects(const Rect& r) const { return !Intersection(r).IsEmpty(); }

    // The common part; an empty result has width or height 0, never negative.
    constexpr Rect Intersection(const Rect& r) const
    {
        int x1 = std::max(x, r.x);
        int y1 = std::max(y, r.y);
        int x2 = std::min(x + width, r.x + r.width);
        int y2 = std::min(y + height, r.y + r.height);
        if (x2 <= x1 || y2 <= y1)
            return Rect(x1, y1, 0, 0);
        return Rect(x1, y1, x2 - x1, y2 - y1);
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    constexpr Rect Union(const Rect& r) const
    {
        if (r.IsEmpty())
            return *this;
        if (IsEmpty())
            return r;
        int x1 = std::min(x, r.x);
        int y1 = std::min(y, r.y);
        return Rect(x1, y1, std::max(x + width, r.x + r.width) - x1, std::max(y + height, r.y + r.height) - y1);
    }
    constexpr Rect Offset(int dx, int dy) const { return Rect(x + dx, y + dy, width, height); }
    constexpr Rect Inflate(int dx, int dy) const { return Rect(x - dx, y - dy, width + 2 * dx, height + 2 * dy); }

    constexpr bool operator==(const Rect&) const = default;
};

} // namespace Zorvin
