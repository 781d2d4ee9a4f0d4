#include "framework/font/FontData.h"

#include "framework/font/FontHost.h"
#include "framework/graphics/MemoryImage.h"

#include "tests/framework/font/FontTestFonts.h"
#include "tests/framework/graphics/imagefile/ImageTestFiles.h"

#include <gtest/gtest.h>
#include <png.h>

using namespace Zorvin;

namespace {

// Loads images from memory by name and records every error shown.
class TestHost : public FontHost {
public:
    std::unique_ptr<MemoryImage> LoadFontImage(const std::string& path) override
    {
        requested.push_back(path);
        if (path.size() >= 9 && path.compare(path.size() - 9, 9, "sheet.png") == 0)
            return FontTestFonts::MakeBlockSheet();
        return nullptr;
    }
    void ReportFontError(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> requested;
    std::vector<std::string> errors;
};

const char* const kHeader = "CreateLayer Main;\nLayerSetImage Main 'sheet.png';\n";

std::string ErrorOf(const std::string& text)
{
    TestHost host;
    FontData data(&host);
    EXPECT_FALSE(data.LoadText(text, "fonts/test.txt"));
    EXPECT_FALSE(data.IsLoaded());
    EXPECT_EQ(host.errors.size(), 1u);
    return host.errors.empty() ? "" : host.errors[0];
}

} // namespace

TEST(FontData, LoadsEveryLayerCommand)
{
    TestHost host;
    FontData data(&host);
    const std::string text = std::string(kHeader) +
        "# glyphs\n"
        "SetDefaultPointSize 12;\n"
        "Define Letters ('A' 'B');\n"
        "CreateHorzSpanRectList Boxes (0 0 8 6) (4 4);\n"
        "LayerSetImageMap Main Letters Boxes;\n"
        "LayerSetCharWidths Main Letters (5 6);\n"
        "LayerSetCharOffsets Main ('B') ((1 -2));\n"
        "LayerSetKerningPairs Main ('AB' 'BA' 'AA') (-2 3 -300);\n"
        "LayerSetCharOrders Main Letters (1 -1);\n"
        "LayerSetBaseOrder Main 4;\n"
        "LayerSetColorMult Main (255 128 0);\n"
        "LayerSetColorAdd Main (1 2 3 4);\n"
        "LayerSetAscent Main 6; LayerSetAscentPadding Main 1; LayerSetLineSpacingOffset Main -1;\n"
        "LayerSetOffset Main (2 3); LayerSetSpacing Main 1; LayerSetDrawMode Main 1;\n"
        "LayerSetPointSize Main 12; LayerPointRange Main 8 16;\n"
        "LayerRequireTags Main ('bold'); LayerExcludeTags Main ('Small' 'tiny');\n"
        "SetCharMap ('a' 'b') ('A' 'B');\n"
        "CreateLayerFrom Shadow Main;\n"
        "layersetoffset shadow (1 1);\n";
    ASSERT_TRUE(data.LoadText(text, "fonts/test.txt")) << data.GetErrorText();
    EXPECT_TRUE(host.errors.empty());
    // The glyph image is looked up beside the descriptor first.
    EXPECT_EQ(host.requested, std::vector<std::string>{"fonts/sheet.png"});

    ASSERT_EQ(data.layers.size(), 2u);
    const FontLayer& m = *data.layers[0];
    EXPECT_EQ(data.defaultPointSize, 12);
    EXPECT_EQ(m.chars['A'].imageRect, Rect(0, 0, 4, 6));
    EXPECT_EQ(m.chars['B'].imageRect, Rect(4, 0, 4, 6));
    EXPECT_EQ(m.chars['A'].width, 5);
    EXPECT_EQ(m.chars['B'].width, 6);
    EXPECT_EQ(m.chars['B'].offset, Point(1, -2));
    EXPECT_EQ(m.chars['A'].kerningOffsets['B'], -2);
    EXPECT_EQ(m.chars['B'].kerningOffsets['A'], 3);
    EXPECT_EQ(m.chars['A'].kerningOffsets['A'], -128); // kept within a signed byte
    EXPECT_EQ(m.chars['A'].order, 1);
    EXPECT_EQ(m.chars['B'].order, -1);
    EXPECT_EQ(m.baseOrder, 4);
    EXPECT_EQ(m.colorMult, Color(255, 128, 0, 255));
    EXPECT_EQ(m.colorAdd, Color(1, 2, 3, 4));
    EXPECT_EQ(m.ascent, 6);
    EXPECT_EQ(m.ascentPadding, 1);
    EXPECT_EQ(m.lineSpacingOffset, -1);
    EXPECT_EQ(m.offset, Point(2, 3));
    EXPECT_EQ(m.spacing, 1);
    EXPECT_EQ(m.drawMode, 1);
    EXPECT_EQ(m.pointSize, 12);
    EXPECT_EQ(m.minPointSize, 8);
    EXPECT_EQ(m.maxPointSize, 16);
    EXPECT_EQ(m.requiredTags, std::vector<std::string>{"BOLD"});
    EXPECT_EQ(m.excludedTags, (std::vector<std::string>{"SMALL", "TINY"}));
    EXPECT_EQ(data.charMap['a'], 'A');
    EXPECT_EQ(data.charMap['c'], 'c');
    // A copied layer has everything of its source, names are not case-bound.
    const FontLayer& s = *data.layers[1];
    EXPECT_EQ(s.name, "Shadow");
    EXPECT_EQ(s.chars['B'].imageRect, m.chars['B'].imageRect);
    EXPECT_EQ(s.image, m.image);
    EXPECT_EQ(s.offset, Point(1, 1));
    EXPECT_EQ(data.FindLayer("SHADOW"), &s);
}

TEST(FontData, EveryCommandErrorStopsLoadingWithTheFullReport)
{
    EXPECT_EQ(ErrorOf("CreateLayer Main;\nCreateLayer main;\nCreateLayer Other;"),
              "Font Descriptor Error in fonts/test.txt\r\nLayer Already Exists on Line 2:\r\n\r\nCreateLayer main");
    EXPECT_EQ(ErrorOf("Frobnicate 1;"),
              "Font Descriptor Error in fonts/test.txt\r\nUnknown Command on Line 1:\r\n\r\nFrobnicate 1");
    auto msg = [](const std::string& text) {
        std::string e = ErrorOf(text);
        size_t start = e.find("\r\n") + 2;
        return e.substr(start, e.find(" on Line") - start);
    };
    const std::string h = kHeader;
    EXPECT_EQ(msg("CreateLayer;"), "Invalid Number of Parameters");
    EXPECT_EQ(msg(h + "LayerSetAscent Main 1 2;"), "Invalid Number of Parameters");
    EXPECT_EQ(msg("LayerSetAscent Nowhere 1;"), "Undefined Layer");
    EXPECT_EQ(msg("CreateLayerFrom New Nowhere;"), "Undefined Layer");
    EXPECT_EQ(msg("CreateLayer Main; LayerSetImage Main 'missing.png';"), "Failed to Load Image");
    EXPECT_EQ(msg("CreateLayer Main; LayerSetImageMap Main ('A') ((0 0 1 1));"), "Layer image not set");
    EXPECT_EQ(msg(h + "LayerSetImageMap Main ('A') ((60 0 5 1));"), "Image rectangle out of bounds");
    EXPECT_EQ(msg(h + "LayerSetImageMap Main ('A') ((0 -1 5 1));"), "Image rectangle out of bounds");
    EXPECT_EQ(msg(h + "LayerSetImageMap Main ('A') ((1 0 2147483647 1));"), "Image rectangle out of bounds");
    EXPECT_EQ(msg(h + "LayerSetImageMap Main ('A' 'B') ((0 0 1 1));"), "List Size Mismatch");
    EXPECT_EQ(msg(h + "LayerSetCharWidths Main ('A' 'B') (1 2 3);"), "List Size Mismatch");
    EXPECT_EQ(msg(h + "LayerSetCharOrders Main ('A') ();"), "List Size Mismatch");
    EXPECT_EQ(msg(h + "LayerSetCharOffsets Main ('A') ((1 1) (2 2));"), "List Size Mismatch");
    EXPECT_EQ(msg(h + "LayerSetKerningPairs Main ('AB') (1 2);"), "List Size Mismatch");
    EXPECT_EQ(msg("SetCharMap ('a' 'b') ('A');"), "List Size Mismatch");
    EXPECT_EQ(msg(h + "LayerSetKerningPairs Main ('ABC') (1);"), "Invalid Paramater Type");
    EXPECT_EQ(msg(h + "LayerSetCharWidths Main 'A' (1);"), "Invalid Paramater Type");
    EXPECT_EQ(msg(h + "LayerSetAscent Main (1);"), "Invalid Paramater Type");
    EXPECT_EQ(msg(h + "LayerSetColorMult Main (1 2);"), "Invalid Paramater Type");
    EXPECT_EQ(msg(h + "LayerSetOffset Main (1 2 3);"), "Invalid Paramater Type");
    EXPECT_EQ(msg(h + "LayerSetImageMap Main ('A') ((0 0 1));"), "Invalid Paramater Type");
    EXPECT_EQ(msg("CreateHorzSpanRectList R (0 0 1) (1);"), "Invalid Paramater Type");
    EXPECT_EQ(msg(h + "LayerSetCharWidths Main Undefined (1);"), "Unable to Dereference \"Undefined\"");
}

TEST(FontData, UsesAGivenFontImageAndFilesOnDisk)
{
    auto sheet = FontTestFonts::MakeBlockSheet();
    FontData withImage;
    ASSERT_TRUE(withImage.LoadText("CreateLayer Main; LayerSetImageMap Main ('A') ((0 0 4 6));", "x.txt",
                                   sheet.get()))
        << withImage.GetErrorText();
    EXPECT_EQ(withImage.layers[0]->image, sheet.get());

    // A real descriptor and glyph image in a folder, read from disk.
    ImageTestFiles::TempDir dir;
    ImageTestFiles::WriteFile(dir.Path("f/glyphs.png"),
                              ImageTestFiles::MakePng(2, 2, {0xFFFFFFFF, 0, 0, 0xFFFFFFFF}, PNG_COLOR_TYPE_RGBA));
    const std::string desc = "CreateLayer Main;\nLayerSetImage Main 'glyphs.png';\nLayerSetImageMap Main ('x') ((0 0 2 2));";
    ImageTestFiles::WriteFile(dir.Path("f/font.txt"), ImageTestFiles::Bytes(desc.begin(), desc.end()));
    FontData fromDisk;
    ASSERT_TRUE(fromDisk.Load(dir.Path("f/font.txt"))) << fromDisk.GetErrorText();
    ASSERT_NE(fromDisk.layers[0]->image, nullptr);
    EXPECT_EQ(fromDisk.layers[0]->image->GetWidth(), 2);

    FontData missing;
    EXPECT_FALSE(missing.Load(dir.Path("f/none.txt")));
    EXPECT_EQ(missing.GetErrorText().rfind("Font Descriptor Error in " + dir.Path("f/none.txt") + "\r\n", 0), 0u);
}
