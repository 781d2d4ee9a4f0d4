// Controls and small pieces of the interface: buttons in their four looks,
// checkbox, slider, combo meter and its popups, bonus pictures, dialog
// frames, the tip balloon, map points and markers, the thumbnail scrolls,
// the board's panels and play-line frames, the deck tray and the place
// rocks, and the loading bar.
//
// Sections:
//   - buttons
//   - checkbox and slider
//   - the combo meter and its popups
//   - bonus pictures
//   - dialog frames and the tip balloon
//   - map points and markers, the scrolls
//   - panels and play-line frames
//   - the deck tray and the place
//   - the loader bar and wide buttons

#include "tools/assetgen/art/ArtKit.h"
#include "tools/assetgen/art/Painters.h"

namespace Zorvin::AssetGen {

namespace {

const Rgba kEnamelBlue = Hex(0x1B6A8F);
const Rgba kEnamelTerracotta = Hex(0xA8432C);
const Rgba kEnamelTeal = Hex(0x1F7C78);

Canvas Button(int w, int h, ButtonState s, const Rgba& face, int shadow = 3)
{
    Canvas c(w, h);
    PaintButton(c, s, face, shadow);
    return c;
}

// A button whose label is part of the picture (no label is given to it in
// the game).
Canvas LabelledButton(int w, int h, ButtonState s, const Rgba& face, const char* label)
{
    Canvas c = Button(w, h, s, face);
    float off = s == ButtonState::Down ? 1.f : 0.f;
    float base = float(h - 3) / 2.f + float(LabelFont().Ascent()) * .36f + off;
    EngraveCentered(c, LabelFont(), label, float(w) / 2.f + off, base, Hex(0xFFF6E2), Hex(0x1E140A));
    return c;
}

Canvas MenuButton(int w, int h, ButtonState s)
{
    // A round-cornered bronze plaque with three bars and the word "Меню".
    Canvas c(w, h);
    PaintButton(c, s, kEnamelTeal, 4, 12.f);
    float off = s == ButtonState::Down ? 1.f : 0.f;
    for (int i = 0; i < 3; ++i) {
        float y = 14.f + float(i) * 6.f + off;
        auto bar = [&](float x, float yy) { return SdRoundRect(x, yy, 16 + off, y - 1.6f, 34 + off, y + 1.6f, 1.6f); };
        c.FillShape(0, 0, float(w), float(h), bar, Hex(0xFFF2D2));
    }
    EngraveCentered(c, LabelFont(), "Меню", float(w) / 2.f + 12.f + off, 34.f + off, Hex(0xFFF6E2), Hex(0x1E140A));
    return c;
}

Canvas Checkbox(int w, int h)
{
    Canvas c(w, h);
    int cw = w / 2;
    for (int half = 0; half < 2; ++half) {
        float x0 = float(half * cw) + 2.f, y0 = 2.f, x1 = float(half * cw + cw) - 2.f, y1 = float(h) - 2.f;
        auto box = [&](float x, float y) { return SdRoundRect(x, y, x0, y0, x1, y1, 4.f); };
        MetalShape(c, x0, y0, x1, y1, box, Palette::BronzeLight, Palette::BronzeDark, 1.5f);
        auto well = [&](float x, float y) { return SdRoundRect(x, y, x0 + 3, y0 + 3, x1 - 3, y1 - 3, 2.f); };
        c.FillShape(x0, y0, x1, y1, well, [&](float x, float y, float) { return ParchmentAt(x * 3, y * 3, 5); });
        c.Bevel(x0, y0, x1, y1, well, 2.f, -.4f);
        if (half == 1) {
            // A green tick, cut like a laurel stroke.
            auto tick = [&](float x, float y) {
                float a = SdSegment(x, y, x0 + 5, y0 + 10, x0 + 9, y0 + 15) - 2.2f;
                float b = SdSegment(x, y, x0 + 9, y0 + 15, x0 + 17, y0 + 4) - 2.2f;
                return std::min(a, b);
            };
            c.FillShape(x0, y0 - 3, x1 + 3, y1, tick, [&](float, float y, float) {
                return Mix(Hex(0x6BD04A), Hex(0x2A7A1C), Clamp01((y - y0) / 18.f));
            });
            c.Bevel(x0, y0 - 3, x1 + 3, y1, tick, 1.2f, .4f);
        }
    }
    return c;
}

Canvas SliderTrack(int w, int h)
{
    Canvas c(w, h);
    auto groove = [&](float x, float y) { return SdRoundRect(x, y, 1, 3, float(w) - 1, float(h) - 3, 5.f); };
    MetalShape(c, 0, 0, float(w), float(h), groove, Palette::BronzeDark, Palette::BronzeLight, 1.2f);
    auto inner = [&](float x, float y) { return SdRoundRect(x, y, 4, 6, float(w) - 4, float(h) - 6, 2.f); };
    c.FillShape(0, 0, float(w), float(h), inner, [&](float, float y, float) {
        return Mix(Hex(0x0C2A3A), Hex(0x2A6E88), Clamp01((y - 6.f) / float(h - 12)));
    });
    return c;
}

Canvas SliderThumb(int w, int h)
{
    Canvas c(w, h);
    auto knob = [&](float x, float y) {
        return SdPolygon(x, y, {{2, 3}, {float(w) - 2, 3}, {float(w) - 2, float(h) - 10}, {float(w) / 2, float(h) - 2}, {2, float(h) - 10}}) - 1.f;
    };
    MetalShape(c, 0, 0, float(w), float(h), knob, Hex(0xFFE7A8), Palette::BronzeDark, 2.f);
    for (int i = 0; i < 3; ++i) {
        float y = 8.f + float(i) * 4.f;
        c.FillShape(0, 0, float(w), float(h), [&](float x, float yy) { return SdSegment(x, yy, 6, y, float(w) - 6, y) - .6f; },
                    Rgba(.25f, .14f, .04f, .6f));
    }
    c.AddDropShadow(1, 1, 2, Rgba(0, 0, 0, .5f));
    return c;
}

// ---- combo meter ----

Rgba ComboColor(float level)
{
    // Cool sea at the bottom, then gold for x2, orange for x3, red-hot x4.
    if (level < .32f) return Mix(Hex(0x1E8FB0), Hex(0x3FC2C9), level / .32f);
    if (level < .64f) return Mix(Hex(0x9ACD32), Hex(0xF2CF3A), (level - .32f) / .32f);
    if (level < .92f) return Mix(Hex(0xF2A23A), Hex(0xF0702A), (level - .64f) / .28f);
    return Mix(Hex(0xF04A2A), Hex(0xFFD0A0), (level - .92f) / .08f);
}

Canvas ComboMeter(int w, int h)
{
    Canvas c(w, h);
    auto tube = [&](float x, float y) { return SdRoundRect(x, y, .5f, .5f, float(w) - .5f, float(h) - .5f, 8.f); };
    MetalShape(c, 0, 0, float(w), float(h), tube, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    auto glass = [&](float x, float y) { return SdRoundRect(x, y, 5, 5, float(w) - 5, float(h) - 5, 5.f); };
    c.FillShape(0, 0, float(w), float(h), glass, [&](float x, float, float) {
        return Mix(Hex(0x0A1C28), Hex(0x183A4C), std::fabs(x - float(w) / 2.f) < 5.f ? .6f : 0.f);
    });
    c.Bevel(0, 0, float(w), float(h), glass, 2.f, -.5f);
    return c;
}

Canvas ComboMeterOn(int w, int h)
{
    // The fill, drawn one pixel inside the meter and revealed from the bottom.
    Canvas c(w, h);
    auto glass = [&](float x, float y) { return SdRoundRect(x, y, 4, 4, float(w) - 4, float(h) - 4, 5.f); };
    c.FillShape(0, 0, float(w), float(h), glass, [&](float x, float y, float) {
        float level = 1.f - Clamp01((y - 4.f) / float(h - 8));
        Rgba col = ComboColor(level);
        float across = std::fabs(x - float(w) / 2.f) / (float(w) / 2.f - 4.f);
        return Mix(Mix(col, Rgba(1, 1, 1, 1), .35f), Shade(col, .7f), across);
    });
    // Bubbles rising in the liquid light.
    for (int i = 0; i < 14; ++i) {
        float bx = 8.f + Hash01(i, 1, 77) * float(w - 16), by = 10.f + Hash01(i, 2, 77) * float(h - 20);
        float r = 1.f + Hash01(i, 3, 77) * 1.6f;
        c.FillShape(bx - 3, by - 3, bx + 3, by + 3, [&](float x, float y) { return SdCircle(x, y, bx, by, r); }, Rgba(1, 1, 1, .45f));
    }
    return c;
}

Canvas ComboMeterLabels(int w, int h)
{
    // Ticks where the multiplier steps up, with their numbers, and a glass
    // gleam over the whole tube.
    Canvas c(w, h);
    const float levels[3] = {.32f, .64f, .92f};
    const char* names[3] = {"x2", "x3", "x4"};
    static const TextPainter small(kFontSansCondensedBold, 11);
    for (int i = 0; i < 3; ++i) {
        // The fill image is 2 pixels shorter and starts one pixel lower.
        float y = 1.f + (1.f - levels[i]) * float(h - 2);
        c.FillShape(0, 0, float(w), float(h), [&](float x, float yy) { return SdSegment(x, yy, 4, y, float(w) - 4, y) - .7f; },
                    Rgba(1, .95f, .8f, .85f));
        TextStyle s;
        s.fill = Hex(0xFFF3D0);
        s.outline = 1.f;
        s.outlineColor = Rgba(0, 0, 0, .9f);
        small.DrawCentered(c, names[i], float(w) / 2.f, y + 12.f, s);
    }
    auto gleam = [&](float x, float y) { return SdRoundRect(x, y, 7, 8, 11, float(h) - 8, 2.f); };
    c.FillShape(0, 0, float(w), float(h), gleam, Rgba(1, 1, 1, .22f));
    return c;
}

Canvas ComboPopup(int w, int h, int mult)
{
    Canvas c(w, h);
    float cx = float(w) / 2.f, cy = float(h) / 2.f;
    auto burst = StarPoints(cx, cy, float(h) / 2.f - 1.f, float(h) / 3.2f, 10);
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, burst); },
                [&](float x, float y, float) {
                    float d = std::hypot(x - cx, y - cy) / (float(h) / 2.f);
                    Rgba base = mult == 2 ? Hex(0xF2CF3A) : mult == 3 ? Hex(0xF2963A) : Hex(0xF04A2A);
                    return WithAlpha(base, .85f * (1.f - d * .5f));
                });
    static const TextPainter big(kFontSerifBold, 26);
    TextStyle s;
    s.fill = Hex(0xFFFFFF);
    s.fillBottom = Hex(0xFFE08A);
    s.outline = 2.f;
    s.outlineColor = Hex(0x4A1A06);
    s.shadowX = 1;
    s.shadowY = 2;
    s.shadowBlur = 2;
    big.DrawCentered(c, "x" + std::to_string(mult), cx, cy + 9.f, s);
    return c;
}

// ---- bonuses ----

void Coin(Canvas& c, float cx, float cy, float r, const Rgba& light, const Rgba& dark, const char* text)
{
    auto disc = [&](float x, float y) { return SdCircle(x, y, cx, cy, r); };
    MetalShape(c, cx - r, cy - r, cx + r, cy + r, disc, light, dark, 3.f);
    c.FillShape(cx - r, cy - r, cx + r, cy + r, [&](float x, float y) { return std::fabs(SdCircle(x, y, cx, cy, r - 4.f)) - .7f; },
                WithAlpha(Shade(dark, .8f), .7f));
    static const TextPainter f(kFontSerifBold, 15);
    TextStyle s;
    s.fill = Hex(0xFFF8E0);
    s.outline = 1.2f;
    s.outlineColor = Shade(dark, .6f);
    f.DrawCentered(c, text, cx, cy + 5.5f, s);
}

void PlusLabel(Canvas& c, const char* text, float x, float y)
{
    static const TextPainter f(kFontSansBold, 15);
    TextStyle s;
    s.fill = Hex(0xFFFFFF);
    s.fillBottom = Hex(0xC8F08A);
    s.outline = 1.6f;
    s.outlineColor = Hex(0x1A3A0A);
    f.Draw(c, text, x, y, s);
}

Canvas BonusPicture(int w, int h, const std::string& kind)
{
    Canvas c(w, h);
    float cx = float(w) / 2.f, cy = float(h) / 2.f;
    // A soft golden halo behind every bonus.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdCircle(x, y, cx, cy, float(h) / 2.f); },
                [&](float, float, float d) { return Rgba(1, .85f, .4f, .4f * Clamp01(-d / (float(h) / 2.f))); });
    if (kind == "100") {
        Coin(c, cx, cy, 21, Hex(0xF7D98A), Hex(0x8A5A18), "100");
    } else if (kind == "200") {
        Coin(c, cx - 9, cy + 2, 17, Hex(0xE8E8E8), Hex(0x6A6A70), "");
        Coin(c, cx + 5, cy - 1, 22, Hex(0xFFE58A), Hex(0xA0660E), "200");
    } else if (kind == "crop") {
        // A sheaf of wheat: the deck may be gathered once more.
        for (int i = -3; i <= 3; ++i) {
            float ang = float(i) * .16f;
            float tx = cx + std::sin(ang) * 22.f, ty = cy - std::cos(ang) * 22.f + 4.f;
            c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdSegment(x, y, cx, cy + 22.f, tx, ty) - 1.1f; },
                        Hex(0xC9A040));
            auto ear = [&](float x, float y) {
                float dx = x - tx, dy = y - ty;
                float u = dx * std::cos(ang) + dy * std::sin(ang), v = -dx * std::sin(ang) + dy * std::cos(ang);
                return SdEllipse(u, v, 0, 0, 3.f, 7.5f);
            };
            MetalShape(c, tx - 8, ty - 9, tx + 8, ty + 9, ear, Hex(0xFFE9A0), Hex(0xB07A1A), 1.f);
        }
        auto tie = [&](float x, float y) { return SdRoundRect(x, y, cx - 7, cy + 9, cx + 7, cy + 14, 2); };
        c.FillShape(0, 0, float(w), float(h), tie, Hex(0xA8432C));
        PlusLabel(c, "+1", cx + 12, cy + 24);
    } else if (kind == "joker") {
        auto rays = StarPoints(cx, cy, 24.f, 10.f, 12);
        MetalShape(c, 0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, rays); }, Hex(0xFFF0B0), Hex(0xB07A1A), 1.5f);
        auto mask = [&](float x, float y) {
            float head = SdEllipse(x, y, cx, cy + 1.f, 12.f, 13.f);
            float eyes = std::min(SdEllipse(x, y, cx - 5.f, cy - 2.f, 2.8f, 2.1f), SdEllipse(x, y, cx + 5.f, cy - 2.f, 2.8f, 2.1f));
            float mouth = std::max(std::fabs(SdCircle(x, y, cx, cy + 1.f, 6.5f)) - 1.4f, cy + 3.f - y);
            return std::max(head, -std::min(eyes, mouth));
        };
        c.FillShape(0, 0, float(w), float(h), mask, [&](float, float y, float) { return Mix(Hex(0xFFF6E0), Hex(0xD9A24A), Clamp01((y - cy + 12.f) / 26.f)); });
        c.Bevel(0, 0, float(w), float(h), mask, 1.5f, .5f);
    } else if (kind == "place") {
        auto top = [&](float x, float y) { return SdPolygon(x, y, {{14, 24}, {58, 24}, {52, 18}, {20, 18}}); };
        auto front = [&](float x, float y) { return SdRoundRect(x, y, 14, 24, 58, 44, 2); };
        c.FillShape(0, 0, float(w), float(h), front, [&](float x, float y, float) { return Shade(Marble(x, y, Palette::Marble, Palette::MarbleVein, 8, 3), .85f); });
        c.Bevel(0, 0, float(w), float(h), front, 2.f, .5f);
        c.FillShape(0, 0, float(w), float(h), top, Palette::Marble);
        PlusLabel(c, "+1", cx + 8, cy + 26);
    } else if (kind == "reshuffle") {
        for (int k = 0; k < 2; ++k) {
            float a0 = k == 0 ? .3f : float(M_PI) + .3f;
            auto arc = [&](float x, float y) {
                float ang = std::atan2(y - cy, x - cx) - a0;
                while (ang < 0) ang += 2.f * float(M_PI);
                float ring = std::fabs(SdCircle(x, y, cx, cy, 17.f)) - 3.5f;
                return ang < 2.3f ? ring : 1e9f;
            };
            MetalShape(c, 0, 0, float(w), float(h), arc, Hex(0x9BE0F0), Hex(0x1B5F88), 1.2f);
            float ae = a0 + 2.3f;
            float hx = cx + std::cos(ae) * 17.f, hy = cy + std::sin(ae) * 17.f;
            float tx = -std::sin(ae), ty = std::cos(ae);
            std::vector<Pt> head = {{hx + tx * 9.f, hy + ty * 9.f}, {hx - ty * 8.f, hy + tx * 8.f}, {hx + ty * 8.f, hy - tx * 8.f}};
            MetalShape(c, 0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, head); }, Hex(0x9BE0F0), Hex(0x1B5F88), 1.2f);
        }
    } else { // stone: one more tile for the deck
        auto tile = [&](float x, float y) { return SdRoundRect(x, y, 12, 16, 52, 42, 4); };
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdRoundRect(x, y, 9, 19, 49, 45, 4); }, Hex(0x7A6442));
        c.FillShape(0, 0, float(w), float(h), tile, [&](float x, float y, float) { return Marble(x, y, Hex(0xF6F1E6), Hex(0xB8AC98), 8, 11); });
        c.Bevel(0, 0, float(w), float(h), tile, 2.f, .5f);
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdSegment(x, y, 32, 19, 32, 39) - .6f; }, Hex(0x9A8A70));
        PlusLabel(c, "+1", cx + 10, cy + 26);
    }
    c.AddDropShadow(1, 2, 3, Rgba(0, 0, 0, .45f));
    return c;
}

// ---- dialogs ----

Canvas DialogBox(int w, int h)
{
    // The high-score window draws this 200 pixels wider than it is.
    Canvas c(w, h);
    PaintDialogFrame(c, 101, true, true, true);
    return c;
}

Canvas SmallWindow(int w, int h)
{
    Canvas c(w, h);
    PaintDialogFrame(c, 202);
    return c;
}

Canvas MenuWindow(int w, int h)
{
    Canvas c(w, h);
    PaintDialogFrame(c, 303);
    // A laurel sprig under the buttons.
    float cx = float(w) / 2.f, y = float(h) - 26.f;
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 5; ++i) {
            float lx = cx + float(side) * (10.f + float(i) * 9.f), ly = y - float(i) * 1.2f;
            float rot = float(side) * (.5f + float(i) * .05f);
            auto leaf = [&](float x, float yy) {
                float dx = x - lx, dy = yy - ly;
                float u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
                return SdEllipse(u, v, 0, 0, 5.f, 2.f);
            };
            c.FillShape(lx - 7, ly - 7, lx + 7, ly + 7, leaf, [&](float, float, float) { return Hex(0x6E7D3B); });
        }
    return c;
}

Canvas HintBalloon(int w, int h)
{
    // Dark sea glass in a bronze rim: the game writes white text on it.
    Canvas c(w, h);
    auto body = [&](float x, float y) { return SdRoundRect(x, y, 1, 1, float(w) - 1, float(h) - 1, 14.f); };
    MetalShape(c, 0, 0, float(w), float(h), body, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    auto glass = [&](float x, float y) { return SdRoundRect(x, y, 5, 5, float(w) - 5, float(h) - 5, 11.f); };
    c.FillShape(0, 0, float(w), float(h), glass, [&](float x, float y, float) {
        float n = Fbm(x / 30.f, y / 30.f, 9, 3);
        return Mix(Hex(0x1A5878), Hex(0x0A2A40), Clamp01(y / float(h) * .9f + n * .2f));
    });
    c.Bevel(0, 0, float(w), float(h), glass, 3.f, -.4f);
    // A small owl-eye lamp of wisdom in the corner.
    auto lamp = [&](float x, float y) { return SdCircle(x, y, 18, 18, 6); };
    MetalShape(c, 10, 10, 26, 26, lamp, Hex(0xFFF1B0), Hex(0xC08A20), 1.5f);
    return c;
}

Canvas HintArrow(int w, int h)
{
    // Points from the balloon's lower left down to (0, h).
    Canvas c(w, h);
    std::vector<Pt> tri = {{26, 0}, {float(w) - 1, 0}, {2, float(h) - 2}};
    auto sdf = [&](float x, float y) { return SdPolygon(x, y, tri) - 1.f; };
    MetalShape(c, 0, 0, float(w), float(h), sdf, Palette::BronzeLight, Palette::BronzeDark, 1.5f);
    std::vector<Pt> inner = {{30, 0}, {float(w) - 7, 0}, {7, float(h) - 10}};
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, inner); },
                [&](float, float y, float) { return Mix(Hex(0x0A2A40), Hex(0x1A5878), Clamp01(y / float(h))); });
    return c;
}

// ---- map ----

Canvas MapPoint(int w, int h, int kind)
{
    Canvas c(w, h);
    float cx = float(w) / 2.f, cy = float(h) / 2.f, r = float(w) / 2.f - 2.f;
    auto disc = [&](float x, float y) { return SdCircle(x, y, cx, cy, r); };
    if (kind == 0) {
        MetalShape(c, 0, 0, float(w), float(h), disc, Hex(0xCFC8BC), Hex(0x5E5850), 2.f);
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdCircle(x, y, cx, cy, r * .4f); }, Hex(0x6E675E));
    } else {
        Rgba l = kind == 1 ? Hex(0xFFE08A) : Hex(0xFFFFFF);
        Rgba d = kind == 1 ? Hex(0x9A6412) : Hex(0xF0A020);
        if (kind == 2)
            c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdCircle(x, y, cx, cy, r + 1.5f); }, Rgba(1, 1, .7f, .9f));
        MetalShape(c, 0, 0, float(w), float(h), disc, l, d, 2.f);
        auto star = StarPoints(cx, cy, r * .62f, r * .27f, 5);
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, star); },
                    kind == 1 ? Hex(0xA8432C) : Hex(0xD8321B));
    }
    c.AddDropShadow(1, 2, 2, Rgba(0, 0, 0, .5f));
    return c;
}

// Two cels of a rating star: burnished gold for a star earned, the grey
// metal of a stage not yet reached for one still to earn.
Canvas RatingStar(int w, int h)
{
    Canvas c(w, h);
    float cw = float(w) / 2.f, r = std::min(cw, float(h)) / 2.f - 2.f;
    for (int k = 0; k < 2; ++k) {
        float x0 = cw * float(k);
        auto star = StarPoints(x0 + cw / 2.f, float(h) / 2.f + .5f, r, r * .46f, 5);
        auto sdf = [&](float x, float y) { return SdPolygon(x, y, star); };
        if (k == 0)
            MetalShape(c, x0, 0, x0 + cw, float(h), sdf, Hex(0xFFF1A6), Hex(0xC7820E), std::max(1.f, r / 8.f));
        else
            MetalShape(c, x0, 0, x0 + cw, float(h), sdf, Hex(0xCFC8BC), Hex(0x5E5850), std::max(1.f, r / 8.f));
    }
    c.AddDropShadow(1, 2, 2, Rgba(0, 0, 0, .5f));
    return c;
}

Canvas Chariot(int w, int h)
{
    Canvas c(w, h);
    // The horse, facing left.
    Rgba horse = Hex(0xF2EDE4), horseDark = Hex(0x9C9284);
    auto horseSdf = [&](float x, float y) {
        float body = SdEllipse(x, y, 19, 20, 11, 6.5f);
        float neck = SdSegment(x, y, 11, 17, 6, 8) - 3.5f;
        float head = SdSegment(x, y, 6, 8, 1.5f, 12) - 2.6f;
        float legs = std::min(std::min(SdSegment(x, y, 11, 23, 9, 33) - 1.4f, SdSegment(x, y, 14, 24, 15, 33) - 1.4f),
                              std::min(SdSegment(x, y, 25, 23, 28, 33) - 1.4f, SdSegment(x, y, 28, 22, 32, 31) - 1.4f));
        float tail = SdSegment(x, y, 30, 18, 34, 26) - 1.5f;
        return std::min(std::min(std::min(body, neck), std::min(head, legs)), tail);
    };
    c.FillShape(0, 0, float(w), float(h), horseSdf, [&](float, float y, float) { return Mix(horse, horseDark, Clamp01((y - 8.f) / 26.f)); });
    c.Bevel(0, 0, float(w), float(h), horseSdf, 1.5f, .4f);
    // Mane plume in red.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdSegment(x, y, 6, 5, 12, 13) - 1.8f; }, Hex(0xC0392B));
    // Shaft and car.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdSegment(x, y, 26, 21, 42, 27) - 1.2f; }, Hex(0x6A3E10));
    auto car = [&](float x, float y) {
        return SdPolygon(x, y, {{38, 14}, {52, 12}, {56, 30}, {40, 30}}) - .5f;
    };
    MetalShape(c, 0, 0, float(w), float(h), car, Palette::BronzeLight, Palette::BronzeDark, 1.5f);
    // The wheel.
    auto wheel = [&](float x, float y) {
        float rim = std::fabs(SdCircle(x, y, 47, 31, 9)) - 1.8f;
        float hub = SdCircle(x, y, 47, 31, 2.2f);
        float spokes = 1e9f;
        for (int i = 0; i < 4; ++i) {
            float a = float(i) * float(M_PI) / 4.f;
            spokes = std::min(spokes, SdSegment(x, y, 47 - std::cos(a) * 8, 31 - std::sin(a) * 8, 47 + std::cos(a) * 8, 31 + std::sin(a) * 8) - .8f);
        }
        return std::min(std::min(rim, hub), spokes);
    };
    MetalShape(c, 0, 0, float(w), float(h), wheel, Hex(0xE3B060), Hex(0x5A3512), 1.f);
    c.AddDropShadow(1, 2, 2, Rgba(0, 0, 0, .55f));
    return c;
}

Canvas Ship(int w, int h)
{
    Canvas c(w, h);
    // Hull: a curved galley with a raised stern.
    auto hull = [&](float x, float y) {
        std::vector<Pt> p = {{4, 38}, {12, 46}, {48, 46}, {56, 40}, {60, 30}, {55, 36}, {4, 36}, {1, 33}};
        return SdPolygon(x, y, p) - .5f;
    };
    c.FillShape(0, 0, float(w), float(h), hull, [&](float, float y, float) { return Mix(Hex(0x9A5A2A), Hex(0x4A2A10), Clamp01((y - 34.f) / 12.f)); });
    c.Bevel(0, 0, float(w), float(h), hull, 1.5f, .4f);
    // An eye on the bow and a row of shields.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdCircle(x, y, 8, 39, 1.6f); }, Hex(0xFFFFFF));
    for (int i = 0; i < 4; ++i) {
        float sx = 18.f + float(i) * 8.f;
        MetalShape(c, sx - 4, 36, sx + 4, 44, [&](float x, float y) { return SdCircle(x, y, sx, 39.5f, 2.6f); }, Palette::BronzeLight, Palette::BronzeDark, 1.f);
    }
    // Oars.
    for (int i = 0; i < 5; ++i) {
        float ox = 14.f + float(i) * 7.f;
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdSegment(x, y, ox, 44, ox - 4, 54) - .7f; }, Hex(0x6A4A2A));
    }
    // Mast and a striped square sail, bellied by the wind.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdSegment(x, y, 30, 4, 30, 37) - 1.f; }, Hex(0x5A3512));
    auto sail = [&](float x, float y) {
        float bulge = std::sin((y - 7.f) / 24.f * float(M_PI)) * 3.f;
        return SdRoundRect(x - bulge, y, 16, 7, 44, 31, 2.f);
    };
    c.FillShape(0, 0, float(w), float(h), sail, [&](float x, float y, float) {
        bool stripe = std::fmod(x - 16.f, 9.f) < 3.5f;
        Rgba cloth = stripe ? Hex(0xB8322A) : Hex(0xF5EEDD);
        return Shade(cloth, 1.f - (y - 7.f) / 24.f * .15f);
    });
    c.Bevel(0, 0, float(w), float(h), sail, 2.f, .3f);
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdPolygon(x, y, {{30, 1}, {38, 4}, {30, 7}}); }, Hex(0x1D6F93));
    c.AddDropShadow(1, 2, 2, Rgba(0, 0, 0, .45f));
    return c;
}

// The thumbnail scroll: parchment between two wooden rolls. The rolls are
// the columns 0-17 and 123-143, drawn on their own while a scroll is closed
// or unrolling.
Canvas Scroll(int w, int h, int kind)
{
    Canvas c(w, h);
    if (kind == 2) {
        // Selection: a golden glow around the thumbnail only; the game fades
        // it in and out.
        auto frame = [&](float x, float y) { return std::fabs(SdRoundRect(x, y, 8, 6, 132, 100, 4.f)) - 3.f; };
        Mask m = c.ShapeMask(frame);
        m.Blur(4);
        c.DrawMask(m, Hex(0xFFE27A));
        c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return std::fabs(SdRoundRect(x, y, 8.5f, 6.5f, 131.5f, 99.5f, 3.f)) - 1.f; },
                    Hex(0xFFF4C0));
        return c;
    }
    bool over = kind == 1;
    auto sheet = [&](float x, float y) { return SdRoundRect(x, y, 8, 3, 135, float(h) - 3, 2.f); };
    c.FillShape(0, 0, float(w), float(h), sheet, [&](float x, float y, float) {
        Rgba p = ParchmentAt(x, y, 55);
        return over ? Mix(p, Hex(0xFFF3C8), .45f) : p;
    });
    // Frame line around the picture area.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return std::fabs(SdRoundRect(x, y, 9, 7, 131, 99, 2.f)) - .8f; },
                over ? Hex(0xD09A30) : Hex(0x9A7A4A));
    auto roll = [&](float x0, float x1) {
        float cx = (x0 + x1) / 2.f;
        auto rod = [&](float x, float y) { return SdRoundRect(x, y, x0 + 1, 0.5f, x1 - 1, float(h) - .5f, 4.f); };
        c.FillShape(x0, 0, x1, float(h), rod, [&](float x, float, float) {
            float t = (x - x0) / (x1 - x0);
            float lit = std::sin(t * float(M_PI));
            return Mix(Hex(0x8A6A3A), Hex(0xF2E2B8), lit * .9f);
        });
        for (int end = 0; end < 2; ++end) {
            float y = end == 0 ? 4.f : float(h) - 4.f;
            auto cap = [&](float x, float yy) { return SdRoundRect(x, yy, x0, y - 4, x1, y + 4, 3.f); };
            MetalShape(c, x0 - 1, y - 5, x1 + 1, y + 5, cap, Palette::BronzeLight, Palette::BronzeDark, 1.2f);
        }
        (void)cx;
    };
    roll(0, 17);
    roll(123, 143);
    c.AddDropShadow(1, 2, 2, Rgba(0, 0, 0, .35f));
    return c;
}

// ---- the board's panels ----

Rgba PanelStone(float x, float y)
{
    return Marble(x, y, Hex(0xE9E1D2), Hex(0xA99A86), 16.f, 71);
}

Canvas LowerPanel(int w, int h)
{
    Canvas c(w, h);
    c.FillWith([&](float x, float y) { return Shade(PanelStone(x, y), .96f - y / float(h) * .1f); });
    // Bronze cornice along the top edge with a Greek key frieze.
    c.FillShape(0, 0, float(w), 10, [&](float x, float y) { return SdRoundRect(x, y, -5, 0, float(w) + 5, 9, 1); },
                [&](float, float y, float) { return Mix(Palette::BronzeLight, Palette::BronzeDark, y / 9.f); });
    for (int i = 0; i * 24 < w; ++i) {
        float x0 = float(i) * 24.f + 4.f;
        auto key = [&](float x, float y) {
            float d = std::min(std::min(SdSegment(x, y, x0, 7, x0, 2), SdSegment(x, y, x0, 2, x0 + 10, 2)),
                               std::min(SdSegment(x, y, x0 + 10, 2, x0 + 10, 6), SdSegment(x, y, x0 + 10, 6, x0 + 5, 6)));
            return std::min(d, SdSegment(x, y, x0, 7, x0 + 24, 7)) - .7f;
        };
        c.FillShape(x0 - 2, 0, x0 + 26, 10, key, Rgba(.3f, .17f, .05f, .75f));
    }
    // Recessed wells for the deck (left) and the buttons (right).
    auto well = [&](float x0, float x1) {
        auto sdf = [&](float x, float y) { return SdRoundRect(x, y, x0, 16, x1, float(h) - 3, 8.f); };
        c.FillShape(x0, 14, x1, float(h), sdf, Rgba(.3f, .22f, .12f, .18f));
        c.Bevel(x0, 14, x1, float(h), sdf, 3.f, -.45f);
    };
    well(2, 250);
    well(570, 798);
    return c;
}

Canvas UpperPanel(int w, int h)
{
    Canvas c(w, h);
    c.FillWith([&](float x, float y) {
        Rgba p = ParchmentAt(x, y, 88);
        return Shade(p, 1.04f - y / float(h) * .08f);
    });
    // Bronze rail along the bottom.
    c.FillShape(0, float(h) - 5, float(w), float(h), [&](float x, float y) { return SdRoundRect(x, y, -5, float(h) - 4, float(w) + 5, float(h) + 3, 1); },
                [&](float, float y, float) { return Mix(Palette::BronzeLight, Palette::BronzeDark, Clamp01((y - float(h) + 4.f) / 4.f)); });
    // Small rosettes dividing the three readouts.
    for (float x : {250.f, 550.f}) {
        auto r = [&](float px, float py) { return SdCircle(px, py, x, 11.f, 5.f); };
        MetalShape(c, x - 6, 5, x + 6, 17, r, Palette::BronzeLight, Palette::BronzeDark, 1.5f);
    }
    return c;
}

Canvas PreviewPanel(int w, int h)
{
    // The magnifier: a bronze-framed well that shows the tile under the
    // mouse, enlarged in spirit, at (12, 5).
    Canvas c(w, h);
    auto frame = [&](float x, float y) { return SdRoundRect(x, y, 1, 0.5f, float(w) - 1, float(h) - 1, 9.f); };
    MetalShape(c, 0, 0, float(w), float(h), frame, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    auto well = [&](float x, float y) { return SdRoundRect(x, y, 5, 3, float(w) - 5, float(h) - 5, 6.f); };
    c.FillShape(0, 0, float(w), float(h), well, [&](float x, float y, float) {
        return Mix(Hex(0x1C5470), Hex(0x0B2B40), Clamp01(std::hypot(x - float(w) / 2.f, y - float(h) / 2.f) / 60.f));
    });
    c.Bevel(0, 0, float(w), float(h), well, 3.f, -.5f);
    // Lens glint.
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return std::max(well(x, y), SdEllipse(x, y, 26, 14, 20, 7)); },
                Rgba(1, 1, 1, .08f));
    c.AddDropShadow(1, 2, 3, Rgba(0, 0, 0, .4f));
    return c;
}

Canvas PlayStrip(int w, int h)
{
    // The channel the line's tiles lie in; symmetric about its middle.
    Canvas c(w, h);
    auto outer = [&](float x, float y) { return SdRoundRect(x, y, 1, 1, float(w) - 1, float(h) - 1, 12.f); };
    MetalShape(c, 0, 0, float(w), float(h), outer, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    auto groove = [&](float x, float y) { return SdRoundRect(x, y, 6, 5, float(w) - 6, float(h) - 4, 8.f); };
    c.FillShape(0, 0, float(w), float(h), groove, [&](float x, float y, float) {
        float n = Fbm(x / 14.f, y / 14.f, 61, 3);
        return Shade(Mix(Hex(0x3A5A66), Hex(0x1A2E38), Clamp01(y / float(h))), .85f + n * .3f);
    });
    c.Bevel(0, 0, float(w), float(h), groove, 4.f, -.55f);
    return c;
}

Canvas LineLag(int w, int h)
{
    // A warm light behind the meeting point of the line's two ends.
    Canvas c(w, h);
    float cx = 56.f, cy = 49.f;
    c.FillShape(0, 0, float(w), float(h), [&](float x, float y) { return SdEllipse(x, y, cx, cy, 54.f, 32.f); },
                [&](float x, float y, float) {
                    float d = std::hypot((x - cx) / 54.f, (y - cy) / 32.f);
                    return Rgba(1.f, .85f, .45f, .45f * (1.f - Clamp01(d)));
                });
    return c;
}

Canvas LineFrame(int w, int h)
{
    // Over the line: a bronze clasp above the meeting point with arrows to
    // both ends, and a lip below the tiles. The middle stays open.
    Canvas c(w, h);
    float cx = 56.f;
    auto clasp = [&](float x, float y) {
        return std::min(SdRoundRect(x, y, cx - 22, 4, cx + 22, 20, 6.f), SdPolygon(x, y, {{cx - 7, 19}, {cx + 7, 19}, {cx, 27}}));
    };
    MetalShape(c, 0, 0, float(w), 30, clasp, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    for (int side = -1; side <= 1; side += 2) {
        std::vector<Pt> arrow = {{cx + float(side) * 17.f, 12}, {cx + float(side) * 9.f, 7}, {cx + float(side) * 9.f, 17}};
        c.FillShape(0, 0, float(w), 30, [&](float x, float y) { return SdPolygon(x, y, arrow); }, Hex(0xFFF1C8));
    }
    auto gem = [&](float x, float y) { return SdCircle(x, y, cx, 12, 3.5f); };
    MetalShape(c, cx - 5, 7, cx + 5, 17, gem, Hex(0x9BE0F0), Hex(0x1B5F88), 1.f);
    auto lip = [&](float x, float y) { return SdRoundRect(x, y, 4, float(h) - 7, float(w) - 4, float(h) - 1, 3.f); };
    MetalShape(c, 0, float(h) - 8, float(w), float(h), lip, Palette::BronzeLight, Palette::BronzeDark, 1.5f);
    c.AddDropShadow(0, 2, 2, Rgba(0, 0, 0, .4f));
    return c;
}

Canvas LineFrameClick(int w, int h)
{
    // Click mode: a frame around the previous tile and the current tile's
    // open half, with a golden mark on the half that must be matched. Drawn
    // at (305, 519) over the right half of the play strip (400..525), its
    // right side reaches past the strip's end so the strip stays inside.
    Canvas c(w, h);
    auto ring = [&](float x, float y) {
        float outer = SdRoundRect(x, y, 46, 13, 224, float(h) - 1, 10.f);
        float inner = SdRoundRect(x, y, 56, 21, 186, 72, 6.f);
        return std::max(outer, -inner);
    };
    MetalShape(c, 0, 0, float(w), float(h), ring, Palette::BronzeLight, Palette::BronzeDark, 2.f);
    auto mark = [&](float x, float y) { return std::fabs(SdRoundRect(x, y, 140, 21, 186, 72, 5.f)) - 1.5f; };
    c.FillShape(0, 0, float(w), float(h), mark, Hex(0xFFD24A));
    // A bronze arrow on the left pointing at the current tile.
    auto arrow = [&](float x, float y) { return SdPolygon(x, y, {{6, 36}, {30, 36}, {30, 28}, {44, 46}, {30, 64}, {30, 56}, {6, 56}}); };
    MetalShape(c, 0, 20, 46, 70, arrow, Palette::BronzeLight, Palette::BronzeDark, 1.5f);
    c.AddDropShadow(0, 2, 2, Rgba(0, 0, 0, .4f));
    return c;
}

// The deck's tray at (-2, 538): the backs stack from (7, 2) up and to the
// right; the count is written around (108, 52) in white.
Canvas DeckTray(int w, int h, int kind)
{
    Canvas c(w, h);
    auto slab = [&](float x, float y) { return SdRoundRect(x, y, 3, 30, 100, float(h) - 1, 6.f); };
    c.FillShape(0, 0, float(w), float(h), slab, [&](float x, float y, float) { return Shade(Marble(x, y, Hex(0xD9D0C0), Hex(0x8A7E6E), 10, 19), .9f); });
    c.Bevel(0, 0, float(w), float(h), slab, 3.f, .5f);
    float mx = 108.f, my = 47.f, r = 15.f;
    Rgba l = kind == 0 ? Palette::BronzeLight : kind == 1 ? Hex(0x9BE0F0) : Hex(0xBDB8B0);
    Rgba d = kind == 0 ? Palette::BronzeDark : kind == 1 ? Hex(0x1B5F88) : Hex(0x4E4A46);
    auto medal = [&](float x, float y) { return SdCircle(x, y, mx, my, r); };
    MetalShape(c, mx - r, my - r, mx + r, my + r, medal, l, d, 2.5f);
    auto inner = [&](float x, float y) { return SdCircle(x, y, mx, my, r - 4.f); };
    c.FillShape(mx - r, my - r, mx + r, my + r, inner, kind == 2 ? Hex(0x3A3632) : Hex(0x142A38));
    if (kind == 2) {
        // Cracked: no more gathering.
        auto crack = [&](float x, float y) {
            return std::min(SdSegment(x, y, mx - 8, my - 9, mx - 1, my), SdSegment(x, y, mx - 1, my, mx + 6, my + 10)) - .7f;
        };
        c.FillShape(mx - r, my - r, mx + r, my + r, crack, Hex(0x1A1816));
    }
    c.AddDropShadow(1, 2, 3, Rgba(0, 0, 0, .45f));
    return c;
}

Canvas RockPlace(int w, int h)
{
    // An empty socket, not a tile: a dark stone ledge with a sunken well
    // where a tile comes to rest (its face at about (5, -1)), ringed by a
    // dashed groove. Nothing in it is light enough to pass for a tile face.
    Canvas c(w, h);
    auto ledge = [&](float x, float y) { return SdRoundRect(x, y, 1, 2, float(w) - 2, float(h) - 1, 6.f); };
    c.FillShape(0, 0, float(w), float(h), ledge, [&](float x, float y, float) {
        return Shade(Marble(x, y, Hex(0x6E6A66), Hex(0x3E3A36), 9, 29), .95f - y / float(h) * .2f);
    });
    c.Bevel(0, 0, float(w), float(h), ledge, 2.5f, .5f);
    auto well = [&](float x, float y) { return SdRoundRect(x, y, 7, 6, float(w) - 9, float(h) - 7, 5.f); };
    c.FillShape(0, 0, float(w), float(h), well, [&](float, float y, float d) {
        // Darker towards the top edge, where the lip shades the well.
        float lip = Clamp01((y - 6.f) / 14.f);
        return Mix(Hex(0x16232B), Hex(0x24363F), lip * Clamp01(-d / 3.f));
    });
    // The dashed groove: short runs along the inside of the well.
    auto groove = [&](float x, float y) {
        float ring = std::fabs(SdRoundRect(x, y, 12, 10, float(w) - 14, float(h) - 11, 4.f)) - .8f;
        float along = x + y * 1.3f;
        float dash = std::fabs(std::fmod(along, 9.f) - 4.5f) - 2.2f;
        return std::max(ring, dash);
    };
    c.FillShape(0, 0, float(w), float(h), groove, WithAlpha(Hex(0x9FB8C2), .75f));
    c.AddDropShadow(-2, 3, 3, Rgba(0, 0, 0, .4f));
    return c;
}

Canvas LoaderBar(int w, int h)
{
    Canvas c(w, h);
    auto bar = [&](float x, float y) { return SdRoundRect(x, y, .5f, .5f, float(w) - .5f, float(h) - .5f, float(h) / 2.f); };
    c.FillShape(0, 0, float(w), float(h), bar, [&](float x, float y, float) {
        float t = x / float(w);
        Rgba col = Mix(Hex(0x1D7296), Hex(0xF4C542), SmoothStep(.2f, 1.f, t));
        float v = Clamp01(y / float(h));
        return Mix(Mix(col, Rgba(1, 1, 1, 1), .4f), Shade(col, .65f), v);
    });
    c.Bevel(0, 0, float(w), float(h), bar, 3.f, .4f);
    return c;
}

Canvas WideButton(int w, int h, ButtonState s, const Rgba& face) { return Button(w, h, s, face); }

PainterRegistration regs[] = {
    {"IMAGE_BIG_BUTTON", [](int w, int h) { return WideButton(w, h, ButtonState::Normal, kEnamelTerracotta); }},
    {"IMAGE_BIG_BUTTON_OVER", [](int w, int h) { return WideButton(w, h, ButtonState::Over, kEnamelTerracotta); }},
    {"IMAGE_BIG_BUTTON_DOWN", [](int w, int h) { return WideButton(w, h, ButtonState::Down, kEnamelTerracotta); }},
    {"IMAGE_BIG_BUTTON_DISABLE", [](int w, int h) { return WideButton(w, h, ButtonState::Disabled, kEnamelTerracotta); }},
    {"IMAGE_BUTTON_NORMAL", [](int w, int h) { return Button(w, h, ButtonState::Normal, kEnamelBlue, 2); }},
    {"IMAGE_BUTTON_OVER", [](int w, int h) { return Button(w, h, ButtonState::Over, kEnamelBlue, 2); }},
    {"IMAGE_BUTTON_DOWN", [](int w, int h) { return Button(w, h, ButtonState::Down, kEnamelBlue, 2); }},
    {"IMAGE_BUTTON_DISABLE", [](int w, int h) { return Button(w, h, ButtonState::Disabled, kEnamelBlue, 2); }},
    {"IMAGE_BUTTON_MENU", [](int w, int h) { return MenuButton(w, h, ButtonState::Normal); }},
    {"IMAGE_BUTTON_MENU_OVER", [](int w, int h) { return MenuButton(w, h, ButtonState::Over); }},
    {"IMAGE_BUTTON_MENU_DOWN", [](int w, int h) { return MenuButton(w, h, ButtonState::Down); }},
    {"IM_B_DIALOG", [](int w, int h) { return Button(w, h, ButtonState::Normal, kEnamelBlue); }},
    {"IM_B_DIALOG_OVER", [](int w, int h) { return Button(w, h, ButtonState::Over, kEnamelBlue); }},
    {"IM_B_DIALOG_DOWN", [](int w, int h) { return Button(w, h, ButtonState::Down, kEnamelBlue); }},
    {"IM_B_DIALOG_DISABLE", [](int w, int h) { return Button(w, h, ButtonState::Disabled, kEnamelBlue); }},
    {"IM_B_MENU", [](int w, int h) { return LabelledButton(w, h, ButtonState::Normal, kEnamelTeal, "Меню"); }},
    {"IM_B_OVER_MENU", [](int w, int h) { return LabelledButton(w, h, ButtonState::Over, kEnamelTeal, "Меню"); }},
    {"IM_B_CHANGE_PLAYER", [](int w, int h) { return LabelledButton(w, h, ButtonState::Normal, kEnamelTeal, "Сменить игрока"); }},
    {"IM_B_OVER_CHANGE_PLAYER", [](int w, int h) { return LabelledButton(w, h, ButtonState::Over, kEnamelTeal, "Сменить игрока"); }},
    {"IMAGE_CHECKBOX", Checkbox},
    {"IMAGE_SLIDER_TRACK", SliderTrack},
    {"IMAGE_SLIDER_THUMB", SliderThumb},
    {"IMAGE_COMBO_METER", ComboMeter},
    {"IMAGE_COMBO_METER_ON", ComboMeterOn},
    {"IMAGE_COMBO_METER_LABELS", ComboMeterLabels},
    {"IMAGE_x2", [](int w, int h) { return ComboPopup(w, h, 2); }},
    {"IMAGE_x3", [](int w, int h) { return ComboPopup(w, h, 3); }},
    {"IMAGE_x4", [](int w, int h) { return ComboPopup(w, h, 4); }},
    {"IM_BONUS_100", [](int w, int h) { return BonusPicture(w, h, "100"); }},
    {"IM_BONUS_200", [](int w, int h) { return BonusPicture(w, h, "200"); }},
    {"IM_BONUS_CROP", [](int w, int h) { return BonusPicture(w, h, "crop"); }},
    {"IM_BONUS_JOKER", [](int w, int h) { return BonusPicture(w, h, "joker"); }},
    {"IM_BONUS_PLACE", [](int w, int h) { return BonusPicture(w, h, "place"); }},
    {"IM_BONUS_RESHUFFLE", [](int w, int h) { return BonusPicture(w, h, "reshuffle"); }},
    {"IM_BONUS_STONE", [](int w, int h) { return BonusPicture(w, h, "stone"); }},
    {"IMAGE_DIALOG_BOX", DialogBox},
    {"IMAGE_W_SMALL", SmallWindow},
    {"IMAGE_W_MENU", MenuWindow},
    {"IMAGE_W_HINT", HintBalloon},
    {"IMAGE_ARROW", HintArrow},
    {"IMAGE_MAP_POINT", [](int w, int h) { return MapPoint(w, h, 0); }},
    {"IMAGE_MAP_POINT_COMPLETE", [](int w, int h) { return MapPoint(w, h, 1); }},
    {"IMAGE_MAP_POINT_SELECT", [](int w, int h) { return MapPoint(w, h, 2); }},
    {"IMAGE_CHARIOT", Chariot},
    {"IMAGE_STAR", RatingStar},
    {"IMAGE_STAR_SMALL", RatingStar},
    {"IMAGE_SHIP", Ship},
    {"IMAGE_SCROLL", [](int w, int h) { return Scroll(w, h, 0); }},
    {"IMAGE_SCROLL_OVER", [](int w, int h) { return Scroll(w, h, 1); }},
    {"IMAGE_SCROLL_SELECT", [](int w, int h) { return Scroll(w, h, 2); }},
    {"IMAGE_PANEL", LowerPanel},
    {"IMAGE_PANEL_UP", UpperPanel},
    {"IMAGE_PREVIEW", PreviewPanel},
    {"IMAGE_PLAYLINE", PlayStrip},
    {"IMAGE_PANEL_LINE_LAG", LineLag},
    {"IMAGE_PANEL_LINE", LineFrame},
    {"IMAGE_PANEL_LINE_OSS", LineFrameClick},
    {"IMAGE_CROP_DECK", [](int w, int h) { return DeckTray(w, h, 0); }},
    {"IMAGE_DECK_PLACE", [](int w, int h) { return DeckTray(w, h, 1); }},
    {"IMAGE_NO_CROPS", [](int w, int h) { return DeckTray(w, h, 2); }},
    {"IMAGE_ROCK_PLACE", RockPlace},
    {"IMAGE_LOADER_BAR", LoaderBar},
};

} // namespace

} // namespace Zorvin::AssetGen
