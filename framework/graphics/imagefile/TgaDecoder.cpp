// TGA reading. The game's art pipeline writes only one kind of TGA: 32-bit
// true colour with 8 alpha bits and the origin at the top left (descriptor
// byte 0x28). Anything else is refused rather than shown upside down or with
// garbage alpha. Run-length packed files of that kind are read as well,
// since image editors write them on request.

#include "framework/graphics/imagefile/ImageLib.h"

namespace Zorvin::ImageLib {

namespace {

constexpr size_t kHeaderSize = 18;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Bgra(const uint8_t* p)
{
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

} // namespace

std::unique_ptr<Image> DecodeTGA(const uint8_t* data, size_t size)
{
    if (size < kHeaderSize)
        return nullptr;
    // Header fields in file order.
    const uint8_t idLength = data[0];
    const uint8_t colorMapType = data[1];
    const uint8_t imageType = data[2];
    const uint16_t colorMapLength = Le16(data + 5);
    const uint8_t colorMapEntryBits = data[7];
    const uint16_t width = Le16(data + 12);
    const uint16_t height = Le16(data + 14);
    const uint8_t pixelDepth = data[16];
    const uint8_t descriptor = data[17];

    if (pixelDepth != 32 || descriptor != 0x28)
        return nullptr;
    // 2 = uncompressed true colour, 10 = run-length true colour.
    if (imageType != 2 && imageType != 10)
        return nullptr;

    // The identification field and any colour map sit between the header
    // and the pixels; skip them instead of reading them as pixels.
    size_t pos = kHeaderSize + idLength;
    if (colorMapType == 1)
        pos += size_t(colorMapLength) * ((colorMapEntryBits + 7u) / 8u);
    if (pos > size)
        return nullptr;

    const size_t count = size_t(width) * height;
    if (imageType == 2 && (size - pos) / 4 < count)
        return nullptr; // truncated: checked before allocating
    // Each run-length packet covers at most 128 pixels in at least 5 bytes.
    if (imageType == 10 && (size - pos) / 5 < (count + 127) / 128)
        return nullptr;
    auto img = MakeImage(width, height);
    if (!img)
        return nullptr;

    if (imageType == 2) {
        for (size_t i = 0; i < count; ++i, pos += 4)
            img->bits[i] = Bgra(data + pos);
        return img;
    }

    // Run-length packets: a count byte, high bit set for "one pixel repeated",
    // clear for "that many literal pixels". Packets may cross rows.
    size_t out = 0;
    while (out < count) {
        if (pos >= size)
            return nullptr;
        const uint8_t packet = data[pos++];
        const size_t n = (packet & 0x7F) + 1u;
        if (n > count - out)
            return nullptr;
        if (packet & 0x80) {
            if (size - pos < 4)
                return nullptr;
            const uint32_t px = Bgra(data + pos);
            pos += 4;
            for (size_t k = 0; k < n; ++k)
                img->bits[out++] = px;
        } else {
            if ((size - pos) / 4 < n)
                return nullptr;
            for (size_t k = 0; k < n; ++k, pos += 4)
                img->bits[out++] = Bgra(data + pos);
        }
    }
    return img;
}

} // namespace Zorvin::ImageLib
