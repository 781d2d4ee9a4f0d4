// Writes small, valid image files of every kind the image decoders read, as
// seed inputs for their fuzz targets. Run through scripts/make-image-seeds.

#include "tests/framework/graphics/imagefile/ImageTestFiles.h"

#include <png.h>

#include <cstdio>
#include <string>

using namespace ImageTestFiles;

namespace {

std::vector<uint32_t> Pattern(int w, int h)
{
    std::vector<uint32_t> px(size_t(w) * h);
    for (int i = 0; i < w * h; ++i)
        px[i] = 0x01000000u * uint32_t(i * 37 % 256) + uint32_t(i * 0x0A0B0C) % 0x1000000;
    return px;
}

GifSpec Gif(bool interlace, int transparent, bool local, bool twoFrames)
{
    GifSpec s;
    s.screenWidth = 9;
    s.screenHeight = 7;
    for (int i = 0; i < 16; ++i)
        s.globalTable.push_back(0xFF000000u | uint32_t(i * 0x101010));
    GifFrame f;
    f.width = 9;
    f.height = 7;
    f.interlace = interlace;
    f.transparent = transparent;
    if (local)
        f.localTable = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int i = 0; i < 63; ++i)
        f.indices.push_back(static_cast<uint8_t>((i * 7 / 3) % (local ? 4 : 16)));
    s.frames.push_back(f);
    if (twoFrames)
        s.frames.push_back(f);
    s.netscapeLoop = twoFrames;
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const auto px = Pattern(6, 5);
    WriteFile(dir + "/fuzz_TGA/plain.tga", MakeTga(6, 5, px));
    WriteFile(dir + "/fuzz_TGA/with-id.tga", MakeTga(3, 2, Pattern(3, 2), 32, 0x28, "seed"));
    Bytes rle = MakeTga(4, 2, {});
    rle[2] = 10;
    rle.insert(rle.end(), {0x82, 1, 2, 3, 4, 0x04, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3});
    WriteFile(dir + "/fuzz_TGA/rle.tga", rle);

    WriteFile(dir + "/fuzz_GIF/plain.gif", MakeGif(Gif(false, -1, false, false)));
    WriteFile(dir + "/fuzz_GIF/interlaced-transparent.gif", MakeGif(Gif(true, 3, false, false)));
    WriteFile(dir + "/fuzz_GIF/local-table-anim.gif", MakeGif(Gif(false, 1, true, true)));

    WriteFile(dir + "/fuzz_PNG/rgba.png", MakePng(6, 5, px, PNG_COLOR_TYPE_RGBA));
    WriteFile(dir + "/fuzz_PNG/interlaced16.png", MakePng(6, 5, px, PNG_COLOR_TYPE_RGB, 16, true));
    WriteFile(dir + "/fuzz_PNG/palette.png", MakePng(6, 5, px, PNG_COLOR_TYPE_PALETTE));
    WriteFile(dir + "/fuzz_PNG/grey1.png", MakePng(6, 5, px, PNG_COLOR_TYPE_GRAY, 1));

    WriteFile(dir + "/fuzz_JPEG/colour.jpg", MakeJpeg(16, 8, Pattern(16, 8), false, 80));
    WriteFile(dir + "/fuzz_JPEG/grey.jpg", MakeJpeg(8, 8, Pattern(8, 8), true, 50));
    return 0;
}
