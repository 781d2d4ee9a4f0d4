// Sections:
//   - storage and guard
//   - fills
//   - blits (normal, additive, wide)
//   - run-length data and palette
//   - registry and copies
//   - stretch, mirror, rotation
//   - AnimInfo

#include "framework/graphics/MemoryImage.h"

#include "framework/graphics/BlendOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace Zorvin {
namespace {

MemoryImage Solid(int w, int h, uint32_t argb)
{
    MemoryImage img(w, h);
    uint32_t* p = img.GetBits();
    for (int i = 0; i < w * h; i++)
        p[i] = argb;
    img.BitsChanged();
    return img;
}

MemoryImage Row(std::vector<uint32_t> pixels, bool commit = false)
{
    MemoryImage img;
    img.SetBits(pixels.data(), int(pixels.size()), 1, commit);
    if (!commit)
        img.SetImageMode(true, true);
    return img;
}

TEST(MemoryImageTest, StorageGuardAndImpossibleSizes)
{
    MemoryImage img;
    img.Create(3, 2);
    EXPECT_TRUE(img.hasTrans);
    EXPECT_TRUE(img.hasAlpha);
    uint32_t* p = img.GetBits();
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(p[i], 0u);
    EXPECT_EQ(p[6], MemoryImage::GuardWord);

    // A size whose pixel count overflows 32 bits fails instead of allocating
    // a wrapped-around small buffer.
    MemoryImage huge;
    huge.Create(70000, 70000);
    EXPECT_EQ(huge.GetBits(), nullptr);
    huge.FillRect(Rect(0, 0, 10, 10), Color::White, 0); // must not crash
    MemoryImage negative;
    negative.Create(-4, 4);
    EXPECT_EQ(negative.GetBits(), nullptr);

    // Create discards the old pixels.
    img.SetPixel(1, 1, 0xFF123456);
    img.Create(2, 2);
    EXPECT_EQ(img.GetPixel(1, 1), 0u);
}

TEST(MemoryImageTest, FillFormulas)
{
    // Opaque colours overwrite, even over translucent pixels.
    MemoryImage a = Solid(2, 1, 0x40102030);
    a.FillRect(Rect(0, 0, 1, 1), Color(1, 2, 3, 255), 0);
    EXPECT_EQ(a.GetPixel(0, 0), 0xFF010203u);
    EXPECT_EQ(a.GetPixel(1, 0), 0x40102030u);

    // Half alpha over a transparent pixel keeps the fill colour exactly.
    MemoryImage b = Solid(1, 1, 0);
    b.FillRect(Rect(0, 0, 1, 1), Color(200, 100, 50, 128), 0);
    EXPECT_EQ(b.GetPixel(0, 0), 0x80C86432u);

    // Over an opaque pixel: f = 128, an even mix.
    MemoryImage c = Solid(1, 1, 0xFF0A141E);
    c.FillRect(Rect(0, 0, 1, 1), Color(200, 100, 50, 128), 0);
    EXPECT_EQ(c.GetPixel(0, 0), 0xFF693C28u);

    // Over a translucent pixel: A = 138, f = 118, red and blue rounded per term.
    MemoryImage d = Solid(1, 1, 0x6400C828);
    d.FillRect(Rect(0, 0, 1, 1), Color(255, 0, 0, 64), 0);
    EXPECT_EQ(d.GetPixel(0, 0), 0x8A756B15u);

    // Alpha 0 changes nothing, also over transparent pixels (no division by 0).
    MemoryImage e = Solid(1, 1, 0);
    e.FillRect(Rect(0, 0, 1, 1), Color(9, 9, 9, 0), 0);
    EXPECT_EQ(e.GetPixel(0, 0), 0u);

    // The draw mode does not matter for fills.
    MemoryImage f = Solid(1, 1, 0xFF0A141E);
    f.FillRect(Rect(0, 0, 1, 1), Color(200, 100, 50, 128), Image::DrawModeAdditive);
    EXPECT_EQ(f.GetPixel(0, 0), 0xFF693C28u);
}

TEST(MemoryImageTest, NormalBlitPaths)
{
    MemoryImage src = Row({0x00FFFFFF, 0xFFC86432, 0x80C86432});

    // Opaque destination: transparent skipped, opaque copied, partial mixed
    // with a / 256 and made opaque.
    MemoryImage screen = Solid(3, 1, 0xFF0A141E);
    screen.SetImageMode(false, false);
    screen.Blt(&src, 0, 0, Rect(0, 0, 3, 1), Color::White, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(screen.GetPixel(1, 0), 0xFFC86432u);
    EXPECT_EQ(screen.GetPixel(2, 0), 0xFF693C28u);

    // Composited over a translucent destination.
    MemoryImage dst = Solid(1, 1, 0x6400C828);
    dst.Blt(&src, 0, 0, Rect(2, 0, 1, 1), Color::White, 0);
    EXPECT_EQ(dst.GetPixel(0, 0), 0xB1907F2Fu);

    // An opaque source over an opaque pixel of an image with alpha is copied
    // exactly.
    MemoryImage withAlpha = Solid(1, 1, 0xFF0A141E);
    withAlpha.Blt(&src, 0, 0, Rect(1, 0, 1, 1), Color::White, 0);
    EXPECT_EQ(withAlpha.GetPixel(0, 0), 0xFFC86432u);

    // Tinted: channels scaled by the colour, alpha by the colour's alpha.
    MemoryImage tinted = Solid(1, 1, 0xFF0A141E);
    tinted.Blt(&src, 0, 0, Rect(1, 0, 1, 1), Color(255, 128, 0, 128), 0);
    EXPECT_EQ(tinted.GetPixel(0, 0), 0xFF69230Fu);

    // Tinting an opaque screen goes through the composited path too.
    MemoryImage tintedScreen = Solid(1, 1, 0xFF0A141E);
    tintedScreen.SetImageMode(false, false);
    tintedScreen.Blt(&src, 0, 0, Rect(1, 0, 1, 1), Color(255, 128, 0, 128), 0);
    EXPECT_EQ(tintedScreen.GetPixel(0, 0), 0xFF69230Fu);
}

TEST(MemoryImageTest, AdditiveBlit)
{
    MemoryImage src = Row({0x80C86432, 0xFFFFFFFF, 0xFFC86432});
    MemoryImage dst = Solid(3, 1, 0x4D64FA00);
    dst.Blt(&src, 0, 0, Rect(0, 0, 1, 1), Color::White, Image::DrawModeAdditive);
    EXPECT_EQ(dst.GetPixel(0, 0), 0x4DC8FF19u); // alpha kept, green clamped

    MemoryImage white = Solid(1, 1, 0xFFFFFFFF);
    white.Blt(&src, 0, 0, Rect(1, 0, 1, 1), Color::White, Image::DrawModeAdditive);
    EXPECT_EQ(white.GetPixel(0, 0), 0xFFFFFFFFu);

    MemoryImage black = Solid(1, 1, 0xFF000000);
    black.Blt(&src, 0, 0, Rect(2, 0, 1, 1), Color(255, 0, 255, 128), Image::DrawModeAdditive);
    EXPECT_EQ(black.GetPixel(0, 0), 0xFF640019u);

    // A source without alpha adds its channels unweighted.
    MemoryImage opaque = Row({0xFF101010}, true);
    ASSERT_FALSE(opaque.hasAlpha);
    MemoryImage grey = Solid(1, 1, 0xFF202020);
    grey.Blt(&opaque, 0, 0, Rect(0, 0, 1, 1), Color::White, Image::DrawModeAdditive);
    EXPECT_EQ(grey.GetPixel(0, 0), 0xFF303030u);

    // Transparent pixels of a source with only on/off transparency add
    // nothing, whatever colour they hide.
    MemoryImage cutout = Row({0x00FFFFFF, 0xFF000000}, true);
    ASSERT_TRUE(cutout.hasTrans);
    MemoryImage dark = Solid(2, 1, 0xFF101010);
    dark.Blt(&cutout, 0, 0, Rect(0, 0, 2, 1), Color::White, Image::DrawModeAdditive);
    EXPECT_EQ(dark.GetPixel(0, 0), 0xFF101010u);
}

TEST(MemoryImageTest, ChangesInvalidateRunLengthData)
{
    MemoryImage src = Row({0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000});
    MemoryImage screen = Solid(6, 1, 0xFF000000);
    screen.SetImageMode(false, false);
    screen.Blt(&src, 0, 0, Rect(0, 0, 6, 1), Color::White, 0);
    EXPECT_EQ(screen.GetPixel(3, 0), 0xFF000000u);
    ASSERT_NE(src.GetRLAlphaData(), nullptr);
    EXPECT_EQ(src.GetRLAlphaData()[0], 6);

    int before = src.GetChangeCount();
    src.FillRect(Rect(2, 0, 2, 1), Color(255, 0, 0), 0);
    EXPECT_GT(src.GetChangeCount(), before);
    EXPECT_EQ(src.GetRLAlphaData()[0], 2);
    EXPECT_EQ(src.GetRLAlphaData()[2], 2);
    screen.Blt(&src, 0, 0, Rect(0, 0, 6, 1), Color::White, 0);
    EXPECT_EQ(screen.GetPixel(3, 0), 0xFFFF0000u);
    EXPECT_EQ(screen.GetPixel(4, 0), 0xFF000000u);

    // Blitting from the middle of a run uses the rest of that run only.
    MemoryImage screen2 = Solid(3, 1, 0xFF000000);
    screen2.SetImageMode(false, false);
    screen2.Blt(&src, 0, 0, Rect(1, 0, 3, 1), Color::White, 0);
    EXPECT_EQ(screen2.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(screen2.GetPixel(1, 0), 0xFFFF0000u);

    // A wide opaque picture is copied row by row; once a pixel turns
    // translucent it blends.
    MemoryImage opaque = Solid(200, 1, 0xFF00FF00);
    MemoryImage screen3 = Solid(200, 1, 0xFF000000);
    screen3.SetImageMode(false, false);
    screen3.Blt(&opaque, 0, 0, Rect(0, 0, 200, 1), Color::White, 0);
    EXPECT_EQ(screen3.GetPixel(3, 0), 0xFF00FF00u);
    opaque.SetPixel(3, 0, 0x80FF0000);
    screen3.FillRect(Rect(0, 0, 200, 1), Color(0, 0, 0), 0);
    screen3.Blt(&opaque, 0, 0, Rect(0, 0, 200, 1), Color::White, 0);
    EXPECT_EQ(screen3.GetPixel(3, 0), 0xFF7F0000u);
}

TEST(MemoryImageTest, WideBlitsMatchTheKernelOnEveryPixel)
{
    // Wide rows take the run-length path: long opaque runs are copied, long
    // transparent runs skipped, the rest blended. The result must equal the
    // plain reference kernel applied to the whole row, for every offset.
    srand(99);
    const int w = 400, h = 3;
    MemoryImage src(w, h);
    uint32_t* p = src.GetBits();
    for (int i = 0; i < w * h;) {
        // Now and then a run longer than a run table's entry can hold.
        int run = 1 + rand() % (rand() % 5 == 0 ? 600 : 150);
        int kind = rand() % 3;
        for (int k = 0; k < run && i < w * h; k++, i++) {
            uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : uint32_t(1 + rand() % 254);
            p[i] = (a << 24) | (uint32_t(rand()) & 0xFFFFFF);
        }
    }
    src.BitsChanged();
    for (int offset : {0, 1, 37, 130}) {
        MemoryImage screen(w, h);
        screen.SetImageMode(false, false);
        for (int i = 0; i < w * h; i++)
            screen.GetBits()[i] = 0xFF000000u | (uint32_t(i * 2654435761u) & 0xFFFFFF);
        MemoryImage expected(screen);
        screen.Blt(&src, 0, 0, Rect(offset, 0, w - offset, h), Color::White, 0);
        for (int y = 0; y < h; y++)
            BlendOps::Scalar().overOpaque(expected.GetBits() + y * w, src.GetBits() + y * w + offset, w - offset);
        for (int i = 0; i < w * h; i++)
            ASSERT_EQ(screen.GetBits()[i], expected.GetBits()[i]) << "offset " << offset << " pixel " << i;
    }
}

TEST(MemoryImageTest, GuardWordSurvivesEveryOperation)
{
    srand(7);
    MemoryImage src(9, 7);
    for (int i = 0; i < 63; i++)
        src.GetBits()[i] = uint32_t(rand()) * 2654435761u;
    src.BitsChanged();
    MemoryImage dst(7, 5);
    auto check = [&](const char* what) { EXPECT_TRUE(dst.GuardIntact()) << what; };
    Rect all(0, 0, 7, 5);
    dst.FillRect(all, Color(1, 2, 3, 255), 0), check("fill");
    dst.FillRect(all, Color(1, 2, 3, 99), 0), check("blend fill");
    dst.DrawRect(Rect(0, 0, 6, 4), Color(9, 9, 9, 200), 0), check("outline");
    dst.DrawLine(0, 0, 6, 4, Color(5, 5, 5, 128), 0), check("line");
    dst.DrawLine(6, 0, 0, 4, Color(5, 5, 5, 255), 1), check("additive line");
    dst.Blt(&src, 0, 0, Rect(2, 2, 7, 5), Color::White, 0), check("blit");
    dst.Blt(&src, 0, 0, Rect(2, 2, 7, 5), Color(1, 200, 3, 100), 0), check("tinted blit");
    dst.Blt(&src, 0, 0, Rect(2, 2, 7, 5), Color::White, 1), check("additive blit");
    dst.Blt(&src, 3, 2, Rect(0, 0, 9, 7), Color::White, 0), check("overhanging blit");
    dst.Blt(&dst, 1, 1, Rect(0, 0, 7, 5), Color::White, 0), check("self blit");
    dst.StretchBlt(&src, Rect(-3, -2, 20, 17), Rect(0, 0, 9, 7), all, Color::White, 0, true), check("fast stretch");
    dst.StretchBlt(&src, Rect(-3, -2, 20, 17), Rect(0, 0, 9, 7), all, Color::White, 0, false), check("stretch");
    dst.BltRotated(&src, 0.5f, 0.25f, Rect(0, 0, 9, 7), all, Color::White, 0, 0.7, 4, 3), check("rotated");
    dst.BltF(&src, -0.5f, 1.75f, Rect(0, 0, 9, 7), all, Color::White, 1), check("float");
    dst.BltMatrix(&src, 3, 2, Matrix3::Scale(2, 1.5f), all, Color::White, 0, Rect(0, 0, 9, 7), true),
        check("matrix");
    TriVertex tri[1][3] = {{{-2, -2, 0, 0}, {9, 0, 9, 0}, {3, 8, 4, 7}}};
    dst.BltTrianglesTex(&src, tri, 1, all, Color::White, 0, 0, 0, true), check("triangles");
    dst.BltMirror(&src, 0, 0, Rect(0, 0, 7, 5), Color::White, 0), check("mirror");
    Span spans[2] = {{0, 4, 7}, {-3, 2, 30}};
    dst.FillScanLines(spans, 2, Color(1, 1, 1, 255), 0), check("spans");
    dst.ClearRect(all), check("clear rect");
    dst.Palletize();
    dst.GetBits(), check("from palette");
    dst.SetBits(src.GetBits(), 7, 5), check("set bits");
    dst.Clear(), check("clear");
}

TEST(MemoryImageTest, PaletteFormAndCopies)
{
    MemoryImage img = Row({0xFF0000FF, 0x80FF0000, 0xFF0000FF, 0x00000000});
    ASSERT_TRUE(img.Palletize());
    EXPECT_TRUE(img.HasPalette());

    MemoryImage copy(img);
    EXPECT_TRUE(copy.HasPalette());
    EXPECT_EQ(copy.GetBits()[1], 0x80FF0000u);
    EXPECT_FALSE(copy.HasPalette());
    EXPECT_TRUE(img.HasPalette()); // the original keeps its own form

    // A small palette picture is unpacked when first drawn; a large one is
    // drawn through its colour table and keeps the memory it saves.
    MemoryImage screen = Solid(4, 1, 0xFF000000);
    screen.SetImageMode(false, false);
    screen.Blt(&img, 0, 0, Rect(0, 0, 4, 1), Color::White, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(screen.GetPixel(1, 0), 0xFF7F0000u);
    EXPECT_FALSE(img.HasPalette());
    MemoryImage large(800, 600);
    std::fill(large.GetBits(), large.GetBits() + 800 * 600, 0x80FF0000u);
    large.BitsChanged();
    ASSERT_TRUE(large.Palletize());
    screen.Blt(&large, 0, 0, Rect(0, 0, 4, 1), Color::White, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF7F0000u + 0x7Fu); // 0x0000FF under half red
    EXPECT_TRUE(large.HasPalette());

    // More than 256 colours cannot be palletised.
    MemoryImage many(300, 1);
    for (int i = 0; i < 300; i++)
        many.GetBits()[i] = 0xFF000000u | uint32_t(i);
    EXPECT_FALSE(many.Palletize());
    EXPECT_EQ(many.GetPixel(299, 0), 0xFF00012Bu);
}

TEST(MemoryImageTest, RegistryAndCopyCarryEverything)
{
    int before = MemoryImage::GetLiveImageCount();
    {
        MemoryImage a(2, 2);
        a.numCols = 2;
        a.animInfo = std::make_unique<AnimInfo>();
        a.animInfo->frameDelay = 7;
        a.SetPixel(1, 1, 0x12345678);
        MemoryImage b(a);
        EXPECT_EQ(MemoryImage::GetLiveImageCount(), before + 2);
        bool seen = false;
        MemoryImage::ForEachLiveImage([&](MemoryImage* m) { seen |= m == &b; });
        EXPECT_TRUE(seen);
        ASSERT_NE(b.animInfo, nullptr);
        EXPECT_NE(b.animInfo.get(), a.animInfo.get());
        EXPECT_EQ(b.animInfo->frameDelay, 7);
        EXPECT_EQ(b.numCols, 2);
        EXPECT_EQ(b.GetPixel(1, 1), 0x12345678u);
        EXPECT_TRUE(b.GuardIntact());
        b.SetPixel(1, 1, 0);
        EXPECT_EQ(a.GetPixel(1, 1), 0x12345678u);
    }
    EXPECT_EQ(MemoryImage::GetLiveImageCount(), before);
}

TEST(MemoryImageTest, StretchAndMirror)
{
    MemoryImage src = Row({0xFFFF0000, 0xFF00FF00});
    MemoryImage dst(4, 2);
    dst.StretchBlt(&src, Rect(0, 0, 4, 2), Rect(0, 0, 2, 1), Rect(0, 0, 4, 2), Color::White, 0, true);
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(dst.GetPixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFF00FF00u);
    EXPECT_EQ(dst.GetPixel(3, 1), 0xFF00FF00u);

    // The clip limits the stretched picture without moving it.
    MemoryImage clipped(4, 1);
    clipped.StretchBlt(&src, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(2, 0, 2, 1), Color::White, 0, true);
    EXPECT_EQ(clipped.GetPixel(1, 0), 0u);
    EXPECT_EQ(clipped.GetPixel(2, 0), 0xFF00FF00u);

    // Filtered: ends keep their colour, the middle mixes.
    MemoryImage smooth(4, 1);
    smooth.StretchBlt(&src, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Color::White, 0, false);
    EXPECT_EQ(smooth.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(smooth.GetPixel(3, 0), 0xFF00FF00u);
    uint32_t mid = smooth.GetPixel(1, 0);
    EXPECT_GT((mid >> 16) & 0xFF, 0x80u);
    EXPECT_GT((mid >> 8) & 0xFF, 0x20u);

    MemoryImage mirrored(2, 1);
    mirrored.BltMirror(&src, 0, 0, Rect(0, 0, 2, 1), Color::White, 0);
    EXPECT_EQ(mirrored.GetPixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(mirrored.GetPixel(1, 0), 0xFFFF0000u);
}

TEST(MemoryImageTest, RotationTurnsCounterClockwise)
{
    // A 3 x 1 bar with a red left end, turned a quarter about its centre,
    // stands upright with the red end at the bottom.
    MemoryImage bar = Row({0xFFFF0000, 0xFF00FF00, 0xFF00FF00});
    MemoryImage dst(5, 5);
    dst.BltRotated(&bar, 1, 2, Rect(0, 0, 3, 1), Rect(0, 0, 5, 5), Color::White, 0, 3.14159265358979 / 2, 1.5f,
                   0.5f);
    EXPECT_EQ(dst.GetPixel(2, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(dst.GetPixel(2, 1) & 0xFFFFFF, 0x00FF00u);
    EXPECT_LT(dst.GetPixel(1, 2) >> 24, 8u);

    // Angle 0 at whole pixels equals the plain blit.
    MemoryImage a(5, 1), b(5, 1);
    a.BltF(&bar, 1, 0, Rect(0, 0, 3, 1), Rect(0, 0, 5, 1), Color::White, 0);
    b.Blt(&bar, 1, 0, Rect(0, 0, 3, 1), Color::White, 0);
    for (int x = 0; x < 5; x++)
        EXPECT_EQ(a.GetPixel(x, 0), b.GetPixel(x, 0));
}

TEST(AnimInfoTest, SetUpRules)
{
    AnimInfo ping;
    ping.animType = AnimInfo::AnimPingPong;
    ping.frameDelay = 5;
    ping.Compute(4);
    EXPECT_EQ(ping.frameMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(ping.totalAnimTime, 30);
    EXPECT_EQ(ping.GetCelAt(20), 2);
    EXPECT_EQ(ping.GetCelAt(29), 1);
    EXPECT_EQ(ping.GetCelAt(30), 0); // wraps

    AnimInfo once;
    once.animType = AnimInfo::AnimOnce;
    once.frameDelay = 2;
    once.perFrameDelay = {0, 3};
    once.Compute(3, 10, 0);
    // Sized to the frame count, entries below 1 take the frame delay, and the
    // begin delay replaces the first.
    EXPECT_EQ(once.perFrameDelay, (std::vector<int>{10, 3, 2}));
    EXPECT_EQ(once.totalAnimTime, 15);
    EXPECT_EQ(once.GetCelAt(12), 1);
    EXPECT_EQ(once.GetCelAt(100), 2); // stays on the last frame

    AnimInfo ends;
    ends.animType = AnimInfo::AnimLoop;
    ends.frameDelay = 4;
    ends.Compute(3, 0, 9);
    EXPECT_EQ(ends.perFrameDelay, (std::vector<int>{4, 4, 9}));
    EXPECT_EQ(ends.totalAnimTime, 17);

    AnimInfo mapped;
    mapped.animType = AnimInfo::AnimLoop;
    mapped.frameDelay = 1;
    mapped.frameMap = {2, 0};
    mapped.Compute(3);
    EXPECT_EQ(mapped.GetFrameCount(), 2);
    EXPECT_EQ(mapped.totalAnimTime, 2);
    EXPECT_EQ(mapped.GetCelAt(0), 2);

    AnimInfo single; // a ping-pong of one cel has no map
    single.animType = AnimInfo::AnimPingPong;
    single.Compute(1);
    EXPECT_TRUE(single.frameMap.empty());
    EXPECT_EQ(single.totalAnimTime, 1);
}

} // namespace
} // namespace Zorvin
