// Full-screen pictures and emblems: the main menu, the map of stages, the
// two how-to-play pages, the campaign-complete window, the wordmark of the
// loading screen, the small and big logos, and the loading-screen artwork
// that the logo script names.
//
// Sections:
//   - painting helpers (map land, styles, parchment, wordmark)
//   - loader and main menu
//   - logos and loading art
//   - the map of stages
//   - the how-to-play pages
//   - the campaign-complete window
//   - registrations

#include "tools/assetgen/art/MapLayout.h"
#include "tools/assetgen/art/Painters.h"
#include "tools/assetgen/art/SceneKit.h"

namespace Zorvin::AssetGen {

float MapLandDistance(float x, float y)
{
    // Land follows the chariot's road as a chain of rounded strips, joined
    // to a northern mainland; the western coast is a second mainland. The
    // coast wobbles a little with noise.
    float d = 1e9f;
    for (int i = 0; i + 1 < 12; ++i) {
        float r = i == 0 ? 20.f : 27.f;
        d = std::min(d, SdSegment(x, y, float(kChariotStages[i][0]), float(kChariotStages[i][1]),
                                  float(kChariotStages[i + 1][0]), float(kChariotStages[i + 1][1])) - r);
    }
    d = std::min(d, SdSegment(x, y, 470, 92, 470, 40) - 17.f);
    d = std::min(d, SdSegment(x, y, 300, 150, 250, 160) - 20.f);
    float north = y - (48.f + 14.f * Fbm(x / 60.f, 3.f, 801, 3));
    float west = x - (128.f + 26.f * Fbm(y / 50.f, 7.f, 803, 3));
    float island = SdEllipse(x, y, 622, 352, 44, 26);
    d = std::min(std::min(d, north), std::min(west, island));
    return d + (Fbm(x / 22.f, y / 22.f, 805, 3) - .5f) * 8.f;
}

namespace {

Canvas Painted(const char* id)
{
    return PaintImage(id);
}

TextStyle InkStyle()
{
    TextStyle s;
    s.fill = Hex(0x3A2716);
    return s;
}

TextStyle GoldTitleStyle(float outline = 2.f)
{
    TextStyle s;
    s.fill = Hex(0xFFF4C8);
    s.fillBottom = Hex(0xD9962A);
    s.outline = outline;
    s.outlineColor = Hex(0x3A1F08);
    s.shadowX = 2;
    s.shadowY = 3;
    s.shadowBlur = 4;
    s.shadowColor = Rgba(0, 0, 0, .55f);
    return s;
}

// A parchment card with a bronze frame, for panels inside full screens.
void ParchmentCard(Canvas& c, float x0, float y0, float x1, float y1, uint32_t seed)
{
    auto outer = [&](float x, float y) { return SdRoundRect(x, y, x0, y0, x1, y1, 12.f); };
    Mask sh = c.ShapeMask([&](float x, float y) { return outer(x + 3.f, y - 5.f); });
    sh.Blur(8);
    c.DrawMask(sh, Rgba(0, 0, 0, .5f));
    MetalShape(c, x0, y0, x1, y1, outer, Palette::BronzeLight, Palette::BronzeDark, 2.5f);
    auto inner = [&](float x, float y) { return SdRoundRect(x, y, x0 + 7, y0 + 7, x1 - 7, y1 - 7, 7.f); };
    // The paper texture is soft: paint it at half resolution first.
    Canvas paper(int(x1 - x0) + 2, int(y1 - y0) + 2);
    paper.FillWith([&](float x, float y) { return ParchmentAt(x + x0, y + y0, seed); }, 2);
    c.FillShape(x0, y0, x1, y1, inner, [&](float x, float y, float d) {
        Rgba p = paper.Get(int(x - x0), int(y - y0));
        return Mix(p, Shade(Palette::ParchmentDark, .85f), Clamp01(1.f + d / 14.f) * .5f);
    });
    c.Bevel(x0, y0, x1, y1, inner, 3.f, -.35f);
}

// "KORVELT" in gold with a Greek-key rule and a subtitle.
void Wordmark(Canvas& c, float cx, float baseline, const TextPainter& font, bool subtitle)
{
    font.DrawCentered(c, "KORVELT", cx, baseline, GoldTitleStyle(font.Ascent() > 40 ? 3.f : 1.6f));
    if (!subtitle) return;
    static const TextPainter sub(kFontSerifBold, 15);
    TextStyle s;
    s.fill = Hex(0xBFE7F2);
    s.outline = 1.2f;
    s.outlineColor = Hex(0x0B2B40);
    float w = float(font.Measure("KORVELT"));
    float sw = float(sub.Measure("ДОМИНО-ПАСЬЯНС"));
    float y = baseline + 14.f;
    for (int side = -1; side <= 1; side += 2) {
        float xa = cx + float(side) * (sw / 2.f + 8.f), xb = cx + float(side) * (w / 2.f);
        c.FillShape(std::min(xa, xb) - 2, y - 3, std::max(xa, xb) + 2, y + 3,
                    [&](float x, float yy) { return SdSegment(x, yy, xa, y, xb, y) - 1.2f; }, Hex(0xE8C27A));
    }
    sub.DrawCentered(c, "ДОМИНО-ПАСЬЯНС", cx, y + 5.f, s);
}

Canvas LoaderKorvelt(int w, int h)
{
    Canvas c(w, h);
    Wordmark(c, float(w) / 2.f, 66.f, TitleFont(), true);
    return c;
}

// ---- main menu ----

Canvas TitleScreen(int w, int h)
{
    Canvas c(w, h);
    PaintSkyAndSea(c, 300, Hex(0x4E9CC4), Hex(0xF3E2C0), Hex(0x0E5A7C), Hex(0x5FA8C0), 600, 150, 24, 901);
    PaintHills(c, 300, 46, Hex(0x8E9A6A), Hex(0xB7B99A), 120, 903, 300);
    PaintTemple(c, 655, 286, 110, Hex(0xD9C7A4));
    PaintCypress(c, 588, 300, 64, Hex(0x35502E));
    PaintCypress(c, 603, 300, 48, Hex(0x2F4A28));
    PaintCypress(c, 150, 300, 78, Hex(0x35502E));
    PaintCypress(c, 166, 300, 56, Hex(0x2F4A28));
    // Marble terrace in the foreground.
    c.FillShape(0, 470, float(w), float(h), [&](float, float y) { return 480.f - y; },
                [&](float x, float y, float) { return Shade(Marble(x, y, Hex(0xEDE6D8), Hex(0xA89B88), 22, 907), .92f - (y - 480.f) / 400.f); });
    c.FillShape(0, 470, float(w), 490, [&](float x, float y) { return SdRoundRect(x, y, -5, 476, float(w) + 5, 486, 2); },
                [&](float, float y, float) { return Mix(Palette::BronzeLight, Palette::BronzeDark, (y - 476.f) / 10.f); });
    PaintColumn(c, 60, 60, 600, 70, Hex(0xF1EADB));
    PaintColumn(c, 740, 60, 600, 70, Hex(0xF1EADB));
    // Architrave across the top, behind the wordmark.
    c.FillShape(0, 0, float(w), 70, [&](float x, float y) { return SdRoundRect(x, y, -10, 0, float(w) + 10, 62, 2); },
                [&](float x, float y, float) { return Shade(Marble(x, y, Hex(0xF0E9DA), Hex(0xAFA28E), 18, 909), 1.f - y / 200.f); });
    c.Bevel(0, 0, float(w), 70, [&](float x, float y) { return SdRoundRect(x, y, -10, 0, float(w) + 10, 62, 2); }, 4.f, .4f);
    for (int i = 0; i * 40 < w; ++i) {
        float x0 = float(i) * 40.f + 6.f;
        auto tri = [&](float x, float y) { return SdRoundRect(x, y, x0, 48, x0 + 6, 58, 1); };
        c.FillShape(x0 - 1, 46, x0 + 30, 60, tri, Rgba(.45f, .38f, .28f, .5f));
        auto tri2 = [&](float x, float y) { return SdRoundRect(x, y, x0 + 12, 48, x0 + 18, 58, 1); };
        c.FillShape(x0 - 1, 46, x0 + 30, 60, tri2, Rgba(.45f, .38f, .28f, .5f));
    }
    // The menu card.
    ParchmentCard(c, 240, 96, 560, 556, 911);
    // A medallion with a ship on the wine-dark sea between the welcome line
    // and the mode buttons.
    float mx = 400, my = 236, mr = 66;
    auto ring = [&](float x, float y) { return SdCircle(x, y, mx, my, mr); };
    MetalShape(c, mx - mr, my - mr, mx + mr, my + mr, ring, Palette::BronzeLight, Palette::BronzeDark, 3.f);
    Canvas scene(int(mr * 2), int(mr * 2));
    PaintSkyAndSea(scene, mr * 1.05f, Hex(0xF2B35E), Hex(0xFBE3B0), Hex(0x0B3D5C), Hex(0x2C7FA0), mr * 1.3f, mr * .8f, 12, 913);
    Canvas ship = Painted("IMAGE_SHIP");
    scene.DrawScaled(ship, int(mr) - 46, int(mr) - 34, 80, 72);
    c.FillShape(mx - mr, my - mr, mx + mr, my + mr, [&](float x, float y) { return SdCircle(x, y, mx, my, mr - 7.f); },
                [&](float x, float y, float) { return scene.Get(int(x - mx + mr), int(y - my + mr)); });
    c.Bevel(mx - mr, my - mr, mx + mr, my + mr, [&](float x, float y) { return SdCircle(x, y, mx, my, mr - 7.f); }, 3.f, -.4f);
    // Laurel branches either side of the medallion.
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 11; ++i) {
            // Leaves along the lower two thirds of the ring, pointing upwards.
            float a = float(M_PI) * (.05f + float(i) * .075f);
            float lx = mx + float(side) * std::cos(a) * (mr + 10.f), ly = my + std::sin(a) * (mr + 4.f);
            float rot = float(side) * (a + float(M_PI) / 2.f) + (side < 0 ? float(M_PI) : 0.f) + float(side) * .5f;
            auto leaf = [&](float x, float y) {
                float dx = x - lx, dy = y - ly;
                float u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
                return SdEllipse(u, v, 0, 0, 9.f, 3.6f);
            };
            c.FillShape(lx - 10, ly - 10, lx + 10, ly + 10, leaf, [&](float, float y, float) {
                return Mix(Hex(0x9DB060), Hex(0x55672A), Clamp01((y - ly + 5.f) / 10.f));
            });
        }
    Vignette(c, .35f);
    return c;
}

Canvas LogoSmall(int w, int h)
{
    Canvas c(w, h);
    float cx = float(w) / 2.f;
    // A domino stone standing on a laurel, with the wordmark below.
    Canvas tile = Painted("IMAGE_FISH_L");
    Canvas v1 = Painted("IMAGE_TYP0"), v2 = Painted("IMAGE_TYP17");
    tile.Draw(v1, 6 + 3, 3);
    tile.Draw(v2, 6 + 43, 3);
    c.Draw(tile, int(cx) - 44, 8);
    static const TextPainter mid(kFontSerifBold, 24);
    mid.DrawCentered(c, "KORVELT", cx, 96.f, GoldTitleStyle(1.4f));
    return c;
}

// The studio's emblem: a compass rose over waves in a bronze ring, with the
// name beneath.
Canvas StudioLogo(int w, int h)
{
    Canvas c(w, h);
    float cx = float(w) / 2.f, cy = 104.f, r = 86.f;
    auto ring = [&](float x, float y) { return SdCircle(x, y, cx, cy, r); };
    MetalShape(c, cx - r, cy - r, cx + r, cy + r, ring, Palette::BronzeLight, Palette::BronzeDark, 4.f);
    Canvas sea(int(r * 2), int(r * 2));
    PaintSkyAndSea(sea, r * 1.15f, Hex(0x0B3D5C), Hex(0x3A86A8), Hex(0x072A40), Hex(0x1D6F93), r, r * 1.15f, 0, 915);
    c.FillShape(cx - r, cy - r, cx + r, cy + r, [&](float x, float y) { return SdCircle(x, y, cx, cy, r - 9.f); },
                [&](float x, float y, float) { return sea.Get(int(x - cx + r), int(y - cy + r)); });
    auto rose = StarPoints(cx, cy, r - 20.f, 12.f, 8);
    MetalShape(c, cx - r, cy - r, cx + r, cy + r, [&](float x, float y) { return SdPolygon(x, y, rose); }, Hex(0xFFF4C8), Hex(0xA0661A), 2.f);
    auto rose4 = StarPoints(cx, cy, r - 34.f, 8.f, 4, float(M_PI) / 4.f);
    MetalShape(c, cx - r, cy - r, cx + r, cy + r, [&](float x, float y) { return SdPolygon(x, y, rose4); }, Hex(0xE6F6FA), Hex(0x1D6F93), 1.5f);
    static const TextPainter name(kFontSerifBold, 40);
    name.DrawCentered(c, "WENDMOOR", cx, 236.f, GoldTitleStyle(2.f));
    static const TextPainter small(kFontSansCondensedBold, 14);
    TextStyle s;
    s.fill = Hex(0xBFE7F2);
    small.DrawCentered(c, "G  A  M  E  S", cx, 260.f, s);
    return c;
}

Canvas LoadingArt(int w, int h)
{
    // Above the loading bar: a temple on a headland over a sunset sea, fading
    // into the black of the loading screen.
    Canvas c(w, h);
    PaintSkyAndSea(c, 210, Hex(0x1B2A4A), Hex(0xF0A050), Hex(0x0A1E2E), Hex(0x7A4A3A), 520, 196, 30, 917);
    PaintHills(c, 214, 50, Hex(0x2A2420), Hex(0x4A3A34), 90, 919, 210);
    PaintTemple(c, 250, 196, 150, Hex(0x3A2C28));
    PaintCypress(c, 160, 204, 70, Hex(0x1A1A16));
    PaintCypress(c, 345, 204, 56, Hex(0x1A1A16));
    for (int y = 0; y < h; ++y) {
        float fade = SmoothStep(float(h) * .55f, float(h), float(y));
        float side = 0;
        for (int x = 0; x < w; ++x) {
            side = SmoothStep(float(w) * .3f, float(w) * .5f, std::fabs(float(x) - float(w) / 2.f));
            Rgba p = c.Get(x, y);
            float k = std::max(fade, side);
            c.Set(x, y, Rgba(p.r, p.g, p.b, 1.f - k));
        }
    }
    return c;
}

// ---- map of stages ----

// The map of one mode: the same chart for both, with only that mode's
// route, the road of the chariot (click mode) or the sea lane of the ship
// (drag mode), so neither shows a route that leads nowhere.
Canvas MapScreen(int w, int h, bool clickMode)
{
    Canvas c(w, h);
    // The chart: sea and land in parchment tones.
    c.FillWith([&](float x, float y) {
        float d = MapLandDistance(x, y);
        Rgba paper = ParchmentAt(x, y, 921);
        if (d > 0) {
            float depth = Clamp01(d / 90.f);
            Rgba sea = Mix(Hex(0x8FCBD2), Hex(0x3E8FAE), depth);
            float ripple = ValueNoise(x / 6.f, y / 2.f, 923);
            sea = Shade(sea, .95f + ripple * .08f);
            // Hatched shore lines, as on old charts.
            float shore = std::fabs(std::fmod(d, 9.f) - 4.5f);
            if (d < 27.f) sea = Mix(sea, Hex(0x2A6C86), Clamp01(1.f - shore) * .35f * (1.f - d / 27.f));
            return Mix(sea, paper, .28f);
        }
        float hills = Fbm(x / 35.f, y / 35.f, 925, 4);
        Rgba land = Mix(Hex(0xD9C08A), Hex(0x9FA86A), SmoothStep(.45f, .75f, hills));
        land = Mix(land, paper, .35f);
        if (d > -3.f) land = Mix(land, Hex(0x6A4A2A), .6f);
        return land;
    }, 2);
    // Hills and trees on the land.
    for (int i = 0; i < 160; ++i) {
        float x = 110.f + Hash01(i, 1, 927) * 580.f, y = 20.f + Hash01(i, 2, 927) * 380.f;
        if (MapLandDistance(x, y) > -14.f) continue;
        bool nearRoad = false;
        for (const auto& p : kChariotStages)
            if (std::hypot(x - float(p[0]), y - float(p[1])) < 22.f) nearRoad = true;
        if (nearRoad) continue;
        if (i % 3 == 0) {
            PaintCypress(c, x, y + 8.f, 16.f, Hex(0x3E5A30));
        } else {
            auto hill = [&](float px, float py) { return std::max(SdCircle(px, py, x, y + 8.f, 11.f), py - y - 8.f); };
            c.FillShape(x - 12, y - 4, x + 12, y + 9, hill, [&](float px, float, float) {
                return px < x ? Hex(0xB89A62) : Hex(0x8E7448);
            });
        }
    }
    // The route: a dashed road on land or a dotted sea lane.
    auto dashed = [&](const int (*pts)[2], int n, const Rgba& col, float width, float dash) {
        for (int i = 0; i + 1 < n; ++i) {
            float ax = float(pts[i][0]), ay = float(pts[i][1]), bx = float(pts[i + 1][0]), by = float(pts[i + 1][1]);
            float len = std::hypot(bx - ax, by - ay);
            int segs = std::max(1, int(len / dash));
            for (int k = 0; k < segs; k += 2) {
                float t0 = float(k) / float(segs), t1 = float(k + 1) / float(segs);
                float x0 = ax + (bx - ax) * t0, y0 = ay + (by - ay) * t0, x1 = ax + (bx - ax) * t1, y1 = ay + (by - ay) * t1;
                c.FillShape(std::min(x0, x1) - 4, std::min(y0, y1) - 4, std::max(x0, x1) + 4, std::max(y0, y1) + 4,
                            [&](float x, float y) { return SdSegment(x, y, x0, y0, x1, y1) - width; }, col);
            }
        }
    };
    if (clickMode)
        dashed(kChariotStages, 12, Hex(0x7A4A1E), 1.6f, 6.f);
    else
        dashed(kShipStages, 10, Rgba(1, 1, 1, .85f), 1.4f, 5.f);
    // Compass rose in the sea.
    float rx = 630, ry = 180;
    auto rose = StarPoints(rx, ry, 34, 8, 8);
    MetalShape(c, rx - 36, ry - 36, rx + 36, ry + 36, [&](float x, float y) { return SdPolygon(x, y, rose); }, Hex(0xFFF4C8), Hex(0x8A5A1A), 1.5f);
    auto rose4 = StarPoints(rx, ry, 22, 5, 4, float(M_PI) / 4);
    MetalShape(c, rx - 36, ry - 36, rx + 36, ry + 36, [&](float x, float y) { return SdPolygon(x, y, rose4); }, Hex(0xE6F6FA), Hex(0x1D6F93), 1.f);
    // Frame: marble columns left and right, a bronze rail under the chart.
    PaintColumn(c, 50, 0, 420, 64, Hex(0xF1EADB));
    PaintColumn(c, 750, 0, 420, 64, Hex(0xF1EADB));
    // The shelf for the scroll strip and the buttons.
    c.FillShape(0, 410, float(w), float(h), [&](float, float y) { return 414.f - y; },
                [&](float x, float y, float) { return Shade(Marble(x, y, Hex(0xE4DCCB), Hex(0x9A8E7A), 20, 929), .9f - (y - 414.f) / 500.f); });
    c.FillShape(0, 404, float(w), 424, [&](float x, float y) { return SdRoundRect(x, y, -5, 408, float(w) + 5, 420, 2); },
                [&](float, float y, float) { return Mix(Palette::BronzeLight, Palette::BronzeDark, (y - 408.f) / 12.f); });
    // The title cartouche: the game writes the campaign's name in white on it.
    float tx0 = 190, tx1 = 610, ty0 = 26, ty1 = 60;
    auto banner = [&](float x, float y) { return SdRoundRect(x, y, tx0, ty0, tx1, ty1, 10.f); };
    MetalShape(c, tx0, ty0, tx1, ty1, banner, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    c.FillShape(tx0, ty0, tx1, ty1, [&](float x, float y) { return SdRoundRect(x, y, tx0 + 5, ty0 + 5, tx1 - 5, ty1 - 5, 6.f); },
                [&](float, float y, float) { return Mix(Hex(0x1D5E80), Hex(0x0A2A40), (y - ty0) / (ty1 - ty0)); });
    Vignette(c, .25f);
    return c;
}

// ---- how to play ----

Canvas TileWith(const char* body, int a, int b)
{
    Canvas t = Painted(body);
    Canvas va = Painted(("IMAGE_TYP" + std::to_string(a)).c_str());
    Canvas vb = Painted(("IMAGE_TYP" + std::to_string(b)).c_str());
    t.Draw(va, 6 + (40 - va.W()) / 2, (50 - va.H()) / 2);
    t.Draw(vb, 46 + (40 - vb.W()) / 2, (50 - vb.H()) / 2);
    return t;
}

void Arrow(Canvas& c, float ax, float ay, float bx, float by)
{
    float ang = std::atan2(by - ay, bx - ax);
    float hx = bx - std::cos(ang) * 12.f, hy = by - std::sin(ang) * 12.f;
    c.FillShape(std::min(ax, bx) - 14, std::min(ay, by) - 14, std::max(ax, bx) + 14, std::max(ay, by) + 14,
                [&](float x, float y) { return SdSegment(x, y, ax, ay, hx, hy) - 2.5f; }, Hex(0xA8432C));
    std::vector<Pt> head = {{bx, by}, {hx - std::sin(ang) * 8.f, hy + std::cos(ang) * 8.f}, {hx + std::sin(ang) * 8.f, hy - std::cos(ang) * 8.f}};
    c.FillShape(bx - 16, by - 16, bx + 16, by + 16, [&](float x, float y) { return SdPolygon(x, y, head); }, Hex(0xA8432C));
}

Canvas HowToPlay(int w, int h, bool clickMode)
{
    Canvas c(w, h);
    PaintSkyAndSea(c, 260, Hex(0x3E8CB4), Hex(0xEADBB8), Hex(0x0E5A7C), Hex(0x5FA8C0), 700, 120, 0, 931);
    ParchmentCard(c, 20, 14, 780, 592, 933);
    const TextPainter& head = HeadingFont();
    head.DrawCentered(c, clickMode ? "Односторонняя игра" : "Двусторонняя игра", 400, 56, GoldTitleStyle(1.6f));
    TextStyle ink = InkStyle();
    static const TextPainter body(kFontSans, 15);
    static const TextPainter bold(kFontSansBold, 15);
    // The text column ends above the checkbox and button the dialog puts at
    // (290, 500) and (310, 550).
    float left = 46, textW = 418;
    float y = 96;
    auto para = [&](const char* title, const char* text) {
        bold.Draw(c, title, left, y, ink);
        y = body.DrawWrapped(c, text, left, y + 19.f, textW, 18.f, ink) + 6.f;
    };
    if (clickMode) {
        para("Цель", "Уберите с поля все камни. Внизу лежит текущий камень: его правая половинка ждёт пары.");
        para("Ход", "Щёлкните открытый камень, у которого одна из половинок такая же, как у текущего. Камень "
                    "перелетит вниз, сам повернётся нужной стороной и станет новым текущим.");
        para("Открытые камни", "Открыт камень, который не накрыт другими камнями и не заперт замком. "
                               "Ключ с поля открывает замок.");
        para("Колода", "Нет ходов? Щёлкните колоду слева внизу: она выложит новый текущий камень.");
        para("Очки", "Быстрые ходы наполняют шкалу справа: очки умножаются на 2, 3 и 4. Звёздочки на "
                     "камнях приносят бонусы. Джокер подходит к любому камню.");
    } else {
        para("Цель", "Уберите с поля все камни. Внизу лежит цепочка домино с двумя свободными концами.");
        para("Ход", "Перетащите открытый камень мышью к левому или правому концу цепочки. Если одна из его "
                    "половинок совпадает с концом, камень встанет в цепочку и сам повернётся нужной стороной.");
        para("Джокер", "Джокер подходит к любому камню. Рядом с джокером правая кнопка мыши поворачивает "
                       "камень другой стороной.");
        para("Колода и подставки", "Щелчок по колоде раскладывает запасные камни на подставки слева. "
                                   "Их верхние камни тоже можно тащить к цепочке. Пустую колоду можно "
                                   "собрать заново, но не больше двух раз.");
        para("Очки", "Быстрые ходы наполняют шкалу справа и умножают очки. Звёздочки на камнях приносят бонусы.");
    }
    // Illustration on the right.
    float ix = 480, iy = 96, iw = 282, ih = 380;
    auto panel = [&](float x, float yy) { return SdRoundRect(x, yy, ix, iy, ix + iw, iy + ih, 10.f); };
    c.FillShape(ix, iy, ix + iw, iy + ih, panel, [&](float x, float yy, float) {
        return Shade(Marble(x, yy, Hex(0xE8E0D0), Hex(0xA89B88), 16, 935), .95f);
    });
    c.Bevel(ix, iy, ix + iw, iy + ih, panel, 3.f, -.4f);
    Canvas border = Painted("IMAGE_FISH_BORDER");
    auto placeTile = [&](const Canvas& t, int x, int yy) {
        c.Draw(border, x - 4, yy - 4);
        c.Draw(t, x, yy);
    };
    if (clickMode) {
        Canvas covered = Painted("IMAGE_FISH_BACK");
        placeTile(covered, 500, 130);
        Canvas open1 = TileWith("IMAGE_FISH_L", 3, 9);
        placeTile(open1, 590, 123);
        Canvas open2 = TileWith("IMAGE_FISH_L", 14, 6);
        placeTile(open2, 540, 215);
        Canvas line = Painted("IMAGE_PLAYLINE");
        c.Draw(line, 615 - line.W() / 2, 380);
        Canvas prev = TileWith("IMAGE_FISH_L", 21, 14);
        c.Draw(prev, 534, 392);
        Canvas cur = TileWith("IMAGE_FISH_L", 14, 3);
        c.Draw(cur, 616, 392);
        Arrow(c, 640, 190, 685, 380);
        bold.DrawCentered(c, "Текущий камень", 660, 470, ink);
    } else {
        Canvas open1 = TileWith("IMAGE_FISH_L2", 6, 17);
        placeTile(open1, 520, 140);
        Canvas line = Painted("IMAGE_PLAYLINE");
        c.Draw(line, 615 - line.W() / 2, 380);
        Canvas leftEnd = TileWith("IMAGE_FISH_L2", 12, 4);
        c.Draw(leftEnd, 534, 392);
        Canvas rightEnd = TileWith("IMAGE_FISH_L2", 4, 17);
        c.Draw(rightEnd, 616, 392);
        Canvas joker = Painted("IMAGE_FISH_JOKER");
        placeTile(joker, 630, 240);
        Arrow(c, 590, 200, 690, 380);
        bold.DrawCentered(c, "Левый конец", 566, 470, ink);
        bold.DrawCentered(c, "Правый конец", 694, 470, ink);
    }
    return c;
}

// ---- campaign complete ----

// The window is drawn by the dialog as a nine-slice box into the rectangle
// 80 pixels inside its edges; for a 720 x 480 image that shows the columns
// 0-319 and 480-719 and the rows 0-159 and 320-479. The picture is designed
// at the shown size (560 x 320) and split accordingly; the hidden middle
// bands repeat the parchment so the image also reads when shown whole.
Canvas CompleteWindow(int w, int h)
{
    const int dw = 560, dh = 320;
    Canvas design(dw, dh);
    PaintDialogFrame(design, 941, true);
    static const TextPainter big(kFontSerifBold, 30);
    big.DrawCentered(design, "Поздравляем!", float(dw) / 2.f, 62.f, GoldTitleStyle(2.f));
    TextStyle ink = InkStyle();
    static const TextPainter body(kFontSans, 16);
    body.DrawCentered(design, "Вы прошли все уровни пасьянса.", float(dw) / 2.f, 98.f, ink);
    // The score and whether the high-score table takes it are the game's
    // line below this one.
    // A golden cup inside a laurel wreath.
    float cx = float(dw) / 2.f, cy = 196.f;
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 12; ++i) {
            float t = float(M_PI) * (.12f + float(i) * .068f);
            float a = float(M_PI) / 2.f - float(side) * t;
            float lx = cx + std::cos(a) * 58.f, ly = cy + std::sin(a) * 50.f;
            float rot = a + float(M_PI) / 2.f + float(side) * .45f;
            auto leaf = [&](float x, float y) {
                float dx = x - lx, dy = y - ly;
                float u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
                return SdEllipse(u, v, 0, 0, 9.f, 3.6f);
            };
            MetalShape(design, lx - 11, ly - 11, lx + 11, ly + 11, leaf, Hex(0xFFE9A0), Hex(0x9A6412), 1.f);
        }
    auto cup = [&](float x, float y) {
        float bowl = std::max(SdEllipse(x, y, cx, cy - 22.f, 24.f, 26.f), cy - 22.f - y);
        float rim = SdRoundRect(x, y, cx - 25.f, cy - 26.f, cx + 25.f, cy - 20.f, 2.f);
        float stem = SdRoundRect(x, y, cx - 4.f, cy, cx + 4.f, cy + 14.f, 1.5f);
        float base = SdRoundRect(x, y, cx - 16.f, cy + 12.f, cx + 16.f, cy + 19.f, 2.5f);
        float handles = std::min(std::fabs(SdCircle(x, y, cx - 26.f, cy - 12.f, 8.f)) - 2.2f,
                                 std::fabs(SdCircle(x, y, cx + 26.f, cy - 12.f, 8.f)) - 2.2f);
        return std::min(std::min(std::min(bowl, rim), std::min(stem, base)), handles);
    };
    MetalShape(design, cx - 40, cy - 30, cx + 40, cy + 22, cup, Hex(0xFFF3C0), Hex(0x9A6412), 2.5f);
    auto gem = [&](float x, float y) { return SdCircle(x, y, cx, cy - 8.f, 5.f); };
    MetalShape(design, cx - 6, cy - 14, cx + 6, cy - 2, gem, Hex(0x9BE0F0), Hex(0x1B5F88), 1.5f);
    // Split into the image.
    Canvas c(w, h);
    auto srcX = [&](int x) { return x < 320 ? x : (x >= 480 ? x - 160 : 319); };
    auto srcY = [&](int y) { return y < 160 ? y : (y >= 320 ? y - 160 : 159); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool hidden = (x >= 320 && x < 480) || (y >= 160 && y < 320);
            Rgba p = design.Get(srcX(x), srcY(y));
            if (hidden) {
                // Plain parchment, with the frame continued along the edges.
                bool edge = x < 14 || x >= w - 14 || y < 14 || y >= h - 14;
                if (!edge) p = ParchmentAt(float(x), float(y), 941);
            }
            c.Set(x, y, p);
        }
    return c;
}

PainterRegistration regs[] = {
    {"IMAGE_LOADER_KORVELT", LoaderKorvelt},
    {"IMAGE_LOGO_BIG", StudioLogo},
    {"IMAGE_LOGO_SMALL", LogoSmall},
    {"IMAGE_TITLE", TitleScreen},
    {"IMAGE_W_MAP", [](int w, int h) { return MapScreen(w, h, false); }},
    {"IMAGE_W_MAP2", [](int w, int h) { return MapScreen(w, h, true); }},
    {"IMAGE_HOW_TO_PLAY1", [](int w, int h) { return HowToPlay(w, h, true); }},
    {"IMAGE_HOW_TO_PLAY2", [](int w, int h) { return HowToPlay(w, h, false); }},
    {"IMAGE_COMPLETE_WND", CompleteWindow},
};

ExtraImageRegistration loadingArt("images/loading_art.png", 800, 320, LoadingArt);

} // namespace

} // namespace Zorvin::AssetGen
