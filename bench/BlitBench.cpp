// Blitting speed side by side with pixman (pixman_image_composite32 on
// premultiplied copies of the same source pixels) and SDL (SDL_BlitSurface).
// Every case is registered three times: CASE/ours, CASE/pixman, CASE/sdl;
// scripts/bench-report turns a run into ratios. A case a reference cannot
// express is left out for that reference.

#include <benchmark/benchmark.h>

#include <SDL.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

using namespace Zorvin;

namespace {

// A sprite like the game's art: rounded corners with an antialiased rim,
// an opaque body with a translucent glassy band, transparent outside.
void MakeSprite(MemoryImage& img, int w, int h, uint32_t seed)
{
    img.Create(w, h);
    uint32_t* p = img.GetBits();
    float r = float(std::min(w, h)) * 0.25f;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float cx = std::clamp(float(x) + 0.5f, r, float(w) - r), cy = std::clamp(float(y) + 0.5f, r, float(h) - r);
            float dist = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
            float cover = std::clamp(r - dist + 0.5f, 0.0f, 1.0f);
            uint32_t a = uint32_t(cover * 255.0f);
            if (a == 255 && y > h / 3 && y < h / 2)
                a = 96 + uint32_t((x * 7 + y * 3) % 64);
            uint32_t rgb = ((uint32_t(x) * 37 + seed) & 0xFF) << 16 | ((uint32_t(y) * 53 + seed) & 0xFF) << 8 |
                           ((uint32_t(x + y) * 11) & 0xFF);
            p[y * w + x] = (a << 24) | rgb;
        }
    img.BitsChanged();
}

struct Screen {
    MemoryImage image;
    Screen()
    {
        MakeSprite(image, 800, 600, 5);
        for (int i = 0; i < 800 * 600; i++)
            image.GetBits()[i] |= 0xFF000000u;
        image.BitsChanged();
        image.SetImageMode(false, false);
    }
};

// Premultiplied pixman copy of a MemoryImage.
struct PixmanImage {
    std::vector<uint32_t> pixels;
    pixman_image_t* image = nullptr;
    PixmanImage(MemoryImage& src, bool opaque)
    {
        int n = src.width * src.height;
        pixels.resize(size_t(n));
        for (int i = 0; i < n; i++) {
            uint32_t p = src.GetBits()[i], a = opaque ? 255 : p >> 24;
            uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
            pixels[size_t(i)] = (a << 24) | (r << 16) | (g << 8) | b;
        }
        image = pixman_image_create_bits(opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, src.width, src.height,
                                         pixels.data(), src.width * 4);
    }
    ~PixmanImage() { pixman_image_unref(image); }
};

struct SdlSurface {
    SDL_Surface* surface = nullptr;
    SdlSurface(MemoryImage& src, bool opaque)
    {
        surface = SDL_CreateRGBSurfaceWithFormat(0, src.width, src.height, 32,
                                                 opaque ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888);
        for (int y = 0; y < src.height; y++)
            std::memcpy(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch, src.GetBits() + y * src.width,
                        size_t(src.width) * 4);
        SDL_SetSurfaceBlendMode(surface, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    }
    ~SdlSurface() { SDL_FreeSurface(surface); }
};

struct Fixture {
    Screen screen;
    MemoryImage sprite;
    std::unique_ptr<PixmanImage> pxScreen, pxSprite;
    std::unique_ptr<SdlSurface> sdlScreen, sdlSprite;
    explicit Fixture(int w, int h)
    {
        MakeSprite(sprite, w, h, 77);
        pxScreen = std::make_unique<PixmanImage>(screen.image, true);
        pxSprite = std::make_unique<PixmanImage>(sprite, false);
        sdlScreen = std::make_unique<SdlSurface>(screen.image, true);
        sdlSprite = std::make_unique<SdlSurface>(sprite, false);
    }
};

// Positions cycle so that every iteration touches a different spot.
inline int PosX(int i, int w) { return (i * 37) % std::max(1, 800 - w); }
inline int PosY(int i, int h) { return (i * 23) % std::max(1, 600 - h); }

// --- alpha "over" ----------------------------------------------------------

void OverOurs(benchmark::State& st, int w, int h)
{
    Fixture f(w, h);
    Graphics g(&f.screen.image);
    int i = 0;
    for (auto _ : st) {
        g.DrawImage(&f.sprite, PosX(i, w), PosY(i, h));
        i++;
    }
    st.SetItemsProcessed(st.iterations() * w * h);
}

void OverPixman(benchmark::State& st, int w, int h)
{
    Fixture f(w, h);
    int i = 0;
    for (auto _ : st) {
        pixman_image_composite32(PIXMAN_OP_OVER, f.pxSprite->image, nullptr, f.pxScreen->image, 0, 0, 0, 0,
                                 PosX(i, w), PosY(i, h), w, h);
        i++;
    }
    st.SetItemsProcessed(st.iterations() * w * h);
}

void OverSdl(benchmark::State& st, int w, int h)
{
    Fixture f(w, h);
    int i = 0;
    for (auto _ : st) {
        SDL_Rect d{PosX(i, w), PosY(i, h), w, h};
        SDL_BlitSurface(f.sdlSprite->surface, nullptr, f.sdlScreen->surface, &d);
        i++;
    }
    st.SetItemsProcessed(st.iterations() * w * h);
}

// --- additive ---------------------------------------------------------------

void AddOurs(benchmark::State& st)
{
    Fixture f(80, 50);
    Graphics g(&f.screen.image);
    g.SetDrawMode(Image::DrawModeAdditive);
    int i = 0;
    for (auto _ : st) {
        g.DrawImage(&f.sprite, PosX(i, 80), PosY(i, 50));
        i++;
    }
}

void AddPixman(benchmark::State& st)
{
    Fixture f(80, 50);
    int i = 0;
    for (auto _ : st) {
        pixman_image_composite32(PIXMAN_OP_ADD, f.pxSprite->image, nullptr, f.pxScreen->image, 0, 0, 0, 0,
                                 PosX(i, 80), PosY(i, 50), 80, 50);
        i++;
    }
}

void AddSdl(benchmark::State& st)
{
    Fixture f(80, 50);
    SDL_SetSurfaceBlendMode(f.sdlSprite->surface, SDL_BLENDMODE_ADD);
    int i = 0;
    for (auto _ : st) {
        SDL_Rect d{PosX(i, 80), PosY(i, 50), 80, 50};
        SDL_BlitSurface(f.sdlSprite->surface, nullptr, f.sdlScreen->surface, &d);
        i++;
    }
}

// --- tinted (colour and alpha modulation) -----------------------------------

void TintOurs(benchmark::State& st)
{
    Fixture f(80, 50);
    Graphics g(&f.screen.image);
    g.SetColorizeImages(true);
    g.SetColor(Color(255, 160, 64, 200));
    int i = 0;
    for (auto _ : st) {
        g.DrawImage(&f.sprite, PosX(i, 80), PosY(i, 50));
        i++;
    }
}

void TintPixman(benchmark::State& st)
{
    Fixture f(80, 50);
    // A solid component-alpha mask multiplies each channel, as our tint does.
    pixman_color_t c{uint16_t(255 * 257), uint16_t(160 * 257), uint16_t(64 * 257), uint16_t(200 * 257)};
    pixman_color_t pre{uint16_t(c.red * 200 / 255), uint16_t(c.green * 200 / 255), uint16_t(c.blue * 200 / 255),
                       c.alpha};
    pixman_image_t* mask = pixman_image_create_solid_fill(&pre);
    pixman_image_set_component_alpha(mask, true);
    int i = 0;
    for (auto _ : st) {
        pixman_image_composite32(PIXMAN_OP_OVER, f.pxSprite->image, mask, f.pxScreen->image, 0, 0, 0, 0,
                                 PosX(i, 80), PosY(i, 50), 80, 50);
        i++;
    }
    pixman_image_unref(mask);
}

void TintSdl(benchmark::State& st)
{
    Fixture f(80, 50);
    SDL_SetSurfaceColorMod(f.sdlSprite->surface, 255, 160, 64);
    SDL_SetSurfaceAlphaMod(f.sdlSprite->surface, 200);
    int i = 0;
    for (auto _ : st) {
        SDL_Rect d{PosX(i, 80), PosY(i, 50), 80, 50};
        SDL_BlitSurface(f.sdlSprite->surface, nullptr, f.sdlScreen->surface, &d);
        i++;
    }
}

// --- stretched 2x (nearest neighbour) ---------------------------------------

void StretchOurs(benchmark::State& st)
{
    Fixture f(80, 50);
    Graphics g(&f.screen.image);
    g.SetFastStretch(true);
    int i = 0;
    for (auto _ : st) {
        g.DrawImage(&f.sprite, PosX(i, 160), PosY(i, 100), 160, 100);
        i++;
    }
}

void StretchPixman(benchmark::State& st)
{
    Fixture f(80, 50);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
    pixman_image_set_transform(f.pxSprite->image, &t);
    pixman_image_set_filter(f.pxSprite->image, PIXMAN_FILTER_NEAREST, nullptr, 0);
    int i = 0;
    for (auto _ : st) {
        pixman_image_composite32(PIXMAN_OP_OVER, f.pxSprite->image, nullptr, f.pxScreen->image, 0, 0, 0, 0,
                                 PosX(i, 160), PosY(i, 100), 160, 100);
        i++;
    }
}

void StretchSdl(benchmark::State& st)
{
    Fixture f(80, 50);
    int i = 0;
    for (auto _ : st) {
        SDL_Rect d{PosX(i, 160), PosY(i, 100), 160, 100};
        SDL_BlitScaled(f.sdlSprite->surface, nullptr, f.sdlScreen->surface, &d);
        i++;
    }
}

// --- rotated 30 degrees (bilinear) ------------------------------------------

void RotateOurs(benchmark::State& st)
{
    Fixture f(80, 50);
    Graphics g(&f.screen.image);
    int i = 0;
    double angle = 30.0 * 3.14159265358979 / 180.0;
    for (auto _ : st) {
        g.DrawImageRotated(&f.sprite, 10 + PosX(i, 100), 25 + PosY(i, 100), angle);
        i++;
    }
}

void RotatePixman(benchmark::State& st)
{
    Fixture f(80, 50);
    // Destination box of the rotated sprite is about 95 x 84; map it back.
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(-47.5), pixman_double_to_fixed(-42));
    pixman_transform_rotate(&t, nullptr, pixman_double_to_fixed(std::cos(30 * M_PI / 180)),
                            pixman_double_to_fixed(std::sin(30 * M_PI / 180)));
    pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(40), pixman_double_to_fixed(25));
    pixman_image_set_transform(f.pxSprite->image, &t);
    pixman_image_set_filter(f.pxSprite->image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    int i = 0;
    for (auto _ : st) {
        pixman_image_composite32(PIXMAN_OP_OVER, f.pxSprite->image, nullptr, f.pxScreen->image, 0, 0, 0, 0,
                                 PosX(i, 100), PosY(i, 100), 95, 84);
        i++;
    }
}

// --- nine-slice box -----------------------------------------------------------

constexpr int BoxW = 300, BoxH = 200;

void BoxOurs(benchmark::State& st)
{
    Fixture f(48, 48);
    Graphics g(&f.screen.image);
    int i = 0;
    for (auto _ : st) {
        g.DrawImageBox(Rect(PosX(i, BoxW), PosY(i, BoxH), BoxW, BoxH), &f.sprite);
        i++;
    }
}

// The same pieces as our nine-slice drawing, as separate composites with the
// band ends cut off.
template <typename DrawPiece>
void NineSlicePieces(int x, int y, DrawPiece draw)
{
    const int c = 16, m = 16;
    draw(0, 0, x, y, c, c);
    draw(48 - c, 0, x + BoxW - c, y, c, c);
    draw(0, 48 - c, x, y + BoxH - c, c, c);
    draw(48 - c, 48 - c, x + BoxW - c, y + BoxH - c, c, c);
    for (int tx = c; tx < BoxW - c; tx += m) {
        int w = std::min(m, BoxW - c - tx);
        draw(c, 0, x + tx, y, w, c);
        draw(c, 48 - c, x + tx, y + BoxH - c, w, c);
    }
    for (int ty = c; ty < BoxH - c; ty += m) {
        int h = std::min(m, BoxH - c - ty);
        draw(0, c, x, y + ty, c, h);
        draw(48 - c, c, x + BoxW - c, y + ty, c, h);
        for (int tx = c; tx < BoxW - c; tx += m)
            draw(c, c, x + tx, y + ty, std::min(m, BoxW - c - tx), h);
    }
}

void BoxPixman(benchmark::State& st)
{
    Fixture f(48, 48);
    int i = 0;
    for (auto _ : st) {
        NineSlicePieces(PosX(i, BoxW), PosY(i, BoxH), [&](int sx, int sy, int dx, int dy, int w, int h) {
            pixman_image_composite32(PIXMAN_OP_OVER, f.pxSprite->image, nullptr, f.pxScreen->image, sx, sy, 0, 0,
                                     dx, dy, w, h);
        });
        i++;
    }
}

void BoxSdl(benchmark::State& st)
{
    Fixture f(48, 48);
    int i = 0;
    for (auto _ : st) {
        NineSlicePieces(PosX(i, BoxW), PosY(i, BoxH), [&](int sx, int sy, int dx, int dy, int w, int h) {
            SDL_Rect s{sx, sy, w, h}, d{dx, dy, w, h};
            SDL_BlitSurface(f.sdlSprite->surface, &s, f.sdlScreen->surface, &d);
        });
        i++;
    }
}

} // namespace

BENCHMARK_CAPTURE(OverOurs, over_80x50, 80, 50)->Name("over_80x50/ours");
BENCHMARK_CAPTURE(OverPixman, over_80x50, 80, 50)->Name("over_80x50/pixman");
BENCHMARK_CAPTURE(OverSdl, over_80x50, 80, 50)->Name("over_80x50/sdl");
BENCHMARK_CAPTURE(OverOurs, over_16x16, 16, 16)->Name("over_16x16/ours");
BENCHMARK_CAPTURE(OverPixman, over_16x16, 16, 16)->Name("over_16x16/pixman");
BENCHMARK_CAPTURE(OverSdl, over_16x16, 16, 16)->Name("over_16x16/sdl");
BENCHMARK_CAPTURE(OverOurs, over_800x600, 800, 600)->Name("over_800x600/ours");
BENCHMARK_CAPTURE(OverPixman, over_800x600, 800, 600)->Name("over_800x600/pixman");
BENCHMARK_CAPTURE(OverSdl, over_800x600, 800, 600)->Name("over_800x600/sdl");
BENCHMARK(AddOurs)->Name("additive_80x50/ours");
BENCHMARK(AddPixman)->Name("additive_80x50/pixman");
BENCHMARK(AddSdl)->Name("additive_80x50/sdl");
BENCHMARK(TintOurs)->Name("tinted_80x50/ours");
BENCHMARK(TintPixman)->Name("tinted_80x50/pixman");
BENCHMARK(TintSdl)->Name("tinted_80x50/sdl");
BENCHMARK(StretchOurs)->Name("stretched_2x/ours");
BENCHMARK(StretchPixman)->Name("stretched_2x/pixman");
BENCHMARK(StretchSdl)->Name("stretched_2x/sdl");
BENCHMARK(RotateOurs)->Name("rotated_30/ours");
BENCHMARK(RotatePixman)->Name("rotated_30/pixman");
BENCHMARK(BoxOurs)->Name("nine_slice_300x200/ours");
BENCHMARK(BoxPixman)->Name("nine_slice_300x200/pixman");
BENCHMARK(BoxSdl)->Name("nine_slice_300x200/sdl");
