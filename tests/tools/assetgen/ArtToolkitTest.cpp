// The asset generator's painting toolkit and its small file writers:
// blending, shapes, noise that tiles, soft fills, masks, text decoding, the
// font descriptor's quoting of awkward characters, the logo script as the
// title screen reads it, and atomic file output.

#include "framework/font/DescParser.h"
#include "framework/resources/XMLParser.h"
#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/art/ArtKit.h"
#include "tools/assetgen/art/FontSheet.h"
#include "tools/assetgen/LogoScript.h"
#include "tools/assetgen/art/TextPainter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace Zorvin;
using namespace Zorvin::AssetGen;

namespace {

TEST(ArtCanvas, BlendsStraightAlphaOverAnyBackground)
{
    Canvas c(2, 1);
    c.Set(0, 0, Rgba(0, 0, 1, 1));
    c.Blend(0, 0, Rgba(1, 0, 0, .5f));
    Rgba p = c.Get(0, 0);
    EXPECT_NEAR(p.r, .5f, .01f);
    EXPECT_NEAR(p.b, .5f, .01f);
    EXPECT_NEAR(p.a, 1.f, .01f);
    // Over a transparent pixel the colour stays whole and only alpha is partial.
    c.Blend(1, 0, Rgba(0, 1, 0, .25f));
    p = c.Get(1, 0);
    EXPECT_NEAR(p.g, 1.f, .01f);
    EXPECT_NEAR(p.a, .25f, .01f);
    // Coverage scales the alpha; nothing happens outside the canvas.
    c.Blend(1, 0, Rgba(0, 1, 0, 1), 0.f);
    EXPECT_NEAR(c.Get(1, 0).a, .25f, .01f);
    c.Blend(5, 5, Rgba(1, 1, 1, 1));
    EXPECT_EQ(c.Get(-1, 0).a, 0.f);
}

TEST(ArtCanvas, PixelsArePackedLikeTheFrameworkImages)
{
    Canvas c(1, 1);
    c.Set(0, 0, Rgba(1, 0, 0, .5f));
    EXPECT_EQ(c.Pixels()[0], 0x80FF0000u);
    c.Set(0, 0, Rgba(2, -1, .5f, 1)); // out-of-range components clamp
    EXPECT_EQ(c.Pixels()[0], 0xFFFF0080u);
}

TEST(ArtCanvas, ShapesAreAntiAliasedAndSigned)
{
    EXPECT_LT(SdCircle(5, 5, 5, 5, 3), 0);
    EXPECT_NEAR(SdCircle(9, 5, 5, 5, 3), 1.f, 1e-4f);
    EXPECT_NEAR(SdRoundRect(0, 5, 2, 0, 8, 10, 1), 2.f, 1e-4f);
    std::vector<Pt> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_NEAR(SdPolygon(5, 5, square), -5.f, 1e-4f);
    EXPECT_NEAR(SdPolygon(12, 5, square), 2.f, 1e-4f);
    EXPECT_EQ(StarPoints(0, 0, 10, 4, 5).size(), 10u);
    EXPECT_NEAR(StarPoints(0, 0, 10, 4, 5)[0].y, -10.f, 1e-4f); // first point straight up

    Canvas c(20, 20);
    c.FillShape(0, 0, 20, 20, [](float x, float y) { return SdCircle(x, y, 10, 10, 6.25f); }, Rgba(1, 1, 1, 1));
    EXPECT_EQ(c.Get(10, 10).a, 1.f);
    EXPECT_EQ(c.Get(0, 0).a, 0.f);
    // The rim gets partial coverage rather than a hard step.
    int partial = 0;
    for (int x = 0; x < 20; ++x) {
        float a = c.Get(x, 10).a;
        partial += a > .05f && a < .95f;
    }
    EXPECT_GE(partial, 2);
}

TEST(ArtCanvas, SoftFillAgreesWithTheFullFillOnSmoothPaint)
{
    auto ramp = [](float x, float y) { return Rgba(x / 64.f, y / 48.f, .5f, 1); };
    Canvas full(64, 48), soft(64, 48);
    full.FillWith(ramp);
    soft.FillWith(ramp, 2);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            EXPECT_NEAR(full.Get(x, y).r, soft.Get(x, y).r, 1.5f / 255.f) << x << "," << y;
            EXPECT_NEAR(full.Get(x, y).g, soft.Get(x, y).g, 1.5f / 255.f) << x << "," << y;
        }
}

TEST(ArtCanvas, CropScaleAndShadowKeepTheirPlace)
{
    Canvas c(8, 8);
    c.Set(6, 1, Rgba(1, 0, 0, 1));
    Canvas part = c.Crop(4, 0, 4, 4);
    EXPECT_EQ(part.W(), 4);
    EXPECT_EQ(part.Get(2, 1).r, 1.f);
    EXPECT_EQ(c.Crop(6, 6, 4, 4).Get(3, 3).a, 0.f); // outside the source: transparent

    Canvas big(4, 4);
    big.Fill(Rgba(0, 0, 1, 1));
    Canvas small(2, 2);
    small.DrawScaled(big, 0, 0, 2, 2);
    EXPECT_NEAR(small.Get(1, 1).b, 1.f, .01f);

    Canvas s(16, 16);
    s.FillShape(0, 0, 16, 16, [](float x, float y) { return SdRoundRect(x, y, 4, 4, 8, 8, 0); }, Rgba(1, 1, 1, 1));
    s.AddDropShadow(3, 3, 2, Rgba(0, 0, 0, 1));
    EXPECT_EQ(s.Get(6, 6).r, 1.f);  // the shape stays on top
    EXPECT_GT(s.Get(10, 10).a, .2f); // shadow below and right
    EXPECT_EQ(s.Get(1, 1).a, 0.f);   // nothing above and left
}

TEST(ArtNoise, RepeatableInRangeAndWrapsAtItsPeriod)
{
    for (int i = 0; i < 50; ++i) {
        float x = float(i) * 1.37f, y = float(i) * .73f;
        float v = Fbm(x, y, 9, 4);
        EXPECT_GE(v, 0.f);
        EXPECT_LE(v, 1.f);
        EXPECT_EQ(v, Fbm(x, y, 9, 4));
        EXPECT_NEAR(ValueNoise(x, y, 3, 5), ValueNoise(x + 5.f, y + 10.f, 3, 5), 1e-5f);
        EXPECT_NEAR(FbmXY(x, y, 4, 3, 6, 0), FbmXY(x + 6.f, y, 4, 3, 6, 0), 1e-5f);
    }
    // Different seeds give different noise.
    int same = 0;
    for (int i = 0; i < 20; ++i) same += ValueNoise(float(i) + .5f, .5f, 1) == ValueNoise(float(i) + .5f, .5f, 2);
    EXPECT_LT(same, 3);
}

TEST(ArtNoise, ParchmentTilesExactlyAlongTheAxesAskedFor)
{
    for (float y : {3.f, 40.f, 91.f}) {
        Rgba a = ParchmentAt(10, y, 7, 178, 0), b = ParchmentAt(10 + 178, y, 7, 178, 0);
        EXPECT_NEAR(a.r, b.r, 1e-4f);
        EXPECT_NEAR(a.g, b.g, 1e-4f);
    }
}

TEST(ArtMask, BlurSpreadsAndDilateGrows)
{
    Mask m(21, 21);
    m.Ref(10, 10) = 1;
    Mask grown = m;
    grown.Dilate(2);
    EXPECT_EQ(grown.At(12, 10), 1.f);
    EXPECT_EQ(grown.At(13, 10), 0.f);
    m.Blur(4);
    EXPECT_GT(m.At(11, 10), 0.f);
    EXPECT_LT(m.At(10, 10), 1.f);
    float sum = 0;
    for (float v : m.v) sum += v;
    EXPECT_NEAR(sum, 1.f, .05f); // blurring moves ink, it does not add any
}

TEST(ArtText, DecodesUtf8AndSkipsBrokenBytes)
{
    EXPECT_EQ(DecodeUtf8("Aё€"), (std::vector<uint32_t>{'A', 0x451, 0x20AC}));
    EXPECT_EQ(DecodeUtf8("a\xFF" "b"), (std::vector<uint32_t>{'a', 'b'}));
    EXPECT_EQ(DecodeUtf8("\xD0"), std::vector<uint32_t>{}); // cut-off sequence
    TextPainter font(kFontSansCondensedBold, 14);
    ASSERT_TRUE(font.Ok());
    EXPECT_GT(font.Measure("Играть"), font.Measure("Ок"));
    EXPECT_EQ(font.Measure(""), 0);
    Canvas c(120, 30);
    TextStyle s;
    font.Draw(c, "Ход", 2, 20, s);
    int ink = 0;
    for (uint32_t p : c.Pixels()) ink += (p >> 24) > 128;
    EXPECT_GT(ink, 20);
}

// Reads a descriptor's character lists back, as the font loader does.
class CharListReader : public DescParser {
public:
    std::vector<unsigned char> chars;
    std::vector<std::string> pairs;

protected:
    bool HandleCommand(const ListDataElement& params) override
    {
        const std::string cmd = static_cast<const SingleDataElement&>(*params.elements[0]).string;
        if (cmd == "LayerSetImageMap" && chars.empty()) return GetCharList(*params.elements[2], chars);
        if (cmd == "LayerSetKerningPairs" && pairs.empty()) return GetStringList(*params.elements[2], pairs);
        return true;
    }
};

TEST(ArtFontDescriptor, QuotesAndBackslashesSurviveTheRoundTrip)
{
    FontSheet f = BuildFontSheet();
    // Pairs with a quote, a double quote and a backslash, beside ordinary ones.
    f.kerning = {{"AV", -1}, {"'A", -1}, {"\"A", 1}, {"\\T", -2}};
    CharListReader reader;
    ASSERT_TRUE(reader.LoadDescriptorText(BuildFontDescriptor(f))) << reader.GetErrorText();
    std::vector<unsigned char> expected;
    for (const FontGlyph& g : f.glyphs) expected.push_back(g.code);
    EXPECT_EQ(reader.chars, expected);
    EXPECT_EQ(reader.pairs, (std::vector<std::string>{"AV", "'A", "\"A", "\\T"}));
    EXPECT_NE(std::find(expected.begin(), expected.end(), '\''), expected.end());
    EXPECT_NE(std::find(expected.begin(), expected.end(), '\\'), expected.end());
}

TEST(ArtLogoScript, ReadsAsTheTitleScreenReadsIt)
{
    XMLParser parser;
    parser.OpenBuffer("properties/logos.xml", BuildLogoScript());
    XMLNode node;
    int logos = 0, logoPictures = 0, loadingPictures = 0, menuPictures = 0;
    while (parser.ReadNode(node)) {
        if (node.type != XMLNode::TYPE_START) continue;
        if (node.section == "LogoAppearence/BeforeStartLoading" && node.value == "ShowLogo") {
            ++logos;
            EXPECT_GT(std::stoi(node.attributes["time"]), 0);
            EXPECT_EQ(std::count(node.attributes["backcolor"].begin(), node.attributes["backcolor"].end(), ','), 2);
        }
        if (node.value != "Image") continue;
        EXPECT_EQ(node.attributes["center"], "1");
        if (node.section == "LogoAppearence/BeforeStartLoading/ShowLogo") ++logoPictures;
        if (node.section == "LogoAppearence/OnTitleLoading") ++loadingPictures;
        if (node.section == "LogoAppearence/OnTitle") ++menuPictures;
    }
    EXPECT_FALSE(parser.HasFailed()) << parser.GetErrorText();
    EXPECT_EQ(logos, 1);
    EXPECT_EQ(logoPictures, 1);
    EXPECT_EQ(loadingPictures, 1);
    EXPECT_EQ(menuPictures, 1);
    EXPECT_EQ(LogoScriptPictures().size(), 3u);
}

TEST(ArtFiles, WritesAtomicallyAndPngsReadBack)
{
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("artfiles_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::string file = (dir / "sub" / "a.txt").string();
    ASSERT_TRUE(WriteFileAtomic(file, "one"));
    ASSERT_TRUE(WriteFileAtomic(file, "two"));
    std::ifstream in(file);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "two");
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
    Canvas c(3, 2);
    c.Set(2, 1, Rgba(0, 1, 0, 1));
    ASSERT_TRUE(WritePng(c, (dir / "p.png").string()));
    EXPECT_GT(std::filesystem::file_size(dir / "p.png"), 20u);
    std::filesystem::remove_all(dir);
}

} // namespace
