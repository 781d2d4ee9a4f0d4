#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "framework/audio/SoundManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

using namespace Zorvin;

namespace {

// Records what is loaded into it; files named in `failing` do not load.
class RecordingSoundManager : public SoundManager {
public:
    bool IsReady() override { return true; }
    int LoadSampleByName(const std::string&) override { return -1; }
    bool LoadSample(int id, const std::string& name) override
    {
        if (failing.count(name))
            return false;
        loads.push_back(std::to_string(id) + ":" + name);
        return true;
    }
    void ReleaseSample(int) override {}
    void SetMasterVolume(double) override {}
    void SetSampleVolume(int id, double volume) override { volumes.push_back(std::to_string(id) + ":" + std::to_string(volume)); }
    void SetSamplePan(int id, int pan) override { pans.push_back(std::to_string(id) + ":" + std::to_string(pan)); }
    SoundInstance* CreateInstance(int) override { return nullptr; }
    void ReleaseAllSamples() override {}
    void ReleaseAllInstances() override {}
    double GetSystemVolume() override { return 1; }
    void SetSystemVolume(double) override {}
    void Flush() override {}
    void SetWindow(void*) override {}
    void StopAll() override {}

    std::set<std::string> failing;
    std::vector<std::string> loads, volumes, pans;
};

class ResourceLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldDir = std::filesystem::current_path();
        dir = std::filesystem::temp_directory_path()
            / ("resources_" + std::to_string(::getpid()) + "_"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir / "images");
        std::filesystem::current_path(dir);
    }
    void TearDown() override
    {
        manager.reset();
        std::filesystem::current_path(oldDir);
        std::filesystem::remove_all(dir);
    }

    // A w x h PNG whose pixel (x, y) is pixel(x, y).
    static void Png(const std::string& path, int w, int h, uint32_t (*pixel)(int, int))
    {
        MemoryImage image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.SetPixel(x, y, pixel(x, y));
        ASSERT_TRUE(PngWriter::Write(image, path));
    }

    ResourceManager& Parse(const std::string& body)
    {
        manager = std::make_unique<ResourceManager>(&host);
        std::string text = "<ResourceManifest>" + body + "</ResourceManifest>";
        EXPECT_TRUE(manager->ParseManifestText("m.xml", text)) << manager->GetErrorText();
        return *manager;
    }

    MemoryImage* Image(const std::string& id) { return manager->GetImageOrThrow(id).Get(); }

    std::filesystem::path oldDir;
    std::filesystem::path dir;
    RecordingSoundManager sounds;
    FileResourceHost host{&sounds};
    std::unique_ptr<ResourceManager> manager;
};

uint32_t Red(int, int) { return 0xFFFF0000; }
uint32_t Gradient(int x, int y) { return 0xFF000000 | (x * 16) << 8 | y * 16; }

} // namespace

TEST_F(ResourceLoadingTest, GroupsLoadStepByStepInIdentifierOrder)
{
    Png("images/a.png", 4, 4, Red);
    auto& rm = Parse("<Resources id=\"One\"><SetDefaults path=\"images\" idprefix=\"IMAGE_\"/>"
                     "<Image id=\"TYP2\" path=\"a.png\"/><Image id=\"TYP10\" path=\"a.png\"/>"
                     "<Image id=\"B\" path=\"a.png\" variant=\"v\"/><Image id=\"PROG\" path=\"!program\"/>"
                     "<Sound id=\"S2\" path=\"s\\two\" volume=\"0.5\"/><Sound id=\"S1\" path=\"s/one.ogg\" pan=\"-20\"/>"
                     "</Resources><Resources id=\"Two\"><Sound id=\"S0\" path=\"zero\"/></Resources>");
    EXPECT_EQ(rm.GetNumResources("One"), 5);

    rm.StartLoadResources("One");
    int steps = 0;
    while (rm.LoadNextResource())
        ++steps;
    EXPECT_EQ(steps, 5);
    EXPECT_FALSE(rm.HadError()) << rm.GetErrorText();
    // Sounds in byte order of their identifiers, numbered as they load; the
    // group "Two" is left alone; paths reach the loader with "/".
    EXPECT_EQ(sounds.loads, (std::vector<std::string>{"0:images/s/one.ogg", "1:images/s/two"}));
    EXPECT_EQ(sounds.pans, std::vector<std::string>{"0:-20"});
    EXPECT_EQ(sounds.volumes, std::vector<std::string>{"1:0.500000"});
    EXPECT_EQ(rm.GetSoundOrThrow("IMAGE_S2"), 1);

    // One file is one image, a variant another.
    EXPECT_EQ(Image("IMAGE_TYP2"), Image("IMAGE_TYP10"));
    EXPECT_NE(Image("IMAGE_B"), Image("IMAGE_TYP2"));
    EXPECT_EQ(host.GetSharedImages().GetCount(), 2);

    // Loading the group again loads nothing more and succeeds.
    ASSERT_TRUE(rm.LoadResources("One"));
    EXPECT_TRUE(rm.IsGroupLoaded("One"));
    EXPECT_EQ(sounds.loads.size(), 2u);
    EXPECT_THROW(rm.GetSoundOrThrow("IMAGE_S0"), ResourceManagerException);
}

TEST_F(ResourceLoadingTest, ImageOptionsReachTheImage)
{
    Png("images/strip.png", 8, 16, Gradient);
    auto& rm = Parse("<Resources id=g>"
                     "<Image id=A path=images/strip.png rows=4 anim=loop framedelay=3 a8r8g8b8 minsubdivide/>"
                     "<Image id=B path=images/strip.png variant=x nopal cols=2 anim=pingpong/>"
                     "<Image id=C path=images/strip.png variant=y nobits/>"
                     "</Resources>");
    ASSERT_TRUE(rm.LoadResources("g")) << rm.GetErrorText();
    MemoryImage* a = Image("A");
    EXPECT_EQ(a->numRows, 4);
    EXPECT_EQ(a->GetCelHeight(), 4);
    ASSERT_NE(a->animInfo, nullptr);
    EXPECT_EQ(a->animInfo->animType, AnimInfo::AnimLoop);
    EXPECT_EQ(a->animInfo->GetFrameCount(), 4);
    EXPECT_EQ(a->animInfo->totalAnimTime, 12);
    EXPECT_EQ(a->imageFlags, MemoryImage::FlagUse32BitTexture | MemoryImage::FlagMinimizeSubdivisions);
    EXPECT_TRUE(a->HasPalette()); // 128 colours fit a palette

    MemoryImage* b = Image("B");
    EXPECT_FALSE(b->HasPalette());
    EXPECT_EQ(b->numCols, 2);
    ASSERT_NE(b->animInfo, nullptr);
    EXPECT_EQ(b->animInfo->frameMap, (std::vector<int>{0, 1}));

    // Dropping the pixels after palletising keeps the picture drawable.
    MemoryImage* c = Image("C");
    EXPECT_TRUE(c->purgeBits);
    EXPECT_EQ(c->GetPixel(3, 5), Gradient(3, 5));
}

TEST_F(ResourceLoadingTest, AlphaImagesAndAlphaGrids)
{
    Png("images/tile.png", 4, 2, Red);
    Png("images/tile_a.png", 4, 2, [](int x, int) -> uint32_t { return 0xFF000000 | (x * 60); });
    Png("images/cells.png", 4, 4, Red);
    Png("images/cell.png", 2, 2, [](int x, int y) -> uint32_t { return 0xFF000000 | (x * 100 + y * 10); });
    Png("images/small.png", 2, 1, Red);
    auto& rm = Parse("<Resources id=g><SetDefaults path=images/>"
                     "<Image id=T path=tile.png alphaimage=tile_a.png/>"
                     "<Image id=G path=cells.png rows=2 cols=2 alphagrid=cell.png/>"
                     "</Resources>"
                     "<Resources id=bad1><Image id=X path=tile.png variant=2 alphaimage=small.png/></Resources>"
                     "<Resources id=bad2><Image id=Y path=cells.png variant=2 alphagrid=tile.png/></Resources>"
                     "<Resources id=bad3><Image id=Z path=cells.png variant=3 alphagrid=none.png/></Resources>");
    ASSERT_TRUE(rm.LoadResources("g")) << rm.GetErrorText();
    MemoryImage* t = Image("T");
    EXPECT_EQ(t->GetPixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(t->GetPixel(3, 1), 0xB4FF0000u);
    MemoryImage* g = Image("G");
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(g->GetPixel(x, y) >> 24, static_cast<uint32_t>((x % 2) * 100 + (y % 2) * 10)) << x << "," << y;

    EXPECT_FALSE(rm.LoadResources("bad1"));
    EXPECT_EQ(rm.GetErrorText(), "AlphaImage size mismatch between images/tile.png and images/small.png");
    // Once the alpha image fits, a retry finishes the image that is already
    // in the shared table.
    Png("images/small.png", 4, 2, [](int, int) -> uint32_t { return 0xFF000010; });
    EXPECT_TRUE(rm.LoadResources("bad1")) << rm.GetErrorText();
    EXPECT_EQ(Image("X")->GetPixel(1, 1), 0x10FF0000u);
    EXPECT_FALSE(rm.LoadResources("bad2"));
    EXPECT_EQ(rm.GetErrorText(), "GridAlphaImage size mismatch between images/cells.png and images/tile.png");
    EXPECT_FALSE(rm.LoadResources("bad3"));
    EXPECT_EQ(rm.GetErrorText(), "Failed to load image: images/none.png");
}

TEST_F(ResourceLoadingTest, FailuresKeepTheFirstErrorAndRetryTheRest)
{
    Png("images/ok.png", 2, 2, Red);
    sounds.failing = {"sounds/b"};
    auto& rm = Parse("<Resources id=g><Image id=A path=images/ok.png/><Image id=B path=images/missing.png/>"
                     "<Image id=C path=images/ok.png variant=c/><Sound id=S path=sounds/b/></Resources>");
    EXPECT_FALSE(rm.LoadResources("g"));
    EXPECT_FALSE(rm.IsGroupLoaded("g"));
    EXPECT_EQ(rm.GetErrorText(), "Failed to load image: images/missing.png");
    // What loaded before the failure stays loaded; nothing after it loaded.
    EXPECT_NE(Image("A"), nullptr);
    try {
        rm.GetImageOrThrow("C");
        FAIL() << "C was never loaded";
    } catch (const ResourceManagerException& e) {
        EXPECT_STREQ(e.what(), "Failed to load image: images/missing.png"); // the first error
    }
    EXPECT_THROW(rm.GetImageOrThrow("B"), ResourceManagerException);

    // The file appears: loading again retries only what is missing, and now
    // stops at the sound.
    Png("images/missing.png", 2, 2, Red);
    EXPECT_FALSE(rm.LoadResources("g"));
    EXPECT_EQ(rm.GetErrorText(), "Failed to load sound: sounds/b");
    EXPECT_NE(Image("C"), nullptr);
    sounds.failing.clear();
    EXPECT_TRUE(rm.LoadResources("g"));
    EXPECT_EQ(rm.GetSoundOrThrow("S"), 0);
}

TEST_F(ResourceLoadingTest, LookupsDeletingAndProgramResources)
{
    Png("images/ok.png", 2, 2, Red);
    auto& rm = Parse("<Resources id=g><Image id=A path=images/ok.png/><Image id=P path=!program/>"
                     "<Sound id=P path=!program/></Resources>");
    ASSERT_TRUE(rm.LoadResources("g"));
    try {
        rm.GetImageOrThrow("NOPE");
        FAIL();
    } catch (const ResourceManagerException& e) {
        EXPECT_STREQ(e.what(), "Image resource not found: NOPE");
    }
    EXPECT_THROW(rm.GetFontOrThrow("A"), ResourceManagerException);
    EXPECT_EQ(rm.GetErrorText(), "Image resource not found: NOPE");
    EXPECT_THROW(rm.GetImageOrThrow("P"), ResourceManagerException);
    rm.allowMissingProgramResources = true;
    EXPECT_FALSE(rm.GetImageOrThrow("P"));
    EXPECT_EQ(rm.GetSoundOrThrow("P"), -1);

    ASSERT_NE(Image("A"), nullptr);
    rm.DeleteResources("g");
    EXPECT_FALSE(rm.IsGroupLoaded("g"));
    EXPECT_THROW(rm.GetImageOrThrow("A"), ResourceManagerException);
    // The image is freed by the next clean-up pass, not while it may be drawn.
    EXPECT_EQ(host.GetSharedImages().GetCount(), 1);
    EXPECT_EQ(host.GetSharedImages().CleanUp(), 1);
    EXPECT_TRUE(rm.LoadResources("g"));
    EXPECT_NE(Image("A"), nullptr);
}

TEST(SharedImageTable, ReferencesKeepImagesUntilTheCleanUp)
{
    SharedImageTable table;
    int loads = 0;
    auto load = [&loads](const std::string& file) -> std::unique_ptr<MemoryImage> {
        ++loads;
        return file == "none" ? nullptr : std::make_unique<MemoryImage>(2, 2);
    };
    bool created = false;
    SharedImageRef a = table.Get("f", "", created, load);
    EXPECT_TRUE(created);
    SharedImageRef b = table.Get("f", "", created, load);
    EXPECT_FALSE(created);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_FALSE(table.Get("none", "", created, load));
    EXPECT_FALSE(created);
    EXPECT_EQ(loads, 2);

    SharedImageRef c = a; // copies count too
    a.Release();
    b = SharedImageRef();
    EXPECT_EQ(table.CleanUp(), 0);
    EXPECT_NE(c.Get(), nullptr);
    c.Release();
    EXPECT_EQ(table.CleanUp(), 1);
    EXPECT_EQ(table.GetCount(), 0);
}

TEST_F(ResourceLoadingTest, FontsFromDescriptorsImagesAndReferences)
{
    Png("images/sheet.png", 8, 4, Red);
    std::filesystem::create_directories("fonts");
    const char* glyphs = "LayerSetImageMap Main ('A' 'B') ((0 0 2 4) (2 0 3 4));\n"
                         "LayerSetCharWidths Main ('A' 'B') (3 4);\nLayerSetAscent Main 4;\n";
    std::ofstream("fonts/main.txt") << "CreateLayer Main;\nLayerSetImage Main '../images/sheet.png';\n" << glyphs
                                    << "CreateLayerFrom Bold Main;\nLayerRequireTags Bold ('bold');\n";
    std::ofstream("fonts/bare.txt") << "CreateLayer Main;\n" << glyphs;
    std::ofstream("fonts/broken.txt") << "CreateLayer Main;\nLayerSetAscent;\n";
    auto& rm = Parse("<Resources id=g>"
                     "<Font id=FONT_A path=fonts/main.txt tags=\"bold, x\"/>"
                     "<Font id=FONT_B path=!ref:FONT_A/>"
                     "<Font id=FONT_C path=fonts/bare.txt image=images/sheet.png/>"
                     "<Font id=FONT_D path=!ref:FONT_C/>"
                     "</Resources>"
                     "<Resources id=later><Font id=FONT_0 path=!ref:FONT_Z/><Font id=FONT_Z path=fonts/main.txt/></Resources>"
                     "<Resources id=broken><Font id=FONT_E path=fonts/broken.txt/></Resources>"
                     "<Resources id=noimage><Font id=FONT_F path=fonts/bare.txt image=images/none.png/></Resources>");
    ASSERT_TRUE(rm.LoadResources("g")) << rm.GetErrorText();
    Font* a = rm.GetFontOrThrow("FONT_A");
    EXPECT_EQ(a->StringWidth("AB"), 7);
    EXPECT_EQ(rm.FindFont("FONT_A"), a);
    Font* b = rm.GetFontOrThrow("FONT_B");
    EXPECT_NE(b, a);
    EXPECT_EQ(b->StringWidth("BA"), 7);
    EXPECT_EQ(rm.GetFontOrThrow("FONT_C")->StringWidth("A"), 3);
    // The duplicate keeps drawing from the glyph image after its original goes.
    auto& fonts = const_cast<ResourceManager::ResMap&>(rm.GetFontMap());
    fonts.at("FONT_C")->DeleteResource();
    EXPECT_EQ(rm.FindFont("FONT_C"), nullptr);
    EXPECT_EQ(rm.GetFontOrThrow("FONT_D")->StringWidth("B"), 4);

    // References resolve in identifier order: FONT_0 loads before FONT_Z.
    EXPECT_FALSE(rm.LoadResources("later"));
    EXPECT_EQ(rm.GetErrorText(), "Ref font not found: FONT_Z");
    EXPECT_FALSE(rm.LoadResources("broken"));
    EXPECT_EQ(rm.GetErrorText(), "Failed to load font: fonts/broken.txt");
    EXPECT_FALSE(rm.LoadResources("noimage"));
    EXPECT_EQ(rm.GetErrorText(), "Failed to load image: images/none.png");
}
