#include "tools/assetgen/art/Canvas.h"

#include <memory>

namespace Zorvin::AssetGen {

namespace {

// One horizontal then one vertical running-sum box pass of radius r.
void BoxPass(std::vector<float>& v, int w, int h, int r)
{
    if (r <= 0) return;
    std::vector<float> tmp(v.size());
    float norm = 1.f / float(2 * r + 1);
    for (int y = 0; y < h; ++y) {
        const float* row = &v[size_t(y) * w];
        float sum = 0;
        for (int i = -r; i <= r; ++i) sum += (i >= 0 && i < w) ? row[i] : 0.f;
        for (int x = 0; x < w; ++x) {
            tmp[size_t(y) * w + x] = sum * norm;
            int out = x - r, in = x + r + 1;
            if (out >= 0) sum -= row[out];
            if (in < w) sum += row[in];
        }
    }
    for (int x = 0; x < w; ++x) {
        float sum = 0;
        for (int i = -r; i <= r; ++i) sum += (i >= 0 && i < h) ? tmp[size_t(i) * w + x] : 0.f;
        for (int y = 0; y < h; ++y) {
            v[size_t(y) * w + x] = sum * norm;
            int out = y - r, in = y + r + 1;
            if (out >= 0) sum -= tmp[size_t(out) * w + x];
            if (in < h) sum += tmp[size_t(in) * w + x];
        }
    }
}

inline uint32_t HashInt(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

} // namespace

void Mask::Blur(int radius)
{
    if (radius <= 0 || w == 0) return;
    int r = std::max(1, radius / 2);
    for (int i = 0; i < 3; ++i) BoxPass(v, w, h, r);
}

void Mask::Dilate(int r)
{
    if (r <= 0) return;
    std::vector<float> out(v.size(), 0.f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float m = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    if (dx * dx + dy * dy > r * r + r) continue;
                    m = std::max(m, At(x + dx, y + dy));
                }
            out[size_t(y) * w + x] = m;
        }
    v.swap(out);
}

void Canvas::Fill(const Rgba& c)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Set(x, y, c);
}

void Canvas::ApplyLight(int x, int y, float k)
{
    Rgba c = Get(x, y);
    if (k > 0)
        c = Rgba(c.r + (1 - c.r) * k, c.g + (1 - c.g) * k, c.b + (1 - c.b) * k, c.a);
    else
        c = Shade(c, 1.f + k);
    Set(x, y, c);
}

void Canvas::DrawMask(const Mask& m, const Rgba& c, int dx, int dy, bool under)
{
    for (int y = 0; y < m.h; ++y) {
        int ty = y + dy;
        if (ty < 0 || ty >= height) continue;
        for (int x = 0; x < m.w; ++x) {
            int tx = x + dx;
            if (tx < 0 || tx >= width) continue;
            float cov = m.v[size_t(y) * m.w + x];
            if (cov <= 0.f) continue;
            if (!under) {
                Blend(tx, ty, c, cov);
                continue;
            }
            // Beneath: the existing pixel goes over the shadow colour.
            Rgba top = Get(tx, ty);
            Rgba below = WithAlpha(c, c.a * cov);
            float oa = top.a + below.a * (1 - top.a);
            if (oa <= 0) continue;
            float k = below.a * (1 - top.a);
            Set(tx, ty, Rgba((top.r * top.a + below.r * k) / oa, (top.g * top.a + below.g * k) / oa,
                             (top.b * top.a + below.b * k) / oa, oa));
        }
    }
}

void Canvas::Draw(const Canvas& src, int dx, int dy, float opacity)
{
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) {
            Rgba c = src.Get(x, y);
            if (c.a <= 0.f) continue;
            Blend(x + dx, y + dy, c, opacity);
        }
}

void Canvas::DrawScaled(const Canvas& src, int dx, int dy, int dw, int dh)
{
    if (dw <= 0 || dh <= 0 || src.width == 0 || src.height == 0) return;
    for (int y = 0; y < dh; ++y) {
        int sy0 = y * src.height / dh, sy1 = std::max(sy0 + 1, (y + 1) * src.height / dh);
        for (int x = 0; x < dw; ++x) {
            int sx0 = x * src.width / dw, sx1 = std::max(sx0 + 1, (x + 1) * src.width / dw);
            float r = 0, g = 0, b = 0, a = 0;
            int n = 0;
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx) {
                    Rgba c = src.Get(sx, sy);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                    ++n;
                }
            if (a <= 0) continue;
            Blend(dx + x, dy + y, Rgba(r / a, g / a, b / a, a / float(n)));
        }
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const
{
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            int sx = x + i, sy = y + j;
            if (sx >= 0 && sy >= 0 && sx < width && sy < height)
                out.px[size_t(j) * w + i] = px[size_t(sy) * width + sx];
        }
    return out;
}

void Canvas::AddDropShadow(int dx, int dy, int blur, const Rgba& c)
{
    Mask m(width, height);
    for (size_t i = 0; i < px.size(); ++i) m.v[i] = float(px[i] >> 24) / 255.f;
    m.Blur(blur);
    DrawMask(m, c, dx, dy, true);
}

float SdPolygon(float x, float y, const std::vector<Pt>& poly)
{
    size_t n = poly.size();
    if (n < 3) return 1e9f;
    float best = 1e30f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Pt& a = poly[i];
        const Pt& b = poly[j];
        best = std::min(best, SdSegment(x, y, a.x, a.y, b.x, b.y));
        if (((a.y > y) != (b.y > y)) && (x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)) inside = !inside;
    }
    return inside ? -best : best;
}

std::vector<Pt> StarPoints(float cx, float cy, float ro, float ri, int n, float turn)
{
    std::vector<Pt> pts;
    for (int i = 0; i < 2 * n; ++i) {
        float ang = turn - float(M_PI) / 2 + float(i) * float(M_PI) / float(n);
        float r = (i % 2 == 0) ? ro : ri;
        pts.push_back({cx + r * std::cos(ang), cy + r * std::sin(ang)});
    }
    return pts;
}

std::vector<Pt> RegularPolygon(float cx, float cy, float r, int n, float turn)
{
    std::vector<Pt> pts;
    for (int i = 0; i < n; ++i) {
        float ang = turn - float(M_PI) / 2 + float(i) * 2.f * float(M_PI) / float(n);
        pts.push_back({cx + r * std::cos(ang), cy + r * std::sin(ang)});
    }
    return pts;
}

float Hash01(int x, int y, uint32_t seed)
{
    uint32_t h = HashInt(uint32_t(x) * 0x9E3779B1u ^ HashInt(uint32_t(y) + seed * 0x85EBCA77u));
    return float(h & 0xFFFFFF) / float(0xFFFFFF);
}

namespace {

// Lattice values for one seed: a 128 x 128 table of hashes, made once. The
// noise wraps every 128 lattice cells, far beyond any picture's size.
constexpr int kLattice = 128;
const float* LatticeTable(uint32_t seed)
{
    // Most calls ask for the seed of the call before, so that one is checked
    // first; the rest are found in a small direct-mapped index.
    static uint32_t lastSeed = 0;
    static const float* last = nullptr;
    if (last && lastSeed == seed) return last;
    static std::vector<std::pair<uint32_t, std::unique_ptr<float[]>>> tables;
    static const float* index[256] = {};
    static uint32_t indexSeed[256] = {};
    size_t slot = (seed * 2654435761u) >> 24;
    if (index[slot] && indexSeed[slot] == seed) {
        lastSeed = seed;
        last = index[slot];
        return last;
    }
    const float* found = nullptr;
    for (const auto& t : tables)
        if (t.first == seed) found = t.second.get();
    if (!found) {
        std::unique_ptr<float[]> v(new float[size_t(kLattice) * kLattice]);
        for (int y = 0; y < kLattice; ++y)
            for (int x = 0; x < kLattice; ++x) v[size_t(y) * kLattice + x] = Hash01(x, y, seed);
        found = v.get();
        tables.emplace_back(seed, std::move(v));
    }
    index[slot] = found;
    indexSeed[slot] = seed;
    lastSeed = seed;
    last = found;
    return found;
}

float NoiseOn(const float* tab, float x, float y, int periodX, int periodY)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int x0 = ix, x1 = ix + 1, y0 = iy, y1 = iy + 1;
    if (periodX > 0) {
        x0 = ((ix % periodX) + periodX) % periodX;
        x1 = (x0 + 1) % periodX;
    }
    if (periodY > 0) {
        y0 = ((iy % periodY) + periodY) % periodY;
        y1 = (y0 + 1) % periodY;
    }
    const int m = kLattice - 1;
    float v00 = tab[(y0 & m) * kLattice + (x0 & m)], v10 = tab[(y0 & m) * kLattice + (x1 & m)];
    float v01 = tab[(y1 & m) * kLattice + (x0 & m)], v11 = tab[(y1 & m) * kLattice + (x1 & m)];
    float a = v00 + (v10 - v00) * tx, b = v01 + (v11 - v01) * tx;
    return a + (b - a) * ty;
}

} // namespace

float ValueNoise(float x, float y, uint32_t seed, int period)
{
    return NoiseOn(LatticeTable(seed), x, y, period, period);
}

float Fbm(float x, float y, uint32_t seed, int octaves, int period) { return FbmXY(x, y, seed, octaves, period, period); }

float FbmXY(float x, float y, uint32_t seed, int octaves, int periodX, int periodY)
{
    // Octaves share one lattice, shifted so they do not line up (along an
    // axis that wraps the shift must be whole cells, so none is used there).
    const float* tab = LatticeTable(seed);
    float sum = 0, amp = .5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        float offX = periodX > 0 ? 0.f : float(i) * 37.f, offY = periodY > 0 ? 0.f : float(i) * 22.6f;
        sum += NoiseOn(tab, x + offX, y + offY, periodX, periodY) * amp;
        norm += amp;
        amp *= .5f;
        x *= 2;
        y *= 2;
        if (periodX > 0) periodX *= 2;
        if (periodY > 0) periodY *= 2;
    }
    return sum / norm;
}

Rgba Marble(float x, float y, const Rgba& base, const Rgba& vein, float scale, uint32_t seed, int period)
{
    float n = Fbm(x / scale, y / scale, seed, 3, period);
    float v = std::fabs(std::sin((x / scale * .35f + y / scale * .9f + n * 6.f) * 1.7f));
    float k = 1.f - v, k2 = k * k;
    float line = k2 * k2 * k2;
    float cloud = ValueNoise(x / (scale * 1.7f), y / (scale * 1.7f), seed + 7, period > 0 ? period : 0);
    Rgba c = Mix(base, Shade(base, .92f), cloud);
    return Mix(c, vein, line * .55f);
}

} // namespace Zorvin::AssetGen
