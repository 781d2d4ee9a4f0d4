// Feeds arbitrary bytes to the PNG decoder: it must return a well-formed
// picture or none, never crash, hang or read outside the input. Chunk
// checksums are recomputed first, half of the time, so that mutated chunks
// reach libpng's decoding instead of stopping at the CRC check.

#include "framework/graphics/imagefile/ImageLib.h"

#include <cstdlib>
#include <vector>
#include <zlib.h>

namespace {

void FixChunkCrcs(std::vector<uint8_t>& b)
{
    size_t pos = 8;
    while (b.size() - pos >= 12) {
        const size_t len = (size_t(b[pos]) << 24) | (size_t(b[pos + 1]) << 16) | (size_t(b[pos + 2]) << 8) | b[pos + 3];
        if (len > b.size() - pos - 12)
            return;
        const uLong crc = crc32(0, b.data() + pos + 4, static_cast<uInt>(len + 4));
        uint8_t* c = b.data() + pos + 8 + len;
        c[0] = static_cast<uint8_t>(crc >> 24);
        c[1] = static_cast<uint8_t>(crc >> 16);
        c[2] = static_cast<uint8_t>(crc >> 8);
        c[3] = static_cast<uint8_t>(crc);
        pos += 12 + len;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (size > 8 && (data[size - 1] & 1))
        FixChunkCrcs(bytes);
    auto img = Zorvin::ImageLib::DecodePNG(bytes.data(), bytes.size());
    if (img && img->bits.size() != size_t(img->width) * size_t(img->height))
        std::abort();
    return 0;
}
