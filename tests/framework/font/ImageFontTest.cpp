#include "framework/font/ImageFont.h"

#include "framework/core/Cp1251.h"
#include "framework/font/FontData.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"

#include "tests/framework/font/FontTestFonts.h"
#include "tests/framework/graphics/imagefile/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace Zorvin;

namespace {

// Glyphs 'A' (4 x 6, advance 5), 'B' (3 x 6, advance 4) and 'C' (2 x 2,
// half-transparent orange, advance 3), baseline 6 pixels below the top.
const char* const kBlockFont =
    "CreateLayer Main;\n"
    "Define Letters ('A' 'B' 'C');\n"
    "LayerSetImageMap Main Letters ((0 0 4 6) (8 0 3 6) (16 0 2 2));\n"
    "LayerSetCharWidths Main Letters (5 4 3);\n"
    "LayerSetAscent Main 6;\n";

struct BlockFont {
    std::unique_ptr<MemoryImage> sheet = FontTestFonts::MakeBlockSheet();
    std::shared_ptr<FontData> data = std::make_shared<FontData>();
    std::unique_ptr<ImageFont> font;

    explicit BlockFont(const std::string& extra = "")
    {
        EXPECT_TRUE(data->LoadText(std::string(kBlockFont) + extra, "block.txt", sheet.get())) << data->GetErrorText();
        font = std::make_unique<ImageFont>(data);
    }
};

// An opaque black canvas, like the screen.
std::unique_ptr<MemoryImage> Canvas(int w = 32, int h = 16)
{
    auto img = std::make_unique<MemoryImage>(w, h);
    uint32_t* p = img->GetBits();
    std::fill(p, p + w * h, 0xFF000000u);
    img->BitsChanged();
    img->SetImageMode(false, false);
    return img;
}

// Draws through a context the way Graphics::DrawString does.
std::vector<Rect> Draw(ImageFont& font, MemoryImage& canvas, const std::string& text, int x, int y,
                       const Color& color = Color(255, 0, 0))
{
    Graphics g(&canvas);
    std::vector<Rect> rects;
    font.DrawStringEx(&g, x, y, text, color, &rects);
    return rects;
}

} // namespace

TEST(ImageFont, PlacesGlyphsByAdvanceOffsetsAndKerning)
{
    BlockFont plain;
    auto canvas = Canvas();
    auto rects = Draw(*plain.font, *canvas, "AB", 2, 10);
    EXPECT_EQ(rects, (std::vector<Rect>{Rect(2, 4, 4, 6), Rect(7, 4, 3, 6)}));
    EXPECT_EQ(canvas->GetPixel(2, 4), 0xFFFF0000u);
    EXPECT_EQ(canvas->GetPixel(5, 9), 0xFFFF0000u);
    EXPECT_EQ(canvas->GetPixel(6, 5), 0xFF000000u);  // the gap of the advance
    EXPECT_EQ(canvas->GetPixel(9, 9), 0xFFFF0000u);
    EXPECT_EQ(canvas->GetPixel(2, 10), 0xFF000000u); // below the baseline
    EXPECT_EQ(plain.font->StringWidth("AB"), 9);
    EXPECT_EQ(plain.font->StringWidth(""), 0);
    EXPECT_EQ(plain.font->CharWidth('A'), 5);
    EXPECT_EQ(plain.font->StringWidth("Z"), 0); // no glyph, no advance

    // Kerning A->B of -2 plus layer spacing 1; offsets of layer and glyph.
    BlockFont kerned("LayerSetKerningPairs Main ('AB') (-2);\nLayerSetSpacing Main 1;\n"
                     "LayerSetOffset Main (1 2);\nLayerSetCharOffsets Main ('B') ((0 -3));\n");
    canvas = Canvas();
    rects = Draw(*kerned.font, *canvas, "AB", 2, 10);
    // A at x 2 + 1, y 10 - (6 - 2); B at pen 3 + 5 - 1 = 7, plus 1, y 10 - (6 - (2 - 3)).
    EXPECT_EQ(rects, (std::vector<Rect>{Rect(3, 6, 4, 6), Rect(8, 3, 3, 6)}));
    EXPECT_EQ(kerned.font->StringWidth("AB"), 1 + 5 - 1 + 1 + 4);
    // The layer offset is part of every advance, as the pen moves past it.
    EXPECT_EQ(kerned.font->CharWidthKern('B', 'A'), (1 + 5 - 1 + 1 + 4) - (1 + 5));
    EXPECT_EQ(kerned.font->CharWidthKern('B', 0), 5);
    // Spacing counts only toward a following character.
    EXPECT_EQ(kerned.font->StringWidth("BA"), 1 + 4 + 1 + 1 + 5);
}

TEST(ImageFont, ColoursGlyphsWithTheLayerMultiplierAndAddend)
{
    BlockFont tinted("LayerSetColorAdd Main (10 10 10 0);\n");
    auto canvas = Canvas();
    Graphics g(canvas.get());
    g.SetColor(Color(1, 2, 3, 4));
    g.SetColorizeImages(false);
    tinted.font->DrawString(&g, 0, 6, "A", Color(250, 100, 0), g.GetClipRect());
    // 255 x 250 / 255 + 10 = 260 becomes 255.
    EXPECT_EQ(canvas->GetPixel(1, 1), 0xFFFF6E0Au);
    // The context's own colour and colorize flag come back afterwards.
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    EXPECT_FALSE(g.GetColorizeImages());

    BlockFont magenta("LayerSetColorMult Main (255 0 255);\n");
    canvas = Canvas();
    Draw(*magenta.font, *canvas, "A", 0, 6, Color(200, 200, 200));
    EXPECT_EQ(canvas->GetPixel(0, 0), 0xFFC800C8u);
}

TEST(ImageFont, DrawsGlyphsInOrderBucketsAcrossLayers)
{
    // A red main layer and a blue copy one pixel to the right; they overlap
    // on columns 1-3 of each glyph.
    const std::string twoLayers =
        "LayerSetColorMult Main (255 0 0);\nCreateLayerFrom Shadow Main;\n"
        "LayerSetColorMult Shadow (0 0 255);\nLayerSetOffset Shadow (1 0);\n";
    auto overlapColour = [&](const std::string& orders) {
        BlockFont f(twoLayers + orders);
        auto canvas = Canvas();
        Draw(*f.font, *canvas, "AA", 0, 6, Color::White);
        EXPECT_EQ(canvas->GetPixel(2, 2), canvas->GetPixel(7, 2)) << orders;
        return canvas->GetPixel(2, 2);
    };
    // Same bucket: the order in which glyphs were gathered, shadow last.
    EXPECT_EQ(overlapColour(""), 0xFF0000FFu);
    EXPECT_EQ(overlapColour("LayerSetBaseOrder Main -200;\nLayerSetBaseOrder Shadow -300;\n"), 0xFF0000FFu);
    // -200 lands in bucket 0 and 300 in bucket 255: main over shadow.
    EXPECT_EQ(overlapColour("LayerSetBaseOrder Shadow -200;\nLayerSetBaseOrder Main 300;\n"), 0xFFFF0000u);
    // Per-character order adds to the base order.
    EXPECT_EQ(overlapColour("LayerSetCharOrders Main ('A') (1);\n"), 0xFFFF0000u);
}

TEST(ImageFont, DrawsOnlyTheInkOfAGlyphCellWithTheCellsPixels)
{
    // 'D' is an 8 x 8 cell with a 2 x 3 translucent mark inside and one
    // transparent white pixel; the rest is blank (0x00000000).
    BlockFont f("Define More ('D');\nLayerSetImageMap Main More ((24 0 8 8));\n"
                "LayerSetCharWidths Main More (9);\n");
    uint32_t* p = f.sheet->GetBits();
    for (int y = 2; y < 5; ++y)
        for (int x = 26; x < 28; ++x)
            p[y * 64 + x] = 0x80FF8040u;
    p[7 * 64 + 30] = 0x00FFFFFFu;
    f.sheet->BitsChanged();
    // Each colour and draw mode against the whole cell drawn plainly.
    for (int mode : {int(Image::DrawModeNormal), int(Image::DrawModeAdditive)}) {
        auto expected = Canvas(), canvas = Canvas();
        for (int i = 0; i < 32 * 16; ++i)
            expected->GetBits()[i] = canvas->GetBits()[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
        Graphics eg(expected.get()), g(canvas.get());
        eg.SetColorizeImages(true);
        eg.SetColor(Color(0, 200, 100));
        eg.SetDrawMode(mode);
        eg.DrawImage(f.sheet.get(), 3, 2, Rect(24, 0, 8, 8));
        g.SetDrawMode(mode);
        std::vector<Rect> rects;
        f.font->DrawStringEx(&g, 3, 8, "D", Color(0, 200, 100), &rects);
        EXPECT_EQ(rects, std::vector<Rect>{Rect(3, 2, 8, 8)}); // the whole cell is still reported
        for (int i = 0; i < 32 * 16; ++i)
            ASSERT_EQ(canvas->GetBits()[i], expected->GetBits()[i]) << "mode " << mode << ", pixel " << i;
    }
    // Ink added to the sheet later is drawn too.
    p[0 * 64 + 24] = 0xFFFFFFFFu;
    f.sheet->BitsChanged();
    auto canvas = Canvas();
    Draw(*f.font, *canvas, "D", 3, 8);
    EXPECT_EQ(canvas->GetPixel(3, 2), 0xFFFF0000u);
}

TEST(ImageFont, SelectsLayersByPointSizeAndTagsAndRecomputesMetrics)
{
    BlockFont f("CreateLayerFrom Big Main;\nLayerPointRange Big 20 -1;\nLayerSetAscent Big 9;\n"
                "CreateLayerFrom Glow Main;\nLayerRequireTags Glow ('glow');\nLayerSetOffset Glow (0 3);\n"
                "LayerExcludeTags Main ('plain');\nLayerPointRange Main 0 30;\n");
    auto layersDrawn = [&]() {
        auto canvas = Canvas();
        return Draw(*f.font, *canvas, "A", 0, 10).size();
    };
    EXPECT_EQ(f.font->GetPointSize(), 0);
    EXPECT_EQ(layersDrawn(), 1u);
    EXPECT_EQ(f.font->GetAscent(), 6);
    EXPECT_EQ(f.font->GetHeight(), 6);

    f.font->AddTag("GLOW");
    EXPECT_TRUE(f.font->HasTag("glow"));
    EXPECT_EQ(layersDrawn(), 2u);
    EXPECT_EQ(f.font->GetHeight(), 9); // the glow hangs 3 pixels lower

    f.font->SetPointSize(20);
    EXPECT_EQ(layersDrawn(), 3u);
    EXPECT_EQ(f.font->GetAscent(), 9);
    // Height runs from the highest ascent to the lowest glyph bottom.
    EXPECT_EQ(f.font->GetHeight(), 9 - 6 + 9);
    EXPECT_EQ(f.font->GetDescent(), f.font->GetHeight() - f.font->GetAscent());

    f.font->AddTag("Plain");
    EXPECT_EQ(layersDrawn(), 2u);
    f.font->RemoveTag("glow");
    EXPECT_EQ(layersDrawn(), 1u);
    f.font->SetPointSize(31);
    f.font->RemoveTag("plain");
    EXPECT_EQ(layersDrawn(), 1u); // past Main's range, only Big is left
}

TEST(ImageFont, BuildsScaledGlyphSheetsForOtherSizes)
{
    BlockFont f("LayerSetPointSize Main 10;\nSetDefaultPointSize 10;\n");
    EXPECT_EQ(f.font->GetPointSize(), 10);
    auto canvas = Canvas();
    EXPECT_EQ(Draw(*f.font, *canvas, "A", 0, 6), std::vector<Rect>{Rect(0, 0, 4, 6)});

    f.font->SetPointSize(20); // twice the layer's size
    canvas = Canvas();
    EXPECT_EQ(Draw(*f.font, *canvas, "AB", 1, 14), (std::vector<Rect>{Rect(1, 2, 8, 12), Rect(11, 2, 6, 12)}));
    EXPECT_EQ(canvas->GetPixel(8, 13), 0xFFFF0000u);
    EXPECT_EQ(canvas->GetPixel(9, 13), 0xFF000000u);
    EXPECT_EQ(f.font->StringWidth("AB"), 18);
    EXPECT_EQ(f.font->GetAscent(), 12);

    f.font->SetPointSize(10);
    f.font->SetScale(0.5);
    EXPECT_DOUBLE_EQ(f.font->GetScale(), 0.5);
    EXPECT_EQ(f.font->StringWidth("A"), 2); // 5 x 0.5 truncated
    canvas = Canvas();
    EXPECT_EQ(Draw(*f.font, *canvas, "A", 0, 6), std::vector<Rect>{Rect(0, 3, 2, 3)});
}

TEST(ImageFont, ForceWhiteDrawsColouredGlyphsInTheTextColourOnly)
{
    BlockFont f;
    auto canvas = Canvas();
    Draw(*f.font, *canvas, "C", 0, 6, Color::White);
    uint32_t plain = canvas->GetPixel(0, 0);
    EXPECT_GT((plain >> 16) & 0xFF, (plain >> 8) & 0xFF); // orange-ish

    f.font->SetForceWhite(true);
    canvas = Canvas();
    Draw(*f.font, *canvas, "C", 0, 6, Color::White);
    uint32_t white = canvas->GetPixel(0, 0);
    EXPECT_NEAR(int((white >> 16) & 0xFF), 128, 2); // half alpha over black
    EXPECT_EQ((white >> 16) & 0xFF, (white >> 8) & 0xFF);
    EXPECT_EQ((white >> 8) & 0xFF, white & 0xFF);
}

TEST(ImageFont, CharacterMapDuplicatesAndFailedFonts)
{
    BlockFont f("SetCharMap ('a' 'b') ('A' 'B');\nDefine Greeting 'hello';\n");
    auto canvas = Canvas();
    EXPECT_EQ(Draw(*f.font, *canvas, "ab", 2, 10), (std::vector<Rect>{Rect(2, 4, 4, 6), Rect(7, 4, 3, 6)}));
    EXPECT_EQ(f.font->GetDefine("Greeting"), "hello");
    EXPECT_EQ(f.font->GetDefine("Letters"), "(A, B, C)");
    EXPECT_EQ(f.font->GetDefine("Nothing"), "");

    f.font->SetPointSize(7);
    f.font->AddTag("x");
    std::unique_ptr<Font> copy = f.font->Duplicate();
    auto* dup = dynamic_cast<ImageFont*>(copy.get());
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(dup->GetFontData(), f.font->GetFontData());
    EXPECT_EQ(dup->GetPointSize(), 7);
    EXPECT_TRUE(dup->HasTag("X"));
    dup->RemoveTag("x");
    EXPECT_TRUE(f.font->HasTag("x"));
    EXPECT_EQ(dup->StringWidth("ab"), 9);

    ImageFont missing("no/such/font.txt");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.StringWidth("AB"), 0);
    EXPECT_EQ(missing.GetHeight(), 0);
    canvas = Canvas();
    EXPECT_TRUE(Draw(missing, *canvas, "AB", 2, 10).empty());
    EXPECT_EQ(canvas->GetPixel(2, 4), 0xFF000000u);
}

TEST(ImageFont, ThreadsDrawingAtOnceGetTheSameResultAsOneAlone)
{
    BlockFont f("CreateLayerFrom Shadow Main;\nLayerSetOffset Shadow (1 1);\nLayerSetBaseOrder Shadow -1;\n"
                "LayerSetColorMult Shadow (0 0 0 128);\n");
    BlockFont g("LayerSetPointSize Main 5;\nSetDefaultPointSize 9;\n");
    const std::string text = "ABCABCCBA";
    auto reference = [&](BlockFont& font) {
        auto c = Canvas(64, 24);
        Draw(*font.font, *c, text, 1, 12);
        return std::vector<uint32_t>(c->GetBits(), c->GetBits() + 64 * 24);
    };
    const auto refF = reference(f), refG = reference(g);
    std::atomic<int> mismatches{0};
    auto worker = [&](BlockFont& font, const std::vector<uint32_t>& ref) {
        for (int i = 0; i < 200; ++i) {
            auto c = Canvas(64, 24);
            Draw(*font.font, *c, text, 1, 12);
            if (!std::equal(ref.begin(), ref.end(), c->GetBits()))
                ++mismatches;
            if (font.font->StringWidth(text) <= 0)
                ++mismatches;
        }
    };
    std::thread a(worker, std::ref(f), std::cref(refF));
    std::thread b(worker, std::ref(g), std::cref(refG));
    a.join();
    b.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(ImageFont, WritesAWrappedParagraphWithColourCodes)
{
    // A real font: DejaVu Sans rasterised into a glyph sheet and descriptor.
    ImageTestFiles::TempDir dir;
    const std::string desc = FontTestFonts::WriteFreeTypeFont(dir.dir.string(), "dejavu16", 16);
    ImageFont font(desc);
    ASSERT_TRUE(font.IsLoaded()) << font.GetFontData()->GetErrorText();

    const int w = 420, h = 240;
    MemoryImage page(w, h);
    Graphics g(&page);
    g.SetColor(Color(250, 240, 215));
    g.FillRect(0, 0, w, h);
    const Rect box(20, 16, 380, 208);
    g.SetColor(Color(200, 180, 140));
    g.DrawRect(box.x - 4, box.y - 4, box.width + 8, box.height + 8);
    g.SetFont(&font);
    g.SetColor(Color(30, 30, 60));
    const std::string text =
        W("Кот ^C00000^Фараон^^^1E1E3C^ ловит ^0050D0^синюю рыбу^1E1E3C^ у моря. "
          "The quick brown fox jumps over the lazy dog, AV To Te. "
          "Слово_длиннее_строки_разбивается_на_части_без_зацикливания.\n"
          "Новая строка после перевода: ^008000^зелёный^1E1E3C^ и снова тёмный.");
    const int used = g.WriteWordWrapped(box, text, -1, Graphics::JustifyLeft);
    EXPECT_GT(used, 4 * font.GetLineSpacing());
    EXPECT_LE(used, box.height);
    EXPECT_EQ(g.GetColor(), Color(30, 30, 60)); // restored after the codes

    const std::string outDir = std::string(KORVELT_BUILD_DIR) + "/test-output";
    std::filesystem::create_directories(outDir);
    ASSERT_TRUE(PngWriter::Write(page, outDir + "/font-paragraph.png"));

    // Ink stays inside the box, lines are separate, and each colour code
    // shows up in its own colour.
    int reds = 0, blues = 0, greens = 0, inkRows = 0, bands = 0;
    bool prevRowInk = false;
    for (int y = 0; y < h; ++y) {
        bool rowInk = false;
        for (int x = 0; x < w; ++x) {
            uint32_t p = page.GetPixel(x, y);
            int r = (p >> 16) & 0xFF, gr = (p >> 8) & 0xFF, b = p & 0xFF;
            bool ink = r + gr + b < 3 * 170;
            if (!ink)
                continue;
            if (!box.Inflate(1, 1).Contains(x, y)) {
                ADD_FAILURE() << "ink outside the box at " << x << "," << y;
                return;
            }
            rowInk = true;
            reds += r > 150 && gr < 60 && b < 60;
            blues += b > 150 && r < 60;
            greens += gr > 90 && r < 40 && b < 40;
        }
        inkRows += rowInk;
        bands += rowInk && !prevRowInk;
        prevRowInk = rowInk;
    }
    EXPECT_GT(reds, 20);
    EXPECT_GT(blues, 20);
    EXPECT_GT(greens, 20);
    EXPECT_GE(bands, 5);
}
