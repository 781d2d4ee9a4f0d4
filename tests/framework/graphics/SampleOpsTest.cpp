#include "framework/graphics/SampleOps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace Zorvin {
namespace {

// Pixels that favour the edge cases: alpha 0, 255 and 1, and full channels.
uint32_t RandomPixel()
{
    static const uint32_t alphas[] = {0, 255, 1, 254, 128};
    uint32_t a = (rand() % 3 == 0) ? alphas[rand() % 5] : uint32_t(rand() % 256);
    uint32_t rgb = (rand() % 8 == 0) ? 0xFFFFFF : uint32_t(rand()) & 0xFFFFFF;
    return (a << 24) | rgb;
}

// Random rows through a picture inside a larger image, crossing its edges
// at every angle (the transparent surroundings included), with tails of
// every length; the vector kernel must give the reference's bytes.
TEST(SampleOpsSimd, BilinearRowsMatchTheScalarReference)
{
    const SampleOps* simd = SampleOps::Avx2();
    if (!simd)
        GTEST_SKIP() << "no AVX2 on this processor";
    const SampleOps& ref = SampleOps::Scalar();
    srand(4321);
    const int w = 61, h = 47;
    std::vector<uint32_t> image(size_t(w) * h);
    for (uint32_t& p : image)
        p = RandomPixel();
    // Opaque and empty patches, where the reference takes its shortcuts.
    for (int y = 5; y < 15; y++)
        for (int x = 5; x < 20; x++)
            image[size_t(y) * w + x] = 0xFF000000u | (uint32_t(rand()) & 0xFFFFFF);
    for (int y = 20; y < 30; y++)
        for (int x = 25; x < 40; x++)
            image[size_t(y) * w + x] = uint32_t(rand()) & 0xFFFFFF;

    for (int round = 0; round < 3000; round++) {
        Rect r(rand() % 20, rand() % 15, 1 + rand() % 40, 1 + rand() % 30);
        SampleSource src{image.data(), w, r};
        int n = 1 + rand() % 45;
        // Start anywhere within two texels of the picture, step at any angle.
        int64_t fx = (int64_t(r.x - 2) << 16) + int64_t(rand() % ((r.width + 4) << 16));
        int64_t fy = (int64_t(r.y - 2) << 16) + int64_t(rand() % ((r.height + 4) << 16));
        int64_t stepX = int64_t(rand() % 131072) - 65536, stepY = int64_t(rand() % 131072) - 65536;
        if (round % 10 == 0)
            stepY = 0; // plain horizontal rows
        std::vector<uint32_t> a(size_t(n) + 1, 0xDEADBEEF), b(size_t(n) + 1, 0xDEADBEEF);
        ref.bilinearRow(a.data(), n, src, fx, fy, stepX, stepY);
        simd->bilinearRow(b.data(), n, src, fx, fy, stepX, stepY);
        ASSERT_EQ(a, b) << "round " << round << " rect " << r.x << "," << r.y << " " << r.width << "x" << r.height;
    }

    // A row that leaves the vector lanes' range: it starts inside the
    // picture, so its first sample is real.
    SampleSource src{image.data(), w, Rect(0, 0, w, h)};
    std::vector<uint32_t> a(20), b(20);
    ref.bilinearRow(a.data(), 20, src, int64_t(10) << 16 | 0x8000, int64_t(7) << 16, int64_t(1) << 27, 300);
    simd->bilinearRow(b.data(), 20, src, int64_t(10) << 16 | 0x8000, int64_t(7) << 16, int64_t(1) << 27, 300);
    EXPECT_NE(a[0], 0u);
    EXPECT_EQ(a, b);
}

} // namespace
} // namespace Zorvin
