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
    // A worn floor of small stones in one warm tone: the stones only differ
    // a little, and the pattern (a meander border and a rosette) lies along
    // the screen's edges and faint in the middle, so nothing in it competes
    // with the tiles' symbols.
    Canvas c(w, h);
    const float cell = 8.f;
    c.FillWith([&](float x, float y) {
        int ix = int(x / cell), iy = int(y / cell);
        float cx = (float(ix) + .5f) * cell, cy = (float(iy) + .5f) * cell;
        Rgba col = Hex(0xC9B79A);
        // The border: a meander band 4 stones in from every edge.
        float edge = std::min(std::min(cx, float(w) - cx), std::min(cy, float(h) - cy));
        if (edge < 5.f * cell) col = Hex(0x8E5A3C);
        else if (edge < 9.f * cell) {
            int u = int((std::fabs(cx - float(w) / 2.f) + std::fabs(cy - float(h) / 2.f)) / cell) % 8;
            int v = int((edge - 5.f * cell) / cell);
            bool ink = v == 0 || v == 3 || (u < 2 && v < 3) || (u >= 4 && u < 6 && v > 0);
            col = ink ? Hex(0x35586A) : Hex(0xD9CBB0);
        }
        // A faint rosette in the middle, two tones close to the field.
        float r = std::hypot(cx - float(w) / 2.f, cy - float(h) / 2.f);
        float petals = 120.f + 30.f * std::cos(std::atan2(cy - float(h) / 2.f, cx - float(w) / 2.f) * 8.f);
        if (r < petals && r > 60.f) col = Mix(col, Hex(0xB49A78), .45f);
        col = Shade(col, .95f + Hash01(ix, iy, 1051) * .07f);
        // Grout between the stones, darker than either tone.
        float gx = std::fabs(x - cx), gy = std::fabs(y - cy);
        float grout = SmoothStep(cell / 2.f - 1.2f, cell / 2.f - .2f, std::max(gx, gy));
        return Mix(col, Hex(0x7A6C5C), grout * .45f);
    });
    Wash(c, Hex(0x8A7A66), .3f);
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
    // A palace hall seen from its door: a back wall of pale marble between
    // pilasters, and a polished floor of one stone whose long joints run
    // towards the far wall, so it reads as a floor in depth and never as a
    // chessboard.
    Canvas c(w, h);
    const float horizon = 210.f, cxv = float(w) / 2.f;
    c.FillWith([&](float x, float y) {
        if (y < horizon) {
            Rgba wall = Marble(x, y, Hex(0xE6DCCB), Hex(0xB09F88), 26, 1071);
            // Pilasters and the shadowed niches between them.
            float u = std::fmod(x + 2000.f, 160.f);
            float pil = SmoothStep(0.f, 6.f, u) * (1.f - SmoothStep(34.f, 40.f, u));
            wall = Shade(wall, .86f + pil * .16f);
            // A cornice along the top and a skirting at the floor.
            if (y < 34.f) wall = Shade(wall, y < 30.f ? .96f : .7f);
            if (y > horizon - 14.f) wall = Shade(Hex(0xA89880), .9f);
            return wall;
        }
        // The floor: depth z from the row, a long joint every 90 units
        // across and every 140 units in depth.
        float z = 9000.f / (y - horizon + 24.f);
        float u = (x - cxv) * z / 60.f;
        float fu = std::fabs(std::fmod(u + 9000.f, 90.f) - 45.f), fz = std::fabs(std::fmod(z * 4.f, 140.f) - 70.f);
        float seamW = 1.3f * z / 60.f;
        float seam = std::max(SmoothStep(45.f - seamW, 45.f, fu), SmoothStep(70.f - seamW * 3.f, 70.f, fz));
        Rgba stone = Marble(u, z * 4.f, Hex(0xE2D8C8), Hex(0xA59885), 40, 1073);
        stone = Mix(stone, Hex(0x9C8D78), seam * .35f);
        // The pilasters mirrored in the polish, fading with distance.
        float refl = std::fmod(x + 2000.f, 160.f);
        float streak = SmoothStep(0.f, 6.f, refl) * (1.f - SmoothStep(34.f, 40.f, refl));
        float fade = std::exp(-(y - horizon) / 120.f);
        stone = Shade(stone, 1.f + (streak - .5f) * .1f * fade);
        return Shade(stone, .9f + (y - horizon) / float(h) * .08f);
    }, 2);
    Wash(c, Hex(0x6A6458), .22f);
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

Canvas Cliffs(int w, int h)
{
    // White cliffs over a deep blue bay, a lighthouse on the far headland.
    Canvas c(w, h);
    PaintSkyAndSea(c, 250, Hex(0x6FA8D0), Hex(0xEAF0EC), Hex(0x0C4E78), Hex(0x3E88AE), 0, 0, 0, 1101);
    PaintHills(c, 252, 26, Hex(0x9AA890), Hex(0xB8C0B0), 90, 1103, 250);
    auto cliff = [&](float x, float y, float side) {
        float edgeX = side < 0 ? 150.f + Fbm(y / 40.f, 1.f, 1105, 4) * 90.f : float(w) - 150.f - Fbm(y / 40.f, 2.f, 1107, 4) * 90.f;
        float top = 150.f + Fbm(x / 80.f, 3.f, 1109, 3) * 40.f;
        return std::max(side < 0 ? x - edgeX : edgeX - x, top - y);
    };
    for (float side : {-1.f, 1.f})
        c.FillShape(0, 100, float(w), float(h), [&](float x, float y) { return cliff(x, y, side); }, [&](float x, float y, float) {
            float strata = .5f + .5f * std::sin(y / 9.f + Fbm(x / 30.f, y / 30.f, 1111, 3) * 4.f);
            Rgba rock = Mix(Hex(0xE8E0D0), Hex(0xBFB29C), strata * .6f);
            return Shade(rock, .85f + Fbm(x / 20.f, y / 20.f, 1113, 3) * .2f);
        });
    // Grass on the cliff tops.
    for (float side : {-1.f, 1.f})
        c.FillShape(0, 100, float(w), float(h), [&](float x, float y) { return std::max(cliff(x, y, side), y - 170.f - Fbm(x / 50.f, 4.f, 1115, 3) * 30.f); },
                    [&](float x, float y, float) { return Shade(Hex(0x7E9A58), .9f + Fbm(x / 10.f, y / 10.f, 1117, 2) * .2f); });
    // The lighthouse on the far headland.
    c.FillShape(584, 196, 600, 252, [&](float x, float y) { return SdPolygon(x, y, {{587, 252}, {589, 202}, {595, 202}, {597, 252}}); }, Hex(0xF4F0E8));
    c.FillShape(584, 190, 600, 204, [&](float x, float y) { return SdRoundRect(x, y, 587, 196, 597, 203, 1.f); }, Hex(0xB0483A));
    Wash(c, Hex(0x4A6A80), .2f);
    Vignette(c, .45f);
    return c;
}

Canvas NightBay(int w, int h)
{
    // A bay at night: stars and a full moon, its path on the water, a temple
    // dark against the sky. The dark scene lets the light tiles stand out.
    Canvas c(w, h);
    PaintSkyAndSea(c, 300, Hex(0x0B1530), Hex(0x2E4468), Hex(0x06101E), Hex(0x1A2C48), 560, 130, 26, 1121);
    for (int i = 0; i < 140; ++i) {
        float x = Hash01(i, 0, 1123) * float(w), y = Hash01(i, 1, 1123) * 280.f;
        if (std::hypot(x - 560.f, y - 130.f) < 60.f) continue;
        float r = .6f + Hash01(i, 2, 1123) * .9f;
        c.FillShape(x - 3, y - 3, x + 3, y + 3, [&](float px, float py) { return SdCircle(px, py, x, y, r); },
                    Rgba(1, 1, .92f, .5f + Hash01(i, 3, 1123) * .4f));
    }
    PaintHills(c, 302, 30, Hex(0x141C2A), Hex(0x1E2A3C), 120, 1125, 300);
    PaintTemple(c, 210, 290, 130, Hex(0x141A26));
    PaintCypress(c, 110, 300, 44, Hex(0x0E1420));
    Wash(c, Hex(0x1A2840), .15f);
    Vignette(c, .4f);
    return c;
}

Canvas Vineyard(int w, int h)
{
    // Rows of vines running over warm hills in the late afternoon.
    Canvas c(w, h);
    PaintSkyAndSea(c, 600, Hex(0x8CB6D2), Hex(0xF4DEB0), Hex(0x000000), Hex(0x000000), 160, 150, 30, 1131);
    PaintHills(c, 220, 50, Hex(0x9A9E66), Hex(0xB6B48A), 170, 1133);
    PaintHills(c, 300, 40, Hex(0xB09A5C), Hex(0xC4B07A), 140, 1135);
    // Vine rows: curved bands of dark leaves on the near hill.
    c.FillShape(0, 280, float(w), float(h), [&](float x, float y) {
        float ridge = 300.f - Fbm(x / 140.f, .5f, 1135, 4) * 40.f;
        float row = std::fmod(y - ridge + std::sin(x / 160.f) * 18.f + 1000.f, 34.f);
        return std::max(ridge + 6.f - y, std::fabs(row - 17.f) - 5.f - (y - ridge) / 90.f);
    }, [&](float x, float y, float) {
        float leaf = Fbm(x / 6.f, y / 6.f, 1137, 2);
        Rgba vine = Mix(Hex(0x4E6A2C), Hex(0x7C8E3A), leaf);
        return SmoothStep(.7f, .78f, leaf) > .5f ? Mix(vine, Hex(0x5A2E48), .6f) : vine;
    });
    PaintCypress(c, 660, 262, 60, Hex(0x3A5530));
    PaintCypress(c, 700, 268, 48, Hex(0x3A5530));
    Wash(c, Hex(0x6A6040), .22f);
    Vignette(c, .45f);
    return c;
}

Canvas Grotto(int w, int h)
{
    // A sea cave: dark rock frames the turquoise water lit from the mouth.
    Canvas c(w, h);
    c.FillWith([&](float x, float y) {
        float depth = Fbm(x / 160.f, y / 120.f, 1141, 3);
        Rgba water = Mix(Hex(0x46C2C8), Hex(0x0E5E78), SmoothStep(.3f, .8f, depth + (y - 300.f) / 900.f));
        float a = ValueNoise(x / 22.f, y / 14.f, 1143), b = ValueNoise(x / 22.f + 5.1f, y / 14.f + 3.7f, 1145);
        float caustic = std::pow(1.f - std::fabs(a - b), 10.f);
        return Mix(water, Hex(0xE8FFF8), caustic * .25f);
    }, 2);
    // The rock arch: everything outside a wobbly ellipse.
    auto rock = [&](float x, float y) {
        float dx = (x - 400.f) / 380.f, dy = (y - 330.f) / 300.f;
        float wob = Fbm(std::atan2(dy, dx) * 2.f + 10.f, 1.f, 1147, 4) * .25f;
        return (1.f - wob) - std::hypot(dx, dy);
    };
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return rock(x, y) * 100.f; }, [&](float x, float y, float d) {
        float n = Fbm(x / 30.f, y / 30.f, 1149, 4);
        Rgba stone = Mix(Hex(0x3A3430), Hex(0x6A5E52), n);
        // The rim catches the light from the water.
        return Mix(stone, Hex(0x5E9A9C), Clamp01(1.f + d / 14.f) * .45f);
    });
    Wash(c, Hex(0x2A5A64), .15f);
    Vignette(c, .4f);
    return c;
}

Canvas Ruins(int w, int h)
{
    // Broken columns on a dry hill under a pale evening sky.
    Canvas c(w, h);
    PaintSkyAndSea(c, 600, Hex(0x6E7FA8), Hex(0xF0C89A), Hex(0x000000), Hex(0x000000), 620, 330, 40, 1151);
    PaintHills(c, 330, 40, Hex(0xA88E62), Hex(0xBCA47A), 200, 1153);
    const float xs[] = {150, 250, 350, 450, 550, 650};
    const float tops[] = {230, 180, 260, 200, 290, 215};
    for (int i = 0; i < 6; ++i) PaintColumn(c, xs[i], tops[i], 430, 42, Hex(0xE8DDC6));
    // Broken drums lying in the grass.
    for (int i = 0; i < 4; ++i) {
        float x = 120.f + float(i) * 170.f + Hash01(i, 0, 1155) * 40.f, y = 460.f + Hash01(i, 1, 1155) * 40.f;
        c.FillShape(x - 30, y - 16, x + 30, y + 16, [&](float px, float py) { return SdRoundRect(px, py, x - 26, y - 12, x + 26, y + 12, 5.f); },
                    [&](float px, float py, float) { return Shade(Hex(0xD8CCB2), .8f + (py - y + 12.f) / 24.f * -.2f + Fbm(px / 8.f, py / 8.f, 1157, 2) * .2f); });
    }
    c.FillShape(0, 420, float(w), float(h), [&](float x, float y) { return 430.f + Fbm(x / 60.f, 1.f, 1159, 3) * 12.f - y; },
                [&](float x, float y, float) { return Shade(Hex(0xA49058), .85f + Fbm(x / 12.f, y / 12.f, 1161, 2) * .2f); });
    Wash(c, Hex(0x6A5A50), .22f);
    Vignette(c, .45f);
    return c;
}

struct BackgroundRegistrations {
    BackgroundRegistrations()
    {
        const std::pair<const char*, Painter> painters[] = {
            {"bg_harbour.png", Harbour}, {"bg_temple.png", Temple},   {"bg_olive_grove.png", OliveGrove},
            {"bg_mosaic.png", Mosaic},   {"bg_lagoon.png", Lagoon},   {"bg_marble_hall.png", MarbleHall},
            {"bg_sunset.png", Sunset},   {"bg_fresco.png", Fresco},   {"bg_cliffs.png", Cliffs},
            {"bg_night_bay.png", NightBay}, {"bg_vineyard.png", Vineyard}, {"bg_grotto.png", Grotto},
            {"bg_ruins.png", Ruins},
        };
        for (const BackgroundEntry& b : kBackgrounds)
            for (const auto& p : painters)
                if (std::strcmp(p.first, b.name) == 0) ExtraImages().push_back({std::string("images/") + b.name, 800, 600, p.second});
    }
} backgroundRegistrations;

} // namespace

} // namespace Zorvin::AssetGen
