// Level backgrounds: calm, softly lit scenes that stay behind the tiles.
// Every one is washed towards a mid tone and darkened at the edges, so the
// light tiles and their shadows always stand out.

#include "tools/assetgen/art/BackgroundList.h"
#include "tools/assetgen/art/Painters.h"
#include "tools/assetgen/art/SceneKit.h"

#include <cstring>

namespace Zorvin::AssetGen {

namespace {

Canvas Harbour(int w, int h)
{
    Canvas c(w, h);
    PaintSkyAndSea(c, 230, Hex(0x5FA6CC), Hex(0xE8E2CC), Hex(0x0F5E80), Hex(0x6CB2C8), 180, 120, 22, 1001);
    PaintHills(c, 232, 40, Hex(0x8E9A72), Hex(0xA9AE92), 110, 1003, 230);
    PaintTemple(c, 560, 212, 110, Hex(0xEDE3CF));
    PaintCypress(c, 490, 228, 48, Hex(0x3A5530));
    PaintCypress(c, 640, 226, 40, Hex(0x3A5530));
    Wash(c, Hex(0x4A7080), .18f);
    Vignette(c, .4f);
    return c;
}

Canvas Temple(int w, int h)
{
    Canvas c(w, h);
    c.FillWith([&](float x, float y) {
        // Warm back wall with soft light falling through the colonnade.
        float beam = .5f + .5f * std::sin(x / 58.f);
        Rgba wall = Mix(Hex(0xC9A878), Hex(0xE9D3A8), beam * .6f);
        float n = Fbm(x / 60.f, y / 60.f, 1011, 4);
        return Shade(wall, .88f + n * .16f - y / float(h) * .12f);
    }, 2);
    for (int i = 0; i < 7; ++i) PaintColumn(c, 60.f + float(i) * 113.f, 40, 540, 58, Hex(0xF0E8D8));
    c.FillShape(0, 0, float(w), 44, [&](float, float y) { return y - 40.f; },
                [&](float x, float y, float) { return Marble(x, y, Hex(0xEFE7D6), Hex(0xAA9C86), 20, 1013); });
    c.FillShape(0, 536, float(w), float(h), [&](float, float y) { return 540.f - y; },
                [&](float x, float y, float) { return Shade(Marble(x, y, Hex(0xE2D8C6), Hex(0x9C8E7A), 24, 1015), .85f); });
    Wash(c, Hex(0x6A5A48), .25f);
    Vignette(c, .45f);
    return c;
}

Canvas OliveGrove(int w, int h)
{
    Canvas c(w, h);
    PaintSkyAndSea(c, 600, Hex(0x7DB8D8), Hex(0xF2E6C4), Hex(0x000000), Hex(0x000000), 620, 110, 28, 1021);
    PaintHills(c, 250, 70, Hex(0xA8A46A), Hex(0xC8C29A), 160, 1023);
    PaintHills(c, 360, 60, Hex(0xB8A25A), Hex(0xC2B078), 130, 1025);
    for (int i = 0; i < 7; ++i) PaintOliveTree(c, 70.f + float(i) * 118.f + Hash01(i, 0, 1027) * 30.f, 340.f + Hash01(i, 1, 1027) * 30.f, 90, 1029 + uint32_t(i));
    PaintHills(c, 470, 40, Hex(0xA88A48), Hex(0xBFA062), 100, 1031);
    for (int i = 0; i < 5; ++i) PaintOliveTree(c, 40.f + float(i) * 190.f, 560.f, 150, 1041 + uint32_t(i));
    Wash(c, Hex(0x5A6A48), .2f);
    Vignette(c, .45f);
    return c;
}

Canvas Mosaic(int w, int h)
{
    Canvas c(w, h);
    const float cell = 10.f;
    c.FillWith([&](float x, float y) {
        int ix = int(x / cell), iy = int(y / cell);
        float cx = (float(ix) + .5f) * cell, cy = (float(iy) + .5f) * cell;
        // Concentric bands and a wave border form the pattern.
        float dx = cx - 400.f, dy = cy - 300.f;
        float r = std::sqrt(dx * dx + dy * dy);
        float ang = std::atan2(dy, dx);
        // A worn floor seen through the tiles: the bands differ gently in
        // tone, so the pattern stays behind the tiles instead of competing
        // with their symbols.
        Rgba col;
        float band = std::fmod(r + std::sin(ang * 8.f) * 12.f, 90.f);
        if (band < 30.f)
            col = Hex(0x7E9AA4);
        else if (band < 45.f)
            col = Hex(0xC9B894);
        else if (band < 75.f)
            col = Hex(0xCFC6B4);
        else
            col = Hex(0xB08F78);
        if (ix < 3 || iy < 3 || ix >= w / int(cell) - 3 || iy >= h / int(cell) - 3) col = Hex(0x6F8790);
        col = Shade(col, .94f + Hash01(ix, iy, 1051) * .08f);
        // Fine grout between the stones.
        float gx = std::fabs(x - cx), gy = std::fabs(y - cy);
        float grout = SmoothStep(cell / 2.f - 1.f, cell / 2.f - .2f, std::max(gx, gy));
        return Mix(col, Hex(0xA49C8E), grout * .6f);
    });
    Wash(c, Hex(0x7A7468), .35f);
    Vignette(c, .45f);
    return c;
}

Canvas Lagoon(int w, int h)
{
    Canvas c(w, h);
    c.FillWith([&](float x, float y) {
        float depth = Fbm(x / 220.f, y / 160.f, 1061, 3);
        Rgba sand = Hex(0xE8D7AE), deep = Hex(0x1E8FA8);
        Rgba water = Mix(Mix(Hex(0x7FD6D6), deep, SmoothStep(.35f, .75f, depth)), sand, .15f);
        // Caustic light on the bottom.
        float a = ValueNoise(x / 18.f, y / 18.f, 1063), b = ValueNoise(x / 18.f + 7.3f, y / 18.f + 2.1f, 1065);
        float caustic = std::pow(1.f - std::fabs(a - b), 8.f);
        return Mix(water, Rgba(1, 1, 1, 1), caustic * .35f);
    }, 2);
    Wash(c, Hex(0x2A7080), .18f);
    Vignette(c, .4f);
    return c;
}

Canvas MarbleHall(int w, int h)
{
    Canvas c(w, h);
    c.FillWith([&](float x, float y) {
        int ix = int(x / 100.f), iy = int(y / 100.f);
        // Slabs of two close marbles: enough to read as a floor, too little
        // contrast to make a chessboard behind the tiles.
        bool dark = (ix + iy) % 2 == 1;
        Rgba stone = dark ? Marble(x, y, Hex(0xC9CCC6), Hex(0x8A908C), 18, 1071) : Marble(x, y, Hex(0xE4DED3), Hex(0xA89E90), 18, 1073);
        float seam = std::min(std::fabs(std::fmod(x, 100.f)), std::fabs(std::fmod(y, 100.f)));
        if (seam < 1.f) stone = Shade(stone, .88f);
        // A soft reflection of the hall's windows.
        float glow = std::exp(-std::pow((y - 120.f) / 220.f, 2.f)) * (.5f + .5f * std::sin(x / 90.f));
        return Mix(stone, Rgba(1, 1, .95f, 1), glow * .15f);
    });
    Wash(c, Hex(0x6A6A60), .22f);
    Vignette(c, .45f);
    return c;
}

Canvas Sunset(int w, int h)
{
    Canvas c(w, h);
    PaintSkyAndSea(c, 280, Hex(0x35406A), Hex(0xF2A65A), Hex(0x1A2A40), Hex(0x9A6A5A), 400, 262, 34, 1081);
    PaintHills(c, 284, 36, Hex(0x3A3038), Hex(0x5A4448), 140, 1083, 280);
    PaintTemple(c, 170, 266, 120, Hex(0x3A2E34));
    Wash(c, Hex(0x4A3848), .2f);
    Vignette(c, .45f);
    return c;
}

Canvas Fresco(int w, int h)
{
    Canvas c(w, h);
    c.FillWith([&](float x, float y) {
        float n = Fbm(x / 90.f, y / 90.f, 1091, 5);
        Rgba plaster = Mix(Hex(0xE7D2AE), Hex(0xC9A67A), SmoothStep(.4f, .8f, n));
        float crack = std::pow(1.f - std::fabs(ValueNoise(x / 40.f, y / 40.f, 1093) - .5f) * 2.f, 30.f);
        return Shade(plaster, 1.f - crack * .25f);
    }, 2);
    // Blue sea band with dolphins.
    c.FillShape(0, 330, float(w), 470, [&](float x, float y) { return std::max(340.f + std::sin(x / 40.f) * 6.f - y, y - 460.f); },
                [&](float x, float y, float) { return Mix(Hex(0x6FA8C0), Hex(0x3A7898), (y - 340.f) / 120.f + Fbm(x / 30.f, y / 10.f, 1095, 2) * .2f); });
    for (int i = 0; i < 4; ++i) {
        float dx = 120.f + float(i) * 180.f, dy = 370.f + float(i % 2) * 30.f;
        auto body = [&](float x, float y) { return std::max(std::fabs(SdCircle(x, y, dx, dy + 30.f, 34.f)) - 7.f, y - dy - 18.f); };
        c.FillShape(dx - 45, dy - 10, dx + 45, dy + 25, body, [&](float, float y, float) { return Mix(Hex(0x2E5E80), Hex(0x9CC4D8), Clamp01((y - dy) / 20.f)); });
        auto fin = [&](float x, float y) { return SdPolygon(x, y, {{dx - 6, dy - 3}, {dx + 6, dy - 15}, {dx + 8, dy - 3}}); };
        c.FillShape(dx - 10, dy - 18, dx + 12, dy, fin, Hex(0x2E5E80));
    }
    // Red border bands.
    for (float y0 : {40.f, 540.f})
        c.FillShape(0, y0, float(w), y0 + 18, [&](float x, float y) { return SdRoundRect(x, y, -5, y0, float(w) + 5, y0 + 16, 1); },
                    Hex(0x9E3F26));
    Wash(c, Hex(0x7A6A58), .22f);
    Vignette(c, .45f);
    return c;
}

struct BackgroundRegistrations {
    BackgroundRegistrations()
    {
        const std::pair<const char*, Painter> painters[] = {
            {"bg_harbour.png", Harbour}, {"bg_temple.png", Temple},   {"bg_olive_grove.png", OliveGrove},
            {"bg_mosaic.png", Mosaic},   {"bg_lagoon.png", Lagoon},   {"bg_marble_hall.png", MarbleHall},
            {"bg_sunset.png", Sunset},   {"bg_fresco.png", Fresco},
        };
        for (const BackgroundEntry& b : kBackgrounds)
            for (const auto& p : painters)
                if (std::strcmp(p.first, b.name) == 0) ExtraImages().push_back({std::string("images/") + b.name, 800, 600, p.second});
    }
} backgroundRegistrations;

} // namespace

} // namespace Zorvin::AssetGen
