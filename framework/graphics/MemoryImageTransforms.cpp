// MemoryImage's resampling blits: stretched, rotated, matrix-transformed and
// textured-triangle drawing. Each maps destination pixels back into the
// source and reads it through one sampler (nearest or bilinear), then hands
// whole rows to the blending kernels.

#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/graphics/BlendOps.h"
#include "framework/graphics/PixelMath.h"
#include "framework/graphics/SampleOps.h"

namespace Zorvin {

namespace {

using PixelMath::Lerp;
using PixelMath::Premultiply;
using PixelMath::Unpremultiply;

// Reads source pixels for resampling blits straight from the pixel buffer.
// Coordinates are in texel units with texel centres on integers.
struct Sampler {
    const uint32_t* bits;
    int stride;
    Rect r;
    bool clampEdges; // stretched pictures extend their edge; others fade out

    uint32_t Texel(int x, int y) const
    {
        if (clampEdges) {
            x = std::clamp(x, r.x, r.x + r.width - 1);
            y = std::clamp(y, r.y, r.y + r.height - 1);
        } else if (!r.Contains(x, y)) {
            return 0;
        }
        return bits[int64_t(y) * stride + x];
    }

    uint32_t Nearest(float fx, float fy) const
    {
        int x = Floor(fx + 0.5f), y = Floor(fy + 0.5f);
        return Texel(x, y);
    }

    // Bilinear; colours are mixed premultiplied so that transparent texels
    // do not darken the picture's edges.
    // floor without a library call (coordinates are limited to +-1e6).
    static inline int Floor(float v)
    {
        int i = int(v);
        return (float(i) > v) ? i - 1 : i;
    }

    inline uint32_t Bilinear(float fx, float fy) const
    {
        return BilinearFixed(int64_t(fx * 65536.0f), int64_t(fy * 65536.0f));
    }

    // The same with 16.16 fixed-point coordinates.
    inline uint32_t BilinearFixed(int64_t fx, int64_t fy) const
    {
        int x0 = int(fx >> 16), y0 = int(fy >> 16);
        uint32_t wx = uint32_t(fx >> 8) & 0xFF, wy = uint32_t(fy >> 8) & 0xFF;
        uint32_t t00, t10, t01, t11;
        if (x0 >= r.x && y0 >= r.y && x0 + 1 < r.x + r.width && y0 + 1 < r.y + r.height) {
            const uint32_t* p = bits + int64_t(y0) * stride + x0;
            t00 = p[0], t10 = p[1], t01 = p[stride], t11 = p[stride + 1];
        } else {
            t00 = Texel(x0, y0), t10 = Texel(x0 + 1, y0), t01 = Texel(x0, y0 + 1), t11 = Texel(x0 + 1, y0 + 1);
        }
        uint32_t all = t00 & t10 & t01 & t11;
        if ((all >> 24) == 255)
            return Lerp(Lerp(t00, t10, wx), Lerp(t01, t11, wx), wy);
        if (((t00 | t10 | t01 | t11) >> 24) == 0)
            return 0;
        uint32_t p = Lerp(Lerp(Premultiply(t00), Premultiply(t10), wx), Lerp(Premultiply(t01), Premultiply(t11), wx),
                          wy);
        return Unpremultiply(p);
    }
};

// The range of px (0 .. n - 1) for which start + step * px lies within
// (lo, hi); returns false when empty.
bool SolveRange(float start, float step, float lo, float hi, int n, int& first, int& last)
{
    if (step == 0) {
        if (start <= lo || start >= hi)
            return false;
        return true;
    }
    float a = (lo - start) / step, b = (hi - start) / step;
    if (a > b)
        std::swap(a, b);
    first = std::max(first, int(std::floor(std::max(a, -1.0f))) - 1);
    last = std::min(last, int(std::ceil(std::min(b, float(n)))) + 1);
    first = std::max(first, 0);
    last = std::min(last, n - 1);
    return first <= last;
}

} // namespace

void MemoryImage::StretchBlt(Image* srcImage, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, bool fastStretch)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || destRect.IsEmpty() || srcRect.IsEmpty())
        return;
    Rect s = srcRect.Intersection(Rect(0, 0, src->width, src->height));
    if (s != srcRect)
        return;
    Rect d = destRect.Intersection(clipRect).Intersection(Rect(0, 0, width, height));
    if (d.IsEmpty() || !GetBits())
        return;
    if (src == this) {
        MemoryImage copy(*this);
        StretchBlt(&copy, destRect, srcRect, clipRect, color, drawMode, fastStretch);
        return;
    }
    bool srcAlpha = src->hasAlpha || src->hasTrans;
    std::vector<uint32_t> out(static_cast<size_t>(d.width));
    if (fastStretch) {
        // Nearest neighbour at destination pixel centres, in exact integers.
        std::vector<int> xmap(static_cast<size_t>(d.width));
        for (int px = 0; px < d.width; px++)
            xmap[size_t(px)] = int((int64_t(2 * (d.x + px - destRect.x) + 1) * s.width) / (2 * int64_t(destRect.width)));
        std::vector<uint32_t> row(static_cast<size_t>(s.width));
        int lastSy = -1;
        for (int py = d.y; py < d.y + d.height; py++) {
            int sy = int((int64_t(2 * (py - destRect.y) + 1) * s.height) / (2 * int64_t(destRect.height)));
            if (sy != lastSy) {
                src->FetchRow(s.x, s.y + sy, s.width, row.data());
                for (int px = 0; px < d.width; px++)
                    out[size_t(px)] = row[size_t(xmap[size_t(px)])];
                lastSy = sy;
            }
            BlendRow(d.x, py, out.data(), d.width, color, drawMode, srcAlpha);
        }
    } else {
        // Bilinear, edges clamped to the source rectangle so the border of
        // the picture does not fade.
        if (!src->GetBits())
            return;
        Sampler sampler{src->bits.get(), src->width, s, true};
        float kx = float(s.width) / float(destRect.width), ky = float(s.height) / float(destRect.height);
        for (int py = d.y; py < d.y + d.height; py++) {
            float fy = (float(py - destRect.y) + 0.5f) * ky - 0.5f + float(s.y);
            for (int px = d.x; px < d.x + d.width; px++) {
                float fx = (float(px - destRect.x) + 0.5f) * kx - 0.5f + float(s.x);
                out[size_t(px - d.x)] = sampler.Bilinear(fx, fy);
            }
            BlendRow(d.x, py, out.data(), d.width, color, drawMode, true);
        }
    }
    BitsChanged();
}

void MemoryImage::TransformBlt(MemoryImage* src, const Rect& srcRect, const Rect& destBounds, const Matrix3& inv,
                               const Color& color, int drawMode, bool filtered)
{
    Rect d = destBounds.Intersection(Rect(0, 0, width, height));
    if (d.IsEmpty() || !GetBits())
        return;
    if (!src->GetBits())
        return;
    Sampler sampler{src->bits.get(), src->width, srcRect, false};
    const SampleOps& sampleOps = SampleOps::Get();
    std::vector<uint32_t> out(static_cast<size_t>(d.width));
    float ax = inv.m[0][0], ay = inv.m[1][0];
    // Samples can be non-zero only within half a texel (filtered: one and a
    // half) of the source rectangle.
    float margin = filtered ? 0.5f : 0.0f;
    float loX = float(srcRect.x) - margin, hiX = float(srcRect.x + srcRect.width) + margin;
    float loY = float(srcRect.y) - margin, hiY = float(srcRect.y + srcRect.height) + margin;
    for (int py = d.y; py < d.y + d.height; py++) {
        float sx, sy;
        inv.Apply(float(d.x) + 0.5f, float(py) + 0.5f, sx, sy);
        int first = 0, last = d.width - 1;
        if (!SolveRange(sx, ax, loX, hiX, d.width, first, last) || !SolveRange(sy, ay, loY, hiY, d.width, first, last))
            continue;
        int n = last - first + 1;
        if (filtered) {
            // Texel centres sit at integer + 0.5 in these coordinates; step in
            // 16.16 fixed point along the row.
            int64_t fx = int64_t((sx + ax * float(first) - 0.5f) * 65536.0f);
            int64_t fy = int64_t((sy + ay * float(first) - 0.5f) * 65536.0f);
            int64_t stepX = int64_t(ax * 65536.0f), stepY = int64_t(ay * 65536.0f);
            sampleOps.bilinearRow(out.data(), n, SampleSource{src->bits.get(), src->width, srcRect}, fx, fy, stepX,
                                  stepY);
        } else {
            for (int px = first; px <= last; px++)
                out[size_t(px - first)] =
                    sampler.Nearest(sx + ax * float(px) - 0.5f, sy + ay * float(px) - 0.5f);
        }
        BlendRow(d.x + first, py, out.data(), n, color, drawMode, true);
    }
    BitsChanged();
}

void MemoryImage::BltRotated(Image* srcImage, float x, float y, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || srcRect.IsEmpty() || !std::isfinite(angle) || !std::isfinite(x) || !std::isfinite(y))
        return;
    if (srcRect.Intersection(Rect(0, 0, src->width, src->height)) != srcRect)
        return;
    if (src == this) {
        MemoryImage copy(*this);
        BltRotated(&copy, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
        return;
    }
    // Forward map: source point (u, v) -> pivot + R * ((u, v) - centre - srcRect origin).
    Matrix3 fwd = Matrix3::Translation(x + centerX, y + centerY) * Matrix3::Rotation(angle) *
                  Matrix3::Translation(-centerX - float(srcRect.x), -centerY - float(srcRect.y));
    if (angle == 0 && x == std::floor(x) && y == std::floor(y)) {
        // Whole pixels, no rotation: the plain blit gives the same picture.
        Rect clip = clipRect.Intersection(Rect(0, 0, width, height));
        Rect dr = Rect(int(x), int(y), srcRect.width, srcRect.height).Intersection(clip);
        if (!dr.IsEmpty())
            Blt(src, dr.x, dr.y, Rect(srcRect.x + dr.x - int(x), srcRect.y + dr.y - int(y), dr.width, dr.height),
                color, drawMode);
        return;
    }
    Matrix3 inv;
    if (!fwd.Invert(inv))
        return;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int k = 0; k < 4; k++) {
        float cx = float(srcRect.x + ((k & 1) ? srcRect.width : 0)), cy = float(srcRect.y + ((k & 2) ? srcRect.height : 0));
        float ox, oy;
        fwd.Apply(cx, cy, ox, oy);
        minX = std::min(minX, ox), maxX = std::max(maxX, ox);
        minY = std::min(minY, oy), maxY = std::max(maxY, oy);
    }
    minX = std::max(minX, -1e6f), minY = std::max(minY, -1e6f), maxX = std::min(maxX, 1e6f), maxY = std::min(maxY, 1e6f);
    Rect bounds(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)) - int(std::floor(minX)) + 1,
                int(std::ceil(maxY)) - int(std::floor(minY)) + 1);
    TransformBlt(src, srcRect, bounds.Intersection(clipRect), inv, color, drawMode, true);
}

void MemoryImage::BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                       int drawMode)
{
    BltRotated(src, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}

void MemoryImage::BltMatrix(Image* srcImage, float x, float y, const Matrix3& matrix, const Rect& clipRect,
                            const Color& color, int drawMode, const Rect& srcRect, bool blend)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || srcRect.IsEmpty() || srcRect.Intersection(Rect(0, 0, src->width, src->height)) != srcRect)
        return;
    if (src == this) {
        MemoryImage copy(*this);
        BltMatrix(&copy, x, y, matrix, clipRect, color, drawMode, srcRect, blend);
        return;
    }
    Matrix3 fwd = Matrix3::Translation(x, y) * matrix *
                  Matrix3::Translation(-float(srcRect.x) - float(srcRect.width) / 2,
                                       -float(srcRect.y) - float(srcRect.height) / 2);
    Matrix3 inv;
    if (!fwd.Invert(inv))
        return;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int k = 0; k < 4; k++) {
        float cx = float(srcRect.x + ((k & 1) ? srcRect.width : 0)), cy = float(srcRect.y + ((k & 2) ? srcRect.height : 0));
        float ox, oy;
        fwd.Apply(cx, cy, ox, oy);
        if (!std::isfinite(ox) || !std::isfinite(oy))
            return;
        minX = std::min(minX, ox), maxX = std::max(maxX, ox);
        minY = std::min(minY, oy), maxY = std::max(maxY, oy);
    }
    minX = std::max(minX, -1e6f), minY = std::max(minY, -1e6f), maxX = std::min(maxX, 1e6f), maxY = std::min(maxY, 1e6f);
    Rect bounds(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)) - int(std::floor(minX)) + 1,
                int(std::ceil(maxY)) - int(std::floor(minY)) + 1);
    TransformBlt(src, srcRect, bounds.Intersection(clipRect), inv, color, drawMode, blend);
}

void MemoryImage::BltTrianglesTex(Image* srcImage, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                  const Color& color, int drawMode, float texOffsetX, float texOffsetY, bool blend)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || !triangles || count <= 0 || !GetBits())
        return;
    MemoryImage copyOfSelf;
    if (src == this) {
        copyOfSelf = *this;
        src = &copyOfSelf;
    }
    Rect clip = clipRect.Intersection(Rect(0, 0, width, height));
    if (!src->GetBits())
        return;
    Sampler sampler{src->bits.get(), src->width, Rect(0, 0, src->width, src->height), false};
    std::vector<uint32_t> out;
    for (int t = 0; t < count; t++) {
        const TriVertex* v = triangles[t];
        float area = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
        if (area == 0 || !std::isfinite(area))
            continue;
        float minX = std::min({v[0].x, v[1].x, v[2].x}), maxX = std::max({v[0].x, v[1].x, v[2].x});
        float minY = std::min({v[0].y, v[1].y, v[2].y}), maxY = std::max({v[0].y, v[1].y, v[2].y});
        Rect box(int(std::floor(std::max(minX, -1e6f))), int(std::floor(std::max(minY, -1e6f))), 0, 0);
        box.width = int(std::ceil(std::min(maxX, 1e6f))) - box.x + 1;
        box.height = int(std::ceil(std::min(maxY, 1e6f))) - box.y + 1;
        box = box.Intersection(clip);
        if (box.IsEmpty())
            continue;
        out.assign(size_t(box.width), 0);
        for (int py = box.y; py < box.y + box.height; py++) {
            float cy = float(py) + 0.5f;
            bool any = false;
            for (int px = box.x; px < box.x + box.width; px++) {
                float cx = float(px) + 0.5f;
                // Barycentric weights of the pixel centre.
                float w0 = ((v[1].x - cx) * (v[2].y - cy) - (v[2].x - cx) * (v[1].y - cy)) / area;
                float w1 = ((v[2].x - cx) * (v[0].y - cy) - (v[0].x - cx) * (v[2].y - cy)) / area;
                float w2 = 1.0f - w0 - w1;
                uint32_t p = 0;
                if (w0 >= 0 && w1 >= 0 && w2 >= 0) {
                    float u = w0 * v[0].u + w1 * v[1].u + w2 * v[2].u + texOffsetX;
                    float tv = w0 * v[0].v + w1 * v[1].v + w2 * v[2].v + texOffsetY;
                    p = blend ? sampler.Bilinear(u - 0.5f, tv - 0.5f) : sampler.Nearest(u - 0.5f, tv - 0.5f);
                    if (p) {
                        // Multiply by the interpolated corner colours.
                        uint32_t mod[4];
                        for (int c = 0; c < 4; c++) {
                            int shift = 24 - 8 * c;
                            float m = w0 * float((v[0].color >> shift) & 0xFF) + w1 * float((v[1].color >> shift) & 0xFF) +
                                      w2 * float((v[2].color >> shift) & 0xFF);
                            mod[c] = uint32_t(std::clamp(m, 0.0f, 255.0f));
                        }
                        uint32_t a = (p >> 24) * mod[0] / 255, r = ((p >> 16) & 0xFF) * mod[1] / 255,
                                 g = ((p >> 8) & 0xFF) * mod[2] / 255, b = (p & 0xFF) * mod[3] / 255;
                        p = (a << 24) | (r << 16) | (g << 8) | b;
                    }
                }
                out[size_t(px - box.x)] = p;
                any |= p != 0;
            }
            if (any)
                BlendRow(box.x, py, out.data(), box.width, color, drawMode, true);
        }
    }
    BitsChanged();
}

} // namespace Zorvin
