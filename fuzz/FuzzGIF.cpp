// Feeds arbitrary bytes to the GIF decoder: it must return a well-formed
// picture or none, never crash, hang or read outside the input.

#include "framework/graphics/imagefile/ImageLib.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto img = Zorvin::ImageLib::DecodeGIF(data, size);
    if (img && img->bits.size() != size_t(img->width) * size_t(img->height))
        std::abort();
    return 0;
}
