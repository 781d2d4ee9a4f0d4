#include "framework/graphics/BlendOps.h"

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

std::vector<uint32_t> RandomRow(int n)
{
    std::vector<uint32_t> v(static_cast<size_t>(n));
    for (auto& p : v)
        p = RandomPixel();
    return v;
}

class BlendOpsSimdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        simd = BlendOps::Avx2();
        if (!simd)
            GTEST_SKIP() << "no AVX2 on this processor";
        srand(1234);
    }
    const BlendOps* simd = nullptr;
    const BlendOps& ref = BlendOps::Scalar();
};

TEST_F(BlendOpsSimdTest, EveryKernelMatchesTheScalarReference)
{
    const uint32_t colors[] = {0xFFFFFFFF, 0x80FF8000, 0xFF102030, 0x01FFFFFF, 0xFEFEFEFE, 0x00FFFFFF};
    for (int round = 0; round < 400; round++) {
        int n = 1 + rand() % 40; // exercises whole vectors and tails
        std::vector<uint32_t> src = RandomRow(n), dst = RandomRow(n);
        uint32_t color = (round % 7 == 6) ? RandomPixel() : colors[round % 6];
        bool useAlpha = round % 2 == 0;

        auto a = dst, b = dst;
        ref.overOpaque(a.data(), src.data(), n);
        simd->overOpaque(b.data(), src.data(), n);
        ASSERT_EQ(a, b) << "overOpaque, round " << round;

        a = dst, b = dst;
        ref.over(a.data(), src.data(), n, color);
        simd->over(b.data(), src.data(), n, color);
        ASSERT_EQ(a, b) << "over, colour " << std::hex << color;

        a = dst, b = dst;
        ref.additive(a.data(), src.data(), n, color, useAlpha);
        simd->additive(b.data(), src.data(), n, color, useAlpha);
        ASSERT_EQ(a, b) << "additive, colour " << std::hex << color;

        uint32_t fillColor = (color & 0x00FFFFFF) | (uint32_t(1 + rand() % 254) << 24);
        a = dst, b = dst;
        ref.fill(a.data(), n, fillColor);
        simd->fill(b.data(), n, fillColor);
        ASSERT_EQ(a, b) << "fill, colour " << std::hex << fillColor;
    }
}

TEST_F(BlendOpsSimdTest, BlockKernelsMatchRowByRowAndLeaveTheRestAlone)
{
    // Blocks of every width up to 40 inside larger images: the block kernels
    // give the row kernels' bytes, and no pixel beside or below the block
    // changes (rows but the last may load their tail whole).
    const int dstStride = 53, srcStride = 47, rows = 6;
    for (int w = 1; w <= 40; w++) {
        std::vector<uint32_t> src = RandomRow(srcStride * rows), dst = RandomRow(dstStride * (rows + 1));
        for (uint32_t& p : dst)
            if (rand() % 4 != 0)
                p |= 0xFF000000u;
        uint32_t color = w % 3 == 0 ? 0xFF000000u : w % 3 == 1 ? 0xFFFFFFFFu : RandomPixel();
        int h = 1 + w % rows;
        auto a = dst, b = dst;
        for (int y = 0; y < h; y++)
            ref.over(a.data() + y * dstStride + 3, src.data() + y * srcStride + 2, w, color);
        simd->overRect(b.data() + 3, dstStride, src.data() + 2, srcStride, w, h, color);
        ASSERT_EQ(a, b) << "overRect, width " << w << ", colour " << std::hex << color;
        a = dst, b = dst;
        for (int y = 0; y < h; y++)
            ref.overOpaque(a.data() + y * dstStride + 3, src.data() + y * srcStride + 2, w);
        simd->overOpaqueRect(b.data() + 3, dstStride, src.data() + 2, srcStride, w, h);
        ASSERT_EQ(a, b) << "overOpaqueRect, width " << w;
    }
}

TEST_F(BlendOpsSimdTest, AllAlphaPairsMatch)
{
    // Every (source alpha, destination alpha) pair once, eight to a vector.
    std::vector<uint32_t> src, dst;
    for (uint32_t sa = 0; sa < 256; sa++)
        for (uint32_t da = 0; da < 256; da++) {
            src.push_back((sa << 24) | 0xFF7F01);
            dst.push_back((da << 24) | 0x01FFFE);
        }
    int n = int(src.size());
    for (uint32_t color : {0xFFFFFFFFu, 0xC0FFFFFFu, 0xFF808080u}) {
        auto a = dst, b = dst;
        ref.over(a.data(), src.data(), n, color);
        simd->over(b.data(), src.data(), n, color);
        ASSERT_EQ(a, b) << std::hex << color;
    }
    for (uint32_t sa = 1; sa < 255; sa++) {
        auto a = dst, b = dst;
        ref.fill(a.data(), 256 * 8, (sa << 24) | 0x80FF10);
        simd->fill(b.data(), 256 * 8, (sa << 24) | 0x80FF10);
        ASSERT_EQ(a, b) << sa;
    }
}

TEST_F(BlendOpsSimdTest, TintedOverOpaqueDestinationsMatches)
{
    // Over opaque destinations the vector kernel takes a shortcut without the
    // division. Every source alpha meets every colour alpha there, plain and
    // tinted, then random pixels rich in alpha 0 and 255; row starts and
    // lengths vary, and a stray translucent destination pixel now and then
    // sends its vector down the general path.
    std::vector<uint32_t> src(512 + 8), dst(512 + 8);
    for (uint32_t ca = 0; ca < 256; ca++) {
        for (size_t i = 0; i < src.size(); i++) {
            src[i] = i < 256 ? (uint32_t(i + ca) % 256 << 24) | (uint32_t(rand()) & 0xFFFFFF) : RandomPixel();
            dst[i] = 0xFF000000u | (uint32_t(rand()) & 0xFFFFFF);
        }
        if (ca % 3 == 0)
            dst[size_t(rand() % int(dst.size()))] &= 0x7FFFFFFFu;
        for (uint32_t color : {(ca << 24) | 0xFFFFFFu, (ca << 24) | (uint32_t(rand()) & 0xFFFFFF), ca << 24})
            for (int n : {512, 1 + rand() % 40}) { // whole vectors, then a tail
                int offset = rand() % 8;
                auto a = dst, b = dst;
                ref.over(a.data() + offset, src.data() + offset, n, color);
                simd->over(b.data() + offset, src.data() + offset, n, color);
                ASSERT_EQ(a, b) << "colour " << std::hex << color << std::dec << ", offset " << offset << ", n " << n;
            }
    }
}

TEST(BlendOpsTest, SaturationTableAndDispatch)
{
    const uint8_t* sat = BlendOps::SaturationTable();
    EXPECT_EQ(sat[0], 0);
    EXPECT_EQ(sat[254], 254);
    EXPECT_EQ(sat[255], 255);
    EXPECT_EQ(sat[511], 255);
    if (BlendOps::Avx2()) {
        EXPECT_EQ(&BlendOps::Get(), BlendOps::Avx2());
    }
}

} // namespace
} // namespace Zorvin
