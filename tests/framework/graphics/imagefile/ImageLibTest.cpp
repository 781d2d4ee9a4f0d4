// Sections:
//   - TGA
//   - GIF
//   - PNG
//   - JPEG
//   - GetImage (format order, alpha images)

#include "framework/graphics/imagefile/ImageLib.h"

#include "tests/framework/graphics/imagefile/ImageTestFiles.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdlib>

using namespace Zorvin;
using namespace ImageTestFiles;
using ImageLib::DecodeGIF;
using ImageLib::DecodeJPEG;
using ImageLib::DecodePNG;
using ImageLib::DecodeTGA;
using ImageLib::GetImage;

namespace {

std::unique_ptr<ImageLib::Image> Decode(std::unique_ptr<ImageLib::Image> (*fn)(const uint8_t*, size_t), const Bytes& b)
{
    return fn(b.data(), b.size());
}

std::vector<uint32_t> Pattern(int w, int h, unsigned seed)
{
    srand(seed);
    std::vector<uint32_t> px(size_t(w) * h);
    for (uint32_t& p : px)
        p = (uint32_t(rand() % 256) << 24) | (uint32_t(rand() % 256) << 16) | (uint32_t(rand() % 256) << 8) |
            uint32_t(rand() % 256);
    return px;
}

// A palette of n distinct opaque colours.
std::vector<uint32_t> Palette(int n)
{
    std::vector<uint32_t> t;
    for (int i = 0; i < n; ++i)
        t.push_back(0xFF000000u | uint32_t(i * 0x010305 + 0x102030) % 0x1000000);
    return t;
}

// Every decoder must give up on every prefix of a valid file without
// reading past it (AddressSanitizer watches the exact-size copies).
void ExpectPrefixesHandled(std::unique_ptr<ImageLib::Image> (*fn)(const uint8_t*, size_t), const Bytes& file)
{
    for (size_t n = 0; n < file.size(); n += 1 + n / 16) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(n));
        auto img = fn(cut.data(), cut.size());
        if (img) {
            EXPECT_EQ(img->bits.size(), size_t(img->width) * img->height);
        }
    }
}

} // namespace

TEST(TgaDecoder, ReadsTopLeft32BitPixelsInOrder)
{
    std::vector<uint32_t> px = {0x80FF0000, 0xFF00FF00, 0x000000FF, 0x12345678, 0xFFFFFFFF, 0x01020304};
    auto img = Decode(DecodeTGA, MakeTga(3, 2, px));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width, 3);
    EXPECT_EQ(img->height, 2);
    EXPECT_EQ(img->bits, px);

    // An identification field sits between header and pixels.
    img = Decode(DecodeTGA, MakeTga(3, 2, px, 32, 0x28, "made by hand"));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits, px);
}

TEST(TgaDecoder, RejectsOtherDepthsOriginsAndShortData)
{
    std::vector<uint32_t> px(4, 0xFF102030);
    EXPECT_FALSE(Decode(DecodeTGA, MakeTga(2, 2, px, 24, 0x20)));  // 24-bit
    EXPECT_FALSE(Decode(DecodeTGA, MakeTga(2, 2, px, 32, 0x08)));  // bottom-left origin
    EXPECT_FALSE(Decode(DecodeTGA, MakeTga(0, 2, {}, 32, 0x28)));  // empty
    Bytes full = MakeTga(2, 2, px);
    full.pop_back();
    EXPECT_FALSE(Decode(DecodeTGA, full));
    ExpectPrefixesHandled(DecodeTGA, MakeTga(5, 4, Pattern(5, 4, 3)));

    // A header claiming a huge picture with no data behind it.
    Bytes huge = MakeTga(2, 2, px);
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
    EXPECT_FALSE(Decode(DecodeTGA, huge));
}

TEST(TgaDecoder, ReadsRunLengthPacketsAndRejectsOverruns)
{
    Bytes b = MakeTga(3, 2, {});
    b[2] = 10;
    // One run of 4 copies, then 2 literal pixels.
    b.insert(b.end(), {0x83, 1, 2, 3, 4, 0x01, 9, 8, 7, 6, 5, 4, 3, 2});
    auto img = Decode(DecodeTGA, b);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits, (std::vector<uint32_t>{0x04030201, 0x04030201, 0x04030201, 0x04030201, 0x06070809,
                                                 0x02030405}));
    Bytes over = MakeTga(3, 2, {});
    over[2] = 10;
    over.insert(over.end(), {0x86, 1, 2, 3, 4}); // 7 pixels into 6
    EXPECT_FALSE(Decode(DecodeTGA, over));
}

TEST(GifDecoder, ReadsTheClassicOnePixelTransparentGif)
{
    // The well-known 43-byte transparent pixel: two-colour table, graphic
    // control with transparent index 0, codes clear, 0, end.
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                       0x21, 0xF9, 4, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
    auto img = Decode(DecodeGIF, gif);
    ASSERT_TRUE(img);
    ASSERT_EQ(img->bits.size(), 1u);
    EXPECT_EQ(img->bits[0] >> 24, 0u);
}

TEST(GifDecoder, RoundTripsThroughAFullDictionaryWithAndWithoutClearCodes)
{
    // 256 colours of noise overflow the 4096-entry table many times.
    const int w = 97, h = 61;
    GifSpec spec;
    spec.screenWidth = w;
    spec.screenHeight = h;
    spec.globalTable = Palette(256);
    GifFrame f;
    f.width = w;
    f.height = h;
    srand(7);
    for (int i = 0; i < w * h; ++i)
        f.indices.push_back(static_cast<uint8_t>(i % 5 == 0 ? rand() % 256 : (i / 3) % 256));
    spec.frames.push_back(f);
    for (bool clear : {true, false}) {
        spec.clearWhenFull = clear;
        auto img = Decode(DecodeGIF, MakeGif(spec));
        ASSERT_TRUE(img) << "clear when full " << clear;
        ASSERT_EQ(img->bits.size(), size_t(w) * h);
        for (int i = 0; i < w * h; ++i)
            ASSERT_EQ(img->bits[i], spec.globalTable[f.indices[i]]) << "pixel " << i;
    }
}

TEST(GifDecoder, PlacesInterlacedRowsAndMakesTheTransparentIndexClear)
{
    // 5 x 11: rows stored 0,8 | 4 | 2,6,10 | 1,3,5,7,9. Each row its own colour.
    GifSpec spec;
    spec.screenWidth = 5;
    spec.screenHeight = 11;
    spec.globalTable = Palette(16);
    GifFrame f;
    f.width = 5;
    f.height = 11;
    f.interlace = true;
    f.transparent = 3;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 5; ++x)
            f.indices.push_back(static_cast<uint8_t>(x == 2 ? 3 : y + 4));
    spec.frames.push_back(f);
    spec.netscapeLoop = true;
    auto img = Decode(DecodeGIF, MakeGif(spec));
    ASSERT_TRUE(img);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 5; ++x) {
            uint32_t p = img->bits[y * 5 + x];
            if (x == 2) {
                EXPECT_EQ(p >> 24, 0u) << y;
                EXPECT_EQ(p & 0xFFFFFF, spec.globalTable[3] & 0xFFFFFF);
            } else {
                EXPECT_EQ(p, spec.globalTable[y + 4]) << "row " << y;
            }
        }
    }
}

TEST(GifDecoder, UsesLocalTablesAndOnlyTheFirstFrame)
{
    GifSpec spec;
    spec.screenWidth = 4;
    spec.screenHeight = 3;
    spec.globalTable = Palette(4);
    GifFrame first;
    first.left = 1;
    first.top = 1;
    first.width = 2;
    first.height = 2;
    first.localTable = {0xFFAA0000, 0xFF00BB00};
    first.indices = {0, 1, 1, 0};
    GifFrame second;
    second.width = 4;
    second.height = 3;
    second.indices.assign(12, 2);
    spec.frames = {first, second};
    auto img = Decode(DecodeGIF, MakeGif(spec));
    ASSERT_TRUE(img);
    ASSERT_EQ(img->width, 4);
    ASSERT_EQ(img->height, 3);
    EXPECT_EQ(img->bits[0], 0u); // outside the first frame
    EXPECT_EQ(img->bits[1 * 4 + 1], 0xFFAA0000u);
    EXPECT_EQ(img->bits[1 * 4 + 2], 0xFF00BB00u);
    EXPECT_EQ(img->bits[2 * 4 + 1], 0xFF00BB00u);
    EXPECT_EQ(img->bits[2 * 4 + 3], 0u);
}

TEST(GifDecoder, RejectsDamagedFiles)
{
    GifSpec spec;
    spec.screenWidth = 6;
    spec.screenHeight = 6;
    spec.globalTable = Palette(8);
    GifFrame f;
    f.width = 6;
    f.height = 6;
    for (int i = 0; i < 36; ++i)
        f.indices.push_back(static_cast<uint8_t>(i % 8));
    spec.frames.push_back(f);
    Bytes good = MakeGif(spec);
    ASSERT_TRUE(Decode(DecodeGIF, good));
    ExpectPrefixesHandled(DecodeGIF, good);

    Bytes notGif = good;
    notGif[4] = '8'; // "GIF88"
    EXPECT_FALSE(Decode(DecodeGIF, notGif));

    GifSpec empty = spec;
    empty.frames[0].width = 0;
    empty.frames[0].indices.clear();
    EXPECT_FALSE(Decode(DecodeGIF, MakeGif(empty)));

    GifSpec noTable = spec;
    noTable.globalTable.clear();
    EXPECT_FALSE(Decode(DecodeGIF, MakeGif(noTable)));

    // A code far past the table's end: clear (8), then 14 bits of ones.
    Bytes bad(good.begin(), good.begin() + 13 + 24 + 10);
    bad.insert(bad.end(), {3, 3, 0xF8, 0xFF, 0xFF, 0, 0x3B});
    EXPECT_FALSE(Decode(DecodeGIF, bad));

    // A trailer before any image.
    Bytes trailerOnly(good.begin(), good.begin() + 13 + 24);
    trailerOnly.push_back(0x3B);
    EXPECT_FALSE(Decode(DecodeGIF, trailerOnly));
}

TEST(PngDecoder, ExpandsEveryColourTypeToArgb)
{
    const int w = 7, h = 5;
    std::vector<uint32_t> px = Pattern(w, h, 11);
    auto rgba = Decode(DecodePNG, MakePng(w, h, px, PNG_COLOR_TYPE_RGBA));
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->bits, px);

    auto interlaced = Decode(DecodePNG, MakePng(w, h, px, PNG_COLOR_TYPE_RGBA, 8, true));
    ASSERT_TRUE(interlaced);
    EXPECT_EQ(interlaced->bits, px);

    auto sixteen = Decode(DecodePNG, MakePng(w, h, px, PNG_COLOR_TYPE_RGBA, 16));
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen->bits, px);

    auto rgb = Decode(DecodePNG, MakePng(w, h, px, PNG_COLOR_TYPE_RGB));
    ASSERT_TRUE(rgb);
    for (size_t i = 0; i < px.size(); ++i)
        ASSERT_EQ(rgb->bits[i], px[i] | 0xFF000000u);

    auto grey = Decode(DecodePNG, MakePng(w, h, px, PNG_COLOR_TYPE_GRAY));
    ASSERT_TRUE(grey);
    for (size_t i = 0; i < px.size(); ++i)
        ASSERT_EQ(grey->bits[i], 0xFF000000u | (px[i] & 0xFF) * 0x010101u);

    // Palette with per-entry alpha from tRNS.
    std::vector<uint32_t> few = {0x00112233, 0xFF445566, 0x80778899, 0xFF445566};
    auto pal = Decode(DecodePNG, MakePng(2, 2, few, PNG_COLOR_TYPE_PALETTE));
    ASSERT_TRUE(pal);
    EXPECT_EQ(pal->bits, few);

    // 1-bit grey expands to full black and white.
    std::vector<uint32_t> bw = {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000};
    auto bits = Decode(DecodePNG, MakePng(4, 1, bw, PNG_COLOR_TYPE_GRAY, 1));
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits->bits, bw);
}

TEST(PngDecoder, RejectsTruncatedDamagedAndHugeFiles)
{
    Bytes good = MakePng(9, 9, Pattern(9, 9, 5), PNG_COLOR_TYPE_RGBA);
    ExpectPrefixesHandled(DecodePNG, good);

    Bytes flipped = good;
    flipped[40] ^= 0x55; // inside IDAT: CRC no longer matches
    EXPECT_FALSE(Decode(DecodePNG, flipped));

    // IHDR rewritten to 100000 x 100000 with a valid CRC.
    Bytes huge = good;
    for (int i : {16, 20}) {
        huge[i] = 0;
        huge[i + 1] = 0x01;
        huge[i + 2] = 0x86;
        huge[i + 3] = 0xA0;
    }
    uLong crc = crc32(0, huge.data() + 12, 17);
    huge[29] = static_cast<uint8_t>(crc >> 24);
    huge[30] = static_cast<uint8_t>(crc >> 16);
    huge[31] = static_cast<uint8_t>(crc >> 8);
    huge[32] = static_cast<uint8_t>(crc);
    EXPECT_FALSE(Decode(DecodePNG, huge));
}

TEST(JpegDecoder, DecodesColourAndGreyAsOpaquePixels)
{
    const int w = 16, h = 16;
    std::vector<uint32_t> px(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[y * w + x] = x < 8 ? 0x40C83214 : 0x1E1E64DC; // two flat blocks, alpha ignored
    auto img = Decode(DecodeJPEG, MakeJpeg(w, h, px, false, 100));
    ASSERT_TRUE(img);
    ASSERT_EQ(img->width, w);
    ASSERT_EQ(img->height, h);
    for (int i : {0, 3 * w + 2, 5 * w + 12, 15 * w + 15}) {
        uint32_t want = px[i], got = img->bits[i];
        EXPECT_EQ(got >> 24, 0xFFu);
        for (int s : {16, 8, 0})
            EXPECT_NEAR(int((got >> s) & 0xFF), int((want >> s) & 0xFF), 6) << "pixel " << i << " shift " << s;
    }

    auto grey = Decode(DecodeJPEG, MakeJpeg(w, h, px, true, 100));
    ASSERT_TRUE(grey);
    uint32_t g = grey->bits[0];
    EXPECT_EQ(g >> 24, 0xFFu);
    EXPECT_EQ((g >> 16) & 0xFF, g & 0xFF);
    EXPECT_NEAR(int(g & 0xFF), 0x14, 3);
}

TEST(JpegDecoder, RejectsTruncatedAndGarbageFiles)
{
    Bytes good = MakeJpeg(24, 24, Pattern(24, 24, 9), false);
    ExpectPrefixesHandled(DecodeJPEG, good);
    Bytes garbage = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 1, 2, 3};
    EXPECT_FALSE(Decode(DecodeJPEG, garbage));
    Bytes cut(good.begin(), good.begin() + 20);
    EXPECT_FALSE(Decode(DecodeJPEG, cut));
}

TEST(GetImage, TriesFormatsInOrderOnlyWithoutAnExtension)
{
    TempDir dir;
    WriteFile(dir.Path("pic.png"), MakePng(1, 1, {0xFF0000FF}, PNG_COLOR_TYPE_RGBA));
    WriteFile(dir.Path("pic.gif"), MakeGif({1, 1, {0xFF00FF00, 0xFF000000}, {{0, 0, 1, 1, {0}, {}, false, -1}}}));
    auto img = GetImage(dir.Path("pic"), false);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits[0], 0xFF0000FFu); // .png before .gif

    WriteFile(dir.Path("pic.tga"), MakeTga(1, 1, {0xFFFF0000}));
    img = GetImage(dir.Path("pic"), false);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits[0], 0xFFFF0000u); // .tga first

    img = GetImage(dir.Path("pic.gif"), false);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits[0], 0xFF00FF00u);

    // With an extension no other file is tried.
    EXPECT_FALSE(GetImage(dir.Path("other.png"), false));
    WriteFile(dir.Path("other.tga"), MakeTga(1, 1, {0xFF123456}));
    EXPECT_FALSE(GetImage(dir.Path("other.png"), false));

    // A dot in a folder name is not an extension; backslashes separate folders.
    WriteFile(dir.Path("v1.0/tile.jpg"), MakeJpeg(8, 8, std::vector<uint32_t>(64, 0xFF808080), false));
    EXPECT_TRUE(GetImage(dir.Path("v1.0/tile"), false));
    EXPECT_TRUE(GetImage(dir.Path("v1.0\\tile"), false));
    EXPECT_FALSE(GetImage("", false));
}

TEST(GetImage, MergesAlphaImagesUnderBothNames)
{
    TempDir dir;
    // Colour from the main image, alpha from the alpha image's blue byte.
    WriteFile(dir.Path("art/tile.png"), MakePng(2, 1, {0xFF112233, 0x7F445566}, PNG_COLOR_TYPE_RGBA));
    WriteFile(dir.Path("art/_tile.png"), MakePng(2, 1, {0xFF0000A0, 0xFFFFFF05}, PNG_COLOR_TYPE_RGB));
    auto img = GetImage(dir.Path("art/tile"), true);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits, (std::vector<uint32_t>{0xA0112233, 0x05445566}));
    img = GetImage(dir.Path("art/tile"), false);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits[1], 0x7F445566u);

    // The second form: "_" before the whole name.
    WriteFile(dir.Path("other/stone.tga"), MakeTga(1, 1, {0xFF010203}));
    WriteFile(dir.Path("_other/stone.tga"), MakeTga(1, 1, {0xFF000040}));
    std::filesystem::current_path(dir.dir);
    img = GetImage("other/stone", true);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits[0], 0x40010203u);

    // A differently sized alpha image is ignored.
    WriteFile(dir.Path("art/big.png"), MakePng(2, 1, {0x11112233, 0x22445566}, PNG_COLOR_TYPE_RGBA));
    WriteFile(dir.Path("art/_big.png"), MakePng(1, 1, {0xFF0000A0}, PNG_COLOR_TYPE_RGB));
    img = GetImage(dir.Path("art/big"), true);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits, (std::vector<uint32_t>{0x11112233, 0x22445566}));
    std::filesystem::current_path("/");
}

TEST(GetImage, AnAlphaImageAloneIsColouredWithTheAlphaOnlyColour)
{
    TempDir dir;
    WriteFile(dir.Path("_glow.png"), MakePng(2, 1, {0xFF1020F0, 0xFF000010}, PNG_COLOR_TYPE_RGB));
    auto img = GetImage(dir.Path("glow"), true);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits, (std::vector<uint32_t>{0xF0FFFFFF, 0x10FFFFFF}));
    img = GetImage(dir.Path("glow"), true, 0xAB102030);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bits, (std::vector<uint32_t>{0xF0102030, 0x10102030}));
    EXPECT_FALSE(GetImage(dir.Path("glow"), false));
}
