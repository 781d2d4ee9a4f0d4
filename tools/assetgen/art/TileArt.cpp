// Tiles: the stone bodies in three materials (ivory marble, sandstone, sea
// alabaster), their hover highlight, their backs, the flip strips, the
// joker set, the shadow baked into the backdrop, the three locks and the
// animated items.
//
// A lying tile image is 88 x 58: the face (80 x 50) at (6, 0) and the stone's
// thickness showing 6 pixels to the left and 7 below, the direction in which
// lower layers lie. Flip cels are 96 x 80 with the resting tile at (3, 17).
//
// Sections:
//   - materials and the joker emblem
//   - faces and stone drawing
//   - tiles, flips and shadows
//   - locks
//   - animated items
//   - the bonus star

#include "tools/assetgen/art/ArtKit.h"
#include "tools/assetgen/art/Painters.h"

#include <functional>

namespace Zorvin::AssetGen {

namespace {

// One of the three tile materials.
struct Material {
    Rgba face, faceVein, side, sideDark, rim;
    Rgba back, backLight, backOrnament;
    int backPattern; // 0 laurel, 1 meander, 2 waves
    uint32_t seed;
};

const Material& MaterialOf(int style)
{
    static const Material m[4] = {
        // Ivory marble with a bronze edge and a bronze back.
        {Hex(0xF6F1E6), Hex(0xB8AC98), Hex(0xC9B58F), Hex(0x7A6442), Hex(0x9A7A45), Hex(0x8C5A22), Hex(0xC98E45),
         Hex(0xF3D28A), 0, 11},
        // Sandstone with a terracotta back.
        {Hex(0xF5E6C4), Hex(0xC9A677), Hex(0xC98A5A), Hex(0x7E4326), Hex(0xA4623A), Hex(0x9E3F26), Hex(0xC9664A),
         Hex(0xF7D9B0), 1, 23},
        // Sea alabaster with a deep-blue back.
        {Hex(0xEAF5F2), Hex(0x9FC4C0), Hex(0x6FA6B0), Hex(0x2D5E6E), Hex(0x4E8C99), Hex(0x14476A), Hex(0x2C7AA0),
         Hex(0xBFE7F2), 2, 37},
        // The joker: gold leaf on wine-red stone.
        {Hex(0x7C1730), Hex(0x5A0F22), Hex(0xB88A2E), Hex(0x6B4A12), Hex(0xE8C25A), Hex(0x5A0F22), Hex(0x8C2440),
         Hex(0xF4C542), 3, 41},
    };
    return m[std::clamp(style, 0, 3)];
}

const float kFaceR = 6.f;

// The face alone, 80 x 50, in its material: the front (with the divider
// between the halves) or the back with its ornament.
// The joker's emblem: a golden sunburst with a laughing theatre mask at its
// heart, centred on (cx, cy).
void JokerEmblem(Canvas& c, float cx, float cy)
{
    auto rays = StarPoints(cx, cy, 22.f, 9.f, 12);
    auto raysSdf = [&](float x, float y) { return SdPolygon(x, y, rays); };
    c.FillShape(cx - 25, cy - 25, cx + 25, cy + 25, [&](float x, float y) { return raysSdf(x, y) - 1.2f; },
                Hex(0x7A4A10));
    MetalShape(c, cx - 24, cy - 24, cx + 24, cy + 24, raysSdf, Hex(0xFFE070), Hex(0xC07A10), 1.5f);
    auto mask = [&](float x, float y) {
        float head = SdEllipse(x, y, cx, cy + 1.f, 11.f, 12.f);
        float eyes = std::min(SdEllipse(x, y, cx - 4.5f, cy - 2.f, 2.6f, 2.f), SdEllipse(x, y, cx + 4.5f, cy - 2.f, 2.6f, 2.f));
        float mouth = std::max(std::fabs(SdCircle(x, y, cx, cy + 1.f, 6.f)) - 1.3f, cy + 3.f - y);
        return std::max(head, -std::min(eyes, mouth));
    };
    c.FillShape(cx - 13, cy - 13, cx + 13, cy + 14, mask, [&](float, float y, float) {
        return Mix(Hex(0xFFF6E0), Hex(0xE6C27A), Clamp01((y - cy + 12.f) / 24.f));
    });
    c.Bevel(cx - 13, cy - 13, cx + 13, cy + 14, mask, 1.5f, .5f);
}

Canvas FaceCanvas(const Material& m, bool back, bool joker)
{
    const int W = kTileFaceW, H = kTileFaceH;
    Canvas c(W, H);
    auto face = [&](float x, float y) { return SdRoundRect(x, y, .5f, .5f, float(W) - .5f, float(H) - .5f, kFaceR); };
    if (!back) {
        // Faces, the joker's included, are light marble: an open tile never
        // looks like a back. The joker's own plate colour tints its marble.
        const Material& stoneOf = joker ? MaterialOf(0) : m;
        c.FillShape(0, 0, float(W), float(H), face, [&](float x, float y, float) {
            Rgba stone = Marble(x, y, stoneOf.face, stoneOf.faceVein, 11.f, m.seed);
            if (joker)
                stone = Mix(stone, Hex(0xFFE7A8), .35f);
            // Light falls from the upper left.
            return Shade(stone, 1.02f - (x / float(W)) * .04f - (y / float(H)) * .05f);
        });
        c.Bevel(0, 0, float(W), float(H), face, 3.f, .5f);
        if (joker) {
            // A ring in the joker's colour, then the sunburst and the mask.
            auto ring = [&](float x, float y) {
                return std::fabs(SdRoundRect(x, y, 4.5f, 4.5f, float(W) - 4.5f, float(H) - 4.5f, 3.f)) - 1.2f;
            };
            c.FillShape(0, 0, float(W), float(H), ring, WithAlpha(m.back, .9f));
            JokerEmblem(c, float(W) / 2.f, float(H) / 2.f);
            return c;
        }
        // The engraved divider and its bronze pin.
        float mx = float(W) / 2.f;
        c.FillShape(mx - 2, 5, mx + 2, float(H) - 5,
                    [&](float x, float y) { return SdRoundRect(x, y, mx - .8f, 6.f, mx + .8f, float(H) - 6.f, .8f); },
                    WithAlpha(Shade(m.faceVein, .7f), .8f));
        c.FillShape(mx - 1, 5, mx + 3, float(H) - 5,
                    [&](float x, float y) { return SdRoundRect(x, y, mx + .8f, 6.f, mx + 1.6f, float(H) - 6.f, .4f); },
                    Rgba(1, 1, 1, .6f));
        auto pin = [&](float x, float y) { return SdCircle(x, y, mx, float(H) / 2.f, 2.6f); };
        MetalShape(c, mx - 4, float(H) / 2 - 4, mx + 4, float(H) / 2 + 4, pin, Palette::BronzeLight, Palette::BronzeDark, 1.2f);
        return c;
    }
    // Backs and the joker face: a coloured plate with an inlaid ornament.
    c.FillShape(0, 0, float(W), float(H), face, [&](float x, float y, float) {
        float n = Fbm(x / 9.f, y / 9.f, m.seed + 3, 3);
        Rgba base = Mix(m.backLight, m.back, Clamp01(y / float(H) * .8f + .1f));
        return Shade(base, .9f + n * .2f);
    });
    c.Bevel(0, 0, float(W), float(H), face, 3.f, .45f);
    // Inner fillet.
    auto fillet = [&](float x, float y) {
        return std::fabs(SdRoundRect(x, y, 4.5f, 4.5f, float(W) - 4.5f, float(H) - 4.5f, 3.f)) - .7f;
    };
    c.FillShape(0, 0, float(W), float(H), fillet, WithAlpha(m.backOrnament, .85f));
    const Rgba orn = m.backOrnament;
    float cx = float(W) / 2.f, cy = float(H) / 2.f;
    switch (m.backPattern) {
    case 0: { // laurel wreath around a small disc
        for (int side = -1; side <= 1; side += 2)
            for (int i = 0; i < 6; ++i) {
                float t = float(i) / 5.f;
                float ang = float(M_PI) * (.62f + .7f * t);
                float lx = cx + float(side) * -std::cos(ang) * 15.f, ly = cy + std::sin(ang) * -13.f + 2.f;
                float rot = ang + float(side) * .9f;
                auto leaf = [&](float x, float y) {
                    float dx = x - lx, dy = y - ly;
                    float u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
                    return SdEllipse(u, v, 0, 0, 4.2f, 1.9f);
                };
                MetalShape(c, lx - 6, ly - 6, lx + 6, ly + 6, leaf, Hex(0xFFF0C0), Shade(orn, .7f), 1.f);
            }
        auto disc = [&](float x, float y) { return SdCircle(x, y, cx, cy, 5.f); };
        MetalShape(c, cx - 6, cy - 6, cx + 6, cy + 6, disc, Hex(0xFFF0C0), Shade(orn, .7f), 1.2f);
        break;
    }
    case 1: { // Greek key (meander) band along the middle
        auto key = [&](float x, float y) {
            float d = 1e9f;
            for (int k = 0; k < 5; ++k) {
                float x0 = 10.f + float(k) * 12.f;
                // Each unit: up, right, down, left, up - a squared spiral.
                const float pts[][2] = {{0, 8}, {0, -8}, {9, -8}, {9, 4}, {4, 4}, {4, -3}};
                for (int i = 0; i + 1 < 6; ++i)
                    d = std::min(d, SdSegment(x, y, x0 + pts[i][0], cy + pts[i][1], x0 + pts[i + 1][0], cy + pts[i + 1][1]));
                if (k < 4) d = std::min(d, SdSegment(x, y, x0, cy + 8, x0 + 12, cy + 8));
            }
            return d - 1.2f;
        };
        MetalShape(c, 6, 6, float(W) - 6, float(H) - 6, key, Hex(0xFFF1DA), Shade(orn, .75f), 1.f);
        break;
    }
    case 3: { // the joker's back: a small golden sun in a ring of dots
        auto sun = StarPoints(cx, cy, 13.f, 6.f, 8);
        MetalShape(c, cx - 14, cy - 14, cx + 14, cy + 14, [&](float x, float y) { return SdPolygon(x, y, sun); },
                   Hex(0xFFF0B0), Hex(0xB07A1A), 1.2f);
        for (int i = 0; i < 16; ++i) {
            float a = float(i) / 16.f * 2.f * float(M_PI);
            float dx = cx + std::cos(a) * 30.f, dy = cy + std::sin(a) * 16.f;
            c.FillShape(dx - 3, dy - 3, dx + 3, dy + 3, [&](float x, float y) { return SdCircle(x, y, dx, dy, 1.6f); },
                        WithAlpha(orn, .9f));
        }
        break;
    }
    default: { // waves and a shell
        for (int row = 0; row < 2; ++row) {
            float wy = row == 0 ? 14.f : 38.f;
            auto wave = [&](float x, float y) {
                float d = 1e9f;
                for (int k = 0; k < 7; ++k) {
                    float ccx = 9.f + float(k) * 10.f;
                    d = std::min(d, std::max(std::fabs(SdCircle(x, y, ccx, wy + 3.f, 5.f)) - .9f, y - wy - 3.f));
                }
                return d;
            };
            c.FillShape(5, wy - 5, float(W) - 5, wy + 5, wave, WithAlpha(orn, .9f));
        }
        auto shell = [&](float x, float y) {
            float fan = std::max(SdCircle(x, y, cx, cy + 6.f, 10.f), y - cy - 6.f);
            float ang = std::atan2(y - cy - 6.f, x - cx);
            float groove = std::fabs(std::sin(ang * 6.f)) * std::hypot(x - cx, y - cy - 6.f) - .7f;
            if (std::hypot(x - cx, y - cy - 6.f) > 3.f) fan = std::max(fan, -groove);
            return std::min(fan, SdRoundRect(x, y, cx - 3.f, cy + 5.f, cx + 3.f, cy + 9.f, 1.f));
        };
        MetalShape(c, cx - 12, cy - 6, cx + 12, cy + 10, shell, Hex(0xF5FCFF), Shade(orn, .7f), 1.f);
        break;
    }
    }
    return c;
}

// Bilinear sample with straight alpha; outside the canvas is transparent.
Rgba Sample(const Canvas& c, float x, float y)
{
    x -= .5f;
    y -= .5f;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float tx = x - float(x0), ty = y - float(y0);
    Rgba p[4] = {c.Get(x0, y0), c.Get(x0 + 1, y0), c.Get(x0, y0 + 1), c.Get(x0 + 1, y0 + 1)};
    float wts[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
    float r = 0, g = 0, b = 0, a = 0;
    for (int i = 0; i < 4; ++i) {
        float wa = wts[i] * p[i].a;
        r += p[i].r * wa;
        g += p[i].g * wa;
        b += p[i].b * wa;
        a += wa;
    }
    if (a <= 1e-5f) return Rgba(0, 0, 0, 0);
    return Rgba(r / a, g / a, b / a, a);
}

// A face quad in the destination: a parallelogram with vertical sides at x0
// and x1, whose left side's top is at yl and right side's top at yr; height H.
struct Quad {
    float x0, x1, yl, yr;
};

float QuadSdf(const Quad& q, float x, float y)
{
    std::vector<Pt> p = {{q.x0, q.yl}, {q.x1, q.yr}, {q.x1, q.yr + float(kTileFaceH)}, {q.x0, q.yl + float(kTileFaceH)}};
    return SdPolygon(x, y, p) - .3f;
}

// Draws a whole stone: the thickness behind, then the face mapped into the
// quad (flat tiles use the quad of the resting position).
void DrawStone(Canvas& c, const Material& m, const Canvas& face, const Quad& q)
{
    if (q.x1 - q.x0 < .5f) {
        // Edge on: only a sliver of the stone's edge shows.
        float x = q.x0;
        auto edge = [&](float px, float py) {
            return SdSegment(px, py, x - 3.f, q.yl + 3.f, x - 3.f, q.yl + float(kTileFaceH) + 4.f) - 2.2f;
        };
        c.FillShape(x - 8, q.yl, x + 2, q.yl + float(kTileFaceH) + 8, edge, m.side);
        return;
    }
    auto body = [&](float x, float y) {
        float d = 1e9f;
        for (int i = 0; i <= 6; ++i) {
            float t = float(i) / 6.f;
            d = std::min(d, QuadSdf(q, x + t * float(kTileDepthX), y - t * float(kTileDepthY)));
        }
        return d;
    };
    float bx0 = q.x0 - float(kTileDepthX) - 1, bx1 = q.x1 + 1;
    float by0 = std::min(q.yl, q.yr) - 1, by1 = std::max(q.yl, q.yr) + float(kTileFaceH + kTileDepthY) + 1;
    c.FillShape(bx0, by0, bx1, by1, body, [&](float x, float y, float) {
        float t = Clamp01((y - by0) / (by1 - by0));
        float s = Clamp01((x - bx0) / std::max(1.f, bx1 - bx0));
        return Mix(m.side, m.sideDark, t * .7f + (1.f - s) * .2f);
    });
    // A dark line where the face meets the thickness.
    c.FillShape(bx0, by0, bx1, by1, [&](float x, float y) { return std::fabs(QuadSdf(q, x + 1.f, y - 1.f)) - .5f; },
                WithAlpha(m.sideDark, .6f));
    float qw = q.x1 - q.x0;
    c.FillShape(q.x0 - 1, by0, q.x1 + 1, by1, [&](float x, float y) { return QuadSdf(q, x, y); },
                [&](float x, float y, float) {
                    float u = (x - q.x0) / qw;
                    float top = q.yl + (q.yr - q.yl) * u;
                    Rgba s = Sample(face, u * float(kTileFaceW), y - top);
                    return s.a > 0 ? Rgba(s.r, s.g, s.b, 1) : Rgba(m.face.r, m.face.g, m.face.b, 1);
                });
}

Quad RestingQuad(float ox, float oy)
{
    return {ox + float(kTileFaceX), ox + float(kTileFaceX + kTileFaceW), oy, oy};
}

Canvas PaintTile(int style, bool back, bool over, bool joker, int w, int h)
{
    const Material& m = MaterialOf(joker ? 3 : style);
    Canvas c(w, h);
    Canvas face = FaceCanvas(m, back, joker && !back);
    if (joker && back) face = FaceCanvas(MaterialOf(3), true, false);
    DrawStone(c, m, face, RestingQuad(0, 0));
    if (over) {
        // Hover: a brighter face and a warm golden rim.
        auto faceSdf = [&](float x, float y) {
            return SdRoundRect(x, y, float(kTileFaceX) + .5f, .5f, float(kTileFaceX + kTileFaceW) - .5f, float(kTileFaceH) - .5f, kFaceR);
        };
        c.FillShape(0, 0, float(w), float(h), faceSdf, [&](float, float, float d) {
            float rim = Clamp01(1.f + d / 6.f);
            return Mix(Rgba(1, .97f, .85f, .22f), Rgba(1, .8f, .28f, .9f), rim);
        });
    }
    return c;
}

// The flip strip: cels 0-6 turn the back away, cels 7-12 open the face in
// step with the value pictures the game draws over it.
Canvas PaintFlip(int style, bool joker, int w, int h)
{
    const Material& m = MaterialOf(joker ? 3 : style);
    Canvas strip(w, h);
    Canvas back = FaceCanvas(joker ? MaterialOf(3) : m, true, false);
    Canvas front = FaceCanvas(m, false, joker);
    const int cw = w / kFlipCels;
    const float ox = 3.f, oy = 17.f; // resting tile inside a cel
    const float vw = 34.f;            // width of a value picture
    for (int cel = 0; cel < kFlipCels; ++cel) {
        Canvas c(cw, h);
        Quad q;
        const Canvas* face;
        if (cel <= 6) {
            float k = float(cel);
            float half = 40.f * std::cos(float(cel) / 6.f * float(M_PI) / 2.f);
            float mid = ox + float(kTileFaceX) + 40.f;
            q = {mid - half, mid + half, oy + k, oy - k};
            face = &back;
        } else {
            float s = float(cel - 6) / 6.f;
            float margin = (40.f - vw) / 2.f;
            float ls = margin + 7.f + float(6 - cel) * 20.f / 6.f + 20.f;
            float re = margin + 47.f + vw * s;
            float k = float(12 - cel);
            q = {ox + ls - margin * s - 4.f * s, ox + re + margin * s + 3.f * s, oy + k, oy - k};
            if (cel == 12) q = RestingQuad(ox, oy);
            face = &front;
        }
        DrawStone(c, m, *face, q);
        c.AddDropShadow(-2, 3, 4, Rgba(0, 0, 0, .3f));
        strip.Draw(c, cel * cw, 0);
    }
    return strip;
}

// The soft shadow of a tile, baked under it into the backdrop. Drawn at
// (left - 4, top - 4), so the tile's own outline sits at (4, 4).
Canvas PaintTileShadow(int w, int h)
{
    Canvas c(w, h);
    Mask m(w, h);
    Quad q = RestingQuad(4, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float fx = float(x) + .5f + 1.5f, fy = float(y) + .5f - 1.5f; // cast down-left
            float d = 1e9f;
            for (int i = 0; i <= 6; ++i) {
                float t = float(i) / 6.f;
                d = std::min(d, QuadSdf(q, fx + t * float(kTileDepthX), fy - t * float(kTileDepthY)));
            }
            m.Ref(x, y) = Clamp01(.5f - d + 1.f);
        }
    m.Blur(3);
    c.DrawMask(m, Rgba(.08f, .05f, .02f, .62f));
    return c;
}

// ---- locks ----

// Each item opens the locks of its own number, and the pair shares a metal
// and an emblem so the player sees which opens which: the steel key opens
// the steel padlock on steel chains that bears a key, the golden pyramid
// the golden padlock that bears a pyramid, and the blue pearl the blue wax
// seal that bears a pearl.
namespace ItemColours {
inline constexpr Rgba SteelLight = Hex(0xF2F6FA);
inline constexpr Rgba SteelDark = Hex(0x4A525C);
inline constexpr Rgba GoldLight = Hex(0xFFE9A0);
inline constexpr Rgba GoldDark = Hex(0x7A4A0E);
inline constexpr Rgba PearlLight = Hex(0x8FE0EE);
inline constexpr Rgba PearlDark = Hex(0x15587A);
} // namespace ItemColours

enum class Emblem { Key, Pyramid };

// A row of chain links along a segment.
void DrawChain(Canvas& c, float ax, float ay, float bx, float by, const Rgba& light, const Rgba& dark)
{
    float len = std::hypot(bx - ax, by - ay);
    int n = std::max(2, int(len / 7.f));
    float ang = std::atan2(by - ay, bx - ax);
    for (int i = 0; i <= n; ++i) {
        float t = float(i) / float(n);
        float cx = ax + (bx - ax) * t, cy = ay + (by - ay) * t;
        bool flat = i % 2 == 0;
        float rot = ang;
        auto link = [&](float x, float y) {
            float dx = x - cx, dy = y - cy;
            float u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
            if (flat) return std::fabs(SdEllipse(u, v, 0, 0, 5.f, 3.2f)) - 1.3f;
            return SdRoundRect(u, v, -5.f, -1.4f, 5.f, 1.4f, 1.4f);
        };
        MetalShape(c, cx - 7, cy - 7, cx + 7, cy + 7, link, light, dark, 1.f);
    }
}

// The outline of a small key lying level, its bow centred on (x, y).
float SdKeyEmblem(float px, float py, float x, float y, float s)
{
    float bow = std::fabs(SdCircle(px, py, x, y, 2.6f * s)) - 1.f * s;
    float shaft = SdRoundRect(px, py, x + 2.f * s, y - .9f * s, x + 10.f * s, y + .9f * s, .5f);
    float bit = SdRoundRect(px, py, x + 7.f * s, y, x + 9.5f * s, y + 3.5f * s, .4f);
    return std::min(std::min(bow, shaft), bit);
}

void DrawPadlock(Canvas& c, float cx, float top, float bw, float bh, const Rgba& light, const Rgba& dark, Emblem emblem)
{
    float sh = bh * .55f;
    auto shackle = [&](float x, float y) {
        float arc = std::fabs(SdCircle(x, y, cx, top + sh * .55f, bw * .3f)) - 2.2f;
        arc = std::max(arc, y - (top + sh));
        float legs = std::min(SdSegment(x, y, cx - bw * .3f, top + sh * .55f, cx - bw * .3f, top + sh + 3),
                              SdSegment(x, y, cx + bw * .3f, top + sh * .55f, cx + bw * .3f, top + sh + 3)) - 2.2f;
        return std::min(arc, legs);
    };
    MetalShape(c, cx - bw, top - 4, cx + bw, top + sh + 5, shackle, Shade(light, .97f), Shade(dark, 1.1f), 1.2f);
    float by0 = top + sh;
    float bodyH = bh * .75f;
    auto body = [&](float x, float y) { return SdRoundRect(x, y, cx - bw / 2, by0, cx + bw / 2, by0 + bodyH, 4.f); };
    MetalShape(c, cx - bw / 2, by0, cx + bw / 2, by0 + bodyH, body, light, dark, 2.f);
    // The emblem of the item that opens it, sunk into the body.
    float ey = by0 + bodyH * .5f;
    std::function<float(float, float)> mark;
    if (emblem == Emblem::Key) {
        float s = bw / 22.f;
        mark = [=](float x, float y) { return SdKeyEmblem(x, y, cx - 4.2f * s, ey, s); };
    } else {
        float r = bodyH * .36f;
        std::vector<Pt> tri = {{cx, ey - r}, {cx + r * 1.05f, ey + r * .75f}, {cx - r * 1.05f, ey + r * .75f}};
        mark = [=](float x, float y) { return SdPolygon(x, y, tri); };
    }
    c.FillShape(cx - bw / 2, by0, cx + bw / 2, by0 + bodyH, mark, Shade(dark, .6f));
    c.Bevel(cx - bw / 2, by0, cx + bw / 2, by0 + bodyH, mark, 1.2f, -.5f);
}

// The face of a lying tile inside the lock image of type 0, which the board
// draws 3 pixels left of and 6 above the tile: the tile covers (3, 6) -
// (91, 64) of the image, its face (9, 6) - (89, 56).
inline constexpr float kLock0TileX0 = 3, kLock0TileY0 = 6, kLock0TileX1 = 91, kLock0TileY1 = 64;

Canvas PaintLock0(int w, int h)
{
    // Steel chains crossed over the stone, held by a steel padlock that
    // bears a key. The chains end inside the tile, so they never lie over
    // a neighbouring tile's values.
    using namespace ItemColours;
    Canvas c(w, h);
    DrawChain(c, 17, 14, 81, 49, SteelLight, SteelDark);
    DrawChain(c, 17, 49, 81, 14, SteelLight, SteelDark);
    DrawPadlock(c, 48, 12, 24, 36, SteelLight, SteelDark, Emblem::Key);
    c.AddDropShadow(-1, 2, 2, Rgba(0, 0, 0, .5f));
    return c;
}

Canvas PaintLock1(int w, int h)
{
    // A large golden padlock bearing a pyramid, hanging over the stone's
    // upper edge.
    using namespace ItemColours;
    Canvas c(w, h);
    DrawPadlock(c, float(w) / 2.f, 3, 34, 44, GoldLight, GoldDark, Emblem::Pyramid);
    c.AddDropShadow(-1, 2, 3, Rgba(0, 0, 0, .5f));
    return c;
}

Canvas PaintLock2(int w, int h)
{
    // A blue wax seal with ribbon tails, embossed with a pearl.
    using namespace ItemColours;
    Canvas c(w, h);
    float cx = float(w) / 2.f, cy = float(h) / 2.f - 2.f;
    for (int side = -1; side <= 1; side += 2) {
        std::vector<Pt> tail = {{cx + float(side) * 4.f, cy}, {cx + float(side) * 14.f, cy + 26.f},
                                {cx + float(side) * 8.f, cy + 22.f}, {cx + float(side) * 3.f, cy + 27.f}};
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, tail); },
                    [&](float, float y, float) { return Mix(Hex(0x2B8FB8), PearlDark, Clamp01((y - cy) / 26.f)); });
    }
    auto seal = [&](float x, float y) {
        float ang = std::atan2(y - cy, x - cx);
        float r = 19.f + std::sin(ang * 9.f) * 1.4f;
        return std::hypot(x - cx, y - cy) - r;
    };
    // A pale rim keeps the blue seal apart from the blue backs of the sea
    // stones it may lie on.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return seal(x, y) - 1.6f; }, Hex(0xF4EAD0));
    c.FillShape(0, 0, float(w), float(h), seal, [&](float x, float y, float) {
        return Mix(Hex(0x4AAAD8), PearlDark, Clamp01((x - cx + y - cy) / 40.f + .5f));
    });
    c.Bevel(0, 0, float(w), float(h), seal, 3.f, .5f);
    auto ring = [&](float x, float y) { return std::fabs(SdCircle(x, y, cx, cy, 13.f)) - .9f; };
    c.FillShape(0, 0, float(w), float(h), ring, Rgba(.04f, .18f, .3f, .7f));
    // The pearl: a raised ball with its own highlight.
    auto pearl = [&](float x, float y) { return SdCircle(x, y, cx, cy, 7.5f); };
    c.FillShape(0, 0, float(w), float(h), pearl, [&](float x, float y, float) {
        float k = Clamp01(std::hypot(x - cx + 3.f, y - cy + 3.f) / 11.f);
        return Mix(PearlLight, Hex(0x2B8FB8), k);
    });
    c.Bevel(0, 0, float(w), float(h), pearl, 1.5f, .5f);
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdEllipse(x, y, cx - 2.5f, cy - 3.f, 2.5f, 1.8f); },
                Rgba(1, 1, 1, .75f));
    c.AddDropShadow(-1, 2, 3, Rgba(0, 0, 0, .5f));
    return c;
}

// ---- items ----

Canvas PaintKeyAnim(int w, int h)
{
    using namespace ItemColours;
    Canvas strip(w, h);
    int cw = w / 8;
    for (int cel = 0; cel < 8; ++cel) {
        Canvas c(cw, h);
        // The key lies small along the bottom of its cel: on a tile the cel
        // sits over the left value, and the key must leave that value
        // readable, touching only the margin below it.
        float ph = float(cel) / 8.f * 2.f * float(M_PI);
        float rot = std::sin(ph) * .05f;
        const float scale = 1.45f; // the key is drawn at 1/scale of its design size
        float cx = float(cw) / 2.f, cy = float(h) - 6.f;
        auto key = [&](float x, float y) {
            float dx = (x - cx) * scale, dy = (y - cy) * scale;
            float u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
            float bow = std::fabs(SdCircle(u, v, -10.f, 0, 6.f)) - 2.2f;
            float shaft = SdRoundRect(u, v, -5.f, -1.8f, 15.f, 1.8f, 1.f);
            float bit1 = SdRoundRect(u, v, 9.f, 0, 12.f, 6.5f, .8f);
            float bit2 = SdRoundRect(u, v, 13.5f, 0, 16.f, 5.f, .8f);
            return std::min(std::min(bow, shaft), std::min(bit1, bit2)) / scale;
        };
        MetalShape(c, 0, 0, float(cw), float(h), key, SteelLight, SteelDark, 1.5f);
        // A glint that runs along the key.
        float gx = (-14.f + float(cel) * 4.5f) / scale;
        c.FillShape(0, 0, float(cw), float(h), [&](float x, float y) {
            return std::max(key(x, y), SdCircle(x, y, cx + gx * std::cos(rot), cy + gx * std::sin(rot), 4.f));
        }, Rgba(1, 1, 1, .55f));
        c.AddDropShadow(-1, 2, 2, Rgba(0, 0, 0, .45f));
        strip.Draw(c, cel * cw, 0);
    }
    return strip;
}

Canvas PaintPyramidAnim(int w, int h)
{
    // A golden pyramid turning slowly on the tile, lit from the upper left.
    Canvas strip(w, h);
    int cw = w / 8;
    for (int cel = 0; cel < 8; ++cel) {
        Canvas c(cw, h);
        float cx = float(cw) / 2.f, baseY = float(h) - 12.f;
        float apexY = 6.f;
        float turn = float(cel) / 8.f * float(M_PI) / 2.f; // a quarter turn repeats the square
        struct V {
            float x, y, depth;
        };
        V base[4];
        for (int i = 0; i < 4; ++i) {
            float a = turn + float(i) * float(M_PI) / 2.f;
            base[i] = {cx + std::cos(a) * 24.f, baseY + std::sin(a) * 7.f, std::sin(a)};
        }
        // Draw the faces from back to front.
        int order[4] = {0, 1, 2, 3};
        std::sort(order, order + 4, [&](int a, int b) {
            return base[a].depth + base[(a + 1) % 4].depth < base[b].depth + base[(b + 1) % 4].depth;
        });
        for (int k : order) {
            const V& p = base[k];
            const V& q = base[(k + 1) % 4];
            std::vector<Pt> tri = {{cx, apexY}, {p.x, p.y}, {q.x, q.y}};
            float nx = (p.x + q.x) / 2.f - cx;
            float light = Clamp01(.55f - nx / 30.f + (p.depth + q.depth) * .1f);
            Rgba col = Mix(ItemColours::GoldDark, ItemColours::GoldLight, light);
            c.FillShape(0, 0, float(cw), float(h), [&](float x, float y) { return SdPolygon(x, y, tri); }, col);
        }
        // Hieroglyph-like band and a shining capstone.
        auto cap = [&](float x, float y) { return SdPolygon(x, y, {{cx, apexY - 1}, {cx - 6, apexY + 11}, {cx + 6, apexY + 11}}); };
        c.FillShape(0, 0, float(cw), float(h), cap, Rgba(1, 1, .9f, .85f));
        float glow = .3f + .3f * std::sin(float(cel) / 8.f * 2.f * float(M_PI));
        c.FillShape(0, 0, float(cw), float(h), [&](float x, float y) { return SdCircle(x, y, cx, apexY + 2, 5.f); },
                    Rgba(1, 1, .8f, glow));
        c.AddDropShadow(-2, 2, 3, Rgba(0, 0, 0, .45f));
        strip.Draw(c, cel * cw, 0);
    }
    return strip;
}

Canvas PaintSphereAnim(int w, int h)
{
    // A sea pearl with turning bands of light.
    Canvas strip(w, h);
    int cw = w / 8;
    for (int cel = 0; cel < 8; ++cel) {
        Canvas c(cw, h);
        float cx = float(cw) / 2.f, cy = float(h) / 2.f, r = 19.f;
        float ph = float(cel) / 8.f * 2.f * float(M_PI);
        auto orb = [&](float x, float y) { return SdCircle(x, y, cx, cy, r); };
        c.FillShape(0, 0, float(cw), float(h), orb, [&](float x, float y, float) {
            float nx = (x - cx) / r, ny = (y - cy) / r;
            float nz = std::sqrt(std::max(0.f, 1.f - nx * nx - ny * ny));
            float lon = std::atan2(nx, nz) + ph;
            float band = .5f + .5f * std::sin(lon * 3.f + ny * 2.f);
            float diff = Clamp01(-.45f * nx - .55f * ny + .7f * nz);
            Rgba base = Mix(Hex(0x2B8FB8), ItemColours::PearlLight, band * .6f);
            return Mix(Shade(base, .55f), base, diff);
        });
        c.FillShape(0, 0, float(cw), float(h), [&](float x, float y) { return SdEllipse(x, y, cx - 7, cy - 8, 6, 4); },
                    Rgba(1, 1, 1, .7f));
        c.FillShape(0, 0, float(cw), float(h), [&](float x, float y) { return std::fabs(orb(x, y)) - .8f; },
                    Rgba(.05f, .2f, .3f, .6f));
        c.AddDropShadow(-2, 3, 3, Rgba(0, 0, 0, .45f));
        strip.Draw(c, cel * cw, 0);
    }
    return strip;
}

Canvas PaintBonusStar(int w, int h)
{
    Canvas strip(w, h);
    int cw = w / 8;
    for (int cel = 0; cel < 8; ++cel) {
        Canvas c(cw, h);
        float t = float(cel) / 8.f;
        float s = .35f + .65f * std::sin(t * float(M_PI));
        float cx = float(cw) / 2.f, cy = float(h) / 2.f;
        auto glow = [&](float x, float y) { return SdCircle(x, y, cx, cy, 6.f * s); };
        c.FillShape(0, 0, float(cw), float(h), glow, [&](float, float, float d) {
            return Rgba(1, .9f, .5f, .5f * Clamp01(-d / (6.f * s)));
        });
        auto star = StarPoints(cx, cy, 11.f * s, 2.f * s, 4, t * .8f);
        c.FillShape(0, 0, float(cw), float(h), [&](float x, float y) { return SdPolygon(x, y, star); },
                    [&](float x, float y, float) {
                        float d = std::hypot(x - cx, y - cy) / (11.f * s);
                        return Mix(Rgba(1, 1, 1, 1), Hex(0xFFD24A), Clamp01(d));
                    });
        strip.Draw(c, cel * cw, 0);
    }
    return strip;
}

PainterRegistration regs[] = {
    {"IMAGE_FISH_L", [](int w, int h) { return PaintTile(0, false, false, false, w, h); }},
    {"IMAGE_FISH_L2", [](int w, int h) { return PaintTile(1, false, false, false, w, h); }},
    {"IMAGE_FISH_L3", [](int w, int h) { return PaintTile(2, false, false, false, w, h); }},
    {"IMAGE_FISH_OVER", [](int w, int h) { return PaintTile(0, false, true, false, w, h); }},
    {"IMAGE_FISH_OVER2", [](int w, int h) { return PaintTile(1, false, true, false, w, h); }},
    {"IMAGE_FISH_OVER3", [](int w, int h) { return PaintTile(2, false, true, false, w, h); }},
    {"IMAGE_FISH_BACK", [](int w, int h) { return PaintTile(0, true, false, false, w, h); }},
    {"IMAGE_FISH_BACK2", [](int w, int h) { return PaintTile(1, true, false, false, w, h); }},
    {"IMAGE_FISH_BACK3", [](int w, int h) { return PaintTile(2, true, false, false, w, h); }},
    {"IMAGE_FISH_ROTATE", [](int w, int h) { return PaintFlip(0, false, w, h); }},
    {"IMAGE_FISH_ROTATE2", [](int w, int h) { return PaintFlip(1, false, w, h); }},
    {"IMAGE_FISH_ROTATE3", [](int w, int h) { return PaintFlip(2, false, w, h); }},
    {"IMAGE_FISH_JOKER", [](int w, int h) { return PaintTile(3, false, false, true, w, h); }},
    {"IMAGE_FISH_JOKER_BACK", [](int w, int h) { return PaintTile(3, true, false, true, w, h); }},
    {"IMAGE_FISH_JOKER_ROTATE", [](int w, int h) { return PaintFlip(3, true, w, h); }},
    {"IMAGE_FISH_BORDER", PaintTileShadow},
    {"IMAGE_FISH_LOCK0", PaintLock0},
    {"IMAGE_FISH_LOCK1", PaintLock1},
    {"IMAGE_FISH_LOCK2", PaintLock2},
    {"IMAGE_KEY_ANIM", PaintKeyAnim},
    {"IMAGE_PYRAMID_ANIM", PaintPyramidAnim},
    {"IMAGE_SPHERE_ANIM", PaintSphereAnim},
    {"IM_BONUS_STAR", PaintBonusStar},
};

} // namespace

} // namespace Zorvin::AssetGen
