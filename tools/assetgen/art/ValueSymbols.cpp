// The 26 tile values. Each value is a bold symbol of its own shape in its own
// colour, with a dark rim so it reads on the light tile faces; no two values
// share a silhouette or a colour, so players who cannot tell some colours
// apart still can tell the values apart.

#include "tools/assetgen/art/ArtKit.h"
#include "tools/assetgen/art/Painters.h"

#include <functional>

namespace Zorvin::AssetGen {

namespace {

using Sdf = std::function<float(float, float)>;

inline float Union(float a, float b) { return std::min(a, b); }
inline float Cut(float a, float b) { return std::max(a, -b); }
inline float Both(float a, float b) { return std::max(a, b); }

// The symbol's silhouette in a 34 x 44 box centred on (17, 22).
Sdf SymbolShape(int value)
{
    const float cx = 17, cy = 22;
    switch (value) {
    case 0: // sun: a disc with eight rays
        return [=](float x, float y) {
            float d = SdCircle(x, y, cx, cy, 8.5f);
            for (int i = 0; i < 8; ++i) {
                float a = float(i) * float(M_PI) / 4.f;
                d = std::min(d, SdSegment(x, y, cx + std::cos(a) * 10.f, cy + std::sin(a) * 10.f, cx + std::cos(a) * 15.5f,
                                          cy + std::sin(a) * 15.5f) - 1.7f);
            }
            return d;
        };
    case 1: // triangle
        return [=](float x, float y) {
            static const std::vector<Pt> tri = {{17, 6}, {31, 34}, {3, 34}};
            return SdPolygon(x, y, tri) - 1.f;
        };
    case 2: // square
        return [=](float x, float y) { return SdRoundRect(x, y, 5, 10, 29, 34, 2.5f); };
    case 3: // five-pointed star
        return [=](float x, float y) {
            static const std::vector<Pt> s = StarPoints(17, 23, 15.5f, 6.5f, 5);
            return SdPolygon(x, y, s) - .5f;
        };
    case 4: // crescent moon
        return [=](float x, float y) { return Cut(SdCircle(x, y, 16, 22, 13), SdCircle(x, y, 22, 18, 11)); };
    case 5: // heart
        return [=](float x, float y) {
            float a = SdCircle(x, y, 11, 16, 7.5f), b = SdCircle(x, y, 23, 16, 7.5f);
            static const std::vector<Pt> tip = {{4.5f, 19}, {29.5f, 19}, {17, 36}};
            return Union(Union(a, b), SdPolygon(x, y, tip) - .5f);
        };
    case 6: // hexagonal nut
        return [=](float x, float y) {
            static const std::vector<Pt> hx = RegularPolygon(17, 22, 14.5f, 6);
            return Cut(SdPolygon(x, y, hx) - .5f, SdCircle(x, y, cx, cy, 6.f));
        };
    case 7: // Greek cross
        return [=](float x, float y) {
            return Union(SdRoundRect(x, y, 12, 8, 22, 36, 1.5f), SdRoundRect(x, y, 3, 17, 31, 27, 1.5f));
        };
    case 8: // rhombus
        return [=](float x, float y) {
            static const std::vector<Pt> r = {{17, 5}, {30, 22}, {17, 39}, {4, 22}};
            return SdPolygon(x, y, r) - .5f;
        };
    case 9: // water drop
        return [=](float x, float y) {
            static const std::vector<Pt> t = {{17, 4}, {25.8f, 26}, {8.2f, 26}};
            return Union(SdCircle(x, y, 17, 29, 9.5f), SdPolygon(x, y, t));
        };
    case 10: // olive leaf: two arcs meeting at the tips, tilted
        return [=](float x, float y) {
            float c = std::cos(.55f), s = std::sin(.55f);
            float lx = (x - cx) * c - (y - cy) * s, ly = (x - cx) * s + (y - cy) * c;
            float leaf = Both(SdCircle(lx, ly, -8.5f, 0, 16), SdCircle(lx, ly, 8.5f, 0, 16));
            float stem = SdSegment(lx, ly, 0, 15, 0, 20) - 1.3f;
            return Union(leaf, stem);
        };
    case 11: // horseshoe
        return [=](float x, float y) {
            float ring = std::fabs(SdCircle(x, y, cx, cy - 2.f, 10.f)) - 3.6f;
            float gap = Both(SdRoundRect(x, y, cx - 5.5f, cy, cx + 5.5f, cy + 16.f, 1.f), 0.f);
            float shoe = Cut(ring, gap);
            float feet = Union(SdRoundRect(x, y, cx - 15.f, cy + 7.f, cx - 5.5f, cy + 11.f, 1.5f),
                               SdRoundRect(x, y, cx + 5.5f, cy + 7.f, cx + 15.f, cy + 11.f, 1.5f));
            return Union(shoe, feet);
        };
    case 12: // double chevron pointing up
        return [=](float x, float y) {
            float a = SdSegment(x, y, 4, 22, 17, 9) - 3.5f, b = SdSegment(x, y, 17, 9, 30, 22) - 3.5f;
            float c2 = SdSegment(x, y, 4, 35, 17, 22) - 3.5f, d = SdSegment(x, y, 17, 22, 30, 35) - 3.5f;
            return Union(Union(a, b), Union(c2, d));
        };
    case 13: // lightning bolt
        return [=](float x, float y) {
            static const std::vector<Pt> b = {{21, 3}, {7, 25}, {16, 25}, {12, 41}, {28, 17}, {19, 17}, {24, 3}};
            return SdPolygon(x, y, b) - .3f;
        };
    case 14: // three waves
        return [=](float x, float y) {
            float best = 1e9f;
            for (int k = 0; k < 3; ++k) {
                float yy = y - (12.f + float(k) * 10.f);
                float d = 1e9f;
                // A sine crest sampled as short segments.
                float px0 = 3, py0 = std::sin(0.f) * 3.5f;
                for (int i = 1; i <= 12; ++i) {
                    float px1 = 3 + float(i) * 28.f / 12.f;
                    float py1 = std::sin(float(i) / 12.f * 2.f * float(M_PI)) * -3.5f;
                    d = std::min(d, SdSegment(x, yy, px0, py0, px1, py1));
                    px0 = px1;
                    py0 = py1;
                }
                best = std::min(best, d - 2.6f);
            }
            return best;
        };
    case 15: // spiral shell
        return [=](float x, float y) {
            float d = 1e9f;
            float px0 = cx, py0 = cy;
            for (int i = 1; i <= 60; ++i) {
                float t = float(i) / 60.f * 2.6f * float(M_PI);
                float r = 1.f + t * 1.85f;
                float px1 = cx + r * std::cos(t), py1 = cy + r * std::sin(t);
                d = std::min(d, SdSegment(x, y, px0, py0, px1, py1));
                px0 = px1;
                py0 = py1;
            }
            return d - 2.6f;
        };
    case 16: // amphora
        return [=](float x, float y) {
            float body = SdEllipse(x, y, 17, 26, 9.5f, 11.5f);
            float neck = SdRoundRect(x, y, 13.5f, 7, 20.5f, 18, 1.f);
            float lip = SdRoundRect(x, y, 11, 5, 23, 9, 1.5f);
            float foot = SdRoundRect(x, y, 13, 35, 21, 40, 1.f);
            float handles = Union(std::fabs(SdCircle(x, y, 9.5f, 15, 4.2f)) - 1.4f,
                                  std::fabs(SdCircle(x, y, 24.5f, 15, 4.2f)) - 1.4f);
            return Union(Union(Union(body, neck), Union(lip, foot)), handles);
        };
    case 17: // fish
        return [=](float x, float y) {
            float body = SdEllipse(x, y, 14, 22, 11.5f, 7.5f);
            static const std::vector<Pt> tail = {{23, 22}, {32, 13}, {32, 31}};
            float eye = SdCircle(x, y, 8, 20.5f, 1.6f);
            return Cut(Union(body, SdPolygon(x, y, tail)), eye);
        };
    case 18: // anchor
        return [=](float x, float y) {
            float shank = SdSegment(x, y, 17, 10, 17, 37) - 2.f;
            float ring = std::fabs(SdCircle(x, y, 17, 7, 3.5f)) - 1.5f;
            float bar = SdSegment(x, y, 10, 15, 24, 15) - 1.8f;
            // The lower half of a ring forms the arms.
            float arc = Cut(std::fabs(SdCircle(x, y, 17, 25, 12)) - 2.f, 27.f - y);
            float tips = Union(SdCircle(x, y, 5.2f, 27, 2.8f), SdCircle(x, y, 28.8f, 27, 2.8f));
            return Union(Union(Union(shank, ring), Union(bar, arc)), tips);
        };
    case 19: // trident
        return [=](float x, float y) {
            float shaft = SdSegment(x, y, 17, 14, 17, 41) - 2.f;
            float cross = SdSegment(x, y, 7, 18, 27, 18) - 2.f;
            float l = SdSegment(x, y, 7, 18, 7, 8) - 2.f, r = SdSegment(x, y, 27, 18, 27, 8) - 2.f;
            float m = SdSegment(x, y, 17, 14, 17, 6) - 2.f;
            static const std::vector<Pt> hl = {{3.5f, 9}, {7, 2}, {10.5f, 9}};
            static const std::vector<Pt> hm = {{13.5f, 7}, {17, 0.5f}, {20.5f, 7}};
            static const std::vector<Pt> hr = {{23.5f, 9}, {27, 2}, {30.5f, 9}};
            float heads = Union(Union(SdPolygon(x, y, hl), SdPolygon(x, y, hm)), SdPolygon(x, y, hr));
            return Union(Union(Union(shaft, cross), Union(l, r)), Union(m, heads));
        };
    case 20: // Ionic column
        return [=](float x, float y) {
            float shaft = SdRoundRect(x, y, 11, 11, 23, 36, 1.f);
            float capital = SdRoundRect(x, y, 6, 7, 28, 12, 1.5f);
            float volutes = Union(SdCircle(x, y, 6.5f, 11, 3.3f), SdCircle(x, y, 27.5f, 11, 3.3f));
            float base = SdRoundRect(x, y, 7, 35, 27, 40, 1.f);
            float flutes = Union(SdRoundRect(x, y, 14.2f, 14, 15.4f, 33, .5f), SdRoundRect(x, y, 18.6f, 14, 19.8f, 33, .5f));
            return Cut(Union(Union(shaft, capital), Union(volutes, base)), flutes);
        };
    case 21: // grapes
        return [=](float x, float y) {
            const float pts[][2] = {{11, 15}, {17.5f, 15}, {24, 15}, {14, 21.5f}, {20.5f, 21.5f},
                                    {11, 28}, {17.5f, 28}, {24, 28}, {14.5f, 34.5f}, {20.5f, 34.5f}, {17.5f, 40}};
            float d = 1e9f;
            for (const auto& p : pts) d = std::min(d, SdCircle(x, y, p[0], p[1], 3.6f));
            float stem = SdSegment(x, y, 17.5f, 11, 20, 4) - 1.3f;
            return Union(d, stem);
        };
    case 22: // four-pointed compass star
        return [=](float x, float y) {
            static const std::vector<Pt> s = StarPoints(17, 22, 17, 5, 4);
            return SdPolygon(x, y, s) - .3f;
        };
    case 23: // crown
        return [=](float x, float y) {
            static const std::vector<Pt> c = {{4, 33}, {4, 13}, {10.5f, 22}, {17, 9}, {23.5f, 22}, {30, 13}, {30, 33}};
            float band = SdRoundRect(x, y, 4, 31, 30, 37, 1.f);
            float jewels = Union(Union(SdCircle(x, y, 4, 12, 2.6f), SdCircle(x, y, 17, 8, 2.6f)), SdCircle(x, y, 30, 12, 2.6f));
            return Union(Union(SdPolygon(x, y, c), band), jewels);
        };
    case 24: // scallop shell
        return [=](float x, float y) {
            float fan = Both(SdCircle(x, y, 17, 33, 16.5f), y - 33.5f);
            static const std::vector<Pt> hinge = {{11, 31}, {23, 31}, {20.5f, 39}, {13.5f, 39}};
            float shell = Union(fan, SdPolygon(x, y, hinge));
            // Radial grooves cut into the fan.
            float ang = std::atan2(y - 33.f, x - 17.f);
            float groove = std::fabs(std::sin(ang * 7.f)) * std::hypot(x - 17.f, y - 33.f) - .9f;
            if (y < 32.f && std::hypot(x - 17.f, y - 33.f) > 5.f) shell = Cut(shell, groove);
            return shell;
        };
    default: // 25: hourglass
        return [=](float x, float y) {
            static const std::vector<Pt> g = {{6, 8}, {28, 8}, {19.5f, 22}, {28, 36}, {6, 36}, {14.5f, 22}};
            float glass = SdPolygon(x, y, g) - .5f;
            float top = SdRoundRect(x, y, 3, 4, 31, 9, 1.5f), bottom = SdRoundRect(x, y, 3, 35, 31, 40, 1.5f);
            return Union(glass, Union(top, bottom));
        };
    }
}

} // namespace

// Every value has a colour of its own. The 26 colours were chosen together
// so that any two stay at least 12 CIELAB units apart for normal vision and
// under full protanopia, deuteranopia and tritanopia alike (the art tests
// simulate all four), and no hue family (a twelfth of the colour wheel, or
// the greys) holds more than three of them: colour tells the values apart
// for every player, and the shapes, all different, do so without it.
// Families of two (v and v + 13) are the values a level of up to 13 values
// never deals together (see the level designer, which deals values eleven
// apart round the 26).
int SymbolFamily(int value)
{
    return ((value % kValueCount) + kValueCount) % kValueCount % 13;
}

Rgba SymbolColor(int value)
{
    static const uint32_t colors[kValueCount] = {
        0xDFB808, // sun: gold
        0x98D057, // triangle: spring green
        0x9890B8, // square: lavender grey
        0xFF189F, // star: hot pink
        0xC0C8DF, // crescent moon: silver
        0xFF1800, // heart: scarlet
        0x7F7857, // hexagonal nut: olive iron
        0x1818F7, // Greek cross: ultramarine
        0xB8306F, // rhombus: raspberry
        0x0068FF, // water drop: blue
        0x679820, // olive leaf: olive green
        0x7F3020, // horseshoe: rust
        0xD048CF, // chevrons: orchid
        0xD7C890, // lightning bolt: pale straw
        0x308088, // three waves: teal
        0xD78888, // spiral shell: salmon
        0xAF0800, // amphora: terracotta red
        0x20E0B8, // fish: aquamarine
        0x005848, // anchor: deep sea green
        0x60B0FF, // trident: sky blue
        0x9800D7, // Ionic column: violet
        0x77286F, // grapes: plum
        0x20409F, // compass star: navy
        0x970840, // crown: burgundy
        0xA0C8FF, // scallop shell: pale sky
        0x00B050, // hourglass: green
    };
    return Hex(colors[((value % kValueCount) + kValueCount) % kValueCount]);
}

namespace {

Canvas PaintValue(int value, int w, int h)
{
    Canvas c(w, h);
    Sdf shape = SymbolShape(value);
    // The box is 34 x 44; centre it in whatever size the catalogue gives.
    float ox = (float(w) - 34.f) / 2.f, oy = (float(h) - 44.f) / 2.f;
    auto sdf = [&](float x, float y) { return shape(x - ox, y - oy); };
    Rgba base = SymbolColor(value);
    Rgba light = Mix(base, Rgba(1, 1, 1, 1), .35f), dark = Shade(base, .72f);
    Rgba rim = Shade(base, .38f);
    // Dark rim: the shape grown by 1.3 pixels.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return sdf(x, y) - 1.3f; }, rim);
    c.FillShape(0, 0, float(w), float(h), sdf, [&](float, float y, float) {
        return Mix(light, dark, Clamp01((y - oy - 4.f) / 36.f));
    });
    c.Bevel(0, 0, float(w), float(h), sdf, 2.2f, .45f);
    // A small specular glint on the upper left of the filled area.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) {
        return std::max(sdf(x, y) + 2.f, SdEllipse(x, y, ox + 12.f, oy + 14.f, 7.f, 5.f));
    }, Rgba(1, 1, 1, .35f));
    c.AddDropShadow(1, 1, 2, Rgba(0, 0, 0, .35f));
    return c;
}

struct ValueRegistrations {
    ValueRegistrations()
    {
        for (int v = 0; v < kValueCount; ++v)
            PainterTable().push_back({"IMAGE_TYP" + std::to_string(v), [v](int w, int h) { return PaintValue(v, w, h); }});
    }
} valueRegistrations;

} // namespace

} // namespace Zorvin::AssetGen
