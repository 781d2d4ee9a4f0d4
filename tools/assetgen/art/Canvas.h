#pragma once

// Canvas: the asset generator's painting surface. It holds straight-alpha
// ARGB pixels in the same layout as the framework's MemoryImage, and adds
// what the art needs beyond the framework's drawing calls: anti-aliased shapes
// given by signed distance functions, gradients, bevels, soft shadows and
// seamless noise. Every routine is deterministic (no clocks, no global
// random state), so the same sources always give the same pictures.
// Painters create canvases, own them, and hand them to the images step.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Zorvin::AssetGen {

// A colour with straight (not premultiplied) alpha, components 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
    constexpr Rgba() = default;
    constexpr Rgba(float r_, float g_, float b_, float a_ = 1) : r(r_), g(g_), b(b_), a(a_) {}
};

// 0xRRGGBB with an optional alpha.
constexpr Rgba Hex(uint32_t rgb, float a = 1)
{
    return Rgba(float((rgb >> 16) & 0xFF) / 255.f, float((rgb >> 8) & 0xFF) / 255.f, float(rgb & 0xFF) / 255.f, a);
}
inline Rgba Mix(const Rgba& p, const Rgba& q, float t)
{
    return Rgba(p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t);
}
// Multiplies the colour (not the alpha) by k; k above 1 lightens.
inline Rgba Shade(const Rgba& c, float k) { return Rgba(c.r * k, c.g * k, c.b * k, c.a); }
inline Rgba WithAlpha(const Rgba& c, float a) { return Rgba(c.r, c.g, c.b, a); }
inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float SmoothStep(float e0, float e1, float x)
{
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// A float coverage mask (0..1 per pixel), used for shadows, glows and text.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> v;
    Mask() = default;
    Mask(int w_, int h_) : w(w_), h(h_), v(size_t(w_) * size_t(h_), 0.f) {}
    float At(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.f : v[size_t(y) * w + x]; }
    float& Ref(int x, int y) { return v[size_t(y) * w + x]; }
    // Three box passes approximate a Gaussian of about this radius.
    void Blur(int radius);
    // Grows the mask by r pixels (maximum over a disc).
    void Dilate(int r);
};

class Canvas {
public:
    Canvas() = default;
    Canvas(int w, int h) : width(w), height(h), px(size_t(w) * size_t(h), 0u) {}

    int W() const { return width; }
    int H() const { return height; }
    const std::vector<uint32_t>& Pixels() const { return px; }
    std::vector<uint32_t>& Pixels() { return px; }

    Rgba Get(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return Rgba(0, 0, 0, 0);
        uint32_t p = px[size_t(y) * width + x];
        const float k = 1.f / 255.f;
        return Rgba(float((p >> 16) & 0xFF) * k, float((p >> 8) & 0xFF) * k, float(p & 0xFF) * k, float(p >> 24) * k);
    }
    void Set(int x, int y, const Rgba& c)
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        px[size_t(y) * width + x] = (ToByte(c.a) << 24) | (ToByte(c.r) << 16) | (ToByte(c.g) << 8) | ToByte(c.b);
    }
    // Blends c over the pixel with c's alpha scaled by cover.
    void Blend(int x, int y, const Rgba& c, float cover = 1.f)
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        float sa = Clamp01(c.a * cover);
        if (sa <= 0.f) return;
        if (sa >= 1.f) {
            Set(x, y, Rgba(c.r, c.g, c.b, 1.f));
            return;
        }
        Rgba d = Get(x, y);
        float k = d.a * (1.f - sa);
        float oa = sa + k;
        if (oa <= 0.f) return;
        float inv = 1.f / oa;
        Set(x, y, Rgba((c.r * sa + d.r * k) * inv, (c.g * sa + d.g * k) * inv, (c.b * sa + d.b * k) * inv, oa));
    }
    void Fill(const Rgba& c);
    void Clear() { std::fill(px.begin(), px.end(), 0u); }

    // Fills every pixel with paint(x, y) (plain replace, no blending). With
    // step 2 the paint is evaluated on every other pixel in both directions
    // and interpolated between: four times faster, for soft textures.
    template <class Paint> void FillWith(Paint paint, int step = 1)
    {
        if (step <= 1) {
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) Set(x, y, paint(float(x) + .5f, float(y) + .5f));
            return;
        }
        int gw = width / step + 2, gh = height / step + 2;
        std::vector<Rgba> grid(size_t(gw) * size_t(gh));
        for (int j = 0; j < gh; ++j)
            for (int i = 0; i < gw; ++i) grid[size_t(j) * gw + i] = paint(float(i * step) + .5f, float(j * step) + .5f);
        for (int y = 0; y < height; ++y) {
            int j = y / step;
            float ty = float(y - j * step) / float(step);
            for (int x = 0; x < width; ++x) {
                int i = x / step;
                float tx = float(x - i * step) / float(step);
                const Rgba* r0 = &grid[size_t(j) * gw + i];
                const Rgba* r1 = r0 + gw;
                Set(x, y, Mix(Mix(r0[0], r0[1], tx), Mix(r1[0], r1[1], tx), ty));
            }
        }
    }

    // Paints the shape whose signed distance (negative inside) is sdf(x, y)
    // with paint(x, y, d), anti-aliased over one pixel, within the box
    // [x0, x1) x [y0, y1). Pixel centres are sampled.
    template <class Sdf, class Paint> void FillShape(float x0, float y0, float x1, float y1, Sdf sdf, Paint paint)
    {
        int ix0 = std::max(0, int(std::floor(x0)) - 1), iy0 = std::max(0, int(std::floor(y0)) - 1);
        int ix1 = std::min(width, int(std::ceil(x1)) + 1), iy1 = std::min(height, int(std::ceil(y1)) + 1);
        for (int y = iy0; y < iy1; ++y)
            for (int x = ix0; x < ix1; ++x) {
                float fx = float(x) + .5f, fy = float(y) + .5f;
                float d = sdf(fx, fy);
                if (d >= .5f) continue;
                float cover = Clamp01(.5f - d);
                Blend(x, y, paint(fx, fy, d), cover);
            }
    }
    template <class Sdf> void FillShape(float x0, float y0, float x1, float y1, Sdf sdf, const Rgba& c)
    {
        FillShape(x0, y0, x1, y1, sdf, [&](float, float, float) { return c; });
    }
    // The shape's coverage as a mask of the canvas size.
    template <class Sdf> Mask ShapeMask(Sdf sdf) const
    {
        Mask m(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) m.Ref(x, y) = Clamp01(.5f - sdf(float(x) + .5f, float(y) + .5f));
        return m;
    }

    // Lights the rim of a shape: within `depth` pixels inside the edge the
    // colour is lightened where the edge faces the upper left light and
    // darkened where it faces away, as on a chiselled or cast edge.
    template <class Sdf> void Bevel(float x0, float y0, float x1, float y1, Sdf sdf, float depth, float strength)
    {
        int ix0 = std::max(0, int(x0) - 1), iy0 = std::max(0, int(y0) - 1);
        int ix1 = std::min(width, int(x1) + 1), iy1 = std::min(height, int(y1) + 1);
        const float lx = -0.6f, ly = -0.8f;
        for (int y = iy0; y < iy1; ++y)
            for (int x = ix0; x < ix1; ++x) {
                float fx = float(x) + .5f, fy = float(y) + .5f;
                float d = sdf(fx, fy);
                if (d > .5f || d < -depth) continue;
                float gx = sdf(fx + .5f, fy) - sdf(fx - .5f, fy);
                float gy = sdf(fx, fy + .5f) - sdf(fx, fy - .5f);
                float len = std::sqrt(gx * gx + gy * gy);
                if (len < 1e-4f) continue;
                // The outward normal points along the gradient; a rim facing
                // the light has the normal against the light direction.
                float lit = -(gx * lx + gy * ly) / len;
                float fall = 1.f - Clamp01(-d / depth);
                float k = lit * strength * fall * Clamp01(.5f - d);
                ApplyLight(x, y, k);
            }
    }
    // Lightens (k > 0, towards white) or darkens (k < 0) a pixel, keeping alpha.
    void ApplyLight(int x, int y, float k);

    // Composites a mask in colour c at offset (dx, dy): over the pixels, or
    // under them (only where they are not yet opaque).
    void DrawMask(const Mask& m, const Rgba& c, int dx = 0, int dy = 0, bool under = false);
    // Draws another canvas with its alpha over this one at (dx, dy), its
    // opacity scaled by `opacity`.
    void Draw(const Canvas& src, int dx, int dy, float opacity = 1.f);
    // Draws src scaled into the rectangle (dx, dy, dw, dh) with box
    // filtering (for thumbnails and the contact sheet).
    void DrawScaled(const Canvas& src, int dx, int dy, int dw, int dh);
    // A copy of the rectangle (x, y, w, h).
    Canvas Crop(int x, int y, int w, int h) const;
    // Soft shadow of everything drawn so far: the alpha, blurred, offset and
    // put beneath in colour c.
    void AddDropShadow(int dx, int dy, int blur, const Rgba& c);

private:
    static uint32_t ToByte(float v) { return uint32_t(Clamp01(v) * 255.f + .5f); }

    int width = 0, height = 0;
    std::vector<uint32_t> px;
};

// ---- signed distance functions (negative inside) ----

inline float SdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }
inline float SdEllipse(float x, float y, float cx, float cy, float rx, float ry)
{
    // Scaled-circle approximation, corrected by the gradient length; good
    // enough for anti-aliasing at these sizes.
    float nx = (x - cx) / rx, ny = (y - cy) / ry;
    float k = std::sqrt(nx * nx + ny * ny);
    float g = std::sqrt(nx * nx / (rx * rx) + ny * ny / (ry * ry));
    if (g < 1e-6f) return -std::min(rx, ry);
    return (k - 1.f) * k / g;
}
inline float SdRoundRect(float x, float y, float x0, float y0, float x1, float y1, float r)
{
    float cx = (x0 + x1) * .5f, cy = (y0 + y1) * .5f;
    float hx = (x1 - x0) * .5f - r, hy = (y1 - y0) * .5f - r;
    float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    float ox = std::max(qx, 0.f), oy = std::max(qy, 0.f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.f) - r;
}
inline float SdSegment(float x, float y, float ax, float ay, float bx, float by)
{
    float px_ = x - ax, py_ = y - ay, dx = bx - ax, dy = by - ay;
    float dd = dx * dx + dy * dy;
    float t = dd > 0 ? Clamp01((px_ * dx + py_ * dy) / dd) : 0.f;
    return std::hypot(px_ - dx * t, py_ - dy * t);
}

struct Pt {
    float x = 0, y = 0;
};
// Signed distance to a closed polygon (even-odd inside rule).
float SdPolygon(float x, float y, const std::vector<Pt>& poly);
// A star with n points around (cx, cy), outer radius ro, inner radius ri,
// first point straight up, turned by `turn` radians.
std::vector<Pt> StarPoints(float cx, float cy, float ro, float ri, int n, float turn = 0);
// A regular polygon with n corners, first corner straight up.
std::vector<Pt> RegularPolygon(float cx, float cy, float r, int n, float turn = 0);

// ---- noise ----

// Value noise in 0..1 on an integer lattice, smoothly interpolated. With a
// period above 0 the lattice wraps, so the noise tiles seamlessly every
// `period` lattice cells.
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
// Sum of octaves of value noise (0..1).
float Fbm(float x, float y, uint32_t seed, int octaves, int period = 0);
// The same with its own wrap period (in lattice cells, 0 = none) per axis.
float FbmXY(float x, float y, uint32_t seed, int octaves, int periodX, int periodY);
// A repeatable hash of three integers into 0..1.
float Hash01(int x, int y, uint32_t seed);

// Marble veining: a light stone colour with darker veins, for (x, y) in
// pixels; `scale` sets the size of the veins.
Rgba Marble(float x, float y, const Rgba& base, const Rgba& vein, float scale, uint32_t seed, int period = 0);

} // namespace Zorvin::AssetGen
