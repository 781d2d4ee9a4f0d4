#include "tools/assetgen/art/SceneKit.h"

namespace Zorvin::AssetGen {

void PaintSkyAndSea(Canvas& c, float horizonY, const Rgba& top, const Rgba& horizon, const Rgba& seaNear,
                    const Rgba& seaFar, float sunX, float sunY, float sunR, uint32_t seed)
{
    float h = float(c.H());
    c.FillWith([&](float x, float y) {
        if (y < horizonY) {
            float t = y / std::max(1.f, horizonY);
            Rgba sky = Mix(top, horizon, std::pow(t, .8f));
            // Thin high clouds.
            float cl = Fbm(x / 140.f, y / 28.f, seed, 4);
            sky = Mix(sky, Rgba(1, 1, 1, 1), SmoothStep(.55f, .8f, cl) * .35f * (1.f - t * .5f));
            if (sunR > 0) {
                float d = std::hypot(x - sunX, y - sunY);
                sky = Mix(sky, Hex(0xFFF4D0), Clamp01(1.f - (d - sunR) / (sunR * 5.f)) * .55f);
                if (d < sunR) sky = Mix(sky, Hex(0xFFFBEA), Clamp01(sunR - d));
            }
            return sky;
        }
        float t = (y - horizonY) / std::max(1.f, h - horizonY);
        Rgba sea = Mix(seaFar, seaNear, std::pow(t, .7f));
        float scale = 1.f + t * 6.f;
        float wv = Fbm(x / (30.f * scale), (y - horizonY) / (4.f * scale), seed + 17, 3);
        sea = Shade(sea, .9f + wv * .2f);
        float crest = SmoothStep(.7f, .82f, wv);
        sea = Mix(sea, Rgba(1, 1, 1, 1), crest * .12f);
        if (sunR > 0) {
            // Glitter in the sun's path.
            float path = Clamp01(1.f - std::fabs(x - sunX) / (40.f + t * 160.f));
            float g = ValueNoise(x / 6.f, y / 2.5f, seed + 29);
            sea = Mix(sea, Hex(0xFFF6D8), path * SmoothStep(.72f, .95f, g) * .35f);
        }
        return sea;
    }, 2);
}

void PaintHills(Canvas& c, float baseY, float amp, const Rgba& near, const Rgba& far, float scale, uint32_t seed,
                float bottomY)
{
    float w = float(c.W()), h = std::min(float(c.H()), bottomY);
    auto ridge = [&](float x) { return baseY - Fbm(x / scale, 0.5f, seed, 4) * amp; };
    c.FillShape(0, baseY - amp - 2, w, h, [&](float x, float y) { return std::max(ridge(x) - y, y - h); },
                [&](float x, float y, float) {
                    float t = Clamp01((y - ridge(x)) / 80.f);
                    float n = Fbm(x / 40.f, y / 20.f, seed + 3, 3);
                    return Shade(Mix(far, near, t), .92f + n * .16f);
                });
}

void PaintColumn(Canvas& c, float cx, float top, float bottom, float width, const Rgba& stone)
{
    float hw = width / 2.f;
    float capH = width * .45f, baseH = width * .4f;
    auto shaft = [&](float x, float y) { return SdRoundRect(x, y, cx - hw * .8f, top + capH, cx + hw * .8f, bottom - baseH, 1.f); };
    c.FillShape(cx - hw, top, cx + hw, bottom, shaft, [&](float x, float y, float) {
        float u = (x - cx) / (hw * .8f);
        // Round shading with flutes.
        float light = .75f + .35f * (1.f - u * u) - u * .15f;
        float flute = .5f + .5f * std::cos(u * float(M_PI) * 4.5f);
        Rgba s = Marble(x, y, stone, Shade(stone, .75f), 14.f, 5);
        return Shade(s, light * (.9f + flute * .12f));
    });
    auto capital = [&](float x, float y) {
        float abacus = SdRoundRect(x, y, cx - hw * 1.15f, top, cx + hw * 1.15f, top + capH * .35f, 1.f);
        float echinus = SdRoundRect(x, y, cx - hw, top + capH * .3f, cx + hw, top + capH, 3.f);
        float volutes = std::min(SdCircle(x, y, cx - hw * .95f, top + capH * .62f, capH * .33f),
                                 SdCircle(x, y, cx + hw * .95f, top + capH * .62f, capH * .33f));
        return std::min(std::min(abacus, echinus), volutes);
    };
    c.FillShape(cx - hw * 1.4f, top, cx + hw * 1.4f, top + capH + 1, capital, [&](float x, float, float) {
        return Shade(stone, .95f - (x - cx) / hw * .1f);
    });
    c.Bevel(cx - hw * 1.4f, top, cx + hw * 1.4f, top + capH + 1, capital, 2.f, .45f);
    auto base = [&](float x, float y) {
        return std::min(SdRoundRect(x, y, cx - hw * 1.1f, bottom - baseH * .45f, cx + hw * 1.1f, bottom, 1.f),
                        SdRoundRect(x, y, cx - hw * .95f, bottom - baseH, cx + hw * .95f, bottom - baseH * .4f, 3.f));
    };
    c.FillShape(cx - hw * 1.2f, bottom - baseH, cx + hw * 1.2f, bottom, base, [&](float x, float, float) {
        return Shade(stone, .92f - (x - cx) / hw * .1f);
    });
    c.Bevel(cx - hw * 1.2f, bottom - baseH, cx + hw * 1.2f, bottom, base, 2.f, .45f);
}

void PaintTemple(Canvas& c, float cx, float baseY, float width, const Rgba& col)
{
    float hw = width / 2.f, colH = width * .32f;
    auto sdf = [&](float x, float y) {
        float steps = SdRoundRect(x, y, cx - hw, baseY - width * .06f, cx + hw, baseY, .5f);
        float roofBase = SdRoundRect(x, y, cx - hw * .93f, baseY - width * .06f - colH - width * .05f, cx + hw * .93f,
                                     baseY - width * .06f - colH, .5f);
        float ped = SdPolygon(x, y, {{cx - hw * .98f, baseY - width * .06f - colH - width * .05f},
                                     {cx + hw * .98f, baseY - width * .06f - colH - width * .05f},
                                     {cx, baseY - width * .06f - colH - width * .2f}});
        float d = std::min(std::min(steps, roofBase), ped);
        int n = 6;
        for (int i = 0; i < n; ++i) {
            float px = cx - hw * .8f + float(i) * (hw * 1.6f / float(n - 1));
            d = std::min(d, SdRoundRect(x, y, px - width * .025f, baseY - width * .06f - colH, px + width * .025f,
                                        baseY - width * .06f, .5f));
        }
        return d;
    };
    c.FillShape(cx - hw - 2, baseY - width * .45f, cx + hw + 2, baseY + 1, sdf, col);
}

void PaintCypress(Canvas& c, float cx, float baseY, float height, const Rgba& col)
{
    float w = height * .16f;
    auto sdf = [&](float x, float y) {
        float t = (baseY - y) / height;
        if (t < 0 || t > 1) return 1e9f;
        float half = w * std::sin(std::min(1.f, t * 1.15f + .05f) * float(M_PI)) * (1.f - t * .3f);
        float wob = ValueNoise(y / 5.f, cx, 7) * 2.f - 1.f;
        return std::fabs(x - cx - wob * .8f) - half;
    };
    c.FillShape(cx - w - 2, baseY - height - 1, cx + w + 2, baseY + 1, sdf, [&](float x, float y, float) {
        float n = ValueNoise(x / 2.5f, y / 2.5f, 13);
        return Shade(col, .8f + n * .35f + (x < cx ? .08f : -.05f));
    });
}

void PaintOliveTree(Canvas& c, float cx, float baseY, float size, uint32_t seed)
{
    // A twisted trunk and a broad silver-green crown of leaf clusters.
    auto trunk = [&](float x, float y) {
        float t = (baseY - y) / (size * .55f);
        float bend = std::sin(t * 2.5f) * size * .05f;
        return std::fabs(x - cx - bend) - size * (.07f - t * .03f) + (t < 0 || t > 1 ? 1e9f : 0.f);
    };
    c.FillShape(cx - size * .2f, baseY - size * .6f, cx + size * .2f, baseY + 1, trunk, Hex(0x5A4632));
    for (int i = 0; i < 14; ++i) {
        float a = Hash01(i, 1, seed) * 2.f * float(M_PI);
        float r = Hash01(i, 2, seed) * size * .38f;
        float bx = cx + std::cos(a) * r * 1.3f, by = baseY - size * .62f + std::sin(a) * r * .6f;
        float br = size * (.14f + Hash01(i, 3, seed) * .1f);
        auto blob = [&](float x, float y) {
            float n = Fbm(x / 6.f, y / 6.f, seed + uint32_t(i), 2);
            return SdCircle(x, y, bx, by, br) + (n - .5f) * br * .8f;
        };
        c.FillShape(bx - br * 1.5f, by - br * 1.5f, bx + br * 1.5f, by + br * 1.5f, blob, [&](float x, float y, float) {
            float n = ValueNoise(x / 2.f, y / 2.f, seed + 9);
            Rgba leaf = Mix(Hex(0x5E7040), Hex(0x9DAE7A), Clamp01((by - y) / br * .5f + .4f));
            return Shade(leaf, .85f + n * .3f);
        });
    }
}

void Vignette(Canvas& c, float strength)
{
    float w = float(c.W()), h = float(c.H());
    for (int y = 0; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x) {
            float dx = (float(x) - w / 2.f) / (w / 2.f), dy = (float(y) - h / 2.f) / (h / 2.f);
            float d = Clamp01((dx * dx + dy * dy - .45f) / 1.2f);
            if (d > 0) c.ApplyLight(x, y, -d * strength);
        }
}

void Wash(Canvas& c, const Rgba& tint, float amount)
{
    for (int y = 0; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x) {
            Rgba p = c.Get(x, y);
            Rgba m = Mix(p, tint, amount);
            m.a = p.a;
            c.Set(x, y, m);
        }
}

} // namespace Zorvin::AssetGen
