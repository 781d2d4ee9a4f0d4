#include "framework/graphics/imagefile/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "framework/graphics/MemoryImage.h"

namespace Zorvin {
namespace {

namespace fs = std::filesystem;

fs::path TempDir()
{
    char pattern[] = "/tmp/korvelt-png-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? fs::path(dir) : fs::temp_directory_path();
}

TEST(PngWriterTest, WritesPixelsThatReadBackExactly)
{
    fs::path dir = TempDir();
    MemoryImage img(3, 2);
    const uint32_t pixels[6] = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF123456, 0x01FFFFFF, 0xFF000000};
    img.SetBits(pixels, 3, 2);
    std::string path = (dir / "out.png").string();
    ASSERT_TRUE(PngWriter::Write(img, path));

    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&read, path.c_str()));
    read.format = PNG_FORMAT_BGRA; // bytes B, G, R, A = our little-endian words
    std::vector<uint32_t> back(PNG_IMAGE_SIZE(read) / 4);
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, back.data(), 0, nullptr));
    ASSERT_EQ(read.width, 3u);
    ASSERT_EQ(read.height, 2u);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(back[size_t(i)], pixels[i]) << i;

    // Nothing but the target is left behind.
    int files = 0;
    for (auto& e : fs::directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
    fs::remove_all(dir);
}

TEST(PngWriterTest, FailuresReportAndKeepTheOldFile)
{
    fs::path dir = TempDir();
    MemoryImage img(2, 2);
    std::string error;
    EXPECT_FALSE(PngWriter::Write(img, (dir / "missing" / "x.png").string(), &error));
    EXPECT_NE(error.find("missing"), std::string::npos);

    MemoryImage empty;
    EXPECT_FALSE(PngWriter::Write(empty, (dir / "e.png").string(), &error));
    EXPECT_FALSE(fs::exists(dir / "e.png"));

    // A target that cannot be replaced (a directory) fails and leaves no
    // temporary file.
    fs::create_directory(dir / "taken.png");
    EXPECT_FALSE(PngWriter::Write(img, (dir / "taken.png").string(), &error));
    int files = 0;
    for (auto& e : fs::directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, 0);
    fs::remove_all(dir);
}

} // namespace
} // namespace Zorvin
