#include "framework/resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Zorvin;

namespace {

// Writes manifests into a private temporary folder, removed afterwards.
class ManifestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path()
            / ("manifest_" + std::to_string(::getpid()) + "_"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& text)
    {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Parses a manifest and returns the error text ("" when it succeeded).
    std::string ParseError(const std::string& text)
    {
        std::string path = Write("m.xml", text);
        bool ok = rm->ParseManifest(path);
        EXPECT_EQ(ok, !rm->HadError());
        return ok ? "" : rm->GetErrorText();
    }

    void Fresh() { rm = std::make_unique<ResourceManager>(); }

    std::string File() const { return (dir / "m.xml").string(); }

    const ResourceManager::ImageRes& Image(const std::string& id)
    {
        return static_cast<const ResourceManager::ImageRes&>(*rm->GetImageMap().at(id));
    }

    std::filesystem::path dir;
    std::unique_ptr<ResourceManager> rm = std::make_unique<ResourceManager>();
};

} // namespace

TEST_F(ManifestTest, DefaultsBuildPathsAndIdentifiers)
{
    ASSERT_EQ(ParseError("<ResourceManifest>\n"
                         " <Resources id=\"Init\">\n"
                         "  <SetDefaults path=\"images\\\" idprefix=\"IMAGE_\"/>\n"
                         "  <Image path=\"title.png\"/>\n"
                         "  <Image id=\"BAR\" path=\"sub/loader.bar.jpg\"/>\n"
                         "  <Image path=\"!program\"/>\n"
                         "  <Sound path=\"!abs/click.ogg\"/>\n"
                         " </Resources>\n"
                         " <Resources id=\"Game\">\n"
                         "  <Image path=\"x\\y\\other.png\"/>\n" // defaults carry over into the next group
                         "  <SetDefaults path=\"\" idprefix=\"SOUND_/\"/>\n"
                         "  <Sound path=\"sounds/put.ogg\" id=\"PUT\"/>\n"
                         "  <Font path=\"fonts/main.txt\"/>\n"
                         " </Resources>\n"
                         "</ResourceManifest>\n"),
              "");
    const auto& images = rm->GetImageMap();
    ASSERT_EQ(images.size(), 4u) << "ids: " << images.begin()->first;
    EXPECT_EQ(images.at("IMAGE_title")->path, "images/title.png");
    EXPECT_EQ(images.at("IMAGE_title")->group, "Init");
    EXPECT_EQ(images.at("IMAGE_BAR")->path, "images/sub/loader.bar.jpg");
    EXPECT_TRUE(images.at("IMAGE_!program")->fromProgram);
    EXPECT_EQ(images.at("IMAGE_!program")->path, "!program");
    EXPECT_EQ(images.at("IMAGE_other")->group, "Game");
    EXPECT_EQ(images.at("IMAGE_other")->path, "images/x\\y\\other.png");
    EXPECT_EQ(rm->GetSoundMap().at("IMAGE_click")->path, "!abs/click.ogg");
    // An empty default path means no prefix at all.
    EXPECT_EQ(rm->GetSoundMap().at("SOUND_PUT")->path, "sounds/put.ogg");
    EXPECT_EQ(rm->GetFontMap().at("SOUND_main")->path, "fonts/main.txt");

    EXPECT_EQ(rm->GetNumResources("Init"), 3); // the "!program" image is not loaded from a file
    EXPECT_EQ(rm->GetNumResources("Game"), 3);
    EXPECT_EQ(rm->GetNumResources(""), 7);
    EXPECT_EQ(rm->GetNumResources("Other"), 0);
}

TEST_F(ManifestTest, ImageSoundAndFontAttributes)
{
    ASSERT_EQ(ParseError("<ResourceManifest><Resources id=g>"
                         "<Image id=A path=a.png nopal a4r4g4b4 minsubdivide ddsurface nobits noalpha alphacolor=ff00Ff "
                         "variant=\"v 2\" rows=4 cols=0 alphaimage=a_.png alphagrid=grid.png/>"
                         "<Image id=B path=b.png rows=\"4\" anim=LoOp framedelay=5 begindelay=2 enddelay=3 "
                         "perframedelay=\"1,x,3\" framemap=\"3,2,,1\"/>"
                         "<Image id=C path=c.png anim=none framedelay=9 nobits3d/>"
                         "<Sound id=S path=s.ogg volume=0.25 pan=-300/>"
                         "<Sound id=T path=t.ogg volume=loud/>"
                         "<Font id=F path=f.txt image=\"fonts/f.png\" tags=\"a, b\tc\"/>"
                         "</Resources></ResourceManifest>"),
              "");
    const auto& a = Image("A");
    EXPECT_FALSE(a.palletize);
    EXPECT_TRUE(a.a4r4g4b4 && a.minsubdivide && a.ddsurface && a.purgeBits);
    EXPECT_FALSE(a.a8r8g8b8);
    EXPECT_FALSE(a.findAlpha);
    EXPECT_EQ(a.alphaColor, 0xFF00FFu);
    EXPECT_EQ(a.variant, "v 2");
    EXPECT_EQ(a.rows, 4);
    EXPECT_EQ(a.cols, 1); // a grid needs at least one column
    EXPECT_EQ(a.alphaImage, "a_.png");
    EXPECT_EQ(a.alphaGrid, "grid.png");
    EXPECT_EQ(a.anim.type, 0);
    EXPECT_EQ(a.attributes.at("variant"), "v 2");

    const auto& b = Image("B");
    EXPECT_TRUE(b.palletize);
    EXPECT_TRUE(b.findAlpha);
    EXPECT_EQ(b.alphaColor, 0xFFFFFFu);
    EXPECT_EQ(b.anim.type, 3);
    EXPECT_EQ(b.anim.frameDelay, 5);
    EXPECT_EQ(b.anim.beginDelay, 2);
    EXPECT_EQ(b.anim.endDelay, 3);
    EXPECT_EQ(b.anim.perFrameDelays, (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(b.anim.frameMap, (std::vector<int>{3, 2, 0, 1}));

    const auto& c = Image("C");
    EXPECT_EQ(c.anim.type, 0);
    EXPECT_EQ(c.anim.frameDelay, 1); // not read without an animation
    EXPECT_FALSE(c.purgeBits);       // "nobits3d" only counts with 3D on

    const auto& s = static_cast<const ResourceManager::SoundRes&>(*rm->GetSoundMap().at("S"));
    EXPECT_DOUBLE_EQ(s.volume, 0.25);
    EXPECT_EQ(s.pan, -300);
    EXPECT_EQ(s.soundId, -1);
    EXPECT_DOUBLE_EQ(static_cast<const ResourceManager::SoundRes&>(*rm->GetSoundMap().at("T")).volume, -1);
    const auto& f = static_cast<const ResourceManager::FontRes&>(*rm->GetFontMap().at("F"));
    EXPECT_EQ(f.imagePath, "fonts/f.png");
    EXPECT_EQ(f.tags, "a, b\tc");
}

TEST_F(ManifestTest, StructureErrorsCarryLineAndFile)
{
    auto in = [&](int line) { return " on Line " + std::to_string(line) + " in File '" + File() + "'"; };

    EXPECT_EQ(ParseError("<?xml version=\"1.0\"?>\n<Manifest/>"), "Expecting ResourceManifest tag" + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<!-- nothing here -->\n"), "Expecting ResourceManifest tag" + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest>\n<Group id=a/>"), "Invalid Section 'Group'" + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest>\nstray words<Resources id=a/>"), "Element Not Expected 'stray words'" + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest>\n<Resources>\n</Resources>"), "No id specified." + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n\n<Picture path=p/>"), "Invalid Section 'Picture'" + in(3));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Image path=p><Sound path=q/></Image>"),
              "Unexpected element found." + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Image path=p>text</Image>"),
              "Unexpected element found." + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Image id=x/>"), "No path specified." + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Sound id=x path=\"\"/>"), "No path specified." + in(2));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Image path=p anim=bounce/>"),
              "Invalid animation type." + in(2));
    // A reader error becomes the manager's error, with its line.
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n\n</Image>"),
              "End 'Image' Doesn't Match Start 'Resources'" + in(3));
    // A manifest cut off inside a group is an error, not a shorter manifest.
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Image path=p/>\n"), "Unexpected End of File" + in(3));
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n<Image path=p>"), "Unexpected End of File" + in(2));

    Fresh();
    EXPECT_FALSE(rm->ParseManifest((dir / "missing.xml").string()));
    EXPECT_EQ(rm->GetErrorText(), "Resource file not found: " + (dir / "missing.xml").string());
    // A folder is not an empty manifest.
    Fresh();
    std::filesystem::create_directory(dir / "folder.xml");
    EXPECT_FALSE(rm->ParseManifest((dir / "folder.xml").string()));
    EXPECT_EQ(rm->GetErrorText(), "Resource file not found: " + (dir / "folder.xml").string());
}

TEST_F(ManifestTest, NumbersThatWouldOverflowAreRefused)
{
    auto in = " on Line 2 in File '" + File() + "'";
    auto image = [&](const std::string& attrs) {
        Fresh();
        return ParseError("<ResourceManifest><Resources id=a>\n<Image path=p " + attrs + "/></Resources></ResourceManifest>");
    };
    EXPECT_EQ(image("rows=100000 cols=100000"), "Attribute 'rows' out of range (1 to 1024)." + in);
    EXPECT_EQ(image("cols=99999999999"), "Attribute 'cols' out of range (1 to 1024)." + in);
    EXPECT_EQ(image("rows=1024 anim=loop framedelay=50000"), "");
    EXPECT_EQ(image("anim=once framedelay=2147483647"), "Attribute 'framedelay' out of range (0 to 100000)." + in);
    EXPECT_EQ(image("anim=once enddelay=100001"), "Attribute 'enddelay' out of range (0 to 100000)." + in);
    EXPECT_EQ(image("anim=loop perframedelay=\"1,2147483647\""),
              "Attribute 'perframedelay' out of range (0 to 100000)." + in);
    std::string longMap = "0";
    for (int i = 0; i < 4096; ++i)
        longMap += ",1";
    EXPECT_EQ(image("anim=loop framemap=\"" + longMap + "\""), "Too many entries in 'framemap' (at most 4096)." + in);
}

TEST_F(ManifestTest, DuplicatesWithinAKindAndTheFirstErrorStays)
{
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n"
                         "<Image id=X path=p/><Sound id=X path=q/><Font id=X path=r/>\n"
                         "<Resources id=b><Image id=X path=p2/>\n"
                         "</Resources></ResourceManifest>"),
              "Invalid Section 'Resources' on Line 3 in File '" + File() + "'");
    Fresh();
    EXPECT_EQ(ParseError("<ResourceManifest><Resources id=a>\n"
                         "<Image id=X path=p/><Sound id=X path=q/><Font id=X path=r/>\n"
                         "</Resources><Resources id=b>\n<Image id=X path=p2/>\n"
                         "</Resources></ResourceManifest>"),
              "Resource already defined. on Line 4 in File '" + File() + "'");
    // The first definition stays untouched; a later error does not replace
    // the recorded one.
    EXPECT_EQ(rm->GetImageMap().at("X")->path, "p");
    EXPECT_EQ(rm->GetSoundMap().count("X"), 1u);
    EXPECT_EQ(rm->GetFontMap().count("X"), 1u);
    EXPECT_FALSE(rm->ParseManifest((dir / "missing.xml").string()));
    EXPECT_EQ(rm->GetErrorText(), "Resource already defined. on Line 4 in File '" + File() + "'");
}
