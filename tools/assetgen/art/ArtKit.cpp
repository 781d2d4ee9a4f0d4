#include "tools/assetgen/art/ArtKit.h"

namespace Zorvin::AssetGen {

const TextPainter& LabelFont()
{
    static const TextPainter font(kFontSansCondensedBold, 14);
    return font;
}
const TextPainter& BodyFont()
{
    static const TextPainter font(kFontSans, 15);
    return font;
}
const TextPainter& HeadingFont()
{
    static const TextPainter font(kFontSerifBold, 26);
    return font;
}
const TextPainter& TitleFont()
{
    static const TextPainter font(kFontSerifBold, 60);
    return font;
}

void PaintButton(Canvas& c, ButtonState state, const Rgba& face, int shadow, float radius)
{
    float w = float(c.W()), h = float(c.H() - shadow);
    float r = radius >= 0 ? radius : std::min(h / 2.f, w / 3.f - 1.f);
    auto outer = [&](float x, float y) { return SdRoundRect(x, y, .5f, .5f, w - .5f, h - .5f, r); };
    float inset = 3.f;
    float ri = std::max(1.f, r - inset);
    auto inner = [&](float x, float y) { return SdRoundRect(x, y, inset + .5f, inset + .5f, w - inset - .5f, h - inset - .5f, ri); };

    Rgba rimLight = Palette::BronzeLight, rimDark = Palette::BronzeDark;
    Rgba top = Mix(face, Rgba(1, 1, 1, 1), .35f), bottom = Shade(face, .62f);
    switch (state) {
    case ButtonState::Normal:
        break;
    case ButtonState::Over:
        rimLight = Hex(0xFFE6A6);
        rimDark = Hex(0x8A5A1E);
        top = Mix(face, Rgba(1, 1, 1, 1), .55f);
        bottom = Shade(face, .85f);
        break;
    case ButtonState::Down:
        rimLight = Hex(0x9C6A2A);
        rimDark = Hex(0x3E230A);
        top = Shade(face, .55f);
        bottom = Shade(face, .85f);
        break;
    case ButtonState::Disabled: {
        // The same button, faded: its own enamel washed towards the stone
        // grey, flat and dull, so it reads as this button switched off
        // rather than as a grey button of another kind.
        Rgba stone = Hex(0xB9B3AA);
        Rgba faded = Mix(face, stone, .62f);
        rimLight = Mix(Palette::BronzeLight, stone, .6f);
        rimDark = Mix(Palette::BronzeDark, stone, .45f);
        top = Mix(faded, Rgba(1, 1, 1, 1), .12f);
        bottom = Shade(faded, .9f);
        break;
    }
    }
    const bool flat = state == ButtonState::Disabled;
    MetalShape(c, 0, 0, w, h, outer, rimLight, rimDark, 1.5f);
    c.FillShape(0, 0, w, h, inner, [&](float, float y, float) {
        float t = Clamp01((y - inset) / std::max(1.f, h - 2 * inset));
        return Mix(top, bottom, t);
    });
    // A soft glassy highlight over the upper half of the plate.
    float hl = state == ButtonState::Down ? .08f : flat ? 0.f : .28f;
    auto gloss = [&](float x, float y) {
        return SdRoundRect(x, y, inset + 3.f, inset + 1.5f, w - inset - 3.f, inset + (h - 2 * inset) * .48f,
                           std::max(1.f, ri - 2.f));
    };
    c.FillShape(0, 0, w, h, gloss, [&](float, float y, float) {
        float t = Clamp01((y - inset) / ((h - 2 * inset) * .5f));
        return Rgba(1, 1, 1, hl * (1.f - t));
    });
    c.Bevel(0, 0, w, h, inner, 2.f, state == ButtonState::Down ? -.35f : flat ? .08f : .3f);
    if (state == ButtonState::Over) {
        // A warm inner glow along the rim.
        c.FillShape(0, 0, w, h, inner, [&](float, float, float d) { return Rgba(1, .9f, .55f, .35f * Clamp01(1.f + d / 4.f)); });
    }
    if (shadow > 0) c.AddDropShadow(0, 2, 3, Rgba(0, 0, 0, flat ? .2f : .45f));
}

Rgba ParchmentAt(float x, float y, uint32_t seed, int periodX, int periodY)
{
    // Along an axis that has to tile, a whole number of lattice cells spans
    // the period, so the noise wraps exactly there.
    auto axis = [](float v, int period, int& cells) {
        if (period <= 0) {
            cells = 0;
            return v / 34.f;
        }
        cells = std::max(2, int(std::lround(float(period) / 34.f)));
        return v * float(cells) / float(period);
    };
    int cx = 0, cy = 0;
    float nx = axis(x, periodX, cx), ny = axis(y, periodY, cy);
    float n = FbmXY(nx, ny, seed, 4, cx, cy);
    float fine = FbmXY(nx * 6.f, ny * 6.f, seed + 5, 2, cx * 6, cy * 6);
    Rgba c = Mix(Palette::Parchment, Palette::ParchmentDark, SmoothStep(.42f, .8f, n) * .45f);
    return Shade(c, .97f + fine * .05f);
}

Rgba ParchmentGrainAt(float x, float y, uint32_t seed, int periodX, int periodY)
{
    // One grain value per pixel: neighbouring columns are as unlike as any
    // two columns, so no joint stands out from the sheet around it.
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    if (periodX > 0) ix = ((ix % periodX) + periodX) % periodX;
    if (periodY > 0) iy = ((iy % periodY) + periodY) % periodY;
    float grain = Hash01(ix, iy, seed) - .5f;
    Rgba c = Mix(Palette::Parchment, Palette::ParchmentDark, .16f);
    return Shade(c, 1.f + grain * .035f);
}

void PaintDialogFrame(Canvas& c, uint32_t seed, bool ornateCorners, bool tileX, bool tileY)
{
    int w = c.W(), h = c.H();
    int px = tileX ? w - 2 * (w / 3) : 0, py = tileY ? h - 2 * (h / 3) : 0;
    const float rim = 9.f;
    // Parchment body with a darker, burnt edge.
    c.FillWith([&](float x, float y) {
        Rgba p = ParchmentGrainAt(x, y, seed, px, py);
        float edge = std::min(std::min(x, float(w) - x), std::min(y, float(h) - y));
        float burn = 1.f - SmoothStep(rim, rim + 16.f, edge);
        return Mix(p, Shade(Palette::ParchmentDark, .8f), burn * .55f);
    });
    // Bronze frame: a band along every edge, uniform along its length.
    auto band = [&](float x, float y) {
        float outer = SdRoundRect(x, y, 0.5f, 0.5f, float(w) - .5f, float(h) - .5f, 6.f);
        float inner = SdRoundRect(x, y, rim, rim, float(w) - rim, float(h) - rim, 3.f);
        return std::max(outer, -inner);
    };
    auto bandPaint = [&](float x, float y, float) {
        float edge = std::min(std::min(x, float(w) - x), std::min(y, float(h) - y));
        float t = Clamp01(edge / rim);
        // Light on the outer lip, dark in the groove, light again inside.
        float k = std::fabs(t - .5f) * 2.f;
        return Mix(Palette::BronzeDark, Palette::BronzeLight, k * .85f);
    };
    c.FillShape(0, 0, float(w), float(h), band, bandPaint);
    // A thin gold fillet just inside the frame.
    auto fillet = [&](float x, float y) {
        float d = SdRoundRect(x, y, rim + 4.f, rim + 4.f, float(w) - rim - 4.f, float(h) - rim - 4.f, 2.f);
        return std::fabs(d) - .6f;
    };
    c.FillShape(0, 0, float(w), float(h), fillet, WithAlpha(Palette::Bronze, .8f));
    if (!ornateCorners) return;
    // Corner rosettes: bronze discs with a four-petal star, small enough to
    // stay inside the corner thirds.
    float rr = std::min(13.f, std::min(float(w), float(h)) / 3.f - 4.f);
    const float cs[4][2] = {{rim + 2.f, rim + 2.f}, {float(w) - rim - 2.f, rim + 2.f},
                            {rim + 2.f, float(h) - rim - 2.f}, {float(w) - rim - 2.f, float(h) - rim - 2.f}};
    for (const auto& p : cs) {
        float cx = p[0], cy = p[1];
        auto disc = [&](float x, float y) { return SdCircle(x, y, cx, cy, rr); };
        MetalShape(c, cx - rr, cy - rr, cx + rr, cy + rr, disc, Palette::BronzeLight, Palette::BronzeDark, 2.5f);
        auto star = StarPoints(cx, cy, rr * .8f, rr * .3f, 4, float(M_PI) / 4);
        auto st = [&](float x, float y) { return SdPolygon(x, y, star); };
        MetalShape(c, cx - rr, cy - rr, cx + rr, cy + rr, st, Hex(0xFFF1C4), Palette::Bronze, 1.2f);
    }
}

void EngraveCentered(Canvas& c, const TextPainter& font, const std::string& utf8, float cx, float baseline,
                     const Rgba& fill, const Rgba& rim)
{
    TextStyle s;
    s.fill = fill;
    s.outline = 1.2f;
    s.outlineColor = rim;
    s.shadowX = 1;
    s.shadowY = 1;
    s.shadowBlur = 2;
    s.shadowColor = Rgba(0, 0, 0, .45f);
    font.DrawCentered(c, utf8, cx, baseline, s);
}

} // namespace Zorvin::AssetGen
