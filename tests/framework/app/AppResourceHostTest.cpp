#include "tests/framework/app/AppTestSupport.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class AppHostFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.SetWindowSystem(&window);
        app.SetPresenter(&presenter);
        app.SetSystemServices(&services);
        app.Initialize();
        app.running = true;
        MemoryImage image(3, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                image.SetPixel(x, y, 0xFF102030 + static_cast<uint32_t>(x + 10 * y));
        ASSERT_TRUE(PngWriter::Write(image, folder.File("pic.png")));
    }

    FakeClock clock;
    FakeWindowSystem window;
    FakePresenter presenter;
    FakeServices services;
    TempFolder folder;
    TestApp app{&clock};
};

} // namespace

TEST_F(AppHostFixture, DisplayImagesAreOwnCopiesCarryingTheirFlags)
{
    std::unique_ptr<MemoryImage> a = app.LoadDisplayImage(folder.File("pic.png"), 8);
    std::unique_ptr<MemoryImage> b = app.LoadDisplayImage(folder.File("pic.png"), 0);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->GetWidth(), 3);
    EXPECT_EQ(a->GetHeight(), 2);
    EXPECT_EQ(a->GetPixel(2, 1), 0xFF102030u + 12);
    EXPECT_EQ(a->imageFlags, 8);
    EXPECT_EQ(b->imageFlags, 0);
    EXPECT_EQ(app.LoadDisplayImage(folder.File("missing.png"), 0), nullptr);
}

TEST_F(AppHostFixture, SharedImagesAreFreedByTheUpdateAfterTheLastReferenceGoes)
{
    bool created = false;
    SharedImageRef first = app.GetSharedImage(folder.File("pic.png"), "", created);
    ASSERT_TRUE(first);
    EXPECT_TRUE(created);
    SharedImageRef again = app.GetSharedImage(folder.File("pic.png"), "", created);
    EXPECT_FALSE(created);
    EXPECT_EQ(again.Get(), first.Get());
    SharedImageRef variant = app.GetSharedImage(folder.File("pic.png"), "v", created);
    EXPECT_TRUE(created);
    EXPECT_NE(variant.Get(), first.Get());
    EXPECT_FALSE(app.GetSharedImage(folder.File("missing.png"), "", created));
    EXPECT_FALSE(created);
    EXPECT_EQ(app.GetSharedImages().GetCount(), 2);

    // Dropping references frees nothing until an update runs, and then only
    // the images nobody holds.
    first.Release();
    variant.Release();
    EXPECT_EQ(app.GetSharedImages().GetCount(), 2);
    app.UpdateFrame();
    EXPECT_EQ(app.GetSharedImages().GetCount(), 1);
    EXPECT_EQ(again->GetWidth(), 3);
    again.Release();
    app.RunFor(clock, 30);
    EXPECT_EQ(app.GetSharedImages().GetCount(), 0);
}

TEST_F(AppHostFixture, ResourceManagerLoadsImagesAndFontsThroughTheApplication)
{
    {
        std::ofstream(folder.File("font.txt")) << "NoSuchCommand;\n";
    }
    ResourceManager* rm = app.GetResourceManager();
    ASSERT_NE(rm, nullptr);
    std::string manifest = "<ResourceManifest><Resources id=\"g\">"
                           "<Image id=\"IMAGE_PIC\" path=\"" + folder.File("pic.png") + "\"/>"
                           "<Font id=\"FONT_BAD\" path=\"" + folder.File("font.txt") + "\"/>"
                           "</Resources></ResourceManifest>";
    ASSERT_TRUE(rm->ParseManifestText("m.xml", manifest)) << rm->GetErrorText();
    rm->LoadResources("g");

    // The image went into the application's shared table.
    SharedImageRef pic = rm->GetImageOrThrow("IMAGE_PIC");
    bool created = true;
    SharedImageRef mine = app.GetSharedImage(folder.File("pic.png"), "", created);
    EXPECT_FALSE(created);
    EXPECT_EQ(mine.Get(), pic.Get());

    // The font's descriptor error reached the player as a message box.
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].rfind("Error|Font Descriptor Error in " + folder.File("font.txt"), 0), 0u)
        << services.boxes[0];
    EXPECT_EQ(app.GetFontHost(), static_cast<FontHost*>(&app));
}

TEST_F(AppHostFixture, FontErrorsFromTheLoadingThreadWaitForThePrimaryThread)
{
    std::thread loader([this] { app.ReportFontError("bad font"); });
    loader.join();
    EXPECT_TRUE(services.boxes.empty());
    app.UpdateFrame();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "Error|bad font");
    app.UpdateFrame();
    EXPECT_EQ(services.boxes.size(), 1u);
}
