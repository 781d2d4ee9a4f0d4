// The title screen's logo steps and loading display, driven update by update
// from a logo script of the test's own.

#include "game/app/screens/TitleScreen.h"

#include "framework/core/FileUtil.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/PngWriter.h"
#include "framework/resources/ResourceHost.h"
#include "game/app/screens/TitleScreenHost.h"
#include "game/shared/Res.h"
#include "tests/framework/app/AppTestSupport.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

constexpr uint32_t Red = 0xFFFF0000;
constexpr uint32_t Green = 0xFF00FF00;
constexpr uint32_t Black = 0xFF000000;

// The application behind the screen: pictures read from files, and a
// loading progress the test sets.
class FakeTitleHost : public TitleScreenHost {
public:
    ResourceHost& GetImageLoader() override { return images; }
    double LoadingProgress() override { return progress; }
    void OnTitleScreenDone(TitleScreen*, Widget*) override {}

    FileResourceHost images;
    double progress = 0.0;
};

uint32_t PixelAfterDraw(TitleScreen& screen, int x, int y)
{
    MemoryImage image(800, 600);
    Graphics g(&image);
    screen.Draw(&g);
    return image.GetPixel(x, y) | 0xFF000000;
}

} // namespace

TEST(TitleScreen, LogoStepsLastTheirUpdatesThenTheBarShowsTheTruncatedProgress)
{
    TempFolder temp;
    MemoryImage picture(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            picture.SetPixel(x, y, Green);
    ASSERT_TRUE(PngWriter::Write(picture, temp.File("p.png")));
    std::string script = "<LogoAppearence><BeforeStartLoading>"
                         "<ShowLogo time=\"100\" backcolor=\"255,0,0\">"
                         "<Image name=\"" + temp.File("p.png") + "\" left=\"10\" top=\"20\" center=\"true\"/>"
                         "</ShowLogo><ShowLogo/></BeforeStartLoading></LogoAppearence>";
    ASSERT_TRUE(FileUtil::WriteFileAtomic(temp.File("logos.xml"), script));

    FakeTitleHost host;
    TitleScreen screen(host);
    screen.Resize(0, 0, 800, 600);
    screen.CreateStartLink();
    screen.ReadLogoScript(temp.File("logos.xml"));
    ASSERT_EQ(screen.LogoStepsLeft(), 2);

    // Red screen, the picture by its top-left corner ("true" is not "1").
    EXPECT_EQ(PixelAfterDraw(screen, 0, 0), Red);
    EXPECT_EQ(PixelAfterDraw(screen, 11, 21), Green);
    EXPECT_EQ(PixelAfterDraw(screen, 9, 19), Red);
    for (int i = 0; i < 99; ++i)
        screen.Update();
    EXPECT_EQ(screen.LogoStepsLeft(), 2);
    screen.Update(); // the hundredth update ends the first step
    EXPECT_EQ(screen.LogoStepsLeft(), 1);
    screen.Update(); // a step without a time goes at once
    EXPECT_EQ(screen.LogoStepsLeft(), 0);
    EXPECT_FALSE(screen.IsLoadingDisplay());
    screen.Update();
    EXPECT_TRUE(screen.IsLoadingDisplay());

    MemoryImage bar(101, 6);
    for (int x = 0; x < 101; ++x)
        for (int y = 0; y < 6; ++y)
            bar.SetPixel(x, y, Green);
    IMAGE_LOADER_BAR = &bar;
    int left = 400 - 101 / 2;
    EXPECT_EQ(PixelAfterDraw(screen, left, 451), Black); // nothing loaded: no bar at all
    host.progress = 0.5;
    EXPECT_EQ(PixelAfterDraw(screen, left + 49, 451), Green); // 50.5 pixels drawn as 50
    EXPECT_EQ(PixelAfterDraw(screen, left + 50, 451), Black);
    IMAGE_LOADER_BAR = nullptr;
}
